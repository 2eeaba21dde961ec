// The program as it starts: the starter catalogue in the list, a material
// chosen in the materials window handed to the design, and the exit.

#include "apoyo/dialogos_prueba.h"
#include "form1_base_materiales.h"
#include "frm_vantora.h"
#include "programa.h"
#include "registro_diseno.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString texto(const QWidget& ventana, const char* caja)
{
    const auto* t = ventana.findChild<QLineEdit*>(caja);
    return t ? t->text() : QString();
}

} // namespace

class TestPrograma : public QObject {
    Q_OBJECT

private slots:
    void materialDeLaBaseDeDatos()
    {
        QTemporaryDir dir;
        const CarpetaDatos carpeta((dir.path() + "/KORVEN/win").toStdString()); // created on start
        DialogosPrueba dlg;
        Programa programa(carpeta, dlg);
        Frm_Vantora& frm = programa.diseno();
        int terminado = 0;
        frm.AlTerminar([&] { ++terminado; });
        programa.Mostrar();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));

        auto* combo = frm.findChild<QComboBox*>("Combo_Materiales");
        QVERIFY(combo->count() >= 10);
        QCOMPARE(combo->itemText(0), QString("CR-39"));
        QVERIFY(!programa.materiales());

        QTest::mouseClick(frm.findChild<QWidget*>("SSCommand_Base"), Qt::LeftButton);
        Form1_BaseMateriales* materiales = programa.materiales();
        QVERIFY(materiales && materiales->isVisible());
        QVERIFY(!QApplication::activeModalWidget()); // the design window stays usable

        dlg.textos.push_back(std::string("trivex"));
        QTest::mouseClick(materiales->findChild<QWidget*>("SSCommand_Buscar"), Qt::LeftButton);
        QTest::mouseClick(materiales->findChild<QWidget*>("SSCommand_Seleccionar"), Qt::LeftButton);
        QVERIFY(!materiales->isVisible());

        // The material handed over is used as it is, never looked up in the list.
        for (auto [caja, texto] : {std::pair{"Tx_BaseCrown", "6"},
                                   {"Tx_EspesorBorde", "1"},
                                   {"Tx_PoderVertice", "4"},
                                   {"Tx_DiametroInicial", "60"}})
            QTest::keyClicks(frm.findChild<QLineEdit*>(caja), QString(texto) + "\r");
        QTest::mouseClick(frm.findChild<QWidget*>("Command_Calcular"), Qt::LeftButton);
        QVERIFY(dlg.cajas.empty());
        QVERIFY(frm.findChild<QWidget*>("Text_MaterialBaseDatos")->isVisible());
        QCOMPARE(texto(frm, "Text_MaterialBaseDatos"), QString("Trivex"));
        QCOMPARE(combo->itemText(combo->count() - 1), QString("Trivex"));
        QCOMPARE(texto(frm, "Tx_EspesorCentral"), QString("4.45")); // n 1.532, hand calculation: t 4.446 mm

        QTest::mouseClick(frm.findChild<QWidget*>("Salir_Cmd"), Qt::LeftButton);
        QCOMPARE(terminado, 1);
        const auto ultimo = LeerRegistros(carpeta.Archivo(CarpetaDatos::kUltimoDiseno));
        QCOMPARE(ultimo.size(), 1u);
        QCOMPARE(ultimo[0].NombreMaterial, std::string("Trivex     "));
        QCOMPARE(float(ultimo[0].IndiceMaterial), 1.532f);
    }

    // A data folder that cannot be made (here a file stands in its way): one
    // message, an empty list, and the window works all the same.
    void carpetaQueNoSePuedeCrear()
    {
        QTemporaryDir dir;
        QFile estorbo(dir.filePath("KORVEN"));
        QVERIFY(estorbo.open(QIODevice::WriteOnly));
        estorbo.close();
        const CarpetaDatos carpeta((dir.path() + "/KORVEN/win").toStdString());
        DialogosPrueba dlg;
        Programa programa(carpeta, dlg);
        QCOMPARE(dlg.titulos(), std::vector<std::string>{"Carpeta de datos"});
        QVERIFY(dlg.cajas[0].texto.find("/KORVEN/win") != std::string::npos);
        QCOMPARE(programa.diseno().findChild<QComboBox*>("Combo_Materiales")->count(), 0);
    }
};

QTEST_MAIN(TestPrograma)
#include "test_programa.moc"
