#pragma once

#include "responder_trabajo.h"

#include <optional>
#include <string>
#include <string_view>

namespace dcs {

// A stored job answered again on the frame a tracer sent, as the store keeps
// it afterwards: its request with that trace, by today's rules, and the
// answer.
struct TrabajoConTrazo {
    std::string pedido;
    trabajos::Contestacion contestacion;
};

// The stored job (its number, its request and the rules it was stored by)
// answered again on `trazo`. The request of a job of the earlier release is
// written by today's rules (trabajos::PedidoAlDia), and kept so only when
// they answer it exactly as that release's rules do: the request, the answer
// and the job's mark then agree. Nothing, with the reason, for a damaged
// record or a request today's rules would answer otherwise.
std::optional<TrabajoConTrazo> ResponderConTrazo(std::string_view numero, std::string_view pedido, int formato,
                                                 std::string_view trazo, trabajos::MaterialesTrabajo* materiales,
                                                 std::string& error);

} // namespace dcs
