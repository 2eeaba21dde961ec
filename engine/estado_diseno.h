#pragma once

#include "numero.h"

#include <string>

// The one design state shared by the windows, the engine and the file writers.
// Lengths the user sees are in millimetres, lengths inside the engine in
// metres; powers in dioptres, base curves referred to a 1.523 tool.
struct EstadoDiseno {
    // Prescription and lens choices confirmed on the design window.
    Numero PoderVertice;
    Numero CurvaBase;
    Numero DiametroInicial;
    Numero EspesorBorde;
    Numero EspesorCentral;

    // Material.
    std::string NombreMaterial;
    Numero IndiceMaterial;
    Numero Densidad;
    std::string IdMaterial;
    std::string MaterialDeBase; // "Si" when chosen in the materials window, "No" after "Limpiar"

    // Values handed to the lens geometry.
    Numero CurvaBaseCalculo;
    Numero PoderVerticeCalculo;
    Numero DiametroM;
    Numero EspesorBordeM;
    Numero EspesorCentralM;
    Numero SagitaExterna;
    Numero PoderExternoCalc;
    Numero PoderInternoCalc;
    Numero PoderInterno1523Calc;
    Numero ErrorPoder;

    // Faces of the finished lens.
    Numero RadioExterno;
    Numero PoderExterno;
    Numero PoderInterno;
    Numero RadioInterno;
    Numero PoderInterno1523;
    Numero CurvaBaseActual;

    int EspesorMostrado = 0;
    // 1 when a lens routine has loaded its sample lens since the last
    // calculation began: the design then no longer matches what was typed.
    int CalculoRecuperado = 0;
    Numero EspesorCentralInicial;

    // Hand-over values of the numeric entry check.
    std::string TextoIngresado;
    std::string EntradaInvalida;
    int MarcaEntrada = 0;

    // Working values of the graphics window.
    int ScrollActivo = 0;
    Numero IndiceScroll;
    Numero DiametroModificado;
    Numero CotaDinamica;

    // Display calibration.
    Numero AspectoPantalla;
    Numero EscalaHorizontal;
    Numero EscalaVertical;
};
