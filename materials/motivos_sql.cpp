#include "motivos_sql.h"

#include <QSqlDatabase>
#include <QSqlError>

namespace {

enum class Almacen { Sqlite, Postgresql };

Almacen De(const QSqlDatabase& bd)
{
    return bd.driverName() == QLatin1String("QPSQL") ? Almacen::Postgresql : Almacen::Sqlite;
}

// SQLite's extended code holds the primary one in its low byte.
int Primario(const QSqlError& e)
{
    bool ok = false;
    const int codigo = e.nativeErrorCode().toInt(&ok);
    return ok ? codigo & 0xff : -1;
}

std::string MotivoSqlite(const QSqlError& e)
{
    constexpr int kReadonlyRollback = 8 | (3 << 8);
    switch (Primario(e)) {
    case 3:
    case 23:
        return "el usuario no tiene permiso para usar el archivo";
    case 5:
    case 6:
        return "otro programa o puesto tiene el archivo ocupado; inténtelo de nuevo en unos segundos";
    case 7:
        return "no hay memoria suficiente";
    case 8:
        if (e.nativeErrorCode().toInt() == kReadonlyRollback)
            return "quedó a medias una grabación anterior y no se puede deshacer porque el archivo o su carpeta no "
                   "admiten escritura";
        return "el archivo o su carpeta no admiten escritura";
    case 10:
        return "falló la lectura o la escritura del disco";
    case 11:
    case 26:
        return "el archivo está dañado o no es una base de datos";
    case 13:
        return "el disco está lleno";
    case 14:
        return "no se pudo abrir el archivo o crear su diario de grabación en la carpeta";
    case 19:
    case 20:
        return "la base de datos no acepta uno de los valores";
    case -1:
        return "falló la operación sobre el archivo";
    default:
        return "SQLite informó el error número " + e.nativeErrorCode().toStdString();
    }
}

std::string MotivoPostgresql(const QSqlError& e, const QSqlDatabase& bd)
{
    const QString estado = e.nativeErrorCode();
    const QString clase = estado.left(2);
    if (estado.isEmpty() || clase == QLatin1String("08") || !bd.isOpen())
        return "se perdió la conexión con el servidor";
    if (clase == QLatin1String("22") || clase == QLatin1String("23"))
        return "la base de datos no acepta uno de los valores";
    if (estado == QLatin1String("42501"))
        return "el usuario no tiene permiso para esa operación en el servidor";
    if (estado == QLatin1String("42P01") || estado == QLatin1String("42703"))
        return "la tabla Tabla_Materiales del servidor ya no tiene la forma esperada";
    if (clase == QLatin1String("40"))
        return "otro puesto grababa al mismo tiempo; inténtelo de nuevo";
    if (estado == QLatin1String("53100"))
        return "el disco del servidor está lleno";
    if (clase == QLatin1String("53"))
        return "al servidor le faltan recursos (memoria o conexiones)";
    if (clase == QLatin1String("57"))
        return "el servidor canceló la operación o se está deteniendo";
    if (clase == QLatin1String("25"))
        return "el servidor interrumpió la transacción";
    return "el servidor informó el error " + estado.toStdString();
}

} // namespace

bool EsRechazoDeDatos(const QSqlError& error, const QSqlDatabase& bd)
{
    if (De(bd) == Almacen::Sqlite)
        return Primario(error) == 19 || Primario(error) == 20;
    const QString clase = error.nativeErrorCode().left(2);
    return clase == QLatin1String("22") || clase == QLatin1String("23");
}

bool EsArchivoDanado(const QSqlError& error, const QSqlDatabase& bd)
{
    return De(bd) == Almacen::Sqlite && (Primario(error) == 11 || Primario(error) == 26);
}

bool EsOcupado(const QSqlError& error, const QSqlDatabase& bd)
{
    if (De(bd) == Almacen::Sqlite)
        return Primario(error) == 5 || Primario(error) == 6;
    // A lock not granted in time, a transaction that lost to another, or a
    // statement the server cut at its time limit while it waited.
    const QString estado = error.nativeErrorCode();
    return estado.startsWith(QLatin1String("40")) || estado == QLatin1String("55P03") ||
           estado == QLatin1String("57014");
}

bool EsClaveRepetida(const QSqlError& error, const QSqlDatabase& bd)
{
    // SQLite's extended codes of a primary key and of a unique index.
    if (De(bd) == Almacen::Sqlite)
        return error.nativeErrorCode() == QLatin1String("1555") || error.nativeErrorCode() == QLatin1String("2067");
    return error.nativeErrorCode() == QLatin1String("23505");
}

std::string Motivo(const QSqlError& error, const QSqlDatabase& bd)
{
    return De(bd) == Almacen::Postgresql ? MotivoPostgresql(error, bd) : MotivoSqlite(error);
}
