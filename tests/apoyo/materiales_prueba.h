#pragma once

#include "apoyo/dialogos_prueba.h"
#include "base_materiales.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
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
    return QStringLiteral("vantora_") + QCoreApplication::applicationName().toLower() + u'_' +
           QString::number(QCoreApplication::applicationPid());
}

// A statement on the server's maintenance database.
inline bool Administrar(const QString& sql)
{
    bool ok = false;
    {
        QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("administrar"));
        bd.setConnectOptions(QStringLiteral("connect_timeout=5;options=-cclient_min_messages=warning"));
        ok = bd.open() && QSqlQuery(bd).exec(sql);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("administrar"));
    return ok;
}

// For initTestCase(): makes the program's database. Without a server the
// program ends as skipped (77), or fails when ./test.sh demands the server.
inline void Preparar()
{
    if (!EsServidor())
        return;
    Administrar(QStringLiteral("DROP DATABASE IF EXISTS ") + BaseDelPrograma());
    // UTF-8 and the C locale whatever the cluster's: length() then counts
    // characters, and nothing depends on the machine's language.
    if (Administrar(QStringLiteral("CREATE DATABASE ") + BaseDelPrograma() +
                    QStringLiteral(" ENCODING 'UTF8' LOCALE 'C' TEMPLATE template0")))
        return;
    std::fprintf(stderr, "No hay servidor PostgreSQL de prueba (PGHOST, PGPORT, PGUSER, PGPASSWORD): "
                         "./test.sh corre estas pruebas dentro de pg_virtualenv.\n");
    std::exit(qEnvironmentVariableIsSet("VANTORA_PRUEBA_EXIGIR_SERVIDOR") ? 1 : 77);
}

// For cleanupTestCase().
inline void Terminar()
{
    if (EsServidor())
        Administrar(QStringLiteral("DROP DATABASE IF EXISTS ") + BaseDelPrograma() + QStringLiteral(" WITH (FORCE)"));
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
// organic, with their own Ids.
inline QList<QVariantList> Registros(const QList<RegistroPrueba>& registros, bool servidor)
{
    const QString conservar = servidor ? QStringLiteral(" OVERRIDING SYSTEM VALUE") : QString();
    QList<QVariantList> sql{{QStringLiteral("DELETE FROM \"Tabla_Materiales\"")}};
    for (const RegistroPrueba& r : registros)
        sql.append({QStringLiteral("INSERT INTO \"Tabla_Materiales\" (\"Id\", producto, \"descripción\", "
                                   "\"Provedor principal\", \"indice de refracción\", densidad, abbe, material, "
                                   "\"material 2\")") +
                        conservar + QStringLiteral(" VALUES (?, ?, ?, 'Proveedor', ?, ?, 40, false, true)"),
                    r.id, r.producto, QStringLiteral("Descripción de ") + r.producto, r.indice, r.densidad});
    // New records then continue after the highest Id, as after a deletion.
    if (servidor)
        sql.append({QStringLiteral("SELECT setval(pg_get_serial_sequence('\"Tabla_Materiales\"', 'Id'), "
                                   "(SELECT COALESCE(max(\"Id\"), 0) + 1 FROM \"Tabla_Materiales\"), false)")});
    return sql;
}

inline bool EjecutarSql(const QString& archivo, const QList<QVariantList>& sentencias)
{
    bool ok = true;
    {
        QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sql"));
        bd.setDatabaseName(archivo);
        ok = bd.open() && bd.transaction();
        for (const QVariantList& s : sentencias) {
            QSqlQuery q(bd);
            ok = ok && q.prepare(s.value(0).toString());
            for (qsizetype i = 1; i < s.size(); ++i)
                q.addBindValue(s[i]);
            ok = ok && q.exec();
        }
        ok = ok && bd.commit();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("sql"));
    return ok;
}

// A catalogue file holding exactly these records, for the tests about files.
inline bool EscribirBase(const QString& archivo, const QList<RegistroPrueba>& registros)
{
    return !BaseMateriales(archivo.toStdString()).Preparar() && EjecutarSql(archivo, Registros(registros, false));
}

inline QByteArray Contenido(const QString& archivo)
{
    QFile f(archivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One empty catalogue for one test case: a file not yet there in a new
// folder, or the program's database without the table.
class CatalogoPrueba {
public:
    CatalogoPrueba()
    {
        if (almacen_prueba::EsServidor())
            Ejecutar({{QStringLiteral("DROP TABLE IF EXISTS \"Tabla_Materiales\"")}});
    }

    QString archivo() const { return dir.filePath(QStringLiteral("materiales.mdb")); }
    QString texto() const
    {
        return almacen_prueba::EsServidor() ? QStringLiteral("postgresql:///") + almacen_prueba::BaseDelPrograma()
                                            : archivo();
    }
    UbicacionCatalogo ubicacion() const { return UbicacionCatalogo::DeTexto(texto(), "/", QStringLiteral("prueba")); }

    // Runs SQL in one transaction through a connection of the test's own;
    // each statement is a text followed by its bound values.
    bool Ejecutar(const QList<QVariantList>& sentencias) const
    {
        bool ok = true;
        {
            QSqlDatabase bd = conectar();
            ok = bd.open() && bd.transaction();
            for (const QVariantList& s : sentencias) {
                // PostgreSQL prepares no CREATE or DROP.
                QSqlQuery q(bd);
                if (s.size() == 1) {
                    ok = ok && q.exec(s[0].toString());
                } else {
                    ok = ok && q.prepare(s.value(0).toString());
                    for (qsizetype i = 1; i < s.size(); ++i)
                        q.addBindValue(s[i]);
                    ok = ok && q.exec();
                }
                if (!ok)
                    qWarning("%s", qPrintable(q.lastError().text()));
            }
            ok = ok && bd.commit();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("prueba"));
        return ok;
    }

    // The catalogue as the program creates it, holding exactly these
    // records, all organic, with their own Ids.
    bool Escribir(const QList<RegistroPrueba>& registros) const
    {
        return !BaseMateriales(ubicacion()).Preparar() && Ejecutar(Registros(registros, almacen_prueba::EsServidor()));
    }

    // Everything the store holds of the catalogue: the file's bytes, or the
    // table's columns and rows on the server.
    QByteArray Volcado() const
    {
        if (!almacen_prueba::EsServidor())
            return Contenido(archivo());
        QByteArray v;
        {
            QSqlDatabase bd = conectar();
            bd.open();
            QSqlQuery q(bd);
            q.exec(QStringLiteral("SELECT column_name, data_type FROM information_schema.columns WHERE table_name = "
                                  "'Tabla_Materiales' ORDER BY ordinal_position"));
            while (q.next())
                v += q.value(0).toString().toUtf8() + ' ' + q.value(1).toString().toUtf8() + '\n';
            q.exec(QStringLiteral("SELECT * FROM \"Tabla_Materiales\" ORDER BY 1"));
            while (q.next())
                for (int i = 0; i < q.record().count(); ++i)
                    v += q.value(i).toString().toUtf8() + (i + 1 < q.record().count() ? ';' : '\n');
        }
        QSqlDatabase::removeDatabase(QStringLiteral("prueba"));
        return v;
    }

    QTemporaryDir dir;

private:
    QSqlDatabase conectar() const
    {
        if (!almacen_prueba::EsServidor()) {
            QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prueba"));
            bd.setDatabaseName(archivo());
            return bd;
        }
        QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("prueba"));
        bd.setDatabaseName(almacen_prueba::BaseDelPrograma());
        // The server's notices ("does not exist, skipping") are not test output.
        bd.setConnectOptions(QStringLiteral("options=-cclient_min_messages=warning"));
        return bd;
    }
};
