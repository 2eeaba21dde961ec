#include "reglas_espesor.h"

#include "formatos.h"

#include <algorithm>

namespace laboratorio {

namespace {

struct Regla {
    double valor;
    std::string nombre;
};

std::string nombreMontura(Montura m)
{
    switch (m) {
    case Montura::Completa:
        return "la montura completa";
    case Montura::Ranurada:
        return "la montura ranurada";
    case Montura::Perforada:
        return "la montura perforada";
    case Montura::Ninguna:
        break;
    }
    return {};
}

std::string nombreSeguridad(Seguridad s)
{
    return s == Seguridad::Basica ? "la seguridad básica (ANSI Z87.1)" : "la seguridad de alto impacto (ANSI Z87.1)";
}

// The strictest of the rules, and the user's value raised to it with a
// warning when it falls short.
std::optional<double> exigir(std::optional<double> usuario, const std::vector<Regla>& reglas, const char* opcion,
                             const char* que, std::vector<std::string>& avisos)
{
    const Regla* estricta = nullptr;
    for (const Regla& r : reglas)
        if (!estricta || r.valor > estricta->valor)
            estricta = &r;
    if (!estricta)
        return usuario;
    if (usuario && *usuario >= estricta->valor)
        return usuario;
    if (usuario)
        avisos.push_back(std::string(opcion) + " " + Formato3(*usuario) + " elevado a " + Formato3(estricta->valor) +
                         " mm: " + que + " que exige " + estricta->nombre);
    return estricta->valor;
}

} // namespace

std::optional<double> BordeDeMontura(Montura montura, double p)
{
    constexpr double kBordeMaximo = 2.0;
    constexpr double kBordeMinimo = 0.8;
    constexpr double kPoderBordeMinimo = 7.0;
    switch (montura) {
    case Montura::Completa:
        return kBordeMaximo - (kBordeMaximo - kBordeMinimo) * std::clamp(p, 0.0, kPoderBordeMinimo) / kPoderBordeMinimo;
    case Montura::Ranurada:
        return 1.5;
    case Montura::Perforada:
        return 2.0;
    case Montura::Ninguna:
        break;
    }
    return std::nullopt;
}

std::optional<double> EspesorDeSeguridad(Seguridad seguridad, double p)
{
    switch (seguridad) {
    case Seguridad::Basica:
        return p >= 3.0 ? 2.5 : 3.0;
    case Seguridad::AltoImpacto:
        return 2.0;
    case Seguridad::Ninguna:
        break;
    }
    return std::nullopt;
}

std::optional<Minimos> MinimosDeEspesor(const Exigencias& e)
{
    Minimos m;
    std::vector<Regla> borde;
    std::vector<Regla> centro;
    if (const auto v = BordeDeMontura(e.montura, e.meridianoMasPositivo))
        borde.push_back({*v, nombreMontura(e.montura)});
    // The thinnest point of a plus lens is its edge; of a minus lens its
    // centre, or with prism a point inside toward the apex. The standard
    // holds at all of them: the centre's minimum is kept inside too.
    if (const auto v = EspesorDeSeguridad(e.seguridad, e.meridianoMasPositivo)) {
        borde.push_back({*v, nombreSeguridad(e.seguridad)});
        centro.push_back({*v, nombreSeguridad(e.seguridad)});
    }
    if (e.centroMaterial)
        centro.push_back({*e.centroMaterial, "el material " + e.material});
    const auto b = exigir(e.bordeUsuario, borde, "--borde-min", "el borde mínimo", m.avisos);
    if (!b)
        return std::nullopt;
    m.borde = *b;
    m.centro = exigir(e.centroUsuario, centro, "--centro-min", "el espesor central mínimo", m.avisos)
                   .value_or(kCentroPorOmision);
    return m;
}

} // namespace laboratorio
