#include "matriz_dioptrica.h"

#include <cmath>
#include <numbers>

namespace lente {

namespace {
constexpr double kGrado = std::numbers::pi / 180.0;
}

vec::Mat2 MatrizDioptrica(const EsferoCilindro& f)
{
    const double mx = -std::sin(f.eje * kGrado), my = std::cos(f.eje * kGrado);
    return {f.esfera + f.cilindro * mx * mx, f.cilindro * mx * my, f.cilindro * mx * my,
            f.esfera + f.cilindro * my * my};
}

EsferoCilindro EsferoCilindroDe(const vec::Mat2& m)
{
    const double b = (m.b + m.c) / 2.0;
    const double media = (m.a + m.d) / 2.0;
    const double j = std::hypot((m.a - m.d) / 2.0, b);
    double eje = std::atan2(2.0 * b, m.a - m.d) / 2.0 / kGrado;
    // atan2 gives (−90°, 90°]; −0 is 0.
    eje = eje < 0.0 ? eje + 180.0 : eje + 0.0;
    if (eje >= 180.0)
        eje -= 180.0;
    return {media + j, -2.0 * j, eje};
}

} // namespace lente
