#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Writing files the other programs read, so that a crash, a full disk or a
// reader at the wrong moment never finds a half-written file.

// Writes the contents to a file beside the target, flushes it to disk and
// renames it over the target. Returns false with a Spanish reason otherwise;
// the target is then left as it was.
bool ReemplazarArchivo(const std::filesystem::path& archivo, std::string_view contenido, std::string& error);

// Writes the bytes at the offset, extending the file; on failure the file is
// cut back to its former length.
bool EscribirEn(const std::filesystem::path& archivo, std::uintmax_t desplazamiento, std::string_view contenido,
                std::string& error);
