#pragma once

#include "intercambio_dcs.h"

class BaseMateriales;

// The job store and the materials catalogue as the devices reach them. Calls
// from several workers at once never share a connection: each worker keeps
// its own (Recursos), and a call made elsewhere opens one for itself.
class AlmacenDispositivos : public dcs::TrabajosDeDispositivos {
public:
    explicit AlmacenDispositivos(const BaseMateriales& base) : m_base(base) {}

    std::unique_ptr<dcs::RecursosDelTrabajador> Recursos() override;
    Hallazgo Trabajo(const std::string& numero) override;
    Hallazgo Trazo(const std::string& numero) override;
    Resultado GuardarTrazo(const std::string& numero, const std::string& trazo,
                           const dcs::Dispositivo& dispositivo) override;

private:
    const BaseMateriales& m_base;
};
