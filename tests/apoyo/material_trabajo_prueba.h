#pragma once

#include "responder_trabajo.h"

#include <cmath>
#include <tuple>

// The catalogue a job sees: some starter materials with their class in the
// exchange, found by whole name or by class and index within 0.005.
class UnMaterial : public trabajos::MaterialesTrabajo {
public:
    std::optional<trabajos::MaterialTrabajo> Buscar(std::string_view nombre) override
    {
        for (const auto& [m, codigo] : kMateriales)
            if (m.nombre == nombre)
                return m;
        return std::nullopt;
    }
    std::vector<trabajos::MaterialTrabajo> PorCodigo(int codigo, double indice) override
    {
        std::vector<trabajos::MaterialTrabajo> hallados;
        for (const auto& [m, c] : kMateriales)
            if (c == codigo && std::abs(m.indice - indice) <= 0.005 + 1e-9)
                hallados.push_back(m);
        return hallados;
    }

private:
    inline static const std::pair<trabajos::MaterialTrabajo, int> kMateriales[] = {
        {{"CR-39", 1.498, 1.32, 2.0}, 1},      {{"Crown 1.523", 1.523, 2.54, 2.0}, 3},
        {{"Policarb", 1.586, 1.20, 1.0}, 2},   {{"Trivex", 1.532, 1.11, 1.0}, 6},
        {{"Resina 1.60", 1.60, 1.30, 1.2}, 5}, {{"Mineral 1.6", 1.60, 2.63, 1.5}, 3},
    };
};
