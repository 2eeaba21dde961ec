#pragma once

#include <optional>
#include <string_view>

// The display calibration of MONITOR.DAT: the aspect ratio of the screen and
// the drawing units per millimetre across and along the diameter. Whatever
// calibrates the display writes it; this program only reads it.
struct Calibracion {
    double aspecto = 1.0;
    double horizontal = 1.5;
    double vertical = 1.62;
};

// Three numbers separated by commas or line breaks, "." as the decimal point
// on every machine, without an exponent; only blanks and line breaks may
// follow the third. Nothing when the text holds anything else, or when the
// aspect lies outside 0.1–10 or a scale outside 0.1–100 units/mm.
std::optional<Calibracion> LeerCalibracion(std::string_view texto);
