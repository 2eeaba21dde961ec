#include "vista_espesor.h"

#include <QMouseEvent>

VistaEspesor::VistaEspesor(QWidget* padre) : VistaPintada(padre)
{
    setObjectName(QStringLiteral("VistaEspesor"));
    setMouseTracking(true);
    setToolTip(QStringLiteral("Indica el espesor de la lente en la posición actual del cursor."));
    m_mapa.PonerLetra(font());
}

void VistaEspesor::Mostrar(const trabajos::Contestacion& c)
{
    m_mapa.Poner(c);
    Renovar();
    leer(m_raton);
}

void VistaEspesor::Limpiar() { Mostrar(trabajos::Contestacion{}); }

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
