#include "registro_diseno.h"

#include "estado_diseno.h"
#include "formatos.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {

// Windows-1252 characters 0x80–0x9F; 0 marks the five unused codes.
constexpr char32_t kCp1252Alto[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char aCp1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252Alto[i] == c && c != 0)
            return static_cast<char>(0x80 + i);
    return '?';
}

void agregarUtf8(std::string& s, char32_t c)
{
    if (c < 0x80) {
        s.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        s.push_back(static_cast<char>(0xC0 | (c >> 6)));
        s.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        s.push_back(static_cast<char>(0xE0 | (c >> 12)));
        s.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        s.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool aSimple(double valor, std::uint8_t* destino)
{
    const float simple = static_cast<float>(valor);
    if (!std::isfinite(simple))
        return false;
    std::uint32_t bits = std::bit_cast<std::uint32_t>(simple);
    for (int i = 0; i < 4; ++i, bits >>= 8)
        destino[i] = static_cast<std::uint8_t>(bits & 0xFF);
    return true;
}

double deSimple(const std::uint8_t* origen)
{
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | origen[i];
    return std::bit_cast<float>(bits);
}

// Dioptres, millimetres and grams per cubic centimetre of any lens stay far
// below this; a larger figure is a damaged record, not a design.
constexpr double kMayorFigura = 10000;

std::string texto(double valor)
{
    if (std::isnan(valor))
        return "no es un número";
    if (std::isinf(valor))
        return "es infinito";
    return "es " + TextoPlano(valor);
}

const char* kFueraDeRango = "un valor del diseño no cabe en el registro de 43 bytes";

} // namespace

std::string ACp1252(const std::string& utf8)
{
    std::string salida;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c = b;
        size_t largo = 1;
        if (b >= 0xF0) {
            largo = 4;
            c = b & 0x07;
        } else if (b >= 0xE0) {
            largo = 3;
            c = b & 0x0F;
        } else if (b >= 0xC0) {
            largo = 2;
            c = b & 0x1F;
        } else if (b >= 0x80) {
            c = 0xFFFD;
        }
        bool valido = i + largo <= utf8.size();
        for (size_t k = 1; valido && k < largo; ++k) {
            const auto sig = static_cast<unsigned char>(utf8[i + k]);
            valido = (sig & 0xC0) == 0x80;
            c = (c << 6) | (sig & 0x3F);
        }
        if (!valido) {
            c = 0xFFFD;
            largo = 1;
        }
        salida.push_back(aCp1252(c));
        i += largo;
    }
    return salida;
}

std::string DeCp1252(const std::string& cp1252)
{
    std::string salida;
    for (const char ch : cp1252) {
        const auto b = static_cast<unsigned char>(ch);
        char32_t c = b;
        if (b >= 0x80 && b < 0xA0)
            c = kCp1252Alto[b - 0x80] ? kCp1252Alto[b - 0x80] : U'?';
        agregarUtf8(salida, c);
    }
    return salida;
}

std::optional<std::string> RegistroDiseno::Problema() const
{
    struct Campo {
        const char* nombre;
        double valor;
        double minimo; // exclusive
        double maximo; // exclusive
        bool minimoAdmitido = false;
    };
    // A negative edge is no lens; zero is the knife edge a plus lens can have.
    const Campo campos[] = {
        {"el poder de la cara externa", PoderExterno, -kMayorFigura, kMayorFigura},
        {"el poder de la cara interna", PoderInterno, -kMayorFigura, kMayorFigura},
        {"el índice del material", IndiceMaterial, 1, 3},
        {"el diámetro", DiametroInicial, 0, kMayorFigura},
        {"el espesor del borde", EspesorBorde, 0, kMayorFigura, true},
        {"el espesor central", EspesorCentral, 0, kMayorFigura},
        {"el poder de vértice", PoderVertice, 0, kMayorFigura},
        {"la densidad", Densidad, 0, kMayorFigura},
    };
    for (const Campo& c : campos)
        if (!((c.valor > c.minimo || (c.minimoAdmitido && c.valor == c.minimo)) && c.valor < c.maximo))
            return std::string(c.nombre) + " " + texto(c.valor);
    return std::nullopt;
}

RegistroDiseno RegistroDiseno::De(const EstadoDiseno& e)
{
    return {e.PoderExterno,   e.PoderInterno, e.IndiceMaterial, e.DiametroInicial, e.EspesorBorde,
            e.EspesorCentral, e.PoderVertice, e.Densidad,       e.NombreMaterial};
}

std::optional<std::array<std::uint8_t, RegistroDiseno::kLargo>> RegistroDiseno::Codificar() const
{
    std::array<std::uint8_t, kLargo> bytes{};
    const double valores[8] = {PoderExterno, PoderInterno,   IndiceMaterial, DiametroInicial,
                               EspesorBorde, EspesorCentral, PoderVertice,   Densidad};
    for (int i = 0; i < 8; ++i)
        if (!aSimple(valores[i], bytes.data() + 4 * i))
            return std::nullopt;
    std::string nombre = ACp1252(NombreMaterial);
    nombre.resize(kLargoNombre, ' ');
    std::memcpy(bytes.data() + 32, nombre.data(), kLargoNombre);
    return bytes;
}

RegistroDiseno RegistroDiseno::Decodificar(const std::uint8_t* b)
{
    RegistroDiseno r;
    r.PoderExterno = deSimple(b);
    r.PoderInterno = deSimple(b + 4);
    r.IndiceMaterial = deSimple(b + 8);
    r.DiametroInicial = deSimple(b + 12);
    r.EspesorBorde = deSimple(b + 16);
    r.EspesorCentral = deSimple(b + 20);
    r.PoderVertice = deSimple(b + 24);
    r.Densidad = deSimple(b + 28);
    r.NombreMaterial = DeCp1252(std::string(reinterpret_cast<const char*>(b + 32), kLargoNombre));
    return r;
}

bool GuardarRegistroUnico(const std::filesystem::path& archivo, const RegistroDiseno& registro, std::string& error)
{
    const auto bytes = registro.Codificar();
    if (!bytes) {
        error = kFueraDeRango;
        return false;
    }
    return ReemplazarArchivo(archivo, {reinterpret_cast<const char*>(bytes->data()), bytes->size()}, error);
}

bool GrabarRegistro(const std::filesystem::path& archivo, const RegistroDiseno& registro, std::string& error)
{
    const auto bytes = registro.Codificar();
    if (!bytes) {
        error = kFueraDeRango;
        return false;
    }
    return AgregarAlFinal(archivo, {reinterpret_cast<const char*>(bytes->data()), bytes->size()},
                          RegistroDiseno::kLargo, error);
}

Lectura LeerRegistros(const std::filesystem::path& archivo, std::vector<RegistroDiseno>& registros, std::string& error)
{
    registros.clear();
    std::string contenido;
    const Lectura lectura = LeerArchivo(archivo, contenido, error);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(contenido.data());
    for (size_t i = 0; i + RegistroDiseno::kLargo <= contenido.size(); i += RegistroDiseno::kLargo)
        registros.push_back(RegistroDiseno::Decodificar(bytes + i));
    return lectura;
}

std::vector<RegistroDiseno> LeerRegistros(const std::filesystem::path& archivo)
{
    std::vector<RegistroDiseno> registros;
    std::string error;
    LeerRegistros(archivo, registros, error);
    return registros;
}
