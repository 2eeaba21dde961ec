#pragma once

#include <string>

class UbicacionCatalogo;

struct ResultadoCopia {
    bool copiado = false;
    long long materiales = 0;
    // When not copied: why, in Spanish, naming the catalogue.
    std::string error;
};

// Copies every material of one catalogue into another, the embedded file
// onto a laboratory's server for one, keeping each record's Id, names and
// figures, in one transaction of the destination: it holds all of them or
// none. The origin must exist and is only read. A missing destination is
// created empty; one that already holds materials is left alone unless
// reemplazar, which deletes them in the same transaction. New records of the
// destination then get Ids above every one copied.
ResultadoCopia CopiarCatalogo(const UbicacionCatalogo& origen, const UbicacionCatalogo& destino, bool reemplazar);
