#include "vista_errores.h"

#include <QEvent>
#include <QPainter>

VistaErrores::VistaErrores(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("VistaErrores"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setToolTip(QStringLiteral("Error de la potencia en uso frente a la receta, en cada dirección de la mirada."));
    m_mapa.PonerLetra(font());
}

void VistaErrores::Mostrar(const trabajos::Contestacion& c)
{
    m_mapa.Poner(c);
    m_imagen = QImage();
    update();
}

void VistaErrores::Limpiar() { Mostrar(trabajos::Contestacion{}); }

void VistaErrores::paintEvent(QPaintEvent*)
{
    const qreal escala = devicePixelRatioF();
    const QSize tamano = size() * escala;
    if (tamano.isEmpty())
        return;
    if (m_imagen.size() != tamano) {
        m_imagen = QImage(tamano, QImage::Format_ARGB32_Premultiplied);
        m_imagen.setDevicePixelRatio(escala);
        QPainter lienzo(&m_imagen);
        m_mapa.Dibujar(lienzo, QRectF(rect()));
    }
    QPainter p(this);
    p.drawImage(QPointF(0, 0), m_imagen);
}

void VistaErrores::changeEvent(QEvent* evento)
{
    if (evento->type() == QEvent::FontChange) {
        m_mapa.PonerLetra(font());
        m_imagen = QImage();
        update();
    }
    QWidget::changeEvent(evento);
}
