#pragma once

#include "etiquetas_dcs.h"
#include "responder_trabajo.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What an answer says of each eye, the one shape in which an answer is
// written: from a lens just solved, or from a stored answer read back.
namespace trabajos {

struct FigurasOjo {
    bool pedido = false;
    dcs::Falla error; // the eye has no lens
    std::vector<std::string> avisos; // the warnings, naming the labels
    std::optional<double> lind; // the index the lens was made with
    std::optional<double> frnt; // the front's true power at that index
    std::optional<double> tind; // the tool index of the generator's curves
    std::optional<double> gbase, gcros; // the weaker and the stronger back meridian, negative for concave
    std::optional<double> gax; // the meridian of GBASE, degrees
    std::optional<double> cthick;
    std::optional<double> thnp, thna, thnr; // the thinnest edge point: thickness, angle, radius
    std::optional<double> thkp, thka, thkr; // the thickest
    std::optional<double> crib, dia; // the smallest blank, whole mm, and the stocked one
    std::optional<double> rprvm, rprva; // the prism made
    // The lensmeter's reading of a lens compensated for tilt or wrap.
    std::optional<double> insSph, insCyl, insAx;
    std::optional<double> campo; // the RMS astigmatic error 30° off the line of sight
    // The thickness where the lens is thinnest inside its outline; NaN when
    // it has no such point (a plus lens).
    std::optional<double> thnint;
    std::optional<double> peso; // NaN without a density
    std::optional<double> seguridad;
};

FigurasOjo FigurasDe(const OjoResuelto& ojo);

// The answer in the order and with the decimals of the label table: JOB,
// STATUS (the right eye's first failure, else the left's, else 0), one
// XSTATUS record a failure or warning, then each eye's figures.
std::string EscribirRespuesta(std::string_view numero, const std::array<FigurasOjo, 2>& ojos);

} // namespace trabajos
