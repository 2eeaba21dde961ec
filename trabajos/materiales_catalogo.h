#pragma once

#include "responder_trabajo.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

class BaseMateriales;

namespace trabajos {

// The materials catalogue as the jobs see it, read whole the first time a
// job asks (one short read, however many jobs follow): each material with
// its class in the exchange (Tabla_CodigoDCS) and its minimum centre
// thickness. A catalogue that cannot be read is asked again at the next
// look-up, and says why meanwhile.
class MaterialesDeCatalogo : public MaterialesTrabajo {
public:
    explicit MaterialesDeCatalogo(const BaseMateriales& base);

    std::optional<MaterialTrabajo> Buscar(std::string_view nombre) override;
    std::vector<MaterialTrabajo> PorCodigo(int codigo, double indice) override;
    std::string Inaccesible() const override { return m_inaccesible; }

private:
    struct Fila {
        long long id = 0;
        QString nombre;
        MaterialTrabajo material;
        std::optional<int> codigo;
    };
    const std::vector<Fila>* filas();

    const BaseMateriales& m_base;
    std::optional<std::vector<Fila>> m_filas;
    std::string m_inaccesible;
};

} // namespace trabajos
