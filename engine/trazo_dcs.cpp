#include "trazo_dcs.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace dcs {

namespace {

// A job with a 10,000-radius trace of each side is well under a megabyte.
constexpr std::size_t kTamanoMaximo = 1 << 20;
constexpr int kRadiosMaximos = 10000;
// Hundredths of a millimetre: no spectacle lens reaches 100 mm from its centre.
constexpr long kRadioMaximo = 10000;

// Digits only: no sign, no point, no exponent.
std::optional<long> entero(std::string_view s)
{
    long valor = 0;
    const auto [fin, ec] = std::from_chars(s.data(), s.data() + s.size(), valor);
    if (s.empty() || ec != std::errc{} || fin != s.data() + s.size() || s.front() == '-' || s.front() == '+')
        return std::nullopt;
    return valor;
}

std::string citar(std::string_view s)
{
    constexpr std::size_t kCita = 40;
    std::string cita(1, '"');
    cita.append(s.substr(0, kCita));
    if (s.size() > kCita)
        cita.append("…");
    cita.push_back('"');
    return cita;
}

} // namespace

std::optional<Trazos> LeerTrazos(std::string_view texto, std::string& error, std::string* enPalabras)
{
    // Each reason twice: with the format's labels for the exchange, in plain
    // words for the optician.
    const auto fallar = [&](const std::string& conEtiquetas, const std::string& palabras) {
        error = conEtiquetas;
        if (enPalabras)
            *enPalabras = palabras;
        return std::nullopt;
    };
    if (texto.size() > kTamanoMaximo) {
        const std::string motivo = "el trazo ocupa más de 1 MB: no es un trazo de montura";
        return fallar(motivo, motivo);
    }
    Trazos trazos;
    std::vector<double>* actual = nullptr;
    std::size_t anunciados = 0;
    char lado = 0;
    int linea = 0;
    auto incompleto = [&] {
        if (actual && actual->size() != anunciados) {
            const std::string motivo = "el trazo del lado " + std::string(1, lado) + " anuncia " +
                                       std::to_string(anunciados) + " radios y trae " + std::to_string(actual->size());
            fallar(motivo, motivo);
            return true;
        }
        return false;
    };
    while (!texto.empty()) {
        const std::string_view registro = Recortar(SiguienteRegistro(texto));
        ++linea;
        const std::size_t igual = registro.find('=');
        if (igual == std::string_view::npos)
            continue;
        const std::string_view etiqueta = Recortar(registro.substr(0, igual));
        const std::string_view valor = registro.substr(igual + 1);
        const std::string donde = "línea " + std::to_string(linea) + ": ";
        if (etiqueta == "TRCFMT") {
            if (incompleto())
                return std::nullopt;
            const auto f = Campos(valor);
            if (f[0] != "1")
                return fallar(donde + "TRCFMT=" + std::string(f[0].substr(0, 10)) +
                                  ": formato de trazo no admitido; solo se lee el formato 1 (radios en texto)",
                              donde + "el trazado está en el formato " + citar(f[0].substr(0, 10)) +
                                  ", que no se lee; solo se lee el formato 1 (radios en texto)");
            if (f.size() < 4)
                return fallar(donde + "TRCFMT incompleto: se espera TRCFMT=1;N;E;R|L;F",
                              donde + "el encabezado del trazado está incompleto");
            const auto n = entero(f[1]);
            if (!n || *n < 3 || *n > kRadiosMaximos) {
                const std::string motivo =
                    "cantidad de radios " + citar(f[1]) + " no válida (de 3 a " + std::to_string(kRadiosMaximos) + ")";
                return fallar(donde + "TRCFMT: " + motivo, donde + motivo);
            }
            if (f[2] != "E")
                return fallar(donde + "TRCFMT: radios " + citar(f[2]) +
                                  " no admitidos; solo se leen radios equiespaciados (E)",
                              donde + "radios " + citar(f[2]) + " no admitidos; solo se leen radios equiespaciados");
            if (f[3] != "R" && f[3] != "L")
                return fallar(donde + "TRCFMT: lado " + citar(f[3]) + " no válido; se espera R o L",
                              donde + "lado " + citar(f[3]) + " no válido; se espera R (derecho) o L (izquierdo)");
            lado = f[3][0];
            actual = lado == 'R' ? &trazos.derecho : &trazos.izquierdo;
            if (!actual->empty()) {
                const std::string motivo = donde + "el lado " + std::string(1, lado) + " está trazado dos veces";
                return fallar(motivo, motivo);
            }
            anunciados = static_cast<std::size_t>(*n);
            actual->reserve(anunciados);
        } else if (etiqueta == "R") {
            if (!actual)
                return fallar(donde + "radios R= sin un registro TRCFMT antes",
                              donde + "radios sin el encabezado del trazado antes");
            auto f = Campos(valor);
            // A record may end with the separator.
            if (f.size() > 1 && f.back().empty())
                f.pop_back();
            for (const std::string_view campo : f) {
                const auto r = entero(campo);
                if (!r || *r <= 0 || *r > kRadioMaximo) {
                    const std::string motivo = donde + "radio " + citar(campo) +
                                               " no válido: se esperan centésimas de milímetro, enteros de 1 a " +
                                               std::to_string(kRadioMaximo);
                    return fallar(motivo, motivo);
                }
                if (actual->size() == anunciados) {
                    const std::string motivo = donde + "el trazo del lado " + std::string(1, lado) +
                                               " trae más de los " + std::to_string(anunciados) + " radios anunciados";
                    return fallar(motivo, motivo);
                }
                actual->push_back(static_cast<double>(*r) / 100.0);
            }
        }
    }
    if (incompleto())
        return std::nullopt;
    if (trazos.derecho.empty() && trazos.izquierdo.empty())
        return fallar("no hay ningún trazo (TRCFMT=1;N;E;R|L;F seguido de registros R=)", "no hay ningún trazado");
    return trazos;
}

std::vector<lente::Punto> PuntosDelOjo(const Trazos& trazos, lente::Ojo ojo)
{
    const bool derecho = ojo == lente::Ojo::Derecho;
    const std::vector<double>& propio = derecho ? trazos.derecho : trazos.izquierdo;
    const bool espejo = propio.empty();
    const std::vector<double>& radios = espejo ? (derecho ? trazos.izquierdo : trazos.derecho) : propio;
    std::vector<lente::Punto> puntos;
    puntos.reserve(radios.size());
    const double paso = 2.0 * std::numbers::pi / static_cast<double>(radios.size());
    for (std::size_t i = 0; i < radios.size(); ++i) {
        const double a = paso * static_cast<double>(i);
        const double x = radios[i] * std::cos(a);
        puntos.push_back({espejo ? -x : x, radios[i] * std::sin(a)});
    }
    return puntos;
}

std::string_view Recortar(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view SinComillas(std::string_view s)
{
    // Quotes round each field ("a";"b") are not quotes round the value.
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"' &&
        s.substr(1, s.size() - 2).find('"') == std::string_view::npos)
        s = Recortar(s.substr(1, s.size() - 2));
    return s;
}

std::vector<std::string_view> Campos(std::string_view s)
{
    s = SinComillas(Recortar(s));
    std::vector<std::string_view> salida;
    for (;;) {
        const std::size_t corte = s.find(';');
        salida.push_back(SinComillas(Recortar(s.substr(0, corte))));
        if (corte == std::string_view::npos)
            return salida;
        s.remove_prefix(corte + 1);
    }
}

std::string_view SiguienteRegistro(std::string_view& texto)
{
    const std::size_t fin = texto.find_first_of("\r\n");
    if (fin == std::string_view::npos) {
        const std::string_view registro = texto;
        texto = {};
        return registro;
    }
    const std::string_view registro = texto.substr(0, fin);
    const bool crlf = texto[fin] == '\r' && fin + 1 < texto.size() && texto[fin + 1] == '\n';
    texto.remove_prefix(fin + (crlf ? 2 : 1));
    return registro;
}

std::string RegistrosDeTrazo(std::string_view texto)
{
    std::string salida;
    std::size_t pendientes = 0;
    bool enTrazo = false;
    while (!texto.empty()) {
        const std::string_view registro = Recortar(SiguienteRegistro(texto));
        const std::string_view etiqueta = Recortar(registro.substr(0, registro.find('=')));
        const bool propio =
            registro.find('=') != std::string_view::npos && (etiqueta == "TRCFMT" || (enTrazo && etiqueta == "R"));
        if (etiqueta == "TRCFMT")
            enTrazo = true;
        else if (etiqueta == "STHKFMT" || etiqueta == "ZFMT")
            enTrazo = false;
        if (!propio) {
            ++pendientes;
            continue;
        }
        salida.append(pendientes, '\n').append(registro).push_back('\n');
        pendientes = 0;
    }
    return salida;
}

} // namespace dcs
