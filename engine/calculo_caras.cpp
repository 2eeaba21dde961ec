#include "controles.h"
#include "formatos.h"
#include "mensajes.h"
#include "motor.h"
#include "numerico.h"
#include "recuperacion.h"

#include <algorithm>
#include <cmath>
#include <string>

using numerico::Dividir;
using numerico::Finito;

void Motor::CalculoCaras(Numero& CurvaBase, Numero& IndiceMaterial, Numero& EspesorCentral, Numero& PoderVertice,
                         Numero& DiametroInicial)
{
    ConRecuperacion(
        m_dialogos, m_estado.CalculoRecuperado, mensajes::kTextoFallaCaras,
        [&] { pasosCalculoCaras(CurvaBase, IndiceMaterial, EspesorCentral, PoderVertice, DiametroInicial); },
        [&] { cargarLenteMuestra(CurvaBase, IndiceMaterial, EspesorCentral, PoderVertice, DiametroInicial); });
}

// A sample minus lens that always computes: base 3, index 1.523, 2 mm
// centre, −3 D, 60 mm.
void Motor::cargarLenteMuestra(Numero& base, Numero& indice, Numero& espesorMm, Numero& poderVertice, Numero& diametro)
{
    base = 3.0;
    indice = 1.523;
    espesorMm = 2.0;
    poderVertice = -3.0;
    diametro = 60.0;
}

// The faces of a lens of known centre thickness, written into the design
// state: front radius and power, thickness in metres, back power (into the
// item given), back radius and its 1.523 tool power.
Motor::Caras Motor::carasDelLente(double base, double n, double espesorMm, double fv, Numero& PoderInterno)
{
    EstadoDiseno& e = m_estado;
    Caras c{};
    c.r1 = Dividir(numerico::kFactorMolde, base);
    e.RadioExterno = c.r1;
    c.f1 = Dividir(n - 1.0, c.r1);
    e.PoderExterno = c.f1;
    c.tm = Finito(espesorMm / 1000.0);
    e.EspesorCentralM = c.tm;
    // The back face supplies what the front power, carried to the back vertex
    // through the thickness, leaves missing.
    c.f2 = Finito(fv - Dividir(c.f1, 1.0 - Dividir(c.tm, n) * c.f1));
    PoderInterno = c.f2;
    c.r2 = Dividir(n - 1.0, c.f2);
    e.RadioInterno = c.r2;
    e.PoderInterno1523 = Dividir(numerico::kFactorMolde, c.r2);
    return c;
}

void Motor::pasosCalculoCaras(Numero& CurvaBase, Numero& IndiceMaterial, Numero& EspesorCentral, Numero& PoderVertice,
                              Numero& DiametroInicial)
{
    const double r2 = carasDelLente(CurvaBase, IndiceMaterial, EspesorCentral, PoderVertice, m_estado.PoderInterno).r2;

    // The back sphere cannot span more than its own diameter: offer the
    // largest diameter two millimetres inside it, in whole millimetres.
    const double diametroEsfera = Finito(std::fabs(r2 * 2000.0));
    if (DiametroInicial > diametroEsfera) {
        DiametroInicial = std::max(0.0, std::floor(diametroEsfera - 2.0));
        const std::string nuevo = TextoPlano(DiametroInicial);
        m_dialogos.Mensaje(mensajes::kTituloDiametro, std::string(mensajes::kTextoDiametro) + nuevo,
                           Icono::Exclamacion);
        m_frm.PonerTexto(ctl::Tx_DiametroInicial, nuevo);
    }
}
