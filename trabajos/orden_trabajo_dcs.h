#pragma once

#include "responder_trabajo.h"

#include <QByteArray>
#include <QPainter>
#include <filesystem>
#include <string>

// The ticket of a stored job: its number as a barcode, and for each eye the
// figures of its answer and the lens's outline at true size, with its
// thinnest and thickest edge points marked, so that the edger's operator
// checks the lens against the paper.
// The same drawn on any page (a printer's, a preview's), from its top left.
void DibujarTrabajo(QPainter& p, const trabajos::Contestacion& c);
QByteArray TrabajoPdf(const trabajos::Contestacion& c);

// Writes that document whole (see ReemplazarArchivo); false with a Spanish
// reason naming the file.
bool GrabarTrabajoPdf(const std::filesystem::path& archivo, const trabajos::Contestacion& c, std::string& error);
