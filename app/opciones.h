#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Command-line options shared by Vantora's programs: "--nombre valor" pairs
// (or "--nombre=valor"), numbers written with a point, the data folder, and the one-line Spanish
// error that ends a program with status 2.

inline constexpr std::string_view kOpcionDatos = "--datos";
inline constexpr int kSalidaOpcionInvalida = 2;

// A Bandera stands alone, without a value.
enum class TipoOpcion { Numero, Texto, Carpeta, Bandera };

struct DefinicionOpcion {
    std::string_view nombre;
    TipoOpcion tipo;
};

// The options of one command line, each checked against its definition.
class Opciones {
public:
    // Reads "--nombre valor" pairs, or "--nombre=valor". "--ayuda", "-h" and "--help" ask for the
    // help text. Nothing, with the reason naming the option, for an unknown
    // option, a missing value, a number that is not one or is out of range,
    // or an empty folder name.
    static std::optional<Opciones> Leer(int argc, char** argv, std::span<const DefinicionOpcion> definiciones,
                                        std::string& error);

    bool ayuda() const { return m_ayuda; }
    bool Tiene(std::string_view nombre) const { return m_textos.contains(nombre); }
    // The value as given, in the system's own encoding; empty when absent.
    std::string Texto(std::string_view nombre) const;
    // A number option's value; 0 when absent.
    double Numero(std::string_view nombre) const;
    // The folder of "--datos", or the default data folder.
    std::filesystem::path Carpeta() const;

private:
    std::map<std::string, std::string, std::less<>> m_textos;
    std::map<std::string, double, std::less<>> m_numeros;
    bool m_ayuda = false;
};

// An argument "--nombre=valor" split at its first "="; any other argument is
// a name alone.
struct OpcionPartida {
    std::string_view nombre;
    std::optional<std::string_view> valor;
};
OpcionPartida PartirOpcion(std::string_view argumento);

// A whole option value as a number: an optional sign, digits and at most one
// "." (no exponent, no comma), and within the range of the calculation's
// numbers. Nothing, with the reason, otherwise.
std::optional<double> LeerNumeroOpcion(std::string_view texto, std::string& motivo);

// For the window program, which leaves every other argument to others: the
// folder of "--datos DIR" wherever it stands, the default data folder when it
// is not given. Nothing, with the reason, when "--datos" lacks its value or
// the value is empty.
std::optional<std::filesystem::path> CarpetaDeArgumentos(int argc, char** argv, std::string& error);

// A data folder named with --datos is used as it is: only the default one is
// made when missing. Nothing when it is there; otherwise the reason, naming
// it, for a bad value (status 2).
std::optional<std::string> CarpetaDadaInservible(const std::filesystem::path& carpeta);

// "--version" and "--ayuda", "-h" or "--help", answered alike by every
// program before it reads anything else: "programa VERSION" or the help text
// on the standard output, and the status 0 to end with. Nothing when the
// command line asks for neither.
std::optional<int> ResponderVersionOAyuda(int argc, char** argv, std::string_view programa, std::string_view ayuda);

// A file named on the command line, in the system's own bytes; a bare name is
// in the folder the program was started in. (The data layer itself takes a
// name without a folder for a data folder that could not be made, and writes
// nothing there.)
std::filesystem::path RutaDeLaLinea(const std::string& texto);

// Writes "programa: mensaje" as one line on the error output: line breaks
// escaped, bytes that are not UTF-8 shown as \xHH.
void EscribirError(std::string_view programa, std::string_view mensaje);
// The same, returning the status of a bad option or value.
int FallarOpcion(std::string_view programa, std::string_view mensaje);
