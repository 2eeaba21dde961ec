#pragma once

#include "apoyo/dialogos_prueba.h"
#include "base_materiales.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

// A record written straight into a test's materials file.
struct RegistroPrueba {
    qlonglong id = 0;
    QString producto;
    double indice = 1.5;
    double densidad = 1.3;
};

// Runs SQL on a file in one transaction, through a connection of the test's
// own; each statement is a text followed by its bound values.
inline bool EjecutarSql(const QString& archivo, const QList<QVariantList>& sentencias)
{
    bool ok = true;
    {
        QSqlDatabase bd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prueba"));
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
    QSqlDatabase::removeDatabase(QStringLiteral("prueba"));
    return ok;
}

// The materials file as the program creates it, holding exactly these
// records, all organic.
inline bool EscribirBase(const QString& archivo, const QList<RegistroPrueba>& registros)
{
    DialogosPrueba mudo;
    if (!BaseMateriales(archivo.toStdString()).Abrir(mudo))
        return false;
    QList<QVariantList> sql{{QStringLiteral("DELETE FROM Tabla_Materiales")}};
    for (const RegistroPrueba& r : registros)
        sql.append(
            {QStringLiteral("INSERT INTO Tabla_Materiales (Id, producto, \"descripción\", \"Provedor principal\", "
                            "\"indice de refracción\", densidad, abbe, material, \"material 2\") "
                            "VALUES (?, ?, ?, 'Proveedor', ?, ?, 40, 0, 1)"),
             r.id, r.producto, QStringLiteral("Descripción de ") + r.producto, r.indice, r.densidad});
    return EjecutarSql(archivo, sql);
}

// Records with these names, numbered 1, 2, ... in the order given.
inline QList<RegistroPrueba> Nombres(const QStringList& nombres)
{
    QList<RegistroPrueba> registros;
    for (const QString& n : nombres)
        registros.append({registros.size() + 1, n});
    return registros;
}

inline QByteArray Contenido(const QString& archivo)
{
    QFile f(archivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
