#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>
#include <string_view>

class BaseMateriales;
class QSqlDatabase;
namespace trabajos {
struct Contestacion;
}

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
};

// A request and its answer as the store keeps them, stamped now by this
// workstation, "respondido" when every eye asked for has its lens.
TrabajoGuardado TrabajoRespondido(std::string_view pedido, const trabajos::Contestacion& c);

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
    // The jobs created on or after the day, by creation time then number.
    std::optional<QList<TrabajoGuardado>> Lista(std::optional<QDate> desde, QString& error);

private:
    struct Intento;
    // The one way to the store: a connection of its own, the time limit and
    // the watcher, and the retries while the store is busy.
    template <typename Paso>
    bool conPlazo(Paso&& paso, QString& error) const;
    Intento preparar(QSqlDatabase& bd) const;

    const BaseMateriales& m_base;
};
