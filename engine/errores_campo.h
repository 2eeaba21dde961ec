#pragma once

#include "compensacion.h"
#include "lente_en_uso.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

// How well a lens serves the eye away from its centre: the error of the
// power as worn against the prescription at each gaze, and the front curve
// that keeps the astigmatic error least.
namespace lente {

// E = V − P in the eye's own axes: its mean, (E₁₁ + E₂₂)/2, and its
// astigmatism, the difference of its principal powers, never negative.
struct ErrorCampo {
    double media = 0;
    double astigmatica = 0;
};

// The 49 gazes of a field map: v from 30° down to −30° in steps of 10°, and
// within each, h from −30° to 30°.
std::vector<Mirada> MiradasDelCampo();

// The eight gazes 30° from straight ahead, (30 cos φ, 30 sin φ) for
// φ = 0°, 45°, …, 315°, over which a lens's form is judged.
std::array<Mirada, 8> MiradasDeForma();

// The errors of a lens at each gaze; none at a gaze whose rays miss a face
// (the faces are continued beyond the lens's outline).
std::vector<std::optional<ErrorCampo>> ErroresCampo(const LenteOptica& lente, const Montaje& montaje,
                                                    const Receta& receta, std::span<const Mirada> miradas);

// The root mean square of the astigmatic error over MiradasDeForma; none
// when a gaze has no rays.
std::optional<double> RmsAstigmatico(const LenteOptica& lente, const Montaje& montaje, const Receta& receta);

struct MejorForma {
    double base = 0; // D at 1.523
    double rms = 0; // D
    SolucionEnUso lente; // the lens at that base
};

// The front curve, from 0.25 to 12.00 D at 1.523 in steps of 0.25, whose
// lens as worn (solved with every rule, and compensated for the frame) has
// the least RMS astigmatic error; a tie within a micro-dioptre goes to the
// flatter base, and bases with no lens are skipped. None when no base makes
// one.
std::optional<MejorForma> BuscarMejorBase(const Pedido& pedido, std::span<const Punto> borde, const Montaje& montaje);

} // namespace lente
