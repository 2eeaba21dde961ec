#pragma once

#include "punto.h"

#include <span>

namespace lente {

// A depth over a plane and its partial derivatives in the plane's two
// coordinates (first, then second: 11, 12, 22).
struct Derivadas {
    double valor = 0;
    double d1 = 0, d2 = 0;
    double d11 = 0, d12 = 0, d22 = 0;
};

// The back surface of a spectacle lens as a generator cuts it: a tire-form
// torus, the steeper principal section swept round the flatter one's centre,
// tilted about its vertex so that the lens grows thicker toward the prism's
// base.
//
// Two frames, both with their origin at the back vertex:
// - the lens frame: x to the right, y up, z along the optical axis toward the
//   eye (the standard frame, less the centre thickness along z);
// - the torus's own frame: u along the meridian at the axis, v across it, w
//   the depth toward the eye. The surface there is w = D(u, v).
// The lens frame is the torus's turned by the axis about w, then tilted.
//
// Curvatures are in 1/mm and positive where the depth grows toward the eye,
// as on a concave back: c = −F / (1000 (n − 1)) for a back power F. Points
// beyond the surface's reach, or a line that misses it, throw
// numerico::Falla.
class CaraInterna {
public:
    // A torus of curvature `curvaturaEje` along the meridian at `eje` and
    // `curvaturaCruz` across it (degrees, counterclockwise from +x), tilted
    // by `inclinacion` (radians) so that the depth grows toward `basePrisma`
    // (degrees).
    CaraInterna(double curvaturaEje, double curvaturaCruz, double eje, double inclinacion = 0, double basePrisma = 0);

    // The back of a lens of this index with these powers (D) along the axis
    // and across it, carrying a prism (prism dioptres) toward its base.
    static CaraInterna DePoderes(double poderEje, double poderCruz, double eje, double indice, double prisma,
                                 double basePrisma);

    // The tilt that makes the prism exact at the optical centre for a ray
    // along the front's normal there: n·sin α = sin(α + δ) with
    // 100·tan δ = P, hence tan α = sin δ / (n − cos δ).
    static double InclinacionDePrisma(double prisma, double indice);

    double CurvaturaEje() const { return m_curvaturaEje; }
    double CurvaturaCruz() const { return m_curvaturaCruz; }
    double Eje() const { return m_eje; }
    double Inclinacion() const { return m_inclinacion; }
    double BasePrisma() const { return m_basePrisma; }

    // The depth D(u, v) in the torus's frame: with f the coordinate of the
    // flatter section (the axis's on a tie) and s the steeper's,
    // D = z_s + sag(c_f / (1 − c_f z_s), f²), z_s = sag(c_s, s²), where
    // sag(c, q) = c·q / (1 + √(1 − c²q)); with its partial derivatives in u
    // and v.
    Derivadas DerivadasToro(double u, double v) const;
    // D with its first partial derivatives only, the second left at zero, at
    // many points (u, v) at once.
    void PendientesToro(std::span<const Punto> puntos, std::span<Derivadas> pendientes) const;

    // A point or direction turned from the lens frame to the torus's, and
    // back.
    Vector3 AlToro(const Vector3& lente) const;
    Vector3 ALente(const Vector3& toro) const;

    // Where the line origen + λ·direccion (lens frame, about the back
    // vertex) meets the surface near its vertex: λ, in units of the
    // direction's length.
    double Cortar(const Vector3& origen, const Vector3& direccion) const;

    // The unit normal at a point of the surface (lens frame, about the back
    // vertex), toward the eye.
    Vector3 Normal(const Vector3& punto) const;

    // The depth along the optical axis at a point of the lens: the back
    // lies at z = t + ProfundidadEn(p).
    double ProfundidadEn(Punto p) const;
    // That depth with its partial derivatives in x and y.
    Derivadas DerivadasEn(Punto p) const;
    // The depths at many points at once, faster than one by one.
    void ProfundidadesEn(std::span<const Punto> puntos, std::span<double> profundidades) const;

private:
    // D and its first partials in the flatter and steeper coordinates;
    // false beyond the surface's reach.
    bool primeras(double f, double s, double& d, double& df, double& ds) const;
    // Newton's steps from λ, `previo` being the step that led there, until
    // the error left is below `error` (mm).
    double cortarToro(const Vector3& o, const Vector3& d, double lambda, double previo, double error) const;

    double m_curvaturaEje, m_curvaturaCruz, m_eje, m_inclinacion, m_basePrisma;
    double m_cf, m_cs; // the flatter and steeper curvature
    bool m_planaEje; // the flatter section is the one along the axis
    bool m_esfera; // both curvatures equal
    // The turn from the torus's frame to the lens's: columns are the images
    // of u, v and w.
    double m_giro[3][3];
};

} // namespace lente
