// The job store through vantora-trabajo, on a SQLite file and on the
// throwaway PostgreSQL server: a job answered, stored, listed, opened and
// printed, and two benches storing one number at the same moment.

#include "apoyo/materiales_prueba.h"
#include "apoyo/proceso.h"

#include <QtTest>

namespace {

const QString kPedidos = QStringLiteral(VANTORA_DATOS_TRABAJOS);

// The catalogue's choice as a bench makes it: the data folder's file, or the
// server's database named on the command line.
QStringList donde(const CatalogoPrueba& c)
{
    return c.servidor ? QStringList{"--catalogo", c.texto(), "--datos", c.dir.path()}
                      : QStringList{"--datos", c.dir.path()};
}

} // namespace

class TestAlmacenTrabajos : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { almacen_prueba::Preparar(); }
    void cleanupTestCase() { almacen_prueba::Terminar(); }

    void init()
    {
        if (almacen_prueba::EsServidor())
            QVERIFY(
                almacen_prueba::Sql(true, almacen_prueba::BaseDelPrograma(),
                                    {{"DROP TABLE IF EXISTS trabajos"}, {"DROP TABLE IF EXISTS trabajos_version"}}));
    }

    void idaYVuelta()
    {
        CatalogoPrueba c;
        const Salida guardado = Correr(VANTORA_TRABAJO, QStringList{kPedidos + "/forma.dcs", "--guardar"} + donde(c));
        QCOMPARE(guardado.estado, 0);
        QVERIFY(guardado.lineas.contains("STATUS=0;0\r"));

        const Salida abierto = Correr(VANTORA_TRABAJO, QStringList{"--abrir", "T2"} + donde(c));
        QCOMPARE(abierto.estado, 0);
        QVERIFY(abierto.lineas.contains("Material: CR-39"));
        QVERIFY(abierto.lineas.contains("Estado: respondido"));
        // The request and the answer come back as they were.
        QVERIFY(abierto.lineas.contains("TRCFMT=1;360;E;R;F\r"));
        for (const QString& l : guardado.lineas)
            QVERIFY2(abierto.lineas.contains(l), qPrintable(l));

        const QString pdf = c.dir.filePath("T2.pdf");
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--abrir", "T2", "--pdf", pdf} + donde(c)).estado, 0);
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-");
    }

    // Both benches start together; the store's key lets one job in and the
    // other bench is told, never overwritten in silence.
    void dosPuestos()
    {
        CatalogoPrueba c;
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + donde(c)).estado, 0);
        const QStringList argumentos = QStringList{kPedidos + "/redondo.dcs", "--guardar"} + donde(c);
        QProcess a, b;
        a.start(VANTORA_TRABAJO, argumentos);
        b.start(VANTORA_TRABAJO, argumentos);
        QVERIFY(a.waitForFinished(30000) && b.waitForFinished(30000));
        QCOMPARE(QList<int>({a.exitCode(), b.exitCode()}).count(0), 1);
        QProcess& rechazado = a.exitCode() == 0 ? b : a;
        QCOMPARE(rechazado.exitCode(), 5);
        QCOMPARE(rechazado.readAllStandardError(), "vantora-trabajo: El trabajo T1 ya existe; use --reemplazar\n");
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + donde(c)).lineas.size(), 1);
        QCOMPARE(Correr(VANTORA_TRABAJO, argumentos + QStringList{"--reemplazar"}).estado, 0);
    }
};

QTEST_GUILESS_MAIN(TestAlmacenTrabajos)
#include "test_almacen_trabajos.moc"
