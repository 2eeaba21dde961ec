#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <string>

class BaseMateriales;
class UbicacionCatalogo;

// One cursor's own connection to the materials catalogue, closed and removed
// when it goes out of scope. Qt names connections process-wide, so each one
// gets a unique name built from the cursor's (Data_Materiales, Data1). When
// the catalogue is not usable no connection is opened and bd() is an invalid
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
    // The catalogue, for messages (BaseMateriales::nombre()).
    const std::string& nombreBase() const { return m_nombreBase; }
    // Why the connection could not be opened when this object was made;
    // nothing when it was, or when the catalogue is not usable at all.
    const std::optional<std::string>& falla() const { return m_falla; }

    // Before a use: a connection to the server that was lost (the server
    // restarted, the network failed, a call outlasted its limit) is opened
    // again, after the server has been seen to answer within its limit.
    // Returns why the server still cannot be reached; nothing when the
    // connection is usable or was never to be opened.
    std::optional<std::string> Reconectar();

private:
    QString m_nombre;
    std::string m_nombreBase;
    const UbicacionCatalogo* m_servidor = nullptr;
    QSqlDatabase m_bd;
    std::optional<std::string> m_falla;
};
