#include "comparar_materiales.h"

#include "bordes.h"
#include "numerico.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lente {

LenteDeMaterial ResolverMaterial(const Encargo& encargo, const MaterialLente& material, std::optional<double> base)
{
    LenteDeMaterial l;
    if (!material.falla.empty()) {
        l.falla = material.falla;
        return l;
    }
    laboratorio::Exigencias exigencias = encargo.exigencias;
    exigencias.centroMaterial = material.centroMin;
    exigencias.material = material.nombre;
    const std::optional<laboratorio::Minimos> minimos = laboratorio::MinimosDeEspesor(exigencias);
    if (!minimos) {
        l.falla = "falta el borde mínimo";
        return l;
    }
    l.avisos = minimos->avisos;
    Pedido pedido;
    pedido.receta = encargo.receta;
    pedido.indice = material.indice;
    pedido.densidad = material.densidad;
    pedido.bordeMin = minimos->borde;
    pedido.centroMin = minimos->centro;
    try {
        // The suggestion is judged on the diameter the outline spans.
        pedido.base = base ? *base : SugerirBaseReceta(pedido.receta, pedido.indice, BloqueMinimo(encargo.borde) - 2.0);
    } catch (const numerico::Falla&) {
        l.sinBase = true;
        l.falla = "no se puede sugerir una curva base con estos valores";
        return l;
    }
    l.base = pedido.base;
    try {
        l.uso = ResolverEnUso(pedido, encargo.borde, encargo.montaje);
    } catch (const numerico::Falla&) {
        l.uso.solucion = {std::nullopt, "los valores no forman una lente"};
    }
    if (!l.uso.solucion.resultado)
        l.falla = l.uso.solucion.falla.empty() ? "los valores no forman una lente" : l.uso.solucion.falla;
    return l;
}

bool AntesEnComparacion(const PuestoComparado& a, const PuestoComparado& b)
{
    if (a.hecha != b.hecha)
        return a.hecha;
    if (a.hecha) {
        const auto peso = [](double p) { return std::isfinite(p) ? p : std::numeric_limits<double>::infinity(); };
        if (a.espesorMaximo != b.espesorMaximo)
            return a.espesorMaximo < b.espesorMaximo;
        if (peso(a.peso) != peso(b.peso))
            return peso(a.peso) < peso(b.peso);
    }
    return a.posicion < b.posicion;
}

std::vector<MaterialComparado> CompararMateriales(const Encargo& encargo, std::span<const MaterialLente> materiales)
{
    std::vector<MaterialComparado> filas;
    filas.reserve(materiales.size());
    for (std::size_t i = 0; i < materiales.size(); ++i)
        filas.push_back({i, ResolverMaterial(encargo, materiales[i])});
    const auto puesto = [](const MaterialComparado& m) {
        const Resultado* r = m.lente.resultado();
        return PuestoComparado{r != nullptr, r ? r->espesorMaximo : 0.0, r ? r->peso : 0.0, m.posicion};
    };
    std::sort(filas.begin(), filas.end(), [&](const MaterialComparado& a, const MaterialComparado& b) {
        return AntesEnComparacion(puesto(a), puesto(b));
    });
    return filas;
}

} // namespace lente
