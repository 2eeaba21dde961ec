#include "lente_en_uso.h"

#include "numerico.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lente {

using rayos::Rayo;
using vec::Dot;
using vec::Mat2;
using vec::Mat3;
using vec::Vec3;

namespace {

constexpr double kGrado = std::numbers::pi / 180.0;
// The eye's centre of rotation lies this far behind the cornea.
constexpr double kCorneaCentro = 13.5;
// The bundle's half-widths, mm: central differences at both and one
// Richardson step leave an error far below a micro-dioptre.
constexpr double kPaso = 0.1;

// The lens turned about its back vertex: the wrap first, then the tilt.
Mat3 giroDelMontaje(const Montaje& m)
{
    const double p = m.pantoscopico * kGrado, w = m.envolvente * kGrado;
    const double sigma = m.ojo == Ojo::Derecho ? -1.0 : 1.0;
    const Mat3 rx{{{1, 0, 0}, {0, std::cos(p), std::sin(p)}, {0, -std::sin(p), std::cos(p)}}};
    const Mat3 ry{{{std::cos(w), 0, -sigma * std::sin(w)}, {0, 1, 0}, {sigma * std::sin(w), 0, std::cos(w)}}};
    return rx * ry;
}

// Listing's law: the eye reaches a gaze by the one rotation about an axis
// in the plane at right angles to the primary line of sight. The rotation
// taking the unit u to the unit w is I + [u×w]× + [u×w]×²/(1 + u·w).
Vec3 girarListing(Vec3 x, Vec3 u, Vec3 w)
{
    const Vec3 eje = vec::Cross(u, w);
    const double c = Dot(u, w);
    const Vec3 ex = vec::Cross(eje, x);
    return x + ex + numerico::Dividir(1.0, 1.0 + c) * vec::Cross(eje, ex);
}

struct Corte {
    double x, y, p, q;
};

} // namespace

LenteEnUso::LenteEnUso(const LenteOptica& lente, const Montaje& montaje)
    : m_n(lente.indice),
      m_frontal(0.0, numerico::Dividir(lente.frontal, 1000.0 * (lente.indice - 1.0))),
      m_reverso(CaraInterna::DePoderes(lente.reversoEje, lente.reversoCruz, lente.ejeReverso, lente.indice,
                                       lente.prisma, lente.basePrisma)),
      m_giro(giroDelMontaje(montaje)),
      m_vertice{0, 0, lente.espesor},
      m_d(montaje.distanciaVertice + kCorneaCentro)
{
}

LenteEnUso::Salida LenteEnUso::haciaElOjo(const Rayo& rayo) const
{
    const Vec3 p1 = rayos::PuntoEn(rayo, m_frontal.Cortar(rayo));
    const Vec3 d1 = rayos::Refractar(rayo.direccion, m_frontal.Normal(p1), 1.0, m_n);
    const Rayo dentro{p1, d1};
    const Vec3 p2 = rayos::PuntoEn(dentro, m_reverso.Cortar(p1 - m_vertice, d1));
    return {p2, rayos::Refractar(d1, m_reverso.Normal(p2 - m_vertice), m_n, 1.0)};
}

Mat2 LenteEnUso::Vergencia(Mirada mirada) const
{
    const double h = mirada.h * kGrado, v = mirada.v * kGrado;
    const Vec3 frente{0, 0, -1};
    const Vec3 g{std::cos(v) * std::sin(h), std::sin(v), -std::cos(v) * std::cos(h)};
    // Everything in the lens's own frame: the eye turned back by the mount.
    const Mat3 alLente = vec::Transpose(m_giro);
    const Vec3 gl = alLente * g;
    const Vec3 e1 = alLente * girarListing({1, 0, 0}, frente, g);
    const Vec3 e2 = alLente * girarListing({0, 1, 0}, frente, g);
    const Vec3 centro = m_vertice + alLente * Vec3{0, 0, m_d};
    const Vec3 q = centro + m_d * gl;

    // The chief ray from the centre of rotation out through the lens; light
    // from the object comes back along it.
    const Rayo principal{centro, gl};
    const Vec3 p2 = rayos::PuntoEn(principal, m_reverso.Cortar(centro - m_vertice, gl));
    const Vec3 d2 = rayos::Refractar(gl, m_reverso.Normal(p2 - m_vertice), 1.0, m_n);
    const Rayo dentro{p2, d2};
    const Vec3 p1 = rayos::PuntoEn(dentro, m_frontal.Cortar(dentro));
    const Vec3 k = -1.0 * rayos::Refractar(d2, m_frontal.Normal(p1), m_n, 1.0);

    const Vec3 u1raw = e1 - Dot(e1, k) * k;
    const Vec3 u1 = numerico::Dividir(1.0, vec::Norm(u1raw)) * u1raw;
    const Vec3 u2 = vec::Cross(k, u1);
    // Where a ray of the bundle, offset by (a, b) across k at the front,
    // cuts the plane through Q at right angles to the line of sight. The cut
    // may lie before the back: the parameter is signed.
    const auto cortar = [&](double a, double b) {
        const Salida s = haciaElOjo({p1 + a * u1 + b * u2, k});
        const Vec3 x = s.punto + numerico::Dividir(Dot(q - s.punto, gl), Dot(s.direccion, gl)) * s.direccion;
        return Corte{Dot(x - q, e1), Dot(x - q, e2), Dot(s.direccion, e1), Dot(s.direccion, e2)};
    };
    // The derivatives by central differences at two widths, and Richardson.
    const auto derivada = [&](double a, double b) {
        const auto diferencia = [&](double f) {
            const Corte mas = cortar(f * a, f * b), menos = cortar(-f * a, -f * b);
            const double dos = 2.0 * f * kPaso;
            return Corte{(mas.x - menos.x) / dos, (mas.y - menos.y) / dos, (mas.p - menos.p) / dos,
                         (mas.q - menos.q) / dos};
        };
        const Corte ancho = diferencia(1.0), fino = diferencia(0.5);
        const auto r = [](double f, double a) { return (4.0 * f - a) / 3.0; };
        return Corte{r(fino.x, ancho.x), r(fino.y, ancho.y), r(fino.p, ancho.p), r(fino.q, ancho.q)};
    };
    const Corte da = derivada(kPaso, 0.0), db = derivada(0.0, kPaso);
    const Mat2 posicion{da.x, db.x, da.y, db.y};
    const Mat2 direccion{da.p, db.p, da.q, db.q};
    const double det = Det(posicion);
    const Mat2 inversa = numerico::Dividir(1.0, det) * Mat2{posicion.d, -posicion.b, -posicion.c, posicion.a};
    const Mat2 v2 = vec::Symmetric(-1000.0 * (direccion * inversa));
    return {numerico::Finito(v2.a), numerico::Finito(v2.b), numerico::Finito(v2.c), numerico::Finito(v2.d)};
}

Mirada LenteEnUso::MiradaHacia(Punto p) const
{
    const Vec3 enLente{p.x, p.y, m_reverso.ProfundidadEn(p)};
    const Vec3 g = m_giro * enLente - Vec3{0, 0, m_d};
    const double largo = numerico::Dividir(1.0, vec::Norm(g));
    return {std::atan2(g.x, -g.z) / kGrado, std::asin(std::clamp(g.y * largo, -1.0, 1.0)) / kGrado};
}

} // namespace lente
