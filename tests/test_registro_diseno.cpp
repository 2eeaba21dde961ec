// The 43-byte design record and the files built from it, byte for byte as
// the other programs of the installation read them.

#include "archivos_diseno.h"
#include "estado_diseno.h"
#include "registro_diseno.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray leer(const std::filesystem::path& p)
{
    QFile f(QString::fromStdString(p.string()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void escribir(const std::filesystem::path& p, const QByteArray& bytes)
{
    QFile f(QString::fromStdString(p.string()));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestRegistroDiseno : public QObject {
    Q_OBJECT

private slots:
    void bytes_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QByteArray>("bytesNombre");
        QTest::newRow("cuatro letras") << "CR39" << QByteArray("CR39       ");
        QTest::newRow("nombre largo cortado") << "Policarbonato 1.59" << QByteArray("Policarbona");
        QTest::newRow("acentos en Windows-1252") << "Orgánico Ñ €" << QByteArray("Org\xE1nico \xD1 \x80", 11);
        QTest::newRow("sin nombre") << "" << QByteArray(11, ' ');
    }
    void bytes()
    {
        QFETCH(QString, nombre);
        QFETCH(QByteArray, bytesNombre);
        // The worked example: +4 D, base 6, 60 mm, edge 1 mm, n 1.5, density 1.32.
        RegistroDiseno r{5.736137667304015,   -1.840298754895028, 1.5, 60, 1, 4.663823812475403, 4, 1.32,
                         nombre.toStdString()};
        const auto bytes = r.Codificar();
        QVERIFY(bytes);
        const QByteArray b(reinterpret_cast<const char*>(bytes->data()), 43);
        QCOMPARE(b.mid(8, 4), QByteArray("\x00\x00\xC0\x3F", 4)); // 1.5
        QCOMPARE(b.mid(12, 4), QByteArray("\x00\x00\x70\x42", 4)); // 60
        QCOMPARE(b.mid(16, 4), QByteArray("\x00\x00\x80\x3F", 4)); // 1
        QCOMPARE(b.mid(24, 4), QByteArray("\x00\x00\x80\x40", 4)); // 4
        QCOMPARE(b.mid(28, 4), QByteArray("\xC3\xF5\xA8\x3F", 4)); // 1.32 to the nearest single
        QCOMPARE(b.mid(32), bytesNombre);
        const RegistroDiseno leido = RegistroDiseno::Decodificar(bytes->data());
        QCOMPARE(float(leido.PoderExterno), 5.736137667304015f);
        QCOMPARE(float(leido.PoderInterno), -1.840298754895028f);
        QCOMPARE(float(leido.EspesorCentral), 4.663823812475403f);
    }

    void valorQueNoCabeEnUnSimple()
    {
        QTemporaryDir dir;
        CarpetaDatos carpeta(dir.path().toStdString());
        EstadoDiseno e;
        QVERIFY(!GuardarDatos(carpeta, e)); // a record of zeros
        const QByteArray anterior = leer(carpeta.Archivo(CarpetaDatos::kDatos));
        QCOMPARE(anterior, QByteArray(32, '\0') + QByteArray(11, ' '));
        e.EspesorCentral = 1e300;
        const auto falla = GuardarDatos(carpeta, e);
        QVERIFY(falla);
        QCOMPARE(falla->archivo, carpeta.Archivo(CarpetaDatos::kDatos));
        QCOMPARE(leer(carpeta.Archivo(CarpetaDatos::kDatos)), anterior); // the last good copy stays
    }

    // Both files the program replaces hold exactly one record afterwards;
    // the end marker is its one line.
    void archivosQueSeReemplazan()
    {
        QTemporaryDir dir;
        CarpetaDatos carpeta(dir.path().toStdString());
        EstadoDiseno e;
        for (const char* nombre : {"", "CR-39"}) {
            e.NombreMaterial = nombre;
            QVERIFY(!GuardarDatos(carpeta, e));
            QVERIFY(GrabarArchivosDeCierre(carpeta, e).empty());
        }
        for (auto archivo : {CarpetaDatos::kDatos, CarpetaDatos::kUltimoDiseno}) {
            const QByteArray b = leer(carpeta.Archivo(archivo));
            QCOMPARE(b.size(), 43);
            QCOMPARE(b.mid(32), QByteArray("CR-39      "));
        }
        QCOMPARE(leer(carpeta.Archivo(CarpetaDatos::kFinDrovena)), QByteArray("Fin Drovena Ok\r\n"));
        QVERIFY(!std::filesystem::exists(carpeta.Archivo("DATA.DAT.nuevo")));
    }

    // Appending goes after the last record; a file cut short takes the
    // record at the nearest whole record number.
    void agregar_data()
    {
        QTest::addColumn<int>("largoPrevio");
        QTest::addColumn<int>("largoFinal");
        QTest::newRow("vacio") << 0 << 43;
        QTest::newRow("un registro") << 43 << 86;
        QTest::newRow("50 bytes: registro 2") << 50 << 86;
        QTest::newRow("70 bytes: registro 3") << 70 << 129;
    }
    void agregar()
    {
        QFETCH(int, largoPrevio);
        QFETCH(int, largoFinal);
        QTemporaryDir dir;
        const std::filesystem::path archivo = dir.filePath("FotoPos.DAT").toStdString();
        escribir(archivo, QByteArray(largoPrevio, 'x'));
        std::string error;
        QVERIFY(GrabarRegistro(archivo, RegistroDiseno{0, 0, 0, 65, 0, 0, 0, 0, "ABCD"}, error));
        const QByteArray b = leer(archivo);
        QCOMPARE(b.size(), largoFinal);
        QCOMPARE(b.mid(largoFinal - 43 + 12, 4), QByteArray("\x00\x00\x82\x42", 4)); // 65 mm
        QCOMPARE(b.right(11), QByteArray("ABCD       "));
    }
};

QTEST_APPLESS_MAIN(TestRegistroDiseno)
#include "test_registro_diseno.moc"
