#include "reglas_laboratorio.h"

#include <cmath>

namespace laboratorio {

bool BaseCorriente(double base)
{
    return base <= 1 || base == 3 || base == 4.5 || base == 6 || base == 8 || base == 10 || base == 12;
}

bool DiametroNormal(double diametro) { return diametro == 60 || diametro == 65; }

std::string_view ConsejoDiametro(double diametro)
{
    if (DiametroNormal(diametro))
        return kDiametroNormal;
    if (diametro > 71)
        return kDiametroPolicarbonato;
    if (diametro > 65)
        return kDiametroNoStandart;
    return kDiametroEspecial;
}

double DiametroMaximoFrontal(double indice, double poderExterno)
{
    const double poder = std::fabs(poderExterno);
    return poder > 0 ? std::trunc(2000.0 * (indice - 1.0) / poder) : INFINITY;
}

bool LenteMuyCurva(double radioExterno, double diametro) { return std::fabs(radioExterno) <= (diametro + 1.0) / 2.0; }

bool MaterialIncompatible(double radioExterno, double diametro)
{
    return std::fabs(radioExterno) <= (diametro + 2.0) / 2.0;
}

bool RequiereBlockEspecial(double espesorBorde, double sagitaExterna)
{
    constexpr double kBlockMaximo = 20.0;
    return espesorBorde + sagitaExterna >= kBlockMaximo;
}

} // namespace laboratorio
