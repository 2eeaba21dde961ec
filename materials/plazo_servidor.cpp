#include "plazo_servidor.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <libpq-fe.h>
#include <poll.h>
#include <sys/socket.h>

namespace {

PGconn* Conexion(const QSqlDatabase& bd)
{
    if (bd.driverName() != QLatin1String("QPSQL") || !bd.driver())
        return nullptr;
    const QVariant v = bd.driver()->handle();
    // The driver registers the handle under libpq's struct name.
    const bool pg = qstrcmp(v.typeName(), "pg_conn*") == 0 || qstrcmp(v.typeName(), "PGconn*") == 0;
    return pg ? *static_cast<PGconn* const*>(v.data()) : nullptr;
}

} // namespace

std::chrono::seconds PlazoServidor()
{
    bool ok = false;
    const int segundos = qEnvironmentVariableIntValue("VANTORA_PLAZO_SERVIDOR", &ok);
    return std::chrono::seconds(ok && segundos > 0 && segundos <= 600 ? segundos : 10);
}

std::string TextoPlazoVencido()
{
    return "el servidor no respondió en " + std::to_string(PlazoServidor().count()) + " segundos";
}

std::string TextoInaccesible(const std::string& nombreBase, const std::string& motivo)
{
    return "no se puede llegar al servidor de la Base de Datos de Materiales " + nombreBase + ": " + motivo;
}

VigiaServidor::VigiaServidor(const QSqlDatabase& bd)
{
    PGconn* c = bd.isOpen() ? Conexion(bd) : nullptr;
    m_socket = c ? PQsocket(c) : -1;
    if (m_socket < 0)
        return;
    m_limite = std::chrono::steady_clock::now() + PlazoServidor();
    m_hilo = std::thread(&VigiaServidor::vigilar, this);
}

VigiaServidor::~VigiaServidor()
{
    if (!m_hilo.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_fin = true;
    }
    m_aviso.notify_one();
    m_hilo.join();
}

void VigiaServidor::Renovar()
{
    const std::lock_guard lock(m_mutex);
    m_limite = std::chrono::steady_clock::now() + PlazoServidor();
}

bool VigiaServidor::vencido() const
{
    const std::lock_guard lock(m_mutex);
    return m_vencido;
}

std::string VigiaServidor::MotivoPerdida() const
{
    return vencido() ? TextoPlazoVencido() : "se perdió la conexión con el servidor";
}

// shutdown() rather than close(): the descriptor stays libpq's, so no other
// file can take its number while libpq still uses it.
void VigiaServidor::vigilar()
{
    std::unique_lock lock(m_mutex);
    while (!m_fin) {
        if (std::chrono::steady_clock::now() >= m_limite) {
            m_vencido = true;
            shutdown(m_socket, SHUT_RDWR);
            return;
        }
        m_aviso.wait_until(lock, m_limite);
    }
}

bool ConexionPerdida(const QSqlDatabase& bd)
{
    if (bd.driverName() != QLatin1String("QPSQL"))
        return false;
    PGconn* c = bd.isOpen() ? Conexion(bd) : nullptr;
    if (!c)
        return true;
    // A server that closed a connection left open between calls (it
    // restarted, or ends idle sessions) leaves its farewell and the end of
    // the stream on the socket; libpq sees that only once it reads them.
    pollfd p{PQsocket(c), POLLIN, 0};
    for (int i = 0; i < 2 && PQstatus(c) == CONNECTION_OK && poll(&p, 1, 0) > 0; ++i)
        PQconsumeInput(c);
    return PQstatus(c) == CONNECTION_BAD;
}
