#pragma once

#include "numero.h"

#include <string>
#include <string_view>

// Numbers as the windows show them. The decimal point is always "." and the
// thousands separator ",", whatever the machine's regional settings, so that
// anything shown can be typed back in.

// The value of a box's text: its leading number (blanks skipped, an optional
// sign, digits with at most one "." as decimal point); 0 when there is none
// or when it lies beyond what a double can hold.
double LeerNumero(std::string_view texto);

// Shortest decimal text with up to 15 significant digits, no trailing zeros:
// 3.5, 4, -0.25. An unset value shows as an empty text.
std::string TextoPlano(double valor);
std::string TextoPlano(const Numero& valor);
// The same for a value read from a design record, which holds singles: the
// shortest text that reads back as the same single (60.3, not 60.2999992).
std::string TextoPlanoSimple(float valor);

// "###0.000": three decimals, at least one integer digit, halves away from zero.
std::string Formato3(double valor);

// "##,##0.00": two decimals with thousands grouping.
std::string FormatoMiles(double valor);

// "+#0.00" for zero and positive values, "#0.00" for negative ones; a value
// too small to show is its rounding, +0.00.
std::string FormatoPoder(double valor);

// The power box's text reformatted: "+#0.00" for zero and positive values,
// "#0.00" for negative ones (2.5 -> +2.50, -1.25 -> -1.25).
std::string FormatearPoder(std::string_view texto);
