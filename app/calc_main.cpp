// vantora-calc: the lens calculation of the design window from the command
// line, for laboratories that script their work.

#include "base_materiales.h"
#include "carpeta_datos.h"
#include "catalogo_sql.h"
#include "consola.h"
#include "controles.h"
#include "estado_diseno.h"
#include "formatos.h"
#include "motor.h"

#include <QCoreApplication>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kAyuda =
    "Uso: vantora-calc --poder P [--base B] [--diametro D] [--borde E]\n"
    "                  [--material NOMBRE | --indice N --densidad R [--nombre TEXTO]]\n"
    "                  [--central T] [--datos DIR] [--catalogo C]\n"
    "Calcula una lente positiva como el botón \"Calcular\" de la ventana de diseño.\n"
    "  --poder P      Poder de Vertice (D)\n"
    "  --base B       Curva Base Crown (D a 1.523); sin ella se sugiere una\n"
    "  --diametro D   Diámetro (mm)\n"
    "  --borde E      Espesor Borde (mm)\n"
    "  --material NOMBRE  material de la lista, buscado en la Base de Datos de Materiales\n"
    "  --indice N     índice del material elegido en la Base de Datos de Materiales\n"
    "  --densidad R   densidad de ese material (grs./cm3)\n"
    "  --nombre TEXTO nombre de ese material\n"
    "  --central T    después del cálculo, recalcula las caras con este Espesor Central (mm)\n"
    "  --datos DIR    carpeta de datos (la de materiales.mdb)\n"
    "  --catalogo C   Base de Datos de Materiales: un archivo o\n"
    "                 postgresql://[usuario[:contraseña]@][servidor][:puerto]/base\n"
    "                 (sin ella: VANTORA_CATALOGO, la clave catalogo de vantora.ini, materiales.mdb)\n"
    "Los números se escriben con . (punto) como separador decimal.\n";

// A whole option value must be a plain decimal number: an optional sign,
// digits and at most one ".".
bool esNumero(std::string_view texto)
{
    size_t i = 0;
    if (i < texto.size() && (texto[i] == '+' || texto[i] == '-'))
        ++i;
    bool digitos = false;
    bool punto = false;
    for (; i < texto.size(); ++i) {
        if (texto[i] >= '0' && texto[i] <= '9')
            digitos = true;
        else if (texto[i] == '.' && !punto)
            punto = true;
        else
            return false;
    }
    return digitos;
}

int fallar(const std::string& mensaje)
{
    std::cerr << "vantora-calc: " << mensaje << '\n';
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    static const std::map<std::string_view, bool> kNumericas = {
        {"--poder", true},  {"--base", true},      {"--diametro", true},  {"--borde", true},
        {"--indice", true}, {"--densidad", true},  {"--central", true},   {"--nombre", false},
        {"--datos", false}, {"--material", false}, {"--catalogo", false},
    };
    std::map<std::string_view, std::string> opciones;
    for (int i = 1; i < argc; ++i) {
        const std::string_view opcion = argv[i];
        if (opcion == "--ayuda" || opcion == "-h" || opcion == "--help") {
            std::cout << kAyuda;
            return 0;
        }
        const auto it = kNumericas.find(opcion);
        if (it == kNumericas.end())
            return fallar("opción desconocida: " + std::string(opcion) + " (vea --ayuda)");
        if (i + 1 >= argc)
            return fallar(std::string(opcion) + ": falta el valor");
        const std::string valor = argv[++i];
        if (it->second && !esNumero(valor))
            return fallar(std::string(opcion) + ": \"" + valor +
                          "\" no es un número; use . (punto) como separador decimal");
        opciones[opcion] = valor;
    }
    if (!opciones.contains("--poder"))
        return fallar("falta --poder, el Poder de Vertice de la receta");
    const bool materialDeLaLista = opciones.contains("--material");
    if (materialDeLaLista && (opciones.contains("--indice") || opciones.contains("--densidad")))
        return fallar("--material no se combina con --indice ni con --densidad: elija uno de los dos");

    QCoreApplication app(argc, argv);
    EstadoDiseno estado;
    ConsolaPantalla pantalla(std::cout);
    ConsolaDialogos dialogos(std::cout);
    // The catalogue is opened only when a material is named: a calculation
    // with its own index touches no file.
    const CarpetaDatos carpeta(opciones.contains("--datos") ? std::filesystem::path(opciones["--datos"])
                                                            : CarpetaDatos::PorDefecto());
    BaseMateriales base(ElegirCatalogo(
        opciones.contains("--catalogo") ? std::optional(QString::fromStdString(opciones["--catalogo"])) : std::nullopt,
        carpeta.carpeta(), carpeta.Archivo(CarpetaDatos::kMateriales)));
    if (opciones.contains("--catalogo") && !base.ubicacion().error().isEmpty())
        return fallar(base.ubicacion().error().toStdString());
    if (materialDeLaLista) {
        std::string error;
        if (!base.ubicacion().esServidor() && !carpeta.Preparar(error))
            return fallar("--datos: no se pudo crear la carpeta " + carpeta.carpeta().string() + ": " + error);
        // A catalogue that cannot be used finds no material: the same status.
        if (const std::optional<Aviso> aviso = base.Preparar()) {
            std::cerr << "vantora-calc: " << aviso->texto << '\n';
            return 3;
        }
        pantalla.Cargar(ctl::Combo_Materiales, opciones["--material"]);
    }
    CatalogoSql catalogo(base);
    PantallaEnMemoria sinGraficos;
    Motor motor(estado, pantalla, sinGraficos, dialogos, catalogo);

    auto numero = [&](std::string_view opcion) { return LeerNumero(opciones[opcion]); };
    estado.PoderVertice = numero("--poder");
    if (opciones.contains("--base")) {
        estado.CurvaBase = numero("--base");
        pantalla.Cargar(ctl::Tx_BaseCrown, opciones["--base"]);
    }
    if (opciones.contains("--diametro"))
        estado.DiametroInicial = numero("--diametro");
    if (opciones.contains("--borde"))
        estado.EspesorBorde = numero("--borde");
    if (opciones.contains("--indice") || opciones.contains("--densidad")) {
        estado.MaterialDeBase = "Si";
        if (opciones.contains("--indice"))
            estado.IndiceMaterial = numero("--indice");
        if (opciones.contains("--densidad"))
            estado.Densidad = numero("--densidad");
        estado.NombreMaterial = opciones["--nombre"];
    }

    if (!motor.CalcularCompleto())
        return 1;
    if (opciones.contains("--central")) {
        estado.EspesorCentral = numero("--central");
        motor.RecalcularSuperficies();
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}
