#include "servidor_dcs.h"

#include <QDateTime>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

using Reloj = std::chrono::steady_clock;

std::string texto(const QHostAddress& d) { return DireccionPropia(d).toString().toStdString(); }

} // namespace

// One device's connection: its session, its time limits, and the request
// being answered by a worker, if any.
class ConexionDcs : public QObject {
public:
    ConexionDcs(ServidorDcs& servidor, QTcpSocket* socket, quint64 id)
        : QObject(&servidor),
          m_servidor(servidor),
          m_socket(socket),
          m_id(id),
          m_sesion(servidor.m_limites.plazos),
          m_direccion(texto(socket->peerAddress()))
    {
        m_socket->setParent(this);
        // Qt's buffer holds no more than one read: the session bounds the rest.
        m_socket->setReadBufferSize(kBloque);
        // The ACK and the answer are small writes in a row: waiting to gather
        // them would add the peer's delayed acknowledgement to every answer.
        m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_plazo.setSingleShot(true);
        m_plazo.setTimerType(Qt::PreciseTimer);
        m_silencio.setSingleShot(true);
        m_silencio.setInterval(servidor.m_limites.silencio);
        connect(m_socket, &QTcpSocket::readyRead, this, [this] { leer(); });
        connect(m_socket, &QTcpSocket::disconnected, this, [this] { m_servidor.quitar(m_id); });
        connect(&m_plazo, &QTimer::timeout, this, [this] {
            m_sesion.Vencer(Reloj::now());
            atender();
        });
        connect(&m_silencio, &QTimer::timeout, this, [this] {
            anotar("sin actividad durante " + std::to_string(m_servidor.m_limites.silencio.count() / 1000) +
                   " s: desconectado");
            cerrar();
        });
    }

    // Once the server counts the connection: what it closes is then found.
    void Empezar()
    {
        m_silencio.start();
        leer();
    }

    ~ConexionDcs() override { m_socket->disconnect(this); }

    void Contestado(const dcs::Replica& r)
    {
        if (!m_pregunta)
            return;
        m_sesion.Contestar(r.registros, Reloj::now());
        const dcs::Pregunta p = *std::exchange(m_pregunta, std::nullopt);
        escribir();
        const auto ms = std::chrono::duration<double, std::milli>(Reloj::now() - m_desde).count();
        char cifras[32];
        std::snprintf(cifras, sizeof cifras, "%.1f ms", ms);
        anotar("REQ=" + p.req + " JOB=" + (p.job.empty() ? "-" : p.job) +
               " STATUS=" + std::to_string(static_cast<int>(r.estado)) + " " + cifras +
               (r.error.empty() ? std::string() : " (" + r.error.substr(0, 300) + ")"));
        atender();
    }

private:
    static constexpr qint64 kBloque = 64 * 1024;
    static constexpr qint64 kPendienteMaximo = 4 << 20;

    void leer()
    {
        char bloque[kBloque];
        qint64 n = 0;
        while (m_sesion.cierre().empty() && (n = m_socket->read(bloque, sizeof bloque)) > 0)
            m_sesion.Recibir(std::string_view(bloque, static_cast<std::size_t>(n)), Reloj::now());
        m_silencio.start();
        atender();
    }

    // What the session has to send and to tell, out at once.
    void escribir()
    {
        for (const std::string& aviso : m_sesion.TomarAvisos())
            anotar(aviso);
        const std::string salida = m_sesion.TomarSalida();
        if (salida.empty())
            return;
        m_socket->write(salida.data(), static_cast<qint64>(salida.size()));
        // Now, not on the loop's next turn: the answer's time is the device's wait.
        m_socket->flush();
    }

    // A device that acknowledges answers it never reads would have them pile up here.
    bool desbordada() const { return m_socket->bytesToWrite() > kPendienteMaximo; }

    // The session's output, and the next request, if its turn came.
    void atender()
    {
        escribir();
        if (!m_sesion.cierre().empty() || desbordada()) {
            anotar((desbordada() ? std::string("el equipo no lee sus respuestas") : m_sesion.cierre()) +
                   ": desconectado");
            return cerrar();
        }
        if (!m_pregunta) {
            if (const auto mensaje = m_sesion.TomarMensaje()) {
                m_desde = Reloj::now();
                m_pregunta = dcs::Clasificar(*mensaje, m_dispositivo);
                if (m_pregunta->NecesitaAlmacen())
                    m_servidor.encargar(m_id, *m_pregunta, m_dispositivo);
                else
                    return Contestado(dcs::Atender(*m_pregunta, m_dispositivo, nullptr));
            }
        }
        if (const auto plazo = m_sesion.ProximoPlazo()) {
            const auto falta = std::chrono::ceil<std::chrono::milliseconds>(*plazo - Reloj::now());
            m_plazo.start(std::max(falta, std::chrono::milliseconds(0)));
        } else {
            m_plazo.stop();
        }
    }

    void cerrar()
    {
        m_plazo.stop();
        m_silencio.stop();
        m_socket->abort();
        m_servidor.quitar(m_id);
    }

    void anotar(const std::string& t) { m_servidor.anotar(m_direccion + " " + m_dispositivo.Nombre(), t); }

    ServidorDcs& m_servidor;
    QTcpSocket* m_socket;
    quint64 m_id;
    dcs::Sesion m_sesion;
    std::string m_direccion;
    dcs::Dispositivo m_dispositivo;
    std::optional<dcs::Pregunta> m_pregunta;
    Reloj::time_point m_desde;
    QTimer m_plazo;
    QTimer m_silencio;
};

ServidorDcs::ServidorDcs(dcs::TrabajosDeDispositivos& trabajos, RedesPermitidas redes, LimitesAnfitrion limites,
                         Bitacora bitacora, QObject* parent)
    : QObject(parent),
      m_trabajos(trabajos),
      m_redes(std::move(redes)),
      m_limites(limites),
      m_bitacora(std::move(bitacora)),
      m_servidor(new QTcpServer(this))
{
    connect(m_servidor, &QTcpServer::newConnection, this, [this] { aceptar(); });
    for (int i = 0; i < std::max(1, m_limites.trabajadores); ++i)
        m_trabajadores.emplace_back([this] { trabajar(); });
}

ServidorDcs::~ServidorDcs()
{
    m_servidor->close();
    for (auto& [id, conexion] : std::exchange(m_conexiones, {}))
        delete conexion;
    {
        const std::lock_guard lock(m_mutex);
        m_fin = true;
        m_encargos.clear();
    }
    m_aviso.notify_all();
    for (std::thread& t : m_trabajadores)
        t.join();
}

// A worker's whole life: what it keeps between requests is made and
// destroyed on its own thread.
void ServidorDcs::trabajar()
{
    const auto recursos = m_trabajos.Recursos();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_aviso.wait(lock, [this] { return m_fin || !m_encargos.empty(); });
        if (m_fin)
            return;
        const std::function<void()> encargo = std::move(m_encargos.front());
        m_encargos.pop_front();
        lock.unlock();
        encargo();
        lock.lock();
    }
}

bool ServidorDcs::Escuchar(const QHostAddress& direccion, quint16 puerto, std::string& error)
{
    if (m_servidor->listen(direccion, puerto))
        return true;
    const std::string donde = direccion.toString().toStdString() + ":" + std::to_string(puerto);
    switch (m_servidor->serverError()) {
    case QAbstractSocket::AddressInUseError:
        error = "no se puede escuchar en " + donde + ": el puerto ya está en uso";
        break;
    case QAbstractSocket::SocketAccessError:
        error = "no se puede escuchar en " + donde + ": sin permiso (los puertos por debajo de 1024 lo exigen)";
        break;
    case QAbstractSocket::SocketAddressNotAvailableError:
        error = "no se puede escuchar en " + donde + ": la dirección no es de esta máquina";
        break;
    default:
        error = "no se puede escuchar en " + donde + ": " + m_servidor->errorString().toStdString();
    }
    return false;
}

quint16 ServidorDcs::puerto() const { return m_servidor->serverPort(); }

void ServidorDcs::aceptar()
{
    while (QTcpSocket* socket = m_servidor->nextPendingConnection()) {
        const std::string direccion = texto(socket->peerAddress());
        const char* rechazo = nullptr;
        if (!m_redes.Admite(socket->peerAddress()))
            rechazo = "dirección no permitida (--permitir): rechazada";
        else if (m_conexiones.size() >= static_cast<std::size_t>(m_limites.conexiones))
            rechazo = "límite de conexiones alcanzado: rechazada";
        if (rechazo) {
            anotar(direccion, rechazo);
            socket->abort();
            delete socket;
            continue;
        }
        const quint64 id = ++m_siguiente;
        auto* conexion = new ConexionDcs(*this, socket, id);
        m_conexiones[id] = conexion;
        conexion->Empezar();
    }
}

void ServidorDcs::encargar(quint64 id, const dcs::Pregunta& p, const dcs::Dispositivo& d)
{
    {
        const std::lock_guard lock(m_mutex);
        m_encargos.emplace_back([this, id, p, d] {
            dcs::Replica r = dcs::Atender(p, d, &m_trabajos);
            // Back on the network thread; a connection gone meanwhile is not found.
            QMetaObject::invokeMethod(
                this,
                [this, id, r = std::move(r)] {
                    if (const auto it = m_conexiones.find(id); it != m_conexiones.end())
                        it->second->Contestado(r);
                },
                Qt::QueuedConnection);
        });
    }
    m_aviso.notify_one();
}

void ServidorDcs::quitar(quint64 id)
{
    const auto it = m_conexiones.find(id);
    if (it == m_conexiones.end())
        return;
    it->second->deleteLater();
    m_conexiones.erase(it);
}

void ServidorDcs::anotar(const std::string& quien, const std::string& texto)
{
    if (!m_bitacora)
        return;
    // One line each, whatever a store's message holds.
    std::string linea =
        QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toStdString() + " " + quien + " " + texto;
    std::replace_if(
        linea.begin(), linea.end(), [](char c) { return c >= 0 && c < ' '; }, ' ');
    m_bitacora(linea);
}
