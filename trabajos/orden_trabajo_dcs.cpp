#include "orden_trabajo_dcs.h"

#include "archivos.h"
#include "formatos.h"
#include "hoja_orden.h"
#include "numero_trabajo.h"
#include "orden_pdf.h"
#include "ruta_legible.h"
#include "texto_qt.h"
#include "trazo_dcs.h"

#include <QDateTime>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <numbers>

namespace {

using dcs::Lado;

constexpr Lado kLados[] = {Lado::Derecho, Lado::Izquierdo};
constexpr double kMargen = 15.0;
// No figure of a job is longer; a longer text from outside is cut before it
// is laid out.
constexpr qsizetype kTextoMaximo = 120;
// The table: labels, then one column an eye.
constexpr double kEtiquetas = 48.0;
constexpr double kPaso = 3.8;
// The warnings of one eye printed before the rest are only counted.
constexpr std::size_t kAvisosPorOjo = 3;

// A text that came from outside (a stored request or answer), fit for the
// page: every control or format character (a terminal's escape, a line
// break, a reversal of the writing's direction) as "?", and cut.
QString legible(std::string_view texto)
{
    const QList<uint> letras = Q(texto.substr(0, 4 * (kTextoMaximo + 1))).toUcs4();
    QString r;
    for (const uint c : letras) {
        if (r.size() >= kTextoMaximo) {
            r += QStringLiteral("…");
            break;
        }
        switch (QChar::category(c)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Other_PrivateUse:
        case QChar::Other_NotAssigned:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            r += QLatin1Char('?');
            break;
        default: {
            const char32_t letra = c;
            r += QString::fromUcs4(&letra, 1);
        }
        }
    }
    return r;
}

std::optional<double> leerNumero(std::string_view s)
{
    if (s.starts_with('+'))
        s.remove_prefix(1);
    double v = 0;
    const auto [fin, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc{} || fin != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// An eye's number under a label. A label this release does not read, one a
// later release writes, is kept as its text, "right;left" or one field for
// both eyes.
std::optional<double> numero(const dcs::Pedido& x, std::string_view etiqueta, Lado lado)
{
    if (const dcs::Valor* v = x.Primero(etiqueta, lado))
        return v->numero;
    const auto d = x.desconocidas().find(etiqueta);
    if (d == x.desconocidas().end())
        return std::nullopt;
    const auto campos = dcs::Campos(d->second);
    const std::size_t i = campos.size() == 1 ? 0 : static_cast<std::size_t>(lado);
    return i < campos.size() ? leerNumero(campos[i]) : std::nullopt;
}

QString cifras(double x, int decimales) { return Q(dcs::ConDecimales(x, decimales)); }
QString poder(double x) { return Q(FormatoPoder(x)) + QStringLiteral(" D"); }
QString milimetros(double x, int decimales = 2) { return cifras(x, decimales) + QStringLiteral(" mm"); }
QString grados(double x) { return Q(TextoPlano(x)) + QStringLiteral("°"); }
QString prisma(double m, double base) { return cifras(m, 2) + QStringLiteral(" Δ base ") + grados(base); }

// The stored time, ISO 8601 in UTC, as the bench's clock reads it.
QString fecha(const std::string& iso)
{
    const QDateTime t = QDateTime::fromString(Q(iso), Qt::ISODate);
    return t.isValid() ? Q(FechaHoraOrden(t.toLocalTime())) : legible(iso);
}

QString montura(double etyp)
{
    switch (static_cast<int>(etyp)) {
    case -1:
        return QStringLiteral("Sin cortar");
    case 1:
        return QStringLiteral("Completa (bisel)");
    case 2:
        return QStringLiteral("Perforada");
    case 3:
        return QStringLiteral("Ranurada");
    case 4:
        return QStringLiteral("Completa (minibisel)");
    default:
        return QStringLiteral("Tipo ") + Q(TextoPlano(etyp));
    }
}

QString seguridad(double clase)
{
    switch (static_cast<int>(clase)) {
    case 1:
        return QStringLiteral("Básica (ANSI Z87.1)");
    case 2:
        return QStringLiteral("Alto impacto (ANSI Z87.1)");
    default:
        return QStringLiteral("Ninguna");
    }
}

// The box of an outline, x to the right and y up.
QRectF cajaDe(const std::vector<lente::Punto>& borde)
{
    double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
    for (const lente::Punto& p : borde) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    return borde.empty() ? QRectF() : QRectF(x0, y0, x1 - x0, y1 - y0);
}

struct Fila {
    QString etiqueta;
    std::array<QString, 2> valor; // empty where the eye has none
};

struct Seccion {
    QString titulo;
    std::vector<Fila> filas;
};

// How the frame's shape is given, and its sizes.
struct Forma {
    QString como;
    std::optional<double> a, b, ed;
};

// The job read for its ticket: the request, the answer (in today's labels:
// an answer of the earlier release comes rewritten) and each eye's lens.
class Cifras {
public:
    Cifras(const TrabajoAImprimir& t, const dcs::Pedido& pedido, const std::optional<dcs::Pedido>& respuesta)
        : m_c(t.contestacion), m_p(pedido), m_r(respuesta)
    {
        std::string error;
        if (!m_p.trazo().empty())
            m_trazos = dcs::LeerTrazos(m_p.trazo(), error);
    }

    std::vector<Seccion> Secciones() const;
    // For the optician, one a line: that a lens is checked against the
    // lensmeter, then each eye's reason for having no lens and its
    // answer's warnings, the first few.
    std::vector<QString> Avisos() const;

private:
    const trabajos::OjoResuelto& ojo(Lado l) const { return m_c.ojos[static_cast<std::size_t>(l)]; }
    std::optional<double> pedido(std::string_view etiqueta, Lado l) const { return numero(m_p, etiqueta, l); }
    std::optional<double> respuesta(std::string_view etiqueta, Lado l) const
    {
        return m_r ? numero(*m_r, etiqueta, l) : std::nullopt;
    }
    Forma forma(Lado l) const;
    // A row; an optional one only when some eye has a value. An eye that is
    // not asked for has none.
    void fila(Seccion& s, const QString& etiqueta, const std::function<QString(Lado)>& valor,
              bool opcional = false) const;

    const trabajos::Contestacion& m_c;
    const dcs::Pedido& m_p;
    const std::optional<dcs::Pedido>& m_r;
    std::optional<dcs::Trazos> m_trazos;
};

void Cifras::fila(Seccion& s, const QString& etiqueta, const std::function<QString(Lado)>& valor, bool opcional) const
{
    Fila f{etiqueta, {}};
    for (const Lado l : kLados)
        if (ojo(l).pedido)
            f.valor[static_cast<std::size_t>(l)] = valor(l);
    if (!opcional || !f.valor[0].isEmpty() || !f.valor[1].isEmpty())
        s.filas.push_back(std::move(f));
}

Forma Cifras::forma(Lado l) const
{
    Forma f;
    f.a = pedido("HBOX", l);
    f.b = pedido("VBOX", l);
    f.ed = pedido("FED", l);
    if (m_trazos) {
        // A side the trace lacks is the other side's mirror image.
        const bool derecho = l == Lado::Derecho;
        const auto& propio = derecho ? m_trazos->derecho : m_trazos->izquierdo;
        const auto& otro = derecho ? m_trazos->izquierdo : m_trazos->derecho;
        f.como = propio.empty() ? QStringLiteral("trazado, %1 puntos, reflejado").arg(otro.size())
                                : QStringLiteral("trazado, %1 puntos").arg(propio.size());
        const auto borde = dcs::PuntosDelOjo(*m_trazos, derecho ? lente::Ojo::Derecho : lente::Ojo::Izquierdo);
        const QRectF caja = cajaDe(borde);
        // The effective diameter is twice the longest radius from the centre
        // of the frame's box.
        double radio = 0;
        for (const lente::Punto& p : borde)
            radio = std::max(radio, std::hypot(p.x - caja.center().x(), p.y - caja.center().y()));
        if (!borde.empty()) {
            f.a = f.a.value_or(caja.width());
            f.b = f.b.value_or(caja.height());
            f.ed = f.ed.value_or(2 * radio);
        }
    } else if (f.a && f.b) {
        f.como = QStringLiteral("caja A × B");
        f.ed = f.ed.value_or(std::max(*f.a, *f.b));
    } else if (f.ed) {
        f.como = QStringLiteral("redonda");
        f.a = f.b = f.ed;
    }
    return f;
}

std::vector<Seccion> Cifras::Secciones() const
{
    const auto delPedido = [this](std::string_view etiqueta, auto formato) {
        return [=, this](Lado l) {
            const auto v = pedido(etiqueta, l);
            return v ? formato(*v) : QString();
        };
    };
    const auto deRespuesta = [this](std::string_view etiqueta, auto formato) {
        return [=, this](Lado l) {
            const auto v = respuesta(etiqueta, l);
            return v ? formato(*v) : QString();
        };
    };
    const auto mm = [](double x) { return milimetros(x); };
    const dcs::Valor* ptok = m_p.Primero("PTOK", Lado::Derecho);
    const bool adelgazar = !(ptok && ptok->numero == 0.0);

    Seccion receta{QStringLiteral("Receta"), {}};
    fila(receta, QStringLiteral("Esfera"), delPedido("SPH", poder));
    fila(receta, QStringLiteral("Cilindro"), delPedido("CYL", poder));
    fila(receta, QStringLiteral("Eje"), delPedido("AX", grados));
    fila(receta, QStringLiteral("Prisma"), [&](Lado l) {
        const double m = pedido("PRVM", l).value_or(0);
        return m != 0 ? prisma(m, pedido("PRVA", l).value_or(0)) : QString();
    });
    fila(receta, QStringLiteral("Adición"), delPedido("ADD", poder), true);
    const auto adelgazamiento = [&](Lado l) {
        const double m = pedido("PTPRVM", l).value_or(0);
        if (m == 0)
            return QString();
        return adelgazar ? prisma(m, pedido("PTPRVA", l).value_or(0)) : QStringLiteral("no pedido");
    };
    fila(receta, QStringLiteral("Prisma de adelgazamiento"), adelgazamiento, true);
    fila(receta, QStringLiteral("DP monocular"), delPedido("IPD", mm));
    fila(receta, QStringLiteral("DP monocular de cerca"), delPedido("NPD", mm), true);
    fila(receta, QStringLiteral("Altura"), delPedido("OCHT", mm));
    fila(receta, QStringLiteral("Altura del segmento"), delPedido("SEGHT", mm), true);
    const auto tipo = [&](Lado l) {
        const dcs::Valor* v = m_p.Primero("LTYP", l);
        return v ? legible(v->texto) : QString();
    };
    fila(receta, QStringLiteral("Tipo de lente"), tipo, true);

    Seccion armazon{QStringLiteral("Armazón"), {}};
    std::array<Forma, 2> formas;
    for (const Lado l : kLados)
        formas[static_cast<std::size_t>(l)] = forma(l);
    const auto deForma = [&formas](auto valor) {
        return [&formas, valor](Lado l) { return valor(formas[static_cast<std::size_t>(l)]); };
    };
    fila(armazon, QStringLiteral("Forma"), deForma([](const Forma& f) { return f.como; }));
    fila(armazon, QStringLiteral("A × B"), deForma([](const Forma& f) {
             return f.a && f.b ? cifras(*f.a, 2) + QStringLiteral(" × ") + milimetros(*f.b) : QString();
         }));
    fila(armazon, QStringLiteral("Puente (DBL)"), delPedido("DBL", mm));
    fila(armazon, QStringLiteral("ED"), deForma([](const Forma& f) { return f.ed ? milimetros(*f.ed) : QString(); }));
    fila(armazon, QStringLiteral("Montura"), delPedido("ETYP", montura));
    fila(armazon, QStringLiteral("Distancia al vértice"), delPedido("BVD", mm), true);
    fila(armazon, QStringLiteral("Ángulo pantoscópico"), delPedido("PANTO", grados), true);
    fila(armazon, QStringLiteral("Curvatura de la montura"), delPedido("ZTILT", grados), true);

    // What was answered: an eye without a lens has none of it.
    Seccion lente{QStringLiteral("Lente"), {}};
    const auto material = [&](Lado l) {
        if (!ojo(l).resultado)
            return QString();
        return ojo(l).material.empty() ? QStringLiteral("sin material del catálogo") : legible(ojo(l).material);
    };
    fila(lente, QStringLiteral("Material"), material);
    const auto indice = [&](Lado l) {
        const auto n = respuesta("LIND", l), tind = respuesta("TIND", l);
        if (!n)
            return QString();
        return cifras(*n, 3) +
               (tind ? QStringLiteral(" (herramientas a ") + cifras(*tind, 3) + QStringLiteral(")") : QString());
    };
    fila(lente, QStringLiteral("Índice"), indice);
    fila(lente, QStringLiteral("Seguridad"),
         [&](Lado l) { return seguridad(respuesta("_SEGURIDAD", l).value_or(pedido("_SEGURIDAD", l).value_or(0))); });
    fila(lente, QStringLiteral("Curva base (a 1.523)"),
         [&](Lado l) { return ojo(l).resultado ? poder(ojo(l).base) : QString(); });
    const auto herramientas = [&](Lado l) {
        const auto base = respuesta("GBASE", l), cruz = respuesta("GCROS", l);
        if (!base || !cruz)
            return QString();
        // The generator's weaker curve lies along GAX, the stronger across it.
        const double eje = respuesta("GAX", l).value_or(0);
        return cifras(*base, 2) + QStringLiteral(" D a ") + grados(eje) + QStringLiteral(" / ") + cifras(*cruz, 2) +
               QStringLiteral(" D a ") + grados(eje < 90 ? eje + 90 : eje - 90);
    };
    fila(lente, QStringLiteral("Curvas de herramienta"), herramientas);
    // The generator makes the prescribed prism and the thinning one together.
    const auto tallado = [&](Lado l) {
        const auto m = respuesta("RPRVM", l);
        const bool adelgazado = adelgazar && pedido("PTPRVM", l).value_or(0) != 0;
        return m && adelgazado ? prisma(*m, respuesta("RPRVA", l).value_or(0)) : QString();
    };
    fila(lente, QStringLiteral("Prisma tallado"), tallado, true);
    // A back compensated for the frame's tilt is checked against the
    // lensmeter's reading the answer gives, not against the prescription.
    const auto frontofocometro = [&](Lado l) {
        const auto esfera = respuesta("INSSPH", l);
        if (!esfera)
            return QString();
        return Q(FormatoPoder(*esfera)) + QStringLiteral(" ") + Q(FormatoPoder(respuesta("INSCYL", l).value_or(0))) +
               QStringLiteral(" × ") + grados(respuesta("INSAX", l).value_or(0));
    };
    fila(lente, QStringLiteral("Frontofocómetro"), frontofocometro, true);
    fila(lente, QStringLiteral("Espesor central"), deRespuesta("CTHICK", [](double x) { return milimetros(x, 3); }));
    const auto borde = [&](std::string_view espesor, std::string_view angulo) {
        return [=, this](Lado l) {
            const auto e = respuesta(espesor, l);
            return e ? milimetros(*e, 3) + QStringLiteral(" a ") + grados(respuesta(angulo, l).value_or(0)) : QString();
        };
    };
    fila(lente, QStringLiteral("Borde mínimo"), borde("THNP", "THNA"));
    // A minus lens with prism is thinnest inside its outline, toward the
    // prism's apex: the figure the thickness rule held there.
    fila(lente, QStringLiteral("Punto más delgado"), deRespuesta("_THNINT", [](double x) { return milimetros(x, 3); }),
         true);
    fila(lente, QStringLiteral("Borde máximo"), borde("THKP", "THKA"));
    fila(lente, QStringLiteral("Bloque"), [&](Lado l) {
        const auto dia = respuesta("DIA", l), crib = respuesta("CRIB", l);
        QString t = dia ? milimetros(*dia, 0) : QString();
        if (crib)
            t += (t.isEmpty() ? QString() : QStringLiteral(", ")) + QStringLiteral("mínimo ") + milimetros(*crib, 0);
        return t;
    });
    fila(lente, QStringLiteral("Peso"), [&](Lado l) {
        if (!ojo(l).resultado)
            return QString();
        const auto peso = respuesta("_PESO", l);
        return peso ? cifras(*peso, 2) + QStringLiteral(" g") : QStringLiteral("sin densidad");
    });
    return {receta, armazon, lente};
}

std::vector<QString> Cifras::Avisos() const
{
    std::vector<QString> avisos;
    if (respuesta("INSSPH", Lado::Derecho) || respuesta("INSSPH", Lado::Izquierdo))
        avisos.push_back(QStringLiteral("Cara interna compensada por la inclinación de la montura: compruebe la lente "
                                        "con el frontofocómetro, no con la receta."));
    for (const Lado l : kLados) {
        const trabajos::OjoResuelto& o = ojo(l);
        std::vector<QString> propios;
        if (o.pedido && !o.resultado)
            propios.push_back(QStringLiteral("sin lente: ") + legible(o.falla));
        if (o.pedido)
            for (const std::string& a : o.avisos)
                propios.push_back(legible(a));
        const QString nombre = l == Lado::Derecho ? QStringLiteral("Derecho: ") : QStringLiteral("Izquierdo: ");
        for (std::size_t i = 0; i < propios.size(); ++i) {
            if (i + 1 == kAvisosPorOjo && propios.size() > kAvisosPorOjo) {
                avisos.push_back(nombre + QStringLiteral("%1 avisos más en la respuesta").arg(propios.size() - i));
                break;
            }
            avisos.push_back(nombre + propios[i]);
        }
    }
    return avisos;
}

// One eye's outline at true size, x to the right and y up as the lens is
// seen from the front, its optical centre crossed and its thinnest and
// thickest edge points marked. Nothing is drawn at another scale: an outline
// that does not fit its room is said so. Returns the height it took.
double dibujarContorno(HojaOrden& h, const trabajos::OjoResuelto& ojo, const QString& titulo, QRectF sitio)
{
    h.Texto(sitio.center().x(), sitio.top() + 4, titulo, FuenteOrden(9, true), Qt::AlignHCenter);
    if (!ojo.resultado || ojo.borde.size() < 3)
        return 6;
    const QRectF forma = cajaDe(ojo.borde);
    // Room around the outline for the marks' names.
    const QRectF caja = sitio.adjusted(8, 9.5, -8, -2);
    if (forma.width() > caja.width() || forma.height() > caja.height()) {
        return 10 + h.Parrafo(sitio.left() + 4, sitio.top() + 8, sitio.width() - 8,
                              QStringLiteral("El contorno de %1 × %2 mm no cabe a tamaño real en esta hoja: no se "
                                             "dibuja, para no mostrarlo a otra escala.")
                                  .arg(cifras(forma.width(), 1), cifras(forma.height(), 1)),
                              FuenteOrden(9));
    }
    // The optical centre, with the outline's box centred across its room
    // and at the room's top.
    const QPointF centro(caja.center().x() - forma.center().x(), caja.top() + forma.bottom());
    QPainterPath contorno;
    for (const lente::Punto& b : ojo.borde) {
        const QPointF punto = centro + QPointF(b.x, -b.y);
        if (contorno.elementCount() == 0)
            contorno.moveTo(punto);
        else
            contorno.lineTo(punto);
    }
    contorno.closeSubpath();
    QPainter& p = h.pintor();
    QPen pluma(kContornoOrden, 0.3);
    pluma.setCosmetic(false);
    p.setPen(pluma);
    p.setBrush(Qt::NoBrush);
    p.drawPath(contorno);
    h.Linea(centro.x() - 2, centro.y(), centro.x() + 2, centro.y(), kCotaOrden, 0.15);
    h.Linea(centro.x(), centro.y() - 2, centro.x(), centro.y() + 2, kCotaOrden, 0.15);
    const auto marcar = [&](double angulo, const QString& nombre) {
        // The marked point is where the outline crosses the angle's ray.
        const double a = angulo * std::numbers::pi / 180.0;
        const double tolerancia = 0.6 * 2 * std::numbers::pi / static_cast<double>(ojo.borde.size()) + 1e-9;
        double alcance = 0;
        for (const lente::Punto& b : ojo.borde)
            if (std::abs(std::remainder(std::atan2(b.y, b.x) - a, 2 * std::numbers::pi)) < tolerancia)
                alcance = std::max(alcance, std::hypot(b.x, b.y));
        const QPointF punto = centro + QPointF(alcance * std::cos(a), -alcance * std::sin(a));
        QPen marca(kCotaOrden, 0.2);
        p.setPen(marca);
        p.drawEllipse(punto, 1.2, 1.2);
        const bool izquierda = std::cos(a) < 0;
        h.Texto(punto.x() + (izquierda ? -2.0 : 2.0), punto.y() - 1.5, nombre, FuenteOrden(7),
                izquierda ? Qt::AlignRight : Qt::AlignLeft, kCotaOrden);
    };
    marcar(ojo.resultado->anguloMinimo, QStringLiteral("mín."));
    marcar(ojo.resultado->anguloMaximo, QStringLiteral("máx."));
    return caja.top() - sitio.top() + forma.height() + 3;
}

} // namespace

void DibujarTrabajo(QPainter& pintor, const QPageLayout& hoja, const TrabajoAImprimir& t)
{
    HojaOrden h(pintor, hoja);
    const QSizeF pagina = h.Tamano();
    const double izquierda = kMargen;
    const double derecha = pagina.width() - kMargen;
    const double ancho = derecha - izquierda;
    const double escala = pagina.height() - kMargen - 2;
    const trabajos::Contestacion& c = t.contestacion;

    h.Texto(izquierda, kMargen + 7, QStringLiteral("Orden de trabajo"), FuenteOrden(20, true));
    const bool guardado = !t.creado.empty();
    h.Texto(izquierda, kMargen + 13.5,
            guardado
                ? QStringLiteral("Creado: ") + fecha(t.creado) + QStringLiteral("    Cambiado: ") + fecha(t.cambiado)
                : QStringLiteral("Sin guardar"),
            FuenteOrden(10));
    h.Texto(izquierda, kMargen + 18.5,
            guardado ? QStringLiteral("Cifras de la respuesta guardada con el trabajo")
                     : QStringLiteral("Cifras calculadas en la ventana de trabajo, aún no guardadas"),
            FuenteOrden(9), Qt::AlignLeft, kGrisOrden);
    DibujarNumeroOrden(h, derecha, kMargen, S(legible(c.numero)));
    double y = kMargen + 25;
    h.Linea(izquierda, y, derecha, y, kTintaOrden, 0.3);

    std::string error;
    const auto pedido = dcs::Pedido::Leer(t.pedido, error, {t.formato, false});
    if (!pedido) {
        h.Parrafo(izquierda, y + 4, ancho, QStringLiteral("El pedido del trabajo no se puede leer: ") + legible(error),
                  FuenteOrden(10));
        DibujarEscalaOrden(h, izquierda, escala);
        return;
    }
    const auto respuesta = dcs::Pedido::Leer(c.texto, error, {dcs::kFormato, true});
    const Cifras trabajo(t, *pedido, respuesta);

    // The figures: a label, then one column an eye, the right first as a
    // prescription is written.
    const double columna = (ancho - kEtiquetas) / 2;
    const double xOjo[] = {izquierda + kEtiquetas, izquierda + kEtiquetas + columna};
    const QFont etiqueta = FuenteOrden(8), valor = FuenteOrden(8, true), titulo = FuenteOrden(9, true);
    y += 5;
    for (const Lado l : kLados) {
        const trabajos::OjoResuelto& o = c.ojos[static_cast<std::size_t>(l)];
        const QString estado = !o.pedido      ? QStringLiteral(": no pedido")
                               : !o.resultado ? QStringLiteral(": sin lente")
                                              : QString();
        h.Texto(xOjo[static_cast<int>(l)], y,
                (l == Lado::Derecho ? QStringLiteral("Ojo derecho") : QStringLiteral("Ojo izquierdo")) + estado,
                FuenteOrden(10, true));
    }
    const auto encabezar = [&](const QString& texto) {
        y += 5;
        h.Texto(izquierda, y, texto, titulo);
        h.Linea(izquierda, y + 1.0, derecha, y + 1.0, kGrisOrden, 0.15);
        y += 0.8;
    };
    for (const Seccion& s : trabajo.Secciones()) {
        encabezar(s.titulo);
        for (const Fila& f : s.filas) {
            y += kPaso;
            h.Texto(izquierda, y, f.etiqueta, etiqueta);
            for (const Lado l : kLados) {
                const QString& v = f.valor[static_cast<std::size_t>(l)];
                h.Texto(xOjo[static_cast<int>(l)], y,
                        h.Recortado(v.isEmpty() ? QStringLiteral("—") : v, valor, columna - 2), valor);
            }
        }
    }

    // Both outlines side by side, the right eye on the left as the glasses
    // are seen from the front. They come before the warnings, which keep
    // room for their first lines and count those the page has no room for.
    const std::vector<QString> avisos = trabajo.Avisos();
    const double limite = escala - 5;
    const double reserva = avisos.empty() ? 0 : 6 + 2 * kPaso;
    y += 3;
    h.Linea(izquierda, y, derecha, y, kTintaOrden, 0.3);
    double ocupado = 0;
    for (const Lado l : kLados) {
        const QRectF sitio(izquierda + ancho / 2 * static_cast<int>(l), y, ancho / 2, limite - reserva - y);
        ocupado =
            std::max(ocupado, dibujarContorno(h, c.ojos[static_cast<std::size_t>(l)],
                                              l == Lado::Derecho ? QStringLiteral("Ojo derecho, visto de frente")
                                                                 : QStringLiteral("Ojo izquierdo, visto de frente"),
                                              sitio));
    }
    y += ocupado;
    if (!avisos.empty())
        encabezar(QStringLiteral("Avisos para el laboratorio"));
    for (std::size_t i = 0; i < avisos.size(); ++i) {
        y += kPaso;
        const bool ultima = y + kPaso > limite && i + 1 < avisos.size();
        h.Texto(izquierda, y,
                h.Recortado(ultima ? QStringLiteral("%1 avisos más en la respuesta").arg(avisos.size() - i) : avisos[i],
                            etiqueta, ancho),
                etiqueta);
        if (ultima)
            break;
    }
    DibujarEscalaOrden(h, izquierda, escala);
}

QByteArray TrabajoPdf(const TrabajoAImprimir& t)
{
    return PdfA4(QStringLiteral("Orden de trabajo ") + legible(t.contestacion.numero),
                 [&](QPainter& p, const QPageLayout& hoja) { DibujarTrabajo(p, hoja, t); });
}

bool GrabarTrabajoPdf(const std::filesystem::path& archivo, const TrabajoAImprimir& t, std::string& error)
{
    const QByteArray documento = TrabajoPdf(t);
    std::string motivo;
    if (!ReemplazarArchivo(archivo, std::string_view(documento.constData(), documento.size()), motivo)) {
        error = "no se pudo grabar la orden de trabajo en \"" + RutaLegible(archivo) + "\": " + motivo;
        return false;
    }
    return true;
}
