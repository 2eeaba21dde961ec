#pragma once

#include <string_view>

// Names of the design window's controls that the engine writes or reads.
namespace ctl {
inline constexpr std::string_view Combo_Materiales = "Combo_Materiales";
inline constexpr std::string_view Text_MaterialBaseDatos = "Text_MaterialBaseDatos";
inline constexpr std::string_view Tx_PoderVertice = "Tx_PoderVertice";
inline constexpr std::string_view Tx_BaseCrown = "Tx_BaseCrown";
inline constexpr std::string_view Tx_DiametroInicial = "Tx_DiametroInicial";
inline constexpr std::string_view Tx_EspesorBorde = "Tx_EspesorBorde";
inline constexpr std::string_view Tx_EspesorCentral = "Tx_EspesorCentral";
inline constexpr std::string_view Tx_PcurvaExt = "Tx_PcurvaExt";
inline constexpr std::string_view Tx_PcurvaInt = "Tx_PcurvaInt";
inline constexpr std::string_view Tx_RadioIndice = "Tx_RadioIndice";
inline constexpr std::string_view Tx_Radio1523 = "Tx_Radio1523";
inline constexpr std::string_view SalidaTxt = "SalidaTxt";
inline constexpr std::string_view SalidaTxt2 = "SalidaTxt2";
inline constexpr std::string_view SSCommandGuardar = "SSCommandGuardar";
inline constexpr std::string_view SSCommandGraficar = "SSCommandGraficar";
inline constexpr std::string_view Command_Calcular = "Command_Calcular";
} // namespace ctl
