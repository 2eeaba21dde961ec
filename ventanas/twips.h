#pragma once

#include <QPoint>
#include <QRect>

// The windows are laid out in twips, 15 to a pixel at 96 dots per inch. Every
// coordinate is rounded on its own to the nearest pixel, so that two windows
// built from the same figures agree to the pixel.
inline constexpr double kTwipsPorPixel = 15.0;

inline int Pixeles(int twips) { return qRound(twips / kTwipsPorPixel); }

inline QRect Twips(int izquierda, int arriba, int ancho, int alto)
{
    return QRect(Pixeles(izquierda), Pixeles(arriba), Pixeles(ancho), Pixeles(alto));
}

inline QPoint TwipsPunto(int izquierda, int arriba) { return QPoint(Pixeles(izquierda), Pixeles(arriba)); }
