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
//
// While a ConexionRetenida for the same catalogue lives on this thread, the
// object uses that connection instead of opening one, and leaves it open.
class ConexionMateriales {
public:
    ConexionMateriales(const BaseMateriales& base, const QString& cursor);
    ~ConexionMateriales();
    ConexionMateriales(const ConexionMateriales&) = delete;
    ConexionMateriales& operator=(const ConexionMateriales&) = delete;

    const QSqlDatabase& bd() const { return m_bd; }
    bool abierta() const { return m_bd.isOpen(); }
    // The connection was opened (or opened again) for this object, so the
    // settings of a session are still to be made on it.
    bool nueva() const { return m_nueva; }
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
    QString m_nombre; // empty for a connection held by a ConexionRetenida
    std::string m_nombreBase;
    const UbicacionCatalogo* m_servidor = nullptr;
    QSqlDatabase m_bd;
    std::optional<std::string> m_falla;
    bool m_nueva = false;
};

// Keeps one connection to the catalogue for this thread while it lives: a
// thread that makes many short calls (a worker of the devices' host) opens
// it once, instead of a file's opening or a server's probe and login per
// call. It is opened at the first use and closed by the destructor, which
// must run on the same thread. The calls keep their own time limits; a
// connection to a server that was lost is opened again at the next use.
class ConexionRetenida {
public:
    explicit ConexionRetenida(const BaseMateriales& base);
    ~ConexionRetenida();
    ConexionRetenida(const ConexionRetenida&) = delete;
    ConexionRetenida& operator=(const ConexionRetenida&) = delete;

private:
    friend class ConexionMateriales;
    const BaseMateriales& m_base;
    ConexionRetenida* m_anterior;
    QString m_nombre;
    QSqlDatabase m_bd;
};
