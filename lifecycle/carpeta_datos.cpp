#include "carpeta_datos.h"

#include "motivos.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

CarpetaDatos::CarpetaDatos(std::filesystem::path carpeta) : m_carpeta(std::move(carpeta)) {}

std::filesystem::path CarpetaDatos::PorDefecto()
{
#ifdef _WIN32
    return std::filesystem::path("C:\\KORVEN\\win\\");
#else
    std::filesystem::path base;
    if (const char* home = std::getenv("HOME"); home && *home)
        base = home;
    else if (const passwd* cuenta = ::getpwuid(::getuid()); cuenta && cuenta->pw_dir && *cuenta->pw_dir)
        base = cuenta->pw_dir;
    else
        return {};
    return base / "KORVEN" / "win";
#endif
}

bool CarpetaDatos::Preparar(std::string& error) const
{
    if (m_carpeta.empty()) {
        error = "no se indicó ninguna carpeta de datos y no se conoce la carpeta personal del usuario";
        return false;
    }
    return RevisarCarpeta(m_carpeta, true, error) == EstadoCarpeta::Lista;
}
