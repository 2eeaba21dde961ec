#include "vista_errores.h"

VistaErrores::VistaErrores(QWidget* padre) : VistaPintada(padre)
{
    setObjectName(QStringLiteral("VistaErrores"));
    setToolTip(QStringLiteral("Error de la potencia en uso frente a la receta, en cada dirección de la mirada."));
    m_mapa.PonerLetra(font());
}

void VistaErrores::Mostrar(const trabajos::Contestacion& c)
{
    m_pendiente = c;
    Renovar();
}

const MapaErrores& VistaErrores::Mapa() const
{
    if (m_pendiente) {
        m_mapa.Poner(*m_pendiente);
        m_pendiente.reset();
    }
    return m_mapa;
}

void VistaErrores::Limpiar() { Mostrar(trabajos::Contestacion{}); }
