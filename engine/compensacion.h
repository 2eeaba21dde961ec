#pragma once

#include "lente_en_uso.h"
#include "receta.h"

#include <span>
#include <string>

// A lens made for the prescription as worn. A frame that tilts or wraps the
// lens changes the power the eye receives; the back surface is then
// compensated so that the wearer, looking straight ahead, gets the
// prescription, and the lensmeter shows something else.
namespace lente {

struct SolucionEnUso {
    // The lens made: with tilt or wrap, the compensated one, its back's
    // powers along its own axis and across it.
    Solucion solucion;
    // The same lens as light meets it; its ejeReverso is the back's own
    // axis.
    LenteOptica optica;
    bool compensada = false;
    // What a lensmeter reads on the made lens: the front's contribution at
    // the back vertex plus the back's power.
    EsferoCilindro frontofocometro;
};

// The lens for a prescription as worn. Without tilt or wrap it is the
// solver's own lens. Otherwise the back is found by Newton's method so that
// the power at the primary gaze equals the prescription, alternating with
// the centre solved for that fixed back (every rule of the solver) until the
// thickness settles. The reason, in Spanish, when no lens can be made.
SolucionEnUso ResolverEnUso(const Pedido& pedido, std::span<const Punto> borde, const Montaje& montaje);

// The optics of a solved lens, its back along the given axis.
LenteOptica OpticaDe(const Pedido& pedido, const Resultado& r, double ejeReverso);

} // namespace lente
