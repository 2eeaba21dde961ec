#pragma once

#include "dialogos.h"

#include <string>

// The character check every numeric box runs on Enter: only the characters of
// a plain decimal number written with "." are accepted. The first offending
// character is reported and the verdict set to "SI"; otherwise "NO". The text
// is emptied and the marker set to 1 in every case.
void ValidarNumero(Dialogos& dialogos, std::string& TextoIngresado, std::string& EntradaInvalida, int& MarcaEntrada);
