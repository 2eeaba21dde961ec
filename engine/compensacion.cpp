#include "compensacion.h"

#include "numerico.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace lente {

using vec::Mat2;

namespace {

// The back is compensated to a micro-dioptre, and the thickness settles to
// a nanometre as in the solver.
constexpr double kToleranciaPoder = 1e-7;
constexpr double kToleranciaEspesor = 1e-9;
// The Jacobian's step, D: the power as worn is nearly linear in the back's.
constexpr double kPasoJacobiano = 1e-3;
// Newton settles in two or three steps and the thickness in a few passes;
// one that has not after these never will.
constexpr int kPasosMaximos = 30;
constexpr int kPasadasMaximas = 50;

const char* const kSinCompensacion = "el reverso no se puede compensar para la inclinación de la montura: no hay "
                                     "lente con estos valores";

using Vector = std::array<double, 3>;
using Matriz = std::array<Vector, 3>; // by columns

Vector comoVector(const Mat2& m) { return {m.a, m.b, m.d}; }
Mat2 comoMatriz(const Vector& v) { return {v[0], v[1], v[1], v[2]}; }

// Cramer's rule: J·x = r.
Vector resolver3(const Matriz& j, const Vector& r)
{
    const auto det = [](const Vector& a, const Vector& b, const Vector& c) {
        return a[0] * (b[1] * c[2] - b[2] * c[1]) - b[0] * (a[1] * c[2] - a[2] * c[1]) +
               c[0] * (a[1] * b[2] - a[2] * b[1]);
    };
    const double d = det(j[0], j[1], j[2]);
    return {numerico::Dividir(det(r, j[1], j[2]), d), numerico::Dividir(det(j[0], r, j[2]), d),
            numerico::Dividir(det(j[0], j[1], r), d)};
}

double frontalEnVertice(const LenteOptica& o)
{
    return numerico::Dividir(o.frontal, 1.0 - (o.espesor / 1000.0) * o.frontal / o.indice);
}

LenteOptica conReverso(LenteOptica o, const Mat2& reverso)
{
    const EsferoCilindro f = EsferoCilindroDe(reverso);
    o.reversoEje = f.esfera;
    o.reversoCruz = f.esfera + f.cilindro;
    o.ejeReverso = f.eje;
    return o;
}

// Newton's method on the back's power matrix so that the primary gaze sees
// `objetivo`, with a finite-difference Jacobian kept from one call to the
// next while it still gains: the thickness moves the answer only a little.
class Compensador {
public:
    Compensador(const Montaje& montaje, const Mat2& objetivo) : m_montaje(montaje), m_objetivo(objetivo) {}

    Mat2 Compensar(const LenteOptica& lente, Mat2 reverso)
    {
        Vector r = residuo(lente, reverso);
        for (int paso = 0; paso < kPasosMaximos; ++paso) {
            if (!m_jacobiano)
                m_jacobiano = jacobiano(lente, reverso, r);
            const Vector d = resolver3(*m_jacobiano, r);
            Vector v = comoVector(reverso);
            for (int i = 0; i < 3; ++i)
                v[i] -= d[i];
            reverso = comoMatriz(v);
            const double antes = norma(r);
            r = residuo(lente, reverso);
            if (std::max({std::fabs(d[0]), std::fabs(d[1]), std::fabs(d[2])}) < kToleranciaPoder &&
                norma(r) < kToleranciaPoder)
                return reverso;
            if (norma(r) > antes / 4.0)
                m_jacobiano.reset();
        }
        throw numerico::Falla{};
    }

private:
    static double norma(const Vector& v) { return std::max({std::fabs(v[0]), std::fabs(v[1]), std::fabs(v[2])}); }

    Vector residuo(const LenteOptica& lente, const Mat2& reverso) const
    {
        return comoVector(LenteEnUso(conReverso(lente, reverso), m_montaje).Vergencia({}) - m_objetivo);
    }

    Matriz jacobiano(const LenteOptica& lente, const Mat2& reverso, const Vector& r) const
    {
        Matriz j;
        for (int i = 0; i < 3; ++i) {
            Vector v = comoVector(reverso);
            v[i] += kPasoJacobiano;
            const Vector ri = residuo(lente, comoMatriz(v));
            for (int k = 0; k < 3; ++k)
                j[i][k] = (ri[k] - r[k]) / kPasoJacobiano;
        }
        return j;
    }

    Montaje m_montaje;
    Mat2 m_objetivo;
    std::optional<Matriz> m_jacobiano;
};

} // namespace

LenteOptica OpticaDe(const Pedido& pedido, const Resultado& r, double ejeReverso)
{
    return {pedido.indice,       r.frontal.poder, r.espesorCentral,     r.internaEje.poder,
            r.internaCruz.poder, ejeReverso,      pedido.receta.prisma, pedido.receta.basePrisma};
}

SolucionEnUso ResolverEnUso(const Pedido& pedido, std::span<const Punto> borde, const Montaje& montaje)
{
    SolucionEnUso uso;
    uso.solucion = Resolver(pedido, borde);
    if (!uso.solucion.resultado)
        return uso;
    const Receta& receta = pedido.receta;
    uso.optica = OpticaDe(pedido, *uso.solucion.resultado, receta.eje);
    uso.frontofocometro = EsferoCilindroDe(MatrizDioptrica({receta.esfera, receta.cilindro, receta.eje}));
    if (montaje.pantoscopico == 0.0 && montaje.envolvente == 0.0)
        return uso;

    try {
        const Mat2 prescrita = MatrizDioptrica({receta.esfera, receta.cilindro, receta.eje});
        Compensador compensador(montaje, prescrita);
        LenteOptica lente = uso.optica;
        const double fc = frontalEnVertice(lente);
        Mat2 reverso = prescrita - Mat2{fc, 0, 0, fc};
        for (int pasada = 1;; ++pasada) {
            reverso = compensador.Compensar(lente, reverso);
            const EsferoCilindro f = EsferoCilindroDe(reverso);
            Pedido fijo = pedido;
            fijo.internaFija = InternaFija{f.esfera, f.esfera + f.cilindro, f.eje};
            Solucion s = Resolver(fijo, borde);
            if (!s.resultado) {
                uso.solucion = std::move(s);
                return uso;
            }
            const double t = s.resultado->espesorCentral;
            const bool quieto = std::fabs(t - lente.espesor) < kToleranciaEspesor;
            uso.solucion = std::move(s);
            lente = OpticaDe(pedido, *uso.solucion.resultado, f.eje);
            if (quieto)
                break;
            if (pasada >= kPasadasMaximas)
                throw numerico::Falla{};
        }
        uso.optica = lente;
        uso.compensada = true;
        const double fc2 = frontalEnVertice(lente);
        uso.frontofocometro = EsferoCilindroDe(Mat2{fc2, 0, 0, fc2} + reverso);
    } catch (const numerico::Falla&) {
        uso.solucion = {std::nullopt, kSinCompensacion};
    }
    return uso;
}

} // namespace lente
