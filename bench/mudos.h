#pragma once

#include "dialogos.h"
#include "pantalla.h"

// A window and dialogs that show nothing, so that a benchmark times the work
// and not the display. Benchmarks override what they need to observe.
class PantallaMuda : public Pantalla {
public:
    std::string Texto(std::string_view) const override { return {}; }
    void PonerTexto(std::string_view, std::string_view) override {}
    void PonerColorTexto(std::string_view, Color) override {}
    void PonerVisible(std::string_view, bool) override {}
    void AgregarALista(std::string_view, std::string_view) override {}
    void Enfocar(std::string_view) override {}
    void InhabilitarCajas() override {}
};

class DialogosMudos : public Dialogos {
public:
    Respuesta Mensaje(std::string_view, std::string_view, Icono, Botones) override { return Respuesta::Aceptar; }
    std::optional<std::string> PedirTexto(std::string_view, std::string_view) override { return std::nullopt; }
    void Beep() override {}
};
