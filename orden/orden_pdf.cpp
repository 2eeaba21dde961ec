#include "orden_pdf.h"

#include "archivos.h"
#include "dibujar_orden.h"
#include "ruta_legible.h"
#include "texto_qt.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <system_error>

QByteArray PdfA4(const QString& titulo, const std::function<void(QPainter&, const QPageLayout&)>& dibujar)
{
    QBuffer documento;
    documento.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&documento);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        pdf.setResolution(1200);
        pdf.setTitle(titulo);
        pdf.setCreator(QStringLiteral("Vantora"));
        QPainter pintor(&pdf);
        dibujar(pintor, pdf.pageLayout());
    }
    return documento.data();
}

QByteArray OrdenPdf(const OrdenTrabajo& orden)
{
    return PdfA4(QStringLiteral("Orden de trabajo ") + Q(orden.numero),
                 [&](QPainter& pintor, const QPageLayout& pagina) { DibujarOrden(pintor, pagina, orden); });
}

bool GrabarOrdenPdf(const std::filesystem::path& archivo, const OrdenTrabajo& orden, std::string& error)
{
    const std::string nombre = "No se pudo grabar la orden de trabajo en " + RutaLegible(archivo) + ": ";
    std::filesystem::path carpeta = archivo.parent_path();
    if (carpeta.empty())
        carpeta = ".";
    std::error_code ec;
    if (!std::filesystem::is_directory(carpeta, ec)) {
        error = nombre + "la carpeta " + RutaLegible(carpeta) + " no existe.";
        return false;
    }
    const QByteArray documento = OrdenPdf(orden);
    std::string motivo;
    if (!ReemplazarArchivo(archivo, std::string_view(documento.constData(), documento.size()), motivo)) {
        error = nombre + motivo + ".";
        return false;
    }
    return true;
}
