#include "receta.h"

#include "base_sugerida.h"
#include "geometria_perfil.h"
#include "numerico.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>

using numerico::Dividir;
using numerico::Finito;
using numerico::Raiz;

namespace lente {

namespace {

// The solve stops when a pass moves the centre by less than a nanometre; a
// lens settles in a handful of passes, so one that has not after 200 never
// will.
constexpr double kTolerancia = 1e-9;
constexpr int kPasadasMaximas = 200;
// Edge thicknesses closer than this are the same edge: the first in order is
// reported, not whichever rounding favours.
constexpr double kEmpate = 1e-9;

constexpr double kGrado = std::numbers::pi / 180.0;

Cara caraDe(double poder, double n)
{
    Cara c{poder, std::nullopt};
    if (poder != 0.0)
        c.radio = Dividir((1.0 - n) * 1000.0, poder);
    return c;
}

double anguloDe(Punto p)
{
    double a = std::atan2(p.y, p.x) / kGrado;
    if (a < 0.0)
        a += 360.0;
    return a;
}

// Gauss–Legendre nodes and weights on [0, 1] along the radius, where the
// thickness is a low polynomial of the distance.
constexpr std::array<double, 3> kNodoRadial = {0.1127016653792583, 0.5, 0.8872983346207417};
constexpr std::array<double, 3> kPesoRadial = {5.0 / 18.0, 8.0 / 18.0, 5.0 / 18.0};

// Volume under the thickness over the outline, in polar sectors about the
// outline's mean point, the radius running linearly in angle from one edge
// point to the next: a round blank is then the whole disc, not a polygon
// inside it. Each sector is taken along its bisector (the midpoint rule,
// very accurate for a thickness that is smooth and periodic in angle);
// sectors that turn backwards subtract.
double volumenDentro(const LenteTorica& lente, std::span<const Punto> borde)
{
    Punto c;
    for (const Punto& p : borde) {
        c.x += p.x;
        c.y += p.y;
    }
    c.x /= static_cast<double>(borde.size());
    c.y /= static_cast<double>(borde.size());
    double total = 0.0;
    for (std::size_t i = 0; i < borde.size(); ++i) {
        const Punto& p = borde[i];
        const Punto& q = borde[(i + 1) % borde.size()];
        const double px = p.x - c.x, py = p.y - c.y;
        const double qx = q.x - c.x, qy = q.y - c.y;
        const double r0 = std::sqrt(px * px + py * py);
        const double r1 = std::sqrt(qx * qx + qy * qy);
        if (r0 == 0.0 || r1 == 0.0)
            continue;
        const double giro = std::atan2(px * qy - py * qx, px * qx + py * qy);
        // The bisector of the two directions, at the mean radius.
        const double bx = px / r0 + qx / r1, by = py / r0 + qy / r1;
        const double largo = std::sqrt(bx * bx + by * by);
        if (largo == 0.0)
            continue;
        const double r = (r0 + r1) / 2.0;
        const double ux = r * bx / largo, uy = r * by / largo;
        double radial = 0.0;
        for (std::size_t j = 0; j < kNodoRadial.size(); ++j) {
            const double s = kNodoRadial[j];
            radial += kPesoRadial[j] * s * lente.Espesor({c.x + s * ux, c.y + s * uy});
        }
        total += giro * r * r * radial;
    }
    return Finito(std::fabs(total));
}

std::string mm(double x)
{
    char texto[32];
    const auto fin = std::to_chars(texto, texto + sizeof texto, x, std::chars_format::fixed, 1).ptr;
    return std::string(texto, fin);
}

} // namespace

double MeridianoMasPositivo(const Receta& r) { return std::max(r.esfera, r.esfera + r.cilindro); }

double SugerirBaseReceta(const Receta& receta, double indice, double diametro)
{
    const double masPositivo = MeridianoMasPositivo(receta);
    if (masPositivo > 0.0)
        return SugerenciaBasePositiva(masPositivo, indice, diametro).base;
    constexpr double kPaso = 0.25;
    const double b = Finito((receta.esfera + receta.cilindro / 2.0) / 2.0 + 6.0);
    return std::max(kPaso, kPaso * std::floor(b / kPaso));
}

LenteTorica::LenteTorica(const Pedido& pedido, double t, const std::optional<ReversoFijo>& reverso) : m_t(t)
{
    const double n = pedido.indice;
    const Receta& r = pedido.receta;
    // The front is ground with a 1.523 tool of the base curve: the same
    // radius in the material, a power scaled by the material's index.
    const double f1 = Finito(pedido.base * (n - 1.0) / numerico::kFactorMolde);
    m_frontal = caraDe(f1, n);
    if (m_frontal.radio)
        m_frontal.radio = -*m_frontal.radio; // a convex front is a positive radius
    // The front power carried through the thickness to the back vertex; the
    // back makes up the prescription in each principal meridian.
    const double fc = Dividir(f1, 1.0 - (t / 1000.0) / n * f1);
    m_eje = caraDe(Finito(reverso ? reverso->poderEje : r.esfera - fc), n);
    m_cruz = caraDe(Finito(reverso ? reverso->poderCruz : r.esfera + r.cilindro - fc), n);
    const double eje = reverso ? reverso->eje : r.eje;
    m_cos = std::cos(eje * kGrado);
    m_sin = std::sin(eje * kGrado);
    m_planaEje = std::fabs(m_eje.poder) <= std::fabs(m_cruz.poder);
    // A prism is a wedge: thickness grows toward the base by the deviation
    // over the material's refraction.
    const double k = Dividir(r.prisma, 100.0 * (n - 1.0));
    m_prismaX = k * std::cos(r.basePrisma * kGrado);
    m_prismaY = k * std::sin(r.basePrisma * kGrado);
}

double LenteTorica::SagitaInterna(Punto p) const
{
    const double u = p.x * m_cos + p.y * m_sin;
    const double v = -p.x * m_sin + p.y * m_cos;
    const Cara& plana = m_planaEje ? m_eje : m_cruz;
    const Cara& curva = m_planaEje ? m_cruz : m_eje;
    const double wPlana = m_planaEje ? u : v;
    const double wCurva = m_planaEje ? v : u;
    // A tire-form torus: the steeper section swept round the flatter one's
    // centre. A plano flatter section leaves a cylinder.
    const double zs = curva.radio ? Sagita(*curva.radio, wCurva) : 0.0;
    if (!plana.radio)
        return zs;
    const double rf = *plana.radio;
    const double d = rf - zs;
    const double raiz = Raiz(Finito(d * d - wPlana * wPlana));
    return Finito(rf < 0.0 ? rf + raiz : rf - raiz);
}

double LenteTorica::SagitaFrontal(Punto p) const
{
    return m_frontal.radio ? Sagita(*m_frontal.radio, std::sqrt(p.x * p.x + p.y * p.y)) : 0.0;
}

double LenteTorica::Espesor(Punto p) const { return Finito(m_t - SagitaFrontal(p) + SagitaInterna(p) + Cuna(p)); }

Solucion Resolver(const Pedido& pedido, std::span<const Punto> borde, const std::optional<ReversoFijo>& reverso)
{
    Solucion sol;
    const double datos[] = {pedido.receta.esfera,     pedido.receta.cilindro, pedido.receta.eje, pedido.receta.prisma,
                            pedido.receta.basePrisma, pedido.indice,          pedido.densidad,   pedido.base,
                            pedido.bordeMin,          pedido.centroMin};
    if (!std::all_of(std::begin(datos), std::end(datos), [](double x) { return std::isfinite(x); }) ||
        pedido.indice <= 1.0 || pedido.bordeMin < 0.0 || pedido.centroMin < 0.0 || pedido.densidad < 0.0) {
        sol.falla = "los datos de la lente no son válidos";
        return sol;
    }
    if (borde.size() < 3) {
        sol.falla = "el contorno de la lente necesita por lo menos tres puntos";
        return sol;
    }
    double alcance = 0.0;
    for (const Punto& p : borde) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            sol.falla = "el contorno de la lente tiene un punto no válido";
            return sol;
        }
        alcance = std::max(alcance, std::sqrt(p.x * p.x + p.y * p.y));
    }
    const double radioFrontal = 523.0 / std::fabs(pedido.base);
    if (pedido.base != 0.0 && alcance >= radioFrontal) {
        sol.falla = "el contorno de la lente no cabe en la cara externa: su punto más alejado está a " + mm(alcance) +
                    " mm del centro óptico y una curva base de esa potencia tiene un radio de " + mm(radioFrontal) +
                    " mm; elija una curva base más plana";
        return sol;
    }

    try {
        double t = std::max(pedido.centroMin, pedido.bordeMin);
        // The front and the prism do not depend on the thickness: only the
        // back is recomputed on each pass.
        std::vector<double> fijo(borde.size());
        {
            const LenteTorica lente(pedido, t, reverso);
            for (std::size_t i = 0; i < borde.size(); ++i)
                fijo[i] = lente.Cuna(borde[i]) - lente.SagitaFrontal(borde[i]);
        }
        for (int pasada = 1;; ++pasada) {
            const LenteTorica lente(pedido, t, reverso);
            double minimo = INFINITY;
            for (std::size_t i = 0; i < borde.size(); ++i)
                minimo = std::min(minimo, fijo[i] + lente.SagitaInterna(borde[i]));
            const double nuevo = Finito(std::max(pedido.centroMin, pedido.bordeMin - minimo));
            const bool quieto = std::fabs(nuevo - t) < kTolerancia;
            t = nuevo;
            if (quieto)
                break;
            if (pasada >= kPasadasMaximas) {
                sol.falla = "el espesor central no se estabiliza: no hay lente con estos valores";
                return sol;
            }
        }

        const LenteTorica lente(pedido, t, reverso);
        Resultado r;
        r.espesorCentral = t;
        r.frontal = lente.Frontal();
        r.internaEje = lente.InternaEje();
        r.internaCruz = lente.InternaCruz();
        const double aMolde = Dividir(numerico::kFactorMolde, pedido.indice - 1.0);
        r.molde1523Eje = Finito(r.internaEje.poder * aMolde);
        r.molde1523Cruz = Finito(r.internaCruz.poder * aMolde);
        r.bordeMinimo = INFINITY;
        r.bordeMaximo = -INFINITY;
        for (const Punto& p : borde) {
            const double e = lente.Espesor(p);
            if (e < r.bordeMinimo - kEmpate) {
                r.bordeMinimo = e;
                r.anguloMinimo = anguloDe(p);
            }
            if (e > r.bordeMaximo + kEmpate) {
                r.bordeMaximo = e;
                r.anguloMaximo = anguloDe(p);
            }
        }
        r.volumen = volumenDentro(lente, borde);
        r.peso = Finito(r.volumen * pedido.densidad / 1000.0);
        sol.resultado = r;
    } catch (const numerico::Falla&) {
        sol.falla = "la cara interna no alcanza el borde de la lente (un punto queda más allá de su radio) o el "
                    "espesor hace infinita la potencia: no hay lente con estos valores";
    }
    return sol;
}

} // namespace lente
