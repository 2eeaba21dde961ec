#include "archivos.h"

#include "archivo_temporal.h"
#include "carpeta_abierta.h"
#include "descriptor.h"
#include "motivos.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// What stands at the name instead of a regular file, for the message.
std::string queHayEnLugar(int carpeta, const std::string& nombre)
{
    struct stat st {};
    if (::fstatat(carpeta, nombre.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    if (S_ISLNK(st.st_mode))
        return "el archivo es un enlace simbólico; por seguridad no se escribe a través de enlaces";
    return "en lugar del archivo hay " + DescribirTipo(st.st_mode) + "; solo se usan archivos comunes";
}

bool escribirEn(int fd, std::string_view bytes, off_t donde, int& numero)
{
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), donde);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            numero = n < 0 ? errno : ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
        donde += n;
    }
    return true;
}

} // namespace

bool ReemplazarArchivo(const std::filesystem::path& archivo, std::string_view contenido, std::string& error)
{
    ArchivoTemporal temporal(archivo);
    return temporal.Crear(error) && temporal.Escribir(contenido, error) && temporal.Confirmar(error);
}

bool EscribirEn(const std::filesystem::path& archivo,
                const std::function<std::uintmax_t(std::uintmax_t largo)>& desplazamiento, std::string_view contenido,
                std::string& error)
{
    CarpetaAbierta carpeta;
    if (!carpeta.Abrir(archivo, error))
        return false;
    // Non-blocking, so that a pipe at the name cannot hold the program; read
    // and write, so that overwritten bytes can be put back.
    Descriptor fd(
        ::openat(carpeta.fd(), carpeta.nombre().c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    if (!fd.abierto()) {
        const int numero = errno;
        std::string motivo;
        if (numero == ELOOP || numero == EISDIR || numero == ENXIO)
            motivo = queHayEnLugar(carpeta.fd(), carpeta.nombre());
        if (motivo.empty())
            motivo = numero == EACCES || numero == EPERM ? "no tiene permiso para escribir el archivo"
                                                         : MotivoSistema(numero);
        error = motivo;
        return false;
    }
    struct stat st {};
    if (::fstat(fd.fd(), &st) != 0) {
        error = MotivoSistema(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "en lugar del archivo hay " + DescribirTipo(st.st_mode) + "; solo se usan archivos comunes";
        return false;
    }

    const off_t largo = st.st_size;
    const auto donde = static_cast<off_t>(desplazamiento(static_cast<std::uintmax_t>(largo)));
    // The bytes the new ones will cover, kept to be put back.
    std::string pisados;
    if (donde < largo) {
        pisados.resize(
            static_cast<size_t>(std::min<off_t>(largo, donde + static_cast<off_t>(contenido.size())) - donde));
        if (::pread(fd.fd(), pisados.data(), pisados.size(), donde) != static_cast<ssize_t>(pisados.size())) {
            error = MotivoSistema(errno);
            return false;
        }
    }
    int numero = 0;
    if (escribirEn(fd.fd(), contenido, donde, numero)) {
        if (::fsync(fd.fd()) == 0)
            return true;
        numero = errno;
    }
    int ignorado = 0;
    escribirEn(fd.fd(), pisados, donde, ignorado);
    if (::ftruncate(fd.fd(), largo) == 0)
        ::fsync(fd.fd());
    error = MotivoSistema(numero);
    return false;
}

Lectura LeerArchivo(const std::filesystem::path& archivo, std::string& contenido, std::string& error,
                    std::uintmax_t maximo)
{
    contenido.clear();
    CarpetaAbierta carpeta;
    if (!carpeta.Abrir(archivo, error))
        return Lectura::Rechazado;
    // Non-blocking: opening a pipe for reading would otherwise wait for a
    // writer that may never come.
    Descriptor fd(::openat(carpeta.fd(), carpeta.nombre().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.abierto()) {
        const int numero = errno;
        if (numero == ENOENT) {
            struct stat st {};
            if (::fstatat(carpeta.fd(), carpeta.nombre().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
                return Lectura::NoExiste;
            error = "el archivo es un enlace simbólico que no lleva a ningún archivo";
            return Lectura::Rechazado;
        }
        error = numero == EACCES ? "no tiene permiso para leer el archivo" : MotivoSistema(numero);
        return Lectura::Rechazado;
    }
    struct stat st {};
    if (::fstat(fd.fd(), &st) != 0) {
        error = MotivoSistema(errno);
        return Lectura::Rechazado;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "en lugar del archivo hay " + DescribirTipo(st.st_mode) + "; solo se leen archivos comunes";
        return Lectura::Rechazado;
    }
    // The size is read as it comes, not trusted from fstat(): the file may
    // grow while it is read.
    char bloque[4096];
    for (;;) {
        const ssize_t n = ::read(fd.fd(), bloque, sizeof bloque);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = MotivoSistema(errno);
            return Lectura::Rechazado;
        }
        if (n == 0)
            return Lectura::Leido;
        if (contenido.size() + static_cast<size_t>(n) > maximo) {
            error = "el archivo es demasiado grande (más de " + std::to_string(maximo) + " bytes)";
            contenido.clear();
            return Lectura::Rechazado;
        }
        contenido.append(bloque, static_cast<size_t>(n));
    }
}
