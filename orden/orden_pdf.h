#pragma once

#include "orden_trabajo.h"

#include <QByteArray>
#include <filesystem>
#include <string>

// The ticket as a one-page A4 PDF document.
QByteArray OrdenPdf(const OrdenTrabajo& orden);

// Writes that document beside the file and renames it over it, so that no
// half-written ticket is ever left. Returns false with a Spanish reason that
// names the file.
bool GrabarOrdenPdf(const std::filesystem::path& archivo, const OrdenTrabajo& orden, std::string& error);
