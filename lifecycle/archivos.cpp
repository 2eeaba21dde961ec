#include "archivos.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A system error number in Spanish, for the user.
std::string DescripcionError(int numero)
{
    switch (numero) {
    case EACCES:
    case EPERM:
        return "no tiene permiso para escribir en la carpeta o el archivo";
    case EROFS:
        return "la carpeta está en un medio de solo lectura";
    case ENOSPC:
    case EDQUOT:
        return "el disco está lleno";
    case ENOENT:
    case ENOTDIR:
        return "la carpeta de datos no existe";
    case EISDIR:
        return "en su lugar hay una carpeta con ese nombre";
    default:
        return "error de escritura (código " + std::to_string(numero) + ")";
    }
}

bool escribirTodo(int fd, std::string_view contenido)
{
    const char* p = contenido.data();
    size_t quedan = contenido.size();
    while (quedan > 0) {
        const ssize_t n = ::write(fd, p, quedan);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        quedan -= static_cast<size_t>(n);
    }
    return true;
}

bool fallar(std::string& error, int numero)
{
    error = DescripcionError(numero);
    return false;
}

} // namespace

bool ReemplazarArchivo(const std::filesystem::path& archivo, std::string_view contenido, std::string& error)
{
    std::filesystem::path temporal = archivo;
    temporal += ".nuevo";
    const int fd = ::open(temporal.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return fallar(error, errno);
    if (!escribirTodo(fd, contenido) || ::fsync(fd) != 0) {
        const int numero = errno;
        ::close(fd);
        ::unlink(temporal.c_str());
        return fallar(error, numero);
    }
    if (::close(fd) != 0 || ::rename(temporal.c_str(), archivo.c_str()) != 0) {
        const int numero = errno;
        ::unlink(temporal.c_str());
        return fallar(error, numero);
    }
    return true;
}

bool EscribirEn(const std::filesystem::path& archivo, std::uintmax_t desplazamiento, std::string_view contenido,
                std::string& error)
{
    const int fd = ::open(archivo.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return fallar(error, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int numero = errno;
        ::close(fd);
        return fallar(error, numero);
    }
    const off_t largoAnterior = st.st_size;
    const char* p = contenido.data();
    size_t quedan = contenido.size();
    off_t donde = static_cast<off_t>(desplazamiento);
    while (quedan > 0) {
        const ssize_t n = ::pwrite(fd, p, quedan, donde);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int numero = errno;
            // Never leave part of a record behind.
            if (static_cast<off_t>(desplazamiento) >= largoAnterior) {
                const int recortado = ::ftruncate(fd, largoAnterior);
                (void)recortado;
            }
            ::close(fd);
            return fallar(error, numero);
        }
        p += n;
        donde += n;
        quedan -= static_cast<size_t>(n);
    }
    const bool asentado = ::fsync(fd) == 0;
    const int numero = errno;
    if (::close(fd) != 0 || !asentado)
        return fallar(error, asentado ? errno : numero);
    return true;
}
