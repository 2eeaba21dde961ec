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
        [&] {
            // A sample minus lens that always computes.
            CurvaBase = 3.0;
            IndiceMaterial = 1.523;
            EspesorCentral = 2.0;
            PoderVertice = -3.0;
            DiametroInicial = 60.0;
        });
}

void Motor::pasosCalculoCaras(Numero& CurvaBase, Numero& IndiceMaterial, Numero& EspesorCentral, Numero& PoderVertice,
                              Numero& DiametroInicial)
{
    const double n = IndiceMaterial;
    const double r1 = Dividir(numerico::kFactorMolde, CurvaBase);
    m_estado.RadioExterno = r1;
    const double f1 = Dividir(n - 1.0, r1);
    m_estado.PoderExterno = f1;
    const double t = Finito(EspesorCentral / 1000.0);
    m_estado.EspesorCentralM = t;
    // The back face supplies what the front power, carried to the back vertex
    // through the thickness, leaves missing.
    const double f2 = Finito(PoderVertice - Dividir(f1, 1.0 - Dividir(t, n) * f1));
    m_estado.PoderInterno = f2;
    const double r2 = Dividir(n - 1.0, f2);
    m_estado.RadioInterno = r2;
    m_estado.PoderInterno1523 = Dividir(numerico::kFactorMolde, r2);

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
