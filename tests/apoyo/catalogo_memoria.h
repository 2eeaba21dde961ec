#pragma once

#include "catalogo.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

// A catalogue held in a vector, in table order, with the catalogue's
// matching rules: containment, letters compared without regard to case.
class CatalogoMemoria : public Catalogo {
public:
    CatalogoMemoria() = default;
    explicit CatalogoMemoria(std::vector<Material> materiales) : registros(std::move(materiales)) {}

    std::vector<std::string> Productos() override
    {
        std::vector<std::string> nombres;
        for (const Material& m : registros)
            nombres.push_back(m.producto);
        return nombres;
    }
    std::optional<Material> BuscarPorNombre(std::string_view texto) override
    {
        for (const Material& m : registros)
            if (contiene(m.producto, texto))
                return m;
        return std::nullopt;
    }
    std::optional<Material> BuscarPorId(std::string_view digitos) override
    {
        for (const Material& m : registros)
            if (contiene(std::to_string(m.Id), digitos))
                return m;
        return std::nullopt;
    }
    long long Cantidad() override { return static_cast<long long>(registros.size()); }

    std::vector<Material> registros;

private:
    static bool contiene(std::string_view texto, std::string_view parte)
    {
        auto minus = [](std::string_view s) {
            std::string r(s);
            std::transform(r.begin(), r.end(), r.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            return r;
        };
        return minus(texto).find(minus(parte)) != std::string::npos;
    }
};
