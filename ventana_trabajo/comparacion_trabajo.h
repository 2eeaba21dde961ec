#pragma once

#include "formulario_trabajo.h"
#include "responder_trabajo.h"

#include <array>
#include <span>
#include <string>
#include <vector>

// The job on the screen made in every material of the catalogue, each at its
// suggested base, thinnest pair first: what the job would be if the optician
// chose that material.
namespace trabajos {

struct MaterialDelTrabajo {
    std::string nombre;
    // Both eyes as the job would answer them in this material, the pair on
    // one base as the answerer chooses it.
    std::array<OjoResuelto, 2> ojos;
    bool hecha = false; // every eye the job asks for has its lens
    double espesorMaximo = 0; // the larger of the eyes' thickest points, mm
    double peso = 0; // both eyes', g; not a number without a density
    std::string falla; // why not, in the optician's words
};

// The materials named, in the order of a comparison (the thicker eye's
// thickest point, then the pair's weight, then the list's order; those that
// cannot make the job last). A name listed twice, in any case, is one
// material.
std::vector<MaterialDelTrabajo> CompararMaterialesDelTrabajo(const FormularioTrabajo& trabajo,
                                                             std::span<const std::string> nombres,
                                                             MaterialesTrabajo* materiales);

} // namespace trabajos
