#pragma once

#include "archivos.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct EstadoDiseno;

// The 43-byte design record shared with the other programs of the
// installation: eight little-endian IEEE singles and the material name in the
// Windows-1252 code page, padded with blanks and cut at 11 bytes.
struct RegistroDiseno {
    static constexpr size_t kLargo = 43;
    static constexpr size_t kLargoNombre = 11;

    double PoderExterno = 0;
    double PoderInterno = 0;
    double IndiceMaterial = 0;
    double DiametroInicial = 0;
    double EspesorBorde = 0;
    double EspesorCentral = 0;
    double PoderVertice = 0;
    double Densidad = 0;
    std::string NombreMaterial; // UTF-8

    // Why the record cannot be a lens the design window saved, in Spanish and
    // naming the value at fault: a value that is not a number or is far
    // beyond any lens, a material index outside (1, 3), a diameter, centre
    // thickness, vertex power or density of zero or below, a negative edge.
    // Nothing for a sound record. A damaged record is neither drawn nor
    // printed.
    std::optional<std::string> Problema() const;

    // The design as it stands; unset values are written as 0.
    static RegistroDiseno De(const EstadoDiseno& estado);

    // The record's bytes, or nothing when a value does not fit in a single
    // (a file must never receive an infinity).
    std::optional<std::array<std::uint8_t, kLargo>> Codificar() const;
    static RegistroDiseno Decodificar(const std::uint8_t* bytes);
};

// Replaces the file with one record: written beside it and renamed over it,
// so that the previous file stays whole until the new one is complete.
// Returns false with a Spanish reason when it cannot.
bool GuardarRegistroUnico(const std::filesystem::path& archivo, const RegistroDiseno& registro, std::string& error);

// Appends the record after the last one, under a lock that another bench
// appending to the same file waits for. A file that is not whole records is
// refused; a failed write leaves the file as it was.
bool GrabarRegistro(const std::filesystem::path& archivo, const RegistroDiseno& registro, std::string& error);

// The records of a file, from the first, as far as whole records go; a file
// that is missing or cannot be read (see LeerArchivo) has none, and the
// reason is given.
Lectura LeerRegistros(const std::filesystem::path& archivo, std::vector<RegistroDiseno>& registros, std::string& error);
// The same, for a reader that only needs the records.
std::vector<RegistroDiseno> LeerRegistros(const std::filesystem::path& archivo);

// UTF-8 to and from the Windows-1252 code page; characters it lacks become "?".
std::string ACp1252(const std::string& utf8);
std::string DeCp1252(const std::string& cp1252);
