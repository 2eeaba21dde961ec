#include "redondeo.h"

#include <cmath>

namespace {

double redondear(double x, double escala)
{
    // Beyond 1e15 a double has no fractional digits left to round, and
    // scaling could overflow.
    if (!std::isfinite(x) || std::fabs(x) >= 1e15)
        return x;
    const double signo = x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
    return std::trunc(x * escala + signo * 0.5) / escala;
}

} // namespace

double Redondear2(double x) { return redondear(x, 100.0); }
double Redondear1(double x) { return redondear(x, 10.0); }
