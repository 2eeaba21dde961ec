// The materials window driven as the user drives it: clicks, typed text and
// the answers given to its boxes.

#include "apoyo/dialogos_prueba.h"
#include "apoyo/materiales_prueba.h"
#include "base_materiales.h"
#include "catalogo_sqlite.h"
#include "estado_diseno.h"
#include "form1_base_materiales.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const std::string kFaltanDatos = "Para indexar, modificar o editar los registros deben ingresarse los datos "
                                 "solicitados en cada uno de los campos del formulario. \n\r";

const QStringList kBotones{"SSCommand_Inicio",   "SSCommand_Anterior", "SSCommand_Siguiente", "SSCommand_Final",
                           "SSCommand_Buscar",   "SSCommand_Nuevo",    "SSCommand_Editar",    "SSCommand_Grabar",
                           "SSCommand_Cancelar", "SSCommand_Borrar",   "SSCommand_Refrescar", "SSCommand_Seleccionar"};
const QStringList kCajas{"Text_Producto", "Text_Descripcion", "Text_proveedor", "Text_Indice", "Text_Densidad", "Text_Abbe"};

QStringList Menos(QStringList lista, const QStringList& quitar)
{
    for (const QString& q : quitar)
        lista.removeAll(q);
    return lista;
}

// A data folder of its own, the materials file holding the given records,
// and the window shown on it.
struct Banco {
    QTemporaryDir dir;
    QString archivo = dir.filePath("materiales.mdb");
    EstadoDiseno estado;
    DialogosPrueba dlg;
    std::unique_ptr<BaseMateriales> base;
    std::unique_ptr<Form1_BaseMateriales> w;

    explicit Banco(const QList<RegistroPrueba>& registros)
    {
        if (!EscribirBase(archivo, registros))
            qFatal("no se pudo preparar la base de prueba");
        base = std::make_unique<BaseMateriales>(archivo.toStdString());
        base->Abrir(dlg);
        w = std::make_unique<Form1_BaseMateriales>(*base, estado, dlg);
        w->show();
    }
    explicit Banco(const QStringList& nombres) : Banco(Nombres(nombres)) {}

    template <typename T = QWidget>
    T* control(const QString& nombre) const
    {
        T* c = w->findChild<T*>(nombre);
        if (!c)
            qFatal("falta el control %s", qPrintable(nombre));
        return c;
    }
    void click(const QString& boton) { QTest::mouseClick(control<QPushButton>(boton), Qt::LeftButton); }
    void clicks(const QStringList& botones)
    {
        for (const QString& b : botones)
            click(b);
    }
    QString texto(const QString& caja) const
    {
        if (auto* t = qobject_cast<QPlainTextEdit*>(control(caja)))
            return t->toPlainText();
        return control<QLineEdit>(caja)->text();
    }
    void escribir(const QString& caja, const QString& texto)
    {
        QWidget* c = control(caja);
        if (auto* t = qobject_cast<QPlainTextEdit*>(c))
            t->selectAll();
        else
            static_cast<QLineEdit*>(c)->selectAll();
        QTest::keyClick(c, Qt::Key_Delete);
        QTest::keyClicks(c, texto);
    }
    void marcar(const QString& check, bool marcado)
    {
        if (control<QCheckBox>(check)->isChecked() != marcado)
            QTest::mouseClick(control<QCheckBox>(check), Qt::LeftButton, {}, QPoint(5, 5));
    }
    QStringList habilitados(const QStringList& nombres) const
    {
        QStringList si;
        for (const QString& n : nombres)
            if (control(n)->isEnabled())
                si << n;
        return si;
    }
    // What the design's own cursor reads from the file.
    std::vector<std::string> productosEnArchivo() const { return CatalogoSqlite(*base).Productos(); }
};

} // namespace

class TestBaseMateriales : public QObject {
    Q_OBJECT

private slots:
    void controles_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QRect>("lugar");
        QTest::newRow("producto") << "Text_Producto" << "" << QRect(128, 14, 193, 23);
        QTest::newRow("constantes") << "SSFrame1" << "Constantes físicas" << QRect(8, 44, 211, 93);
        QTest::newRow("indice") << "Text_Indice" << "" << QRect(128, 18, 63, 21);
        QTest::newRow("materiales") << "SSFrame_Material" << "Materiales" << QRect(8, 138, 211, 37);
        QTest::newRow("mineral") << "Check_Mineral" << "Mineral" << QRect(12, 16, 67, 17);
        QTest::newRow("descripcion") << "Text_Descripcion" << "" << QRect(78, 186, 243, 45);
        QTest::newRow("nuevo") << "SSCommand_Nuevo" << "Nuevo Producto" << QRect(228, 42, 95, 19);
        QTest::newRow("seleccionar") << "SSCommand_Seleccionar" << "Seleccionar" << QRect(18, 298, 303, 19);
        QTest::newRow("inicio") << "SSCommand_Inicio" << "| < Inicio" << QRect();
        QTest::newRow("anterior") << "SSCommand_Anterior" << " << Anterior" << QRect();
        QTest::newRow("etiqueta abbe") << "Label_Abbe" << "Número de  Abbe:" << QRect();
    }
    void controles()
    {
        QFETCH(QString, nombre);
        QFETCH(QString, texto);
        QFETCH(QRect, lugar);
        Banco b(QStringList{"CR-39"});
        QCOMPARE(b.w->windowTitle(), QString("Base de Datos de Materiales"));
        QWidget* c = b.control(nombre);
        const QVariant propiedad = c->property("title").isValid() ? c->property("title") : c->property("text");
        if (!texto.isEmpty())
            QCOMPARE(propiedad.toString(), texto);
        if (!lugar.isNull())
            QCOMPARE(c->geometry(), lugar);
        QVERIFY(b.w->rect().contains(c->mapTo(b.w.get(), c->rect().bottomRight())));
    }

    void estados_data()
    {
        QTest::addColumn<QStringList>("botones");
        QTest::addColumn<QStringList>("cajas");
        QTest::addColumn<QStringList>("habilitados");
        const QStringList navegando = Menos(kBotones, {"SSCommand_Grabar", "SSCommand_Seleccionar"});
        QTest::newRow("al cargar") << QStringList{} << QStringList{"Text_Descripcion"}
                                   << Menos(kBotones, {"SSCommand_Grabar"});
        QTest::newRow("nuevo") << QStringList{"SSCommand_Nuevo"} << kCajas
                               << QStringList{"SSCommand_Grabar", "SSCommand_Cancelar"};
        QTest::newRow("editar") << QStringList{"SSCommand_Editar"} << kCajas
                                << QStringList{"SSCommand_Grabar", "SSCommand_Cancelar"};
        QTest::newRow("cancelar") << QStringList{"SSCommand_Editar", "SSCommand_Cancelar"} << QStringList{} << navegando;
        QTest::newRow("actualizar") << QStringList{"SSCommand_Refrescar"} << QStringList{"Text_Descripcion"} << navegando;
        QTest::newRow("borrar respondido No") << QStringList{"SSCommand_Borrar"} << QStringList{"Text_Descripcion"}
                                              << navegando;
    }
    // The check boxes stay usable in every state.
    void estados()
    {
        QFETCH(QStringList, botones);
        QFETCH(QStringList, cajas);
        QFETCH(QStringList, habilitados);
        Banco b(QStringList{"CR-39", "Trivex"});
        b.clicks(botones);
        QCOMPARE(b.habilitados(kCajas), cajas);
        QCOMPARE(b.habilitados(kBotones), habilitados);
        QCOMPARE(b.habilitados({"Check_Mineral", "Check_Organico"}), QStringList({"Check_Mineral", "Check_Organico"}));
        if (cajas == kCajas)
            QCOMPARE(b.w->focusWidget(), b.control("Text_Producto"));
    }

    void navegacion_data()
    {
        QTest::addColumn<QStringList>("botones");
        QTest::addColumn<QString>("producto");
        QTest::newRow("al cargar, el primero") << QStringList{} << "A1";
        QTest::newRow("anterior en el primero") << QStringList{"SSCommand_Anterior"} << "A1";
        QTest::newRow("siguiente dos veces") << QStringList{"SSCommand_Siguiente", "SSCommand_Siguiente"} << "C3";
        // 300 records, more than the model reads at once: A1, B2, C3, M1 ... M297.
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
        QCOMPARE(b.texto("Text_Producto"), producto);
        QCOMPARE(b.texto("Text_Descripcion"), "Descripción de " + producto);
        QVERIFY(b.dlg.cajas.empty());
    }

    void grabarRechazado_data()
    {
        QTest::addColumn<QStringList>("valores"); // producto, descripción, índice, densidad, Abbe
        QTest::addColumn<QString>("materiales");  // M mineral, O orgánico
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("texto");
        const QStringList bien{"Nuevo", "Resina nueva", "1.6", "1.3", "42"};
        const auto con = [&](int i, const QString& v) { QStringList l = bien; l[i] = v; return l; };
        const QString faltanDatos = QString::fromStdString(kFaltanDatos);
        QTest::newRow("sin nombre") << con(0, "") << "O" << "Falta nombre del producto." << faltanDatos;
        QTest::newRow("nombre en blanco") << con(0, "   ") << "O" << "Falta nombre del producto." << faltanDatos;
        QTest::newRow("sin material") << bien << "" << "No indica material"
                                      << "Debe seleccionar el material del producto. \n\r";
        QTest::newRow("ambos materiales") << bien << "MO" << "Selección de material ambigua."
                                          << "No puede seleccionar ambos materiales, opte por el correspondiente al "
                                             "producto seleccionado.\n\r";
        QTest::newRow("sin descripcion") << con(1, "") << "O" << "Falta descripción del producto."
                                         << "Debe proporcionar la descripción técnica del producto.\n\r";
        QTest::newRow("indice no numerico") << con(2, "abc") << "O" << "Falta uno o mas datos" << faltanDatos;
        QTest::newRow("indice con coma decimal") << con(2, "1,6") << "O" << "Falta uno o mas datos" << faltanDatos;
        QTest::newRow("indice imposible") << con(2, "0.9") << "M" << "Falta uno o mas datos" << faltanDatos;
        QTest::newRow("densidad vacia") << con(3, "") << "O" << "Falta uno o mas datos" << faltanDatos;
        QTest::newRow("abbe no numerico") << con(4, "x") << "O" << "Falta uno o mas datos" << faltanDatos;
    }
    // Each refusal shows its box and leaves the record open with what was
    // typed; the file is not touched.
    void grabarRechazado()
    {
        QFETCH(QStringList, valores);
        QFETCH(QString, materiales);
        QFETCH(QString, titulo);
        QFETCH(QString, texto);
        Banco b(QStringList{"CR-39"});
        b.click("SSCommand_Nuevo");
        const QStringList cajas{"Text_Producto", "Text_Descripcion", "Text_Indice", "Text_Densidad", "Text_Abbe"};
        for (int i = 0; i < cajas.size(); ++i)
            b.escribir(cajas[i], valores[i]);
        b.marcar("Check_Mineral", materiales.contains('M'));
        b.marcar("Check_Organico", materiales.contains('O'));
        b.click("SSCommand_Grabar");
        QCOMPARE(b.dlg.cajas.size(), 1u);
        QCOMPARE(QString::fromStdString(b.dlg.cajas[0].titulo), titulo);
        QCOMPARE(QString::fromStdString(b.dlg.cajas[0].texto), texto);
        QCOMPARE(b.dlg.cajas[0].icono, Icono::Critico);
        QCOMPARE(b.habilitados(kBotones), QStringList({"SSCommand_Grabar", "SSCommand_Cancelar"}));
        QCOMPARE(b.texto("Text_Indice"), valores[2]);
        if (titulo == "Falta nombre del producto.")
            QCOMPARE(b.w->focusWidget(), b.control("Text_Producto"));
        QCOMPARE(b.productosEnArchivo(), std::vector<std::string>{"CR-39"});
    }

    // A refused record corrected and saved is written once; an edited record
    // keeps its place; the design's cursor reads both at once.
    void grabarTrasCorregirYEditar()
    {
        Banco b(QStringList{"CR-39", "Trivex"});
        b.click("SSCommand_Nuevo");
        b.escribir("Text_Producto", "Resina 1.6");
        b.escribir("Text_Descripcion", "Tiouretano");
        b.escribir("Text_Indice", "1,6");
        b.escribir("Text_Densidad", "1.3");
        b.escribir("Text_Abbe", "41");
        b.marcar("Check_Organico", true);
        b.click("SSCommand_Grabar");
        QCOMPARE(b.dlg.titulos(), std::vector<std::string>{"Falta uno o mas datos"});
        b.escribir("Text_Indice", "1.6");
        b.click("SSCommand_Grabar");
        QCOMPARE(b.dlg.cajas.size(), 1u);
        QCOMPARE(b.productosEnArchivo(), (std::vector<std::string>{"CR-39", "Trivex", "Resina 1.6"}));
        QCOMPARE(b.texto("Text_Producto"), QString("Resina 1.6"));
        QCOMPARE(b.habilitados(kCajas), QStringList{});
        QCOMPARE(CatalogoSqlite(*b.base).BuscarPorNombre("resina")->indice, 1.6);

        b.clicks({"SSCommand_Inicio", "SSCommand_Editar"});
        b.escribir("Text_Densidad", "1.31");
        b.click("SSCommand_Grabar");
        QCOMPARE(b.texto("Text_Producto"), QString("CR-39"));
        QCOMPARE(b.texto("Text_Densidad"), QString("1.31"));
        QCOMPARE(CatalogoSqlite(*b.base).BuscarPorNombre("CR-39")->densidad, 1.31);
    }

    void cancelar_data()
    {
        QTest::addColumn<QString>("abrir");
        QTest::newRow("nuevo") << "SSCommand_Nuevo";
        QTest::newRow("editar") << "SSCommand_Editar";
    }
    // What was typed is discarded and the record that was shown comes back.
    void cancelar()
    {
        QFETCH(QString, abrir);
        Banco b(QStringList{"CR-39", "Trivex"});
        b.clicks({"SSCommand_Siguiente", abrir});
        b.escribir("Text_Producto", "Otro");
        b.marcar("Check_Mineral", true);
        b.click("SSCommand_Cancelar");
        QCOMPARE(b.texto("Text_Producto"), QString("Trivex"));
        QVERIFY(!b.control<QCheckBox>("Check_Mineral")->isChecked());
        b.clicks({"SSCommand_Inicio", "SSCommand_Final"});
        QCOMPARE(b.texto("Text_Producto"), QString("Trivex"));
        QCOMPARE(b.productosEnArchivo(), (std::vector<std::string>{"CR-39", "Trivex"}));
    }

    void borrar_data()
    {
        QTest::addColumn<QStringList>("productos");
        QTest::addColumn<QStringList>("antes");
        QTest::addColumn<bool>("si");
        QTest::addColumn<QString>("mostrado");
        QTest::addColumn<QStringList>("quedan");
        const QStringList abc{"A", "B", "C"};
        QTest::newRow("el ultimo: el nuevo ultimo") << abc << QStringList{"SSCommand_Final"} << true << "B"
                                                    << QStringList{"A", "B"};
        QTest::newRow("el del medio: el siguiente") << abc << QStringList{"SSCommand_Siguiente"} << true << "C"
                                                    << QStringList{"A", "C"};
        QTest::newRow("respuesta No") << abc << QStringList{"SSCommand_Final"} << false << "C" << abc;
        QTest::newRow("el unico: tabla vacia") << QStringList{"A"} << QStringList{} << true << "" << QStringList{};
    }
    void borrar()
    {
        QFETCH(QStringList, productos);
        QFETCH(QStringList, antes);
        QFETCH(bool, si);
        QFETCH(QString, mostrado);
        QFETCH(QStringList, quedan);
        Banco b(productos);
        b.clicks(antes);
        b.dlg.respuestas.push_back(si ? Respuesta::Si : Respuesta::No);
        b.click("SSCommand_Borrar");
        QCOMPARE(b.dlg.cajas.size(), 1u);
        QCOMPARE(b.dlg.cajas[0].titulo, std::string("Atención."));
        QCOMPARE(b.dlg.cajas[0].texto, std::string("   ¿Desea borrar el registro?"));
        QCOMPARE(b.dlg.cajas[0].botones, Botones::SiNo);
        QCOMPARE(b.dlg.cajas[0].icono, Icono::Ninguno);
        QCOMPARE(b.texto("Text_Producto"), mostrado);
        std::vector<std::string> esperados;
        for (const QString& q : quedan)
            esperados.push_back(q.toStdString());
        QCOMPARE(b.productosEnArchivo(), esperados);
        QCOMPARE(b.habilitados(kBotones), Menos(kBotones, {"SSCommand_Grabar", "SSCommand_Seleccionar"}));
    }

    void buscar_data()
    {
        QTest::addColumn<QVariant>("respuesta"); // invalid: the box was cancelled
        QTest::addColumn<QString>("mostrado");
        QTest::addColumn<bool>("noEncontrado");
        QTest::newRow("parte del nombre en minusculas") << QVariant("plus") << "ABC Plus" << false;
        QTest::newRow("el primero que lo contiene") << QVariant("ABC") << "ABC" << false;
        QTest::newRow("no encontrado: el ultimo") << QVariant("Trivex") << "Vidrio" << true;
        QTest::newRow("comodin tomado literal") << QVariant("A%") << "Vidrio" << true;
        QTest::newRow("respuesta vacia: el primero") << QVariant("") << "ABC" << false;
        QTest::newRow("cancelada: como vacia") << QVariant() << "ABC" << false;
    }
    void buscar()
    {
        QFETCH(QVariant, respuesta);
        QFETCH(QString, mostrado);
        QFETCH(bool, noEncontrado);
        Banco b(QStringList{"ABC", "ABC Plus", "Vidrio"});
        b.click("SSCommand_Siguiente");
        b.dlg.textos.push_back(respuesta.isValid() ? std::optional(respuesta.toString().toStdString()) : std::nullopt);
        b.click("SSCommand_Buscar");
        QCOMPARE(b.dlg.preguntas, std::vector<std::string>{"¿Que producto desea buscar?|"});
        QCOMPARE(b.texto("Text_Producto"), mostrado);
        QCOMPARE(b.dlg.cajas.size(), noEncontrado ? 1u : 0u);
        if (noEncontrado) {
            QCOMPARE(b.dlg.cajas[0].texto, std::string("No encuentro el nombre solicitado"));
            QCOMPARE(b.dlg.cajas[0].titulo, std::string());
            QCOMPARE(b.dlg.cajas[0].icono, Icono::Ninguno);
        }
    }

    // The boxes show numbers with a point whatever the regional settings,
    // and the design receives exactly what they show.
    void seleccionar()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        Banco b(QList<RegistroPrueba>{{1, "CR-39", 1.498, 1.32}, {2, "Mineral 1.6", 1.6, 2.63, true}});
        b.click("SSCommand_Siguiente");
        QCOMPARE(b.texto("Text_Indice"), QString("1.6"));
        QCOMPARE(b.texto("Text_Densidad"), QString("2.63"));
        b.click("SSCommand_Seleccionar");
        QLocale::setDefault(QLocale::c());
        QVERIFY(!b.w->isVisible());
        QCOMPARE(b.estado.MaterialDeBase, std::string("Si"));
        QCOMPARE(b.estado.IndiceMaterial.valor(), 1.6);
        QCOMPARE(b.estado.Densidad.valor(), 2.63);
        QCOMPARE(b.estado.NombreMaterial, std::string("Mineral 1.6"));
        QVERIFY(b.dlg.cajas.empty());
        b.w->show();
        QCOMPARE(b.texto("Text_Producto"), QString("Mineral 1.6"));
    }

    // An empty table: moving, editing and deleting do nothing and say
    // nothing; "Seleccionar" says why it hands nothing on; a first record
    // can be added.
    void tablaVacia()
    {
        Banco b(QStringList{});
        b.clicks({"SSCommand_Inicio", "SSCommand_Anterior", "SSCommand_Siguiente", "SSCommand_Final",
                  "SSCommand_Editar", "SSCommand_Borrar"});
        QVERIFY(b.dlg.cajas.empty());
        QCOMPARE(b.habilitados(kBotones), Menos(kBotones, {"SSCommand_Grabar"}));
        b.click("SSCommand_Seleccionar");
        QCOMPARE(b.dlg.titulos(), std::vector<std::string>{"No hay productos"});
        QVERIFY(b.w->isVisible());
        QVERIFY(!b.estado.IndiceMaterial.definido());
        QCOMPARE(b.estado.MaterialDeBase, std::string());

        b.click("SSCommand_Nuevo");
        b.escribir("Text_Producto", "Trivex");
        b.escribir("Text_Descripcion", "Uretano");
        b.escribir("Text_Indice", "1.532");
        b.escribir("Text_Densidad", "1.11");
        b.escribir("Text_Abbe", "45");
        b.marcar("Check_Organico", true);
        b.click("SSCommand_Grabar");
        QCOMPARE(b.productosEnArchivo(), std::vector<std::string>{"Trivex"});
    }

    // While no record is open for editing nothing typed or clicked changes
    // what is shown or stored.
    void sinEditarNadaCambia()
    {
        Banco b(QStringList{"CR-39", "Trivex"});
        QTest::keyClicks(b.control("Text_Descripcion"), "xyz");
        QCOMPARE(b.texto("Text_Descripcion"), QString("Descripción de CR-39"));
        b.marcar("Check_Mineral", true);
        QVERIFY(!b.control<QCheckBox>("Check_Mineral")->isChecked());
        b.clicks({"SSCommand_Siguiente", "SSCommand_Anterior"});
        QCOMPARE(b.texto("Text_Descripcion"), QString("Descripción de CR-39"));
        QCOMPARE(CatalogoSqlite(*b.base).BuscarPorNombre("CR-39")->mineral, false);
    }

    // Closing discards a record still open; showing again loads the window
    // anew, with "Seleccionar" usable again.
    void cerrarYMostrar()
    {
        Banco b(QStringList{"CR-39", "Trivex"});
        b.clicks({"SSCommand_Final", "SSCommand_Nuevo"});
        b.escribir("Text_Producto", "A medias");
        b.w->close();
        b.w->show();
        QCOMPARE(b.texto("Text_Producto"), QString("CR-39"));
        QCOMPARE(b.habilitados(kBotones), Menos(kBotones, {"SSCommand_Grabar"}));
        QCOMPARE(b.productosEnArchivo(), (std::vector<std::string>{"CR-39", "Trivex"}));
    }

    // A file that cannot be used: the window opens empty and adding a record
    // says why it cannot, without touching the file.
    void baseDanada()
    {
        QTemporaryDir dir;
        const QString archivo = dir.filePath("materiales.mdb");
        QFile f(archivo);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("no es una base de datos");
        f.close();
        BaseMateriales base(archivo.toStdString());
        DialogosPrueba dlg;
        EstadoDiseno estado;
        QVERIFY(!base.Abrir(dlg));
        Form1_BaseMateriales w(base, estado, dlg);
        w.show();
        QTest::mouseClick(w.findChild<QPushButton*>("SSCommand_Nuevo"), Qt::LeftButton);
        QCOMPARE(dlg.titulos(), (std::vector<std::string>{"Base de Datos de Materiales dañada",
                                                          "Base de Datos de Materiales no disponible"}));
        QCOMPARE(Contenido(archivo), QByteArray("no es una base de datos"));
    }
};

QTEST_MAIN(TestBaseMateriales)
#include "test_base_materiales.moc"
