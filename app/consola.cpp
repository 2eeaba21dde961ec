#include "consola.h"

std::string EnUnaLinea(std::string_view texto)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string linea;
    linea.reserve(texto.size());
    for (size_t i = 0; i < texto.size(); ++i) {
        const auto c = static_cast<unsigned char>(texto[i]);
        // C1 controls (U+0080–U+009F) drive a terminal as the C0 ones do.
        const bool c1 = c == 0xC2 && i + 1 < texto.size() && static_cast<unsigned char>(texto[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(texto[i + 1]) <= 0x9F;
        if (c == '\n') {
            linea += "\\n";
        } else if (c == '\r') {
            linea += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            linea += {'\\', 'x', kHex[c >> 4], kHex[c & 0xF]};
        } else if (c1) {
            const auto b = static_cast<unsigned char>(texto[++i]);
            linea += {'\\', 'u', '0', '0', kHex[b >> 4], kHex[b & 0xF]};
        } else {
            linea.push_back(static_cast<char>(c));
        }
    }
    return linea;
}

void ConsolaPantalla::PonerTexto(std::string_view control, std::string_view texto)
{
    Cargar(control, texto);
    m_salida << control << ": " << EnUnaLinea(texto) << '\n';
}

void ConsolaPantalla::PonerColorTexto(std::string_view control, Color color)
{
    PantallaEnMemoria::PonerColorTexto(control, color);
    m_salida << control << ".ForeColor: " << color.r << ',' << color.g << ',' << color.b << '\n';
}

Respuesta ConsolaDialogos::Mensaje(std::string_view titulo, std::string_view texto, Icono, Botones botones)
{
    m_salida << "MsgBox: " << EnUnaLinea(titulo) << ": " << EnUnaLinea(texto) << '\n';
    return botones == Botones::SiNo ? Respuesta::Si : Respuesta::Aceptar;
}

std::optional<std::string> ConsolaDialogos::PedirTexto(std::string_view, std::string_view) { return std::nullopt; }
