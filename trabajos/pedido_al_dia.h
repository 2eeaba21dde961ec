#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trabajos {

// A request stored by the earlier release, written by today's rules so that
// it asks for the same lenses: ETYP one value for the job, FRNT (which that
// release read as the house's curve at the 1.523 tool index) as MBASE at the
// request's own tool index TIND, so that the generator's curves keep theirs,
// and the material LMATTYPE, a product name then, as _MATERIAL. An MBASE that
// release did not read is left out; every other record stays as it was.
// Nothing, with the reason, when the request cannot be said by today's rules:
// eyes with mounts of their own, or a value of those labels that does not read.
std::optional<std::string> PedidoAlDia(std::string_view pedido, std::string& error);

} // namespace trabajos
