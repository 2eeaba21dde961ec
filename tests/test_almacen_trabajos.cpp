// The job store through vantora-trabajo, on a SQLite file and on the
// throwaway PostgreSQL server: a job answered, stored, listed, opened and
// printed from what was stored, a job of the earlier release, the
// catalogue's materials as jobs name them, and two benches storing one
// number at the same moment.

#include "apoyo/herramientas_pdf.h"
#include "apoyo/materiales_prueba.h"
#include "apoyo/proceso.h"
#include "apoyo/proxy_prueba.h"

#include <QtTest>
#include <memory>
#include <vector>

namespace {

const QString kPedidos = QStringLiteral(VANTORA_DATOS_TRABAJOS);

} // namespace

class TestAlmacenTrabajos : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("VANTORA_PLAZO_SERVIDOR", "2");
        qputenv("TZ", "UTC"); // the ticket's dates are the bench's clock
        // Every error output checked here is one line: no line of the
        // toolkit's plugin loader may slip in.
        qputenv("QT_DEBUG_PLUGINS", "1");
        QLoggingCategory::setFilterRules("qt.core.*.debug=false"); // the test's own plugins, quietly
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

    // A stored job comes back as it was, its request and its answer, and its
    // ticket is what was stored: the catalogue's CR-39 changed since, and a
    // new answer differs, but the stored centre 2.872 mm is printed. A
    // record whose request is another job's is refused as damaged.
    void loGuardado()
    {
        CatalogoPrueba c;
        const Salida guardado =
            Correr(VANTORA_TRABAJO, QStringList{kPedidos + "/forma.dcs", "--guardar"} + c.Opciones());
        QVERIFY(guardado.estado == 0 && guardado.lineas.contains("STATUS=0\r"));
        QVERIFY(c.Ejecutar(
            {{"UPDATE \"Tabla_Materiales\" SET \"indice de refracción\" = 1.7 WHERE producto = 'CR-39'"},
             {"INSERT INTO trabajos VALUES ('H2', 'JOB=OTHER\r\nSPH=1;1\r\n', '', '', '', '', '', '', 2)"}}));
        const Salida abierto = Correr(VANTORA_TRABAJO, QStringList{"--abrir", "T2"} + c.Opciones());
        QVERIFY(abierto.estado == 0 && abierto.lineas.contains("Material: CR-39") &&
                abierto.lineas.contains("Estado: respondido") && abierto.lineas.contains("TRCFMT=1;360;E;R;F\r"));
        for (const QString& l : guardado.lineas)
            QVERIFY2(abierto.lineas.contains(l), qPrintable(l));
        QVERIFY(!Correr(VANTORA_TRABAJO, QStringList{kPedidos + "/forma.dcs"} + c.Opciones())
                     .lineas.contains("CTHICK=2.872;2.856\r"));
        const QString pdf = c.dir.filePath("T2.pdf");
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--abrir", "T2", "--pdf", pdf} + c.Opciones()).estado, 0);
        // The left eye's outline is the right eye's trace, mirrored.
        const QString ticket = herramientas_pdf::texto(pdf);
        QVERIFY2(ticket.contains("Espesor central 2.872 mm") &&
                     ticket.contains("Forma trazado, 360 puntos trazado, 360 puntos, reflejado"),
                 qPrintable(ticket));
        for (const QStringList& mas : {QStringList{}, QStringList{"--pdf", pdf}}) {
            const Salida s = Correr(VANTORA_TRABAJO, QStringList{"--abrir", "H2"} + mas + c.Opciones());
            QVERIFY(s.estado == 3 && s.errores.join('\n').contains("registro dañado"));
        }
    }

    // A store of the earlier release gains the format mark; its job, read by
    // its rules (ETYP one an eye, FRNT at 1.523, the material by name),
    // opens and prints with its stored figures, and new jobs are stored.
    void versionAnterior()
    {
        CatalogoPrueba c;
        QVERIFY(c.AlmacenAnterior(
            {{"V1", "JOB=V1\r\nDO=B\r\nSPH=4.00;?\r\nLMATTYPE=CR-39;?\r\nFRNT=6.00;?\r\nETYP=1;?\r\nFED=60.00;?\r\n",
              "JOB=V1\r\nFRNT=6.000;?\r\nBACK=-1.87;-1.87;?;?\r\nCTHICK=4.712;?\r\nCTHNP=2.000;?\r\n"
              "CTHNA=0.00;?\r\nCTHKP=2.000;?\r\nCTHKA=0.00;?\r\nCRIB=65.00;?\r\n_PESO=15.20;?\r\nSTATUS=0;?\r\n"}}));
        const QString pdf = c.dir.filePath("V1.pdf");
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--abrir", "V1", "--pdf", pdf} + c.Opciones()).estado, 0);
        const QString ticket = herramientas_pdf::texto(pdf);
        // BACK's 1.523 tool, -1.87 D, is -1.87 · 0.530 / 0.523 = -1.895 D at 1.530.
        for (const QString& linea :
             QStringList{"Creado: 02/01/2026 10:00", "Ojo izquierdo: no pedido",
                         "Curvas de herramienta -1.90 D a 0° / -1.90 D a 90° —", "Espesor central 4.712 mm —"})
            QVERIFY2(ticket.contains(linea), qPrintable(linea + " no está en:\n" + ticket));
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{kPedidos + "/redondo.dcs", "--guardar"} + c.Opciones()).estado, 0);
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + c.Opciones()).lineas.size(), 2);
    }

    // Jobs name the catalogue's materials by whole name, any case, never a
    // part of one, or by class and index (Tabla_CodigoDCS).
    void materiales_data()
    {
        QTest::addColumn<QString>("lineas");
        QTest::addColumn<QString>("material"); // stored with the job; empty: not found
        const auto fila = [](const char* caso, const char* lineas, const char* material) {
            QTest::newRow(caso) << QString(lineas) << QString(material);
        };
        fila("nombre en minúsculas", "_MATERIAL=cr-39", "CR-39");
        fila("parte de un nombre", "_MATERIAL=Resina 1.6", "");
        fila("alto índice 1.67", "LMATTYPE=5\r\nLIND=1.67", "Resina 1.67");
        fila("vidrio 1.6", "LMATTYPE=3\r\nLIND=1.60", "Mineral 1.6");
        fila("plástico 1.5", "LMATTYPE=1\r\nLIND=1.50", "CR-39");
    }
    void materiales()
    {
        QFETCH(QString, lineas);
        QFETCH(QString, material);
        CatalogoPrueba c;
        const QString pedido = c.dir.filePath("m.dcs");
        QVERIFY(Poner(pedido, ("JOB=M\r\nSPH=2\r\nFED=60\r\nMINEDG=1\r\n" + lineas + "\r\n").toUtf8()));
        const Salida s = Correr(VANTORA_TRABAJO, QStringList{pedido, "--guardar"} + c.Opciones());
        QVERIFY(s.lineas.contains(material.isEmpty() ? "STATUS=4\r" : "STATUS=0\r"));
        const QStringList lista = Correr(VANTORA_TRABAJO, QStringList{"--lista"} + c.Opciones()).lineas;
        QCOMPARE(lista.size(), 1);
        QCOMPARE(lista[0].split('\t').value(3), material);
    }

    // What the store holds came from outside: on a terminal its control
    // characters are written out, a listed job stays on its line, and a
    // date with anything after it is no date.
    void textosDeFuera()
    {
        CatalogoPrueba c;
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + c.Opciones()).estado, 0);
        QVERIFY(c.Ejecutar({{"INSERT INTO trabajos (numero, pedido, respuesta, material, creado, cambiado, puesto, "
                             "estado) VALUES ('H2', ?, 'JOB=H2\r\nSTATUS=0;0\r\n', ?, '2026-12-07T10:00:00Z', "
                             "'2026-12-07T10:00:00Z', 'banco', 'respondido')",
                             "JOB=H2\r\nREM=\x1b]0;PWNED\x07\x1b[2J\r\n", "Vi\ndrio\tX"}}));
        const Salida lista = Correr(VANTORA_TRABAJO, QStringList{"--lista"} + c.Opciones());
        QCOMPARE(lista.lineas, QStringList{"H2\t2026-12-07T10:00:00Z\trespondido\tVi\\ndrio\\x09X\tbanco"});
        const Salida abierto = Correr(VANTORA_TRABAJO, QStringList{"--abrir", "H2"} + c.Opciones());
        QVERIFY2(abierto.lineas.contains("REM=\\x1B]0;PWNED\\x07\\x1B[2J\r") &&
                     !abierto.lineas.join('\n').contains('\x1b'),
                 qPrintable(abierto.lineas.join('\n')));
        QVERIFY(Correr(VANTORA_TRABAJO, QStringList{"--lista", "--desde", "2026-12-07xyz"} + c.Opciones())
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
        const QByteArray antes = otro.Volcado();
        const QStringList guardar{kPedidos + "/redondo.dcs", "--guardar", "--datos", c.dir.path()};
        QVERIFY(
            Correr(VANTORA_TRABAJO, guardar).UnError("vantora-trabajo", c.archivo() + "\": en su lugar hay un enlace"));
        QCOMPARE(otro.Volcado(), antes);
        QCOMPARE(Correr(VANTORA_TRABAJO, guardar + QStringList{"--catalogo", c.archivo()}).estado, 0);
        QVERIFY(Correr(VANTORA_TRABAJO, {"--lista", "--datos", c.dir.filePath("nada")})
                    .UnError("vantora-trabajo", "no existe"));
        QVERIFY(!QFile::exists(c.dir.filePath("nada")));
    }

    // Both benches start together; the store's key lets one job in and the
    // other bench is told, never overwritten in silence.
    void dosPuestos()
    {
        CatalogoPrueba c;
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + c.Opciones()).estado, 0);
        const QStringList argumentos = QStringList{kPedidos + "/redondo.dcs", "--guardar"} + c.Opciones();
        QProcess a, b;
        a.start(VANTORA_TRABAJO, argumentos);
        b.start(VANTORA_TRABAJO, argumentos);
        QVERIFY(a.waitForFinished(30000) && b.waitForFinished(30000));
        QCOMPARE(QList<int>({a.exitCode(), b.exitCode()}).count(0), 1);
        QProcess& rechazado = a.exitCode() == 0 ? b : a;
        QCOMPARE(rechazado.exitCode(), 5);
        QCOMPARE(rechazado.readAllStandardError(), "vantora-trabajo: El trabajo T1 ya existe; use --reemplazar\n");
    }

    // A store that another bench holds (readers pass, writers wait) is asked
    // again within the limit, then reported busy: never "ya existe" to a
    // bench that replaces. Eight benches replacing one new number behind
    // that bench all store it once it lets go.
    void almacenOcupado()
    {
        CatalogoPrueba c;
        const QStringList guardar = QStringList{kPedidos + "/redondo.dcs", "--guardar", "--reemplazar"} + c.Opciones();
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + c.Opciones()).estado, 0);
        std::vector<std::unique_ptr<QProcess>> puestos(8);
        Salida ocupado{};
        const auto base = c.servidor ? almacen_prueba::BaseDelPrograma() : c.archivo();
        QVERIFY(almacen_prueba::ConConexion(c.servidor, base, [&](QSqlDatabase& bd) {
            QSqlQuery q(bd);
            if (!bd.open() || !(c.servidor ? q.exec("BEGIN") && q.exec("LOCK TABLE trabajos IN EXCLUSIVE MODE")
                                           : q.exec("BEGIN IMMEDIATE")))
                return false;
            ocupado = Correr(VANTORA_TRABAJO, guardar);
            for (auto& p : puestos) {
                p = std::make_unique<QProcess>();
                p->start(VANTORA_TRABAJO, guardar);
            }
            QTest::qWait(500);
            return q.exec("ROLLBACK");
        }));
        QVERIFY2(ocupado.estado == 3 && ocupado.UnError("vantora-trabajo", "el almacén de trabajos está ocupado"),
                 qPrintable(ocupado.errores.join('\n')));
        for (const auto& p : puestos)
            QVERIFY2(p->waitForFinished(30000) && p->exitCode() == 0, p->readAllStandardError().constData());
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + c.Opciones()).lineas.size(), 1);
    }

    // A server that takes the login and then stops answering at the store's
    // statement, or at the catalogue's look at its table: every call gives
    // up within the limit, with the catalogue's message.
    void servidorMudo()
    {
        if (!almacen_prueba::EsServidor())
            QSKIP("sólo con el almacén en un servidor");
        CatalogoPrueba c;
        QCOMPARE(Correr(VANTORA_TRABAJO, QStringList{"--lista"} + c.Opciones()).estado, 0);
        for (const auto& [argumentos, callarAl] :
             {std::pair{QStringList{kPedidos + "/forma.dcs", "--guardar"}, "INSERT"},
              {QStringList{"--lista"}, "FROM trabajos ORDER"},
              {QStringList{"--abrir", "T2"}, "FROM trabajos WHERE"},
              {QStringList{kPedidos + "/forma.dcs"}, "pg_attribute"}}) {
            ProxyPrueba proxy;
            proxy.callarAlVer(callarAl);
            const Salida s =
                Correr(VANTORA_TRABAJO,
                       argumentos + QStringList{"--catalogo", proxy.direccion(almacen_prueba::BaseDelPrograma()),
                                                "--datos", c.dir.path()});
            QVERIFY2(s.estado == 3 &&
                         s.UnError("vantora-trabajo", "o se puede llegar al servidor de la Base de Datos") &&
                         s.errores[0].contains("no respondió en 2 segundos"),
                     qPrintable(s.errores.join('\n')));
        }
    }
};

QTEST_GUILESS_MAIN(TestAlmacenTrabajos)
#include "test_almacen_trabajos.moc"
