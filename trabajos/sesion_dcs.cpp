#include "sesion_dcs.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace dcs {

namespace {

// The remainder of each byte value, so that the check takes one step a byte:
// an answer carries a whole trace.
constexpr std::array<std::uint16_t, 256> kTablaCrc = [] {
    std::array<std::uint16_t, 256> tabla{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned crc = byte << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
        tabla[byte] = static_cast<std::uint16_t>(crc);
    }
    return tabla;
}();

} // namespace

std::uint16_t Crc16(std::string_view bytes)
{
    std::uint16_t crc = 0;
    for (const char c : bytes)
        crc = static_cast<std::uint16_t>((crc << 8) ^ kTablaCrc[((crc >> 8) ^ static_cast<unsigned char>(c)) & 0xff]);
    return crc;
}

std::string Enmarcar(std::string_view registros)
{
    std::string m;
    m.reserve(registros.size() + 16);
    m.push_back(kFS);
    m.append(registros).push_back(kRS);
    const std::uint16_t crc = Crc16(std::string_view(m).substr(1));
    m.append("CRC=").append(std::to_string(crc)).push_back('\r');
    m.push_back(kGS);
    return m;
}

Sesion::Sesion(const Plazos& plazos) : m_plazos(plazos) {}

void Sesion::Recibir(std::string_view bytes, Instante ahora)
{
    static constexpr char kMarcas[] = {kFS, kGS};
    static constexpr char kFuera[] = {kFS, kACK, kNAK};
    while (!bytes.empty() && m_cierre.empty()) {
        if (m_dentro) {
            const std::size_t marca = bytes.find_first_of(std::string_view(kMarcas, 2));
            const std::string_view trozo = bytes.substr(0, marca);
            if (m_mensaje.size() + trozo.size() + m_bytesPendientes > m_plazos.mensajeMaximo) {
                m_mensaje.clear();
                m_mensaje.shrink_to_fit();
                return cerrar("mensaje de más de " + std::to_string(m_plazos.mensajeMaximo >> 10) + " KB");
            }
            m_mensaje.append(trozo);
            if (marca == std::string_view::npos)
                return;
            const char c = bytes[marca];
            bytes.remove_prefix(marca + 1);
            if (c == kFS) {
                // The device gave up on the message and starts another.
                m_avisos.push_back("mensaje interrumpido por otro FS: descartado");
                m_mensaje.clear();
                m_inicio = ahora;
                continue;
            }
            m_dentro = false;
            completar();
            continue;
        }
        // Between messages only FS, ACK and NAK mean something; the rest
        // (line ends after a GS, noise on the line) is skipped.
        const std::size_t marca = bytes.find_first_of(std::string_view(kFuera, 3));
        if (marca == std::string_view::npos)
            return;
        const char c = bytes[marca];
        bytes.remove_prefix(marca + 1);
        if (c == kFS) {
            m_dentro = true;
            m_mensaje.clear();
            m_inicio = ahora;
        } else if (!m_respuesta.empty() && c == kACK) {
            m_respuesta.clear();
            m_envios = 0;
        } else if (!m_respuesta.empty()) {
            m_avisos.push_back("la respuesta fue rechazada (NAK)");
            enviar(ahora);
        }
    }
}

void Sesion::completar()
{
    // The check is the last record, after the last RS.
    const std::size_t rs = m_mensaje.rfind(kRS);
    bool valido = false;
    if (rs != std::string::npos) {
        std::string_view cola = std::string_view(m_mensaje).substr(rs + 1);
        while (!cola.empty() && (cola.back() == '\r' || cola.back() == '\n'))
            cola.remove_suffix(1);
        unsigned crc = 0;
        const char* fin = cola.data() + cola.size();
        if (cola.starts_with("CRC=") && cola.size() > 4 && cola.size() <= 9) {
            const auto [p, ec] = std::from_chars(cola.data() + 4, fin, crc);
            valido = ec == std::errc{} && p == fin && crc == Crc16(std::string_view(m_mensaje).substr(0, rs + 1));
        }
    }
    if (!valido) {
        m_avisos.push_back(rs == std::string::npos ? "mensaje sin RS ni CRC: NAK" : "CRC no coincide: NAK");
        m_salida.push_back(kNAK);
        m_mensaje.clear();
        return;
    }
    m_salida.push_back(kACK);
    m_mensaje.resize(rs);
    m_bytesPendientes += m_mensaje.size();
    m_pendientes.push_back(std::move(m_mensaje));
    m_mensaje.clear();
}

void Sesion::Contestar(std::string_view registros, Instante ahora)
{
    if (!m_atendiendo || !m_cierre.empty())
        return;
    m_atendiendo = false;
    m_respuesta = Enmarcar(registros);
    m_envios = 0;
    enviar(ahora);
}

void Sesion::enviar(Instante ahora)
{
    if (m_envios > m_plazos.reintentos) {
        m_respuesta.clear();
        return cerrar("la respuesta no fue confirmada tras " + std::to_string(m_envios) + " envíos");
    }
    if (m_envios > 0)
        m_avisos.push_back("respuesta enviada de nuevo (" + std::to_string(m_envios + 1) + ".ª vez)");
    ++m_envios;
    m_salida.append(m_respuesta);
    m_plazoAck = ahora + m_plazos.ack;
}

void Sesion::Vencer(Instante ahora)
{
    if (!m_cierre.empty())
        return;
    if (m_dentro && ahora >= m_inicio + m_plazos.mensaje) {
        m_avisos.push_back("mensaje incompleto tras " + std::to_string(m_plazos.mensaje.count()) + " ms: descartado");
        m_dentro = false;
        m_mensaje.clear();
        m_mensaje.shrink_to_fit();
    }
    if (!m_respuesta.empty() && ahora >= m_plazoAck)
        enviar(ahora);
}

std::optional<std::string> Sesion::TomarMensaje()
{
    if (m_atendiendo || !m_respuesta.empty() || m_pendientes.empty() || !m_cierre.empty())
        return std::nullopt;
    std::string m = std::move(m_pendientes.front());
    m_pendientes.pop_front();
    m_bytesPendientes -= m.size();
    m_atendiendo = true;
    return m;
}

std::string Sesion::TomarSalida() { return std::exchange(m_salida, {}); }

std::vector<std::string> Sesion::TomarAvisos() { return std::exchange(m_avisos, {}); }

std::optional<Sesion::Instante> Sesion::ProximoPlazo() const
{
    std::optional<Instante> plazo;
    if (m_dentro)
        plazo = m_inicio + m_plazos.mensaje;
    if (!m_respuesta.empty())
        plazo = plazo ? std::min(*plazo, m_plazoAck) : m_plazoAck;
    return m_cierre.empty() ? plazo : std::nullopt;
}

void Sesion::cerrar(std::string motivo)
{
    m_cierre = std::move(motivo);
    m_pendientes.clear();
    m_bytesPendientes = 0;
}

} // namespace dcs
