#pragma once

#include <string>
#include <string_view>

// The frame trace of a job as it travels between the store, the order and the
// devices: a tracer's trace is kept on its own until the order arrives, and
// then takes the place of whatever trace the order brought, so that the lens
// is edged to the frame the laboratory measured.
namespace dcs {

// The trace records (TRCFMT and R) of a text, each ended by CR LF; records
// may end with CR, CR LF or LF. Empty when it has none.
std::string SoloTrazo(std::string_view texto);

// The request with its trace records replaced by `trazo`.
std::string PedidoConTrazo(std::string_view pedido, std::string_view trazo);

// The trace as a device takes it: the right side first, then the left, each
// with its records as they were sent; a side not traced is the mirror image
// of the other (radii reordered, so their count and values stay exact; an
// odd count has no exact mirror and goes alone). Records ended by CR; empty
// when the text holds no readable trace.
std::string TrazoParaDispositivos(std::string_view trazo);

} // namespace dcs
