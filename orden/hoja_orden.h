#pragma once

#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QString>
#include <string>

class QPageLayout;
class QPainter;

// What every ticket's page shares: the painter in millimetres, the type, the
// job number in type and in bars, and the bar that checks the printed scale.

inline const QColor kTintaOrden(0, 0, 0);
// Only a lens's true-size outline is drawn in this blue.
inline const QColor kContornoOrden(0, 60, 170);
inline const QColor kCuerpoOrden(200, 220, 255);
inline const QColor kCotaOrden(170, 0, 0);
inline const QColor kGrisOrden(90, 90, 90);

// DejaVu Sans, the installed face the page is laid out for.
QFont FuenteOrden(double puntos, bool negrita = false);

// The painter with its unit set to the millimetre from the page's corner,
// until the sheet goes out of scope. Text is set in points on the device
// itself, so that type keeps its size whatever the resolution.
class HojaOrden {
public:
    HojaOrden(QPainter& p, const QPageLayout& hoja);
    ~HojaOrden();
    HojaOrden(const HojaOrden&) = delete;
    HojaOrden& operator=(const HojaOrden&) = delete;

    QPainter& pintor() { return m_p; }
    // The whole page, in millimetres.
    QSizeF Tamano() const { return m_tamano; }

    double Ancho(const QString& texto, const QFont& f) const;
    // The text cut with an ellipsis to fit the width.
    QString Recortado(const QString& texto, const QFont& f, double ancho) const;
    // A line of text on its baseline at y, starting, ending or centred at x.
    void Texto(double x, double y, const QString& texto, const QFont& f, Qt::Alignment donde = Qt::AlignLeft,
               const QColor& color = kTintaOrden);
    // Text wrapped within a width from its top-left corner; returns its height.
    double Parrafo(double x, double y, double ancho, const QString& texto, const QFont& f);
    void Linea(double x1, double y1, double x2, double y2, const QColor& color, double grosor);

private:
    QPainter& m_p;
    double m_x; // device units per millimetre
    double m_y;
    QSizeF m_tamano;
};

// "Trabajo N" in type and as a Code 128 barcode below it, ending at the
// right edge; a number the barcode cannot carry is said so instead.
void DibujarNumeroOrden(HojaOrden& h, double derecha, double arriba, const std::string& numero);

// Fifty millimetres with a tick every ten, and its caption, from its left end
// on the baseline y: a ruler on the paper tells whether the page was printed
// at its size.
void DibujarEscalaOrden(HojaOrden& h, double izquierda, double y);
