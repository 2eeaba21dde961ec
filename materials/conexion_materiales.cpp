#include "conexion_materiales.h"

#include "base_materiales.h"
#include "motivos_sql.h"
#include "plazo_servidor.h"
#include "sonda_servidor.h"

#include <QSqlError>

#include <atomic>

namespace {

// The innermost ConexionRetenida of this thread.
thread_local ConexionRetenida* t_retenida = nullptr;

QString nombreUnico(const QString& cursor)
{
    static std::atomic<unsigned> contador{0};
    return cursor + u'#' + QString::number(++contador);
}

} // namespace

ConexionMateriales::ConexionMateriales(const BaseMateriales& base, const QString& cursor) : m_nombreBase(base.nombre())
{
    if (!base.disponible())
        return;
    ConexionRetenida* retenida = t_retenida;
    while (retenida && &retenida->m_base != &base)
        retenida = retenida->m_anterior;
    if (retenida) {
        if (!retenida->m_bd.isValid()) {
            retenida->m_nombre = nombreUnico(QStringLiteral("Retenida"));
            retenida->m_bd = base.NuevaConexion(retenida->m_nombre);
        }
        m_bd = retenida->m_bd;
    } else {
        m_nombre = nombreUnico(cursor);
        m_bd = base.NuevaConexion(m_nombre);
    }
    if (base.ubicacion().esServidor()) {
        m_servidor = &base.ubicacion();
        m_falla = Reconectar();
    } else if (!m_bd.isOpen()) {
        m_nueva = m_bd.open();
        if (!m_nueva)
            m_falla = Motivo(m_bd.lastError(), m_bd);
    }
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
    m_nueva = true;
    return std::nullopt;
}

ConexionMateriales::~ConexionMateriales()
{
    if (!m_bd.isValid())
        return;
    if (m_nombre.isEmpty()) {
        m_bd = QSqlDatabase();
        return;
    }
    m_bd.close();
    m_bd = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_nombre);
}

ConexionRetenida::ConexionRetenida(const BaseMateriales& base) : m_base(base), m_anterior(t_retenida)
{
    t_retenida = this;
}

ConexionRetenida::~ConexionRetenida()
{
    t_retenida = m_anterior;
    if (!m_bd.isValid())
        return;
    m_bd.close();
    m_bd = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_nombre);
}
