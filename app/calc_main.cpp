// vantora-calc: the lens calculation of the design window from the command
// line, for laboratories that script their work.

#include "avisos_qt.h"
#include "base_materiales.h"
#include "catalogo_ordenes.h"
#include "catalogo_sql.h"
#include "consejos.h"
#include "consola.h"
#include "controles.h"
#include "estado_diseno.h"
#include "motor.h"
#include "opciones.h"

#include <QCoreApplication>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kPrograma = "vantora-calc";

// Exit statuses, so that a laboratory's script can tell a design from
// everything else. A bad option or value is kSalidaOpcionInvalida (2).
constexpr int kDiseno = 0;
constexpr int kSinCalculo = 1;
constexpr int kSinDiseno = 3;

constexpr std::string_view kAyuda =
    "Uso: vantora-calc --poder P [--base B] [--diametro D] [--borde E]\n"
    "                  [--material NOMBRE | --indice N --densidad R [--nombre TEXTO]]\n"
    "                  [--central T] [--datos DIR] [--catalogo C]\n"
    "Calcula una lente positiva como el botón \"Calcular\" de la ventana de diseño.\n"
    "  --poder P      Poder de Vertice (D), mayor que cero\n"
    "  --base B       Curva Base Crown (D a 1.523); sin ella se sugiere una\n"
    "  --diametro D   Diámetro (mm), mayor que cero\n"
    "  --borde E      Espesor Borde (mm), cero o más\n"
    "  --material NOMBRE  material de la lista, buscado en la Base de Datos de Materiales\n"
    "  --indice N     índice del material elegido en la Base de Datos de Materiales\n"
    "  --densidad R   densidad de ese material (grs./cm3)\n"
    "  --nombre TEXTO nombre de ese material\n"
    "  --central T    después del cálculo, recalcula las caras con este Espesor Central (mm), mayor que cero\n"
    "  --datos DIR    carpeta de datos (la de materiales.mdb)\n"
    "  --catalogo C   Base de Datos de Materiales: un archivo o\n"
    "                 postgresql://[usuario[:contraseña]@][servidor][:puerto]/base\n"
    "                 (sin ella: VANTORA_CATALOGO, la clave catalogo de vantora.ini, materiales.mdb)\n"
    "  --version      muestra la versión\n"
    "Los números se escriben con . (punto) como separador decimal.\n"
    "Estado de salida: 0 lente calculada; 1 el cálculo no pudo empezar; 2 opción o valor no válido;\n"
    "3 sin diseño: lente de muestra de una recuperación, o material no encontrado.\n";

constexpr DefinicionOpcion kOpciones[] = {
    {"--poder", TipoOpcion::Numero},   {"--base", TipoOpcion::Numero},      {"--diametro", TipoOpcion::Numero},
    {"--borde", TipoOpcion::Numero},   {"--indice", TipoOpcion::Numero},    {"--densidad", TipoOpcion::Numero},
    {"--central", TipoOpcion::Numero}, {"--nombre", TipoOpcion::Texto},     {"--material", TipoOpcion::Texto},
    {"--catalogo", TipoOpcion::Texto}, {kOpcionDatos, TipoOpcion::Carpeta},
};

int fallar(const std::string& mensaje) { return FallarOpcion(kPrograma, mensaje); }

// The values on which the design window's boxes hold the optician, with the
// box's advice: a power of zero or below, a diameter or a centre thickness of
// zero, an empty material. A negative diameter or edge thickness, which the
// boxes let through but no lens has, is refused too. The boxes' warnings that
// let the optician go on (more than 30 D, a plano-convex base, a centre
// thinner than 1.5 mm) do not stop a calculation.
std::optional<std::string> valorRechazado(const Opciones& o)
{
    using namespace consejos;
    const double poder = o.Numero("--poder");
    if (poder < 0)
        return "--poder: " + std::string(kPoderNegativo) + ".";
    if (poder == 0)
        return "--poder: " + std::string(kPoderCero);
    if (o.Tiene("--diametro") && o.Numero("--diametro") == 0)
        return "--diametro: " + std::string(kDiametroCero);
    if (o.Numero("--diametro") < 0)
        return "--diametro: el diámetro no puede ser negativo. Ingrese un valor de por lo menos 10 mm.";
    if (o.Numero("--borde") < 0)
        return std::string("--borde: el espesor de borde no puede ser negativo");
    if (o.Tiene("--central") && o.Numero("--central") <= 0)
        return "--central: " + std::string(kEspesorCero);
    if (o.Tiene("--material") && o.Texto("--material").empty())
        return "--material: " + std::string(kSinMaterial);
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto fin = ResponderVersionOAyuda(argc, argv, kPrograma, kAyuda))
        return *fin;
    CallarAvisosDeQt();
    std::string error;
    const std::optional<Opciones> opciones = Opciones::Leer(argc, argv, kOpciones, error);
    if (!opciones)
        return fallar(error);
    const Opciones& o = *opciones;
    // Before anything that may wait: the password leaves the arguments that
    // other users read, whether or not the catalogue is used.
    if (BorrarContrasenasDeCatalogo(argc, argv))
        EscribirError(kPrograma, kAvisoContrasena);
    if (!o.Tiene("--poder"))
        return fallar("falta --poder, el Poder de Vertice de la receta");
    const bool materialDeLaLista = o.Tiene("--material");
    if (materialDeLaLista && (o.Tiene("--indice") || o.Tiene("--densidad")))
        return fallar("--material no se combina con --indice ni con --densidad: elija uno de los dos");
    if (const auto rechazo = valorRechazado(o))
        return fallar(*rechazo);

    QCoreApplication app(argc, argv);
    // The catalogue is opened only when a material is named: a calculation
    // with its own index touches no file, whatever the data folder.
    CatalogoDeOrdenes elegido = ElegirCatalogoDeOrdenes(o);
    if (!elegido.error.empty() || (materialDeLaLista && !AbrirCatalogoDeOrdenes(elegido, o))) {
        EscribirError(kPrograma, elegido.error);
        return elegido.estado;
    }
    BaseMateriales& base = *elegido.base;

    EstadoDiseno estado;
    ConsolaPantalla pantalla(std::cout);
    ConsolaDialogos dialogos(std::cout);
    CatalogoSql catalogo(base);
    PantallaEnMemoria sinGraficos;
    Motor motor(estado, pantalla, sinGraficos, dialogos, catalogo);

    if (materialDeLaLista) {
        const std::string material = o.Texto("--material");
        pantalla.Cargar(ctl::Combo_Materiales, material);
        // There is no earlier material to fall back on here: a name the
        // catalogue lacks would leave the index unset, and only a recovery's
        // sample lens could come out.
        Numero indice;
        Numero densidad;
        if (!motor.BuscarMaterialPorNombre(material, indice, densidad)) {
            std::cout.flush();
            if (!catalogo.Inaccesible().empty()) {
                EscribirError(kPrograma, "--material: no se pudo buscar \"" + material +
                                             "\": " + catalogo.Inaccesible() + "; no se calculó ninguna lente");
                return kSinDiseno;
            }
            EscribirError(kPrograma, "--material: no se encontró \"" + material +
                                         "\" en la Base de Datos de Materiales; no se calculó ninguna lente");
            return kSinDiseno;
        }
    }
    estado.PoderVertice = o.Numero("--poder");
    if (o.Tiene("--base")) {
        estado.CurvaBase = o.Numero("--base");
        pantalla.Cargar(ctl::Tx_BaseCrown, o.Texto("--base"));
    }
    if (o.Tiene("--diametro"))
        estado.DiametroInicial = o.Numero("--diametro");
    if (o.Tiene("--borde"))
        estado.EspesorBorde = o.Numero("--borde");
    if (o.Tiene("--indice") || o.Tiene("--densidad")) {
        estado.MaterialDeBase = "Si";
        if (o.Tiene("--indice"))
            estado.IndiceMaterial = o.Numero("--indice");
        if (o.Tiene("--densidad"))
            estado.Densidad = o.Numero("--densidad");
        estado.NombreMaterial = o.Texto("--nombre");
    }

    if (!motor.CalcularCompleto())
        return kSinCalculo;
    // Each calculation clears the flag as it starts, so it is read after each.
    bool recuperado = estado.CalculoRecuperado == 1;
    if (o.Tiene("--central")) {
        estado.EspesorCentral = o.Numero("--central");
        motor.RecalcularSuperficies();
        recuperado = recuperado || estado.CalculoRecuperado == 1;
    }
    std::cout.flush();
    if (!std::cout)
        return kSinCalculo;
    if (recuperado) {
        EscribirError(kPrograma, "los valores dados no forman una lente: los resultados son los de la lente de "
                                 "muestra de la recuperación, no un diseño");
        return kSinDiseno;
    }
    return kDiseno;
}
