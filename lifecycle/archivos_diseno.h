#pragma once

#include "carpeta_datos.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct EstadoDiseno;

struct FallaArchivo {
    std::filesystem::path archivo;
    std::string motivo;

    // Title and text of the box that tells the user.
    static constexpr const char* kTitulo = "No se pudo grabar el archivo";
    std::string Texto() const;
};

// "Guardar Datos": DATA.DAT replaced by the design as it stands.
std::optional<FallaArchivo> GuardarDatos(const CarpetaDatos& carpeta, const EstadoDiseno& estado);

// The files left for the other programs at exit: LastData.DAT with the design,
// then the end marker FinDrovena.DAT. Each is attempted even when the other
// fails; the failures are returned in that order.
std::vector<FallaArchivo> GrabarArchivosDeCierre(const CarpetaDatos& carpeta, const EstadoDiseno& estado);
