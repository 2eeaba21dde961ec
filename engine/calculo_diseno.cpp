#include "controles.h"
#include "formatos.h"
#include "motor.h"
#include "redondeo.h"

Motor::Motor(EstadoDiseno& estado, Pantalla& frmVantora, Pantalla& frmGraficos, Dialogos& dialogos, Catalogo& catalogo)
    : m_estado(estado), m_frm(frmVantora), m_graficos(frmGraficos), m_dialogos(dialogos), m_catalogo(catalogo)
{
}

bool Motor::CalcularCompleto()
{
    EstadoDiseno& e = m_estado;
    const bool baseVacia = m_frm.Texto(ctl::Tx_BaseCrown).empty();
    // Refuse before anything changes, so that the design stays as it was.
    if (baseVacia && e.PoderVertice <= 0.0 && !poderPermiteSugerir())
        return false;
    e.CalculoRecuperado = 0;

    if (e.MaterialDeBase != "Si") {
        const std::string material = m_frm.Texto(ctl::Combo_Materiales);
        // Unreachable is not missing: the previous material's index would be
        // filed under this name.
        if (!BuscarMaterialPorNombre(material, e.IndiceMaterial, e.Densidad) && !m_catalogo.Inaccesible().empty())
            return false;
        e.NombreMaterial = material;
    } else {
        m_frm.PonerVisible(ctl::Text_MaterialBaseDatos, true);
        m_frm.PonerTexto(ctl::Text_MaterialBaseDatos, e.NombreMaterial);
        m_frm.AgregarALista(ctl::Combo_Materiales, e.NombreMaterial);
    }

    if (baseVacia) {
        if (!SugerirBase(e.CurvaBaseCalculo, e.PoderVertice, e.DiametroInicial, e.DiametroM))
            return false;
        e.CurvaBase = e.CurvaBaseCalculo;
    }

    e.PoderVerticeCalculo = e.PoderVertice;
    e.CurvaBaseCalculo = e.CurvaBase;
    e.DiametroM = e.DiametroInicial / 1000.0;

    // A recovery's sample lens must not take the place of the edge the box
    // shows: the next calculation starts from the optician's figure again.
    Numero borde = e.EspesorBorde;
    CalculoLente(e.CurvaBaseCalculo, e.DiametroM, borde, e.IndiceMaterial, e.PoderVerticeCalculo, e.ErrorPoder,
                 e.PoderInterno1523Calc, e.PoderExternoCalc, e.PoderInternoCalc, e.SagitaExterna, e.EspesorCentralM);
    e.EspesorCentral = e.EspesorCentralM * 1000.0;

    // The solved thickness is shown once; later calculations leave the box
    // for the optician until the form is cleared.
    if (e.EspesorMostrado == 0) {
        m_frm.PonerTexto(ctl::Tx_EspesorCentral, TextoPlano(Redondear2(e.EspesorCentralM * 1000.0)));
        e.EspesorCentralInicial = e.EspesorCentral;
        e.EspesorMostrado = 1;
    }

    CalculoCaras(e.CurvaBase, e.IndiceMaterial, e.EspesorCentral, e.PoderVertice, e.DiametroInicial);
    mostrarResultados();
    e.CurvaBaseActual = e.CurvaBase;
    m_frm.Enfocar(ctl::SSCommandGuardar);
    return true;
}

void Motor::RecalcularSuperficies()
{
    EstadoDiseno& e = m_estado;
    if (!BuscarMaterialPorNombre(m_frm.Texto(ctl::Combo_Materiales), e.IndiceMaterial, e.Densidad) &&
        !m_catalogo.Inaccesible().empty())
        return;
    e.CalculoRecuperado = 0;
    CalculoCaras(e.CurvaBase, e.IndiceMaterial, e.EspesorCentral, e.PoderVertice, e.DiametroInicial);
    mostrarResultados();
    e.CurvaBaseActual = e.CurvaBase;
    m_frm.Enfocar(ctl::SSCommandGuardar);
}

void Motor::mostrarResultados()
{
    const EstadoDiseno& e = m_estado;
    m_frm.PonerTexto(ctl::Tx_PcurvaExt, Formato3(e.PoderExterno));
    m_frm.PonerTexto(ctl::Tx_PcurvaInt, Formato3(e.PoderInterno));
    m_frm.PonerTexto(ctl::Tx_RadioIndice, Formato3(e.RadioInterno * 1000.0));
    m_frm.PonerTexto(ctl::Tx_Radio1523, Formato3(e.PoderInterno1523));
}
