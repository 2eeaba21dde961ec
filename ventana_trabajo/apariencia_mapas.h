#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

// What the job window's two pictures of the lenses share: their ground and
// ink, their margins and legend's width, each eye's name, and how a text of
// theirs is given to be drawn and to be read back by the tests.
namespace mapas {

inline const QColor kFondo(240, 240, 240);
inline const QColor kTinta(20, 20, 20);
inline constexpr double kMargen = 6;
inline constexpr double kAnchoBarra = 12;

// A text of a picture and the box it is drawn in.
struct Rotulo {
    QString texto;
    QRectF caja;
    int alineacion = 0; // Qt::AlignmentFlag | Qt::TextFlag
    QFont letra;
    bool sobreMapa = false; // on a pale ground, to read over the colours
};

// The eye's name over its column: 0 the right, 1 the left.
inline QString NombreOjo(int ojo) { return ojo == 0 ? QStringLiteral("Derecho") : QStringLiteral("Izquierdo"); }

} // namespace mapas
