#pragma once

#include "punto.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

// A whole spectacle prescription on a lens with a spherical front and a toric
// back, solved for the thinnest lens that keeps every edge point and the
// centre at their minimums. Everything is in the standard frame: the lens seen
// from the front by a person facing the wearer, x to the right, y up, lengths
// in mm from the optical centre, angles in degrees counterclockwise from +x
// for both eyes.
namespace lente {

enum class Ojo { Derecho, Izquierdo };

struct Receta {
    double esfera = 0; // D
    double cilindro = 0; // D, either sign
    double eje = 0; // cylinder axis, 0–180
    double prisma = 0; // prism dioptres
    double basePrisma = 0; // base direction, 0–360
};

// The power of the most plus principal meridian.
double MeridianoMasPositivo(const Receta& r);

struct Pedido {
    Receta receta;
    double indice = 1.5;
    double densidad = 0; // g/cm³
    double base = 0; // front curve, D at 1.523; 0 is plano
    double bordeMin = 0; // thinnest edge allowed, mm
    double centroMin = 0; // thinnest centre allowed, mm
};

// A back given whole instead of made up from the prescription, as a back
// compensated for the frame is: its powers (D) along its own axis (degrees)
// and across it.
struct ReversoFijo {
    double poderEje = 0;
    double poderCruz = 0;
    double eje = 0;
};

// A surface's power (D) and signed radius (mm, positive for a convex front
// and for a concave back); no radius when the surface is plano.
struct Cara {
    double poder = 0;
    std::optional<double> radio;
};

struct Resultado {
    double espesorCentral = 0;
    Cara frontal;
    Cara internaEje; // back meridian along the axis
    Cara internaCruz; // back meridian at right angles to it
    double molde1523Eje = 0; // back powers of a 1.523 surfacing tool
    double molde1523Cruz = 0;
    double bordeMinimo = 0;
    double anguloMinimo = 0; // degrees about the optical centre, 0–360
    double bordeMaximo = 0;
    double anguloMaximo = 0;
    double volumen = 0; // mm³ inside the edge outline
    double peso = 0; // g
};

// The lens of a prescription at a known centre thickness t: its faces and
// the thickness at any point inside the edge. Impossible numbers (a point
// beyond a surface's radius, a division by zero) throw numerico::Falla.
class LenteTorica {
public:
    LenteTorica(const Pedido& pedido, double t, const std::optional<ReversoFijo>& reverso = std::nullopt);

    double Espesor(Punto p) const;
    // The parts of the thickness: the front's sagitta, the back's, and the
    // prism's wedge, which grows toward the base.
    double SagitaFrontal(Punto p) const;
    double SagitaInterna(Punto p) const;
    double Cuna(Punto p) const { return m_prismaX * p.x + m_prismaY * p.y; }
    const Cara& Frontal() const { return m_frontal; }
    const Cara& InternaEje() const { return m_eje; }
    const Cara& InternaCruz() const { return m_cruz; }

private:
    double m_t;
    Cara m_frontal, m_eje, m_cruz;
    double m_cos = 1, m_sin = 0; // axis direction
    bool m_planaEje = false; // the flatter section is the one along the axis
    double m_prismaX = 0, m_prismaY = 0; // thickness gained per mm toward the base
};

// The solved lens, or the reason, in Spanish, why the edge points admit none.
struct Solucion {
    std::optional<Resultado> resultado;
    std::string falla;
};

// The front curve (D at 1.523) suggested for a prescription on a blank or
// shape of this diameter (mm): for a plus lens the design window's
// suggestion for the most plus meridian, for a minus lens half the spherical
// equivalent plus 6 D, down to a quarter dioptre and never below one quarter.
// Impossible numbers throw numerico::Falla.
double SugerirBaseReceta(const Receta& receta, double indice, double diametro);

// Solves the centre thickness over the edge points (mm from the optical
// centre, in outline order) and measures the lens, with the back made up
// from the prescription or given whole. Never returns a number that is not
// finite.
Solucion Resolver(const Pedido& pedido, std::span<const Punto> borde,
                  const std::optional<ReversoFijo>& reverso = std::nullopt);

} // namespace lente
