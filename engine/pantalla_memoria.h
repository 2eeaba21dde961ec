#pragma once

#include "pantalla.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// A window without widgets: it keeps what was written to each control, so
// that it reads back as a window would. The command-line programs print
// from it and the tests record with it. A scroll bar it has not been told
// about has the limits 0 and 32767; it runs no change handler.
class PantallaEnMemoria : public Pantalla {
public:
    struct Barra {
        int valor = 0;
        int minimo = 0;
        int maximo = 32767;
    };

    std::string Texto(std::string_view control) const override
    {
        const auto it = textos.find(control);
        return it == textos.end() ? std::string() : it->second;
    }
    void PonerTexto(std::string_view control, std::string_view texto) override
    {
        textos.insert_or_assign(std::string(control), std::string(texto));
    }
    void PonerColorTexto(std::string_view control, Color color) override
    {
        colores.insert_or_assign(std::string(control), color);
    }
    void PonerVisible(std::string_view control, bool visible) override
    {
        visibles.insert_or_assign(std::string(control), visible);
    }
    // A control never hidden counts as visible.
    bool Visible(std::string_view control) const override
    {
        const auto it = visibles.find(control);
        return it == visibles.end() || it->second;
    }
    void AgregarALista(std::string_view control, std::string_view elemento) override
    {
        listas[std::string(control)].push_back(std::string(elemento));
    }
    void Enfocar(std::string_view control) override { foco = std::string(control); }

    int Valor(std::string_view control) const override { return barra(control).valor; }
    bool PonerValor(std::string_view control, int valor) override
    {
        Barra& b = barras[std::string(control)];
        if (valor < b.minimo || valor > b.maximo)
            return false;
        b.valor = valor;
        return true;
    }
    int Minimo(std::string_view control) const override { return barra(control).minimo; }
    int Maximo(std::string_view control) const override { return barra(control).maximo; }
    void PonerMinimo(std::string_view control, int valor) override
    {
        Barra& b = barras[std::string(control)];
        b.minimo = valor;
        b.maximo = std::max(b.maximo, valor);
        b.valor = std::clamp(b.valor, b.minimo, b.maximo);
    }
    void PonerMaximo(std::string_view control, int valor) override
    {
        Barra& b = barras[std::string(control)];
        b.maximo = valor;
        b.minimo = std::min(b.minimo, valor);
        b.valor = std::clamp(b.valor, b.minimo, b.maximo);
    }
    void MostrarVentana() override { ventanaVisible = true; }
    void OcultarVentana() override { ventanaVisible = false; }

    std::map<std::string, std::string, std::less<>> textos;
    std::map<std::string, Color, std::less<>> colores;
    std::map<std::string, bool, std::less<>> visibles;
    std::map<std::string, std::vector<std::string>, std::less<>> listas;
    std::map<std::string, Barra, std::less<>> barras;
    std::string foco;
    bool ventanaVisible = false;

private:
    Barra barra(std::string_view control) const
    {
        const auto it = barras.find(control);
        return it == barras.end() ? Barra{} : it->second;
    }
};
