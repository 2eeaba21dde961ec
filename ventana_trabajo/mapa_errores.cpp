#include "mapa_errores.h"

#include "escala_colores.h"
#include "numerico.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

using namespace mapas;

const QColor kSinRayos(190, 190, 190);
// The field mapped, degrees from straight ahead, and the grid's step: the
// errors change slowly with gaze, and a pixel between grid points takes
// the value between them.
constexpr double kCampo = 30.0;
constexpr double kPasoRejilla = 2.0;
constexpr int kLado = static_cast<int>(2 * kCampo / kPasoRejilla) + 1;
// The scale goes up by quarter dioptres, the steps a prescription takes.
constexpr double kPasoEscala = 0.25;

const std::vector<lente::Mirada>& MiradasDeLaRejilla()
{
    static const std::vector<lente::Mirada> miradas = [] {
        std::vector<lente::Mirada> m;
        for (int fila = 0; fila < kLado; ++fila)
            for (int columna = 0; columna < kLado; ++columna)
                m.push_back({-kCampo + columna * kPasoRejilla, kCampo - fila * kPasoRejilla});
        return m;
    }();
    return miradas;
}

double Valor(const lente::ErrorCampo& e, MapaErrores::Error error)
{
    return error == MapaErrores::Error::Medio ? e.media : e.astigmatica;
}

// The gaze seen from the front: toward the observer's right is +h.
QPointF EnCuadro(const QRectF& cuadro, lente::Mirada m)
{
    return {cuadro.center().x() + m.h / kCampo * cuadro.width() / 2,
            cuadro.center().y() - m.v / kCampo * cuadro.height() / 2};
}

QString Dioptrias(double d)
{
    const QString cifras = QString::number(std::abs(d), 'f', 2);
    return (d > 0 ? QStringLiteral("+") : d < 0 ? QStringLiteral("-") : QString()) + cifras + QStringLiteral(" D");
}

QString Titulo(int error) { return error == 0 ? QStringLiteral("Error medio") : QStringLiteral("Error astigmático"); }

const QString kTituloBarra = QStringLiteral("Error");
const QString kClave = QStringLiteral("Mirada de -30° a +30°, vista de frente; la línea es el borde de la lente");

} // namespace

void MapaErrores::trazar(Ojo& ojo, const trabajos::OjoResuelto& r)
{
    const lente::LenteOptica optica = lente::OpticaDe(r.lente, *r.resultado, r.ejeReverso);
    ojo.rejilla = lente::ErroresCampo(optica, r.montaje, r.lente.receta, MiradasDeLaRejilla());
    const lente::LenteEnUso enUso(optica, r.montaje);
    std::vector<lente::Mirada> tramo;
    for (const lente::Punto& p : r.borde) {
        try {
            tramo.push_back(enUso.MiradaHacia(p));
        } catch (const numerico::Falla&) {
            if (tramo.size() > 1)
                ojo.contorno.push_back(tramo);
            tramo.clear();
        }
    }
    if (tramo.size() == r.borde.size() && !tramo.empty())
        tramo.push_back(tramo.front()); // the whole outline, closed
    if (tramo.size() > 1)
        ojo.contorno.push_back(std::move(tramo));
}

void MapaErrores::Poner(const trabajos::Contestacion& c)
{
    double mayor = 0;
    for (int i = 0; i < 2; ++i) {
        const trabajos::OjoResuelto& resuelto = c.ojos[i];
        Ojo& ojo = m_ojos[i];
        ojo = Ojo{};
        if (!resuelto.pedido)
            continue;
        ojo.estado = Ojo::Estado::Fallido;
        ojo.falla = QString::fromStdString(resuelto.falla);
        if (resuelto.resultado) {
            try {
                trazar(ojo, resuelto);
                ojo.estado = Ojo::Estado::Lente;
            } catch (const numerico::Falla&) {
                ojo = Ojo{Ojo::Estado::Fallido, QStringLiteral("las caras de la lente no se pueden trazar"), {}, {}};
            }
        }
        for (const auto& e : ojo.rejilla)
            if (e)
                mayor = std::max({mayor, std::abs(e->media), e->astigmatica});
    }
    m_escala = std::max(kPasoEscala, std::ceil(mayor / kPasoEscala - 1e-9) * kPasoEscala);
}

double MapaErrores::anchoLeyenda() const
{
    const QFontMetricsF fm(m_letra);
    const double cifras =
        std::max(fm.horizontalAdvance(Dioptrias(-m_escala)), fm.horizontalAdvance(Dioptrias(m_escala)));
    return std::max(fm.horizontalAdvance(kTituloBarra), kAnchoBarra + 4 + cifras) + 2;
}

MapaErrores::Disposicion MapaErrores::disponer(const QRectF& area) const
{
    Disposicion d;
    d.area = area;
    const QFontMetricsF fm(m_letra);
    const double alto = std::ceil(fm.height());
    const double leyenda = anchoLeyenda();
    d.clave = QRectF(area.left() + kMargen, area.bottom() - kMargen - alto, area.width() - 2 * kMargen, alto);
    const QRectF region(area.left() + kMargen, area.top() + kMargen, area.width() - leyenda - 3 * kMargen,
                        d.clave.top() - 4 - area.top() - kMargen);
    const double ancho = (region.width() - kMargen) / 2;
    // Below the name, each map's title and the map; the legend's last figure
    // reaches half a line below the lower maps.
    const double lado = std::max(1.0, std::floor(std::min(ancho, (region.height() - 4 * alto - 2 * 4) / 2)));
    for (int i = 0; i < 2; ++i) {
        const double x = region.left() + i * (ancho + kMargen);
        d.cabecera[i] = QRectF(x, region.top(), ancho, alto);
        d.columna[i] = QRectF(x, region.top() + alto + 2, ancho, region.bottom() - region.top() - alto - 2);
        const double x0 = std::round(x + (ancho - lado) / 2);
        double y = d.columna[i].top();
        for (int e = 0; e < 2; ++e) {
            d.titulo[i][e] = QRectF(x0, y, lado, alto);
            d.mapa[i][e] = QRectF(x0, std::round(y + alto), lado, lado);
            y = d.mapa[i][e].bottom() + 4;
        }
    }
    d.tituloBarra = QRectF(area.right() - kMargen - leyenda, region.top(), leyenda, alto);
    d.barra = QRectF(d.tituloBarra.left(), d.mapa[0][0].top(), kAnchoBarra, d.mapa[0][1].bottom() - d.mapa[0][0].top());
    // The figures along the legend: the finest step whose figures do not
    // crowd each other.
    const int caben = std::max(2, static_cast<int>(d.barra.height() / (alto * 1.4)));
    for (const double paso : {0.125, 0.25, 0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 50.0}) {
        const int n = static_cast<int>(std::floor(m_escala / paso + 1e-9));
        if (2 * n + 1 > caben && paso < 50.0)
            continue;
        for (int k = -n; k <= n; ++k)
            d.marcas.push_back(k * paso);
        break;
    }
    return d;
}

std::optional<QPointF> MapaErrores::PixelDe(dcs::Lado lado, Error error, lente::Mirada mirada, const QRectF& area) const
{
    const int i = static_cast<int>(lado);
    if (m_ojos[i].estado != Ojo::Estado::Lente)
        return std::nullopt;
    return EnCuadro(disponer(area).mapa[i][static_cast<int>(error)], mirada);
}

void MapaErrores::dibujarMapa(QPainter& p, const Ojo& ojo, Error error, const QRectF& cuadro) const
{
    const int ancho = static_cast<int>(cuadro.width()), alto = static_cast<int>(cuadro.height());
    const EscalaColores& escala = EscalaDivergente();
    QImage imagen(ancho, alto, QImage::Format_RGB32);
    for (int y = 0; y < alto; ++y) {
        auto* fila = reinterpret_cast<QRgb*>(imagen.scanLine(y));
        // The grid's rows run down from +30° and its columns right from -30°.
        const double gy = (y + 0.5) / alto * (kLado - 1);
        const int f0 = std::min(static_cast<int>(gy), kLado - 2);
        const double v = gy - f0;
        for (int x = 0; x < ancho; ++x) {
            const double gx = (x + 0.5) / ancho * (kLado - 1);
            const int c0 = std::min(static_cast<int>(gx), kLado - 2);
            const double u = gx - c0;
            const auto& a = ojo.rejilla[f0 * kLado + c0];
            const auto& b = ojo.rejilla[f0 * kLado + c0 + 1];
            const auto& c = ojo.rejilla[(f0 + 1) * kLado + c0];
            const auto& e = ojo.rejilla[(f0 + 1) * kLado + c0 + 1];
            if (!a || !b || !c || !e) {
                fila[x] = kSinRayos.rgb();
                continue;
            }
            const double valor = (1 - v) * ((1 - u) * Valor(*a, error) + u * Valor(*b, error)) +
                                 v * ((1 - u) * Valor(*c, error) + u * Valor(*e, error));
            fila[x] = escala.Color((valor / m_escala + 1.0) / 2.0);
        }
    }
    p.drawImage(cuadro.topLeft(), imagen);
    p.save();
    p.setClipRect(cuadro);
    QPainterPath borde;
    for (const auto& tramo : ojo.contorno) {
        borde.moveTo(EnCuadro(cuadro, tramo.front()));
        for (const lente::Mirada& m : tramo)
            borde.lineTo(EnCuadro(cuadro, m));
    }
    // Straight ahead, a small cross.
    const QPointF centro = EnCuadro(cuadro, {});
    borde.moveTo(centro - QPointF(5, 0));
    borde.lineTo(centro + QPointF(5, 0));
    borde.moveTo(centro - QPointF(0, 5));
    borde.lineTo(centro + QPointF(0, 5));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3.0));
    p.drawPath(borde);
    p.setPen(QPen(kTinta, 1.2));
    p.drawPath(borde);
    p.restore();
    p.setPen(QPen(kTinta, 1.0));
    p.drawRect(cuadro);
}

void MapaErrores::Dibujar(QPainter& p, const QRectF& area) const
{
    p.fillRect(area, kFondo);
    const Disposicion d = disponer(area);
    bool hay = false;
    for (int i = 0; i < 2; ++i) {
        if (m_ojos[i].estado != Ojo::Estado::Lente)
            continue;
        hay = true;
        for (int e = 0; e < 2; ++e)
            dibujarMapa(p, m_ojos[i], static_cast<Error>(e), d.mapa[i][e]);
    }
    if (hay) {
        std::vector<double> marcas;
        for (const double marca : d.marcas)
            marcas.push_back((marca / m_escala + 1.0) / 2.0);
        EscalaDivergente().PintarBarra(p, d.barra, marcas, kTinta);
    }
    p.setPen(kTinta);
    for (const Rotulo& r : rotular(d)) {
        p.setFont(r.letra);
        p.drawText(r.caja, r.alineacion, r.texto);
    }
}

std::vector<MapaErrores::Rotulo> MapaErrores::Rotulos(const QRectF& area) const { return rotular(disponer(area)); }

std::vector<MapaErrores::Rotulo> MapaErrores::rotular(const Disposicion& d) const
{
    std::vector<Rotulo> r;
    const QFontMetricsF fm(m_letra);
    const double alto = std::ceil(fm.height());
    const auto texto = [&](const QString& t, const QRectF& caja, int alineacion) {
        r.push_back(Rotulo{t, caja, alineacion, m_letra});
    };
    const auto centrado = [&](const QString& t, const QRectF& en) {
        const double ancho = std::min(en.width(), fm.horizontalAdvance(t) + 2);
        texto(t, QRectF(en.center().x() - ancho / 2, en.top(), ancho, alto), Qt::AlignCenter);
    };
    if (m_ojos[0].estado == Ojo::Estado::SinPedido && m_ojos[1].estado == Ojo::Estado::SinPedido) {
        texto(QStringLiteral("Sin lentes que mostrar"), d.area, Qt::AlignCenter | Qt::TextWordWrap);
        return r;
    }
    bool hay = false;
    for (int i = 0; i < 2; ++i) {
        const Ojo& o = m_ojos[i];
        centrado(NombreOjo(i), d.cabecera[i]);
        if (o.estado == Ojo::Estado::SinPedido) {
            centrado(QStringLiteral("Sin pedido"), d.columna[i].adjusted(0, d.columna[i].height() / 2 - alto, 0, 0));
            continue;
        }
        if (o.estado == Ojo::Estado::Fallido) {
            texto(QStringLiteral("Sin lente: ") + o.falla, d.columna[i].adjusted(4, 4, -4, -4),
                  Qt::AlignCenter | Qt::TextWordWrap);
            continue;
        }
        hay = true;
        for (int e = 0; e < 2; ++e)
            centrado(Titulo(e), d.titulo[i][e]);
    }
    if (!hay)
        return r;
    texto(kTituloBarra, d.tituloBarra, Qt::AlignLeft | Qt::AlignVCenter);
    const double izquierda = d.barra.right() + 5, ancho = d.area.right() - kMargen - izquierda;
    for (const double marca : d.marcas) {
        const double y = d.barra.center().y() - marca / m_escala * d.barra.height() / 2;
        texto(Dioptrias(marca), QRectF(izquierda, y - alto / 2, ancho, alto), Qt::AlignLeft | Qt::AlignVCenter);
    }
    centrado(kClave, d.clave);
    return r;
}
