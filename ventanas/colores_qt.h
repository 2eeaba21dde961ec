#pragma once

#include "color.h"

#include <QColor>

class QWidget;

inline QColor AQColor(Color c) { return QColor(c.r, c.g, c.b); }

// A box's background and text colour while it can be used. A disabled box
// keeps the toolkit's own greyed look, a blend of its colour towards the
// window's, so that a locked box still reads but never looks editable.
void Colorear(QWidget* control, const QColor& fondo, const QColor& texto = QColor());
void ColorearTexto(QWidget* control, const QColor& texto);
