#include "mapa_espesor.h"

#include "bordes.h"
#include "escala_colores.h"
#include "formatos.h"
#include "numerico.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using namespace mapas;

const QColor kContorno(60, 60, 60);
// Edge thicknesses closer than this are the same edge: the first in outline
// order is the one marked, as the solver reports it.
constexpr double kEmpate = 1e-9;
// The colour scale's range when the lenses are nearly even: a few hundredths
// of a millimetre would otherwise spread noise over every hue.
constexpr double kRangoMinimo = 0.1;
// Samples of the interior for the scale's range, and along each section.
constexpr double kPasoMuestra = 1.0;
constexpr int kMuestrasSeccion = 121;

// The thickness's colour, from the thinnest (0) to the thickest (1).
QRgb Viridis(double f) { return EscalaViridis().Color(f); }

// Where the outline crosses the horizontal line at height y, left to right.
std::vector<double> Cruces(const std::vector<lente::Punto>& borde, double y)
{
    std::vector<double> xs;
    for (std::size_t i = 0; i < borde.size(); ++i) {
        const lente::Punto& a = borde[i];
        const lente::Punto& b = borde[(i + 1) % borde.size()];
        if ((a.y <= y) != (b.y <= y))
            xs.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(xs.begin(), xs.end());
    return xs;
}

// A pale outline under every mark, so that it reads on any colour.
void Trazo(QPainter& p, const QPainterPath& camino, const QBrush& relleno = Qt::NoBrush)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3.0));
    p.drawPath(camino);
    p.setBrush(relleno);
    p.setPen(QPen(kTinta, 1.2));
    p.drawPath(camino);
}

// The optical centre as a ringed cross.
void MarcaCentroOptico(QPainter& p, QPointF c)
{
    QPainterPath camino;
    camino.addEllipse(c, 5, 5);
    camino.moveTo(c + QPointF(-9, 0));
    camino.lineTo(c + QPointF(9, 0));
    camino.moveTo(c + QPointF(0, -9));
    camino.lineTo(c + QPointF(0, 9));
    Trazo(p, camino);
}

// The box centre as a small square.
void MarcaCaja(QPainter& p, QPointF c)
{
    QPainterPath camino;
    camino.addRect(QRectF(c - QPointF(4, 4), QSizeF(8, 8)));
    Trazo(p, camino);
}

void MarcaBorde(QPainter& p, QPointF c)
{
    QPainterPath camino;
    camino.addEllipse(c, 4, 4);
    Trazo(p, camino, Qt::white);
}

QRectF Encerrar(QRectF r, const QRectF& marco)
{
    r.moveLeft(std::clamp(r.left(), marco.left(), std::max(marco.left(), marco.right() - r.width())));
    r.moveTop(std::clamp(r.top(), marco.top(), std::max(marco.top(), marco.bottom() - r.height())));
    return r;
}

} // namespace

QString MapaEspesor::mm(double espesor) const { return QString::number(espesor, 'f', 2) + QStringLiteral(" mm"); }

void MapaEspesor::medir(Ojo& ojo, const trabajos::OjoResuelto& resuelto)
{
    ojo.borde = resuelto.borde;
    ojo.centro = resuelto.resultado->espesorCentral;
    ojo.lente.emplace(resuelto.lente, ojo.centro);
    const lente::LenteTorica& l = *ojo.lente;
    const lente::Caja caja = lente::CajaDe(ojo.borde);
    ojo.centroCaja = caja.centro;
    ojo.ancho = caja.ancho;
    ojo.alto = caja.alto;

    ojo.eDelgado = INFINITY;
    ojo.eGrueso = -INFINITY;
    for (const lente::Punto& p : ojo.borde) {
        const double e = l.Espesor(p);
        if (e < ojo.eDelgado - kEmpate) {
            ojo.eDelgado = e;
            ojo.delgado = p;
        }
        if (e > ojo.eGrueso + kEmpate) {
            ojo.eGrueso = e;
            ojo.grueso = p;
        }
    }
    // A plus lens is thickest inside, not on its edge: the scale's range
    // takes in the whole lens on a fine grid.
    ojo.interior = resuelto.resultado->puntoMasDelgado;
    ojo.minimo = ojo.interior ? std::min(ojo.eDelgado, ojo.interior->espesor) : ojo.eDelgado;
    ojo.maximo = ojo.eGrueso;
    const double abajo = caja.centro.y - caja.alto / 2, arriba = caja.centro.y + caja.alto / 2;
    for (double y = abajo + kPasoMuestra / 2; y < arriba; y += kPasoMuestra) {
        const auto xs = Cruces(ojo.borde, y);
        for (std::size_t j = 0; j + 1 < xs.size(); j += 2)
            for (double x = xs[j]; x <= xs[j + 1]; x += kPasoMuestra) {
                const double e = l.Espesor({x, y});
                ojo.minimo = std::min(ojo.minimo, e);
                ojo.maximo = std::max(ojo.maximo, e);
            }
    }

    // The principal meridians of the back as the generator cuts it: the
    // cylinder's axis and the one across it, or, on a back compensated for
    // the frame's tilt or wrap, the back's own axis, in whole degrees as the
    // generator takes it; a spherical back has none of its own, so the
    // horizontal and the vertical.
    const lente::Receta& r = resuelto.lente.receta;
    const auto& fija = resuelto.lente.internaFija;
    const bool cilindro = fija ? fija->poderEje != fija->poderCruz : r.cilindro != 0;
    const double ejeDado = fija ? static_cast<double>(std::lround(fija->eje) % 180) : r.eje;
    const double eje = cilindro ? std::fmod(ejeDado, 180.0) : 0.0;
    const double angulos[2] = {eje, std::fmod(eje + 90.0, 180.0)};
    for (int j = 0; j < 2; ++j) {
        Seccion& s = ojo.secciones[j];
        // Drawn as seen from the front: the end that lies further left on
        // the lens is on the left, and a vertical cut runs top to bottom.
        s.angulo = angulos[j] < 90.0 ? angulos[j] : angulos[j] - 180.0;
        s.titulo = QString::fromStdString(TextoPlano(j == 0 && cilindro ? ejeDado : angulos[j])) + QStringLiteral("°");
        if (j == 0 && cilindro)
            s.titulo = QStringLiteral("Eje ") + s.titulo;
        const double a = s.angulo * std::numbers::pi / 180.0;
        const double dx = std::cos(a), dy = std::sin(a);
        s.desde = INFINITY;
        s.hasta = -INFINITY;
        for (std::size_t i = 0; i < ojo.borde.size(); ++i) {
            const lente::Punto& p = ojo.borde[i];
            const lente::Punto& q = ojo.borde[(i + 1) % ojo.borde.size()];
            const double dp = -dy * p.x + dx * p.y, dq = -dy * q.x + dx * q.y;
            if ((dp <= 0) == (dq <= 0))
                continue;
            const double u = dp / (dp - dq);
            const double largo = dx * (p.x + u * (q.x - p.x)) + dy * (p.y + u * (q.y - p.y));
            s.desde = std::min(s.desde, largo);
            s.hasta = std::max(s.hasta, largo);
        }
        s.hay = s.hasta - s.desde > 1e-6;
        if (!s.hay)
            continue;
        for (int k = 0; k < kMuestrasSeccion; ++k) {
            const double largo = s.desde + (s.hasta - s.desde) * k / (kMuestrasSeccion - 1);
            const lente::Punto p{largo * dx, largo * dy};
            s.frente.push_back(l.SagitaFrontal(p));
            s.dorso.push_back(s.frente.back() + l.Espesor(p));
        }
    }
}

void MapaEspesor::Poner(const trabajos::Contestacion& c)
{
    m_hayLente = false;
    double minimo = INFINITY, maximo = -INFINITY;
    for (int i = 0; i < 2; ++i) {
        const trabajos::OjoResuelto& resuelto = c.ojos[i];
        Ojo& ojo = m_ojos[i];
        ojo = Ojo{};
        if (!resuelto.pedido)
            continue;
        ojo.estado = Ojo::Estado::Fallido;
        ojo.falla = QString::fromStdString(resuelto.falla);
        if (resuelto.resultado && resuelto.borde.size() >= 3) {
            try {
                medir(ojo, resuelto);
                ojo.estado = Ojo::Estado::Lente;
            } catch (const numerico::Falla&) {
                ojo = Ojo{};
                ojo.estado = Ojo::Estado::Fallido;
            }
        }
        if (ojo.estado == Ojo::Estado::Fallido && ojo.falla.isEmpty())
            ojo.falla = QStringLiteral("CTHICK: los valores no forman una lente");
        if (ojo.estado == Ojo::Estado::Lente) {
            m_hayLente = true;
            minimo = std::min(minimo, ojo.minimo);
            maximo = std::max(maximo, ojo.maximo);
        }
    }
    if (!m_hayLente)
        return;
    if (maximo - minimo < kRangoMinimo) {
        const double medio = (minimo + maximo) / 2;
        minimo = medio - kRangoMinimo / 2;
        maximo = medio + kRangoMinimo / 2;
    }
    m_minimo = minimo;
    m_maximo = maximo;
}

MapaEspesor::Disposicion MapaEspesor::disponer(const QRectF& area) const
{
    Disposicion d;
    d.area = area;
    const QFontMetricsF fm(m_letra);
    const double alto = fm.height();

    double anchoLeyenda = 0;
    if (m_hayLente) {
        const double cifras = std::max(fm.horizontalAdvance(mm(m_minimo)), fm.horizontalAdvance(mm(m_maximo)));
        const double clave = std::max(fm.horizontalAdvance(QStringLiteral("Centro óptico")),
                                      fm.horizontalAdvance(QStringLiteral("Centro de caja")));
        anchoLeyenda =
            std::max({kAnchoBarra + 4 + cifras, 20 + clave, fm.horizontalAdvance(QStringLiteral("Espesor"))});
        anchoLeyenda += kMargen;
    }
    const double anchoColumna = std::max(1.0, (area.width() - anchoLeyenda - 3 * kMargen) / 2);
    for (int i = 0; i < 2; ++i) {
        const double x = area.left() + kMargen + i * (anchoColumna + kMargen);
        d.cabecera[i] = QRectF(x, area.top() + kMargen / 2, anchoColumna, alto);
        const double arriba = d.cabecera[i].bottom() + kMargen / 2;
        d.columna[i] = QRectF(x, arriba, anchoColumna, std::max(1.0, area.bottom() - kMargen / 2 - arriba));
    }

    // The sections share one scale, the same across and in depth, so that
    // their curves are true; they take at most two fifths of the height.
    const double perfilMaximo = std::max(8.0, 0.4 * d.columna[0].height() / 2 - 2 * alto - 4);
    double escala = INFINITY, hondo = 0;
    for (const Ojo& o : m_ojos) {
        if (o.estado != Ojo::Estado::Lente)
            continue;
        for (const Seccion& s : o.secciones) {
            if (!s.hay)
                continue;
            const double profundo =
                *std::max_element(s.dorso.begin(), s.dorso.end()) - *std::min_element(s.frente.begin(), s.frente.end());
            escala = std::min(escala, (anchoColumna - 8) / (s.hasta - s.desde));
            if (profundo > 0)
                escala = std::min(escala, perfilMaximo / profundo);
            hondo = std::max(hondo, profundo);
        }
    }
    double zona = 0, fila = 0;
    if (std::isfinite(escala)) {
        d.escalaSeccion = std::max(escala, 0.01);
        d.alturaPerfil = d.escalaSeccion * hondo;
        fila = alto + 2 + d.alturaPerfil + 2 + alto;
        zona = 2 * fila + kMargen;
    }
    // In a picture too small for both, the lenses keep their place and the
    // sections, with three figures a row, give theirs up.
    if (zona > 0.45 * d.columna[0].height() ||
        anchoColumna < 3 * fm.horizontalAdvance(QStringLiteral("00.00 mm")) +
                           fm.horizontalAdvance(QStringLiteral("arriba abajo ")) + 24) {
        zona = fila = 0;
        d.sinSecciones = true;
    }
    for (int i = 0; i < 2; ++i) {
        const QRectF& c = d.columna[i];
        d.seccion[i][1] = QRectF(c.left(), c.bottom() - fila, c.width(), fila);
        d.seccion[i][0] = QRectF(c.left(), c.bottom() - 2 * fila - kMargen / 2, c.width(), fila);
        d.mapa[i] = QRectF(c.left(), c.top(), c.width(), std::max(1.0, c.height() - zona));
    }

    // One scale for both maps, with room around each lens for the figures
    // of its thinnest and thickest edge.
    double cifras = 0;
    for (const Ojo& o : m_ojos)
        if (o.estado == Ojo::Estado::Lente)
            cifras = std::max({cifras, fm.horizontalAdvance(mm(o.eDelgado)), fm.horizontalAdvance(mm(o.eGrueso))});
    const double holguraX = cifras / 2 + 10, holguraY = alto + 12;
    d.escala = INFINITY;
    for (const Ojo& o : m_ojos)
        if (o.estado == Ojo::Estado::Lente && o.ancho > 0 && o.alto > 0)
            d.escala = std::min(
                {d.escala, (d.mapa[0].width() - 2 * holguraX) / o.ancho, (d.mapa[0].height() - 2 * holguraY) / o.alto});
    d.escala = std::isfinite(d.escala) ? std::clamp(d.escala, 0.05, 1000.0) : 1.0;

    if (m_hayLente) {
        const double x = area.right() - anchoLeyenda;
        d.clave = QRectF(x, area.bottom() - kMargen / 2 - 2 * alto, anchoLeyenda - kMargen, 2 * alto);
        const double arriba = d.columna[0].top() + alto / 2;
        d.barra = QRectF(x, arriba, kAnchoBarra, std::max(1.0, d.clave.top() - kMargen - alto / 2 - arriba));
        d.marcas = std::clamp(static_cast<int>(d.barra.height() / (1.8 * alto)) + 1, 2, 6);
    }
    return d;
}

QPointF MapaEspesor::pixel(const Disposicion& d, int ojo, lente::Punto p) const
{
    const QPointF c = d.mapa[ojo].center();
    const lente::Punto& caja = m_ojos[ojo].centroCaja;
    return {c.x() + d.escala * (p.x - caja.x), c.y() - d.escala * (p.y - caja.y)};
}

QRectF MapaEspesor::lugarPerfil(const Disposicion& d, int ojo, int meridiano) const
{
    const Seccion& s = m_ojos[ojo].secciones[meridiano];
    const QRectF& fila = d.seccion[ojo][meridiano];
    const double ancho = d.escalaSeccion * (s.hasta - s.desde);
    const double hondo =
        *std::max_element(s.dorso.begin(), s.dorso.end()) - *std::min_element(s.frente.begin(), s.frente.end());
    const double alto = QFontMetricsF(m_letra).height();
    return {fila.center().x() - ancho / 2, fila.top() + alto + 2, ancho, d.escalaSeccion * hondo};
}

std::optional<QPointF> MapaEspesor::PixelDe(dcs::Lado lado, lente::Punto p, const QRectF& area) const
{
    const int ojo = static_cast<int>(lado);
    if (m_ojos[ojo].estado != Ojo::Estado::Lente)
        return std::nullopt;
    return pixel(disponer(area), ojo, p);
}

std::optional<MapaEspesor::Lectura> MapaEspesor::EspesorEn(QPointF en, const QRectF& area) const
{
    if (!m_hayLente)
        return std::nullopt;
    const Disposicion d = disponer(area);
    for (int i = 0; i < 2; ++i) {
        const Ojo& o = m_ojos[i];
        if (o.estado != Ojo::Estado::Lente || !d.mapa[i].contains(en))
            continue;
        const QPointF c = d.mapa[i].center();
        const lente::Punto p{o.centroCaja.x + (en.x() - c.x()) / d.escala,
                             o.centroCaja.y - (en.y() - c.y()) / d.escala};
        if (!lente::DentroDelBorde(o.borde, p))
            return std::nullopt;
        try {
            return Lectura{static_cast<dcs::Lado>(i), p, o.lente->Espesor(p)};
        } catch (const numerico::Falla&) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::vector<MapaEspesor::Rotulo> MapaEspesor::Rotulos(const QRectF& area) const { return rotular(disponer(area)); }

std::vector<MapaEspesor::Rotulo> MapaEspesor::rotular(const Disposicion& d) const
{
    std::vector<Rotulo> r;
    const QFontMetricsF fm(m_letra);
    const double alto = fm.height();
    const auto texto = [&](const QString& t, const QRectF& caja, int alineacion, bool sobreMapa = false) {
        r.push_back(Rotulo{t, caja, alineacion, m_letra, sobreMapa});
    };
    const auto ajustado = [&](const QString& t, QPointF donde, int alineacion) {
        const double ancho = fm.horizontalAdvance(t) + 2;
        double x = donde.x();
        if (alineacion & Qt::AlignRight)
            x -= ancho;
        else if (alineacion & Qt::AlignHCenter)
            x -= ancho / 2;
        return QRectF(x, donde.y(), ancho, alto);
    };

    if (m_ojos[0].estado == Ojo::Estado::SinPedido && m_ojos[1].estado == Ojo::Estado::SinPedido) {
        texto(QStringLiteral("Sin lentes que mostrar"), d.area, Qt::AlignCenter | Qt::TextWordWrap);
        return r;
    }
    for (int i = 0; i < 2; ++i) {
        const Ojo& o = m_ojos[i];
        texto(NombreOjo(i), ajustado(NombreOjo(i), {d.cabecera[i].center().x(), d.cabecera[i].top()}, Qt::AlignHCenter),
              Qt::AlignCenter);
        if (o.estado == Ojo::Estado::SinPedido) {
            const QString t = QStringLiteral("Sin pedido");
            texto(t, ajustado(t, d.columna[i].center() - QPointF(0, alto / 2), Qt::AlignHCenter), Qt::AlignCenter);
            continue;
        }
        if (o.estado == Ojo::Estado::Fallido) {
            // The reason in full, the font made smaller until it fits.
            const QString t = QStringLiteral("Sin lente: ") + o.falla;
            const QRectF caja = d.columna[i].adjusted(4, 4, -4, -4);
            const int flags = Qt::AlignCenter | Qt::TextWordWrap;
            QFont letra = m_letra;
            for (int paso = 0; paso < 10; ++paso) {
                const QRectF ocupa = QFontMetricsF(letra).boundingRect(caja, flags, t);
                if (ocupa.height() <= caja.height() && ocupa.width() <= caja.width())
                    break;
                if (letra.pointSizeF() > 0)
                    letra.setPointSizeF(letra.pointSizeF() * 0.85);
                else
                    letra.setPixelSize(std::max(1, static_cast<int>(letra.pixelSize() * 0.85)));
            }
            r.push_back(Rotulo{t, caja, flags, letra, false});
            continue;
        }

        // The thinnest and thickest edge, and the thinnest point inside when
        // there is one: each figure beside its mark, away from the box
        // centre, kept inside the map and off the others.
        const QPointF centro = pixel(d, i, o.centroCaja);
        // An even edge, a round plus lens, is thinnest and thickest at one
        // point: one mark, one figure.
        const bool parejo = o.delgado.x == o.grueso.x && o.delgado.y == o.grueso.y;
        std::vector<std::pair<lente::Punto, double>> marcas{{o.delgado, o.eDelgado}};
        if (!parejo)
            marcas.push_back({o.grueso, o.eGrueso});
        if (o.interior)
            marcas.push_back({o.interior->p, o.interior->espesor});
        std::vector<QRectF> puestas;
        for (const auto& [donde, espesor] : marcas) {
            const QPointF punto = pixel(d, i, donde);
            const QString t = mm(espesor);
            QPointF u = punto - centro;
            const double largo = std::hypot(u.x(), u.y());
            u = largo > 0 ? u / largo : QPointF(0, -1);
            const QPointF a = punto + 9 * u;
            const double ancho = fm.horizontalAdvance(t) + 6, altoCaja = alto + 2;
            const double x = u.x() > 0.35 ? a.x() : u.x() < -0.35 ? a.x() - ancho : a.x() - ancho / 2;
            const double y = u.y() > 0.35 ? a.y() : u.y() < -0.35 ? a.y() - altoCaja : a.y() - altoCaja / 2;
            QRectF caja = Encerrar(QRectF(x, y, ancho, altoCaja), d.mapa[i]);
            // Pushed against the map's side, the figure may fall on its own
            // mark: it then goes above or below it.
            const QRectF marca(punto - QPointF(6, 6), QSizeF(12, 12));
            if (caja.intersects(marca)) {
                const QRectF arriba = caja.translated(0, marca.top() - 2 - caja.bottom());
                caja = arriba.top() >= d.mapa[i].top() ? arriba : caja.translated(0, marca.bottom() + 2 - caja.top());
            }
            for (const QRectF& otra : puestas)
                if (caja.intersects(otra)) {
                    const QRectF abajo = caja.translated(0, otra.bottom() + 2 - caja.top());
                    const QRectF arriba = caja.translated(0, otra.top() - 2 - caja.bottom());
                    caja = d.mapa[i].contains(abajo) ? abajo : arriba;
                }
            puestas.push_back(caja);
            texto(t, caja, Qt::AlignCenter, true);
        }

        for (int j = 0; j < (d.sinSecciones ? 0 : 2); ++j) {
            const Seccion& s = o.secciones[j];
            const QRectF& fila = d.seccion[i][j];
            texto(s.titulo, ajustado(s.titulo, fila.topLeft(), Qt::AlignLeft), Qt::AlignLeft | Qt::AlignVCenter);
            if (!s.hay)
                continue;
            const QRectF perfil = lugarPerfil(d, i, j);
            const double y = fila.bottom() - alto;
            // A vertical cut's ends cannot be told apart by their place on
            // the line: they are named.
            const bool vertical = s.angulo == -90.0;
            const QString primera =
                (vertical ? QStringLiteral("arriba ") : QString()) + mm(s.dorso.front() - s.frente.front());
            const QString ultima =
                (vertical ? QStringLiteral("abajo ") : QString()) + mm(s.dorso.back() - s.frente.back());
            const QRectF izquierda = ajustado(primera, {perfil.left(), y}, Qt::AlignLeft);
            const QRectF derecha = ajustado(ultima, {perfil.right(), y}, Qt::AlignRight);
            texto(primera, izquierda, Qt::AlignLeft | Qt::AlignVCenter);
            texto(ultima, derecha, Qt::AlignRight | Qt::AlignVCenter);
            // The centre's figure under the optical centre, or on the title
            // line when the ends leave it no room.
            QRectF centro;
            if (s.desde < 0 && s.hasta > 0) {
                const double x = perfil.left() + d.escalaSeccion * (0 - s.desde);
                centro = Encerrar(ajustado(mm(o.centro), {x, y}, Qt::AlignHCenter), fila);
            }
            if (!centro.isNull() && !centro.adjusted(-4, 0, 4, 0).intersects(izquierda) &&
                !centro.adjusted(-4, 0, 4, 0).intersects(derecha)) {
                texto(mm(o.centro), centro, Qt::AlignCenter);
            } else {
                const QString t = QStringLiteral("centro ") + mm(o.centro);
                texto(t, ajustado(t, {fila.right(), fila.top()}, Qt::AlignRight), Qt::AlignRight | Qt::AlignVCenter);
            }
        }
    }

    if (m_hayLente) {
        texto(QStringLiteral("Espesor"), QRectF(d.barra.left(), d.cabecera[0].top(), d.clave.width(), alto),
              Qt::AlignLeft | Qt::AlignVCenter);
        for (int k = 0; k < d.marcas; ++k) {
            const double f = static_cast<double>(k) / (d.marcas - 1);
            const double y = d.barra.bottom() - f * d.barra.height();
            const QString t = mm(m_minimo + f * (m_maximo - m_minimo));
            texto(t, ajustado(t, {d.barra.right() + 4, y - alto / 2}, Qt::AlignLeft), Qt::AlignLeft | Qt::AlignVCenter);
        }
        const QString claves[2] = {QStringLiteral("Centro óptico"), QStringLiteral("Centro de caja")};
        for (int k = 0; k < 2; ++k)
            texto(claves[k], ajustado(claves[k], {d.clave.left() + 20, d.clave.top() + k * alto}, Qt::AlignLeft),
                  Qt::AlignLeft | Qt::AlignVCenter);
    }
    return r;
}

void MapaEspesor::dibujarLente(QPainter& p, const Disposicion& d, int ojo) const
{
    const Ojo& o = m_ojos[ojo];
    QPolygonF contorno;
    for (const lente::Punto& q : o.borde)
        contorno << pixel(d, ojo, q);
    const QRect caja = contorno.boundingRect().toAlignedRect() & d.area.toAlignedRect();
    if (caja.isEmpty())
        return;

    // Each row of the image cut by the outline, each pixel between two
    // crossings coloured by the thickness at its centre. The thickness bends
    // so gently over a pixel that every other one is the mean of its
    // neighbours, which halves the work of a redraw.
    QImage imagen(caja.size(), QImage::Format_ARGB32_Premultiplied);
    imagen.fill(Qt::transparent);
    const QPointF c = d.mapa[ojo].center();
    const double k = d.escala;
    const EscalaColores& escala = EscalaViridis();
    for (int fy = 0; fy < imagen.height(); ++fy) {
        const double y = o.centroCaja.y - (caja.top() + fy + 0.5 - c.y()) / k;
        const auto xs = Cruces(o.borde, y);
        QRgb* linea = reinterpret_cast<QRgb*>(imagen.scanLine(fy));
        const auto pintar = [&](int fx, double e) {
            if (std::isfinite(e))
                linea[fx] = escala.Color(fraccion(e));
        };
        const auto espesor = [&](int fx) {
            try {
                return o.lente->Espesor({o.centroCaja.x + (caja.left() + fx + 0.5 - c.x()) / k, y});
            } catch (const numerico::Falla&) {
                return double(NAN);
            }
        };
        for (std::size_t j = 0; j + 1 < xs.size(); j += 2) {
            const double desde = c.x() + k * (xs[j] - o.centroCaja.x) - caja.left() - 0.5;
            const double hasta = c.x() + k * (xs[j + 1] - o.centroCaja.x) - caja.left() - 0.5;
            const int a = std::max(0, static_cast<int>(std::ceil(desde)));
            const int b = std::min(imagen.width() - 1, static_cast<int>(std::floor(hasta)));
            double previo = NAN;
            for (int fx = a; fx <= b; fx += 2) {
                const double e = espesor(fx);
                pintar(fx, e);
                if (fx > a)
                    pintar(fx - 1, (previo + e) / 2);
                previo = e;
            }
            if (b > a && (b - a) % 2 == 1)
                pintar(b, espesor(b));
        }
    }
    p.drawImage(caja.topLeft(), imagen);

    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kContorno, 1.2));
    p.drawPolygon(contorno);
    // The meridians of the sections below, through the optical centre.
    p.setPen(QPen(QColor(255, 255, 255, 170), 1.0, Qt::DashLine));
    for (const Seccion& s : o.secciones) {
        if (!s.hay || d.sinSecciones)
            continue;
        const double a = s.angulo * std::numbers::pi / 180.0;
        p.drawLine(pixel(d, ojo, {s.desde * std::cos(a), s.desde * std::sin(a)}),
                   pixel(d, ojo, {s.hasta * std::cos(a), s.hasta * std::sin(a)}));
    }
    MarcaCaja(p, pixel(d, ojo, o.centroCaja));
    MarcaCentroOptico(p, pixel(d, ojo, {0, 0}));
    MarcaBorde(p, pixel(d, ojo, o.delgado));
    MarcaBorde(p, pixel(d, ojo, o.grueso));
    if (o.interior)
        MarcaBorde(p, pixel(d, ojo, o.interior->p));
}

void MapaEspesor::dibujarSeccion(QPainter& p, const Disposicion& d, int ojo, int meridiano) const
{
    const Seccion& s = m_ojos[ojo].secciones[meridiano];
    if (!s.hay)
        return;
    const QRectF r = lugarPerfil(d, ojo, meridiano);
    const double tope = *std::min_element(s.frente.begin(), s.frente.end());
    const double k = d.escalaSeccion;
    const auto y = [&](double z) { return r.top() + k * (z - tope); };
    const int n = static_cast<int>(s.frente.size());

    // Each column of the cut in the colour of its thickness.
    p.setRenderHint(QPainter::Antialiasing, false);
    const int columnas = static_cast<int>(std::ceil(r.width()));
    for (int px = 0; px < columnas; ++px) {
        const double u = std::clamp((px + 0.5) / r.width(), 0.0, 1.0) * (n - 1);
        const int i = std::min(static_cast<int>(u), n - 2);
        const double f = u - i;
        const double frente = s.frente[i] + f * (s.frente[i + 1] - s.frente[i]);
        const double dorso = s.dorso[i] + f * (s.dorso[i + 1] - s.dorso[i]);
        p.setPen(QColor(Viridis(fraccion(dorso - frente))));
        p.drawLine(QPointF(r.left() + px + 0.5, y(frente)), QPointF(r.left() + px + 0.5, y(dorso)));
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    QPolygonF corte;
    for (int i = 0; i < n; ++i)
        corte << QPointF(r.left() + r.width() * i / (n - 1), y(s.frente[i]));
    for (int i = n - 1; i >= 0; --i)
        corte << QPointF(r.left() + r.width() * i / (n - 1), y(s.dorso[i]));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kContorno, 1.0));
    p.drawPolygon(corte);
    if (s.desde < 0 && s.hasta > 0) {
        const double x = r.left() + k * (0 - s.desde);
        p.setPen(QPen(kTinta, 1.0, Qt::DotLine));
        p.drawLine(QPointF(x, r.top() - 2), QPointF(x, r.bottom() + 2));
    }
}

void MapaEspesor::dibujarLeyenda(QPainter& p, const Disposicion& d) const
{
    std::vector<double> marcas;
    for (int k = 0; k < d.marcas; ++k)
        marcas.push_back(static_cast<double>(k) / (d.marcas - 1));
    EscalaViridis().PintarBarra(p, d.barra, marcas, kContorno);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double alto = QFontMetricsF(m_letra).height();
    MarcaCentroOptico(p, QPointF(d.clave.left() + 9, d.clave.top() + alto / 2));
    MarcaCaja(p, QPointF(d.clave.left() + 9, d.clave.top() + 1.5 * alto));
}

void MapaEspesor::Dibujar(QPainter& p, const QRectF& area) const
{
    p.save();
    p.setClipRect(area);
    p.fillRect(area, kFondo);
    const Disposicion d = disponer(area);
    for (int i = 0; i < 2; ++i) {
        if (m_ojos[i].estado != Ojo::Estado::Lente)
            continue;
        dibujarLente(p, d, i);
        for (int j = 0; j < (d.sinSecciones ? 0 : 2); ++j)
            dibujarSeccion(p, d, i, j);
    }
    if (m_hayLente)
        dibujarLeyenda(p, d);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const Rotulo& r : rotular(d)) {
        if (r.sobreMapa) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 215));
            p.drawRoundedRect(r.caja, 3, 3);
        }
        p.setFont(r.letra);
        p.setPen(kTinta);
        p.drawText(r.caja, r.alineacion, r.texto);
    }
    p.restore();
}
