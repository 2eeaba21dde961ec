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
        QStringList errores;
    };

    static Salida esperar(QProcess& p)
    {
        p.waitForFinished(30000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                QString::fromUtf8(p.readAllStandardError()).split('\n', Qt::SkipEmptyParts)};
    }

    static Salida correr(const QStringList& argumentos)
    {
        QProcess p;
        p.start(QStringLiteral(VANTORA_CALC), argumentos);
        return esperar(p);
    }

    // Arguments and environment that are not text (a folder named in
    // Latin-1) cannot pass through QString: the shell builds them.
    static Salida correrEnShell(const QString& orden)
    {
        QProcess p;
        p.start(QStringLiteral("/bin/sh"), {"-c", orden, QStringLiteral(VANTORA_CALC)});
        return esperar(p);
    }

    static const QStringList& lente()
    {
        static const QStringList l{"--poder", "4", "--base", "6", "--borde", "1"};
        return l;
    }

private slots:
    // One line per box written, in the driver's order; colours and message
    // boxes on lines of their own, line breaks escaped; the recalculation of
    // --central after them. 600 mm: the front sphere cuts it to 173.33 mm
    // (52.75 mm thick), whose back sphere of 156.958 mm radius then allows
    // 311 mm; at 3 mm the back face is 5.736 - 5.736 / (1 - 0.003 / 1.5 *
    // 5.736) = -1.803 D.
    void salida()
    {
        const Salida s =
            correr(lente() + QStringList{"--indice", "1.5", "--nombre", "CR39", "--diametro", "600", "--central", "3"});
        QCOMPARE(
            s.lineas,
            (QStringList{"Text_MaterialBaseDatos: CR39", "Tx_DiametroInicial.ForeColor: 255,0,0",
                         "Tx_DiametroInicial: 173.33", "Tx_EspesorCentral: 52.75",
                         "MsgBox: Diámetro inconsistente y/o material incompatible.: Se está tratando de diseñar un "
                         "lente con un diámetro incompatible con la geometría y el material seleccionado.\\n\\rEl "
                         "Sistema Vexlor tratará de efectuar todo el proceso cálculo. Considere en modificar el "
                         "diámetro a un máximo de: 311",
                         "Tx_DiametroInicial: 311", "Tx_PcurvaExt: 5.736", "Tx_PcurvaInt: -3.186",
                         "Tx_RadioIndice: -156.958", "Tx_Radio1523: -3.332", "Tx_PcurvaExt: 5.736",
                         "Tx_PcurvaInt: -1.803", "Tx_RadioIndice: -277.361", "Tx_Radio1523: -1.886"}));
        QCOMPARE(s.estado, 0);
        QVERIFY(s.errores.isEmpty());
    }

    // A script tells a design (0) from a calculation that could not start
    // (1) and from results that are no design of its values (3), which also
    // say why in one line on the error output.
    void estados_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("estado");
        QTest::addColumn<QString>("salida");
        QTest::addColumn<QString>("error");
        const QStringList d60{"--diametro", "60"};
        // CR-3 of the starter catalogue, n 1.499: 5.713 D in front.
        QTest::newRow("material del catalogo")
            << lente() + d60 + QStringList{"--material", "cr-3"} << 0 << "Tx_PcurvaExt: 5.713"
            << "";
        QTest::newRow("sin base que sugerir: no calcula")
            << QStringList{"--poder", "4", "--indice", "0"} + d60 << 1
            << "MsgBox: No es posible sugerir la Curva Base: Con el Poder de Vertice, el Diámetro y el material "
               "ingresados no es posible sugerir una Curva Base. Ingrese la Curva Base de la lente o revise los datos."
            << "";
        QTest::newRow("indice cero: lente de muestra")
            << lente() + d60 + QStringList{"--indice", "0"} << 3 << "MsgBox: Datos de entrada erroneos.: "
            << "lente de muestra";
        // The recalculation starts clean; the sample lens stays a sample.
        QTest::newRow("muestra y luego --central") << lente() + d60 + QStringList{"--indice", "0", "--central", "3"}
                                                   << 3 << "MsgBox: Datos de entrada erroneos.: "
                                                   << "lente de muestra";
        QTest::newRow("material no encontrado")
            << lente() + d60 + QStringList{"--material", "100%"} << 3
            << "MsgBox: Material no encontrado: No se encuentra el material \"100%\" en la Base de Datos de "
               "Materiales. Se conservan el índice y la densidad del material anterior."
            << "no se calculó ninguna lente";
    }
    void estados()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(int, estado);
        QFETCH(QString, salida);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const Salida s = correr(argumentos + QStringList{"--datos", dir.path()});
        QCOMPARE(s.estado, estado);
        QVERIFY2(std::any_of(s.lineas.begin(), s.lineas.end(), [&](const QString& l) { return l.startsWith(salida); }),
                 qPrintable(s.lineas.join('\n')));
        QCOMPARE(s.errores.size(), error.isEmpty() ? 0 : 1);
        QVERIFY2(s.errores.join("").contains(error), qPrintable(s.errores.join("")));
    }

    // A bad option or value, or one the design window's boxes would hold the
    // optician on: status 2, nothing calculated, one line naming the option.
    void valoresInvalidos_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<QString>("dice");
        QTest::newRow("sin poder") << QStringList{"--base", "6"} << "falta --poder";
        QTest::newRow("coma decimal") << QStringList{"--poder", "4,5"} << "--poder: \"4,5\" no es un número";
        QTest::newRow("exponente") << QStringList{"--poder", "4", "--borde", "1e3"} << "--borde: \"1e3\" no es";
        QTest::newRow("texto") << QStringList{"--poder", "4", "--diametro", "sesenta"} << "--diametro: \"sesenta\"";
        QTest::newRow("borde de 401 cifras") << QStringList{"--poder", "4", "--borde", QString(401, '1')}
                                             << "--borde: \"" + QString(401, '1') + "\" está fuera del rango";
        QTest::newRow("demasiado cerca de cero")
            << QStringList{"--poder", "4", "--central", "0." + QString(400, '0') + "1"}
            << "--central: \"0." + QString(400, '0') + "1\" está fuera del rango";
        QTest::newRow("opcion desconocida")
            << QStringList{"--poder", "4", "--color", "rojo"} << "opción desconocida: --color";
        QTest::newRow("falta el valor") << QStringList{"--poder"} << "--poder: falta el valor";
        QTest::newRow("dos materiales") << QStringList{"--poder", "4", "--material", "CR-39", "--indice", "1.5"}
                                        << "--material no se combina";
        QTest::newRow("carpeta sin nombre") << QStringList{"--poder", "4", "--datos", ""} << "--datos: falta el nombre";
        QTest::newRow("poder negativo") << QStringList{"--poder", "-0.25"}
                                        << "--poder: Está por calcular una lente drovena. Para ello utilice el módulo "
                                           "de calculo adecuado o cambie el valor ingresado.";
        QTest::newRow("poder cero") << QStringList{"--poder", "0", "--base", "6"}
                                    << "--poder: Debe cargar un valor para el Poder de Vertice.";
        QTest::newRow("diametro cero") << QStringList{"--poder", "4", "--diametro", "0"}
                                       << "--diametro: Atención: El diámetro no puede ser cero.";
        QTest::newRow("diametro negativo")
            << QStringList{"--poder", "4", "--diametro", "-60"} << "--diametro: el diámetro no puede ser negativo";
        QTest::newRow("borde negativo") << QStringList{"--poder", "4", "--borde", "-1"}
                                        << "--borde: el espesor de borde no puede ser negativo";
        QTest::newRow("central cero") << QStringList{"--poder", "4", "--central", "0"}
                                      << "--central: Atención: El espesor de centro no puede ser cero.";
        QTest::newRow("material vacio") << QStringList{"--poder", "4", "--material", ""}
                                        << "--material: Seleccione un material de la lista";
    }
    void valoresInvalidos()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(QString, dice);
        const Salida s = correr(argumentos);
        QCOMPARE(s.estado, 2);
        QVERIFY(s.lineas.isEmpty());
        QCOMPARE(s.errores.size(), 1);
        QVERIFY2(s.errores[0].startsWith("vantora-calc: " + dice), qPrintable(s.errores[0]));
    }

    // Folder names are bytes, not text: one that is not UTF-8 never stops a
    // calculation that needs no file, and a folder that cannot be used for
    // the catalogue ends in one line and status 2.
    void carpetas_data()
    {
        QTest::addColumn<QString>("orden");
        QTest::addColumn<int>("estado");
        QTest::addColumn<QString>("error");
        const QString calculo = "\"$0\" --poder 4 --base 6 --diametro 60 --borde 1";
        QTest::newRow("--datos en Latin-1, sin catalogo")
            << calculo + " --indice 1.5 --datos \"$D/d$(printf '\\351')x\"" << 0 << "";
        QTest::newRow("HOME en Latin-1, sin catalogo")
            << "HOME=\"$D/d$(printf '\\351')x\" " + calculo + " --indice 1.5" << 0 << "";
        QTest::newRow("--datos en Latin-1, con catalogo")
            << calculo + " --material CR-39 --datos \"$D/d$(printf '\\351')x\"" << 2 << "d\\xE9x\": su nombre no es";
        QTest::newRow("un archivo en lugar de la carpeta")
            << "touch \"$D/KORVEN\" && " + calculo + " --material CR-39 --datos \"$D/KORVEN/win\"" << 2
            << "/KORVEN» es un archivo, no una carpeta";
    }
    void carpetas()
    {
        QFETCH(QString, orden);
        QFETCH(int, estado);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const Salida s = correrEnShell("D='" + dir.path() + "'; " + orden);
        QCOMPARE(s.estado, estado);
        QCOMPARE(s.errores.size(), error.isEmpty() ? 0 : 1);
        QVERIFY2(s.errores.join("").contains(error), qPrintable(s.errores.join("")));
        if (estado == 0) {
            QCOMPARE(s.lineas.value(2), QString("Tx_PcurvaExt: 5.736"));
            // Nothing was written: the calculation touches no file.
            QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        }
    }
};

QTEST_APPLESS_MAIN(TestCalculadora)
#include "test_calculadora.moc"
