// vantora-perfil: the drawing of a saved design without a display, for a
// laboratory's job sheets. It draws through the graphics window's own
// routine on an offscreen surface of the window's size, and writes the
// design's job ticket as a PDF.

#include "carpeta_datos.h"
#include "consola.h"
#include "estado_diseno.h"
#include "lienzo_imagen.h"
#include "numero_trabajo.h"
#include "orden_pdf.h"
#include "perfil.h"

#include <QDateTime>
#include <QGuiApplication>
#include <charconv>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kAyuda =
    "Uso: vantora-perfil [--datos DIR] [--archivo ARCHIVO] [--registro K] [--png IMAGEN] [--pdf ARCHIVO]\n"
    "                    [--trabajo NUMERO]\n"
    "Dibuja la lente guardada como el botón \"Graficar\" de la ventana de diseño, sin pantalla.\n"
    "  --datos DIR        carpeta de datos (DATA.DAT y MONITOR.DAT)\n"
    "  --archivo ARCHIVO  dibuja este archivo de registros de diseño en lugar de DATA.DAT\n"
    "  --registro K       dibuja solo el registro K del archivo, como si fuera el primero\n"
    "  --png IMAGEN       guarda el dibujo de 552 × 325 puntos como imagen PNG\n"
    "  --pdf ARCHIVO      graba la orden de trabajo de la lente dibujada, una hoja A4 en PDF\n"
    "  --trabajo NUMERO   número de trabajo de la orden (sin él, se forma con la fecha y la hora)\n";

int fallar(const std::string& mensaje)
{
    std::cerr << "vantora-perfil: " << mensaje << '\n';
    return 2;
}

// The surface, with the text it prints also written as "Print: text".
class LienzoConsola : public LienzoImagen {
public:
    explicit LienzoConsola(std::ostream& salida) : m_salida(salida) {}
    void Imprimir(std::string_view texto) override
    {
        m_salida << "Print: " << EnUnaLinea(texto) << '\n';
        LienzoImagen::Imprimir(texto);
    }

private:
    std::ostream& m_salida;
};

} // namespace

int main(int argc, char** argv)
{
    std::map<std::string_view, std::string> opciones;
    for (int i = 1; i < argc; ++i) {
        const std::string_view opcion = argv[i];
        if (opcion == "--ayuda" || opcion == "-h" || opcion == "--help") {
            std::cout << kAyuda;
            return 0;
        }
        if (opcion != "--datos" && opcion != "--archivo" && opcion != "--registro" && opcion != "--png" &&
            opcion != "--pdf" && opcion != "--trabajo")
            return fallar("opción desconocida: " + std::string(opcion) + " (vea --ayuda)");
        if (i + 1 >= argc)
            return fallar(std::string(opcion) + ": falta el valor");
        const std::string valor = argv[++i];
        if (valor.empty())
            return fallar(std::string(opcion) + ": el valor no puede estar vacío");
        opciones[opcion] = valor;
    }
    std::optional<int> registro;
    if (opciones.contains("--registro")) {
        const std::string& texto = opciones["--registro"];
        int k = 0;
        const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), k);
        if (error != std::errc() || fin != texto.data() + texto.size() || k < 1)
            return fallar("--registro: \"" + texto + "\" no es un número de registro (1, 2, ...)");
        registro = k;
    }
    if (opciones.contains("--trabajo"))
        if (const std::optional<std::string> problema = ProblemaNumeroTrabajo(opciones["--trabajo"]))
            return fallar("--trabajo: " + *problema);

    // The offscreen platform: no display is needed or used. Standard error
    // carries this program's own messages only.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
        if (tipo == QtFatalMsg)
            std::cerr << texto.toStdString() << '\n';
    });
    QGuiApplication app(argc, argv);
    const CarpetaDatos carpeta(opciones.contains("--datos") ? std::filesystem::path(opciones["--datos"])
                                                            : CarpetaDatos::PorDefecto());
    EstadoDiseno estado;
    ConsolaPantalla graficos(std::cout);
    ConsolaPantalla diseno(std::cout);
    ConsolaDialogos dialogos(std::cout);
    LienzoConsola lienzo(std::cout);
    Perfil perfil(estado, lienzo, graficos, diseno, dialogos, carpeta);
    if (opciones.contains("--archivo") || registro)
        perfil.UsarArchivo(opciones.contains("--archivo") ? std::filesystem::path(opciones["--archivo"])
                                                          : carpeta.Archivo(CarpetaDatos::kDatos),
                           registro);
    const bool dibujado = perfil.DibujarPerfil(estado.EscalaHorizontal, estado.EscalaVertical, estado.AspectoPantalla);
    if (opciones.contains("--png") && !lienzo.GuardarPng(QString::fromStdString(opciones["--png"])))
        return fallar("--png: no se pudo grabar la imagen " + opciones["--png"]);
    if (opciones.contains("--pdf") && dibujado) {
        const QDateTime ahora = QDateTime::currentDateTime();
        OrdenTrabajo orden = OrdenDelRegistro(*perfil.UltimoDibujo()->registro);
        orden.numero = opciones.contains("--trabajo") ? opciones["--trabajo"] : NumeroTrabajoPorFecha(ahora);
        orden.fechaHora = FechaHoraOrden(ahora);
        std::string error;
        if (!GrabarOrdenPdf(opciones["--pdf"], orden, error))
            return fallar("--pdf: " + error);
    }
    if (opciones.contains("--pdf") && !dibujado)
        std::cerr << "vantora-perfil: --pdf: no hay lente dibujada; no se graba la orden de trabajo\n";
    std::cout.flush();
    if (!std::cout)
        return 2;
    return dibujado ? 0 : 1;
}
