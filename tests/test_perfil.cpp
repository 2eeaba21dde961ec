// The saved design and the varied design drawn: the boxes they fill, the
// geometry they hand the surface, the pixels of the real surface, the
// calibration file and the way back to the design window when a lens cannot
// be drawn. Weights were worked out by integrating the lens thickness over
// its disc, then corrected for the laboratory's coefficients (1.5708,
// 0.52370472 and 3.1416 for π/2, π/6 and π: +0.03 g in 8 kg); angles and
// radii by hand from the face powers.

#include "apoyo/dialogos_prueba.h"
#include "apoyo/lienzo_grabador.h"
#include "apoyo/pantalla_prueba.h"
#include "lienzo_imagen.h"
#include "perfil.h"
#include "registro_diseno.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <fstream>

namespace {

constexpr Color kAmarillo{255, 250, 55};
constexpr Color kFondo{0, 0, 64};

// The worked example: +4 D, base 6, 60 mm, 1 mm edge, index 1.5, 1.32 g/cm³.
RegistroDiseno ejemplo(double p2 = -1.840, double diametro = 60, double densidad = 1.32, double indice = 1.5)
{
    return {5.736, p2, indice, diametro, 1, 4.664, 4, densidad, "CR39"};
}

bool esquinasDeFondo(const QImage& imagen)
{
    const QRgb fondo = qRgb(kFondo.r, kFondo.g, kFondo.b);
    const int x = imagen.width() - 1, y = imagen.height() - 1;
    return imagen.pixel(0, 0) == fondo && imagen.pixel(x, 0) == fondo && imagen.pixel(0, y) == fondo &&
           imagen.pixel(x, y) == fondo;
}

bool cerca(double a, double b, double tolerancia = 1e-3) { return std::fabs(a - b) <= tolerancia; }

// A back face drawn, saved or varied, and what the drawing makes of it.
struct Cara {
    bool variado;
    double p1, p2;
    long sondeo; // what the surface reads beside the front vertex
    double radio; // the back arc's, drawing units
    bool menisco;
    int rectas; // straight edges: 1 the front one, 2 the back one, 3 both
};

struct Banco {
    QTemporaryDir dir;
    CarpetaDatos carpeta{dir.path().toStdString()};
    EstadoDiseno e;
    PantallaPrueba graficos;
    PantallaPrueba diseno;
    DialogosPrueba dlg;
    LienzoImagen imagen;
    LienzoGrabador grabador;
    Perfil real{e, imagen, graficos, diseno, dlg, carpeta};
    Perfil fake{e, grabador, graficos, diseno, dlg, carpeta};

    void guardar(const std::vector<RegistroDiseno>& registros, size_t largo = SIZE_MAX)
    {
        std::string bytes;
        for (const RegistroDiseno& r : registros) {
            const auto b = r.Codificar();
            bytes.append(reinterpret_cast<const char*>(b->data()), b->size());
        }
        bytes.resize(std::min(largo, bytes.size()), '\0');
        std::ofstream(carpeta.Archivo(CarpetaDatos::kDatos), std::ios::binary) << bytes;
    }
    void monitor(const std::string& texto) { std::ofstream(carpeta.Archivo(CarpetaDatos::kMonitor)) << texto; }
    bool dibujar(Perfil& p) { return p.DibujarPerfil(e.EscalaHorizontal, e.EscalaVertical, e.AspectoPantalla); }
    bool redibujar(double p1, double p2, double t, double d, Perfil* p = nullptr, double n = 1.5)
    {
        return (p ? *p : fake)
            .RedibujarPerfil(e.PoderExterno = p1, e.PoderInterno = p2, e.IndiceMaterial = n, e.EspesorCentral = t,
                             e.PoderVertice, e.DiametroModificado = d, e.Densidad = 1.32, e.EscalaHorizontal,
                             e.EscalaVertical, e.AspectoPantalla);
    }
};

} // namespace

Q_DECLARE_METATYPE(Cara)

class TestPerfil : public QObject {
    Q_OBJECT

private slots:
    // One record: the eleven boxes in their order, the yellow outline, the
    // body filled from (278, 162) and the background left around the lens.
    void unRegistro()
    {
        Banco b;
        b.guardar({ejemplo(-1.840, 60, 1.32, 1.498)});
        b.graficos.PonerVisible("Label10", false); // as a varied design leaves it
        QVERIFY(b.dibujar(b.real));
        QCOMPARE(b.graficos.escrituras,
                 (std::vector<std::string>{
                     "Tx_CurvaBase_Peso: 10.64", "Tx_CurvaBase_Material: CR39       ", "Tx_CurvaBase_Diametro: 60",
                     "Tx_CurvaBase_EspesorCentral: 4.66", "Tx_Indice_Material: CR39       ", "Tx_Indice_Diametro: 60",
                     "Tx_Indice_Peso: 10.64", "Tx_Indice_EspesorCentral: 4.66", "Tx_Diametro_Peso: 10.64",
                     "Tx_Diametro_EspesorCentral: 4.66", "Tx_ModificoDiametro: 60"}));
        QCOMPARE(b.e.IndiceMaterial.valor(), 1.498); // the figure saved, not its single
        QVERIFY(b.graficos.ventanaVisible && b.graficos.Visible("Text2") && b.graficos.Visible("Label10"));
        QCOMPARE(b.imagen.imagen().pixel(278, 162), qRgb(128, 128, 255));
        QCOMPARE(b.imagen.ColorPixel(150, 100), long(kAmarillo.valor())); // the front vertex
        QVERIFY(b.dlg.cajas.empty());
    }

    // What is drawn by the number of records N = length / 43 as a real
    // number: 50 bytes draw the first and stop, three records draw two;
    // without a record the surface says so and the boxes stay.
    void cantidadDeRegistros()
    {
        for (const int largo : {50, 3 * 43, -1}) { // -1: no file at all
            Banco b;
            if (largo >= 0)
                b.guardar({ejemplo(), ejemplo(), ejemplo()}, size_t(largo));
            b.graficos.PonerTexto("Tx_CurvaBase_Peso", "antes");
            QCOMPARE(b.dibujar(b.fake), largo > 0);
            QCOMPARE(b.grabador.arcos.size(), largo > 50 ? 8u : largo > 0 ? 4u : 0u);
            QVERIFY(b.dlg.cajas.empty());
            QCOMPARE(b.graficos.Texto("Tx_CurvaBase_Peso") == "antes", largo < 0);
            QCOMPARE(b.grabador.impresos.size(), largo < 0 ? 1u : 0u);
        }
    }

    // The back face of the saved design (4.664 mm) and of the varied one
    // (6 mm): a meniscus on the left of its circle, a convex back on the
    // right through angle 0, each with its own floor for a weak back. The
    // varied design draws straight edges where a face shows no curve: the
    // front one only by the probe and a weak front, the back one by a back
    // radius beyond 1800 units.
    void caraPosterior_data()
    {
        QTest::addColumn<Cara>("c");
        const long fondo = kFondo.valor();
        QTest::newRow("menisco -2") << Cara{false, 5.736, -2, 0, 375, true, 0};
        QTest::newRow("convexo +2") << Cara{false, 5.736, 2, 0, 375, false, 0};
        QTest::newRow("-0.05 pasa a +0.1") << Cara{false, 5.736, -0.05, 0, 7500, false, 0};
        QTest::newRow("variado: dorso plano, +0.1 D") << Cara{true, 5.736, 0, 0, 7500, false, 2};
        QTest::newRow("variado: dorso -0.05, menisco") << Cara{true, 5.736, -0.05, 0, 15000, true, 2};
        QTest::newRow("variado: dorso -2, curvo") << Cara{true, 5.736, -2, fondo, 375, true, 0};
        QTest::newRow("variado: frente 0.5 sin curva") << Cara{true, 0.5, -2, fondo, 375, true, 1};
        QTest::newRow("variado: frente 0.6 sin curva") << Cara{true, 0.6, -2, fondo, 375, true, 0};
        QTest::newRow("variado: frente 0.5 con curva") << Cara{true, 0.5, -2, 0, 375, true, 0};
    }
    void caraPosterior()
    {
        QFETCH(Cara, c);
        Banco b;
        b.grabador.pixel = c.sondeo;
        const double t = c.variado ? 6 : 4.664;
        b.guardar({ejemplo(c.p2)});
        QVERIFY(c.variado ? b.redibujar(c.p1, c.p2, t, 60) : b.dibujar(b.fake));
        const auto& atras = b.grabador.arcos[2];
        QVERIFY(cerca(atras.radio, c.radio, 0.01));
        // The back vertex stands the centre thickness right of the front one.
        const double centro = 150 + t * 1.5 + (c.menisco ? c.radio : -c.radio);
        QVERIFY(cerca(atras.cx, centro, 0.01));
        QVERIFY(cerca(b.grabador.arcos[3].cx, centro - 0.5, 0.01));
        const double a2 = std::asin(30.0 / (c.radio / 1.5)); // semi-diameter over the back radius
        const double pi = std::acos(-1.0);
        QVERIFY(cerca(atras.inicio, c.menisco ? pi - a2 : 2 * pi - a2, 1e-9));
        QVERIFY(cerca(atras.fin, c.menisco ? pi + a2 : a2, 1e-9));
        int rectas = 0;
        for (const auto& l : b.grabador.lineas) {
            if (l.x1 == l.x2 && l.y2 == 100 - 30 * 1.62 - 1)
                rectas += 1;
            if (l.x1 == l.x2 && l.y2 == 100 - 30 * 1.62)
                rectas += 2;
        }
        QCOMPARE(rectas, c.rectas);
    }

    // The weight follows the drawn edge converted back to millimetres: with
    // thousands separated by a comma, and a convex back's edge t - s1 - s2.
    void peso()
    {
        for (const auto& [p2, densidad, peso] : {std::tuple{-1.840, 1000.0, "8,084.02"}, {2.0, 1.2, "3.82"}}) {
            Banco b;
            b.guardar({ejemplo(p2, 60, densidad)});
            QVERIFY(b.dibujar(b.fake));
            QCOMPARE(b.graficos.Texto("Tx_CurvaBase_Peso"), std::string(peso));
        }
    }

    // MONITOR.DAT: three numbers by commas or lines, then only line breaks;
    // absent, the usual scales; short, long, with text or an exponent, the
    // drawing cannot be made.
    void calibracion_data()
    {
        QTest::addColumn<QString>("texto"); // "-": no file
        QTest::addColumn<QList<double>>("leido"); // aspect, horizontal, vertical; none: refused
        QTest::newRow("líneas CR LF") << "0.9\r\n2\r\n2.1\r\n" << QList<double>{0.9, 2, 2.1};
        QTest::newRow("blancos alrededor") << "1, 2 ,3 \n\n" << QList<double>{1, 2, 3};
        QTest::newRow("texto después del tercero") << "1, 2 ,3\nfin del archivo" << QList<double>{};
        QTest::newRow("cuatro números") << "1,1.5,1.62,2" << QList<double>{};
        QTest::newRow("exponente") << "1,1e2,1.62" << QList<double>{};
        QTest::newRow("sin archivo") << "-" << QList<double>{1, 1.5, 1.62};
        QTest::newRow("corto") << "1,1.5" << QList<double>{};
        QTest::newRow("con texto") << "1,uno,2" << QList<double>{};
    }
    void calibracion()
    {
        QFETCH(QString, texto);
        QFETCH(QList<double>, leido);
        Banco b;
        b.guardar({ejemplo()});
        if (texto != "-")
            b.monitor(texto.toStdString());
        QCOMPARE(b.dibujar(b.fake), !leido.isEmpty());
        QCOMPARE(b.dlg.cajas.size(), leido.isEmpty() ? 1u : 0u);
        if (!leido.isEmpty()) {
            QCOMPARE(
                (QList<double>{b.e.AspectoPantalla.valor(), b.e.EscalaHorizontal.valor(), b.e.EscalaVertical.valor()}),
                leido);
            QCOMPARE(b.grabador.arcos[0].aspecto, leido[0]);
        }
    }

    // Whatever the diameter, index and calibration, the outline is closed:
    // the fill stays inside the lens and the window's corners keep the
    // background, for the saved design and the varied one alike.
    void contornoCerrado()
    {
        for (const char* calibracion : {"1,1.5,1.62", "0.9,1.4,1.7", "1,1.2,1.9"}) {
            for (double d = 40; d <= 80; d += 5) {
                for (double n = 1.5; n <= 1.91; n += 0.1) {
                    Banco b;
                    b.monitor(calibracion);
                    const double p1 = 6 * (n - 1) / 0.523, p2 = -2 * (n - 1) / 0.523;
                    b.guardar({{p1, p2, n, d, 1, 12, 4, 1.32, "X"}});
                    QVERIFY(b.dibujar(b.real));
                    const bool guardado = esquinasDeFondo(b.imagen.imagen());
                    QVERIFY(b.redibujar(p1, p2, 12, d, &b.real, n));
                    QVERIFY2(guardado && esquinasDeFondo(b.imagen.imagen()),
                             qPrintable(QString("%1 mm, %2, %3").arg(d).arg(n).arg(calibracion)));
                }
            }
        }
    }

    // A diameter the front sphere cannot span sends the user back to the
    // base curve, three times alike; the saved design's drawing hides the
    // graphics window, the varied design's leaves it open.
    void recuperacion()
    {
        for (const bool variado : {false, true}) {
            Banco b;
            b.guardar({ejemplo(-1.840, 200)});
            b.graficos.MostrarVentana();
            for (int vez = 0; vez < 3; ++vez) {
                b.diseno.foco.clear();
                QVERIFY(!(variado ? b.redibujar(5, -2, 5, 200) : b.dibujar(b.real)));
                QCOMPARE(b.graficos.ventanaVisible, variado);
                QVERIFY(b.diseno.ventanaVisible);
                QCOMPARE(b.diseno.foco, std::string("Tx_BaseCrown"));
            }
            QCOMPARE(b.dlg.titulos(), std::vector<std::string>(3, "Datos incompatibles con el proceso gráfico"));
        }
    }

    // The varied design: one colour, always filled from (279, 162), eight
    // boxes, the radius of the back in Text1 (drawing units) and beside it in
    // millimetres (0.5 / 1.840 D), and its own power floors.
    void redibujo()
    {
        Banco b;
        QVERIFY(b.redibujar(5.736, -1.840, 4.664, 65));
        QCOMPARE(b.graficos.escrituras,
                 (std::vector<std::string>{"Text1: 407.608695652174", "Text_RadioPosterior: 271.74 mm",
                                           "Tx_CurvaBase_Peso: 11.10", "Tx_CurvaBase_EspesorCentral: 4.66",
                                           "Tx_CurvaBase_Diametro: 65", "Tx_Diametro_Peso: 11.10",
                                           "Tx_Diametro_EspesorCentral: 4.66", "Tx_Indice_Peso: 11.10",
                                           "Tx_Indice_EspesorCentral: 4.66", "Tx_Indice_Diametro: 65"}));
        QCOMPARE(b.grabador.rellenos.size(), 1u);
        QVERIFY(cerca(b.e.CotaDinamica, 150 + 0.5 / 5.736 * 1000 * 1.5));
        QVERIFY(!b.graficos.Visible("Text2") && b.graficos.Visible("Text_EspDinamico"));
    }

    // A blank deeper than 20 mm (edge plus front sagitta) needs a special
    // block: 70 mm, a 15 mm front sagitta (R1 = 48.33 mm) over a flat back,
    // which drawn at +0.1 D takes 0.1225 mm off the edge: 21 and 19.99 mm.
    void avisoDeBlock()
    {
        for (const double espesor : {21.1225, 20.1125}) {
            Banco b;
            b.graficos.PonerTexto("SalidaTxt", "aviso anterior");
            QVERIFY(b.redibujar(0.5 / 48.3333333333 * 1000, 0, espesor, 70));
            const bool aviso = espesor > 21;
            QCOMPARE(b.graficos.Texto("SalidaTxt") != "aviso anterior", aviso);
            QCOMPARE(b.graficos.colores.count("SalidaTxt"), aviso ? 1u : 0u);
        }
    }
};

QTEST_MAIN(TestPerfil)
#include "test_perfil.moc"
