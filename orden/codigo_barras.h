#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A Code 128 symbol as its dark bars, measured in modules (the width of the
// narrowest bar), without quiet zones.
struct CodigoBarras {
    struct Barra {
        int inicio = 0;
        int ancho = 0;
    };
    int modulos = 0;
    std::vector<Barra> barras;
};

// The symbol of an ASCII text, encoded by the barcode library. Nothing, with
// the library's reason, when it refuses the text.
std::optional<CodigoBarras> CodificarCode128(std::string_view texto, std::string& error);
