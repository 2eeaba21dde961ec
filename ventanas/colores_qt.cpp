#include "colores_qt.h"

#include <QPalette>
#include <QWidget>

namespace {

QColor mezclar(const QColor& a, const QColor& b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

constexpr QPalette::ColorGroup kEnUso[] = {QPalette::Active, QPalette::Inactive};

} // namespace

void Colorear(QWidget* control, const QColor& fondo, const QColor& texto)
{
    QPalette p = control->palette();
    for (const QPalette::ColorGroup grupo : kEnUso) {
        p.setColor(grupo, QPalette::Base, fondo);
        p.setColor(grupo, QPalette::Button, fondo);
        p.setColor(grupo, QPalette::Window, fondo);
    }
    const QColor apagado = mezclar(fondo, p.color(QPalette::Disabled, QPalette::Window));
    p.setColor(QPalette::Disabled, QPalette::Base, apagado);
    p.setColor(QPalette::Disabled, QPalette::Button, apagado);
    control->setPalette(p);
    if (texto.isValid())
        ColorearTexto(control, texto);
}

void ColorearTexto(QWidget* control, const QColor& texto)
{
    // The disabled group keeps the toolkit's grey text.
    QPalette p = control->palette();
    for (const QPalette::ColorGroup grupo : kEnUso) {
        p.setColor(grupo, QPalette::Text, texto);
        p.setColor(grupo, QPalette::ButtonText, texto);
        p.setColor(grupo, QPalette::WindowText, texto);
    }
    control->setPalette(p);
}
