#include "validar_numero.h"

#include <string_view>

namespace {

// Length in bytes of the UTF-8 character that starts with this byte; a stray
// byte counts as one character of its own.
size_t largoCaracter(std::string_view texto, size_t i)
{
    const auto c = static_cast<unsigned char>(texto[i]);
    size_t largo = 1;
    if (c >= 0xF0)
        largo = 4;
    else if (c >= 0xE0)
        largo = 3;
    else if (c >= 0xC0)
        largo = 2;
    if (i + largo > texto.size())
        return 1;
    for (size_t k = 1; k < largo; ++k)
        if ((static_cast<unsigned char>(texto[i + k]) & 0xC0) != 0x80)
            return 1;
    return largo;
}

bool aceptado(unsigned char c) { return c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9'); }

} // namespace

void ValidarNumero(Dialogos& dialogos, std::string& TextoIngresado, std::string& EntradaInvalida, int& MarcaEntrada)
{
    EntradaInvalida = "NO";
    const std::string_view texto = TextoIngresado;
    for (size_t i = 0; i < texto.size();) {
        const size_t largo = largoCaracter(texto, i);
        const auto c = static_cast<unsigned char>(texto[i]);
        if (largo == 1 && aceptado(c)) {
            i += largo;
            continue;
        }
        if (c == ',') {
            dialogos.Mensaje("Coma como separador decimal",
                             "Ingrese . (punto) como único separador decimal válido para el ingreso "
                             "de datos.\nIndependientemente de la configuración regional seleccionada.",
                             Icono::Critico);
        }
        const std::string mensaje = "La cantidad ingresada: " + std::string(texto) +
                                    "\r\nno es un numero que VEXLOR pueda procesar\r\n"
                                    "reemplace el 1er. caracter incorrecto: " +
                                    std::string(texto.substr(i, largo)) + "\r\ne ingrese nuevamente el valor del dato.";
        dialogos.Mensaje("ERROR EN VARIABLE NUMERICA", mensaje, Icono::Critico);
        EntradaInvalida = "SI";
        break;
    }
    TextoIngresado.clear();
    MarcaEntrada = 1;
}
