#include "almacen_trabajos.h"

#include "base_materiales.h"
#include "conexion_materiales.h"
#include "respuesta_guardada.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QVariant>

namespace {

// Bumped with every change of the table's columns, so that an older release
// knows the table is not its own and a newer one knows what to migrate.
// Version 2 marks each job with the exchange's rules it was written by.
constexpr int kVersion = 2;

const QString kCampos =
    QStringLiteral("numero, pedido, respuesta, material, creado, cambiado, puesto, estado, formato");

QString motivo(const QSqlQuery& q) { return q.lastError().text().trimmed(); }

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

// SQLite lets a writer wait for another bench's transaction instead of
// failing at once.
void esperarEscritores(const QSqlDatabase& bd)
{
    if (bd.driverName() == QLatin1String("QSQLITE")) {
        QSqlQuery q(bd);
        q.exec(QStringLiteral("PRAGMA busy_timeout = 5000"));
    }
}

TrabajoGuardado leer(const QSqlQuery& q)
{
    return {
        q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
        q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
        q.value(6).toString(), q.value(7).toString(), q.value(8).isNull() ? dcs::kFormatoAnterior : q.value(8).toInt()};
}

// The devices' traces have a table of their own, which a store made before
// it gets on its next use.
std::optional<QString> prepararTrazos(const QSqlDatabase& bd)
{
    QSqlQuery q(bd);
    for (int intento = 0; intento < 2; ++intento) {
        if (ejecutar(q, QStringLiteral("SELECT numero FROM trabajos_trazos WHERE 1 = 0")))
            return std::nullopt;
        // Another host may have made it in between: the second look finds it.
        if (ejecutar(q, QStringLiteral("CREATE TABLE trabajos_trazos (numero VARCHAR(40) PRIMARY KEY, trazo TEXT NOT "
                                       "NULL, dispositivo TEXT NOT NULL, recibido VARCHAR(32) NOT NULL)")))
            return std::nullopt;
    }
    return QStringLiteral("no se pudo crear la tabla de trazos: ") + motivo(q);
}

} // namespace

AlmacenTrabajos::AlmacenTrabajos(const BaseMateriales& base) : m_base(base) {}

std::optional<QString> AlmacenTrabajos::Preparar()
{
    ConexionMateriales c(m_base, QStringLiteral("Trabajos"));
    if (!c.abierta())
        return QStringLiteral("no se pudo abrir la Base de Datos de Materiales ") +
               QString::fromStdString(c.nombreBase());
    QSqlDatabase bd = c.bd();
    esperarEscritores(bd);
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
                return QStringLiteral("la tabla de trabajos es de la versión %1 del programa; esta versión lee la %2")
                    .arg(version)
                    .arg(kVersion);
            // The earlier release's jobs keep no mark: they are read by its rules.
            if (bd.transaction() && ejecutar(q, QStringLiteral("ALTER TABLE trabajos ADD COLUMN formato INTEGER")) &&
                ejecutar(q, QStringLiteral("UPDATE trabajos_version SET version = ? WHERE version = 1"), {kVersion}) &&
                bd.commit())
                return prepararTrazos(bd);
            const QString error = motivo(q);
            bd.rollback();
            if (intento == 2)
                return QStringLiteral("no se pudo poner al día la tabla de trabajos: ") + error;
            continue;
        }
        q.finish();
        if (!bd.transaction())
            return QStringLiteral("no se pudo crear la tabla de trabajos: ") + bd.lastError().text();
        const bool creada =
            ejecutar(q, QStringLiteral("CREATE TABLE trabajos (numero VARCHAR(40) PRIMARY KEY, pedido TEXT NOT NULL, "
                                       "respuesta TEXT NOT NULL, material TEXT NOT NULL, creado VARCHAR(32) NOT NULL, "
                                       "cambiado VARCHAR(32) NOT NULL, puesto TEXT NOT NULL, estado TEXT NOT NULL, "
                                       "formato INTEGER)")) &&
            ejecutar(q, QStringLiteral("CREATE TABLE trabajos_version (version INTEGER NOT NULL)")) &&
            ejecutar(q, QStringLiteral("INSERT INTO trabajos_version (version) VALUES (?)"), {kVersion});
        const QString error = motivo(q);
        if (creada && bd.commit())
            return prepararTrazos(bd);
        bd.rollback();
        if (intento == 2)
            return QStringLiteral("no se pudo crear la tabla de trabajos: ") + error;
    }
    return std::nullopt;
}

AlmacenTrabajos::Guardado AlmacenTrabajos::Guardar(const TrabajoGuardado& t, bool reemplazar, QString& error)
{
    ConexionMateriales c(m_base, QStringLiteral("Trabajos"));
    if (!c.abierta()) {
        error = QStringLiteral("no se pudo abrir la Base de Datos de Materiales");
        return Guardado::Error;
    }
    esperarEscritores(c.bd());
    QSqlQuery q(c.bd());
    if (reemplazar &&
        ejecutar(q,
                 QStringLiteral("UPDATE trabajos SET pedido = ?, respuesta = ?, material = ?, cambiado = "
                                "?, puesto = ?, estado = ?, formato = ? WHERE numero = ?"),
                 {t.pedido, t.respuesta, t.material, t.cambiado, t.puesto, t.estado, t.formato, t.numero}) &&
        q.numRowsAffected() == 1)
        return Guardado::Reemplazado;
    if (ejecutar(q, QStringLiteral("INSERT INTO trabajos (") + kCampos + QStringLiteral(") VALUES (?,?,?,?,?,?,?,?,?)"),
                 {t.numero, t.pedido, t.respuesta, t.material, t.creado, t.cambiado, t.puesto, t.estado, t.formato}))
        return Guardado::Nuevo;
    error = motivo(q);
    // The key refused it when the number is there now, stored by this bench
    // before or by another at the same moment.
    QSqlQuery existe(c.bd());
    if (ejecutar(existe, QStringLiteral("SELECT 1 FROM trabajos WHERE numero = ?"), {t.numero}) && existe.next())
        return Guardado::YaExiste;
    return Guardado::Error;
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
    ConexionMateriales c(m_base, QStringLiteral("Trabajos"));
    QSqlQuery q(c.bd());
    if (!ejecutar(q, QStringLiteral("SELECT ") + kCampos + QStringLiteral(" FROM trabajos WHERE numero = ?"),
                  {numero})) {
        error = motivo(q);
        return std::nullopt;
    }
    if (!q.next()) {
        error.clear();
        return std::nullopt;
    }
    return leer(q);
}

bool AlmacenTrabajos::GuardarTrazo(const TrazoGuardado& t, const TrabajoGuardado* trabajo, QString& error)
{
    ConexionMateriales c(m_base, QStringLiteral("Trabajos"));
    QSqlDatabase bd = c.bd();
    if (!c.abierta() || !(esperarEscritores(bd), bd.transaction())) {
        error = QStringLiteral("no se pudo abrir la Base de Datos de Materiales");
        return false;
    }
    QSqlQuery q(bd);
    const QVariantList valores{t.trazo, t.dispositivo, t.recibido, t.numero};
    bool hecho = ejecutar(q,
                          QStringLiteral("UPDATE trabajos_trazos SET trazo = ?, dispositivo = ?, recibido = ? "
                                         "WHERE numero = ?"),
                          valores);
    if (hecho && q.numRowsAffected() == 0)
        hecho = ejecutar(
            q, QStringLiteral("INSERT INTO trabajos_trazos (trazo, dispositivo, recibido, numero) VALUES (?,?,?,?)"),
            valores);
    if (hecho && trabajo)
        hecho = ejecutar(q,
                         QStringLiteral("UPDATE trabajos SET pedido = ?, respuesta = ?, material = ?, cambiado = ?, "
                                        "puesto = ?, estado = ? WHERE numero = ?"),
                         {trabajo->pedido, trabajo->respuesta, trabajo->material, trabajo->cambiado, trabajo->puesto,
                          trabajo->estado, trabajo->numero});
    if (hecho && bd.commit())
        return true;
    error = hecho ? bd.lastError().text() : motivo(q);
    bd.rollback();
    return false;
}

std::optional<TrazoGuardado> AlmacenTrabajos::AbrirTrazo(const QString& numero, QString& error)
{
    ConexionMateriales c(m_base, QStringLiteral("Trabajos"));
    QSqlQuery q(c.bd());
    error.clear();
    if (!ejecutar(q,
                  QStringLiteral("SELECT numero, trazo, dispositivo, recibido FROM trabajos_trazos WHERE numero = ?"),
                  {numero})) {
        error = motivo(q);
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    return TrazoGuardado{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()};
}

std::optional<QList<TrabajoGuardado>> AlmacenTrabajos::Lista(std::optional<QDate> desde, QString& error)
{
    ConexionMateriales c(m_base, QStringLiteral("Trabajos"));
    QSqlQuery q(c.bd());
    const QString sql = QStringLiteral("SELECT ") + kCampos + QStringLiteral(" FROM trabajos") +
                        (desde ? QStringLiteral(" WHERE creado >= ?") : QString()) +
                        QStringLiteral(" ORDER BY creado, numero");
    if (!ejecutar(q, sql, desde ? QVariantList{desde->toString(Qt::ISODate)} : QVariantList{})) {
        error = motivo(q);
        return std::nullopt;
    }
    QList<TrabajoGuardado> lista;
    while (q.next())
        lista.append(leer(q));
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
