#pragma once

#include <QSqlDatabase>
#include <QString>

class BaseMateriales;

// One cursor's own connection to the materials file, closed and removed when
// it goes out of scope. Qt names connections process-wide, so each one gets
// a unique name built from the cursor's (Data_Materiales, Data1). When the
// file is not usable no connection is opened and bd() is an invalid
// database: queries on it simply find nothing. Whatever holds a copy of bd()
// (a query, a model) must be destroyed before this object.
class ConexionMateriales {
public:
    ConexionMateriales(const BaseMateriales& base, const QString& cursor);
    ~ConexionMateriales();
    ConexionMateriales(const ConexionMateriales&) = delete;
    ConexionMateriales& operator=(const ConexionMateriales&) = delete;

    const QSqlDatabase& bd() const { return m_bd; }
    bool abierta() const { return m_bd.isOpen(); }
    const QString& archivo() const { return m_archivo; }

private:
    QString m_nombre;
    QString m_archivo;
    QSqlDatabase m_bd;
};
