// The design window driven as the optician drives it: typing, Enter,
// double-clicks, the commands and the mouse over the frames.

#include "apoyo/catalogo_memoria.h"
#include "apoyo/dialogos_prueba.h"
#include "apoyo/pantalla_prueba.h"
#include "consejos.h"
#include "frm_vantora.h"
#include "mensajes.h"
#include "registro_diseno.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace {

struct Ventana {
    QTemporaryDir dir;
    CarpetaDatos carpeta{dir.path().toStdString()};
    EstadoDiseno e;
    DialogosPrueba dlg;
    CatalogoMemoria catalogo{{{"CR-39", 1.498, 1.32}, {"Vidrio 1.5", 1.5, 2.5}}};
    PantallaWidgets pantalla;
    PantallaPrueba graficos;
    Motor motor{e, pantalla, graficos, dlg, catalogo};
    Frm_Vantora frm{e, motor, pantalla, dlg, carpeta};
    int terminado = 0;

    Ventana()
    {
        frm.AlTerminar([this] { ++terminado; });
        frm.show();
        frm.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frm));
    }

    template <class T = QWidget>
    T* w(const char* nombre)
    {
        return frm.findChild<T*>(nombre);
    }
    QString texto(const char* nombre) { return QString::fromStdString(pantalla.Texto(nombre)); }
    QString foco() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }

    void teclear(const char* caja, const QString& texto)
    {
        auto* t = w<QLineEdit>(caja);
        t->setFocus();
        t->selectAll();
        if (texto.isEmpty())
            QTest::keyClick(t, Qt::Key_Delete);
        else
            QTest::keyClicks(t, texto);
        QTest::keyClick(t, Qt::Key_Return);
    }
    void elegirMaterial(int indice)
    {
        auto* c = w<QComboBox>("Combo_Materiales");
        c->setCurrentIndex(indice);
        c->setFocus();
        QTest::keyClick(c, Qt::Key_Return);
    }
    // The worked example, typed in the order the form leads.
    void ejemplo(const QString& base)
    {
        teclear("Tx_BaseCrown", base);
        elegirMaterial(1);
        teclear("Tx_EspesorBorde", "1");
        teclear("Tx_PoderVertice", "4");
        teclear("Tx_DiametroInicial", "60");
    }
    QStringList resultados()
    {
        return {texto("Tx_EspesorCentral"), texto("Tx_PcurvaExt"), texto("Tx_PcurvaInt"), texto("Tx_RadioIndice"),
                texto("Tx_Radio1523")};
    }
    QColor colorTexto(const char* nombre) { return w(nombre)->palette().color(QPalette::Text); }
};

double valorDe(const EstadoDiseno& e, const QString& caja)
{
    return caja == "Tx_PoderVertice"      ? e.PoderVertice
           : caja == "Tx_DiametroInicial" ? e.DiametroInicial
           : caja == "Tx_BaseCrown"       ? e.CurvaBase
           : caja == "Tx_EspesorBorde"    ? e.EspesorBorde
                                          : e.EspesorCentral;
}

const QStringList kCajas = {"Tx_BaseCrown",    "Tx_EspesorBorde",    "Tx_EspesorCentral",
                            "Tx_PoderVertice", "Tx_DiametroInicial", "Tx_PcurvaExt",
                            "Tx_RadioIndice",  "Tx_PcurvaInt",       "Tx_Radio1523"};

} // namespace

class TestFrmVantora : public QObject {
    Q_OBJECT

private slots:
    void disposicion()
    {
        Ventana v;
        QCOMPARE(v.frm.windowTitle(), QString("Diseño de lentes Vantoras"));
        QCOMPARE(v.frm.pos(), QPoint(13, 27));
        QCOMPARE(v.w<QComboBox>("Combo_Materiales")->count(), 2);
        QCOMPARE(v.texto("Combo_Materiales"), QString());
        QVERIFY(v.w("Text_MaterialBaseDatos")->isHidden());
        QCOMPARE(v.foco(), QString("Tx_BaseCrown"));
        // Places in twips / 15, relative to the frame that holds them.
        QCOMPARE(v.w("Tx_BaseCrown")->geometry(), QRect(18, 18, 74, 21));
        QCOMPARE(v.w("Command_Calcular")->geometry(), QRect(222, 126, 87, 39));
        QCOMPARE(v.w("SalidaTxt")->geometry(), QRect(6, 345, 220, 43));
        QCOMPARE(v.w<QPushButton>("Salir_Cmd")->text(), QString("Cerrar Diseño Vantoras"));
        QCOMPARE(v.w("Tx_DiametroInicial")->palette().color(QPalette::Base), QColor(255, 192, 192));
        QCOMPARE(v.colorTexto("Tx_DiametroInicial"), QColor(64, 64, 64));
        QCOMPARE(v.w("SalidaTxt")->font().family(), QString("Liberation Serif"));
        QCOMPARE(v.colorTexto("Text_MaterialBaseDatos"), QColor(0, 0, 128));
    }

    void campos_data()
    {
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("dobleClic");
        QTest::addColumn<QString>("queda");
        QTest::addColumn<QString>("consejo");
        QTest::addColumn<QString>("foco");
        QTest::addColumn<double>("valor");

        const QString drovena = "Está por calcular una lente drovena. Para ello utilice el módulo de calculo adecuado "
                                "o cambie el valor ingresado";
        const QString cero = "Debe cargar un valor para el Poder de Vertice. Normalmente es el indicado en la Rx.";
        const QString rotura = "Atención: La lente que diseñará corre riesgos de rotura y deformaciones. Aumente el "
                               "espesor de centro a un mínimo de 1.5 mm.";
        QTest::newRow("poder 2.5") << "Tx_PoderVertice"
                                   << "2.5" << false << "+2.50"
                                   << ""
                                   << "Tx_DiametroInicial" << 2.5;
        QTest::newRow("poder 0") << "Tx_PoderVertice"
                                 << "0" << false << "+0.00" << cero << "Tx_PoderVertice" << 0.0;
        QTest::newRow("poder -0.25") << "Tx_PoderVertice"
                                     << "-0.25" << false << "-0.25" << drovena + "."
                                     << "Tx_PoderVertice" << -0.25;
        QTest::newRow("poder -0.25 doble clic") << "Tx_PoderVertice"
                                                << "-0.25" << true << "-0.25" << drovena << "Tx_PoderVertice" << -0.25;
        QTest::newRow("poder 30.01")
            << "Tx_PoderVertice"
            << "30.01" << false << "+30.01"
            << "Está calculando un lente de mas de 30 D. Es posible que no pueda obtener todas "
               "las caracteristicas gráficas del sistema."
            << "Tx_DiametroInicial" << 30.01;
        const QString diametroCero = "Atención: El diámetro no puede ser cero. Ingrese un valor de por lo menos 10 mm. "
                                     "para poder efectuar el cálculo.";
        QTest::newRow("diametro 5") << "Tx_DiametroInicial"
                                    << "5" << false << "5"
                                    << ""
                                    << "Command_Calcular" << 5.0;
        QTest::newRow("diametro vacio") << "Tx_DiametroInicial"
                                        << "" << false << "" << diametroCero << "Tx_DiametroInicial" << 0.0;
        const QString planoConvexa = "Atención: Las lentes Plano Convexas no se utilizan en óptica oftálmica.";
        QTest::newRow("base 6") << "Tx_BaseCrown"
                                << "6" << false << "6"
                                << ""
                                << "Combo_Materiales" << 6.0;
        QTest::newRow("base 0: cara plana")
            << "Tx_BaseCrown"
            << "0.00" << false << " Cara Plana" << planoConvexa << "Combo_Materiales" << 0.5;
        QTest::newRow("base 0.5 tecleada") << "Tx_BaseCrown"
                                           << "0.5" << false << "0.5" << planoConvexa << "Combo_Materiales" << 0.5;
        QTest::newRow("base vacia") << "Tx_BaseCrown"
                                    << "" << false << ""
                                    << ""
                                    << "Combo_Materiales" << 0.0;
        QTest::newRow("borde 1") << "Tx_EspesorBorde"
                                 << "1" << false << "1"
                                 << ""
                                 << "Tx_PoderVertice" << 1.0;
        QTest::newRow("central 1.49") << "Tx_EspesorCentral"
                                      << "1.49" << false << "1.49" << rotura << "Tx_PoderVertice" << 1.49;
        QTest::newRow("central 1.49 doble clic") << "Tx_EspesorCentral"
                                                 << "1.49" << true << "1.49"
                                                 << "Atención: Recuerde que las normas internacionales indican que el "
                                                    "espesor de centro debe ser como mínimo "
                                                    "1.5 mm"
                                                 << "Tx_PoderVertice" << 1.49;
        QTest::newRow("central 0") << "Tx_EspesorCentral"
                                   << "0" << false << "0"
                                   << "Atención: El espesor de centro no puede ser cero. Ingrese un valor de por lo "
                                      "menos 1.5 mm para poder efectuar el cálculo."
                                   << "Tx_EspesorCentral" << 0.0;
    }
    void campos()
    {
        QFETCH(QString, caja);
        QFETCH(QString, texto);
        QFETCH(bool, dobleClic);
        QFETCH(QString, queda);
        QFETCH(QString, consejo);
        QFETCH(QString, foco);
        QFETCH(double, valor);
        Ventana v;
        const QByteArray nombre = caja.toLatin1();
        if (dobleClic) {
            auto* t = v.w<QLineEdit>(nombre);
            t->setText(texto);
            QTest::mouseDClick(t, Qt::LeftButton);
        } else {
            v.teclear(nombre, texto);
        }
        QCOMPARE(v.texto(nombre), queda);
        QCOMPARE(v.texto("SalidaTxt"), consejo);
        QCOMPARE(v.foco(), foco);
        QCOMPARE(valorDe(v.e, caja), valor);
        QVERIFY(v.dlg.cajas.empty());
        if (queda == " Cara Plana")
            QCOMPARE(v.colorTexto(nombre), QColor(255, 0, 0));
    }

    void materialVacio()
    {
        Ventana v;
        auto* c = v.w<QComboBox>("Combo_Materiales");
        c->setFocus();
        QTest::keyClick(c, Qt::Key_Return);
        QCOMPARE(v.texto("SalidaTxt"), QString("Seleccione un material de la lista para continuar"));
        QCOMPARE(v.foco(), QString("Combo_Materiales"));
        v.elegirMaterial(0);
        QCOMPARE(v.texto("SalidaTxt"), QString());
        QCOMPARE(v.foco(), QString("Tx_EspesorBorde"));
    }

    // A rejected entry: the messages of the check, the box emptied, the focus
    // kept and nothing stored.
    void rechazos_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("titulos");
        QTest::newRow("coma") << "12,5" << QStringList{"Coma como separador decimal", "ERROR EN VARIABLE NUMERICA"};
        QTest::newRow("barra") << "3/4" << QStringList{"ERROR EN VARIABLE NUMERICA"};
    }
    void rechazos()
    {
        QFETCH(QString, texto);
        QFETCH(QStringList, titulos);
        for (const char* caja : {"Tx_PoderVertice", "Tx_BaseCrown", "Tx_EspesorCentral"}) {
            Ventana v;
            v.teclear(caja, texto);
            QStringList obtenidos;
            for (const std::string& t : v.dlg.titulos())
                obtenidos << QString::fromStdString(t);
            QCOMPARE(obtenidos, titulos);
            QCOMPARE(v.texto(caja), QString());
            QCOMPARE(v.foco(), QString(caja));
            QVERIFY(!v.e.PoderVertice.definido() && !v.e.CurvaBase.definido() && !v.e.EspesorCentral.definido());
        }
    }

    void caraPlanaSobreviveALimpiar()
    {
        Ventana v;
        v.teclear("Tx_BaseCrown", "0");
        // Enter again on " Cara Plana": the check stops at the blank.
        v.teclear("Tx_BaseCrown", "");
        QCOMPARE(v.dlg.cajas.size(), 0u);
        v.w<QLineEdit>("Tx_BaseCrown")->setText(" Cara Plana");
        QTest::keyClick(v.w("Tx_BaseCrown"), Qt::Key_Return);
        QCOMPARE(v.dlg.cajas.size(), 1u);
        QVERIFY(v.dlg.cajas[0].texto.find("caracter incorrecto:  \r\n") != std::string::npos);
        QCOMPARE(v.texto("Tx_BaseCrown"), QString());
        QTest::mouseClick(v.w("Limpiar_Cmd"), Qt::LeftButton);
        QCOMPARE(v.colorTexto("Tx_BaseCrown"), QColor(255, 0, 0));
    }

    void calcular_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QStringList>("salida");
        QTest::newRow("base 6") << "6" << QStringList{"4.66", "5.736", "-1.840", "-271.695", "-1.925"};
        QTest::newRow("base sugerida") << "" << QStringList{"4.63", "4.780", "-0.852", "-587.089", "-0.891"};
    }
    void calcular()
    {
        QFETCH(QString, base);
        QFETCH(QStringList, salida);
        Ventana v;
        v.ejemplo(base);
        QCOMPARE(v.foco(), QString("Command_Calcular"));
        QTest::mouseClick(v.w("Command_Calcular"), Qt::LeftButton);
        QCOMPARE(v.resultados(), salida);
        QCOMPARE(v.texto("Tx_BaseCrown"), base.isEmpty() ? QString("5") : base);
        QCOMPARE(v.foco(), QString("SSCommandGuardar"));
        for (const QString& caja : kCajas + QStringList{"SalidaTxt"})
            QVERIFY2(!v.w(caja.toLatin1())->isEnabled(), qPrintable(caja));
        QVERIFY(v.w("Text_MaterialBaseDatos")->isEnabled());
        QVERIFY(v.w("Combo_Materiales")->isEnabled());
        QVERIFY(v.dlg.cajas.empty());
    }

    void teclaEnCalcular_noBloquea()
    {
        Ventana v;
        v.ejemplo("6");
        QTest::mouseClick(v.w("Command_Calcular"), Qt::LeftButton);
        QTest::mouseClick(v.w("Limpiar_Cmd"), Qt::LeftButton);
        v.teclear("Tx_EspesorCentral", "3");
        v.teclear("Tx_BaseCrown", "6");
        v.elegirMaterial(1);
        v.w("Command_Calcular")->setFocus();
        QTest::keyClick(v.w("Command_Calcular"), Qt::Key_X);
        QCOMPARE(v.resultados(), (QStringList{"3", "5.736", "-1.803", "-277.361", "-1.886"}));
        QVERIFY(v.w("Tx_PoderVertice")->isEnabled());
        QCOMPARE(v.foco(), QString("SSCommandGuardar"));
    }

    void limpiar_data()
    {
        QTest::addColumn<bool>("porClic");
        QTest::newRow("clic") << true;
        QTest::newRow("tecla") << false;
    }
    void limpiar()
    {
        QFETCH(bool, porClic);
        Ventana v;
        v.ejemplo("6");
        QTest::mouseClick(v.w("Command_Calcular"), Qt::LeftButton);
        v.e.MaterialDeBase = "Si";
        v.w("Text_MaterialBaseDatos")->show();
        if (porClic) {
            QTest::mouseClick(v.w("Limpiar_Cmd"), Qt::LeftButton);
        } else {
            v.w("Limpiar_Cmd")->setFocus();
            QTest::keyClick(v.w("Limpiar_Cmd"), Qt::Key_A);
        }
        for (const QString& caja : kCajas) {
            QCOMPARE(v.texto(caja.toLatin1()), QString());
            QCOMPARE(v.w(caja.toLatin1())->isEnabled(), porClic);
        }
        QCOMPARE(v.foco(), porClic ? QString("Tx_BaseCrown") : QString("Limpiar_Cmd"));
        QCOMPARE(v.e.EspesorMostrado, porClic ? 0 : 1);
        QCOMPARE(v.e.MaterialDeBase, std::string(porClic ? "No" : "Si"));
        QCOMPARE(v.w("Text_MaterialBaseDatos")->isHidden(), porClic);
        QCOMPARE(v.texto("Combo_Materiales"), QString("Vidrio 1.5"));
    }

    void pistas_data()
    {
        QTest::addColumn<QString>("marco");
        QTest::addColumn<QString>("pista");
        QTest::newRow("curva base") << "SSFrame_CurvaBase"
                                    << "Ingrese la Curva Base de la lente. Si no la conoce Vexlor le sugerirá una.";
        QTest::newRow("material") << "SSFrame2"
                                  << "Seleccione un material de la lista, o abra la Base de Datos de materiales para "
                                     "seleccionar uno.";
        QTest::newRow("poder de curva") << "SSFrame5"
                                        << "Se presentan los poderes de curva en dioptrias de cada cara. Utilice estos "
                                           "valores para modificar sus diseños.";
        QTest::newRow("geometria")
            << "SSFrame6"
            << "Se presentan el radio de la superficie posterior y su poder de curva para n:1.523";
    }
    void pistas()
    {
        QFETCH(QString, marco);
        QFETCH(QString, pista);
        Ventana v;
        QWidget* m = v.w(marco.toLatin1());
        // Over the box inside the frame: no hint.
        QWidget* hijo = m->findChildren<QLineEdit*>().value(0);
        if (hijo) {
            QTest::mouseMove(hijo, QPoint(3, 3));
            QCOMPARE(v.texto("SalidaTxt"), QString());
        }
        QTest::mouseMove(m, QPoint(m->width() - 3, m->height() - 3));
        QCOMPARE(v.texto("SalidaTxt"), pista);
        // Onto the surrounding frame: a single blank.
        QWidget* f1 = v.w("SSFrame1");
        QTest::mouseMove(f1, QPoint(f1->width() - 3, f1->height() - 3));
        QCOMPARE(v.texto("SalidaTxt"), QString(" "));
    }

    void guardarYSalir()
    {
        Ventana v;
        QTest::mouseClick(v.w("SSCommandGuardar"), Qt::LeftButton);
        v.ejemplo("6");
        QTest::mouseClick(v.w("Command_Calcular"), Qt::LeftButton);
        const auto datos = v.carpeta.Archivo(CarpetaDatos::kDatos);
        QCOMPARE(std::filesystem::file_size(datos), 43u);
        QCOMPARE(LeerRegistros(datos)[0].PoderVertice, 0.0); // the save before the calculation
        QTest::mouseClick(v.w("SSCommandGuardar"), Qt::LeftButton);
        QCOMPARE(v.foco(), QString("SSCommandGraficar"));
        const auto guardado = LeerRegistros(datos);
        QCOMPARE(guardado.size(), 1u);
        QCOMPARE(guardado[0].PoderVertice, 4.0);
        QCOMPARE(guardado[0].NombreMaterial, std::string("Vidrio 1.5 "));

        v.frm.close(); // the title bar runs the same exit as "Cerrar Diseño Vantoras"
        QCOMPARE(v.terminado, 1);
        QCOMPARE(LeerRegistros(v.carpeta.Archivo(CarpetaDatos::kUltimoDiseno)).size(), 1u);
        QFile marca(QString::fromStdString(v.carpeta.Archivo(CarpetaDatos::kFinDrovena).string()));
        QVERIFY(marca.open(QIODevice::ReadOnly));
        QCOMPARE(marca.readAll(), QByteArray("Fin Drovena Ok\r\n"));
        QVERIFY(v.dlg.cajas.empty());
    }

    // Enter and Space on a focused command click it: a design typed from the
    // keyboard alone is calculated whole and saved as calculated.
    void tecladoCompleto_data()
    {
        QTest::addColumn<int>("tecla");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Espacio") << int(Qt::Key_Space);
    }
    void tecladoCompleto()
    {
        QFETCH(int, tecla);
        Ventana v;
        v.ejemplo("6");
        QCOMPARE(v.foco(), QString("Command_Calcular"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(tecla));
        QCOMPARE(v.foco(), QString("SSCommandGuardar"));
        QVERIFY(!v.w("Tx_PoderVertice")->isEnabled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(tecla));
        QCOMPARE(v.foco(), QString("SSCommandGraficar"));
        const auto guardado = LeerRegistros(v.carpeta.Archivo(CarpetaDatos::kDatos));
        QCOMPARE(guardado.size(), 1u);
        QVERIFY(qAbs(guardado[0].EspesorCentral - 4.664) < 0.001);
        QVERIFY(qAbs(guardado[0].PoderInterno + 1.840) < 0.001);
    }

    // After a recovery the design holds a sample lens the boxes do not show:
    // it is never saved under the user's figures; the exit still writes it.
    void guardarTrasRecuperacion()
    {
        Ventana v;
        for (auto [caja, texto] : {std::pair{"Tx_BaseCrown", "6"},
                                   {"Tx_EspesorBorde", "1"},
                                   {"Tx_PoderVertice", "4"},
                                   {"Tx_DiametroInicial", "60"}})
            v.teclear(caja, texto); // no material: an index of 0
        QTest::mouseClick(v.w("Command_Calcular"), Qt::LeftButton);
        QCOMPARE(v.dlg.titulos().front(), std::string("Datos de entrada erroneos."));
        v.dlg.cajas.clear();
        QTest::mouseClick(v.w("SSCommandGuardar"), Qt::LeftButton);
        QCOMPARE(v.dlg.titulos(), std::vector<std::string>{"No se guardó el diseño"});
        QVERIFY(!std::filesystem::exists(v.carpeta.Archivo(CarpetaDatos::kDatos)));
        QTest::mouseClick(v.w("Salir_Cmd"), Qt::LeftButton);
        QCOMPARE(std::filesystem::file_size(v.carpeta.Archivo(CarpetaDatos::kUltimoDiseno)), 43u);
    }

    // A locked box still reads but no longer looks editable, whatever colour
    // it was given; and every advice of the window fits its output line.
    void apariencia()
    {
        Ventana v;
        v.teclear("Tx_BaseCrown", "0"); // " Cara Plana" in red
        v.elegirMaterial(1);
        QTest::mouseClick(v.w("Command_Calcular"), Qt::LeftButton);
        for (const char* caja : {"Tx_BaseCrown", "Tx_DiametroInicial", "Tx_PoderVertice"}) {
            const QPalette p = v.w(caja)->palette();
            QVERIFY2(p.color(QPalette::Disabled, QPalette::Base) != p.color(QPalette::Active, QPalette::Base), caja);
            QVERIFY2(p.color(QPalette::Disabled, QPalette::Text) != p.color(QPalette::Active, QPalette::Text), caja);
        }

        auto* salida = v.w<QPlainTextEdit>("SalidaTxt");
        using namespace consejos;
        std::vector<std::string> textos{std::string(kPoderNegativo) + "."};
        for (std::string_view t :
             {kPoderNegativo, kPoderCero, kPoderAlto, kDiametroCero, kPlanoConvexa, kSinMaterial, kEspesorDelgado,
              kEspesorNorma, kEspesorCero, kPistaCurvaBase, kPistaDiametro, kPistaMaterial, kPistaEspesorCentral,
              kPistaPoder, kPistaPoderes, kPistaGeometria, kPistaEspesorBorde, mensajes::kTextoBaseSugerida})
            textos.emplace_back(t);
        for (const std::string& texto : textos) {
            QTextDocument doc;
            doc.setDefaultFont(salida->font());
            doc.setDocumentMargin(salida->document()->documentMargin());
            doc.setTextWidth(salida->viewport()->width());
            doc.setPlainText(QString::fromStdString(texto));
            QVERIFY2(doc.size().height() <= salida->viewport()->height(), texto.c_str());
        }
    }

    void carpetaQueNoSePuedeEscribir()
    {
        Ventana v;
        v.carpeta = CarpetaDatos(v.carpeta.carpeta() / "no-existe");
        QTest::mouseClick(v.w("SSCommandGuardar"), Qt::LeftButton);
        QCOMPARE(v.dlg.cajas.size(), 1u);
        QCOMPARE(v.dlg.cajas[0].titulo, std::string("No se pudo grabar el archivo"));
        QVERIFY(v.dlg.cajas[0].texto.find("no-existe/DATA.DAT") != std::string::npos);
        QVERIFY(v.dlg.cajas[0].texto.find("la carpeta de datos no existe") != std::string::npos);
        QCOMPARE(v.foco(), QString("SSCommandGuardar"));
        QTest::mouseClick(v.w("Salir_Cmd"), Qt::LeftButton);
        QCOMPARE(v.dlg.cajas.size(), 3u); // LastData.DAT and FinDrovena.DAT, then the end all the same
        QCOMPARE(v.terminado, 1);
    }
};

QTEST_MAIN(TestFrmVantora)
#include "test_frm_vantora.moc"
