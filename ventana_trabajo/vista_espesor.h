#pragma once

#include "mapa_espesor.h"
#include "vista_pintada.h"

#include <optional>

// The job window's picture: both lenses coloured by thickness, and, with the
// mouse over a lens, the thickness under the cursor; a mouse move only reads.
class VistaEspesor : public VistaPintada {
    Q_OBJECT

public:
    explicit VistaEspesor(QWidget* padre = nullptr);

    void Mostrar(const trabajos::Contestacion& c);
    void Limpiar();
    // "Espesor en el cursor (derecho): 3.42 mm", or empty off the lenses.
    QString Lectura() const { return m_lectura; }
    const MapaEspesor& Mapa() const { return m_mapa; }

signals:
    void LecturaCambiada(const QString& lectura);

protected:
    void pintar(QPainter& p, const QRectF& area) const override { m_mapa.Dibujar(p, area); }
    void ponerLetra(const QFont& letra) override { m_mapa.PonerLetra(letra); }
    void mouseMoveEvent(QMouseEvent* evento) override;
    void leaveEvent(QEvent* evento) override;

private:
    void leer(std::optional<QPointF> donde);

    MapaEspesor m_mapa;
    QString m_lectura;
    std::optional<QPointF> m_raton;
};
