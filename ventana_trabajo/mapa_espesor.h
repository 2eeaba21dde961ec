#pragma once

#include "apariencia_mapas.h"
#include "etiquetas_dcs.h"
#include "receta.h"
#include "responder_trabajo.h"

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class QPainter;

// The picture of a job's two lenses as the wearer's glasses are seen from the
// front: the right eye's lens on the viewer's left, both in their outline at
// one scale, coloured by thickness on one shared scale, with the optical and
// box centres, the thinnest and thickest edge, and under each lens its
// cross-section along the two principal meridians. Plain painting, no
// widgets: the job window shows it and tests read its pixels offscreen.
class MapaEspesor {
public:
    struct Lectura {
        dcs::Lado lado;
        lente::Punto punto; // mm about the optical centre
        double espesor; // mm
    };

    // A text of the picture and the box it is drawn in.
    using Rotulo = mapas::Rotulo;

    void Poner(const trabajos::Contestacion& c);
    // The font of every text; the layout follows its metrics.
    void PonerLetra(const QFont& letra) { m_letra = letra; }

    void Dibujar(QPainter& p, const QRectF& area) const;
    // The thickness under a pixel of the picture; none outside a lens.
    std::optional<Lectura> EspesorEn(QPointF pixel, const QRectF& area) const;
    // Where a point of an eye's lens is drawn; none when that eye has no lens.
    std::optional<QPointF> PixelDe(dcs::Lado lado, lente::Punto p, const QRectF& area) const;
    // Every text of the picture, where it goes.
    std::vector<Rotulo> Rotulos(const QRectF& area) const;

private:
    // The lens cut along a meridian through the optical centre, from edge to
    // edge of the outline; the direction `angulo` is drawn to the right.
    struct Seccion {
        double angulo = 0;
        QString titulo;
        bool hay = false;
        double desde = 0, hasta = 0; // mm from the optical centre along the meridian
        std::vector<double> frente, dorso; // depth of each face behind the front vertex, mm
    };
    struct Ojo {
        enum class Estado { SinPedido, Fallido, Lente };
        Estado estado = Estado::SinPedido;
        QString falla;
        std::vector<lente::Punto> borde;
        std::optional<lente::LenteTorica> lente;
        double centro = 0; // thickness at the optical centre
        lente::Punto centroCaja;
        double ancho = 0, alto = 0; // the outline's box
        lente::Punto delgado, grueso;
        double eDelgado = 0, eGrueso = 0;
        std::optional<lente::PuntoEspesor> interior; // the thinnest point inside, off the centre
        double minimo = 0, maximo = 0; // over the whole lens, for the colour scale
        std::array<Seccion, 2> secciones;
    };
    struct Disposicion {
        QRectF area;
        std::array<QRectF, 2> cabecera; // the eye's name
        std::array<QRectF, 2> columna; // everything of an eye below its name
        std::array<QRectF, 2> mapa;
        std::array<std::array<QRectF, 2>, 2> seccion; // title, profile and values of each meridian
        double escala = 0; // px per mm of the maps
        double escalaSeccion = 0; // px per mm of the sections, across and in depth
        double alturaPerfil = 0;
        bool sinSecciones = false;
        QRectF barra; // the colour legend
        QRectF clave; // what the marks mean
        int marcas = 0; // figures along the legend
    };

    static void medir(Ojo& ojo, const trabajos::OjoResuelto& resuelto);
    Disposicion disponer(const QRectF& area) const;
    std::vector<Rotulo> rotular(const Disposicion& d) const;
    QPointF pixel(const Disposicion& d, int ojo, lente::Punto p) const;
    QRectF lugarPerfil(const Disposicion& d, int ojo, int meridiano) const;
    void dibujarLente(QPainter& p, const Disposicion& d, int ojo) const;
    void dibujarSeccion(QPainter& p, const Disposicion& d, int ojo, int meridiano) const;
    void dibujarLeyenda(QPainter& p, const Disposicion& d) const;
    double fraccion(double espesor) const { return (espesor - m_minimo) / (m_maximo - m_minimo); }
    QString mm(double espesor) const;

    std::array<Ojo, 2> m_ojos;
    bool m_hayLente = false;
    double m_minimo = 0, m_maximo = 1; // the colour scale, shared by both eyes
    QFont m_letra;
};
