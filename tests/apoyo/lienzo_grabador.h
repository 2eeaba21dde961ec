#pragma once

#include "lienzo.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

// A drawing surface that records every call, for the geometry of a drawing.
// Every point reads as the colour given to `pixel`.
class LienzoGrabador : public Lienzo {
public:
    struct Arco {
        double cx, cy, radio;
        Color color;
        double inicio, fin, aspecto;
    };
    struct Linea {
        double x1, y1, x2, y2;
        std::optional<Color> color;
    };

    void Limpiar() override {}
    void Marco(double, double, double, double) override {}
    void Arco(double cx, double cy, double radio, Color color, double inicio, double fin, double aspecto) override
    {
        arcos.push_back({cx, cy, radio, color, inicio, fin, aspecto});
    }
    std::pair<double, double> PuntoDeArco(double cx, double cy, double radio, double angulo, double) const override
    {
        return {cx + radio * std::cos(angulo), cy - radio * std::sin(angulo)};
    }
    void Elipse(double cx, double cy, double radio, Color color, double aspecto) override
    {
        elipses.push_back({cx, cy, radio, color, 0, 0, aspecto});
    }
    void Linea(double x1, double y1, double x2, double y2, std::optional<Color> color) override
    {
        lineas.push_back({x1, y1, x2, y2, color});
    }
    long ColorPixel(double, double) const override { return pixel; }
    void EstiloRelleno(Relleno) override {}
    void ColorRelleno(Color) override {}
    void RellenarDesde(int, int, Color borde) override { rellenos.push_back(borde); }
    void Imprimir(std::string_view texto) override { impresos.emplace_back(texto); }

    std::vector<struct Arco> arcos;
    std::vector<struct Arco> elipses;
    std::vector<struct Linea> lineas;
    std::vector<Color> rellenos; // the border colour of each fill
    std::vector<std::string> impresos;
    long pixel = 0;
};
