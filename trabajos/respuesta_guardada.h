#pragma once

#include "figuras_respuesta.h"
#include "responder_trabajo.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// A stored job read back as it was answered, never solved again: the ticket,
// the job window and the devices get what was stored, even when the
// catalogue has changed since.
namespace trabajos {

// A stored answer's figures, read by the rules it was written with. An answer
// of the earlier release gives its labels converted: CTHNP and the others as
// THNP…, BACK's two 1.523 tool curves of each eye as GBASE and GCROS at the
// tool index (exactly), FRNT at the lens's index; the figures it did not
// write (THNR, THKR, CRIB) come from the request's outline. The lens's index
// of such a job is its request's LIND, else its material's in the catalogue.
std::array<FigurasOjo, 2> FigurasGuardadas(const dcs::Pedido& pedido, std::string_view respuesta,
                                           MaterialesTrabajo* materiales);

// A stored request read by the rules it was stored with. Nothing, with the
// reason, for a damaged record: a request that cannot be read, or whose JOB
// is not the number it is stored under.
std::optional<dcs::Pedido> PedidoGuardado(std::string_view numero, std::string_view pedido, int formato,
                                          std::string& error);

// The text of a stored job's answer as the exchange writes answers today:
// the stored one, or for a job of the earlier release its figures written
// again (FigurasGuardadas), as ContestacionGuardada gives it, without
// rebuilding the lenses. Nothing, with the reason, for a damaged record.
std::optional<std::string> RespuestaGuardada(std::string_view numero, std::string_view pedido,
                                             std::string_view respuesta, int formato, MaterialesTrabajo* materiales,
                                             std::string& error);

// A stored job: each eye's figures from the stored answer, its outline from
// the stored request, under the number it is stored with. The answer's text
// is the stored one, or, for a job of the earlier release, the same figures
// written as the exchange now writes them. Nothing, with the reason, for a
// damaged record (see PedidoGuardado).
std::optional<Contestacion> ContestacionGuardada(std::string_view numero, std::string_view pedido,
                                                 std::string_view respuesta, int formato, std::string_view material,
                                                 MaterialesTrabajo* materiales, std::string& error);

} // namespace trabajos
