#pragma once

#include <cmath>

// Arithmetic that refuses to go on with an impossible number: a division by
// zero, the square root of a negative number or a result that overflows is a
// numeric failure, which the lens routines answer with their recovery.
namespace numerico {

struct Falla {};

inline double Finito(double x)
{
    if (!std::isfinite(x))
        throw Falla{};
    return x;
}

inline double Dividir(double a, double b)
{
    if (b == 0.0 || std::isnan(b))
        throw Falla{};
    return Finito(a / b);
}

inline double Raiz(double x)
{
    if (!(x >= 0.0))
        throw Falla{};
    return Finito(std::sqrt(x));
}

// Radius factor of a surfacing tool of index 1.523: radius (m) = 0.523 / power.
// Kept as 1.523 − 1 so that a material of index 1.523 gives a front power
// exactly equal to the base curve.
inline constexpr double kFactorMolde = 1.523 - 1.0;

} // namespace numerico
