#pragma once

#include "estado_diseno.h"
#include "geometria_perfil.h"
#include "registro_diseno.h"

#include <optional>
#include <string>
#include <vector>

// The paper order that travels with a lens from the blank store to the
// generator, the polisher and inspection: every figure already formatted as
// the windows show it, the advice the laboratory must heed, and the lens in
// millimetres for its true-size drawing.
struct OrdenTrabajo {
    std::string numero;
    std::string fechaHora;

    std::string poderVertice; // "+4.00"
    std::string material;
    std::string indice;
    std::string densidad;

    std::string poderExterno; // at the material's index
    std::string curvaBase; // at 1.523
    std::string poderInterno; // at the material's index
    std::string radioInterno; // mm, negative for a concave back
    std::string molde1523; // back power of the 1.523 tool

    std::string diametro;
    std::string espesorBorde;
    std::string espesorCentral;
    std::string peso; // grams

    std::vector<std::string> avisos;

    // The lens as the graphics window draws it; nothing when its faces
    // cannot span its diameter, so that it can be neither drawn nor weighed.
    struct Geometria {
        Superficies caras;
        double espesorCentral = 0;
        double espesorBorde = 0;
        double diametro = 0;
    };
    std::optional<Geometria> geometria;
};

// The design calculated on the design window. Its diameter is the one the
// window shows: the requested one, or the smaller one a face allowed.
OrdenTrabajo OrdenDelCalculo(const EstadoDiseno& estado);

// The design as varied on the graphics window, drawn at this diameter with
// these faces' floors.
OrdenTrabajo OrdenDelVariado(const EstadoDiseno& estado, double diametro, Pisos pisos);

// A saved design record. A record holds no base curve: it is the front face
// carried to a 1.523 tool, P1 · 0.523 / (n − 1), to a thousandth of a
// dioptre, finer than any base and coarser than the record's precision.
OrdenTrabajo OrdenDelRegistro(const RegistroDiseno& registro);
