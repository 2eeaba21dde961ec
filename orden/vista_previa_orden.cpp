#include "vista_previa_orden.h"

#include "dibujar_orden.h"
#include "texto_qt.h"

#include <QAction>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>

void MostrarVistaPreviaOrden(QWidget* ventana, const OrdenTrabajo& orden)
{
    // The printer lives as long as its preview.
    auto* impresora = new QPrinter(QPrinter::HighResolution);
    impresora->setDocName(QStringLiteral("Orden de trabajo ") + Q(orden.numero));
    auto* vista = new QPrintPreviewDialog(impresora, ventana);
    vista->setObjectName(QStringLiteral("VistaPreviaOrden"));
    vista->setWindowTitle(QStringLiteral("Orden de trabajo ") + Q(orden.numero));
    vista->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(vista, &QObject::destroyed, [impresora] { delete impresora; });
    QObject::connect(vista, &QPrintPreviewDialog::paintRequested, vista, [orden](QPrinter* destino) {
        QPainter pintor(destino);
        DibujarOrden(pintor, destino->pageLayout(), orden);
    });
    vista->open();
}

void AgregarImprimirOrden(QWidget* ventana, std::function<void()> imprimir)
{
    auto* accion = new QAction(QStringLiteral("Imprimir orden de trabajo…"), ventana);
    accion->setObjectName(QStringLiteral("ImprimirOrden"));
    accion->setShortcut(QKeySequence::Print);
    accion->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(accion, &QAction::triggered, ventana, std::move(imprimir));
    ventana->addAction(accion);
    ventana->setContextMenuPolicy(Qt::ActionsContextMenu);
}
