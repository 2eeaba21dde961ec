// The command-line drawing: what a laboratory script sees on its output, its
// exit status, the image and the job ticket it asks for, and what it refuses.

#include "apoyo/herramientas_pdf.h"
#include "apoyo/proceso.h"
#include "registro_diseno.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// The worked example as saved, in singles, in DATA.DAT; FOTOS holds it and
// the same lens at 65 mm; DANADO a record of index -4; TUBO is a pipe.
void guardarRegistros(const QTemporaryDir& dir)
{
    const std::filesystem::path carpeta = dir.path().toStdString();
    const RegistroDiseno ejemplo{5.7361377, -1.840299, 1.5, 60, 1, 4.664, 4, 1.32, "CR39"};
    std::string error;
    QVERIFY(GrabarRegistro(carpeta / "DATA.DAT", ejemplo, error));
    QVERIFY(GrabarRegistro(carpeta / "FOTOS", ejemplo, error));
    QVERIFY(GrabarRegistro(carpeta / "FOTOS", {5.736, -1.840, 1.5, 65, 1, 4.664, 4, 1.32, "CR39"}, error));
    QVERIFY(GrabarRegistro(carpeta / "DANADO", {5.736, -1.840, -4, 60, 1, 4.664, 4, 1.32, "CR39"}, error));
    QVERIFY(::mkfifo((carpeta / "TUBO").c_str(), 0666) == 0);
    std::ofstream(carpeta / "CORTO") << std::string(42, 'x');
}

} // namespace

class TestVantoraPerfil : public QObject {
    Q_OBJECT

private slots:
    // Each run asks for the picture and the ticket. A drawing (0) prints its
    // eleven lines and fills the lens; a record that cannot be drawn (1)
    // says so and gets no ticket, a damaged record or calibration in one
    // message; an option refused (2) prints nothing, says why in one error
    // line, control characters escaped, and leaves no file behind.
    void dibujo_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<QString>("monitor"); // MONITOR.DAT; none: absent
        QTest::addColumn<int>("estado");
        QTest::addColumn<QString>("primera"); // a pattern of the output's first line
        QTest::addColumn<QString>("busca"); // in the ticket, or in the one error line; none: no error line
        const auto fila = [](const char* caso, const QStringList& argumentos, const char* monitor, int estado,
                             const char* primera, const char* busca) {
            QTest::newRow(caso) << argumentos << QString(monitor) << estado << QString(primera) << QString(busca);
        };
        fila("DATA.DAT, número dado", {"--trabajo", "LAB 7/A-12"}, "", 0, "Tx_CurvaBase_Peso: 10.67",
             "Trabajo LAB 7/A-12");
        // 65 mm, so that its weight is not the first record's.
        fila("registro 2 de otro archivo, número de la fecha", {"--archivo", "FOTOS", "--registro", "2"}, "1,2,2", 0,
             "Tx_CurvaBase_Peso: 11.10", "Trabajo VT-\\d{8}-\\d{4}");
        fila("registro que no está", {"--archivo", "FOTOS", "--registro", "3"}, "", 1,
             "Print: ", "no hay lente dibujada; no se graba la imagen ni la orden de trabajo");
        fila("menos de un registro", {"--archivo", "CORTO"}, "", 1, "MsgBox: .*CORTO.* tiene 42 bytes", "");
        fila("carpeta de datos que no existe", {"--datos", "nada"}, "", 2, "",
             "la carpeta de datos \"nada\" no existe");
        fila("registro dañado", {"--archivo", "DANADO"}, "", 1,
             "MsgBox: .*registro 1 .*DANADO.*el índice del material es -4\\. ", "");
        fila("una tubería", {"--archivo", "TUBO"}, "", 1, "MsgBox: .*./TUBO.*tubería", "");
        fila("calibración de 1000 unidades por mm", {}, "1,1000,1.62", 1, "MsgBox: .*MONITOR\\.DAT no se puede usar",
             "");
        fila("número con escape", {"--trabajo", "VT\x1b]2;x\x07"}, "", 2, "",
             "«VT\\x1B]2;x\\x07» contiene el carácter de control U+001B");
    }
    void dibujo()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(QString, monitor);
        QFETCH(int, estado);
        QFETCH(QString, primera);
        QFETCH(QString, busca);
        QTemporaryDir dir;
        guardarRegistros(dir);
        QVERIFY(monitor.isEmpty() || Poner(dir.filePath("MONITOR.DAT"), monitor.toLatin1()));
        const QString imagen = dir.filePath("perfil.png");
        QVERIFY(Poner(imagen, "antes")); // the picture of an earlier run
        const QString pdf = dir.filePath("orden.pdf");
        // Started in the data folder: FOTOS and DANADO are bare names.
        const Salida s =
            Correr("/bin/sh", QStringList{"-c", "cd \"$1\" && shift && exec \"$0\" \"$@\"", VANTORA_PERFIL, dir.path(),
                                          "--datos", dir.path(), "--png", imagen, "--pdf", pdf} +
                                  argumentos);
        QCOMPARE(s.estado, estado);
        QCOMPARE(s.lineas.size(), estado == 0 ? 11 : estado == 1 ? 1 : 0);
        QVERIFY2(QRegularExpression("^" + primera).match(s.lineas.value(0)).hasMatch(), qPrintable(s.lineas.value(0)));
        // A lens filled when drawn; otherwise the earlier picture stays.
        if (estado == 0)
            QCOMPARE(QImage(imagen).pixel(278, 162), qRgb(128, 128, 255));
        else
            QCOMPARE(Leer(imagen), "antes");
        if (estado == 0) {
            QVERIFY(s.errores.isEmpty());
            const QString texto = herramientas_pdf::texto(pdf);
            QVERIFY2(texto.contains(QRegularExpression(busca)), qPrintable(texto));
        } else {
            QVERIFY2(busca.isEmpty() ? s.errores.isEmpty() : s.UnError("vantora-perfil", busca),
                     qPrintable(s.errores.join('\n')));
            QVERIFY(!QFile::exists(pdf));
        }
    }

    // Nothing but a regular file is written at an output name (the save
    // itself is tried on every kind in test_archivos): a link or a device
    // stays as it was, and the error names it.
    // "-" is the standard output; a bare name is in the working folder, and
    // a name that is not UTF-8 is used byte for byte.
    void salidas_data()
    {
        QTest::addColumn<QString>("opcion");
        QTest::addColumn<QString>("que"); // planted at the name
        QTest::addColumn<QString>("motivo"); // none: written
        const auto fila = [](const char* opcion, const char* que, const char* motivo) {
            QTest::addRow("%s: %s", opcion, que) << opcion << que << motivo;
        };
        fila("--png", "enlace", "es un enlace simbólico");
        fila("--pdf", "dispositivo", "hay un dispositivo");
        fila("--png", "-", "");
        fila("--pdf", "-", "");
        fila("--pdf", "nombre solo", "");
        fila("--png", "Latin-1", "");
    }
    void salidas()
    {
        QFETCH(QString, opcion);
        QFETCH(QString, que);
        QFETCH(QString, motivo);
        QTemporaryDir dir;
        guardarRegistros(dir);
        const QByteArray salida = QFile::encodeName(dir.path()) + (que == "Latin-1" ? "/d\xE9.x" : "/salida.x");
        const QString privado = dir.filePath("privado");
        QVERIFY(QFile(privado).open(QIODevice::WriteOnly));
        if (que == "enlace")
            QVERIFY(::symlink(privado.toLocal8Bit().constData(), salida.constData()) == 0);
        else if (que == "dispositivo" && ::mknod(salida.constData(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
            QSKIP("solo root crea un dispositivo");
        struct stat antes {};
        ::lstat(salida.constData(), &antes);
        // Through a shell, which passes a name's bytes as they are.
        const QString nombre = que == "-"             ? "-"
                               : que == "nombre solo" ? "salida.x"
                               : que == "Latin-1"     ? "\"$(printf 'd\\351.x')\""
                                                      : "\"$2\"";
        const Salida s = Correr("/bin/sh", {"-c", "cd \"$1\" && exec \"$0\" --datos . " + opcion + " " + nombre,
                                            VANTORA_PERFIL, dir.path(), dir.filePath("salida.x")});
        struct stat despues {};
        const bool hay = ::lstat(salida.constData(), &despues) == 0;
        if (motivo.isEmpty()) {
            QCOMPARE(s.estado, 0);
            if (que == "-")
                QVERIFY(s.lineas.value(0).contains(opcion == "--png" ? "PNG" : "%PDF"));
            else
                QVERIFY(hay && S_ISREG(despues.st_mode) && despues.st_size > 0);
            ::unlink(salida.constData()); // a name QTemporaryDir cannot remove
        } else {
            QCOMPARE(s.estado, 2);
            QVERIFY2(s.UnError("vantora-perfil", motivo) && s.errores[0].contains(dir.filePath("salida.x")),
                     qPrintable(s.errores.join('\n')));
            QVERIFY(hay && despues.st_mode == antes.st_mode && despues.st_rdev == antes.st_rdev);
            QCOMPARE(QFileInfo(privado).size(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestVantoraPerfil)
#include "test_vantora_perfil.moc"
