#include "codigo_dcs.h"

#include "conexion_materiales.h"
#include "tabla_lateral.h"
#include "valores_iniciales.h"

#include <cmath>

using namespace codigo_dcs;

namespace {

// A class is a whole number of one digit, as the standard's table has them.
bool codigoValido(double c) { return c >= 1 && c <= 9 && c == std::floor(c); }

const QMap<QString, double>& iniciales()
{
    static const QMap<QString, double> valores =
        ValoresIniciales(QStringLiteral(":/materiales/codigos_dcs_iniciales.csv"), codigoValido);
    return valores;
}

constexpr TablaLateral kLateral{kTabla, kCodigo, true, u"%1 >= 1 AND %1 <= 9", codigoValido, iniciales};

} // namespace

bool PrepararCodigosDcs(QSqlDatabase& bd) { return PrepararTablaLateral(bd, kLateral); }

std::optional<int> CodigoDcsDe(const QSqlDatabase& bd, long long id)
{
    const auto v = ValorLateral(bd, kLateral, id);
    return v ? std::optional<int>(static_cast<int>(*v)) : std::nullopt;
}

std::optional<int> CodigoDcsDe(const BaseMateriales& base, long long id)
{
    const ConexionMateriales conexion(base, QStringLiteral("CodigoDCS"));
    return CodigoDcsDe(conexion.bd(), id);
}

std::map<long long, int> CodigosDcs(const QSqlDatabase& bd, std::span<const std::pair<long long, QString>> materiales)
{
    std::map<long long, int> codigos;
    for (const auto& [id, codigo] : ValoresLaterales(bd, kLateral, materiales))
        codigos[id] = static_cast<int>(codigo);
    return codigos;
}

bool GuardarCodigoDcs(QSqlDatabase& bd, long long id, std::optional<int> codigo)
{
    return GuardarValorLateral(bd, kLateral, id,
                               codigo ? std::optional<double>(static_cast<double>(*codigo)) : std::nullopt);
}

bool BorrarCodigoDcs(QSqlDatabase& bd, long long id) { return BorrarValorLateral(bd, kLateral, id); }
