#include "orden_trabajo_dcs.h"

#include "archivos.h"
#include "codigo_barras.h"
#include "orden_pdf.h"
#include "ruta_legible.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The painter works in millimetres, so a font's points are divided by the
// device's pixels per millimetre to keep their size on paper.
QFont letra(const QPainter& p, double puntos, bool negrita = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(puntos * 25.4 / p.device()->logicalDpiY());
    f.setBold(negrita);
    return f;
}

QString mm(double x, int cifras = 3) { return QString::number(x, 'f', cifras); }

// One eye's column: its figures, then its outline about the optical centre,
// drawn with x to the right and y up as the lens is seen from the front.
void dibujarOjo(QPainter& p, const trabajos::OjoResuelto& ojo, const QString& titulo, QPointF esquina)
{
    p.setFont(letra(p, 11, true));
    p.drawText(esquina + QPointF(0, 0), titulo);
    p.setFont(letra(p, 9));
    if (!ojo.pedido) {
        p.drawText(esquina + QPointF(0, 7), QStringLiteral("No pedido"));
        return;
    }
    if (!ojo.resultado) {
        p.drawText(QRectF(esquina + QPointF(0, 3), QSizeF(85, 30)), Qt::TextWordWrap,
                   QStringLiteral("Sin lente: ") + q(ojo.falla));
        return;
    }
    const lente::Resultado& r = *ojo.resultado;
    const QStringList lineas{
        QStringLiteral("Material: ") +
            (ojo.material.empty() ? QStringLiteral("índice ") + mm(ojo.indice) : q(ojo.material)),
        QStringLiteral("Espesor central: ") + mm(r.espesorCentral) + QStringLiteral(" mm"),
        QStringLiteral("Curva base: ") + mm(ojo.base, 2) + QStringLiteral(" D"),
        QStringLiteral("Molde 1.523: ") + mm(r.molde1523Eje, 2) + QStringLiteral(" / ") + mm(r.molde1523Cruz, 2) +
            QStringLiteral(" D"),
        QStringLiteral("Borde mínimo: ") + mm(r.bordeMinimo) + QStringLiteral(" mm a ") + mm(r.anguloMinimo, 0) +
            QStringLiteral("°"),
        QStringLiteral("Borde máximo: ") + mm(r.bordeMaximo) + QStringLiteral(" mm a ") + mm(r.anguloMaximo, 0) +
            QStringLiteral("°"),
        QStringLiteral("Bloque: ") + QString::number(ojo.bloque.value_or(0)) + QStringLiteral(" mm"),
        QStringLiteral("Peso: ") + (std::isfinite(r.peso) ? mm(r.peso, 2) + QStringLiteral(" g") : QStringLiteral("—")),
    };
    for (int i = 0; i < lineas.size(); ++i)
        p.drawText(esquina + QPointF(0, 6.0 + 5.0 * i), lineas[i]);

    // True size: one unit of the painter is one millimetre of the lens.
    const QPointF centro = esquina + QPointF(42, 100);
    QPainterPath contorno;
    for (std::size_t i = 0; i < ojo.borde.size(); ++i) {
        const QPointF punto = centro + QPointF(ojo.borde[i].x, -ojo.borde[i].y);
        if (i == 0)
            contorno.moveTo(punto);
        else
            contorno.lineTo(punto);
    }
    contorno.closeSubpath();
    p.setPen(QPen(Qt::black, 0.3));
    p.drawPath(contorno);
    p.drawLine(centro + QPointF(-2, 0), centro + QPointF(2, 0));
    p.drawLine(centro + QPointF(0, -2), centro + QPointF(0, 2));
    const auto marcar = [&](double angulo, const QString& nombre) {
        // The marked point is where the outline crosses the angle's ray.
        const double a = angulo * M_PI / 180.0;
        double alcance = 0;
        for (const lente::Punto& b : ojo.borde) {
            const double d = std::hypot(b.x, b.y);
            const double diferencia = std::remainder(std::atan2(b.y, b.x) - a, 2 * M_PI);
            if (std::abs(diferencia) < 0.6 * M_PI / 180.0 * 360.0 / static_cast<double>(ojo.borde.size()) + 1e-9)
                alcance = std::max(alcance, d);
        }
        const QPointF punto = centro + QPointF(alcance * std::cos(a), -alcance * std::sin(a));
        p.drawEllipse(punto, 1.2, 1.2);
        p.drawText(punto + QPointF(2, -1.5), nombre);
    };
    marcar(r.anguloMinimo, QStringLiteral("mín."));
    marcar(r.anguloMaximo, QStringLiteral("máx."));
}

} // namespace

void DibujarTrabajo(QPainter& p, const trabajos::Contestacion& c)
{
    const QString titulo = QStringLiteral("Orden de trabajo ") + q(c.numero);
    // Millimetres on the page.
    p.scale(p.device()->logicalDpiX() / 25.4, p.device()->logicalDpiY() / 25.4);
    p.setFont(letra(p, 16, true));
    p.drawText(QPointF(15, 20), titulo);
    std::string error;
    if (const auto codigo = CodificarCode128(c.numero, error)) {
        // 0.33 mm modules, 12 mm high, the job number read by the scanner.
        constexpr double kModulo = 0.33;
        for (const CodigoBarras::Barra& b : codigo->barras)
            p.fillRect(QRectF(120 + b.inicio * kModulo, 10, b.ancho * kModulo, 12), Qt::black);
    }
    dibujarOjo(p, c.ojos[0], QStringLiteral("Ojo derecho"), QPointF(15, 40));
    dibujarOjo(p, c.ojos[1], QStringLiteral("Ojo izquierdo"), QPointF(110, 40));
}

QByteArray TrabajoPdf(const trabajos::Contestacion& c)
{
    return PdfA4(QStringLiteral("Orden de trabajo ") + q(c.numero),
                 [&](QPainter& p, const QPageLayout&) { DibujarTrabajo(p, c); });
}

bool GrabarTrabajoPdf(const std::filesystem::path& archivo, const trabajos::Contestacion& c, std::string& error)
{
    const QByteArray documento = TrabajoPdf(c);
    std::string motivo;
    if (!ReemplazarArchivo(archivo, std::string_view(documento.constData(), documento.size()), motivo)) {
        error = "no se pudo grabar la orden de trabajo en \"" + RutaLegible(archivo) + "\": " + motivo;
        return false;
    }
    return true;
}
