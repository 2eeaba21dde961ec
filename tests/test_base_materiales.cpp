// The materials window driven as the user drives it: clicks, typed text and
// the answers given to its boxes. CTest runs this program twice: on a SQLite
// file and on a PostgreSQL server (see apoyo/materiales_prueba.h).

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

// A catalogue holding the given records, and the window shown on it. A
// second bench opens a window of its own on the same catalogue.
struct Banco {
    std::shared_ptr<CatalogoPrueba> catalogo;
    EstadoDiseno estado;
    DialogosPrueba dlg;
    std::unique_ptr<BaseMateriales> base;
    std::unique_ptr<Form1_BaseMateriales> w;

    explicit Banco(const UbicacionCatalogo& ubicacion)
    {
        base = std::make_unique<BaseMateriales>(ubicacion);
        base->Abrir(dlg);
        w = std::make_unique<Form1_BaseMateriales>(*base, estado, dlg);
        w->show();
    }
    explicit Banco(std::shared_ptr<CatalogoPrueba> c) : Banco(c->ubicacion()) { catalogo = std::move(c); }
    explicit Banco(const QList<RegistroPrueba>& registros) : Banco(Escrito(registros)) {}
    explicit Banco(const QStringList& nombres) : Banco(Nombres(nombres)) {}

    static std::shared_ptr<CatalogoPrueba> Escrito(const QList<RegistroPrueba>& registros)
    {
        auto c = std::make_shared<CatalogoPrueba>();
        if (!c->Escribir(registros))
            qFatal("no se pudo preparar el catálogo de prueba");
        return c;
    }

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
    QString caja(const char* nombre) const { return control<QLineEdit>(nombre)->text(); }
    // "Nuevo Producto", which starts from empty boxes; the name, description,
    // index, density and Abbe number typed; "M" mineral and/or "O" organic
    // ticked; "Graba Producto".
    void grabarNuevo(const QStringList& valores, const QString& materiales)
    {
        escribirNuevo(valores, materiales);
        clicks({"SSCommand_Grabar"});
    }
    void escribirNuevo(const QStringList& valores, const QString& materiales)
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
    }
    // What the design's own cursor reads from the store.
    std::vector<std::string> productosEnArchivo() const { return CatalogoSql(*base).Productos(); }
    QString ultimoTitulo() const
    {
        return dlg.cajas.empty() ? QString() : QString::fromStdString(dlg.cajas.back().titulo);
    }
};

} // namespace

class TestBaseMateriales : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { almacen_prueba::Preparar(); }
    void cleanupTestCase() { almacen_prueba::Terminar(); }

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

    // Enter and Space on the focused button click it, as on every desktop.
    void teclasEnLosBotones_data()
    {
        QTest::addColumn<int>("tecla");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Espacio") << int(Qt::Key_Space);
    }
    void teclasEnLosBotones()
    {
        QFETCH(int, tecla);
        Banco b(QStringList{"A", "B"});
        QWidget* siguiente = b.control("SSCommand_Siguiente");
        siguiente->setFocus();
        QTest::keyClick(siguiente, Qt::Key(tecla));
        QCOMPARE(b.producto(), QString("B"));
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
        QTest::newRow("Abbe no numerico") << con(4, "abc") << "O"
                                          << "Falta uno o mas datos";
        QTest::newRow("Abbe de 250") << con(4, "250") << "O"
                                     << "Falta uno o mas datos";
        QTest::newRow("nombre de 256 letras") << con(0, QString(256, u'n')) << "O"
                                              << "Nombre del producto demasiado largo";
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

    // What is saved comes back as typed: an empty Abbe box stays empty (no
    // value is stored), a name of 255 letters is whole.
    void grabarYVolver_data()
    {
        QTest::addColumn<QStringList>("valores");
        QTest::addColumn<QString>("abbe");
        QTest::newRow("sin numero de Abbe") << QStringList{"Trivex", "Uretano", "1.532", "1.11", ""} << "";
        QTest::newRow("Abbe decimal") << QStringList{"Trivex", "Uretano", "1.532", "1.11", "44.5"} << "44.5";
        QTest::newRow("nombre de 255 letras")
            << QStringList{QString(255, u'n'), "Uretano", "1.532", "1.11", "45"} << "45";
    }
    void grabarYVolver()
    {
        QFETCH(QStringList, valores);
        QFETCH(QString, abbe);
        Banco b(QStringList{"CR-39"});
        b.grabarNuevo(valores, "O");
        QVERIFY(b.dlg.cajas.empty());
        b.clicks({"SSCommand_Inicio", "SSCommand_Refrescar", "SSCommand_Final"});
        QCOMPARE(b.producto(), valores[0]);
        QCOMPARE(b.caja("Text_Abbe"), abbe);
        QCOMPARE(b.productosEnArchivo(), (std::vector<std::string>{"CR-39", valores[0].toStdString()}));
        // Saved again untouched, the empty value stays empty.
        b.clicks({"SSCommand_Editar", "SSCommand_Grabar", "SSCommand_Inicio", "SSCommand_Final"});
        QVERIFY(b.dlg.cajas.empty());
        QCOMPARE(b.caja("Text_Abbe"), abbe);
    }

    // A file made by the previous version keeps its table, which requires
    // the Abbe number: the window says so instead of a bare refusal.
    void archivoAnteriorExigeAbbe()
    {
        if (almacen_prueba::EsServidor())
            QSKIP("sólo con el catálogo en un archivo");
        auto c = std::make_shared<CatalogoPrueba>();
        QVERIFY(EjecutarSql(
            c->archivo(),
            {{"CREATE TABLE \"Tabla_Materiales\" (\"Id\" INTEGER PRIMARY KEY AUTOINCREMENT, \"producto\" TEXT NOT "
              "NULL CHECK (trim(\"producto\") <> ''), \"descripción\" TEXT NOT NULL CHECK (trim(\"descripción\") <> "
              "''), \"Provedor principal\" TEXT, \"indice de refracción\" REAL NOT NULL CHECK "
              "(typeof(\"indice de refracción\") = 'real' AND \"indice de refracción\" > 1 AND \"indice de "
              "refracción\" < 3), \"densidad\" REAL NOT NULL CHECK (typeof(\"densidad\") = 'real' AND "
              "\"densidad\" > 0 AND \"densidad\" < 25), \"abbe\" REAL NOT NULL CHECK (typeof(\"abbe\") = 'real' "
              "AND \"abbe\" > 0 AND \"abbe\" < 200), \"material\" INTEGER NOT NULL DEFAULT 0 CHECK (\"material\" "
              "IN (0, 1)), \"material 2\" INTEGER NOT NULL DEFAULT 0 CHECK (\"material 2\" IN (0, 1)))"},
             {"INSERT INTO \"Tabla_Materiales\" (producto, \"descripción\", \"indice de refracción\", densidad, "
              "abbe, \"material 2\") VALUES ('CR-39', 'ADC', 1.498, 1.32, 58, 1)"}}));
        Banco b(c);
        b.grabarNuevo({"Trivex", "Uretano", "1.532", "1.11", ""}, "O");
        QCOMPARE(b.dlg.titulos(), std::vector<std::string>{"Falta el número de Abbe"});
        QVERIFY(b.dlg.cajas[0].texto.find(c->archivo().toStdString()) != std::string::npos);
        QTest::keyClicks(b.control("Text_Abbe"), "45");
        b.clicks({"SSCommand_Grabar"});
        QCOMPARE(b.dlg.cajas.size(), 1u);
        QCOMPARE(b.productosEnArchivo(), (std::vector<std::string>{"CR-39", "Trivex"}));
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
        QTest::newRow("texto de 256 letras: rechazado, nada se mueve") << QString(256, u'a') << "ABC Plus"
                                                                       << "El texto a buscar tiene 256 caracteres; "
                                                                          "el máximo es 255. Ningún producto tiene "
                                                                          "un nombre tan largo.";
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

    // Two benches on one catalogue: two materials added at the same moment
    // are both kept, with different Ids; a record deleted at one bench while
    // the other shows it gives the other a message when it saves or selects
    // it, and every other record stays.
    void dosPuestos_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::newRow("dos altas a la vez") << "altas";
        QTest::newRow("grabar lo que otro borro") << "grabar";
        QTest::newRow("seleccionar lo que otro borro") << "seleccionar";
    }
    void dosPuestos()
    {
        QFETCH(QString, caso);
        Banco a(QStringList{"A", "B", "C"});
        Banco b(a.catalogo);
        if (caso == "altas") {
            a.escribirNuevo({"Nuevo A", "Resina", "1.5", "1.3", "40"}, "O");
            b.escribirNuevo({"Nuevo B", "Vidrio", "1.7", "3.2", ""}, "M");
            a.clicks({"SSCommand_Grabar"});
            b.clicks({"SSCommand_Grabar"});
            QVERIFY(a.dlg.cajas.empty() && b.dlg.cajas.empty());
            // Each bench shows its own new record.
            QCOMPARE(a.producto(), QString("Nuevo A"));
            QCOMPARE(b.producto(), QString("Nuevo B"));
            QCOMPARE(a.productosEnArchivo(), (std::vector<std::string>{"A", "B", "C", "Nuevo A", "Nuevo B"}));
            CatalogoSql catalogo(*a.base);
            QVERIFY(catalogo.BuscarPorNombre("Nuevo A")->Id != catalogo.BuscarPorNombre("Nuevo B")->Id);
            return;
        }
        a.clicks({"SSCommand_Siguiente"});
        b.dlg.respuestas.push_back(Respuesta::Si);
        b.clicks({"SSCommand_Siguiente", "SSCommand_Borrar"});
        QCOMPARE(a.producto(), QString("B"));
        if (caso == "grabar") {
            a.clicks({"SSCommand_Editar"});
            QTest::keyClicks(a.control("Text_Descripcion"), " cambiada");
            a.clicks({"SSCommand_Grabar"});
            QVERIFY(!a.control("SSCommand_Grabar")->isEnabled());
        } else {
            a.clicks({"SSCommand_Seleccionar"});
            QVERIFY(a.w->isVisible());
            QVERIFY(a.estado.MaterialDeBase != "Si");
        }
        QCOMPARE(a.dlg.titulos(), std::vector<std::string>{"Producto borrado en otro puesto"});
        QVERIFY(a.dlg.cajas[0].texto.find("\"B\"") != std::string::npos);
        QCOMPARE(a.productosEnArchivo(), (std::vector<std::string>{"A", "C"}));
        QCOMPARE(a.producto(), QString("C"));
    }

    // A bench whose role may only use the table, as the README grants it:
    // it adds and deletes like the owner. Without the right to add, it is
    // told why in Spanish, naming the server and the database.
    void puestoConPermisosSoloDeTabla()
    {
        if (!almacen_prueba::EsServidor())
            QSKIP("sólo con el catálogo en un servidor");
        auto c = Banco::Escrito(Nombres({"A", "B"}));
        QVERIFY(almacen_prueba::Administrar("DROP ROLE IF EXISTS vantora_banco"));
        QVERIFY(almacen_prueba::Administrar("CREATE ROLE vantora_banco LOGIN PASSWORD 'banco'"));
        QVERIFY(c->Ejecutar({{"GRANT SELECT, INSERT, UPDATE, DELETE ON \"Tabla_Materiales\" TO vantora_banco"}}));
        Banco b(UbicacionCatalogo::DeTexto("postgresql://vantora_banco:banco@/" + almacen_prueba::BaseDelPrograma(),
                                           "/", "prueba"));
        QVERIFY(b.dlg.cajas.empty());
        b.grabarNuevo({"Trivex", "Uretano", "1.532", "1.11", "45"}, "O");
        b.dlg.respuestas.push_back(Respuesta::Si);
        b.clicks({"SSCommand_Inicio", "SSCommand_Borrar"});
        QCOMPARE(b.dlg.titulos(), std::vector<std::string>{"Atención."});
        QCOMPARE(b.productosEnArchivo(), (std::vector<std::string>{"B", "Trivex"}));
        QVERIFY(c->Ejecutar({{"REVOKE INSERT ON \"Tabla_Materiales\" FROM vantora_banco"}}));
        b.grabarNuevo({"Policarb", "Policarbonato", "1.586", "1.2", "30"}, "O");
        QCOMPARE(b.ultimoTitulo(), QString("Se ha producido un error."));
        QCOMPARE(QString::fromStdString(b.dlg.cajas.back().texto),
                 "No se pudo grabar el registro en la Base de Datos de Materiales (base \"" +
                     almacen_prueba::BaseDelPrograma() + "\" del servidor " + qEnvironmentVariable("PGHOST") + ":" +
                     qEnvironmentVariable("PGPORT") +
                     ", usuario vantora_banco): el usuario no tiene permiso para esa operación en el servidor.");
        QVERIFY(b.control("SSCommand_Grabar")->isEnabled());
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
