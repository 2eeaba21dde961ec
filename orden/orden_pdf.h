#pragma once

#include "orden_trabajo.h"

#include <QByteArray>
#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

// A one-page A4 PDF document, without margins, at 1200 dots per inch: `dibujar`
// paints it on the page whose layout it is given.
QByteArray PdfA4(const QString& titulo, const std::function<void(QPainter&, const QPageLayout&)>& dibujar);

// The ticket as a one-page A4 PDF document.
QByteArray OrdenPdf(const OrdenTrabajo& orden);

// Writes that document beside the file and renames it over it, so that no
// half-written ticket is ever left. Returns false with a Spanish reason that
// names the file.
bool GrabarOrdenPdf(const std::filesystem::path& archivo, const OrdenTrabajo& orden, std::string& error);
