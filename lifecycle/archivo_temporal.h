#pragma once

#include "carpeta_abierta.h"
#include "descriptor.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// Whether a name is that of one of these temporaries ("NAME.tmp-" and twelve
// letters or digits): a file never whole, a writer's while it lives and a
// leftover once it was killed, never to be read as the file it stands for.
bool EsNombreTemporal(std::string_view nombre);

// Removes the leftovers of killed writers from the folder: the names that
// `esResto` picks, when they are this user's regular files with one name
// that no writer holds locked (a writer of such files holds an advisory
// lock, flock(), on each until it is done).
void QuitarRestos(const std::filesystem::path& carpeta, const std::function<bool(std::string_view)>& esResto);

// A new file beside a target, written whole and then renamed over it, so that
// a crash, a full disk or a reader at the wrong moment finds either the old
// file or the new one, never a part.
//
// The temporary file gets a random name and is created exclusively, never
// through a link: nothing planted beside the target (a link to someone
// else's file, a pipe, a folder) is ever opened or written. Until Confirmar()
// succeeds, the destructor closes and removes it, whatever path the caller
// takes out of its scope.
class ArchivoTemporal {
public:
    explicit ArchivoTemporal(std::filesystem::path destino);
    ~ArchivoTemporal();
    ArchivoTemporal(const ArchivoTemporal&) = delete;
    ArchivoTemporal& operator=(const ArchivoTemporal&) = delete;

    // Which leftovers of a killed writer Crear() removes: this target's, every
    // target's in the folder (a writer of many files, once per folder), or
    // none (for the same writer's later files there).
    enum class Restos { DelArchivo, DeLaCarpeta, Dejar };
    // Creates the temporary file in the target's folder, locked until it is
    // renamed, and removes the temporaries that a killed writer left. Refuses
    // a target name held by anything but a regular file. A regular target
    // file of this user keeps its permissions in the replacement.
    bool Crear(std::string& error, Restos restos = Restos::DelArchivo);
    bool Escribir(std::string_view contenido, std::string& error);
    // Flushes the file to the disk and renames it over the target, unless
    // something other than a regular file has meanwhile taken its name.
    bool Confirmar(std::string& error);
    // The same for a file already on the disk because its whole file system
    // was flushed (see EscrituraEnLote): renamed over the target, the folder
    // left for the caller to flush once for many files.
    bool ConfirmarVolcado(std::string& error);
    int descriptor() const { return m_archivo.fd(); }
    int carpeta() const { return m_carpeta.fd(); }

    // The temporary file's name inside the folder; empty before Crear().
    const std::string& nombre() const { return m_nombre; }

private:
    bool renombrar(std::string& error);

    std::filesystem::path m_destino;
    CarpetaAbierta m_carpeta;
    Descriptor m_archivo;
    std::string m_nombre;
    bool m_confirmado = false;
};
