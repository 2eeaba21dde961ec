// The design window driven as the optician drives it: typing, Enter,
// double-clicks and the commands.

#include "apoyo/catalogo_memoria.h"
#include "apoyo/dialogos_prueba.h"
#include "apoyo/pantalla_prueba.h"
#include "consejos.h"
#include "frm_vantora.h"
#include "registro_diseno.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Ventana {
    QTemporaryDir dir;
    CarpetaDatos carpeta{dir.path().toStdString()};
    EstadoDiseno e;
    DialogosPrueba dlg;
    CatalogoMemoria catalogo{{{"CR-39", 1.498, 1.32}, {"Vidrio 1.5", 1.5, 2.5}}};
    PantallaWidgets pantalla;
    PantallaPrueba graficos;
    Motor motor{e, pantalla, graficos, dlg, catalogo};
    Frm_Vantora frm{e, motor, pantalla, dlg, carpeta};
    int terminado = 0;

    Ventana()
    {
        frm.AlTerminar([this] { ++terminado; });
        frm.show();
        frm.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frm));
    }

    template <class T = QWidget>
    T* w(const char* nombre)
    {
        return frm.findChild<T*>(nombre);
    }
    QString texto(const char* nombre) { return QString::fromStdString(pantalla.Texto(nombre)); }
    QString foco() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }

    void teclear(const char* caja, const QString& texto)
    {
        auto* t = w<QLineEdit>(caja);
        t->setFocus();
        t->selectAll();
        if (texto.isEmpty())
            QTest::keyClick(t, Qt::Key_Delete);
        else
            QTest::keyClicks(t, texto);
        QTest::keyClick(t, Qt::Key_Return);
    }
    void elegirMaterial(int indice)
    {
        auto* c = w<QComboBox>("Combo_Materiales");
        c->setCurrentIndex(indice);
        c->setFocus();
        QTest::keyClick(c, Qt::Key_Return);
    }
    // +4 D, 60 mm, 1 mm edge, typed in the order the form leads; without a
    // material the index stays 0.
    void ejemplo(const QString& base, bool conMaterial = true)
    {
        teclear("Tx_BaseCrown", base);
        if (conMaterial)
            elegirMaterial(1);
        teclear("Tx_EspesorBorde", "1");
        teclear("Tx_PoderVertice", "4");
        teclear("Tx_DiametroInicial", "60");
    }
    QColor colorTexto(const char* nombre) { return w(nombre)->palette().color(QPalette::Active, QPalette::Text); }
};

const Numero& valorDe(const EstadoDiseno& e, const QString& caja)
{
    return caja == "Tx_PoderVertice"      ? e.PoderVertice
           : caja == "Tx_DiametroInicial" ? e.DiametroInicial
           : caja == "Tx_BaseCrown"       ? e.CurvaBase
                                          : e.EspesorCentral;
}

QString q(std::string_view t) { return QString::fromUtf8(t.data(), qsizetype(t.size())); }

// An entry confirmed in a box, and what the window makes of it.
struct Campo {
    const char* caja;
    QString texto;
    bool dobleClic;
    QString queda, consejo;
    const char* foco;
    double valor;
};

const QStringList kCajas = {"Tx_BaseCrown",    "Tx_EspesorBorde",    "Tx_EspesorCentral",
                            "Tx_PoderVertice", "Tx_DiametroInicial", "Tx_PcurvaExt",
                            "Tx_RadioIndice",  "Tx_PcurvaInt",       "Tx_Radio1523"};

} // namespace

Q_DECLARE_METATYPE(Campo)

class TestFrmVantora : public QObject {
    Q_OBJECT

private slots:
    // Each input box confirmed with Enter (or double-clicked): what it keeps,
    // the advice it gives, where the focus goes and the value stored. A
    // rejected entry empties the box, keeps the focus and stores nothing (the
    // message belongs to the entry check).
    void campos_data()
    {
        QTest::addColumn<Campo>("c");
        using namespace consejos;
        const char* poder = "Tx_PoderVertice";
        const char* diametro = "Tx_DiametroInicial";
        const char* base = "Tx_BaseCrown";
        const char* material = "Combo_Materiales";
        const char* central = "Tx_EspesorCentral";
        QTest::newRow("poder 0") << Campo{poder, "0", false, "+0.00", q(kPoderCero), poder, 0};
        // Only the Enter key's advice ends with a period.
        QTest::newRow("poder -0.25") << Campo{poder, "-0.25", false, "-0.25", q(kPoderNegativo) + ".", poder, -0.25};
        QTest::newRow("poder 30.01") << Campo{poder, "30.01", false, "+30.01", q(kPoderAlto), diametro, 30.01};
        QTest::newRow("diametro vacio") << Campo{diametro, "", false, "", q(kDiametroCero), diametro, 0};
        QTest::newRow("base 0: cara plana")
            << Campo{base, "0.00", false, " Cara Plana", q(kPlanoConvexa), material, 0.5};
        QTest::newRow("base 0.5 tecleada") << Campo{base, "0.5", false, "0.5", q(kPlanoConvexa), material, 0.5};
        QTest::newRow("base vacia: se sugerira") << Campo{base, "", false, "", "", material, 0};
        QTest::newRow("central 1.49") << Campo{central, "1.49", false, "1.49", q(kEspesorDelgado), poder, 1.49};
        QTest::newRow("central 1.49 doble clic") << Campo{central, "1.49", true, "1.49", q(kEspesorNorma), poder, 1.49};
        QTest::newRow("central 0") << Campo{central, "0", false, "0", q(kEspesorCero), central, 0};
        QTest::newRow("base rechazada") << Campo{base, "3/4", false, "", "", base, qQNaN()};
    }
    void campos()
    {
        QFETCH(Campo, c);
        Ventana v;
        if (c.dobleClic) {
            v.w<QLineEdit>(c.caja)->setText(c.texto);
            QTest::mouseDClick(v.w(c.caja), Qt::LeftButton);
        } else {
            v.teclear(c.caja, c.texto);
        }
        QCOMPARE(v.texto(c.caja), c.queda);
        QCOMPARE(v.texto("SalidaTxt"), c.consejo);
        QCOMPARE(v.foco(), QString(c.foco));
        const Numero& guardado = valorDe(v.e, c.caja);
        QCOMPARE(guardado.definido() ? guardado.valor() : qQNaN(), c.valor);
        QCOMPARE(v.dlg.cajas.size(), std::isnan(c.valor) ? 1u : 0u);
        if (c.queda == " Cara Plana")
            QCOMPARE(v.colorTexto(c.caja), QColor(255, 0, 0));
    }

    // The whole design: "Calcular" runs the full calculation (suggesting the
    // base when none was typed) and locks every box but the list, "Guardar"
    // replaces the one record of DATA.DAT, and the exit by the title bar
    // writes the last design and the end marker. Enter on a focused command
    // clicks it, so the keyboard alone does the same.
    void disenoCompleto_data()
    {
        QTest::addColumn<int>("tecla"); // 0: by mouse clicks
        QTest::addColumn<QString>("base"); // none: base 5 suggested for +4 D, 60 mm, glass 1.5
        QTest::addColumn<QString>("espesor");
        QTest::newRow("clic, base 6") << 0 << "6" << QString("4.66");
        QTest::newRow("clic, base sugerida") << 0 << "" << QString("4.63");
        QTest::newRow("Enter") << int(Qt::Key_Return) << "6" << QString("4.66");
    }
    void disenoCompleto()
    {
        QFETCH(int, tecla);
        QFETCH(QString, base);
        QFETCH(QString, espesor);
        Ventana v;
        const auto pulsar = [&](const char* boton) {
            QCOMPARE(v.foco(), QString(boton));
            if (tecla)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(tecla));
            else
                QTest::mouseClick(v.w(boton), Qt::LeftButton);
        };
        const auto datos = v.carpeta.Archivo(CarpetaDatos::kDatos);
        v.ejemplo(base);
        pulsar("Command_Calcular");
        QCOMPARE(v.texto("Tx_BaseCrown"), base.isEmpty() ? "5" : base);
        QCOMPARE(v.texto("Tx_EspesorCentral"), espesor);
        for (const QString& caja : kCajas + QStringList{"SalidaTxt"})
            QVERIFY2(!v.w(caja.toLatin1())->isEnabled(), qPrintable(caja));
        QVERIFY(v.w("Text_MaterialBaseDatos")->isEnabled() && v.w("Combo_Materiales")->isEnabled());

        pulsar("SSCommandGuardar");
        QCOMPARE(v.foco(), QString("SSCommandGraficar"));
        const auto guardado = LeerRegistros(datos);
        QCOMPARE(guardado.size(), 1u);
        QCOMPARE(guardado[0].PoderVertice, 4.0);
        QVERIFY(qAbs(guardado[0].EspesorCentral - espesor.toDouble()) < 0.005);
        QCOMPARE(guardado[0].NombreMaterial, std::string("Vidrio 1.5 "));

        v.frm.close();
        QCOMPARE(v.terminado, 1);
        QCOMPARE(LeerRegistros(v.carpeta.Archivo(CarpetaDatos::kUltimoDiseno)).size(), 1u);
        QVERIFY(std::filesystem::exists(v.carpeta.Archivo(CarpetaDatos::kFinDrovena)));
        QVERIFY(v.dlg.cajas.empty());
    }

    // After a calculation "Limpiar" empties and unlocks the boxes and
    // forgets the thickness shown and the database material, keeping the
    // list and a flat front's red mark.
    void limpiar()
    {
        Ventana v;
        v.ejemplo("0");
        QTest::mouseClick(v.w("Command_Calcular"), Qt::LeftButton);
        v.e.MaterialDeBase = "Si";
        v.w("Text_MaterialBaseDatos")->show();
        QTest::mouseClick(v.w("Limpiar_Cmd"), Qt::LeftButton);
        QVERIFY(v.texto("Tx_EspesorCentral").isEmpty() && v.w("Tx_EspesorCentral")->isEnabled());
        QCOMPARE(v.e.EspesorMostrado, 0);
        QCOMPARE(v.e.MaterialDeBase, std::string("No"));
        QVERIFY(v.w("Text_MaterialBaseDatos")->isHidden());
        QCOMPARE(v.colorTexto("Tx_BaseCrown"), QColor(255, 0, 0));
    }

    // After a recovery the design holds a sample lens the boxes do not show:
    // it is never saved under the user's figures, the exit still writes it,
    // and the next calculation starts again from the boxes.
    void guardarTrasRecuperacion()
    {
        Ventana v;
        v.ejemplo("6", false);
        QTest::mouseClick(v.w("Command_Calcular"), Qt::LeftButton);
        QCOMPARE(v.dlg.titulos().front(), std::string("Datos de entrada erroneos."));
        v.dlg.cajas.clear();
        QTest::mouseClick(v.w("SSCommandGuardar"), Qt::LeftButton);
        QCOMPARE(v.dlg.titulos(), std::vector<std::string>{"No se guardó el diseño"});
        QVERIFY(!std::filesystem::exists(v.carpeta.Archivo(CarpetaDatos::kDatos)));
        v.elegirMaterial(1);
        QTest::mouseClick(v.w("Command_Calcular"), Qt::LeftButton);
        QTest::mouseClick(v.w("SSCommandGuardar"), Qt::LeftButton);
        QCOMPARE(LeerRegistros(v.carpeta.Archivo(CarpetaDatos::kDatos)).at(0).EspesorBorde, 1.0f);
        QTest::mouseClick(v.w("Salir_Cmd"), Qt::LeftButton);
        QCOMPARE(LeerRegistros(v.carpeta.Archivo(CarpetaDatos::kUltimoDiseno)).size(), 1u);
    }

    // A data folder that cannot be written: the exit names both files it
    // could not write, and the program ends all the same.
    void salidaSinCarpeta()
    {
        Ventana v;
        v.carpeta = CarpetaDatos(v.carpeta.carpeta() / "no-existe");
        QTest::mouseClick(v.w("Salir_Cmd"), Qt::LeftButton);
        QVERIFY(v.dlg.cajas.size() == 2 && v.terminado == 1);
    }
};

QTEST_MAIN(TestFrmVantora)
#include "test_frm_vantora.moc"
