// The job window's map of the errors as worn, read back by its pixels. A
// plano lens 24 mm round shows its edge, 12 mm from the optical centre on a
// flat back, where the line of sight from the centre of rotation, BVD +
// 13.5 mm behind the back vertex, meets it: atan(12 / 25.5) = 25.20° at a
// vertex distance of 12 mm, atan(12 / 33.5) = 19.71° at 20 mm.

#include "apoyo/mapa_prueba.h"
#include "mapa_errores.h"

#include <QtTest>

using namespace mapa_prueba;

namespace {

const std::string kPlano = "JOB=E1\r\nDO=B\r\nSPH=0;0\r\nLIND=1.5;1.5\r\nFRNT=0;0\r\nFED=24;24\r\nMINEDG=1;1\r\n";
// Minus lenses wrapped 10° and tilted 8°: the right and left mirror each other.
const std::string kEnvueltas = "JOB=E2\r\nDO=B\r\nSPH=-4;-4\r\nCYL=-1;-1\r\nAX=20;160\r\nLIND=1.6;1.6\r\n"
                               "MBASE=3;3\r\nHBOX=52;52\r\nVBOX=40;40\r\nMINEDG=1;1\r\nMINCTR=1.5;1.5\r\n"
                               "ZTILT=10\r\nPANTO=8\r\n";

// The darkest pixel within one of a point: the outline's ink is drawn 1.2 px wide.
int oscuro(const QImage& imagen, QPointF p)
{
    int menor = 255;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            menor = std::min(menor, qGray(imagen.pixel(p.toPoint() + QPoint(dx, dy))));
    return menor;
}

} // namespace

using Error = MapaErrores::Error;

class TestMapaErrores : public QObject {
    Q_OBJECT

private slots:
    void contornoDesdeElCentroDeGiro()
    {
        for (const auto& [bvd, borde] : {std::pair{12.0, 25.20}, {20.0, 19.71}}) { // the edge, in degrees
            MapaErrores mapa;
            mapa.Poner(responder(kPlano + "BVD=" + std::to_string(bvd) + "\r\n"));
            const QImage imagen = dibujar(mapa);
            for (const Error e : {Error::Medio, Error::Astigmatico})
                for (const dcs::Lado lado : {dcs::Lado::Derecho, dcs::Lado::Izquierdo})
                    for (const lente::Mirada m :
                         {lente::Mirada{borde, 0}, {-borde, 0}, {0, borde}, {borde * 0.7071, -borde * 0.7071}}) {
                        QVERIFY(oscuro(imagen, *mapa.PixelDe(lado, e, m, kArea)) < 60);
                        // Three degrees in, the lens is clear: no error, white.
                        const double dentro = (borde - 3) / borde;
                        QVERIFY(oscuro(imagen, *mapa.PixelDe(lado, e, {m.h * dentro, m.v * dentro}, kArea)) > 230);
                    }
        }
    }

    // Seen from the front the left eye's field is the right's mirror image,
    // on the same colour scale.
    void ojosEnEspejo()
    {
        MapaErrores mapa;
        mapa.Poner(responder(kEnvueltas));
        const QImage imagen = dibujar(mapa);
        for (const Error e : {Error::Medio, Error::Astigmatico})
            for (const lente::Mirada m : {lente::Mirada{-20, 14}, {12, 22}, {24, -8}, {-6, -24}}) {
                const QPointF d = *mapa.PixelDe(dcs::Lado::Derecho, e, m, kArea);
                const QPointF i = *mapa.PixelDe(dcs::Lado::Izquierdo, e, {-m.h, m.v}, kArea);
                const QColor a = imagen.pixelColor(d.toPoint()), b = imagen.pixelColor(i.toPoint());
                // Within a pixel's sampling of the grid.
                QVERIFY2(std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) <
                             8,
                         qPrintable(a.name() + " " + b.name()));
            }
        // Straight ahead the compensated lens gives the prescription: white
        // beside the centre's mark.
        const QPointF centro = *mapa.PixelDe(dcs::Lado::Derecho, Error::Medio, {1.5, 1.5}, kArea);
        QVERIFY(qGray(imagen.pixel(centro.toPoint())) > 235);
    }

    void textosEnSuLugar_data()
    {
        QTest::addColumn<QString>("trabajo");
        QTest::newRow("ambos ojos") << QString::fromStdString(kEnvueltas);
        QTest::newRow("errores grandes")
            << QString::fromStdString(kEnvueltas + "SPH=-12;+8\r\nFED=70;70\r\n").replace("ZTILT=10", "ZTILT=25");
        QTest::newRow("solo el derecho") << QString::fromStdString(kPlano).replace("DO=B", "DO=R");
        QTest::newRow("izquierdo imposible") << QString::fromStdString(kPlano).replace("FRNT=0;0", "FRNT=0;30");
    }
    // At the smallest size every text is whole, inside the picture and clear
    // of the others.
    void textosEnSuLugar()
    {
        QFETCH(QString, trabajo);
        MapaErrores mapa;
        mapa.Poner(responder(trabajo.toStdString()));
        const auto rotulos = mapa.Rotulos(kArea);
        QVERIFY(rotulos.size() >= 4);
        const auto fuera = textoFueraDeLugar(rotulos);
        QVERIFY2(!fuera, qPrintable(fuera.value_or(QString())));
    }
};

QTEST_MAIN(TestMapaErrores)
#include "test_mapa_errores.moc"
