#pragma once

#include "orden_trabajo.h"

#include <functional>

class QWidget;

// Qt's print preview of the ticket over the window; printing, the printer,
// a PDF file and the pages are chosen in Qt's own dialogs. The preview is
// window-modal and does not block the caller.
void MostrarVistaPreviaOrden(QWidget* ventana, const OrdenTrabajo& orden);

// Ctrl+P on the window and the entry "Imprimir orden de trabajo…" of its
// context menu run the action. Nothing is added to the window's layout.
void AgregarImprimirOrden(QWidget* ventana, std::function<void()> imprimir);
