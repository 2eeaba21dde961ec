// The job window's thickness map read back by its pixels. The lenses are
// plano on both faces, 60 mm round, index 1.5, 2Δ base in, edge 1 mm: the
// plano back tilted by tan α = sin δ / (1.5 − cos δ) = 0.039976 (δ the 2Δ
// deviation) gains that much per mm toward the base, so the lens is 1.00 mm
// at the edge away from the base, 1 + 30 · 0.039976 = 2.20 mm at the optical
// centre and 3.40 mm at the edge on the base. Base in is 0° for the right
// eye and 180° for the left.

#include "apoyo/mapa_prueba.h"
#include "mapa_espesor.h"
#include "vista_espesor.h"

#include <QSignalSpy>
#include <QtTest>

using namespace mapa_prueba;

namespace {

const std::string kPrisma = "JOB=M1\r\nDO=B\r\nSPH=0;0\r\nPRVM=2;2\r\nPRVA=0;180\r\nLIND=1.5;1.5\r\nFRNT=0;0\r\n"
                            "FED=60;60\r\nMINEDG=1;1\r\n";
// Minus lenses with prism, thinnest inside toward the apex: right base out,
// left base up; basic impact holds that point at 3.0 mm.
const std::string kInterior = "JOB=M2\r\nDO=B\r\nSPH=-3;-3\r\nCYL=-0.75;-0.75\r\nAX=30;150\r\nPRVM=4;4\r\n"
                              "PRVA=180;90\r\nLIND=1.498;1.498\r\nHBOX=46;46\r\nVBOX=32;32\r\nDBL=18\r\nIPD=31;31\r\n"
                              "OCHT=19;19\r\nETYP=1\r\n_SEGURIDAD=1;1\r\nMINCTR=2;2\r\n";

// The job with the record of that label replaced.
std::string cambiar(std::string texto, const std::string& linea)
{
    const std::size_t donde = texto.find(linea.substr(0, linea.find('=') + 1));
    return texto.replace(donde, texto.find('\r', donde) - donde, linea);
}

QColor en(const QImage& imagen, QPointF p) { return imagen.pixelColor(p.toPoint()); }

// Viridis runs from a dark violet to a bright yellow.
bool calido(const QColor& c) { return c.red() > 200 && c.green() > 200 && c.blue() < 100; }
bool frio(const QColor& c) { return c.red() < 100 && c.green() < 60 && c.blue() > 60; }

} // namespace

Q_DECLARE_METATYPE(dcs::Lado)

class TestMapaEspesor : public QObject {
    Q_OBJECT

private slots:
    // Each edge mark sits on the hand-known point with its figure beside it,
    // the map warm just inside the thick edge and cool inside the thin one.
    // As the glasses are seen from the front: the right lens on the left, x
    // to the right and y up in each.
    void bordesDelgadoYGrueso()
    {
        MapaEspesor mapa;
        mapa.Poner(responder(kPrisma));
        const QImage imagen = dibujar(mapa);
        const auto rotulos = mapa.Rotulos(kArea);
        // The base at 0° on the right eye, at 180° on the left.
        for (const auto& [lado, xGrueso] : {std::pair{dcs::Lado::Derecho, 30.0}, {dcs::Lado::Izquierdo, -30.0}}) {
            const QPointF centro = *mapa.PixelDe(lado, {0, 0}, kArea);
            QCOMPARE(centro.x() < kArea.center().x(), lado == dcs::Lado::Derecho);
            QVERIFY(mapa.PixelDe(lado, {10, 0}, kArea)->x() > centro.x() + 10 &&
                    mapa.PixelDe(lado, {0, 10}, kArea)->y() < centro.y() - 10);
            const struct {
                double x;
                QString cifra;
                bool (*color)(const QColor&);
            } bordes[] = {{xGrueso, "3.40 mm", calido}, {-xGrueso, "1.00 mm", frio}};
            for (const auto& b : bordes) {
                const QPointF marca = *mapa.PixelDe(lado, {b.x, 0}, kArea);
                QCOMPARE(en(imagen, marca), QColor(Qt::white));
                const QColor dentro = en(imagen, *mapa.PixelDe(lado, {b.x * 0.9, -3}, kArea));
                QVERIFY2(b.color(dentro), qPrintable(dentro.name()));
                const bool rotulada = std::any_of(rotulos.begin(), rotulos.end(), [&](const auto& r) {
                    const QPointF d = r.caja.center() - marca;
                    return r.texto == b.cifra && std::hypot(d.x(), d.y()) < 60;
                });
                QVERIFY2(rotulada, qPrintable(b.cifra));
            }
        }
    }

    // The thinnest point inside each lens is marked as the edges are, with
    // its figure beside it, and the scale starts there.
    void puntoMasDelgadoMarcado()
    {
        MapaEspesor mapa;
        const trabajos::Contestacion c = responder(kInterior);
        mapa.Poner(c);
        const QImage imagen = dibujar(mapa);
        const auto rotulos = mapa.Rotulos(kArea);
        for (const dcs::Lado lado : {dcs::Lado::Derecho, dcs::Lado::Izquierdo}) {
            const auto& interior = c.ojos[static_cast<int>(lado)].resultado->puntoMasDelgado;
            QVERIFY(interior);
            const QPointF marca = *mapa.PixelDe(lado, interior->p, kArea);
            QCOMPARE(en(imagen, marca), QColor(Qt::white));
            QVERIFY(std::any_of(rotulos.begin(), rotulos.end(), [&](const auto& r) {
                const QPointF d = r.caja.center() - marca;
                return r.texto == "3.00 mm" && r.sobreMapa && std::hypot(d.x(), d.y()) < 60;
            }));
        }
        QVERIFY(std::any_of(rotulos.begin(), rotulos.end(),
                            [](const auto& r) { return r.texto == "3.00 mm" && !r.sobreMapa; }));
    }

    void lecturaBajoElRaton_data()
    {
        QTest::addColumn<dcs::Lado>("lado");
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("lectura");
        QTest::newRow("centro óptico") << dcs::Lado::Derecho << 0.0 << "Espesor en el cursor (derecho): 2.20 mm";
        QTest::newRow("hacia la base") << dcs::Lado::Derecho << 10.0 << "Espesor en el cursor (derecho): 2.60 mm";
        QTest::newRow("izquierdo, lejos de la base")
            << dcs::Lado::Izquierdo << 10.0 << "Espesor en el cursor (izquierdo): 1.80 mm";
        QTest::newRow("fuera de la lente") << dcs::Lado::Derecho << 40.0 << "";
    }

    void lecturaBajoElRaton()
    {
        QFETCH(dcs::Lado, lado);
        QFETCH(double, x);
        QFETCH(QString, lectura);
        VistaEspesor vista;
        vista.resize(kArea.size().toSize());
        vista.show();
        QVERIFY(QTest::qWaitForWindowExposed(&vista));
        vista.Mostrar(responder(kPrisma));
        // From the centre of the other lens, so that every row is a change.
        const auto otro = lado == dcs::Lado::Derecho ? dcs::Lado::Izquierdo : dcs::Lado::Derecho;
        QTest::mouseMove(&vista, vista.Mapa().PixelDe(otro, {0, 0}, vista.rect())->toPoint());
        QSignalSpy cambios(&vista, &VistaEspesor::LecturaCambiada);
        QTest::mouseMove(&vista, vista.Mapa().PixelDe(lado, {x, 0}, vista.rect())->toPoint());
        QCOMPARE(vista.Lectura(), lectura);
        QCOMPARE(cambios.count(), 1);
    }

    // An eye the job cannot make leaves its place without a lens, with why.
    void ojoFallidoSinLente()
    {
        // The same map as the job changes, as the window keeps it.
        MapaEspesor mapa;
        mapa.Poner(responder(kPrisma));
        const QPointF centro = *mapa.PixelDe(dcs::Lado::Izquierdo, {0, 0}, kArea);
        const QRect lugar = QRectF(*mapa.PixelDe(dcs::Lado::Izquierdo, {-30, 30}, kArea),
                                   *mapa.PixelDe(dcs::Lado::Izquierdo, {30, -30}, kArea))
                                .toRect();
        mapa.Poner(responder(cambiar(kPrisma, "SPH=0;?")));
        QVERIFY(!mapa.PixelDe(dcs::Lado::Izquierdo, {0, 0}, kArea));
        QVERIFY(!mapa.EspesorEn(centro, kArea));

        const QImage imagen = dibujar(mapa);
        int color = 0;
        for (int y = lugar.top(); y <= lugar.bottom(); ++y)
            for (int x = lugar.left(); x <= lugar.right(); ++x)
                color += imagen.pixelColor(x, y).saturation() > 60;
        QCOMPARE(color, 0);
        const auto rotulos = mapa.Rotulos(kArea);
        QVERIFY(std::any_of(rotulos.begin(), rotulos.end(),
                            [](const auto& r) { return r.texto.endsWith("Falta la esfera"); }));
    }

    void secciones_data()
    {
        QTest::addColumn<QString>("trabajo");
        QTest::addColumn<bool>("derecho");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("cifras");
        const auto fila = [](const char* caso, const std::string& trabajo, bool derecho, const char* titulo,
                             const char* cifras) {
            QTest::newRow(caso) << QString::fromStdString(trabajo) << derecho << QString(titulo) << QString(cifras);
        };
        const std::string cilindro = kPrisma + "CYL=-1.00;-1.00\r\nAX=30;30\r\n";
        fila("derecho, horizontal: 180° a la izquierda", kPrisma, true, "0°", "1.00 mm|2.20 mm|3.40 mm");
        // Seen from the front; along its axis a cylinder adds nothing to the wedge.
        fila("derecho, vertical: arriba a la izquierda", cambiar(kPrisma, "PRVA=90;180"), true, "90°",
             "arriba 3.40 mm|2.20 mm|abajo 1.00 mm");
        fila("derecho, eje 150° con la base a 150°",
             cambiar(kPrisma, "PRVA=150;180") + "CYL=-1.00;-1.00\r\nAX=150;150\r\n", true, "Eje 150°",
             "3.40 mm|2.20 mm|1.00 mm");
        fila("izquierdo, horizontal", kPrisma, false, "0°", "3.40 mm|2.20 mm|1.00 mm");
        fila("eje del cilindro", cilindro, true, "Eje 30°", "");
        fila("a través del eje", cilindro, false, "120°", "");
        // Tilted 15°, −4.00 −0.25 × 45 is made on a back whose axis the
        // answer gives as GAX 69°, its thinnest edge (THNP 4.888 mm) there.
        const std::string inclinada =
            cambiar(cambiar(kPrisma, "SPH=-4;-4"), "PRVM=0;0") + "CYL=-0.25;-0.25\r\nAX=45;135\r\nPANTO=15;15\r\n";
        fila("eje del dorso compensado", inclinada, true, "Eje 69°", "4.89 mm|1.50 mm|4.89 mm");
        fila("a través del dorso compensado", inclinada, true, "159°", "");
    }

    // Each section's title and the figures under it, at its ends and under
    // the optical centre, as the line is read left to right.
    void secciones()
    {
        QFETCH(QString, trabajo);
        QFETCH(bool, derecho);
        QFETCH(QString, titulo);
        QFETCH(QString, cifras);
        MapaEspesor mapa;
        mapa.Poner(responder(trabajo.toStdString()));
        const auto rotulos = mapa.Rotulos(kArea);
        const auto lado = [&](const MapaEspesor::Rotulo& r) { return (r.caja.center().x() < 300) == derecho; };
        const auto t =
            std::find_if(rotulos.begin(), rotulos.end(), [&](const auto& r) { return r.texto == titulo && lado(r); });
        QVERIFY(t != rotulos.end());
        if (cifras.isEmpty())
            return;
        std::vector<MapaEspesor::Rotulo> debajo;
        for (const auto& r : rotulos)
            if (lado(r) && r.caja.top() >= t->caja.bottom() && r.caja.top() < t->caja.bottom() + 80)
                debajo.push_back(r);
        std::sort(debajo.begin(), debajo.end(), [](const auto& a, const auto& b) {
            return std::pair(a.caja.top(), a.caja.left()) < std::pair(b.caja.top(), b.caja.left());
        });
        QStringList leidas;
        for (const auto& r : debajo)
            if (r.caja.top() == debajo.front().caja.top())
                leidas << r.texto;
        QCOMPARE(leidas.join('|'), cifras);
    }

    void textosEnSuLugar_data()
    {
        QTest::addColumn<QString>("trabajo");
        QTest::newRow("ambos ojos") << QString::fromStdString(kPrisma);
        QTest::newRow("cilindro oblicuo") << QString::fromStdString(kPrisma + "CYL=-2.00;-1.25\r\nAX=30;165\r\n");
        QTest::newRow("cortes verticales") << QString::fromStdString(kPrisma + "CYL=-2.00;-1.25\r\nAX=90;180\r\n");
        QTest::newRow("centro óptico junto al borde")
            << QString::fromStdString(kPrisma + "HBOX=50;50\r\nVBOX=30;30\r\nDBL=18\r\nIPD=26;26\r\nOCHT=5;5\r\n");
        QTest::newRow("solo el derecho") << QString::fromStdString(cambiar(kPrisma, "DO=R"));
        QTest::newRow("izquierdo imposible") << QString::fromStdString(cambiar(kPrisma, "FRNT=0;30"));
    }

    // At the smallest size every text is whole, inside the picture and clear
    // of the others.
    void textosEnSuLugar()
    {
        QFETCH(QString, trabajo);
        MapaEspesor mapa;
        mapa.Poner(responder(trabajo.toStdString()));
        const auto rotulos = mapa.Rotulos(kArea);
        const auto fuera = textoFueraDeLugar(rotulos);
        QVERIFY2(!fuera, qPrintable(fuera.value_or(QString())));
    }
};

QTEST_MAIN(TestMapaEspesor)
#include "test_mapa_espesor.moc"
