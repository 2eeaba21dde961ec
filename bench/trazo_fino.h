#pragma once

#include "bordes.h"

#include <cmath>
#include <numbers>
#include <vector>

// A rounded-rectangle frame of 52 × 40 mm traced at 1,000 radii, decentred
// 4 mm nasally as a 62 mm PD on an 18 mm bridge puts it: the fine trace the
// solver's benchmarks run on.
inline std::vector<lente::Punto> TrazoFino()
{
    std::vector<lente::Punto> forma;
    for (int i = 0; i < 1000; ++i) {
        const double a = 2.0 * std::numbers::pi * i / 1000.0;
        const double c = std::cos(a), s = std::sin(a);
        const double r = 1.0 / std::pow(std::pow(std::fabs(c) / 26.0, 4.0) + std::pow(std::fabs(s) / 20.0, 4.0), 0.25);
        forma.push_back({r * c, r * s});
    }
    return lente::Descentrar(forma, lente::Ojo::Derecho, lente::Centrado{18.0, 31.0, 20.0});
}
