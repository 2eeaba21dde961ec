#pragma once

#include "vectores.h"

// A dioptric power as a symmetric 2 × 2 matrix, and its sphere, cylinder and
// axis. The matrix of a power acting along a unit direction m is F·m mᵀ, so
// a sphero-cylinder is S·I + C·m mᵀ with m across the cylinder's axis.
namespace lente {

struct EsferoCilindro {
    double esfera = 0; // D
    double cilindro = 0; // D, either sign; minus when read from a matrix
    double eje = 0; // degrees counterclockwise from the first axis, 0–180
};

// S·I + C·m mᵀ with m = (−sin A, cos A).
vec::Mat2 MatrizDioptrica(const EsferoCilindro& f);

// The sphere, minus cylinder and axis of a symmetric matrix: the axis is the
// direction of the more positive principal power, 0 when there is no
// cylinder.
EsferoCilindro EsferoCilindroDe(const vec::Mat2& m);

} // namespace lente
