// The drawing surface, pixel by pixel. Under the usual frame of 300 × 200
// units a unit is 1.84 px across and 1.625 px down, so the point (150, 80) is
// pixel (276, 130) and a radius of 50 units is 92 px.

#include "lienzo_imagen.h"

#include <QtTest>

#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr Color kOro{255, 250, 55};
constexpr Color kLila{128, 128, 255};
constexpr Color kGris{64, 64, 64}; // lines without a colour

QRgb rgb(Color c) { return qRgb(c.r, c.g, c.b); }

// Where the pixels of one colour are, and how many.
struct Huella {
    QRect caja;
    int pixeles = 0;
};

Huella huella(const QImage& imagen, Color color)
{
    Huella h;
    for (int y = 0; y < imagen.height(); ++y)
        for (int x = 0; x < imagen.width(); ++x)
            if (imagen.pixel(x, y) == rgb(color)) {
                h.caja |= QRect(x, y, 1, 1);
                ++h.pixeles;
            }
    return h;
}

enum Figura { Ninguna, Cerrada, ConHueco, Partida };
using Numeros = QList<double>;
using Puntos = QList<QPoint>;

} // namespace

class TestLienzo : public QObject {
    Q_OBJECT

private slots:
    // What an arc paints: its exact end pixels, and the bounding box that
    // shows the aspect rule, the side an arc through angle 0 takes and the cut
    // at the edges of the surface.
    void arco_data()
    {
        QTest::addColumn<Numeros>("arco"); // cx, radio, inicio, fin, aspecto; cy = 80
        QTest::addColumn<QRect>("caja");
        QTest::addColumn<Puntos>("extremos");
        const double v = 2 * kPi;
        QTest::newRow("mitad superior, aspecto 0.5")
            << Numeros{150, 50, 0, kPi, 0.5} << QRect(184, 84, 185, 47) << Puntos{{368, 130}, {184, 130}};
        QTest::newRow("cuarto inferior izquierdo, aspecto 2")
            << Numeros{150, 50, kPi, 3 * kPi / 2, 2} << QRect(230, 130, 47, 93) << Puntos{{230, 130}, {276, 222}};
        QTest::newRow("cruza el cero: mitad derecha")
            << Numeros{150, 50, 3 * kPi / 2, kPi / 2, 1} << QRect(276, 38, 93, 185) << Puntos{{276, 222}, {276, 38}};
        QTest::newRow("cortada por el borde izquierdo") << Numeros{0, 50, 0, v, 1} << QRect(0, 38, 93, 185) << Puntos{};
        QTest::newRow("fuera del todo") << Numeros{-200, 50, 0, v, 1} << QRect() << Puntos{};
        // Vertex at pixel 276; the lower end 0.92 px to its right and 184 px down.
        QTest::newRow("cara casi plana") << Numeros{10150, 10000, kPi - 0.01, kPi + 0.01, 1} << QRect(276, 0, 2, 315)
                                         << Puntos{{277, 314}};
        QTest::newRow("radio de un billon")
            << Numeros{150 + 1e12, 1e12, kPi - 1e-9, kPi + 1e-9, 1} << QRect(276, 0, 1, 325) << Puntos{};
        QTest::newRow("radio no numero") << Numeros{150, qQNaN(), 0, v, 1} << QRect() << Puntos{};
    }
    void arco()
    {
        QFETCH(Numeros, arco);
        QFETCH(QRect, caja);
        QFETCH(Puntos, extremos);
        LienzoImagen lienzo;
        lienzo.Arco(arco[0], 80, arco[1], kOro, arco[2], arco[3], arco[4]);
        QCOMPARE(huella(lienzo.imagen(), kOro).caja, caja);
        for (const QPoint& p : extremos)
            QCOMPARE(lienzo.imagen().pixel(p), rgb(kOro));
        // The ends the surface reports are the ends it drew, where they show.
        for (const double angulo : {arco[2], arco[3]}) {
            const auto [x, y] = lienzo.PuntoDeArco(arco[0], 80, arco[1], angulo, arco[4]);
            const long color = lienzo.ColorPixel(x, y);
            QVERIFY(extremos.isEmpty() || color == -1 || color == long(kOro.valor()));
        }
    }

    // Lines without a colour, in the foreground colour, cut to the surface.
    void linea_data()
    {
        QTest::addColumn<QLineF>("linea");
        QTest::addColumn<QRect>("caja");
        QTest::addColumn<int>("pixeles");
        QTest::newRow("ambos extremos incluidos") << QLineF(0, 80, 150, 80) << QRect(0, 130, 277, 1) << 277;
        QTest::newRow("de lado a lado desde 1e300") << QLineF(-1e300, 80, 1e300, 80) << QRect(0, 130, 552, 1) << 552;
        // Ends on pixel (552, 325), just off the corner: one pixel per column.
        QTest::newRow("diagonal del marco") << QLineF(0, 0, 300, 200) << QRect(0, 0, 552, 325) << 552;
        QTest::newRow("barra debajo del marco") << QLineF(90, 216, 190, 216) << QRect() << 0;
    }
    void linea()
    {
        QFETCH(QLineF, linea);
        QFETCH(QRect, caja);
        QFETCH(int, pixeles);
        LienzoImagen lienzo;
        lienzo.Linea(linea.x1(), linea.y1(), linea.x2(), linea.y2());
        const Huella h = huella(lienzo.imagen(), kGris);
        QCOMPARE(h.caja, caja);
        QCOMPARE(h.pixeles, pixeles);
    }

    // Device pixels throughout, one unit to the pixel. The outline is the
    // rectangle (100, 100)–(200, 150) in gold, 99 × 49 pixels inside.
    void rellenar_data()
    {
        QTest::addColumn<int>("figura");
        QTest::addColumn<QPoint>("semilla");
        QTest::addColumn<int>("borde");
        QTest::addColumn<int>("pintados");
        const int oro = kOro.valor();
        const int todos = 552 * 325;
        QTest::newRow("contorno cerrado") << int(Cerrada) << QPoint(150, 125) << oro << 99 * 49;
        QTest::newRow("fuga por un hueco") << int(ConHueco) << QPoint(150, 125) << oro << todos - 299;
        QTest::newRow("borde distinto en una unidad") << int(Cerrada) << QPoint(150, 125) << oro - 1 << todos;
        QTest::newRow("cruza el color de relleno") << int(Partida) << QPoint(120, 125) << oro << 99 * 49;
        QTest::newRow("semilla en el borde") << int(Cerrada) << QPoint(100, 100) << oro << 0;
        QTest::newRow("semilla fuera") << int(Ninguna) << QPoint(552, 10) << oro << 0;
    }
    void rellenar()
    {
        QFETCH(int, figura);
        QFETCH(QPoint, semilla);
        QFETCH(int, borde);
        QFETCH(int, pintados);
        LienzoImagen lienzo;
        lienzo.Marco(0, 0, 552, 325);
        // The right side's middle pixel is the gap.
        if (figura != Ninguna)
            for (const QLine& l : {QLine(100, 100, 200, 100), QLine(100, 150, 200, 150), QLine(100, 100, 100, 150),
                                   QLine(200, 100, 200, 124), QLine(200, 126, 200, 150), QLine(200, 125, 200, 125)})
                if (figura != ConHueco || l.y1() != 125)
                    lienzo.Linea(l.x1(), l.y1(), l.x2(), l.y2(), kOro);
        if (figura == Partida)
            lienzo.Linea(150, 101, 150, 149, kLila);
        lienzo.EstiloRelleno(Lienzo::Relleno::Solido);
        lienzo.ColorRelleno(kLila);
        lienzo.RellenarDesde(semilla.x(), semilla.y(), Color::DeValor(borde));
        QCOMPARE(huella(lienzo.imagen(), kLila).pixeles, pintados);
    }
};

QTEST_MAIN(TestLienzo)
#include "test_lienzo.moc"
