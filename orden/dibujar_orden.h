#pragma once

#include "orden_trabajo.h"

class QPageLayout;
class QPainter;

// Draws the ticket on one page, A4 or Letter, for the print preview, the
// printer and the PDF file alike. The painter is the page device's; the
// drawing works in millimetres from the page's corner at the device's own
// resolution and never scales to fit, so a ruler on the paper reads the
// lens's real sizes.
void DibujarOrden(QPainter& pintor, const QPageLayout& hoja, const OrdenTrabajo& orden);
