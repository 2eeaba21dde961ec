#include "conexion_materiales.h"

#include "base_materiales.h"
#include "motivos_sql.h"
#include "plazo_servidor.h"
#include "sonda_servidor.h"

#include <QSqlError>

#include <atomic>

ConexionMateriales::ConexionMateriales(const BaseMateriales& base, const QString& cursor) : m_nombreBase(base.nombre())
{
    static std::atomic<unsigned> contador{0};
    m_nombre = cursor + u'#' + QString::number(++contador);
    if (!base.disponible())
        return;
    m_bd = base.NuevaConexion(m_nombre);
    if (!base.ubicacion().esServidor()) {
        if (!m_bd.open())
            m_falla = Motivo(m_bd.lastError(), m_bd);
        return;
    }
    m_servidor = &base.ubicacion();
    m_falla = Reconectar();
}

std::optional<std::string> ConexionMateriales::Reconectar()
{
    if (!m_servidor || !ConexionPerdida(m_bd))
        return std::nullopt;
    m_bd.close();
    // Qt's own opening asks the server a few things with no limit; the probe
    // asks first, within one.
    const SondaServidor sonda =
        SondearServidor(*m_servidor, std::chrono::seconds(UbicacionCatalogo::kSegundosConexion));
    if (!sonda.conectado)
        return sonda.motivo;
    if (!m_bd.open())
        return Motivo(m_bd.lastError(), m_bd);
    return std::nullopt;
}

ConexionMateriales::~ConexionMateriales()
{
    if (!m_bd.isValid())
        return;
    m_bd.close();
    m_bd = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_nombre);
}
