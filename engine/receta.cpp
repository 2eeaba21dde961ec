#include "receta.h"

#include "base_sugerida.h"
#include "bordes.h"
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
// The search for the thinnest point inside stops when a step moves it less
// than this (mm): the thickness is flat there, its figure then exact far
// below a nanometre.
constexpr double kPasoInterior = 1e-7;
constexpr int kPasosInterior = 50;

constexpr double kGrado = std::numbers::pi / 180.0;

Cara caraDe(double poder, double n)
{
    Cara c{poder, std::nullopt};
    if (poder != 0.0)
        c.radio = Dividir((1.0 - n) * 1000.0, poder);
    return c;
}

// The angle (radians) turned from a direction to another, given their cross
// and dot products: a short series for the small turns between neighbouring
// outline points, which are most of them.
double giroDe(double cruz, double punto)
{
    if (punto > 0.0 && std::fabs(cruz) < 0.05 * punto) {
        const double x = cruz / punto, x2 = x * x;
        return x * (1.0 - x2 * (1.0 / 3.0 - x2 * (1.0 / 5.0 - x2 * (1.0 / 7.0 - x2 * (1.0 / 9.0 - x2 / 11.0)))));
    }
    return std::atan2(cruz, punto);
}

double anguloDe(Punto p)
{
    double a = std::atan2(p.y, p.x) / kGrado;
    if (a < 0.0)
        a += 360.0;
    return a;
}

// The radial rule of a sector, by how near its edge comes to the end of a
// surface's reach, where the thickness bends like a square root: w² =
// 1 − c²ρ² there, for the steepest curvature c of either face.
// - Far from it (w ≥ 0.9), three Gauss–Legendre nodes in the radius s,
//   exact for a thickness that is a quadratic of the distance and within
//   about 3e-5 of a sag's volume at w = 0.9.
// - Nearer, five nodes in τ with s = 1 − τ², crowded toward the edge:
//   within about 1e-5 down to w = 0.5.
// - Below w = 0.5, the same on pieces of τ starting at 0, 0.1 and 0.35,
//   which hold about 1e-4 with the edge at the reach itself.
constexpr double kLejosDelAlcance = 0.81;
constexpr double kCercaDelAlcance = 0.25;
constexpr std::array<double, 3> kNodoLejos = {0.1127016653792583, 0.5, 0.8872983346207417};
constexpr std::array<double, 3> kPesoLejos = {5.0 / 18.0, 8.0 / 18.0, 5.0 / 18.0};
constexpr std::array<double, 5> kNodoRadial = {0.0469100770306680, 0.2307653449471585, 0.5, 0.7692346550528415,
                                               0.9530899229693320};
constexpr std::array<double, 5> kPesoRadial = {0.1184634425280945, 0.2393143352496832, 0.2844444444444444,
                                               0.2393143352496832, 0.1184634425280945};
constexpr std::array<double, 3> kTramosCerca = {0.0, 0.1, 0.35};
constexpr std::array<double, 1> kTramoUnico = {0.0};

// The widest angle between two outline points, about their mean point,
// that the volume takes as it stands under a tilted back.
constexpr double kHuecoMaximo = 1.01 * kGrado;

Punto medio(std::span<const Punto> puntos)
{
    Punto c;
    for (const Punto& p : puntos) {
        c.x += p.x;
        c.y += p.y;
    }
    return {c.x / static_cast<double>(puntos.size()), c.y / static_cast<double>(puntos.size())};
}

// The outline with points put in the wide gaps, the radius running linearly
// in angle about the mean point as the volume takes it; empty when no gap is
// wide. Under a tilted back the volume is taken in the torus's frame, where
// that rule would draw a slightly different outline between distant points.
std::vector<Punto> rellenar(std::span<const Punto> borde)
{
    const Punto c = medio(borde);
    std::vector<Punto> denso;
    for (std::size_t i = 0; i < borde.size(); ++i) {
        const double px = borde[i].x - c.x, py = borde[i].y - c.y;
        const double qx = borde[(i + 1) % borde.size()].x - c.x, qy = borde[(i + 1) % borde.size()].y - c.y;
        const double cruz = px * qy - py * qx, punto = px * qx + py * qy;
        if (denso.empty() && punto > 0.0 && std::fabs(cruz) <= std::tan(kHuecoMaximo) * punto)
            continue;
        const double giro = giroDe(cruz, punto);
        const int partes = static_cast<int>(std::ceil(std::fabs(giro) / kHuecoMaximo));
        if (partes > 1 && denso.empty())
            denso.assign(borde.begin(), borde.begin() + static_cast<std::ptrdiff_t>(i));
        if (denso.empty())
            continue;
        denso.push_back(borde[i]);
        const double r0 = std::hypot(px, py), r1 = std::hypot(qx, qy), a0 = std::atan2(py, px);
        for (int k = 1; k < partes; ++k) {
            const double f = static_cast<double>(k) / partes;
            const double r = r0 + f * (r1 - r0), a = a0 + f * giro;
            denso.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
        }
    }
    return denso;
}

// Volume under the thickness over the outline, in polar sectors about the
// outline's mean point, the radius running linearly in angle from one edge
// point to the next: a round blank is then the whole disc, not a polygon
// inside it. Each sector is taken along its bisector (the midpoint rule,
// very accurate for a thickness that is smooth and periodic in angle);
// sectors that turn backwards subtract.
//
// The sectors are laid in the back torus's own frame, over the points of the
// back above the outline (`profundidad` their depths), so that each node
// needs the torus's depth and slope and no search: the lens point over a
// node, its thickness and the area it stands for (the Jacobian of the tilt)
// follow in closed form.
double volumenDentro(const LenteTorica& lente, std::span<const Punto> borde, std::span<const double> profundidad)
{
    const CaraInterna& cara = lente.Interna();
    std::vector<Punto> denso;
    std::vector<double> profundidadDenso;
    if (cara.Inclinacion() != 0.0) {
        denso = rellenar(borde);
        if (!denso.empty()) {
            profundidadDenso.resize(denso.size());
            cara.ProfundidadesEn(denso, profundidadDenso);
            borde = denso;
            profundidad = profundidadDenso;
        }
    }
    std::vector<Punto> toro(borde.size());
    for (std::size_t i = 0; i < borde.size(); ++i) {
        const Vector3 t = cara.AlToro({borde[i].x, borde[i].y, profundidad[i]});
        toro[i] = {t.x, t.y};
    }
    const Punto c = medio(toro);
    // How near each face comes to the end of its reach at a sector's edge.
    const double cMaxima = std::max(std::fabs(cara.CurvaturaEje()), std::fabs(cara.CurvaturaCruz()));
    const double cf = lente.CurvaturaFrontal();
    const auto alcance = [&](const Punto& uv, const Punto& p) {
        return std::min(1.0 - cMaxima * cMaxima * (uv.x * uv.x + uv.y * uv.y), 1.0 - cf * cf * (p.x * p.x + p.y * p.y));
    };
    // Each node's point of the torus and its weight (the rule's, with the
    // radius s and, in τ, ds = 2τ dτ); where each sector's nodes end, and
    // the sector's giro·r².
    std::vector<Punto> nodos;
    std::vector<double> pesos;
    std::vector<std::pair<std::size_t, double>> sectores;
    nodos.reserve(kNodoRadial.size() * toro.size());
    pesos.reserve(kNodoRadial.size() * toro.size());
    sectores.reserve(toro.size());
    for (std::size_t i = 0; i < toro.size(); ++i) {
        const Punto& p = toro[i];
        const Punto& q = toro[(i + 1) % toro.size()];
        const double px = p.x - c.x, py = p.y - c.y;
        const double qx = q.x - c.x, qy = q.y - c.y;
        const double r0 = std::sqrt(px * px + py * py);
        const double r1 = std::sqrt(qx * qx + qy * qy);
        if (r0 == 0.0 || r1 == 0.0)
            continue;
        const double giro = giroDe(px * qy - py * qx, px * qx + py * qy);
        // The bisector of the two directions, at the mean radius.
        const double bx = px / r0 + qx / r1, by = py / r0 + qy / r1;
        const double largo = std::sqrt(bx * bx + by * by);
        if (largo == 0.0)
            continue;
        const double r = (r0 + r1) / 2.0;
        const double ux = r * bx / largo, uy = r * by / largo;
        const double w2 = std::min(alcance({c.x + ux, c.y + uy}, borde[i]), alcance(q, borde[(i + 1) % borde.size()]));
        if (w2 >= kLejosDelAlcance) {
            for (std::size_t j = 0; j < kNodoLejos.size(); ++j) {
                const double s = kNodoLejos[j];
                nodos.push_back({c.x + s * ux, c.y + s * uy});
                pesos.push_back(kPesoLejos[j] * s);
            }
        } else {
            const std::span<const double> tramos =
                w2 < kCercaDelAlcance ? std::span<const double>(kTramosCerca) : kTramoUnico;
            for (std::size_t k = 0; k < tramos.size(); ++k) {
                const double desde = tramos[k], ancho = (k + 1 < tramos.size() ? tramos[k + 1] : 1.0) - desde;
                for (std::size_t j = 0; j < kNodoRadial.size(); ++j) {
                    const double tau = desde + ancho * kNodoRadial[j], s = 1.0 - tau * tau;
                    nodos.push_back({c.x + s * ux, c.y + s * uy});
                    pesos.push_back(kPesoRadial[j] * ancho * 2.0 * tau * s);
                }
            }
        }
        sectores.push_back({nodos.size(), giro * r * r});
    }
    std::vector<Derivadas> pendientes(nodos.size());
    cara.PendientesToro(nodos, pendientes);
    const Vector3 eu = cara.ALente({1, 0, 0}), ev = cara.ALente({0, 1, 0}), ew = cara.ALente({0, 0, 1});
    const double t = lente.EspesorCentral();
    double total = 0.0;
    std::size_t k = 0;
    for (const auto& [fin, factor] : sectores) {
        double radial = 0.0;
        for (; k < fin; ++k) {
            const Punto& n = nodos[k];
            const Derivadas& d = pendientes[k];
            // The lens point over the node, its thickness, and the area the
            // node stands for there.
            const Vector3 en = n.x * eu + n.y * ev + d.valor * ew;
            const Vector3 a = eu + d.d1 * ew, b = ev + d.d2 * ew;
            const double q = en.x * en.x + en.y * en.y;
            const double frente = cf * q / (1.0 + std::sqrt(1.0 - cf * cf * q));
            radial += pesos[k] * (t - frente + en.z) * (a.x * b.y - a.y * b.x);
        }
        total += factor * radial;
    }
    return Finito(std::fabs(total));
}

std::string mm(double x)
{
    char texto[32];
    const auto fin = std::to_chars(texto, texto + sizeof texto, x, std::chars_format::fixed, 1).ptr;
    return std::string(texto, fin);
}

// How far apart the edge points' depths can move while the solve carries the
// centre from t on by about one and a half times the step to `nuevo`: the back's powers
// follow the front's power at the back vertex, f1 / (1 − t·f1 / 1000n), and a
// depth moves with the back's curvature at most as a sag q / (w (1 + w))
// where the back reaches farthest. Infinite when the back nears its reach.
double margen(const Pedido& pedido, const LenteTorica& lente, double t, double nuevo, double alcance)
{
    if (pedido.internaFija)
        return kEmpate;
    const double n = pedido.indice, f1 = lente.Frontal().poder;
    const auto fc = [&](double e) { return f1 / (1.0 - e / 1000.0 / n * f1); };
    const double paso = 1.5 * std::fabs(nuevo - t);
    const double cambio = std::max(std::fabs(fc(t + paso) - fc(t)), std::fabs(fc(std::max(0.0, t - paso)) - fc(t)));
    const CaraInterna& cara = lente.Interna();
    const double c =
        std::max(std::fabs(cara.CurvaturaEje()), std::fabs(cara.CurvaturaCruz())) + cambio / (1000.0 * (n - 1.0));
    const double lejos = alcance * (1.0 + 2.0 * std::sin(cara.Inclinacion()));
    const double q = lejos * lejos, w2 = 1.0 - c * c * q;
    if (!(w2 > 0.01) || !std::isfinite(cambio))
        return INFINITY;
    const double w = std::sqrt(w2);
    return 2.0 * q / (w * (1.0 + w)) / (1000.0 * (n - 1.0)) * cambio + kEmpate;
}

// A point inside the lens where the thickness is least or most.
struct Extremo {
    enum Tipo { Minimo, Maximo, Silla } tipo;
    Punto p;
    double espesor;
};

// The stationary point of the thickness that a prism moves off the optical
// centre: where the tilted back and the front are parallel. Newton's steps
// on the thickness's slope from the optical centre, or from where the last
// search ended, settle in a few steps; the point is kept only inside the
// outline.
class Interior {
public:
    Interior(std::span<const Punto> borde, double alcance) : m_borde(borde), m_alcance(alcance)
    {
        // An outline that winds once round the optical centre, each side
        // turning the same way, holds the disc out to its nearest side: a
        // point there needs no count of crossings.
        double vuelta = 0.0;
        m_libre = INFINITY;
        for (std::size_t i = 0; i < borde.size(); ++i) {
            const Punto& a = borde[i];
            const Punto& b = borde[(i + 1) % borde.size()];
            const double cruz = a.x * b.y - a.y * b.x;
            if (!(cruz > 0.0)) {
                m_libre = 0.0;
                return;
            }
            vuelta += giroDe(cruz, a.x * b.x + a.y * b.y);
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double f = std::clamp(-(a.x * dx + a.y * dy) / (dx * dx + dy * dy), 0.0, 1.0);
            m_libre = std::min(m_libre, std::hypot(a.x + f * dx, a.y + f * dy));
        }
        if (std::fabs(vuelta - 2.0 * std::numbers::pi) > 1e-6)
            m_libre = 0.0;
    }

    bool Dentro(Punto p) const { return std::hypot(p.x, p.y) < m_libre || DentroDelBorde(m_borde, p); }

    std::optional<Extremo> Buscar(const LenteTorica& lente)
    {
        // Without a tilt both faces are square to the axis at the optical
        // centre, which is then the point itself.
        if (lente.Interna().Inclinacion() == 0.0) {
            if (!Dentro({}))
                return std::nullopt;
            const Derivadas e = lente.EspesorDerivadas({});
            return Extremo{tipoDe(e), {}, e.valor};
        }
        try {
            Punto p = m_desde;
            for (int paso = 0; paso < kPasosInterior; ++paso) {
                const Derivadas e = lente.EspesorDerivadas(p);
                const double det = e.d11 * e.d22 - e.d12 * e.d12;
                if (!(std::fabs(det) > 0.0))
                    return std::nullopt;
                const double dx = (e.d22 * e.d1 - e.d12 * e.d2) / det;
                const double dy = (e.d11 * e.d2 - e.d12 * e.d1) / det;
                p = {p.x - dx, p.y - dy};
                if (!(std::hypot(p.x, p.y) < m_alcance))
                    return std::nullopt;
                if (std::hypot(dx, dy) < kPasoInterior) {
                    if (!Dentro(p))
                        return std::nullopt;
                    m_desde = p;
                    return Extremo{tipoDe(e), p, lente.Espesor(p)};
                }
            }
        } catch (const numerico::Falla&) {
        }
        return std::nullopt;
    }

private:
    static Extremo::Tipo tipoDe(const Derivadas& e)
    {
        const double det = e.d11 * e.d22 - e.d12 * e.d12;
        if (det <= 0.0)
            return Extremo::Silla;
        return e.d11 > 0.0 ? Extremo::Minimo : Extremo::Maximo;
    }

    std::span<const Punto> m_borde;
    double m_alcance;
    double m_libre; // the radius of the disc about the optical centre inside the outline
    Punto m_desde;
};

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

LenteTorica::Caras LenteTorica::caras(const Pedido& pedido, double t)
{
    const double n = pedido.indice;
    const Receta& r = pedido.receta;
    Caras c;
    // The front is ground with a 1.523 tool of the base curve: the same
    // radius in the material, a power scaled by the material's index.
    const double f1 = Finito(pedido.base * (n - 1.0) / numerico::kFactorMolde);
    c.frontal = caraDe(f1, n);
    if (c.frontal.radio)
        c.frontal.radio = -*c.frontal.radio; // a convex front is a positive radius
    if (pedido.internaFija) {
        c.eje = caraDe(Finito(pedido.internaFija->poderEje), n);
        c.cruz = caraDe(Finito(pedido.internaFija->poderCruz), n);
        c.ejeInterno = pedido.internaFija->eje;
        return c;
    }
    // The front power carried through the thickness to the back vertex; the
    // back makes up the prescription in each principal meridian.
    const double fc = Dividir(f1, 1.0 - (t / 1000.0) / n * f1);
    c.eje = caraDe(Finito(r.esfera - fc), n);
    c.cruz = caraDe(Finito(r.esfera + r.cilindro - fc), n);
    c.ejeInterno = r.eje;
    return c;
}

LenteTorica::LenteTorica(const Pedido& pedido, double t) : LenteTorica(pedido, t, caras(pedido, t)) {}

// A generator makes the prism by tilting the back about its vertex, so that
// the lens grows thicker toward the base.
LenteTorica::LenteTorica(const Pedido& pedido, double t, const Caras& c)
    : m_t(t),
      m_frontal(c.frontal),
      m_eje(c.eje),
      m_cruz(c.cruz),
      m_curvaturaFrontal(c.frontal.radio ? 1.0 / *c.frontal.radio : 0.0),
      m_interna(CaraInterna::DePoderes(c.eje.poder, c.cruz.poder, c.ejeInterno, pedido.indice, pedido.receta.prisma,
                                       pedido.receta.basePrisma))
{
}

double LenteTorica::SagitaFrontal(Punto p) const
{
    // The front sphere c·(x² + y² + z²) = 2z on the branch through its
    // vertex.
    const double c = m_curvaturaFrontal, q = p.x * p.x + p.y * p.y;
    return Finito(c * q / (1.0 + Raiz(1.0 - c * c * q)));
}

double LenteTorica::Espesor(Punto p) const { return Finito(m_t - SagitaFrontal(p) + SagitaInterna(p)); }

Derivadas LenteTorica::EspesorDerivadas(Punto p) const
{
    Derivadas e = m_interna.DerivadasEn(p);
    e.valor = Finito(m_t - SagitaFrontal(p) + e.valor);
    if (m_curvaturaFrontal != 0.0) {
        // The front sphere z = sag(c, x² + y²): its slope c·x / w and its
        // curvature c·(1 − c²y²) / w³, with w = √(1 − c²(x² + y²)).
        const double c = m_curvaturaFrontal;
        const double w = Raiz(1.0 - c * c * (p.x * p.x + p.y * p.y));
        const double w3 = w * w * w;
        e.d1 -= c * p.x / w;
        e.d2 -= c * p.y / w;
        e.d11 -= c * (1.0 - c * c * p.y * p.y) / w3;
        e.d12 -= c * c * c * p.x * p.y / w3;
        e.d22 -= c * (1.0 - c * c * p.x * p.x) / w3;
    }
    return e;
}

Solucion Resolver(const Pedido& pedido, std::span<const Punto> borde)
{
    Solucion sol;
    const double datos[] = {pedido.receta.esfera,     pedido.receta.cilindro, pedido.receta.eje, pedido.receta.prisma,
                            pedido.receta.basePrisma, pedido.indice,          pedido.densidad,   pedido.base,
                            pedido.bordeMin,          pedido.centroMin};
    const bool fijaFinita =
        !pedido.internaFija || (std::isfinite(pedido.internaFija->poderEje) &&
                                std::isfinite(pedido.internaFija->poderCruz) && std::isfinite(pedido.internaFija->eje));
    if (!std::all_of(std::begin(datos), std::end(datos), [](double x) { return std::isfinite(x); }) || !fijaFinita ||
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
        const std::size_t n = borde.size();
        double t = std::max(pedido.centroMin, pedido.bordeMin);
        // The front does not depend on the thickness: only the back is
        // recomputed on each pass.
        std::vector<double> frente(n), profundidad(n);
        {
            const LenteTorica lente(pedido, t);
            for (std::size_t i = 0; i < n; ++i)
                frente[i] = lente.SagitaFrontal(borde[i]);
        }
        Interior interior(borde, alcance);
        // A pass over every edge point names the few that can still become
        // the thinnest; the passes that follow look at those alone, and the
        // solve ends with a pass over all that finds it settled.
        bool todos = true;
        std::vector<std::size_t> cuales;
        std::vector<Punto> candidatos;
        std::vector<double> profundidadCandidatos;
        double holgura = 1.0;
        double tPrevio = NAN, hPrevio = NAN;
        for (int pasada = 1;; ++pasada) {
            if (pasada > kPasadasMaximas) {
                sol.falla = "el espesor central no se estabiliza: no hay lente con estos valores";
                return sol;
            }
            const LenteTorica lente(pedido, t);
            double minimo = INFINITY;
            if (todos) {
                lente.Interna().ProfundidadesEn(borde, profundidad);
                for (std::size_t i = 0; i < n; ++i)
                    minimo = std::min(minimo, profundidad[i] - frente[i]);
            } else {
                lente.Interna().ProfundidadesEn(candidatos, profundidadCandidatos);
                for (std::size_t j = 0; j < cuales.size(); ++j)
                    minimo = std::min(minimo, profundidadCandidatos[j] - frente[cuales[j]]);
            }
            double nuevo = std::max(pedido.centroMin, pedido.bordeMin - minimo);
            // The centre's minimum holds wherever the lens is thinnest
            // inside, too.
            if (const auto e = interior.Buscar(lente); e && e->tipo == Extremo::Minimo)
                nuevo = std::max(nuevo, pedido.centroMin - (e->espesor - t));
            const double h = Finito(nuevo) - t;
            if (std::fabs(h) < kTolerancia) {
                if (todos)
                    break;
                todos = true;
                tPrevio = NAN;
                continue;
            }
            if (todos) {
                const double delta = holgura * margen(pedido, lente, t, nuevo, alcance);
                cuales.clear();
                candidatos.clear();
                for (std::size_t i = 0; i < n; ++i)
                    if (profundidad[i] - frente[i] <= minimo + delta) {
                        cuales.push_back(i);
                        candidatos.push_back(borde[i]);
                    }
                profundidadCandidatos.resize(cuales.size());
                todos = cuales.size() == n;
                // Should the pass that ends the solve find another point
                // thinner, the next choice is wider.
                holgura *= 4.0;
                tPrevio = NAN;
            }
            // The root of h(t) = T(t) − t by the secant through the last two
            // passes; a plain step while there is one pass only, or when
            // the secant strays.
            double siguiente = nuevo;
            if (std::isfinite(tPrevio) && h != hPrevio) {
                const double secante = t - h * (t - tPrevio) / (h - hPrevio);
                if (std::fabs(secante - t) <= 2.0 * std::fabs(h))
                    siguiente = secante;
            }
            tPrevio = t;
            hPrevio = h;
            t = siguiente;
        }

        const LenteTorica lente(pedido, t);
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
        for (std::size_t i = 0; i < n; ++i) {
            const Punto& p = borde[i];
            const double e = Finito(t - frente[i] + profundidad[i]);
            if (e < r.bordeMinimo - kEmpate) {
                r.bordeMinimo = e;
                r.anguloMinimo = anguloDe(p);
            }
            if (e > r.bordeMaximo + kEmpate) {
                r.bordeMaximo = e;
                r.anguloMaximo = anguloDe(p);
                r.puntoMaximo = p;
            }
        }
        r.espesorMaximo = r.bordeMaximo;
        if (t > r.espesorMaximo && interior.Dentro({})) {
            r.espesorMaximo = t;
            r.puntoMaximo = {};
        }
        if (const auto e = interior.Buscar(lente)) {
            const PuntoEspesor punto{e->p, e->espesor, anguloDe(e->p), std::hypot(e->p.x, e->p.y)};
            if (e->tipo == Extremo::Minimo && punto.radio > 0.0)
                r.puntoMasDelgado = punto;
            if (e->tipo == Extremo::Maximo && e->espesor > r.espesorMaximo) {
                r.espesorMaximo = e->espesor;
                r.puntoMaximo = e->p;
            }
        }
        r.volumen = volumenDentro(lente, borde, profundidad);
        r.peso = Finito(r.volumen * pedido.densidad / 1000.0);
        sol.resultado = r;
    } catch (const numerico::Falla&) {
        sol.falla = "la cara interna no alcanza el borde de la lente (un punto queda más allá de su radio) o el "
                    "espesor hace infinita la potencia: no hay lente con estos valores";
    }
    return sol;
}

} // namespace lente
