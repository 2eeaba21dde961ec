#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The session a laboratory's devices (tracers, generators, edgers) hold with
// their host: each message is FS, records, RS, "CRC=n" CR, GS, and each is
// acknowledged with ACK, or NAK when its check fails. It works on any byte
// stream: a TCP connection feeds it today, a serial port could tomorrow.
namespace dcs {

inline constexpr char kFS = '\x1c';
inline constexpr char kGS = '\x1d';
inline constexpr char kRS = '\x1e';
inline constexpr char kACK = '\x06';
inline constexpr char kNAK = '\x15';

// CRC-16/XMODEM: polynomial 0x1021, initial value 0, no reflection, no final
// xor. A message's check runs over every byte after its FS up to and
// including its RS.
std::uint16_t Crc16(std::string_view bytes);

// A message holding the records, each ended by CR.
std::string Enmarcar(std::string_view registros);

struct Plazos {
    // An answer not acknowledged in this time is sent again, so many more times.
    std::chrono::milliseconds ack{6000};
    int reintentos = 3;
    // A message not completed this long after its FS is dropped.
    std::chrono::milliseconds mensaje{12000};
    // A longer message (or that many bytes of messages waiting for their
    // turn) ends the session: no device sends one.
    std::size_t mensajeMaximo = std::size_t{1} << 20;
};

// One device's side of the session, driven by whoever owns the stream: it
// hands the bytes received in, takes the bytes to send out, and calls Vencer
// at ProximoPlazo. Time is given, never read, so tests need not wait. The
// device's requests are handed out one at a time: the next only after the
// previous answer was acknowledged or given up.
class Sesion {
public:
    using Instante = std::chrono::steady_clock::time_point;

    explicit Sesion(const Plazos& plazos = {});

    void Recibir(std::string_view bytes, Instante ahora);
    // The answer (records ended by CR) to the request last taken.
    void Contestar(std::string_view registros, Instante ahora);
    // The time limits due by then: an incomplete message dropped, an
    // unacknowledged answer sent again or, after the last try, the end.
    void Vencer(Instante ahora);

    // The records of the next request whose check held, when none is being
    // answered.
    std::optional<std::string> TomarMensaje();
    std::string TomarSalida();
    // What happened that the host's log should tell (a NAK, a message
    // dropped, an answer sent again), in Spanish.
    std::vector<std::string> TomarAvisos();
    std::optional<Instante> ProximoPlazo() const;
    // Why the stream must be closed; empty while the session goes on.
    const std::string& cierre() const { return m_cierre; }

private:
    void completar();
    void enviar(Instante ahora);
    void cerrar(std::string motivo);

    Plazos m_plazos;
    bool m_dentro = false; // between an FS and its GS
    std::string m_mensaje;
    Instante m_inicio{};
    std::deque<std::string> m_pendientes;
    std::size_t m_bytesPendientes = 0;
    bool m_atendiendo = false;
    std::string m_respuesta; // sent and not yet acknowledged
    int m_envios = 0;
    Instante m_plazoAck{};
    std::string m_salida;
    std::vector<std::string> m_avisos;
    std::string m_cierre;
};

} // namespace dcs
