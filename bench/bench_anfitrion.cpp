// The host under load, in one process so that its descriptors and memory can
// be read: 20 devices asking for a job at the same moment, round after round
// (the time from a request's last byte to its answer's last byte, as the
// device sees it and as the host's log gives it), then 1,000 connections
// opened and closed in a row. The store is a SQLite file of its own, or the
// catalogue the first argument names (postgresql://…), where it stores its job.

#include "almacen_dispositivos.h"
#include "almacen_trabajos.h"
#include "base_materiales.h"
#include "responder_trabajo.h"
#include "servidor_dcs.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Reloj = std::chrono::steady_clock;

constexpr int kEquipos = 20;
constexpr int kRondas = 250;
constexpr int kConexiones = 1000;

class Cr39 : public trabajos::MaterialesTrabajo {
public:
    std::optional<trabajos::MaterialTrabajo> Buscar(std::string_view) override
    {
        return trabajos::MaterialTrabajo{"CR-39", 1.498, 1.32, 2.0};
    }
};

int conectar(quint16 puerto)
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    const int si = 1;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &si, sizeof si);
    sockaddr_in d{};
    d.sin_family = AF_INET;
    d.sin_port = htons(puerto);
    d.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(s, reinterpret_cast<sockaddr*>(&d), sizeof d) != 0) {
        std::perror("connect");
        std::exit(1);
    }
    return s;
}

// Sends a request and reads its ACK and its whole answer, which it
// acknowledges; the time from the last byte sent to the answer's GS.
double preguntar(int s, const std::string& mensaje)
{
    if (write(s, mensaje.data(), mensaje.size()) != static_cast<ssize_t>(mensaje.size()))
        std::exit(1);
    const auto desde = Reloj::now();
    char bloque[65536];
    bool ack = false;
    for (;;) {
        const ssize_t n = read(s, bloque, sizeof bloque);
        if (n <= 0)
            std::exit(1);
        const std::string_view leido(bloque, static_cast<std::size_t>(n));
        ack = ack || leido.find(dcs::kACK) != std::string_view::npos;
        if (ack && leido.back() == dcs::kGS)
            break;
    }
    const double ms = std::chrono::duration<double, std::milli>(Reloj::now() - desde).count();
    if (write(s, &dcs::kACK, 1) != 1)
        std::exit(1);
    return ms;
}

void informar(const char* que, std::vector<double> t)
{
    std::sort(t.begin(), t.end());
    const auto cuantil = [&](double q) { return t[static_cast<std::size_t>(q * double(t.size() - 1))]; };
    std::printf("Pedido de trabajo, %d equipos a la vez, %zu pedidos, %s: mediana %.2f ms, p99 %.2f ms, máximo %.2f "
                "ms (objetivo: mediana < 2 ms, p99 < 20 ms)\n",
                kEquipos, t.size(), que, cuantil(0.5), cuantil(0.99), t.back());
}

std::size_t descriptores()
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

long rssKB()
{
    std::ifstream f("/proc/self/statm");
    long paginas = 0, residentes = 0;
    f >> paginas >> residentes;
    return residentes * sysconf(_SC_PAGESIZE) / 1024;
}

void medir(quint16 puerto)
{
    // The devices are other machines: one thread drives all twenty sockets,
    // so that their side takes as little of this machine as it can.
    const std::string trabajo = dcs::Enmarcar("REQ=EDG\rJOB=T2\r");
    struct Equipo {
        int s;
        bool ack = false;
        Reloj::time_point desde;
    };
    std::vector<Equipo> equipos;
    std::vector<pollfd> esperas;
    for (int e = 0; e < kEquipos; ++e) {
        equipos.push_back({conectar(puerto), false, {}});
        esperas.push_back({equipos.back().s, POLLIN, 0});
    }
    const auto pedir = [&](Equipo& e) {
        if (write(e.s, trabajo.data(), trabajo.size()) != static_cast<ssize_t>(trabajo.size()))
            std::exit(1);
        e.desde = Reloj::now();
        e.ack = false;
    };
    // Each round the twenty ask at the same moment, and the next round starts
    // when all of them have their answers.
    std::vector<double> tiempos;
    char bloque[65536];
    for (int ronda = 0; ronda < kRondas; ++ronda) {
        for (Equipo& e : equipos)
            pedir(e);
        for (int faltan = kEquipos; faltan > 0;) {
            poll(esperas.data(), esperas.size(), -1);
            for (std::size_t i = 0; i < equipos.size(); ++i) {
                if (!(esperas[i].revents & POLLIN))
                    continue;
                Equipo& e = equipos[i];
                const ssize_t n = read(e.s, bloque, sizeof bloque);
                if (n <= 0)
                    std::exit(1);
                const std::string_view leido(bloque, static_cast<std::size_t>(n));
                e.ack = e.ack || leido.find(dcs::kACK) != std::string_view::npos;
                if (!e.ack || leido.back() != dcs::kGS)
                    continue;
                tiempos.push_back(std::chrono::duration<double, std::milli>(Reloj::now() - e.desde).count());
                if (write(e.s, &dcs::kACK, 1) != 1)
                    std::exit(1);
                e.ack = false;
                --faltan;
            }
        }
    }
    for (const Equipo& e : equipos)
        close(e.s);
    informar("ida y vuelta en el equipo", tiempos);

    const std::string inicio = dcs::Enmarcar("REQ=INI\rDEV=BEN\rMODEL=1\r");
    const auto seguidas = [&](int veces) {
        for (int i = 0; i < veces; ++i) {
            const int s = conectar(puerto);
            preguntar(s, inicio);
            close(s);
        }
        // The host closes its side on its own thread.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    };
    seguidas(100);
    const std::size_t fdAntes = descriptores();
    const long rssAntes = rssKB();
    seguidas(kConexiones);
    std::printf("%d conexiones seguidas: descriptores %zu -> %zu, RSS %ld kB -> %ld kB\n", kConexiones, fdAntes,
                descriptores(), rssAntes, rssKB());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    BaseMateriales base(argc > 1 ? UbicacionCatalogo::DeTexto(QString::fromLocal8Bit(argv[1]), "/", "bench")
                                 : UbicacionCatalogo::DeTexto(dir.filePath("materiales.mdb"), "/", "bench"));
    QFile forma(QStringLiteral(VANTORA_FORMA));
    std::string error;
    QString motivo;
    const std::string texto = forma.open(QIODevice::ReadOnly) ? forma.readAll().toStdString() : std::string();
    const auto pedido = dcs::Pedido::Leer(texto, error);
    Cr39 material;
    AlmacenTrabajos almacen(base);
    if (!pedido || base.Preparar() || almacen.Preparar() ||
        almacen.Guardar(TrabajoRespondido(texto, trabajos::Responder(*pedido, &material)), true, motivo) ==
            AlmacenTrabajos::Guardado::Error) {
        std::fprintf(stderr, "no se pudo preparar el almacén de prueba\n");
        return 1;
    }
    AlmacenDispositivos dispositivos(base);
    // The host's own time of each job request, from the request's last byte
    // in to its answer handed to the system, as its log gives it.
    std::vector<double> enElAnfitrion;
    ServidorDcs servidor(dispositivos, RedesPermitidas::DeEstaMaquina(), {}, [&](const std::string& linea) {
        if (linea.find("REQ=EDG") != std::string::npos)
            enElAnfitrion.push_back(std::atof(linea.c_str() + linea.rfind(' ', linea.size() - 4)));
    });
    if (!servidor.Escuchar(QHostAddress::LocalHost, 0, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::thread clientes([&] {
        medir(servidor.puerto());
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    app.exec();
    clientes.join();
    informar("en el anfitrión", enElAnfitrion);
    return 0;
}
