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
// The fields of a value, split at ';' (the right eye's first), each trimmed
// and without the double quotes a sender may put around it.
std::vector<std::string_view> Campos(std::string_view valor);
// A value without the double quotes around it, as some systems send it.
std::string_view SinComillas(std::string_view s);

// Takes the next record off the front of a text. Records end in CR LF, LF or
// CR alone, in any mix, as laboratory systems and devices write them.
std::string_view SiguienteRegistro(std::string_view& texto);

// The trace records of a whole job file: every TRCFMT and the R records that
// follow it, each on its own line where the file has it (the other lines
// left blank, so that line numbers stay the file's). The R records of
// another format's block (STHKFMT, ZFMT) are not a trace and are left out.
std::string RegistrosDeTrazo(std::string_view texto);

// The radii (mm) of each side the text traces; empty for a side it lacks.
struct Trazos {
    std::vector<double> derecho;
    std::vector<double> izquierdo;
};

// Refuses, with a Spanish reason: a text larger than a job, a format other
// than 1 (named), unequal spacing, an unknown side, a side traced twice, a
// radius that is not a whole positive number within reach, and a count of
// radii other than announced. `error` names the format's labels;
// `enPalabras`, when given, says the same without them.
std::optional<Trazos> LeerTrazos(std::string_view texto, std::string& error, std::string* enPalabras = nullptr);

// The outline of the eye's side about the trace's centre. A side the text
// lacks is the other side's mirror image about the vertical axis, as frames
// are symmetric.
std::vector<lente::Punto> PuntosDelOjo(const Trazos& trazos, lente::Ojo ojo);

} // namespace dcs
