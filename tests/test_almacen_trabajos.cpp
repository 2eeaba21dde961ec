// The job store through vantora-trabajo, on a SQLite file and on the
// throwaway PostgreSQL server: a job answered, stored, listed, opened and
// printed, and two benches storing one number at the same moment.

#include "apoyo/materiales_prueba.h"
#include "apoyo/proceso.h"
#include "apoyo/proxy_prueba.h"

#include <QtTest>
#include <memory>

namespace {

const QString kPedidos = QStringLiteral(VANTORA_DATOS_TRABAJOS);

// The catalogue's choice as a bench makes it: the data folder's file, or the
// server's database named on the command line.
QStringList donde(const CatalogoPrueba& c)
{
    return c.servidor ? QStringList{"--catalogo", c.texto(), "--datos", c.dir.path()}
                      : QStringList{"--datos", c.dir.path()};
}

// The store held as another bench's long write holds it, until destroyed:
// readers pass, writers wait.
class Cerrojo {
public:
    explicit Cerrojo(const CatalogoPrueba& c)
        : m_bd(QSqlDatabase::addDatabase(c.servidor ? "QPSQL" : "QSQLITE", "cerrojo"))
    {
        m_bd.setDatabaseName(c.servidor ? almacen_prueba::BaseDelPrograma() : c.archivo());
        QSqlQuery q(m_bd);
        m_tomado = m_bd.open() && (c.servidor ? q.exec("BEGIN") && q.exec("LOCK TABLE trabajos IN EXCLUSIVE MODE")
                                              : q.exec("BEGIN IMMEDIATE"));
    }
    ~Cerrojo()
    {
        QSqlQuery(m_bd).exec("ROLLBACK");
        m_bd.close();
        m_bd = QSqlDatabase();
        QSqlDatabase::removeDatabase("cerrojo");
    }
    bool tomado() const { return m_tomado; }

private:
    QSqlDatabase m_bd;
    bool m_tomado = false;
};

} // namespace

class TestAlmacenTrabajos : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("VANTORA_PLAZO_SERVIDOR", "2");
        almacen_prueba::Preparar();
    }
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

    // What the store holds came from outside: on a terminal its control
    // characters are written out, a listed job stays on its line, and a
    // date with anything after it is no date.
    void textosDeFuera()
    {
        CatalogoPrueba c;
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + donde(c)).estado, 0);
        QVERIFY(c.Ejecutar({{"INSERT INTO trabajos (numero, pedido, respuesta, material, creado, cambiado, puesto, "
                             "estado) VALUES ('H2', ?, 'JOB=H2\r\nSTATUS=0;0\r\n', ?, '2026-12-07T10:00:00Z', "
                             "'2026-12-07T10:00:00Z', 'banco', 'respondido')",
                             "JOB=H2\r\nREM=\x1b]0;PWNED\x07\x1b[2J\r\n", "Vi\ndrio\tX"}}));
        const Salida lista = Correr(VANTORA_TRABAJO, QStringList{"--lista"} + donde(c));
        QCOMPARE(lista.lineas, QStringList{"H2\t2026-12-07T10:00:00Z\trespondido\tVi\\ndrio\\x09X\tbanco"});
        const Salida abierto = Correr(VANTORA_TRABAJO, QStringList{"--abrir", "H2"} + donde(c));
        QVERIFY2(abierto.lineas.contains("REM=\\x1B]0;PWNED\\x07\\x1B[2J\r") &&
                     !abierto.lineas.join('\n').contains('\x1b'),
                 qPrintable(abierto.lineas.join('\n')));
        QVERIFY(Correr(VANTORA_TRABAJO, QStringList{"--lista", "--desde", "2026-12-07xyz"} + donde(c))
                    .UnError("vantora-trabajo", "no es una fecha"));
    }

    // The data folder's catalogue file is a link to another folder's: a job
    // is stored into neither unless --catalogo names that path. A --datos
    // folder that is not there is a bad value, and is not made.
    void catalogoEnlazado()
    {
        if (almacen_prueba::EsServidor())
            QSKIP("sólo con el almacén en un archivo");
        CatalogoPrueba otro, c;
        QVERIFY(otro.Escribir({}) && QFile::link(otro.archivo(), c.archivo()));
        const QStringList guardar{kPedidos + "/redondo.dcs", "--guardar", "--datos", c.dir.path()};
        const Salida s = Correr(VANTORA_TRABAJO, guardar);
        QCOMPARE(s.estado, 3);
        QVERIFY2(s.UnError("vantora-trabajo", c.archivo() + "\": en su lugar hay un enlace simbólico"),
                 qPrintable(s.errores.join('\n')));
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista", "--catalogo", otro.archivo()}).lineas.size(), 0);
        QCOMPARE(Correr(VANTORA_TRABAJO, guardar + QStringList{"--catalogo", c.archivo()}).estado, 0);
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista", "--catalogo", otro.archivo()}).lineas.size(), 1);

        const QString nada = c.dir.filePath("nada");
        QVERIFY(Correr(VANTORA_TRABAJO, {"--lista", "--datos", nada}).UnError("vantora-trabajo", "no existe"));
        QVERIFY(!QFile::exists(nada));
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

    // A store that another bench holds is asked again within the limit,
    // then reported busy: never "ya existe" to a bench that replaces. Eight
    // benches replacing one new number behind that bench all store it.
    void almacenOcupado()
    {
        CatalogoPrueba c;
        const QStringList guardar = QStringList{kPedidos + "/redondo.dcs", "--guardar", "--reemplazar"} + donde(c);
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + donde(c)).estado, 0);
        std::vector<std::unique_ptr<QProcess>> puestos;
        {
            const Cerrojo otro(c);
            QVERIFY(otro.tomado());
            for (int i = 0; i < 8; ++i) {
                puestos.push_back(std::make_unique<QProcess>());
                puestos.back()->start(VANTORA_TRABAJO, guardar);
            }
            QTest::qWait(500);
        }
        for (const auto& p : puestos) {
            QVERIFY(p->waitForFinished(30000));
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
        }
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + donde(c)).lineas.size(), 1);

        const Cerrojo otro(c);
        QVERIFY(otro.tomado());
        const Salida s = Correr(VANTORA_TRABAJO, guardar);
        QCOMPARE(s.estado, 3);
        QVERIFY2(s.UnError("vantora-trabajo", "el almacén de trabajos está ocupado"), qPrintable(s.errores.join('\n')));
    }

    // A server that takes the login and then stops answering at the store's
    // statement: every store call gives up within the limit, with the
    // catalogue's message.
    void servidorMudo_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<QByteArray>("callarAl");
        QTest::newRow("--guardar") << QStringList{kPedidos + "/forma.dcs", "--guardar"} << QByteArray("INSERT");
        QTest::newRow("--lista") << QStringList{"--lista"} << QByteArray("FROM trabajos ORDER");
        QTest::newRow("--abrir") << QStringList{"--abrir", "T2"} << QByteArray("FROM trabajos WHERE");
    }
    void servidorMudo()
    {
        if (!almacen_prueba::EsServidor())
            QSKIP("sólo con el almacén en un servidor");
        QFETCH(QStringList, argumentos);
        QFETCH(QByteArray, callarAl);
        CatalogoPrueba c;
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + donde(c)).estado, 0);
        ProxyPrueba proxy;
        proxy.callarAlVer(callarAl);
        const Salida s = Correr(
            VANTORA_TRABAJO, argumentos + QStringList{"--catalogo", proxy.direccion(almacen_prueba::BaseDelPrograma()),
                                                      "--datos", c.dir.path()});
        QCOMPARE(s.estado, 3);
        QVERIFY2(s.UnError("vantora-trabajo", "no se puede llegar al servidor de la Base de Datos de Materiales") &&
                     s.errores[0].contains("no respondió en 2 segundos"),
                 qPrintable(s.errores.join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestAlmacenTrabajos)
#include "test_almacen_trabajos.moc"
