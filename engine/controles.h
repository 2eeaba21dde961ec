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

// Names of the graphics window's controls.
namespace ctlg {
inline constexpr std::string_view SalidaTxt = "SalidaTxt";
inline constexpr std::string_view SalidaTxt2 = "SalidaTxt2";
inline constexpr std::string_view Text1 = "Text1";
inline constexpr std::string_view Text2 = "Text2";
inline constexpr std::string_view Label10 = "Label10";
inline constexpr std::string_view Label_DisenoDinamico = "Label_DiseñoDinamico";
inline constexpr std::string_view Label_EspesorDinamico = "Label_EspesorDinamico";
inline constexpr std::string_view Text_EspDinamico = "Text_EspDinamico";
inline constexpr std::string_view Label_DiametroDinamico = "Label_DiametroDinamico";
inline constexpr std::string_view Text_DiametroDinamico = "Text_DiametroDinamico";
// The readout of a varied design and its heading, shown while one is drawn.
inline constexpr std::string_view kDinamicos[] = {Label_EspesorDinamico, Text_EspDinamico, Label_DisenoDinamico,
                                                  Label_DiametroDinamico, Text_DiametroDinamico};

inline constexpr std::string_view Tx_CurvaBase_Peso = "Tx_CurvaBase_Peso";
inline constexpr std::string_view Tx_CurvaBase_Material = "Tx_CurvaBase_Material";
inline constexpr std::string_view Tx_CurvaBase_Diametro = "Tx_CurvaBase_Diametro";
inline constexpr std::string_view Tx_CurvaBase_EspesorCentral = "Tx_CurvaBase_EspesorCentral";
inline constexpr std::string_view Tx_Indice_Material = "Tx_Indice_Material";
inline constexpr std::string_view Tx_Indice_Diametro = "Tx_Indice_Diametro";
inline constexpr std::string_view Tx_Indice_Peso = "Tx_Indice_Peso";
inline constexpr std::string_view Tx_Indice_EspesorCentral = "Tx_Indice_EspesorCentral";
inline constexpr std::string_view Tx_Diametro_Peso = "Tx_Diametro_Peso";
inline constexpr std::string_view Tx_Diametro_EspesorCentral = "Tx_Diametro_EspesorCentral";

inline constexpr std::string_view Tx_ModificoBase = "Tx_ModificoBase";
inline constexpr std::string_view Tx_ModificoIndice = "Tx_ModificoIndice";
inline constexpr std::string_view Tx_ModificoDiametro = "Tx_ModificoDiametro";
inline constexpr std::string_view HScroll_ModificoBase = "HScroll_ModificoBase";
inline constexpr std::string_view HScroll_ModificoIndice = "HScroll_ModificoIndice";
inline constexpr std::string_view HScroll_ModificoDiametro = "HScroll_ModificoDiametro";
inline constexpr std::string_view Check_Memoria = "Check_Memoria";

inline constexpr std::string_view Text_BaseNroFoto = "Text_BaseNroFoto";
inline constexpr std::string_view Text_NNroFoto = "Text_NNroFoto";
inline constexpr std::string_view Text_DiamNroFoto = "Text_DiamNroFoto";
} // namespace ctlg
