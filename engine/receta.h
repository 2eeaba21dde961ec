#pragma once

#include "cara_interna.h"
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

// A back surface given whole, instead of made up from the prescription
// through the thickness: its powers (D, at the lens's index) along its own
// axis and across it.
struct InternaFija {
    double poderEje = 0;
    double poderCruz = 0;
    double eje = 0;
};

struct Pedido {
    Receta receta;
    double indice = 1.5;
    double densidad = 0; // g/cm³
    double base = 0; // front curve, D at 1.523; 0 is plano
    double bordeMin = 0; // thinnest edge allowed, mm
    // Thinnest allowed at the optical centre and at the thinnest point
    // inside the outline, mm.
    double centroMin = 0;
    std::optional<InternaFija> internaFija = std::nullopt;
};

// A surface's power (D) and signed radius (mm, positive for a convex front
// and for a concave back); no radius when the surface is plano.
struct Cara {
    double poder = 0;
    std::optional<double> radio;
};

// A point of the lens about the optical centre, with its thickness.
struct PuntoEspesor {
    Punto p;
    double espesor = 0;
    double angulo = 0; // degrees, 0–360
    double radio = 0; // mm
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
    // Where a lens with prism is thinnest inside its outline, off its centre
    // (a minus lens has such a point, a plus lens none).
    std::optional<PuntoEspesor> puntoMasDelgado;
    // The thickest point of the whole lens: the thickest edge, the centre,
    // or the thickest point inside (a plus lens with prism is thickest off
    // its centre, toward the base); the point about the optical centre.
    double espesorMaximo = 0;
    Punto puntoMaximo;
    double volumen = 0; // mm³ inside the edge outline
    double peso = 0; // g
};

// The lens of a prescription at a known centre thickness t: a spherical
// front and the back torus tilted for the prism, and the thickness at any
// point, measured along the optical axis between the two. Impossible numbers
// (a point beyond a surface's reach, a division by zero) throw
// numerico::Falla.
class LenteTorica {
public:
    LenteTorica(const Pedido& pedido, double t);

    double Espesor(Punto p) const;
    // The thickness with its partial derivatives in x and y.
    Derivadas EspesorDerivadas(Punto p) const;
    // The parts of the thickness: the front's sagitta and the back's depth
    // behind its vertex, tilt included.
    double SagitaFrontal(Punto p) const;
    double SagitaInterna(Punto p) const { return m_interna.ProfundidadEn(p); }
    const Cara& Frontal() const { return m_frontal; }
    const Cara& InternaEje() const { return m_eje; }
    const Cara& InternaCruz() const { return m_cruz; }
    const CaraInterna& Interna() const { return m_interna; }
    double EspesorCentral() const { return m_t; }
    double CurvaturaFrontal() const { return m_curvaturaFrontal; }

private:
    struct Caras {
        Cara frontal, eje, cruz;
        double ejeInterno;
    };
    static Caras caras(const Pedido& pedido, double t);
    LenteTorica(const Pedido& pedido, double t, const Caras& c);

    double m_t;
    Cara m_frontal, m_eje, m_cruz;
    double m_curvaturaFrontal; // 1/mm, positive for a convex front
    CaraInterna m_interna;
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
// centre, in outline order) and measures the lens. Never returns a number
// that is not finite.
Solucion Resolver(const Pedido& pedido, std::span<const Punto> borde);

} // namespace lente
