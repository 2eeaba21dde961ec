#include "tabla_lateral.h"

#include "dialecto_sql.h"
#include "tabla_materiales.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QString citada(const TablaLateral& t) { return tabla::Citar(t.tabla); }

bool cargarIniciales(QSqlDatabase& bd, const TablaLateral& t)
{
    QSqlQuery todos(bd);
    QSqlQuery insertar(bd);
    if (!todos.exec(QStringLiteral("SELECT ") + tabla::Citar(tabla::kId) + u',' + tabla::Citar(tabla::kProducto) +
                    QStringLiteral(" FROM ") + tabla::Citar(tabla::kTabla)) ||
        !insertar.prepare(QStringLiteral("INSERT INTO ") + citada(t) + QStringLiteral(" (") + tabla::Citar(tabla::kId) +
                          u',' + tabla::Citar(t.columna) + QStringLiteral(") VALUES (?, ?)")))
        return false;
    while (todos.next()) {
        const auto valor = t.iniciales().constFind(todos.value(1).toString());
        if (valor == t.iniciales().constEnd())
            continue;
        insertar.bindValue(0, todos.value(0).toLongLong());
        insertar.bindValue(1, t.entera ? QVariant(qRound(*valor)) : QVariant(*valor));
        if (!insertar.exec())
            return false;
    }
    return true;
}

} // namespace

bool PrepararTablaLateral(QSqlDatabase& bd, const TablaLateral& t)
{
    if (!bd.isOpen())
        return false;
    if (!bd.record(citada(t)).isEmpty())
        return true;
    const QString c = tabla::Citar(t.columna);
    QSqlQuery q(bd);
    // No reference to the materials table: a release that deletes a material
    // without knowing of this table must not be stopped by it.
    const bool creada =
        bd.transaction() &&
        q.exec(QStringLiteral("CREATE TABLE ") + citada(t) + QStringLiteral(" (") + tabla::Citar(tabla::kId) +
               QStringLiteral(" BIGINT PRIMARY KEY, ") + c + u' ' +
               (t.entera ? QStringLiteral("INTEGER") : DialectoDe(bd).real) + QStringLiteral(" NOT NULL CHECK (") +
               t.rango.toString().arg(c) + QStringLiteral("))")) &&
        cargarIniciales(bd, t) && bd.commit();
    if (!creada)
        bd.rollback();
    return creada;
}

std::optional<double> ValorLateral(const QSqlDatabase& bd, const TablaLateral& t, long long id)
{
    QSqlQuery q(bd);
    std::optional<double> valor;
    if (bd.isOpen() && bd.record(citada(t)).isEmpty()) {
        if (!q.prepare(QStringLiteral("SELECT ") + tabla::Citar(tabla::kProducto) + QStringLiteral(" FROM ") +
                       tabla::Citar(tabla::kTabla) + QStringLiteral(" WHERE ") + tabla::Citar(tabla::kId) +
                       QStringLiteral(" = ?")))
            return std::nullopt;
        q.bindValue(0, id);
        if (!q.exec() || !q.next())
            return std::nullopt;
        const auto inicial = t.iniciales().constFind(q.value(0).toString());
        if (inicial != t.iniciales().constEnd())
            valor = *inicial;
    } else {
        if (!q.prepare(QStringLiteral("SELECT ") + tabla::Citar(t.columna) + QStringLiteral(" FROM ") + citada(t) +
                       QStringLiteral(" WHERE ") + tabla::Citar(tabla::kId) + QStringLiteral(" = ?")))
            return std::nullopt;
        q.bindValue(0, id);
        if (!q.exec() || !q.next())
            return std::nullopt;
        bool ok = false;
        valor = q.value(0).toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (valor && !t.valido(*valor))
        return std::nullopt;
    return valor;
}

bool GuardarValorLateral(QSqlDatabase& bd, const TablaLateral& t, long long id, std::optional<double> valor)
{
    if (!valor)
        return BorrarValorLateral(bd, t, id);
    if (!t.valido(*valor) || !PrepararTablaLateral(bd, t))
        return false;
    const QString tab = citada(t), i = tabla::Citar(tabla::kId), c = tabla::Citar(t.columna);
    const QVariant v = t.entera ? QVariant(qRound(*valor)) : QVariant(*valor);
    QSqlQuery q(bd);
    if (!q.prepare(QStringLiteral("UPDATE ") + tab + QStringLiteral(" SET ") + c + QStringLiteral(" = ? WHERE ") + i +
                   QStringLiteral(" = ?")))
        return false;
    q.bindValue(0, v);
    q.bindValue(1, id);
    if (!q.exec())
        return false;
    if (q.numRowsAffected() > 0)
        return true;
    if (!q.prepare(QStringLiteral("INSERT INTO ") + tab + QStringLiteral(" (") + i + u',' + c +
                   QStringLiteral(") VALUES (?, ?)")))
        return false;
    q.bindValue(0, id);
    q.bindValue(1, v);
    return q.exec();
}

bool BorrarValorLateral(QSqlDatabase& bd, const TablaLateral& t, long long id)
{
    if (bd.record(citada(t)).isEmpty())
        return true;
    QSqlQuery q(bd);
    if (!q.prepare(QStringLiteral("DELETE FROM ") + citada(t) + QStringLiteral(" WHERE ") + tabla::Citar(tabla::kId) +
                   QStringLiteral(" = ?")))
        return false;
    q.bindValue(0, id);
    return q.exec();
}
