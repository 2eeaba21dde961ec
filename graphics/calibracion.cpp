#include "calibracion.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

std::string_view recortar(std::string_view campo)
{
    const auto blanco = [](char c) { return c == ' ' || c == '\t'; };
    while (!campo.empty() && blanco(campo.front()))
        campo.remove_prefix(1);
    while (!campo.empty() && blanco(campo.back()))
        campo.remove_suffix(1);
    return campo;
}

// A whole field must be a decimal number: a sign, digits, one point; no
// exponent, and nothing else beside it.
std::optional<double> numero(std::string_view campo)
{
    if (!campo.empty() && campo.front() == '+')
        campo.remove_prefix(1);
    double valor = 0.0;
    const auto [fin, error] =
        std::from_chars(campo.data(), campo.data() + campo.size(), valor, std::chars_format::fixed);
    if (error != std::errc() || fin != campo.data() + campo.size() || !std::isfinite(valor))
        return std::nullopt;
    return valor;
}

} // namespace

std::optional<Calibracion> LeerCalibracion(std::string_view texto)
{
    double valores[3];
    int leidos = 0;
    size_t i = 0;
    size_t despues = texto.size(); // where the third value ends
    while (leidos < 3 && i <= texto.size()) {
        const size_t fin = texto.find_first_of(",\r\n", i);
        const std::string_view campo = recortar(texto.substr(i, fin == std::string_view::npos ? fin : fin - i));
        // A line break closes a field of its own; the blank line a CR LF
        // pair or a trailing break leaves is no field.
        const bool separadorDeLinea = fin != std::string_view::npos && texto[fin] != ',';
        if (!campo.empty() || !separadorDeLinea) {
            if (campo.empty() && fin == std::string_view::npos)
                break;
            const std::optional<double> valor = numero(campo);
            if (!valor)
                return std::nullopt;
            valores[leidos++] = *valor;
            despues = fin == std::string_view::npos ? texto.size() : fin;
        }
        if (fin == std::string_view::npos)
            break;
        i = fin + 1;
    }
    // A fourth value is a file of another kind, or a calibration gone wrong.
    if (leidos < 3 || texto.substr(despues).find_first_not_of(" \t\r\n") != std::string_view::npos)
        return std::nullopt;
    // A screen is never ten times wider per pixel than high, and a lens of
    // 20–80 mm must fit the 300-unit frame without vanishing into a pixel.
    const auto dentro = [](double v, double desde, double hasta) { return v >= desde && v <= hasta; };
    if (!dentro(valores[0], 0.1, 10) || !dentro(valores[1], 0.1, 100) || !dentro(valores[2], 0.1, 100))
        return std::nullopt;
    return Calibracion{valores[0], valores[1], valores[2]};
}
