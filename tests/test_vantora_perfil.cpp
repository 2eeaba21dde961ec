// The command-line drawing: what a laboratory script sees on its output, its
// exit status, the image and the job ticket it asks for.

#include "apoyo/herramientas_pdf.h"
#include "apoyo/proceso.h"
#include "registro_diseno.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

class TestVantoraPerfil : public QObject {
    Q_OBJECT

private slots:
    // Each run asks for the picture and the ticket. A drawing (0) prints its
    // eleven lines and fills the lens; a record that cannot be drawn (1)
    // says so in one line and gets no ticket; an option refused (2) prints
    // nothing, says why in one error line and leaves no file behind.
    void dibujo_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("estado");
        QTest::addColumn<QString>("primera"); // the first line of the output
        QTest::addColumn<QString>("busca"); // in the ticket's text, or in the error line
        QTest::newRow("DATA.DAT, número dado")
            << QStringList{"--trabajo", "LAB 7/A-12"} << 0 << "Tx_CurvaBase_Peso: 10.67"
            << "Trabajo LAB 7/A-12";
        // 65 mm, so that its weight is not the first record's.
        QTest::newRow("registro 2 de otro archivo, número de la fecha")
            << QStringList{"--archivo", "FOTOS", "--registro", "2"} << 0 << "Tx_CurvaBase_Peso: 11.10"
            << "Trabajo VT-\\d{8}-\\d{4}";
        QTest::newRow("registro que no está")
            << QStringList{"--archivo", "FOTOS", "--registro", "3"} << 1
            << "Print: Para acceder al modulo de graficos Ud. debe diseñar la lente primero"
            << "--pdf: no hay lente dibujada";
        QTest::newRow("registro 0") << QStringList{"--registro", "0"} << 2 << ""
                                    << "--registro: \"0\"";
        QTest::newRow("número de trabajo con eñe") << QStringList{"--trabajo", "VT-Año"} << 2 << ""
                                                   << "«ñ» (U+00F1)";
    }
    void dibujo()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(int, estado);
        QFETCH(QString, primera);
        QFETCH(QString, busca);
        QTemporaryDir dir;
        const std::filesystem::path carpeta = dir.path().toStdString();
        std::string error;
        // The worked example as saved, in singles; then a second file with
        // it and the same lens at 65 mm.
        const RegistroDiseno ejemplo{5.7361377, -1.840299, 1.5, 60, 1, 4.664, 4, 1.32, "CR39"};
        QVERIFY(GrabarRegistro(carpeta / "DATA.DAT", ejemplo, error));
        QVERIFY(GrabarRegistro(carpeta / "FOTOS", ejemplo, error));
        QVERIFY(GrabarRegistro(carpeta / "FOTOS", {5.736, -1.840, 1.5, 65, 1, 4.664, 4, 1.32, "CR39"}, error));
        const QString imagen = dir.filePath("perfil.png");
        const QString pdf = dir.filePath("orden.pdf");
        const Salida s = Correr(VANTORA_PERFIL, QStringList{"--datos", dir.path(), "--png", imagen, "--pdf", pdf} +
                                                    argumentos.replaceInStrings("FOTOS", dir.filePath("FOTOS")));
        QCOMPARE(s.estado, estado);
        QCOMPARE(s.lineas.size(), estado == 0 ? 11 : estado == 1 ? 1 : 0);
        QCOMPARE(s.lineas.value(0), primera);
        if (estado == 2) {
            QVERIFY(!QFile::exists(imagen));
        } else {
            const QImage png(imagen);
            QCOMPARE(png.size(), QSize(552, 325));
            QCOMPARE(png.pixel(278, 162) == qRgb(128, 128, 255), estado == 0); // the lens filled
        }
        if (estado == 0) {
            QVERIFY(s.errores.isEmpty());
            const QString texto = herramientas_pdf::texto(pdf);
            QVERIFY2(texto.contains(QRegularExpression(busca)), qPrintable(texto));
        } else {
            QVERIFY2(s.UnError("vantora-perfil", busca), qPrintable(s.errores.join('\n')));
            QVERIFY(!QFile::exists(pdf));
        }
    }

    // A ticket that cannot be written is reported naming the file, and no
    // part of it is left anywhere.
    void ordenQueNoSePuedeGrabar()
    {
        QTemporaryDir dir;
        std::string error;
        QVERIFY(GrabarRegistro(std::filesystem::path(dir.path().toStdString()) / "DATA.DAT",
                               {5.736, -1.840, 1.5, 60, 1, 4.664, 4, 1.32, "CR39"}, error));
        const QString pdf = dir.filePath("falta/orden.pdf");
        const Salida s = Correr(VANTORA_PERFIL, {"--datos", dir.path(), "--pdf", pdf});
        QCOMPARE(s.estado, 2);
        QVERIFY2(s.UnError("vantora-perfil", pdf), qPrintable(s.errores.join('\n')));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"DATA.DAT"});
    }
};

QTEST_GUILESS_MAIN(TestVantoraPerfil)
#include "test_vantora_perfil.moc"
