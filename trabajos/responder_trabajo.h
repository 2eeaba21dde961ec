#pragma once

#include "etiquetas_dcs.h"
#include "receta.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A job answered the way a surfacing bench answers it: each eye solved on its
// own with the laboratory's thickness rules, over the frame's shape, its
// thinnest lens written back in the same format.
namespace trabajos {

// What a job needs of a material: its index and density, and the thinnest
// centre it may be made with.
struct MaterialTrabajo {
    std::string nombre;
    double indice = 0;
    double densidad = 0;
    std::optional<double> centroMin;
};

// The materials catalogue as the jobs see it.
class MaterialesTrabajo {
public:
    virtual ~MaterialesTrabajo() = default;
    virtual std::optional<MaterialTrabajo> Buscar(std::string_view nombre) = 0;
};

// One eye of a job: its solved lens and outline, or why it has none.
struct OjoResuelto {
    bool pedido = false; // the job asks for this eye
    std::optional<lente::Resultado> resultado;
    std::vector<lente::Punto> borde; // mm about the optical centre
    double base = 0; // the front curve used, D at 1.523
    double indice = 0;
    std::optional<double> bloque; // the standard blank, mm
    double bloqueMinimo = 0; // the smallest round blank the outline needs, mm
    lente::Pedido lente; // what was solved: the lens's faces are rebuilt from it
    std::vector<std::string> avisos; // each value a thickness rule raised
    std::string material;
    std::string falla; // "LABEL: reason" when the eye has no lens
};

OjoResuelto ResolverOjo(const dcs::Pedido& pedido, dcs::Lado lado, MaterialesTrabajo* materiales);

struct Contestacion {
    std::string numero; // JOB
    std::string texto; // the answer's bytes
    std::array<OjoResuelto, 2> ojos;
    // Every eye the job asks for has its lens.
    bool Completa() const;
    // The material of the first eye that names one.
    std::string Material() const;
};

Contestacion Responder(const dcs::Pedido& pedido, MaterialesTrabajo* materiales);

// The first eye, right then left, that the design window can make: a plus
// sphere with neither cylinder nor prism, asked for and free of bad values.
// Only what the job gives is filled; the rest stays as the window has it.
struct OjoDeDiseno {
    dcs::Lado lado = dcs::Lado::Derecho;
    double esfera = 0;
    std::string material;
    std::optional<double> base; // FRNT
    std::optional<double> diametro; // FED
    std::optional<double> borde; // MINEDG
};
std::optional<OjoDeDiseno> PrimerOjoEsferico(const dcs::Pedido& pedido);

} // namespace trabajos
