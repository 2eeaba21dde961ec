#pragma once

#include <QByteArray>
#include <QMetaType>
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

// A relay on 127.0.0.1 between the program and the test's PostgreSQL server
// that the test can cut or silence, as a network or a server would fail.
// The server is reached at PGHOST:PGPORT (TCP); PGSSLMODE=disable keeps the
// traffic readable, so that the relay can tell when a login has ended.
class ProxyPrueba {
public:
    enum class Modo {
        Relevar,
        // Every connection is dropped and new ones are closed at once: the
        // server is gone.
        Caido,
        // The connections stay open and nothing more goes through.
        Mudo,
        // A new connection completes its login, then nothing more.
        MudoTrasEntrada,
        // Nothing more once the program sends an INSERT.
        MudoAlGrabar,
    };

    ProxyPrueba()
    {
        qputenv("PGSSLMODE", "disable");
        qputenv("PGGSSENCMODE", "disable");
        escuchar();
        m_hilo = std::thread([this] { correr(); });
    }
    ~ProxyPrueba()
    {
        m_fin = true;
        m_hilo.join();
        for (Par& p : m_pares)
            cerrar(p);
        if (m_escucha >= 0)
            close(m_escucha);
    }

    // The address of the server's database through the relay.
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

private:
    // A stopped server refuses connections: the port is closed while Caido.
    void escuchar()
    {
        m_escucha = socket(AF_INET, SOCK_STREAM, 0);
        const int si = 1;
        setsockopt(m_escucha, SOL_SOCKET, SO_REUSEADDR, &si, sizeof si);
        sockaddr_in dir{};
        dir.sin_family = AF_INET;
        dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        dir.sin_port = htons(uint16_t(m_puerto));
        socklen_t largo = sizeof dir;
        if (bind(m_escucha, reinterpret_cast<sockaddr*>(&dir), largo) != 0 || listen(m_escucha, 16) != 0 ||
            getsockname(m_escucha, reinterpret_cast<sockaddr*>(&dir), &largo) != 0)
            qFatal("no se pudo abrir el relevo de prueba");
        m_puerto = ntohs(dir.sin_port);
    }

    struct Par {
        int cliente, servidor;
        bool mudo;
        // Bytes of the server's messages still to pass before the next
        // message's type, and the header being read.
        QByteArray cabecera;
        long resto = 0;
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
    // Follows the server's messages; true once a ReadyForQuery ('Z') has passed.
    static bool entradaTerminada(Par& p, const char* datos, long n)
    {
        bool z = false;
        for (long i = 0; i < n;) {
            if (p.resto > 0) {
                const long paso = std::min(p.resto, n - i);
                p.resto -= paso;
                i += paso;
                continue;
            }
            p.cabecera.append(datos[i++]);
            if (p.cabecera.size() == 5) {
                const auto* b = reinterpret_cast<const unsigned char*>(p.cabecera.constData());
                z = z || b[0] == 'Z';
                p.resto = long((b[1] << 24) | (b[2] << 16) | (b[3] << 8) | b[4]) - 4;
                p.cabecera.clear();
            }
        }
        return z;
    }

    void correr()
    {
        char bufer[65536];
        while (!m_fin) {
            const Modo modo = m_modo;
            if ((modo == Modo::Caido) == (m_escucha >= 0)) {
                if (m_escucha >= 0) {
                    close(m_escucha);
                    m_escucha = -1;
                } else
                    escuchar();
            }
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
                    m_pares.push_back({cliente, servidor, false, {}, 0});
            }
            for (size_t i = 0; i + 1 < fds.size() && i / 2 < m_pares.size(); i += 2) {
                Par& p = m_pares[i / 2];
                for (int lado = 0; lado < 2 && p.cliente >= 0; ++lado) {
                    if (!fds[i + 1 + lado].revents)
                        continue;
                    const int desde = lado == 0 ? p.cliente : p.servidor;
                    const long n = read(desde, bufer, sizeof bufer);
                    if (lado == 0 && modo == Modo::MudoAlGrabar && n > 0 &&
                        QByteArray::fromRawData(bufer, n).contains("INSERT")) {
                        p.mudo = true;
                        break;
                    }
                    if (n <= 0 || write(lado == 0 ? p.servidor : p.cliente, bufer, size_t(n)) != n) {
                        cerrar(p);
                        break;
                    }
                    if (lado == 1 && entradaTerminada(p, bufer, n) && modo == Modo::MudoTrasEntrada)
                        p.mudo = true;
                }
            }
        }
    }

    int m_escucha = -1;
    int m_puerto = 0;
    std::atomic<Modo> m_modo{Modo::Relevar};
    std::atomic<bool> m_fin{false};
    std::atomic<int> m_vueltas{0};
    std::vector<Par> m_pares;
    std::thread m_hilo;
};

Q_DECLARE_METATYPE(ProxyPrueba::Modo)
