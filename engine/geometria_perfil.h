#pragma once

// The two spherical faces of a lens drawn in cross-section, in millimetres,
// from the face powers at the material's index.
struct Superficies {
    double P1 = 0; // front power actually drawn, D
    double P2 = 0; // back power actually drawn, D; negative for a concave back
    double R1 = 0; // front radius
    double R2 = 0; // back radius, positive for a concave back too
    double h = 0; // semi-diameter
    double s1 = 0; // front sagitta over the semi-diameter
    double s2 = 0; // back sagitta
    double V1 = 0; // volume of the front cap, mm³, signed
    double V2 = 0; // volume of the back cap, negative for a concave back
    double a1 = 0; // half-angle the front face spans from its centre, radians
    double a2 = 0;
    bool menisco = false; // concave back
};

// How near-flat faces are drawn. A face too flat to show as an arc is drawn
// with the power of a very flat convex face: the saved design floors both
// faces by magnitude, the varied design floors the front when below 0.1 D
// and replaces only an exactly plano back.
enum class Pisos { Guardado, Dinamico };

// The faces of a lens of diameter D (mm). A semi-diameter beyond a face's
// radius, a division by zero or an overflow throws numerico::Falla.
Superficies CalcularSuperficies(double P1, double P2, double n, double D, Pisos pisos);

// Sagitta: depth of a sphere of signed radius r (mm) over a semi-diameter h,
// signed like the radius. A semi-diameter beyond the radius throws
// numerico::Falla.
double Sagita(double r, double h);

// Volume of a spherical cap of base radius h and height s:
// π/2·h²·s + π/6·s³, with the coefficients the laboratory's weights use.
double VolumenCasquete(double h, double s);

// The laboratory's π for the disc of the edge.
inline constexpr double kPiDisco = 3.1416;

// Edge thickness of a lens of centre thickness t (mm) with these faces: the
// front sagitta comes off the centre, a concave back's sagitta goes back on.
double EspesorBordeLente(const Superficies& s, double t);

// Weight in grams: the two caps and the disc of the edge, by the density in
// g/cm³, as the graphics window weighs the lens it draws.
double PesoLente(const Superficies& s, double t, double densidad);

// The cross-section in the drawing's units (ex across, ey along the
// diameter), the front vertex at x = 150 on the axis y = 100.
struct Trazado {
    double r1 = 0, r2 = 0; // radii of the two circles
    double t = 0, h = 0; // centre thickness and semi-diameter
    double cx1 = 0, cx2 = 0;
    double g1 = 0, g2 = 0; // sagittas in millimetres, from the drawing's own values
    double xFE = 0, xBE = 0; // front and back edges
    double inicio1 = 0, fin1 = 0, inicio2 = 0, fin2 = 0; // arcs, radians
};

// A concave back takes the left part of its circle, a convex back the right
// part, through angle 0. Throws numerico::Falla like CalcularSuperficies.
Trazado TrazarPerfil(const Superficies& s, double t, double ex, double ey);
