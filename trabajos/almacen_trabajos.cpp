#include "almacen_trabajos.h"

#include "base_materiales.h"
#include "conexion_materiales.h"
#include "motivos_sql.h"
#include "plazo_servidor.h"
#include "respuesta_guardada.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QVariant>
#include <chrono>
#include <random>
#include <thread>

namespace {

// Bumped with every change of the table's columns, so that an older release
// knows the table is not its own and a newer one knows what to migrate.
// Version 2 marks each job with the exchange's rules it was written by.
constexpr int kVersion = 2;

const QString kCampos =
    QStringLiteral("numero, pedido, respuesta, material, creado, cambiado, puesto, estado, formato");

// How long one statement may wait for another bench's lock before the call
// lets go, pauses and asks again: short, so that a bench never waits on a
// lock in a queue it cannot leave when the limit comes.
constexpr int kEsperaCerrojoMs = 250;

bool ejecutar(QSqlQuery& q, const QString& sql, const QVariantList& valores = {})
{
    if (valores.isEmpty())
        return q.exec(sql);
    if (!q.prepare(sql))
        return false;
    for (const QVariant& v : valores)
        q.addBindValue(v);
    return q.exec();
}

// A writer waits a moment for another bench's transaction instead of
// failing at once; the wait beyond that is the retries'.
void esperarEscritores(const QSqlDatabase& bd)
{
    QSqlQuery q(bd);
    q.exec(bd.driverName() == QLatin1String("QSQLITE")
               ? QStringLiteral("PRAGMA busy_timeout = %1").arg(kEsperaCerrojoMs)
               : QStringLiteral("SET lock_timeout = %1").arg(kEsperaCerrojoMs));
}

TrabajoGuardado leer(const QSqlQuery& q)
{
    return {
        q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
        q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
        q.value(6).toString(), q.value(7).toString(), q.value(8).isNull() ? dcs::kFormatoAnterior : q.value(8).toInt()};
}

} // namespace

// How one attempt at a call ended: done, to be made again (the store was
// busy, or another bench stored the number in between), or failed, with the
// store's error and what was being done.
struct AlmacenTrabajos::Intento {
    enum class Fin { Hecho, OtraVez, Falla };
    Fin fin = Fin::Hecho;
    QSqlError error;
    QString que; // "no se pudo …", before the reason; or the whole reason
    QString motivo; // a reason of our own, instead of the store's error

    static Intento Fallo(const QSqlError& e, const QSqlDatabase& bd, QString que = {})
    {
        return {EsOcupado(e, bd) ? Fin::OtraVez : Fin::Falla, e, std::move(que), {}};
    }
};

AlmacenTrabajos::AlmacenTrabajos(const BaseMateriales& base) : m_base(base) {}

// The devices' traces have a table of their own, which a store made before
// it gets on its next use.
AlmacenTrabajos::Intento AlmacenTrabajos::prepararTrazos(QSqlDatabase& bd)
{
    QSqlQuery q(bd);
    for (int intento = 0; intento < 2; ++intento) {
        if (ejecutar(q, QStringLiteral("SELECT numero FROM trabajos_trazos WHERE 1 = 0")))
            return {};
        if (EsOcupado(q.lastError(), bd))
            return Intento::Fallo(q.lastError(), bd);
        // Another host may have made it in between: the second look finds it.
        if (ejecutar(q, QStringLiteral("CREATE TABLE trabajos_trazos (numero VARCHAR(40) PRIMARY KEY, trazo TEXT NOT "
                                       "NULL, dispositivo TEXT NOT NULL, recibido VARCHAR(32) NOT NULL)")))
            return {};
    }
    return Intento::Fallo(q.lastError(), bd, QStringLiteral("no se pudo crear la tabla de trazos"));
}

template <typename Paso>
bool AlmacenTrabajos::conPlazo(Paso&& paso, QString& error) const
{
    using Reloj = std::chrono::steady_clock;
    // The retries of a busy store stop at three quarters of the limit, so
    // that the watcher, which cuts a silent server at the whole limit, never
    // takes a busy store for a silent one.
    const Reloj::time_point limite = Reloj::now() + std::chrono::milliseconds(PlazoServidor()) * 3 / 4;
    const ConexionMateriales c(m_base, QStringLiteral("Trabajos"));
    if (!c.abierta()) {
        const std::string motivo = c.falla().value_or("no se pudo abrir");
        error = QString::fromStdString(m_base.ubicacion().esServidor()
                                           ? TextoInaccesible(c.nombreBase(), motivo)
                                           : "no se pudo abrir la Base de Datos de Materiales " + c.nombreBase() +
                                                 ": " + motivo);
        return false;
    }
    QSqlDatabase bd = c.bd();
    // A connection the thread keeps has its setting from its first call.
    if (c.nueva())
        esperarEscritores(bd);
    const VigiaServidor vigia(bd);
    // Seeded once a thread (for each kind of call), not at every call.
    thread_local std::minstd_rand azar(std::random_device{}());
    for (;;) {
        const Intento r = paso(bd);
        if (vigia.vencido() || ConexionPerdida(bd)) {
            error = QString::fromStdString(TextoInaccesible(c.nombreBase(), vigia.MotivoPerdida()));
            return false;
        }
        if (r.fin == Intento::Fin::Hecho)
            return true;
        if (r.fin == Intento::Fin::Falla) {
            const QString motivo = !r.motivo.isEmpty() ? r.motivo : QString::fromStdString(Motivo(r.error, bd));
            error = r.que.isEmpty() ? motivo : r.que + QStringLiteral(": ") + motivo;
            return false;
        }
        if (Reloj::now() >= limite) {
            error = QStringLiteral("el almacén de trabajos está ocupado: otro puesto lo usa desde hace más de %1 "
                                   "segundos; inténtelo de nuevo en unos momentos")
                        .arg(std::chrono::milliseconds(PlazoServidor()).count() * 3 / 4 / 1000.0);
            return false;
        }
        // Benches that met at one lock go back at different moments.
        std::this_thread::sleep_for(
            std::min<Reloj::duration>(std::chrono::milliseconds(20 + azar() % 100), limite - Reloj::now()));
    }
}

std::optional<QString> AlmacenTrabajos::Preparar()
{
    QString error;
    if (conPlazo([this](QSqlDatabase& bd) { return preparar(bd); }, error))
        return std::nullopt;
    return error;
}

AlmacenTrabajos::Intento AlmacenTrabajos::preparar(QSqlDatabase& bd) const
{
    const QString noSeCreo = QStringLiteral("no se pudo crear la tabla de trabajos");
    QSqlQuery q(bd);
    // Two benches may meet here on a new store: the second one's CREATE (or
    // its migration) then fails and it finds the first one's table.
    for (int intento = 0; intento < 3; ++intento) {
        if (ejecutar(q, QStringLiteral("SELECT version FROM trabajos_version")) && q.next()) {
            const int version = q.value(0).toInt();
            q.finish();
            if (version == kVersion)
                return prepararTrazos(bd);
            if (version != 1)
                return {Intento::Fin::Falla,
                        {},
                        {},
                        QStringLiteral("la tabla de trabajos es de la versión %1 del programa; esta versión lee la %2")
                            .arg(version)
                            .arg(kVersion)};
            // The earlier release's jobs keep no mark: they are read by its rules.
            if (bd.transaction() && ejecutar(q, QStringLiteral("ALTER TABLE trabajos ADD COLUMN formato INTEGER")) &&
                ejecutar(q, QStringLiteral("UPDATE trabajos_version SET version = ? WHERE version = 1"), {kVersion}) &&
                bd.commit())
                return prepararTrazos(bd);
            const QSqlError error = q.lastError().isValid() ? q.lastError() : bd.lastError();
            bd.rollback();
            if (intento == 2 || EsOcupado(error, bd))
                return Intento::Fallo(error, bd, QStringLiteral("no se pudo poner al día la tabla de trabajos"));
            continue;
        }
        if (EsOcupado(q.lastError(), bd))
            return Intento::Fallo(q.lastError(), bd);
        q.finish();
        if (!bd.transaction())
            return Intento::Fallo(bd.lastError(), bd, noSeCreo);
        const bool creada =
            ejecutar(q, QStringLiteral("CREATE TABLE trabajos (numero VARCHAR(40) PRIMARY KEY, pedido TEXT NOT NULL, "
                                       "respuesta TEXT NOT NULL, material TEXT NOT NULL, creado VARCHAR(32) NOT NULL, "
                                       "cambiado VARCHAR(32) NOT NULL, puesto TEXT NOT NULL, estado TEXT NOT NULL, "
                                       "formato INTEGER)")) &&
            ejecutar(q, QStringLiteral("CREATE TABLE trabajos_version (version INTEGER NOT NULL)")) &&
            ejecutar(q, QStringLiteral("INSERT INTO trabajos_version (version) VALUES (?)"), {kVersion});
        if (creada && bd.commit())
            return prepararTrazos(bd);
        const QSqlError error = creada ? bd.lastError() : q.lastError();
        bd.rollback();
        if (intento == 2 || EsOcupado(error, bd))
            return Intento::Fallo(error, bd, noSeCreo);
    }
    return {};
}

AlmacenTrabajos::Guardado AlmacenTrabajos::Guardar(const TrabajoGuardado& t, bool reemplazar, QString& error)
{
    Guardado guardado = Guardado::Error;
    const bool hecho = conPlazo(
        [&](QSqlDatabase& bd) -> Intento {
            QSqlQuery q(bd);
            if (reemplazar) {
                if (!ejecutar(q,
                              QStringLiteral("UPDATE trabajos SET pedido = ?, respuesta = ?, material = ?, cambiado = "
                                             "?, puesto = ?, estado = ?, formato = ? WHERE numero = ?"),
                              {t.pedido, t.respuesta, t.material, t.cambiado, t.puesto, t.estado, t.formato, t.numero}))
                    return Intento::Fallo(q.lastError(), bd);
                if (q.numRowsAffected() == 1) {
                    guardado = Guardado::Reemplazado;
                    return {};
                }
            }
            if (ejecutar(q,
                         QStringLiteral("INSERT INTO trabajos (") + kCampos +
                             QStringLiteral(") VALUES (?,?,?,?,?,?,?,?,?)"),
                         {t.numero, t.pedido, t.respuesta, t.material, t.creado, t.cambiado, t.puesto, t.estado,
                          t.formato})) {
                guardado = Guardado::Nuevo;
                return {};
            }
            // The key refused it: the number is there now, stored by this
            // bench before or by another at the same moment. Replacing, the
            // next attempt finds it and replaces it.
            if (!EsClaveRepetida(q.lastError(), bd))
                return Intento::Fallo(q.lastError(), bd);
            if (reemplazar)
                return {Intento::Fin::OtraVez, q.lastError(), {}, {}};
            guardado = Guardado::YaExiste;
            return {};
        },
        error);
    return hecho ? guardado : Guardado::Error;
}

std::optional<TrabajoGuardado> AlmacenTrabajos::PrepararYAbrir(const QString& numero, QString& error)
{
    if (const auto problema = Preparar()) {
        error = *problema;
        return std::nullopt;
    }
    return Abrir(numero, error);
}

std::optional<TrabajoGuardado> AlmacenTrabajos::Abrir(const QString& numero, QString& error)
{
    std::optional<TrabajoGuardado> t;
    error.clear();
    const bool hecho = conPlazo(
        [&](QSqlDatabase& bd) -> Intento {
            QSqlQuery q(bd);
            if (!ejecutar(q, QStringLiteral("SELECT ") + kCampos + QStringLiteral(" FROM trabajos WHERE numero = ?"),
                          {numero}))
                return Intento::Fallo(q.lastError(), bd);
            if (q.next())
                t = leer(q);
            return {};
        },
        error);
    return hecho ? t : std::nullopt;
}

AlmacenTrabajos::Trazado AlmacenTrabajos::GuardarTrazo(const TrazoGuardado& t, const TrabajoGuardado* leido,
                                                       const TrabajoGuardado* trabajo, QString& error)
{
    bool cambiado = false;
    const bool hecho = conPlazo(
        [&](QSqlDatabase& bd) -> Intento {
            cambiado = false;
            if (!bd.transaction())
                return Intento::Fallo(bd.lastError(), bd, QStringLiteral("no se pudo guardar el trazo"));
            QSqlQuery q(bd);
            const QVariantList valores{t.trazo, t.dispositivo, t.recibido, t.numero};
            bool hecho = ejecutar(q,
                                  QStringLiteral("UPDATE trabajos_trazos SET trazo = ?, dispositivo = ?, recibido = ? "
                                                 "WHERE numero = ?"),
                                  valores);
            if (hecho && q.numRowsAffected() == 0)
                hecho = ejecutar(q,
                                 QStringLiteral("INSERT INTO trabajos_trazos (trazo, dispositivo, recibido, numero) "
                                                "VALUES (?,?,?,?)"),
                                 valores);
            // The job as it was read, to the second it was stored and to its
            // texts (two stores within one second differ in those), or still
            // not stored.
            if (hecho && leido && trabajo) {
                hecho = ejecutar(q,
                                 QStringLiteral("UPDATE trabajos SET pedido = ?, respuesta = ?, material = ?, "
                                                "cambiado = ?, puesto = ?, estado = ?, formato = ? WHERE numero = ? "
                                                "AND cambiado = ? AND pedido = ? AND respuesta = ?"),
                                 {trabajo->pedido, trabajo->respuesta, trabajo->material, trabajo->cambiado,
                                  trabajo->puesto, trabajo->estado, trabajo->formato, trabajo->numero, leido->cambiado,
                                  leido->pedido, leido->respuesta});
                cambiado = hecho && q.numRowsAffected() != 1;
            } else if (hecho && !leido) {
                hecho = ejecutar(q, QStringLiteral("SELECT numero FROM trabajos WHERE numero = ?"), {t.numero});
                cambiado = hecho && q.next();
                q.finish();
            }
            if (hecho && !cambiado && bd.commit())
                return {};
            const QSqlError e = hecho ? bd.lastError() : q.lastError();
            bd.rollback();
            return cambiado ? Intento{} : Intento::Fallo(e, bd);
        },
        error);
    return !hecho ? Trazado::Error : cambiado ? Trazado::Cambiado : Trazado::Guardado;
}

std::optional<TrazoGuardado> AlmacenTrabajos::AbrirTrazo(const QString& numero, QString& error)
{
    std::optional<TrazoGuardado> t;
    error.clear();
    const bool hecho = conPlazo(
        [&](QSqlDatabase& bd) -> Intento {
            QSqlQuery q(bd);
            if (!ejecutar(
                    q,
                    QStringLiteral("SELECT numero, trazo, dispositivo, recibido FROM trabajos_trazos WHERE numero = ?"),
                    {numero}))
                return Intento::Fallo(q.lastError(), bd);
            if (q.next())
                t = TrazoGuardado{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                  q.value(3).toString()};
            return {};
        },
        error);
    return hecho ? t : std::nullopt;
}

std::optional<QList<TrabajoGuardado>> AlmacenTrabajos::Lista(std::optional<QDate> desde, QString& error)
{
    QList<TrabajoGuardado> lista;
    const bool hecho = conPlazo(
        [&](QSqlDatabase& bd) -> Intento {
            QSqlQuery q(bd);
            q.setForwardOnly(true);
            const QString sql = QStringLiteral("SELECT ") + kCampos + QStringLiteral(" FROM trabajos") +
                                (desde ? QStringLiteral(" WHERE creado >= ?") : QString()) +
                                QStringLiteral(" ORDER BY creado, numero");
            if (!ejecutar(q, sql, desde ? QVariantList{desde->toString(Qt::ISODate)} : QVariantList{}))
                return Intento::Fallo(q.lastError(), bd);
            lista.clear();
            while (q.next())
                lista.append(leer(q));
            return {};
        },
        error);
    if (!hecho)
        return std::nullopt;
    return lista;
}

TrabajoGuardado TrabajoRespondido(std::string_view pedido, const trabajos::Contestacion& c)
{
    const QString ahora = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    return {QString::fromStdString(c.numero),
            QString::fromUtf8(pedido.data(), static_cast<qsizetype>(pedido.size())),
            QString::fromStdString(c.texto),
            QString::fromStdString(c.Material()),
            ahora,
            ahora,
            QSysInfo::machineHostName(),
            c.Completa() ? QStringLiteral("respondido") : QStringLiteral("con fallas"),
            dcs::kFormato};
}

std::optional<trabajos::Contestacion> ContestacionGuardada(const TrabajoGuardado& t,
                                                           trabajos::MaterialesTrabajo* materiales, QString& error)
{
    std::string motivo;
    auto c = trabajos::ContestacionGuardada(t.numero.toStdString(), t.pedido.toStdString(), t.respuesta.toStdString(),
                                            t.formato, t.material.toStdString(), materiales, motivo);
    if (!c)
        error = QString::fromStdString(motivo);
    return c;
}
