#include "abrir_trabajo.h"

#include <QAction>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

void AgregarAbrirTrabajo(QWidget* ventana, std::function<void(const QString& numero)> abrir)
{
    auto* caja = new QDialog(ventana);
    caja->setObjectName(QStringLiteral("CajaTrabajo"));
    caja->setWindowTitle(QStringLiteral("Abrir trabajo"));
    auto* fila = new QHBoxLayout(caja);
    fila->addWidget(new QLabel(QStringLiteral("Trabajo"), caja));
    auto* numero = new QLineEdit(caja);
    numero->setObjectName(QStringLiteral("Tx_Trabajo"));
    numero->setMaxLength(40);
    fila->addWidget(numero);
    QObject::connect(numero, &QLineEdit::returnPressed, caja, [caja, numero, abrir = std::move(abrir)] {
        const QString texto = numero->text().trimmed();
        if (texto.isEmpty())
            return;
        numero->clear();
        caja->hide();
        abrir(texto);
    });

    auto* accion = new QAction(QStringLiteral("Abrir trabajo…"), ventana);
    accion->setObjectName(QStringLiteral("AbrirTrabajo"));
    accion->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    accion->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(accion, &QAction::triggered, caja, [caja, numero] {
        caja->show();
        caja->raise();
        caja->activateWindow();
        numero->setFocus();
    });
    ventana->addAction(accion);
    ventana->setContextMenuPolicy(Qt::ActionsContextMenu);
}
