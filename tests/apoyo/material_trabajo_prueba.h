#pragma once

#include "responder_trabajo.h"

// The catalogue a job sees: CR-39 alone, with a minimum centre of 2 mm.
class UnMaterial : public trabajos::MaterialesTrabajo {
public:
    std::optional<trabajos::MaterialTrabajo> Buscar(std::string_view nombre) override
    {
        if (nombre != "CR-39")
            return std::nullopt;
        return trabajos::MaterialTrabajo{"CR-39", 1.498, 1.32, 2.0};
    }
};
