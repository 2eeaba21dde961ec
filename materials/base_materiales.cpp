#include "base_materiales.h"

#include "archivo_temporal.h"
#include "codigo_dcs.h"
#include "descriptor.h"
#include "dialecto_sql.h"
#include "dialogos.h"
#include "espesor_minimo.h"
#include "esquema_materiales.h"
#include "mensajes_materiales.h"
#include "motivos_sql.h"
#include "plazo_servidor.h"
#include "sonda_servidor.h"
#include "tabla_materiales.h"
#include "texto_qt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryFile>
#include <algorithm>
#include <atomic>
#include <cctype>
#include <fcntl.h>
#include <sys/file.h>
#include <system_error>

namespace m = mensajes_materiales;

namespace {

QString NombreUnico()
{
    static std::atomic<unsigned> contador{0};
    return QStringLiteral("BaseMateriales#") + QString::number(++contador);
}

// Runs trabajo on a connection of its own, opened or not, and removes the
// connection afterwards; trabajo's queries end before that.
template <typename Trabajo>
auto ConConexion(QSqlDatabase bd, Trabajo&& trabajo)
{
    const QString nombre = bd.connectionName();
    auto resultado = [&] {
        bd.open();
        auto r = trabajo(bd);
        bd.close();
        return r;
    }();
    bd = QSqlDatabase();
    QSqlDatabase::removeDatabase(nombre);
    return resultado;
}

// What stands where the catalogue file should be, when it is not a file.
std::string QueHay(std::filesystem::file_type tipo)
{
    using std::filesystem::file_type;
    switch (tipo) {
    case file_type::directory:
        return "una carpeta";
    case file_type::fifo:
        return "una tubería con nombre (FIFO)";
    case file_type::block:
    case file_type::character:
        return "un dispositivo";
    case file_type::socket:
        return "un socket";
    default:
        return "algo que no es un archivo común";
    }
}

Aviso NoDisponible(std::string texto) { return {std::string(m::kTituloBaseNoDisponible), std::move(texto)}; }

} // namespace

BaseMateriales::BaseMateriales(UbicacionCatalogo ubicacion) : m_ubicacion(std::move(ubicacion))
{
    m_nombre =
        m_ubicacion.esServidor() ? "(" + m_ubicacion.Descripcion() + ")" : "\"" + m_ubicacion.Descripcion() + "\"";
}

BaseMateriales::BaseMateriales(const std::filesystem::path& archivo)
    : BaseMateriales(UbicacionCatalogo::Archivo(archivo))
{
}

bool BaseMateriales::Abrir(Dialogos& dialogos)
{
    if (const std::optional<Aviso> aviso = Preparar()) {
        dialogos.Mensaje(aviso->titulo, aviso->texto, Icono::Critico);
        return false;
    }
    return true;
}

std::optional<Aviso> BaseMateriales::Preparar(Alta alta)
{
    m_disponible = false;
    if (!m_ubicacion.error().isEmpty())
        return NoDisponible(S(m_ubicacion.error()) + " La lista de materiales quedará vacía.");
    std::optional<Aviso> aviso = m_ubicacion.esServidor() ? prepararServidor(alta) : prepararArchivo(alta);
    m_disponible = !aviso;
    return aviso;
}

QSqlDatabase BaseMateriales::NuevaConexion(const QString& nombreConexion) const
{
    QSqlDatabase bd = QSqlDatabase::addDatabase(
        m_ubicacion.esServidor() ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), nombreConexion);
    m_ubicacion.Configurar(bd);
    return bd;
}

// A FIFO or a device in the file's place would make the open wait for ever,
// and root reads any file, so the kind of file and the right to read it are
// asked of the system before SQLite sees the file.
std::optional<Aviso> BaseMateriales::prepararArchivo(Alta alta)
{
    namespace fs = std::filesystem;
    const fs::path ruta(m_ubicacion.archivo().toStdU16String());
    const std::string noSeLee = "No se puede leer la Base de Datos de Materiales " + m_nombre + ": ";
    const std::string vacia = " La lista de materiales quedará vacía.";
    std::error_code ec;
    // A link in the catalogue's place would send every save to another
    // folder's file; only a path the user gave with --catalogo is followed.
    if (fs::is_symlink(fs::symlink_status(ruta, ec)) && !m_ubicacion.elegidaPorElUsuario())
        return NoDisponible("No se puede usar la Base de Datos de Materiales " + m_nombre +
                            ": en su lugar hay un enlace simbólico, que por seguridad no se sigue; si es el catálogo "
                            "que quiere usar, indíquelo con --catalogo." +
                            vacia);
    quitarCreacionesInterrumpidas(ruta);
    fs::file_status estado = fs::status(ruta, ec);
    if (ec && estado.type() != fs::file_type::not_found)
        return NoDisponible(noSeLee +
                            (ec == std::errc::permission_denied
                                 ? "el usuario no tiene permiso para entrar en la carpeta del archivo."
                                 : "el sistema no deja consultar el archivo.") +
                            vacia);
    if (estado.type() == fs::file_type::not_found) {
        if (fs::is_symlink(fs::symlink_status(ruta, ec)))
            return NoDisponible(noSeLee + "en su lugar hay un enlace simbólico que no lleva a ningún archivo." + vacia);
        if (alta == Alta::Ninguna)
            return NoDisponible(noSeLee + "el archivo no existe." + vacia);
        // A second program starting at the same moment may have created the
        // file in between; then it is checked like any existing file.
        const std::optional<QString> falla = crearArchivo(alta);
        estado = fs::status(ruta, ec);
        if (falla && estado.type() == fs::file_type::not_found)
            return NoDisponible("No se pudo crear la Base de Datos de Materiales " + m_nombre + ": " + S(*falla) + "." +
                                vacia);
    }
    if (estado.type() != fs::file_type::regular)
        return NoDisponible("No se puede usar la Base de Datos de Materiales " + m_nombre + ": en su lugar hay " +
                            QueHay(estado.type()) + ". No se modificará y la lista de materiales quedará vacía.");
    QFile prueba(m_ubicacion.archivo());
    if (!prueba.open(QIODevice::ReadOnly))
        return NoDisponible(noSeLee +
                            (!QFileInfo(m_ubicacion.archivo()).isReadable()
                                 ? "el usuario no tiene permiso de lectura sobre el archivo."
                                 : "el sistema no permitió abrirlo.") +
                            vacia);
    prueba.close();
    // Opened for writing: a save cut short by a crash leaves a journal that
    // SQLite rolls back on the first read, and only then is the file judged.
    return ConConexion(NuevaConexion(NombreUnico()), [&](QSqlDatabase& bd) -> std::optional<Aviso> {
        QSqlQuery integridad(bd);
        if (!bd.isOpen() || !integridad.exec(QStringLiteral("PRAGMA quick_check")) || !integridad.next()) {
            const QSqlError error = bd.isOpen() ? integridad.lastError() : bd.lastError();
            if (EsArchivoDanado(error, bd))
                return danada();
            return NoDisponible(noSeLee + Motivo(error, bd) +
                                ". El archivo no se modificará y la lista de materiales quedará vacía.");
        }
        if (integridad.value(0).toString() != QLatin1String("ok"))
            return danada();
        return revisar(bd);
    });
}

// What a start killed while creating the catalogue left beside it: its
// temporary file ("materiales.mdb.Ab12Cd"), unlocked, and that file's
// journal once the file itself is gone.
void BaseMateriales::quitarCreacionesInterrumpidas(const std::filesystem::path& ruta)
{
    const std::string base = ruta.filename().native() + ".";
    const auto temporal = [&](std::string_view nombre) {
        return nombre.size() == base.size() + 6 && nombre.starts_with(base) &&
               std::all_of(nombre.begin() + std::ptrdiff_t(base.size()), nombre.end(),
                           [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
    };
    QuitarRestos(ruta.parent_path(), temporal);
    QuitarRestos(ruta.parent_path(), [&](std::string_view nombre) {
        constexpr std::string_view kDiario = "-journal";
        if (!nombre.ends_with(kDiario) || !temporal(nombre.substr(0, nombre.size() - kDiario.size())))
            return false;
        std::error_code ec;
        return !std::filesystem::exists(
            ruta.parent_path() / std::string(nombre.substr(0, nombre.size() - kDiario.size())), ec);
    });
}

// The catalogue is built complete in a temporary file beside the final one
// and renamed into place, so that a crash or a full disk never leaves a
// half-filled "materiales.mdb" that the next start would take as good. The
// rename does not replace a file that appeared meanwhile. Returns the reason
// of a failure.
std::optional<QString> BaseMateriales::crearArchivo(Alta alta) const
{
    const QFileInfo destino(m_ubicacion.archivo());
    if (!destino.dir().exists())
        return QStringLiteral("la carpeta no existe");
    QTemporaryFile temporal(destino.dir().filePath(destino.fileName() + QStringLiteral(".XXXXXX")));
    if (!temporal.open())
        return QStringLiteral("la carpeta no admite escritura");
    const QString nombre = temporal.fileName();
    // Held locked until it is in place, so that another program's start
    // never takes it for the leftover of a killed one. SQLite's own locks
    // are per process and end when any descriptor of the file is closed:
    // this one is closed only after SQLite has closed its own.
    const Descriptor cerrojo(::open(QFile::encodeName(nombre).constData(), O_RDONLY | O_CLOEXEC));
    if (cerrojo.abierto())
        ::flock(cerrojo.fd(), LOCK_EX | LOCK_NB);
    temporal.close();
    const auto nueva = [&] {
        QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), NombreUnico());
        bd.setDatabaseName(nombre);
        return bd;
    };
    const std::optional<QString> falla = ConConexion(nueva(), [&](QSqlDatabase& bd) -> std::optional<QString> {
        QSqlQuery crear(bd);
        if (bd.isOpen() && bd.transaction()) {
            if (crear.exec(EsquemaMateriales(DialectoSqlite())) && (alta == Alta::Vacia || CargarIniciales(bd)) &&
                bd.commit())
                return std::nullopt;
            const QSqlError error = crear.lastError().type() != QSqlError::NoError ? crear.lastError() : bd.lastError();
            bd.rollback();
            return Q(Motivo(error, bd));
        }
        return Q(Motivo(bd.lastError(), bd));
    });
    // The temporary file is private to its owner; the catalogue is read by
    // the other programs of the installation too.
    QFile::setPermissions(nombre, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                      QFileDevice::ReadOther);
    if (falla)
        return falla;
    if (!QFile::rename(nombre, m_ubicacion.archivo()))
        return QStringLiteral("no se pudo poner el archivo en su lugar");
    temporal.setAutoRemove(false);
    return std::nullopt;
}

// The first bench to reach a database without the table creates it, with
// the starter catalogue, in one transaction; a lock held until the commit
// keeps a second bench starting at the same moment from doing it twice.
std::optional<Aviso> BaseMateriales::prepararServidor(Alta alta)
{
    const std::string vacia = " La lista de materiales quedará vacía; el programa no usa otro catálogo en su lugar.";
    const SondaServidor sonda =
        SondearServidor(m_ubicacion, std::chrono::seconds(UbicacionCatalogo::kSegundosConexion));
    if (!sonda.nombre.empty())
        m_nombre = "(" + sonda.nombre + ")";
    if (!sonda.conectado)
        return NoDisponible("No se pudo conectar con la Base de Datos de Materiales " + m_nombre + ": " + sonda.motivo +
                            "." + vacia);
    return ConConexion(NuevaConexion(NombreUnico()), [&](QSqlDatabase& bd) -> std::optional<Aviso> {
        if (!bd.isOpen())
            return NoDisponible("No se pudo conectar con la Base de Datos de Materiales " + m_nombre + ": " +
                                Motivo(bd.lastError(), bd) + "." + vacia);
        const VigiaServidor vigia(bd);
        // A server that stops answering half-way is told as such, not as a
        // table that is missing or damaged.
        const auto revisado = [&](std::optional<Aviso> aviso) -> std::optional<Aviso> {
            if (!ConexionPerdida(bd))
                return aviso;
            return NoDisponible("No se puede llegar al servidor de la Base de Datos de Materiales " + m_nombre + ": " +
                                vigia.MotivoPerdida() + "." + vacia);
        };
        if (!bd.record(TablaCitada(bd)).isEmpty())
            return revisado(revisar(bd));
        if (ConexionPerdida(bd))
            return revisado(std::nullopt);
        if (alta == Alta::Ninguna)
            return NoDisponible("La Base de Datos de Materiales " + m_nombre + " no tiene la tabla Tabla_Materiales." +
                                vacia);
        QSqlQuery q(bd);
        const bool creada =
            bd.transaction() && q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(7215032)")) &&
            (!bd.record(TablaCitada(bd)).isEmpty() ||
             (q.exec(EsquemaMateriales(DialectoPostgresql())) && (alta == Alta::Vacia || CargarIniciales(bd)))) &&
            bd.commit();
        if (!creada) {
            const QSqlError error = q.lastError().type() != QSqlError::NoError ? q.lastError() : bd.lastError();
            if (ConexionPerdida(bd))
                return revisado(std::nullopt);
            bd.rollback();
            if (error.nativeErrorCode() == QLatin1String("42501"))
                return NoDisponible("La Base de Datos de Materiales " + m_nombre +
                                    " no tiene la tabla Tabla_Materiales y el usuario no tiene permiso para "
                                    "crearla: conéctese una vez con el usuario dueño de la base, o pida que le den "
                                    "ese permiso." +
                                    vacia);
            return NoDisponible("No se pudo crear la tabla Tabla_Materiales en la Base de Datos de Materiales " +
                                m_nombre + ": " + Motivo(error, bd) + "." + vacia);
        }
        return revisado(revisar(bd));
    });
}

// Asked of the table's description: SQLite would read a quoted name that is
// not a field as a text constant, and a SELECT would pass.
std::optional<Aviso> BaseMateriales::revisar(QSqlDatabase& bd)
{
    const QSqlRecord campos = bd.record(TablaCitada(bd));
    if (campos.isEmpty())
        return danada();
    if (const QStringList faltan = CamposFaltantes(campos); !faltan.isEmpty()) {
        if (!m_ubicacion.esServidor())
            return danada();
        return Aviso{std::string(m::kTituloBaseDanada),
                     "La tabla Tabla_Materiales de la Base de Datos de Materiales " + m_nombre +
                         " no tiene los campos que el programa usa (le falta " + S(faltan.join(QStringLiteral(", "))) +
                         "). No se modificará y la lista de materiales quedará vacía."};
    }
    m_abbeObligatorio = campos.field(tabla::kAbbe.toString()).requiredStatus() == QSqlField::Required;
    // A catalogue of an earlier release gains the tables of minimum centre
    // thicknesses and of the exchange's material classes; one the user may
    // not write works with the defaults.
    PrepararEspesoresMinimos(bd);
    PrepararCodigosDcs(bd);
    return std::nullopt;
}

Aviso BaseMateriales::danada() const
{
    return {std::string(m::kTituloBaseDanada),
            "No se puede leer la Base de Datos de Materiales " + m_nombre +
                ": el archivo está dañado, no es una base de datos o no tiene la tabla Tabla_Materiales. El "
                "archivo no se modificará y la lista de materiales quedará vacía."};
}
