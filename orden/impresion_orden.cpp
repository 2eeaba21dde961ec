#include "impresion_orden.h"

#include "controles.h"
#include "numero_trabajo.h"

namespace {

OrdenTrabajo numerada(OrdenTrabajo orden, const QDateTime& momento)
{
    orden.numero = NumeroTrabajoPorFecha(momento);
    orden.fechaHora = FechaHoraOrden(momento);
    return orden;
}

} // namespace

ImpresionOrden::ImpresionOrden(const EstadoDiseno& estado, const Pantalla& frmVantora, const Perfil& perfil,
                               Dialogos& dialogos)
    : m_estado(estado), m_diseno(frmVantora), m_perfil(perfil), m_dialogos(dialogos)
{
}

std::optional<OrdenTrabajo> ImpresionOrden::DelDiseno(const QDateTime& momento)
{
    // The design is what the result boxes show: empty before any
    // calculation and after "Limpiar".
    if (m_diseno.Texto(ctl::Tx_PcurvaExt).empty()) {
        m_dialogos.Mensaje(kTitulo, kSinCalculo, Icono::Informacion);
        return std::nullopt;
    }
    if (m_estado.CalculoRecuperado == 1) {
        m_dialogos.Mensaje(kTitulo, kRecuperado, Icono::Exclamacion);
        return std::nullopt;
    }
    return numerada(OrdenDelCalculo(m_estado), momento);
}

std::optional<OrdenTrabajo> ImpresionOrden::DeGraficos(const QDateTime& momento)
{
    const std::optional<Perfil::Dibujo>& dibujo = m_perfil.UltimoDibujo();
    if (!dibujo) {
        m_dialogos.Mensaje(kTitulo, kSinDibujo, Icono::Informacion);
        return std::nullopt;
    }
    // The saved design drawn by "Graficar" or "Reset" is its record's; a
    // varied one is the design state's at the diameter drawn.
    if (dibujo->registro)
        return numerada(OrdenDelRegistro(*dibujo->registro), momento);
    return numerada(OrdenDelVariado(m_estado, dibujo->diametro, dibujo->pisos), momento);
}
