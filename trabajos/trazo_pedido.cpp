#include "trazo_pedido.h"

#include "trazo_dcs.h"

#include <vector>

namespace dcs {

namespace {

bool esDelTrazo(std::string_view registro)
{
    const std::size_t igual = registro.find('=');
    if (igual == std::string_view::npos)
        return false;
    const std::string_view etiqueta = Recortar(registro.substr(0, igual));
    return etiqueta == "TRCFMT" || etiqueta == "R";
}

// Each record of a text, trimmed, whatever line ends it uses.
template <typename Hacer>
void porRegistro(std::string_view texto, Hacer hacer)
{
    while (!texto.empty())
        if (const std::string_view registro = Recortar(SiguienteRegistro(texto)); !registro.empty())
            hacer(registro);
}

struct Lado {
    std::string_view formato; // TRCFMT's value
    std::vector<std::string_view> registros; // R records as sent
};

std::string_view valor(std::string_view registro) { return Recortar(registro.substr(registro.find('=') + 1)); }

// The other side's records: radius i of the mirror image is the traced
// side's radius at 180° − i·360/N.
Lado espejo(const Lado& trazado, std::string& formato, std::vector<std::string>& registros)
{
    std::vector<std::string_view> radios;
    std::size_t porRegistro = 0;
    for (const std::string_view r : trazado.registros) {
        auto f = Campos(valor(r));
        if (f.size() > 1 && f.back().empty())
            f.pop_back();
        porRegistro = porRegistro ? porRegistro : f.size();
        radios.insert(radios.end(), f.begin(), f.end());
    }
    const std::size_t n = radios.size();
    auto campos = Campos(trazado.formato);
    campos[3] = campos[3] == "R" ? "L" : "R";
    for (const std::string_view c : campos)
        formato.append(formato.empty() ? "" : ";").append(c);
    for (std::size_t i = 0; i < n; ++i) {
        if (i % porRegistro == 0)
            registros.emplace_back("R=");
        registros.back().append(i % porRegistro ? ";" : "").append(radios[(n + n / 2 - i) % n]);
    }
    Lado l{formato, {}};
    for (const std::string& r : registros)
        l.registros.push_back(r);
    return l;
}

void escribir(const Lado& l, std::string& salida)
{
    salida.append("TRCFMT=").append(l.formato).push_back('\r');
    for (const std::string_view r : l.registros)
        salida.append("R=").append(valor(r)).push_back('\r');
}

} // namespace

std::string SoloTrazo(std::string_view texto)
{
    std::string salida;
    porRegistro(texto, [&](std::string_view r) {
        if (esDelTrazo(r))
            salida.append(r).append("\r\n");
    });
    return salida;
}

std::string PedidoConTrazo(std::string_view pedido, std::string_view trazo)
{
    std::string salida;
    porRegistro(pedido, [&](std::string_view r) {
        if (!esDelTrazo(r))
            salida.append(r).append("\r\n");
    });
    return salida.append(trazo);
}

std::string TrazoParaDispositivos(std::string_view trazo)
{
    std::string error;
    const auto leidos = LeerTrazos(trazo, error);
    if (!leidos)
        return {};
    Lado lados[2];
    Lado* actual = nullptr;
    porRegistro(trazo, [&](std::string_view r) {
        if (!esDelTrazo(r))
            return;
        if (r.starts_with("TRCFMT")) {
            const std::string_view f = valor(r);
            actual = &lados[Campos(f)[3] == "R" ? 0 : 1];
            actual->formato = f;
        } else if (actual) {
            actual->registros.push_back(r);
        }
    });
    std::string formato;
    std::vector<std::string> reflejados;
    for (int i = 0; i < 2; ++i) {
        const Lado& otro = lados[1 - i];
        const std::size_t n = i == 0 ? leidos->izquierdo.size() : leidos->derecho.size();
        if (lados[i].formato.empty() && n % 2 == 0)
            lados[i] = espejo(otro, formato, reflejados);
    }
    std::string salida;
    for (const Lado& l : lados)
        if (!l.formato.empty())
            escribir(l, salida);
    return salida;
}

} // namespace dcs
