#include "lienzo_imagen.h"

#include "archivos.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <numbers>
#include <utility>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDosPi = 2.0 * std::numbers::pi;

// Lines and arcs are cut to the surface plus one pixel all round (device
// coordinates, pixel centres at whole numbers), so that the cut never
// shortens what shows.
constexpr double kMinX = -1.0;
constexpr double kMaxX = LienzoImagen::kAncho;
constexpr double kMinY = -1.0;
constexpr double kMaxY = LienzoImagen::kAlto;

// Steps along one visible piece of an arc. A piece that would need more (a
// very flat ellipse seen near its narrow end) becomes a polygon of this many
// sides, still without gaps because its corners are joined by lines.
constexpr int kPasosMaximos = 1 << 14;

// The window's 15 twips to the pixel make 96 pixels to the inch, which sets
// the size of an 8-point font.
constexpr int kPuntosPorMetro = 3780;

QRgb rgb(Color c) { return qRgb(c.r, c.g, c.b); }

bool finitos(std::initializer_list<double> valores)
{
    return std::all_of(valores.begin(), valores.end(), [](double v) { return std::isfinite(v); });
}

// The pixel of a device coordinate. Values far off the surface (only clipped
// or non-finite ones reach here) are held a few pixels outside it, so that the
// conversion is always defined.
int pixel(double p)
{
    const double r = std::floor(p + 0.5);
    if (!(r >= -4.0))
        return -4;
    return r > LienzoImagen::kAncho + 4 ? LienzoImagen::kAncho + 4 : static_cast<int>(r);
}

// Liang–Barsky: cuts the segment to the clip box, false when nothing of it is
// inside. Where it enters or leaves through an edge, that coordinate is set to
// the edge exactly: a line from a point 1e300 units away still ends on the
// right pixel when it runs along an axis.
bool recortar(double& x0, double& y0, double& x1, double& y1)
{
    const double ox = x0;
    const double oy = y0;
    const double dx = x1 - ox;
    const double dy = y1 - oy;
    const std::array p{-dx, dx, -dy, dy};
    const std::array q{ox - kMinX, kMaxX - ox, oy - kMinY, kMaxY - oy};
    const std::array borde{kMinX, kMaxX, kMinY, kMaxY};
    double t0 = 0.0;
    double t1 = 1.0;
    int entra = -1;
    int sale = -1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
        } else if (p[i] < 0.0) {
            if (const double t = q[i] / p[i]; t > t0) {
                t0 = t;
                entra = i;
            }
        } else if (const double t = q[i] / p[i]; t < t1) {
            t1 = t;
            sale = i;
        }
    }
    if (!(t0 <= t1))
        return false;
    const auto mover = [&](double& x, double& y, double t, int lado) {
        x = lado < 2 ? borde[lado] : ox + t * dx;
        y = lado < 2 ? oy + t * dy : borde[lado];
    };
    if (sale >= 0)
        mover(x1, y1, t1, sale);
    if (entra >= 0)
        mover(x0, y0, t0, entra);
    return true;
}

} // namespace

LienzoImagen::LienzoImagen() : m_imagen(kAncho, kAlto, QImage::Format_RGB32)
{
    m_imagen.setDotsPerMeterX(kPuntosPorMetro);
    m_imagen.setDotsPerMeterY(kPuntosPorMetro);
    Limpiar();
}

void LienzoImagen::Limpiar()
{
    m_imagen.fill(rgb(kFondo));
    m_renglon = 0;
}

void LienzoImagen::Marco(double izquierda, double arriba, double ancho, double alto)
{
    if (!finitos({izquierda, arriba, ancho, alto}) || !(ancho > 0.0) || !(alto > 0.0))
        return;
    m_izquierda = izquierda;
    m_arriba = arriba;
    m_ancho = ancho;
    m_alto = alto;
}

// Multiplying before dividing keeps whole results exact: 150 units of 300 are
// pixel 276, not 275.99999999999997.
double LienzoImagen::dispositivoX(double x) const { return (x - m_izquierda) * kAncho / m_ancho; }
double LienzoImagen::dispositivoY(double y) const { return (y - m_arriba) * kAlto / m_alto; }

void LienzoImagen::poner(int x, int y, QRgb color)
{
    if (x >= 0 && x < kAncho && y >= 0 && y < kAlto)
        reinterpret_cast<QRgb*>(m_imagen.scanLine(y))[x] = color;
}

// Bresenham over all octants; consecutive pixels touch at least at a corner.
void LienzoImagen::trazar(int x0, int y0, int x1, int y1, QRgb color)
{
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        poner(x0, y0, color);
        if (x0 == x1 && y0 == y1)
            return;
        const int doble = 2 * error;
        if (doble >= dy) {
            error += dy;
            x0 += sx;
        }
        if (doble <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void LienzoImagen::Arco(double cx, double cy, double radio, Color color, double inicio, double fin, double aspecto)
{
    const double x = dispositivoX(cx);
    const double y = dispositivoY(cy);
    // The radius counts in horizontal units; the aspect then shortens the
    // vertical semi-axis (up to 1) or the horizontal one (above 1), in pixels.
    const double r = std::fabs(radio) * kAncho / m_ancho;
    if (!finitos({x, y, r, inicio, fin, aspecto}) || !(aspecto > 0.0))
        return;
    const double a = aspecto <= 1.0 ? r : r / aspecto;
    const double b = aspecto <= 1.0 ? r * aspecto : r;
    if (!finitos({a, b}))
        return;
    double barrido = fin - inicio;
    if (barrido < 0.0)
        barrido += kDosPi;
    // Only angles outside 0..2π get here.
    if (!(barrido >= 0.0 && barrido <= kDosPi)) {
        barrido = std::clamp(barrido, 0.0, kDosPi);
        fin = inicio + barrido;
    }
    trazarArco(x, y, a, b, inicio, barrido, fin, rgb(color));
}

std::pair<double, double> LienzoImagen::PuntoDeArco(double cx, double cy, double radio, double angulo,
                                                    double aspecto) const
{
    // The semi-axes of Arco in pixels, brought back to each axis's units.
    const double r = std::fabs(radio) * kAncho / m_ancho;
    const double a = aspecto <= 1.0 ? r : r / aspecto;
    const double b = aspecto <= 1.0 ? r * aspecto : r;
    return {cx + a * std::cos(angulo) * m_ancho / kAncho, cy - b * std::sin(angulo) * m_alto / kAlto};
}

void LienzoImagen::Elipse(double cx, double cy, double radio, Color color, double aspecto)
{
    Arco(cx, cy, radio, color, 0.0, kDosPi, aspecto);
}

// Walks the arc by its offset t from the start, in steps that move the point
// by at most a pixel, and joins the rounded points. Only the pieces of the
// curve that lie in the clip box are walked, so the work follows what shows,
// however large the radius.
void LienzoImagen::trazarArco(double cx, double cy, double a, double b, double inicio, double barrido, double fin,
                              QRgb color)
{
    // The end is computed from its own angle, not from inicio + barrido, so
    // that both ends land exactly on their rounded points.
    const auto punto = [&](double t) {
        const double angulo = t >= barrido ? fin : inicio + t;
        // Device y grows downwards: the upper half of the curve has the smaller y.
        return std::pair{cx + a * std::cos(angulo), cy - b * std::sin(angulo)};
    };

    // Offsets where the curve crosses a line of the clip box; between two of
    // them the curve is wholly inside the box or wholly outside.
    std::array<double, 10> cortes{0.0, barrido};
    std::size_t n = 2;
    const auto cortar = [&](double angulo) {
        double t = std::fmod(angulo - inicio, kDosPi);
        if (t < 0.0)
            t += kDosPi;
        if (t > 0.0 && t < barrido)
            cortes[n++] = t;
    };
    for (const double borde : {kMinX, kMaxX}) {
        if (const double c = (borde - cx) / a; std::fabs(c) <= 1.0) {
            cortar(std::acos(c));
            cortar(-std::acos(c));
        }
    }
    for (const double borde : {kMinY, kMaxY}) {
        if (const double s = (cy - borde) / b; std::fabs(s) <= 1.0) {
            cortar(std::asin(s));
            cortar(kPi - std::asin(s));
        }
    }
    std::sort(cortes.begin(), cortes.begin() + n);

    for (std::size_t i = 0; i + 1 < n; ++i) {
        const double t0 = cortes[i];
        const double t1 = cortes[i + 1];
        if (t1 == t0 && barrido > 0.0)
            continue;
        const auto [mx, my] = punto((t0 + t1) / 2.0);
        if (!(mx >= kMinX && mx <= kMaxX && my >= kMinY && my <= kMaxY))
            continue;
        // The point moves at most max(a, b) pixels per radian.
        const int pasos = static_cast<int>(std::min(std::ceil((t1 - t0) * std::max(a, b)), double(kPasosMaximos)));
        const auto [x0, y0] = punto(t0);
        int x = pixel(x0);
        int y = pixel(y0);
        poner(x, y, color);
        for (int k = 1; k <= pasos; ++k) {
            const auto [px, py] = punto(k == pasos ? t1 : t0 + (t1 - t0) * k / pasos);
            const int nx = pixel(px);
            const int ny = pixel(py);
            if (nx != x || ny != y)
                trazar(x, y, nx, ny, color);
            x = nx;
            y = ny;
        }
    }
}

void LienzoImagen::Linea(double x1, double y1, double x2, double y2, std::optional<Color> color)
{
    // Rounded first, so that the ends are the pixels of the given points and
    // the cut runs along the line between them.
    double ax = std::floor(dispositivoX(x1) + 0.5);
    double ay = std::floor(dispositivoY(y1) + 0.5);
    double bx = std::floor(dispositivoX(x2) + 0.5);
    double by = std::floor(dispositivoY(y2) + 0.5);
    if (!finitos({ax, ay, bx, by}) || !recortar(ax, ay, bx, by))
        return;
    trazar(pixel(ax), pixel(ay), pixel(bx), pixel(by), rgb(color.value_or(kFrente)));
}

long LienzoImagen::ColorPixel(double x, double y) const
{
    const double px = std::floor(dispositivoX(x) + 0.5);
    const double py = std::floor(dispositivoY(y) + 0.5);
    if (!(px >= 0.0 && px < kAncho && py >= 0.0 && py < kAlto))
        return -1;
    const QRgb p = m_imagen.pixel(static_cast<int>(px), static_cast<int>(py));
    return qRed(p) + 256L * qGreen(p) + 65536L * qBlue(p);
}

void LienzoImagen::EstiloRelleno(Relleno estilo) { m_estilo = estilo; }

void LienzoImagen::ColorRelleno(Color color) { m_colorRelleno = color; }

// Scanline fill: each popped seed grows into the longest run of its row, the
// run is painted, and the rows above and below get one seed per stretch of
// fillable pixels under it. The visited mask, not the colours, tells what is
// done, since pixels of the fill colour must be crossed too.
void LienzoImagen::RellenarDesde(int x, int y, Color borde)
{
    if (m_estilo == Relleno::Transparente || x < 0 || x >= kAncho || y < 0 || y >= kAlto)
        return;
    const QRgb limite = rgb(borde);
    const QRgb relleno = rgb(m_colorRelleno);
    // bits() detaches the image once; then rows are reached by their stride.
    QRgb* const pixeles = reinterpret_cast<QRgb*>(m_imagen.bits());
    const std::size_t paso = std::size_t(m_imagen.bytesPerLine()) / sizeof(QRgb);
    if (pixeles[y * paso + x] == limite)
        return;

    std::vector<std::uint8_t> visto(std::size_t(kAncho) * kAlto, 0);
    const auto libre = [&](int px, int py) {
        return !visto[std::size_t(py) * kAncho + px] && pixeles[py * paso + px] != limite;
    };
    std::vector<std::pair<int, int>> pendientes;
    pendientes.reserve(4 * kAlto);
    pendientes.emplace_back(x, y);
    while (!pendientes.empty()) {
        const auto [sx, sy] = pendientes.back();
        pendientes.pop_back();
        if (!libre(sx, sy))
            continue;
        int izquierda = sx;
        int derecha = sx;
        while (izquierda > 0 && libre(izquierda - 1, sy))
            --izquierda;
        while (derecha + 1 < kAncho && libre(derecha + 1, sy))
            ++derecha;
        for (int i = izquierda; i <= derecha; ++i) {
            pixeles[sy * paso + i] = relleno;
            visto[std::size_t(sy) * kAncho + i] = 1;
        }
        for (const int vecina : {sy - 1, sy + 1}) {
            if (vecina < 0 || vecina >= kAlto)
                continue;
            bool enTramo = false;
            for (int i = izquierda; i <= derecha; ++i) {
                const bool ahora = libre(i, vecina);
                if (ahora && !enTramo)
                    pendientes.emplace_back(i, vecina);
                enTramo = ahora;
            }
        }
    }
}

void LienzoImagen::Imprimir(std::string_view texto)
{
    QFont fuente(QStringLiteral("Sans Serif"), 8);
    fuente.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    const QFontMetrics medidas(fuente, &m_imagen);
    const QString linea = QString::fromUtf8(texto.data(), qsizetype(texto.size()));
    const QRect lugar(m_margen, m_renglon, kAncho - m_margen, kAlto - m_renglon);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const QRect ocupado = medidas.boundingRect(lugar, flags, linea);
    {
        QPainter pintor(&m_imagen);
        pintor.setRenderHint(QPainter::Antialiasing, false);
        pintor.setRenderHint(QPainter::TextAntialiasing, false);
        pintor.setFont(fuente);
        pintor.setPen(QColor(rgb(kTexto)));
        pintor.drawText(lugar, flags, linea);
    }
    // Below the surface nothing more shows; the position stops there.
    m_renglon = std::min(m_renglon + std::max(ocupado.height(), medidas.height()), kAlto);
}

QByteArray LienzoImagen::Png() const
{
    QByteArray bytes;
    QBuffer salida(&bytes);
    salida.open(QIODevice::WriteOnly);
    m_imagen.save(&salida, "PNG");
    return bytes;
}

bool LienzoImagen::GuardarPng(const std::filesystem::path& archivo, std::string& error) const
{
    const QByteArray bytes = Png();
    if (bytes.isEmpty()) {
        error = "no se pudo formar la imagen PNG";
        return false;
    }
    return ReemplazarArchivo(archivo, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), error);
}
