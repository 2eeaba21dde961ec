#pragma once

#include "receta.h"

#include <optional>
#include <span>
#include <vector>

// The edge points a lens is solved over, in the standard frame, relative to
// the optical centre.
namespace lente {

// A round blank of diameter D centred on the optical centre: 360 points, one
// a degree from 0°.
std::vector<Punto> BordeRedondo(double diametro);

// The ellipse of a box A × B alone, about its centre, at the 360 polar
// angles 0°, 1°, …, 359°.
std::vector<Punto> BordeElipse(double ancho, double alto);

// The bounding box of an outline: width, height and the middle of the
// extremes.
struct Caja {
    double ancho = 0;
    double alto = 0;
    Punto centro;
};
Caja CajaDe(std::span<const Punto> forma);

// Whether a point lies inside an outline: an odd number of its sides cross
// the horizontal line through the point on one side of it.
bool DentroDelBorde(std::span<const Punto> borde, Punto p);

// Where the optical centre sits in the frame: the bridge (DBL), the eye's
// monocular PD and the optical centre's height above the box's lowest line,
// all in mm.
struct Centrado {
    double puente = 0;
    double dp = 0;
    double altura = 0;
};

// The outline moved so that the optical centre is the origin. The optical
// centre lies (A + DBL)/2 − PD toward the nose of the box centre and H − B/2
// above it; nasal is +x for the right eye and −x for the left. Without a
// centring, the optical centre is the box centre.
std::vector<Punto> Descentrar(std::span<const Punto> forma, Ojo ojo, const std::optional<Centrado>& centrado);

// The smallest round blank a shape is cut from: twice its farthest point
// plus 2 mm for the edger.
double BloqueMinimo(std::span<const Punto> borde);
// The smallest stocked blank (50 to 80 mm in steps of 5) at least that large;
// none when the shape needs more.
std::optional<int> BloqueEstandar(double minimo);

} // namespace lente
