#pragma once

#include "catalogo.h"
#include "conexion_materiales.h"

class BaseMateriales;

// The design's cursor on the materials table (Data_Materiales), in the file
// or on the server alike: the product list and the look-ups by name and by
// Id, read fresh from the store on every call, so they see what the
// materials window (and, on a server, every other bench) saved. When the
// catalogue is not usable the table reads as empty.
//
// A record whose index or density is missing or not a finite number cannot
// feed a calculation: a look-up that lands on it returns nothing, as if not
// found, rather than hand on a 0 (it does not go on to a later record, which
// would silently be another material). An Abbe number that is empty or not a
// number reads as 0; no calculation uses it. Records without a name are left out of
// the product list, where they could not be chosen.
//
// On a server, no call waits longer than PlazoServidor(); a connection lost
// since the last call is opened again, and a call that still cannot reach
// the server returns nothing, with the reason in Inaccesible().
class CatalogoSql : public Catalogo {
public:
    explicit CatalogoSql(const BaseMateriales& base);

    std::vector<std::string> Productos() override;
    std::optional<Material> BuscarPorNombre(std::string_view texto) override;
    std::optional<Material> BuscarPorId(std::string_view digitos) override;
    // The material named by its whole name when there is one, else as
    // BuscarPorNombre finds it: for the command-line programs.
    std::optional<Material> BuscarPorNombreEntero(std::string_view texto);
    long long Cantidad() override;
    std::string Inaccesible() const override { return m_inaccesible; }

private:
    template <typename Pregunta>
    auto preguntar(Pregunta pregunta) -> decltype(pregunta());

    ConexionMateriales m_conexion;
    std::string m_inaccesible;
};
