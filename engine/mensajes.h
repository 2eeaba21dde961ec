#pragma once

#include <string_view>

// Texts of the engine's recoveries and refusals.
namespace mensajes {

inline constexpr std::string_view kTituloDatosErroneos = "Datos de entrada erroneos.";

inline constexpr std::string_view kTextoFallaLente =
    "Se ha tratado de realizar una operación matemática con datos inconsistentes. Por el momento "
    "VEXLOR tratará de recuperar el sistema por lo que los resultados a proporcionar carecen de "
    "valor o significado técnico.";

inline constexpr std::string_view kTextoFallaCaras =
    "Se ha tratado de realizar una operación matemática con datos inconsistentes desde el punto de "
    "vista óptico. Por el momento VEXLOR tratará de recuperar el sistema por lo que los resultados "
    "a proporcionar carecen de valor o significado técnico.";

inline constexpr std::string_view kTituloDiametro = "Diámetro inconsistente y/o material incompatible.";

inline constexpr std::string_view kTextoDiametro =
    "Se está tratando de diseñar un lente con un diámetro incompatible con la geometría y el "
    "material seleccionado.\n\rEl Sistema Vexlor tratará de efectuar todo el proceso cálculo. "
    "Considere en modificar el diámetro a un máximo de: ";

inline constexpr std::string_view kTextoBaseSugerida =
    "El Sistema Vexlor ha sugerido la Base externa de la lente porque el usuario no ha "
    "seleccionado una.";

inline constexpr std::string_view kTituloSinSugerencia = "No es posible sugerir la Curva Base";

inline constexpr std::string_view kTextoPoderCero =
    "Debe cargar un valor para el Poder de Vertice. Normalmente es el indicado en la Rx.";

inline constexpr std::string_view kTextoPoderNegativo =
    "Está por calcular una lente drovena. Para ello utilice el módulo de calculo adecuado o cambie "
    "el valor ingresado.";

inline constexpr std::string_view kTextoSugerenciaImposible =
    "Con el Poder de Vertice, el Diámetro y el material ingresados no es posible sugerir una Curva "
    "Base. Ingrese la Curva Base de la lente o revise los datos.";

inline constexpr std::string_view kTituloMaterialNoEncontrado = "Material no encontrado";
inline constexpr std::string_view kTituloCatalogoInaccesible = "Base de Datos de Materiales inaccesible";

} // namespace mensajes
