#pragma once

#include "intercambio_dcs.h"

class BaseMateriales;

// The job store and the materials catalogue as the devices reach them. Each
// call opens its own connections, so calls from several workers at once never
// share one.
class AlmacenDispositivos : public dcs::TrabajosDeDispositivos {
public:
    explicit AlmacenDispositivos(const BaseMateriales& base) : m_base(base) {}

    Hallazgo Trabajo(const std::string& numero) override;
    Hallazgo Trazo(const std::string& numero) override;
    std::optional<std::string> GuardarTrazo(const std::string& numero, const std::string& trazo,
                                            const dcs::Dispositivo& dispositivo) override;

private:
    const BaseMateriales& m_base;
};
