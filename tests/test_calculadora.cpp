// The command-line calculator: what a laboratory script sees on its output
// and its exit status.

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Salida {
    int estado;
    QStringList lineas;
    QString errores;
};

Salida correr(const QStringList& argumentos)
{
    QProcess p;
    p.start(QStringLiteral(VANTORA_CALC), argumentos);
    p.waitForFinished(30000);
    Salida s;
    s.estado = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.lineas = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    s.errores = QString::fromUtf8(p.readAllStandardError());
    return s;
}

const QStringList kEjemplo = {"--poder", "4", "--diametro", "60", "--borde", "1", "--indice", "1.5",
                              "--densidad", "1.32", "--nombre", "CR39"};

} // namespace

class TestCalculadora : public QObject {
    Q_OBJECT

private slots:
    void calculo_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("estado");
        QTest::addColumn<QStringList>("lineas");
        QTest::newRow("ejemplo con base 6")
            << (kEjemplo + QStringList{"--base", "6"}) << 0
            << QStringList{"Text_MaterialBaseDatos: CR39", "Tx_EspesorCentral: 4.66", "Tx_PcurvaExt: 5.736",
                           "Tx_PcurvaInt: -1.840", "Tx_RadioIndice: -271.695", "Tx_Radio1523: -1.925"};
        QTest::newRow("base sugerida")
            << kEjemplo << 0
            << QStringList{"Text_MaterialBaseDatos: CR39", "Tx_BaseCrown: 5",
                           "SalidaTxt: El Sistema Vexlor ha sugerido la Base externa de la lente porque el "
                           "usuario no ha seleccionado una.",
                           "Tx_EspesorCentral: 4.63", "Tx_PcurvaExt: 4.780", "Tx_PcurvaInt: -0.852",
                           "Tx_RadioIndice: -587.089", "Tx_Radio1523: -0.891"};
        QTest::newRow("diametro recortado en rojo")
            << (kEjemplo + QStringList{"--base", "6", "--diametro", "174.34"}) << 0
            << QStringList{"Text_MaterialBaseDatos: CR39", "Tx_DiametroInicial.ForeColor: 255,0,0",
                           "Tx_DiametroInicial: 173.33", "Tx_EspesorCentral: 52.75", "Tx_PcurvaExt: 5.736",
                           "Tx_PcurvaInt: -3.186", "Tx_RadioIndice: -156.958", "Tx_Radio1523: -3.332"};
        QTest::newRow("espesor central tecleado")
            << (kEjemplo + QStringList{"--base", "6", "--central", "3"}) << 0
            << QStringList{"Text_MaterialBaseDatos: CR39", "Tx_EspesorCentral: 4.66", "Tx_PcurvaExt: 5.736",
                           "Tx_PcurvaInt: -1.840", "Tx_RadioIndice: -271.695", "Tx_Radio1523: -1.925",
                           "Tx_PcurvaExt: 5.736", "Tx_PcurvaInt: -1.803", "Tx_RadioIndice: -277.361",
                           "Tx_Radio1523: -1.886"};
        QTest::newRow("poder cero sin base: no calcula")
            << QStringList{"--poder", "0", "--indice", "1.5"} << 1
            << QStringList{"MsgBox: No es posible sugerir la Curva Base: Debe cargar un valor para el Poder "
                           "de Vertice. Normalmente es el indicado en la Rx."};
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

    void recuperacionYMensajes()
    {
        // 600 mm: the front sphere cuts the lens to 173.33 mm (52.75 mm thick), whose
        // back sphere of 156.958 mm radius then allows 311 mm.
        const Salida s = correr(kEjemplo + QStringList{"--base", "6", "--diametro", "600"});
        QCOMPARE(s.estado, 0);
        QVERIFY(s.lineas.contains(
            "MsgBox: Diámetro inconsistente y/o material incompatible.: Se está tratando de diseñar un lente "
            "con un diámetro incompatible con la geometría y el material seleccionado.\\n\\rEl Sistema Vexlor "
            "tratará de efectuar todo el proceso cálculo. Considere en modificar el diámetro a un máximo de: 311"));
        QVERIFY(s.lineas.contains("Tx_DiametroInicial: 311"));

        const Salida r = correr({"--poder", "4", "--base", "0", "--diametro", "60", "--borde", "1"});
        QCOMPARE(r.estado, 0);
        QCOMPARE(r.lineas.filter("MsgBox: Datos de entrada erroneos.: ").size(), 2);
        QVERIFY(r.lineas.contains("Tx_EspesorCentral: 5.91"));
    }

    // A material named as in the list is looked up in the data folder's
    // catalogue, which the first use fills with the starter materials.
    void materialDelCatalogo()
    {
        QTemporaryDir dir;
        const QStringList lente = {"--poder", "4", "--base", "6", "--diametro", "60", "--borde", "1", "--datos", dir.path()};
        const Salida s = correr(lente + QStringList{"--material", "cr-3"});
        QCOMPARE(s.estado, 0);
        QCOMPARE(s.lineas, (QStringList{"Tx_EspesorCentral: 4.68", "Tx_PcurvaExt: 5.713", "Tx_PcurvaInt: -1.817",
                                        "Tx_RadioIndice: -274.081", "Tx_Radio1523: -1.908"}));
        const Salida n = correr(lente + QStringList{"--material", "100%"});
        QCOMPARE(n.estado, 0);
        QCOMPARE(n.lineas.value(0), QString("MsgBox: Material no encontrado: No se encuentra el material \"100%\" en la "
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
        QTest::newRow("exponente") << QStringList{"--poder", "1e5"} << "--poder";
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
