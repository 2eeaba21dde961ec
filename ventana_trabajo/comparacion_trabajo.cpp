#include "comparacion_trabajo.h"

#include "comparar_materiales.h"

#include <algorithm>
#include <cctype>

namespace trabajos {

namespace {

bool mismoNombre(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b,
                              [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

MaterialDelTrabajo hacer(const FormularioTrabajo& trabajo, const std::string& nombre, MaterialesTrabajo* materiales)
{
    MaterialDelTrabajo m;
    m.nombre = nombre;
    FormularioTrabajo f = trabajo;
    f.Confirmar(Campo::Material, dcs::Lado::Derecho, nombre);
    f.Confirmar(Campo::Curva, dcs::Lado::Derecho, "");
    std::string error;
    const auto pedido = dcs::Pedido::Leer(f.Pedido(), error);
    if (!pedido) {
        m.falla = error;
        return m;
    }
    m.ojos = Responder(*pedido, materiales).ojos;
    std::vector<std::string> fallas;
    bool alguno = false;
    for (int i = 0; i < 2; ++i) {
        const OjoResuelto& o = m.ojos[i];
        if (!o.pedido)
            continue;
        alguno = true;
        if (!o.resultado) {
            fallas.push_back((i == 0 ? "Ojo derecho: " : "Ojo izquierdo: ") + o.falla);
            continue;
        }
        m.espesorMaximo = std::max(m.espesorMaximo, o.resultado->espesorMaximo);
        m.peso += o.resultado->peso;
    }
    m.hecha = alguno && fallas.empty();
    // One reason for both eyes is said once.
    if (fallas.size() == 2 && m.ojos[0].falla == m.ojos[1].falla)
        m.falla = m.ojos[0].falla;
    else
        for (const std::string& falla : fallas)
            m.falla += (m.falla.empty() ? "" : "; ") + falla;
    if (!alguno)
        m.falla = "Sin pedido: escriba la esfera de algún ojo.";
    return m;
}

} // namespace

std::vector<MaterialDelTrabajo> CompararMaterialesDelTrabajo(const FormularioTrabajo& trabajo,
                                                             std::span<const std::string> nombres,
                                                             MaterialesTrabajo* materiales)
{
    std::vector<MaterialDelTrabajo> filas;
    std::vector<lente::PuestoComparado> puestos;
    for (const std::string& nombre : nombres) {
        if (nombre.empty() || std::ranges::any_of(filas, [&](const auto& f) { return mismoNombre(f.nombre, nombre); }))
            continue;
        filas.push_back(hacer(trabajo, nombre, materiales));
        const MaterialDelTrabajo& m = filas.back();
        puestos.push_back({m.hecha, m.espesorMaximo, m.peso, puestos.size()});
    }
    std::vector<std::size_t> orden(filas.size());
    for (std::size_t i = 0; i < orden.size(); ++i)
        orden[i] = i;
    std::ranges::sort(orden,
                      [&](std::size_t a, std::size_t b) { return lente::AntesEnComparacion(puestos[a], puestos[b]); });
    std::vector<MaterialDelTrabajo> ordenadas;
    ordenadas.reserve(filas.size());
    for (const std::size_t i : orden)
        ordenadas.push_back(std::move(filas[i]));
    return ordenadas;
}

} // namespace trabajos
