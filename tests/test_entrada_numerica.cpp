// Reading numbers out of boxes, showing them, and the character check of the
// numeric boxes.

#include "apoyo/dialogos_prueba.h"
#include "formatos.h"
#include "redondeo.h"
#include "validar_numero.h"

#include <QtTest>

class TestEntradaNumerica : public QObject {
    Q_OBJECT

private slots:
    // The number at the start of the box, up to the first character that
    // cannot continue it; no number at all reads as 0. The power box shows it
    // with a sign and two decimals.
    void leerNumero_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("poder");
        QTest::newRow("dos puntos") << "1.2.3" << 1.2 << "+1.20";
        QTest::newRow("menos punto") << "-.5" << -0.5 << "-0.50";
        QTest::newRow("sin exponente") << "1e5" << 1.0 << "+1.00";
        QTest::newRow("blancos delante") << "  2.5" << 2.5 << "+2.50";
        QTest::newRow("negativo que redondea a cero") << "-0.001" << -0.001 << "+0.00";
        QTest::newRow("vacio") << "" << 0.0 << "+0.00";
        QTest::newRow("mas alla de un double") << "1" + QString(400, '0') << 0.0 << "+0.00";
    }
    void leerNumero()
    {
        QFETCH(QString, texto);
        QFETCH(double, valor);
        QFETCH(QString, poder);
        QCOMPARE(LeerNumero(texto.toStdString()), valor);
        QCOMPARE(QString::fromStdString(FormatearPoder(texto.toStdString())), poder);
    }

    // The plain text of a value (15 significant digits), three decimals, two
    // decimals with thousands, and the laboratory's rounding to two and one
    // decimals; halves go away from zero on the decimal digits, not on the
    // binary value.
    void formatos_data()
    {
        QTest::addColumn<double>("valor");
        QTest::addColumn<QStringList>("textos"); // plain, three decimals, thousands, Redondear2, Redondear1
        QTest::newRow("radio negativo") << -271.69442469787754
                                        << QStringList{"-271.694424697878", "-271.694", "-271.69", "-271.69", "-271.7"};
        QTest::newRow("media de la tercera cifra") << 2.0005 << QStringList{"2.0005", "2.001", "2.00", "2", "2"};
        QTest::newRow("media negativa") << -1.0625 << QStringList{"-1.0625", "-1.063", "-1.06", "-1.06", "-1.1"};
        QTest::newRow("medias de dos y un decimal") << 1.125 << QStringList{"1.125", "1.125", "1.13", "1.13", "1.1"};
        QTest::newRow("media negativa de dos decimales")
            << -0.005 << QStringList{"-0.005", "-0.005", "-0.01", "-0.01", "0"};
        QTest::newRow("redondea a cero sin signo") << -0.0001 << QStringList{"-0.0001", "0.000", "0.00", "0", "0"};
        QTest::newRow("acarreo y miles") << 999.9996 << QStringList{"999.9996", "1000.000", "1,000.00", "1000", "1000"};
        QTest::newRow("diminuto") << 1.5e-7 << QStringList{"1.5E-07", "0.000", "0.00", "0", "0"};
    }
    void formatos()
    {
        QFETCH(double, valor);
        QFETCH(QStringList, textos);
        const QStringList obtenidos{QString::fromStdString(TextoPlano(valor)), QString::fromStdString(Formato3(valor)),
                                    QString::fromStdString(FormatoMiles(valor)), QString::number(Redondear2(valor)),
                                    QString::number(Redondear1(valor))};
        QCOMPARE(obtenidos, textos);
        // An empty state shows an empty box; a zero shows "0".
        QCOMPARE(TextoPlano(Numero()), std::string());
        QCOMPARE(TextoPlano(Numero(0.0)), std::string("0"));
    }

    // Digits, point and signs pass; the first other character is named in the
    // rejection, whole even when UTF-8 takes it several bytes, and a comma
    // is first explained as a decimal separator.
    void validarNumero_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("caracter"); // the one named by the rejection; empty when accepted
        QTest::newRow("decimal con signos") << "+12.5-" << QString();
        QTest::newRow("coma") << "12,5" << QString(",");
        QTest::newRow("barra, antes del 0") << "3/4" << QString("/");
        QTest::newRow("dos puntos, despues del 9") << "2:5" << QString(":");
        QTest::newRow("eñe") << "ñ" << QString("ñ");
        QTest::newRow("solo el primero") << "5x," << QString("x");
    }
    void validarNumero()
    {
        QFETCH(QString, texto);
        QFETCH(QString, caracter);
        DialogosPrueba dlg;
        std::string t = texto.toStdString();
        std::string veredicto = "SI"; // an earlier rejection must not linger
        int marca = 0;
        ValidarNumero(dlg, t, veredicto, marca);
        QCOMPARE(veredicto, std::string(caracter.isEmpty() ? "NO" : "SI"));
        QVERIFY(t.empty());
        QCOMPARE(marca, 1);
        QCOMPARE(dlg.cajas.size(), size_t(caracter.isEmpty() ? 0 : caracter == "," ? 2 : 1));
        const QString aviso = dlg.cajas.empty() ? "" : QString::fromStdString(dlg.cajas.back().texto);
        QVERIFY2(caracter.isEmpty() || aviso.contains("incorrecto: " + caracter + "\r\n"), qPrintable(aviso));
    }
};

QTEST_APPLESS_MAIN(TestEntradaNumerica)
#include "test_entrada_numerica.moc"
