#pragma once

#include "dialogos.h"
#include "pantalla.h"

#include <map>
#include <ostream>
#include <string>

// The design window as a console: every change to a box is printed as
// "Control: text", a colour as "Control.ForeColor: R,G,B".
class ConsolaPantalla : public Pantalla {
public:
    explicit ConsolaPantalla(std::ostream& salida) : m_salida(salida) {}

    // Sets a box's text without printing it, as typed before the calculation.
    void Cargar(std::string_view control, std::string_view texto);

    std::string Texto(std::string_view control) const override;
    void PonerTexto(std::string_view control, std::string_view texto) override;
    void PonerColorTexto(std::string_view control, Color color) override;
    void PonerVisible(std::string_view, bool) override {}
    void AgregarALista(std::string_view, std::string_view) override {}
    void Enfocar(std::string_view) override {}
    void InhabilitarCajas() override {}

private:
    std::ostream& m_salida;
    std::map<std::string, std::string, std::less<>> m_textos;
};

// Message boxes printed as "MsgBox: title: text", line breaks as \n and \r.
// Nobody answers a console: a question takes its first answer.
class ConsolaDialogos : public Dialogos {
public:
    explicit ConsolaDialogos(std::ostream& salida) : m_salida(salida) {}

    Respuesta Mensaje(std::string_view titulo, std::string_view texto, Icono icono,
                      Botones botones) override;
    std::optional<std::string> PedirTexto(std::string_view pregunta, std::string_view titulo) override;
    void Beep() override {}

private:
    std::ostream& m_salida;
};

// A text on one line: line feeds and carriage returns written as \n and \r.
std::string EnUnaLinea(std::string_view texto);
