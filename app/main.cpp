// Vantora: the lens design window, with the materials window on demand.

#include "carpeta_datos.h"
#include "dialogos_qt.h"
#include "opciones.h"
#include "programa.h"
#include "ubicacion_catalogo.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantora"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The toolkit's own texts (context menus, standard buttons) in Spanish.
    QTranslator traduccion;
    if (traduccion.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduccion);

    DialogosQt dialogos;
    std::string error;
    const auto ruta = CarpetaDeArgumentos(argc, argv, error);
    if (!ruta) {
        // Started from a desktop, nobody reads the error output.
        dialogos.Mensaje("Opción no válida", error, Icono::Critico, Botones::Aceptar);
        return FallarOpcion("vantora", error);
    }
    const CarpetaDatos carpeta(*ruta);
    UbicacionCatalogo catalogo =
        CatalogoDeArgumentos(argc, argv, carpeta.carpeta(), carpeta.Archivo(CarpetaDatos::kMateriales));
    if (BorrarContrasenasDeCatalogo(argc, argv))
        EscribirError("vantora", kAvisoContrasena);
    Programa programa(carpeta, dialogos, std::move(catalogo));
    programa.Mostrar();
    return QApplication::exec();
}
