#include "archivos_diseno.h"

#include "archivos.h"
#include "estado_diseno.h"
#include "registro_diseno.h"
#include "ruta_legible.h"

std::string FallaArchivo::Texto() const
{
    return "No se pudo grabar el archivo " + RutaLegible(archivo) + ": " + motivo +
           ".\nSe conserva la versión anterior del archivo, si la había.";
}

namespace {

std::optional<FallaArchivo> guardarRegistro(const std::filesystem::path& archivo, const EstadoDiseno& estado)
{
    std::string error;
    if (GuardarRegistroUnico(archivo, RegistroDiseno::De(estado), error))
        return std::nullopt;
    return FallaArchivo{archivo, error};
}

} // namespace

std::optional<FallaArchivo> GuardarDatos(const CarpetaDatos& carpeta, const EstadoDiseno& estado)
{
    return guardarRegistro(carpeta.Archivo(CarpetaDatos::kDatos), estado);
}

std::vector<FallaArchivo> GrabarArchivosDeCierre(const CarpetaDatos& carpeta, const EstadoDiseno& estado)
{
    std::vector<FallaArchivo> fallas;
    if (auto falla = guardarRegistro(carpeta.Archivo(CarpetaDatos::kUltimoDiseno), estado))
        fallas.push_back(*falla);
    const std::filesystem::path marca = carpeta.Archivo(CarpetaDatos::kFinDrovena);
    std::string error;
    if (!ReemplazarArchivo(marca, "Fin Drovena Ok\r\n", error))
        fallas.push_back({marca, error});
    return fallas;
}
