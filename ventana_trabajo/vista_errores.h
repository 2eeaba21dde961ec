#pragma once

#include "mapa_errores.h"
#include "vista_pintada.h"

// The job window's second picture: the errors of both lenses as worn over
// the field of gaze.
class VistaErrores : public VistaPintada {
    Q_OBJECT

public:
    explicit VistaErrores(QWidget* padre = nullptr);

    void Mostrar(const trabajos::Contestacion& c);
    void Limpiar();
    const MapaErrores& Mapa() const { return m_mapa; }

protected:
    void pintar(QPainter& p, const QRectF& area) const override { m_mapa.Dibujar(p, area); }
    void ponerLetra(const QFont& letra) override { m_mapa.PonerLetra(letra); }

private:
    MapaErrores m_mapa;
};
