#pragma once

#include "dialogos.h"
#include "pantalla_memoria.h"

// A window and dialogs that show nothing, so that a benchmark times the work
// and not the display.
using PantallaMuda = PantallaEnMemoria;

class DialogosMudos : public Dialogos {
public:
    Respuesta Mensaje(std::string_view, std::string_view, Icono, Botones) override { return Respuesta::Aceptar; }
    std::optional<std::string> PedirTexto(std::string_view, std::string_view) override { return std::nullopt; }
    void Beep() override {}
};
