#include "figuras_respuesta.h"

#include "numerico.h"

#include <cmath>
#include <numbers>

namespace trabajos {

namespace {

using dcs::Lado;

double grados(double angulo, int vuelta) { return static_cast<double>(std::lround(angulo) % vuelta); }

// The edge point the solve reported, found again for its distance from the
// optical centre: the one of that thickness nearest to that angle.
double radioDe(const std::vector<lente::Punto>& borde, const std::vector<double>& espesores, double espesor,
               double angulo)
{
    double radio = 0, mejor = INFINITY;
    for (std::size_t i = 0; i < borde.size(); ++i) {
        const lente::Punto& p = borde[i];
        const double diferencia =
            std::abs(std::remainder(std::atan2(p.y, p.x) * 180.0 / std::numbers::pi - angulo, 360.0)) +
            1e6 * std::abs(espesores[i] - espesor);
        if (diferencia < mejor) {
            mejor = diferencia;
            radio = std::hypot(p.x, p.y);
        }
    }
    return radio;
}

// XSTATUS=R;code;text;severity, the text cut so that the record fits.
std::string xstatus(Lado lado, int codigo, std::string_view texto, char severidad)
{
    const std::string cabeza = std::string(lado == Lado::Derecho ? "R;" : "L;") + std::to_string(codigo) + ";";
    const std::string cola = std::string(";") + severidad;
    std::string t = dcs::Ascii(texto);
    const std::size_t cabe = dcs::kRegistroMaximo - std::string_view("XSTATUS=").size() - cabeza.size() - cola.size();
    if (t.size() > cabe)
        t.resize(cabe);
    return cabeza + t + cola;
}

} // namespace

FigurasOjo FigurasDe(const OjoResuelto& ojo)
{
    FigurasOjo f;
    f.pedido = ojo.pedido;
    f.error = ojo.error;
    f.avisos = ojo.avisosDcs;
    if (!ojo.resultado)
        return f;
    const lente::Resultado& r = *ojo.resultado;
    const double n = ojo.indice;
    f.lind = n;
    f.frnt = r.frontal.poder;
    f.tind = ojo.tind;
    // The same radius at the generator's tool index.
    const double aTind = (ojo.tind - 1.0) / (n - 1.0);
    const double eje = r.internaEje.poder * aTind, cruz = r.internaCruz.poder * aTind;
    const bool ejeDebil = std::abs(eje) <= std::abs(cruz);
    f.gbase = ejeDebil ? eje : cruz;
    f.gcros = ejeDebil ? cruz : eje;
    f.gax = grados(ojo.ejeReverso + (ejeDebil ? 0.0 : 90.0), 180);
    f.cthick = r.espesorCentral;
    f.thnp = r.bordeMinimo;
    f.thna = grados(r.anguloMinimo, 360);
    f.thkp = r.bordeMaximo;
    f.thka = grados(r.anguloMaximo, 360);
    try {
        const lente::LenteTorica lente(ojo.lente, r.espesorCentral);
        std::vector<double> espesores;
        espesores.reserve(ojo.borde.size());
        for (const lente::Punto& p : ojo.borde)
            espesores.push_back(lente.Espesor(p));
        f.thnr = radioDe(ojo.borde, espesores, r.bordeMinimo, r.anguloMinimo);
        f.thkr = radioDe(ojo.borde, espesores, r.bordeMaximo, r.anguloMaximo);
    } catch (const numerico::Falla&) {
        f.thnr = f.thkr = NAN;
    }
    // The smallest blank that holds the lens, up to a whole millimetre.
    f.crib = std::ceil(ojo.bloqueMinimo - 1e-9);
    if (ojo.bloque)
        f.dia = *ojo.bloque;
    f.rprvm = ojo.lente.receta.prisma;
    f.rprva = grados(ojo.lente.receta.basePrisma, 360);
    f.peso = r.peso;
    f.seguridad = ojo.seguridad;
    if (const auto& l = ojo.frontofocometro) {
        f.insSph = l->esfera;
        f.insCyl = l->cilindro;
        f.insAx = grados(l->eje, 180);
    }
    f.campo = ojo.campo;
    f.thnint = r.puntoMasDelgado ? r.puntoMasDelgado->espesor : NAN;
    return f;
}

std::string EscribirRespuesta(std::string_view numero, const std::array<FigurasOjo, 2>& ojos)
{
    dcs::Respuesta r;
    r.PonerUnico("JOB", std::string(numero));
    const FigurasOjo* primera = ojos[0].error.Hay() ? &ojos[0] : ojos[1].error.Hay() ? &ojos[1] : nullptr;
    r.PonerUnico("STATUS", std::to_string(primera ? static_cast<int>(primera->error.estado) : 0));
    // The prism made is written when either eye has one.
    bool prisma = false;
    for (const FigurasOjo& f : ojos)
        prisma = prisma || (f.cthick && f.rprvm && std::round(*f.rprvm * 100.0) != 0.0);
    for (int i = 0; i < 2; ++i) {
        const Lado lado = static_cast<Lado>(i);
        const FigurasOjo& f = ojos[i];
        if (f.error.Hay())
            r.Agregar("XSTATUS", xstatus(lado, static_cast<int>(f.error.estado), f.error.Texto(), 'E'));
        for (const std::string& a : f.avisos)
            r.Agregar("XSTATUS", xstatus(lado, 0, a, 'W'));
        if (!f.cthick) {
            if (f.pedido)
                r.Desconocido(lado);
            continue;
        }
        const std::pair<std::string_view, const std::optional<double>&> valores[] = {
            {"LIND", f.lind},   {"FRNT", f.frnt},     {"TIND", f.tind},
            {"GBASE", f.gbase}, {"GCROS", f.gcros},   {"GAX", f.gax},
            {"GTHK", f.cthick}, {"CTHICK", f.cthick}, {"THNP", f.thnp},
            {"THNA", f.thna},   {"THNR", f.thnr},     {"THKP", f.thkp},
            {"THKA", f.thka},   {"THKR", f.thkr},     {"CRIB", f.crib},
            {"DIA", f.dia},     {"_PESO", f.peso},    {"_SEGURIDAD", f.seguridad},
        };
        for (const auto& [etiqueta, v] : valores)
            r.Poner(etiqueta, lado, {v.value_or(NAN)});
        if (prisma) {
            r.Poner("RPRVM", lado, {f.rprvm.value_or(NAN)});
            r.Poner("RPRVA", lado, {f.rprva.value_or(NAN)});
        }
        // The lensmeter's reading only where the back was compensated, the
        // errors of the field where the request placed the lens.
        for (const auto& [etiqueta, v] : {std::pair<std::string_view, const std::optional<double>&>{"INSSPH", f.insSph},
                                          {"INSCYL", f.insCyl},
                                          {"INSAX", f.insAx},
                                          {"_CAMPO", f.campo}})
            if (v)
                r.Poner(etiqueta, lado, {*v});
        if (f.thnint && std::isfinite(*f.thnint))
            r.Poner("_THNINT", lado, {*f.thnint});
        else if (f.thnint)
            r.PonerTexto("_THNINT", lado, "");
    }
    return r.Escribir();
}

} // namespace trabajos
