#include "intercambio_dcs.h"

#include "etiquetas_dcs.h"
#include "trazo_dcs.h"
#include "trazo_pedido.h"

#include <algorithm>
#include <charconv>

namespace dcs {

namespace {

// A value from a device, cut and stripped of what could break a record or a
// log line.
std::string limpio(std::string_view s, std::size_t largo, bool campos = false)
{
    std::string salida;
    for (const char c : s.substr(0, largo))
        if (c > ' ' && c < '\x7f' && (campos || c != ';') && c != '=')
            salida.push_back(c);
    return salida;
}

const std::string* primero(const std::vector<Registro>& registros, std::string_view etiqueta)
{
    const auto it =
        std::find_if(registros.begin(), registros.end(), [&](const Registro& r) { return r.etiqueta == etiqueta; });
    return it == registros.end() ? nullptr : &it->valor;
}

// Three to eight capital letters or digits, as the standard's requests are.
bool reqValida(std::string_view req)
{
    return req.size() >= 3 && req.size() <= 8 &&
           std::all_of(req.begin(), req.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

void agregar(std::string& registros, std::string_view etiqueta, std::string_view valor)
{
    registros.append(etiqueta).append("=").append(valor).push_back('\r');
}

// An uploaded trace read as a job's trace is read: a format Vantora does not
// take, or radii not equally spaced, is one it cannot support; anything else
// that does not read is a format error.
std::optional<Falla> fallaDelTrazo(const std::string& job, const std::string& trazo)
{
    std::string error;
    const auto leido = Pedido::Leer("JOB=" + job + "\r\n" + trazo, error);
    if (!leido)
        return Falla{Estado::Formato, "TRCFMT", error};
    for (const Lado lado : {Lado::Derecho, Lado::Izquierdo})
        if (const std::string& formato = leido->trazoNoLeido(lado); !formato.empty())
            return Falla{Estado::TrazoNoAdmitido, "TRCFMT",
                         formato + ": no admitido; solo se lee el formato 1, de radios equiespaciados"};
    if (!LeerTrazos(leido->trazo(), error))
        return Falla{Estado::Formato, "TRCFMT", error};
    return std::nullopt;
}

// The STATUS a stored answer gives the job; one that gives none cannot be
// taken for answered.
Estado estadoDe(const std::vector<Registro>& registros)
{
    const std::string* estado = primero(registros, "STATUS");
    int codigo = -1;
    if (estado)
        std::from_chars(estado->data(), estado->data() + estado->size(), codigo);
    return codigo >= 0 && codigo <= 99 ? static_cast<Estado>(codigo) : Estado::NoProcesable;
}

} // namespace

std::vector<Registro> LeerRegistros(std::string_view texto)
{
    std::vector<Registro> registros;
    while (!texto.empty()) {
        const std::string_view linea = SiguienteRegistro(texto);
        const std::size_t igual = linea.find('=');
        if (igual != std::string_view::npos)
            registros.push_back(
                {std::string(Recortar(linea.substr(0, igual))), std::string(Recortar(linea.substr(igual + 1)))});
    }
    return registros;
}

std::string Dispositivo::Nombre() const
{
    if (dev.empty() && model.empty())
        return "?";
    return limpio(dev, 20) + "/" + limpio(model, 20);
}

Pregunta Clasificar(std::string_view texto, Dispositivo& dispositivo)
{
    const std::vector<Registro> registros = LeerRegistros(texto);
    Pregunta p;
    const std::string* req = primero(registros, "REQ");
    p.req = req ? limpio(*req, 16) : std::string();
    if (req && *req == "INI") {
        p.tipo = Pregunta::Tipo::Inicio;
        for (auto [etiqueta, campo] : {std::pair{"DEV", &dispositivo.dev},
                                       {"VEN", &dispositivo.ven},
                                       {"MODEL", &dispositivo.model},
                                       {"MID", &dispositivo.mid}})
            if (const std::string* v = primero(registros, etiqueta))
                *campo = v->substr(0, 40);
        for (const Registro& r : registros)
            if (r.etiqueta == "TRCFMT" && p.formato.empty() && Campos(r.valor)[0] == "1")
                p.formato = limpio(r.valor, 40, true);
        return p;
    }
    if (!req || !reqValida(*req))
        return p;
    const std::string* job = primero(registros, "JOB");
    p.job = job ? limpio(*job, 40) : std::string();
    if (!job || !NumeroDeTrabajoValido(*job)) {
        p.estado = Estado::NumeroNoValido;
        return p;
    }
    if (*req == "TRC") {
        p.trazo = SoloTrazo(texto);
        p.tipo = p.trazo.empty() ? Pregunta::Tipo::PedirTrazo : Pregunta::Tipo::SubirTrazo;
    } else {
        p.tipo = Pregunta::Tipo::Trabajo;
    }
    return p;
}

Replica Atender(const Pregunta& p, const Dispositivo& dispositivo, TrabajosDeDispositivos* trabajos)
{
    Replica r;
    const auto cabecera = [&](Estado estado) {
        r.estado = estado;
        r.registros.clear();
        agregar(r.registros, "ANS", p.req);
        if (!p.job.empty())
            agregar(r.registros, "JOB", p.job);
        agregar(r.registros, "STATUS", std::to_string(static_cast<int>(estado)));
    };
    const auto fallo = [&](Estado estado, std::string error) {
        cabecera(estado);
        r.error = std::move(error);
        return r;
    };
    using Tipo = Pregunta::Tipo;
    if (p.tipo == Tipo::Inicio) {
        cabecera(Estado::Respondido);
        // Format 1 (radii written as text) is the only one Vantora reads.
        agregar(r.registros, "TRCFMT", p.formato.empty() ? "1;400;E;R;F" : p.formato);
        return r;
    }
    if (p.tipo == Tipo::Rechazo || !trabajos)
        return fallo(p.estado, {});
    if (p.tipo == Tipo::SubirTrazo) {
        if (const auto f = fallaDelTrazo(p.job, p.trazo))
            return fallo(f->estado, f->Texto());
        const auto g = trabajos->GuardarTrazo(p.job, p.trazo, dispositivo);
        if (g.estado != Estado::Respondido)
            return fallo(g.estado, g.error);
        cabecera(Estado::Respondido);
        return r;
    }
    if (p.tipo == Tipo::PedirTrazo) {
        // The trace a device sent, else the one the stored order brought.
        TrabajosDeDispositivos::Hallazgo h = trabajos->Trazo(p.job);
        if (h.estado == Estado::NoEncontrado)
            h = trabajos->Trabajo(p.job);
        if (h.estado != Estado::Respondido)
            return fallo(h.estado, h.error);
        const std::string trazo = TrazoParaDispositivos(h.pedido);
        if (trazo.empty())
            return fallo(Estado::NoEncontrado, "el trabajo no tiene trazado");
        cabecera(Estado::Respondido);
        r.registros.append(trazo);
        return r;
    }
    const TrabajosDeDispositivos::Hallazgo t = trabajos->Trabajo(p.job);
    if (t.estado != Estado::Respondido)
        return fallo(t.estado, t.error);
    // The stored answer with its own STATUS; its number is the message's.
    const std::vector<Registro> registros = LeerRegistros(t.respuesta);
    cabecera(estadoDe(registros));
    for (const Registro& x : registros)
        if (x.etiqueta != "JOB" && x.etiqueta != "STATUS")
            agregar(r.registros, x.etiqueta, x.valor);
    r.registros.append(TrazoParaDispositivos(t.pedido));
    return r;
}

} // namespace dcs
