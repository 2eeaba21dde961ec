// Reading numbers out of boxes, showing them, and the character check of the
// numeric boxes.

#include "apoyo/dialogos_prueba.h"
#include "formatos.h"
#include "validar_numero.h"

#include <QtTest>

class TestEntradaNumerica : public QObject {
    Q_OBJECT

private slots:
    void leerNumero_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<double>("valor");
        QTest::newRow("decimal") << "12.5" << 12.5;
        QTest::newRow("dos puntos") << "1.2.3" << 1.2;
        QTest::newRow("signo en medio") << "1-2" << 1.0;
        QTest::newRow("menos punto") << "-.5" << -0.5;
        QTest::newRow("punto final") << "5." << 5.0;
        QTest::newRow("signos solos") << "+-" << 0.0;
        QTest::newRow("vacio") << "" << 0.0;
        QTest::newRow("cara plana") << " Cara Plana" << 0.0;
        QTest::newRow("coma corta el numero") << "12,5" << 12.0;
        QTest::newRow("sin exponente") << "1e5" << 1.0;
        QTest::newRow("mas alla de un double") << ("1" + QString(400, '0')) << 0.0;
    }
    void leerNumero()
    {
        QFETCH(QString, texto);
        QFETCH(double, valor);
        QCOMPARE(LeerNumero(texto.toStdString()), valor);
    }

    void formatos_data()
    {
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("plano");
        QTest::addColumn<QString>("tres");
        QTest::addColumn<QString>("miles");
        QTest::newRow("entero") << 4.0 << "4"
                                << "4.000"
                                << "4.00";
        QTest::newRow("medio") << 3.5 << "3.5"
                               << "3.500"
                               << "3.50";
        QTest::newRow("radio negativo") << -271.69442469787754 << "-271.694424697878"
                                        << "-271.694"
                                        << "-271.69";
        QTest::newRow("media de la tercera cifra") << 2.0005 << "2.0005"
                                                   << "2.001"
                                                   << "2.00";
        QTest::newRow("media negativa") << -1.0625 << "-1.0625"
                                        << "-1.063"
                                        << "-1.06";
        QTest::newRow("redondea a cero sin signo") << -0.0001 << "-0.0001"
                                                   << "0.000"
                                                   << "0.00";
        QTest::newRow("miles") << 1234.5 << "1234.5"
                               << "1234.500"
                               << "1,234.50";
        QTest::newRow("acarreo") << 999.9996 << "999.9996"
                                 << "1000.000"
                                 << "1,000.00";
        QTest::newRow("suma binaria") << 0.1 + 0.2 << "0.3"
                                      << "0.300"
                                      << "0.30";
        QTest::newRow("diminuto") << 1.5e-7 << "1.5E-07"
                                  << "0.000"
                                  << "0.00";
    }
    void formatos()
    {
        QFETCH(double, valor);
        QFETCH(QString, plano);
        QFETCH(QString, tres);
        QFETCH(QString, miles);
        QCOMPARE(QString::fromStdString(TextoPlano(valor)), plano);
        QCOMPARE(QString::fromStdString(Formato3(valor)), tres);
        QCOMPARE(QString::fromStdString(FormatoMiles(valor)), miles);
    }

    void textoPlano_sinDefinir()
    {
        QCOMPARE(TextoPlano(Numero()), std::string());
        QCOMPARE(TextoPlano(Numero(0.0)), std::string("0"));
    }

    void formatearPoder_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("poder");
        QTest::newRow("positivo") << "2.5"
                                  << "+2.50";
        QTest::newRow("cero") << "0"
                              << "+0.00";
        QTest::newRow("negativo") << "-1.25"
                                  << "-1.25";
        QTest::newRow("media") << "1.125"
                               << "+1.13";
        QTest::newRow("negativo que redondea a cero") << "-0.001"
                                                      << "+0.00";
        QTest::newRow("vacio") << ""
                               << "+0.00";
    }
    void formatearPoder()
    {
        QFETCH(QString, texto);
        QFETCH(QString, poder);
        QCOMPARE(QString::fromStdString(FormatearPoder(texto.toStdString())), poder);
    }

    void validarNumero_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("veredicto");
        QTest::addColumn<QString>("caracter"); // the one named by the rejection; empty when none
        QTest::addColumn<bool>("coma");
        QTest::newRow("decimal") << "12.5"
                                 << "NO"
                                 << "" << false;
        QTest::newRow("coma") << "12,5"
                              << "SI"
                              << "," << true;
        QTest::newRow("blanco") << "1 5"
                                << "SI"
                                << " " << false;
        QTest::newRow("barra") << "3/4"
                               << "SI"
                               << "/" << false;
        QTest::newRow("exponente") << "1e5"
                                   << "SI"
                                   << "e" << false;
        QTest::newRow("eñe") << "ñ"
                             << "SI"
                             << "ñ" << false;
        QTest::newRow("solo el primero") << "5x,"
                                         << "SI"
                                         << "x" << false;
        QTest::newRow("negativo") << "-2.25"
                                  << "NO"
                                  << "" << false;
        QTest::newRow("signos") << "+-"
                                << "NO"
                                << "" << false;
        QTest::newRow("punto solo") << "."
                                    << "NO"
                                    << "" << false;
        QTest::newRow("vacio") << ""
                               << "NO"
                               << "" << false;
        QTest::newRow("dos puntos") << "2:5"
                                    << "SI"
                                    << ":" << false;
    }
    void validarNumero()
    {
        QFETCH(QString, texto);
        QFETCH(QString, veredicto);
        QFETCH(QString, caracter);
        QFETCH(bool, coma);
        DialogosPrueba dlg;
        std::string t = texto.toStdString();
        std::string veredictoObtenido = "SI"; // an earlier rejection must not linger
        int marca = 0;
        ValidarNumero(dlg, t, veredictoObtenido, marca);
        QCOMPARE(QString::fromStdString(veredictoObtenido), veredicto);
        QVERIFY(t.empty());
        QCOMPARE(marca, 1);
        QCOMPARE(dlg.cajas.size(), size_t(caracter.isEmpty() ? 0 : coma ? 2 : 1));
        if (coma) {
            QCOMPARE(dlg.cajas[0].titulo, std::string("Coma como separador decimal"));
            QCOMPARE(dlg.cajas[0].texto,
                     std::string("Ingrese . (punto) como único separador decimal válido para el ingreso de "
                                 "datos.\nIndependientemente de la configuración regional seleccionada."));
            QCOMPARE(dlg.cajas[0].icono, Icono::Critico);
        }
        if (!caracter.isEmpty()) {
            const DialogosPrueba::Caja& c = dlg.cajas.back();
            QCOMPARE(c.titulo, std::string("ERROR EN VARIABLE NUMERICA"));
            QCOMPARE(QString::fromStdString(c.texto),
                     "La cantidad ingresada: " + texto +
                         "\r\nno es un numero que VEXLOR pueda procesar\r\nreemplace el 1er. caracter "
                         "incorrecto: " +
                         caracter + "\r\ne ingrese nuevamente el valor del dato.");
            QCOMPARE(c.icono, Icono::Critico);
            QCOMPARE(c.botones, Botones::Aceptar);
        }
    }
};

QTEST_APPLESS_MAIN(TestEntradaNumerica)
#include "test_entrada_numerica.moc"
