#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The files shared with the other programs of the installation, written so
// that a crash, a full disk or a reader at the wrong moment never finds a
// half-written file, and read so that nothing planted at a name (a pipe that
// never delivers, a device, a folder) can stop the program. Failures come
// back as a Spanish reason for the user.

// Writes the contents to a new file beside the target and renames it over the
// target (see ArchivoTemporal). Whatever stands at the target's name other
// than a regular file (a link, a device, a pipe, a folder) is refused, never
// followed or replaced. Returns false with the reason otherwise; the target
// is then left as it was.
bool ReemplazarArchivo(const std::filesystem::path& archivo, std::string_view contenido, std::string& error);

// Appends the bytes to the regular file at the path, created when missing,
// with O_APPEND and under an advisory lock, so that two programs appending
// at once keep both. The file must hold whole blocks of `largoBloque` bytes.
// A link, a file with other names (a hard link), a pipe, a device or a
// folder is refused without waiting on it. A failed write cuts the file back
// to its former length, so no part of a block is ever left behind.
bool AgregarAlFinal(const std::filesystem::path& archivo, std::string_view contenido, std::uintmax_t largoBloque,
                    std::string& error);

// What stands at the name instead of a regular file, as the reason a write
// refuses it; empty when nothing is there or a regular file is.
std::string QueImpideEscribir(int carpeta, const std::string& nombre);

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
