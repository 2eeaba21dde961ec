// vantora-catalogo: copies a materials catalogue into another, to move a
// bench's "materiales.mdb" onto the laboratory's server.

#include "avisos_qt.h"
#include "copia_catalogo.h"
#include "opciones.h"
#include "ubicacion_catalogo.h"

#include <QCoreApplication>
#include <QDir>
#include <iostream>
#include <string_view>

namespace {

constexpr std::string_view kAyuda =
    "Uso: vantora-catalogo --copiar ORIGEN DESTINO [--reemplazar]\n"
    "Copia la Base de Datos de Materiales ORIGEN en DESTINO, con el Id, los nombres y las cifras de\n"
    "cada material, en una sola transacción: DESTINO queda con todos o con ninguno.\n"
    "ORIGEN y DESTINO son un archivo (materiales.mdb) o una dirección\n"
    "  postgresql://[usuario[:contraseña]@][servidor][:puerto]/base\n"
    "(lo que la dirección no diga sale de PGHOST, PGPORT, PGUSER, PGPASSWORD y ~/.pgpass).\n"
    "DESTINO debe estar vacío o no existir; con --reemplazar se borra lo que tenga, en la misma\n"
    "transacción.\n"
    "Con --version muestra la versión.\n"
    "Estado de salida: 0 copiado, 1 no se pudo copiar, 2 opciones inválidas.\n";

int fallar(const std::string& mensaje, int estado)
{
    std::cerr << "vantora-catalogo: " << mensaje << '\n';
    return estado;
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto fin = ResponderVersionOAyuda(argc, argv, "vantora-catalogo", kAyuda))
        return *fin;
    CallarAvisosDeQt();
    QCoreApplication app(argc, argv);
    QStringList argumentos = QCoreApplication::arguments().mid(1);
    bool contrasena = false;
    for (int i = 1; i < argc; ++i)
        contrasena = BorrarContrasena(argv[i]) || contrasena;
    if (contrasena)
        std::cerr << "vantora-catalogo: " << kAvisoContrasena << '\n';
    const bool reemplazar = argumentos.removeAll(QStringLiteral("--reemplazar")) > 0;
    if (argumentos.size() != 3 || argumentos[0] != QLatin1String("--copiar"))
        return fallar("se espera --copiar ORIGEN DESTINO (vea --ayuda)", 2);
    const std::filesystem::path aqui = QDir::currentPath().toStdU16String();
    const UbicacionCatalogo origen = UbicacionCatalogo::DeTexto(argumentos[1], aqui, QStringLiteral("ORIGEN"), true);
    const UbicacionCatalogo destino = UbicacionCatalogo::DeTexto(argumentos[2], aqui, QStringLiteral("DESTINO"), true);
    for (const UbicacionCatalogo* u : {&origen, &destino})
        if (!u->error().isEmpty())
            return fallar(u->error().toStdString(), 2);
    const ResultadoCopia copia = CopiarCatalogo(origen, destino, reemplazar);
    if (!copia.copiado)
        return fallar(copia.error, 1);
    std::cout << "Se copiaron " << copia.materiales << " materiales de " << origen.Descripcion() << " a "
              << destino.Descripcion() << ".\n";
    return 0;
}
