// The 43-byte design record and the files built from it, byte for byte as
// the other programs of the installation read them. Where an append puts
// its record is test_archivos' to check, with what a failed one leaves.

#include "archivos_diseno.h"
#include "estado_diseno.h"
#include "registro_diseno.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>

namespace {

QByteArray leer(const std::filesystem::path& p)
{
    QFile f(QString::fromStdString(p.string()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray enBytes(const RegistroDiseno& r)
{
    const auto bytes = r.Codificar();
    return bytes ? QByteArray(reinterpret_cast<const char*>(bytes->data()), 43) : QByteArray();
}

} // namespace

class TestRegistroDiseno : public QObject {
    Q_OBJECT

private slots:
    // Eight little-endian IEEE singles, then the name in Windows-1252, cut
    // or padded with blanks to 11 bytes.
    void bytes_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QByteArray>("bytesNombre");
        QTest::newRow("largo: cortado") << "Policarbonato 1.59" << QByteArray("Policarbona");
        QTest::newRow("corto, en Windows-1252: relleno") << "Ñandú €" << QByteArray("\xD1\x61nd\xFA \x80    ");
    }
    void bytes()
    {
        QFETCH(QString, nombre);
        QFETCH(QByteArray, bytesNombre);
        const QByteArray b = enBytes({6, -1.5, 1.5, 60, 1, 4.5, 4, 1.32, nombre.toStdString()});
        // 6, -1.5, 1.5, 60, 1, 4.5, 4 and 1.32 to the nearest single, worked by hand.
        QCOMPARE(b.left(32).toHex(' '), QByteArray("00 00 c0 40 00 00 c0 bf 00 00 c0 3f 00 00 70 42 "
                                                   "00 00 80 3f 00 00 90 40 00 00 80 40 c3 f5 a8 3f"));
        QCOMPARE(b.mid(32), bytesNombre);
        // Read back, each value comes from its own place.
        QCOMPARE(enBytes(RegistroDiseno::Decodificar(reinterpret_cast<const std::uint8_t*>(b.data()))), b);
    }

    // A record no design window could have saved is damaged, and the reason
    // names the value; the worked example with one value changed.
    void danado_data()
    {
        QTest::addColumn<int>("campo"); // 0 front power ... 7 density, as stored
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("problema"); // none: sound
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("poder de vértice 1e-6: sano") << 6 << 1e-6 << "";
        QTest::newRow("borde de filo: sano") << 4 << 0.0 << "";
        QTest::newRow("poder de vértice NaN") << 6 << nan << "el poder de vértice no es un número";
        QTest::newRow("cara externa infinita") << 0 << HUGE_VAL << "el poder de la cara externa es infinito";
        QTest::newRow("cara interna 3.4e38") << 1 << -3.4e38 << "el poder de la cara interna es -3.4E+38";
        QTest::newRow("índice -4") << 2 << -4.0 << "el índice del material es -4";
        QTest::newRow("centro -4") << 5 << -4.0 << "el espesor central es -4";
        QTest::newRow("borde -0.5") << 4 << -0.5 << "el espesor del borde es -0.5";
    }
    void danado()
    {
        QFETCH(int, campo);
        QFETCH(double, valor);
        QFETCH(QString, problema);
        RegistroDiseno r{5.736, -1.840, 1.5, 60, 1, 4.664, 4, 1.32, "CR39"};
        double RegistroDiseno::*const campos[] = {&RegistroDiseno::PoderExterno,   &RegistroDiseno::PoderInterno,
                                                  &RegistroDiseno::IndiceMaterial, &RegistroDiseno::DiametroInicial,
                                                  &RegistroDiseno::EspesorBorde,   &RegistroDiseno::EspesorCentral,
                                                  &RegistroDiseno::PoderVertice,   &RegistroDiseno::Densidad};
        r.*campos[campo] = valor;
        QCOMPARE(QString::fromStdString(r.Problema().value_or("")), problema);
    }

    // The files the program replaces hold one record however often they are
    // saved, and the end marker its one line; a value beyond a single is
    // refused and the last good copy stays.
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
        const QByteArray registro = QByteArray(32, '\0') + "CR-39      ";
        QCOMPARE(leer(carpeta.Archivo(CarpetaDatos::kDatos)), registro);
        QCOMPARE(leer(carpeta.Archivo(CarpetaDatos::kUltimoDiseno)), registro);
        QCOMPARE(leer(carpeta.Archivo(CarpetaDatos::kFinDrovena)), QByteArray("Fin Drovena Ok\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 3); // no temporary left

        e.EspesorCentral = 1e300;
        const auto falla = GuardarDatos(carpeta, e);
        QVERIFY(falla);
        QCOMPARE(falla->archivo, carpeta.Archivo(CarpetaDatos::kDatos));
        QCOMPARE(leer(carpeta.Archivo(CarpetaDatos::kDatos)), registro);
    }
};

QTEST_APPLESS_MAIN(TestRegistroDiseno)
#include "test_registro_diseno.moc"
