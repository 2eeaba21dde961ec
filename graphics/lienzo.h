#pragma once

#include "color.h"

#include <optional>
#include <string_view>
#include <utility>

// The graphics window's drawing surface, as the lens drawings see it: a
// logical frame laid over the window's client area, curves and lines in it,
// the colour of a point, a flood fill and printed text. The window draws on
// an image of its client area; tests record the calls on a fake.
class Lienzo {
public:
    enum class Relleno { Transparente, Solido };

    virtual ~Lienzo() = default;

    // Everything back to the background colour; the text position returns to
    // the top-left corner.
    virtual void Limpiar() = 0;
    // The logical frame over the whole client area: the point (izquierda,
    // arriba) is the top-left corner, ancho × alto units cover the surface.
    virtual void Marco(double izquierda, double arriba, double ancho, double alto) = 0;
    // Elliptical arc drawn counterclockwise from inicio to fin (radians from
    // the positive x direction, π/2 pointing up on the screen, both within
    // 0..2π; an arc whose start is larger than its end crosses angle 0). The
    // radius is in horizontal units. aspecto is the vertical semi-axis over
    // the horizontal one in device pixels: up to 1 the horizontal semi-axis is
    // the radius, above 1 the vertical one is.
    virtual void Arco(double cx, double cy, double radio, Color color, double inicio, double fin, double aspecto) = 0;
    // The point at angulo of the arc Arco draws with the same centre, radius
    // and aspect, in logical units: where a curve really ends on this surface,
    // so that the lines that close an outline meet it.
    virtual std::pair<double, double> PuntoDeArco(double cx, double cy, double radio, double angulo,
                                                  double aspecto) const = 0;
    // The whole curve, same rules.
    virtual void Elipse(double cx, double cy, double radio, Color color, double aspecto) = 0;
    // A one-pixel segment; without a colour, in the foreground colour.
    virtual void Linea(double x1, double y1, double x2, double y2, std::optional<Color> color = std::nullopt) = 0;
    // Colour value (red + 256·green + 65536·blue) at a logical point; -1
    // outside the surface.
    virtual long ColorPixel(double x, double y) const = 0;
    virtual void EstiloRelleno(Relleno estilo) = 0;
    virtual void ColorRelleno(Color color) = 0;
    // From a device pixel of the client area, paints every connected pixel
    // with the fill colour up to pixels of exactly the boundary colour. Does
    // nothing while the fill style is transparent.
    virtual void RellenarDesde(int x, int y, Color borde) = 0;
    // Writes the text at the text position in a colour readable on the
    // background, and moves
    // the position to the start of the next line.
    virtual void Imprimir(std::string_view texto) = 0;
};
