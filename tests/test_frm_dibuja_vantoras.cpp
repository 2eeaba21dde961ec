// The graphics window in the running program: "Graficar", the "Reset"
// buttons, the tabs, the scroll bars that vary the design with the
// laboratory's advice and limits, the readout under the cursor and the
// snapshots. The design is Crown 1.523, +4 D, base 6, 60 mm, 1 mm edge.

#include "apoyo/programa_prueba.h"
#include "controles.h"
#include "dialogos_qt.h"
#include "frm_dibuja_vantoras.h"
#include "registro_diseno.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QtTest>
#include <cmath>
#include <fstream>

namespace {

const QColor kVerde(128, 255, 128);
const QColor kGris(224, 224, 224);

// The design saved and drawn: "Graficar" pressed.
struct Banco : ProgramaPrueba {
    EstadoDiseno& e = programa.estado();

    explicit Banco(const char* base = "6", const char* diametro = "60", Dialogos* cajas = nullptr)
        : ProgramaPrueba({}, cajas)
    {
        teclear(base, diametro);
        for (const char* boton : {"Command_Calcular", "SSCommandGuardar", "SSCommandGraficar"})
            clic(frm, boton);
    }
    Frm_DibujaVantoras& g() { return *programa.graficos(); }
    QScrollBar* barra(const char* nombre) { return g().findChild<QScrollBar*>(nombre); }
    QString texto(const char* nombre)
    {
        QWidget* w = g().findChild<QWidget*>(QString::fromUtf8(nombre));
        if (auto* t = qobject_cast<QLineEdit*>(w))
            return t->text();
        return static_cast<QPlainTextEdit*>(w)->toPlainText();
    }
    bool visible(const char* nombre) { return !g().findChild<QWidget*>(QString::fromUtf8(nombre))->isHidden(); }
    std::filesystem::path fotos() const { return carpeta.Archivo(CarpetaDatos::kFotos); }
};

} // namespace

class TestFrmDibujaVantoras : public QObject {
    Q_OBJECT

private slots:
    // "Graficar" draws the saved design and brings the bars to it.
    void graficar()
    {
        Banco b;
        QVERIFY(b.g().isVisible());
        QCOMPARE(b.e.ScrollActivo, 1);
        QCOMPARE(b.barra("HScroll_ModificoDiametro")->value(), 60);
        QVERIFY(b.dlg.cajas.empty());

        // The base bar takes the base × 8, a half going to the even
        // neighbour; a value beyond the bar ends the command there.
        for (auto [base, valor] : {std::pair{6.0625, 48}, {6.1875, 50}, {30.0, 1}}) {
            b.barra("HScroll_ModificoBase")->setValue(1);
            b.e.CurvaBase = base;
            Banco::clic(b.frm, "SSCommandGraficar");
            QCOMPARE(b.barra("HScroll_ModificoBase")->value(), valor);
            QCOMPARE(b.e.ScrollActivo, valor == 1 ? 0 : 1);
        }
    }

    // One press on a bar's arrow is one step, even when each step opens the
    // laboratory's advice box: the box must stop the bar's auto-repeat.
    // Right and Page Up make a focused bar larger.
    void unClicUnPaso()
    {
        DialogosQt cajas;
        int abiertas = 0;
        QTimer cerrar;
        QObject::connect(&cerrar, &QTimer::timeout, [&] {
            if (QWidget* caja = QApplication::activeModalWidget()) {
                ++abiertas;
                caja->close();
            }
        });
        cerrar.start(700);
        Banco b("14", "70", &cajas);
        b.g().findChild<QTabWidget*>("SSTab_Modifico")->setCurrentIndex(2);
        QScrollBar* barra = b.barra("HScroll_ModificoDiametro");
        barra->setValue(71);
        abiertas = 0;
        QStyleOptionSlider opcion;
        opcion.initFrom(barra);
        opcion.orientation = barra->orientation();
        opcion.minimum = barra->minimum();
        opcion.maximum = barra->maximum();
        opcion.sliderPosition = opcion.sliderValue = barra->value();
        const QPoint flecha =
            barra->style()->subControlRect(QStyle::CC_ScrollBar, &opcion, QStyle::SC_ScrollBarAddLine, barra).center();
        QTest::mousePress(barra, Qt::LeftButton, {}, flecha);
        QTest::mouseRelease(barra, Qt::LeftButton, {}, flecha);
        QTest::qWait(800);
        QCOMPARE(barra->value(), 72);
        QVERIFY(abiertas >= 1 && abiertas <= 3);
        b.g().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&b.g()));
        barra->setFocus(); // and framed in the highlight colour
        QCOMPARE(barra->grab().toImage().pixelColor(1, 8), barra->palette().color(QPalette::Highlight));
        QTest::keyClick(barra, Qt::Key_Right);
        QTest::keyClick(barra, Qt::Key_PageUp);
        QVERIFY(barra->value() > 72);
    }

    // "Reset" hides the varied design's readout and redraws the saved design
    // with its material whole; the one on "Indice" also blanks the message
    // line. A page change then shows the saved index, without the tab bar's
    // focus.
    void reset()
    {
        Banco b;
        const QString peso = b.texto("Tx_CurvaBase_Peso");
        b.barra("HScroll_ModificoIndice")->setValue(5); // Resina 1.60, 1.3 g/cm³
        Banco::clic(b.g(), "SSCommand3");
        for (const std::string_view nombre : ctlg::kDinamicos)
            QVERIFY2(!b.visible(nombre.data()), nombre.data());
        QCOMPARE(b.texto("Tx_CurvaBase_Peso"), peso);
        QCOMPARE(b.texto("SalidaTxt"), QString(" "));
        QCOMPARE(b.barra("HScroll_ModificoIndice")->value(), 5);
        b.g().findChild<QTabWidget*>("SSTab_Modifico")->setCurrentIndex(1);
        QCOMPARE(b.texto("Tx_ModificoIndice"), QString("1.523"));
        Banco::clic(b.g(), "SSCommand_IndiceFoto");
        const RegistroDiseno foto = LeerRegistros(b.fotos()).at(0);
        QCOMPARE(foto.Densidad, 2.54f);
        QCOMPARE(foto.NombreMaterial, std::string("Crown 1.523"));
    }

    // The close box unloads the window: the next "Graficar" loads it again.
    void cerrarYVolverACargar()
    {
        Banco b;
        b.g().close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!b.programa.graficos());
        Banco::clic(b.frm, "SSCommandGraficar");
        QVERIFY(b.g().isVisible() && !b.visible("Text_EspDinamico"));
    }

    // The laboratory's advice on a base (the moulds it keeps) and on a
    // diameter, in light green when routine and light grey when special.
    void consejos_data()
    {
        QTest::addColumn<QString>("barra");
        QTest::addColumn<int>("valor");
        QTest::addColumn<QString>("consejo"); // a fragment that tells the advice apart
        QTest::addColumn<bool>("corriente");
        const QString base = "HScroll_ModificoBase", diametro = "HScroll_ModificoDiametro";
        QTest::newRow("base 4.5 D") << base << 36 << "corriente en laboratorio" << true;
        QTest::newRow("base 4.625 D") << base << 37 << "especial en laboratorio" << false;
        QTest::newRow("60 mm") << diametro << 60 << "Diámetro normal" << true;
        QTest::newRow("65 mm") << diametro << 65 << "Diámetro normal" << true;
        QTest::newRow("61 mm") << diametro << 61 << "diámetro especial" << false;
        QTest::newRow("66 mm") << diametro << 66 << "no standart" << false;
        QTest::newRow("72 mm") << diametro << 72 << "policarbonato" << false;
    }
    void consejos()
    {
        QFETCH(QString, barra);
        QFETCH(int, valor);
        QFETCH(QString, consejo);
        QFETCH(bool, corriente);
        Banco b;
        QScrollBar* s = b.barra(barra.toLatin1());
        s->setValue(valor == 60 ? 61 : 60); // the diameter bar already stands at 60
        s->setValue(valor);
        QVERIFY2(b.texto("SalidaTxt").contains(consejo), qPrintable(b.texto("SalidaTxt")));
        QCOMPARE(b.g().findChild<QWidget*>("SalidaTxt")->palette().color(QPalette::Text), corriente ? kVerde : kGris);
    }

    // The front sphere's whole diameter (174 mm at base 6 in Crown) cannot
    // be cut: the bar stops there; one millimetre less draws. With 70 mm
    // chosen, a front radius of at most 35.5 mm locks the base bar where it
    // is and draws nothing; the next diameter releases it up to 25 D.
    void limites()
    {
        Banco b;
        b.barra("HScroll_ModificoDiametro")->setValue(173);
        QVERIFY(b.dlg.cajas.empty());
        QCOMPARE(b.texto("Tx_CurvaBase_Diametro"), QString("173"));
        b.barra("HScroll_ModificoDiametro")->setValue(174);
        QCOMPARE(b.dlg.titulos(), std::vector<std::string>{"Diámetro incompatible"});
        QCOMPARE(b.barra("HScroll_ModificoDiametro")->maximum(), 174);
        QCOMPARE(b.texto("Tx_CurvaBase_Diametro"), QString("173"));
        b.dlg.cajas.clear();
        b.barra("HScroll_ModificoDiametro")->setValue(70);
        b.barra("HScroll_ModificoBase")->setValue(117); // 14.625 D: 35.76 mm, drawn
        QVERIFY(b.dlg.cajas.empty());
        const QString peso = b.texto("Tx_CurvaBase_Peso");
        b.barra("HScroll_ModificoBase")->setValue(118); // 14.75 D: 35.46 mm
        QCOMPARE(b.dlg.titulos().back(), std::string("Lente vantora muy curva"));
        QCOMPARE(b.barra("HScroll_ModificoBase")->maximum(), 118);
        QCOMPARE(b.texto("Tx_CurvaBase_Peso"), peso);
        b.barra("HScroll_ModificoDiametro")->setValue(69);
        QCOMPARE(b.barra("HScroll_ModificoBase")->maximum(), 200);
    }

    // "Memoria" decides at which diameter a base step draws, solves and
    // weighs the lens (thicknesses solved by hand for a 1 mm edge).
    void memoria()
    {
        // Unticked, the design's diameter; ticked, the one chosen.
        for (const auto& [marcada, diametro, espesor] : {std::tuple{false, "60", "4.52"}, {true, "65", "5.15"}}) {
            Banco b;
            b.barra("HScroll_ModificoDiametro")->setValue(65);
            b.g().findChild<QAbstractButton*>("Check_Memoria")->setChecked(marcada);
            b.barra("HScroll_ModificoBase")->setValue(50);
            QCOMPARE(b.texto("Tx_CurvaBase_Diametro"), diametro);
            QCOMPARE(b.texto("Tx_CurvaBase_EspesorCentral"), espesor);
            QVERIFY(b.visible("Text_RadioPosterior") && b.texto("Text_RadioPosterior").endsWith(" mm"));
        }
    }

    // A recovery on the graphics window leaves the design window's figures
    // alone: its save is not refused, and Calcular works from the boxes.
    void recuperacionDeLaVentana()
    {
        Banco b;
        const double espesor = b.e.EspesorCentral;
        b.g().findChild<QAbstractButton*>("Check_Memoria")->setChecked(true);
        b.barra("HScroll_ModificoDiametro")->setValue(70);
        b.barra("HScroll_ModificoBase")->setValue(117);
        QCOMPARE(b.dlg.titulos().at(0), std::string("Datos de entrada erroneos."));
        b.dlg.cajas.clear();
        Frm_Vantora& frm = b.frm;
        Banco::clic(frm, "SSCommandGuardar");
        QVERIFY(b.dlg.cajas.empty());
        Banco::clic(frm, "Command_Calcular");
        Banco::clic(frm, "SSCommandGuardar");
        const RegistroDiseno r = LeerRegistros(b.carpeta.Archivo(CarpetaDatos::kDatos)).at(0);
        QCOMPARE(r.EspesorBorde, 1.0f);
        QCOMPARE(r.EspesorCentral, float(espesor));
    }

    // A material chosen by its Id stays the design's material; its limit
    // leaves two blanks as the name a snapshot then stores.
    void barraMaterial()
    {
        Banco b;
        b.barra("HScroll_ModificoIndice")->setValue(5);
        QCOMPARE(b.barra("HScroll_ModificoIndice")->maximum(), 11);
        QCOMPARE(b.texto("Tx_Indice_Material"), QString("Resina 1.60"));
        QCOMPARE(b.e.IndiceMaterial.valor(), 1.6);
        QCOMPARE(b.e.Densidad.valor(), 1.3);

        b.barra("HScroll_ModificoDiametro")->setValue(70);
        b.barra("HScroll_ModificoBase")->setValue(117); // 35.76 mm: the base allows it, a material not
        b.dlg.cajas.clear();
        b.barra("HScroll_ModificoIndice")->setValue(2);
        QCOMPARE(b.dlg.titulos().back(), std::string("Material incompatible"));
        QCOMPARE(b.e.NombreMaterial, std::string("  "));
        QCOMPARE(b.texto("Tx_Indice_Material"), QString("Crown 1.523"));
        Banco::clic(b.g(), "SSCommand_IndiceFoto");
        const auto fotos = LeerRegistros(b.fotos());
        QCOMPARE(fotos.size(), 1u);
        QCOMPARE(fotos[0].NombreMaterial, std::string(11, ' '));
    }

    // The readout: the saved design while Text2 shows, the varied one after
    // a bar moved. Distances are taken to the front view's centre at the
    // default scales, 1.5 and 1.62 units per millimetre.
    void lectura_data()
    {
        QTest::addColumn<bool>("dinamica");
        QTest::addColumn<double>("x"); // units right of the centre
        QTest::addColumn<QStringList>("lectura"); // thickness, then the diameter in the varied design
        QTest::newRow("estática, centro") << false << 0.0 << QStringList{"4.5"};
        QTest::newRow("estática, fuera de la lente") << false << 45.15 << QStringList{""};
        QTest::newRow("dinámica, 0.2 mm") << true << 0.3 << QStringList{"4.5", "0"};
        QTest::newRow("dinámica, 0.3 mm") << true << 0.45 << QStringList{"4.5", "0.6"};
        QTest::newRow("dinámica, 10 mm") << true << 15.0 << QStringList{"4.1", "20"};
    }
    void lectura()
    {
        QFETCH(bool, dinamica);
        QFETCH(double, x);
        QFETCH(QStringList, lectura);
        Banco b;
        if (dinamica) {
            b.barra("HScroll_ModificoBase")->setValue(47);
            b.barra("HScroll_ModificoBase")->setValue(48);
        }
        const QPoint centro(qRound(230 * 552 / 300.0), qRound(100 * 325 / 200.0));
        QTest::mouseMove(&b.g(), centro + QPoint(qRound(x * 552 / 300.0), 0));
        // The exact distance, through the handler's own units.
        b.g().Form_MouseMove(float(230 + x), 100.0f);
        QCOMPARE(b.texto(dinamica ? "Text_EspDinamico" : "Text2"), lectura[0]);
        if (dinamica)
            QCOMPARE(b.texto("Text_DiametroDinamico"), lectura[1]);
        QCOMPARE(b.g().cursor().shape(), Qt::CrossCursor);
        b.g().Form_MouseMove(230 + 45 * 1.5f, 100.0f);
        QCOMPARE(b.g().cursor().shape(), Qt::ArrowCursor);
    }

    // Snapshots append the varied design after a diameter step; the counters
    // show what the file held before; one beep when the new record is the
    // second.
    void fotos()
    {
        Banco b;
        b.barra("HScroll_ModificoDiametro")->setValue(65);
        const char* botones[] = {"SSCommand_CurvaBaseFoto", "SSCommand_IndiceFoto", "SSCommand_DiametroFoto"};
        for (int i = 0; i < 3; ++i) {
            Banco::clic(b.g(), botones[i]);
            for (const char* contador : {"Text_BaseNroFoto", "Text_NNroFoto", "Text_DiamNroFoto"})
                QCOMPARE(b.texto(contador), QString::number(i));
            QCOMPARE(std::filesystem::file_size(b.fotos()), 43u * (i + 1));
            QCOMPARE(b.dlg.beeps, i >= 1 ? 1 : 0);
        }
        // One lens: its faces, thickness and diameter give the design's 1 mm
        // edge (sagittas worked by hand).
        const RegistroDiseno r = LeerRegistros(b.fotos()).at(0);
        QCOMPARE(r.DiametroInicial, 65.0);
        QCOMPARE(r.NombreMaterial, std::string("Crown 1.523"));
        const auto sagita = [&](double poder) {
            const double radio = std::fabs((r.IndiceMaterial - 1.0) / poder * 1000.0);
            return radio - std::sqrt(radio * radio - 32.5 * 32.5);
        };
        const double borde = r.EspesorCentral - sagita(r.PoderExterno) + sagita(r.PoderInterno);
        QVERIFY2(std::fabs(borde - 1.0) < 0.002, qPrintable(QString::number(borde)));
    }

    // A snapshot is written whole or not at all, and the user is told why.
    void fotosQueNoSePuedenGrabar()
    {
        // A file whose length is no whole number of records, or a data folder gone.
        for (const bool danado : {true, false}) {
            Banco b;
            if (danado)
                std::ofstream(b.fotos(), std::ios::binary) << std::string(50, 'x');
            else
                std::filesystem::remove_all(b.carpeta.carpeta());
            Banco::clic(b.g(), "SSCommand_CurvaBaseFoto");
            QCOMPARE(b.texto("Text_BaseNroFoto"), QString(danado ? "1.16279069767442" : "0"));
            QCOMPARE(b.dlg.cajas.size(), 1u);
            QVERIFY(b.dlg.cajas[0].texto.find(b.fotos().string()) != std::string::npos);
            QCOMPARE(std::filesystem::exists(b.fotos()) ? std::filesystem::file_size(b.fotos()) : 0u,
                     danado ? 50u : 0u);
            QCOMPARE(b.dlg.beeps, 0);
        }
    }
};

QTEST_MAIN(TestFrmDibujaVantoras)
#include "test_frm_dibuja_vantoras.moc"
