#include "dibujar_orden.h"

#include "formatos.h"
#include "hoja_orden.h"
#include "texto_qt.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace {

constexpr double kMargen = 15.0;

double grados(double radianes) { return radianes * 180.0 / std::numbers::pi; }

struct Fila {
    QString etiqueta;
    std::string valor;
    QString unidad;
};

// A titled group of figures: labels on the left, values set against the
// column's right edge with their units.
double dibujarGrupo(HojaOrden& h, double x, double y, double ancho, const QString& titulo,
                    std::initializer_list<Fila> filas)
{
    const QFont cabecera = FuenteOrden(10, true);
    const QFont normal = FuenteOrden(9);
    const QFont valor = FuenteOrden(9, true);
    h.Texto(x, y, titulo, cabecera);
    h.Linea(x, y + 1.2, x + ancho, y + 1.2, kGrisOrden, 0.15);
    y += 6.0;
    for (const Fila& f : filas) {
        h.Texto(x, y, f.etiqueta, normal);
        const double unidad = f.unidad.isEmpty() ? 0.0 : h.Ancho(QStringLiteral(" ") + f.unidad, normal);
        h.Texto(x + ancho - unidad, y, Q(f.valor), valor, Qt::AlignRight);
        if (unidad > 0)
            h.Texto(x + ancho, y, QStringLiteral(" ") + f.unidad, normal, Qt::AlignRight);
        y += 5.0;
    }
    return y;
}

// A dimension between two points on a line, with the end ticks across it.
void cotaHorizontal(HojaOrden& h, double x1, double x2, double y)
{
    h.Linea(x1, y, x2, y, kCotaOrden, 0.15);
    h.Linea(x1, y - 1.2, x1, y + 1.2, kCotaOrden, 0.15);
    h.Linea(x2, y - 1.2, x2, y + 1.2, kCotaOrden, 0.15);
}

void avisoEnCaja(HojaOrden& h, QRectF caja, const QString& texto)
{
    h.Parrafo(caja.left() + 2, caja.top() + caja.height() / 2 - 4, caja.width() - 4, texto, FuenteOrden(9));
}

// The cross-section at true size: front vertex at x0 on the axis y0, front
// face to the left, with the centre and edge thicknesses marked.
void dibujarCorte(HojaOrden& h, double x0, double y0, const OrdenTrabajo::Geometria& g)
{
    const Superficies& s = g.caras;
    const double t = g.espesorCentral;
    const double xFE = x0 + s.s1;
    const double xBE = s.menisco ? x0 + t + s.s2 : x0 + t - s.s2;
    const double arriba = y0 - s.h;
    const double abajo = y0 + s.h;

    QPainterPath lente;
    lente.moveTo(xFE, arriba);
    const double cx1 = x0 + s.R1;
    lente.arcTo(QRectF(cx1 - s.R1, y0 - s.R1, 2 * s.R1, 2 * s.R1), 180.0 - grados(s.a1), 2 * grados(s.a1));
    lente.lineTo(xBE, abajo);
    if (s.menisco) {
        const double cx2 = x0 + t + s.R2;
        lente.arcTo(QRectF(cx2 - s.R2, y0 - s.R2, 2 * s.R2, 2 * s.R2), 180.0 + grados(s.a2), -2 * grados(s.a2));
    } else {
        const double cx2 = x0 + t - s.R2;
        lente.arcTo(QRectF(cx2 - s.R2, y0 - s.R2, 2 * s.R2, 2 * s.R2), -grados(s.a2), 2 * grados(s.a2));
    }
    lente.closeSubpath();
    QPainter& p = h.pintor();
    QPen pluma(kContornoOrden, 0.3);
    pluma.setCosmetic(false);
    pluma.setJoinStyle(Qt::MiterJoin);
    p.setPen(pluma);
    p.setBrush(kCuerpoOrden);
    p.drawPath(lente);
    p.setBrush(Qt::NoBrush);

    const QFont marca = FuenteOrden(8);
    const double derecha = std::max(x0 + t, xBE) + 3.0;
    // Centre thickness along the axis, edge thickness above the top edge.
    h.Linea(x0 - 4, y0, derecha - 1, y0, kCotaOrden, 0.1);
    cotaHorizontal(h, x0, x0 + t, y0);
    h.Texto(derecha, y0 + 1.2, QStringLiteral("Centro ") + Q(FormatoMiles(g.espesorCentral)) + " mm", marca,
            Qt::AlignLeft, kCotaOrden);
    h.Linea(xFE, arriba, xFE, arriba - 4.0, kCotaOrden, 0.1);
    h.Linea(xBE, arriba, xBE, arriba - 4.0, kCotaOrden, 0.1);
    cotaHorizontal(h, xFE, xBE, arriba - 3.0);
    h.Texto(derecha, arriba - 2.0, QStringLiteral("Borde ") + Q(FormatoMiles(g.espesorBorde)) + " mm", marca,
            Qt::AlignLeft, kCotaOrden);
}

// The front view at true size, centred at (cx, cy), its diameter dimensioned below.
void dibujarFrente(HojaOrden& h, double cx, double cy, const OrdenTrabajo::Geometria& g, const std::string& diametro)
{
    const double r = g.diametro / 2.0;
    QPainter& p = h.pintor();
    QPen pluma(kContornoOrden, 0.3);
    pluma.setCosmetic(false);
    p.setPen(pluma);
    p.setBrush(kCuerpoOrden);
    p.drawEllipse(QPointF(cx, cy), r, r);
    p.setBrush(Qt::NoBrush);
    h.Linea(cx - 1.5, cy, cx + 1.5, cy, kCotaOrden, 0.15);
    h.Linea(cx, cy - 1.5, cx, cy + 1.5, kCotaOrden, 0.15);
    const double y = cy + r + 4.0;
    h.Linea(cx - r, cy + 1.0, cx - r, y + 1.0, kCotaOrden, 0.1);
    h.Linea(cx + r, cy + 1.0, cx + r, y + 1.0, kCotaOrden, 0.1);
    cotaHorizontal(h, cx - r, cx + r, y);
    h.Texto(cx, y + 4.0, QStringLiteral("Ø ") + Q(diametro) + " mm", FuenteOrden(8), Qt::AlignHCenter, kCotaOrden);
}

} // namespace

void DibujarOrden(QPainter& pintor, const QPageLayout& hoja, const OrdenTrabajo& o)
{
    HojaOrden h(pintor, hoja);
    const QSizeF pagina = h.Tamano();
    const double izquierda = kMargen;
    const double derecha = pagina.width() - kMargen;
    const double ancho = derecha - izquierda;
    const double fondo = pagina.height() - kMargen;

    h.Texto(izquierda, kMargen + 7, QStringLiteral("Orden de trabajo"), FuenteOrden(20, true));
    h.Texto(izquierda, kMargen + 14, QStringLiteral("Fecha: ") + Q(o.fechaHora), FuenteOrden(10));
    h.Texto(izquierda, kMargen + 19, QStringLiteral("Lente esférica positiva, monofocal"), FuenteOrden(9),
            Qt::AlignLeft, kGrisOrden);
    DibujarNumeroOrden(h, derecha, kMargen, o.numero);
    double y = kMargen + 28;
    h.Linea(izquierda, y, derecha, y, kTintaOrden, 0.3);

    // The figures in three columns: what was asked, what the surfaces are
    // cut to, what the finished lens is.
    y += 8;
    const double columna = (ancho - 8) * 0.3;
    const double superficies = ancho - 8 - 2 * columna;
    const double x1 = izquierda;
    const double x2 = x1 + columna + 4;
    const double x3 = x2 + superficies + 4;
    double fin1 = dibujarGrupo(h, x1, y, columna, QStringLiteral("Receta"),
                               {{QStringLiteral("Poder de vértice"), o.poderVertice, QStringLiteral("D")}});
    fin1 = dibujarGrupo(h, x1, fin1 + 2, columna, QStringLiteral("Material"),
                        {{QStringLiteral("Nombre"), o.material, {}},
                         {QStringLiteral("Índice"), o.indice, {}},
                         {QStringLiteral("Densidad"), o.densidad, QStringLiteral("g/cm³")}});
    const double fin2 = dibujarGrupo(h, x2, y, superficies, QStringLiteral("Superficies"),
                                     {{QStringLiteral("Cara externa al índice"), o.poderExterno, QStringLiteral("D")},
                                      {QStringLiteral("Curva base a 1.523"), o.curvaBase, QStringLiteral("D")},
                                      {QStringLiteral("Cara interna al índice"), o.poderInterno, QStringLiteral("D")},
                                      {QStringLiteral("Radio interno al índice"), o.radioInterno, QStringLiteral("mm")},
                                      {QStringLiteral("Molde 1.523"), o.molde1523, QStringLiteral("D")}});
    const double fin3 = dibujarGrupo(h, x3, y, columna, QStringLiteral("Lente"),
                                     {{QStringLiteral("Diámetro"), o.diametro, QStringLiteral("mm")},
                                      {QStringLiteral("Espesor de borde"), o.espesorBorde, QStringLiteral("mm")},
                                      {QStringLiteral("Espesor central"), o.espesorCentral, QStringLiteral("mm")},
                                      {QStringLiteral("Peso"), o.peso, QStringLiteral("g")}});
    y = std::max({fin1, fin2, fin3}) + 3;

    h.Texto(izquierda, y, QStringLiteral("Avisos para el laboratorio"), FuenteOrden(10, true));
    h.Linea(izquierda, y + 1.2, derecha, y + 1.2, kGrisOrden, 0.15);
    y += 3.5;
    if (o.avisos.empty()) {
        h.Texto(izquierda, y + 3.5, QStringLiteral("Sin avisos: diseño corriente en laboratorio."), FuenteOrden(9));
        y += 5.5;
    }
    for (const std::string& aviso : o.avisos) {
        h.Texto(izquierda, y + 3.5, QStringLiteral("•"), FuenteOrden(9, true));
        y += h.Parrafo(izquierda + 4, y, ancho - 4, Q(aviso), FuenteOrden(9, true)) + 1.0;
    }

    // The two views share the optical axis; below them the scale check.
    const double escala = fondo - 2;
    const double arribaVistas = y + 6;
    const double abajoVistas = escala - 10;
    h.Linea(izquierda, arribaVistas - 2, derecha, arribaVistas - 2, kTintaOrden, 0.3);
    const QRectF cajaCorte(izquierda, arribaVistas, 70, abajoVistas - arribaVistas);
    const QRectF cajaFrente(izquierda + 75, arribaVistas, ancho - 75, abajoVistas - arribaVistas);
    if (!o.geometria) {
        avisoEnCaja(h, cajaCorte.united(cajaFrente),
                    QStringLiteral("Las caras de la lente no abarcan su diámetro: la lente no se puede dibujar."));
    } else {
        const OrdenTrabajo::Geometria& g = *o.geometria;
        const Superficies& s = g.caras;
        // Room above the lens for the edge mark, below for the diameter
        // and the captions.
        const double alto = 9 + g.diametro + 16;
        const double fondoCorte = std::max(g.espesorCentral, s.menisco ? s.s1 + g.espesorBorde : g.espesorCentral);
        const bool dibujable = s.R1 > 0 && s.R2 > 0;
        const bool cabe = alto <= cajaCorte.height() && 12 + fondoCorte + 24 <= cajaCorte.width() &&
                          g.diametro + 4 <= cajaFrente.width();
        if (!dibujable) {
            avisoEnCaja(h, cajaCorte.united(cajaFrente),
                        QStringLiteral("Una cara cóncava hacia el frente: la lente no se dibuja."));
        } else if (!cabe) {
            avisoEnCaja(h, cajaCorte.united(cajaFrente),
                        QStringLiteral("La lente de %1 mm no cabe a tamaño real en esta hoja: no se dibuja, para no "
                                       "mostrarla a otra escala.")
                            .arg(Q(o.diametro)));
        } else {
            const double eje = arribaVistas + 9 + g.diametro / 2;
            dibujarCorte(h, cajaCorte.left() + 12, eje, g);
            const double cx = cajaFrente.center().x();
            dibujarFrente(h, cx, eje, g, o.diametro);
            const double pie = eje + g.diametro / 2 + 14;
            h.Texto(cajaCorte.left() + 12, pie, QStringLiteral("Corte"), FuenteOrden(9, true));
            h.Texto(cx, pie, QStringLiteral("Vista frontal"), FuenteOrden(9, true), Qt::AlignHCenter);
        }
    }

    DibujarEscalaOrden(h, izquierda, escala);
}
