#include "carpeta_abierta.h"

#include "motivos.h"

#include <cerrno>
#include <fcntl.h>

bool CarpetaAbierta::Abrir(const std::filesystem::path& archivo, std::string& error)
{
    const std::filesystem::path carpeta = archivo.parent_path();
    m_nombre = archivo.filename().native();
    if (carpeta.empty() || m_nombre.empty()) {
        error = "no se indicó la carpeta de datos";
        return false;
    }
    m_carpeta = Descriptor(::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (m_carpeta.abierto())
        return true;
    const int numero = errno;
    std::string motivo;
    switch (RevisarCarpeta(carpeta, false, motivo)) {
    case EstadoCarpeta::Falta:
        error = "la carpeta de datos no existe (" + motivo + ")";
        break;
    case EstadoCarpeta::Inservible:
        error = "la carpeta de datos no se puede usar: " + motivo;
        break;
    case EstadoCarpeta::Lista:
        error = numero == EACCES ? "no tiene permiso para entrar en la carpeta de datos"
                                 : "la carpeta de datos no se puede abrir: " + MotivoSistema(numero);
        break;
    }
    return false;
}
