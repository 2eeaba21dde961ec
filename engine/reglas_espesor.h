#pragma once

#include <optional>
#include <string>
#include <vector>

// The laboratory's thickness rules: the edge a mount needs, the centre a
// material needs, and the thinnest point an impact standard allows. The
// strictest rule wins, and a value the user gives below a rule is raised to
// it with a warning naming the rule, never silently.
namespace laboratorio {

enum class Montura { Ninguna, Completa, Ranurada, Perforada };
enum class Seguridad { Ninguna, Basica, AltoImpacto };

// The edge a mount holds: a full rim hides more of a thin plus edge, so its
// minimum falls from 2.0 mm at plano (and for minus) to 0.8 mm at +7.00 D of
// the most plus meridian; a groove needs 1.5 mm, a drill hole 2.0 mm. None
// for no mount.
std::optional<double> BordeDeMontura(Montura montura, double meridianoMasPositivo);

// The thinnest point an impact standard allows, wherever it lies: basic
// impact 3.0 mm, 2.5 mm from +3.00 D of the most plus meridian; high impact
// 2.0 mm.
std::optional<double> EspesorDeSeguridad(Seguridad seguridad, double meridianoMasPositivo);

// A centre thickness a lens is made with when nothing says otherwise.
inline constexpr double kCentroPorOmision = 1.5;

struct Exigencias {
    std::optional<double> bordeUsuario; // --borde-min
    std::optional<double> centroUsuario; // --centro-min
    std::optional<double> centroMaterial; // the material's minimum in the catalogue
    std::string material; // its name, for the warning
    Montura montura = Montura::Ninguna;
    Seguridad seguridad = Seguridad::Ninguna;
    double meridianoMasPositivo = 0;
};

struct Minimos {
    double borde = 0;
    double centro = 0; // at the optical centre and where the lens is thinnest inside
    std::vector<std::string> avisos; // one per value a rule raised
};

// The minimums the solve keeps. Nothing when no edge minimum is known: the
// user gave none and no mount or safety rule applies.
std::optional<Minimos> MinimosDeEspesor(const Exigencias& e);

} // namespace laboratorio
