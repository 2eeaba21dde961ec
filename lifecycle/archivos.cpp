#include "archivos.h"

#include "archivo_temporal.h"
#include "carpeta_abierta.h"
#include "descriptor.h"
#include "motivos.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An append waits this long for another program's append to finish; a lock
// held longer is not an append, and the user is told instead of kept waiting.
constexpr int kEsperasBloqueo = 50;
constexpr useconds_t kEsperaBloqueo = 100000;

bool bloquear(int fd)
{
    for (int intento = 0; intento < kEsperasBloqueo; ++intento) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        ::usleep(kEsperaBloqueo);
    }
    errno = EWOULDBLOCK;
    return false;
}

} // namespace

std::string QueImpideEscribir(int carpeta, const std::string& nombre)
{
    struct stat st {};
    if (::fstatat(carpeta, nombre.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISREG(st.st_mode))
        return {};
    if (S_ISLNK(st.st_mode))
        return "el archivo es un enlace simbólico; por seguridad no se escribe a través de enlaces";
    return "en lugar del archivo hay " + DescribirTipo(st.st_mode) + "; solo se escriben archivos comunes";
}

bool ReemplazarArchivo(const std::filesystem::path& archivo, std::string_view contenido, std::string& error)
{
    ArchivoTemporal temporal(archivo);
    return temporal.Crear(error) && temporal.Escribir(contenido, error) && temporal.Confirmar(error);
}

bool AgregarAlFinal(const std::filesystem::path& archivo, std::string_view contenido, std::uintmax_t largoBloque,
                    std::string& error)
{
    CarpetaAbierta carpeta;
    if (!carpeta.Abrir(archivo, error))
        return false;
    // Non-blocking, so that a pipe at the name cannot hold the program.
    Descriptor fd(::openat(carpeta.fd(), carpeta.nombre().c_str(),
                           O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    if (!fd.abierto()) {
        const int numero = errno;
        std::string motivo;
        if (numero == ELOOP || numero == EISDIR || numero == ENXIO)
            motivo = QueImpideEscribir(carpeta.fd(), carpeta.nombre());
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
        error = "en lugar del archivo hay " + DescribirTipo(st.st_mode) + "; solo se escriben archivos comunes";
        return false;
    }
    // A second name may be someone else's file that was linked here.
    if (st.st_nlink > 1) {
        error = "el archivo tiene otros nombres (enlaces duros); por seguridad no se escribe en él";
        return false;
    }
    if (!bloquear(fd.fd())) {
        error =
            errno == EWOULDBLOCK ? "otro programa tiene el archivo en uso; intente nuevamente" : MotivoSistema(errno);
        return false;
    }
    // The length is taken under the lock: another program may have appended
    // meanwhile.
    if (::fstat(fd.fd(), &st) != 0) {
        error = MotivoSistema(errno);
        return false;
    }
    const off_t largo = st.st_size;
    if (largoBloque > 0 && static_cast<std::uintmax_t>(largo) % largoBloque != 0) {
        error = "el archivo no está formado por registros enteros de " + std::to_string(largoBloque) +
                " bytes: está dañado";
        return false;
    }
    int numero = 0;
    while (!contenido.empty()) {
        const ssize_t n = ::write(fd.fd(), contenido.data(), contenido.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            numero = n < 0 ? errno : ENOSPC;
            break;
        }
        contenido.remove_prefix(static_cast<size_t>(n));
    }
    if (numero == 0 && ::fsync(fd.fd()) == 0)
        return true;
    if (numero == 0)
        numero = errno;
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
