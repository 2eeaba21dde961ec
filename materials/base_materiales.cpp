#include "base_materiales.h"

#include "dialogos.h"
#include "mensajes_materiales.h"
#include "tabla_materiales.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryFile>
#include <atomic>
#include <string>

namespace {

// The table as this program creates it. Id is an autonumber that is never
// given again after a deletion. The database itself refuses a record without
// a name or description, with an index, density or Abbe number that is not a
// number (REAL affinity turns "1.6" into a number, leaves "1,6" or "abc" as
// text), or with values no spectacle material has: an index of 1 or less
// would make every surface power infinite, and the upper bounds also keep
// out the infinity that an overflowing "1e999" becomes.
QString Esquema()
{
    using tabla::Citar;
    const auto numero = [](QStringView campo, const char* limites) {
        return Citar(campo) + QStringLiteral(" REAL NOT NULL CHECK (typeof(") + Citar(campo) +
               QStringLiteral(") = 'real' AND ") + QString(QLatin1String(limites)).arg(Citar(campo)) + u')';
    };
    const auto texto = [](QStringView campo) {
        return Citar(campo) + QStringLiteral(" TEXT NOT NULL CHECK (trim(") + Citar(campo) + QStringLiteral(") <> '')");
    };
    const auto siNo = [](QStringView campo) {
        return Citar(campo) + QStringLiteral(" INTEGER NOT NULL DEFAULT 0 CHECK (") + Citar(campo) +
               QStringLiteral(" IN (0, 1))");
    };
    const QStringList campos{
        Citar(tabla::kId) + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT"),
        texto(tabla::kProducto),
        texto(tabla::kDescripcion),
        Citar(tabla::kProveedor) + QStringLiteral(" TEXT"),
        numero(tabla::kIndice, "%1 > 1 AND %1 < 3"),
        numero(tabla::kDensidad, "%1 > 0 AND %1 < 25"),
        numero(tabla::kAbbe, "%1 > 0 AND %1 < 200"),
        siNo(tabla::kMineral),
        siNo(tabla::kOrganico),
    };
    return QStringLiteral("CREATE TABLE ") + Citar(tabla::kTabla) + QStringLiteral(" (") +
           campos.join(QStringLiteral(", ")) + u')';
}

// Runs trabajo on a connection of its own to the file and removes the
// connection afterwards; trabajo's queries end before that.
template <typename Trabajo>
bool ConConexion(const QString& archivo, const QString& opciones, Trabajo&& trabajo)
{
    static std::atomic<unsigned> contador{0};
    const QString nombre = QStringLiteral("BaseMateriales#") + QString::number(++contador);
    bool hecho = false;
    {
        QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
        bd.setDatabaseName(archivo);
        bd.setConnectOptions(opciones);
        hecho = bd.open() && trabajo(bd);
        bd.close();
    }
    QSqlDatabase::removeDatabase(nombre);
    return hecho;
}

// Copies the starter catalogue, kept readable in materiales_iniciales.csv,
// into the new table. Its first data line names the fields.
bool CargarIniciales(QSqlDatabase& bd)
{
    QFile csv(QStringLiteral(":/materiales/materiales_iniciales.csv"));
    if (!csv.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QStringList numericos{tabla::kIndice.toString(), tabla::kDensidad.toString(), tabla::kAbbe.toString(),
                                tabla::kMineral.toString(), tabla::kOrganico.toString()};
    QStringList cabecera;
    QSqlQuery insertar(bd);
    for (const QString& linea : QString::fromUtf8(csv.readAll()).split(u'\n')) {
        const QString limpia = linea.trimmed();
        if (limpia.isEmpty() || limpia.startsWith(u'#'))
            continue;
        const QStringList partes = limpia.split(u';');
        if (cabecera.isEmpty()) {
            cabecera = partes;
            QStringList citados, marcas;
            for (const QString& campo : cabecera) {
                citados << tabla::Citar(campo);
                marcas << QStringLiteral("?");
            }
            if (!insertar.prepare(QStringLiteral("INSERT INTO ") + tabla::Citar(tabla::kTabla) + QStringLiteral(" (") +
                                  citados.join(u',') + QStringLiteral(") VALUES (") + marcas.join(u',') + u')'))
                return false;
            continue;
        }
        if (partes.size() != cabecera.size())
            return false;
        for (qsizetype i = 0; i < partes.size(); ++i) {
            if (!numericos.contains(cabecera[i])) {
                insertar.bindValue(int(i), partes[i].trimmed());
                continue;
            }
            bool ok = false;
            const double valor = QLocale::c().toDouble(partes[i].trimmed(), &ok);
            if (!ok)
                return false;
            insertar.bindValue(int(i), valor);
        }
        if (!insertar.exec())
            return false;
    }
    return !cabecera.isEmpty();
}

} // namespace

BaseMateriales::BaseMateriales(const std::filesystem::path& archivo)
    : m_archivo(QDir::cleanPath(QString::fromStdU16String(archivo.u16string())))
{
}

bool BaseMateriales::Abrir(Dialogos& dialogos)
{
    namespace m = mensajes_materiales;
    m_disponible = false;
    const std::string nombre = QDir::toNativeSeparators(m_archivo).toStdString();
    // A second program starting at the same moment may have created the file
    // in between; then it is checked like any existing file.
    if (!QFileInfo::exists(m_archivo) && !crear() && !QFileInfo::exists(m_archivo)) {
        dialogos.Mensaje(m::kTituloBaseNoDisponible,
                         "No se pudo crear la Base de Datos de Materiales \"" + nombre +
                             "\". Revise que la carpeta exista y admita escritura. La lista de materiales "
                             "quedará vacía.",
                         Icono::Critico);
        return false;
    }
    if (!esBaseDeMateriales()) {
        dialogos.Mensaje(m::kTituloBaseDanada,
                         "No se puede leer la Base de Datos de Materiales \"" + nombre +
                             "\": el archivo está dañado, no es una base de datos o no tiene la tabla "
                             "Tabla_Materiales. El archivo no se modificará y la lista de materiales "
                             "quedará vacía.",
                         Icono::Critico);
        return false;
    }
    m_disponible = true;
    return true;
}

// The catalogue is built complete in a temporary file beside the final one
// and renamed into place, so that a crash or a full disk never leaves a
// half-filled "materiales.mdb" that the next start would take as good. The
// rename does not replace a file that appeared meanwhile.
bool BaseMateriales::crear() const
{
    const QFileInfo destino(m_archivo);
    if (!destino.dir().exists())
        return false;
    QTemporaryFile temporal(destino.dir().filePath(destino.fileName() + QStringLiteral(".XXXXXX")));
    if (!temporal.open())
        return false;
    const QString nombre = temporal.fileName();
    // SQLite's file locks are per process: no other descriptor may stay open.
    temporal.close();
    const bool lleno = ConConexion(nombre, QString(), [](QSqlDatabase& bd) {
        if (!bd.transaction())
            return false;
        QSqlQuery crearTabla(bd);
        if (crearTabla.exec(Esquema()) && CargarIniciales(bd))
            return bd.commit();
        bd.rollback();
        return false;
    });
    // The temporary file is private to its owner; the catalogue is read by
    // the other programs of the installation too.
    QFile::setPermissions(nombre, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                      QFileDevice::ReadOther);
    if (!lleno || !QFile::rename(nombre, m_archivo))
        return false;
    temporal.setAutoRemove(false);
    return true;
}

// Opened read-only: checking a file must never be what changes it.
bool BaseMateriales::esBaseDeMateriales() const
{
    return ConConexion(m_archivo, QStringLiteral("QSQLITE_OPEN_READONLY"), [](QSqlDatabase& bd) {
        QSqlQuery integridad(bd);
        if (!integridad.exec(QStringLiteral("PRAGMA quick_check")) || !integridad.next() ||
            integridad.value(0).toString() != QStringLiteral("ok"))
            return false;
        // Asked of the table's description: SQLite would read a quoted name
        // that is not a field as a text constant, and a SELECT would pass.
        QSqlQuery campos(bd);
        if (!campos.exec(QStringLiteral("PRAGMA table_info(") + tabla::Citar(tabla::kTabla) + u')'))
            return false;
        QStringList presentes;
        while (campos.next())
            presentes << campos.value(1).toString().toLower();
        for (QStringView campo : {tabla::kId, tabla::kProducto, tabla::kDescripcion, tabla::kProveedor, tabla::kIndice,
                                  tabla::kDensidad, tabla::kAbbe, tabla::kMineral, tabla::kOrganico})
            if (!presentes.contains(campo.toString().toLower()))
                return false;
        return true;
    });
}
