#include "carpeta_datos.h"

#include <cstdlib>
#include <string>
#include <system_error>

CarpetaDatos::CarpetaDatos(std::filesystem::path carpeta) : m_carpeta(std::move(carpeta)) {}

std::filesystem::path CarpetaDatos::PorDefecto()
{
#ifdef _WIN32
    return std::filesystem::path("C:\\KORVEN\\win\\");
#else
    const char* home = std::getenv("HOME");
    const std::filesystem::path base = (home && *home) ? home : ".";
    return base / "KORVEN" / "win";
#endif
}

bool CarpetaDatos::Preparar(std::string& error) const
{
    std::error_code ec;
    if (std::filesystem::is_directory(m_carpeta, ec))
        return true;
    std::filesystem::create_directories(m_carpeta, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    return true;
}

std::filesystem::path CarpetaDeArgumentos(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string_view(argv[i]) == "--datos")
            return argv[i + 1];
    return CarpetaDatos::PorDefecto();
}
