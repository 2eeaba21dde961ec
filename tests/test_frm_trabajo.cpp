// The job window driven as an optician drives it: opened with Ctrl+T, a
// whole job typed with the keyboard only, a number scanned, a trace loaded,
// every change solved and drawn again, the job stored, exported and closed.

#include "almacen_trabajos.h"
#include "apoyo/programa_prueba.h"
#include "base_materiales.h"
#include "frm_trabajo.h"
#include "vista_espesor.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <fstream>
#include <sys/stat.h>

namespace {

const QString kForma = QStringLiteral(VANTORA_DATOS_TRABAJOS "/forma.dcs");

struct Banco : ProgramaPrueba {
    Frm_Trabajo& t;
    Banco() : t(abrir(programa, frm)) {}
    static Frm_Trabajo& abrir(Programa& p, Frm_Vantora& f)
    {
        f.activateWindow();
        (void)QTest::qWaitForWindowActive(&f);
        QTest::keyClick(&f, Qt::Key_T, Qt::ControlModifier);
        return *p.trabajo(); // null, and the test stops, when Ctrl+T opens nothing
    }
    template <typename W = QLineEdit>
    W* w(const QString& nombre)
    {
        return t.findChild<W*>(nombre);
    }
    // Chooses a list's entry and confirms it with Enter.
    void elegir(const QString& lista, const QString& texto)
    {
        auto* combo = w<QComboBox>(lista);
        combo->setCurrentIndex(combo->findText(texto));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Return);
    }
    // Types into a box, as a scanner or a hand does, and presses Enter.
    void teclear(const QString& caja, const QString& texto)
    {
        w(caja)->setFocus();
        w(caja)->selectAll();
        QTest::keyClicks(w(caja), texto + "\r");
    }
    QString salida() { return w<QLabel>("SalidaTxt")->text(); }
    QString resultado(const char* lado) { return w<QLabel>(QStringLiteral("Lbl_Resultado_") + lado)->text(); }
    QImage dibujo() { return w<VistaEspesor>("VistaEspesor")->grab().toImage(); }
    // Right eye +4.00, left +2.00, CR-39, a 52 × 40 box centred.
    void trabajoSencillo()
    {
        teclear("Tx_Esfera_D", "4");
        teclear("Tx_Esfera_I", "2");
        elegir("Combo_Material", "CR-39");
        teclear("Tx_A", "52");
        teclear("Tx_B", "40");
    }
    double centro(int ojo) { return t.contestacion()->ojos[ojo].resultado->espesorCentral; }
};

} // namespace

class TestFrmTrabajo : public QObject {
    Q_OBJECT

private slots:
    void tecladoSolo()
    {
        Banco b;
        QVERIFY(b.t.isVisible());
        b.t.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&b.t));
        b.w("Tx_Trabajo")->setFocus();
        // Every box in order, top to bottom, confirmed by Enter; the lists
        // chosen with the arrow keys.
        const std::pair<const char*, const char*> pasos[] = {
            {"Tx_Trabajo", "J-100"},
            {"Tx_Esfera_D", "+3.5"},
            {"Tx_Cilindro_D", "-1"},
            {"Tx_Eje_D", "30"},
            {"Tx_Prisma_D", "1"},
            {"Tx_BasePrisma_D", "adentro"},
            {"Tx_Dp_D", "31"},
            {"Tx_Altura_D", "22"},
            {"Tx_Esfera_I", "3"},
            {"Tx_Cilindro_I", ""},
            {"Tx_Eje_I", ""},
            {"Tx_Prisma_I", "1"},
            {"Tx_BasePrisma_I", "adentro"},
            {"Tx_Dp_I", "32"},
            {"Tx_Altura_I", "22"},
            {"Combo_Material", nullptr},
            {"Tx_CurvaBase", ""},
            {"Combo_Montura", nullptr},
            {"Combo_Seguridad", nullptr},
            {"Tx_A", "52"},
            {"Tx_B", "40"},
            {"Tx_DBL", "18"},
        };
        for (const auto& [caja, texto] : pasos) {
            QWidget* foco = QApplication::focusWidget();
            QVERIFY(foco);
            QCOMPARE(foco->objectName(), QString(caja));
            if (texto)
                QTest::keyClicks(foco, texto);
            else
                QTest::keyClick(foco, Qt::Key_Down);
            QTest::keyClick(foco, Qt::Key_Return);
            QVERIFY2(b.salida().isEmpty() || std::string_view(caja) == "Tx_Trabajo", qPrintable(b.salida()));
        }
        const trabajos::FormularioTrabajo& f = b.t.formulario();
        QCOMPARE(f.Texto(trabajos::Campo::Material), std::string("CR-39"));
        QCOMPARE(f.Texto(trabajos::Campo::Montura), std::string("Ranurada"));
        QCOMPARE(f.Texto(trabajos::Campo::Seguridad), std::string("Básica"));
        // Base in is toward the nose: 0° for the right eye, 180° for the left.
        QCOMPARE(f.Texto(trabajos::Campo::BasePrisma, dcs::Lado::Izquierdo), std::string("180"));
        QVERIFY(b.t.contestacion() && b.t.contestacion()->Completa());
        // Stored and read back, the job is the same to the byte.
        trabajos::FormularioTrabajo copia;
        std::string avisos;
        QVERIFY(!copia.Cargar(f.Pedido(), avisos));
        QCOMPARE(copia.Pedido(), f.Pedido());
        QCOMPARE(avisos, std::string());
        // The stronger right eye is thicker, and its figures are in its own column.
        QVERIFY(b.centro(0) > b.centro(1));
        QVERIFY(b.resultado("D").contains(QString::number(b.centro(0), 'f', 2)));
        QVERIFY(b.resultado("I").contains(QString::number(b.centro(1), 'f', 2)));
    }

    void valorRechazado_data()
    {
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("malo");
        QTest::newRow("coma decimal") << "Tx_Esfera_D"
                                      << "4,5";
        QTest::newRow("eje fuera") << "Tx_Eje_D"
                                   << "200";
        QTest::newRow("base sin sentido") << "Tx_BasePrisma_D"
                                          << "diagonal";
        QTest::newRow("número con ruta") << "Tx_Trabajo"
                                         << "../x";
        QTest::newRow("DP") << "Tx_Dp_I"
                            << "5";
        QTest::newRow("caja") << "Tx_A"
                              << "1e3";
    }
    void valorRechazado()
    {
        QFETCH(QString, caja);
        QFETCH(QString, malo);
        Banco b;
        b.trabajoSencillo();
        b.t.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&b.t));
        const std::string antes = b.t.formulario().Pedido();
        b.teclear(caja, malo);
        QVERIFY(!b.salida().isEmpty());
        QCOMPARE(QApplication::focusWidget(), b.w(caja));
        QCOMPARE(b.t.formulario().Pedido(), antes);
    }

    // Each confirmed change solves the job again and draws it again.
    void cadaCambioRecalcula_data()
    {
        QTest::addColumn<QStringList>("cambios");
        QTest::newRow("esfera") << QStringList{"Tx_Esfera_D", "5"};
        QTest::newRow("cilindro y eje") << QStringList{"Tx_Cilindro_D", "-2", "Tx_Eje_D", "45"};
        QTest::newRow("prisma") << QStringList{"Tx_Prisma_I", "2", "Tx_BasePrisma_I", "abajo"};
        QTest::newRow("centrado") << QStringList{"Tx_Dp_D", "28",          "Tx_Altura_D", "18",     "Tx_Dp_I",
                                                 "28",      "Tx_Altura_I", "18",          "Tx_DBL", "20"};
        QTest::newRow("curva") << QStringList{"Tx_CurvaBase", "8"};
        QTest::newRow("caja") << QStringList{"Tx_A", "60"};
        QTest::newRow("montura") << QStringList{"Combo_Montura", "Perforada"};
        QTest::newRow("seguridad") << QStringList{"Combo_Seguridad", "Alto impacto"};
        QTest::newRow("material") << QStringList{"Combo_Material", "Policarb"};
    }
    void cadaCambioRecalcula()
    {
        QFETCH(QStringList, cambios);
        Banco b;
        b.trabajoSencillo();
        const QString antes = b.resultado("D") + b.resultado("I");
        const QImage dibujo = b.dibujo();
        for (qsizetype i = 0; i < cambios.size(); i += 2) {
            if (cambios[i].startsWith("Combo"))
                b.elegir(cambios[i], cambios[i + 1]);
            else
                b.teclear(cambios[i], cambios[i + 1]);
        }
        QVERIFY2(b.salida().isEmpty(), qPrintable(b.salida()));
        QVERIFY(b.resultado("D") + b.resultado("I") != antes);
        QVERIFY(b.dibujo() != dibujo);
    }

    // A job that cannot be made says why and keeps what was typed.
    void sinSolucion()
    {
        Banco b;
        b.teclear("Tx_Esfera_D", "4");
        b.teclear("Tx_A", "52");
        b.teclear("Tx_B", "40");
        QVERIFY(!b.t.contestacion()->Completa());
        QVERIFY(b.w<QLabel>("Lbl_Avisos_D")->text().contains("material"));
        QCOMPARE(b.w("Tx_Esfera_D")->text(), QString("+4.00"));
        QCOMPARE(b.w("Tx_A")->text(), QString("52.0"));
    }

    void trazado()
    {
        Banco b;
        b.trabajoSencillo();
        b.t.elegirArchivo = [](const QString&, const QString&, bool) { return kForma; };
        QTest::mouseClick(b.w<QPushButton>("Command_CargarTrazado"), Qt::LeftButton);
        // The trace's box is the shape's: 50.0 × 40.0 mm, and it locks A and B.
        QCOMPARE(b.w("Tx_A")->text(), QString("50.0"));
        QVERIFY(!b.w("Tx_A")->isEnabled() && !b.w("Tx_B")->isEnabled());
        QVERIFY(b.t.contestacion()->Completa());
        QTest::mouseClick(b.w<QPushButton>("Command_QuitarTrazado"), Qt::LeftButton);
        QVERIFY(b.w("Tx_A")->isEnabled() && !b.w<QPushButton>("Command_QuitarTrazado")->isEnabled());
        // A pipe at the name is refused at once, not waited on.
        const QString fifo = b.dir.path() + "/trazo";
        QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        b.t.elegirArchivo = [fifo](const QString&, const QString&, bool) { return fifo; };
        QTest::mouseClick(b.w<QPushButton>("Command_CargarTrazado"), Qt::LeftButton);
        QVERIFY(b.salida().contains("trazo"));
    }

    // A frame a tracer sent for the number is the job's shape, and says so.
    void trazadoDelTrazador()
    {
        Banco b;
        BaseMateriales base(b.carpeta.Archivo(CarpetaDatos::kMateriales));
        AlmacenTrabajos almacen(base);
        QFile f(kForma);
        QString error;
        QVERIFY(f.open(QIODevice::ReadOnly) && !base.Preparar() && !almacen.Preparar());
        QVERIFY(almacen.GuardarTrazo({"T5", f.readAll(), "TRZ/T1", "2026-12-07T10:00:00Z"}, nullptr, error));
        b.teclear("Tx_Trabajo", "T5");
        QCOMPARE(b.w<QLabel>("Lbl_Trazado")->text(), QString("Trazado del trazador"));
        QCOMPARE(b.w("Tx_A")->text(), QString("50.0"));
        QTest::mouseClick(b.w<QPushButton>("Command_QuitarTrazado"), Qt::LeftButton);
        QCOMPARE(b.w<QLabel>("Lbl_Trazado")->text(), QString("Sin trazado"));
    }

    // Stored, asked before overwriting, pulled up again by its number, and
    // never closed with its changes unasked.
    void guardarAbrirCerrar()
    {
        Banco b;
        b.teclear("Tx_Trabajo", "J7");
        b.trabajoSencillo();
        QVERIFY(b.t.Guardar());
        b.teclear("Tx_Esfera_D", "6");
        b.dlg.respuestas = {Respuesta::No};
        QVERIFY(!b.t.Guardar());
        QVERIFY(b.dlg.cajas.back().texto.find("ya está guardado") != std::string::npos);
        // Closing asks; Cancel keeps the window and its figures.
        b.dlg.respuestas = {Respuesta::Cancelar};
        QVERIFY(!b.t.close());
        QCOMPARE(b.w("Tx_Esfera_D")->text(), QString("+6.00"));
        // So does ending the program from the design window.
        bool termino = false;
        b.frm.AlTerminar([&] { termino = true; });
        b.dlg.respuestas = {Respuesta::Cancelar};
        QVERIFY(!b.frm.close() && !termino && b.t.isVisible());
        // Discarded, then the scanned number brings back the stored +4.00.
        b.dlg.respuestas = {Respuesta::No};
        QVERIFY(b.t.close());
        QVERIFY(b.w("Tx_Esfera_D")->text().isEmpty());
        b.t.show();
        b.teclear("Tx_Trabajo", "J7");
        QCOMPARE(b.w("Tx_Esfera_D")->text(), QString("+4.00"));
        QVERIFY(!b.t.formulario().Cambiado());
        QVERIFY(b.t.contestacion()->Completa());
        // Replacing, the store keeps the new figures.
        b.teclear("Tx_Esfera_D", "6");
        b.dlg.respuestas = {Respuesta::Si};
        QVERIFY(b.t.Guardar());
        b.teclear("Tx_Esfera_D", "1");
        b.dlg.respuestas = {Respuesta::No};
        b.teclear("Tx_Trabajo", "J7");
        QCOMPARE(b.w("Tx_Esfera_D")->text(), QString("+6.00"));
    }

    void exportar()
    {
        Banco b;
        b.teclear("Tx_Trabajo", "J8");
        b.trabajoSencillo();
        const std::filesystem::path pedido = (b.dir.path() + "/J8.dcs").toStdString();
        b.t.Exportar(pedido);
        std::ifstream p(pedido), r(std::filesystem::path(pedido).replace_extension(".rsp"));
        const std::string pedidoLeido((std::istreambuf_iterator<char>(p)), {});
        const std::string respuesta((std::istreambuf_iterator<char>(r)), {});
        QCOMPARE(pedidoLeido, b.t.formulario().Pedido());
        QVERIFY(respuesta.find("CTHICK=") != std::string::npos && respuesta.find("JOB=J8") != std::string::npos);
        // Ctrl+P previews the ticket.
        b.t.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&b.t));
        QTest::keyClick(&b.t, Qt::Key_P, Qt::ControlModifier);
        QTRY_VERIFY(b.t.findChild<QWidget*>("VistaPreviaTrabajo"));
    }

    // No text is cut: every label and button is as wide as its words.
    void textosCaben()
    {
        Banco b;
        b.trabajoSencillo();
        b.teclear("Tx_Esfera_D", "12");
        QApplication::processEvents();
        for (QLabel* l : b.t.findChildren<QLabel*>()) {
            if (!l->isVisible() || l->wordWrap())
                continue;
            for (const QString& linea : l->text().split('\n'))
                QVERIFY2(l->fontMetrics().horizontalAdvance(linea) <= l->contentsRect().width(), qPrintable(linea));
        }
        b.teclear("Tx_Esfera_I", "-12.25");
        for (QLineEdit* e : b.t.findChildren<QLineEdit*>())
            QVERIFY2(e->fontMetrics().horizontalAdvance(e->text()) + 8 <= e->contentsRect().width(),
                     qPrintable(e->objectName()));
        for (QPushButton* p : b.t.findChildren<QPushButton*>())
            QVERIFY2(p->fontMetrics().horizontalAdvance(p->text()) < p->width(), qPrintable(p->text()));
        for (QLabel* l : b.t.findChildren<QLabel*>())
            if (l->isVisible() && l->wordWrap())
                QVERIFY2(l->heightForWidth(l->width()) <= l->height(), qPrintable(l->objectName()));
    }
};

QTEST_MAIN(TestFrmTrabajo)
#include "test_frm_trabajo.moc"
