#include "opciones.h"

#include "carpeta_datos.h"
#include "consola.h"
#include "motivos.h"
#include "ruta_legible.h"
#include "version_vantora.h"

#include <charconv>
#include <cmath>
#include <iostream>

namespace {

bool pideAyuda(std::string_view a) { return a == "--ayuda" || a == "-h" || a == "--help"; }

bool formaDeNumero(std::string_view texto)
{
    size_t i = 0;
    if (i < texto.size() && (texto[i] == '+' || texto[i] == '-'))
        ++i;
    bool digitos = false;
    bool punto = false;
    for (; i < texto.size(); ++i) {
        if (texto[i] >= '0' && texto[i] <= '9')
            digitos = true;
        else if (texto[i] == '.' && !punto)
            punto = true;
        else
            return false;
    }
    return digitos;
}

std::string comillas(std::string_view texto) { return "\"" + TextoLegible(texto) + "\""; }

bool carpetaValida(std::string_view opcion, std::string_view valor, std::string& error)
{
    if (!valor.empty())
        return true;
    error = std::string(opcion) + ": falta el nombre de la carpeta de datos";
    return false;
}

} // namespace

std::optional<double> LeerNumeroOpcion(std::string_view texto, std::string& motivo)
{
    if (!formaDeNumero(texto)) {
        motivo = comillas(texto) + " no es un número; use . (punto) como separador decimal";
        return std::nullopt;
    }
    const bool negativo = texto.front() == '-';
    if (texto.front() == '+' || negativo)
        texto.remove_prefix(1);
    double valor = 0.0;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    // A number too large for the calculation, or too close to zero to be
    // told from it, is no value at all: taking it as 0 would design a lens
    // the user never asked for.
    if (error != std::errc() || fin != texto.data() + texto.size() || !std::isfinite(valor)) {
        motivo = comillas(texto) + " está fuera del rango de los números que se pueden calcular";
        return std::nullopt;
    }
    return negativo ? -valor : valor;
}

std::optional<Opciones> Opciones::Leer(int argc, char** argv, std::span<const DefinicionOpcion> definiciones,
                                       std::string& error)
{
    Opciones opciones;
    for (int i = 1; i < argc; ++i) {
        const OpcionPartida partida = PartirOpcion(argv[i]);
        const std::string_view opcion = partida.nombre;
        if (pideAyuda(opcion)) {
            opciones.m_ayuda = true;
            continue;
        }
        const DefinicionOpcion* definicion = nullptr;
        for (const DefinicionOpcion& d : definiciones)
            if (d.nombre == opcion)
                definicion = &d;
        // Only the name: what follows "=" may be a password.
        if (!definicion) {
            error = "opción desconocida: " + TextoLegible(opcion) + " (vea --ayuda)";
            return std::nullopt;
        }
        if (definicion->tipo == TipoOpcion::Bandera) {
            if (partida.valor) {
                error = std::string(opcion) + ": no lleva valor";
                return std::nullopt;
            }
            opciones.m_textos[std::string(opcion)] = std::string();
            continue;
        }
        if (!partida.valor && i + 1 >= argc) {
            error = std::string(opcion) + ": falta el valor";
            return std::nullopt;
        }
        const std::string_view valor = partida.valor ? *partida.valor : std::string_view(argv[++i]);
        if (definicion->tipo == TipoOpcion::Numero) {
            std::string motivo;
            const auto numero = LeerNumeroOpcion(valor, motivo);
            if (!numero) {
                error = std::string(opcion) + ": " + motivo;
                return std::nullopt;
            }
            opciones.m_numeros[std::string(opcion)] = *numero;
        }
        if (definicion->tipo == TipoOpcion::Carpeta && !carpetaValida(opcion, valor, error))
            return std::nullopt;
        opciones.m_textos[std::string(opcion)] = std::string(valor);
    }
    return opciones;
}

OpcionPartida PartirOpcion(std::string_view argumento)
{
    const std::size_t igual = argumento.find('=');
    if (!argumento.starts_with("--") || igual == std::string_view::npos)
        return {argumento, std::nullopt};
    return {argumento.substr(0, igual), argumento.substr(igual + 1)};
}

std::string Opciones::Texto(std::string_view nombre) const
{
    const auto it = m_textos.find(nombre);
    return it == m_textos.end() ? std::string() : it->second;
}

double Opciones::Numero(std::string_view nombre) const
{
    const auto it = m_numeros.find(nombre);
    return it == m_numeros.end() ? 0.0 : it->second;
}

std::filesystem::path Opciones::Carpeta() const
{
    return Tiene(kOpcionDatos) ? std::filesystem::path(Texto(kOpcionDatos)) : CarpetaDatos::PorDefecto();
}

std::optional<std::filesystem::path> CarpetaDeArgumentos(int argc, char** argv, std::string& error)
{
    std::optional<std::filesystem::path> carpeta;
    for (int i = 1; i < argc; ++i) {
        const OpcionPartida partida = PartirOpcion(argv[i]);
        if (partida.nombre != kOpcionDatos)
            continue;
        if (!partida.valor && i + 1 >= argc) {
            error = std::string(kOpcionDatos) + ": falta el valor";
            return std::nullopt;
        }
        const std::string_view valor = partida.valor ? *partida.valor : std::string_view(argv[++i]);
        if (!carpetaValida(kOpcionDatos, valor, error))
            return std::nullopt;
        carpeta = std::filesystem::path(valor);
    }
    return carpeta ? carpeta : CarpetaDatos::PorDefecto();
}

std::optional<std::string> CarpetaDadaInservible(const std::filesystem::path& carpeta)
{
    std::string motivo;
    switch (RevisarCarpeta(carpeta, false, motivo)) {
    case EstadoCarpeta::Lista:
        return std::nullopt;
    case EstadoCarpeta::Falta:
        return std::string(kOpcionDatos) + ": la carpeta de datos \"" + RutaLegible(carpeta) + "\" no existe (" +
               motivo + "); solo la carpeta de datos de siempre se crea cuando falta";
    case EstadoCarpeta::Inservible:
        break;
    }
    return std::string(kOpcionDatos) + ": la carpeta de datos \"" + RutaLegible(carpeta) +
           "\" no se puede usar: " + motivo;
}

std::optional<int> ResponderVersionOAyuda(int argc, char** argv, std::string_view programa, std::string_view ayuda)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view opcion = argv[i];
        if (opcion == "--version") {
            std::cout << programa << ' ' << kVersionVantora << '\n';
            return 0;
        }
        if (pideAyuda(opcion)) {
            std::cout << ayuda;
            return 0;
        }
    }
    return std::nullopt;
}

std::filesystem::path RutaDeLaLinea(const std::string& texto)
{
    std::filesystem::path ruta(texto);
    return ruta.has_parent_path() ? ruta : std::filesystem::path(".") / ruta;
}

void EscribirError(std::string_view programa, std::string_view mensaje)
{
    std::cerr << programa << ": " << EnUnaLinea(TextoLegible(mensaje)) << std::endl;
}

int FallarOpcion(std::string_view programa, std::string_view mensaje)
{
    EscribirError(programa, mensaje);
    return kSalidaOpcionInvalida;
}
