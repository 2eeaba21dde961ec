// vantora-perfil: the drawing of a saved design without a display, for a
// laboratory's job sheets. It draws through the graphics window's own
// routine on an offscreen surface of the window's size, and writes the
// design's job ticket as a PDF.

#include "archivos.h"
#include "avisos_qt.h"
#include "carpeta_abierta.h"
#include "carpeta_datos.h"
#include "consola.h"
#include "estado_diseno.h"
#include "lienzo_imagen.h"
#include "numero_trabajo.h"
#include "opciones.h"
#include "orden_pdf.h"
#include "perfil.h"
#include "ruta_legible.h"

#include <QDateTime>
#include <QGuiApplication>
#include <climits>
#include <cmath>
#include <iostream>
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
    "  --trabajo NUMERO   número de trabajo de la orden (sin él, se forma con la fecha y la hora)\n"
    "  --version          muestra la versión\n";

constexpr std::string_view kPrograma = "vantora-perfil";

// "-" is the standard output.
bool aSalidaEstandar(const Opciones& o, const char* opcion) { return o.Tiene(opcion) && o.Texto(opcion) == "-"; }

bool escribirSalida(const QByteArray& bytes)
{
    std::cout.write(bytes.constData(), bytes.size());
    std::cout.flush();
    return static_cast<bool>(std::cout);
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
    constexpr DefinicionOpcion kOpciones[] = {{"--datos", TipoOpcion::Carpeta},   {"--archivo", TipoOpcion::Texto},
                                              {"--registro", TipoOpcion::Numero}, {"--png", TipoOpcion::Texto},
                                              {"--pdf", TipoOpcion::Texto},       {"--trabajo", TipoOpcion::Texto}};
    if (const auto fin = ResponderVersionOAyuda(argc, argv, kPrograma, kAyuda))
        return *fin;
    std::string error;
    const std::optional<Opciones> leidas = Opciones::Leer(argc, argv, kOpciones, error);
    if (!leidas)
        return FallarOpcion(kPrograma, error);
    const Opciones& o = *leidas;
    std::optional<int> registro;
    if (o.Tiene("--registro")) {
        const double k = o.Numero("--registro");
        if (k < 1 || k != std::floor(k) || k > INT_MAX)
            return FallarOpcion(kPrograma, "--registro: \"" + o.Texto("--registro") +
                                               "\" no es un número de registro (1, 2, ...)");
        registro = static_cast<int>(k);
    }
    for (const char* opcion : {"--archivo", "--png", "--pdf"})
        if (o.Tiene(opcion) && o.Texto(opcion).empty())
            return FallarOpcion(kPrograma, std::string(opcion) + ": el nombre de archivo no puede estar vacío");
    if (aSalidaEstandar(o, "--png") && aSalidaEstandar(o, "--pdf"))
        return FallarOpcion(kPrograma, "--png y --pdf no pueden ir ambos a la salida estándar (-)");
    if (o.Tiene("--trabajo"))
        if (const std::optional<std::string> problema = ProblemaNumeroTrabajo(o.Texto("--trabajo")))
            return FallarOpcion(kPrograma, "--trabajo: " + *problema);
    if (o.Tiene(kOpcionDatos))
        if (const std::optional<std::string> problema = CarpetaDadaInservible(o.Carpeta()))
            return FallarOpcion(kPrograma, *problema);

    // Both output names are looked at before anything is drawn or written,
    // so that one refused leaves the other unwritten too.
    for (const char* opcion : {"--png", "--pdf"}) {
        if (!o.Tiene(opcion) || aSalidaEstandar(o, opcion))
            continue;
        const std::filesystem::path ruta = RutaDeLaLinea(o.Texto(opcion));
        CarpetaAbierta carpeta;
        if (carpeta.Abrir(ruta, error))
            error = QueImpideEscribir(carpeta.fd(), carpeta.nombre());
        if (!error.empty())
            return FallarOpcion(kPrograma,
                                std::string(opcion) + ": no se puede grabar " + RutaLegible(ruta) + ": " + error);
    }

    // The offscreen platform: no display is needed or used. Standard error
    // carries this program's own messages only.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CallarAvisosDeQt();
    QGuiApplication app(argc, argv);
    // With a file on the standard output, the report goes to standard error.
    std::ostream& informe = aSalidaEstandar(o, "--png") || aSalidaEstandar(o, "--pdf") ? std::cerr : std::cout;
    const CarpetaDatos carpeta(o.Carpeta());
    EstadoDiseno estado;
    ConsolaPantalla graficos(informe);
    ConsolaPantalla diseno(informe);
    ConsolaDialogos dialogos(informe);
    LienzoConsola lienzo(informe);
    Perfil perfil(estado, lienzo, graficos, diseno, dialogos, carpeta);
    if (o.Tiene("--archivo") || registro)
        perfil.UsarArchivo(o.Tiene("--archivo") ? RutaDeLaLinea(o.Texto("--archivo"))
                                                : carpeta.Archivo(CarpetaDatos::kDatos),
                           registro);
    const bool dibujado = perfil.DibujarPerfil(estado.EscalaHorizontal, estado.EscalaVertical, estado.AspectoPantalla);
    informe.flush();
    error.clear();
    // Nothing drawn, nothing written: an earlier picture or ticket stays. A
    // refused file has already been told, in its one message.
    if (!dibujado) {
        if ((o.Tiene("--png") || o.Tiene("--pdf")) && !perfil.Rechazo())
            EscribirError(kPrograma, std::string(o.Tiene("--png") && o.Tiene("--pdf") ? "--png y --pdf"
                                                 : o.Tiene("--png")                   ? "--png"
                                                                                      : "--pdf") +
                                         ": no hay lente dibujada; no se graba " +
                                         (o.Tiene("--png") && o.Tiene("--pdf") ? "la imagen ni la orden de trabajo"
                                          : o.Tiene("--png")                   ? "la imagen"
                                                                               : "la orden de trabajo"));
        return informe.flush() ? 1 : 2;
    }
    if (aSalidaEstandar(o, "--png")) {
        if (!escribirSalida(lienzo.Png()))
            return FallarOpcion(kPrograma, "--png: no se pudo escribir la imagen en la salida estándar");
    } else if (o.Tiene("--png")) {
        const std::filesystem::path png = RutaDeLaLinea(o.Texto("--png"));
        std::error_code ec;
        if (!std::filesystem::is_directory(png.parent_path(), ec))
            error = "la carpeta " + RutaLegible(png.parent_path()) + " no existe";
        if (!error.empty() || !lienzo.GuardarPng(png, error))
            return FallarOpcion(kPrograma,
                                "--png: no se pudo grabar la imagen " + o.Texto("--png") + ": " + error + ".");
    }
    if (o.Tiene("--pdf")) {
        const QDateTime ahora = QDateTime::currentDateTime();
        OrdenTrabajo orden = OrdenDelRegistro(*perfil.UltimoDibujo()->registro);
        orden.numero = o.Tiene("--trabajo") ? o.Texto("--trabajo") : NumeroTrabajoPorFecha(ahora);
        orden.fechaHora = FechaHoraOrden(ahora);
        if (aSalidaEstandar(o, "--pdf")) {
            if (!escribirSalida(OrdenPdf(orden)))
                return FallarOpcion(kPrograma, "--pdf: no se pudo escribir la orden en la salida estándar");
        } else if (!GrabarOrdenPdf(RutaDeLaLinea(o.Texto("--pdf")), orden, error)) {
            return FallarOpcion(kPrograma, "--pdf: " + error);
        }
    }
    informe.flush();
    return informe ? 0 : 2;
}
