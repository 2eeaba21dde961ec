#pragma once

#include "campos_diseno.h"
#include "carpeta_datos.h"
#include "dialogos.h"
#include "estado_diseno.h"
#include "motor.h"
#include "pantalla_widgets.h"
#include "responder_trabajo.h"

#include <QHash>
#include <QWidget>
#include <functional>

// The design window, where the optician types the prescription and the lens
// choices, calculates, saves the design and leaves the program. Its handlers
// are named after the control and the event; the rules live in CamposDiseno
// and in the engine's Motor, which write back through the window's Pantalla.
// The window registers its controls in that Pantalla as it builds them.
class Frm_Vantora : public QWidget {
    Q_OBJECT

public:
    Frm_Vantora(EstadoDiseno& estado, Motor& motor, PantallaWidgets& pantalla, Dialogos& dialogos,
                const CarpetaDatos& carpeta, QWidget* parent = nullptr);

    // What the window cannot do by itself: open the materials window, draw
    // the saved design, end the program.
    void AlAbrirProductos(std::function<void()> accion) { m_abrirProductos = std::move(accion); }
    void AlGraficar(std::function<void(bool porClic)> accion) { m_graficar = std::move(accion); }
    void AlTerminar(std::function<void()> accion) { m_terminar = std::move(accion); }
    // Asked before the program ends; false keeps it running, as when another
    // window still holds work the user chose to keep.
    void AntesDeTerminar(std::function<bool()> puede) { m_puedeTerminar = std::move(puede); }

    void Form_Load();

    // A stored job scanned into the "Trabajo" box: its eye goes into the
    // boxes as the optician would type it, each box the job does not give
    // left empty, and the design is calculated as "Calcular" does. Without a
    // diameter or a material of the list there is nothing to calculate: the
    // box that lacks it says so and keeps the focus.
    void CargarTrabajo(const std::string& numero, const trabajos::OjoDeDiseno& ojo);
    // The number of the job the boxes hold; empty once "Limpiar" empties them.
    const std::string& Trabajo() const { return m_trabajo; }

    void Tx_PoderVertice_KeyPress(int KeyAscii);
    void Tx_PoderVertice_DblClick();
    void Tx_DiametroInicial_KeyPress(int KeyAscii);
    void Tx_DiametroInicial_DblClick();
    void Tx_BaseCrown_KeyPress(int KeyAscii);
    void Tx_BaseCrown_DblClick();
    void Tx_EspesorBorde_KeyPress(int KeyAscii);
    void Tx_EspesorBorde_DblClick();
    void Tx_EspesorCentral_KeyPress(int KeyAscii);
    void Tx_EspesorCentral_DblClick();
    void Combo_Materiales_KeyPress(int KeyAscii);

    void Command_Calcular_Click();
    void Command_Calcular_KeyPress(int KeyAscii);
    void SSCommandGuardar_Click();
    void SSCommandGuardar_KeyPress(int KeyAscii);
    void SSCommandGraficar_Click();
    void SSCommandGraficar_KeyPress(int KeyAscii);
    void SSCommand_Base_Click();
    void Limpiar_Cmd_Click();
    void Limpiar_Cmd_KeyPress(int KeyAscii);
    void Salir_Cmd_Click();
    void Salir_Cmd_KeyPress(int KeyAscii);

    void SSFrame_CurvaBase_MouseMove();
    void SSFrame_DiametroInicial_MouseMove();
    void SSFrame1_MouseMove();
    void SSFrame2_MouseMove();
    void SSFrame3_MouseMove();
    void SSFrame4_MouseMove();
    void SSFrame5_MouseMove();
    void SSFrame6_MouseMove();
    void SSFrame7_MouseMove();

    void InhabilitarCajas();
    void HabilitarCajas();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void construir();
    QWidget* control(std::string_view nombre) const;
    void guardar();
    void salir();

    EstadoDiseno& m_estado;
    Motor& m_motor;
    PantallaWidgets& m_pantalla;
    Dialogos& m_dialogos;
    const CarpetaDatos& m_carpeta;
    CamposDiseno m_campos;

    QList<QWidget*> m_cajasDeTexto;
    // Event routing: the frames' hints, and the input boxes' Enter key and
    // double-click.
    QHash<QObject*, std::function<void()>> m_pistas;
    struct Caja {
        void (Frm_Vantora::*tecla)(int);
        void (Frm_Vantora::*dobleClic)();
    };
    QHash<QObject*, Caja> m_cajas;

    std::function<void()> m_abrirProductos;
    std::function<void(bool)> m_graficar;
    std::function<void()> m_terminar;
    std::function<bool()> m_puedeTerminar;
    bool m_saliendo = false;
    std::string m_trabajo;
};
