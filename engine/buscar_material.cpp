#include "controles.h"
#include "mensajes.h"
#include "motor.h"

#include <cmath>
#include <string>

namespace {

bool utilizable(const std::optional<Material>& m)
{
    return m && std::isfinite(m->indice) && std::isfinite(m->densidad);
}

} // namespace

void Motor::CargarMateriales()
{
    for (const std::string& producto : m_catalogo.Productos())
        m_frm.AgregarALista(ctl::Combo_Materiales, producto);
}

bool Motor::BuscarMaterialPorNombre(std::string_view texto, Numero& indice, Numero& densidad)
{
    if (texto.empty())
        return false;
    const std::optional<Material> material = m_catalogo.BuscarPorNombre(texto);
    if (!utilizable(material) && !m_catalogo.Inaccesible().empty()) {
        m_dialogos.Mensaje(mensajes::kTituloCatalogoInaccesible,
                           "No se pudo buscar el material \"" + std::string(texto) + "\": " + m_catalogo.Inaccesible() +
                               ". No se calcula con las cifras de otro material: vuelva a calcular cuando el "
                               "servidor responda.",
                           Icono::Critico);
        return false;
    }
    // A name deleted or renamed since the list was filled: keep the values of
    // the last material rather than calculate with an index of 0.
    if (!utilizable(material)) {
        m_dialogos.Mensaje(mensajes::kTituloMaterialNoEncontrado,
                           "No se encuentra el material \"" + std::string(texto) +
                               "\" en la Base de Datos de Materiales. Se conservan el índice y "
                               "la densidad del material anterior.",
                           Icono::Exclamacion);
        return false;
    }
    indice = material->indice;
    densidad = material->densidad;
    return true;
}

bool Motor::BuscarMaterialPorId(std::string_view id, std::string& nombre, Numero& indice, Numero& densidad)
{
    const std::optional<Material> material = m_catalogo.BuscarPorId(id);
    if (!utilizable(material) && !m_catalogo.Inaccesible().empty()) {
        m_graficos.PonerTexto(ctl::SalidaTxt, "No se pudo buscar el material de Id " + std::string(id) + ": " +
                                                  m_catalogo.Inaccesible() + ".");
        return false;
    }
    if (!utilizable(material)) {
        m_graficos.PonerTexto(ctl::SalidaTxt, "No se encuentra el material de Id " + std::string(id) +
                                                  " en la Base de Datos de Materiales.");
        return false;
    }
    nombre = material->producto;
    indice = material->indice;
    densidad = material->densidad;
    m_graficos.PonerTexto(ctl::SalidaTxt, material->descripcion);
    m_graficos.PonerTexto(ctl::SalidaTxt2, material->proveedor);
    return true;
}
