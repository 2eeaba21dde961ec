#include "controles.h"
#include "formatos.h"
#include "mensajes.h"
#include "motor.h"
#include "numerico.h"
#include "recuperacion.h"
#include "redondeo.h"

#include <cmath>

using numerico::Dividir;
using numerico::Finito;
using numerico::Raiz;

namespace {

// The solution stops when the back-vertex power is within 0.0001 D of the
// prescription; ordinary lenses settle in a few passes, steep ones in ten or
// so. A solve that has not settled after this many passes never will.
constexpr double kTolerancia = 0.0001;
constexpr int kPasadasMaximas = 1000;

} // namespace

void Motor::CalculoLente(Numero& CurvaBaseCalculo, Numero& DiametroM, Numero& EspesorBorde, Numero& IndiceMaterial,
                         Numero& PoderVerticeCalculo, Numero& ErrorPoder, Numero& PoderInterno1523Calc,
                         Numero& PoderExternoCalc, Numero& PoderInternoCalc, Numero& SagitaExterna,
                         Numero& EspesorCentralM)
{
    ConRecuperacion(
        m_dialogos, m_estado.CalculoRecuperado, mensajes::kTextoFallaLente,
        [&] {
            pasosCalculoLente(CurvaBaseCalculo, DiametroM, EspesorBorde, IndiceMaterial, PoderVerticeCalculo,
                              ErrorPoder, PoderInterno1523Calc, PoderExternoCalc, PoderInternoCalc, SagitaExterna,
                              EspesorCentralM);
        },
        [&] {
            CurvaBaseCalculo = 6.0;
            DiametroM = 0.06;
            EspesorBorde = 2.0;
            IndiceMaterial = 1.523;
            PoderVerticeCalculo = 4.5;
            ErrorPoder = 0.0;
            PoderInterno1523Calc = -1.5;
            PoderExternoCalc = 6.0;
            PoderInternoCalc = -1.5;
        });
}

void Motor::pasosCalculoLente(Numero& CurvaBaseCalculo, Numero& DiametroM, Numero& EspesorBorde, Numero& IndiceMaterial,
                              Numero& PoderVerticeCalculo, Numero& ErrorPoder, Numero& PoderInterno1523Calc,
                              Numero& PoderExternoCalc, Numero& PoderInternoCalc, Numero& SagitaExterna,
                              Numero& EspesorCentralM)
{
    const double n = IndiceMaterial;
    const double fv = PoderVerticeCalculo;

    const double e = Finito(EspesorBorde / 1000.0);
    m_estado.EspesorBordeM = e;
    const double r1 = Dividir(numerico::kFactorMolde, CurvaBaseCalculo);

    // A front sphere cannot span a diameter as large as its own: cut the lens
    // one millimetre smaller and show the diameter actually used.
    if (DiametroM >= 2.0 * r1) {
        DiametroM = Finito(2.0 * r1 - 0.001);
        m_frm.PonerColorTexto(ctl::Tx_DiametroInicial, kRojo);
        m_frm.PonerTexto(ctl::Tx_DiametroInicial, TextoPlano(Redondear2(DiametroM * 1000.0)));
    }
    const double y = DiametroM / 2.0;

    // Sagitta: depth of the front sphere over the semi-diameter.
    const double s1 = Finito(std::fabs(r1) - Raiz(Finito(r1 * r1 - y * y)));
    SagitaExterna = s1;
    // Thickness the lens would have with a flat back.
    const double t0 = s1 + e;
    const double f1 = Dividir(n - 1.0, r1);
    PoderExternoCalc = f1;
    double f2 = Finito(fv - Dividir(f1, 1.0 - Dividir(t0, n) * f1));
    PoderInternoCalc = f2;

    for (int pasada = 1;; ++pasada) {
        const double r2 = std::fabs(Dividir(n - 1.0, f2));
        const double s2 = Finito(r2 - Raiz(Finito(r2 * r2 - y * y)));
        // A concave back (meniscus) takes its sagitta off the edge, a convex
        // back adds it.
        const double t = Finito(f2 <= 0.0 ? (s1 - s2) + e : (s1 + s2) + e);
        EspesorCentralM = t;
        // Thick-lens back-vertex power: the front power carried to the back
        // vertex through the thickness, plus the back power.
        const double fc = Finito(Dividir(f1, 1.0 - Dividir(t, n) * f1) + f2);
        const double error = Finito(fc - fv);
        ErrorPoder = error;
        const double f2Corregido = Finito(f2 - error);
        PoderInterno1523Calc = Dividir(numerico::kFactorMolde, Dividir(n - 1.0, f2Corregido));
        if (std::fabs(error) <= kTolerancia)
            return;
        if (pasada >= kPasadasMaximas)
            throw numerico::Falla{};
        f2 = f2Corregido;
        PoderInternoCalc = f2;
    }
}
