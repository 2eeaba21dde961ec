// Vantora: the design window first; the materials window when first asked
// for. The one design state, the dialogs and the catalogue are made here and
// handed to the windows.

#include "base_materiales.h"
#include "carpeta_datos.h"
#include "catalogo_sqlite.h"
#include "dialogos_qt.h"
#include "estado_diseno.h"
#include "form1_base_materiales.h"
#include "frm_vantora.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantora"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The toolkit's own texts (context menus, standard buttons) in Spanish.
    QTranslator traduccion;
    if (traduccion.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduccion);

    DialogosQt dialogosQt;
    Dialogos& dialogos = dialogosQt;
    const CarpetaDatos carpeta(CarpetaDeArgumentos(argc, argv));
    std::string error;
    if (!carpeta.Preparar(error))
        dialogos.Mensaje("Carpeta de datos",
                         "No se pudo crear la carpeta de datos " + carpeta.carpeta().string() + ": " + error + ".",
                         Icono::Critico);

    BaseMateriales base(carpeta.Archivo(CarpetaDatos::kMateriales));
    base.Abrir(dialogos);
    CatalogoSqlite catalogo(base);
    EstadoDiseno estado;

    Frm_Vantora frm(estado, dialogos, catalogo, carpeta);
    std::unique_ptr<Form1_BaseMateriales> materiales;
    frm.AlAbrirProductos([&] {
        if (!materiales)
            materiales = std::make_unique<Form1_BaseMateriales>(base, estado, dialogos);
        materiales->show();
        materiales->raise();
        materiales->activateWindow();
    });
    frm.show();
    const int resultado = QApplication::exec();
    // The windows go before the database connections they hold.
    materiales.reset();
    return resultado;
}
