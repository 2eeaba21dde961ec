#pragma once

#include "carpeta_datos.h"
#include "catalogo.h"
#include "dialogos.h"
#include "estado_diseno.h"
#include "motor.h"
#include "pantalla.h"
#include "perfil.h"

// What the graphics window does, without the window: "Graficar" on the
// design window, the three "Reset" buttons, the tab control's focus, the
// three scroll bars that vary the base curve, the material and the diameter,
// the readout under the cursor and the snapshots. The window's handlers call
// these; they reach the window only through its Pantalla, so a scroll bar's
// value or limit set here runs the window's change handler at once.
class ModificacionDiseno {
public:
    ModificacionDiseno(EstadoDiseno& estado, Motor& motor, Perfil& perfil, Pantalla& frmGraficos, Dialogos& dialogos,
                       Catalogo& catalogo, const CarpetaDatos& carpeta);

    void SSCommandGraficar_Click();
    void SSCommandGraficar_KeyPress(int KeyAscii);

    void Form_Load();
    // "Reset" on the pages "Curva Base" (1), "Diámetro" (2) and "Indice" (3).
    void SSCommand1_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();
    void SSTab_Modifico_GotFocus();

    void HScroll_ModificoBase_Change();
    void HScroll_ModificoDiametro_Change();
    void HScroll_ModificoIndice_Change();

    // The mouse at (X, Y) in drawing units; returns whether the pointer is
    // the crosshair (within 45 mm of the front view's centre).
    bool Form_MouseMove(float X, float Y);

    // The three snapshot buttons do the same.
    void SSCommand_Foto_Click();
    void GrabarFoto(Numero& PoderExterno, Numero& PoderInterno, Numero& IndiceMaterial, Numero& Diametro,
                    Numero& EspesorBorde, Numero& EspesorCentral, Numero& PoderVertice, Numero& Densidad,
                    std::string& NombreMaterial);

private:
    void dibujarGuardado();
    void resolverLente(double diametro);
    void ocultarDinamicos();
    void aconsejar(std::string_view texto, Color color);
    bool redibujar(Numero& indice, Numero& diametro);

    EstadoDiseno& m_estado;
    Motor& m_motor;
    Perfil& m_perfil;
    Pantalla& m_graficos;
    Dialogos& m_dialogos;
    Catalogo& m_catalogo;
    const CarpetaDatos& m_carpeta;
};
