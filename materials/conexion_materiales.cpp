#include "conexion_materiales.h"

#include "base_materiales.h"

#include <atomic>

ConexionMateriales::ConexionMateriales(const BaseMateriales& base, const QString& cursor) : m_archivo(base.archivo())
{
    static std::atomic<unsigned> contador{0};
    m_nombre = cursor + u'#' + QString::number(++contador);
    if (!base.disponible())
        return;
    m_bd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nombre);
    m_bd.setDatabaseName(m_archivo);
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
