#pragma once

#include "intercambio_dcs.h"

#include <functional>

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

    // Run between reading the job and storing it with the trace, where
    // another bench's store may fall; for the tests.
    std::function<void()> antesDeGuardar;

private:
    // How often a trace is answered again on a job that another bench keeps
    // storing before the device is told to send it later.
    static constexpr int kIntentosTrazo = 4;

    const BaseMateriales& m_base;
};
