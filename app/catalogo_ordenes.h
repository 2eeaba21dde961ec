#pragma once

#include "base_materiales.h"
#include "opciones.h"

#include <memory>
#include <string>

// The materials catalogue that a command-line program was pointed at, and why
// it cannot be used when it cannot.
struct CatalogoDeOrdenes {
    std::unique_ptr<BaseMateriales> base;
    std::string error; // empty while the catalogue can be used
    int estado = 0; // the exit status the error calls for
};

// The catalogue of --catalogo, else VANTORA_CATALOGO, else vantora.ini's key,
// else the data folder's file; a --catalogo that cannot be used is a bad
// value (status 2). Nothing is opened yet.
CatalogoDeOrdenes ElegirCatalogoDeOrdenes(const Opciones& o);
// Prepares the folder of a file catalogue (the default data folder is made
// when missing, a --datos folder must be there) and opens the store: a
// folder that cannot be used is a bad value (status 2), a catalogue that cannot be used
// finds no material (status 3). Returns false with c.error set.
bool AbrirCatalogoDeOrdenes(CatalogoDeOrdenes& c, const Opciones& o);
