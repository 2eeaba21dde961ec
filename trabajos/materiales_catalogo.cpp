#include "materiales_catalogo.h"

#include "base_materiales.h"
#include "codigo_dcs.h"
#include "conexion_materiales.h"
#include "espesor_minimo.h"
#include "plazo_servidor.h"
#include "tabla_materiales.h"

#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

namespace trabajos {

MaterialesDeCatalogo::MaterialesDeCatalogo(const BaseMateriales& base) : m_base(base) {}

const std::vector<MaterialesDeCatalogo::Fila>* MaterialesDeCatalogo::filas()
{
    if (m_filas)
        return &*m_filas;
    ConexionMateriales c(m_base, QStringLiteral("MaterialesTrabajo"));
    if (const auto falla = c.Reconectar()) {
        m_inaccesible = TextoInaccesible(c.nombreBase(), *falla);
        return nullptr;
    }
    if (!c.abierta()) {
        m_inaccesible = "no se pudo abrir la Base de Datos de Materiales " + c.nombreBase();
        return nullptr;
    }
    const VigiaServidor vigia(c.bd());
    std::vector<Fila> filas;
    QSqlQuery q(c.bd());
    q.setForwardOnly(true);
    const bool leida =
        q.exec(QStringLiteral("SELECT ") + tabla::Citar(tabla::kId) + u',' + tabla::Citar(tabla::kProducto) + u',' +
               tabla::Citar(tabla::kIndice) + u',' + tabla::Citar(tabla::kDensidad) + QStringLiteral(" FROM ") +
               tabla::Citar(tabla::kTabla) + QStringLiteral(" ORDER BY ") + tabla::Citar(tabla::kId));
    while (leida && q.next()) {
        bool indiceOk = false, densidadOk = false;
        const double indice = q.value(2).toDouble(&indiceOk), densidad = q.value(3).toDouble(&densidadOk);
        // A record that cannot feed a calculation is no material to make.
        if (!indiceOk || !densidadOk || !std::isfinite(indice) || !std::isfinite(densidad) || indice <= 1.0 ||
            densidad < 0.0)
            continue;
        const QString nombre = q.value(1).toString();
        filas.push_back({q.value(0).toLongLong(), nombre, {nombre.toStdString(), indice, densidad, std::nullopt}, {}});
    }
    const std::string motivo = q.lastError().text().trimmed().toStdString();
    q.finish();
    // Each side table in one read, not a look-up a material.
    std::vector<std::pair<long long, QString>> productos;
    for (const Fila& f : filas)
        productos.emplace_back(f.id, f.nombre);
    const std::map<long long, double> espesores = EspesoresMinimos(c.bd(), productos);
    const std::map<long long, int> codigos = CodigosDcs(c.bd(), productos);
    for (Fila& f : filas) {
        const auto espesor = espesores.find(f.id);
        f.material.centroMin = espesor != espesores.end() ? espesor->second : espesor_minimo::kPorOmision;
        if (const auto codigo = codigos.find(f.id); codigo != codigos.end())
            f.codigo = codigo->second;
    }
    if (ConexionPerdida(c.bd())) {
        m_inaccesible = TextoInaccesible(c.nombreBase(), vigia.MotivoPerdida());
        return nullptr;
    }
    if (!leida) {
        m_inaccesible = "no se pudo leer la Base de Datos de Materiales " + c.nombreBase() + ": " + motivo;
        return nullptr;
    }
    m_inaccesible.clear();
    m_filas = std::move(filas);
    return &*m_filas;
}

std::optional<MaterialTrabajo> MaterialesDeCatalogo::Buscar(std::string_view nombre)
{
    const auto* todas = filas();
    if (!todas)
        return std::nullopt;
    const QString buscado = QString::fromUtf8(nombre.data(), static_cast<qsizetype>(nombre.size())).trimmed();
    for (const Fila& f : *todas)
        if (QString::compare(f.nombre.trimmed(), buscado, Qt::CaseInsensitive) == 0)
            return f.material;
    return std::nullopt;
}

std::vector<MaterialTrabajo> MaterialesDeCatalogo::PorCodigo(int codigo, double indice)
{
    std::vector<MaterialTrabajo> hallados;
    const auto* todas = filas();
    if (!todas)
        return hallados;
    for (const Fila& f : *todas)
        if (f.codigo == codigo && std::abs(f.material.indice - indice) <= kToleranciaIndice + 1e-9)
            hallados.push_back(f.material);
    return hallados;
}

} // namespace trabajos
