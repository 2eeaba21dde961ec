#pragma once

#include "mapa_errores.h"
#include "vista_pintada.h"

#include <optional>

// The job window's second picture: the errors of both lenses as worn over
// the field of gaze. Tracing them is most of a change's work, and the
// picture is on a tab of its own: a job is traced when its picture is first
// painted or read, not at every change while the tab is hidden.
class VistaErrores : public VistaPintada {
    Q_OBJECT

public:
    explicit VistaErrores(QWidget* padre = nullptr);

    void Mostrar(const trabajos::Contestacion& c);
    void Limpiar();
    const MapaErrores& Mapa() const;

protected:
    void pintar(QPainter& p, const QRectF& area) const override { Mapa().Dibujar(p, area); }
    void ponerLetra(const QFont& letra) override { m_mapa.PonerLetra(letra); }

private:
    mutable MapaErrores m_mapa;
    mutable std::optional<trabajos::Contestacion> m_pendiente; // shown, not yet traced
};
