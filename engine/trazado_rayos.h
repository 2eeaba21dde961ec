#pragma once

#include "vectores.h"

// Exact rays through the faces of a lens. Lengths in mm; directions are unit
// vectors. A ray that misses a face or cannot leave the material throws
// numerico::Falla.
namespace rayos {

struct Rayo {
    vec::Vec3 origen;
    vec::Vec3 direccion;
};

inline vec::Vec3 PuntoEn(const Rayo& r, double s) { return r.origen + s * r.direccion; }

// A sphere of curvature c with its vertex at z0 on the z axis,
// c(x² + y² + (z − z0)²) − 2(z − z0) = 0; only the branch through the vertex,
// where c(z − z0) < 1, is the lens's face. A curvature of zero is the plane.
class Esfera {
public:
    Esfera(double vertice, double curvatura) : m_vertice(vertice), m_c(curvatura) {}

    // The signed ray parameter of the meeting nearest the ray's origin on the
    // face's branch.
    double Cortar(const Rayo& r) const;
    // The unit normal at a point of the surface, +z at the vertex.
    vec::Vec3 Normal(vec::Vec3 p) const { return vec::Vec3{0, 0, 1} - m_c * (p - vec::Vec3{0, 0, m_vertice}); }

private:
    double m_vertice;
    double m_c;
};

// Snell's law for a unit direction crossing a surface of unit normal (either
// orientation) from index n1 into n2; total internal reflection throws.
vec::Vec3 Refractar(vec::Vec3 d, vec::Vec3 normal, double n1, double n2);

} // namespace rayos
