#include "almacen_dispositivos.h"

#include "almacen_trabajos.h"
#include "conexion_materiales.h"
#include "materiales_catalogo.h"
#include "respuesta_guardada.h"
#include "trabajo_con_trazo.h"

#include <QDateTime>

namespace {

using dcs::Estado;

QString Q(const std::string& s) { return QString::fromStdString(s); }

class ConexionDelTrabajador : public dcs::RecursosDelTrabajador {
public:
    explicit ConexionDelTrabajador(const BaseMateriales& base) : m_conexion(base) {}

private:
    ConexionRetenida m_conexion;
};

} // namespace

std::unique_ptr<dcs::RecursosDelTrabajador> AlmacenDispositivos::Recursos()
{
    return std::make_unique<ConexionDelTrabajador>(m_base);
}

AlmacenDispositivos::Hallazgo AlmacenDispositivos::Trabajo(const std::string& numero)
{
    QString error;
    const auto t = AlmacenTrabajos(m_base).Abrir(Q(numero), error);
    if (!t)
        return {{error.isEmpty() ? Estado::NoEncontrado : Estado::General, error.toStdString()}, {}, {}};
    // The catalogue is only read for a job of the earlier release whose
    // request gave no index.
    trabajos::MaterialesDeCatalogo materiales(m_base);
    std::string motivo, pedido = t->pedido.toStdString();
    auto respuesta =
        trabajos::RespuestaGuardada(numero, pedido, t->respuesta.toStdString(), t->formato, &materiales, motivo);
    if (!respuesta)
        return {{Estado::NoProcesable, motivo}, {}, {}};
    return {{}, std::move(pedido), std::move(*respuesta)};
}

AlmacenDispositivos::Hallazgo AlmacenDispositivos::Trazo(const std::string& numero)
{
    QString error;
    const auto t = AlmacenTrabajos(m_base).AbrirTrazo(Q(numero), error);
    if (!t)
        return {{error.isEmpty() ? Estado::NoEncontrado : Estado::General, error.toStdString()}, {}, {}};
    return {{}, t->trazo.toStdString(), {}};
}

AlmacenDispositivos::Resultado AlmacenDispositivos::GuardarTrazo(const std::string& numero, const std::string& trazo,
                                                                 const dcs::Dispositivo& dispositivo)
{
    AlmacenTrabajos almacen(m_base);
    const TrazoGuardado t{Q(numero), Q(trazo), Q(dispositivo.Nombre()),
                          QDateTime::currentDateTimeUtc().toString(Qt::ISODate)};
    // Another bench may store the job while it is answered here: the trace
    // is then kept with the newer job, read and answered again, never over it.
    for (int intento = 0; intento < kIntentosTrazo; ++intento) {
        QString error;
        const auto guardado = almacen.Abrir(Q(numero), error);
        if (!guardado && !error.isEmpty())
            return {Estado::General, "no se pudo leer el almacén de trabajos: " + error.toStdString()};
        // A stored job is answered again on the new trace, with the catalogue
        // as it is now: the trace changed the job, and its answer must follow.
        std::optional<TrabajoGuardado> nuevo;
        if (guardado) {
            trabajos::MaterialesDeCatalogo materiales(m_base);
            std::string motivo;
            const auto respondido = dcs::ResponderConTrazo(numero, guardado->pedido.toStdString(), guardado->formato,
                                                           trazo, &materiales, motivo);
            // A material the server could not look up would store a failed eye.
            if (!materiales.Inaccesible().empty())
                return {Estado::General, materiales.Inaccesible()};
            if (!respondido)
                return {Estado::NoProcesable, "el trazo no se guardó: " + motivo};
            nuevo = TrabajoRespondido(respondido->pedido, respondido->contestacion);
        }
        if (antesDeGuardar)
            antesDeGuardar();
        switch (almacen.GuardarTrazo(t, guardado ? &*guardado : nullptr, nuevo ? &*nuevo : nullptr, error)) {
        case AlmacenTrabajos::Trazado::Guardado:
            return {};
        case AlmacenTrabajos::Trazado::Error:
            return {Estado::General, "no se pudo guardar el trazo: " + error.toStdString()};
        case AlmacenTrabajos::Trazado::Cambiado:
            break;
        }
    }
    return {Estado::General,
            "no se guardó el trazo: el trabajo cambió en otro puesto cada vez que se respondía con él"};
}
