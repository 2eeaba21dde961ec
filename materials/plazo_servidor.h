#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class QSqlDatabase;

// How long one call to the catalogue's server may wait for an answer before
// the program gives up on it: 10 seconds, or the whole seconds of
// VANTORA_PLAZO_SERVIDOR (the tests shorten it).
std::chrono::seconds PlazoServidor();
// "el servidor no respondió en 10 segundos", for messages.
std::string TextoPlazoVencido();
// The one message of a call that could not reach the server, whatever the
// call: "no se puede llegar al servidor de la Base de Datos de Materiales
// (…): motivo".
std::string TextoInaccesible(const std::string& nombreBase, const std::string& motivo);

// libpq waits for the server's reply without a limit of its own, and a server
// (or a router between) that keeps the connection open but stops answering
// would hold the program for good; the server's statement_timeout and TCP's
// keepalives cannot see that. While this guard lives, a watcher thread cuts
// the connection's socket once the limit has passed: the waiting call then
// fails as if the connection had been lost, and the connection is opened again
// on the next use. On a SQLite file, or a connection not open, it does
// nothing.
class VigiaServidor {
public:
    explicit VigiaServidor(const QSqlDatabase& bd);
    ~VigiaServidor();
    VigiaServidor(const VigiaServidor&) = delete;
    VigiaServidor& operator=(const VigiaServidor&) = delete;

    // Starts the count again, for a long task made of many short calls.
    void Renovar();
    bool vencido() const;
    // Why the connection it watched was lost, for a message: the limit it
    // cut, or the server that went away.
    std::string MotivoPerdida() const;

private:
    void vigilar();

    int m_socket = -1;
    mutable std::mutex m_mutex;
    std::condition_variable m_aviso;
    std::chrono::steady_clock::time_point m_limite;
    bool m_fin = false;
    bool m_vencido = false;
    std::thread m_hilo;
};

// The connection to the server is broken (the server stopped, the network
// failed, or a guard cut it): nothing more can be asked on it until it is
// opened again. Always false for a SQLite file.
bool ConexionPerdida(const QSqlDatabase& bd);
