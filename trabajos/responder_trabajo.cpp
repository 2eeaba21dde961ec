#include "responder_trabajo.h"

#include "bordes.h"
#include "errores_campo.h"
#include "figuras_respuesta.h"
#include "numerico.h"
#include "reglas_espesor.h"
#include "trazo_dcs.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace trabajos {

namespace {

using dcs::Estado;
using dcs::Lado;

constexpr double kGrado = std::numbers::pi / 180.0;
// Some senders write the front's radius in millimetres in FRNT: no front
// curve is steeper than 30 D, and no radius of a lens is shorter than 30 mm.
constexpr double kFrenteMaximo = 30.0;
// Eyes whose spherical equivalents differ by more than this are made on
// bases of their own: a common base would spoil the stronger eye's optics.
constexpr double kAnisometropia = 2.0;

// What the optician calls each value of a job.
constexpr std::pair<std::string_view, std::string_view> kNombres[] = {
    {"DO", "Los ojos pedidos"},
    {"SPH", "La esfera"},
    {"CYL", "El cilindro"},
    {"AX", "El eje"},
    {"PRVM", "El prisma"},
    {"PRVA", "La base del prisma"},
    {"PTPRVM", "El prisma de adelgazamiento"},
    {"PTPRVA", "La base del prisma de adelgazamiento"},
    {"PTOK", "El adelgazamiento con prisma"},
    {"IPD", "La DP monocular"},
    {"NPD", "La DP monocular de cerca"},
    {"OCHT", "La altura"},
    {"HBOX", "A, el ancho de la caja"},
    {"VBOX", "B, el alto de la caja"},
    {"DBL", "El puente"},
    {"FED", "El diámetro efectivo"},
    {"LIND", "El índice"},
    {"LMATTYPE", "El material"},
    {"_MATERIAL", "El material"},
    {"FRNT", "La curva base"},
    {"MBASE", "La curva base"},
    {"TIND", "El índice de las herramientas"},
    {"ETYP", "La montura"},
    {"FTYP", "El tipo de armazón"},
    {"MINEDG", "El borde mínimo"},
    {"MINCTR", "El espesor central mínimo"},
    {"_SEGURIDAD", "La seguridad"},
    {"ADD", "La adición"},
    {"SEGHT", "La altura del segmento"},
    {"LTYP", "El tipo de lente"},
    {"BVD", "La distancia al vértice"},
    {"PANTO", "El ángulo pantoscópico"},
    {"ZTILT", "La curvatura de la montura"},
    {"TRCFMT", "El trazado"},
    {"R", "El trazado"},
};

std::string nombreDe(std::string_view etiqueta)
{
    for (const auto& [e, nombre] : kNombres)
        if (e == etiqueta)
            return std::string(nombre);
    return "El valor " + std::string(etiqueta);
}

// Thrown inside, caught where an eye's work ends.
struct Fallo {
    FallaOjo falla;
};

[[noreturn]] void fallar(Estado estado, std::string_view etiqueta, std::string motivo, std::string mensaje)
{
    throw Fallo{{{estado, std::string(etiqueta), std::move(motivo)}, std::move(mensaje)}};
}

// A value the reader refused, named as the optician knows it.
[[noreturn]] void fallarLectura(const dcs::Falla& f) { throw Fallo{{f, nombreDe(f.etiqueta) + ": " + f.motivo}}; }

std::string cifras(double x, int decimales) { return dcs::ConDecimales(x, decimales); }

class Ojo {
public:
    Ojo(const dcs::Pedido& p, Lado lado) : m_p(p), m_lado(lado) {}

    std::optional<double> Numero(std::string_view etiqueta) const
    {
        const dcs::Valor* v = m_p.Primero(etiqueta, m_lado);
        return v ? v->numero : std::nullopt;
    }
    double Exigir(std::string_view etiqueta, std::string_view que, std::string_view mensaje) const
    {
        const auto v = Numero(etiqueta);
        if (!v)
            fallar(Estado::FaltaRegistro, etiqueta, "falta " + std::string(que), std::string(mensaje));
        return *v;
    }
    std::string Texto(std::string_view etiqueta) const
    {
        const dcs::Valor* v = m_p.Primero(etiqueta, m_lado);
        return v ? v->texto : std::string();
    }
    const dcs::Pedido& pedido() const { return m_p; }
    Lado lado() const { return m_lado; }
    lente::Ojo cual() const { return m_lado == Lado::Derecho ? lente::Ojo::Derecho : lente::Ojo::Izquierdo; }

private:
    const dcs::Pedido& m_p;
    Lado m_lado;
};

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

lente::Receta receta(const Ojo& o)
{
    lente::Receta r;
    r.esfera = o.Exigir("SPH", "la esfera", "Falta la esfera");
    r.cilindro = o.Numero("CYL").value_or(0);
    if (r.cilindro != 0)
        r.eje = o.Exigir("AX", "el eje del cilindro", "Falta el eje del cilindro");
    double prisma = o.Numero("PRVM").value_or(0), base = 0;
    if (prisma != 0)
        base = o.Exigir("PRVA", "la dirección de la base del prisma", "Falta la base del prisma");
    // The laboratory's own prism, usually base down in both eyes, thins a
    // progressive lens; it is made together with the prescribed one.
    const dcs::Valor* ptok = o.pedido().Primero("PTOK", o.lado());
    const double adelgazar = o.Numero("PTPRVM").value_or(0);
    if (adelgazar != 0 && !(ptok && ptok->numero == 0.0)) {
        const double hacia = o.Exigir("PTPRVA", "la dirección de la base del prisma de adelgazamiento",
                                      "Falta la base del prisma de adelgazamiento");
        if (prisma == 0) {
            prisma = adelgazar;
            base = hacia;
        } else {
            const double x = prisma * std::cos(base * kGrado) + adelgazar * std::cos(hacia * kGrado);
            const double y = prisma * std::sin(base * kGrado) + adelgazar * std::sin(hacia * kGrado);
            prisma = std::hypot(x, y);
            base = prisma < 1e-9 ? 0.0 : std::fmod(std::atan2(y, x) / kGrado + 360.0, 360.0);
            if (prisma < 1e-9)
                prisma = 0;
        }
    }
    r.prisma = prisma;
    r.basePrisma = base;
    return r;
}

std::vector<lente::Punto> borde(const Ojo& o)
{
    const dcs::Pedido& p = o.pedido();
    const Lado otro = o.lado() == Lado::Derecho ? Lado::Izquierdo : Lado::Derecho;
    std::vector<lente::Punto> forma;
    bool redondo = false;
    std::optional<dcs::Trazos> trazos;
    if (!p.trazo().empty()) {
        std::string error, palabras;
        trazos = dcs::LeerTrazos(p.trazo(), error, &palabras);
        if (!trazos)
            fallar(Estado::Formato, "TRCFMT", error, "El trazado no se puede usar: " + palabras);
    }
    const bool propio = trazos && !(o.cual() == lente::Ojo::Derecho ? trazos->derecho : trazos->izquierdo).empty();
    // A trace that cannot be read ends its eye even with a box: the frame's
    // shape would be a guess. So it does the other eye's, when that one has
    // no readable trace of its own and would be its mirror image.
    const std::string& noLeido =
        !p.trazoNoLeido(o.lado()).empty() || propio ? p.trazoNoLeido(o.lado()) : p.trazoNoLeido(otro);
    if (!noLeido.empty()) {
        const auto f = dcs::Campos(noLeido);
        fallar(Estado::TrazoNoAdmitido, "TRCFMT",
               f[0] != "1"
                   ? "formato de trazo " + std::string(f[0].substr(0, 8)) + " no admitido: solo se lee el formato 1"
                   : "radios no equiespaciados: solo se leen los equiespaciados (E)",
               "El trazado está en un formato que Vantora no lee (se lee el formato 1, de radios equiespaciados)");
    }
    if (trazos) {
        forma = dcs::PuntosDelOjo(*trazos, o.cual());
    } else if (const auto a = o.Numero("HBOX"), b = o.Numero("VBOX"); a && b) {
        forma = lente::BordeElipse(*a, *b);
    } else if (const auto fed = o.Numero("FED")) {
        forma = lente::BordeRedondo(*fed);
        redondo = true;
    } else {
        fallar(Estado::FaltaRegistro, "HBOX", "falta el contorno (TRCFMT, HBOX y VBOX, o FED)",
               "Falta la forma: cargue un trazado o escriba A y B");
    }
    const auto dp = o.Numero("IPD") ? o.Numero("IPD") : o.Numero("NPD");
    const auto altura = o.Numero("OCHT");
    const dcs::Valor* dbl = p.Primero("DBL", o.lado());
    const int centrado = int(dp.has_value()) + int(altura.has_value()) + int(dbl && dbl->numero);
    if (redondo || centrado == 0)
        return redondo ? forma : lente::Descentrar(forma, o.cual(), std::nullopt);
    if (centrado == 3)
        return lente::Descentrar(forma, o.cual(), lente::Centrado{*dbl->numero, *dp, *altura});
    fallar(Estado::FaltaRegistro,
           !dp       ? "IPD"
           : !altura ? "OCHT"
                     : "DBL",
           "el centrado necesita DBL, IPD (o NPD) y OCHT juntos",
           "El centrado necesita juntos la DP monocular, la altura y el puente");
}

MaterialDelOjo material(const Ojo& o, MaterialesTrabajo* materiales)
{
    const auto lind = o.Numero("LIND");
    const auto inaccesible = [&](std::string_view etiqueta) {
        const std::string motivo = materiales ? materiales->Inaccesible() : std::string();
        if (!motivo.empty())
            fallar(Estado::General, etiqueta, motivo, "No se pudo consultar la Base de Datos de Materiales: " + motivo);
    };
    const auto porNombre = [&](const std::string& nombre, std::string_view etiqueta) {
        const auto m = materiales ? materiales->Buscar(nombre) : std::nullopt;
        if (!m) {
            inaccesible(etiqueta);
            fallar(Estado::NoProcesable, etiqueta,
                   "\"" + nombre.substr(0, 40) + "\" no está en la Base de Datos de Materiales",
                   "El material \"" + nombre.substr(0, 40) + "\" no está en la Base de Datos de Materiales");
        }
        return *m;
    };
    const auto delCatalogo = [&](const MaterialTrabajo& m) {
        MaterialDelOjo d{m, m.indice, {}};
        // The catalogue's index is the one the lens is made of.
        if (lind && std::abs(*lind - m.indice) > 0.001)
            d.avisos.push_back({"LIND: " + cifras(*lind, 3) + " pedido, " + m.nombre + " tiene " + cifras(m.indice, 3) +
                                    ": se usa el del catalogo",
                                "El índice pedido " + cifras(*lind, 3) + " no es el de " + m.nombre + " (" +
                                    cifras(m.indice, 3) + "): se usa el del catálogo"});
        return d;
    };
    if (const std::string nombre = o.Texto("_MATERIAL"); !nombre.empty())
        return delCatalogo(porNombre(nombre, "_MATERIAL"));
    const std::string tipo = o.Texto("LMATTYPE");
    const auto codigo = o.pedido().formato() == dcs::kFormatoAnterior ? std::nullopt : ClaseDeMaterial(tipo);
    if (!tipo.empty() && !codigo)
        return delCatalogo(porNombre(tipo, "LMATTYPE"));
    if (codigo && !lind)
        fallar(Estado::FaltaRegistro, "LIND", "el material de clase " + tipo + " necesita el indice (LIND)",
               "Falta el índice del material");
    if (!lind)
        fallar(Estado::FaltaRegistro, "LMATTYPE", "falta el material (_MATERIAL, LMATTYPE con LIND, o LIND)",
               "Falta el material: elija uno de la lista");
    if (codigo) {
        const std::vector<MaterialTrabajo> candidatos =
            materiales ? materiales->PorCodigo(*codigo, *lind) : std::vector<MaterialTrabajo>{};
        if (candidatos.size() == 1)
            return delCatalogo(candidatos.front());
        inaccesible("LMATTYPE");
        const bool ninguno = candidatos.empty();
        return {std::nullopt,
                *lind,
                {{"LMATTYPE: " + tipo + " con LIND " + cifras(*lind, 3) + (ninguno ? " no nombra" : " nombra mas de") +
                      " un material del catalogo: se usa el indice, sin peso",
                  "El material de clase " + tipo + " con índice " + cifras(*lind, 3) +
                      (ninguno ? " no está en el catálogo" : " es más de un material del catálogo") +
                      ": se calcula con el índice, sin peso"}}};
    }
    return {std::nullopt,
            *lind,
            {{"LIND: solo el indice " + cifras(*lind, 3) + ", sin material del catalogo ni peso",
              "Solo se conoce el índice " + cifras(*lind, 3) + ", sin material del catálogo: no hay peso"}}};
}

// A rule's warning names the request's label for the answer and the value
// in words for the optician.
Aviso avisoDeRegla(const std::string& aviso)
{
    constexpr std::tuple<std::string_view, std::string_view, std::string_view> kOpciones[] = {
        {"--borde-min", "MINEDG", "Borde mínimo pedido"},
        {"--centro-min", "MINCTR", "Espesor central mínimo pedido"},
    };
    for (const auto& [opcion, etiqueta, palabras] : kOpciones) {
        if (!aviso.starts_with(opcion))
            continue;
        // The answer's record is short: "MINEDG 1.000 elevado a 2.000 mm por la montura completa".
        std::string texto = std::string(etiqueta) + aviso.substr(opcion.size());
        const std::size_t que = texto.find(" que exige ");
        const std::size_t dos = texto.find(": ");
        if (que != std::string::npos && dos != std::string::npos && dos < que)
            texto.replace(dos, que + 11 - dos, " por ");
        return {texto, std::string(palabras) + aviso.substr(opcion.size())};
    }
    std::string mensaje = aviso;
    if (!mensaje.empty() && mensaje[0] >= 'a' && mensaje[0] <= 'z')
        mensaje[0] = static_cast<char>(mensaje[0] - 'a' + 'A');
    return {aviso, mensaje};
}

void avisar(OjoResuelto& ojo, const Aviso& a)
{
    ojo.avisosDcs.push_back(a.texto);
    ojo.avisos.push_back(a.mensaje);
}

// An eye made ready to solve: all but its base, which may be shared with
// the other eye.
struct Preparado {
    std::optional<double> base; // D at 1.523, given by the request
    double diametro = 0; // for the base's suggestion
    double equivalente = 0; // spherical equivalent
};

Preparado preparar(const dcs::Pedido& p, Lado lado, MaterialesTrabajo* materiales, OjoResuelto& ojo)
{
    if (const dcs::Valor* d = p.Primero("DO", lado); d && d->texto != "B" && d->texto != "R" && d->texto != "L")
        fallar(Estado::Formato, "DO", "\"" + d->texto.substr(0, 10) + "\" no es un ojo; se espera B, R, L o N",
               "Los ojos pedidos no se entienden: se espera ambos, derecho, izquierdo o ninguno");
    if (p.fallaDe(lado).Hay())
        fallarLectura(p.fallaDe(lado));
    const Ojo o(p, lado);
    lente::Pedido pedido;
    pedido.receta = receta(o);

    laboratorio::Exigencias exigencias;
    const MaterialDelOjo m = material(o, materiales);
    pedido.indice = m.indice;
    if (m.material) {
        pedido.densidad = m.material->densidad;
        exigencias.centroMaterial = m.material->centroMin;
        exigencias.material = m.material->nombre;
        ojo.material = m.material->nombre;
    }
    ojo.indice = pedido.indice;
    for (const Aviso& a : m.avisos)
        avisar(ojo, a);

    if (const auto etyp = o.Numero("ETYP")) {
        const auto montura = monturaDe(static_cast<int>(*etyp));
        if (!montura)
            fallar(Estado::FueraDeRango, "ETYP", std::to_string(static_cast<int>(*etyp)) + " no es un tipo de borde",
                   "La montura " + std::to_string(static_cast<int>(*etyp)) + " no es un tipo de borde conocido");
        exigencias.montura = *montura;
    }
    if (const auto seguridad = o.Numero("_SEGURIDAD")) {
        ojo.seguridad = static_cast<int>(*seguridad);
        exigencias.seguridad = static_cast<laboratorio::Seguridad>(ojo.seguridad);
    }
    exigencias.bordeUsuario = o.Numero("MINEDG");
    exigencias.centroUsuario = o.Numero("MINCTR");
    exigencias.meridianoMasPositivo = lente::MeridianoMasPositivo(pedido.receta);
    const auto minimos = laboratorio::MinimosDeEspesor(exigencias);
    if (!minimos)
        fallar(Estado::FaltaRegistro, "MINEDG", "falta el borde minimo (MINEDG, o ETYP de una montura)",
               "Falta el borde mínimo: elija la montura");
    pedido.bordeMin = minimos->borde;
    pedido.centroMin = minimos->centro;
    for (const std::string& a : minimos->avisos)
        avisar(ojo, avisoDeRegla(a));

    ojo.borde = borde(o);
    const double minimo = lente::BloqueMinimo(ojo.borde);
    ojo.bloqueMinimo = minimo;
    ojo.bloque = lente::BloqueEstandar(minimo);
    if (!ojo.bloque)
        fallar(Estado::NoProcesable, "CRIB",
               "ningun bloque estandar (de 50 a 80 mm) alcanza: se necesita uno de " + cifras(minimo, 1) + " mm",
               "Ningún bloque estándar (de 50 a 80 mm) alcanza: la lente necesita uno de " + cifras(minimo, 1) + " mm");
    Aviso radio;
    Preparado preparado;
    preparado.base = BaseDelPedido(p, lado, pedido.indice, &radio);
    if (!radio.texto.empty())
        avisar(ojo, radio);
    preparado.diametro = minimo - 2.0;
    preparado.equivalente = pedido.receta.esfera + pedido.receta.cilindro / 2.0;
    ojo.tind = o.Numero("TIND").value_or(kTindPorOmision);
    ojo.lente = pedido;
    ojo.montaje = MontajeDelPedido(p, lado, &ojo.enUso);
    return preparado;
}

double sugerir(const OjoResuelto& ojo, const Preparado& p)
{
    try {
        return lente::SugerirBaseReceta(ojo.lente.receta, ojo.lente.indice, p.diametro);
    } catch (const numerico::Falla&) {
        fallar(Estado::NoProcesable, "FRNT", "no se puede sugerir una curva base con estos valores",
               "No se puede sugerir una curva base con estos valores: escriba una");
    }
}

void resolver(double base, OjoResuelto& ojo)
{
    ojo.base = base;
    ojo.lente.base = base;
    // Without tilt or wrap this is the solver's own lens.
    const lente::SolucionEnUso uso = lente::ResolverEnUso(ojo.lente, ojo.borde, ojo.montaje);
    const lente::Solucion& s = uso.solucion;
    if (!s.resultado) {
        std::string mensaje = s.falla;
        if (!mensaje.empty())
            mensaje[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(mensaje[0])));
        fallar(Estado::NoProcesable, "CTHICK", s.falla, mensaje);
    }
    ojo.resultado = *s.resultado;
    ojo.ejeReverso = uso.optica.ejeReverso;
    ojo.frontofocometro.reset();
    if (uso.compensada) {
        ojo.frontofocometro = uso.frontofocometro;
        // The lens is rebuilt with the back it was made with, for its edge
        // figures, its map and its ticket.
        ojo.lente.internaFija =
            lente::InternaFija{s.resultado->internaEje.poder, s.resultado->internaCruz.poder, ojo.ejeReverso};
    }
    ojo.campo.reset();
    if (ojo.enUso) {
        ojo.campo = lente::RmsAstigmatico(uso.optica, ojo.montaje, ojo.lente.receta);
        if (!ojo.campo)
            fallar(Estado::NoProcesable, "_CAMPO", "a 30 grados de la mirada un rayo no atraviesa la lente",
                   "A 30° de la mirada un rayo no atraviesa la lente: no hay errores del campo");
    }
    if (ojo.lente.densidad == 0)
        ojo.resultado->peso = NAN;
}

bool unMaterial(const std::array<OjoResuelto, 2>& ojos)
{
    return ojos[0].material == ojos[1].material && ojos[0].indice == ojos[1].indice;
}

// Runs one step of an eye's work; a failure ends the eye with its reason.
template <typename Paso>
bool intentar(OjoResuelto& ojo, Paso paso)
{
    try {
        paso();
        return true;
    } catch (const Fallo& f) {
        ojo.error = f.falla.dcs;
        ojo.falla = f.falla.mensaje;
    } catch (const numerico::Falla&) {
        ojo.error = {Estado::NoProcesable, "CTHICK", "los valores no forman una lente"};
        ojo.falla = "Los valores no forman una lente";
    }
    ojo.resultado.reset();
    return false;
}

} // namespace

std::optional<int> ClaseDeMaterial(std::string_view lmattype)
{
    if (lmattype.empty() || lmattype.size() > 2 || lmattype.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return std::stoi(std::string(lmattype));
}

bool PideOjo(const dcs::Pedido& p, Lado lado)
{
    if (const dcs::Valor* d = p.Primero("DO", lado)) {
        if (d->texto == "R" || d->texto == "L")
            return d->texto == (lado == Lado::Derecho ? "R" : "L");
        // B, or a value that is none of the format's, which ends both eyes.
        return d->texto != "N";
    }
    const bool alguno = p.Valores("SPH", Lado::Derecho) || p.Valores("SPH", Lado::Izquierdo);
    return !alguno || p.Valores("SPH", lado);
}

std::optional<lente::Receta> RecetaDelPedido(const dcs::Pedido& pedido, Lado lado, FallaOjo& falla)
{
    try {
        return receta(Ojo(pedido, lado));
    } catch (const Fallo& f) {
        falla = f.falla;
        return std::nullopt;
    }
}

std::optional<std::vector<lente::Punto>> BordeDelPedido(const dcs::Pedido& pedido, Lado lado, FallaOjo& falla)
{
    try {
        return borde(Ojo(pedido, lado));
    } catch (const Fallo& f) {
        falla = f.falla;
        return std::nullopt;
    }
}

std::optional<MaterialDelOjo> MaterialDe(const dcs::Pedido& pedido, Lado lado, MaterialesTrabajo* materiales,
                                         FallaOjo& falla)
{
    try {
        return material(Ojo(pedido, lado), materiales);
    } catch (const Fallo& f) {
        falla = f.falla;
        return std::nullopt;
    }
}

std::optional<double> BaseDelPedido(const dcs::Pedido& pedido, Lado lado, double indice, Aviso* aviso)
{
    const Ojo o(pedido, lado);
    const auto frnt = o.Numero("FRNT");
    // The earlier release wrote the house's own curve, D at 1.523.
    if (pedido.formato() == dcs::kFormatoAnterior)
        return frnt;
    const double n = o.Numero("LIND").value_or(indice);
    if (frnt && *frnt > kFrenteMaximo) {
        if (aviso)
            *aviso = {"FRNT: " + cifras(*frnt, 2) + " tomado como radio en mm (" +
                          cifras((n - 1.0) * 1000.0 / *frnt, 2) + " D a " + cifras(n, 3) + ")",
                      "La curva base llegó como un radio de " + cifras(*frnt, 2) + " mm (" +
                          cifras((n - 1.0) * 1000.0 / *frnt, 2) + " D)"};
        return numerico::kFactorMolde * 1000.0 / *frnt;
    }
    // The same radius, its power at the 1.523 tool index.
    if (frnt && n > 1.0)
        return *frnt * numerico::kFactorMolde / (n - 1.0);
    if (const auto mbase = o.Numero("MBASE"))
        return *mbase * numerico::kFactorMolde / (o.Numero("TIND").value_or(kTindPorOmision) - 1.0);
    return std::nullopt;
}

lente::Montaje MontajeDelPedido(const dcs::Pedido& pedido, Lado lado, bool* dado)
{
    const Ojo o(pedido, lado);
    lente::Montaje m;
    m.ojo = o.cual();
    m.pantoscopico = o.Numero("PANTO").value_or(0);
    m.envolvente = o.Numero("ZTILT").value_or(0);
    m.distanciaVertice = o.Numero("BVD").value_or(m.distanciaVertice);
    if (dado)
        *dado = o.Numero("BVD") || o.Numero("PANTO") || o.Numero("ZTILT");
    return m;
}

std::optional<int> OjoGuiaDelPar(double equivalenteDerecho, double equivalenteIzquierdo)
{
    if (std::abs(equivalenteDerecho - equivalenteIzquierdo) > kAnisometropia)
        return std::nullopt;
    return std::abs(equivalenteIzquierdo) > std::abs(equivalenteDerecho) ? 1 : 0;
}

BasesDelPar MejorBaseDelPar(const dcs::Pedido& pedido, MaterialesTrabajo* materiales)
{
    BasesDelPar par;
    std::array<OjoResuelto, 2> ojos;
    std::array<Preparado, 2> p;
    std::array<bool, 2> listo = {false, false};
    for (int i = 0; i < 2; ++i) {
        ojos[i].pedido = PideOjo(pedido, static_cast<Lado>(i));
        listo[i] = ojos[i].pedido &&
                   intentar(ojos[i], [&] { p[i] = preparar(pedido, static_cast<Lado>(i), materiales, ojos[i]); });
        par.falla[i] = ojos[i].falla;
    }
    const auto mejor = [&](int i) {
        std::optional<lente::MejorForma> m;
        try {
            m = lente::BuscarMejorBase(ojos[i].lente, ojos[i].borde, ojos[i].montaje);
        } catch (const numerico::Falla&) {
        }
        if (m)
            par.base[i] = m->base;
        else
            par.falla[i] = "Ninguna curva base de 0.25 a 12.00 D da una lente con estos valores";
    };
    if (listo[0] && listo[1] && unMaterial(ojos)) {
        par.guia = OjoGuiaDelPar(p[0].equivalente, p[1].equivalente);
        par.anisometropia = !par.guia;
    }
    if (par.guia) {
        const int guia = *par.guia;
        mejor(guia);
        if (par.base[guia]) {
            par.base[1 - guia] = par.base[guia];
            return par;
        }
        // The stronger eye has no lens at any base: the other keeps its own.
        par.guia.reset();
        listo[guia] = false;
    }
    for (int i = 0; i < 2; ++i)
        if (listo[i])
            mejor(i);
    return par;
}

bool Contestacion::Completa() const { return ojos[0].falla.empty() && ojos[1].falla.empty(); }

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
        if (!PideOjo(pedido, lado) || pedido.fallaDe(lado).Hay())
            continue;
        const Ojo o(pedido, lado);
        const auto esfera = o.Numero("SPH");
        FallaOjo falla;
        const auto r = RecetaDelPedido(pedido, lado, falla);
        if (!esfera || *esfera <= 0 || !r || r->cilindro != 0 || r->prisma != 0)
            continue;
        // The design window takes a material by its name; a job that gives
        // only a class or an index goes to the job window.
        std::string material = o.Texto("_MATERIAL");
        const std::string tipo = o.Texto("LMATTYPE");
        if (material.empty() && (pedido.formato() == dcs::kFormatoAnterior || !ClaseDeMaterial(tipo)))
            material = tipo;
        const bool soloIndice = material.empty() && (!tipo.empty() || o.Numero("LIND"));
        const bool frenteSinIndice = o.Numero("FRNT") && !o.Numero("LIND") && pedido.formato() != dcs::kFormatoAnterior;
        if (soloIndice || frenteSinIndice)
            continue;
        return OjoDeDiseno{lado,
                           *esfera,
                           material,
                           BaseDelPedido(pedido, lado, o.Numero("LIND").value_or(0)),
                           o.Numero("FED"),
                           o.Numero("MINEDG")};
    }
    return std::nullopt;
}

Contestacion Responder(const dcs::Pedido& pedido, MaterialesTrabajo* materiales)
{
    Contestacion c;
    c.numero = pedido.trabajo();
    std::array<Preparado, 2> p;
    std::array<bool, 2> listo = {false, false};
    for (int i = 0; i < 2; ++i) {
        OjoResuelto& ojo = c.ojos[i];
        ojo.pedido = PideOjo(pedido, static_cast<Lado>(i));
        listo[i] = ojo.pedido && intentar(ojo, [&] { p[i] = preparar(pedido, static_cast<Lado>(i), materiales, ojo); });
    }
    std::array<std::optional<double>, 2> base = {p[0].base, p[1].base};
    // A pair is made on one base so that the lenses look alike: the stronger
    // eye's suggestion, unless the eyes differ so much that each needs its
    // own.
    if (listo[0] && listo[1] && !base[0] && !base[1] && unMaterial(c.ojos)) {
        const std::optional<int> elegido = OjoGuiaDelPar(p[0].equivalente, p[1].equivalente);
        if (!elegido) {
            for (OjoResuelto& ojo : c.ojos)
                avisar(ojo, {"Bases distintas: anisometropia", "Bases distintas: anisometropía"});
        } else {
            const int guia = *elegido;
            if (intentar(c.ojos[guia], [&] { base[guia] = sugerir(c.ojos[guia], p[guia]); }))
                base[1 - guia] = base[guia];
            else
                listo[guia] = false;
        }
    }
    std::array<FigurasOjo, 2> figuras;
    for (int i = 0; i < 2; ++i) {
        if (listo[i])
            intentar(c.ojos[i], [&] { resolver(base[i] ? *base[i] : sugerir(c.ojos[i], p[i]), c.ojos[i]); });
        figuras[i] = FigurasDe(c.ojos[i]);
    }
    c.texto = EscribirRespuesta(c.numero, figuras);
    return c;
}

} // namespace trabajos
