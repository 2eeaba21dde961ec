#include "bordes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lente {

namespace {

constexpr int kPuntosVuelta = 360;
constexpr double kGrado = std::numbers::pi / 180.0;

} // namespace

std::vector<Punto> BordeRedondo(double diametro) { return BordeElipse(diametro, diametro); }

std::vector<Punto> BordeElipse(double ancho, double alto)
{
    const double a = ancho / 2.0;
    const double b = alto / 2.0;
    std::vector<Punto> puntos;
    puntos.reserve(kPuntosVuelta);
    for (int i = 0; i < kPuntosVuelta; ++i) {
        const double c = std::cos(i * kGrado);
        const double s = std::sin(i * kGrado);
        // The ellipse's own radius in that direction, so that the point lies
        // at the polar angle i°, not at the parameter i°.
        const double r = a * b / std::hypot(b * c, a * s);
        puntos.push_back({r * c, r * s});
    }
    return puntos;
}

Caja CajaDe(std::span<const Punto> forma)
{
    if (forma.empty())
        return {};
    const auto [minX, maxX] =
        std::minmax_element(forma.begin(), forma.end(), [](const Punto& a, const Punto& b) { return a.x < b.x; });
    const auto [minY, maxY] =
        std::minmax_element(forma.begin(), forma.end(), [](const Punto& a, const Punto& b) { return a.y < b.y; });
    return {maxX->x - minX->x, maxY->y - minY->y, {(maxX->x + minX->x) / 2.0, (maxY->y + minY->y) / 2.0}};
}

bool DentroDelBorde(std::span<const Punto> borde, Punto p)
{
    bool adentro = false;
    for (std::size_t i = 0, j = borde.size() - 1; i < borde.size(); j = i++) {
        const Punto& a = borde[i];
        const Punto& b = borde[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
            adentro = !adentro;
    }
    return adentro;
}

std::vector<Punto> Descentrar(std::span<const Punto> forma, Ojo ojo, const std::optional<Centrado>& centrado)
{
    const Caja caja = CajaDe(forma);
    Punto oc = caja.centro;
    if (centrado) {
        const double nasal = ojo == Ojo::Derecho ? 1.0 : -1.0;
        oc.x += nasal * ((caja.ancho + centrado->puente) / 2.0 - centrado->dp);
        oc.y += centrado->altura - caja.alto / 2.0;
    }
    std::vector<Punto> puntos;
    puntos.reserve(forma.size());
    for (const Punto& p : forma)
        puntos.push_back({p.x - oc.x, p.y - oc.y});
    return puntos;
}

double BloqueMinimo(std::span<const Punto> borde)
{
    double alcance = 0.0;
    for (const Punto& p : borde)
        alcance = std::max(alcance, std::hypot(p.x, p.y));
    return 2.0 * alcance + 2.0;
}

std::optional<int> BloqueEstandar(double minimo)
{
    for (int d = 50; d <= 80; d += 5)
        if (d >= minimo)
            return d;
    return std::nullopt;
}

} // namespace lente
