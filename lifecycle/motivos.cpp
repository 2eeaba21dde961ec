#include "motivos.h"

#include "ruta_legible.h"

#include <cerrno>
#include <sys/stat.h>

std::string MotivoSistema(int numero)
{
    switch (numero) {
    case EACCES:
    case EPERM:
        return "no tiene permiso";
    case EROFS:
        return "la carpeta está en un medio de solo lectura";
    case ENOSPC:
        return "el disco está lleno";
    case EDQUOT:
        return "se agotó la cuota de disco del usuario";
    case EFBIG:
        return "el archivo superaría el tamaño máximo permitido";
    case EIO:
        return "falló el disco (error de entrada o salida)";
    case ENOENT:
        return "no existe";
    case ENOTDIR:
        return "una parte del camino es un archivo y no una carpeta";
    case EISDIR:
        return "es una carpeta";
    case ELOOP:
        return "el camino pasa por un enlace simbólico que no se sigue, o por demasiados enlaces";
    case ENAMETOOLONG:
        return "el nombre es demasiado largo";
    case EMFILE:
    case ENFILE:
        return "hay demasiados archivos abiertos";
    case EBUSY:
    case ETXTBSY:
        return "el archivo está en uso";
    case ENXIO:
        return "no es un archivo común";
    case EAGAIN:
        return "el archivo está ocupado por otro programa";
    default:
        return "el sistema informó el error número " + std::to_string(numero);
    }
}

std::string DescribirTipo(mode_t modo)
{
    if (S_ISREG(modo))
        return "un archivo";
    if (S_ISDIR(modo))
        return "una carpeta";
    if (S_ISFIFO(modo))
        return "una tubería con nombre (FIFO)";
    if (S_ISLNK(modo))
        return "un enlace simbólico";
    if (S_ISCHR(modo) || S_ISBLK(modo))
        return "un dispositivo";
    if (S_ISSOCK(modo))
        return "un socket";
    return "algo que no es un archivo común";
}

namespace {

std::string entreComillas(const std::filesystem::path& ruta) { return "«" + RutaLegible(ruta) + "»"; }

// A name that exists but is no folder: a dangling link reads as missing to
// stat(), so lstat() tells what is really there.
std::string queHay(const std::filesystem::path& camino)
{
    struct stat st {};
    if (::lstat(camino.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        return entreComillas(camino) + " es un enlace simbólico que no lleva a ninguna carpeta";
    if (::stat(camino.c_str(), &st) == 0)
        return entreComillas(camino) + " es " + DescribirTipo(st.st_mode) + ", no una carpeta";
    return entreComillas(camino) + ": " + MotivoSistema(errno);
}

} // namespace

EstadoCarpeta RevisarCarpeta(const std::filesystem::path& carpeta, bool crear, std::string& motivo)
{
    if (carpeta.empty()) {
        motivo = "no se indicó ninguna carpeta";
        return EstadoCarpeta::Inservible;
    }
    std::filesystem::path camino;
    for (const std::filesystem::path& parte : carpeta) {
        if (parte.empty())
            continue;
        camino /= parte;
        struct stat st {};
        if (::stat(camino.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode))
                continue;
            motivo = queHay(camino);
            return EstadoCarpeta::Inservible;
        }
        const int numero = errno;
        if (numero != ENOENT) {
            motivo = "no se puede entrar en " + entreComillas(camino) + ": " + MotivoSistema(numero);
            return EstadoCarpeta::Inservible;
        }
        if (!crear) {
            struct stat enlace {};
            if (::lstat(camino.c_str(), &enlace) == 0) {
                motivo = queHay(camino);
                return EstadoCarpeta::Inservible;
            }
            motivo = "falta " + entreComillas(camino);
            return EstadoCarpeta::Falta;
        }
        if (::mkdir(camino.c_str(), 0777) == 0)
            continue;
        const int fallo = errno;
        // Another program may make the same folder at the same moment.
        if (fallo == EEXIST && ::stat(camino.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            continue;
        motivo = fallo == EEXIST ? queHay(camino)
                                 : "no se pudo crear la carpeta " + entreComillas(camino) + ": " + MotivoSistema(fallo);
        return EstadoCarpeta::Inservible;
    }
    return EstadoCarpeta::Lista;
}
