#include "espesor_minimo.h"

#include "conexion_materiales.h"
#include "tabla_lateral.h"
#include "valores_iniciales.h"

#include <cmath>

using namespace espesor_minimo;

namespace {

// A thickness a lens can be made with: beyond 20 mm no blank reaches.
bool espesorValido(double e) { return std::isfinite(e) && e > 0.0 && e < 20.0; }

const QMap<QString, double>& iniciales()
{
    static const QMap<QString, double> valores =
        ValoresIniciales(QStringLiteral(":/materiales/espesores_iniciales.csv"), espesorValido);
    return valores;
}

constexpr TablaLateral kLateral{kTabla, kEspesor, false, u"%1 > 0 AND %1 < 20", espesorValido, iniciales};

} // namespace

bool PrepararEspesoresMinimos(QSqlDatabase& bd) { return PrepararTablaLateral(bd, kLateral); }

double EspesorMinimoDe(const QSqlDatabase& bd, long long id)
{
    return ValorLateral(bd, kLateral, id).value_or(kPorOmision);
}

double EspesorMinimoDe(const BaseMateriales& base, long long id)
{
    const ConexionMateriales conexion(base, QStringLiteral("EspesorMinimo"));
    return EspesorMinimoDe(conexion.bd(), id);
}

std::map<long long, double> EspesoresMinimos(const QSqlDatabase& bd,
                                             std::span<const std::pair<long long, QString>> materiales)
{
    return ValoresLaterales(bd, kLateral, materiales);
}

bool GuardarEspesorMinimo(QSqlDatabase& bd, long long id, double espesor)
{
    return GuardarValorLateral(bd, kLateral, id, espesor);
}

bool BorrarEspesorMinimo(QSqlDatabase& bd, long long id) { return BorrarValorLateral(bd, kLateral, id); }
