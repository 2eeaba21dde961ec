#include "codigo_barras.h"

#include <cmath>
#include <memory>
#include <zint.h>

std::optional<CodigoBarras> CodificarCode128(std::string_view texto, std::string& error)
{
    const std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> simbolo(ZBarcode_Create(), ZBarcode_Delete);
    if (!simbolo) {
        error = "sin memoria para el código de barras";
        return std::nullopt;
    }
    simbolo->symbology = BARCODE_CODE128;
    simbolo->input_mode = DATA_MODE;
    simbolo->show_hrt = 0; // the ticket prints the number in its own type
    const int resultado = ZBarcode_Encode_and_Buffer_Vector(
        simbolo.get(), reinterpret_cast<const unsigned char*>(texto.data()), static_cast<int>(texto.size()), 0);
    if (resultado >= ZINT_ERROR || !simbolo->vector || simbolo->width <= 0) {
        error = simbolo->errtxt;
        return std::nullopt;
    }
    // The library draws in units of its own; one module is the symbol's
    // width over its module count.
    const double modulo = simbolo->vector->width / simbolo->width;
    CodigoBarras codigo;
    codigo.modulos = simbolo->width;
    for (const zint_vector_rect* r = simbolo->vector->rectangles; r; r = r->next)
        codigo.barras.push_back(
            {static_cast<int>(std::lround(r->x / modulo)), static_cast<int>(std::lround(r->width / modulo))});
    return codigo;
}
