#include "campos_diseno.h"

#include "consejos.h"
#include "controles.h"
#include "formatos.h"
#include "validar_numero.h"

using namespace consejos;

CamposDiseno::CamposDiseno(EstadoDiseno& estado, Pantalla& frm, Dialogos& dialogos)
    : m_estado(estado), m_frm(frm), m_dialogos(dialogos)
{
}

bool CamposDiseno::aceptada(std::string_view control)
{
    m_estado.TextoIngresado = m_frm.Texto(control);
    ValidarNumero(m_dialogos, m_estado.TextoIngresado, m_estado.EntradaInvalida, m_estado.MarcaEntrada);
    if (m_estado.EntradaInvalida != "SI")
        return true;
    m_frm.PonerTexto(control, "");
    m_frm.Enfocar(control);
    return false;
}

double CamposDiseno::valor(std::string_view control) const { return LeerNumero(m_frm.Texto(control)); }

void CamposDiseno::aconsejar(std::string_view texto) { m_frm.PonerTexto(ctl::SalidaTxt, texto); }

void CamposDiseno::PoderVertice(bool conEnter)
{
    if (conEnter) {
        if (!aceptada(ctl::Tx_PoderVertice))
            return;
        m_frm.PonerTexto(ctl::Tx_PoderVertice, FormatearPoder(m_frm.Texto(ctl::Tx_PoderVertice)));
    }
    m_estado.PoderVertice = valor(ctl::Tx_PoderVertice);
    m_frm.Enfocar(ctl::Tx_DiametroInicial);
    if (m_estado.PoderVertice < 0) {
        // Only the Enter key's text ends with a period.
        aconsejar(conEnter ? std::string(kPoderNegativo) + "." : std::string(kPoderNegativo));
        m_frm.Enfocar(ctl::Tx_PoderVertice);
    }
    if (m_estado.PoderVertice == 0) {
        aconsejar(kPoderCero);
        m_frm.Enfocar(ctl::Tx_PoderVertice);
    }
    if (m_estado.PoderVertice > 30) {
        aconsejar(kPoderAlto);
        m_frm.Enfocar(ctl::Tx_DiametroInicial);
    }
}

void CamposDiseno::DiametroInicial(bool conEnter)
{
    if (conEnter && !aceptada(ctl::Tx_DiametroInicial))
        return;
    m_estado.DiametroInicial = valor(ctl::Tx_DiametroInicial);
    if (m_estado.DiametroInicial == 0) {
        aconsejar(kDiametroCero);
        m_frm.Enfocar(ctl::Tx_DiametroInicial);
    } else {
        m_frm.Enfocar(ctl::Command_Calcular);
    }
}

void CamposDiseno::BaseCrown(bool conEnter)
{
    if (conEnter) {
        m_estado.MarcaEntrada = 0;
        m_estado.TextoIngresado = m_frm.Texto(ctl::Tx_BaseCrown);
        if (!m_estado.TextoIngresado.empty() && !aceptada(ctl::Tx_BaseCrown))
            return;
    }
    m_estado.CurvaBase = valor(ctl::Tx_BaseCrown);
    // A base of zero typed on purpose means a flat front: the form offers the
    // plano-convex lens, with its warning.
    if (m_estado.MarcaEntrada == 1 && m_estado.CurvaBase == 0) {
        m_estado.CurvaBase = 0.5;
        m_frm.PonerColorTexto(ctl::Tx_BaseCrown, kRojo);
        m_frm.PonerTexto(ctl::Tx_BaseCrown, " Cara Plana");
    }
    if (m_estado.CurvaBase == 0.5)
        aconsejar(kPlanoConvexa);
    m_frm.Enfocar(ctl::Combo_Materiales);
}

void CamposDiseno::EspesorBorde(bool conEnter)
{
    if (conEnter && !aceptada(ctl::Tx_EspesorBorde))
        return;
    m_estado.EspesorBorde = valor(ctl::Tx_EspesorBorde);
    m_frm.Enfocar(ctl::Tx_PoderVertice);
}

void CamposDiseno::EspesorCentral(bool conEnter)
{
    if (conEnter && !aceptada(ctl::Tx_EspesorCentral))
        return;
    m_estado.EspesorCentral = valor(ctl::Tx_EspesorCentral);
    m_frm.Enfocar(ctl::Tx_PoderVertice);
    if (m_estado.EspesorCentral < 1.5) {
        aconsejar(conEnter ? kEspesorDelgado : kEspesorNorma);
        m_frm.Enfocar(ctl::Tx_PoderVertice);
    }
    if (m_estado.EspesorCentral <= 0) {
        aconsejar(kEspesorCero);
        m_frm.Enfocar(ctl::Tx_EspesorCentral);
    }
}

void CamposDiseno::Material()
{
    if (m_frm.Texto(ctl::Combo_Materiales).empty()) {
        aconsejar(kSinMaterial);
        m_frm.Enfocar(ctl::Combo_Materiales);
        return;
    }
    aconsejar("");
    m_frm.Enfocar(ctl::Tx_EspesorBorde);
}
