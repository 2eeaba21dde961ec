// The materials file and the design's look-ups on it: the matching rules,
// the starter catalogue and files that are not a materials database.

#include "apoyo/dialogos_prueba.h"
#include "apoyo/materiales_prueba.h"
#include "base_materiales.h"
#include "catalogo_sqlite.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const std::string kTituloDanada = "Base de Datos de Materiales dañada";

QString Nombre(const std::optional<Material>& m)
{
    return m ? QString::fromStdString(m->producto) : QStringLiteral("(ninguno)");
}

} // namespace

class TestCatalogo : public QObject {
    Q_OBJECT

private slots:
    void buscarPorNombre_data()
    {
        QTest::addColumn<QStringList>("productos");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("hallado");

        const QString ninguno = QStringLiteral("(ninguno)");
        QTest::newRow("parte del nombre") << QStringList{"CR-39", "Policarb"} << "carb" << "Policarb";
        QTest::newRow("minusculas hallan mayusculas") << QStringList{"ABC"} << "abc" << "ABC";
        QTest::newRow("ABC antes que ABC Plus") << QStringList{"ABC", "ABC Plus"} << "ABC" << "ABC";
        QTest::newRow("ABC Plus antes que ABC") << QStringList{"ABC Plus", "ABC"} << "ABC" << "ABC Plus";
        QTest::newRow("acentos sin distinguir mayusculas") << QStringList{"Vidrio", "ÓPTICO Ñ"} << "óptico ñ"
                                                            << "ÓPTICO Ñ";
        QTest::newRow("acento distinto no coincide") << QStringList{"Optico"} << "Óptico" << ninguno;
        QTest::newRow("apostrofo") << QStringList{"OBrien", "O'Brien"} << "O'Brien" << "O'Brien";
        QTest::newRow("apostrofo que cerraria el criterio") << QStringList{"A"} << "' OR ''='" << ninguno;
        QTest::newRow("% literal") << QStringList{"Resina 100", "Resina 100%"} << "100%" << "Resina 100%";
        QTest::newRow("_ literal") << QStringList{"Org-1", "Org_1"} << "g_1" << "Org_1";
        QTest::newRow("* literal") << QStringList{"ABC", "A*C"} << "A*C" << "A*C";
        QTest::newRow("? literal") << QStringList{"ABC", "A?C"} << "A?C" << "A?C";
        QTest::newRow("# literal") << QStringList{"A1C", "A#C"} << "A#C" << "A#C";
        QTest::newRow("[ literal") << QStringList{"ABC", "x[A-Z]"} << "[A-Z]" << "x[A-Z]";
        QTest::newRow("barra invertida literal") << QStringList{"A%B", "A\\%B"} << "\\%" << "A\\%B";
        QTest::newRow("no encontrado") << QStringList{"ABC", "CR-39"} << "Trivex" << ninguno;
        QTest::newRow("texto vacio: el primero") << QStringList{"ABC", "CR-39"} << "" << "ABC";
    }
    void buscarPorNombre()
    {
        QFETCH(QStringList, productos);
        QFETCH(QString, texto);
        QFETCH(QString, hallado);
        QTemporaryDir dir;
        const QString archivo = dir.filePath("materiales.mdb");
        QVERIFY(EscribirBase(archivo, Nombres(productos)));
        BaseMateriales base(archivo.toStdString());
        DialogosPrueba dlg;
        QVERIFY(base.Abrir(dlg));
        CatalogoSqlite catalogo(base);
        QCOMPARE(Nombre(catalogo.BuscarPorNombre(texto.toStdString())), hallado);
    }

    void buscarPorId_data()
    {
        QTest::addColumn<QList<qlonglong>>("ids");
        QTest::addColumn<QString>("digitos");
        QTest::addColumn<qlonglong>("hallado");

        QTest::newRow("3 existe, antes que 13") << QList<qlonglong>{3, 13} << "3" << 3LL;
        QTest::newRow("3 borrado: 13") << QList<qlonglong>{1, 2, 13} << "3" << 13LL;
        QTest::newRow("5 borrado: 15 antes que 50") << QList<qlonglong>{1, 4, 6, 15, 50} << "5" << 15LL;
        QTest::newRow("no encontrado") << QList<qlonglong>{1, 2} << "9" << 0LL;
        QTest::newRow("comodin no es cifra") << QList<qlonglong>{1, 2} << "%" << 0LL;
    }
    void buscarPorId()
    {
        QFETCH(QList<qlonglong>, ids);
        QFETCH(QString, digitos);
        QFETCH(qlonglong, hallado);
        QTemporaryDir dir;
        const QString archivo = dir.filePath("materiales.mdb");
        QList<RegistroPrueba> registros;
        for (qlonglong id : ids)
            registros.append({id, "Material " + QString::number(id)});
        QVERIFY(EscribirBase(archivo, registros));
        BaseMateriales base(archivo.toStdString());
        DialogosPrueba dlg;
        QVERIFY(base.Abrir(dlg));
        CatalogoSqlite catalogo(base);
        const std::optional<Material> m = catalogo.BuscarPorId(digitos.toStdString());
        QCOMPARE(m ? m->Id : 0LL, hallado);
    }

    // Records written out of Id order still come in ascending Id; a deleted Id
    // is never given to a new record, so a look-up by Id cannot land on a
    // different material that took the old number.
    void ordenDeTablaEIdsNoReutilizados()
    {
        QTemporaryDir dir;
        const QString archivo = dir.filePath("materiales.mdb");
        QVERIFY(EscribirBase(archivo, {{20, "Segundo"}, {10, "Primero"}, {30, "Tercero"}}));
        QVERIFY(EjecutarSql(archivo, {{"DELETE FROM Tabla_Materiales WHERE Id = 30"},
                                      {"INSERT INTO Tabla_Materiales (producto, \"descripción\", "
                                       "\"indice de refracción\", densidad, abbe) VALUES ('Nuevo', 'd', 1.5, 1.3, 58)"}}));
        BaseMateriales base(archivo.toStdString());
        DialogosPrueba dlg;
        QVERIFY(base.Abrir(dlg));
        CatalogoSqlite catalogo(base);
        QCOMPARE(catalogo.Productos(), (std::vector<std::string>{"Primero", "Segundo", "Nuevo"}));
        QCOMPARE(catalogo.Cantidad(), 3LL);
        QVERIFY(catalogo.BuscarPorNombre("Nuevo")->Id > 30);
        QVERIFY(!catalogo.BuscarPorId("30"));
    }

    // A table written by another program, without the checks: a record whose
    // index or density is not a number is not handed on, not even by passing
    // to a later record that also matches.
    void registrosSinNumeros()
    {
        QTemporaryDir dir;
        const QString archivo = dir.filePath("materiales.mdb");
        QVERIFY(EjecutarSql(archivo, {{"CREATE TABLE Tabla_Materiales (Id INTEGER PRIMARY KEY, producto, "
                                       "\"descripción\", \"Provedor principal\", \"indice de refracción\", "
                                       "densidad, abbe, material, \"material 2\")"},
                                      {"INSERT INTO Tabla_Materiales VALUES (1, 'Roto', 'd', 'p', 'abc', 1.2, 58, 0, 1)"},
                                      {"INSERT INTO Tabla_Materiales VALUES (2, 'Roto bis', 'd', 'p', 1.6, 1.2, 'x', 0, 1)"},
                                      {"INSERT INTO Tabla_Materiales VALUES (3, 'Sin densidad', 'd', NULL, 1.6, NULL, 58, 0, 1)"},
                                      {"INSERT INTO Tabla_Materiales VALUES (4, NULL, 'd', 'p', 1.5, 1.3, 58, 1, 0)"}}));
        BaseMateriales base(archivo.toStdString());
        DialogosPrueba dlg;
        QVERIFY(base.Abrir(dlg));
        CatalogoSqlite catalogo(base);
        QVERIFY(!catalogo.BuscarPorNombre("Roto"));
        QVERIFY(!catalogo.BuscarPorNombre("densidad"));
        const std::optional<Material> bis = catalogo.BuscarPorNombre("bis");
        QVERIFY(bis);
        QCOMPARE(bis->indice, 1.6);
        QCOMPARE(bis->abbe, 0.0);
        QCOMPARE(catalogo.Productos(), (std::vector<std::string>{"Roto", "Roto bis", "Sin densidad"}));
        QCOMPARE(catalogo.Cantidad(), 4LL);
    }

    // Published figures of common spectacle materials.
    void catalogoInicial_data()
    {
        QTest::addColumn<QString>("producto");
        QTest::addColumn<double>("indice");
        QTest::addColumn<double>("densidad");
        QTest::addColumn<double>("abbe");
        QTest::addColumn<bool>("mineral");
        QTest::newRow("CR-39") << "CR-39" << 1.498 << 1.32 << 58.0 << false;
        QTest::newRow("vidrio crown") << "Crown" << 1.523 << 2.54 << 59.0 << true;
        QTest::newRow("policarbonato") << "Policarb" << 1.586 << 1.20 << 30.0 << false;
        QTest::newRow("Trivex") << "Trivex" << 1.532 << 1.11 << 45.0 << false;
        QTest::newRow("organico 1.74") << "1.74" << 1.74 << 1.47 << 33.0 << false;
        QTest::newRow("mineral 1.9") << "1.9" << 1.9 << 3.99 << 30.0 << true;
    }
    void catalogoInicial()
    {
        QFETCH(QString, producto);
        QFETCH(double, indice);
        QFETCH(double, densidad);
        QFETCH(double, abbe);
        QFETCH(bool, mineral);
        QTemporaryDir dir;
        BaseMateriales base(dir.filePath("materiales.mdb").toStdString());
        DialogosPrueba dlg;
        QVERIFY(base.Abrir(dlg));
        QVERIFY(dlg.cajas.empty());
        CatalogoSqlite catalogo(base);
        const std::optional<Material> m = catalogo.BuscarPorNombre(producto.toStdString());
        QVERIFY(m);
        QCOMPARE(m->indice, indice);
        QCOMPARE(m->densidad, densidad);
        QCOMPARE(m->abbe, abbe);
        QCOMPARE(m->mineral, mineral);
        QCOMPARE(m->organico, !mineral);
    }

    // Every starter name fits the 11 characters of the design record and
    // finds itself, not an earlier name that contains it. A second start finds
    // the file and leaves it as it was, and no temporary file is left behind.
    void catalogoInicialUnaSolaVez()
    {
        QTemporaryDir dir;
        const QString archivo = dir.filePath("materiales.mdb");
        DialogosPrueba dlg;
        {
            BaseMateriales base(archivo.toStdString());
            QVERIFY(base.Abrir(dlg));
            CatalogoSqlite catalogo(base);
            QVERIFY(catalogo.Cantidad() >= 10);
            for (const std::string& nombre : catalogo.Productos()) {
                QVERIFY2(QString::fromStdString(nombre).toLatin1().size() <= 11, nombre.c_str());
                QCOMPARE(catalogo.BuscarPorNombre(nombre)->producto, nombre);
            }
        }
        const QByteArray primera = Contenido(archivo);
        {
            BaseMateriales base(archivo.toStdString());
            QVERIFY(base.Abrir(dlg));
            CatalogoSqlite catalogo(base);
            QVERIFY(catalogo.Cantidad() >= 10);
        }
        QVERIFY(dlg.cajas.empty());
        QCOMPARE(Contenido(archivo), primera);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"materiales.mdb"});
    }

    void archivoDanado_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("sql");
        QByteArray azar(4096, 0);
        QRandomGenerator generador(7);
        for (char& b : azar)
            b = char(generador.bounded(256));
        QTest::newRow("bytes al azar") << azar << "";
        QTest::newRow("texto") << QByteArray("producto;indice\nCR-39;1.498\n") << "";
        QTest::newRow("archivo vacio") << QByteArray() << "";
        QTest::newRow("base sin la tabla") << QByteArray() << "CREATE TABLE Otra (x)";
        QTest::newRow("tabla sin un campo") << QByteArray() << "CREATE TABLE Tabla_Materiales (Id INTEGER PRIMARY KEY, producto)";
        QTest::newRow("base recortada") << QByteArray("recortada") << "";
    }
    // One message that names the file, an empty table for both cursors, and
    // the file left byte for byte as it was, with nothing written beside it.
    void archivoDanado()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, sql);
        QTemporaryDir dir;
        const QString archivo = dir.filePath("materiales.mdb");
        if (!sql.isEmpty()) {
            QVERIFY(EjecutarSql(archivo, {{sql}}));
        } else if (bytes == "recortada") {
            QList<RegistroPrueba> muchos;
            for (int i = 1; i <= 2000; ++i)
                muchos.append({i, "Material " + QString::number(i)});
            QVERIFY(EscribirBase(archivo, muchos));
            QVERIFY(QFile::resize(archivo, Contenido(archivo).size() / 2));
        } else {
            QFile f(archivo);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        const QByteArray antes = Contenido(archivo);

        BaseMateriales base(archivo.toStdString());
        DialogosPrueba dlg;
        QVERIFY(!base.Abrir(dlg));
        CatalogoSqlite catalogo(base);
        CatalogoSqlite otro(base);
        QCOMPARE(dlg.cajas.size(), 1u);
        QCOMPARE(dlg.cajas[0].titulo, kTituloDanada);
        QCOMPARE(dlg.cajas[0].icono, Icono::Critico);
        QVERIFY(QString::fromStdString(dlg.cajas[0].texto).contains(QDir::toNativeSeparators(archivo)));
        QVERIFY(catalogo.Productos().empty());
        QVERIFY(!catalogo.BuscarPorNombre("CR-39"));
        QVERIFY(!otro.BuscarPorId("1"));
        QCOMPARE(catalogo.Cantidad(), 0LL);
        QCOMPARE(Contenido(archivo), antes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"materiales.mdb"});
    }

    void carpetaInexistente()
    {
        QTemporaryDir dir;
        const QString archivo = dir.filePath("falta/materiales.mdb");
        BaseMateriales base(archivo.toStdString());
        DialogosPrueba dlg;
        QVERIFY(!base.Abrir(dlg));
        QCOMPARE(dlg.titulos(), std::vector<std::string>{"Base de Datos de Materiales no disponible"});
        QVERIFY(QString::fromStdString(dlg.cajas[0].texto).contains(QDir::toNativeSeparators(archivo)));
        QVERIFY(CatalogoSqlite(base).Productos().empty());
        QVERIFY(!QDir(dir.filePath("falta")).exists());
    }
};

QTEST_GUILESS_MAIN(TestCatalogo)
#include "test_catalogo.moc"
