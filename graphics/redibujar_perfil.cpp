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
using numerico::Raiz;

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
    m_graficos.PonerVisible(ctlg::Label_EspesorDinamico, true);
    m_graficos.PonerVisible(ctlg::Text_EspDinamico, true);
    m_graficos.PonerVisible(ctlg::Label_DiametroDinamico, true);
    m_graficos.PonerVisible(ctlg::Text_DiametroDinamico, true);
    m_graficos.PonerVisible(ctlg::Label_DisenoDinamico, true);
    const Color co = colores::kDinamico;
    m_graficos.MostrarVentana();
    m_lienzo.Limpiar();
    m_lienzo.Marco(0, 0, 300, 200);
    m_ultimo.reset();

    try {
        const double pi = 4.0 * std::atan(1.0);
        const double t = EspesorCentral;
        const double D = Diametro;
        const Superficies s = CalcularSuperficies(PoderExterno, PoderInterno, IndiceMaterial, D, Pisos::Dinamico);
        const double inicio2 = s.menisco ? pi - s.a2 : 2.0 * pi - s.a2;
        const double fin2 = s.menisco ? pi + s.a2 : s.a2;

        if (EscalaHorizontal == 0.0)
            EscalaHorizontal = 1.5;
        if (EscalaVertical == 0.0)
            EscalaVertical = 1.62;
        const double ex = EscalaHorizontal;
        const double ey = EscalaVertical;
        const double A = AspectoPantalla;

        const double r1 = Finito(s.R1 * ex);
        const double r2 = Finito(s.R2 * ex);
        const double ts = Finito(t * ex);
        const double hs = Finito(s.h * ey);
        const double cx1 = 150.0 + r1;
        m_estado.CotaDinamica = cx1;
        const double cx2 = s.menisco ? 150.0 + ts + r2 : 150.0 + ts - r2;
        const double g1 =
            Finito(Dividir(r1, ex) - Raiz(Finito(std::pow(Dividir(r1, ex), 2) - std::pow(Dividir(hs, ey), 2))));
        const double g2 =
            Finito(Dividir(r2, ex) - Raiz(Finito(std::pow(Dividir(r2, ex), 2) - std::pow(Dividir(hs, ey), 2))));
        const double xFE = 150.0 + g1 * ex;
        const double xBE = s.menisco ? 150.0 + ts + g2 * ex : 150.0 + ts - g2 * ex;
        const double yLow = hs + 100.0;
        const double yUp = 100.0 - hs;
        const double e = Finito(Dividir(xBE - xFE, ex));

        if (laboratorio::RequiereBlockEspecial(e, g1)) {
            m_graficos.PonerColorTexto(ctlg::SalidaTxt, colores::kAvisoBlock);
            m_graficos.PonerTexto(ctlg::SalidaTxt, kAvisoBlock);
        }
        const double peso = Finito(Densidad * (s.V1 + s.V2 + e * (D / 2.0) * (D / 2.0) * kPiDisco) / 1000.0);
        m_graficos.PonerTexto(ctlg::Text1, TextoPlano(r2));

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

        m_lienzo.Arco(cx1, 100, r1, co, pi - s.a1, pi + s.a1, A);
        m_lienzo.Arco(cx1 + 0.5, 100, r1, co, pi - s.a1, pi + s.a1, A);
        // A nearly flat front shows no arc at its vertex: draw its edge
        // straight, stopping one unit short of the top.
        if (m_lienzo.ColorPixel(cx1 - r1, 102) == colores::kFondo.valor() && PoderExterno <= 0.5)
            m_lienzo.Linea(xFE, yLow, xFE, yUp - 1, co);
        m_lienzo.Arco(cx2, 100, r2, co, inicio2, fin2, A);
        m_lienzo.Arco(cx2 - 0.5, 100, r2, co, inicio2, fin2, A);
        if (r2 > kRadioRecto)
            m_lienzo.Linea(xBE, yLow, xBE, yUp, co);
        m_lienzo.Linea(xFE, yLow, xBE, yLow, co);
        m_lienzo.Linea(xFE, yLow - 0.5, xBE, yLow - 0.5, co);
        m_lienzo.Linea(xFE, yUp, xBE, yUp, co);
        m_lienzo.Linea(xFE, yUp - 0.5, xBE, yUp - 0.5, co);
        m_lienzo.EstiloRelleno(Lienzo::Relleno::Solido);
        m_lienzo.ColorRelleno(colores::kCuerpo);
        m_lienzo.RellenarDesde(279, 162, co);
        m_lienzo.EstiloRelleno(Lienzo::Relleno::Transparente);
        m_lienzo.Elipse(230, 100, Dividir(hs, ey) * ex, co, A);
        m_lienzo.Linea(227, 100, 233, 100, co);
        m_lienzo.Linea(230, 97, 230, 104, co);
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
