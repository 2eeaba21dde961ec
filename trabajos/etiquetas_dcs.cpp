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
// transmission fault, never a lens to make. The labels starting with "_" are
// the laboratory's own, as the standard allows: _SEGURIDAD is the impact
// standard (0 none, 1 basic, 2 high impact, in the order of
// laboratorio::Seguridad), _MATERIAL a product name of the catalogue,
// _CAMPO the RMS astigmatic error 30° off the line of sight and _THNINT the
// thickness where the lens is thinnest inside its outline.
// FRNT reaches 2000 because some senders write the front's radius in mm.
constexpr Etiqueta kEtiquetas[] = {
    {"JOB", Unico, Texto, 0, 0, 0, kAmbos},
    {"STATUS", Unico, Entero, 0, 0, 99, kRespuesta},
    {"XSTATUS", Registros, Texto, 0, 0, 0, kRespuesta},
    {"LIND", Par, Numero, 3, 1.2, 2.5, kAmbos},
    {"FRNT", Par, Numero, 3, 0, 2000, kAmbos},
    {"TIND", Par, Numero, 3, 1.4, 2.0, kAmbos},
    {"GBASE", Par, Numero, 2, -60, 60, kRespuesta},
    {"GCROS", Par, Numero, 2, -60, 60, kRespuesta},
    {"GAX", Par, Entero, 0, 0, 180, kRespuesta},
    {"GTHK", Par, Numero, 3, 0, 100, kRespuesta},
    {"CTHICK", Par, Numero, 3, 0, 100, kRespuesta},
    {"THNP", Par, Numero, 3, 0, 100, kRespuesta},
    {"THNA", Par, Entero, 0, 0, 360, kRespuesta},
    {"THNR", Par, Numero, 2, 0, 100, kRespuesta},
    {"THKP", Par, Numero, 3, 0, 100, kRespuesta},
    {"THKA", Par, Entero, 0, 0, 360, kRespuesta},
    {"THKR", Par, Numero, 2, 0, 100, kRespuesta},
    {"CRIB", Par, Entero, 0, 0, 200, kRespuesta},
    {"DIA", Par, Entero, 0, 0, 200, kRespuesta},
    {"RPRVM", Par, Numero, 2, 0, 60, kRespuesta},
    {"RPRVA", Par, Entero, 0, 0, 360, kRespuesta},
    {"INSSPH", Par, Numero, 2, -60, 60, kRespuesta},
    {"INSCYL", Par, Numero, 2, -30, 30, kRespuesta},
    {"INSAX", Par, Entero, 0, 0, 180, kRespuesta},
    {"_CAMPO", Par, Numero, 3, 0, 100, kRespuesta},
    {"_PESO", Par, Numero, 2, 0, 1000, kRespuesta},
    {"_SEGURIDAD", Par, Entero, 0, 0, 2, kAmbos},
    {"_THNINT", Par, Numero, 3, 0, 100, kRespuesta},
    {"DO", Unico, Texto, 0, 0, 0, kPedido},
    {"SPH", Par, Numero, 2, -40, 40, kPedido},
    {"CYL", Par, Numero, 2, -20, 20, kPedido},
    {"AX", Par, Numero, 2, 0, 180, kPedido},
    {"PRVM", Par, Numero, 2, 0, 30, kPedido},
    {"PRVA", Par, Numero, 1, 0, 360, kPedido},
    {"PTPRVM", Par, Numero, 2, 0, 30, kPedido},
    {"PTPRVA", Par, Numero, 1, 0, 360, kPedido},
    {"PTOK", Unico, Entero, 0, 0, 1, kPedido},
    {"IPD", Par, Numero, 2, 10, 60, kPedido},
    {"NPD", Par, Numero, 2, 10, 60, kPedido},
    {"OCHT", Par, Numero, 2, 0, 100, kPedido},
    {"HBOX", Par, Numero, 2, 5, 120, kPedido},
    {"VBOX", Par, Numero, 2, 5, 120, kPedido},
    {"DBL", Unico, Numero, 2, 0, 60, kPedido},
    {"FED", Par, Numero, 2, 5, 120, kPedido},
    {"_MATERIAL", Par, Texto, 0, 0, 0, kPedido},
    {"LMATTYPE", Par, Texto, 0, 0, 0, kPedido},
    {"MBASE", Par, Numero, 2, 0, 30, kPedido},
    {"ETYP", Unico, Entero, 0, -1, 4, kPedido},
    {"FTYP", Unico, Entero, 0, 1, 4, kPedido},
    {"MINEDG", Par, Numero, 2, 0, 20, kPedido},
    {"MINCTR", Par, Numero, 2, 0, 20, kPedido},
    {"ADD", Par, Numero, 2, 0, 6, kPedido},
    {"SEGHT", Par, Numero, 2, 0, 60, kPedido},
    {"LTYP", Par, Texto, 0, 0, 0, kPedido},
    {"BVD", Par, Numero, 2, 0, 40, kPedido},
    {"PANTO", Par, Numero, 2, -20, 40, kPedido},
    {"ZTILT", Par, Numero, 2, -20, 45, kPedido},
    {"TRCFMT", Unico, Trazo, 0, 0, 0, kPedido},
    {"R", Unico, Trazo, 0, 0, 0, kPedido},
};

// The earlier release wrote ETYP one value an eye, STATUS as "code reason"
// an eye, and the thinnest and thickest points under labels of its own.
Forma formaEn(const Etiqueta& e, int formato)
{
    if (formato == kFormatoAnterior && (e.nombre == "ETYP" || e.nombre == "STATUS"))
        return Par;
    return e.forma;
}

std::string_view nombreActual(std::string_view nombre, const Lectura& lectura)
{
    if (lectura.formato != kFormatoAnterior || !lectura.respuesta)
        return nombre;
    constexpr std::pair<std::string_view, std::string_view> kAnteriores[] = {
        {"CTHNP", "THNP"}, {"CTHNA", "THNA"}, {"CTHKP", "THKP"}, {"CTHKA", "THKA"}};
    for (const auto& [antes, ahora] : kAnteriores)
        if (nombre == antes)
            return ahora;
    return nombre;
}

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

// The value checked against its row; `falla` says why it was refused. An
// answer of the earlier release wrote angles with decimals.
Valor comprobar(const Etiqueta& e, std::string_view campo, bool respuesta, Falla& falla)
{
    Valor v{std::string(campo), std::nullopt, {}};
    const auto rechazar = [&](Estado estado, std::string motivo) {
        falla = {estado, std::string(e.nombre), std::move(motivo)};
        v.error = falla.Texto();
        v.numero.reset();
    };
    if (e.clase == Texto) {
        if (campo.size() > kTextoMaximo)
            rechazar(Estado::Formato, "texto de más de " + std::to_string(kTextoMaximo) + " caracteres");
        else if (std::any_of(campo.begin(), campo.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
            rechazar(Estado::Formato, "el texto contiene caracteres de control");
        return v;
    }
    v.numero = numero(campo);
    if (!v.numero)
        rechazar(Estado::Formato, citar(campo) + " no es un número");
    else if (e.clase == Entero && *v.numero != std::floor(*v.numero) && !respuesta)
        rechazar(Estado::Formato, citar(campo) + " no es un número entero");
    else if (*v.numero < e.minimo || *v.numero > e.maximo)
        rechazar(Estado::FueraDeRango,
                 citar(campo) + " fuera de rango (de " + texto(e.minimo, e) + " a " + texto(e.maximo, e) + ")");
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

// The TRCFMT record's fields: format 1 with equally spaced radii is read,
// any other is not; the side is R, L or unknown.
struct CabeceraTrazo {
    bool legible = false;
    std::string_view lado;
};
CabeceraTrazo cabecera(std::string_view valor)
{
    const auto f = Campos(valor);
    return {f[0] == "1" && (f.size() < 3 || f[2] == "E"), f.size() >= 4 ? f[3] : std::string_view()};
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

std::optional<Pedido> Pedido::Leer(std::string_view texto, std::string& error, Lectura lectura)
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
    pedido.m_formato = lectura.formato;
    auto fallar = [&](int lado, const Falla& f) {
        if (!pedido.m_fallas[lado].Hay())
            pedido.m_fallas[lado] = f;
    };
    const auto fallarAmbos = [&](const Falla& f) {
        fallar(0, f);
        fallar(1, f);
    };
    // The block the records R, T, Z and A belong to: a readable trace, a
    // trace in another format, or another format's block (STHKFMT, ZFMT).
    enum class Bloque { Ninguno, Trazo, TrazoNoLeido, Otro } bloque = Bloque::Ninguno;
    bool conTrabajo = false;
    std::size_t linea = 0, lineasDelTrazo = 0;
    while (!texto.empty()) {
        ++linea;
        const std::string_view registro = Recortar(SiguienteRegistro(texto));
        const std::size_t igual = registro.find('=');
        if (igual == std::string_view::npos)
            continue;
        const std::string_view leido = Recortar(registro.substr(0, igual));
        const std::string_view valor = Recortar(registro.substr(igual + 1));
        if (leido == "STHKFMT" || leido == "ZFMT") {
            bloque = Bloque::Otro;
            continue;
        }
        const bool deBloque = leido == "R" || leido == "T" || leido == "Z" || leido == "A";
        if (deBloque && (bloque == Bloque::Otro || bloque == Bloque::TrazoNoLeido || lectura.respuesta))
            continue;
        if (leido == "TRCFMT" && !lectura.respuesta) {
            const CabeceraTrazo c = cabecera(valor);
            if (!c.legible) {
                // The R records that follow are in a format this reader
                // cannot take; the eyes of that side end without a guess.
                bloque = Bloque::TrazoNoLeido;
                for (int lado = 0; lado < 2; ++lado)
                    if (c.lado != (lado == 0 ? "L" : "R") && pedido.m_trazoNoLeido[lado].empty())
                        pedido.m_trazoNoLeido[lado] = std::string(valor.substr(0, 40));
                continue;
            }
            bloque = Bloque::Trazo;
        }
        const std::string_view nombre = nombreActual(leido, lectura);
        const Etiqueta* e = BuscarEtiqueta(nombre);
        if (!e || !(e->sentido & (lectura.respuesta ? kRespuesta : kPedido))) {
            if (nombre.size() <= 20 && !pedido.m_desconocidas.contains(nombre))
                pedido.m_desconocidas.emplace(std::string(nombre), std::string(valor.substr(0, kTextoMaximo)));
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
            const std::string_view numero = SinComillas(valor);
            if (conTrabajo || !NumeroDeTrabajoValido(numero)) {
                error = conTrabajo ? "JOB aparece más de una vez"
                                   : "JOB: " + citar(numero) +
                                         " no es un número de trabajo (letras, cifras, - _ . y hasta 40 caracteres)";
                return std::nullopt;
            }
            conTrabajo = true;
            pedido.m_trabajo = std::string(numero);
            continue;
        }
        const std::string etiqueta(e->nombre);
        const Forma forma = formaEn(*e, lectura.formato);
        if (forma == Forma::Registros) {
            pedido.m_registros[etiqueta].emplace_back(valor.substr(0, kTextoMaximo));
            continue;
        }
        if (pedido.m_valores.contains(etiqueta)) {
            fallarAmbos({Estado::Formato, etiqueta, "aparece más de una vez"});
            continue;
        }
        auto& lados = pedido.m_valores[etiqueta];
        const std::vector<std::string_view> f =
            forma == Unico && e->clase == Texto ? std::vector<std::string_view>{SinComillas(valor)} : Campos(valor);
        if (forma == Par && f.size() > 2) {
            fallarAmbos({Estado::Formato, etiqueta, "más valores que ojos: se esperan uno, o derecho e izquierdo"});
            continue;
        }
        if (forma == Unico && f.size() != 1) {
            fallarAmbos({Estado::Formato, etiqueta, "se espera un solo valor para el trabajo"});
            continue;
        }
        for (int lado = 0; lado < 2; ++lado) {
            // One field holds for both eyes.
            const std::string_view campo = f[f.size() == 2 ? static_cast<std::size_t>(lado) : 0];
            // "?" is the format's mark for a value the sender does not know.
            if (campo == "?" || campo.empty())
                continue;
            Falla falla;
            Valor v = comprobar(*e, campo, lectura.respuesta, falla);
            if (falla.Hay())
                fallar(lado, falla);
            lados[lado].push_back(std::move(v));
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

const std::vector<std::string>& Pedido::Registros(std::string_view etiqueta) const
{
    static const std::vector<std::string> kNinguno;
    const auto it = m_registros.find(etiqueta);
    return it == m_registros.end() ? kNinguno : it->second;
}

std::string Pedido::errorDe(Lado lado) const
{
    const Falla& f = fallaDe(lado);
    return f.Hay() ? f.Texto() : std::string();
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

void Respuesta::Agregar(std::string_view etiqueta, std::string texto)
{
    for (char& c : texto)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    m_registros[std::string(etiqueta)].push_back(std::move(texto));
}

std::string Respuesta::Escribir() const
{
    std::string salida;
    for (const Etiqueta& e : kEtiquetas) {
        if (const auto r = m_registros.find(e.nombre); r != m_registros.end())
            for (const std::string& texto : r->second)
                salida.append(e.nombre).append("=").append(texto).append("\r\n");
        const auto it = m_celdas.find(e.nombre);
        if (it == m_celdas.end())
            continue;
        salida.append(e.nombre).push_back('=');
        if (e.forma == Unico) {
            salida.append(it->second[0].texto.value_or("?"));
        } else {
            for (int lado = 0; lado < 2; ++lado) {
                const Celda& c = it->second[lado];
                if (lado == 1)
                    salida.push_back(';');
                if (c.texto)
                    salida.append(*c.texto);
                else if (!c.numeros.empty() && std::isfinite(c.numeros.front()))
                    salida.append(texto(c.numeros.front(), e));
                else if (!c.numeros.empty() || m_desconocido[lado])
                    salida.push_back('?');
            }
        }
        salida.append("\r\n");
    }
    return salida;
}

std::string Ascii(std::string_view texto)
{
    // Latin-1's letters from U+00C0 on, each without its accent.
    constexpr std::string_view kLatinas = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";
    std::string salida;
    for (std::size_t i = 0; i < texto.size();) {
        const auto c = static_cast<unsigned char>(texto[i]);
        if (c < 0x80) {
            salida.push_back(c == ';' ? ',' : c < 0x20 || c == 0x7f ? ' ' : static_cast<char>(c));
            ++i;
            continue;
        }
        // A two-byte sequence of U+0080 to U+07FF; anything longer or broken
        // is one "?".
        const auto d = i + 1 < texto.size() ? static_cast<unsigned char>(texto[i + 1]) : 0;
        std::size_t largo = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : 2;
        if (c >= 0xc2 && c < 0xe0 && (d & 0xc0) == 0x80) {
            const unsigned punto = ((c & 0x1fu) << 6) | (d & 0x3fu);
            if (punto >= 0xc0 && punto <= 0xff)
                salida.push_back(kLatinas[punto - 0xc0]);
            else if (punto == 0xb0)
                salida.append(" grados");
            else if (punto != 0xbf && punto != 0xa1) // ¿ and ¡ open what ? and ! close
                salida.push_back('?');
        } else {
            if (c < 0xc2 || c >= 0xf8)
                largo = 1;
            if (c == 0xe2 && d == 0x80 && i + 2 < texto.size() && static_cast<unsigned char>(texto[i + 2]) == 0xa6)
                salida.append("..."); // the ellipsis
            else
                salida.push_back('?');
        }
        i += std::min(largo, texto.size() - i);
    }
    return salida;
}

} // namespace dcs
