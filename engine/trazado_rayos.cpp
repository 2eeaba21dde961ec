#include "trazado_rayos.h"

#include "numerico.h"

#include <cmath>

namespace rayos {

using vec::Dot;
using vec::Vec3;

double Esfera::Cortar(const Rayo& r) const
{
    // |o + s·d − V|² c − 2(o_z + s·d_z − z0) = 0, solved without cancellation:
    // the root c·s² + 2b·s + e = 0 with the smaller magnitude is e / q.
    const Vec3 o = r.origen - Vec3{0, 0, m_vertice};
    const double a = m_c * Dot(r.direccion, r.direccion);
    const double b = m_c * Dot(o, r.direccion) - r.direccion.z;
    const double e = m_c * Dot(o, o) - 2.0 * o.z;
    const double raiz = numerico::Raiz(b * b - a * e);
    const double q = -(b + std::copysign(raiz, b));
    if (q == 0.0)
        throw numerico::Falla{};
    const double cercano = e / q;
    const double lejano = a != 0.0 ? q / a : INFINITY;
    const auto enLaCara = [&](double s) { return std::isfinite(s) && m_c * (o.z + s * r.direccion.z) < 1.0; };
    const bool uno = enLaCara(cercano), otro = enLaCara(lejano);
    if (uno && (!otro || std::fabs(cercano) <= std::fabs(lejano)))
        return cercano;
    if (otro)
        return lejano;
    throw numerico::Falla{};
}

Vec3 Refractar(Vec3 d, Vec3 normal, double n1, double n2)
{
    double cosI = Dot(d, normal);
    if (cosI < 0.0) {
        normal = -1.0 * normal;
        cosI = -cosI;
    }
    const double mu = n1 / n2;
    const double k = 1.0 - mu * mu * (1.0 - cosI * cosI);
    if (!(k >= 0.0))
        throw numerico::Falla{};
    return mu * d + (std::sqrt(k) - mu * cosI) * normal;
}

} // namespace rayos
