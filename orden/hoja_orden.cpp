#include "hoja_orden.h"

#include "codigo_barras.h"
#include "texto_qt.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>

namespace {

// A module of 0.33 mm is the usual narrowest bar for a reader held by hand.
constexpr double kModulo = 0.33;
constexpr double kAltoBarras = 13.0;

} // namespace

QFont FuenteOrden(double puntos, bool negrita)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    // Without ligatures, the page's text reads back letter for letter.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

HojaOrden::HojaOrden(QPainter& p, const QPageLayout& hoja)
    : m_p(p),
      m_x(p.device()->logicalDpiX() / 25.4),
      m_y(p.device()->logicalDpiY() / 25.4),
      m_tamano(hoja.fullRect(QPageLayout::Millimeter).size())
{
    m_p.save();
    m_p.setRenderHint(QPainter::Antialiasing);
    // The device's origin is the corner of the printable area.
    const QRectF util = hoja.paintRect(QPageLayout::Millimeter);
    m_p.scale(m_x, m_y);
    m_p.translate(-util.left(), -util.top());
}

HojaOrden::~HojaOrden() { m_p.restore(); }

double HojaOrden::Ancho(const QString& texto, const QFont& f) const
{
    return QFontMetricsF(f, m_p.device()).horizontalAdvance(texto) / m_x;
}

QString HojaOrden::Recortado(const QString& texto, const QFont& f, double ancho) const
{
    return QFontMetricsF(f, m_p.device()).elidedText(texto, Qt::ElideRight, ancho * m_x);
}

void HojaOrden::Texto(double x, double y, const QString& texto, const QFont& f, Qt::Alignment donde,
                      const QColor& color)
{
    const double ancho = Ancho(texto, f);
    if (donde & Qt::AlignRight)
        x -= ancho;
    else if (donde & Qt::AlignHCenter)
        x -= ancho / 2.0;
    m_p.save();
    m_p.translate(x, y);
    m_p.scale(1.0 / m_x, 1.0 / m_y);
    m_p.setFont(f);
    m_p.setPen(color);
    m_p.drawText(QPointF(0, 0), texto);
    m_p.restore();
}

double HojaOrden::Parrafo(double x, double y, double ancho, const QString& texto, const QFont& f)
{
    m_p.save();
    m_p.translate(x, y);
    m_p.scale(1.0 / m_x, 1.0 / m_y);
    m_p.setFont(f);
    m_p.setPen(kTintaOrden);
    QRectF ocupado;
    m_p.drawText(QRectF(0, 0, ancho * m_x, 1e6), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, texto, &ocupado);
    m_p.restore();
    return ocupado.height() / m_y;
}

void HojaOrden::Linea(double x1, double y1, double x2, double y2, const QColor& color, double grosor)
{
    QPen pluma(color, grosor);
    pluma.setCosmetic(false);
    pluma.setCapStyle(Qt::FlatCap);
    m_p.setPen(pluma);
    m_p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void DibujarNumeroOrden(HojaOrden& h, double derecha, double arriba, const std::string& numero)
{
    h.Texto(derecha, arriba + 6, QStringLiteral("Trabajo ") + Q(numero), FuenteOrden(13, true), Qt::AlignRight);
    std::string error;
    const std::optional<CodigoBarras> codigo = CodificarCode128(numero, error);
    if (!codigo) {
        h.Texto(derecha, arriba + 14, QStringLiteral("Sin código de barras: ") + Q(error), FuenteOrden(8),
                Qt::AlignRight);
        return;
    }
    const double x0 = derecha - codigo->modulos * kModulo;
    const double y0 = arriba + 9;
    QPainter& p = h.pintor();
    p.setPen(Qt::NoPen);
    p.setBrush(kTintaOrden);
    for (const CodigoBarras::Barra& b : codigo->barras)
        p.drawRect(QRectF(x0 + b.inicio * kModulo, y0, b.ancho * kModulo, kAltoBarras));
    p.setBrush(Qt::NoBrush);
}

void DibujarEscalaOrden(HojaOrden& h, double izquierda, double y)
{
    const double largo = 50;
    h.Linea(izquierda, y, izquierda + largo, y, kTintaOrden, 0.25);
    for (int i = 0; i <= 5; ++i) {
        const double x = izquierda + i * 10;
        h.Linea(x, y, x, y - (i % 5 == 0 ? 2.5 : 1.5), kTintaOrden, 0.2);
    }
    h.Texto(izquierda + largo + 3, y,
            QStringLiteral("Control de escala: esta barra mide 50 mm. Dibujo a tamaño "
                           "real, medidas en milímetros."),
            FuenteOrden(8), Qt::AlignLeft, kGrisOrden);
}
