#include "cara_interna.h"

#include "numerico.h"

#include <cmath>
#include <numbers>

using numerico::Dividir;
using numerico::Finito;

namespace lente {

namespace {

constexpr double kGrado = std::numbers::pi / 180.0;
// Newton's steps along a line converge quadratically: the error left after a
// step s is about K·s², K measured by the ratio of a step to the square of
// the one before. A line alone is followed until that is below 1e-12 mm, as
// a ray trace wants; the solver's many points stop at 1e-10, a hundred times
// below its own tolerance. A step below kPasoFinal ends the search anyway,
// which holds those errors for any K up to 100 and 10,000.
constexpr double kErrorRayo = 1e-12;
constexpr double kErrorLote = 1e-10;
constexpr double kPasoFinal = 1e-7;
constexpr int kPasosMaximos = 40;
// Points solved together, so that their independent steps overlap in the
// processor instead of waiting on each square root in turn.
constexpr std::size_t kBloque = 8;

// The tire torus's depth and slopes in the flatter and steeper coordinates
// f and s; false beyond its reach. One division yields both 1/w and
// 1/(1 + w) for each section.
inline bool toro(double cPlana, double cs, double f, double s, double& d, double& df, double& ds)
{
    const double ws2 = 1.0 - cs * cs * s * s;
    if (!(ws2 > 0.0))
        return false;
    const double ws = std::sqrt(ws2);
    const double is = 1.0 / (ws * (1.0 + ws));
    const double zs = cs * s * s * ws * is;
    // The flatter section's curvature about the swept centre, which lies the
    // steeper depth nearer: c / (1 − c·z_s), written so as not to wait on z_s.
    const double cf = cPlana * (1.0 + ws) / (1.0 + ws - cPlana * cs * s * s);
    const double q = f * f;
    const double wf2 = 1.0 - cf * cf * q;
    if (!(wf2 > 0.0))
        return false;
    const double wf = std::sqrt(wf2);
    const double iff = 1.0 / (wf * (1.0 + wf));
    d = zs + cf * q * wf * iff;
    df = cf * f * (1.0 + wf) * iff;
    ds = cs * s * (1.0 + ws) * is * (1.0 + cf * cf * q * iff);
    return std::isfinite(d + df + ds);
}

bool basta(double paso, double previo, double error)
{
    const double a = std::fabs(paso);
    return a < kPasoFinal || a * a * a < error * previo * previo;
}
// A step that leaves the surface's reach is halved this many times before
// the line is taken to miss it.
constexpr int kMitadesMaximas = 30;

} // namespace

CaraInterna::CaraInterna(double curvaturaEje, double curvaturaCruz, double eje, double inclinacion, double basePrisma)
    : m_curvaturaEje(Finito(curvaturaEje)),
      m_curvaturaCruz(Finito(curvaturaCruz)),
      m_eje(Finito(eje)),
      m_inclinacion(Finito(inclinacion)),
      m_basePrisma(Finito(basePrisma))
{
    m_planaEje = std::fabs(curvaturaEje) <= std::fabs(curvaturaCruz);
    m_cf = m_planaEje ? curvaturaEje : curvaturaCruz;
    m_cs = m_planaEje ? curvaturaCruz : curvaturaEje;
    m_esfera = curvaturaEje == curvaturaCruz;

    // The axis turns u and v about w; the tilt then turns the base direction
    // b toward the eye, b → b·cos α + z·sin α, about the line across it.
    const double ca = std::cos(eje * kGrado), sa = std::sin(eje * kGrado);
    const double bx = std::cos(basePrisma * kGrado), by = std::sin(basePrisma * kGrado);
    const double ci = std::cos(inclinacion), si = std::sin(inclinacion);
    const double inclinar[3][3] = {{1 + (ci - 1) * bx * bx, (ci - 1) * bx * by, -si * bx},
                                   {(ci - 1) * bx * by, 1 + (ci - 1) * by * by, -si * by},
                                   {si * bx, si * by, ci}};
    const double girar[3][3] = {{ca, -sa, 0}, {sa, ca, 0}, {0, 0, 1}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m_giro[i][j] = inclinar[i][0] * girar[0][j] + inclinar[i][1] * girar[1][j] + inclinar[i][2] * girar[2][j];
}

CaraInterna CaraInterna::DePoderes(double poderEje, double poderCruz, double eje, double indice, double prisma,
                                   double basePrisma)
{
    const double k = Dividir(-1.0, 1000.0 * (indice - 1.0));
    return CaraInterna(Finito(poderEje * k), Finito(poderCruz * k), eje, InclinacionDePrisma(prisma, indice),
                       basePrisma);
}

double CaraInterna::InclinacionDePrisma(double prisma, double indice)
{
    const double delta = std::atan(prisma / 100.0);
    return Finito(std::atan2(std::sin(delta), indice - std::cos(delta)));
}

bool CaraInterna::primeras(double f, double s, double& d, double& df, double& ds) const
{
    return toro(m_cf, m_cs, f, s, d, df, ds);
}

void CaraInterna::PendientesToro(std::span<const Punto> puntos, std::span<Derivadas> pendientes) const
{
    bool bien = true;
    for (std::size_t i = 0; i < puntos.size(); ++i) {
        const double f = m_planaEje ? puntos[i].x : puntos[i].y, s = m_planaEje ? puntos[i].y : puntos[i].x;
        double d = 0, df = 0, ds = 0;
        bien = toro(m_cf, m_cs, f, s, d, df, ds) && bien;
        pendientes[i].valor = d;
        pendientes[i].d1 = m_planaEje ? df : ds;
        pendientes[i].d2 = m_planaEje ? ds : df;
    }
    if (!bien)
        throw numerico::Falla{};
}

Derivadas CaraInterna::DerivadasToro(double u, double v) const
{
    const double f = m_planaEje ? u : v, s = m_planaEje ? v : u;
    double d, df, ds;
    if (!primeras(f, s, d, df, ds))
        throw numerico::Falla{};
    const double ws = std::sqrt(1.0 - m_cs * m_cs * s * s);
    const double zs = m_cs * s * s / (1.0 + ws);
    const double zs1 = m_cs * s / ws, zs2 = m_cs / (ws * ws * ws);
    const double cf = m_cf / (1.0 - m_cf * zs);
    const double q = f * f;
    const double wf = std::sqrt(1.0 - cf * cf * q);
    const double wf3 = wf * wf * wf;
    // The flatter sag's rate with its curvature, and that rate's own; the
    // curvature grows with the steeper depth as cf².
    const double a = q / (wf * (1.0 + wf));
    const double a1 = cf * q * q * (1.0 + 2.0 * wf) / (wf3 * (1.0 + wf) * (1.0 + wf));
    const double dff = cf / wf3;
    const double dfs = f * cf * cf * zs1 / wf3;
    const double dss = zs2 * (1.0 + a * cf * cf) + zs1 * zs1 * cf * cf * (cf * cf * a1 + 2.0 * cf * a);
    Derivadas r;
    r.valor = d;
    r.d1 = m_planaEje ? df : ds;
    r.d2 = m_planaEje ? ds : df;
    r.d11 = m_planaEje ? dff : dss;
    r.d12 = dfs;
    r.d22 = m_planaEje ? dss : dff;
    if (!std::isfinite(r.d11) || !std::isfinite(r.d12) || !std::isfinite(r.d22))
        throw numerico::Falla{};
    return r;
}

Vector3 CaraInterna::AlToro(const Vector3& p) const
{
    const auto& m = m_giro;
    return {m[0][0] * p.x + m[1][0] * p.y + m[2][0] * p.z, m[0][1] * p.x + m[1][1] * p.y + m[2][1] * p.z,
            m[0][2] * p.x + m[1][2] * p.y + m[2][2] * p.z};
}

Vector3 CaraInterna::ALente(const Vector3& p) const
{
    const auto& m = m_giro;
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z, m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z,
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z};
}

double CaraInterna::cortarToro(const Vector3& o, const Vector3& d, double lambda, double previo, double error) const
{
    // Newton's steps along the line; a step that leaves the surface's reach
    // is halved.
    const double f0 = m_planaEje ? o.x : o.y, s0 = m_planaEje ? o.y : o.x;
    const double fd = m_planaEje ? d.x : d.y, sd = m_planaEje ? d.y : d.x;
    double prof, df, ds;
    if (!primeras(f0 + lambda * fd, s0 + lambda * sd, prof, df, ds))
        throw numerico::Falla{};
    for (int paso = 0; paso < kPasosMaximos; ++paso) {
        double avance = Dividir(o.z + lambda * d.z - prof, d.z - df * fd - ds * sd);
        if (basta(avance, previo, error))
            return Finito(lambda - avance);
        previo = avance;
        for (int mitad = 0; !primeras(f0 + (lambda - avance) * fd, s0 + (lambda - avance) * sd, prof, df, ds);
             ++mitad) {
            if (mitad == kMitadesMaximas)
                throw numerico::Falla{};
            avance /= 2.0;
        }
        lambda -= avance;
    }
    throw numerico::Falla{};
}

void CaraInterna::ProfundidadesEn(std::span<const Punto> puntos, std::span<double> profundidades) const
{
    if (m_inclinacion == 0.0) {
        // Untilted, the optical axis is the torus's own depth.
        const double c = std::cos(m_eje * kGrado), s = std::sin(m_eje * kGrado);
        bool bien = true;
        for (std::size_t i = 0; i < puntos.size(); ++i) {
            const double u = puntos[i].x * c + puntos[i].y * s, v = -puntos[i].x * s + puntos[i].y * c;
            double df = 0, ds = 0;
            bien = toro(m_cf, m_cs, m_planaEje ? u : v, m_planaEje ? v : u, profundidades[i], df, ds) && bien;
        }
        if (!bien)
            throw numerico::Falla{};
        return;
    }
    if (m_esfera || m_cf == 0.0) {
        for (std::size_t i = 0; i < puntos.size(); ++i)
            profundidades[i] = ProfundidadEn(puntos[i]);
        return;
    }
    // Every line runs along the optical axis: one direction in the torus's
    // frame. Newton's steps from the tangent plane in lockstep, two or
    // three; a point that needs more goes on alone.
    const Vector3 d = AlToro({0.0, 0.0, 1.0});
    const double fd = m_planaEje ? d.x : d.y, sd = m_planaEje ? d.y : d.x;
    for (std::size_t i0 = 0; i0 < puntos.size(); i0 += kBloque) {
        const std::size_t k = std::min(kBloque, puntos.size() - i0);
        double f0[kBloque], s0[kBloque], oz[kBloque], lambda[kBloque], paso[kBloque] = {}, previo[kBloque] = {};
        bool bien[kBloque];
        for (std::size_t j = 0; j < k; ++j) {
            const Vector3 o = AlToro({puntos[i0 + j].x, puntos[i0 + j].y, 0.0});
            f0[j] = m_planaEje ? o.x : o.y;
            s0[j] = m_planaEje ? o.y : o.x;
            oz[j] = o.z;
            lambda[j] = -o.z / d.z;
            bien[j] = true;
        }
        const auto vuelta = [&] {
            for (std::size_t j = 0; j < k; ++j) {
                double prof = 0, df = 0, ds = 0;
                bien[j] = bien[j] && toro(m_cf, m_cs, f0[j] + lambda[j] * fd, s0[j] + lambda[j] * sd, prof, df, ds);
                previo[j] = paso[j];
                paso[j] = bien[j] ? (oz[j] + lambda[j] * d.z - prof) / (d.z - df * fd - ds * sd) : 0.0;
                lambda[j] -= paso[j];
            }
        };
        vuelta();
        vuelta();
        // A steep or far-tilted point may want a third step; the block takes
        // it together.
        bool otra = false;
        for (std::size_t j = 0; j < k; ++j)
            otra = otra || (bien[j] && !basta(paso[j], previo[j], kErrorLote));
        if (otra)
            vuelta();
        for (std::size_t j = 0; j < k; ++j) {
            const Punto& p = puntos[i0 + j];
            if (bien[j] && std::isfinite(lambda[j]) && basta(paso[j], previo[j], kErrorLote))
                profundidades[i0 + j] = lambda[j];
            else if (bien[j] && std::isfinite(lambda[j]))
                profundidades[i0 + j] = cortarToro(AlToro({p.x, p.y, 0.0}), d, lambda[j], paso[j], kErrorLote);
            else
                profundidades[i0 + j] = ProfundidadEn(p);
        }
    }
}

double CaraInterna::Cortar(const Vector3& origen, const Vector3& direccion) const
{
    const Vector3 o = AlToro(origen), d = AlToro(direccion);
    if (!m_esfera && m_cf != 0.0)
        return cortarToro(o, d, Dividir(-o.z, d.z), 0.0, kErrorRayo);
    // A sphere, a cylinder or a plane is a quadric: c·|p|² = 2w, p taken
    // across the sections that curve. The root of the branch through the
    // vertex, in the form that stays exact as c goes to zero.
    const double c = m_cs;
    const double ou = m_esfera ? o.x : (m_planaEje ? 0.0 : o.x), ov = m_esfera ? o.y : (m_planaEje ? o.y : 0.0);
    const double du = m_esfera ? d.x : (m_planaEje ? 0.0 : d.x), dv = m_esfera ? d.y : (m_planaEje ? d.y : 0.0);
    const double a = c * (du * du + dv * dv + d.z * d.z);
    const double b = d.z - c * (ou * du + ov * dv + o.z * d.z);
    const double k = c * (ou * ou + ov * ov + o.z * o.z) - 2.0 * o.z;
    const double disc = b * b - a * k;
    if (!(disc >= 0.0))
        throw numerico::Falla{};
    const double q = b + std::copysign(std::sqrt(disc), b);
    const auto cerca = [&](double l) { return c * (o.z + l * d.z) <= 1.0; };
    if (q != 0.0 && cerca(k / q))
        return Finito(k / q);
    if (a != 0.0 && cerca(q / a))
        return Finito(q / a);
    throw numerico::Falla{};
}

Vector3 CaraInterna::Normal(const Vector3& punto) const
{
    const Vector3 t = AlToro(punto);
    const Derivadas d = DerivadasToro(t.x, t.y);
    const double largo = std::sqrt(d.d1 * d.d1 + d.d2 * d.d2 + 1.0);
    return ALente({-d.d1 / largo, -d.d2 / largo, 1.0 / largo});
}

double CaraInterna::ProfundidadEn(Punto p) const { return Cortar({p.x, p.y, 0.0}, {0.0, 0.0, 1.0}); }

Derivadas CaraInterna::DerivadasEn(Punto p) const
{
    // The surface is G = w − D(u, v) = 0; the depth z(x, y) follows from
    // differentiating G(x, y, z(x, y)) = 0 once and twice.
    const double z = ProfundidadEn(p);
    const Vector3 t = AlToro({p.x, p.y, z});
    const Derivadas dt = DerivadasToro(t.x, t.y);
    const Vector3 g = ALente({-dt.d1, -dt.d2, 1.0});
    // The Hessian of G in the lens frame: M·H·Mᵀ, H holding −D's second
    // derivatives in u and v.
    const auto& m = m_giro;
    double h[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            h[i][j] =
                -(m[i][0] * (dt.d11 * m[j][0] + dt.d12 * m[j][1]) + m[i][1] * (dt.d12 * m[j][0] + dt.d22 * m[j][1]));
    Derivadas r;
    r.valor = z;
    r.d1 = Dividir(-g.x, g.z);
    r.d2 = Dividir(-g.y, g.z);
    const double zi[2] = {r.d1, r.d2};
    const auto segunda = [&](int i, int j) {
        return Dividir(-(h[i][j] + h[i][2] * zi[j] + h[j][2] * zi[i] + h[2][2] * zi[i] * zi[j]), g.z);
    };
    r.d11 = segunda(0, 0);
    r.d12 = segunda(0, 1);
    r.d22 = segunda(1, 1);
    return r;
}

} // namespace lente
