// The data folder's files against what may stand at their names: links to
// someone else's files, pipes that never deliver, folders, a full disk. A
// save must never write through them, never wait on them, and never leave a
// half-written file.

#include "archivo_temporal.h"
#include "archivos.h"
#include "archivos_diseno.h"
#include "estado_diseno.h"
#include "registro_diseno.h"
#include "ruta_legible.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

QByteArray leer(const fs::path& p)
{
    QFile f(QString::fromStdString(p.string()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no se pudo leer)");
}

void escribir(const fs::path& p, const QByteArray& bytes) { std::ofstream(p, std::ios::binary) << bytes.toStdString(); }

// Plants something at a name: "archivo" ("archivo grande": 101 bytes),
// "enlace" (to `destino`), "fifo", "carpeta"; the first word of `que` names it.
void plantar(const QString& que, const fs::path& donde, const fs::path& destino = {})
{
    const QString tipo = que.section(' ', 0, 0);
    if (tipo == "archivo")
        escribir(donde, QByteArray(que.endsWith("grande") ? 101 : 1, 'x'));
    else if (tipo == "enlace")
        QVERIFY(::symlink(destino.c_str(), donde.c_str()) == 0);
    else if (tipo == "fifo")
        QVERIFY(::mkfifo(donde.c_str(), 0666) == 0);
    else if (tipo == "carpeta")
        QVERIFY(::mkdir(donde.c_str(), 0777) == 0);
}

QStringList nombresEn(const fs::path& carpeta)
{
    return QDir(QString::fromStdString(carpeta)).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

// A regular file itself, not a link to one.
bool archivoComun(const fs::path& p) { return fs::is_regular_file(fs::symlink_status(p)); }

#define CONTIENE(texto, parte) QVERIFY2(std::string(texto).find(parte) != std::string::npos, std::string(texto).c_str())

// A user whose data folder is a tree of his own, another user's private file
// beside it, and the working folder put back however the test ends.
struct Escenario {
    QTemporaryDir dir;
    fs::path raiz = dir.path().toStdString(), datos = raiz / "win", ajeno = raiz / "privado";
    fs::path antes = fs::current_path();
    CarpetaDatos carpeta{datos};
    EstadoDiseno estado;

    Escenario()
    {
        fs::create_directory(datos);
        escribir(ajeno, "privado");
        estado.DiametroInicial = 65;
    }
    // Names that are not text are removed here: QTemporaryDir cannot.
    ~Escenario()
    {
        fs::current_path(antes);
        std::error_code ec;
        fs::remove_all(raiz, ec);
    }
};

} // namespace

class TestArchivos : public QObject {
    Q_OBJECT

private slots:
    // A pipe that blocked would hang the test for good: it fails instead.
    void init() { ::alarm(30); }
    void cleanup() { ::alarm(0); }

    // Whatever stands at a data file's name, or at the name a fixed
    // temporary would take, is never written or read through and never
    // waited on: a replacement puts a new regular file in its place, or
    // refuses a folder; an append refuses anything but a regular file; a
    // read follows a link only to a regular file, within its limit.
    void loQueHayEnElNombre_data()
    {
        QTest::addColumn<QString>("operacion");
        QTest::addColumn<QString>("que");
        QTest::addColumn<QString>("donde");
        QTest::addColumn<QString>("motivo"); // none: done
        const auto fila = [](const char* operacion, const char* que, const char* donde, const char* motivo) {
            QTest::addRow("%s: %s en %s", operacion, que, donde) << operacion << que << donde << motivo;
        };
        fila("reemplazar", "enlace", "DATA.DAT.tmp", "");
        fila("reemplazar", "enlace", "DATA.DAT", "");
        fila("reemplazar", "fifo", "DATA.DAT", "");
        fila("reemplazar", "carpeta", "DATA.DAT", "hay una carpeta con ese nombre");
        fila("agregar", "enlace", "FotoPos.DAT", "es un enlace simbólico");
        fila("agregar", "fifo", "FotoPos.DAT", "hay una tubería con nombre (FIFO)");
        fila("agregar", "carpeta", "FotoPos.DAT", "hay una carpeta");
        fila("leer", "enlace", "MONITOR.DAT", "");
        fila("leer", "", "MONITOR.DAT", ""); // nothing: missing, not refused
        fila("leer", "enlace roto", "MONITOR.DAT", "no lleva a ningún archivo");
        fila("leer", "fifo", "MONITOR.DAT", "tubería con nombre (FIFO)");
        fila("leer", "carpeta", "MONITOR.DAT", "hay una carpeta");
        fila("leer", "archivo grande", "MONITOR.DAT", "demasiado grande");
    }
    void loQueHayEnElNombre()
    {
        QFETCH(QString, operacion);
        QFETCH(QString, que);
        QFETCH(QString, donde);
        QFETCH(QString, motivo);
        Escenario e;
        const fs::path nombre = e.datos / donde.toStdString();
        plantar(que, nombre, que == "enlace roto" ? e.datos / "nada" : e.ajeno);
        std::string error, contenido;
        bool hecho = false;
        if (operacion == "reemplazar") {
            const auto falla = GuardarDatos(e.carpeta, e.estado);
            hecho = !falla;
            error = falla ? falla->motivo : "";
        } else if (operacion == "agregar") {
            hecho = GrabarRegistro(nombre, RegistroDiseno::De(e.estado), error);
        } else {
            const Lectura lectura = LeerArchivo(nombre, contenido, error, 100);
            QCOMPARE(lectura == Lectura::NoExiste, que.isEmpty());
            hecho = lectura != Lectura::Rechazado;
        }
        QCOMPARE(hecho, motivo.isEmpty());
        CONTIENE(error, motivo.toStdString());
        QCOMPARE(leer(e.ajeno), QByteArray("privado"));
        QCOMPARE(contenido, std::string(operacion == "leer" && que == "enlace" ? "privado" : ""));
        if (operacion == "reemplazar") {
            const fs::path datos = e.carpeta.Archivo(CarpetaDatos::kDatos);
            if (hecho) // a regular file of 65 mm
                QVERIFY(archivoComun(datos) && leer(datos).mid(12, 4) == QByteArray("\x00\x00\x82\x42", 4));
            QCOMPARE(nombresEn(e.datos), (QStringList{"DATA.DAT", donde}.mid(0, donde == "DATA.DAT" ? 1 : 2)));
        }
    }

    // Two temporaries beside one target at once get names of their own; the
    // one confirmed replaces the target with the permissions it had, the
    // other leaves no trace.
    void temporalesUnicos()
    {
        Escenario e;
        const fs::path destino = e.datos / "LastData.DAT";
        escribir(destino, "viejo");
        fs::permissions(destino, fs::perms(0640));
        std::string error;
        {
            ArchivoTemporal uno(destino);
            ArchivoTemporal otro(destino);
            QVERIFY(uno.Crear(error) && otro.Crear(error));
            QVERIFY(uno.nombre() != otro.nombre());
            QVERIFY(archivoComun(e.datos / uno.nombre()) && archivoComun(e.datos / otro.nombre()));
            QCOMPARE(leer(destino), QByteArray("viejo"));
            QVERIFY(uno.Escribir("nuevo", error) && uno.Confirmar(error));
        }
        QCOMPARE(nombresEn(e.datos), QStringList{"LastData.DAT"});
        QCOMPARE(leer(destino), QByteArray("nuevo"));
        QCOMPARE(int(fs::status(destino).permissions()), 0640);
    }

    // An append goes after the last record; a file cut short takes the
    // record at the nearest whole record number. One that the disk refuses
    // halfway (here the file size limit, set in a child, as a full disk
    // would) leaves the file exactly as it was: the bytes it overwrote put
    // back, its partial record cut off.
    void agregar_data()
    {
        QTest::addColumn<int>("largoPrevio");
        QTest::addColumn<int>("limite"); // of the file's size; 0: none
        QTest::addColumn<int>("largoFinal"); // 0: refused
        QTest::newRow("tras un registro: el 2") << 43 << 0 << 86;
        QTest::newRow("50 bytes: el 2") << 50 << 0 << 86;
        QTest::newRow("70 bytes: el 3") << 70 << 0 << 129;
        QTest::newRow("50 bytes, lleno a los 70: pisa 7 y se corta") << 50 << 70 << 0;
    }
    void agregar()
    {
        QFETCH(int, largoPrevio);
        QFETCH(int, limite);
        QFETCH(int, largoFinal);
        Escenario e;
        const fs::path fotos = e.carpeta.Archivo(CarpetaDatos::kFotos);
        const QByteArray previo = QByteArray("abcdefghijklmnopqrstuvwxyz").repeated(3).left(largoPrevio);
        escribir(fotos, previo);
        const pid_t hijo = ::fork();
        QVERIFY(hijo >= 0);
        if (hijo == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlim_t tope = limite ? rlim_t(limite) : RLIM_INFINITY;
            const rlimit limiteArchivo{tope, tope};
            ::setrlimit(RLIMIT_FSIZE, &limiteArchivo);
            std::string error;
            const bool grabado = GrabarRegistro(fotos, RegistroDiseno::De(e.estado), error);
            const bool esperado =
                largoFinal > 0 ? grabado : !grabado && error.find("tamaño máximo") != std::string::npos;
            ::_exit(esperado ? 0 : 1);
        }
        int estado = 0;
        QVERIFY(::waitpid(hijo, &estado, 0) == hijo && WIFEXITED(estado));
        QCOMPARE(WEXITSTATUS(estado), 0); // saved, or refused with the reason
        // 65 mm, the rest zeros, no name; a gap before it is zeros too.
        const QByteArray registro =
            QByteArray(12, '\0') + QByteArray("\x00\x00\x82\x42", 4) + QByteArray(16, '\0') + QByteArray(11, ' ');
        QCOMPARE(leer(fotos), largoFinal ? previo.leftJustified(largoFinal - 43, '\0', true) + registro : previo);
        QCOMPARE(nombresEn(e.datos), QStringList{"FotoPos.DAT"});
    }

    // A data folder that cannot be used: the reason names the part of the
    // path at fault, in Spanish, as valid text; a save made before or after
    // says so too, and nothing is ever written in the working folder.
    void carpetaDeDatos_data()
    {
        QTest::addColumn<QString>("montaje"); // what stands at KORVEN
        QTest::addColumn<QByteArray>("carpeta");
        QTest::addColumn<QString>("preparar"); // none: prepared
        QTest::addColumn<QString>("guardar");
        QTest::newRow("falta: se crea") << "" << QByteArray("KORVEN/win") << ""
                                        << "la carpeta de datos no existe (falta «";
        QTest::newRow("nombre en Latin-1: se crea") << "" << QByteArray("d\xE9x/win") << ""
                                                    << "/d\\xE9x»)";
        QTest::newRow("sin nombre") << "" << QByteArray() << "no se indicó ninguna carpeta de datos"
                                    << "no se indicó la carpeta de datos";
        QTest::newRow("sin permiso para crearla")
            << "carpeta de solo lectura" << QByteArray("KORVEN/win") << "no se pudo crear la carpeta «"
            << "no existe (falta «";
    }
    void carpetaDeDatos()
    {
        QFETCH(QString, montaje);
        QFETCH(QByteArray, carpeta);
        QFETCH(QString, preparar);
        QFETCH(QString, guardar);
        if (montaje.endsWith("solo lectura") && ::geteuid() == 0)
            QSKIP("root escribe en una carpeta sin permiso de escritura");
        Escenario e;
        plantar(montaje, e.raiz / "KORVEN");
        if (montaje.endsWith("solo lectura"))
            fs::permissions(e.raiz / "KORVEN", fs::perms(0555));
        fs::current_path(e.datos); // started somewhere else, which must stay untouched
        const CarpetaDatos datos(carpeta.isEmpty() ? fs::path() : e.raiz / carpeta.toStdString());

        const auto falla = GuardarDatos(datos, e.estado);
        QVERIFY(falla && EsUtf8(falla->Texto()));
        CONTIENE(falla->Texto(), guardar.toStdString());
        std::string error;
        QCOMPARE(datos.Preparar(error), preparar.isEmpty());
        CONTIENE(error, preparar.toStdString());
        if (preparar.isEmpty()) {
            QVERIFY(!GuardarDatos(datos, e.estado));
            QVERIFY(archivoComun(datos.Archivo(CarpetaDatos::kDatos)));
        }
        QCOMPARE(nombresEn(e.datos), QStringList());
    }

    // Well-formed UTF-8 as the Unicode standard defines it (table 3-7): the
    // only folder names the toolkit can reach. Anything else is shown byte
    // by byte, so a name is valid exactly when nothing in it is escaped.
    void utf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("legible");
        QTest::newRow("eñe") << QByteArray("/home/pe\xC3\xB1\x61") << "/home/peña";
        QTest::newRow("euro, tres bytes") << QByteArray("\xE2\x82\xAC") << "€";
        QTest::newRow("U+10FFFF, el ultimo") << QByteArray("\xF4\x8F\xBF\xBF") << QString::fromUcs4(U"\U0010FFFF");
        QTest::newRow("sobrelargo") << QByteArray("\xC0\xAF") << "\\xC0\\xAF";
        QTest::newRow("sustituto") << QByteArray("\xED\xA0\x80") << "\\xED\\xA0\\x80";
        QTest::newRow("mas alla de U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << "\\xF4\\x90\\x80\\x80";
        QTest::newRow("cortado") << QByteArray("a\xE2\x82") << "a\\xE2\\x82";
    }
    void utf8()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, legible);
        QCOMPARE(QString::fromStdString(RutaLegible(fs::path(bytes.toStdString()))), legible);
        QCOMPARE(EsUtf8(bytes.toStdString()), !legible.contains("\\x"));
    }
};

QTEST_APPLESS_MAIN(TestArchivos)
#include "test_archivos.moc"
