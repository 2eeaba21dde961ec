#pragma once

#include "color.h"

// Colours of the graphics window and its drawings.
namespace colores {
inline constexpr Color kFondo{0, 0, 64};
inline constexpr Color kFrente{64, 64, 64};
inline constexpr Color kRegistro1{255, 250, 55};
inline constexpr Color kRegistro2{0, 255, 0};
inline constexpr Color kDinamico{110, 255, 255};
inline constexpr Color kCuerpo{128, 128, 255};
inline constexpr Color kAvisoBlock{255, 128, 255};
inline constexpr Color kVerdeClaro{128, 255, 128};
inline constexpr Color kGrisClaro{224, 224, 224};
// Printed text: pale yellow stands out on the navy background.
inline constexpr Color kTexto{255, 255, 160};
} // namespace colores
