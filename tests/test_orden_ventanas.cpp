// The job ticket from the running program: Ctrl+P or the context menu on either
// window opens a one-page print preview; with nothing calculated a box says so.

#include "apoyo/programa_prueba.h"
#include "frm_dibuja_vantoras.h"

#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QtTest>

namespace {

// The worked example in Crown 1.523, calculated; drawn too if asked.
QWidget& ventana(ProgramaPrueba& b, bool graficos)
{
    b.teclear("6");
    ProgramaPrueba::clic(b.frm, "Command_Calcular");
    if (!graficos)
        return b.frm;
    ProgramaPrueba::clic(b.frm, "SSCommandGuardar");
    ProgramaPrueba::clic(b.frm, "SSCommandGraficar");
    return *b.programa.graficos();
}

// Asks for the ticket on the window the way the row says: the shortcut, or
// what the context menu's entry does, which carries the shortcut on both.
void pedir(QWidget& ventana, const QString& via)
{
    ventana.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&ventana));
    QCOMPARE(ventana.contextMenuPolicy(), Qt::ActionsContextMenu);
    auto* accion = ventana.findChild<QAction*>("ImprimirOrden");
    QVERIFY(accion && ventana.actions().contains(accion) && accion->shortcut() == QKeySequence("Ctrl+P"));
    if (via == "Ctrl+P")
        QTest::keyClick(&ventana, Qt::Key_P, Qt::ControlModifier);
    else
        accion->trigger();
}

} // namespace

class TestOrdenVentanas : public QObject {
    Q_OBJECT

private slots:
    void vistaPrevia_data()
    {
        QTest::addColumn<bool>("graficos");
        QTest::addColumn<QString>("via");
        QTest::newRow("diseño, menú") << false << "menú";
        QTest::newRow("gráficos, Ctrl+P") << true << "Ctrl+P";
    }
    void vistaPrevia()
    {
        QFETCH(bool, graficos);
        QFETCH(QString, via);
        ProgramaPrueba b;
        QWidget& ventana = ::ventana(b, graficos);
        const QSize tamano = ventana.size();
        pedir(ventana, via);
        auto* vista = ventana.findChild<QPrintPreviewDialog*>("VistaPreviaOrden");
        QVERIFY(vista && vista->isVisible());
        QVERIFY(vista->windowTitle().contains(QRegularExpression("^Orden de trabajo VT-\\d{8}-\\d{4}$")));
        QCOMPARE(vista->findChild<QPrintPreviewWidget*>()->pageCount(), 1);
        QVERIFY(b.dlg.cajas.empty());
        QCOMPARE(ventana.size(), tamano);
        vista->close();
    }

    void nadaQueImprimirAntesDeCalcular()
    {
        ProgramaPrueba b;
        pedir(b.frm, "Ctrl+P");
        QVERIFY(!b.frm.findChild<QPrintPreviewDialog*>());
        QVERIFY(b.dlg.cajas.size() == 1 && b.dlg.cajas[0].texto.starts_with("No hay nada que imprimir"));
    }
};

QTEST_MAIN(TestOrdenVentanas)
#include "test_orden_ventanas.moc"
