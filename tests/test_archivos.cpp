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
#include <map>
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

// Plants something at a name: "archivo grande" (101 bytes), "enlace" or
// "enlace roto" (to `destino`), "enlace duro" (to `destino`), "fifo", "carpeta".
void plantar(const QString& que, const fs::path& donde, const fs::path& destino = {})
{
    if (que == "archivo grande")
        escribir(donde, QByteArray(101, 'x'));
    else if (que == "enlace duro")
        QVERIFY(::link(destino.c_str(), donde.c_str()) == 0);
    else if (que.startsWith("enlace"))
        QVERIFY(::symlink(destino.c_str(), donde.c_str()) == 0);
    else if (que == "fifo")
        QVERIFY(::mkfifo(donde.c_str(), 0666) == 0);
    else if (que == "carpeta")
        QVERIFY(::mkdir(donde.c_str(), 0777) == 0);
}

// The file type at a name, the link itself when it is one.
mode_t tipoEn(const fs::path& p)
{
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

QStringList nombresEn(const fs::path& carpeta)
{
    return QDir(QString::fromStdString(carpeta)).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

// Another user's private file: one record long, so that only the link
// itself can stop an append through it.
const QByteArray kPrivado = QByteArray("privado").leftJustified(43, '.');

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
        escribir(ajeno, kPrivado);
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

    // Whatever stands at a data file's name other than a regular file is
    // refused by every write, never followed, replaced or waited on, and
    // stays as it was; a hard link is refused where a write would go
    // through it. A read follows a link only to a regular file.
    void loQueHayEnElNombre_data()
    {
        QTest::addColumn<QString>("operacion");
        QTest::addColumn<QString>("que");
        QTest::addColumn<QString>("motivo"); // none: done
        const auto fila = [](const char* operacion, const char* que, const char* motivo) {
            QTest::addRow("%s: %s", operacion, que) << operacion << que << motivo;
        };
        fila("reemplazar", "enlace", "es un enlace simbólico");
        fila("reemplazar", "fifo", "hay una tubería con nombre (FIFO)");
        fila("reemplazar", "carpeta", "hay una carpeta");
        fila("agregar", "enlace", "es un enlace simbólico");
        fila("agregar", "enlace duro", "enlaces duros");
        fila("agregar", "fifo", "hay una tubería con nombre (FIFO)");
        fila("leer", "enlace", "");
        fila("leer", "", ""); // nothing: missing, not refused
        fila("leer", "enlace roto", "no lleva a ningún archivo");
        fila("leer", "fifo", "tubería con nombre (FIFO)");
        fila("leer", "archivo grande", "demasiado grande");
    }
    void loQueHayEnElNombre()
    {
        QFETCH(QString, operacion);
        QFETCH(QString, que);
        QFETCH(QString, motivo);
        Escenario e;
        const fs::path nombre = e.datos / (operacion == "agregar" ? "FotoPos.DAT" : "DATA.DAT");
        plantar(que, nombre, que == "enlace roto" ? e.datos / "nada" : e.ajeno);
        const mode_t antes = tipoEn(nombre);
        std::string error, contenido;
        bool hecho = false;
        if (operacion == "reemplazar") {
            const auto falla = GuardarDatos(e.carpeta, e.estado);
            hecho = !falla;
            error = falla ? falla->Texto() : "";
        } else if (operacion == "agregar") {
            hecho = GrabarRegistro(nombre, RegistroDiseno::De(e.estado), error);
        } else {
            const Lectura lectura = LeerArchivo(nombre, contenido, error, 100);
            QCOMPARE(lectura == Lectura::NoExiste, que.isEmpty());
            hecho = lectura != Lectura::Rechazado;
        }
        QCOMPARE(hecho, motivo.isEmpty());
        CONTIENE(error, motivo.toStdString());
        QCOMPARE(leer(e.ajeno), kPrivado);
        QCOMPARE(contenido, (que == "enlace" && hecho ? kPrivado : QByteArray()).toStdString());
        QCOMPARE(tipoEn(nombre), antes);
        if (operacion != "leer")
            QCOMPARE(nombresEn(e.datos).size(), 1);
    }

    // A temporary is this writer's own until renamed; one that a killed
    // writer left (unlocked, of the program's own pattern) goes with the next
    // save of that name. The replacement keeps the target's permissions.
    void temporales()
    {
        Escenario e;
        const fs::path destino = e.datos / "orden.pdf";
        escribir(destino, "viejo");
        fs::permissions(destino, fs::perms(0640));
        std::string error;
        ArchivoTemporal vivo(destino);
        QVERIFY(vivo.Crear(error) && vivo.Escribir("a medias", error));
        for (const char* resto : {"orden.pdf.tmp-a1B2c3D4e5F6", "orden.pdf.tmp-corto", "otra.pdf.tmp-a1B2c3D4e5F6"})
            escribir(e.datos / resto, "resto");
        QVERIFY(ReemplazarArchivo(destino, "nuevo", error));
        QCOMPARE(leer(destino), QByteArray("nuevo"));
        QCOMPARE(int(fs::status(destino).permissions()), 0640);
        QStringList quedan{QString::fromStdString(vivo.nombre()), "orden.pdf", "orden.pdf.tmp-corto",
                           "otra.pdf.tmp-a1B2c3D4e5F6"};
        quedan.sort(Qt::CaseInsensitive); // as the folder lists them
        QCOMPARE(nombresEn(e.datos), quedan);
    }

    // Appends go after the last whole record, two benches' at once too, each
    // record whole; a file cut short is refused. One that the disk refuses
    // halfway (the file size limit, set in the child, as a full disk would)
    // is cut back to its old length.
    void agregar()
    {
        // Bytes already there, benches each appending 200 records, the file
        // size limit (0: none), and the reason for refusing (none: appended).
        for (const auto& [largoPrevio, bancos, limite, motivo] :
             {std::tuple{43, 2, 0, ""}, {50, 1, 0, "registros enteros"}, {43, 1, 70, "tamaño máximo"}}) {
            const bool agrega = !*motivo;
            Escenario e;
            const fs::path fotos = e.carpeta.Archivo(CarpetaDatos::kFotos);
            const QByteArray previo(largoPrevio, '\0'); // a record of zeros, or more
            escribir(fotos, previo);
            std::vector<pid_t> hijos;
            for (int banco = 0; banco < bancos; ++banco) {
                hijos.push_back(::fork());
                if (hijos.back() != 0)
                    continue;
                ::signal(SIGXFSZ, SIG_IGN);
                const rlim_t tope = limite ? rlim_t(limite) : RLIM_INFINITY;
                const rlimit limiteArchivo{tope, tope};
                ::setrlimit(RLIMIT_FSIZE, &limiteArchivo);
                e.estado.DiametroInicial = 50 + banco;
                std::string error;
                bool bien = true;
                for (int i = 0; i < 200 && bien; ++i)
                    bien = GrabarRegistro(fotos, RegistroDiseno::De(e.estado), error) == agrega &&
                           error.find(motivo) != std::string::npos;
                ::_exit(bien ? 0 : 1);
            }
            for (const pid_t hijo : hijos) {
                int estado = 0;
                QVERIFY(::waitpid(hijo, &estado, 0) == hijo && WIFEXITED(estado));
                QCOMPARE(WEXITSTATUS(estado), 0); // saved, or refused with the reason
            }
            const QByteArray despues = leer(fotos);
            QCOMPARE(despues.left(largoPrevio), previo);
            std::map<double, int> porBanco;
            for (const RegistroDiseno& r : LeerRegistros(fotos))
                ++porBanco[r.DiametroInicial];
            porBanco.erase(0); // the record already there
            QCOMPARE(despues.size(), agrega ? largoPrevio + bancos * 200 * 43 : largoPrevio);
            QCOMPARE(porBanco, (agrega ? std::map<double, int>{{50, 200}, {51, 200}} : std::map<double, int>{}));
        }
    }

    // A data folder that cannot be used: the reason names the part of the
    // path at fault, in Spanish, as valid text; a save made before or after
    // says so too, and nothing is ever written in the working folder.
    void carpetaDeDatos()
    {
        for (const bool conNombre : {true, false}) {
            Escenario e;
            fs::current_path(e.datos); // started somewhere else, which must stay untouched
            const CarpetaDatos datos(conNombre ? e.raiz / "KORVEN/win" : fs::path());
            const auto falla = GuardarDatos(datos, e.estado);
            QVERIFY(falla && EsUtf8(falla->Texto()));
            CONTIENE(falla->Texto(), conNombre ? "/KORVEN/win» no existe (falta «" : "no se indicó la carpeta");
            std::string error;
            QCOMPARE(datos.Preparar(error), conNombre); // a missing folder is made
            CONTIENE(error, conNombre ? "" : "no se indicó ninguna carpeta de datos");
            if (conNombre) {
                QVERIFY(!GuardarDatos(datos, e.estado));
                QVERIFY(fs::is_regular_file(fs::symlink_status(datos.Archivo(CarpetaDatos::kDatos))));
            }
            QCOMPARE(nombresEn(e.datos), QStringList());
        }
    }

    // Well-formed UTF-8 as the Unicode standard defines it (table 3-7): the
    // only folder names the toolkit can reach. Anything else is shown byte
    // by byte, so a name is valid exactly when nothing in it is escaped.
    void utf8()
    {
        const QList<std::pair<QByteArray, QString>> casos{
            // Two, three and four bytes, up to U+10FFFF.
            {"/home/pe\xC3\xB1\x61 \xE2\x82\xAC \xF4\x8F\xBF\xBF", "/home/peña € " + QString::fromUcs4(U"\U0010FFFF")},
            // Overlong, a surrogate, beyond U+10FFFF, cut short.
            {"\xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 a\xE2\x82",
             "\\xC0\\xAF \\xED\\xA0\\x80 \\xF4\\x90\\x80\\x80 a\\xE2\\x82"}};
        for (const auto& [bytes, legible] : casos) {
            QCOMPARE(QString::fromStdString(RutaLegible(fs::path(bytes.toStdString()))), legible);
            QCOMPARE(EsUtf8(bytes.toStdString()), !legible.contains("\\x"));
        }
    }
};

QTEST_APPLESS_MAIN(TestArchivos)
#include "test_archivos.moc"
