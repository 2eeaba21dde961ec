#include "espesor_minimo.h"

#include "conexion_materiales.h"
#include "dialecto_sql.h"
#include "tabla_materiales.h"

#include <QFile>
#include <QLocale>
#include <QMap>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>
#include <utility>

using namespace espesor_minimo;

namespace {

QString tablaCitada() { return tabla::Citar(kTabla); }

// A thickness a lens can be made with: beyond 20 mm no blank reaches.
bool espesorValido(double e) { return std::isfinite(e) && e > 0.0 && e < 20.0; }

// The starter values by product name; empty when the starter file is
// unreadable or wrong, which leaves every material at the default.
const QMap<QString, double>& iniciales()
{
    static const QMap<QString, double> valores = [] {
        QMap<QString, double> v;
        QFile csv(QStringLiteral(":/materiales/espesores_iniciales.csv"));
        if (!csv.open(QIODevice::ReadOnly | QIODevice::Text))
            return v;
        bool cabecera = true;
        for (const QString& linea : QString::fromUtf8(csv.readAll()).split(u'\n')) {
            const QString limpia = linea.trimmed();
            if (limpia.isEmpty() || limpia.startsWith(u'#'))
                continue;
            if (std::exchange(cabecera, false))
                continue;
            const QStringList partes = limpia.split(u';');
            bool ok = false;
            const double espesor = partes.size() == 2 ? QLocale::c().toDouble(partes[1].trimmed(), &ok) : 0.0;
            if (!ok || !espesorValido(espesor))
                return QMap<QString, double>();
            v.insert(partes[0].trimmed(), espesor);
        }
        return v;
    }();
    return valores;
}

QString consultaProducto()
{
    return QStringLiteral("SELECT ") + tabla::Citar(tabla::kProducto) + QStringLiteral(" FROM ") +
           tabla::Citar(tabla::kTabla) + QStringLiteral(" WHERE ") + tabla::Citar(tabla::kId) + QStringLiteral(" = ?");
}

bool cargarIniciales(QSqlDatabase& bd)
{
    QSqlQuery todos(bd);
    QSqlQuery insertar(bd);
    if (!todos.exec(QStringLiteral("SELECT ") + tabla::Citar(tabla::kId) + u',' + tabla::Citar(tabla::kProducto) +
                    QStringLiteral(" FROM ") + tabla::Citar(tabla::kTabla)) ||
        !insertar.prepare(QStringLiteral("INSERT INTO ") + tablaCitada() + QStringLiteral(" (") + tabla::Citar(kId) +
                          u',' + tabla::Citar(kEspesor) + QStringLiteral(") VALUES (?, ?)")))
        return false;
    while (todos.next()) {
        const auto valor = iniciales().constFind(todos.value(1).toString());
        if (valor == iniciales().constEnd())
            continue;
        insertar.bindValue(0, todos.value(0).toLongLong());
        insertar.bindValue(1, *valor);
        if (!insertar.exec())
            return false;
    }
    return true;
}

} // namespace

bool PrepararEspesoresMinimos(QSqlDatabase& bd)
{
    if (!bd.isOpen())
        return false;
    if (!bd.record(tablaCitada()).isEmpty())
        return true;
    const Dialecto& d = DialectoDe(bd);
    const QString e = tabla::Citar(kEspesor);
    QSqlQuery q(bd);
    // No reference to the materials table: a release that deletes a material
    // without knowing of this table must not be stopped by it.
    const bool creada =
        bd.transaction() &&
        q.exec(QStringLiteral("CREATE TABLE ") + tablaCitada() + QStringLiteral(" (") + tabla::Citar(kId) +
               QStringLiteral(" BIGINT PRIMARY KEY, ") + e + u' ' + d.real + QStringLiteral(" NOT NULL CHECK (") + e +
               QStringLiteral(" > 0 AND ") + e + QStringLiteral(" < 20))")) &&
        cargarIniciales(bd) && bd.commit();
    if (!creada)
        bd.rollback();
    return creada;
}

double EspesorMinimoDe(const QSqlDatabase& bd, long long id)
{
    QSqlQuery q(bd);
    // A catalogue that could not gain the table (one the user may not write)
    // keeps the starter values of the materials that bear their names.
    if (bd.isOpen() && bd.record(tablaCitada()).isEmpty()) {
        if (!q.prepare(consultaProducto()))
            return kPorOmision;
        q.bindValue(0, id);
        if (!q.exec() || !q.next())
            return kPorOmision;
        return iniciales().value(q.value(0).toString(), kPorOmision);
    }
    if (!q.prepare(QStringLiteral("SELECT ") + tabla::Citar(kEspesor) + QStringLiteral(" FROM ") + tablaCitada() +
                   QStringLiteral(" WHERE ") + tabla::Citar(kId) + QStringLiteral(" = ?")))
        return kPorOmision;
    q.bindValue(0, id);
    if (!q.exec() || !q.next())
        return kPorOmision;
    bool ok = false;
    const double e = q.value(0).toDouble(&ok);
    return ok && espesorValido(e) ? e : kPorOmision;
}

double EspesorMinimoDe(const BaseMateriales& base, long long id)
{
    const ConexionMateriales conexion(base, QStringLiteral("EspesorMinimo"));
    return EspesorMinimoDe(conexion.bd(), id);
}

bool GuardarEspesorMinimo(QSqlDatabase& bd, long long id, double espesor)
{
    if (!espesorValido(espesor) || !PrepararEspesoresMinimos(bd))
        return false;
    const QString t = tablaCitada(), i = tabla::Citar(kId), e = tabla::Citar(kEspesor);
    QSqlQuery q(bd);
    if (!q.prepare(QStringLiteral("UPDATE ") + t + QStringLiteral(" SET ") + e + QStringLiteral(" = ? WHERE ") + i +
                   QStringLiteral(" = ?")))
        return false;
    q.bindValue(0, espesor);
    q.bindValue(1, id);
    if (!q.exec())
        return false;
    if (q.numRowsAffected() > 0)
        return true;
    if (!q.prepare(QStringLiteral("INSERT INTO ") + t + QStringLiteral(" (") + i + u',' + e +
                   QStringLiteral(") VALUES (?, ?)")))
        return false;
    q.bindValue(0, id);
    q.bindValue(1, espesor);
    return q.exec();
}

bool BorrarEspesorMinimo(QSqlDatabase& bd, long long id)
{
    if (bd.record(tablaCitada()).isEmpty())
        return true;
    QSqlQuery q(bd);
    if (!q.prepare(QStringLiteral("DELETE FROM ") + tablaCitada() + QStringLiteral(" WHERE ") + tabla::Citar(kId) +
                   QStringLiteral(" = ?")))
        return false;
    q.bindValue(0, id);
    return q.exec();
}
