#pragma once

#include "etiquetas_dcs.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a laboratory's device asks its host and what the host answers: the
// REQ of each request and its ANS. Devices always start; a tracer uploads the
// frame it traced, a generator or an edger asks for a job by the number it
// scanned and gets the job's stored answer with its trace.
namespace dcs {

struct Registro {
    std::string etiqueta;
    std::string valor;
};

// The records of a message, "LABEL=value" ended by CR, CR LF or LF; a line
// without "=" is skipped.
std::vector<Registro> LeerRegistros(std::string_view texto);

// Who is at the other end, as its INI said.
struct Dispositivo {
    std::string dev, ven, model, mid;
    // "DEV/MODEL", or "?" before the INI.
    std::string Nombre() const;
};

// A request sorted out on the network side, before anything is looked up.
struct Pregunta {
    enum class Tipo { Inicio, SubirTrazo, PedirTrazo, Trabajo, Rechazo };
    Tipo tipo = Tipo::Rechazo;
    std::string req; // safe to write back and to log
    std::string job;
    std::string trazo; // the TRCFMT and R records uploaded
    std::string formato; // the format-1 TRCFMT an INI offers
    Estado estado = Estado::PedidoNoValido; // why a Rechazo is one

    bool NecesitaAlmacen() const
    {
        return tipo == Tipo::SubirTrazo || tipo == Tipo::PedirTrazo || tipo == Tipo::Trabajo;
    }
};

// An INI also tells the device's identity, kept for the log.
Pregunta Clasificar(std::string_view registros, Dispositivo& dispositivo);

// What one worker keeps between the requests it answers (its connection to
// the store), made on the worker's thread before its first request and
// destroyed there after its last.
class RecursosDelTrabajador {
public:
    virtual ~RecursosDelTrabajador() = default;
};

// The job store as the devices see it. Calls may come from several threads
// at once, and may take as long as the store does.
class TrabajosDeDispositivos {
public:
    virtual ~TrabajosDeDispositivos() = default;

    // Nothing when the worker needs nothing of its own.
    virtual std::unique_ptr<RecursosDelTrabajador> Recursos() { return nullptr; }

    // How a call ended: Respondido; NoEncontrado; General when the store
    // could not be read or written just now; NoProcesable for a stored job
    // that cannot be used or answered again. With the reason, for the log.
    struct Resultado {
        Estado estado = Estado::Respondido;
        std::string error;
    };
    struct Hallazgo : Resultado {
        std::string pedido; // the stored job's request, or the trace's records
        std::string respuesta; // the stored job's answer
    };
    // The job, its answer as vantora-trabajo writes answers: one stored by
    // the earlier release has it written again in today's labels.
    virtual Hallazgo Trabajo(const std::string& numero) = 0;
    // The trace a device uploaded for the job.
    virtual Hallazgo Trazo(const std::string& numero) = 0;
    // Keeps an uploaded trace, replacing an earlier one. A stored job is
    // answered again on it and stored with the new answer, so that the edger,
    // the ticket and the store agree.
    virtual Resultado GuardarTrazo(const std::string& numero, const std::string& trazo,
                                   const Dispositivo& dispositivo) = 0;
};

struct Replica {
    std::string registros; // each ended by CR
    Estado estado = Estado::Respondido;
    std::string error; // for the log: what the store said
};

// The answer; the store is only asked when the request needs it.
Replica Atender(const Pregunta& p, const Dispositivo& dispositivo, TrabajosDeDispositivos* trabajos);

} // namespace dcs
