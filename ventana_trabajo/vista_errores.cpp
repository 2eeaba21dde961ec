#include "vista_errores.h"

VistaErrores::VistaErrores(QWidget* padre) : VistaPintada(padre)
{
    setObjectName(QStringLiteral("VistaErrores"));
    setToolTip(QStringLiteral("Error de la potencia en uso frente a la receta, en cada dirección de la mirada."));
    m_mapa.PonerLetra(font());
}

void VistaErrores::Mostrar(const trabajos::Contestacion& c)
{
    m_mapa.Poner(c);
    Renovar();
}

void VistaErrores::Limpiar() { Mostrar(trabajos::Contestacion{}); }
