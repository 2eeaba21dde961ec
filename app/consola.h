#pragma once

#include "dialogos.h"
#include "pantalla_memoria.h"

#include <ostream>
#include <string>

// A window as a console: every text written to a control is printed as
// "Control: text", a colour as "Control.ForeColor: R,G,B"; the rest is kept
// silently so that it reads back as a window would.
class ConsolaPantalla : public PantallaEnMemoria {
public:
    explicit ConsolaPantalla(std::ostream& salida) : m_salida(salida) {}

    // Sets a box's text without printing it, as typed before the calculation.
    void Cargar(std::string_view control, std::string_view texto) { PantallaEnMemoria::PonerTexto(control, texto); }

    void PonerTexto(std::string_view control, std::string_view texto) override;
    void PonerColorTexto(std::string_view control, Color color) override;

private:
    std::ostream& m_salida;
};

// Message boxes printed as "MsgBox: title: text", line breaks as \n and \r.
// Nobody answers a console: a question takes its first answer.
class ConsolaDialogos : public Dialogos {
public:
    explicit ConsolaDialogos(std::ostream& salida) : m_salida(salida) {}

    Respuesta Mensaje(std::string_view titulo, std::string_view texto, Icono icono, Botones botones) override;
    std::optional<std::string> PedirTexto(std::string_view pregunta, std::string_view titulo) override;
    void Beep() override {}

private:
    std::ostream& m_salida;
};

// A text on one line that cannot drive a terminal: line feeds and carriage
// returns written as \n and \r, other control characters as \xHH (C0, DEL)
// and \u00HH (C1).
std::string EnUnaLinea(std::string_view texto);
