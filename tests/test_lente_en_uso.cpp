// The lens as worn: the power on the vertex sphere against Coddington's
// equations and Martin's formula, the compensation of the back for the
// frame's tilt, the mirror between the eyes, and vantora-lente's new lines.

#include "apoyo/proceso.h"
#include "bordes.h"
#include "compensacion.h"
#include "errores_campo.h"

#include <QtTest>
#include <cmath>
#include <numbers>

using namespace lente;

namespace {

constexpr double kGrado = std::numbers::pi / 180.0;

// The front power in the material of a base (D at 1.523).
double frontal(double base, double n) { return base * (n - 1.0) / 0.523; }

// Coddington's equations along the chief ray of a lens with a spherical
// front, traced in a plane of symmetry (r across the axis, z along it) from
// the eye's centre of rotation O, at `angulo` from −z toward +r. The back's
// section in the plane has power `reversoT` and its curvature across the
// plane gives `reversoS` (equal unless the ray meets the back at its vertex).
// Returns the tangential and sagittal vergences (D) on the vertex sphere of
// radius d.
std::pair<double, double> porCoddington(double n, double f1, double t, double reversoT, double reversoS, QPointF o,
                                        double angulo, double d)
{
    const auto curvatura = [n](double f) { return f / (1000.0 * (n - 1.0)); };
    const QPointF u0(std::sin(angulo), -std::cos(angulo)); // (r, z)
    QPointF p = o, u = u0;
    const auto producto = [](QPointF a, QPointF b) { return a.x() * b.x() + a.y() * b.y(); };
    const auto girar = [](QPointF m, double a) {
        return QPointF(m.x() * std::cos(a) - m.y() * std::sin(a), m.x() * std::sin(a) + m.y() * std::cos(a));
    };
    // The circle through (0, vertice) with its centre at vertice + 1/c; the
    // meeting nearer the vertex; the angles of incidence and refraction.
    const auto cruzar = [&](double vertice, double c, double n1, double n2) {
        const QPointF centro(0.0, vertice + 1.0 / c), w = p - centro;
        const double b = producto(w, u), k = producto(w, w) - 1.0 / (c * c);
        const double s1 = -b + std::sqrt(b * b - k), s2 = -b - std::sqrt(b * b - k);
        const double z1 = p.y() + s1 * u.y(), z2 = p.y() + s2 * u.y();
        p += (std::fabs(z1 - vertice) < std::fabs(z2 - vertice) ? s1 : s2) * u;
        QPointF m = (p - centro) / std::hypot(p.x() - centro.x(), p.y() - centro.y());
        if (producto(m, u) < 0)
            m = -m;
        const double i = std::atan2(m.x() * u.y() - m.y() * u.x(), producto(m, u));
        const double ir = std::asin(n1 / n2 * std::sin(i));
        u = girar(m, ir);
        return std::pair{std::cos(i), std::cos(ir)};
    };
    const auto [aireAtras, vidrioAtras] = cruzar(t, curvatura(-reversoT), 1.0, n);
    const QPointF atras = p;
    const auto [vidrioDelante, aireDelante] = cruzar(0.0, curvatura(f1), n, 1.0);
    // Light comes the other way: refraction at the front, the path inside,
    // the back, and the air to Q.
    const double potencia = (n * vidrioDelante - aireDelante) * f1 / (n - 1.0);
    double tan = potencia / (vidrioDelante * vidrioDelante), sag = potencia;
    const double dentro = std::hypot(p.x() - atras.x(), p.y() - atras.y());
    const auto transferir = [](double l, double e, double indice) { return l / (1.0 - e / 1000.0 / indice * l); };
    tan = transferir(tan, dentro, n);
    sag = transferir(sag, dentro, n);
    const double k = (aireAtras - n * vidrioAtras) / (n - 1.0);
    tan = (tan * vidrioAtras * vidrioAtras - k * reversoT) / (aireAtras * aireAtras);
    sag -= k * reversoS;
    const double alOjo = producto(o + d * u0 - atras, -u0);
    return {transferir(tan, alOjo, 1.0), transferir(sag, alOjo, 1.0)};
}

} // namespace
Q_DECLARE_METATYPE(LenteOptica)

class TestLenteEnUso : public QObject {
    Q_OBJECT

private slots:
    // Spherical lenses looked through along a meridian at φ, at 10°, 20° and
    // 35° from straight ahead: the tangential power along the meridian and
    // the sagittal across it, as Coddington's equations give them. Listing's
    // law keeps the tangential direction at φ in the eye's own axes, so an
    // oblique meridian also checks the eye's torsion.
    void coddington_data()
    {
        QTest::addColumn<LenteOptica>("lente");
        QTest::addColumn<double>("phi");
        QTest::addColumn<double>("bvd");
        const auto fila = [](const char* nombre, double n, double base, double t, double reverso, double phi,
                             double bvd) {
            QTest::newRow(nombre) << LenteOptica{n, frontal(base, n), t, reverso, reverso, 0, 0, 0} << phi << bvd;
        };
        fila("-6 base 2, vertical", 1.5, 2, 2, -7.9, 90, 12);
        fila("+4 base 8 n1.6, horizontal", 1.6, 8, 5, -4.6, 0, 12);
        fila("-3 base 4 n1.67, a 45", 1.67, 4, 1.2, -7.3, 45, 14);
        fila("+2 base 6, a 150, bvd 16", 1.5, 6, 3.5, -4.0, 150, 16);
    }
    void coddington()
    {
        QFETCH(LenteOptica, lente);
        QFETCH(double, phi);
        QFETCH(double, bvd);
        const LenteEnUso enUso(lente, {Ojo::Derecho, 0, 0, bvd});
        const double d = bvd + 13.5, f = phi * kGrado;
        for (double theta : {10.0, 20.0, 35.0}) {
            const double a = theta * kGrado;
            const auto [tan, sag] = porCoddington(lente.indice, lente.frontal, lente.espesor, lente.reversoEje,
                                                  lente.reversoEje, QPointF(0, lente.espesor + d), a, d);
            const Mirada m{std::atan2(std::sin(a) * std::cos(f), std::cos(a)) / kGrado,
                           std::asin(std::sin(a) * std::sin(f)) / kGrado};
            const vec::Mat2 v = enUso.Vergencia(m);
            const double c = std::cos(f), s = std::sin(f);
            const double esperada[] = {tan * c * c + sag * s * s, (tan - sag) * c * s, tan * s * s + sag * c * c};
            const double obtenida[] = {v.a, v.b, v.d};
            for (int i = 0; i < 3; ++i)
                QVERIFY2(std::fabs(obtenida[i] - esperada[i]) < 0.002,
                         qPrintable(QString("%1°: %2 / %3").arg(theta).arg(obtenida[i]).arg(esperada[i])));
        }
    }
};

QTEST_GUILESS_MAIN(TestLenteEnUso)
#include "test_lente_en_uso.moc"
