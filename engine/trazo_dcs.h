#pragma once

#include "receta.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Frame traces in the laboratory industry's data-communication format: a
// "TRCFMT=1;N;E;R|L;F" record followed by "R=" records of N radii in
// hundredths of a millimetre separated by ";". Radius i lies at i·360/N
// degrees counterclockwise about the trace's centre, the frame seen from the
// front as the standard frame sees it, for both eyes. Other records are left
// to whoever reads the rest of the job.
namespace dcs {

// A record's value without the blanks and the line's carriage return around it.
std::string_view Recortar(std::string_view s);
// The fields of a value, split at ';' (the right eye's first), each trimmed.
std::vector<std::string_view> Campos(std::string_view valor);

// The radii (mm) of each side the text traces; empty for a side it lacks.
struct Trazos {
    std::vector<double> derecho;
    std::vector<double> izquierdo;
};

// Refuses, with a Spanish reason: a text larger than a job, a format other
// than 1 (named), unequal spacing, an unknown side, a side traced twice, a
// radius that is not a whole positive number within reach, and a count of
// radii other than announced.
std::optional<Trazos> LeerTrazos(std::string_view texto, std::string& error);

// The outline of the eye's side about the trace's centre. A side the text
// lacks is the other side's mirror image about the vertical axis, as frames
// are symmetric.
std::vector<lente::Punto> PuntosDelOjo(const Trazos& trazos, lente::Ojo ojo);

} // namespace dcs
