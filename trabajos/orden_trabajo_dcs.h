#pragma once

#include "etiquetas_dcs.h"
#include "responder_trabajo.h"

#include <QByteArray>
#include <filesystem>
#include <string>

class QPageLayout;
class QPainter;

// The ticket of a job, from which the benches make its lenses: its number as
// a barcode and its dates; for each eye the prescription, the centring, the
// frame, the material and the answer's figures (the generator's curves, the
// thicknesses, the lensmeter reading of a compensated lens); and each lens's
// outline at true size about its optical centre, its thinnest and thickest
// edge points marked, so that the edger's operator checks the lens against
// the paper.

// A job as its ticket prints it: as stored, or as the job window holds it
// before it is stored.
struct TrabajoAImprimir {
    std::string pedido; // the request's text
    int formato = dcs::kFormato; // the rules it was written by
    // The answer, for a stored job the stored one read back
    // (trabajos::ContestacionGuardada), never solved again; its number is
    // the one the job is stored under.
    trabajos::Contestacion contestacion;
    std::string creado; // ISO 8601, UTC; both empty for a job not stored
    std::string cambiado;
};

// The ticket on one page, A4 or Letter, for the print preview, the printer
// and the PDF alike, in millimetres from the page's corner at the device's
// own resolution.
void DibujarTrabajo(QPainter& p, const QPageLayout& hoja, const TrabajoAImprimir& t);
// As a one-page A4 PDF document.
QByteArray TrabajoPdf(const TrabajoAImprimir& t);

// Writes that document whole (see ReemplazarArchivo); false with a Spanish
// reason naming the file.
bool GrabarTrabajoPdf(const std::filesystem::path& archivo, const TrabajoAImprimir& t, std::string& error);
