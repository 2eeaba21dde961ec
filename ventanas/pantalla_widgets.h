#pragma once

#include "pantalla.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

// A window's controls reached by name for the engine: line edits, combo
// boxes, plain text boxes, labels, scroll bars and check boxes. A window
// registers its controls as it builds them. Names it does not hold are
// ignored, so a stray name can never bring a window down.
class PantallaWidgets : public Pantalla {
public:
    PantallaWidgets() = default;

    // The window the controls belong to, shown and hidden as a whole.
    void PonerVentana(QWidget* ventana) { m_ventana = ventana; }
    QWidget* ventana() const { return m_ventana; }
    void Registrar(QWidget* control);
    QWidget* Control(std::string_view nombre) const;
    template <class T>
    T* Control(std::string_view nombre) const
    {
        return qobject_cast<T*>(Control(nombre));
    }

    // Runs before every call: a window that loads on first use loads here.
    void AntesDeUsar(std::function<void()> cargar) { m_cargar = std::move(cargar); }

    std::string Texto(std::string_view control) const override;
    void PonerTexto(std::string_view control, std::string_view texto) override;
    void PonerColorTexto(std::string_view control, Color color) override;
    void PonerVisible(std::string_view control, bool visible) override;
    bool Visible(std::string_view control) const override;
    void AgregarALista(std::string_view control, std::string_view elemento) override;
    void Enfocar(std::string_view control) override;
    int Valor(std::string_view control) const override;
    bool PonerValor(std::string_view control, int valor) override;
    int Minimo(std::string_view control) const override;
    int Maximo(std::string_view control) const override;
    void PonerMinimo(std::string_view control, int valor) override;
    void PonerMaximo(std::string_view control, int valor) override;
    void MostrarVentana() override;
    void OcultarVentana() override;

private:
    QWidget* buscar(std::string_view nombre) const;

    QPointer<QWidget> m_ventana;
    QHash<QString, QPointer<QWidget>> m_controles;
    std::function<void()> m_cargar;
};
