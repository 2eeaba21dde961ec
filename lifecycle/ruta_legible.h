#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Paths travel in the system's own encoding, whatever bytes they hold; only
// what is shown to the user is turned into text.

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing beyond U+10FFFF): the only file names the toolkit can name.
bool EsUtf8(std::string_view bytes);

// Bytes from outside (a path, a command-line argument) as UTF-8 text for a
// message: a byte that is not part of a well-formed character is written as
// \xHH, so the user still sees which folder or value is meant.
std::string TextoLegible(std::string_view bytes);
inline std::string RutaLegible(const std::filesystem::path& ruta) { return TextoLegible(ruta.native()); }
