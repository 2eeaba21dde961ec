#include "catalogo_ordenes.h"

#include "carpeta_datos.h"
#include "ruta_legible.h"

#include <optional>

namespace {

constexpr int kSinDiseno = 3;

bool fallo(CatalogoDeOrdenes& c, std::string error, int estado)
{
    c.error = std::move(error);
    c.estado = estado;
    return false;
}

} // namespace

CatalogoDeOrdenes ElegirCatalogoDeOrdenes(const Opciones& o)
{
    const CarpetaDatos carpeta(o.Carpeta());
    CatalogoDeOrdenes c;
    c.base = std::make_unique<BaseMateriales>(ElegirCatalogo(
        o.Tiene("--catalogo") ? std::optional(QString::fromStdString(o.Texto("--catalogo"))) : std::nullopt,
        carpeta.carpeta(), carpeta.Archivo(CarpetaDatos::kMateriales)));
    if (o.Tiene("--catalogo") && !c.base->ubicacion().error().isEmpty())
        fallo(c, "--catalogo: " + c.base->ubicacion().error().toStdString(), kSalidaOpcionInvalida);
    return c;
}

bool AbrirCatalogoDeOrdenes(CatalogoDeOrdenes& c, const Opciones& o)
{
    if (!c.error.empty())
        return false;
    const CarpetaDatos carpeta(o.Carpeta());
    if (!c.base->ubicacion().esServidor()) {
        const std::string nombre = RutaLegible(carpeta.carpeta());
        // The database engine takes file names as text and cannot reach a
        // folder whose name is not.
        if (!EsUtf8(carpeta.carpeta().native()))
            return fallo(c,
                         "--datos: la Base de Datos de Materiales no se puede abrir en la carpeta \"" + nombre +
                             "\": su nombre no es texto UTF-8",
                         kSalidaOpcionInvalida);
        if (o.Tiene(kOpcionDatos))
            if (const std::optional<std::string> problema = CarpetaDadaInservible(carpeta.carpeta()))
                return fallo(c, *problema, kSalidaOpcionInvalida);
        std::string error;
        if (!carpeta.Preparar(error))
            return fallo(c, "--datos: no se pudo preparar la carpeta de datos \"" + nombre + "\": " + error,
                         kSalidaOpcionInvalida);
    }
    if (const std::optional<Aviso> aviso = c.base->Preparar())
        return fallo(c, aviso->texto, kSinDiseno);
    return true;
}
