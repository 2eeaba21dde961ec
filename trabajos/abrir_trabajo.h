#pragma once

#include <QString>
#include <functional>

class QWidget;

// Gives a window the "Trabajo" box: opened from its right-button menu or
// with Ctrl+J, it takes a job number typed or read by a barcode scanner (the
// scanner types the digits and presses Enter) and hands it to `abrir`. The
// box is a small window of its own, so the window's fixed layout keeps its
// controls where they are.
void AgregarAbrirTrabajo(QWidget* ventana, std::function<void(const QString& numero)> abrir);
