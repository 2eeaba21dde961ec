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
// on every machine; anything after the third is ignored. Nothing when the
// text holds fewer than three numbers or something else in their place, or
// when the aspect lies outside 0.1–10 or a scale outside 0.1–100 units/mm.
std::optional<Calibracion> LeerCalibracion(std::string_view texto);
