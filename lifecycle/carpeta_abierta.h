#pragma once

#include "descriptor.h"

#include <filesystem>
#include <string>

// The folder that holds a file, opened once. Every later step (creating,
// opening, renaming) names the file relative to it, so the file lands in
// that folder and nowhere else even when the path changes meanwhile.
class CarpetaAbierta {
public:
    // Opens the folder of `archivo`. A name without a folder is refused: the
    // data layer writes only into the folder it was given, never into
    // whatever folder the program happened to start in. A folder that is
    // missing or not a folder gets a reason naming the part of the path at
    // fault.
    bool Abrir(const std::filesystem::path& archivo, std::string& error);

    int fd() const { return m_carpeta.fd(); }
    // The file's own name inside the folder.
    const std::string& nombre() const { return m_nombre; }

private:
    Descriptor m_carpeta;
    std::string m_nombre;
};
