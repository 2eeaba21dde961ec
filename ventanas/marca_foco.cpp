#include "marca_foco.h"

#include <QPainter>
#include <QWidget>

void MarcarFoco(QWidget& control)
{
    if (!control.hasFocus())
        return;
    QPainter p(&control);
    p.setPen(QPen(control.palette().color(QPalette::Highlight), 2));
    p.drawRect(QRectF(control.rect()).adjusted(1, 1, -1, -1));
}
