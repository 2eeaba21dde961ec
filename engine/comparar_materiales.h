#pragma once

#include "compensacion.h"
#include "reglas_espesor.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

// Which material makes the thinnest lens: one prescription, one outline and
// one set of the laboratory's rules, solved in every material of a list,
// each at the base suggested for it and with its own minimum centre.
namespace lente {

// A material as a lens needs it. A material that cannot be used (a record
// without an index) carries the reason instead.
struct MaterialLente {
    std::string nombre;
    double indice = 0;
    double densidad = 0; // g/cm³
    std::optional<double> centroMin; // the material's own minimum centre, mm
    std::string falla;
};

// What every material shares: the prescription, the outline about the
// optical centre, the laboratory's rules (the material's own minimum is
// added to them for each) and how the frame holds the lens.
struct Encargo {
    Receta receta;
    std::vector<Punto> borde;
    laboratorio::Exigencias exigencias;
    Montaje montaje;
};

// One material's lens, or why it has none.
struct LenteDeMaterial {
    double base = 0; // front curve, D at 1.523
    SolucionEnUso uso;
    std::vector<std::string> avisos; // each value a rule raised
    // No base could be suggested for it; the lens was not tried.
    bool sinBase = false;
    // Why there is no lens, in Spanish; empty when there is one.
    std::string falla;

    const Resultado* resultado() const { return uso.solucion.resultado ? &*uso.solucion.resultado : nullptr; }
};

// The lens of one material at the given base, or at the base suggested for
// it on the diameter its outline spans: what a lens of that material alone
// gives.
LenteDeMaterial ResolverMaterial(const Encargo& encargo, const MaterialLente& material,
                                 std::optional<double> base = std::nullopt);

// Where a material stands in a comparison: thinner first (its thickest
// point), then lighter, then the list's order; a material that makes no lens
// after all that do. A weight that is not known weighs more than any.
struct PuestoComparado {
    bool hecha = false;
    double espesorMaximo = 0;
    double peso = 0;
    std::size_t posicion = 0;
};
bool AntesEnComparacion(const PuestoComparado& a, const PuestoComparado& b);

struct MaterialComparado {
    std::size_t posicion = 0; // in the list given
    LenteDeMaterial lente;
};

// Every material of the list, ordered.
std::vector<MaterialComparado> CompararMateriales(const Encargo& encargo, std::span<const MaterialLente> materiales);

} // namespace lente
