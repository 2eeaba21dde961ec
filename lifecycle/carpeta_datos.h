#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The installation's data folder, the one place that knows where the files
// shared with the other programs live and what they are called.
class CarpetaDatos {
public:
    static constexpr std::string_view kDatos = "DATA.DAT";
    static constexpr std::string_view kUltimoDiseno = "LastData.DAT";
    static constexpr std::string_view kMonitor = "MONITOR.DAT";
    static constexpr std::string_view kFotos = "FotoPos.DAT";
    static constexpr std::string_view kFinDrovena = "FinDrovena.DAT";
    static constexpr std::string_view kMateriales = "materiales.mdb";

    explicit CarpetaDatos(std::filesystem::path carpeta = PorDefecto());

    // "C:\KORVEN\win\" on Windows, $HOME/KORVEN/win/ elsewhere (the account's
    // home folder when HOME is not set). Empty when no home folder is known:
    // the program never falls back on the folder it was started in.
    static std::filesystem::path PorDefecto();

    const std::filesystem::path& carpeta() const { return m_carpeta; }
    std::filesystem::path Archivo(std::string_view nombre) const { return m_carpeta / nombre; }

    // Creates the folder, and the folders above it, when missing. Returns
    // false with a Spanish reason naming the part of the path at fault (a
    // file where a folder should be, no permission, ...) when it cannot.
    bool Preparar(std::string& error) const;

private:
    std::filesystem::path m_carpeta;
};
