// Which material makes the thinnest lens: the order of the comparison, and
// every row of `vantora-lente --comparar` against `vantora-lente --material`
// for the same lens. Runs on both stores, as the other catalogue tests.

#include "apoyo/materiales_prueba.h"
#include "apoyo/proceso.h"
#include "bordes.h"
#include "comparar_materiales.h"

#include <QtTest>

using lente::MaterialLente;

namespace {

// The value of a "Clave: valor" line, its first word.
QString valor(const QStringList& lineas, const QString& clave)
{
    for (const QString& l : lineas)
        if (l.startsWith(clave + ": "))
            return l.mid(clave.size() + 2).section(' ', 0, 0);
    return "falta " + clave;
}

} // namespace

class TestCompararMateriales : public QObject {
    Q_OBJECT

    QTemporaryDir m_datos;
    std::unique_ptr<CatalogoPrueba> m_catalogo;

    Salida lente(QStringList argumentos)
    {
        return Correr(VANTORA_LENTE, argumentos << "--datos" << m_datos.path() << "--catalogo" << m_catalogo->texto());
    }

private slots:
    void initTestCase()
    {
        qunsetenv("VANTORA_CATALOGO");
        almacen_prueba::Preparar();
    }
    void init()
    {
        // The starter catalogue, with its minimum centres.
        m_catalogo = std::make_unique<CatalogoPrueba>();
        QVERIFY(!BaseMateriales(m_catalogo->ubicacion()).Preparar());
    }
    void cleanupTestCase() { almacen_prueba::Terminar(); }

    // A higher index makes a flatter back and a thinner minus edge; the
    // same index and centre make the same lens, whose weight follows the
    // density; a thinner centre allowed makes a thinner minus lens. A plus
    // lens with prism is thickest inside: B's centre and edges stay under
    // A's 4 mm centre, but B bulges 0.2 mm above them and A 0.1.
    void orden_data()
    {
        // The sphere, the prism base down and the round blank; 1 mm edge.
        QTest::addColumn<QList<double>>("receta");
        QTest::addColumn<QList<double>>("materiales"); // index, density, centre of each, named A, B
        QTest::addColumn<QString>("orden");
        const auto fila = [](const char* caso, QList<double> l, QList<double> m, const char* orden) {
            QTest::newRow(caso) << l << m << orden;
        };
        fila("el más delgado aunque pese más", {-4, 0, 60}, {1.5, 1.0, 1.5, 1.9, 4.0, 1.5}, "BA");
        fila("mismo espesor: el más liviano", {-4, 0, 60}, {1.6, 2.6, 1.5, 1.6, 1.3, 1.5}, "BA");
        fila("iguales: el orden del catálogo", {-4, 0, 60}, {1.6, 1.3, 1.5, 1.6, 1.3, 1.5}, "AB");
        fila("su propio centro mínimo", {-4, 0, 60}, {1.6, 1.3, 2.0, 1.6, 1.3, 1.0}, "BA");
        fila("el máximo dentro de un más con prisma", {2, 2, 60}, {1.9, 1.3, 4.0, 1.5, 1.3, 1.0}, "AB");
        fila("el que no alcanza el borde, al final", {-20, 0, 70}, {1.5, 1.3, 1.5, 1.9, 4.0, 1.5}, "Ba");
    }
    void orden()
    {
        QFETCH(QList<double>, receta);
        QFETCH(QList<double>, materiales);
        QFETCH(QString, orden); // a small letter: no lens
        const std::vector<MaterialLente> lista{{"A", materiales[0], materiales[1], materiales[2], ""},
                                               {"B", materiales[3], materiales[4], materiales[5], ""}};
        lente::Encargo e{{receta[0], 0, 0, receta[1], 270}, lente::BordeRedondo(receta[2]), {}, {}};
        e.exigencias.bordeUsuario = 1.0;
        QString visto;
        for (const lente::MaterialComparado& m : lente::CompararMateriales(e, lista)) {
            const QString nombre = QString::fromStdString(lista[m.posicion].nombre);
            visto += m.lente.resultado() ? nombre : nombre.toLower();
            if (!m.lente.resultado())
                QVERIFY2(m.lente.falla.find("no alcanza el borde") != std::string::npos, m.lente.falla.c_str());
        }
        QCOMPARE(visto, orden);
    }

    // Every row is what --material gives for that material alone, to the
    // digit, or the reason it gives on its error line; the made rows come
    // thinnest first, and the materials that make no lens after them.
    void filas_data()
    {
        QTest::addColumn<QString>("opciones");
        QTest::addColumn<int>("hechas");
        QTest::addColumn<bool>("dentro"); // a plus lens with prism: thickest inside
        QTest::newRow("menos en bloque redondo") << "--esfera -4 --diametro 60 --borde-min 1" << 11 << false;
        QTest::newRow("más con cilindro y prisma")
            << "--esfera 3 --cilindro -1.5 --eje 45 --prisma 2 --base-prisma 270 --diametro 60 --borde-min 1" << 11
            << true;
        QTest::newRow("caja centrada con montura y seguridad")
            << "--esfera -3 --cilindro -0.75 --eje 30 --prisma 4 --base-prisma 180 --caja 46,32 --puente 18 --dp 31 "
               "--altura 19 --ojo derecho --montura completa --seguridad basica"
            << 11 << false;
        QTest::newRow("trazo de un trabajo entero")
            << "--esfera 2 --forma " VANTORA_DATOS_TRABAJOS "/STHKFMT.oma --ojo izquierdo --montura ranurada" << 11
            << false;
        QTest::newRow("la cara interna no alcanza el borde")
            << "--esfera -20 --diametro 70 --borde-min 1" << 3 << false;
    }
    void filas()
    {
        QFETCH(QString, opciones);
        QFETCH(int, hechas);
        QFETCH(bool, dentro);
        const QStringList comunes = opciones.split(' ');
        const Salida tabla = lente(QStringList(comunes) << "--comparar");
        QCOMPARE(tabla.estado, 0);
        QCOMPARE(tabla.lineas.size(), 12);
        std::pair<double, double> anterior{0, 0};
        for (int i = 1; i < tabla.lineas.size(); ++i) {
            const QStringList f = tabla.lineas[i].split(';');
            const Salida sola = lente(QStringList(comunes) << "--material" << f[0]);
            if (i > hechas) {
                QCOMPARE(f.size(), 2);
                QVERIFY(sola.estado != 0 && sola.lineas.isEmpty());
                QCOMPARE("vantora-lente: " + f[1].mid(QString("No se puede calcular: ").size()), sola.errores.value(0));
                continue;
            }
            QCOMPARE(sola.estado, 0);
            QCOMPARE(f.size(), 9);
            const QStringList l = sola.lineas;
            QCOMPARE(f.mid(2, 6),
                     QStringList({valor(l, "BaseSugerida"), valor(l, "EspesorCentral"), valor(l, "BordeMinimo"),
                                  valor(l, "BordeMaximo"), valor(l, "EspesorMaximo"), valor(l, "Peso")}));
            QCOMPARE(f[8], opciones.contains("--diametro") ? "-" : l.filter("BloqueMinimo: ").value(0).section(' ', 2));
            const std::pair<double, double> puesto{f[6].toDouble(), f[7].toDouble()};
            QVERIFY2(puesto >= anterior, qPrintable(tabla.lineas[i]));
            anterior = puesto;
            if (dentro)
                QVERIFY(f[6].toDouble() > std::max(f[3].toDouble(), f[5].toDouble()));
        }
    }

    // A name that is part of an earlier one's names itself, never that one:
    // "CR-39" is not "CR-39 Azul", in the table and with --material.
    void nombreEntero()
    {
        QVERIFY(m_catalogo->Escribir({{1, "CR-39 Azul", 1.6, 1.3}, {2, "CR-39", 1.498, 1.32}}));
        const QStringList opciones = QString("--esfera -4 --diametro 60 --borde-min 1").split(' ');
        const QStringList filas = lente(QStringList(opciones) << "--comparar").lineas;
        QCOMPARE(filas.filter(QRegularExpression("^CR-39;")).value(0).section(';', 1, 1), "1.498");
        const QStringList sola = lente(opciones + QStringList{"--material", "cr-39"}).lineas;
        QCOMPARE(valor(sola, "EspesorCentral"),
                 filas.filter(QRegularExpression("^CR-39;")).value(0).section(';', 3, 3));
    }

    // The statuses: no catalogue material, none that makes the lens, and
    // the options that choose a material or a base.
    void estados_data()
    {
        QTest::addColumn<QString>("opciones"); // "vacío" first: an empty catalogue
        QTest::addColumn<int>("estado");
        QTest::addColumn<QString>("error");
        const QString menos = "--esfera -4 --diametro 60 --borde-min 1 --comparar";
        QTest::newRow("catálogo vacío") << "vacío " + menos << 3 << "no tiene materiales";
        QTest::newRow("ninguno la hace") << "--esfera -30 --diametro 80 --borde-min 1 --comparar" << 3
                                         << "ningún material";
        for (const QString opcion : {"--material CR-39", "--indice 1.5", "--densidad 1.3", "--base 4", "--mejor-base"})
            QTest::newRow(qPrintable(opcion))
                << menos + " " + opcion << 2 << "no se combina con " + opcion.section(' ', 0, 0);
    }
    void estados()
    {
        QFETCH(QString, opciones);
        QFETCH(int, estado);
        QFETCH(QString, error);
        if (opciones.startsWith("vacío "))
            QVERIFY(m_catalogo->Escribir({}));
        const Salida s = lente(opciones.remove("vacío ").split(' '));
        QCOMPARE(s.estado, estado);
        // The header alone, the table of materials that make none, or nothing.
        QCOMPARE(s.lineas.size(), estado == 2 ? 0 : error.startsWith("ningún") ? 12 : 1);
        QVERIFY2(s.UnError("vantora-lente", error), qPrintable(s.errores.join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestCompararMateriales)
#include "test_comparar_materiales.moc"
