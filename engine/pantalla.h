#pragma once

#include "color.h"

#include <string>
#include <string_view>

// What a window shows, reached by control name: the texts, colours and
// visibility of its boxes and labels, its lists, the values and limits of its
// scroll bars and check boxes (a check box reads 1 when ticked), the focus,
// and the window itself. The engine and the drawings write through it; each
// Qt window implements it on its widgets, the tests with a recorder and the
// command-line programs by printing.
class Pantalla {
public:
    virtual ~Pantalla() = default;

    virtual std::string Texto(std::string_view control) const = 0;
    virtual void PonerTexto(std::string_view control, std::string_view texto) = 0;
    virtual void PonerColorTexto(std::string_view control, Color color) = 0;
    virtual void PonerVisible(std::string_view control, bool visible) = 0;
    virtual bool Visible(std::string_view control) const = 0;
    virtual void AgregarALista(std::string_view control, std::string_view elemento) = 0;
    virtual void Enfocar(std::string_view control) = 0;

    // Setting a value or a limit that moves the value runs the control's
    // change handler at once, before the call returns. A value outside the
    // control's limits is refused: false, and nothing changes.
    virtual int Valor(std::string_view control) const = 0;
    virtual bool PonerValor(std::string_view control, int valor) = 0;
    virtual int Minimo(std::string_view control) const = 0;
    virtual int Maximo(std::string_view control) const = 0;
    virtual void PonerMinimo(std::string_view control, int valor) = 0;
    virtual void PonerMaximo(std::string_view control, int valor) = 0;

    // Shows the window without making it modal, or hides it.
    virtual void MostrarVentana() = 0;
    virtual void OcultarVentana() = 0;
};
