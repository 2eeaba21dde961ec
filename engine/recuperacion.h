#pragma once

#include "dialogos.h"
#include "mensajes.h"
#include "numerico.h"

#include <string_view>

// The lens routines' answer to a numeric failure: tell the user, load a
// sample lens into the routine's arguments and compute again, so that the
// caller can finish. A sample that failed too would fail forever, so the
// routine stops after the second message.
template <class Pasos, class CargarMuestra>
void ConRecuperacion(Dialogos& dialogos, int& recuperado, std::string_view texto, Pasos pasos,
                     CargarMuestra cargarMuestra)
{
    for (int intento = 0; intento < 2; ++intento) {
        try {
            pasos();
            return;
        } catch (const numerico::Falla&) {
            dialogos.Mensaje(mensajes::kTituloDatosErroneos, texto, Icono::Exclamacion);
        }
        if (intento == 0) {
            cargarMuestra();
            recuperado = 1;
        }
    }
}
