#pragma once

#include "lienzo_imagen.h"
#include "modificacion_diseno.h"
#include "pantalla_widgets.h"

#include <QList>
#include <QWidget>

class QScrollBar;
class QTabWidget;

// The graphics window: the lens drawn on its own surface, with the tabs that
// vary the base curve, the material and the diameter standing over it. Its
// handlers are named after the control and the event and hand the work to
// ModificacionDiseno. The window registers its controls in the Pantalla it
// is given; its close box unloads it (the next use loads it again).
class Frm_DibujaVantoras : public QWidget {
    Q_OBJECT

public:
    Frm_DibujaVantoras(ModificacionDiseno& modificacion, PantallaWidgets& pantalla, LienzoImagen& lienzo,
                       QWidget* parent = nullptr);

    void Form_Load();
    void SSCommand1_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();
    void SSTab_Modifico_GotFocus();
    void HScroll_ModificoBase_Change();
    void HScroll_ModificoDiametro_Change();
    void HScroll_ModificoIndice_Change();
    void Form_MouseMove(float X, float Y);
    void SSCommand_CurvaBaseFoto_Click();
    void SSCommand_IndiceFoto_Click();
    void SSCommand_DiametroFoto_Click();

protected:
    void paintEvent(QPaintEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    bool event(QEvent* evento) override;

private:
    void construir();

    ModificacionDiseno& m_modificacion;
    PantallaWidgets& m_pantalla;
    LienzoImagen& m_lienzo;
    QTabWidget* m_pestanas = nullptr;
    QList<QScrollBar*> m_barras;
};
