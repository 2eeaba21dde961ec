#include "sonda_servidor.h"

#include "plazo_servidor.h"
#include "ubicacion_catalogo.h"

#include <libpq-fe.h>
#include <poll.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

using Reloj = std::chrono::steady_clock;

struct Parametros {
    std::vector<std::string> claves;
    std::vector<std::string> valores;

    void Poner(const char* clave, const QString& valor)
    {
        if (valor.isEmpty())
            return;
        claves.emplace_back(clave);
        valores.push_back(valor.toStdString());
    }
};

Parametros DeUbicacion(const UbicacionCatalogo& u, const QString& base)
{
    Parametros p;
    p.Poner("host", u.servidor());
    p.Poner("port", u.puerto() >= 0 ? QString::number(u.puerto()) : QString());
    p.Poner("user", u.usuario());
    p.Poner("password", u.contrasena());
    p.Poner("dbname", base);
    p.Poner("connect_timeout", QString::number(UbicacionCatalogo::kSegundosConexion));
    p.Poner("application_name", QStringLiteral("vantora"));
    for (const auto& [clave, valor] : UbicacionCatalogo::OpcionesServidor())
        p.Poner(clave, valor);
    return p;
}

struct Cierre {
    void operator()(PGconn* c) const { PQfinish(c); }
};
using Conexion = std::unique_ptr<PGconn, Cierre>;

struct Intento {
    Conexion conexion;
    bool conectado = false;
    bool agotado = false;
    // libpq refused the parameters before trying.
    bool invalido = false;
    // The server answered the start-up message.
    bool respondio = false;
};

// libpq's non-blocking connection, driven against a deadline of our own:
// its connect_timeout counts again for each address of a name.
Intento Conectar(const Parametros& p, Reloj::time_point limite)
{
    std::vector<const char*> claves, valores;
    for (size_t i = 0; i < p.claves.size(); ++i) {
        claves.push_back(p.claves[i].c_str());
        valores.push_back(p.valores[i].c_str());
    }
    claves.push_back(nullptr);
    valores.push_back(nullptr);
    Intento intento;
    intento.conexion.reset(PQconnectStartParams(claves.data(), valores.data(), 0));
    PGconn* c = intento.conexion.get();
    if (!c || PQstatus(c) == CONNECTION_BAD) {
        intento.invalido = c != nullptr;
        return intento;
    }
    PostgresPollingStatusType estado = PGRES_POLLING_WRITING;
    while (estado != PGRES_POLLING_OK && estado != PGRES_POLLING_FAILED) {
        const auto falta = std::chrono::duration_cast<std::chrono::milliseconds>(limite - Reloj::now());
        if (falta.count() <= 0) {
            intento.agotado = true;
            return intento;
        }
        // Between two addresses there may be no socket to wait on.
        if (PQsocket(c) >= 0) {
            pollfd espera{PQsocket(c), short(estado == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
            if (poll(&espera, 1, int(falta.count())) == 0) {
                intento.agotado = true;
                return intento;
            }
        }
        estado = PQconnectPoll(c);
        // Waiting for the server's answer: the start-up message reached it.
        if (PQstatus(c) == CONNECTION_AWAITING_RESPONSE)
            intento.respondio = true;
    }
    intento.conectado = estado == PGRES_POLLING_OK;
    if (!intento.conectado && PQconnectionNeedsPassword(c))
        intento.respondio = true;
    return intento;
}

std::string Nombre(PGconn* c)
{
    const std::string anfitrion = PQhost(c) ? PQhost(c) : "";
    const std::string puerto = PQport(c) && *PQport(c) ? PQport(c) : "5432";
    // A host that begins with "/" is the folder of the local server's socket.
    const std::string servidor = anfitrion.empty() || anfitrion[0] == '/'
                                     ? "local" + (anfitrion.empty() ? std::string() : " (" + anfitrion + ")")
                                     : anfitrion + ":" + puerto;
    return std::string("base \"") + (PQdb(c) ? PQdb(c) : "") + "\" del servidor " + servidor + ", usuario " +
           (PQuser(c) ? PQuser(c) : "");
}

// Whether the database exists, asked with the same login on a database that
// every role normally reaches; empty when that login is refused there too.
// A refusal and a missing database reach the client in one reply, so the
// attempt itself cannot tell them apart.
std::optional<bool> BaseExiste(const UbicacionCatalogo& u, const std::string& base, Reloj::time_point limite)
{
    Intento mantenimiento;
    for (const char* otra : {"postgres", "template1"}) {
        if (base == otra)
            continue;
        mantenimiento = Conectar(DeUbicacion(u, QLatin1String(otra)), limite);
        if (mantenimiento.conectado)
            break;
    }
    if (!mantenimiento.conectado)
        return std::nullopt;
    const char* valores[] = {base.c_str()};
    PGresult* r = PQexecParams(mantenimiento.conexion.get(), "SELECT 1 FROM pg_database WHERE datname = $1", 1, nullptr,
                               valores, nullptr, nullptr, 0);
    std::optional<bool> existe;
    if (PQresultStatus(r) == PGRES_TUPLES_OK)
        existe = PQntuples(r) > 0;
    PQclear(r);
    return existe;
}

// Whether the server answers a statement before the deadline: a server, or a
// router between, may take the login and then stop answering.
bool Responde(PGconn* c, Reloj::time_point limite)
{
    if (PQsetnonblocking(c, 1) != 0 || !PQsendQuery(c, "SELECT 1"))
        return false;
    for (;;) {
        const int envio = PQflush(c);
        if (envio < 0 || !PQconsumeInput(c))
            return false;
        if (envio == 0 && !PQisBusy(c))
            break;
        const auto falta = std::chrono::duration_cast<std::chrono::milliseconds>(limite - Reloj::now());
        pollfd espera{PQsocket(c), short(POLLIN | (envio == 1 ? POLLOUT : 0)), 0};
        if (falta.count() <= 0 || poll(&espera, 1, int(falta.count())) == 0)
            return false;
    }
    bool ok = true;
    while (PGresult* r = PQgetResult(c)) {
        ok = ok && PQresultStatus(r) == PGRES_TUPLES_OK;
        PQclear(r);
    }
    return ok;
}

} // namespace

SondaServidor SondearServidor(const UbicacionCatalogo& ubicacion, std::chrono::milliseconds plazo)
{
    const Reloj::time_point limite = Reloj::now() + plazo;
    const Intento intento = Conectar(DeUbicacion(ubicacion, ubicacion.base()), limite);
    SondaServidor sonda;
    PGconn* c = intento.conexion.get();
    if (!c) {
        sonda.motivo = "no hay memoria para conectarse";
        return sonda;
    }
    sonda.nombre = Nombre(c);
    sonda.conectado = intento.conectado;
    const std::string usuario = PQuser(c) ? PQuser(c) : "";
    const std::string base = PQdb(c) ? PQdb(c) : "";
    const auto segundos = std::to_string(std::chrono::duration_cast<std::chrono::seconds>(plazo).count());
    if (intento.conectado && Responde(c, limite))
        return sonda;
    if (intento.conectado) {
        sonda.conectado = false;
        sonda.motivo = "el servidor aceptó la conexión pero no respondió en " + segundos + " segundos";
        return sonda;
    }
    if (intento.invalido)
        sonda.motivo = "los datos de la conexión no son válidos";
    else if (intento.agotado)
        sonda.motivo = "el servidor no respondió en " + segundos + " segundos";
    else if (PQconnectionNeedsPassword(c))
        sonda.motivo = "el servidor pide una contraseña para el usuario " + usuario +
                       " y no se dio ninguna (ni en la dirección, ni en PGPASSWORD, ni en el archivo de "
                       "contraseñas de PostgreSQL)";
    else if (intento.respondio) {
        const std::optional<bool> existe = BaseExiste(ubicacion, base, limite);
        if (existe == false)
            sonda.motivo = "la base de datos \"" + base + "\" no existe en ese servidor";
        else if (existe == true)
            sonda.motivo = "el usuario " + usuario + " no puede conectarse a la base \"" + base +
                           "\": le falta el permiso CONNECT sobre ella, o la base no admite más conexiones";
        else
            sonda.motivo = "el servidor rechazó al usuario " + usuario +
                           ": la contraseña no es la correcta, el usuario no existe o el servidor no admite sus "
                           "conexiones desde este puesto";
    } else
        sonda.motivo = "el servidor no responde: no está en marcha, o el nombre del servidor o el puerto no son los "
                       "correctos";
    return sonda;
}
