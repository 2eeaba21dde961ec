#pragma once

#include "pantalla_memoria.h"

#include <string>
#include <vector>

// A window without widgets that also records every text written, in order.
class PantallaPrueba : public PantallaEnMemoria {
public:
    void PonerTexto(std::string_view control, std::string_view texto) override
    {
        PantallaEnMemoria::PonerTexto(control, texto);
        escrituras.push_back(std::string(control) + ": " + std::string(texto));
    }

    std::vector<std::string> escrituras;
};
