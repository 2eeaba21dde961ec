// The whole-prescription lens: the worked checks, the weight against exact
// volumes, the laboratory's rules at their edges, frame traces, and what
// vantora-lente prints and ends with.

#include "apoyo/proceso.h"
#include "bordes.h"
#include "cara_interna.h"
#include "receta.h"
#include "reglas_espesor.h"
#include "trazo_dcs.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <numbers>

using namespace lente;

namespace {

// Exact volume of a spherical cap of radius r over a base of radius h.
double casquete(double r, double h)
{
    const double s = r - std::sqrt(r * r - h * h);
    return std::numbers::pi * s * s * (3.0 * r - s) / 3.0;
}

// A trace of eight radii, wider on the nasal side (0°) of the right eye, so
// that a mirror that is not one shows.
constexpr const char* kRadiosDerecho = "R=2600;2300;2000;2200;2400;2200;2000;2300";
// The same frame's left side: radius i of the left is radius 4 − i of the right.
constexpr const char* kRadiosIzquierdo = "R=2400;2200;2000;2300;2600;2300;2000;2200";

// A lens and what its solution must show: the centre thickness within
// `tolerancia`, the back faces Fa and Fb, and the thinnest and thickest edges
// with their angles (an empty list is not checked).
struct CasoResolver {
    Receta receta;
    double n, base, diametro, centroMin, t, tolerancia;
    QList<double> caras, bordes;
};

} // namespace

Q_DECLARE_METATYPE(CasoResolver)
Q_DECLARE_METATYPE(laboratorio::Exigencias)

class TestReceta : public QObject {
    Q_OBJECT

private slots:
    // The tilted back against what a tilt means without the class's
    // formulas: a tilted sphere is the sphere about a moved centre, a tilted
    // plane rises by tan α, and the tilt bends the chief ray by the prism by
    // Snell's law; the derivatives agree with central differences.
    void caraInterna()
    {
        const double alfa = CaraInterna::InclinacionDePrisma(5.0, 1.5);
        QVERIFY(std::fabs(1.5 * std::sin(alfa) - std::sin(alfa + std::atan(0.05))) < 1e-15);

        // A 60 mm radius sphere tilted 0.08 rad toward 200°: its centre moves
        // from (0, 0, 60) to 60·(−sin α·b, cos α).
        const double r = 60, a = 0.08, b = 200 * std::numbers::pi / 180;
        const CaraInterna esfera(1 / r, 1 / r, 35, a, 200);
        const double cx = -r * std::sin(a) * std::cos(b), cy = -r * std::sin(a) * std::sin(b), cz = r * std::cos(a);
        for (const Punto p : {Punto{0, 0}, Punto{20, -3}, Punto{-25, 14}}) {
            const double z = cz - std::sqrt(r * r - (p.x - cx) * (p.x - cx) - (p.y - cy) * (p.y - cy));
            QVERIFY2(std::fabs(esfera.ProfundidadEn(p) - z) < 1e-12, qPrintable(QString::number(p.x)));
        }
        // A ray from where an eye would be, back to the same sphere.
        const Vector3 o{3, 4, 27}, d = (1 / std::sqrt(1.0125)) * Vector3{-0.05, -0.1, -1};
        const double l = esfera.Cortar(o, d);
        const Vector3 q = o + l * d - Vector3{cx, cy, cz};
        QVERIFY(std::fabs(Escalar(q, q) - r * r) < 1e-9 && l > 0 && l < 30);
        QVERIFY(std::fabs(CaraInterna(0, 0, 0, a, 0).ProfundidadEn({30, 7}) - 30 * std::tan(a)) < 1e-12);

        // Untilted, the torus is the steeper circle (radius 50 mm across the
        // 30° axis) swept round the flatter one's centre (radius 80 mm).
        const CaraInterna llano(1.0 / 80, 1.0 / 50, 30, 0, 0);
        for (const Punto p : {Punto{10, 5}, Punto{-20, 17}}) {
            const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
            const double u = p.x * c + p.y * s, v = -p.x * s + p.y * c;
            const double zs = 50 - std::sqrt(50 * 50 - v * v);
            QVERIFY(std::fabs(llano.ProfundidadEn(p) - (80 - std::sqrt((80 - zs) * (80 - zs) - u * u))) < 1e-12);
        }
        const CaraInterna toro(0.012, 0.02, 30, 0.09, 200);
        const auto z = [&](double x, double y) { return toro.ProfundidadEn({x, y}); };
        const double h = 1e-3;
        for (const Punto p : {Punto{10, 5}, Punto{-20, 7}, Punto{25, -12}}) {
            const Derivadas e = toro.DerivadasEn(p);
            const double cerca[] = {
                e.d1 - (z(p.x + h, p.y) - z(p.x - h, p.y)) / (2 * h),
                e.d2 - (z(p.x, p.y + h) - z(p.x, p.y - h)) / (2 * h),
                e.d11 - (z(p.x + h, p.y) - 2 * e.valor + z(p.x - h, p.y)) / (h * h),
                e.d12 - (z(p.x + h, p.y + h) - z(p.x + h, p.y - h) - z(p.x - h, p.y + h) + z(p.x - h, p.y - h)) /
                            (4 * h * h),
                e.d22 - (z(p.x, p.y + h) - 2 * e.valor + z(p.x, p.y - h)) / (h * h)};
            for (double c : cerca)
                QVERIFY2(std::fabs(c) < 1e-6, qPrintable(QString::number(c)));
            // The point found lies on the torus in its own frame.
            const Vector3 t = toro.AlToro({p.x, p.y, e.valor});
            QVERIFY(std::fabs(t.z - toro.Profundidad(t.x, t.y)) < 1e-12);
        }
    }

    // The worked checks, the transposed (plus-cylinder) form of the second,
    // and +4.00 D at 1.498 with an 8 D front and a 1 mm edge, by exact sags,
    // on a 70 mm blank (6.3 mm).
    void resolver_data()
    {
        QTest::addColumn<CasoResolver>("caso");
        const auto fila = [](const char* nombre, const CasoResolver& caso) { QTest::newRow(nombre) << caso; };
        fila("+4 B6 n1.5 60 mm", {{4, 0, 0, 0, 0}, 1.5, 6, 60, 0, 4.664, 5e-4, {-1.840, -1.840}, {}});
        fila("+3 -1.5x45 2 base 180",
             {{3, -1.5, 45, 2, 180}, 1.5, 7, 60, 0, 4.735, 5e-4, {-3.837, -5.337}, {1.000, 32, 4.323, 148}});
        fila("la misma en cilindro positivo",
             {{1.5, 1.5, 135, 2, 180}, 1.5, 7, 60, 0, 4.735, 5e-4, {-5.337, -3.837}, {1.000, 32, 4.323, 148}});
        fila("-4 -1x30 n1.6: manda el centro",
             {{-4, -1, 30, 0, 0}, 1.6, 3, 65, 1.5, 1.500, 5e-4, {}, {5.295, 30, 6.321, 120}});
        fila("+4 n1.498 B8 bloque 70", {{4, 0, 0, 0, 0}, 1.498, 8, 70, 0, 6.3, 0.05, {}, {}});
    }
    void resolver()
    {
        QFETCH(CasoResolver, caso);
        const Solucion s =
            Resolver({caso.receta, caso.n, 1.0, caso.base, 1.0, caso.centroMin}, BordeRedondo(caso.diametro));
        QVERIFY2(s.resultado, s.falla.c_str());
        const Resultado& r = *s.resultado;
        const auto cerca = [](double a, double b) { return std::fabs(a - b) <= 0.0005; };
        QVERIFY2(std::fabs(r.espesorCentral - caso.t) <= caso.tolerancia, QByteArray::number(r.espesorCentral));
        const auto [caras, bordes] = std::tie(caso.caras, caso.bordes);
        QVERIFY(caras.isEmpty() || (cerca(r.internaEje.poder, caras[0]) && cerca(r.internaCruz.poder, caras[1])));
        QVERIFY(bordes.isEmpty() ||
                (cerca(r.bordeMinimo, bordes[0]) && cerca(r.bordeMaximo, bordes[2]) &&
                 std::lround(r.anguloMinimo) == bordes[1] && std::lround(r.anguloMaximo) == bordes[3]));
    }

    // Weights against exact volumes: plano-parallel plates on a round blank
    // and on a box's ellipse (π·a·b·t), and the first worked check as a
    // cylinder of its edge plus the front cap less the back cap.
    void peso()
    {
        // The base (0: a plate, else +4.00 D on it), the blank, and the exact
        // volume in mm³ (0: the two caps).
        for (auto [base, caja, exacto] : {std::tuple{0.0, false, std::numbers::pi * 30 * 30 * 2},
                                          {0.0, true, std::numbers::pi * 25 * 20 * 2},
                                          {6.0, false, 0.0}}) {
            const Solucion s = Resolver({Receta{base ? 4.0 : 0.0, 0, 0, 0, 0}, 1.5, 2.0, base, 2.0, 0.0},
                                        caja ? BordeElipse(50, 40) : BordeRedondo(60));
            QVERIFY(s.resultado);
            const Resultado& r = *s.resultado;
            if (exacto == 0.0)
                exacto = std::numbers::pi * 30 * 30 * r.bordeMinimo + casquete(523.0 / base, 30) -
                         casquete(*r.internaEje.radio, 30);
            QVERIFY2(std::fabs(r.volumen / exacto - 1.0) < 0.005, QByteArray::number(r.volumen / exacto));
            QCOMPARE(std::round(r.peso * 1000.0), std::round(exacto * 2.0));
        }
    }

    // Full rim: 2.0 − 1.2·P/7 mm on the most plus meridian, 0.8 from +7.00 D;
    // basic impact 3.0 mm, 2.5 from +3.00 D. A user's value below the
    // strictest rule is raised with one warning naming it; above, it stands.
    void reglas_data()
    {
        using namespace laboratorio;
        QTest::addColumn<Exigencias>("exigencias");
        QTest::addColumn<double>("borde");
        QTest::addColumn<double>("centro");
        QTest::addColumn<QString>("aviso"); // in the only warning; empty: none
        const auto fila = [](const char* caso, const Exigencias& e, double borde, double centro, const char* aviso) {
            QTest::newRow(caso) << e << borde << centro << QString(aviso);
        };
        // Edge and centre given by the user, the material's centre, the
        // mount, the safety and the most plus meridian.
        const auto completa = [](double p, double usuario) {
            return Exigencias{usuario, {}, {}, "", Montura::Completa, Seguridad::Ninguna, p};
        };
        const auto basica = [](double p) {
            return Exigencias{{}, 2.0, {}, "", Montura::Ninguna, Seguridad::Basica, p};
        };
        const auto material = [](double borde, std::optional<double> centro, double minimo, Seguridad s) {
            return Exigencias{borde, centro, minimo, "CR-39", Montura::Ninguna, s, 0};
        };
        fila("completa +6.99", completa(6.99, 0.5), 0.801714, 1.5, "montura completa");
        fila("completa +7.00", completa(7.00, 0.5), 0.8, 1.5, "montura completa");
        fila("completa +7.01: el usuario sobre la regla", completa(7.01, 0.9), 0.9, 1.5, "");
        fila("completa, negativa", completa(-2, 1.0), 2.0, 1.5, "--borde-min 1.000 elevado a 2.000");
        fila("basica +2.99", basica(2.99), 3.0, 3.0, "seguridad básica");
        fila("basica +3.00", basica(3.0), 2.5, 2.5, "seguridad básica");
        fila("centro del material", material(1.0, {}, 2.0, Seguridad::Ninguna), 1.0, 2.0, "");
        fila("centro del usuario bajo el material", material(1.0, 1.2, 2.0, Seguridad::Ninguna), 1.0, 2.0,
             "material CR-39");
        fila("alto impacto sobre el material", material(2.5, 1.2, 1.0, Seguridad::AltoImpacto), 2.5, 2.0,
             "alto impacto");
    }
    void reglas()
    {
        QFETCH(laboratorio::Exigencias, exigencias);
        QFETCH(double, borde);
        QFETCH(double, centro);
        QFETCH(QString, aviso);
        const auto m = laboratorio::MinimosDeEspesor(exigencias);
        QVERIFY(m);
        QVERIFY2(std::fabs(m->borde - borde) < 1e-6, QByteArray::number(m->borde));
        QCOMPARE(m->centro, centro);
        QCOMPARE(m->avisos.size(), std::size_t(!aviso.isEmpty()));
        if (!aviso.isEmpty())
            QVERIFY2(QString::fromStdString(m->avisos[0]).contains(aviso), m->avisos[0].c_str());
    }

    // Each side of a two-sided trace is the other's mirror image about the
    // vertical axis, and a side the trace lacks is read as that mirror.
    void trazosEspejo()
    {
        std::string error;
        const auto ambos = dcs::LeerTrazos(std::string("TRCFMT=1;8;E;R;F\r\n") + kRadiosDerecho +
                                               "\r\nTRCFMT=1;8;E;L;F\r\n" + kRadiosIzquierdo + "\r\n",
                                           error);
        const auto solo = dcs::LeerTrazos(std::string("TRCFMT=1;8;E;R;F\n") + kRadiosDerecho, error);
        QVERIFY2(ambos && solo, error.c_str());
        const auto derecho = dcs::PuntosDelOjo(*ambos, Ojo::Derecho);
        for (const auto& izquierdo :
             {dcs::PuntosDelOjo(*ambos, Ojo::Izquierdo), dcs::PuntosDelOjo(*solo, Ojo::Izquierdo)}) {
            QCOMPARE(izquierdo.size(), std::size_t(8));
            for (const Punto& p : izquierdo)
                QVERIFY(std::any_of(derecho.begin(), derecho.end(), [&](const Punto& q) {
                    return std::fabs(q.x + p.x) < 1e-9 && std::fabs(q.y - p.y) < 1e-9;
                }));
        }
        QVERIFY(std::fabs(derecho[0].x - 26.0) < 1e-12);
    }

    void trazoRechazado_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("dice");
        const auto fila = [](const char* caso, QString texto, QString dice) { QTest::newRow(caso) << texto << dice; };
        fila("formato 4 binario", "TRCFMT=4;512;E;R;F\nR=abc", "TRCFMT=4");
        fila("no equiespaciado", "TRCFMT=1;3;U;R;F\nR=1;2;3", "equiespaciados");
        fila("faltan radios", "TRCFMT=1;4;E;R;F\nR=2500;2000;2500", "trae 3");
        fila("sobran radios", "TRCFMT=1;3;E;R;F\nR=2500;2000;2500;1", "más de los 3");
        fila("radio negativo", "TRCFMT=1;3;E;R;F\nR=2500;-2000;2500", "\"-2000\"");
        fila("lado desconocido", "TRCFMT=1;3;E;X;F\nR=1;2;3", "\"X\"");
        fila("radios sin TRCFMT", "R=2500;2000;2500", "sin un registro TRCFMT");
        fila("sin trazo", "JOB=12\nSPH=1.00;1.00", "ningún trazo");
    }
    void trazoRechazado()
    {
        QFETCH(QString, texto);
        QFETCH(QString, dice);
        std::string error;
        QVERIFY(!dcs::LeerTrazos(texto.toStdString(), error));
        QVERIFY2(QString::fromStdString(error).contains(dice), error.c_str());
    }

    // The sample of the README, to the digit. A 50 × 40 four-point shape,
    // 4 mm nasal of its box centre by DBL 18, PD 30, height 20: the temporal
    // point is 29 mm off (blank 60.0 → 60) and holds the thinnest edge of a
    // plus lens, at 180° on the right eye and 0° on the left.
    void programa_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("estado");
        QTest::addColumn<QStringList>("lineas"); // each in the output
        QTest::addColumn<QString>("error");
        const QString lente = "--esfera 4 --indice 1.5 --densidad 1.3 ";
        const auto forma = [&](const QString& ojo) {
            return (lente + "--base 6 --puente 18 --dp 30 --altura 20 --forma $F --borde-min 1 --ojo " + ojo)
                .split(' ');
        };
        QTest::newRow("muestra del README")
            << QString("--esfera 3 --cilindro -1.5 --eje 45 --prisma 2 --base-prisma 180 --indice 1.5 --densidad "
                       "1.32 --base 7 --diametro 60 --borde-min 1")
                   .split(' ')
            << 0
            << QString("EspesorCentral: 4.735|CaraExterna: 6.692|CaraInternaEje: -3.837|CaraInternaCruz: -5.337|"
                       "RadioInternoEje: 130.324|RadioInternoCruz: 93.693|Molde1523Eje: -4.013|Molde1523Cruz: "
                       "-5.582|BordeMinimo: 1.000 32|BordeMaximo: 4.323 148|Peso: 13.92")
                   .split('|')
            << "";
        QTest::newRow("ojo derecho") << forma("derecho") << 0
                                     << QStringList{"BloqueMinimo: 60.0 60", "BordeMinimo: 1.000 180"} << "";
        QTest::newRow("ojo izquierdo") << forma("izquierdo") << 0 << QStringList{"BordeMinimo: 1.000 0"} << "";
        QTest::newRow("no cabe en la cara externa") << (lente + "--base 20 --diametro 60 --borde-min 1").split(' ') << 3
                                                    << QStringList{} << "no cabe en la cara externa";
    }
    void programa()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(int, estado);
        QFETCH(QStringList, lineas);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QFile f(dir.filePath("forma.oma"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("JOB=1\r\nTRCFMT=1;4;E;R;F\r\nR=2500;2000;2500;2000\r\n") > 0);
        f.close();
        argumentos.replaceInStrings("$F", f.fileName());
        const Salida s = Correr(VANTORA_LENTE, argumentos);
        QCOMPARE(s.estado, estado);
        for (const QString& l : lineas)
            QVERIFY2(s.lineas.contains(l), qPrintable(s.lineas.join('\n')));
        QVERIFY(error.isEmpty() ? s.errores.isEmpty() : s.UnError("vantora-lente", error));
    }
};

QTEST_GUILESS_MAIN(TestReceta)
#include "test_receta.moc"
