#include "pantalla_widgets.h"

#include "colores_qt.h"
#include "texto_qt.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

void PantallaWidgets::Registrar(QWidget* control) { m_controles.insert(control->objectName(), control); }

QWidget* PantallaWidgets::Control(std::string_view nombre) const { return m_controles.value(Q(nombre)); }

QWidget* PantallaWidgets::buscar(std::string_view nombre) const
{
    if (m_cargar)
        m_cargar();
    return Control(nombre);
}

std::string PantallaWidgets::Texto(std::string_view nombre) const
{
    QWidget* w = buscar(nombre);
    if (auto* t = qobject_cast<QLineEdit*>(w))
        return S(t->text());
    if (auto* c = qobject_cast<QComboBox*>(w))
        return S(c->currentText());
    if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        return S(p->toPlainText());
    if (auto* l = qobject_cast<QLabel*>(w))
        return S(l->text());
    return {};
}

void PantallaWidgets::PonerTexto(std::string_view nombre, std::string_view texto)
{
    QWidget* w = buscar(nombre);
    if (auto* t = qobject_cast<QLineEdit*>(w)) {
        t->setText(Q(texto));
        // The start of a long text is what the user reads first.
        t->setCursorPosition(0);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        p->setPlainText(Q(texto));
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(Q(texto));
    }
}

void PantallaWidgets::PonerColorTexto(std::string_view nombre, Color color)
{
    if (QWidget* w = buscar(nombre))
        ColorearTexto(w, AQColor(color));
}

void PantallaWidgets::PonerVisible(std::string_view nombre, bool visible)
{
    if (QWidget* w = buscar(nombre))
        w->setVisible(visible);
}

bool PantallaWidgets::Visible(std::string_view nombre) const
{
    // A control keeps its own visibility while its window is hidden.
    QWidget* w = buscar(nombre);
    return w && !w->isHidden();
}

void PantallaWidgets::AgregarALista(std::string_view nombre, std::string_view elemento)
{
    auto* c = qobject_cast<QComboBox*>(buscar(nombre));
    if (!c)
        return;
    const int actual = c->currentIndex();
    c->addItem(Q(elemento));
    // Adding to the list never changes the entry shown.
    c->setCurrentIndex(actual);
}

void PantallaWidgets::Enfocar(std::string_view nombre)
{
    if (QWidget* w = buscar(nombre))
        w->setFocus(Qt::OtherFocusReason);
}

int PantallaWidgets::Valor(std::string_view nombre) const
{
    QWidget* w = buscar(nombre);
    if (auto* s = qobject_cast<QAbstractSlider*>(w))
        return s->value();
    if (auto* c = qobject_cast<QCheckBox*>(w))
        return c->isChecked() ? 1 : 0;
    return 0;
}

bool PantallaWidgets::PonerValor(std::string_view nombre, int valor)
{
    QWidget* w = buscar(nombre);
    if (auto* s = qobject_cast<QAbstractSlider*>(w)) {
        if (valor < s->minimum() || valor > s->maximum())
            return false;
        s->setValue(valor);
        return true;
    }
    if (auto* c = qobject_cast<QCheckBox*>(w)) {
        if (valor != 0 && valor != 1)
            return false;
        c->setChecked(valor == 1);
        return true;
    }
    return false;
}

int PantallaWidgets::Minimo(std::string_view nombre) const
{
    auto* s = qobject_cast<QAbstractSlider*>(buscar(nombre));
    return s ? s->minimum() : 0;
}

int PantallaWidgets::Maximo(std::string_view nombre) const
{
    auto* s = qobject_cast<QAbstractSlider*>(buscar(nombre));
    return s ? s->maximum() : 0;
}

void PantallaWidgets::PonerMinimo(std::string_view nombre, int valor)
{
    if (auto* s = qobject_cast<QAbstractSlider*>(buscar(nombre)))
        s->setMinimum(valor);
}

void PantallaWidgets::PonerMaximo(std::string_view nombre, int valor)
{
    if (auto* s = qobject_cast<QAbstractSlider*>(buscar(nombre)))
        s->setMaximum(valor);
}

void PantallaWidgets::MostrarVentana()
{
    if (m_cargar)
        m_cargar();
    if (m_ventana) {
        m_ventana->show();
        m_ventana->raise();
        // A window that shows a drawing paints it anew once the handler ends.
        m_ventana->update();
    }
}

void PantallaWidgets::OcultarVentana()
{
    // Hiding never loads a window that is not there.
    if (m_ventana)
        m_ventana->hide();
}
