#pragma once

#include "pantalla.h"

#include <map>
#include <string>
#include <vector>

// A design window without widgets: keeps each control's text and records
// every write in order.
class PantallaPrueba : public Pantalla {
public:
    std::string Texto(std::string_view control) const override
    {
        const auto it = textos.find(std::string(control));
        return it == textos.end() ? std::string() : it->second;
    }
    void PonerTexto(std::string_view control, std::string_view texto) override
    {
        textos[std::string(control)] = std::string(texto);
        escrituras.push_back(std::string(control) + ": " + std::string(texto));
    }
    void PonerColorTexto(std::string_view control, Color color) override
    {
        colores[std::string(control)] = color;
    }
    void PonerVisible(std::string_view control, bool visible) override
    {
        visibles[std::string(control)] = visible;
    }
    void AgregarALista(std::string_view control, std::string_view elemento) override
    {
        listas[std::string(control)].push_back(std::string(elemento));
    }
    void Enfocar(std::string_view control) override { foco = std::string(control); }
    void InhabilitarCajas() override { ++bloqueos; }

    std::map<std::string, std::string> textos;
    std::vector<std::string> escrituras;
    std::map<std::string, Color> colores;
    std::map<std::string, bool> visibles;
    std::map<std::string, std::vector<std::string>> listas;
    std::string foco;
    int bloqueos = 0;
};
