#include "pedido_al_dia.h"

#include "etiquetas_dcs.h"
#include "numerico.h"
#include "responder_trabajo.h"
#include "trazo_dcs.h"

namespace trabajos {

namespace {

using dcs::Lado;

constexpr std::string_view kCambiadas[] = {"ETYP", "FRNT", "MBASE", "LMATTYPE", "_MATERIAL"};

bool cambiada(std::string_view registro)
{
    const std::size_t igual = registro.find('=');
    if (igual == std::string_view::npos)
        return false;
    const std::string_view etiqueta = dcs::Recortar(registro.substr(0, igual));
    for (const std::string_view c : kCambiadas)
        if (etiqueta == c)
            return true;
    return false;
}

// The curve carried, not rounded: twelve decimals are far below anything
// the solve notices, and within the fifteen figures the format reads.
std::string exacto(double x)
{
    std::string cifras = dcs::ConDecimales(x, 12);
    cifras.erase(cifras.find_last_not_of('0') + 1);
    if (cifras.back() == '.')
        cifras.pop_back();
    return cifras;
}

} // namespace

std::optional<std::string> PedidoAlDia(std::string_view texto, std::string& error)
{
    const auto p = dcs::Pedido::Leer(texto, error, {dcs::kFormatoAnterior, false});
    if (!p)
        return std::nullopt;
    for (const std::string_view etiqueta : {"ETYP", "FRNT", "TIND"})
        for (const Lado lado : {Lado::Derecho, Lado::Izquierdo})
            if (const dcs::Valor* v = p->Primero(etiqueta, lado); v && !v->error.empty()) {
                error = v->error;
                return std::nullopt;
            }
    dcs::Respuesta nuevos;
    std::optional<double> montura;
    bool primera = true;
    for (const Lado lado : {Lado::Derecho, Lado::Izquierdo}) {
        const dcs::Valor* etyp = p->Primero("ETYP", lado);
        const auto valor = etyp ? etyp->numero : std::nullopt;
        if (PideOjo(*p, lado)) {
            if (!primera && valor != montura) {
                error = "ETYP: cada ojo con su montura, y hoy ETYP es una sola para el trabajo";
                return std::nullopt;
            }
            montura = valor;
            primera = false;
        }
        if (const dcs::Valor* frnt = p->Primero("FRNT", lado); frnt && frnt->numero) {
            const dcs::Valor* tind = p->Primero("TIND", lado);
            const double herramienta = tind && tind->numero ? *tind->numero : kTindPorOmision;
            nuevos.PonerTexto("MBASE", lado, exacto(*frnt->numero * (herramienta - 1.0) / numerico::kFactorMolde));
        }
        const dcs::Valor* nombre = p->Primero("_MATERIAL", lado);
        if (!nombre)
            nombre = p->Primero("LMATTYPE", lado);
        if (nombre)
            nuevos.PonerTexto("_MATERIAL", lado, nombre->texto);
    }
    if (montura)
        nuevos.PonerUnico("ETYP", std::to_string(static_cast<int>(*montura)));
    std::string salida;
    while (!texto.empty())
        if (const std::string_view r = dcs::Recortar(dcs::SiguienteRegistro(texto)); !r.empty() && !cambiada(r))
            salida.append(r).append("\r\n");
    return salida + nuevos.Escribir();
}

} // namespace trabajos
