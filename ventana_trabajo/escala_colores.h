#pragma once

#include <QColor>
#include <QRectF>
#include <algorithm>
#include <array>
#include <span>
#include <vector>

class QPainter;

// A colour scale of the job window's maps: a table of colours interpolated
// between anchor colours laid evenly along it, so that each of a map's
// pixels costs one rounding and one look-up, and the scale drawn as the
// map's legend.
class EscalaColores {
public:
    // `muestras` colours from the first anchor to the last.
    EscalaColores(std::span<const std::array<int, 3>> anclas, std::size_t muestras);

    // The colour at f, from 0 (the first anchor) to 1 (the last); beyond
    // either end, that end's colour.
    QRgb Color(double f) const
    {
        // Every pixel of a map comes through here: a plain rounding, no libm.
        const double g = (f > 0 ? std::min(f, 1.0) : 0.0) * (m_tabla.size() - 1) + 0.5;
        return m_tabla[static_cast<std::size_t>(g)];
    }

    // The scale as an upright bar, the last anchor at the top, framed in
    // `tinta`, with a tick of that colour at each of `marcas` (fractions of
    // the height, from the bottom) on its right side.
    void PintarBarra(QPainter& p, const QRectF& barra, std::span<const double> marcas, const QColor& tinta) const;

private:
    std::vector<QRgb> m_tabla;
};

// Viridis: dark blue-violet for the least, through blue and green to yellow
// for the most, even in lightness so that equal steps look equal, and
// readable to colour-blind eyes.
const EscalaColores& EscalaViridis();

// A diverging scale, blue for too minus, white for no error and red for too
// plus, readable to colour-blind eyes (ColorBrewer's RdBu); an odd number of
// colours puts no error exactly on white.
const EscalaColores& EscalaDivergente();
