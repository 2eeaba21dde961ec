#include "consola.h"

std::string EnUnaLinea(std::string_view texto)
{
    std::string linea;
    linea.reserve(texto.size());
    for (const char c : texto) {
        if (c == '\n')
            linea += "\\n";
        else if (c == '\r')
            linea += "\\r";
        else
            linea.push_back(c);
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
