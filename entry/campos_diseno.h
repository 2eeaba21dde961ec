#pragma once

#include "dialogos.h"
#include "estado_diseno.h"
#include "pantalla.h"

#include <string_view>

// The rules of the design window's input fields: what a confirmed entry
// stores, which advice it writes in SalidaTxt and where the focus goes next,
// leading the optician through the form to "Calcular". An entry confirmed
// with Enter goes through the character check first; a double-click applies
// the same rules without it.
class CamposDiseno {
public:
    CamposDiseno(EstadoDiseno& estado, Pantalla& frm, Dialogos& dialogos);

    void PoderVertice(bool conEnter);
    void DiametroInicial(bool conEnter);
    void BaseCrown(bool conEnter);
    void EspesorBorde(bool conEnter);
    void EspesorCentral(bool conEnter);
    // Any key in the material list.
    void Material();

private:
    // The character check on the box's text; a rejected entry empties the box
    // and keeps the focus there.
    bool aceptada(std::string_view control);
    double valor(std::string_view control) const;
    void aconsejar(std::string_view texto);

    EstadoDiseno& m_estado;
    Pantalla& m_frm;
    Dialogos& m_dialogos;
};
