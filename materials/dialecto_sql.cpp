#include "dialecto_sql.h"

#include <QSqlDatabase>

const Dialecto& DialectoSqlite()
{
    static const Dialecto d{
        .id = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"),
        .real = QStringLiteral("REAL"),
        .siNo = QStringLiteral("INTEGER NOT NULL DEFAULT 0 CHECK (%1 IN (0, 1))"),
        .esNumero = QStringLiteral("typeof(%1) = 'real'"),
        // SQLite's own lower() knows only the ASCII letters.
        .minusculasAscii = QStringLiteral("lower(%1)"),
        .posicion = QStringLiteral("instr(%1, %2)"),
        .ultimoId = QStringLiteral("SELECT last_insert_rowid()"),
        // AUTOINCREMENT keeps its counter above every Id ever stored.
        .conservarId = QString(),
        .ajustarContador = QString(),
        .bloquearTabla = QString(),
        .servidor = false,
    };
    return d;
}

const Dialecto& DialectoPostgresql()
{
    static const Dialecto d{
        .id = QStringLiteral("bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY"),
        .real = QStringLiteral("double precision"),
        .siNo = QStringLiteral("boolean NOT NULL DEFAULT false"),
        .esNumero = QString(),
        // Under the "C" collation lower() touches the ASCII letters only.
        .minusculasAscii = QStringLiteral("lower(%1 COLLATE \"C\")"),
        .posicion = QStringLiteral("strpos(%1, %2)"),
        .ultimoId = QStringLiteral("SELECT currval(pg_get_serial_sequence('\"Tabla_Materiales\"', 'Id'))"),
        .conservarId = QStringLiteral("OVERRIDING SYSTEM VALUE"),
        // nextval() stands for every Id the server has given so far.
        .ajustarContador = QStringLiteral("SELECT setval(pg_get_serial_sequence('\"Tabla_Materiales\"', 'Id'), "
                                          "GREATEST((SELECT max(\"Id\") FROM \"Tabla_Materiales\"), "
                                          "nextval(pg_get_serial_sequence('\"Tabla_Materiales\"', 'Id'))))"),
        .bloquearTabla = QStringLiteral("LOCK TABLE \"Tabla_Materiales\" IN EXCLUSIVE MODE"),
        .servidor = true,
    };
    return d;
}

const Dialecto& DialectoDe(const QSqlDatabase& bd)
{
    return bd.driverName() == QLatin1String("QPSQL") ? DialectoPostgresql() : DialectoSqlite();
}
