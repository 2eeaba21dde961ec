#pragma once

#include "mensajes.h"

#include <string_view>

// The advice the design window writes in its output line SalidaTxt: what a
// confirmed entry says, and the hint of each frame under the mouse.
namespace consejos {

// The engine refuses a base suggestion with the same words; the double-click
// advice lacks the final period.
inline constexpr std::string_view kPoderNegativo =
    mensajes::kTextoPoderNegativo.substr(0, mensajes::kTextoPoderNegativo.size() - 1);
inline constexpr std::string_view kPoderCero = mensajes::kTextoPoderCero;
inline constexpr std::string_view kPoderAlto =
    "Está calculando un lente de mas de 30 D. Es posible que no pueda obtener todas las "
    "caracteristicas gráficas del sistema.";
inline constexpr std::string_view kDiametroCero =
    "Atención: El diámetro no puede ser cero. Ingrese un valor de por lo menos 10 mm. para poder "
    "efectuar el cálculo.";
inline constexpr std::string_view kPlanoConvexa =
    "Atención: Las lentes Plano Convexas no se utilizan en óptica oftálmica.";
inline constexpr std::string_view kSinMaterial = "Seleccione un material de la lista para continuar";
inline constexpr std::string_view kEspesorDelgado =
    "Atención: La lente que diseñará corre riesgos de rotura y deformaciones. Aumente el espesor de "
    "centro a un mínimo de 1.5 mm.";
inline constexpr std::string_view kEspesorNorma =
    "Atención: Recuerde que las normas internacionales indican que el espesor de centro debe ser "
    "como mínimo 1.5 mm";
inline constexpr std::string_view kEspesorCero =
    "Atención: El espesor de centro no puede ser cero. Ingrese un valor de por lo menos 1.5 mm para "
    "poder efectuar el cálculo.";

inline constexpr std::string_view kPistaCurvaBase =
    "Ingrese la Curva Base de la lente. Si no la conoce Vexlor le sugerirá una.";
inline constexpr std::string_view kPistaDiametro = "Indique el diámetro a solicitar de la lente terminada.";
inline constexpr std::string_view kPistaMaterial =
    "Seleccione un material de la lista, o abra la Base de Datos de materiales para seleccionar uno.";
inline constexpr std::string_view kPistaEspesorCentral =
    "Los recursos del Sistema Vexlor calcularán el espesor central necesario.";
inline constexpr std::string_view kPistaPoder = "Indique el Poder Esf. solicitado en la receta.";
inline constexpr std::string_view kPistaPoderes =
    "Se presentan los poderes de curva en dioptrias de cada cara. Utilice estos valores para modificar sus "
    "diseños.";
inline constexpr std::string_view kPistaGeometria =
    "Se presentan el radio de la superficie posterior y su poder de curva para n:1.523";
inline constexpr std::string_view kPistaEspesorBorde = "Indique el espesor de borde requerido a la lente terminada.";

} // namespace consejos
