// vantora-dcs against simulated devices on real sockets: a tracer and an edger
// through a whole job, the session's checks and resends, hostile devices that
// must not hold the others, the exit statuses, and two hosts on one store.

#include "almacen_dispositivos.h"
#include "almacen_trabajos.h"
#include "apoyo/material_trabajo_prueba.h"
#include "apoyo/materiales_prueba.h"
#include "apoyo/proceso.h"
#include "apoyo/proxy_prueba.h"
#include "conexion_materiales.h"
#include "sesion_dcs.h"
#include "trabajo_con_trazo.h"
#include "trazo_pedido.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QtTest>
#include <csignal>
#include <memory>

namespace {

const QString kForma = QStringLiteral(VANTORA_DATOS_TRABAJOS "/forma.dcs");

// A device on a real socket, framing its messages as the standard does.
class Equipo {
public:
    explicit Equipo(quint16 puerto)
    {
        m_s.connectToHost(QHostAddress::LocalHost, puerto);
        m_s.waitForConnected(5000);
    }
    static QByteArray Mensaje(const QStringList& registros)
    {
        const QByteArray cuerpo = (registros.join('\r') + '\r').toLatin1() + dcs::kRS;
        return dcs::kFS + cuerpo + "CRC=" + QByteArray::number(dcs::Crc16(cuerpo.toStdString())) + '\r' + dcs::kGS;
    }
    void Enviar(const QByteArray& b)
    {
        m_s.write(b);
        m_s.waitForBytesWritten(5000);
    }
    // The host's next ACK, NAK or whole message; empty when nothing comes in
    // time or the host hung up.
    QByteArray Siguiente(int ms = 5000)
    {
        const QDeadlineTimer plazo(ms);
        for (;;) {
            const qsizetype fin = m_entrada.startsWith(dcs::kFS) ? m_entrada.indexOf(dcs::kGS) : 0;
            if (!m_entrada.isEmpty() && fin >= 0) {
                const QByteArray m = m_entrada.left(fin + 1);
                m_entrada.remove(0, fin + 1);
                return m;
            }
            if (!m_s.waitForReadyRead(int(plazo.remainingTime())))
                return {};
            m_entrada += m_s.readAll();
        }
    }
    // A request answered whole: its ACK, then the answer, whose check is
    // verified and which is acknowledged. The answer's records.
    QStringList Preguntar(const QStringList& registros, int ms = 5000)
    {
        Enviar(Mensaje(registros));
        if (Siguiente(ms) != QByteArray(1, dcs::kACK))
            return {"sin ACK"};
        const QStringList r = Registros(Siguiente(ms));
        Enviar(QByteArray(1, dcs::kACK));
        return r;
    }
    static QStringList Registros(const QByteArray& m)
    {
        static const QRegularExpression forma("^\\x1c(.*\\x1e)CRC=(\\d+)\\r\\x1d$",
                                              QRegularExpression::DotMatchesEverythingOption);
        const auto partes = forma.match(QString::fromLatin1(m));
        if (!partes.hasMatch() || partes.captured(2).toUInt() != dcs::Crc16(partes.captured(1).toStdString()))
            return {"mal enmarcado o CRC malo"};
        return partes.captured(1).chopped(1).split('\r', Qt::SkipEmptyParts);
    }
    void Colgar() { m_s.disconnectFromHost(); }
    bool Colgado(int ms = 5000)
    {
        return m_s.state() == QAbstractSocket::UnconnectedState || m_s.waitForDisconnected(ms);
    }

private:
    QTcpSocket m_s;
    QByteArray m_entrada;
};

// The program on a port the system chose, with short time limits.
struct Anfitrion {
    QProcess p;
    quint16 puerto = 0;
    explicit Anfitrion(const QStringList& argumentos,
                       const QStringList& plazos = {"--espera-ack", "1", "--espera-mensaje", "0.3", "--silencio", "1"})
    {
        p.setReadChannel(QProcess::StandardError);
        p.start(VANTORA_DCS, QStringList{"--escuchar", "127.0.0.1:0"} + plazos + argumentos);
        static const QRegularExpression escucha(":(\\d+);");
        while (!p.canReadLine() && p.waitForReadyRead(10000)) {}
        puerto = quint16(escucha.match(p.readLine()).captured(1).toUInt());
    }
    int Detener()
    {
        if (p.state() == QProcess::Running)
            ::kill(pid_t(p.processId()), SIGTERM);
        return p.waitForFinished(15000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    ~Anfitrion() { Detener(); }
};

// The forma.dcs job split as a laboratory has it: the frame as the tracer
// sends it, and the order without a shape, stored as a bench stores it.
QStringList trazo()
{
    return QString::fromLatin1(Leer(kForma))
        .split("\r\n", Qt::SkipEmptyParts)
        .filter(QRegularExpression("^(TRCFMT|R)="));
}
Salida guardarOrden(const CatalogoPrueba& c)
{
    QByteArray orden;
    for (const QByteArray& l : Leer(kForma).split('\n'))
        if (!l.startsWith("TRCFMT") && !l.startsWith("R="))
            orden += l + '\n';
    Poner(c.dir.filePath("orden.dcs"), orden); // unwritten, the store below fails
    return Correr(VANTORA_TRABAJO, QStringList{c.dir.filePath("orden.dcs"), "--guardar"} + c.Opciones());
}

// What an edger must get: vantora-trabajo's answer to the job (the whole
// forma.dcs unless another request is given), then the trace.
void comprobarTrabajo(const QStringList& dado, const CatalogoPrueba& c, const QString& pedido = kForma)
{
    QStringList esperado{"ANS=EDG"};
    for (const QString& l : Correr(VANTORA_TRABAJO, QStringList{pedido} + c.Opciones()).lineas)
        esperado << l.chopped(1);
    QCOMPARE(dado.mid(0, esperado.size()), esperado);
    QCOMPARE(dado.mid(esperado.size(), 2), trazo().mid(0, 2));
}

// A stored job's request and the rules it is marked with (0 for none).
std::pair<QString, int> guardado(const CatalogoPrueba& c, const QString& numero)
{
    return almacen_prueba::ConConexion(
        c.servidor, c.servidor ? almacen_prueba::BaseDelPrograma() : c.archivo(), [&](QSqlDatabase& bd) {
            QSqlQuery q(bd);
            bd.open();
            q.exec("SELECT pedido, formato FROM trabajos WHERE numero = '" + numero + "'");
            return q.next() ? std::pair(q.value(0).toString(), q.value(1).toInt()) : std::pair(QString(), -1);
        });
}

} // namespace

class TestAnfitrion : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { almacen_prueba::Preparar(); }
    void cleanupTestCase() { almacen_prueba::Terminar(); }
    void init()
    {
        if (almacen_prueba::EsServidor())
            QVERIFY(almacen_prueba::Sql(true, almacen_prueba::BaseDelPrograma(),
                                        {{"DROP TABLE IF EXISTS trabajos"},
                                         {"DROP TABLE IF EXISTS trabajos_version"},
                                         {"DROP TABLE IF EXISTS trabajos_trazos"}}));
    }

    // The trace comes before the order; the order stored takes it, the
    // edger gets the stored answer with it, and the log keeps no radius.
    void trazadorYBiseladora()
    {
        CatalogoPrueba c;
        auto a = std::make_unique<Anfitrion>(c.Opciones());
        Equipo trazador(a->puerto);
        QCOMPARE(trazador.Preguntar({"REQ=INI", "DEV=TRZ", "MODEL=T1", "TRCFMT=1;360;E;R;F"}),
                 QStringList({"ANS=INI", "STATUS=0", "TRCFMT=1;360;E;R;F"}));
        QCOMPARE(trazador.Preguntar(QStringList{"REQ=TRC", "JOB=T2"} + trazo()),
                 QStringList({"ANS=TRC", "JOB=T2", "STATUS=0"}));
        // Asked for, a trace comes back as sent, then the left side that was
        // not traced: its mirror image, radius i at 180° − i·45° of the right.
        const QStringList ocho{"TRCFMT=1;8;E;R;F", "R=2000;2100;2200;2300", "R=2400;2500;2600;2700"};
        QCOMPARE(trazador.Preguntar(QStringList{"REQ=TRC", "JOB=T3"} + ocho).value(2), "STATUS=0");
        const QStringList espejo{"TRCFMT=1;8;E;L;F", "R=2400;2300;2200;2100", "R=2000;2700;2600;2500"};
        QCOMPARE(trazador.Preguntar({"REQ=TRC", "JOB=T3"}).mid(3), ocho + espejo);
        // Records ended by CR alone: the request keeps one trace, the new one.
        QCOMPARE(dcs::PedidoConTrazo("JOB=T3\rTRCFMT=1;4;E;R;F\rR=1;1;1;1\r", "TRCFMT=1;8;E;R;F\r\n"),
                 "JOB=T3\r\nTRCFMT=1;8;E;R;F\r\n");

        QCOMPARE(guardarOrden(c).estado, 0);
        Equipo biseladora(a->puerto);
        comprobarTrabajo(biseladora.Preguntar({"REQ=EDG", "JOB=T2"}), c);
        const std::pair<QStringList, QString> rechazos[] = {
            {{"REQ=GEN", "JOB=NOPE"}, "STATUS=1"},
            {{"REQ=TRC", "JOB=NOPE"}, "STATUS=1"},
            {{"REQ=GEN", "JOB=../x"}, "STATUS=6"},
            {{"REQ=SRF"}, "STATUS=6"},
            {{"REQ=TRC", "JOB=T2", "TRCFMT=7;3;E;R;F"}, "STATUS=17"},
            {{"REQ=TRC", "JOB=T2", "TRCFMT=1;4;U;R;F", "R=1;2;3;4"}, "STATUS=17"},
            {{"REQ=TRC", "JOB=T2", "TRCFMT=1;4;E;R;F", "R=1;2;x;4"}, "STATUS=18"},
            {{"REQ=hola", "JOB=T2"}, "STATUS=16"},
            {{"REQ=ABCDEFGHI", "JOB=T2"}, "STATUS=16"},
        };
        for (const auto& [pedido, estado] : rechazos)
            QVERIFY2(biseladora.Preguntar(pedido).contains(estado), qPrintable(pedido.join(' ')));
        QCOMPARE(a->Detener(), 0);
        const QString bitacora = a->p.readAllStandardError();
        QVERIFY(bitacora.contains(QRegularExpression("127.0.0.1 TRZ/T1 REQ=TRC JOB=T2 STATUS=0 [0-9.]+ ms\n")));
        QVERIFY(bitacora.contains("REQ=GEN JOB=NOPE STATUS=1"));
        QVERIFY(!bitacora.contains("2500;"));
    }

    // The checks as devices compute them, on two published vectors: a wrong one is refused and the
    // message sent again is answered; an answer refused is sent again at
    // once, and one not acknowledged three more times before the host hangs up.
    void sesion()
    {
        CatalogoPrueba c;
        Anfitrion a(c.Opciones(), {"--espera-ack", "0.2", "--reintentos", "3"});
        Equipo e(a.puerto);
        const QByteArray vector("\x1cREQ=TRC\rJOB=98_50X50\r\x1e");
        e.Enviar(vector + "CRC=19088\r\x1d");
        QCOMPARE(e.Siguiente(), QByteArray(1, dcs::kNAK));
        e.Enviar(vector + "CRC=19087\r\x1d");
        QCOMPARE(e.Siguiente(), QByteArray(1, dcs::kACK));
        const QByteArray respuesta = e.Siguiente();
        QCOMPARE(Equipo::Registros(respuesta), QStringList({"ANS=TRC", "JOB=98_50X50", "STATUS=1"}));
        e.Enviar(QByteArray(1, dcs::kNAK));
        QCOMPARE(e.Siguiente(), respuesta);
        e.Enviar(QByteArray(1, dcs::kACK));

        e.Enviar("\x1cREQ=TRC\rJOB=2014112700002\r\x1e"
                 "CRC=18761\r\x1d");
        QCOMPARE(e.Siguiente(), QByteArray(1, dcs::kACK));
        const QByteArray otra = e.Siguiente();
        QCOMPARE(Equipo::Registros(otra).value(1), "JOB=2014112700002");
        for (int i = 0; i < 3; ++i)
            QCOMPARE(e.Siguiente(), otra);
        QVERIFY(e.Colgado());
    }

    void hostiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("cuelga"); // the device hangs up after sending them
        QTest::addColumn<QString>("motivo"); // why the host hangs up on it, or its log says
        QTest::addRow("basura") << QByteArray(3000, 'x').append("\x06\x15\x1d\r\n") << false << "";
        QTest::addRow("sin GS") << Equipo::Mensaje({"REQ=INI"}).chopped(1) << false << "mensaje incompleto";
        QTest::addRow("2 MB") << dcs::kFS + QByteArray(2 << 20, 'R') << false << "más de 1024 KB: desconectado";
        QTest::addRow("callado") << QByteArray() << false << "sin actividad durante 1 s: desconectado";
        QTest::addRow("a medias") << Equipo::Mensaje({"REQ=EDG", "JOB=T2"}).left(9) << true << "";
    }
    // Whatever one device does, the others are answered.
    void hostiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, cuelga);
        QFETCH(QString, motivo);
        CatalogoPrueba c;
        Anfitrion a(c.Opciones());
        Equipo honrado(a.puerto), hostil(a.puerto);
        hostil.Enviar(bytes);
        if (cuelga)
            hostil.Colgar();
        QCOMPARE(honrado.Preguntar({"REQ=INI"}, 2000).value(0), "ANS=INI");
        if (motivo.contains("desconectado")) {
            QVERIFY(hostil.Colgado());
        } else if (!cuelga) {
            // A message left without its GS was dropped when its time ran out.
            QTest::qWait(500);
            hostil.Enviar(QByteArray(1, dcs::kGS));
            QVERIFY(hostil.Siguiente(300).isEmpty());
            QCOMPARE(hostil.Preguntar({"REQ=INI"}).value(0), "ANS=INI");
        }
        QCOMPARE(Equipo(a.puerto).Preguntar({"REQ=INI"}).value(0), "ANS=INI");
        QCOMPARE(a.Detener(), 0);
        QVERIFY(QString::fromUtf8(a.p.readAllStandardError()).contains(motivo));
    }

    void sesentaYCuatro()
    {
        CatalogoPrueba c;
        Anfitrion a(c.Opciones(), {"--silencio", "60"});
        Equipo honrado(a.puerto);
        std::vector<std::unique_ptr<Equipo>> otros;
        for (int i = 0; i < 63; ++i)
            otros.push_back(std::make_unique<Equipo>(a.puerto));
        QCOMPARE(honrado.Preguntar({"REQ=INI"}).value(0), "ANS=INI");
        Equipo uno_mas(a.puerto);
        QVERIFY(uno_mas.Colgado());
        QCOMPARE(otros.back()->Preguntar({"REQ=INI"}).value(0), "ANS=INI");
        QCOMPARE(honrado.Preguntar({"REQ=INI"}).value(0), "ANS=INI");
    }

    void redNoPermitida()
    {
        CatalogoPrueba c;
        Anfitrion a(c.Opciones() + QStringList{"--permitir", "10.0.0.0/8,192.168.0.0/16"});
        QVERIFY(Equipo(a.puerto).Colgado(500));
        QCOMPARE(a.Detener(), 0);
        QVERIFY(a.p.readAllStandardError().contains("127.0.0.1 dirección no permitida"));
    }

    // A store that stalls holds only the request waiting on it, and one held
    // past the store's time limit is answered as an error of the moment.
    void almacenDetenido()
    {
        CatalogoPrueba c;
        qputenv("VANTORA_PLAZO_SERVIDOR", "2");
        Anfitrion a(c.Opciones(), {"--silencio", "10"});
        qunsetenv("VANTORA_PLAZO_SERVIDOR");
        Equipo trazador(a.puerto), otro(a.puerto);
        {
            QSqlDatabase bd = QSqlDatabase::addDatabase(c.servidor ? "QPSQL" : "QSQLITE", "bloqueo");
            bd.setDatabaseName(c.servidor ? almacen_prueba::BaseDelPrograma() : c.archivo());
            QSqlQuery q(bd);
            QVERIFY(bd.open() && q.exec(c.servidor ? "BEGIN" : "BEGIN IMMEDIATE"));
            QVERIFY(!c.servidor || q.exec("LOCK TABLE trabajos_trazos IN EXCLUSIVE MODE"));
            trazador.Enviar(Equipo::Mensaje(QStringList{"REQ=TRC", "JOB=T2"} + trazo()));
            QCOMPARE(trazador.Siguiente(), QByteArray(1, dcs::kACK));
            QCOMPARE(otro.Preguntar({"REQ=INI"}, 2000).value(0), "ANS=INI");
            QVERIFY(trazador.Siguiente(300).isEmpty());
            QCOMPARE(Equipo::Registros(trazador.Siguiente()).value(2), "STATUS=3");
            trazador.Enviar(QByteArray(1, dcs::kACK));
            trazador.Enviar(Equipo::Mensaje(QStringList{"REQ=TRC", "JOB=T2"} + trazo()));
            QCOMPARE(trazador.Siguiente(), QByteArray(1, dcs::kACK));
            QVERIFY(trazador.Siguiente(300).isEmpty());
            QVERIFY(q.exec("ROLLBACK"));
        }
        QSqlDatabase::removeDatabase("bloqueo");
        QCOMPARE(Equipo::Registros(trazador.Siguiente()), QStringList({"ANS=TRC", "JOB=T2", "STATUS=0"}));
    }

    // The order is stored before the frame is traced: a tracer uploads to
    // one host, and an edger asking another gets the job answered again.
    void dosAnfitriones()
    {
        CatalogoPrueba c;
        QCOMPARE(guardarOrden(c).estado, 4);
        Anfitrion a(c.Opciones()), b(c.Opciones());
        Equipo trazador(a.puerto), biseladora(b.puerto);
        // The order alone has no shape: its stored answer says so.
        QCOMPARE(biseladora.Preguntar({"REQ=EDG", "JOB=T2"}).value(2), "STATUS=7");
        QCOMPARE(trazador.Preguntar(QStringList{"REQ=TRC", "JOB=T2"} + trazo()).value(2), "STATUS=0");
        comprobarTrabajo(biseladora.Preguntar({"REQ=EDG", "JOB=T2"}), c);
        QVERIFY(
            Correr(VANTORA_TRABAJO, QStringList{"--abrir", "T2"} + c.Opciones()).lineas.contains("Estado: respondido"));
    }

    // Jobs of the earlier release reach devices in today's labels. A trace
    // uploaded for one stores it by today's rules when they answer it as that
    // release's did; otherwise, as for a damaged record, it is refused and
    // nothing is kept.
    void trabajosAnteriores()
    {
        CatalogoPrueba c;
        const QString pedido = "JOB=%1\r\nDO=B\r\nSPH=2.00;1.50\r\nLMATTYPE=CR-39;CR-39\r\nFRNT=6.00;6.00\r\n"
                               "ETYP=%2\r\nHBOX=50.00;50.00\r\nVBOX=40.00;40.00\r\n";
        const QString respuesta = "JOB=%1\r\nFRNT=6.000;6.000\r\nBACK=-1.87;-1.87;-2.85;-2.85\r\nCTHICK=3.911;3.302\r\n"
                                  "CTHNP=1.500;1.500\r\nCTHNA=0.00;0.00\r\nCTHKP=1.500;1.500\r\nCTHKA=0.00;0.00\r\n"
                                  "CRIB=55.00;55.00\r\n_PESO=9.10;8.20\r\nSTATUS=0;0\r\n";
        QVERIFY(c.AlmacenAnterior({{"V1", pedido.arg("V1", "1;1"), respuesta.arg("V1")},
                                   {"V2", pedido.arg("V2", "1;3"), respuesta.arg("V2")},
                                   {"V3", pedido.arg("V9", "1;1"), respuesta.arg("V9")}}));
        Anfitrion a(c.Opciones());
        Equipo e(a.puerto);
        const QStringList v1 = e.Preguntar({"REQ=EDG", "JOB=V1"});
        QVERIFY2(v1.contains("STATUS=0") && v1.contains("THNP=1.500;1.500") && !v1.join(' ').contains("BACK"),
                 qPrintable(v1.join(' ')));
        QCOMPARE(e.Preguntar({"REQ=EDG", "JOB=V3"}).value(2), "STATUS=4");
        for (const QString n : {"V2", "V3"})
            QCOMPARE(e.Preguntar(QStringList{"REQ=TRC", "JOB=" + n} + trazo()).value(2), "STATUS=4");
        QCOMPARE(e.Preguntar({"REQ=TRC", "JOB=V2"}).value(2), "STATUS=1");
        QCOMPARE(guardado(c, "V2"), std::pair(pedido.arg("V2", "1;3"), 0));

        QCOMPARE(e.Preguntar(QStringList{"REQ=TRC", "JOB=V1"} + trazo()).value(2), "STATUS=0");
        const auto [v1Guardado, formato] = guardado(c, "V1");
        QCOMPARE(formato, int(dcs::kFormato));
        QVERIFY2(v1Guardado.contains("ETYP=1\r\n") && v1Guardado.contains("_MATERIAL=CR-39;CR-39\r\n") &&
                     v1Guardado.contains("MBASE=6.080305927342;"),
                 qPrintable(v1Guardado));
        const QString archivo = c.dir.filePath("v1.dcs");
        QVERIFY(Poner(archivo, v1Guardado.toUtf8()));
        comprobarTrabajo(e.Preguntar({"REQ=EDG", "JOB=V1"}), c, archivo);
        QCOMPARE(a.Detener(), 0);
        const QString bitacora = a.p.readAllStandardError();
        QVERIFY(bitacora.contains("ETYP: cada ojo con su montura") && bitacora.contains("registro dañado"));
    }

    // The earlier release's requests by today's rules: FRNT, its house curve,
    // as MBASE at the job's own tool index; an MBASE it did not read left
    // out; refused when today's rules would answer otherwise (a frame an eye:
    // trabajosAnteriores).
    void pedidosAnteriores_data()
    {
        QTest::addColumn<QString>("registros");
        QTest::addColumn<QString>("queda"); // empty: refused
        QTest::addColumn<QString>("sale");
        const auto fila = [](const char* caso, const char* registros, const char* queda, const char* sale) {
            QTest::newRow(caso) << QString(registros) << QString(queda) << QString(sale);
        };
        fila("herramienta del trabajo", "LMATTYPE=CR-39\r\nFRNT=6\r\nTIND=1.6", "MBASE=6.883365200765;", "FRNT");
        fila("MBASE que no leía", "LMATTYPE=CR-39\r\nMBASE=9", "_MATERIAL=CR-39;CR-39", "MBASE");
        fila("material que falta", "LMATTYPE=CR-39;Nada", "", "");
    }
    void pedidosAnteriores()
    {
        QFETCH(QString, registros);
        QFETCH(QString, queda);
        QFETCH(QString, sale);
        UnMaterial materiales;
        std::string error;
        const auto t = dcs::ResponderConTrazo(
            "A", ("JOB=A\r\nSPH=2;1.5\r\nMINEDG=1\r\n" + registros + "\r\n").toStdString(), dcs::kFormatoAnterior,
            trazo().join("\r\n").toStdString() + "\r\n", &materiales, error);
        QVERIFY2(bool(t) == !queda.isEmpty(), error.c_str());
        if (t)
            QVERIFY2(QString::fromStdString(t->pedido).contains(queda) &&
                         !QString::fromStdString(t->pedido).contains(sale + "="),
                     t->pedido.c_str());
    }

    // Another bench stores the job while the host answers it on an uploaded
    // trace: the host reads the newer job and answers it with the trace; a
    // job that changes at every try is left as the bench stored it, and the
    // tracer is asked to send again.
    void trazoSobreTrabajoCambiado_data()
    {
        QTest::addColumn<bool>("antes"); // the order is stored before the trace comes
        QTest::addColumn<int>("cambios");
        QTest::addColumn<int>("estado");
        QTest::newRow("otro puesto lo guarda una vez") << true << 1 << int(dcs::Estado::Respondido);
        QTest::newRow("la orden llega mientras tanto") << false << 1 << int(dcs::Estado::Respondido);
        QTest::newRow("otro puesto lo guarda cada vez") << true << 99 << int(dcs::Estado::General);
    }
    void trazoSobreTrabajoCambiado()
    {
        QFETCH(bool, antes);
        QFETCH(int, cambios);
        QFETCH(int, estado);
        CatalogoPrueba c;
        BaseMateriales base(c.ubicacion());
        QVERIFY(!base.Preparar() && !AlmacenTrabajos(base).Preparar() && (!antes || guardarOrden(c).estado == 4));
        AlmacenDispositivos almacen(base);
        int veces = 0;
        QString ultimo;
        almacen.antesDeGuardar = [&] {
            if (++veces <= cambios && (antes || veces > 1))
                c.Ejecutar({{"UPDATE trabajos SET pedido = ? WHERE numero = 'T2'",
                             guardado(c, "T2").first.replace(QRegularExpression("SPH=[0-9.]+"),
                                                             "SPH=" + QString::number(veces))}});
            else if (veces <= cambios)
                guardarOrden(c);
            ultimo = guardado(c, "T2").first;
        };
        const std::string registros = trazo().join("\r\n").toStdString() + "\r\n";
        QCOMPARE(int(almacen.GuardarTrazo("T2", registros, {"TRZ", "", "T1", ""}).estado), estado);
        const QString queda = guardado(c, "T2").first;
        if (estado == int(dcs::Estado::Respondido))
            QVERIFY(queda == QString::fromStdString(dcs::PedidoConTrazo(ultimo.toStdString(), registros)) &&
                    veces == 2);
        else
            QVERIFY(queda == ultimo && !queda.contains("TRCFMT") && veces > 2);
    }

    // A worker's calls share the connection it keeps, which goes with it.
    void conexionRetenida()
    {
        CatalogoPrueba c;
        BaseMateriales base(c.ubicacion());
        QVERIFY(!base.Preparar());
        const QStringList antes = QSqlDatabase::connectionNames();
        {
            const ConexionRetenida retenida(base);
            for (int i = 0; i < 3; ++i) {
                const ConexionMateriales uso(base, "uso");
                QVERIFY(uso.abierta() && uso.nueva() == (i == 0));
            }
        }
        QCOMPARE(QSqlDatabase::connectionNames(), antes);
    }

    // The server ends the workers' sessions (a restart, an idle limit): the
    // next requests open them again and are answered.
    void sesionesTerminadas()
    {
        if (!almacen_prueba::EsServidor())
            QSKIP("solo con el servidor de prueba");
        CatalogoPrueba c;
        Anfitrion a(c.Opciones());
        Equipo e(a.puerto);
        for (int vuelta = 0; vuelta < 2; ++vuelta) {
            for (int i = 0; i < 16; ++i)
                QCOMPARE(e.Preguntar({"REQ=EDG", "JOB=NOPE"}).value(2), "STATUS=1");
            QVERIFY(almacen_prueba::Sql(true, almacen_prueba::BaseDelPrograma(),
                                        {{"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = "
                                          "current_database() AND pid <> pg_backend_pid()"}}));
        }
    }

    void salidas_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("estado");
        QTest::addColumn<QString>("dice");
        QVERIFY(Poner(m_danado.filePath("materiales.mdb"), QByteArray(4096, 'x')));
        QTest::addRow("reintentos") << QStringList{"--reintentos", "1.5"} << 2 << "--reintentos";
        QTest::addRow("sin puerto") << QStringList{"--escuchar", "127.0.0.1"} << 2 << "--escuchar";
        QTest::addRow("red") << QStringList{"--permitir", "10.0.0.0/40"} << 2 << "--permitir";
        QTest::addRow("puerto ocupado") << QStringList{"--escuchar", QString("127.0.0.1:%1").arg(PuertoMudo())} << 1
                                        << "en uso";
        QTest::addRow("catálogo dañado") << QStringList{"--datos", m_danado.path()} << 3 << "Materiales";
    }
    void salidas()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(int, estado);
        QFETCH(QString, dice);
        for (const QString o : {"--escuchar", "--datos"})
            if (!argumentos.contains(o))
                argumentos << o << (o == "--datos" ? m_datos.path() : "127.0.0.1:0");
        const Salida s = Correr(VANTORA_DCS, argumentos);
        QCOMPARE(s.estado, estado);
        QVERIFY2(s.UnError("vantora-dcs", dice), qPrintable(s.errores.join('\n')));
    }

private:
    QTemporaryDir m_datos, m_danado;
};

QTEST_GUILESS_MAIN(TestAnfitrion)
#include "test_anfitrion.moc"
