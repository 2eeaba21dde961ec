#include "archivo_temporal.h"

#include "archivos.h"
#include "motivos.h"

#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kIntentos = 100;

// Twelve random letters and digits: 62^12 names, so a name planted in
// advance is hit only by chance, and a hit costs one more attempt.
std::string sufijoAzar()
{
    static constexpr char kLetras[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char azar[12];
    if (::getrandom(azar, sizeof azar, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof azar)) {
        // Without the kernel's generator (early boot), the clock still makes
        // collisions rare; the exclusive creation keeps them harmless.
        auto t = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
        for (unsigned char& a : azar) {
            t = t * 6364136223846793005ULL + 1442695040888963407ULL;
            a = static_cast<unsigned char>(t >> 56);
        }
    }
    std::string sufijo;
    for (const unsigned char a : azar)
        sufijo += kLetras[a % 62];
    return sufijo;
}

constexpr std::string_view kMarcaTemporal = ".tmp-";
constexpr size_t kLargoSufijo = 12;

bool esSufijo(std::string_view s)
{
    if (s.size() != kLargoSufijo)
        return false;
    for (const char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

// The leftovers of killed writers among the folder's names that `esResto`
// picks. A writer holds its file locked until it is done, so an unlocked one
// is nobody's. Only this user's regular files with one name are touched;
// one just created and still empty may not be locked yet.
void quitarRestos(int carpeta, const std::function<bool(std::string_view)>& esResto)
{
    const int copia = ::fcntl(carpeta, F_DUPFD_CLOEXEC, 0);
    DIR* dir = copia >= 0 ? ::fdopendir(copia) : nullptr;
    if (!dir) {
        if (copia >= 0)
            ::close(copia);
        return;
    }
    const auto ahora = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    while (const dirent* entrada = ::readdir(dir)) {
        if (!esResto(entrada->d_name))
            continue;
        Descriptor fd(::openat(carpeta, entrada->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st {};
        if (!fd.abierto() || ::fstat(fd.fd(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
            st.st_nlink != 1 || (st.st_size == 0 && ahora - st.st_mtime < 5))
            continue;
        if (::flock(fd.fd(), LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(carpeta, entrada->d_name, 0);
    }
    ::closedir(dir);
}

// Temporaries of this name (of every name, when empty).
void quitarRestos(int carpeta, const std::string& nombreFinal)
{
    quitarRestos(carpeta, [&](std::string_view nombre) {
        return EsNombreTemporal(nombre) &&
               (nombreFinal.empty() || nombre.substr(0, nombre.rfind(kMarcaTemporal)) == nombreFinal);
    });
}

} // namespace

bool EsNombreTemporal(std::string_view nombre)
{
    const size_t marca = nombre.rfind(kMarcaTemporal);
    return marca != std::string_view::npos && marca != 0 && esSufijo(nombre.substr(marca + kMarcaTemporal.size()));
}

void QuitarRestos(const std::filesystem::path& carpeta, const std::function<bool(std::string_view)>& esResto)
{
    const Descriptor fd(::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.abierto())
        quitarRestos(fd.fd(), esResto);
}

ArchivoTemporal::ArchivoTemporal(std::filesystem::path destino) : m_destino(std::move(destino)) {}

ArchivoTemporal::~ArchivoTemporal()
{
    m_archivo.Cerrar();
    if (!m_nombre.empty() && !m_confirmado)
        ::unlinkat(m_carpeta.fd(), m_nombre.c_str(), 0);
}

bool ArchivoTemporal::Crear(std::string& error, Restos restos)
{
    if (!m_carpeta.Abrir(m_destino, error))
        return false;
    const std::string& nombreFinal = m_carpeta.nombre();
    if (restos != Restos::Dejar)
        quitarRestos(m_carpeta.fd(), restos == Restos::DeLaCarpeta ? std::string() : nombreFinal);
    // Nothing but a regular file is ever replaced: a link, a device or a
    // pipe at the name is somebody else's, and a folder is no file.
    error = QueImpideEscribir(m_carpeta.fd(), nombreFinal);
    if (!error.empty())
        return false;
    struct stat st {};
    const bool existe = ::fstatat(m_carpeta.fd(), nombreFinal.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    for (int intento = 0; intento < kIntentos; ++intento) {
        const std::string nombre = nombreFinal + std::string(kMarcaTemporal) + sufijoAzar();
        m_archivo = Descriptor(
            ::openat(m_carpeta.fd(), nombre.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (m_archivo.abierto()) {
            m_nombre = nombre;
            ::flock(m_archivo.fd(), LOCK_EX | LOCK_NB);
            // Permissions someone gave this user's own file stay with it.
            if (existe && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
                ::fchmod(m_archivo.fd(), st.st_mode & 0777);
            return true;
        }
        if (errno == EEXIST)
            continue;
        const int numero = errno;
        error = numero == EACCES || numero == EPERM ? "no tiene permiso para escribir en la carpeta del archivo"
                                                    : MotivoSistema(numero);
        return false;
    }
    error = "no se encontró un nombre libre para el archivo temporal";
    return false;
}

bool ArchivoTemporal::Escribir(std::string_view contenido, std::string& error)
{
    while (!contenido.empty()) {
        const ssize_t n = ::write(m_archivo.fd(), contenido.data(), contenido.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = MotivoSistema(n < 0 ? errno : ENOSPC);
            return false;
        }
        contenido.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool ArchivoTemporal::Confirmar(std::string& error)
{
    if (::fsync(m_archivo.fd()) != 0 || !m_archivo.Cerrar()) {
        error = MotivoSistema(errno);
        return false;
    }
    if (!renombrar(error))
        return false;
    // The rename itself reaches the disk with the folder; a file system that
    // cannot flush folders has nothing more to offer, and the file is whole.
    ::fsync(m_carpeta.fd());
    return true;
}

bool ArchivoTemporal::ConfirmarVolcado(std::string& error)
{
    if (!m_archivo.Cerrar()) {
        error = MotivoSistema(errno);
        return false;
    }
    return renombrar(error);
}

bool ArchivoTemporal::renombrar(std::string& error)
{
    // Looked at again: something may have been put at the name meanwhile.
    error = QueImpideEscribir(m_carpeta.fd(), m_carpeta.nombre());
    if (!error.empty())
        return false;
    if (::renameat(m_carpeta.fd(), m_nombre.c_str(), m_carpeta.fd(), m_carpeta.nombre().c_str()) != 0) {
        const int numero = errno;
        if (numero == EISDIR || numero == ENOTEMPTY || numero == EEXIST)
            error = "en lugar del archivo hay una carpeta con ese nombre";
        else if (numero == EACCES || numero == EPERM)
            error = "no tiene permiso para reemplazar el archivo";
        else
            error = MotivoSistema(numero);
        return false;
    }
    m_confirmado = true;
    return true;
}
