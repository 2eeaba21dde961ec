#include "conexion_materiales.h"

#include "base_materiales.h"

#include <atomic>

ConexionMateriales::ConexionMateriales(const BaseMateriales& base, const QString& cursor) : m_nombreBase(base.nombre())
{
    static std::atomic<unsigned> contador{0};
    m_nombre = cursor + u'#' + QString::number(++contador);
    if (!base.disponible())
        return;
    m_bd = base.NuevaConexion(m_nombre);
    m_bd.open();
}

ConexionMateriales::~ConexionMateriales()
{
    if (!m_bd.isValid())
        return;
    m_bd.close();
    m_bd = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_nombre);
}
