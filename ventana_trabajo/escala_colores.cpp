#include "escala_colores.h"

#include <QPainter>
#include <cmath>

EscalaColores::EscalaColores(std::span<const std::array<int, 3>> anclas, std::size_t muestras) : m_tabla(muestras)
{
    for (std::size_t i = 0; i < m_tabla.size(); ++i) {
        const double x = static_cast<double>(i) / (m_tabla.size() - 1) * (anclas.size() - 1);
        const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(x), anclas.size() - 2);
        const double u = x - static_cast<double>(k);
        int c[3];
        for (int j = 0; j < 3; ++j)
            c[j] = static_cast<int>(std::lround(anclas[k][j] + u * (anclas[k + 1][j] - anclas[k][j])));
        m_tabla[i] = qRgb(c[0], c[1], c[2]);
    }
}

void EscalaColores::PintarBarra(QPainter& p, const QRectF& barra, std::span<const double> marcas,
                                const QColor& tinta) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // One line of whole pixels a colour.
    const QRect r = barra.toAlignedRect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        p.setPen(QColor(Color((r.bottom() - y) / std::max(1.0, r.height() - 1.0))));
        p.drawLine(r.left(), y, r.right(), y);
    }
    p.setPen(tinta);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    for (const double m : marcas) {
        const double y = barra.bottom() - m * barra.height();
        p.drawLine(QPointF(barra.right(), y), QPointF(barra.right() + 3, y));
    }
    p.restore();
}

const EscalaColores& EscalaViridis()
{
    static constexpr std::array<std::array<int, 3>, 10> kAnclas = {{{0x44, 0x01, 0x54},
                                                                    {0x48, 0x28, 0x78},
                                                                    {0x3E, 0x4A, 0x89},
                                                                    {0x31, 0x68, 0x8E},
                                                                    {0x26, 0x82, 0x8E},
                                                                    {0x1F, 0x9E, 0x89},
                                                                    {0x35, 0xB7, 0x79},
                                                                    {0x6D, 0xCD, 0x59},
                                                                    {0xB4, 0xDE, 0x2C},
                                                                    {0xFD, 0xE7, 0x25}}};
    static const EscalaColores escala(kAnclas, 1024);
    return escala;
}

const EscalaColores& EscalaDivergente()
{
    static constexpr std::array<std::array<int, 3>, 7> kAnclas = {{{0x21, 0x66, 0xAC},
                                                                   {0x67, 0xA9, 0xCF},
                                                                   {0xD1, 0xE5, 0xF0},
                                                                   {0xF7, 0xF7, 0xF7},
                                                                   {0xFD, 0xDB, 0xC7},
                                                                   {0xEF, 0x8A, 0x62},
                                                                   {0xB2, 0x18, 0x2B}}};
    static const EscalaColores escala(kAnclas, 1025);
    return escala;
}
