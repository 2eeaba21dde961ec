#include "responder_trabajo.h"

#include "bordes.h"
#include "numerico.h"
#include "reglas_espesor.h"
#include "trazo_dcs.h"

#include <cmath>

namespace trabajos {

namespace {

using dcs::Lado;

// The edge types of the format: 1 bevel and 4 mini-bevel sit in a full rim,
// 3 is grooved for a nylon cord, 2 is drilled rimless; -1 is an uncut lens.
std::optional<laboratorio::Montura> monturaDe(int etyp)
{
    using laboratorio::Montura;
    switch (etyp) {
    case 1:
    case 4:
        return Montura::Completa;
    case 3:
        return Montura::Ranurada;
    case 2:
        return Montura::Perforada;
    case -1:
        return Montura::Ninguna;
    default:
        return std::nullopt;
    }
}

struct Falla {
    std::string motivo;
};

class Ojo {
public:
    Ojo(const dcs::Pedido& p, Lado lado) : m_p(p), m_lado(lado) {}

    std::optional<double> Numero(std::string_view etiqueta) const
    {
        const dcs::Valor* v = m_p.Primero(etiqueta, m_lado);
        return v ? v->numero : std::nullopt;
    }
    double Exigir(std::string_view etiqueta, std::string_view que) const
    {
        const auto v = Numero(etiqueta);
        if (!v)
            throw Falla{std::string(etiqueta) + ": falta " + std::string(que)};
        return *v;
    }
    std::string Texto(std::string_view etiqueta) const
    {
        const dcs::Valor* v = m_p.Primero(etiqueta, m_lado);
        return v ? v->texto : std::string();
    }

private:
    const dcs::Pedido& m_p;
    Lado m_lado;
};

bool pideOjo(const dcs::Pedido& p, Lado lado, std::string& error)
{
    const dcs::Valor* d = p.Primero("DO", lado);
    if (!d)
        return p.Primero("SPH", lado) != nullptr;
    if (d->texto == "B")
        return true;
    if (d->texto == "R" || d->texto == "L")
        return d->texto == (lado == Lado::Derecho ? "R" : "L");
    error = "DO: \"" + d->texto.substr(0, 10) + "\" no es un ojo; se espera B, R o L";
    return true;
}

void resolver(const dcs::Pedido& p, Lado lado, MaterialesTrabajo* materiales, OjoResuelto& ojo)
{
    if (!p.errorDe(lado).empty())
        throw Falla{p.errorDe(lado)};
    const Ojo o(p, lado);
    const lente::Ojo cual = lado == Lado::Derecho ? lente::Ojo::Derecho : lente::Ojo::Izquierdo;

    lente::Pedido pedido;
    pedido.receta.esfera = o.Exigir("SPH", "la esfera");
    pedido.receta.cilindro = o.Numero("CYL").value_or(0);
    if (pedido.receta.cilindro != 0)
        pedido.receta.eje = o.Exigir("AX", "el eje del cilindro");
    pedido.receta.prisma = o.Numero("PRVM").value_or(0);
    if (pedido.receta.prisma != 0)
        pedido.receta.basePrisma = o.Exigir("PRVA", "la dirección de la base del prisma");

    laboratorio::Exigencias exigencias;
    const std::string nombre = o.Texto("LMATTYPE");
    const auto lind = o.Numero("LIND");
    if (!nombre.empty()) {
        const auto m = materiales ? materiales->Buscar(nombre) : std::nullopt;
        if (!m)
            throw Falla{"LMATTYPE: \"" + nombre.substr(0, 40) + "\" no está en la Base de Datos de Materiales"};
        // The catalogue's index is the one the lens is made of; a different
        // LIND means the job and the catalogue disagree on the material.
        if (lind && std::abs(*lind - m->indice) > 0.0005)
            throw Falla{"LIND: " + dcs::ConDecimales(*lind, 3) + " no es el índice de " + m->nombre + " (" +
                        dcs::ConDecimales(m->indice, 3) + ")"};
        pedido.indice = m->indice;
        pedido.densidad = m->densidad;
        exigencias.centroMaterial = m->centroMin;
        exigencias.material = m->nombre;
        ojo.material = m->nombre;
    } else if (lind) {
        pedido.indice = *lind;
    } else {
        throw Falla{"LMATTYPE: falta el material (LMATTYPE o LIND)"};
    }
    ojo.indice = pedido.indice;

    if (const auto etyp = o.Numero("ETYP")) {
        const auto m = monturaDe(static_cast<int>(*etyp));
        if (!m)
            throw Falla{"ETYP: " + std::to_string(static_cast<int>(*etyp)) + " no es un tipo de borde conocido"};
        exigencias.montura = *m;
    }
    if (const auto seguridad = o.Numero("_SEGURIDAD"))
        exigencias.seguridad = static_cast<laboratorio::Seguridad>(static_cast<int>(*seguridad));
    exigencias.bordeUsuario = o.Numero("MINEDG");
    exigencias.centroUsuario = o.Numero("MINCTR");
    exigencias.meridianoMasPositivo = lente::MeridianoMasPositivo(pedido.receta);
    const auto minimos = laboratorio::MinimosDeEspesor(exigencias);
    if (!minimos)
        throw Falla{"MINEDG: falta el borde mínimo (MINEDG, o ETYP de una montura)"};
    pedido.bordeMin = minimos->borde;
    pedido.centroMin = minimos->centro;
    ojo.avisos = minimos->avisos;

    // The outline: the traced shape, else the box's ellipse, else a round
    // lens of the effective diameter.
    std::vector<lente::Punto> forma;
    bool redondo = false;
    if (!p.trazo().empty()) {
        std::string error;
        const auto trazos = dcs::LeerTrazos(p.trazo(), error);
        if (!trazos)
            throw Falla{"TRCFMT: " + error};
        forma = dcs::PuntosDelOjo(*trazos, cual);
    } else if (const auto a = o.Numero("HBOX"), b = o.Numero("VBOX"); a && b) {
        forma = lente::BordeElipse(*a, *b);
    } else if (const auto fed = o.Numero("FED")) {
        forma = lente::BordeRedondo(*fed);
        redondo = true;
    } else {
        throw Falla{"HBOX: falta el contorno (TRCFMT, HBOX y VBOX, o FED)"};
    }
    const auto dp = o.Numero("IPD") ? o.Numero("IPD") : o.Numero("NPD");
    const auto altura = o.Numero("OCHT");
    const dcs::Valor* dbl = p.Primero("DBL", lado);
    const int centrado = int(dp.has_value()) + int(altura.has_value()) + int(dbl && dbl->numero);
    if (redondo || centrado == 0) {
        ojo.borde = redondo ? forma : lente::Descentrar(forma, cual, std::nullopt);
    } else if (centrado == 3) {
        ojo.borde = lente::Descentrar(forma, cual, lente::Centrado{*dbl->numero, *dp, *altura});
    } else {
        throw Falla{std::string(!dp       ? "IPD"
                                : !altura ? "OCHT"
                                          : "DBL") +
                    ": el centrado necesita DBL, IPD (o NPD) y OCHT juntos"};
    }

    const double minimo = lente::BloqueMinimo(ojo.borde);
    ojo.bloqueMinimo = minimo;
    ojo.bloque = lente::BloqueEstandar(minimo);
    if (!ojo.bloque)
        throw Falla{"CRIB: ningún bloque estándar (de 50 a 80 mm) alcanza: se necesita uno de " +
                    dcs::ConDecimales(minimo, 1) + " mm"};
    if (const auto frnt = o.Numero("FRNT")) {
        pedido.base = *frnt;
    } else {
        try {
            pedido.base = lente::SugerirBaseReceta(pedido.receta, pedido.indice, minimo - 2.0);
        } catch (const numerico::Falla&) {
            throw Falla{"FRNT: no se puede sugerir una curva base con estos valores"};
        }
    }
    ojo.base = pedido.base;
    ojo.lente = pedido;
    lente::Solucion s = lente::Resolver(pedido, ojo.borde);
    if (!s.resultado)
        throw Falla{"CTHICK: " + s.falla};
    ojo.resultado = *s.resultado;
    if (pedido.densidad == 0)
        ojo.resultado->peso = NAN;
}

} // namespace

OjoResuelto ResolverOjo(const dcs::Pedido& pedido, Lado lado, MaterialesTrabajo* materiales)
{
    OjoResuelto ojo;
    std::string error;
    ojo.pedido = pideOjo(pedido, lado, error);
    if (!ojo.pedido)
        return ojo;
    try {
        if (!error.empty())
            throw Falla{error};
        resolver(pedido, lado, materiales, ojo);
    } catch (const Falla& f) {
        ojo.falla = f.motivo;
        ojo.resultado.reset();
    } catch (const numerico::Falla&) {
        ojo.falla = "CTHICK: los valores no forman una lente";
        ojo.resultado.reset();
    }
    return ojo;
}

bool Contestacion::Completa() const
{
    return (ojos[0].pedido || ojos[1].pedido) && ojos[0].falla.empty() && ojos[1].falla.empty();
}

std::string Contestacion::Material() const
{
    for (const OjoResuelto& o : ojos)
        if (!o.material.empty())
            return o.material;
    return {};
}

std::optional<OjoDeDiseno> PrimerOjoEsferico(const dcs::Pedido& pedido)
{
    for (const Lado lado : {Lado::Derecho, Lado::Izquierdo}) {
        std::string error;
        if (!pideOjo(pedido, lado, error) || !error.empty() || !pedido.errorDe(lado).empty())
            continue;
        const Ojo o(pedido, lado);
        const auto esfera = o.Numero("SPH");
        if (!esfera || *esfera <= 0 || o.Numero("CYL").value_or(0) != 0 || o.Numero("PRVM").value_or(0) != 0)
            continue;
        return OjoDeDiseno{lado, *esfera, o.Texto("LMATTYPE"), o.Numero("FRNT"), o.Numero("FED"), o.Numero("MINEDG")};
    }
    return std::nullopt;
}

Contestacion Responder(const dcs::Pedido& pedido, MaterialesTrabajo* materiales)
{
    Contestacion c;
    c.numero = pedido.trabajo();
    dcs::Respuesta r;
    r.PonerUnico("JOB", pedido.trabajo());
    for (int i = 0; i < 2; ++i) {
        const Lado lado = static_cast<Lado>(i);
        OjoResuelto& ojo = c.ojos[i];
        ojo = ResolverOjo(pedido, lado, materiales);
        if (!ojo.pedido)
            continue;
        if (!ojo.resultado) {
            r.PonerTexto("STATUS", lado, "1 " + ojo.falla);
            continue;
        }
        const lente::Resultado& x = *ojo.resultado;
        r.Poner("CTHICK", lado, {x.espesorCentral});
        r.Poner("FRNT", lado, {ojo.base});
        r.Poner("BACK", lado, {x.molde1523Eje, x.molde1523Cruz});
        r.Poner("CTHNP", lado, {x.bordeMinimo});
        r.Poner("CTHNA", lado, {x.anguloMinimo});
        r.Poner("CTHKP", lado, {x.bordeMaximo});
        r.Poner("CTHKA", lado, {x.anguloMaximo});
        r.Poner("CRIB", lado, {static_cast<double>(*ojo.bloque)});
        r.Poner("_PESO", lado, {x.peso});
        r.PonerTexto("STATUS", lado, "0");
    }
    c.texto = r.Escribir();
    return c;
}

} // namespace trabajos
