#include "modificacion_diseno.h"

#include "colores_graficos.h"
#include "controles.h"
#include "formatos.h"
#include "mensajes_graficos.h"
#include "redondeo.h"
#include "reglas_laboratorio.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

using namespace mensajes_graficos;
using namespace laboratorio;

namespace {

// The whole number nearest to x, halves to the even neighbour; nothing when
// no scroll bar could hold it.
std::optional<int> entero(double x)
{
    const double r = std::nearbyint(x);
    if (!std::isfinite(r) || r < INT_MIN || r > INT_MAX)
        return std::nullopt;
    return static_cast<int>(r);
}

} // namespace

ModificacionDiseno::ModificacionDiseno(EstadoDiseno& estado, Motor& motor, Perfil& perfil, Pantalla& frmGraficos,
                                       Dialogos& dialogos, Catalogo& catalogo, const CarpetaDatos& carpeta)
    : m_estado(estado),
      m_motor(motor),
      m_perfil(perfil),
      m_graficos(frmGraficos),
      m_dialogos(dialogos),
      m_catalogo(catalogo),
      m_carpeta(carpeta)
{
}

void ModificacionDiseno::SSCommandGraficar_Click()
{
    dibujarGuardado();
    EstadoDiseno& e = m_estado;
    // While the bars are brought to the design, their handlers only recalculate.
    e.ScrollActivo = 0;
    const std::optional<int> base = entero(e.CurvaBase * 8.0);
    if (!base || !m_graficos.PonerValor(ctlg::HScroll_ModificoBase, *base))
        return;
    const std::optional<int> diametro = entero(e.DiametroInicial);
    if (!diametro || !m_graficos.PonerValor(ctlg::HScroll_ModificoDiametro, *diametro))
        return;
    if (!m_graficos.PonerValor(ctlg::HScroll_ModificoIndice, 1))
        return;
    e.ScrollActivo = 1;
}

void ModificacionDiseno::SSCommandGraficar_KeyPress(int) { dibujarGuardado(); }

void ModificacionDiseno::dibujarGuardado()
{
    EstadoDiseno& e = m_estado;
    m_perfil.DibujarPerfil(e.EscalaHorizontal, e.EscalaVertical, e.AspectoPantalla);
}

void ModificacionDiseno::ocultarDinamicos()
{
    for (const std::string_view control : ctlg::kDinamicos)
        m_graficos.PonerVisible(control, false);
}

void ModificacionDiseno::Form_Load()
{
    m_graficos.PonerTexto(ctlg::SalidaTxt, kInicioVentana);
    ocultarDinamicos();
}

void ModificacionDiseno::SSCommand1_Click()
{
    ocultarDinamicos();
    dibujarGuardado();
}

void ModificacionDiseno::SSCommand2_Click() { SSCommand1_Click(); }

void ModificacionDiseno::SSCommand3_Click()
{
    // The "Indice" page's Reset also blanks the message line.
    m_graficos.PonerTexto(ctlg::SalidaTxt, " ");
    SSCommand1_Click();
}

void ModificacionDiseno::SSTab_Modifico_GotFocus()
{
    m_graficos.PonerTexto(ctlg::Tx_ModificoIndice, TextoPlano(m_estado.IndiceMaterial));
}

void ModificacionDiseno::aconsejar(std::string_view texto, Color color)
{
    m_graficos.PonerColorTexto(ctlg::SalidaTxt, color);
    m_graficos.PonerTexto(ctlg::SalidaTxt, texto);
}

// The window's lens at a diameter (mm): its centre thickness at the window's
// base, then its faces, so that what is drawn, weighed and photographed is
// one lens. The routines work on copies of the prescription's edge, power
// and diameter: a recovery's sample lens stays in this window, and neither
// changes the figures the design window calculates from nor blocks its save.
void ModificacionDiseno::resolverLente(double diametro)
{
    EstadoDiseno& e = m_estado;
    const int recuperado = e.CalculoRecuperado;
    Numero diametroM = diametro / 1000.0;
    Numero borde = e.EspesorBorde;
    Numero poder = e.PoderVertice;
    Numero diametroCaras = diametro;
    e.CurvaBaseCalculo = e.CurvaBaseActual;
    e.PoderVerticeCalculo = e.PoderVertice;
    m_motor.CalculoLente(e.CurvaBaseCalculo, diametroM, borde, e.IndiceMaterial, e.PoderVerticeCalculo, e.ErrorPoder,
                         e.PoderInterno1523Calc, e.PoderExternoCalc, e.PoderInternoCalc, e.SagitaExterna,
                         e.EspesorCentralM);
    e.EspesorCentral = e.EspesorCentralM * 1000.0;
    m_motor.CalculoCaras(e.CurvaBaseActual, e.IndiceMaterial, e.EspesorCentral, poder, diametroCaras);
    e.CalculoRecuperado = recuperado;
}

bool ModificacionDiseno::redibujar(Numero& indice, Numero& diametro)
{
    EstadoDiseno& e = m_estado;
    return m_perfil.RedibujarPerfil(e.PoderExterno, e.PoderInterno, indice, e.EspesorCentral, e.PoderVertice, diametro,
                                    e.Densidad, e.EscalaHorizontal, e.EscalaVertical, e.AspectoPantalla);
}

void ModificacionDiseno::HScroll_ModificoBase_Change()
{
    EstadoDiseno& e = m_estado;
    e.CurvaBaseActual = m_graficos.Valor(ctlg::HScroll_ModificoBase) / 8.0;
    m_graficos.PonerTexto(ctlg::Tx_ModificoBase, TextoPlano(e.CurvaBaseActual));
    // "Memoria" keeps the diameter chosen on its tab; otherwise the design's.
    Numero& diametro = m_graficos.Valor(ctlg::Check_Memoria) == 1 ? e.DiametroModificado : e.DiametroInicial;
    resolverLente(diametro);
    if (e.ScrollActivo != 1)
        return;

    if (BaseCorriente(e.CurvaBaseActual))
        aconsejar(kBaseCorriente, colores::kVerdeClaro);
    else
        aconsejar(kBaseEspecial, colores::kGrisClaro);

    // A front sphere too steep for the chosen diameter: the bar stops here.
    if (LenteMuyCurva(e.RadioExterno * 1000.0, e.DiametroModificado)) {
        if (const std::optional<int> tope = entero(e.CurvaBaseActual * 8.0))
            m_graficos.PonerMaximo(ctlg::HScroll_ModificoBase, *tope);
        m_dialogos.Mensaje(kTituloMuyCurva, std::string(kTextoMuyCurva) + TextoPlano(e.CurvaBase), Icono::Informacion);
        return;
    }
    m_graficos.PonerTexto(ctlg::Tx_CurvaBase_Diametro, TextoPlano(diametro));
    redibujar(e.IndiceMaterial, diametro);
}

void ModificacionDiseno::HScroll_ModificoDiametro_Change()
{
    EstadoDiseno& e = m_estado;
    const int d = m_graficos.Valor(ctlg::HScroll_ModificoDiametro);
    m_graficos.PonerMinimo(ctlg::HScroll_ModificoDiametro, 10);
    e.DiametroModificado = d;
    m_graficos.PonerTexto(ctlg::Tx_ModificoDiametro, TextoPlano(e.DiametroModificado));
    if (e.ScrollActivo != 1)
        return;

    m_graficos.PonerTexto(ctlg::SalidaTxt, "");
    aconsejar(ConsejoDiametro(d), DiametroNormal(d) ? colores::kVerdeClaro : colores::kGrisClaro);

    if (d >= DiametroMaximoFrontal(e.IndiceMaterial, e.PoderExterno)) {
        m_dialogos.Mensaje(kTituloDiametro, kTextoDiametro, Icono::Informacion);
        m_graficos.PonerMaximo(ctlg::HScroll_ModificoDiametro, d);
    } else {
        resolverLente(d);
        redibujar(e.IndiceMaterial, e.DiametroModificado);
    }
    // A new diameter releases a base curve locked as too steep, up to the
    // bar's own 25 D: no blank is made steeper.
    m_graficos.PonerMaximo(ctlg::HScroll_ModificoBase, 200);
}

void ModificacionDiseno::HScroll_ModificoIndice_Change()
{
    EstadoDiseno& e = m_estado;
    const long long cantidad = m_catalogo.Cantidad();
    m_graficos.PonerMaximo(ctlg::HScroll_ModificoIndice,
                           static_cast<int>(std::clamp<long long>(cantidad, INT_MIN, INT_MAX)));
    if (e.ScrollActivo != 1)
        return;

    e.IdMaterial = std::to_string(m_graficos.Valor(ctlg::HScroll_ModificoIndice));
    m_motor.BuscarMaterialPorId(e.IdMaterial, e.NombreMaterial, e.IndiceMaterial, e.Densidad);
    m_graficos.PonerTexto(ctlg::Tx_Indice_Material, e.NombreMaterial);
    m_graficos.PonerTexto(ctlg::Tx_CurvaBase_Material, e.NombreMaterial);
    e.IndiceScroll = e.IndiceMaterial;
    m_graficos.PonerTexto(ctlg::Tx_ModificoIndice, TextoPlano(e.IndiceScroll));

    e.IndiceMaterial = e.IndiceScroll;
    resolverLente(e.DiametroModificado);

    if (MaterialIncompatible(e.RadioExterno * 1000.0, e.DiametroModificado)) {
        m_dialogos.Mensaje(kTituloMaterial, kTextoMaterial, Icono::Informacion);
        e.NombreMaterial = "  ";
        return;
    }
    redibujar(e.IndiceScroll, e.DiametroModificado);
}

bool ModificacionDiseno::Form_MouseMove(float X, float Y)
{
    EstadoDiseno& e = m_estado;
    // Distances to the front view's centre in millimetres, as singles.
    const float dx =
        static_cast<float>(Redondear2(std::fabs(Redondear2(X) - 230.0) / static_cast<double>(e.EscalaHorizontal)));
    const float dy =
        static_cast<float>(Redondear2(std::fabs(Redondear2(Y) - 100.0) / static_cast<double>(e.EscalaVertical)));
    float r = std::sqrt(dx * dx + dy * dy);
    const bool cruz = std::isfinite(r) && r < 45.0f;
    // Without a scale there is no distance to read: nothing is shown.
    if (!std::isfinite(r)) {
        if (m_graficos.Visible(ctlg::Text2))
            m_graficos.PonerTexto(ctlg::Text2, "");
        return cruz;
    }
    if (m_graficos.Visible(ctlg::Text2))
        m_motor.EspesorEnCursor(e.CurvaBase, e.IndiceMaterial, e.EspesorCentralInicial, e.PoderVertice,
                                e.DiametroInicial, r);
    else
        m_motor.EspesorEnCursorDinamico(e.CurvaBaseActual, e.PoderInterno, e.IndiceMaterial, e.EspesorCentral,
                                        e.PoderVertice, e.DiametroModificado, r);
    return cruz;
}
