// The job window driven as an optician drives it: opened with Ctrl+T, a
// whole job typed with the keyboard only, a number scanned, a trace loaded,
// every change solved and drawn again, the job stored, exported and closed.

#include "almacen_trabajos.h"
#include "apoyo/catalogo_memoria.h"
#include "apoyo/proceso.h"
#include "apoyo/programa_prueba.h"
#include "base_materiales.h"
#include "conexion_materiales.h"
#include "frm_trabajo.h"
#include "vista_errores.h"
#include "vista_espesor.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
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
    // Boxes typed into and lists chosen, in pairs of a name and its text.
    void llenar(const QStringList& pasos)
    {
        for (qsizetype i = 0; i < pasos.size(); i += 2)
            pasos[i].startsWith("Combo") ? elegir(pasos[i], pasos[i + 1]) : teclear(pasos[i], pasos[i + 1]);
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
    // The program's catalogue, where its jobs are stored.
    std::unique_ptr<BaseMateriales> base()
    {
        auto b = std::make_unique<BaseMateriales>(carpeta.Archivo(CarpetaDatos::kMateriales));
        return b->Preparar() ? nullptr : std::move(b);
    }
    // A new job stored there as another bench stores it.
    bool guardar(const TrabajoGuardado& t)
    {
        const auto b = base();
        QString error;
        return b && !AlmacenTrabajos(*b).Preparar() &&
               AlmacenTrabajos(*b).Guardar(t, false, error) == AlmacenTrabajos::Guardado::Nuevo;
    }
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
        // chosen with the arrow keys ("↓"), the trace's button left with Tab
        // ("⇥"); Ctrl+S stores the job.
        const QStringList pasos =
            QString("Tx_Trabajo=J-100 Tx_Esfera_D=+3.5 Tx_Cilindro_D=-1 Tx_Eje_D=30 Tx_Prisma_D=1 "
                    "Tx_BasePrisma_D=adentro Tx_Dp_D=31 Tx_Altura_D=22 Tx_Esfera_I=3 Tx_Cilindro_I= Tx_Eje_I= "
                    "Tx_Prisma_I=1 Tx_BasePrisma_I=adentro Tx_Dp_I=32 Tx_Altura_I=22 Combo_Material=↓ "
                    "Tx_CurvaBase= Combo_Montura=↓ Combo_Seguridad=↓ Tx_A=52 Tx_B=40 Tx_DBL=18 "
                    "Command_CargarTrazado=⇥ Tx_Vertice=13 Tx_Pantoscopico=8 Tx_Envolvente=5")
                .split(' ');
        for (const QString& paso : pasos) {
            const QString caja = paso.section('=', 0, 0), texto = paso.section('=', 1);
            QWidget* foco = QApplication::focusWidget();
            QVERIFY(foco);
            QCOMPARE(foco->objectName(), caja);
            if (texto == "↓") // a focused list is framed in the highlight colour, not a hairline
                QCOMPARE(foco->grab().toImage().pixelColor(1, 10), foco->palette().color(QPalette::Highlight));
            if (texto == "⇥") {
                QTest::keyClick(foco, Qt::Key_Tab);
                continue;
            }
            if (texto == "↓")
                QTest::keyClick(foco, Qt::Key_Down);
            else
                QTest::keyClicks(foco, texto);
            QTest::keyClick(foco, Qt::Key_Return);
            QVERIFY2(b.salida().isEmpty() || caja == "Tx_Trabajo", qPrintable(b.salida()));
        }
        const trabajos::FormularioTrabajo& f = b.t.formulario();
        QCOMPARE(f.Texto(trabajos::Campo::Material), std::string("CR-39"));
        QCOMPARE(f.Texto(trabajos::Campo::Montura), std::string("Ranurada"));
        QCOMPARE(f.Texto(trabajos::Campo::Seguridad), std::string("Básica"));
        // Base in is toward the nose: 0° for the right eye, 180° for the left.
        QCOMPARE(f.Texto(trabajos::Campo::BasePrisma, dcs::Lado::Izquierdo), std::string("180"));
        QVERIFY(b.t.contestacion() && b.t.contestacion()->Completa());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!f.Cambiado());
        // Stored and read back, the job is the same to the byte.
        trabajos::FormularioTrabajo copia;
        std::string avisos;
        QVERIFY(!copia.Cargar(f.Pedido(), avisos));
        QCOMPARE(copia.Pedido(), f.Pedido());
        QCOMPARE(avisos, std::string());
        // The frame's placement goes with the job.
        QVERIFY(f.Pedido().find("BVD=13.00;13.00\r\nPANTO=8.00;8.00\r\nZTILT=5.00;5.00") != std::string::npos);
        // The stronger right eye is thicker, and its figures are in its own column.
        QVERIFY(b.centro(0) > b.centro(1));
        QVERIFY(b.resultado("D").contains(QString::number(b.centro(0), 'f', 2)));
        QVERIFY(b.resultado("I").contains(QString::number(b.centro(1), 'f', 2)));
    }

    void valorRechazado_data()
    {
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("malo");
        const auto fila = [](const char* caso, const char* caja, const char* malo) {
            QTest::newRow(caso) << QString(caja) << QString(malo);
        };
        fila("coma decimal", "Tx_Esfera_D", "4,5");
        fila("eje fuera", "Tx_Eje_D", "200");
        fila("base sin sentido", "Tx_BasePrisma_D", "diagonal");
        fila("número con ruta", "Tx_Trabajo", "../x");
        fila("DP", "Tx_Dp_I", "5");
        fila("caja", "Tx_A", "1e3");
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
        b.llenar(cambios);
        QVERIFY2(b.salida().isEmpty(), qPrintable(b.salida()));
        QVERIFY(b.resultado("D") + b.resultado("I") != antes);
        QVERIFY(b.dibujo() != dibujo);
    }

    // The worked minus lens with prism (−3.00 −0.75 × 30, 4Δ base out, CR-39,
    // full rim, basic impact, base 4.25, box 46 × 32) is thinnest inside, 3.00
    // mm at 5° and 12.50 mm out, and thickest at its thickest edge; a plus
    // lens without prism is thickest at its centre.
    void espesoresQueSostienenLasReglas()
    {
        Banco b;
        const QStringList pasos{"Tx_Esfera_D",   "-3",       "Tx_Cilindro_D",   "-0.75",  "Tx_Eje_D",       "30",
                                "Tx_Prisma_D",   "4",        "Tx_BasePrisma_D", "afuera", "Tx_Dp_D",        "31",
                                "Tx_Altura_D",   "19",       "Tx_Esfera_I",     "4",      "Tx_Dp_I",        "32",
                                "Tx_Altura_I",   "19",       "Tx_CurvaBase",    "4.25",   "Tx_A",           "46",
                                "Tx_B",          "32",       "Tx_DBL",          "18",     "Combo_Material", "CR-39",
                                "Combo_Montura", "Completa", "Combo_Seguridad", "Básica"};
        b.llenar(pasos);
        const QString d = b.resultado("D"), i = b.resultado("I");
        QVERIFY2(d.contains("\nPunto más delgado: 3.00 mm a 5° y 12.50 mm\n"), qPrintable(d));
        const auto cifra = [](const QString& t, const QString& rotulo) {
            return QRegularExpression(rotulo + ": ([0-9.]+) mm").match(t).captured(1);
        };
        for (const auto& [texto, igual] : {std::pair{d, "Borde máximo"}, {i, "Espesor central"}})
            QVERIFY2(!cifra(texto, igual).isEmpty() && cifra(texto, "Espesor máximo") == cifra(texto, igual),
                     qPrintable(texto));
    }

    // A job that cannot be made says why in the optician's words, never in
    // the exchange's labels, and keeps what was typed; a pair 3 D apart is
    // made on two bases, and says so.
    void mensajes_data()
    {
        QTest::addColumn<QStringList>("pasos");
        QTest::addColumn<QString>("aviso");
        QTest::newRow("sin material") << QStringList{"Tx_Esfera_D", "4", "Tx_A", "52", "Tx_B", "40"}
                                      << "No se puede calcular: Falta el material: elija uno de la lista";
        QTest::newRow("sin forma") << QStringList{"Tx_Esfera_D", "4", "Combo_Material", "CR-39"}
                                   << "No se puede calcular: Falta la forma: cargue un trazado o escriba A y B";
        QTest::newRow("anisometropía") << QStringList{"Tx_Esfera_D", "-1",   "Tx_Esfera_I", "-4",   "Combo_Material",
                                                      "CR-39",       "Tx_A", "52",          "Tx_B", "40"}
                                       << "Aviso: Bases distintas: anisometropía";
    }
    void mensajes()
    {
        QFETCH(QStringList, pasos);
        QFETCH(QString, aviso);
        Banco b;
        b.llenar(pasos);
        QCOMPARE(b.w<QLabel>("Lbl_Avisos_D")->text(), aviso);
        QCOMPARE(b.w("Tx_Esfera_D")->text(), pasos[1].startsWith('-') ? pasos[1] + ".00" : "+" + pasos[1] + ".00");
    }

    // The frame's placement starts at 12 mm, 0° and 0°; a tilt compensates
    // both lenses, which the lensmeter then reads otherwise, the picture of
    // the errors as worn follows, and the store keeps what the window shows.
    // An emptied box goes back to the usual placement.
    void posicionDeUso()
    {
        Banco b;
        b.teclear("Tx_Trabajo", "U1");
        b.trabajoSencillo();
        QCOMPARE(b.w("Tx_Vertice")->text() + b.w("Tx_Pantoscopico")->text() + b.w("Tx_Envolvente")->text(),
                 QString("12.00.00.0"));
        QVERIFY(b.t.formulario().Pedido().find("BVD=12.00;12.00\r\nPANTO=0.00;0.00\r\nZTILT=0.00;0.00") !=
                std::string::npos);
        QVERIFY(!b.resultado("D").contains("Frontofocómetro"));
        auto* pestanas = b.t.findChild<QTabBar*>();
        QTest::mouseClick(pestanas, Qt::LeftButton, {}, pestanas->tabRect(1).center());
        const auto errores = [&] { return b.w<VistaErrores>("VistaErrores")->grab().toImage(); };
        const QImage antes = errores();
        b.teclear("Tx_Pantoscopico", "12");
        QVERIFY(errores() != antes);
        // Martin's formula undone: +4 - 4 · sin² 12° / 2n = +3.94, +2 gives +1.97.
        for (const char* lado : {"D", "I"})
            QVERIFY(b.resultado(lado).contains("Frontofocómetro: +3.9") ||
                    b.resultado(lado).contains("Frontofocómetro: +1.9"));
        QVERIFY(b.t.Guardar());
        b.teclear("Tx_Trabajo", "U1");
        QVERIFY(b.t.contestacion()->texto.find("INSSPH=") != std::string::npos);
        QVERIFY(b.resultado("D").contains("Frontofocómetro"));
        b.w("Tx_Pantoscopico")->setFocus();
        b.w("Tx_Pantoscopico")->selectAll();
        QTest::keyClick(b.w("Tx_Pantoscopico"), Qt::Key_Delete);
        QTest::keyClick(b.w("Tx_Pantoscopico"), Qt::Key_Return);
        QCOMPARE(b.w("Tx_Pantoscopico")->text(), QString("0.0"));
        QVERIFY(!b.resultado("I").contains("Frontofocómetro"));
    }

    // "Mejor base" puts the base of least astigmatic error 30° off the line
    // of sight in the curve box: the stronger eye's for a pair, each eye's
    // own 3 D apart. Each chosen base does better than its neighbours.
    void mejorBase()
    {
        // A pair, then a pair 3 D apart.
        for (const auto& [izquierda, anisometropia] : {std::pair{"-3.5", false}, {"-5", true}}) {
            Banco b;
            b.trabajoSencillo();
            b.teclear("Tx_Esfera_D", "-2");
            b.teclear("Tx_Esfera_I", izquierda);
            b.teclear("Tx_Pantoscopico", "10");
            b.w<QPushButton>("Command_MejorBase")->setFocus();
            QTest::keyClick(b.w<QPushButton>("Command_MejorBase"), Qt::Key_Space);
            const QStringList bases = b.w("Tx_CurvaBase")->text().split(" / ");
            QCOMPARE(bases.size(), anisometropia ? 2 : 1);
            QCOMPARE(b.salida().contains("anisometropía"), anisometropia);
            const auto rms = [&](int ojo) { return *b.t.contestacion()->ojos[ojo].campo; };
            // The left eye guides the pair; each eye is judged at its own.
            const double mejores[2] = {rms(0), rms(1)};
            for (const double paso : {-0.25, 0.25}) {
                const auto vecina = [&](int ojo) {
                    return QString::number(bases.value(ojo, bases[0]).toDouble() + paso);
                };
                b.teclear("Tx_CurvaBase", vecina(0) + " / " + vecina(1));
                QVERIFY(rms(1) > mejores[1]);
                QVERIFY(!anisometropia || rms(0) > mejores[0]);
            }
        }
    }

    // A job stored from outside, made at an index alone and carrying values
    // no box holds, opens whole and goes out as stored; changed, the window's
    // own request, exported with its answer, still carries those values.
    // Ctrl+P previews the ticket.
    void trabajoDeFuera()
    {
        Banco b;
        const std::string pedido = "JOB=F1\r\nSPH=-2.00;-2.50\r\nLIND=1.6\r\nHBOX=50\r\nVBOX=40\r\nETYP=1\r\n"
                                   "ADD=2.00\r\nZTILT=8\r\n";
        std::string error;
        QVERIFY(b.guardar(TrabajoRespondido(pedido, trabajos::Responder(*dcs::Pedido::Leer(pedido, error), nullptr))));
        b.teclear("Tx_Trabajo", "F1");
        QCOMPARE(b.w<QComboBox>("Combo_Material")->currentText(), QString("Índice 1.600 (sin material del catálogo)"));
        QVERIFY(b.resultado("D").contains("Peso: sin densidad"));
        QCOMPARE(b.w<QLabel>("Lbl_Conservados")->text(), QString("Adición: 2.00 D / 2.00 D"));
        QCOMPARE(b.w("Tx_Envolvente")->text(), QString("8.0"));
        const QString archivo = b.dir.path() + "/F1";
        b.t.Exportar((archivo + ".dcs").toStdString());
        QCOMPARE(Leer(archivo + ".dcs").toStdString(), pedido);
        b.teclear("Tx_Esfera_D", "-3");
        b.t.Exportar((archivo + ".dcs").toStdString());
        const std::string nuevo = Leer(archivo + ".dcs").toStdString();
        QCOMPARE(nuevo, b.t.formulario().Pedido());
        QVERIFY(nuevo.find("ADD=2.00;2.00") != std::string::npos &&
                nuevo.find("LIND=1.600;1.600") != std::string::npos &&
                nuevo.find("ZTILT=8.00;8.00") != std::string::npos);
        const QByteArray respuesta = Leer(archivo + ".rsp");
        QVERIFY(respuesta.contains("CTHICK=") && respuesta.startsWith("JOB=F1"));
        b.t.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&b.t));
        QTest::keyClick(&b.t, Qt::Key_P, Qt::ControlModifier);
        QTRY_VERIFY(b.t.findChild<QWidget*>("VistaPreviaTrabajo"));
    }

    // LMATTYPE is a product's name unless it is a class of the standard,
    // one or two digits: the window shows the name the answerer looks for.
    void claseONombre()
    {
        trabajos::FormularioTrabajo f;
        std::string avisos;
        QVERIFY(!f.Cargar("JOB=L1\r\nSPH=1.00\r\nLMATTYPE=123\r\nLIND=1.6\r\n", avisos));
        QCOMPARE(f.Texto(trabajos::Campo::Material), std::string("123"));
    }

    // A job the earlier release stored opens by its rules: ETYP one an eye,
    // FRNT the house's 1.523 curve, the material by name; its figures are
    // the stored answer's.
    void trabajoAnterior()
    {
        Banco b;
        const QString pedido =
            "JOB=V1\r\nDO=B\r\nSPH=4.00;3.00\r\nLMATTYPE=CR-39;CR-39\r\nFRNT=6.00;6.00\r\nETYP=3;3\r\n"
            "HBOX=50.00;50.00\r\nVBOX=40.00;40.00\r\n";
        const QString respuesta = "JOB=V1\r\nFRNT=6.000;6.000\r\nBACK=-1.87;-1.87;-2.85;-2.85\r\nCTHICK=3.911;3.302\r\n"
                                  "CTHNP=1.500;1.500\r\nCTHNA=0.00;0.00\r\nCTHKP=1.500;1.500\r\nCTHKA=0.00;0.00\r\n"
                                  "CRIB=55.00;55.00\r\n_PESO=9.10;8.20\r\nSTATUS=0;0\r\n";
        QVERIFY(b.guardar({"V1", pedido, respuesta, "CR-39", "", "", "", "respondido", dcs::kFormatoAnterior}));
        b.teclear("Tx_Trabajo", "V1");
        QCOMPARE(b.w("Tx_CurvaBase")->text(), QString("6.00"));
        QCOMPARE(b.w<QComboBox>("Combo_Montura")->currentText(), QString("Ranurada"));
        QCOMPARE(b.w<QComboBox>("Combo_Material")->currentText(), QString("CR-39"));
        QVERIFY(b.resultado("D").contains("Espesor central: 3.91 mm") && b.resultado("I").contains("Peso: 8.2 g"));
    }

    // A stored job whose material changed in the catalogue since opens with
    // its stored figures, and says so; a change solves it anew.
    void catalogoCambiado()
    {
        Banco b;
        b.teclear("Tx_Trabajo", "J9");
        b.trabajoSencillo();
        QVERIFY(b.t.Guardar());
        const double guardado = b.centro(0);
        const auto base = b.base();
        {
            ConexionMateriales c(*base, "prueba");
            QSqlQuery q(c.bd());
            QVERIFY(q.exec("UPDATE \"Tabla_Materiales\" SET \"indice de refracción\" = 1.7 WHERE producto = 'CR-39'"));
        }
        b.t.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&b.t));
        b.teclear("Tx_Trabajo", "J9");
        QCOMPARE(std::round(b.centro(0) * 1000), std::round(guardado * 1000)); // as the answer wrote it
        QVERIFY2(b.salida().contains("cifras guardadas"), qPrintable(b.salida()));
        QVERIFY(!b.resultado("D").contains("Espesor máximo")); // the answer does not keep it
        b.teclear("Tx_Esfera_I", "2.5");
        QVERIFY(b.centro(0) != guardado);
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
        // A laboratory's whole job file: the thickness block before the
        // trace is not taken for radii.
        b.t.elegirArchivo = [](const QString&, const QString&, bool) {
            return QStringLiteral(VANTORA_DATOS_TRABAJOS "/STHKFMT.oma");
        };
        QTest::mouseClick(b.w<QPushButton>("Command_CargarTrazado"), Qt::LeftButton);
        QCOMPARE(b.w("Tx_A")->text(), QString("55.0")); // the file's HBOX is 54.96
        QTest::mouseClick(b.w<QPushButton>("Command_QuitarTrazado"), Qt::LeftButton);
        // A pipe at the name is refused at once, not waited on.
        const QString fifo = b.dir.path() + "/trazo";
        QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        b.t.elegirArchivo = [fifo](const QString&, const QString&, bool) { return fifo; };
        QTest::mouseClick(b.w<QPushButton>("Command_CargarTrazado"), Qt::LeftButton);
        QVERIFY(b.salida().contains("trazo"));
    }

    // A trace that cannot be used is explained in the window without the
    // exchange's labels; the answer to the same job keeps them (a file with
    // a job of its own is not answered here).
    void trazadoMalo_data()
    {
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<QString>("dice");
        const auto fila = [](const char* caso, const char* archivo, const char* dice) {
            QTest::newRow(caso) << archivo << dice;
        };
        fila("formato 4", "TRCFMT=4;512;E;R;F\nR=1;2", "formato \"4\"");
        fila("lado desconocido", "TRCFMT=1;3;E;X;F\nR=1;2;3", "se espera R (derecho)");
        fila("encabezado incompleto", "TRCFMT=1;3\nR=1;2;3", "encabezado del trazado");
        fila("sin trazado", "JOB=T1\nR=1;2;3", "no contiene un trazado");
        // Named at its line of the file, past the job's records.
        fila("radio malo", "JOB=T9\nDO=B\nTRCFMT=1;4;E;R;F\nR=25;25;25;x\n", "línea 4:");
    }
    void trazadoMalo()
    {
        QFETCH(QString, archivo);
        QFETCH(QString, dice);
        Banco b;
        const std::string ruta = (b.dir.path() + "/malo.dcs").toStdString();
        std::ofstream(ruta) << archivo.toStdString();
        b.t.CargarTrazado(ruta);
        QVERIFY2(b.salida().contains(dice) && !b.salida().contains("TRCFMT") && !b.salida().contains("R="),
                 qPrintable(b.salida()));
        if (archivo.startsWith("JOB"))
            return;
        std::string error;
        const auto pedido = dcs::Pedido::Leer("JOB=T1\nSPH=1\nLIND=1.5\nETYP=1\n" + archivo.toStdString(), error);
        const trabajos::Contestacion c = trabajos::Responder(*pedido, nullptr);
        QVERIFY(c.ojos[0].falla.find("TRCFMT") == std::string::npos);
        QVERIFY2(c.texto.find("XSTATUS=R;1") != std::string::npos && c.texto.find(";TRCFMT: ") != std::string::npos,
                 c.texto.c_str());
    }

    // A new number over unsaved changes asks as a stored one does:
    // Cancelar keeps the job as it was, No lets its changes go.
    void numeroNuevoSobreCambios()
    {
        Banco b;
        b.teclear("Tx_Trabajo", "J7");
        b.trabajoSencillo();
        b.dlg.respuestas = {Respuesta::Cancelar, Respuesta::No};
        for (const QString numero : {"J7", "J9"}) {
            b.teclear("Tx_Trabajo", "J9");
            QCOMPARE(b.w("Tx_Trabajo")->text(), numero);
            QCOMPARE(b.w("Tx_Esfera_D")->text(), QString(numero == "J7" ? "+4.00" : ""));
        }
        QCOMPARE(b.dlg.cajas.size(), 2u);
    }

    // A frame a tracer sent for the number is the job's shape, and says so.
    void trazadoDelTrazador()
    {
        Banco b;
        BaseMateriales base(b.carpeta.Archivo(CarpetaDatos::kMateriales));
        AlmacenTrabajos almacen(base);
        QString error;
        QVERIFY(!base.Preparar() && !almacen.Preparar());
        QCOMPARE(almacen.GuardarTrazo({"T5", Leer(kForma), "TRZ/T1", "2026-12-07T10:00:00Z"}, nullptr, nullptr, error),
                 AlmacenTrabajos::Trazado::Guardado);
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

    // The job in every material, the pair thinnest first: a plus pair is
    // thinner the higher its index, and of one index the lighter comes first.
    // Every text fits; Escape changes nothing; Enter takes the row's
    // material at its suggested base.
    void compararMateriales()
    {
        Banco b;
        b.trabajoSencillo();
        b.teclear("Tx_CurvaBase", "8");
        const std::string pedido = b.t.formulario().Pedido();
        const QImage dibujo = b.dibujo();
        QString centro;
        for (const Qt::Key tecla : {Qt::Key_Escape, Qt::Key_Return}) {
            QTest::mouseClick(b.w<QPushButton>("Command_CompararMateriales"), Qt::LeftButton);
            auto* tabla = b.t.findChild<QTableWidget*>("Grid_Materiales");
            QVERIFY(tabla && tabla->window()->size() == QSize(700, 450));
            QStringList nombres;
            for (int f = 0; f < tabla->rowCount(); ++f) {
                nombres << tabla->item(f, 0)->text();
                // One base for the pair, the right eye's over the left's, and
                // the pair's weight.
                QCOMPARE(tabla->item(f, 3)->text().section('\n', 0, 0), tabla->item(f, 3)->text().section('\n', 1));
                const QStringList pesos = tabla->item(f, 8)->text().split('\n');
                QVERIFY(std::abs(pesos[0].toDouble() + pesos[1].toDouble() - tabla->item(f, 10)->text().toDouble()) <
                        0.11);
                for (int c = 1; c < tabla->columnCount(); ++c)
                    for (const QString& l : tabla->item(f, c)->text().split('\n'))
                        QVERIFY2(QFontMetrics(tabla->item(f, c)->font()).horizontalAdvance(l) <
                                     tabla->columnWidth(c) - 4,
                                 qPrintable(l));
            }
            QVERIFY(tabla->horizontalHeader()->length() <= tabla->viewport()->width());
            QCOMPARE(nombres, QStringList({"Mineral 1.9", "Mineral 1.8", "Resina 1.74", "Mineral 1.7", "Resina 1.67",
                                           "Resina 1.60", "Mineral 1.6", "Policarb", "Trivex", "Crown 1.523",
                                           "CR-39\n(actual)"}));
            QVERIFY(tabla->currentRow() == 10 && tabla->item(10, 4)->font().bold());
            while (tabla->currentRow() > 0)
                QTest::keyClick(tabla, Qt::Key_Up);
            centro = tabla->item(0, 4)->text().section('\n', 0, 0);
            QTest::keyClick(tabla, tecla);
            QTRY_VERIFY(!b.t.findChild<QTableWidget*>("Grid_Materiales"));
            QCOMPARE(b.t.formulario().Pedido() == pedido, tecla == Qt::Key_Escape);
            QCOMPARE(b.dibujo() == dibujo, tecla == Qt::Key_Escape);
        }
        QCOMPARE(b.w<QComboBox>("Combo_Material")->currentText(), QString("Mineral 1.9"));
        QVERIFY(b.w("Tx_CurvaBase")->text().isEmpty() && b.resultado("D").contains("Espesor central: " + centro));
    }

    // A catalogue without materials, or one that cannot be reached, says so
    // in the table.
    void compararSinCatalogo()
    {
        struct Caido : CatalogoMemoria {
            explicit Caido(std::string m) : CatalogoMemoria({}), motivo(std::move(m)) {}
            std::string Inaccesible() const override { return motivo; }
            std::string motivo;
        };
        QTemporaryDir dir;
        BaseMateriales base(dir.filePath("materiales.mdb").toStdString());
        DialogosPrueba dialogos;
        QVERIFY(!base.Preparar());
        for (const auto& [motivo, dice] :
             {std::pair{"", "La Base de Datos de Materiales no tiene materiales."},
              {"sin red", "No se pudo consultar la Base de Datos de Materiales: sin red"}}) {
            Caido catalogo(motivo);
            Frm_Trabajo t(base, catalogo, dialogos);
            QTest::keyClicks(t.findChild<QLineEdit*>("Tx_Esfera_D"), "2\r");
            QTest::mouseClick(t.findChild<QPushButton*>("Command_CompararMateriales"), Qt::LeftButton);
            QCOMPARE(t.findChild<QLabel*>("Lbl_Catalogo")->text(), QString(dice));
            QCOMPARE(t.findChild<QTableWidget*>("Grid_Materiales")->rowCount(), 0);
        }
    }

    // No text is cut: every label and button is as wide as its words.
    void textosCaben()
    {
        Banco b;
        b.trabajoSencillo();
        b.teclear("Tx_Esfera_D", "12");
        b.teclear("Tx_Pantoscopico", "15");
        b.teclear("Tx_Esfera_I", "-12.25");
        b.teclear("Tx_Prisma_I", "6"); // thinnest inside, far from its centre
        b.teclear("Tx_BasePrisma_I", "abajo");
        QApplication::processEvents();
        QVERIFY(b.resultado("I").contains("\nPunto más delgado: "));
        // Both eyes' figures side by side over the pictures, never widening the window.
        QVERIFY(b.w<QLabel>("Lbl_Resultado_I")->width() * 2 < b.w<QTabWidget>("Tab_Dibujos")->width());
        for (QLabel* l : b.t.findChildren<QLabel*>()) {
            if (!l->isVisible() || l->wordWrap())
                continue;
            for (const QString& linea : l->text().split('\n'))
                QVERIFY2(l->fontMetrics().horizontalAdvance(linea) <= l->contentsRect().width(), qPrintable(linea));
        }
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
