#pragma once

#include "colores_graficos.h"
#include "lienzo.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <string>

// The graphics window's drawing surface as an image of its client area:
// 8280 × 4875 twips at 15 twips to the pixel. Every pixel written is exactly
// the colour asked for (no antialiasing), so that the flood fill finds its
// boundary colour.
//
// A logical point (x, y) lands at the device coordinates
// px = (x − izquierda) · 552 / ancho and py = (y − arriba) · 325 / alto, and
// on the pixel (⌊px + 0.5⌋, ⌊py + 0.5⌋): pixel i covers [i − 0.5, i + 0.5),
// so a point halfway between two pixels goes to the right, respectively down.
// Lines, arcs and ColorPixel all round this way. Whatever falls off the
// surface is clipped; non-finite arguments, or coordinates that overflow once
// scaled to pixels, draw nothing.
class LienzoImagen : public Lienzo {
public:
    static constexpr int kAncho = 552;
    static constexpr int kAlto = 325;
    static constexpr Color kFondo = colores::kFondo;
    static constexpr Color kFrente = colores::kFrente;

    // Cleared to the background, under the usual frame of 300 × 200 units.
    LienzoImagen();

    void Limpiar() override;
    // A frame without a finite, positive width and height is ignored.
    void Marco(double izquierda, double arriba, double ancho, double alto) override;
    // A non-positive aspect draws nothing; equal angles draw one point.
    void Arco(double cx, double cy, double radio, Color color, double inicio, double fin, double aspecto) override;
    std::pair<double, double> PuntoDeArco(double cx, double cy, double radio, double angulo,
                                          double aspecto) const override;
    void Elipse(double cx, double cy, double radio, Color color, double aspecto) override;
    void Linea(double x1, double y1, double x2, double y2, std::optional<Color> color = std::nullopt) override;
    long ColorPixel(double x, double y) const override;
    void EstiloRelleno(Relleno estilo) override;
    void ColorRelleno(Color color) override;
    // Spreads to the 4 neighbours, across every colour but the boundary's,
    // the fill colour included; a seed off the surface or of the boundary
    // colour paints nothing.
    void RellenarDesde(int x, int y, Color borde) override;
    // In the text colour, from the text margin, wrapped at word breaks so
    // that a line never runs off the surface. Needs a QGuiApplication, as
    // every use of fonts does.
    void Imprimir(std::string_view texto) override;
    // Where printed text starts, in pixels from the left edge: a window that
    // covers part of the surface with its controls keeps the text clear of
    // them.
    void MargenTexto(int x) { m_margen = std::clamp(x, 0, kAncho - 1); }
    static constexpr Color kTexto = colores::kTexto;

    const QImage& imagen() const { return m_imagen; }
    // The image as a PNG file's bytes.
    QByteArray Png() const;
    // Writes the image as a PNG through the data layer's safe save: nothing
    // but a regular file is replaced, and on failure the previous file, if
    // any, stays. The reason comes back in Spanish.
    bool GuardarPng(const std::filesystem::path& archivo, std::string& error) const;

private:
    double dispositivoX(double x) const;
    double dispositivoY(double y) const;
    void poner(int x, int y, QRgb color);
    void trazar(int x0, int y0, int x1, int y1, QRgb color);
    void trazarArco(double cx, double cy, double a, double b, double inicio, double barrido, double fin, QRgb color);

    QImage m_imagen;
    double m_izquierda = 0.0;
    double m_arriba = 0.0;
    double m_ancho = 300.0;
    double m_alto = 200.0;
    Relleno m_estilo = Relleno::Transparente;
    Color m_colorRelleno{0, 0, 0};
    int m_margen = 0;
    int m_renglon = 0;
};
