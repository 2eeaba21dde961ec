#pragma once

#include <string_view>

// Texts of the graphics window's drawings and handlers.
namespace mensajes_graficos {

inline constexpr std::string_view kSinDiseno = "Para acceder al modulo de graficos Ud. debe diseñar la lente primero";
inline constexpr std::string_view kTituloGrafico = "Datos incompatibles con el proceso gráfico";
inline constexpr std::string_view kTextoGrafico =
    "La lente solicitada ha sido calculada con exito, pero no es posible utilizar el procedimiento gráfico con los "
    "datos ingresados. Por favor verifique si se trata de una lente oftálmica.";
// The varied design's text stops after the first sentence, blank included.
inline constexpr std::string_view kTextoRedibujo =
    "La lente solicitada ha sido calculada con exito, pero no es posible utilizar el procedimiento gráfico con los "
    "datos ingresados. ";
inline constexpr std::string_view kTituloIlegible = "Archivo de diseños ilegible";
inline constexpr std::string_view kTituloDanado = "Registro de diseño dañado";
inline constexpr std::string_view kTituloCalibracion = "Calibración de pantalla inservible";
inline constexpr std::string_view kAvisoBlock =
    "Consulte con su proveedor si posee blocks para el tallado de este lente";
inline constexpr std::string_view kInicioVentana =
    "Perfil del lente diseñado. Utilice los controles para modificar al mismo hasta adaptarlo a sus necesidades.";

} // namespace mensajes_graficos
