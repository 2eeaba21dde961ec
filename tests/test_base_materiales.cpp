// The materials window driven as the user drives it: clicks, typed text and
// the answers given to its boxes.

#include "apoyo/materiales_prueba.h"
#include "catalogo_sql.h"
#include "estado_diseno.h"
#include "form1_base_materiales.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// A data folder of its own, the materials file holding the given records,
// and the window shown on it.
struct Banco {
    QTemporaryDir dir;
    EstadoDiseno estado;
    DialogosPrueba dlg;
    std::unique_ptr<BaseMateriales> base;
    std::unique_ptr<Form1_BaseMateriales> w;

    explicit Banco(const QList<RegistroPrueba>& registros)
    {
        if (!EscribirBase(dir.filePath("materiales.mdb"), registros))
            qFatal("no se pudo preparar la base de prueba");
        base = std::make_unique<BaseMateriales>(dir.filePath("materiales.mdb").toStdString());
        base->Abrir(dlg);
        w = std::make_unique<Form1_BaseMateriales>(*base, estado, dlg);
        w->show();
    }
    explicit Banco(const QStringList& nombres) : Banco(Nombres(nombres)) {}

    template <typename T = QWidget>
    T* control(const QString& nombre) const
    {
        return w->findChild<T*>(nombre);
    }
    void clicks(const QStringList& botones)
    {
        for (const QString& b : botones)
            QTest::mouseClick(control<QPushButton>(b), Qt::LeftButton);
    }
    QString producto() const { return control<QLineEdit>("Text_Producto")->text(); }
    // "Nuevo Producto", which starts from empty boxes; the name, description,
    // index, density and Abbe number typed; "M" mineral and/or "O" organic
    // ticked; "Graba Producto".
    void grabarNuevo(const QStringList& valores, const QString& materiales)
    {
        clicks({"SSCommand_Nuevo"});
        const QStringList cajas{"Text_Producto", "Text_Descripcion", "Text_Indice", "Text_Densidad", "Text_Abbe"};
        for (int i = 0; i < cajas.size(); ++i)
            QTest::keyClicks(control(cajas[i]), valores[i]);
        for (const auto& [check, letra] : {std::pair{"Check_Mineral", 'M'}, std::pair{"Check_Organico", 'O'}}) {
            QVERIFY(!control<QCheckBox>(check)->isChecked());
            if (materiales.contains(QChar(letra)))
                QTest::mouseClick(control(check), Qt::LeftButton, {}, QPoint(5, 5));
        }
        clicks({"SSCommand_Grabar"});
    }
    // What the design's own cursor reads from the file.
    std::vector<std::string> productosEnArchivo() const { return CatalogoSql(*base).Productos(); }
};

} // namespace

class TestBaseMateriales : public QObject {
    Q_OBJECT

private slots:
    // 300 records, more than the model reads at once: A1, B2, C3, M1 ... M297.
    void navegacion_data()
    {
        QTest::addColumn<QStringList>("botones");
        QTest::addColumn<QString>("producto");
        QTest::newRow("anterior en el primero") << QStringList{"SSCommand_Anterior"} << "A1";
        QTest::newRow("siguiente dos veces") << QStringList{"SSCommand_Siguiente", "SSCommand_Siguiente"} << "C3";
        QTest::newRow("siguiente en el ultimo") << QStringList{"SSCommand_Final", "SSCommand_Siguiente"} << "M297";
        QTest::newRow("anterior desde el final") << QStringList{"SSCommand_Final", "SSCommand_Anterior"} << "M296";
        QTest::newRow("inicio desde el final") << QStringList{"SSCommand_Final", "SSCommand_Inicio"} << "A1";
    }
    void navegacion()
    {
        QFETCH(QStringList, botones);
        QFETCH(QString, producto);
        QStringList productos{"A1", "B2", "C3"};
        for (int i = 1; productos.size() < 300; ++i)
            productos << "M" + QString::number(i);
        Banco b(productos);
        b.clicks(botones);
        QCOMPARE(b.producto(), producto);
        QVERIFY(b.dlg.cajas.empty());
    }

    // Name, description, index, density, Abbe number; M mineral, O organic.
    void grabarRechazado_data()
    {
        QTest::addColumn<QStringList>("valores");
        QTest::addColumn<QString>("materiales");
        QTest::addColumn<QString>("titulo");
        const QStringList bien{"Nuevo", "Resina nueva", "1.6", "1.3", "42"};
        const auto con = [&](int i, const QString& valor) {
            QStringList l = bien;
            l[i] = valor;
            return l;
        };
        QTest::newRow("sin nombre") << con(0, "") << "O"
                                    << "Falta nombre del producto.";
        QTest::newRow("sin material") << bien << ""
                                      << "No indica material";
        QTest::newRow("ambos materiales") << bien << "MO"
                                          << "Selección de material ambigua.";
        QTest::newRow("sin descripcion") << con(1, "") << "O"
                                         << "Falta descripción del producto.";
        QTest::newRow("indice no numerico, rechazado por la base") << con(2, "abc") << "O"
                                                                   << "Falta uno o mas datos";
    }
    // Each refusal shows its box and leaves the record open for correction;
    // the file is not touched.
    void grabarRechazado()
    {
        QFETCH(QStringList, valores);
        QFETCH(QString, materiales);
        QFETCH(QString, titulo);
        Banco b(QStringList{"CR-39"});
        b.grabarNuevo(valores, materiales);
        QCOMPARE(b.dlg.titulos(), std::vector<std::string>{titulo.toStdString()});
        QVERIFY(b.control("SSCommand_Grabar")->isEnabled());
        QCOMPARE(b.productosEnArchivo(), std::vector<std::string>{"CR-39"});
    }

    void borrar_data()
    {
        QTest::addColumn<bool>("si");
        QTest::addColumn<QString>("mostrado");
        QTest::addColumn<std::vector<std::string>>("quedan");
        QTest::newRow("el ultimo: se ve el nuevo ultimo") << true << "B" << std::vector<std::string>{"A", "B"};
        QTest::newRow("respuesta No: nada se borra") << false << "C" << std::vector<std::string>{"A", "B", "C"};
    }
    void borrar()
    {
        QFETCH(bool, si);
        QFETCH(QString, mostrado);
        QFETCH(std::vector<std::string>, quedan);
        Banco b(QStringList{"A", "B", "C"});
        b.dlg.respuestas.push_back(si ? Respuesta::Si : Respuesta::No);
        b.clicks({"SSCommand_Final", "SSCommand_Borrar"});
        QCOMPARE(b.dlg.titulos(), std::vector<std::string>{"Atención."});
        QCOMPARE(b.dlg.cajas[0].botones, Botones::SiNo);
        QCOMPARE(b.producto(), mostrado);
        QCOMPARE(b.productosEnArchivo(), quedan);
        QVERIFY(!b.control("SSCommand_Seleccionar")->isEnabled());
    }

    // Searched from the second record.
    void buscar_data()
    {
        QTest::addColumn<QString>("respuesta");
        QTest::addColumn<QString>("mostrado");
        QTest::addColumn<QString>("aviso");
        QTest::newRow("parte del nombre en minusculas") << "vid"
                                                        << "Vidrio"
                                                        << "";
        QTest::newRow("no encontrado: el ultimo") << "Trivex"
                                                  << "Zafiro"
                                                  << "No encuentro el nombre solicitado";
        QTest::newRow("respuesta vacia: el primero") << ""
                                                     << "ABC"
                                                     << "";
    }
    void buscar()
    {
        QFETCH(QString, respuesta);
        QFETCH(QString, mostrado);
        QFETCH(QString, aviso);
        Banco b(QStringList{"ABC", "ABC Plus", "Vidrio", "Zafiro"});
        b.dlg.textos.push_back(respuesta.toStdString());
        b.clicks({"SSCommand_Siguiente", "SSCommand_Buscar"});
        QCOMPARE(b.dlg.preguntas, std::vector<std::string>{"¿Que producto desea buscar?|"});
        QCOMPARE(b.producto(), mostrado);
        QStringList avisos;
        for (const DialogosPrueba::Caja& c : b.dlg.cajas)
            avisos << QString::fromStdString(c.texto);
        QCOMPARE(avisos, aviso.isEmpty() ? QStringList{} : QStringList{aviso});
    }

    // Under regional settings that write a decimal comma, the design still
    // receives the numbers the boxes show.
    void seleccionar()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        Banco b(QList<RegistroPrueba>{{1, "CR-39", 1.498, 1.32}, {2, "Resina 1.67", 1.67, 1.35}});
        b.clicks({"SSCommand_Siguiente", "SSCommand_Seleccionar"});
        QLocale::setDefault(QLocale::c());
        QVERIFY(!b.w->isVisible());
        QCOMPARE(b.estado.MaterialDeBase, std::string("Si"));
        QCOMPARE(b.estado.IndiceMaterial.valor(), 1.67);
        QCOMPARE(b.estado.Densidad.valor(), 1.35);
        QCOMPARE(b.estado.NombreMaterial, std::string("Resina 1.67"));
        QVERIFY(b.dlg.cajas.empty());
    }

    // An empty table: moving, editing and deleting do nothing and say
    // nothing; "Seleccionar" says why it hands nothing on; a first record
    // can be added.
    void tablaVacia()
    {
        Banco b(QStringList{});
        b.clicks({"SSCommand_Inicio", "SSCommand_Anterior", "SSCommand_Siguiente", "SSCommand_Final",
                  "SSCommand_Editar", "SSCommand_Borrar", "SSCommand_Seleccionar"});
        QCOMPARE(b.dlg.titulos(), std::vector<std::string>{"No hay productos"});
        QVERIFY(b.w->isVisible());
        QVERIFY(!b.estado.IndiceMaterial.definido());
        b.grabarNuevo({"Trivex", "Uretano", "1.532", "1.11", "45"}, "O");
        QCOMPARE(b.dlg.cajas.size(), 1u);
        QCOMPARE(b.productosEnArchivo(), std::vector<std::string>{"Trivex"});
    }
};

QTEST_MAIN(TestBaseMateriales)
#include "test_base_materiales.moc"
