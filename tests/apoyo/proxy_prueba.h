#pragma once

#include <QByteArray>
#include <QString>
#include <arpa/inet.h>
#include <atomic>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

// A port on 127.0.0.1 (a given one, or any free one) whose connections wait
// unanswered until someone accepts them; the port is returned, and its
// socket put in escucha (else it stays open until the program ends).
inline int PuertoMudo(int puerto = 0, int* escucha = nullptr)
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    const int si = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &si, sizeof si);
    sockaddr_in dir{};
    dir.sin_family = AF_INET;
    dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    dir.sin_port = htons(uint16_t(puerto));
    socklen_t largo = sizeof dir;
    if (bind(s, reinterpret_cast<sockaddr*>(&dir), largo) != 0 || listen(s, 16) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&dir), &largo) != 0)
        qFatal("no se pudo abrir un puerto de prueba");
    if (escucha)
        *escucha = s;
    return ntohs(dir.sin_port);
}

// A relay on 127.0.0.1 to the test's PostgreSQL server (PGHOST:PGPORT, over
// TCP) that the test can cut or silence, as a network or a server would
// fail. PGSSLMODE=disable keeps the traffic readable.
class ProxyPrueba {
public:
    enum class Modo {
        Relevar,
        // The server is gone: connections dropped, the port closed.
        Caido,
        // The connections stay open and nothing more goes through.
        Mudo,
        // Nothing more once the program sends a statement holding the text
        // given to callarAlVer().
        MudoAlVer,
    };

    ProxyPrueba()
    {
        qputenv("PGSSLMODE", "disable");
        qputenv("PGGSSENCMODE", "disable");
        m_puerto = PuertoMudo(0, &m_escucha);
        m_hilo = std::thread([this] { correr(); });
    }
    ~ProxyPrueba()
    {
        m_fin = true;
        m_hilo.join();
        for (Par& p : m_pares)
            cerrar(p);
        close(m_escucha);
    }

    QString direccion(const QString& base) const
    {
        return QString("postgresql://127.0.0.1:%1/%2").arg(m_puerto).arg(base);
    }
    // Returns once the relay works in the new mode.
    void poner(Modo modo)
    {
        m_modo = modo;
        const int vuelta = m_vueltas;
        while (m_vueltas < vuelta + 2)
            std::this_thread::yield();
    }

    void callarAlVer(const QByteArray& texto)
    {
        m_texto = texto;
        poner(Modo::MudoAlVer);
    }

private:
    struct Par {
        int cliente, servidor;
        bool mudo = false;
    };

    static int alServidor()
    {
        addrinfo pista{}, *res = nullptr;
        pista.ai_socktype = SOCK_STREAM;
        const QByteArray anfitrion = qEnvironmentVariable("PGHOST", "localhost").toUtf8();
        const QByteArray puerto = qEnvironmentVariable("PGPORT", "5432").toUtf8();
        if (getaddrinfo(anfitrion.startsWith('/') ? "localhost" : anfitrion.constData(), puerto, &pista, &res) != 0)
            return -1;
        int s = -1;
        for (addrinfo* a = res; a && s < 0; a = a->ai_next) {
            s = socket(a->ai_family, a->ai_socktype, 0);
            if (s >= 0 && ::connect(s, a->ai_addr, a->ai_addrlen) != 0) {
                close(s);
                s = -1;
            }
        }
        freeaddrinfo(res);
        return s;
    }
    static void cerrar(Par& p)
    {
        close(p.cliente);
        close(p.servidor);
        p.cliente = p.servidor = -1;
    }

    void correr()
    {
        char bufer[65536];
        while (!m_fin) {
            const Modo modo = m_modo;
            // The port closes while the server is down and opens again after.
            if (modo == Modo::Caido && m_escucha >= 0)
                m_escucha = (close(m_escucha), -1);
            else if (modo != Modo::Caido && m_escucha < 0)
                PuertoMudo(m_puerto, &m_escucha);
            ++m_vueltas;
            std::vector<pollfd> fds{{m_escucha, POLLIN, 0}};
            for (Par& p : m_pares) {
                if (modo == Modo::Caido && p.cliente >= 0)
                    cerrar(p);
                const bool quieto = p.cliente < 0 || p.mudo || modo == Modo::Mudo;
                fds.push_back({quieto ? -1 : p.cliente, POLLIN, 0});
                fds.push_back({quieto ? -1 : p.servidor, POLLIN, 0});
            }
            if (poll(fds.data(), fds.size(), 50) <= 0)
                continue;
            if (fds[0].revents & POLLIN) {
                const int cliente = accept(m_escucha, nullptr, nullptr);
                const int servidor = alServidor();
                if (servidor < 0)
                    close(cliente);
                else
                    m_pares.push_back({cliente, servidor});
            }
            for (size_t i = 1; i + 1 < fds.size(); i += 2) {
                Par& p = m_pares[i / 2];
                for (int lado = 0; lado < 2 && p.cliente >= 0 && !p.mudo; ++lado) {
                    if (!fds[i + lado].revents)
                        continue;
                    const long n = read(lado == 0 ? p.cliente : p.servidor, bufer, sizeof bufer);
                    const QByteArray datos = QByteArray::fromRawData(bufer, n > 0 ? n : 0);
                    p.mudo = lado == 0 && modo == Modo::MudoAlVer && datos.contains(m_texto);
                    if (!p.mudo && (n <= 0 || write(lado == 0 ? p.servidor : p.cliente, bufer, size_t(n)) != n))
                        cerrar(p);
                }
            }
        }
    }

    int m_escucha = -1;
    int m_puerto = 0;
    std::atomic<Modo> m_modo{Modo::Relevar};
    QByteArray m_texto; // written before m_modo, read after it
    std::atomic<bool> m_fin{false};
    std::atomic<int> m_vueltas{0};
    std::vector<Par> m_pares;
    std::thread m_hilo;
};
