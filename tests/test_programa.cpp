// The program as it starts: the starter catalogue in the list, a material
// chosen in the materials window handed to the design, and the exit.

#include "almacen_trabajos.h"
#include "apoyo/dialogos_prueba.h"
#include "apoyo/programa_prueba.h"
#include "form1_base_materiales.h"
#include "frm_trabajo.h"
#include "registro_diseno.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

namespace fs = std::filesystem;

class TestPrograma : public QObject {
    Q_OBJECT

private slots:
    // A number scanned into the "Trabajo" box (digits, then Enter) brings a
    // stored job's first plus-sphere eye into the design window, calculated
    // anew after another job, its ticket numbered: Trivex +4.00 on a 6 D base,
    // 60 mm, 1 mm edge is 4.446 mm by hand; CR-39 +3.50, 6 D, 65 mm, 1 mm 4.811.
    void trabajoEscaneado_data()
    {
        QTest::addColumn<QString>("numero"); // the jobs scanned, one after the other
        QTest::addColumn<QStringList>("esperado"); // the centre thickness shown, then what the one box says
        QTest::newRow("el ojo izquierdo, el primero de esfera positiva") << "77" << QStringList{"4.45"};
        QTest::newRow("sólo ojos con cilindro: la ventana de trabajos") << "78" << QStringList{""};
        QTest::newRow("número no guardado") << "79" << QStringList{"", "El trabajo 79 no está guardado."};
        QTest::newRow("tras otro trabajo") << "80 81" << QStringList{"4.81"};
        QTest::newRow("sin diámetro: no calcula") << "80 82" << QStringList{""};
        QTest::newRow("registro dañado: la ventana de trabajos lo dice") << "83" << QStringList{"", "registro dañado"};
    }
    void trabajoEscaneado()
    {
        QFETCH(QString, numero);
        QFETCH(QStringList, esperado);
        ProgramaPrueba b;
        BaseMateriales base(b.carpeta.Archivo(CarpetaDatos::kMateriales));
        QVERIFY(!base.Preparar());
        AlmacenTrabajos almacen(base);
        QVERIFY(!almacen.Preparar());
        QString error;
        for (const auto& [n, pedido] :
             {std::pair{"77", "JOB=77\nSPH=-1.00;4.00\nLMATTYPE=?;Trivex\nFRNT=?;6\n"
                              "FED=?;60\nMINEDG=?;1\n"},
              {"78", "JOB=78\nSPH=2.00;2.00\nCYL=-1;-1\nAX=90;90\n"},
              {"80", "JOB=80\nSPH=5.00;?\nLMATTYPE=Policarb;?\nFED=70;?\n"},
              {"81", "JOB=81\nSPH=3.50;?\nLMATTYPE=CR-39;?\nFRNT=6;?\nFED=65;?\nMINEDG=1;?\n"},
              {"82", "JOB=82\nSPH=3.50;?\nLMATTYPE=CR-39;?\n"},
              {"83", "JOB=81\nSPH=3.50;?\nLMATTYPE=CR-39;?\nFRNT=6;?\nFED=65;?\nMINEDG=1;?\n"}})
            QCOMPARE(almacen.Guardar({n, pedido, "", "", "", "", "", "", dcs::kFormatoAnterior}, false, error),
                     AlmacenTrabajos::Guardado::Nuevo);
        QVERIFY(QTest::qWaitForWindowExposed(&b.frm));
        auto* caja = b.frm.findChild<QLineEdit*>("Tx_Trabajo");
        for (const QString& n : numero.split(' ')) {
            QTest::keyClick(&b.frm, Qt::Key_J, Qt::ControlModifier);
            QVERIFY(caja && caja->isVisible());
            QTest::keyClicks(caja, n + "\r");
        }
        QCOMPARE(b.frm.findChild<QLineEdit*>("Tx_EspesorCentral")->text(), esperado[0]);
        if (!esperado[0].isEmpty()) {
            QTest::keyClick(&b.frm, Qt::Key_P, Qt::ControlModifier);
            auto* vista = b.frm.findChild<QWidget*>("VistaPreviaOrden");
            QVERIFY(vista && vista->windowTitle() == "Orden de trabajo " + numero.split(' ').back());
        }
        QCOMPARE(b.dlg.cajas.size(), size_t(esperado.size() - 1));
        if (esperado.size() > 1)
            QVERIFY(QString::fromStdString(b.dlg.cajas[0].texto).contains(esperado[1]));
        // A job the design window cannot make opens whole in the job window.
        QCOMPARE(b.programa.trabajo() ? b.programa.trabajo()->formulario().Texto(trabajos::Campo::Cilindro) : "",
                 std::string(numero == "78" ? "-1.00" : ""));
    }

    void materialDeLaBaseDeDatos()
    {
        ProgramaPrueba b("/KORVEN/win"); // the folder is created on start
        QVERIFY(QTest::qWaitForWindowExposed(&b.frm));
        QCOMPARE(b.frm.findChild<QComboBox*>("Combo_Materiales")->itemText(0), QString("CR-39"));
        ProgramaPrueba::clic(b.frm, "SSCommand_Base");
        Form1_BaseMateriales* materiales = b.programa.materiales();
        QVERIFY(materiales && materiales->isVisible());
        QVERIFY(!QApplication::activeModalWidget()); // the design window stays usable
        b.dlg.textos.push_back(std::string("trivex"));
        ProgramaPrueba::clic(*materiales, "SSCommand_Buscar");
        ProgramaPrueba::clic(*materiales, "SSCommand_Seleccionar");

        // The material handed over is used as it is, never looked up in the list.
        b.teclear("6", "60", -1);
        ProgramaPrueba::clic(b.frm, "Command_Calcular");
        QVERIFY(b.dlg.cajas.empty());
        // n 1.532, hand calculation: t 4.446 mm.
        QCOMPARE(b.frm.findChild<QLineEdit*>("Tx_EspesorCentral")->text(), QString("4.45"));

        ProgramaPrueba::clic(b.frm, "Salir_Cmd");
        const auto ultimo = LeerRegistros(b.carpeta.Archivo(CarpetaDatos::kUltimoDiseno));
        QVERIFY(ultimo.size() == 1 && ultimo[0].NombreMaterial == "Trivex     ");
        QCOMPARE(float(ultimo[0].IndiceMaterial), 1.532f);
    }

    // A data folder that cannot be made (here a file stands in its way), or
    // one whose name the catalogue cannot reach: one message at start, an
    // empty list, and the window works all the same. A save then writes into
    // that folder or says why it cannot, never anywhere else.
    void carpetaDeDatos_data()
    {
        QTest::addColumn<QByteArray>("carpeta");
        QTest::addColumn<QString>("aviso");
        QTest::addColumn<QString>("alGuardar"); // none: the save is made
        QTest::newRow("un archivo en lugar de la carpeta")
            << QByteArray("KORVEN/win") << QString("/KORVEN» es un archivo, no una carpeta")
            << QString("/KORVEN/win» no se puede usar: «");
        QTest::newRow("nombre en Latin-1")
            << QByteArray("d\xE9x") << QString("d\\xE9x: su nombre no es texto UTF-8") << QString();
    }
    void carpetaDeDatos()
    {
        QFETCH(QByteArray, carpeta);
        QFETCH(QString, aviso);
        QFETCH(QString, alGuardar);
        QTemporaryDir dir;
        const fs::path raiz = dir.path().toStdString(), arranque = raiz / "arranque", antes = fs::current_path();
        std::ofstream(raiz / "KORVEN").put('x');
        fs::create_directory(arranque);
        fs::current_path(arranque); // started somewhere else, which must stay untouched
        const CarpetaDatos datos(raiz / carpeta.toStdString());
        DialogosPrueba dlg;
        Programa programa(datos, dlg);
        QCOMPARE(programa.diseno().findChild<QComboBox*>("Combo_Materiales")->count(), 0);
        QTest::mouseClick(programa.diseno().findChild<QWidget*>("SSCommandGuardar"), Qt::LeftButton);
        fs::current_path(antes);
        QVERIFY(fs::is_empty(arranque));
        QCOMPARE(dlg.cajas.size(), alGuardar.isEmpty() ? 1u : 2u);
        QCOMPARE(dlg.cajas[0].titulo, std::string("Carpeta de datos"));
        QVERIFY2(QString::fromStdString(dlg.cajas[0].texto).contains(aviso), dlg.cajas[0].texto.c_str());
        QVERIFY2(QString::fromStdString(dlg.cajas.back().texto).contains(alGuardar), dlg.cajas.back().texto.c_str());
        if (alGuardar.isEmpty()) {
            QCOMPARE(fs::file_size(datos.Archivo(CarpetaDatos::kDatos)), 43u);
            fs::remove_all(datos.carpeta()); // a name QTemporaryDir cannot remove
        }
    }
};

QTEST_MAIN(TestPrograma)
#include "test_programa.moc"
