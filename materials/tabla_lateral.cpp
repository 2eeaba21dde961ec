#include "tabla_lateral.h"

#include "dialecto_sql.h"
#include "tabla_materiales.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QString citada(const TablaLateral& t) { return tabla::Citar(t.tabla); }

// A catalogue that could not gain the table (one the user may not write)
// keeps the starter values of the materials that bear their names.
bool sinTabla(const QSqlDatabase& bd, const TablaLateral& t) { return bd.isOpen() && bd.record(citada(t)).isEmpty(); }

std::optional<double> inicial(const TablaLateral& t, const QString& producto)
{
    const auto v = t.iniciales().constFind(producto);
    return v != t.iniciales().constEnd() && t.valido(*v) ? std::optional(*v) : std::nullopt;
}

// A value read from the table, when it is one the table may hold.
std::optional<double> guardado(const TablaLateral& t, const QVariant& v)
{
    bool ok = false;
    const double x = v.toDouble(&ok);
    return ok && t.valido(x) ? std::optional(x) : std::nullopt;
}

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
    const bool sin = sinTabla(bd, t);
    QSqlQuery q(bd);
    if (!q.prepare(QStringLiteral("SELECT ") + tabla::Citar(sin ? tabla::kProducto : t.columna) +
                   QStringLiteral(" FROM ") + (sin ? tabla::Citar(tabla::kTabla) : citada(t)) +
                   QStringLiteral(" WHERE ") + tabla::Citar(tabla::kId) + QStringLiteral(" = ?")))
        return std::nullopt;
    q.bindValue(0, id);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return sin ? inicial(t, q.value(0).toString()) : guardado(t, q.value(0));
}

std::map<long long, double> ValoresLaterales(const QSqlDatabase& bd, const TablaLateral& t,
                                             std::span<const std::pair<long long, QString>> materiales)
{
    std::map<long long, double> valores;
    const auto poner = [&](long long id, std::optional<double> v) {
        if (v)
            valores[id] = *v;
    };
    if (sinTabla(bd, t)) {
        for (const auto& [id, producto] : materiales)
            poner(id, inicial(t, producto));
        return valores;
    }
    QSqlQuery q(bd);
    q.setForwardOnly(true);
    if (q.exec(QStringLiteral("SELECT ") + tabla::Citar(tabla::kId) + u',' + tabla::Citar(t.columna) +
               QStringLiteral(" FROM ") + citada(t)))
        while (q.next())
            poner(q.value(0).toLongLong(), guardado(t, q.value(1)));
    return valores;
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
