// The job store through vantora-trabajo, on a SQLite file and on the
// throwaway PostgreSQL server: a job answered, stored, listed, opened and
// printed from what was stored, a job of the earlier release, the
// catalogue's materials as jobs name them, and two benches storing one
// number at the same moment.

#include "apoyo/herramientas_pdf.h"
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
        QVERIFY(guardado.lineas.contains("STATUS=0\r"));

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

    // The ticket is what was stored: the catalogue's CR-39 changed since,
    // and a new answer differs, but the stored centre 2.872 mm is printed.
    // A record whose request is another job's is refused as damaged.
    void loGuardado()
    {
        CatalogoPrueba c;
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{kPedidos + "/forma.dcs", "--guardar"} + donde(c)).estado, 0);
        QVERIFY(c.Ejecutar(
            {{"UPDATE \"Tabla_Materiales\" SET \"indice de refracción\" = 1.7 WHERE producto = 'CR-39'"},
             {"INSERT INTO trabajos VALUES ('H2', 'JOB=OTHER\r\nSPH=1;1\r\n', '', '', '', '', '', '', 2)"}}));
        QVERIFY(!Correr(VANTORA_TRABAJO, QStringList{kPedidos + "/forma.dcs"} + donde(c))
                     .lineas.contains("CTHICK=2.872;2.856\r"));
        const QString pdf = c.dir.filePath("T2.pdf");
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--abrir", "T2", "--pdf", pdf} + donde(c)).estado, 0);
        QVERIFY(herramientas_pdf::texto(pdf).contains("Espesor central: 2.872 mm"));
        for (const QStringList& mas : {QStringList{}, QStringList{"--pdf", pdf}}) {
            const Salida s = Correr(VANTORA_TRABAJO, QStringList{"--abrir", "H2"} + mas + donde(c));
            QVERIFY(s.estado == 3 && s.errores.join('\n').contains("registro dañado"));
        }
    }

    // A store of the earlier release gains the format mark; its job, read by
    // its rules (ETYP one an eye, FRNT at 1.523, the material by name),
    // opens and prints with its stored figures, and new jobs are stored.
    void versionAnterior()
    {
        CatalogoPrueba c;
        QVERIFY(c.Escribir({{1, "CR-39", 1.498, 1.32}}));
        QVERIFY(c.Ejecutar(
            {{"CREATE TABLE trabajos (numero VARCHAR(40) PRIMARY KEY, pedido TEXT NOT NULL, respuesta TEXT NOT NULL, "
              "material TEXT NOT NULL, creado VARCHAR(32) NOT NULL, cambiado VARCHAR(32) NOT NULL, puesto TEXT NOT "
              "NULL, estado TEXT NOT NULL)"},
             {"CREATE TABLE trabajos_version (version INTEGER NOT NULL)"},
             {"INSERT INTO trabajos_version VALUES (1)"},
             {"INSERT INTO trabajos VALUES ('V1', ?, ?, 'CR-39', '2026-01-02T10:00:00Z', '2026-01-02T10:00:00Z', 'b1', "
              "'respondido')",
              "JOB=V1\r\nDO=B\r\nSPH=4.00;?\r\nLMATTYPE=CR-39;?\r\nFRNT=6.00;?\r\nETYP=1;?\r\nFED=60.00;?\r\n",
              "JOB=V1\r\nFRNT=6.000;?\r\nBACK=-1.87;-1.87;?;?\r\nCTHICK=4.712;?\r\nCTHNP=2.000;?\r\n"
              "CTHNA=0.00;?\r\nCTHKP=2.000;?\r\nCTHKA=0.00;?\r\nCRIB=65.00;?\r\n_PESO=15.20;?\r\nSTATUS=0;?\r\n"}}));
        const QString pdf = c.dir.filePath("V1.pdf");
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--abrir", "V1", "--pdf", pdf} + donde(c)).estado, 0);
        const QString ticket = herramientas_pdf::texto(pdf);
        QVERIFY2(ticket.contains("Espesor central: 4.712 mm") && ticket.contains("Molde 1.523: -1.87 / -1.87 D"),
                 qPrintable(ticket));
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{kPedidos + "/redondo.dcs", "--guardar"} + donde(c)).estado, 0);
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + donde(c)).lineas.size(), 2);
    }

    // Jobs name the catalogue's materials by whole name, any case, never a
    // part of one, or by class and index (Tabla_CodigoDCS).
    void materiales_data()
    {
        QTest::addColumn<QString>("lineas");
        QTest::addColumn<QString>("material"); // stored with the job; empty: not found
        QTest::newRow("nombre en minúsculas") << "_MATERIAL=cr-39"
                                              << "CR-39";
        QTest::newRow("parte de un nombre") << "_MATERIAL=Resina 1.6"
                                            << "";
        QTest::newRow("alto índice 1.67") << "LMATTYPE=5\r\nLIND=1.67"
                                          << "Resina 1.67";
        QTest::newRow("vidrio 1.6") << "LMATTYPE=3\r\nLIND=1.60"
                                    << "Mineral 1.6";
        QTest::newRow("plástico 1.5") << "LMATTYPE=1\r\nLIND=1.50"
                                      << "CR-39";
    }
    void materiales()
    {
        QFETCH(QString, lineas);
        QFETCH(QString, material);
        CatalogoPrueba c;
        QTemporaryDir dir;
        QFile f(dir.filePath("m.dcs"));
        QVERIFY(f.open(QIODevice::WriteOnly) &&
                f.write(("JOB=M\r\nSPH=2\r\nFED=60\r\nMINEDG=1\r\n" + lineas + "\r\n").toUtf8()) > 0);
        f.close();
        const Salida s = Correr(VANTORA_TRABAJO, QStringList{f.fileName(), "--guardar"} + donde(c));
        QVERIFY(s.lineas.contains(material.isEmpty() ? "STATUS=4\r" : "STATUS=0\r"));
        const QStringList lista = Correr(VANTORA_TRABAJO, QStringList{"--lista"} + donde(c)).lineas;
        QCOMPARE(lista.size(), 1);
        QCOMPARE(lista[0].split('\t').value(3), material);
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
