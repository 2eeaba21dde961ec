#pragma once

#include <string_view>

// What a surfacing laboratory makes routinely and where a lens stops being
// makeable: the rules behind the graphics window's advice and limits, and the
// texts it shows for them. The scroll bars and the job ticket both judge a
// design by these.
namespace laboratorio {

inline constexpr std::string_view kBaseCorriente = "Curva Base externa corriente en laboratorio";
inline constexpr std::string_view kBaseEspecial =
    "Curva Base externa especial en laboratorio. Confirme posibilidades y demoras.";

inline constexpr std::string_view kDiametroNormal = "Diámetro normal";
inline constexpr std::string_view kDiametroEspecial = "Está seleccionando un diámetro especial.";
inline constexpr std::string_view kDiametroNoStandart =
    "Ha seleccionado un diámetro no standart. Verifique la posibilidad de tallado y demoras para este diseño.";
inline constexpr std::string_view kDiametroPolicarbonato =
    "Atención: Ha seleccionado un diámetro para un monofocal solo compatible con lentes de policarbonato. Consulte "
    "posibilidad de fabricación y demoras";

inline constexpr std::string_view kTituloMuyCurva = "Lente vantora muy curva";
inline constexpr std::string_view kTextoMuyCurva =
    "El valor de curva base externa no es compatible con el diámetro y material seleccionado.\r\n"
    "El Sistema Vexlor le sugiere bajar la curva base externa para obtener un mejor diseño.\r\n"
    "Por el momento el Sistema sugiere una curva externa inicial de calculo: ";

inline constexpr std::string_view kTituloDiametro = "Diámetro incompatible";
inline constexpr std::string_view kTextoDiametro =
    "Este es el diámetro máximo en el que se puede tallar esta lente de acuerdo a la base y material "
    "seleccionado.\r\n"
    "Si Ud. requiere un diámetro mayor el Sistema Vexlor le sugiere optar por lo siguiente:\r\n"
    "\r\n"
    "1) Bajar la curva base externa.  2) Utilizar un material de indice mayor.";

inline constexpr std::string_view kTituloMaterial = "Material incompatible";
inline constexpr std::string_view kTextoMaterial =
    "El material solicitado no permite el tallado de esta lente de acuerdo al diámetro y curva base "
    "seleccionada.\r\n"
    "Si Ud. requiere de este material el Sistema Vexlor le sugiere estas opciones:\r\n"
    "\r\n"
    "1) Bajar la curva base externa.  2) Reducir el diámetro.";

// Bases (D at 1.523) a laboratory keeps moulds for.
bool BaseCorriente(double base);

// 60 and 65 mm are the blanks every laboratory stocks.
bool DiametroNormal(double diametro);
// The advice for a diameter that is not normal: larger ones need more of
// the laboratory, beyond 71 mm only polycarbonate is made so large.
std::string_view ConsejoDiametro(double diametro);

// The diameter of the front face's own sphere, cut to whole millimetres: a
// lens this wide cannot be cut. A flat front has no limit.
double DiametroMaximoFrontal(double indice, double poderExterno);

// A front sphere whose radius (mm) does not exceed half the diameter plus
// half a millimetre is too steep to surface at that diameter; a material
// change allows it one millimetre.
bool LenteMuyCurva(double radioExterno, double diametro);
bool MaterialIncompatible(double radioExterno, double diametro);

// Depth of blank a lens needs, its edge plus its front sagitta (mm), beyond
// which a laboratory may not stock semi-finished blocks.
bool RequiereBlockEspecial(double espesorBorde, double sagitaExterna);

} // namespace laboratorio
