#include "geometria_perfil.h"

#include "numerico.h"

#include <cmath>

using numerico::Dividir;
using numerico::Finito;
using numerico::Raiz;

namespace {

// The drawing's sagitta, as the saved design has always been drawn: a
// negative radius (a floored concave front) keeps its own sign convention.
double sagita(double r, double h) { return Finito(r - Raiz(Finito(r * r - h * h))); }

// Angle from the axis to the edge of a face, seen from its centre.
double semiangulo(double r, double h)
{
    const double seno = Dividir(h, r);
    return Finito(std::atan(Dividir(seno, Raiz(Finito(1.0 - seno * seno)))));
}

} // namespace

double Sagita(double r, double h)
{
    const double raiz = Raiz(Finito(r * r - h * h));
    return Finito(r < 0.0 ? r + raiz : r - raiz);
}

double VolumenCasquete(double h, double s)
{
    // 0.52370472 as the weights have always been computed with it.
    constexpr double kMedioPi = 1.5708;
    constexpr double kSextoPi = 0.52370472;
    return Finito(kMedioPi * h * h * s + kSextoPi * s * s * s);
}

Superficies CalcularSuperficies(double P1, double P2, double n, double D, Pisos pisos)
{
    constexpr double kPoderMinimo = 0.1;
    Superficies s;
    if (pisos == Pisos::Guardado) {
        s.P1 = std::fabs(P1) < kPoderMinimo ? kPoderMinimo : P1;
        s.P2 = std::fabs(P2) < kPoderMinimo ? kPoderMinimo : P2;
    } else {
        s.P1 = P1 < kPoderMinimo ? kPoderMinimo : P1;
        s.P2 = P2 == 0.0 ? kPoderMinimo : P2;
    }
    s.R1 = Dividir(n - 1.0, s.P1) * 1000.0;
    s.R2 = Dividir(n - 1.0, s.P2) * 1000.0;
    s.h = Finito(D / 2.0);
    s.menisco = s.P2 < 0.0;
    if (s.menisco)
        s.R2 = std::fabs(s.R2);
    s.R1 = Finito(s.R1);
    s.R2 = Finito(s.R2);
    s.s1 = sagita(s.R1, s.h);
    s.s2 = sagita(s.R2, s.h);
    s.V1 = VolumenCasquete(s.h, s.s1);
    s.V2 = VolumenCasquete(s.h, s.s2);
    if (pisos == Pisos::Guardado && s.P1 < 0.0)
        s.V1 = -s.V1;
    if (s.menisco)
        s.V2 = -s.V2;
    s.a1 = semiangulo(s.R1, s.h);
    s.a2 = semiangulo(s.R2, s.h);
    return s;
}

double EspesorBordeLente(const Superficies& s, double t)
{
    return Finito(s.menisco ? t - s.s1 + s.s2 : t - s.s1 - s.s2);
}

double PesoLente(const Superficies& s, double t, double densidad)
{
    const double disco = EspesorBordeLente(s, t) * s.h * s.h * kPiDisco;
    return Finito(densidad * (s.V1 + s.V2 + disco) / 1000.0);
}

Trazado TrazarPerfil(const Superficies& s, double t, double ex, double ey)
{
    const double pi = 4.0 * std::atan(1.0);
    Trazado z;
    z.r1 = Finito(s.R1 * ex);
    z.r2 = Finito(s.R2 * ex);
    z.t = Finito(t * ex);
    z.h = Finito(s.h * ey);
    z.cx1 = 150.0 + z.r1;
    z.cx2 = s.menisco ? 150.0 + z.t + z.r2 : 150.0 + z.t - z.r2;
    const double semi = Dividir(z.h, ey);
    z.g1 = sagita(Dividir(z.r1, ex), semi);
    z.g2 = sagita(Dividir(z.r2, ex), semi);
    z.xFE = 150.0 + z.g1 * ex;
    z.xBE = s.menisco ? 150.0 + z.t + z.g2 * ex : 150.0 + z.t - z.g2 * ex;
    z.inicio1 = pi - s.a1;
    z.fin1 = pi + s.a1;
    z.inicio2 = s.menisco ? pi - s.a2 : 2.0 * pi - s.a2;
    z.fin2 = s.menisco ? pi + s.a2 : s.a2;
    return z;
}
