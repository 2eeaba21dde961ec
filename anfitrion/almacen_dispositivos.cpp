#include "almacen_dispositivos.h"

#include "almacen_trabajos.h"
#include "base_materiales.h"
#include "catalogo_sql.h"
#include "espesor_minimo.h"
#include "responder_trabajo.h"
#include "trazo_pedido.h"

#include <QDateTime>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

class MaterialesDelCatalogo : public trabajos::MaterialesTrabajo {
public:
    explicit MaterialesDelCatalogo(const BaseMateriales& base) : m_base(base), m_catalogo(base) {}

    std::optional<trabajos::MaterialTrabajo> Buscar(std::string_view nombre) override
    {
        const auto m = m_catalogo.BuscarPorNombre(nombre);
        if (!m)
            return std::nullopt;
        return trabajos::MaterialTrabajo{m->producto, m->indice, m->densidad, EspesorMinimoDe(m_base, m->Id)};
    }
    std::string inaccesible() const { return m_catalogo.Inaccesible(); }

private:
    const BaseMateriales& m_base;
    CatalogoSql m_catalogo;
};

} // namespace

AlmacenDispositivos::Hallazgo AlmacenDispositivos::Trabajo(const std::string& numero)
{
    QString error;
    const auto t = AlmacenTrabajos(m_base).Abrir(Q(numero), error);
    if (!t)
        return {false, error.toStdString(), {}, {}};
    return {true, {}, t->pedido.toStdString(), t->respuesta.toStdString()};
}

AlmacenDispositivos::Hallazgo AlmacenDispositivos::Trazo(const std::string& numero)
{
    QString error;
    const auto t = AlmacenTrabajos(m_base).AbrirTrazo(Q(numero), error);
    if (!t)
        return {false, error.toStdString(), {}, {}};
    return {true, {}, t->trazo.toStdString(), {}};
}

std::optional<std::string> AlmacenDispositivos::GuardarTrazo(const std::string& numero, const std::string& trazo,
                                                             const dcs::Dispositivo& dispositivo)
{
    AlmacenTrabajos almacen(m_base);
    QString error;
    const auto guardado = almacen.Abrir(Q(numero), error);
    if (!guardado && !error.isEmpty())
        return "no se pudo leer el almacén de trabajos: " + error.toStdString();
    // A stored job is answered again on the new trace, with the catalogue as
    // it is now: the trace changed the job, and its answer must follow.
    std::optional<TrabajoGuardado> nuevo;
    if (guardado) {
        const std::string pedido = dcs::PedidoConTrazo(guardado->pedido.toStdString(), trazo);
        std::string motivo;
        const auto leido = dcs::Pedido::Leer(pedido, motivo);
        if (!leido)
            return "el pedido guardado no se puede leer: " + motivo;
        MaterialesDelCatalogo materiales(m_base);
        const trabajos::Contestacion c = trabajos::Responder(*leido, &materiales);
        // A material the server could not look up would store a failed eye.
        if (!materiales.inaccesible().empty())
            return materiales.inaccesible();
        nuevo = TrabajoRespondido(pedido, c);
    }
    const TrazoGuardado t{Q(numero), Q(trazo), Q(dispositivo.Nombre()),
                          QDateTime::currentDateTimeUtc().toString(Qt::ISODate)};
    if (!almacen.GuardarTrazo(t, nuevo ? &*nuevo : nullptr, error))
        return "no se pudo guardar el trazo: " + error.toStdString();
    return std::nullopt;
}
