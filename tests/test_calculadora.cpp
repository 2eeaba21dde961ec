// The command-line calculator: what a laboratory script sees on its output
// and its exit status.

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCalculadora : public QObject {
    Q_OBJECT

    struct Salida {
        int estado;
        QStringList lineas;
        QString errores;
    };

    static Salida correr(const QStringList& argumentos)
    {
        QProcess p;
        p.start(QStringLiteral(VANTORA_CALC), argumentos);
        p.waitForFinished(30000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                QString::fromUtf8(p.readAllStandardError())};
    }

private slots:
    // One line per box written, in the driver's order; colours and message
    // boxes on lines of their own, line breaks escaped.
    void calculo_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("estado");
        QTest::addColumn<QStringList>("lineas");
        const QStringList lente{"--poder", "4", "--base", "6", "--borde", "1", "--indice", "1.5", "--nombre", "CR39"};
        QTest::newRow("ejemplo, espesor central tecleado despues")
            << lente + QStringList{"--diametro", "60", "--central", "3"} << 0
            << QStringList{"Text_MaterialBaseDatos: CR39", "Tx_EspesorCentral: 4.66",  "Tx_PcurvaExt: 5.736",
                           "Tx_PcurvaInt: -1.840",         "Tx_RadioIndice: -271.695", "Tx_Radio1523: -1.925",
                           "Tx_PcurvaExt: 5.736",          "Tx_PcurvaInt: -1.803",     "Tx_RadioIndice: -277.361",
                           "Tx_Radio1523: -1.886"};
        // 600 mm: the front sphere cuts it to 173.33 mm (52.75 mm thick), whose
        // back sphere of 156.958 mm radius then allows 311 mm.
        QTest::newRow("diametro recortado y limitado")
            << lente + QStringList{"--diametro", "600"} << 0
            << QStringList{"Text_MaterialBaseDatos: CR39",
                           "Tx_DiametroInicial.ForeColor: 255,0,0",
                           "Tx_DiametroInicial: 173.33",
                           "Tx_EspesorCentral: 52.75",
                           "MsgBox: Diámetro inconsistente y/o material incompatible.: Se está tratando de diseñar un "
                           "lente con un diámetro incompatible con la geometría y el material seleccionado.\\n\\rEl "
                           "Sistema Vexlor tratará de efectuar todo el proceso cálculo. Considere en modificar el "
                           "diámetro a un máximo de: 311",
                           "Tx_DiametroInicial: 311",
                           "Tx_PcurvaExt: 5.736",
                           "Tx_PcurvaInt: -3.186",
                           "Tx_RadioIndice: -156.958",
                           "Tx_Radio1523: -3.332"};
        QTest::newRow("poder cero sin base: no calcula")
            << QStringList{"--poder", "0", "--indice", "1.5"} << 1
            << QStringList{
                   "MsgBox: No es posible sugerir la Curva Base: Debe cargar un valor para el Poder de Vertice. "
                   "Normalmente es el indicado en la Rx."};
    }
    void calculo()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(int, estado);
        QFETCH(QStringList, lineas);
        const Salida s = correr(argumentos);
        QCOMPARE(s.lineas, lineas);
        QCOMPARE(s.estado, estado);
        QVERIFY(s.errores.isEmpty());
    }

    // A material named as in the list is looked up in the data folder's
    // catalogue, which the first use fills with the starter materials.
    void materialDelCatalogo()
    {
        QTemporaryDir dir;
        const QStringList lente = {"--poder", "4",       "--base", "6",       "--diametro",
                                   "60",      "--borde", "1",      "--datos", dir.path()};
        const Salida s = correr(lente + QStringList{"--material", "cr-3"});
        QCOMPARE(s.lineas, (QStringList{"Tx_EspesorCentral: 4.68", "Tx_PcurvaExt: 5.713", "Tx_PcurvaInt: -1.817",
                                        "Tx_RadioIndice: -274.081", "Tx_Radio1523: -1.908"}));
        const Salida n = correr(lente + QStringList{"--material", "100%"});
        QCOMPARE(n.estado, 0);
        QCOMPARE(n.lineas.value(0),
                 QString("MsgBox: Material no encontrado: No se encuentra el material \"100%\" en la "
                         "Base de Datos de Materiales. Se conservan el índice y la densidad del "
                         "material anterior."));
    }

    void opcionesInvalidas_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<QString>("nombra");
        QTest::newRow("sin poder") << QStringList{"--base", "6"} << "--poder";
        QTest::newRow("coma decimal") << QStringList{"--poder", "4,5"} << "--poder";
        QTest::newRow("texto") << QStringList{"--poder", "4", "--diametro", "sesenta"} << "--diametro";
        QTest::newRow("opcion desconocida") << QStringList{"--poder", "4", "--color", "rojo"} << "--color";
        QTest::newRow("falta el valor") << QStringList{"--poder"} << "--poder";
        QTest::newRow("dos materiales") << QStringList{"--poder", "4", "--material", "CR-39", "--indice", "1.5"}
                                        << "--material";
    }
    void opcionesInvalidas()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(QString, nombra);
        const Salida s = correr(argumentos);
        QCOMPARE(s.estado, 2);
        QVERIFY(s.lineas.isEmpty());
        QCOMPARE(s.errores.count('\n'), 1);
        QVERIFY2(s.errores.contains(nombra), qPrintable(s.errores));
    }
};

QTEST_APPLESS_MAIN(TestCalculadora)
#include "test_calculadora.moc"
