#pragma once

#include "cara_interna.h"
#include "matriz_dioptrica.h"
#include "receta.h"
#include "trazado_rayos.h"
#include "vectores.h"

#include <span>
#include <vector>

// The lens as the wearer sees through it: placed before the eye with the
// frame's pantoscopic tilt and wrap, the eye turning about its centre of
// rotation, and the power measured by exact rays on the vertex sphere.
namespace lente {

// How the frame holds the lens before one eye.
struct Montaje {
    Ojo ojo = Ojo::Derecho;
    double pantoscopico = 0; // degrees; the lower edge toward the eye
    double envolvente = 0; // degrees; the temporal edge toward the face
    double distanciaVertice = 12; // mm from the back vertex to the cornea
};

// A direction of gaze in Fick angles, degrees: h toward the observer's right
// (nasal for a right eye), v up.
struct Mirada {
    double h = 0;
    double v = 0;
};

// A made lens, optically: the front's power in the material, the thickness at
// the optical centre and the back's principal powers along its own axis and
// across it, with the prism it carries.
struct LenteOptica {
    double indice = 1.5;
    double frontal = 0; // D
    double espesor = 0; // mm
    double reversoEje = 0; // D, along ejeReverso
    double reversoCruz = 0; // D, across it
    double ejeReverso = 0; // degrees, 0–180
    double prisma = 0; // prism dioptres
    double basePrisma = 0; // degrees, 0–360
};

class LenteEnUso {
public:
    LenteEnUso(const LenteOptica& lente, const Montaje& montaje);

    // The vergence matrix on the vertex sphere for a gaze, in dioptres, in
    // the eye's own axes (Listing's law), positive converging. A ray that
    // misses a face or is reflected inside throws numerico::Falla.
    vec::Mat2 Vergencia(Mirada mirada) const;
    // The gaze whose line of sight, straight from the centre of rotation,
    // meets the back surface at this point of the lens (mm about the optical
    // centre): seen from the eye, the lens's outline is where these lie. A
    // point beyond the surface's reach throws numerico::Falla.
    Mirada MiradaHacia(Punto p) const;

private:
    struct Salida {
        vec::Vec3 punto, direccion;
    };
    // A ray from the object side through the front and the back.
    Salida haciaElOjo(const rayos::Rayo& rayo) const;

    double m_n;
    rayos::Esfera m_frontal;
    CaraInterna m_reverso;
    vec::Mat3 m_giro; // the lens frame's axes in the head frame
    vec::Vec3 m_vertice; // B, about which the lens is turned
    double m_d; // from the back vertex to the centre of rotation
};

} // namespace lente
