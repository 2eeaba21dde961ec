#include "etiquetas_dcs.h"

#include "trazo_dcs.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace dcs {

namespace {

using enum Forma;
using enum Clase;

// Ranges are what a spectacle lens can be; a value outside is a typing or
// transmission fault, never a lens to make. _SEGURIDAD is the laboratory's
// own: the impact standard, 0 none, 1 basic, 2 high impact, in the order of
// laboratorio::Seguridad.
constexpr Etiqueta kEtiquetas[] = {
    {"JOB", Unico, Texto, 0, 0, 0},    {"DO", Unico, Texto, 0, 0, 0},        {"SPH", Par, Numero, 2, -40, 40},
    {"CYL", Par, Numero, 2, -20, 20},  {"AX", Par, Numero, 2, 0, 180},       {"PRVM", Par, Numero, 2, 0, 30},
    {"PRVA", Par, Numero, 1, 0, 360},  {"IPD", Par, Numero, 2, 10, 60},      {"NPD", Par, Numero, 2, 10, 60},
    {"OCHT", Par, Numero, 2, 0, 100},  {"HBOX", Par, Numero, 2, 5, 120},     {"VBOX", Par, Numero, 2, 5, 120},
    {"DBL", Unico, Numero, 2, 0, 60},  {"FED", Par, Numero, 2, 5, 120},      {"LIND", Par, Numero, 3, 1.2, 2.5},
    {"LMATTYPE", Par, Texto, 0, 0, 0}, {"ETYP", Par, Entero, 0, -1, 4},      {"MINEDG", Par, Numero, 2, 0, 20},
    {"MINCTR", Par, Numero, 2, 0, 20}, {"TRCFMT", Unico, Trazo, 0, 0, 0},    {"R", Unico, Trazo, 0, 0, 0},
    {"FRNT", Par, Numero, 3, 0, 30},   {"BACK", Par, Numero, 2, -60, 60},    {"CTHICK", Par, Numero, 3, 0, 100},
    {"CTHNP", Par, Numero, 3, 0, 100}, {"CTHNA", Par, Numero, 2, 0, 360},    {"CTHKP", Par, Numero, 3, 0, 100},
    {"CTHKA", Par, Numero, 2, 0, 360}, {"CRIB", Par, Numero, 2, 0, 120},     {"_PESO", Par, Numero, 2, 0, 1000},
    {"STATUS", Par, Texto, 0, 0, 0},   {"_SEGURIDAD", Par, Entero, 0, 0, 2},
};

// A value is text of the format: printable ASCII or UTF-8, no separator.
constexpr std::size_t kTextoMaximo = 120;

std::string citar(std::string_view s)
{
    constexpr std::size_t kCita = 20;
    std::string cita(1, '"');
    for (const char c : s.substr(0, kCita))
        cita.push_back(static_cast<unsigned char>(c) < 0x20 ? '?' : c);
    if (s.size() > kCita)
        cita.append("…");
    cita.push_back('"');
    return cita;
}

// Digits with an optional sign and at most one point: no exponent, no
// comma, nothing the format does not write.
std::optional<double> numero(std::string_view s)
{
    std::string_view cuerpo = s;
    if (!cuerpo.empty() && (cuerpo.front() == '-' || cuerpo.front() == '+'))
        cuerpo.remove_prefix(1);
    int puntos = 0, cifras = 0;
    for (const char c : cuerpo) {
        if (c == '.')
            ++puntos;
        else if (c >= '0' && c <= '9')
            ++cifras;
        else
            return std::nullopt;
    }
    if (cifras == 0 || puntos > 1 || cifras > 15)
        return std::nullopt;
    double v = 0;
    const auto [fin, ec] = std::from_chars(cuerpo.data(), cuerpo.data() + cuerpo.size(), v);
    if (ec != std::errc{} || fin != cuerpo.data() + cuerpo.size() || !std::isfinite(v))
        return std::nullopt;
    return s.front() == '-' ? -v : v;
}

std::string texto(double v, const Etiqueta& e)
{
    return e.clase == Entero ? std::to_string(std::lround(v)) : ConDecimales(v, e.decimales);
}

Valor comprobar(const Etiqueta& e, std::string_view campo)
{
    Valor v{std::string(campo), std::nullopt, {}};
    const std::string nombre(e.nombre);
    if (e.clase == Texto) {
        if (campo.size() > kTextoMaximo)
            v.error = nombre + ": texto de más de " + std::to_string(kTextoMaximo) + " caracteres";
        else if (std::any_of(campo.begin(), campo.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
            v.error = nombre + ": el texto contiene caracteres de control";
        return v;
    }
    v.numero = numero(campo);
    if (!v.numero)
        v.error = nombre + ": " + citar(campo) + " no es un número";
    else if (e.clase == Entero && *v.numero != std::floor(*v.numero))
        v.error = nombre + ": " + citar(campo) + " no es un número entero";
    else if (*v.numero < e.minimo || *v.numero > e.maximo)
        v.error = nombre + ": " + citar(campo) + " fuera de rango (de " + texto(e.minimo, e) + " a " +
                  texto(e.maximo, e) + ")";
    if (!v.error.empty())
        v.numero.reset();
    return v;
}

std::string limpio(std::string_view s)
{
    std::string salida(s.substr(0, kTextoMaximo * 4));
    for (char& c : salida)
        if (c == ';' || static_cast<unsigned char>(c) < 0x20)
            c = ',';
    return salida;
}

} // namespace

bool NumeroDeTrabajoValido(std::string_view s)
{
    if (s.empty() || s.size() > 40 || s.front() == '.' || s.front() == '-')
        return false;
    return std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_' ||
               c == '.';
    });
}

std::span<const Etiqueta> Etiquetas() { return kEtiquetas; }

const Etiqueta* BuscarEtiqueta(std::string_view nombre)
{
    for (const Etiqueta& e : kEtiquetas)
        if (e.nombre == nombre)
            return &e;
    return nullptr;
}

std::string ConDecimales(double x, int cifras)
{
    const double escala = std::pow(10.0, cifras);
    double redondo = std::round(x * escala) / escala;
    if (redondo == 0.0)
        redondo = 0.0;
    char salida[64];
    const auto fin = std::to_chars(salida, salida + sizeof salida, redondo, std::chars_format::fixed, cifras).ptr;
    return std::string(salida, fin);
}

std::optional<Pedido> Pedido::Leer(std::string_view texto, std::string& error)
{
    if (texto.size() > kPedidoMaximo) {
        error = "el pedido ocupa más de 1 MB: no es un trabajo";
        return std::nullopt;
    }
    if (texto.find('\0') != std::string_view::npos) {
        error = "el pedido contiene bytes nulos: no es un texto";
        return std::nullopt;
    }
    Pedido pedido;
    auto fallar = [&](int lado, const std::string& motivo) {
        if (pedido.m_errores[lado].empty())
            pedido.m_errores[lado] = motivo;
    };
    bool conTrabajo = false;
    std::size_t linea = 0, lineasDelTrazo = 0;
    while (!texto.empty()) {
        ++linea;
        const std::size_t fin = texto.find('\n');
        const std::string_view registro = Recortar(texto.substr(0, fin));
        texto.remove_prefix(fin == std::string_view::npos ? texto.size() : fin + 1);
        const std::size_t igual = registro.find('=');
        if (igual == std::string_view::npos)
            continue;
        const std::string_view nombre = Recortar(registro.substr(0, igual));
        const std::string_view valor = Recortar(registro.substr(igual + 1));
        const Etiqueta* e = BuscarEtiqueta(nombre);
        if (!e) {
            if (nombre.size() <= 20)
                pedido.m_desconocidas[std::string(nombre)] = std::string(valor.substr(0, kTextoMaximo));
            continue;
        }
        if (e->clase == Trazo) {
            // Blank lines in place of the other records, so that the trace
            // reader's line numbers are the request's.
            pedido.m_trazo.append(linea - 1 - lineasDelTrazo, '\n').append(registro).push_back('\n');
            lineasDelTrazo = linea;
            continue;
        }
        if (e->nombre == "JOB") {
            if (conTrabajo || !NumeroDeTrabajoValido(valor)) {
                error = conTrabajo ? "JOB aparece más de una vez"
                                   : "JOB: " + citar(valor) +
                                         " no es un número de trabajo (letras, cifras, - _ . y hasta 40 caracteres)";
                return std::nullopt;
            }
            conTrabajo = true;
            pedido.m_trabajo = std::string(valor);
            continue;
        }
        const std::string etiqueta(e->nombre);
        if (pedido.m_valores.contains(etiqueta)) {
            fallar(0, etiqueta + ": aparece más de una vez");
            fallar(1, etiqueta + ": aparece más de una vez");
            continue;
        }
        auto& lados = pedido.m_valores[etiqueta];
        const std::vector<std::string_view> f =
            e->forma == Unico && e->clase == Texto ? std::vector<std::string_view>{valor} : Campos(valor);
        if (e->forma == Par && f.size() % 2 != 0) {
            fallar(0, etiqueta + ": se esperan dos valores, derecho e izquierdo");
            fallar(1, etiqueta + ": se esperan dos valores, derecho e izquierdo");
            continue;
        }
        if (e->forma == Unico && f.size() != 1) {
            fallar(0, etiqueta + ": se espera un solo valor");
            fallar(1, etiqueta + ": se espera un solo valor");
            continue;
        }
        const std::size_t porOjo = e->forma == Par ? f.size() / 2 : 1;
        for (int lado = 0; lado < 2; ++lado) {
            const std::size_t desde = e->forma == Par ? porOjo * static_cast<std::size_t>(lado) : 0;
            for (std::size_t i = desde; i < desde + porOjo; ++i) {
                // "?" is the format's mark for a value the sender does not know.
                if (f[i] == "?" || f[i].empty())
                    continue;
                Valor v = comprobar(*e, f[i]);
                if (!v.error.empty())
                    fallar(lado, v.error);
                lados[lado].push_back(std::move(v));
            }
        }
    }
    if (!conTrabajo) {
        error = "falta JOB, el número de trabajo";
        return std::nullopt;
    }
    return pedido;
}

const std::vector<Valor>* Pedido::Valores(std::string_view etiqueta, Lado lado) const
{
    const auto it = m_valores.find(etiqueta);
    if (it == m_valores.end() || it->second[static_cast<int>(lado)].empty())
        return nullptr;
    return &it->second[static_cast<int>(lado)];
}

const Valor* Pedido::Primero(std::string_view etiqueta, Lado lado) const
{
    const auto* v = Valores(etiqueta, lado);
    return v ? &v->front() : nullptr;
}

void Respuesta::Poner(std::string_view etiqueta, Lado lado, std::vector<double> numeros)
{
    m_celdas[std::string(etiqueta)][static_cast<int>(lado)].numeros = std::move(numeros);
}

void Respuesta::PonerTexto(std::string_view etiqueta, Lado lado, std::string texto)
{
    m_celdas[std::string(etiqueta)][static_cast<int>(lado)].texto = limpio(texto);
}

void Respuesta::PonerUnico(std::string_view etiqueta, std::string texto)
{
    m_celdas[std::string(etiqueta)][0].texto = limpio(texto);
}

std::string Respuesta::Escribir() const
{
    std::string salida;
    for (const Etiqueta& e : kEtiquetas) {
        const auto it = m_celdas.find(e.nombre);
        if (it == m_celdas.end())
            continue;
        salida.append(e.nombre).push_back('=');
        if (e.forma == Unico) {
            salida.append(it->second[0].texto.value_or("?"));
        } else {
            const std::size_t cuantos =
                std::max<std::size_t>({1, it->second[0].numeros.size(), it->second[1].numeros.size()});
            for (int lado = 0; lado < 2; ++lado) {
                const Celda& c = it->second[lado];
                for (std::size_t i = 0; i < cuantos; ++i) {
                    if (lado + i > 0)
                        salida.push_back(';');
                    if (c.texto && i == 0)
                        salida.append(*c.texto);
                    else if (i < c.numeros.size() && std::isfinite(c.numeros[i]))
                        salida.append(texto(c.numeros[i], e));
                    else
                        salida.push_back('?');
                }
            }
        }
        salida.append("\r\n");
    }
    return salida;
}

} // namespace dcs
