#include "vista_espesor.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

VistaEspesor::VistaEspesor(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("VistaEspesor"));
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setToolTip(QStringLiteral("Indica el espesor de la lente en la posición actual del cursor."));
    m_mapa.PonerLetra(font());
}

void VistaEspesor::Mostrar(const trabajos::Contestacion& c)
{
    m_mapa.Poner(c);
    m_imagen = QImage();
    leer(m_raton);
    update();
}

void VistaEspesor::Limpiar() { Mostrar(trabajos::Contestacion{}); }

void VistaEspesor::paintEvent(QPaintEvent*)
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

void VistaEspesor::mouseMoveEvent(QMouseEvent* evento)
{
    m_raton = evento->position();
    leer(m_raton);
    QWidget::mouseMoveEvent(evento);
}

void VistaEspesor::leaveEvent(QEvent* evento)
{
    m_raton.reset();
    leer(m_raton);
    QWidget::leaveEvent(evento);
}

void VistaEspesor::changeEvent(QEvent* evento)
{
    if (evento->type() == QEvent::FontChange) {
        m_mapa.PonerLetra(font());
        m_imagen = QImage();
        update();
    }
    QWidget::changeEvent(evento);
}

void VistaEspesor::leer(std::optional<QPointF> donde)
{
    QString texto;
    if (donde) {
        if (const auto l = m_mapa.EspesorEn(*donde, QRectF(rect()))) {
            texto = QStringLiteral("Espesor en el cursor (%1): %2 mm")
                        .arg(l->lado == dcs::Lado::Derecho ? QStringLiteral("derecho") : QStringLiteral("izquierdo"),
                             QString::number(l->espesor, 'f', 2));
        }
    }
    if (texto == m_lectura)
        return;
    m_lectura = texto;
    emit LecturaCambiada(m_lectura);
}
