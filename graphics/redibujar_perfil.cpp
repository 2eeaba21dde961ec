#include "colores_graficos.h"
#include "controles.h"
#include "formatos.h"
#include "geometria_perfil.h"
#include "mensajes_graficos.h"
#include "numerico.h"
#include "perfil.h"
#include "reglas_laboratorio.h"

#include <cmath>

using numerico::Dividir;
using numerico::Finito;
using namespace mensajes_graficos;

namespace {

// A back face flatter than this many drawing units of radius shows no curve.
constexpr double kRadioRecto = 1800.0;

} // namespace

bool Perfil::RedibujarPerfil(Numero& PoderExterno, Numero& PoderInterno, Numero& IndiceMaterial, Numero& EspesorCentral,
                             Numero& PoderVertice, Numero& Diametro, Numero& Densidad, Numero& EscalaHorizontal,
                             Numero& EscalaVertical, Numero& AspectoPantalla)
{
    (void)PoderVertice;
    // The cursor readout follows the varied design from now on.
    m_graficos.PonerVisible(ctlg::Text2, false);
    m_graficos.PonerVisible(ctlg::Label10, false);
    for (const std::string_view control : ctlg::kDinamicos)
        m_graficos.PonerVisible(control, true);
    const Color co = colores::kDinamico;
    m_graficos.MostrarVentana();
    m_lienzo.Limpiar();
    m_lienzo.Marco(0, 0, 300, 200);
    m_ultimo.reset();

    try {
        const double t = EspesorCentral;
        const double D = Diametro;
        const Superficies s = CalcularSuperficies(PoderExterno, PoderInterno, IndiceMaterial, D, Pisos::Dinamico);
        if (EscalaHorizontal == 0.0)
            EscalaHorizontal = 1.5;
        if (EscalaVertical == 0.0)
            EscalaVertical = 1.62;
        const double ex = EscalaHorizontal;
        const double ey = EscalaVertical;
        const double A = AspectoPantalla;

        const Trazado z = TrazarPerfil(s, t, ex, ey);
        m_estado.CotaDinamica = z.cx1;
        const double hs = z.h;
        const double yLow = hs + 100.0;
        const double yUp = 100.0 - hs;
        const double e = Finito(Dividir(z.xBE - z.xFE, ex));

        if (laboratorio::RequiereBlockEspecial(e, z.g1)) {
            m_graficos.PonerColorTexto(ctlg::SalidaTxt, colores::kAvisoBlock);
            m_graficos.PonerTexto(ctlg::SalidaTxt, kAvisoBlock);
        }
        const double peso = Finito(Densidad * (s.V1 + s.V2 + e * (D / 2.0) * (D / 2.0) * kPiDisco) / 1000.0);
        m_graficos.PonerTexto(ctlg::Text1, TextoPlano(z.r2));
        // A flat back is drawn with a radius of its own, which no tool has.
        m_graficos.PonerTexto(kRadioPosterior, PoderInterno == 0.0 ? std::string("plano") : FormatoMiles(s.R2) + " mm");

        const std::string textoPeso = FormatoMiles(peso);
        const std::string textoEspesor = FormatoMiles(t);
        const std::string textoDiametro = TextoPlano(Diametro);
        m_graficos.PonerTexto(ctlg::Tx_CurvaBase_Peso, textoPeso);
        m_graficos.PonerTexto(ctlg::Tx_CurvaBase_EspesorCentral, textoEspesor);
        m_graficos.PonerTexto(ctlg::Tx_CurvaBase_Diametro, textoDiametro);
        m_graficos.PonerTexto(ctlg::Tx_Diametro_Peso, textoPeso);
        m_graficos.PonerTexto(ctlg::Tx_Diametro_EspesorCentral, textoEspesor);
        m_graficos.PonerTexto(ctlg::Tx_Indice_Peso, textoPeso);
        m_graficos.PonerTexto(ctlg::Tx_Indice_EspesorCentral, textoEspesor);
        m_graficos.PonerTexto(ctlg::Tx_Indice_Diametro, textoDiametro);

        arcosFrontales(z, co, A);
        // A nearly flat front shows no arc at its vertex: draw its edge
        // straight, stopping one unit short of the top.
        if (m_lienzo.ColorPixel(z.cx1 - z.r1, 102) == colores::kFondo.valor() && PoderExterno <= 0.5)
            m_lienzo.Linea(z.xFE, yLow, z.xFE, yUp - 1, co);
        arcosPosteriores(z, co, A);
        if (z.r2 > kRadioRecto)
            m_lienzo.Linea(z.xBE, yLow, z.xBE, yUp, co);
        caras(z, A, co);
        rellenar(279, co);
        vistaFrontal(z, co, ex, ey, A);
        m_ultimo = Dibujo{D, Pisos::Dinamico, std::nullopt};
        return true;
    } catch (const numerico::Falla&) {
        // The window stays as it is, with what was already drawn.
        m_dialogos.Mensaje(kTituloGrafico, kTextoRedibujo, Icono::Exclamacion);
        m_diseno.MostrarVentana();
        m_diseno.Enfocar(ctl::Tx_BaseCrown);
        return false;
    }
}
