#pragma once

#include "mapa_espesor.h"

#include <QImage>
#include <QWidget>

// The job window's picture: both lenses coloured by thickness, and, with the
// mouse over a lens, the thickness under the cursor. The picture is painted
// once per job and size; a mouse move only reads.
class VistaEspesor : public QWidget {
    Q_OBJECT

public:
    explicit VistaEspesor(QWidget* padre = nullptr);

    void Mostrar(const trabajos::Contestacion& c);
    void Limpiar();
    // "Espesor en el cursor (derecho): 3.42 mm", or empty off the lenses.
    QString Lectura() const { return m_lectura; }
    const MapaEspesor& Mapa() const { return m_mapa; }

    QSize sizeHint() const override { return {900, 560}; }

signals:
    void LecturaCambiada(const QString& lectura);

protected:
    void paintEvent(QPaintEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* evento) override;
    void leaveEvent(QEvent* evento) override;
    void changeEvent(QEvent* evento) override;

private:
    void leer(std::optional<QPointF> donde);

    MapaEspesor m_mapa;
    QImage m_imagen; // the picture at the widget's size, until the job or the size changes
    QString m_lectura;
    std::optional<QPointF> m_raton;
};
