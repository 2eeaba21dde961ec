#include "base_sugerida.h"
#include "controles.h"
#include "formatos.h"
#include "mensajes.h"
#include "motor.h"
#include "numerico.h"
#include "redondeo.h"

#include <algorithm>
#include <cmath>

using numerico::Dividir;
using numerico::Finito;
using numerico::Raiz;

namespace {

constexpr double kPasoBase = 0.25;

} // namespace

bool Motor::poderPermiteSugerir()
{
    // The suggestion starts from the radius of a tool surface of the
    // prescribed power: a zero power has no such radius, and a minus power is
    // not a lens this calculation makes.
    const double fv = m_estado.PoderVertice;
    if (fv == 0.0) {
        m_dialogos.Mensaje(mensajes::kTituloSinSugerencia, mensajes::kTextoPoderCero, Icono::Exclamacion);
        return false;
    }
    if (fv < 0.0) {
        m_dialogos.Mensaje(mensajes::kTituloSinSugerencia, mensajes::kTextoPoderNegativo, Icono::Exclamacion);
        return false;
    }
    return true;
}

SugerenciaBase SugerenciaBasePositiva(double fv, double n, double diametroMm)
{
    SugerenciaBase r;
    r.diametroM = Finito(diametroMm / 1000.0);
    // The prescription as a 1.523 tool surface, and that surface's power
    // in the material.
    const double rp = Dividir(numerico::kFactorMolde, fv);
    const double fn = Dividir(n - 1.0, rp);
    // A diameter the prescription's own sphere cannot span is cut one
    // millimetre smaller.
    if (2.0 * rp * 1000.0 <= diametroMm) {
        r.diametroM = Finito(2.0 * rp - 0.001);
        r.recortado = true;
    }
    const double y = r.diametroM / 2.0;
    const double sp = Finito(std::fabs(rp) - Raiz(Finito(rp * rp - y * y)));
    // That surface's power carried over its own sagitta in the material:
    // the excess is what the thickness of such a lens adds.
    const double feff = Dividir(fn, 1.0 - Dividir(sp, n) * fn);
    const double exceso = Finito(feff - fv);
    const double b0 = Finito(fn - exceso);
    // Offset by index band; the narrow gaps between the bands belong to
    // the lower band of each (1.504–1.505 low, 1.679–1.68 middle).
    double b;
    if (n > 1.68)
        b = b0;
    else if (n > 1.505)
        b = b0 + 1.0;
    else
        b = b0 + 1.25;
    if (exceso > 11.0)
        b = Finito(b * exceso / 10.0);
    // Down to a quarter dioptre.
    const double entero = std::floor(b);
    r.base = entero + 0.25 * std::floor((b - entero) / 0.25);
    // A nearly plano prescription rounds down to no curve at all, which no
    // lens can be ground to: the flattest base offered is one step.
    r.base = std::max(r.base, kPasoBase);
    return r;
}

bool Motor::SugerirBase(Numero& CurvaBaseCalculo, Numero& PoderVertice, Numero& DiametroInicial, Numero& DiametroM)
{
    const double fv = PoderVertice;
    const double n = m_estado.IndiceMaterial;
    if (fv <= 0.0 && !poderPermiteSugerir())
        return false;

    SugerenciaBase sugerencia;
    try {
        sugerencia = SugerenciaBasePositiva(fv, n, DiametroInicial);
    } catch (const numerico::Falla&) {
        m_dialogos.Mensaje(mensajes::kTituloSinSugerencia, mensajes::kTextoSugerenciaImposible, Icono::Exclamacion);
        return false;
    }

    DiametroM = sugerencia.diametroM;
    if (sugerencia.recortado)
        DiametroInicial = Redondear2(sugerencia.diametroM * 1000.0);
    CurvaBaseCalculo = sugerencia.base;
    m_frm.PonerTexto(ctl::Tx_BaseCrown, TextoPlano(sugerencia.base));
    m_frm.PonerTexto(ctl::SalidaTxt, mensajes::kTextoBaseSugerida);
    return true;
}
