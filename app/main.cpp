// Vantora: the lens design window, with the materials window on demand.

#include "carpeta_datos.h"
#include "dialogos_qt.h"
#include "etiquetas_dcs.h"
#include "opciones.h"
#include "programa.h"
#include "ubicacion_catalogo.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

constexpr std::string_view kAyuda =
    "Uso: vantora [--datos DIR] [--catalogo C] [--trabajo NUMERO]\n"
    "Diseña lentes oftálmicas para el laboratorio: recetas completas de los dos ojos (esfera, cilindro\n"
    "y prisma, positivas y negativas) con sus reglas de espesor, los trabajos DCS y su almacén, y el\n"
    "catálogo de materiales. Abre la ventana \"Diseño de lentes Vantoras\" (lentes esféricas positivas,\n"
    "dibujadas y variadas en pantalla); Ctrl+T abre la ventana de trabajos y Ctrl+J un trabajo guardado.\n"
    "  --datos DIR    carpeta de datos (sin ella: $HOME/KORVEN/win, creada al empezar)\n"
    "  --catalogo C   Base de Datos de Materiales: un archivo o\n"
    "                 postgresql://[usuario[:contraseña]@][servidor][:puerto]/base\n"
    "                 (sin ella: VANTORA_CATALOGO, la clave catalogo de vantora.ini, materiales.mdb)\n"
    "  --trabajo N    abre también la ventana de trabajos con el trabajo guardado de número N\n"
    "  --version      muestra la versión\n";

} // namespace

int main(int argc, char** argv)
{
    // Answered before the toolkit starts, so that it works without a display.
    if (const auto fin = ResponderVersionOAyuda(argc, argv, "vantora", kAyuda))
        return *fin;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantora"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The toolkit's own texts (context menus, standard buttons) in Spanish.
    QTranslator traduccion;
    if (traduccion.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduccion);

    DialogosQt dialogos;
    std::string error;
    auto ruta = CarpetaDeArgumentos(argc, argv, error);
    // Only the default data folder is made at start; one named with --datos
    // must be there.
    if (ruta && *ruta != CarpetaDatos::PorDefecto())
        if (const std::optional<std::string> problema = CarpetaDadaInservible(*ruta)) {
            error = *problema;
            ruta.reset();
        }
    if (!ruta) {
        // Started from a desktop, nobody reads the error output.
        dialogos.Mensaje("Opción no válida", error, Icono::Critico, Botones::Aceptar);
        return FallarOpcion("vantora", error);
    }
    // The job to open, checked before any window: a number is a key of the
    // job store, never a path.
    QString trabajo;
    for (int i = 1; i < argc; ++i) {
        const OpcionPartida partida = PartirOpcion(argv[i]);
        if (partida.nombre != "--trabajo")
            continue;
        const std::string numero(partida.valor ? *partida.valor : i + 1 < argc ? argv[++i] : "");
        if (!dcs::NumeroDeTrabajoValido(numero)) {
            error = numero.empty() ? std::string("--trabajo: falta el número de trabajo")
                                   : "--trabajo: \"" + numero.substr(0, 40) +
                                         "\" no es un número de trabajo (letras, cifras, - _ . y hasta 40 caracteres)";
            dialogos.Mensaje("Opción no válida", error, Icono::Critico, Botones::Aceptar);
            return FallarOpcion("vantora", error);
        }
        trabajo = QString::fromStdString(numero);
    }
    const CarpetaDatos carpeta(*ruta);
    UbicacionCatalogo catalogo =
        CatalogoDeArgumentos(argc, argv, carpeta.carpeta(), carpeta.Archivo(CarpetaDatos::kMateriales));
    if (BorrarContrasenasDeCatalogo(argc, argv))
        EscribirError("vantora", kAvisoContrasena);
    Programa programa(carpeta, dialogos, std::move(catalogo));
    programa.Mostrar();
    if (!trabajo.isEmpty())
        programa.AbrirVentanaTrabajo(trabajo);
    return QApplication::exec();
}
