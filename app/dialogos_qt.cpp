#include "dialogos_qt.h"

#include "texto_qt.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Messages carry their line breaks as the files and other programs know them
// (CR LF, sometimes LF CR); on screen each pair is one break.
QString paraMostrar(std::string_view texto)
{
    QString t = Q(texto);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

// A box without a title of its own carries the program's name.
QString tituloDe(std::string_view titulo) { return titulo.empty() ? QCoreApplication::applicationName() : Q(titulo); }

} // namespace

Respuesta DialogosQt::Mensaje(std::string_view titulo, std::string_view texto, Icono icono, Botones botones)
{
    QMessageBox caja(QApplication::activeWindow());
    caja.setWindowTitle(tituloDe(titulo));
    caja.setText(paraMostrar(texto));
    switch (icono) {
    case Icono::Critico:
        caja.setIcon(QMessageBox::Critical);
        break;
    case Icono::Exclamacion:
        caja.setIcon(QMessageBox::Warning);
        break;
    case Icono::Informacion:
        caja.setIcon(QMessageBox::Information);
        break;
    case Icono::Ninguno:
        caja.setIcon(QMessageBox::NoIcon);
        break;
    }
    if (botones != Botones::Aceptar) {
        QPushButton* si = caja.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
        QPushButton* no = caja.addButton(QStringLiteral("No"), QMessageBox::NoRole);
        // Escape is the harmless answer: "No" to a question, going back when
        // there is a way back.
        QPushButton* cancelar = botones == Botones::SiNoCancelar
                                    ? caja.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole)
                                    : nullptr;
        caja.setDefaultButton(si);
        caja.setEscapeButton(cancelar ? cancelar : no);
        caja.exec();
        if (caja.clickedButton() == si)
            return Respuesta::Si;
        return caja.clickedButton() == no ? Respuesta::No : Respuesta::Cancelar;
    }
    QPushButton* aceptar = caja.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
    caja.setDefaultButton(aceptar);
    caja.setEscapeButton(aceptar);
    caja.exec();
    return Respuesta::Aceptar;
}

std::optional<std::string> DialogosQt::PedirTexto(std::string_view pregunta, std::string_view titulo)
{
    QInputDialog caja(QApplication::activeWindow());
    caja.setWindowTitle(tituloDe(titulo));
    caja.setLabelText(Q(pregunta));
    caja.setOkButtonText(QStringLiteral("Aceptar"));
    caja.setCancelButtonText(QStringLiteral("Cancelar"));
    if (caja.exec() != QDialog::Accepted)
        return std::nullopt;
    return S(caja.textValue());
}

void DialogosQt::Beep() { QApplication::beep(); }
