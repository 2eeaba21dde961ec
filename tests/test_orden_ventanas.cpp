// The job ticket from the running program: Ctrl+P and the context menu of
// the design window and of the graphics window open Qt's print preview of a
// one-page ticket; with nothing calculated or drawn a box says so.

#include "apoyo/dialogos_prueba.h"
#include "frm_dibuja_vantoras.h"
#include "frm_vantora.h"
#include "programa.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Banco {
    QTemporaryDir dir;
    CarpetaDatos carpeta{dir.path().toStdString()};
    DialogosPrueba dlg;
    Programa programa{carpeta, dlg};
    Frm_Vantora& frm = programa.diseno();

    Banco()
    {
        frm.AlTerminar([] {});
        programa.Mostrar();
    }
    void clic(QWidget& ventana, const char* nombre)
    {
        QTest::mouseClick(ventana.findChild<QWidget*>(nombre), Qt::LeftButton);
    }
    // The worked example in Crown 1.523, calculated.
    void calcular()
    {
        for (auto [caja, texto] : {std::pair{"Tx_BaseCrown", "6"},
                                   {"Tx_EspesorBorde", "1"},
                                   {"Tx_PoderVertice", "4"},
                                   {"Tx_DiametroInicial", "60"}}) {
            auto* t = frm.findChild<QLineEdit*>(caja);
            QTest::keyClicks(t, texto);
            QTest::keyClick(t, Qt::Key_Return);
        }
        frm.findChild<QComboBox*>("Combo_Materiales")->setCurrentIndex(1);
        clic(frm, "Command_Calcular");
    }
    QWidget& graficar()
    {
        clic(frm, "SSCommandGuardar");
        clic(frm, "SSCommandGraficar");
        return *programa.graficos();
    }
    // Asks for the ticket on the window the way the row says.
    static void pedir(QWidget& ventana, const QString& via)
    {
        ventana.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&ventana));
        QCOMPARE(ventana.contextMenuPolicy(), Qt::ActionsContextMenu);
        auto* accion = ventana.findChild<QAction*>("ImprimirOrden");
        QVERIFY(accion && ventana.actions().contains(accion));
        QCOMPARE(accion->text(), QString("Imprimir orden de trabajo…"));
        if (via == "Ctrl+P")
            QTest::keyClick(&ventana, Qt::Key_P, Qt::ControlModifier);
        else
            accion->trigger(); // what the context menu's entry does
    }
};

} // namespace

class TestOrdenVentanas : public QObject {
    Q_OBJECT

private slots:
    void vistaPrevia_data()
    {
        QTest::addColumn<bool>("graficos");
        QTest::addColumn<QString>("via");
        QTest::newRow("diseño, Ctrl+P") << false << "Ctrl+P";
        QTest::newRow("diseño, menú") << false << "menú";
        QTest::newRow("gráficos, Ctrl+P") << true << "Ctrl+P";
        QTest::newRow("gráficos, menú") << true << "menú";
    }
    void vistaPrevia()
    {
        QFETCH(bool, graficos);
        QFETCH(QString, via);
        Banco b;
        b.calcular();
        QWidget& ventana = graficos ? b.graficar() : static_cast<QWidget&>(b.frm);
        const QSize tamano = ventana.size();
        b.pedir(ventana, via);
        auto* vista = ventana.findChild<QPrintPreviewDialog*>("VistaPreviaOrden");
        QVERIFY(vista);
        QVERIFY(vista->isVisible());
        QVERIFY(vista->windowTitle().contains(QRegularExpression("^Orden de trabajo VT-\\d{8}-\\d{4}$")));
        QCOMPARE(vista->findChild<QPrintPreviewWidget*>()->pageCount(), 1);
        QVERIFY(b.dlg.cajas.empty());
        QCOMPARE(ventana.size(), tamano);
        vista->close();
    }

    void nadaQueImprimir_data()
    {
        QTest::addColumn<bool>("limpiar");
        QTest::newRow("antes de calcular") << false;
        QTest::newRow("después de limpiar") << true;
    }
    void nadaQueImprimir()
    {
        QFETCH(bool, limpiar);
        Banco b;
        if (limpiar) {
            b.calcular();
            b.clic(b.frm, "Limpiar_Cmd");
        }
        b.pedir(b.frm, "Ctrl+P");
        QVERIFY(!b.frm.findChild<QPrintPreviewDialog*>());
        QCOMPARE(b.dlg.titulos(), std::vector<std::string>{"Imprimir orden de trabajo"});
        QVERIFY(b.dlg.cajas[0].texto.find("No hay nada que imprimir") == 0);
    }
};

QTEST_MAIN(TestOrdenVentanas)
#include "test_orden_ventanas.moc"
