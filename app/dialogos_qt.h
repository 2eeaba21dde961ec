#pragma once

#include "dialogos.h"

class QWidget;

// Modal message boxes, the input box and the beep on the desktop, with their
// buttons in Spanish.
class DialogosQt : public Dialogos {
public:
    Respuesta Mensaje(std::string_view titulo, std::string_view texto, Icono icono, Botones botones) override;
    std::optional<std::string> PedirTexto(std::string_view pregunta, std::string_view titulo) override;
    void Beep() override;
};
