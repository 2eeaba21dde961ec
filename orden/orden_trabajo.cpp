#include "orden_trabajo.h"

#include "formatos.h"
#include "mensajes_graficos.h"
#include "numerico.h"
#include "redondeo.h"
#include "reglas_laboratorio.h"

#include <algorithm>
#include <cmath>

using namespace laboratorio;

namespace {

// A lens as a ticket needs it, whatever it came from.
struct Lente {
    double poderVertice = 0;
    double base = 0;
    double poderExterno = 0;
    double poderInterno = 0;
    double radioInterno = 0; // m
    double molde1523 = 0;
    double indice = 0;
    double densidad = 0;
    double diametro = 0;
    double espesorCentral = 0;
    std::string nombre;
    std::string textoBase, textoIndice, textoDensidad, textoDiametro, textoBorde;
    Pisos pisos = Pisos::Guardado;
};

// The first line of a message box's text: its finding, without the remedies.
std::string primeraLinea(std::string_view texto) { return std::string(texto.substr(0, texto.find("\r\n"))); }

std::string aviso(std::string_view titulo, std::string_view texto)
{
    return std::string(titulo) + ": " + primeraLinea(texto);
}

OrdenTrabajo armar(const Lente& l)
{
    OrdenTrabajo o;
    o.poderVertice = FormatoPoder(l.poderVertice);
    o.material = l.nombre;
    o.indice = l.textoIndice;
    o.densidad = l.textoDensidad;
    o.poderExterno = Formato3(l.poderExterno);
    o.curvaBase = l.textoBase;
    o.poderInterno = Formato3(l.poderInterno);
    o.radioInterno = Formato3(l.radioInterno * 1000.0);
    o.molde1523 = Formato3(l.molde1523);
    o.diametro = l.textoDiametro;
    o.espesorBorde = l.textoBorde;
    o.espesorCentral = FormatoMiles(l.espesorCentral);

    try {
        OrdenTrabajo::Geometria g;
        g.caras = CalcularSuperficies(l.poderExterno, l.poderInterno, l.indice, l.diametro, l.pisos);
        g.espesorCentral = l.espesorCentral;
        g.espesorBorde = EspesorBordeLente(g.caras, l.espesorCentral);
        g.diametro = l.diametro;
        o.peso = FormatoMiles(PesoLente(g.caras, l.espesorCentral, l.densidad));
        o.geometria = g;
    } catch (const numerico::Falla&) {
        o.peso = "—";
    }

    if (!BaseCorriente(l.base))
        o.avisos.emplace_back(kBaseEspecial);
    if (!DiametroNormal(l.diametro))
        o.avisos.emplace_back(ConsejoDiametro(l.diametro));
    if (o.geometria && RequiereBlockEspecial(o.geometria->espesorBorde, o.geometria->caras.s1))
        o.avisos.emplace_back(mensajes_graficos::kAvisoBlock);
    // The front sphere's limits nest: a diameter beyond the sphere is also
    // too steep, and too steep for any material. The deepest one speaks.
    const double radioExterno = l.base != 0 ? numerico::kFactorMolde / l.base * 1000.0 : INFINITY;
    if (l.diametro >= DiametroMaximoFrontal(l.indice, l.poderExterno))
        o.avisos.push_back(aviso(kTituloDiametro, kTextoDiametro));
    else if (LenteMuyCurva(radioExterno, l.diametro))
        o.avisos.push_back(aviso(kTituloMuyCurva, kTextoMuyCurva));
    else if (MaterialIncompatible(radioExterno, l.diametro))
        o.avisos.push_back(aviso(kTituloMaterial, kTextoMaterial));
    return o;
}

Lente deEstado(const EstadoDiseno& e, const Numero& base, double diametro, Pisos pisos)
{
    Lente l;
    l.poderVertice = e.PoderVertice;
    l.base = base;
    l.poderExterno = e.PoderExterno;
    l.poderInterno = e.PoderInterno;
    l.radioInterno = e.RadioInterno;
    l.molde1523 = e.PoderInterno1523;
    l.indice = e.IndiceMaterial;
    l.densidad = e.Densidad;
    l.diametro = diametro;
    l.espesorCentral = e.EspesorCentral;
    l.nombre = e.NombreMaterial;
    l.textoBase = TextoPlano(base);
    // The drawing of a saved design leaves the record's single-precision
    // index in the design state: shown to a single's digits, 1.498 stays 1.498.
    l.textoIndice = TextoPlanoSimple(static_cast<float>(e.IndiceMaterial));
    l.textoDensidad = TextoPlanoSimple(static_cast<float>(e.Densidad));
    l.textoDiametro = TextoPlano(Redondear2(diametro));
    l.textoBorde = TextoPlano(e.EspesorBorde);
    l.pisos = pisos;
    return l;
}

} // namespace

OrdenTrabajo OrdenDelCalculo(const EstadoDiseno& e)
{
    // The thickness was solved at DiametroM, which a front sphere too small
    // for the request has cut; a back sphere too small cuts DiametroInicial.
    // Either way the smaller is the lens, and the box shows it.
    const double pedido = e.DiametroInicial;
    const double resuelto = e.DiametroM.definido() ? e.DiametroM * 1000.0 : pedido;
    const double diametro = std::min(pedido, resuelto);
    OrdenTrabajo o = armar(deEstado(e, e.CurvaBase, diametro, Pisos::Guardado));
    if (Redondear2(resuelto) != Redondear2(pedido))
        o.avisos.insert(o.avisos.begin(), "Diámetro reducido a " + TextoPlano(Redondear2(diametro)) +
                                              " mm: la geometría de la lente no permite el diámetro pedido (" +
                                              TextoPlano(Redondear2(std::max(pedido, resuelto))) + " mm).");
    return o;
}

OrdenTrabajo OrdenDelVariado(const EstadoDiseno& e, double diametro, Pisos pisos)
{
    return armar(deEstado(e, e.CurvaBaseActual, diametro, pisos));
}

OrdenTrabajo OrdenDelRegistro(const RegistroDiseno& r)
{
    Lente l;
    l.poderVertice = r.PoderVertice;
    l.poderExterno = r.PoderExterno;
    l.poderInterno = r.PoderInterno;
    l.indice = r.IndiceMaterial;
    l.densidad = r.Densidad;
    l.diametro = r.DiametroInicial;
    l.espesorCentral = r.EspesorCentral;
    const double n1 = r.IndiceMaterial - 1.0;
    if (n1 != 0) {
        l.base = std::round(r.PoderExterno * numerico::kFactorMolde / n1 * 1000.0) / 1000.0;
        l.molde1523 = r.PoderInterno * numerico::kFactorMolde / n1;
    }
    l.radioInterno = r.PoderInterno != 0 ? n1 / r.PoderInterno : 0.0;
    // The name is stored padded with blanks.
    l.nombre = r.NombreMaterial.substr(0, r.NombreMaterial.find_last_not_of(' ') + 1);
    l.textoBase = TextoPlano(l.base);
    l.textoIndice = TextoPlanoSimple(static_cast<float>(r.IndiceMaterial));
    l.textoDensidad = TextoPlanoSimple(static_cast<float>(r.Densidad));
    l.textoDiametro = TextoPlanoSimple(static_cast<float>(r.DiametroInicial));
    l.textoBorde = TextoPlanoSimple(static_cast<float>(r.EspesorBorde));
    l.pisos = Pisos::Guardado;
    return armar(l);
}
