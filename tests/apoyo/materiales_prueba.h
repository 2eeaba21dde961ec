#pragma once

#include "apoyo/dialogos_prueba.h"
#include "base_materiales.h"
#include "catalogo_sql.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <cstdio>
#include <cstdlib>

// The store the catalogue tests run on: a SQLite file in a folder of the
// test's own, or, when CTest sets VANTORA_PRUEBA_ALMACEN=postgresql, a
// database of the test program's own on the PostgreSQL server that the
// usual PGHOST, PGPORT, PGUSER and PGPASSWORD name (./test.sh starts a
// throwaway one with pg_virtualenv). Every statement here is written once
// for both stores.
namespace almacen_prueba {

inline bool EsServidor() { return qEnvironmentVariable("VANTORA_PRUEBA_ALMACEN") == QLatin1String("postgresql"); }

inline QString BaseDelPrograma()
{
    return "vantora_" + QCoreApplication::applicationName().toLower() + u'_' +
           QString::number(QCoreApplication::applicationPid());
}

// Runs trabajo on a connection of the test's own, not yet opened, to a file
// or to a database of the server (none: the server's maintenance database).
template <typename Trabajo>
auto ConConexion(bool servidor, const QString& base, Trabajo trabajo)
{
    QSqlDatabase bd = QSqlDatabase::addDatabase(servidor ? "QPSQL" : "QSQLITE", "prueba");
    bd.setDatabaseName(base);
    // The server's notices ("does not exist, skipping") are not test output.
    if (servidor)
        bd.setConnectOptions("connect_timeout=5;options=-cclient_min_messages=warning");
    const auto resultado = trabajo(bd);
    bd = QSqlDatabase();
    QSqlDatabase::removeDatabase("prueba");
    return resultado;
}

// Runs statements, each a text followed by its bound values, in one
// transaction; a lone statement runs by itself, as CREATE DATABASE must.
inline bool Sql(bool servidor, const QString& base, const QList<QVariantList>& sentencias)
{
    return ConConexion(servidor, base, [&](QSqlDatabase& bd) {
        const bool transaccion = sentencias.size() > 1;
        bool ok = bd.open() && (!transaccion || bd.transaction());
        for (qsizetype i = 0; ok && i < sentencias.size(); ++i) {
            const QVariantList& s = sentencias[i];
            QSqlQuery q(bd);
            // PostgreSQL prepares no CREATE or DROP.
            ok = s.size() == 1 ? q.exec(s[0].toString()) : q.prepare(s[0].toString());
            for (qsizetype j = 1; j < s.size(); ++j)
                q.addBindValue(s[j]);
            ok = ok && (s.size() == 1 || q.exec());
            if (!ok)
                qWarning("%s", qPrintable(q.lastError().text()));
        }
        return ok && (!transaccion || bd.commit());
    });
}

// For initTestCase(): makes the program's database. Without a server the
// program ends as skipped (77), or fails when ./test.sh demands the server.
inline void Preparar()
{
    if (!EsServidor())
        return;
    Sql(true, {}, {{"DROP DATABASE IF EXISTS " + BaseDelPrograma()}});
    // UTF-8 and the C locale whatever the cluster's: length() then counts
    // characters, and nothing depends on the machine's language.
    if (Sql(true, {}, {{"CREATE DATABASE " + BaseDelPrograma() + " ENCODING 'UTF8' LOCALE 'C' TEMPLATE template0"}}))
        return;
    std::fprintf(stderr, "No hay servidor PostgreSQL de prueba (PGHOST, PGPORT, PGUSER, PGPASSWORD): "
                         "./test.sh corre estas pruebas dentro de pg_virtualenv.\n");
    std::exit(qEnvironmentVariableIsSet("VANTORA_PRUEBA_EXIGIR_SERVIDOR") ? 1 : 77);
}

// For cleanupTestCase().
inline void Terminar()
{
    if (EsServidor())
        Sql(true, {}, {{"DROP DATABASE IF EXISTS " + BaseDelPrograma() + " WITH (FORCE)"}});
}

} // namespace almacen_prueba

// A record written straight into a test's catalogue.
struct RegistroPrueba {
    qlonglong id = 0;
    QString producto;
    double indice = 1.5;
    double densidad = 1.3;
};

// Records with these names, numbered 1, 2, ... in the order given.
inline QList<RegistroPrueba> Nombres(const QStringList& nombres)
{
    QList<RegistroPrueba> registros;
    for (const QString& n : nombres)
        registros.append({registros.size() + 1, n});
    return registros;
}

// The statements that leave exactly these records in the table, all
// organic, with their own Ids, Abbe number 40 and supplier "Proveedor".
inline QList<QVariantList> Registros(const QList<RegistroPrueba>& registros, bool servidor)
{
    QList<QVariantList> sql{{"DELETE FROM \"Tabla_Materiales\""}};
    for (const RegistroPrueba& r : registros)
        sql.append({QString("INSERT INTO \"Tabla_Materiales\" (\"Id\", producto, \"descripción\", \"Provedor "
                            "principal\", \"indice de refracción\", densidad, abbe, material, \"material 2\") %1 "
                            "VALUES (?, ?, ?, 'Proveedor', ?, ?, 40, false, true)")
                        .arg(servidor ? "OVERRIDING SYSTEM VALUE" : ""),
                    r.id, r.producto, "Descripción de " + r.producto, r.indice, r.densidad});
    // New records then continue after the highest Id, as after a deletion.
    if (servidor)
        sql.append({"SELECT setval(pg_get_serial_sequence('\"Tabla_Materiales\"', 'Id'), "
                    "(SELECT COALESCE(max(\"Id\"), 0) + 1 FROM \"Tabla_Materiales\"), false)"});
    return sql;
}

// The names the design's own look-ups read from the catalogue.
inline QStringList Productos(const BaseMateriales& base)
{
    QStringList productos;
    for (const std::string& p : CatalogoSql(base).Productos())
        productos << QString::fromStdString(p);
    return productos;
}

// One empty catalogue for one test case: a file not yet there in a new
// folder, or the program's database without the table. A catalogue made
// with servidor = false is a file on either store, as a bench's own.
class CatalogoPrueba {
public:
    explicit CatalogoPrueba(bool servidor = almacen_prueba::EsServidor()) : servidor(servidor)
    {
        if (servidor)
            Ejecutar({{"DROP TABLE IF EXISTS \"Tabla_Materiales\""},
                      {"DROP TABLE IF EXISTS \"Tabla_EspesorMinimo\""},
                      {"DROP TABLE IF EXISTS \"Tabla_CodigoDCS\""}});
    }

    QString archivo() const { return dir.filePath("materiales.mdb"); }
    QString texto() const { return servidor ? "postgresql:///" + almacen_prueba::BaseDelPrograma() : archivo(); }
    UbicacionCatalogo ubicacion() const { return UbicacionCatalogo::DeTexto(texto(), "/", "prueba"); }

    bool Ejecutar(const QList<QVariantList>& sentencias) const
    {
        return almacen_prueba::Sql(servidor, servidor ? almacen_prueba::BaseDelPrograma() : archivo(), sentencias);
    }

    // The catalogue as the program creates it, holding exactly these records.
    bool Escribir(const QList<RegistroPrueba>& registros) const
    {
        return !BaseMateriales(ubicacion()).Preparar() && Ejecutar(Registros(registros, servidor));
    }

    // The options that give a program this catalogue, and its jobs: the data
    // folder, and the server's database when there is one.
    QStringList Opciones() const
    {
        return servidor ? QStringList{"--catalogo", texto(), "--datos", dir.path()}
                        : QStringList{"--datos", dir.path()};
    }

    // A catalogue of CR-39 alone beside a job store of the earlier release,
    // holding these jobs (number, request, answer) as that release wrote
    // them, without the mark of the rules they were written by.
    bool AlmacenAnterior(const QList<QStringList>& trabajos) const
    {
        QList<QVariantList> s{
            {"CREATE TABLE trabajos (numero VARCHAR(40) PRIMARY KEY, pedido TEXT NOT NULL, respuesta TEXT NOT NULL, "
             "material TEXT NOT NULL, creado VARCHAR(32) NOT NULL, cambiado VARCHAR(32) NOT NULL, puesto TEXT NOT "
             "NULL, estado TEXT NOT NULL)"},
            {"CREATE TABLE trabajos_version (version INTEGER NOT NULL)"},
            {"INSERT INTO trabajos_version VALUES (1)"}};
        for (const QStringList& t : trabajos)
            s.append({"INSERT INTO trabajos VALUES (?, ?, ?, 'CR-39', '2026-01-02T10:00:00Z', '2026-01-02T10:00:00Z', "
                      "'b1', 'respondido')",
                      t[0], t[1], t[2]});
        return Escribir({{1, "CR-39", 1.498, 1.32}}) && Ejecutar(s);
    }

    // Everything the store holds of the catalogue: the file's bytes, or the
    // table's columns and rows on the server (nothing without the table).
    QByteArray Volcado() const
    {
        QFile f(archivo());
        if (!servidor)
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        return almacen_prueba::ConConexion(true, almacen_prueba::BaseDelPrograma(), [](QSqlDatabase& bd) {
            bd.open();
            QSqlQuery q(bd);
            q.exec("SELECT (SELECT string_agg(column_name || ' ' || data_type, ', ' ORDER BY ordinal_position) FROM "
                   "information_schema.columns WHERE table_name = 'Tabla_Materiales') || (SELECT "
                   "coalesce(string_agg(t::text, '; ' ORDER BY t.\"Id\"), '') FROM \"Tabla_Materiales\" t)");
            return q.next() ? q.value(0).toByteArray() : QByteArray();
        });
    }

    const bool servidor;
    QTemporaryDir dir;
};
