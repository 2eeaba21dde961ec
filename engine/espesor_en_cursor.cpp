#include "controles.h"
#include "formatos.h"
#include "mensajes.h"
#include "motor.h"
#include "numerico.h"
#include "recuperacion.h"
#include "redondeo.h"

#include <cmath>

using numerico::Finito;
using numerico::Raiz;

// The lens of known centre thickness cut at radius rm (m) from its axis: its
// faces as the surface calculation gives them, and, unless the varied design
// reads beyond its front radius, its thickness there.
struct Motor::Corte {
    bool dentro = true;
    double espesorMm = 0;
};

Motor::Corte Motor::espesorEn(double base, double n, double espesorMm, double fv, double rm, Numero& PoderInterno,
                              bool hastaElRadioFrontal)
{
    const Caras c = carasDelLente(base, n, espesorMm, fv, PoderInterno);
    const double r1 = c.r1;
    double r2 = c.r2;
    Corte corte;
    if (hastaElRadioFrontal && rm > r1) {
        corte.dentro = false;
        return corte;
    }
    // Depth of each face at rm: the front takes thickness away, a concave
    // back gives it back.
    double s1 = Finito(r1 - Raiz(Finito(r1 * r1 - rm * rm)));
    if (c.f1 < 0)
        s1 = -s1;
    if (c.f2 < 0) {
        r2 = -r2;
        m_estado.RadioInterno = r2;
    }
    double s2 = Finito(r2 - Raiz(Finito(r2 * r2 - rm * rm)));
    if (c.f2 < 0)
        s2 = -s2;
    corte.espesorMm = Finito((c.tm - s2 - s1) * 1000.0);
    return corte;
}

void Motor::EspesorEnCursor(Numero& CurvaBase, Numero& IndiceMaterial, Numero& EspesorCentralInicial,
                            Numero& PoderVertice, Numero& DiametroInicial, float& r)
{
    if (r > DiametroInicial / 2.0) {
        m_graficos.PonerTexto(ctlg::Text2, "");
        return;
    }
    const double rm = r / 1000.0;
    ConRecuperacion(
        m_dialogos, m_estado.CalculoRecuperado, mensajes::kTextoFallaCaras,
        [&] {
            const Corte corte = espesorEn(CurvaBase, IndiceMaterial, EspesorCentralInicial, PoderVertice, rm,
                                          m_estado.PoderInterno, false);
            m_graficos.PonerTexto(ctlg::Text2, TextoPlano(Redondear1(corte.espesorMm)));
        },
        [&] { cargarLenteMuestra(CurvaBase, IndiceMaterial, EspesorCentralInicial, PoderVertice, DiametroInicial); });
}

void Motor::EspesorEnCursorDinamico(Numero& CurvaBaseActual, Numero& PoderInterno, Numero& IndiceMaterial,
                                    Numero& EspesorCentral, Numero& PoderVertice, Numero& DiametroModificado, float& r)
{
    const double rm = r / 1000.0;
    ConRecuperacion(
        m_dialogos, m_estado.CalculoRecuperado, mensajes::kTextoFallaCaras,
        [&] {
            const Corte corte =
                espesorEn(CurvaBaseActual, IndiceMaterial, EspesorCentral, PoderVertice, rm, PoderInterno, true);
            if (!corte.dentro || corte.espesorMm < 0)
                return;
            m_graficos.PonerTexto(ctlg::Text_EspDinamico, TextoPlano(Redondear1(corte.espesorMm)));
            const double diametro = 2.0 * Redondear1(r);
            m_graficos.PonerTexto(ctlg::Text_DiametroDinamico, diametro > 0.4 ? TextoPlano(diametro) : "0");
        },
        [&] { cargarLenteMuestra(CurvaBaseActual, IndiceMaterial, EspesorCentral, PoderVertice, DiametroModificado); });
}
