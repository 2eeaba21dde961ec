// The materials file and the design's look-ups on it: the matching rules,
// the starter catalogue and files that are not a materials database.

#include "apoyo/materiales_prueba.h"
#include "catalogo_sql.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestCatalogo : public QObject {
    Q_OBJECT

private slots:
    // Each file holds exactly the records listed, in table order; Nombres()
    // numbers them from 1.
    void buscar_data()
    {
        QTest::addColumn<QList<RegistroPrueba>>("registros");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("hallado");
        const QString nombre = "producto";
        QTest::newRow("parte del nombre") << Nombres({"CR-39", "Policarb"}) << nombre << "carb"
                                          << "Policarb";
        QTest::newRow("minusculas hallan mayusculas") << Nombres({"ABC"}) << nombre << "abc"
                                                      << "ABC";
        QTest::newRow("ABC antes que ABC Plus") << Nombres({"ABC", "ABC Plus"}) << nombre << "ABC"
                                                << "ABC";
        QTest::newRow("ABC Plus antes que ABC") << Nombres({"ABC Plus", "ABC"}) << nombre << "ABC"
                                                << "ABC Plus";
        QTest::newRow("apostrofo literal") << Nombres({"OBrien", "O'Brien"}) << nombre << "O'Brien"
                                           << "O'Brien";
        QTest::newRow("% literal") << Nombres({"Resina 100", "Resina 100%"}) << nombre << "100%"
                                   << "Resina 100%";
        QTest::newRow("_ literal") << Nombres({"Org-1", "Org_1"}) << nombre << "g_1"
                                   << "Org_1";
        QTest::newRow("* literal") << Nombres({"ABC", "A*C"}) << nombre << "A*C"
                                   << "A*C";
        QTest::newRow("? literal") << Nombres({"ABC", "A?C"}) << nombre << "A?C"
                                   << "A?C";
        QTest::newRow("# literal") << Nombres({"A1C", "A#C"}) << nombre << "A#C"
                                   << "A#C";
        QTest::newRow("[ literal") << Nombres({"Lente 1", "Lente [1]"}) << nombre << "[1]"
                                   << "Lente [1]";
        QTest::newRow("nombre no encontrado") << Nombres({"ABC", "CR-39"}) << nombre << "Trivex"
                                              << "(ninguno)";
        // The Id is matched on its decimal digits.
        QTest::newRow("Id 5 borrado: 15 antes que 50")
            << QList<RegistroPrueba>{{1, "Uno"}, {4, "Cuatro"}, {15, "Quince"}, {50, "Cincuenta"}} << "Id"
            << "5"
            << "Quince";
        QTest::newRow("Id no encontrado") << Nombres({"A", "B"}) << "Id"
                                          << "9"
                                          << "(ninguno)";
    }
    void buscar()
    {
        QFETCH(QList<RegistroPrueba>, registros);
        QFETCH(QString, campo);
        QFETCH(QString, texto);
        QFETCH(QString, hallado);
        QTemporaryDir dir;
        QVERIFY(EscribirBase(dir.filePath("materiales.mdb"), registros));
        BaseMateriales base(dir.filePath("materiales.mdb").toStdString());
        DialogosPrueba dlg;
        QVERIFY(base.Abrir(dlg));
        CatalogoSql catalogo(base);
        const std::optional<Material> m =
            campo == "Id" ? catalogo.BuscarPorId(texto.toStdString()) : catalogo.BuscarPorNombre(texto.toStdString());
        QCOMPARE(m ? QString::fromStdString(m->producto) : QString("(ninguno)"), hallado);
    }

    // The first start creates the starter catalogue without a word; a later
    // start finds the file and leaves it exactly as it was, even when the
    // user has replaced every starter material with one of his own.
    void catalogoInicialUnaSolaVez()
    {
        QTemporaryDir dir;
        const QString archivo = dir.filePath("materiales.mdb");
        DialogosPrueba dlg;
        {
            BaseMateriales base(archivo.toStdString());
            QVERIFY(base.Abrir(dlg));
            QVERIFY(CatalogoSql(base).Productos().size() >= 10);
        }
        QVERIFY(EscribirBase(archivo, Nombres({"Propio"})));
        const QByteArray antes = Contenido(archivo);
        QVERIFY(BaseMateriales(archivo.toStdString()).Abrir(dlg));
        QVERIFY(dlg.cajas.empty());
        QCOMPARE(Contenido(archivo), antes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"materiales.mdb"});
    }

    void archivoDanado_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTemporaryDir dir;
        QVERIFY(EjecutarSql(dir.filePath("sin_campo"),
                            {{"CREATE TABLE Tabla_Materiales (Id INTEGER PRIMARY KEY, producto)"}}));
        // Enough records to fill many pages, so that the header, the schema
        // and the table's first pages survive a page lost in the middle.
        QVERIFY(EscribirBase(dir.filePath("entera"), Nombres(QStringList(2000, "Material"))));
        const QByteArray entera = Contenido(dir.filePath("entera"));
        QTest::newRow("texto") << QByteArray("producto;indice\nCR-39;1.498\n");
        QTest::newRow("archivo vacio") << QByteArray();
        QTest::newRow("tabla sin un campo") << Contenido(dir.filePath("sin_campo"));
        QTest::newRow("pagina del medio en ceros")
            << QByteArray(entera).replace(entera.size() / 2, 4096, QByteArray(4096, 0));
    }
    // One message that names the file, an empty table, and the file left
    // byte for byte as it was, with nothing written beside it.
    void archivoDanado()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString archivo = dir.filePath("materiales.mdb");
        QFile f(archivo);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();

        BaseMateriales base(archivo.toStdString());
        DialogosPrueba dlg;
        QVERIFY(!base.Abrir(dlg));
        QCOMPARE(dlg.titulos(), std::vector<std::string>{"Base de Datos de Materiales dañada"});
        QVERIFY(QString::fromStdString(dlg.cajas[0].texto).contains(QDir::toNativeSeparators(archivo)));
        QVERIFY(CatalogoSql(base).Productos().empty());
        QCOMPARE(Contenido(archivo), bytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"materiales.mdb"});
    }
};

QTEST_GUILESS_MAIN(TestCatalogo)
#include "test_catalogo.moc"
