#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One row of the materials catalogue.
struct Material {
    long long Id = 0;
    std::string producto;
    std::string descripcion;
    std::string proveedor;
    double indice = 0.0;
    double densidad = 0.0;
    double abbe = 0.0;
    bool mineral = false;
    bool organico = false;
};

// The look-ups the design needs from the materials catalogue. The SQLite
// store implements it; tests use a small in-memory catalogue.
class Catalogo {
public:
    virtual ~Catalogo() = default;

    // Product names in table order.
    virtual std::vector<std::string> Productos() = 0;
    // First record, in table order, whose product name contains the text,
    // letters compared without regard to case.
    virtual std::optional<Material> BuscarPorNombre(std::string_view texto) = 0;
    // First record, in table order, whose Id written in decimal digits
    // contains the given digits.
    virtual std::optional<Material> BuscarPorId(std::string_view digitos) = 0;
    virtual long long Cantidad() = 0;
    // Why the last call could not ask the catalogue at all (a server that
    // cannot be reached), in Spanish, naming the catalogue; empty when the
    // catalogue answered. Nothing found is then no sign that a material is
    // missing.
    virtual std::string Inaccesible() const { return {}; }
};
