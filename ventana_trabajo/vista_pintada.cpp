#include "vista_pintada.h"

#include <QEvent>
#include <QPainter>

VistaPintada::VistaPintada(QWidget* padre) : QWidget(padre)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void VistaPintada::Renovar()
{
    m_imagen = QImage();
    update();
}

void VistaPintada::paintEvent(QPaintEvent*)
{
    const qreal escala = devicePixelRatioF();
    const QSize tamano = size() * escala;
    if (tamano.isEmpty())
        return;
    if (m_imagen.size() != tamano) {
        m_imagen = QImage(tamano, QImage::Format_ARGB32_Premultiplied);
        m_imagen.setDevicePixelRatio(escala);
        QPainter lienzo(&m_imagen);
        pintar(lienzo, QRectF(rect()));
    }
    QPainter p(this);
    p.drawImage(QPointF(0, 0), m_imagen);
}

void VistaPintada::changeEvent(QEvent* evento)
{
    if (evento->type() == QEvent::FontChange) {
        ponerLetra(font());
        Renovar();
    }
    QWidget::changeEvent(evento);
}
