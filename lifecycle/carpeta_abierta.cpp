#include "carpeta_abierta.h"

#include "motivos.h"
#include "ruta_legible.h"

#include <cerrno>
#include <fcntl.h>

bool CarpetaAbierta::Abrir(const std::filesystem::path& archivo, std::string& error)
{
    const std::filesystem::path carpeta = archivo.parent_path();
    m_nombre = archivo.filename().native();
    // Each message says which folder or name it is about: the data folder is
    // only one of the folders written into.
    if (m_nombre.empty()) {
        error = archivo.empty() ? "no se indicó el nombre del archivo"
                                : "«" + RutaLegible(archivo) + "» nombra una carpeta, no un archivo";
        return false;
    }
    if (carpeta.empty()) {
        error = "no se indicó la carpeta de datos";
        return false;
    }
    m_carpeta = Descriptor(::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (m_carpeta.abierto())
        return true;
    const int numero = errno;
    const std::string nombre = "la carpeta «" + RutaLegible(carpeta) + "»";
    std::string motivo;
    switch (RevisarCarpeta(carpeta, false, motivo)) {
    case EstadoCarpeta::Falta:
        // The part that is missing, when it is not the folder itself.
        error = nombre + " no existe" +
                (motivo == "falta «" + RutaLegible(carpeta) + "»" ? std::string() : " (" + motivo + ")");
        break;
    case EstadoCarpeta::Inservible:
        error = nombre + " no se puede usar: " + motivo;
        break;
    case EstadoCarpeta::Lista:
        error = numero == EACCES ? "no tiene permiso para entrar en " + nombre
                                 : nombre + " no se puede abrir: " + MotivoSistema(numero);
        break;
    }
    return false;
}
