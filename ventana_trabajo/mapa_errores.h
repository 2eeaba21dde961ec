#pragma once

#include "apariencia_mapas.h"
#include "errores_campo.h"
#include "responder_trabajo.h"

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class QPainter;

// The lenses as the wearer looks through them: for each eye, over gaze ±30°
// as seen from the front, the mean error and the astigmatic error of the
// power as worn against the prescription, coloured on one scale with its
// legend in dioptres, and the lens's outline where the line of sight leaves
// it. Plain painting, no widgets: the job window shows it and tests read its
// pixels offscreen.
class MapaErrores {
public:
    // The two maps of an eye.
    enum class Error { Medio = 0, Astigmatico = 1 };

    // A text of the picture and the box it is drawn in.
    using Rotulo = mapas::Rotulo;

    // Traces every eye's errors over the field; an eye without a lens, or
    // whose faces cannot be built, shows why.
    void Poner(const trabajos::Contestacion& c);
    void PonerLetra(const QFont& letra) { m_letra = letra; }

    void Dibujar(QPainter& p, const QRectF& area) const;
    // Where a gaze is drawn on one of an eye's maps; none when that eye has
    // no lens.
    std::optional<QPointF> PixelDe(dcs::Lado lado, Error error, lente::Mirada mirada, const QRectF& area) const;
    // Every text of the picture, where it goes.
    std::vector<Rotulo> Rotulos(const QRectF& area) const;

private:
    struct Ojo {
        enum class Estado { SinPedido, Fallido, Lente };
        Estado estado = Estado::SinPedido;
        QString falla;
        // The errors at each gaze of the grid, row by row from the top; none
        // where the rays miss.
        std::vector<std::optional<lente::ErrorCampo>> rejilla;
        // The outline seen from the centre of rotation, in gaze; a piece
        // ends where an edge point lies beyond the back's reach.
        std::vector<std::vector<lente::Mirada>> contorno;
    };
    struct Disposicion {
        QRectF area;
        std::array<QRectF, 2> cabecera; // the eye's name
        std::array<QRectF, 2> columna; // everything of an eye below its name
        std::array<std::array<QRectF, 2>, 2> titulo; // each map's name
        std::array<std::array<QRectF, 2>, 2> mapa;
        QRectF barra; // the colour legend
        QRectF tituloBarra;
        QRectF clave; // what the picture shows
        std::vector<double> marcas; // the legend's figures, D
    };

    static void trazar(Ojo& ojo, const trabajos::OjoResuelto& resuelto);
    Disposicion disponer(const QRectF& area) const;
    std::vector<Rotulo> rotular(const Disposicion& d) const;
    void dibujarMapa(QPainter& p, const Ojo& ojo, Error error, const QRectF& cuadro) const;
    double anchoLeyenda() const;

    std::array<Ojo, 2> m_ojos;
    double m_escala = 0.25;
    QFont m_letra;
};
