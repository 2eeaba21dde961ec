#pragma once

#include "intercambio_dcs.h"
#include "redes_permitidas.h"
#include "sesion_dcs.h"

#include <QHostAddress>
#include <QObject>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class QTcpServer;
class ConexionDcs;

struct LimitesAnfitrion {
    dcs::Plazos plazos;
    int conexiones = 64;
    // A device silent this long is disconnected.
    std::chrono::milliseconds silencio{std::chrono::minutes(10)};
    // Workers for the requests that reach the store; each may wait out a
    // stalled store's whole limit, and each keeps its own connection to it.
    int trabajadores = 8;
};

// The host the laboratory's devices connect to over TCP. Every connection
// holds its own session on the network thread, which never waits: requests
// that reach the job store are answered by a small pool of workers, so a
// stalled store delays only its own request and a slow device only its own
// connection. One line per exchange goes to the log.
class ServidorDcs : public QObject {
    Q_OBJECT
public:
    // Takes a log line without its time; called on the network thread only.
    using Bitacora = std::function<void(const std::string& linea)>;

    ServidorDcs(dcs::TrabajosDeDispositivos& trabajos, RedesPermitidas redes, LimitesAnfitrion limites,
                Bitacora bitacora, QObject* parent = nullptr);
    // Closes every connection and waits for the workers: an answer not yet
    // sent is dropped, a request not yet taken up is never made, and a store
    // call under way ends whole.
    ~ServidorDcs() override;

    // False with a Spanish reason when the address cannot be listened on.
    bool Escuchar(const QHostAddress& direccion, quint16 puerto, std::string& error);
    quint16 puerto() const;
    std::size_t conexiones() const { return m_conexiones.size(); }

private:
    friend class ConexionDcs;
    void aceptar();
    void encargar(quint64 id, const dcs::Pregunta& p, const dcs::Dispositivo& d);
    void trabajar();
    void quitar(quint64 id);
    void anotar(const std::string& direccion, const std::string& texto);

    dcs::TrabajosDeDispositivos& m_trabajos;
    RedesPermitidas m_redes;
    LimitesAnfitrion m_limites;
    Bitacora m_bitacora;
    QTcpServer* m_servidor;
    std::map<quint64, ConexionDcs*> m_conexiones;
    quint64 m_siguiente = 0;
    // The requests waiting for a worker, at most one a connection.
    std::mutex m_mutex;
    std::condition_variable m_aviso;
    std::deque<std::function<void()>> m_encargos;
    bool m_fin = false;
    std::vector<std::thread> m_trabajadores;
};
