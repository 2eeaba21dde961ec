#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QSqlDatabase;

// Where the materials catalogue is kept: a SQLite file, the default that
// needs no set-up, or a database on a PostgreSQL server that the benches of a
// laboratory share. A server is written as
//
//     postgresql://[usuario[:contraseña]@][servidor][:puerto]/base
//
// and what the address leaves out comes from the usual PostgreSQL client
// sources (PGHOST, PGPORT, PGUSER, PGPASSWORD, PGDATABASE, the password file),
// so a password never has to stand in a file of ours. No text made here ever
// holds the password.
class UbicacionCatalogo {
public:
    static UbicacionCatalogo Archivo(const std::filesystem::path& archivo);
    // A postgresql:// address, or a file (relative to the folder given).
    // origen says where the text was read, for a message about it;
    // porElUsuario, that the user typed it for this run (see
    // elegidaPorElUsuario()).
    static UbicacionCatalogo DeTexto(const QString& texto, const std::filesystem::path& carpeta, const QString& origen,
                                     bool porElUsuario = false);
    // A catalogue that could not be chosen, for the reason given.
    static UbicacionCatalogo ConError(const QString& motivo);

    bool esServidor() const { return m_servidor; }
    // A file the user named for this run (--catalogo) is opened even through
    // a link; any other catalogue file must stand at its name itself.
    bool elegidaPorElUsuario() const { return m_porElUsuario; }
    // Empty when the text was understood; otherwise the Spanish reason.
    const QString& error() const { return m_error; }

    const QString& archivo() const { return m_archivo; }
    const QString& usuario() const { return m_usuario; }
    const QString& servidor() const { return m_anfitrion; }
    int puerto() const { return m_puerto; }
    const QString& base() const { return m_base; }
    const QString& contrasena() const { return m_contrasena; }

    // Sets the driver and what the address gives on a new connection; for a
    // server, connecting gives up after kSegundosConexion.
    void Configurar(QSqlDatabase& bd) const;

    // For messages: the file name, or the address without the password.
    std::string Descripcion() const;

    static constexpr int kSegundosConexion = 5;

    // The libpq settings that keep a call from waiting for ever on a server
    // that is gone: TCP keepalives and an unacknowledged-data limit for a
    // dead peer, a statement limit on the server's side.
    static std::vector<std::pair<const char*, QString>> OpcionesServidor();

private:
    bool m_servidor = false;
    bool m_porElUsuario = false;
    QString m_error;
    QString m_archivo;
    QString m_usuario;
    QString m_contrasena;
    QString m_anfitrion;
    int m_puerto = -1;
    QString m_base;
};

// The catalogue of this run, the first that is given of: the option
// --catalogo, the environment variable VANTORA_CATALOGO, the key "catalogo"
// of vantora.ini in the data folder (read, never written), and otherwise the
// file porDefecto ("materiales.mdb" of the data folder). An empty value counts
// as not given.
UbicacionCatalogo ElegirCatalogo(const std::optional<QString>& opcion, const std::filesystem::path& carpeta,
                                 const std::filesystem::path& porDefecto);

// The same, with the option taken from the command line ("--catalogo VALOR").
UbicacionCatalogo CatalogoDeArgumentos(int argc, char** argv, const std::filesystem::path& carpeta,
                                       const std::filesystem::path& porDefecto);

inline constexpr char kArchivoConfiguracion[] = "vantora.ini";

// The text with any password in it shown as "***": after the user name of an
// address, written well or mistyped ("postgresql:/", "postgresql//", no
// scheme), and as the value of a "password=" setting.
QString SinContrasena(const QString& texto);

// Overwrites in place a password in one of the program's arguments, so that
// other users no longer read it with ps; returns whether there was one. The
// argument must have been read before.
bool BorrarContrasena(char* argumento);
// The same for the value of every --catalogo.
bool BorrarContrasenasDeCatalogo(int argc, char** argv);

inline constexpr char kAvisoContrasena[] =
    "aviso: la contraseña escrita en la línea de órdenes la pueden leer los demás usuarios del equipo; se borró de "
    "los argumentos del programa, pero guárdela en ~/.pgpass o en la variable PGPASSWORD.";
