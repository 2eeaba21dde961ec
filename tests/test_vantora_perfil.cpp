// The command-line drawing: what a laboratory script sees on its output, its
// exit status and the image it asks for.

#include "apoyo/herramientas_pdf.h"
#include "apoyo/proceso.h"
#include "registro_diseno.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

class TestVantoraPerfil : public QObject {
    Q_OBJECT

    static Salida correr(const QStringList& argumentos) { return Correr(QStringLiteral(VANTORA_PERFIL), argumentos); }

private slots:
    void dibujo_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("estado");
        QTest::addColumn<QString>("primera");
        QTest::addColumn<int>("lineas");
        QTest::newRow("DATA.DAT") << QStringList{} << 0 << "Tx_CurvaBase_Peso: 10.67" << 11;
        QTest::newRow("registro 2 de otro archivo")
            << QStringList{"--archivo", "FOTOS", "--registro", "2"} << 0 << "Tx_CurvaBase_Peso: 11.10" << 11;
        QTest::newRow("registro que no está")
            << QStringList{"--archivo", "FOTOS", "--registro", "3"} << 1
            << "Print: Para acceder al modulo de graficos Ud. debe diseñar la lente primero" << 1;
        QTest::newRow("lente que no se puede dibujar")
            << QStringList{"--archivo", "FOTOS", "--registro", "1"} << 1
            << "MsgBox: Datos incompatibles con el proceso gráfico: La lente solicitada ha sido calculada con exito, "
               "pero no es posible utilizar el procedimiento gráfico con los datos ingresados. Por favor verifique "
               "si se trata de una lente oftálmica."
            << 1;
        QTest::newRow("registro 0") << QStringList{"--registro", "0"} << 2 << "" << 0;
        QTest::newRow("opción desconocida") << QStringList{"--color", "rojo"} << 2 << "" << 0;
        QTest::newRow("carpeta vacía") << QStringList{"--datos", ""} << 2 << "" << 0;
    }
    void dibujo()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(int, estado);
        QFETCH(QString, primera);
        QFETCH(int, lineas);
        QTemporaryDir dir;
        const std::filesystem::path carpeta = dir.path().toStdString();
        std::string error;
        QVERIFY(GuardarRegistroUnico(carpeta / "DATA.DAT", {5.736, -1.840, 1.5, 60, 1, 4.664, 4, 1.32, "CR39"}, error));
        // A lens wider than its front sphere, then the example at 65 mm.
        QVERIFY(GrabarRegistro(carpeta / "FOTOS", {5.736, -1.840, 1.5, 200, 1, 4.664, 4, 1.32, "Ancha"}, error));
        QVERIFY(GrabarRegistro(carpeta / "FOTOS", {5.736, -1.840, 1.5, 65, 1, 4.664, 4, 1.32, "CR39"}, error));
        if (argumentos.value(0) != "--datos")
            argumentos.prepend(dir.path()), argumentos.prepend("--datos");
        argumentos.replaceInStrings("FOTOS", dir.filePath("FOTOS"));
        const QString imagen = dir.filePath("perfil.png");
        const Salida s = correr(argumentos + QStringList{"--png", imagen});
        QCOMPARE(s.estado, estado);
        QCOMPARE(s.lineas.size(), lineas);
        if (lineas > 0)
            QCOMPARE(s.lineas[0], primera);
        if (estado == 2) {
            QVERIFY(s.errores.startsWith("vantora-perfil: "));
            QCOMPARE(s.errores.count('\n'), 1);
            QVERIFY(!QFile::exists(imagen));
        } else {
            QVERIFY(s.errores.isEmpty());
            const QImage png(imagen);
            QCOMPARE(png.size(), QSize(552, 325));
            QCOMPARE(png.pixel(278, 162) == qRgb(128, 128, 255), estado == 0);
        }
    }

    // The job ticket of the drawn record: numbered as asked, or from the
    // date; a number Code 128 cannot carry or a file that cannot be written
    // refused before anything is left behind.
    void orden_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("estado");
        QTest::addColumn<QString>("busca"); // in the PDF's text, or on standard error
        QTest::newRow("número dado") << QStringList{"--trabajo", "LAB 7/A-12"} << 0 << "Trabajo LAB 7/A-12";
        QTest::newRow("número de la fecha") << QStringList{} << 0 << "Trabajo VT-\\d{8}-\\d{4}";
        QTest::newRow("número con eñe") << QStringList{"--trabajo", "VT-Año"} << 2 << "«ñ» (U+00F1)";
        QTest::newRow("carpeta que no existe")
            << QStringList{"--pdf", "NO/orden.pdf"} << 2 << "no/orden.pdf: la carpeta";
        QTest::newRow("lente que no se dibuja") << QStringList{"--registro", "2"} << 1 << "no hay lente dibujada";
    }
    void orden()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(int, estado);
        QFETCH(QString, busca);
        QTemporaryDir dir;
        std::string error;
        // The worked example as saved, in singles; then a lens wider than its front sphere.
        QVERIFY(GrabarRegistro(dir.filePath("DATA.DAT").toStdString(),
                               {5.7361377, -1.840299, 1.5, 60, 1, 4.664, 4, 1.32, "CR39"}, error));
        QVERIFY(GrabarRegistro(dir.filePath("DATA.DAT").toStdString(),
                               {5.736, -1.840, 1.5, 200, 1, 4.664, 4, 1.32, "Ancha"}, error));
        const QString pdf = dir.filePath("orden.pdf");
        if (!argumentos.contains("--pdf"))
            argumentos << "--pdf" << pdf;
        argumentos.replaceInStrings("NO/", dir.filePath("no/"));
        if (!argumentos.contains("--registro"))
            argumentos << "--registro"
                       << "1";
        const Salida s = correr(QStringList{"--datos", dir.path()} + argumentos);
        QCOMPARE(s.estado, estado);
        if (estado == 0) {
            QVERIFY(s.errores.isEmpty());
            QVERIFY(s.lineas.contains("Tx_CurvaBase_Peso: 10.67"));
            const QString texto = herramientas_pdf::texto(pdf);
            QVERIFY2(texto.contains(QRegularExpression(busca)), qPrintable(texto));
            QVERIFY(texto.contains("Peso 10.67 g"));
        } else {
            QVERIFY2(s.errores.startsWith("vantora-perfil: ") && s.errores.contains(busca), qPrintable(s.errores));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"DATA.DAT"});
        }
    }
};

QTEST_GUILESS_MAIN(TestVantoraPerfil)
#include "test_vantora_perfil.moc"
