#pragma once

#include "catalogo.h"
#include "dialogos.h"
#include "estado_diseno.h"
#include "pantalla.h"

#include <string>
#include <string_view>

// The lens design engine: the shared lens routines and the calculation driver
// of the "Calcular" command, working on one design state. Each routine writes
// to the window it belongs to, the design window or the graphics window,
// through that window's Pantalla, whoever calls it; messages go to the user
// through Dialogos; materials come from the Catalogo.
class Motor {
public:
    Motor(EstadoDiseno& estado, Pantalla& frmVantora, Pantalla& frmGraficos, Dialogos& dialogos, Catalogo& catalogo);

    // Centre thickness of a plus lens from its edge thickness: finds the back
    // power that, with the thickness it produces, gives the prescribed
    // back-vertex power. Reduces a diameter the front sphere cannot span.
    void CalculoLente(Numero& CurvaBaseCalculo, Numero& DiametroM, Numero& EspesorBorde, Numero& IndiceMaterial,
                      Numero& PoderVerticeCalculo, Numero& ErrorPoder, Numero& PoderInterno1523Calc,
                      Numero& PoderExternoCalc, Numero& PoderInternoCalc, Numero& SagitaExterna,
                      Numero& EspesorCentralM);

    // Proposes a base curve in quarter dioptres. Returns false, with the
    // arguments untouched and the user told why, when the prescription
    // admits no suggestion (a power of zero or below, impossible numbers).
    bool SugerirBase(Numero& CurvaBaseCalculo, Numero& PoderVertice, Numero& DiametroInicial, Numero& DiametroM);

    // Face powers, back radius and 1.523 tool power of a lens of known centre
    // thickness, and the largest diameter its back face can span.
    void CalculoCaras(Numero& CurvaBase, Numero& IndiceMaterial, Numero& EspesorCentral, Numero& PoderVertice,
                      Numero& DiametroInicial);

    // Thickness of the lens at r mm from its centre, the radius the cursor
    // marks on the front view, shown to a tenth of a millimetre in Text2;
    // Text2 is emptied beyond the lens's edge.
    void EspesorEnCursor(Numero& CurvaBase, Numero& IndiceMaterial, Numero& EspesorCentralInicial, Numero& PoderVertice,
                         Numero& DiametroInicial, float& r);
    // The same for the varied design, in Text_EspDinamico, with the diameter
    // of a lens cut at that radius in Text_DiametroDinamico; it reads out to
    // the front face's radius while the thickness is not negative.
    void EspesorEnCursorDinamico(Numero& CurvaBaseActual, Numero& PoderInterno, Numero& IndiceMaterial,
                                 Numero& EspesorCentral, Numero& PoderVertice, Numero& DiametroModificado, float& r);

    // Material look-ups of the catalogue.
    void CargarMateriales();
    bool BuscarMaterialPorNombre(std::string_view texto, Numero& indice, Numero& densidad);
    // Writes the material's description and supplier on the graphics window.
    bool BuscarMaterialPorId(std::string_view id, std::string& nombre, Numero& indice, Numero& densidad);

    // The full calculation of a click on "Calcular". Returns false when the
    // calculation could not start (the user has been told why); the design
    // window then leaves its boxes open.
    bool CalcularCompleto();
    // The surface recalculation of a key pressed on "Calcular", with the
    // centre thickness as it stands.
    void RecalcularSuperficies();

private:
    void pasosCalculoLente(Numero& CurvaBaseCalculo, Numero& DiametroM, Numero& EspesorBorde, Numero& IndiceMaterial,
                           Numero& PoderVerticeCalculo, Numero& ErrorPoder, Numero& PoderInterno1523Calc,
                           Numero& PoderExternoCalc, Numero& PoderInternoCalc, Numero& SagitaExterna,
                           Numero& EspesorCentralM);
    void pasosCalculoCaras(Numero& CurvaBase, Numero& IndiceMaterial, Numero& EspesorCentral, Numero& PoderVertice,
                           Numero& DiametroInicial);
    // The faces of a lens of known centre thickness: front radius (m) and
    // power, thickness (m), back power and signed back radius (m).
    struct Caras {
        double r1, f1, tm, f2, r2;
    };
    Caras carasDelLente(double base, double n, double espesorMm, double fv, Numero& PoderInterno);
    static void cargarLenteMuestra(Numero& base, Numero& indice, Numero& espesorMm, Numero& poderVertice,
                                   Numero& diametro);
    struct Corte;
    Corte espesorEn(double base, double n, double espesorMm, double fv, double rm, Numero& PoderInterno,
                    bool hastaElRadioFrontal);
    bool poderPermiteSugerir();
    void mostrarResultados();

    EstadoDiseno& m_estado;
    Pantalla& m_frm;
    Pantalla& m_graficos;
    Dialogos& m_dialogos;
    Catalogo& m_catalogo;
};
