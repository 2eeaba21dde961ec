#pragma once

#include "etiquetas_dcs.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>
#include <string_view>

class BaseMateriales;
class QSqlDatabase;
namespace trabajos {
struct Contestacion;
class MaterialesTrabajo;
} // namespace trabajos

// The jobs a laboratory has answered, kept where its materials catalogue is
// (the data folder's file or the laboratory's server), so that any bench
// pulls a job up by the number on its ticket.
struct TrabajoGuardado {
    QString numero;
    QString pedido; // the request as it came
    QString respuesta; // the answer as it was written
    QString material;
    QString creado; // UTC, ISO 8601
    QString cambiado;
    QString puesto; // the workstation that stored it
    QString estado; // "respondido" or "con fallas"
    // The exchange's rules the request and answer were written by; a job
    // stored by the earlier release has no mark and is read by its rules
    // (dcs::kFormatoAnterior).
    int formato = dcs::kFormato;
};

// A frame a device traced, kept under the job's number in a table of its
// own, so that a job not yet stored keeps its trace until the order arrives.
struct TrazoGuardado {
    QString numero;
    QString trazo; // the TRCFMT and R records as the device sent them
    QString dispositivo; // DEV/MODEL of the tracer
    QString recibido; // UTC, ISO 8601
};

// A request and its answer as the store keeps them, stamped now by this
// workstation, "respondido" when every eye asked for has its lens.
TrabajoGuardado TrabajoRespondido(std::string_view pedido, const trabajos::Contestacion& c);

// The stored job as it was answered (see trabajos::ContestacionGuardada):
// what its ticket, its window and its devices show, never solved again.
// Nothing, with the reason, for a damaged record, such as a request whose
// JOB is not the number it is stored under. The catalogue only gives the
// index of a job of the earlier release whose request named none.
std::optional<trabajos::Contestacion> ContestacionGuardada(const TrabajoGuardado& t,
                                                           trabajos::MaterialesTrabajo* materiales, QString& error);

// Every call is bounded as the catalogue's are: a server that stops
// answering is given up after PlazoServidor(), with the catalogue's message;
// a store that another bench holds (a lock, a write under way) is asked
// again until most of that time has passed, and then reported busy. A
// failure's reason comes back in Spanish.
class AlmacenTrabajos {
public:
    explicit AlmacenTrabajos(const BaseMateriales& base);

    // Creates the table when missing, in one transaction with its schema's
    // version. The reason, in Spanish, when the store cannot keep jobs.
    std::optional<QString> Preparar();

    enum class Guardado { Nuevo, Reemplazado, YaExiste, Error };
    // A new number is inserted; an existing one is refused unless replacing,
    // which keeps its creation time. Two benches storing one number at once
    // give one job: the store's key refuses the second, or, when both
    // replace, the second replaces the first. YaExiste only when the number
    // is stored and `reemplazar` is false; a busy store is an Error.
    Guardado Guardar(const TrabajoGuardado& t, bool reemplazar, QString& error);
    std::optional<TrabajoGuardado> Abrir(const QString& numero, QString& error);
    // Preparar, then Abrir: what a window does with a number scanned.
    std::optional<TrabajoGuardado> PrepararYAbrir(const QString& numero, QString& error);
    // Keeps a device's trace, replacing the job's earlier one; with `trabajo`
    // (the job answered again on it) the stored job is replaced too, in the
    // same transaction, so that no answer is left that the trace would change.
    // Both only while the job is still as `leido` found it (null: not
    // stored): when another bench stored it since, nothing is written and the
    // answer is Cambiado, for the job to be read and answered again.
    enum class Trazado { Guardado, Cambiado, Error };
    Trazado GuardarTrazo(const TrazoGuardado& t, const TrabajoGuardado* leido, const TrabajoGuardado* trabajo,
                         QString& error);
    // Nothing, with `error` empty, when the job has no trace from a device.
    std::optional<TrazoGuardado> AbrirTrazo(const QString& numero, QString& error);
    // The jobs created on or after the day, by creation time then number.
    std::optional<QList<TrabajoGuardado>> Lista(std::optional<QDate> desde, QString& error);

private:
    struct Intento;
    // The one way to the store: a connection of its own (or the one this
    // thread keeps, see ConexionRetenida), the time limit and the watcher,
    // and the retries while the store is busy.
    template <typename Paso>
    bool conPlazo(Paso&& paso, QString& error) const;
    Intento preparar(QSqlDatabase& bd) const;
    static Intento prepararTrazos(QSqlDatabase& bd);

    const BaseMateriales& m_base;
};
