#pragma once

#include "color.h"

#include <string>
#include <string_view>


// What a window shows, reached by control name. The engine writes results and
// advice through it; the Qt windows implement it on their widgets.
class Pantalla {
public:
    virtual ~Pantalla() = default;

    virtual std::string Texto(std::string_view control) const = 0;
    virtual void PonerTexto(std::string_view control, std::string_view texto) = 0;
    virtual void PonerColorTexto(std::string_view control, Color color) = 0;
    virtual void PonerVisible(std::string_view control, bool visible) = 0;
    virtual void AgregarALista(std::string_view control, std::string_view elemento) = 0;
    virtual void Enfocar(std::string_view control) = 0;
    // Locks the design window's text boxes after a full calculation.
    virtual void InhabilitarCajas() = 0;
};
