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

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
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

void escribir(const fs::path& p, const QByteArray& bytes)
{
    QFile f(QString::fromStdString(p.string()));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Plants something at a name: "enlace" (to `destino`), "fifo", "carpeta".
void plantar(const QString& que, const fs::path& donde, const fs::path& destino = {})
{
    if (que == "enlace")
        QVERIFY(::symlink(destino.c_str(), donde.c_str()) == 0);
    else if (que == "fifo")
        QVERIFY(::mkfifo(donde.c_str(), 0666) == 0);
    else if (que == "carpeta")
        QVERIFY(::mkdir(donde.c_str(), 0777) == 0);
}

QStringList nombresEn(const fs::path& carpeta)
{
    QStringList nombres;
    for (const auto& e : fs::directory_iterator(carpeta))
        nombres << QString::fromStdString(e.path().filename().string());
    nombres.sort();
    return nombres;
}

bool archivoComun(const fs::path& p)
{
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A scratch folder removed whole afterwards, names that are not text
// included, and the working folder put back whatever way the test ends.
struct Raiz {
    QTemporaryDir dir;
    fs::path ruta = dir.path().toStdString();
    fs::path antes = fs::current_path();

    ~Raiz()
    {
        fs::current_path(antes);
        std::error_code ec;
        fs::remove_all(ruta, ec);
    }
};

// A user whose data folder is a tree of his own, and another user's private
// file beside it.
struct Escenario {
    QTemporaryDir dir;
    fs::path datos = fs::path(dir.path().toStdString()) / "win";
    fs::path ajeno = fs::path(dir.path().toStdString()) / "privado";
    CarpetaDatos carpeta{datos};
    EstadoDiseno estado;

    Escenario()
    {
        fs::create_directory(datos);
        escribir(ajeno, "privado");
        estado.DiametroInicial = 65;
        estado.NombreMaterial = "ABCD";
    }
};

} // namespace

class TestArchivos : public QObject {
    Q_OBJECT

private slots:
    // A pipe that blocked would hang the test for good: it fails instead.
    void init() { ::alarm(30); }
    void cleanup() { ::alarm(0); }

    // Whatever was planted beside DATA.DAT or at its own name, the save
    // writes a new regular file and touches nothing else.
    void reemplazoSinSeguirNada_data()
    {
        QTest::addColumn<QString>("que");
        QTest::addColumn<QString>("donde");
        for (const char* donde : {"DATA.DAT.nuevo", "DATA.DAT.tmp", "DATA.DAT"})
            for (const char* que : {"enlace", "fifo", "carpeta"}) {
                if (QString(donde) == "DATA.DAT" && QString(que) == "carpeta")
                    continue; // refused: see carpetaEnElNombreFinal
                QTest::addRow("%s en %s", que, donde) << que << donde;
            }
    }
    void reemplazoSinSeguirNada()
    {
        QFETCH(QString, que);
        QFETCH(QString, donde);
        Escenario e;
        plantar(que, e.datos / donde.toStdString(), e.ajeno);
        QVERIFY(!GuardarDatos(e.carpeta, e.estado));
        QCOMPARE(leer(e.ajeno), QByteArray("privado"));
        const fs::path datos = e.carpeta.Archivo(CarpetaDatos::kDatos);
        QVERIFY(archivoComun(datos));
        QCOMPARE(leer(datos).mid(12, 4), QByteArray("\x00\x00\x82\x42", 4)); // 65 mm
        QStringList quedan{"DATA.DAT"};
        if (donde != "DATA.DAT")
            quedan << donde;
        QCOMPARE(nombresEn(e.datos), quedan);
    }

    void carpetaEnElNombreFinal()
    {
        Escenario e;
        const fs::path datos = e.carpeta.Archivo(CarpetaDatos::kDatos);
        fs::create_directory(datos);
        const auto falla = GuardarDatos(e.carpeta, e.estado);
        QVERIFY(falla);
        QVERIFY2(falla->motivo.find("hay una carpeta con ese nombre") != std::string::npos, falla->motivo.c_str());
        QVERIFY(fs::is_directory(datos));
        QCOMPARE(nombresEn(e.datos), QStringList{"DATA.DAT"});
    }

    // Two temporaries beside one target at once get names of their own; the
    // one confirmed replaces the target with the permissions it had, the
    // other leaves no trace.
    void temporalesUnicos()
    {
        Escenario e;
        const fs::path destino = e.datos / "LastData.DAT";
        escribir(destino, "viejo");
        QVERIFY(::chmod(destino.c_str(), 0640) == 0);
        std::string error;
        {
            ArchivoTemporal uno(destino);
            ArchivoTemporal otro(destino);
            QVERIFY(uno.Crear(error));
            QVERIFY(otro.Crear(error));
            QVERIFY(uno.nombre() != otro.nombre());
            QVERIFY(archivoComun(e.datos / uno.nombre()));
            QVERIFY(archivoComun(e.datos / otro.nombre()));
            QCOMPARE(leer(destino), QByteArray("viejo"));
            QVERIFY(uno.Escribir("nuevo", error));
            QVERIFY(uno.Confirmar(error));
        }
        QCOMPARE(nombresEn(e.datos), QStringList{"LastData.DAT"});
        QCOMPARE(leer(destino), QByteArray("nuevo"));
        struct stat st {};
        QVERIFY(::stat(destino.c_str(), &st) == 0);
        QCOMPARE(st.st_mode & 0777, 0640u);
    }

    // The snapshot file is appended in place, so whatever is not a regular
    // file at its name is refused at once, with the reason.
    void agregarRechazado_data()
    {
        QTest::addColumn<QString>("que");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("enlace a un archivo ajeno") << "enlace"
                                                   << "es un enlace simbólico";
        QTest::newRow("enlace roto") << "enlace roto"
                                     << "es un enlace simbólico";
        QTest::newRow("FIFO sin lector") << "fifo"
                                         << "hay una tubería con nombre (FIFO)";
        QTest::newRow("FIFO con lector") << "fifo con lector"
                                         << "hay una tubería con nombre (FIFO)";
        QTest::newRow("carpeta") << "carpeta"
                                 << "hay una carpeta";
    }
    void agregarRechazado()
    {
        QFETCH(QString, que);
        QFETCH(QString, motivo);
        Escenario e;
        const fs::path fotos = e.carpeta.Archivo(CarpetaDatos::kFotos);
        plantar(que.section(' ', 0, 0), fotos, que == "enlace roto" ? e.datos / "nada" : e.ajeno);
        int lector = -1;
        if (que == "fifo con lector")
            lector = ::open(fotos.c_str(), O_RDONLY | O_NONBLOCK);
        std::string error;
        QVERIFY(!GrabarRegistro(fotos, RegistroDiseno::De(e.estado), error));
        if (lector >= 0)
            ::close(lector);
        QVERIFY2(error.find(motivo.toStdString()) != std::string::npos, error.c_str());
        QCOMPARE(leer(e.ajeno), QByteArray("privado"));
        QVERIFY(!fs::exists(e.datos / "nada"));
    }

    // A write that the disk refuses halfway (here the file size limit, as a
    // full disk would) leaves each file exactly as it was: an append puts
    // back what it overwrote and cuts the file to its old length; a
    // replacement keeps the old file and leaves no temporary.
    void escrituraFallida_data()
    {
        QTest::addColumn<bool>("agregar");
        QTest::addColumn<int>("largoPrevio");
        QTest::addColumn<int>("limite");
        QTest::newRow("agregar tras un registro, cortado a la mitad") << true << 43 << 64;
        QTest::newRow("agregar a 50 bytes: pisa 7 y se corta") << true << 50 << 70;
        QTest::newRow("agregar a un archivo vacio, sin lugar") << true << 0 << 0;
        QTest::newRow("reemplazar") << false << 43 << 20;
    }
    void escrituraFallida()
    {
        QFETCH(bool, agregar);
        QFETCH(int, largoPrevio);
        QFETCH(int, limite);
        Escenario e;
        const fs::path archivo = e.carpeta.Archivo(agregar ? CarpetaDatos::kFotos : CarpetaDatos::kDatos);
        QByteArray previo(largoPrevio, '\0');
        for (int i = 0; i < largoPrevio; ++i)
            previo[i] = char('a' + i % 26);
        escribir(archivo, previo);

        // The limit is set in a child, so that the test's own files are free.
        const pid_t hijo = ::fork();
        QVERIFY(hijo >= 0);
        if (hijo == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limiteArchivo{rlim_t(limite), rlim_t(limite)};
            ::setrlimit(RLIMIT_FSIZE, &limiteArchivo);
            std::string error;
            bool grabado = true;
            if (agregar) {
                grabado = GrabarRegistro(archivo, RegistroDiseno::De(e.estado), error);
            } else if (const auto falla = GuardarDatos(e.carpeta, e.estado)) {
                grabado = false;
                error = falla->motivo;
            }
            ::_exit(!grabado && error.find("tamaño máximo") != std::string::npos ? 0 : 1);
        }
        int estado = 0;
        QVERIFY(::waitpid(hijo, &estado, 0) == hijo);
        QVERIFY(WIFEXITED(estado));
        QCOMPARE(WEXITSTATUS(estado), 0); // refused, with the reason
        QCOMPARE(leer(archivo), previo);
        QCOMPARE(nombresEn(e.datos), QStringList{QString::fromStdString(archivo.filename().string())});
    }

    // A data folder that cannot be used: the reason names the part of the
    // path at fault, in Spanish, as valid text; a save made before or after
    // says so too, and nothing is ever written anywhere else.
    void carpetaDeDatos_data()
    {
        QTest::addColumn<QString>("montaje");
        QTest::addColumn<QByteArray>("carpeta");
        QTest::addColumn<QString>("preparar");
        QTest::addColumn<QString>("guardar");
        QTest::newRow("un archivo en lugar de KORVEN")
            << "archivo" << QByteArray("KORVEN/win") << "/KORVEN» es un archivo, no una carpeta"
            << "la carpeta de datos no se puede usar: «";
        QTest::newRow("un FIFO en lugar de KORVEN")
            << "fifo" << QByteArray("KORVEN/win") << "/KORVEN» es una tubería con nombre (FIFO), no una carpeta"
            << "/KORVEN» es una tubería con nombre (FIFO), no una carpeta";
        QTest::newRow("un enlace roto en lugar de KORVEN")
            << "enlace" << QByteArray("KORVEN/win") << "/KORVEN» es un enlace simbólico que no lleva a ninguna carpeta"
            << "/KORVEN» es un enlace simbólico que no lleva a ninguna carpeta";
        QTest::newRow("falta: se crea") << "" << QByteArray("KORVEN/win") << ""
                                        << "la carpeta de datos no existe (falta «";
        QTest::newRow("nombre en Latin-1: se crea") << "" << QByteArray("d\xE9x/win") << ""
                                                    << "/d\\xE9x»)";
        QTest::newRow("sin nombre") << "" << QByteArray() << "no se indicó ninguna carpeta de datos"
                                    << "no se indicó la carpeta de datos";
        QTest::newRow("sin permiso para crearla")
            << "solo lectura" << QByteArray("KORVEN/win") << "no se pudo crear la carpeta «"
            << "no existe (falta «";
    }
    void carpetaDeDatos()
    {
        QFETCH(QString, montaje);
        QFETCH(QByteArray, carpeta);
        QFETCH(QString, preparar);
        QFETCH(QString, guardar);
        if (montaje == "solo lectura" && ::geteuid() == 0)
            QSKIP("root escribe en una carpeta sin permiso de escritura");
        Raiz scratch;
        const fs::path& raiz = scratch.ruta;
        const fs::path korven = raiz / "KORVEN";
        if (montaje == "archivo")
            escribir(korven, "x");
        else if (montaje == "solo lectura")
            QVERIFY(::mkdir(korven.c_str(), 0555) == 0);
        else if (!montaje.isEmpty())
            plantar(montaje, korven, raiz / "nada");
        // Started somewhere else, which must stay untouched.
        const fs::path arranque = raiz / "arranque";
        fs::create_directory(arranque);
        fs::current_path(arranque);
        const CarpetaDatos datos(carpeta.isEmpty() ? fs::path() : raiz / carpeta.toStdString());
        EstadoDiseno estado;

        const auto falla = GuardarDatos(datos, estado);
        QVERIFY(falla);
        QVERIFY(EsUtf8(falla->Texto()));
        QVERIFY2(falla->Texto().find(guardar.toStdString()) != std::string::npos, falla->Texto().c_str());
        std::string error;
        const bool preparada = datos.Preparar(error);
        QCOMPARE(preparada, preparar.isEmpty());
        QVERIFY2(error.find(preparar.toStdString()) != std::string::npos, error.c_str());
        if (preparada) {
            QVERIFY(!GuardarDatos(datos, estado));
            QVERIFY(archivoComun(datos.Archivo(CarpetaDatos::kDatos)));
        }
        QCOMPARE(nombresEn(arranque), QStringList());
    }

    // Reading never waits on a pipe nor takes a folder or device for a file.
    void lectura_data()
    {
        QTest::addColumn<QString>("que");
        QTest::addColumn<int>("lectura");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("archivo comun") << "archivo" << int(Lectura::Leido) << "";
        QTest::newRow("enlace a un archivo comun") << "enlace" << int(Lectura::Leido) << "";
        QTest::newRow("no existe") << "" << int(Lectura::NoExiste) << "";
        QTest::newRow("enlace roto") << "enlace roto" << int(Lectura::Rechazado) << "no lleva a ningún archivo";
        QTest::newRow("FIFO sin escritor") << "fifo" << int(Lectura::Rechazado) << "tubería con nombre (FIFO)";
        QTest::newRow("carpeta") << "carpeta" << int(Lectura::Rechazado) << "hay una carpeta";
        QTest::newRow("mas grande que el maximo") << "grande" << int(Lectura::Rechazado) << "demasiado grande";
    }
    void lectura()
    {
        QFETCH(QString, que);
        QFETCH(int, lectura);
        QFETCH(QString, motivo);
        Escenario e;
        const fs::path monitor = e.carpeta.Archivo(CarpetaDatos::kMonitor);
        const fs::path real = e.datos / "real";
        escribir(real, que == "grande" ? QByteArray(101, 'x') : QByteArray("1.3 1 1"));
        if (que == "archivo" || que == "grande")
            fs::rename(real, monitor);
        else
            plantar(que.section(' ', 0, 0), monitor, que == "enlace roto" ? e.datos / "nada" : real);
        std::string contenido = "basura";
        std::string error;
        QCOMPARE(int(LeerArchivo(monitor, contenido, error, 100)), lectura);
        QCOMPARE(contenido, std::string(lectura == int(Lectura::Leido) ? "1.3 1 1" : ""));
        QVERIFY2(error.find(motivo.toStdString()) != std::string::npos, error.c_str());
    }

    // Well-formed UTF-8 as the Unicode standard defines it (table 3-7): the
    // only folder names the toolkit can reach. Anything else is shown
    // byte by byte.
    void utf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valido");
        QTest::addColumn<QString>("legible");
        QTest::newRow("ASCII") << QByteArray("/home/ana") << true << "/home/ana";
        QTest::newRow("eñe") << QByteArray("/home/pe\xC3\xB1\x61") << true << "/home/peña";
        QTest::newRow("euro, tres bytes") << QByteArray("\xE2\x82\xAC") << true << "€";
        QTest::newRow("U+10FFFF, el ultimo")
            << QByteArray("\xF4\x8F\xBF\xBF") << true << QString::fromUcs4(U"\U0010FFFF");
        QTest::newRow("Latin-1") << QByteArray("d\xE9x") << false << "d\\xE9x";
        QTest::newRow("sobrelargo") << QByteArray("\xC0\xAF") << false << "\\xC0\\xAF";
        QTest::newRow("sobrelargo de tres") << QByteArray("\xE0\x80\xAF") << false << "\\xE0\\x80\\xAF";
        QTest::newRow("sustituto") << QByteArray("\xED\xA0\x80") << false << "\\xED\\xA0\\x80";
        QTest::newRow("mas alla de U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false << "\\xF4\\x90\\x80\\x80";
        QTest::newRow("cortado") << QByteArray("a\xE2\x82") << false << "a\\xE2\\x82";
    }
    void utf8()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valido);
        QFETCH(QString, legible);
        const std::string b = bytes.toStdString();
        QCOMPARE(EsUtf8(b), valido);
        QCOMPARE(QString::fromStdString(RutaLegible(fs::path(b))), legible);
    }
};

QTEST_APPLESS_MAIN(TestArchivos)
#include "test_archivos.moc"
