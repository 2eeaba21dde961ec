#include "trabajo_con_trazo.h"

#include "pedido_al_dia.h"
#include "respuesta_guardada.h"
#include "trazo_pedido.h"

namespace dcs {

std::optional<TrabajoConTrazo> ResponderConTrazo(std::string_view numero, std::string_view pedido, int formato,
                                                 std::string_view trazo, trabajos::MaterialesTrabajo* materiales,
                                                 std::string& error)
{
    const auto responder = [&](std::string_view texto, int reglas) -> std::optional<trabajos::Contestacion> {
        const auto leido = trabajos::PedidoGuardado(numero, texto, reglas, error);
        return leido ? std::optional(trabajos::Responder(*leido, materiales)) : std::nullopt;
    };
    std::optional<std::string> alDia(pedido);
    if (formato == kFormatoAnterior && !(alDia = trabajos::PedidoAlDia(pedido, error))) {
        error = "el pedido de la versión anterior no se puede escribir con las reglas de hoy: " + error;
        return std::nullopt;
    }
    TrabajoConTrazo t{PedidoConTrazo(*alDia, trazo), {}};
    auto c = responder(t.pedido, kFormato);
    if (!c)
        return std::nullopt;
    if (formato == kFormatoAnterior) {
        const auto antes = responder(PedidoConTrazo(pedido, trazo), kFormatoAnterior);
        if (!antes)
            return std::nullopt;
        if (antes->texto != c->texto) {
            error = "el pedido de la versión anterior, escrito con las reglas de hoy, no daría la misma respuesta; "
                    "ábralo y guárdelo en la ventana de trabajos antes de subir su trazado";
            return std::nullopt;
        }
    }
    t.contestacion = std::move(*c);
    return t;
}

} // namespace dcs
