#pragma once

#include <chrono>
#include <string>

class UbicacionCatalogo;

// What a first connection attempt to the catalogue's server found out.
struct SondaServidor {
    bool conectado = false;
    // The database, server and user actually tried, defaults included, for
    // messages: 'base "vantora" del servidor lab:5432, usuario optica'.
    std::string nombre;
    // When not connected: why, in Spanish.
    std::string motivo;
};

// Tries the server of the location within the time given, whatever the
// number of addresses a name resolves to, and tells apart a server that does
// not answer, a refused login and a missing database. libpq's own texts
// depend on the client's and the server's languages, so the reason is
// worked out from what the attempt reached, never from those texts. The
// password is never part of what is returned.
SondaServidor SondearServidor(const UbicacionCatalogo& ubicacion, std::chrono::milliseconds plazo);
