#pragma once

#include "mapa_errores.h"

#include <QImage>
#include <QWidget>

// The job window's second picture: the errors of both lenses as worn over
// the field of gaze. The picture is painted once per job and size.
class VistaErrores : public QWidget {
    Q_OBJECT

public:
    explicit VistaErrores(QWidget* padre = nullptr);

    void Mostrar(const trabajos::Contestacion& c);
    void Limpiar();
    const MapaErrores& Mapa() const { return m_mapa; }

    QSize sizeHint() const override { return {900, 560}; }

protected:
    void paintEvent(QPaintEvent* evento) override;
    void changeEvent(QEvent* evento) override;

private:
    MapaErrores m_mapa;
    QImage m_imagen; // the picture at the widget's size, until the job or the size changes
};
