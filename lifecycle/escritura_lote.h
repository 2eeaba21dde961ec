#pragma once

#include "archivo_temporal.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// Many whole files written as one. Each goes beside its target under a
// temporary name, as ArchivoTemporal does, but instead of a flush to the disk
// for every file, one flush of the whole file system (syncfs) puts a batch of
// them on the disk before they are renamed over their targets, and their
// folder is flushed once. A crash still leaves every target either old or
// new and whole; the leftover temporaries are removed by the next batch in
// that folder or the next write to their names.
class EscrituraEnLote {
public:
    // `fallo` hears of each file that could not be put in place, with the
    // reason in Spanish; a batch is put in place when it is full and at the end.
    explicit EscrituraEnLote(std::function<void(const std::filesystem::path&, const std::string&)> fallo);
    // Puts in place whatever is still waiting.
    ~EscrituraEnLote();
    EscrituraEnLote(const EscrituraEnLote&) = delete;
    EscrituraEnLote& operator=(const EscrituraEnLote&) = delete;

    // Writes the file's contents beside it; false, with the reason, when even
    // that fails (the target is then untouched).
    bool Agregar(const std::filesystem::path& destino, std::string_view contenido, std::string& error);
    // Flushes and renames every file waiting.
    void Confirmar();

    // Files kept open at once: few enough for any descriptor limit, many
    // enough that the flush costs little per file.
    static constexpr std::size_t kTanda = 128;

private:
    struct Pendiente {
        std::filesystem::path destino;
        std::unique_ptr<ArchivoTemporal> archivo;
    };
    std::function<void(const std::filesystem::path&, const std::string&)> m_fallo;
    std::vector<Pendiente> m_pendientes;
    std::set<std::filesystem::path> m_carpetas; // folders already swept of leftovers
};
