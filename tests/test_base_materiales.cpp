// The materials window driven as the user drives it: clicks, typed text and
// the answers given to its boxes. CTest runs this program twice: on a SQLite
// file and on a PostgreSQL server (see apoyo/materiales_prueba.h).

#include "apoyo/materiales_prueba.h"
#include "codigo_dcs.h"
#include "espesor_minimo.h"
#include "estado_diseno.h"
#include "form1_base_materiales.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {

// A window shown on a catalogue, as the test's user or at another address.
struct Banco {
    std::shared_ptr<CatalogoPrueba> catalogo;
    EstadoDiseno estado;
    DialogosPrueba dlg;
    std::unique_ptr<BaseMateriales> base;
    std::unique_ptr<Form1_BaseMateriales> w;

    explicit Banco(std::shared_ptr<CatalogoPrueba> c, const QString& direccion = {}) : catalogo(std::move(c))
    {
        base = std::make_unique<BaseMateriales>(direccion.isEmpty() ? catalogo->ubicacion()
                                                                    : UbicacionCatalogo::DeTexto(direccion, "/", "p"));
        base->Abrir(dlg);
        w = std::make_unique<Form1_BaseMateriales>(*base, estado, dlg);
        w->show();
    }

    // A button's name without "SSCommand_" clicks it; "M" and "O" click the
    // mineral and organic boxes; "Caja=texto" types into Text_Caja; "si"
    // and "no" answer the next question, "?texto" the next input box.
    void pasos(const QStringList& pasos)
    {
        for (const QString& p : pasos) {
            if (p == "si" || p == "no")
                dlg.respuestas.push_back(p == "si" ? Respuesta::Si : Respuesta::No);
            else if (p.startsWith('?'))
                dlg.textos.push_back(p.mid(1).toStdString());
            else if (p == "M" || p == "O")
                QTest::mouseClick(control(p == "M" ? "Check_Mineral" : "Check_Organico"), Qt::LeftButton, {},
                                  QPoint(5, 5));
            else if (p.contains('='))
                QTest::keyClicks(control("Text_" + p.section('=', 0, 0)), p.section('=', 1));
            else
                QTest::mouseClick(control("SSCommand_" + p), Qt::LeftButton);
        }
    }
    QWidget* control(const QString& nombre) const { return w->findChild<QWidget*>(nombre); }
    QString producto() const { return w->findChild<QLineEdit*>("Text_Producto")->text(); }
    // Name|description|supplier|index|density|Abbe number|M for mineral
    // and O for organic, as the window shows them.
    QString vista() const
    {
        QStringList v{producto(), w->findChild<QPlainTextEdit*>()->toPlainText()};
        for (const char* caja : {"Text_proveedor", "Text_Indice", "Text_Densidad", "Text_Abbe"})
            v << w->findChild<QLineEdit*>(caja)->text();
        v << QString(w->findChild<QCheckBox*>("Check_Mineral")->isChecked() ? "M" : "") +
                 (w->findChild<QCheckBox*>("Check_Organico")->isChecked() ? "O" : "");
        return v.join('|');
    }
    // The boxes shown: each one's title, or its text when it has none.
    QStringList avisos() const
    {
        QStringList l;
        for (const DialogosPrueba::Caja& c : dlg.cajas)
            l << QString::fromStdString(c.titulo.empty() ? c.texto : c.titulo);
        return l;
    }
};

std::shared_ptr<CatalogoPrueba> Escrito(const QList<RegistroPrueba>& registros)
{
    auto c = std::make_shared<CatalogoPrueba>();
    if (!c->Escribir(registros))
        qFatal("no se pudo preparar el catálogo de prueba");
    return c;
}

// "Nuevo Producto" and a record typed: name, description, index, density
// and Abbe number, then the materials ticked.
QStringList Alta(const QStringList& v, const QString& materiales = "O")
{
    return QStringList{"Nuevo",          "Producto=" + v[0], "Descripcion=" + v[1],
                       "Indice=" + v[2], "Densidad=" + v[3], "Abbe=" + v[4]} +
           materiales.split(QString(), Qt::SkipEmptyParts);
}

} // namespace

class TestBaseMateriales : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { almacen_prueba::Preparar(); }
    void cleanupTestCase() { almacen_prueba::Terminar(); }

    // The names in the catalogue and the steps taken ("2:" at a second
    // bench); then what the first window shows (the name alone, or all that
    // vista() writes), the boxes both showed, and the names left in the
    // store (none given: the store as it was, to the byte).
    void ventana_data()
    {
        QTest::addColumn<QStringList>("registros");
        QTest::addColumn<QStringList>("pasos");
        QTest::addColumn<QString>("mostrado");
        QTest::addColumn<QStringList>("avisos");
        QTest::addColumn<QStringList>("quedan");
        const auto fila = [](const char* caso, const QStringList& registros, const QStringList& pasos,
                             const QString& mostrado, const QStringList& avisos = {}, const QStringList& quedan = {}) {
            QTest::newRow(caso) << registros << pasos << mostrado << avisos << quedan;
        };
        // More records than the model reads at once.
        QStringList trescientos{"A1", "B2", "C3"};
        for (int i = 1; trescientos.size() < 300; ++i)
            trescientos << "M" + QString::number(i);
        fila("final, siguiente, anterior: el penultimo", trescientos, {"Final", "Siguiente", "Anterior"}, "M296");

        // Searched from the second record.
        const QStringList nombres{"ABC", "ABC Plus", "Vidrio", "Zafiro"};
        fila("buscar parte del nombre en minusculas", nombres, {"Siguiente", "?vid", "Buscar"}, "Vidrio");
        fila("buscar lo que no esta: el ultimo", nombres, {"Siguiente", "?Trivex", "Buscar"}, "Zafiro",
             {"No encuentro el nombre solicitado"});
        fila("buscar 256 letras: rechazado, nada se mueve", nombres, {"Siguiente", "?" + QString(256, u'a'), "Buscar"},
             "ABC Plus", {"Texto de búsqueda demasiado largo"});

        const QStringList abc{"A", "B", "C"};
        fila("borrar el ultimo: se ve el nuevo ultimo", abc, {"Final", "si", "Borrar"}, "B", {"Atención."}, {"A", "B"});
        fila("borrar, respuesta No: nada", abc, {"Final", "no", "Borrar"}, "C", {"Atención."});
        // What the window shows is what is stored while no record is open.
        // A click on either material puts back both, so each comes last once.
        const QString registroA = "A|Descripción de A|Proveedor|1.5|1.3|40|O";
        fila("sin registro abierto, escribir no cambia nada", abc,
             {"Producto=9", "Descripcion=9", "proveedor=9", "Indice=9", "Densidad=9", "Abbe=9", "O", "M", "Grabar"},
             registroA);
        // Two materials added at the same moment at two benches are both
        // kept; a record deleted at one bench while the other shows it gives
        // the other a message when it saves or selects it.
        fila("dos altas a la vez", abc,
             Alta({"Nuevo A", "Resina", "1.5", "1.3", "40"}) +
                 Alta({"Nuevo B", "Vidrio", "1.7", "3.2", ""}, "M").replaceInStrings(QRegularExpression("^"), "2:") +
                 QStringList{"Grabar", "2:Grabar"},
             "Nuevo A", {}, {"A", "B", "C", "Nuevo A", "Nuevo B"});
        const QStringList borradoEnElOtro{"Siguiente", "2:Siguiente", "2:si", "2:Borrar"};
        const QStringList avisoDeBorrado{"Producto borrado en otro puesto", "Atención."};
        fila("grabar lo que otro borro", abc, borradoEnElOtro + QStringList{"Editar", "Densidad=5", "Grabar"}, "C",
             avisoDeBorrado, {"A", "C"});
        fila("seleccionar lo que otro borro", abc, borradoEnElOtro + QStringList{"Seleccionar"}, "C", avisoDeBorrado,
             {"A", "C"});

        // Saved, then read again from the store: an empty Abbe box stores no
        // value and stays empty, even after an edit.
        const QString n255(255, u'n');
        fila("alta de 255 letras, Abbe decimal", {"CR-39"},
             Alta({n255, "Uretano", "1.532", "1.11", "44.5"}) + QStringList{"Grabar", "Inicio", "Refrescar", "Final"},
             n255 + "|Uretano||1.532|1.11|44.5|O", {}, {"CR-39", n255});
        fila("alta sin Abbe, editada", {"CR-39"},
             Alta({"Trivex", "Uretano", "1.532", "1.11", ""}) +
                 QStringList{"Grabar", "Editar", "Densidad=5", "Grabar", "Inicio", "Refrescar", "Final"},
             "Trivex|Uretano||1.532|1.115||O", {}, {"CR-39", "Trivex"});

        // Refused: the record stays open with what was typed.
        const auto rechazo = [&](const char* caso, int i, const QString& valor, const QString& materiales,
                                 const QString& titulo) {
            QStringList v{"Nuevo", "Resina nueva", "1.6", "1.3", "42"};
            if (i >= 0)
                v[i] = valor;
            fila(caso, {"CR-39"}, Alta(v, materiales) + QStringList{"Grabar"}, v[0], {titulo});
        };
        rechazo("sin nombre", 0, "", "O", "Falta nombre del producto.");
        rechazo("nombre de 256 letras", 0, QString(256, u'n'), "O", "Nombre del producto demasiado largo");
        rechazo("sin material", -1, "", "", "No indica material");
        rechazo("ambos materiales", -1, "", "MO", "Selección de material ambigua.");
        // The store itself refuses these.
        rechazo("sin indice", 2, "", "O", "Falta uno o mas datos");

        fila("tabla vacia: nada se mueve ni se entrega", {},
             {"Inicio", "Anterior", "Siguiente", "Final", "Editar", "Borrar", "Seleccionar"}, "", {"No hay productos"});
        fila("tabla vacia: un primer producto", {},
             Alta({"Trivex", "Uretano", "1.532", "1.11", "45"}) + QStringList{"Grabar"}, "Trivex", {}, {"Trivex"});
    }
    void ventana()
    {
        QFETCH(QStringList, registros);
        QFETCH(QStringList, pasos);
        QFETCH(QString, mostrado);
        QFETCH(QStringList, avisos);
        QFETCH(QStringList, quedan);
        Banco b(Escrito(Nombres(registros)));
        Banco otro(b.catalogo);
        const QByteArray antes = b.catalogo->Volcado();
        for (const QString& p : pasos)
            p.startsWith("2:") ? otro.pasos({p.mid(2)}) : b.pasos({p});
        QCOMPARE(mostrado.contains('|') ? b.vista() : b.producto(), mostrado);
        QCOMPARE(b.avisos() + otro.avisos(), avisos);
        if (quedan.isEmpty())
            QCOMPARE(b.catalogo->Volcado(), antes);
        else
            QCOMPARE(Productos(*b.base), quedan);
        // Nothing here selects: the design receives nothing.
        QVERIFY(b.w->isVisible() && b.estado.MaterialDeBase != "Si");
    }

    // The minimum centre thickness and the exchange's class beside the
    // record: a thickness that is none is refused, the values chosen are
    // saved, and the rows go with their material.
    void espesorMinimo()
    {
        Banco b(std::make_shared<CatalogoPrueba>());
        auto* caja = b.w->findChild<QLineEdit*>("Text_EspesorMinimo");
        const auto escribir = [&](const QString& texto) {
            QTest::keyClick(caja, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(caja, texto);
            b.pasos({"Grabar"});
        };
        b.pasos({"Final", "Editar"});
        escribir("0");
        QCOMPARE(b.avisos(), QStringList{"Espesor central mínimo no válido"});
        auto* clase = b.w->findChild<QComboBox*>("Combo_CodigoDCS");
        QVERIFY(clase->isEnabled());
        clase->setCurrentIndex(clase->findText("5 Alto índice"));
        escribir("1.8");
        QVERIFY(!clase->isEnabled());
        QCOMPARE(EspesorMinimoDe(*b.base, 11), 1.8);
        QCOMPARE(CodigoDcsDe(*b.base, 11), 5);
        b.pasos({"Inicio"});
        QCOMPARE(clase->currentText(), QString("1 Plástico")); // the starter CR-39
        b.pasos({"Final", "si", "Borrar"});
        QCOMPARE(EspesorMinimoDe(*b.base, 11), 1.5);
        QCOMPARE(CodigoDcsDe(*b.base, 11), std::nullopt);
    }

    // Under regional settings that write a decimal comma, the design still
    // receives the numbers the boxes show.
    void seleccionar()
    {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        Banco b(Escrito({{1, "CR-39", 1.498, 1.32}, {2, "Resina 1.67", 1.67, 1.35}}));
        b.pasos({"Siguiente", "Seleccionar"});
        QLocale::setDefault(QLocale::c());
        QVERIFY(!b.w->isVisible() && b.dlg.cajas.empty() && b.estado.MaterialDeBase == "Si");
        QVERIFY(b.estado.NombreMaterial == "Resina 1.67" && b.estado.IndiceMaterial == 1.67 &&
                b.estado.Densidad == 1.35);
    }

    // A bench whose role may only use the table, as the README grants it,
    // adds like the owner though it may not read the Id counter.
    void puestoConPermisosSoloDeTabla()
    {
        if (!almacen_prueba::EsServidor())
            QSKIP("sólo con el catálogo en un servidor");
        const auto c = Escrito(Nombres({"A"}));
        QVERIFY(almacen_prueba::Sql(
            true, {}, {{"DROP ROLE IF EXISTS vantora_banco"}, {"CREATE ROLE vantora_banco LOGIN PASSWORD 'banco'"}}));
        QVERIFY(c->Ejecutar({{"GRANT SELECT, INSERT, UPDATE, DELETE ON \"Tabla_Materiales\" TO vantora_banco"}}));
        Banco b(c, "postgresql://vantora_banco:banco@/" + almacen_prueba::BaseDelPrograma());
        b.pasos(Alta({"Trivex", "Uretano", "1.532", "1.11", "45"}) + QStringList{"Grabar"});
        QVERIFY(b.dlg.cajas.empty());
        QCOMPARE(Productos(*b.base), (QStringList{"A", "Trivex"}));
    }
};

QTEST_MAIN(TestBaseMateriales)
#include "test_base_materiales.moc"
