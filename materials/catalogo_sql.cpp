#include "catalogo_sql.h"

#include "busqueda_material.h"
#include "plazo_servidor.h"
#include "tabla_materiales.h"
#include "texto_qt.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>

namespace {

std::optional<double> Finito(const QVariant& valor)
{
    if (valor.isNull())
        return std::nullopt;
    bool ok = false;
    const double numero = valor.toDouble(&ok);
    if (!ok || !std::isfinite(numero))
        return std::nullopt;
    return numero;
}

std::optional<Material> AMaterial(const std::optional<QSqlRecord>& registro)
{
    if (!registro)
        return std::nullopt;
    const QSqlRecord& r = *registro;
    const std::optional<double> indice = Finito(r.value(tabla::kIndice.toString()));
    const std::optional<double> densidad = Finito(r.value(tabla::kDensidad.toString()));
    if (!indice || !densidad)
        return std::nullopt;
    Material m;
    m.Id = r.value(tabla::kId.toString()).toLongLong();
    m.producto = r.value(tabla::kProducto.toString()).toString().toStdString();
    m.descripcion = r.value(tabla::kDescripcion.toString()).toString().toStdString();
    m.proveedor = r.value(tabla::kProveedor.toString()).toString().toStdString();
    m.indice = *indice;
    m.densidad = *densidad;
    m.abbe = Finito(r.value(tabla::kAbbe.toString())).value_or(0.0);
    m.mineral = r.value(tabla::kMineral.toString()).toInt() != 0;
    m.organico = r.value(tabla::kOrganico.toString()).toInt() != 0;
    return m;
}

} // namespace

CatalogoSql::CatalogoSql(const BaseMateriales& base) : m_conexion(base, QStringLiteral("Data_Materiales")) {}

// The calls only read, so one cut short by a connection lost before it (a
// restarted server) is asked once more on a new connection.
template <typename Pregunta>
auto CatalogoSql::preguntar(Pregunta pregunta) -> decltype(pregunta())
{
    m_inaccesible.clear();
    std::string motivo = "se perdió la conexión con el servidor";
    for (int intento = 0; intento < 2; ++intento) {
        if (const std::optional<std::string> falla = m_conexion.Reconectar()) {
            motivo = *falla;
            break;
        }
        if (!m_conexion.abierta())
            return {};
        const VigiaServidor vigia(m_conexion.bd());
        auto respuesta = pregunta();
        if (!ConexionPerdida(m_conexion.bd()))
            return respuesta;
        if (vigia.vencido()) {
            motivo = TextoPlazoVencido();
            break;
        }
    }
    m_inaccesible = TextoInaccesible(m_conexion.nombreBase(), motivo);
    return {};
}

std::vector<std::string> CatalogoSql::Productos()
{
    return preguntar([&] {
        std::vector<std::string> productos;
        QSqlQuery q(m_conexion.bd());
        q.setForwardOnly(true);
        const QString producto = tabla::Citar(tabla::kProducto);
        if (!q.exec(QStringLiteral("SELECT ") + producto + QStringLiteral(" FROM ") + tabla::Citar(tabla::kTabla) +
                    QStringLiteral(" WHERE ") + producto + QStringLiteral(" <> '' ORDER BY ") +
                    tabla::Citar(tabla::kId)))
            return productos;
        while (q.next())
            productos.push_back(q.value(0).toString().toStdString());
        return productos;
    });
}

std::optional<Material> CatalogoSql::BuscarPorNombre(std::string_view texto)
{
    return preguntar([&] { return AMaterial(PrimerRegistroPorNombre(m_conexion.bd(), Q(texto))); });
}

std::optional<Material> CatalogoSql::BuscarPorNombreEntero(std::string_view texto)
{
    return preguntar([&] { return AMaterial(PrimerRegistroPorNombre(m_conexion.bd(), Q(texto), true)); });
}

std::optional<Material> CatalogoSql::BuscarPorId(std::string_view digitos)
{
    return preguntar([&] { return AMaterial(PrimerRegistroPorId(m_conexion.bd(), Q(digitos))); });
}

long long CatalogoSql::Cantidad()
{
    return preguntar([&] {
        QSqlQuery q(m_conexion.bd());
        if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + tabla::Citar(tabla::kTabla)) || !q.next())
            return 0LL;
        return q.value(0).toLongLong();
    });
}
