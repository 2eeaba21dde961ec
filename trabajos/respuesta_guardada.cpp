#include "respuesta_guardada.h"

#include "bordes.h"
#include "numerico.h"
#include "trazo_dcs.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace trabajos {

namespace {

using dcs::Estado;
using dcs::Lado;

std::optional<double> numero(const dcs::Pedido& p, std::string_view etiqueta, Lado lado)
{
    const dcs::Valor* v = p.Primero(etiqueta, lado);
    return v ? v->numero : std::nullopt;
}

std::optional<double> leerNumero(std::string_view s)
{
    double v = 0;
    const auto [fin, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc{} || fin != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// "LABEL: reason" split at its colon.
dcs::Falla falla(Estado estado, std::string_view texto)
{
    const std::size_t dos = texto.find(": ");
    if (dos == std::string_view::npos)
        return {estado, "STATUS", std::string(texto)};
    return {estado, std::string(texto.substr(0, dos)), std::string(texto.substr(dos + 2))};
}

// The edge point of the outline nearest to an angle about the optical centre.
std::optional<double> radioHacia(const std::vector<lente::Punto>& borde, std::optional<double> angulo)
{
    if (!angulo || borde.empty())
        return std::nullopt;
    double radio = 0, mejor = INFINITY;
    for (const lente::Punto& p : borde) {
        const double d = std::abs(std::remainder(std::atan2(p.y, p.x) * 180.0 / std::numbers::pi - *angulo, 360.0));
        if (d < mejor) {
            mejor = d;
            radio = std::hypot(p.x, p.y);
        }
    }
    return radio;
}

// The answer the earlier release wrote: one STATUS an eye ("0", or "1 LABEL:
// reason"), FRNT and BACK at 1.523, the edges under labels of its own.
FigurasOjo anterior(const dcs::Pedido& pedido, const dcs::Pedido& r, Lado lado, MaterialesTrabajo* materiales)
{
    FigurasOjo f;
    const int i = static_cast<int>(lado);
    const dcs::Valor* estado = r.Primero("STATUS", lado);
    f.pedido = estado != nullptr;
    if (!f.pedido)
        return f;
    if (estado->texto != "0") {
        const std::string_view texto = estado->texto;
        f.error = falla(Estado::General, texto.substr(std::min(texto.size(), texto.find(' ') + 1)));
        return f;
    }
    std::optional<double> n = numero(pedido, "LIND", lado);
    if (const dcs::Valor* m = pedido.Primero("LMATTYPE", lado); !n && m && materiales)
        if (const auto encontrado = materiales->Buscar(m->texto))
            n = encontrado->indice;
    f.lind = n;
    f.tind = numero(pedido, "TIND", lado).value_or(kTindPorOmision);
    const auto frnt = numero(r, "FRNT", lado);
    if (frnt && n)
        f.frnt = *frnt * (*n - 1.0) / numerico::kFactorMolde;
    const auto back = r.desconocidas().find("BACK");
    if (back != r.desconocidas().end()) {
        const auto campos = dcs::Campos(back->second);
        if (campos.size() == 4) {
            const auto eje = leerNumero(campos[2 * i]), cruz = leerNumero(campos[2 * i + 1]);
            if (eje && cruz) {
                const double aTind = (*f.tind - 1.0) / numerico::kFactorMolde;
                const bool ejeDebil = std::abs(*eje) <= std::abs(*cruz);
                f.gbase = (ejeDebil ? *eje : *cruz) * aTind;
                f.gcros = (ejeDebil ? *cruz : *eje) * aTind;
                f.gax = std::fmod(numero(pedido, "AX", lado).value_or(0) + (ejeDebil ? 0.0 : 90.0), 180.0);
            }
        }
    }
    f.cthick = numero(r, "CTHICK", lado);
    f.thnp = numero(r, "THNP", lado);
    f.thna = numero(r, "THNA", lado);
    f.thkp = numero(r, "THKP", lado);
    f.thka = numero(r, "THKA", lado);
    FallaOjo sinBorde;
    const auto borde = BordeDelPedido(pedido, lado, sinBorde);
    if (borde) {
        f.thnr = radioHacia(*borde, f.thna);
        f.thkr = radioHacia(*borde, f.thka);
        f.crib = std::ceil(lente::BloqueMinimo(*borde) - 1e-9);
    }
    f.dia = numero(r, "CRIB", lado);
    f.rprvm = numero(pedido, "PRVM", lado).value_or(0);
    f.rprva = numero(pedido, "PRVA", lado).value_or(0);
    f.peso = numero(r, "_PESO", lado).value_or(NAN);
    f.seguridad = numero(pedido, "_SEGURIDAD", lado).value_or(0);
    return f;
}

FigurasOjo actual(const dcs::Pedido& pedido, const dcs::Pedido& r, Lado lado)
{
    FigurasOjo f;
    f.pedido = PideOjo(pedido, lado);
    const char propio = lado == Lado::Derecho ? 'R' : 'L';
    for (const std::string& x : r.Registros("XSTATUS")) {
        // R;code;text;severity, the text without the separator.
        const auto campos = dcs::Campos(x);
        if (campos.size() != 4 || campos[0].size() != 1 || campos[0][0] != propio)
            continue;
        if (campos[3] == "W")
            f.avisos.emplace_back(campos[2]);
        else if (!f.error.Hay()) {
            const double codigo = leerNumero(campos[1]).value_or(3);
            f.error = falla(static_cast<Estado>(codigo >= 1 && codigo <= 99 ? static_cast<int>(codigo) : 3), campos[2]);
        }
    }
    const std::pair<std::string_view, std::optional<double>*> valores[] = {
        {"LIND", &f.lind},
        {"FRNT", &f.frnt},
        {"TIND", &f.tind},
        {"GBASE", &f.gbase},
        {"GCROS", &f.gcros},
        {"GAX", &f.gax},
        {"CTHICK", &f.cthick},
        {"THNP", &f.thnp},
        {"THNA", &f.thna},
        {"THNR", &f.thnr},
        {"THKP", &f.thkp},
        {"THKA", &f.thka},
        {"THKR", &f.thkr},
        {"CRIB", &f.crib},
        {"DIA", &f.dia},
        {"RPRVM", &f.rprvm},
        {"RPRVA", &f.rprva},
        {"INSSPH", &f.insSph},
        {"INSCYL", &f.insCyl},
        {"INSAX", &f.insAx},
        {"_CAMPO", &f.campo},
        {"_PESO", &f.peso},
        {"_SEGURIDAD", &f.seguridad},
        {"_THNINT", &f.thnint},
    };
    for (const auto& [etiqueta, destino] : valores)
        *destino = numero(r, etiqueta, lado);
    if (f.cthick && !f.peso)
        f.peso = NAN;
    // An empty _THNINT is a lens with no thinner point inside its outline.
    if (f.cthick && !f.thnint && r.Tiene("_THNINT"))
        f.thnint = NAN;
    return f;
}

lente::Cara cara(double poder, double n)
{
    lente::Cara c{poder, std::nullopt};
    if (poder != 0.0)
        c.radio = (1.0 - n) * 1000.0 / poder;
    return c;
}

// An eye as the window, the ticket and the map read it, rebuilt from its
// figures: the faces from the stored curves, the outline from the request.
OjoResuelto ojoDe(const dcs::Pedido& pedido, Lado lado, const FigurasOjo& f, std::string_view material)
{
    OjoResuelto o;
    o.pedido = f.pedido;
    o.avisos = o.avisosDcs = f.avisos;
    o.error = f.error;
    if (f.error.Hay())
        o.falla = f.error.Texto();
    if (f.error.Hay())
        return o;
    if (!f.cthick) {
        if (o.pedido) {
            o.error = {Estado::General, "CTHICK", "la respuesta guardada no tiene las cifras de esta lente"};
            o.falla = "La respuesta guardada no tiene las cifras de esta lente";
        }
        return o;
    }
    FallaOjo problema;
    const auto receta = RecetaDelPedido(pedido, lado, problema);
    const auto borde = BordeDelPedido(pedido, lado, problema);
    if (!f.lind || !f.frnt || !f.gbase || !f.gcros || !f.tind || !receta || !borde) {
        o.error = {Estado::General, "LIND", "la respuesta guardada no dice el indice ni las curvas de la lente"};
        o.falla = "La respuesta guardada no dice el índice ni las curvas de esta lente";
        return o;
    }
    const double n = *f.lind;
    o.indice = n;
    o.tind = *f.tind;
    o.borde = *borde;
    o.base = BaseDelPedido(pedido, lado, n).value_or(*f.frnt * numerico::kFactorMolde / (n - 1.0));
    o.bloque = f.dia;
    o.bloqueMinimo = f.crib.value_or(0);
    o.seguridad = static_cast<int>(f.seguridad.value_or(0));
    o.lente.receta = *receta;
    o.lente.indice = n;
    o.lente.base = o.base;
    if (f.peso && std::isfinite(*f.peso))
        o.material = material;
    lente::Resultado r;
    r.espesorCentral = *f.cthick;
    r.frontal = cara(*f.frnt, n);
    if (r.frontal.radio)
        r.frontal.radio = -*r.frontal.radio; // a convex front is a positive radius
    // GBASE lies along the cylinder's axis when it is the axis meridian.
    const double distancia = std::abs(std::remainder(f.gax.value_or(0) - receta->eje, 180.0));
    const bool baseEnEje = receta->cilindro == 0 || distancia < 45.0;
    const double aIndice = (n - 1.0) / (*f.tind - 1.0), aMolde = numerico::kFactorMolde / (*f.tind - 1.0);
    const double eje = baseEnEje ? *f.gbase : *f.gcros, cruz = baseEnEje ? *f.gcros : *f.gbase;
    r.internaEje = cara(eje * aIndice, n);
    r.internaCruz = cara(cruz * aIndice, n);
    // A compensated back has an axis of its own: GAX is GBASE's meridian.
    o.ejeReverso = std::fmod(f.gax.value_or(receta->eje) + (baseEnEje ? 0.0 : 90.0), 180.0);
    o.montaje = MontajeDelPedido(pedido, lado, &o.enUso);
    o.campo = f.campo;
    if (f.insSph && f.insCyl && f.insAx) {
        o.frontofocometro = lente::EsferoCilindro{*f.insSph, *f.insCyl, *f.insAx};
        o.lente.internaFija = lente::InternaFija{r.internaEje.poder, r.internaCruz.poder, o.ejeReverso};
    }
    r.molde1523Eje = eje * aMolde;
    r.molde1523Cruz = cruz * aMolde;
    r.bordeMinimo = f.thnp.value_or(NAN);
    r.anguloMinimo = f.thna.value_or(0);
    r.bordeMaximo = f.thkp.value_or(NAN);
    r.anguloMaximo = f.thka.value_or(0);
    // The answer keeps neither where the lens is thickest off its edge nor
    // where inside it is thinnest: unknown, never a guess.
    r.espesorMaximo = NAN;
    r.peso = f.peso.value_or(NAN);
    o.resultado = r;
    return o;
}

// An answer of the earlier release is written again from its figures.
std::string textoGuardado(std::string_view numero, std::string_view respuesta, int formato,
                          const std::array<FigurasOjo, 2>& figuras)
{
    return formato == dcs::kFormatoAnterior ? EscribirRespuesta(numero, figuras) : std::string(respuesta);
}

} // namespace

std::array<FigurasOjo, 2> FigurasGuardadas(const dcs::Pedido& pedido, std::string_view respuesta,
                                           MaterialesTrabajo* materiales)
{
    std::array<FigurasOjo, 2> figuras;
    std::string error;
    const bool anteriorFormato = pedido.formato() == dcs::kFormatoAnterior;
    const auto r = dcs::Pedido::Leer(respuesta, error, {pedido.formato(), true});
    if (!r)
        return figuras;
    for (const Lado lado : {Lado::Derecho, Lado::Izquierdo})
        figuras[static_cast<int>(lado)] =
            anteriorFormato ? anterior(pedido, *r, lado, materiales) : actual(pedido, *r, lado);
    return figuras;
}

std::optional<dcs::Pedido> PedidoGuardado(std::string_view numero, std::string_view pedido, int formato,
                                          std::string& error)
{
    auto p = dcs::Pedido::Leer(pedido, error, {formato, false});
    if (!p) {
        error = "el pedido guardado no se puede leer: " + error;
        return std::nullopt;
    }
    if (p->trabajo() != numero) {
        error = "registro dañado: el pedido guardado con el número " + std::string(numero) + " es del trabajo " +
                p->trabajo();
        return std::nullopt;
    }
    return p;
}

std::optional<std::string> RespuestaGuardada(std::string_view numero, std::string_view pedido,
                                             std::string_view respuesta, int formato, MaterialesTrabajo* materiales,
                                             std::string& error)
{
    const auto p = PedidoGuardado(numero, pedido, formato, error);
    if (!p)
        return std::nullopt;
    return textoGuardado(numero, respuesta, formato,
                         formato == dcs::kFormatoAnterior ? FigurasGuardadas(*p, respuesta, materiales)
                                                          : std::array<FigurasOjo, 2>{});
}

std::optional<Contestacion> ContestacionGuardada(std::string_view numero, std::string_view pedido,
                                                 std::string_view respuesta, int formato, std::string_view material,
                                                 MaterialesTrabajo* materiales, std::string& error)
{
    const auto p = PedidoGuardado(numero, pedido, formato, error);
    if (!p)
        return std::nullopt;
    const std::array<FigurasOjo, 2> figuras = FigurasGuardadas(*p, respuesta, materiales);
    Contestacion c;
    c.numero = std::string(numero);
    c.texto = textoGuardado(numero, respuesta, formato, figuras);
    for (const Lado lado : {Lado::Derecho, Lado::Izquierdo})
        c.ojos[static_cast<int>(lado)] = ojoDe(*p, lado, figuras[static_cast<int>(lado)], material);
    return c;
}

} // namespace trabajos
