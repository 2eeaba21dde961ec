#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// The files shared with the other programs of the installation, written so
// that a crash, a full disk or a reader at the wrong moment never finds a
// half-written file, and read so that nothing planted at a name (a pipe that
// never delivers, a device, a folder) can stop the program. Failures come
// back as a Spanish reason for the user.

// Writes the contents to a new file beside the target and renames it over the
// target (see ArchivoTemporal). Returns false with the reason otherwise; the
// target is then left as it was.
bool ReemplazarArchivo(const std::filesystem::path& archivo, std::string_view contenido, std::string& error);

// Writes the bytes into the regular file at the path, created when missing,
// at the offset that `desplazamiento` gives for the file's present length.
// A link at the name is never followed, and a pipe, a device or a folder is
// refused without waiting on it. A failed write puts back the bytes it
// overwrote and cuts the file to its former length, so no part of a record
// is ever left behind.
bool EscribirEn(const std::filesystem::path& archivo,
                const std::function<std::uintmax_t(std::uintmax_t largo)>& desplazamiento, std::string_view contenido,
                std::string& error);

enum class Lectura { Leido, NoExiste, Rechazado };

// Files of this installation hold a few records or numbers; anything far
// larger is not one of them.
inline constexpr std::uintmax_t kLecturaMaxima = 16 * 1024 * 1024;

// Reads a whole regular file. A link is followed, but what it leads to must
// be a regular file: a pipe, a device or a folder is refused at once, without
// waiting for data. NoExiste when the folder is there and the file is not;
// Rechazado, with the reason, for everything else that is not a readable
// regular file of at most `maximo` bytes.
Lectura LeerArchivo(const std::filesystem::path& archivo, std::string& contenido, std::string& error,
                    std::uintmax_t maximo = kLecturaMaxima);
