// vantora-dcs: the host that the laboratory's tracers, generators and edgers
// talk to over TCP, answering from the job store.

#include "almacen_dispositivos.h"
#include "almacen_trabajos.h"
#include "catalogo_ordenes.h"
#include "opciones.h"
#include "servidor_dcs.h"
#include "ubicacion_catalogo.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view kPrograma = "vantora-dcs";
constexpr int kNoEscucha = 1;
constexpr int kSinAlmacen = 3;

constexpr std::string_view kAyuda =
    "Uso: vantora-dcs --escuchar DIRECCIÓN:PUERTO [--datos DIR] [--catalogo C] [--permitir RED/BITS]...\n"
    "                 [--espera-ack SEGUNDOS] [--reintentos N] [--espera-mensaje SEGUNDOS] [--silencio SEGUNDOS]\n"
    "Anfitrión de los trazadores, generadoras y biseladoras del laboratorio (sesión DCS sobre TCP): guarda\n"
    "los trazados que suben los trazadores y responde cada trabajo pedido con su respuesta guardada y su\n"
    "trazado. Usa el almacén de trabajos y la Base de Datos de Materiales de vantora-trabajo.\n"
    "  --escuchar D:P      dirección y puerto, p. ej. 0.0.0.0:7210, [::]:7210 o 127.0.0.1:0 (el sistema elige)\n"
    "  --datos DIR         carpeta de datos (la de materiales.mdb)\n"
    "  --catalogo C        Base de Datos de Materiales: un archivo o\n"
    "                      postgresql://[usuario[:contraseña]@][servidor][:puerto]/base\n"
    "  --permitir RED/BITS red de la que se aceptan equipos (p. ej. 192.168.1.0/24); se repite o se separa\n"
    "                      con comas; sin ella, la red local (127.0.0.0/8, ::1) y las redes de esta máquina\n"
    "  --espera-ack S      espera de la confirmación (ACK) de una respuesta antes de reenviarla (6)\n"
    "  --reintentos N      reenvíos de una respuesta no confirmada antes de cerrar la conexión (3)\n"
    "  --espera-mensaje S  tiempo para completar un mensaje desde su FS (12)\n"
    "  --silencio S        un equipo callado este tiempo se desconecta (600)\n"
    "Registra una línea por intercambio en la salida de errores. SIGTERM o SIGINT lo detienen.\n"
    "Estado de salida: 0 detenido con una señal; 1 no se puede escuchar en la dirección; 2 opción no válida;\n"
    "3 el almacén de trabajos o el catálogo no se pueden usar.\n";

constexpr std::string_view kPermitir = "--permitir";

constexpr DefinicionOpcion kOpciones[] = {
    {"--escuchar", TipoOpcion::Texto},    {kOpcionDatos, TipoOpcion::Carpeta},
    {"--catalogo", TipoOpcion::Texto},    {"--espera-ack", TipoOpcion::Numero},
    {"--reintentos", TipoOpcion::Numero}, {"--espera-mensaje", TipoOpcion::Numero},
    {"--silencio", TipoOpcion::Numero},
};

int fallar(const std::string& mensaje) { return FallarOpcion(kPrograma, mensaje); }

// --permitir may be given many times; the option reader keeps one value a
// name, so its values are taken out first.
bool separarRedes(int argc, char** argv, std::vector<char*>& resto, std::vector<std::string>& redes)
{
    resto.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        std::string_view valor;
        if (a == kPermitir) {
            if (i + 1 >= argc)
                return false;
            valor = argv[++i];
        } else if (a.starts_with(std::string(kPermitir) + "=")) {
            valor = a.substr(kPermitir.size() + 1);
        } else {
            resto.push_back(argv[i]);
            continue;
        }
        for (std::size_t desde = 0; desde <= valor.size();) {
            const std::size_t coma = std::min(valor.find(',', desde), valor.size());
            redes.emplace_back(valor.substr(desde, coma - desde));
            desde = coma + 1;
        }
    }
    return true;
}

// A time option in seconds, to the millisecond, within reason.
std::optional<std::chrono::milliseconds> segundos(const Opciones& o, std::string_view nombre, double omision,
                                                  double maximo, std::string& error)
{
    const double s = o.Tiene(nombre) ? o.Numero(nombre) : omision;
    if (!(s >= 0.001 && s <= maximo)) {
        error = std::string(nombre) + ": se esperan segundos, de 0.001 a " + std::to_string(std::lround(maximo));
        return std::nullopt;
    }
    return std::chrono::milliseconds(std::lround(s * 1000));
}

// "ADDRESS:PORT", the address in brackets when it is IPv6.
bool leerDireccion(const std::string& texto, QHostAddress& direccion, quint16& puerto)
{
    const std::size_t dos = texto.rfind(':');
    if (dos == std::string::npos)
        return false;
    std::string host = texto.substr(0, dos);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    const std::string p = texto.substr(dos + 1);
    std::string motivo;
    const auto n = LeerNumeroOpcion(p, motivo);
    if (!n || *n < 0 || *n > 65535 || *n != std::floor(*n) || p.find_first_not_of("0123456789") != std::string::npos)
        return false;
    puerto = static_cast<quint16>(*n);
    return direccion.setAddress(QString::fromStdString(host));
}

// SIGTERM and SIGINT reach the event loop through a pipe: a signal handler
// may only write a byte.
int g_senal[2] = {-1, -1};

void alRecibirSenal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = write(g_senal[1], &c, 1);
}

void escribirLinea(const std::string& linea)
{
    const std::string l = linea + "\n";
    std::fwrite(l.data(), 1, l.size(), stderr);
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto fin = ResponderVersionOAyuda(argc, argv, kPrograma, kAyuda))
        return *fin;
    std::vector<char*> resto;
    std::vector<std::string> redes;
    if (!separarRedes(argc, argv, resto, redes))
        return fallar("--permitir: falta el valor");
    std::string error;
    const std::optional<Opciones> opciones =
        Opciones::Leer(static_cast<int>(resto.size()), resto.data(), kOpciones, error);
    if (!opciones)
        return fallar(error);
    const Opciones& o = *opciones;
    if (BorrarContrasenasDeCatalogo(argc, argv))
        EscribirError(kPrograma, kAvisoContrasena);

    LimitesAnfitrion limites;
    const auto ack = segundos(o, "--espera-ack", 6, 3600, error);
    const auto mensaje = ack ? segundos(o, "--espera-mensaje", 12, 3600, error) : std::nullopt;
    const auto silencio = mensaje ? segundos(o, "--silencio", 600, 86400, error) : std::nullopt;
    if (!silencio)
        return fallar(error);
    const double reintentos = o.Tiene("--reintentos") ? o.Numero("--reintentos") : 3;
    if (reintentos < 0 || reintentos > 10 || reintentos != std::floor(reintentos))
        return fallar("--reintentos: se espera un número entero de 0 a 10");
    limites.plazos.ack = *ack;
    limites.plazos.mensaje = *mensaje;
    limites.plazos.reintentos = static_cast<int>(reintentos);
    limites.silencio = *silencio;

    if (!o.Tiene("--escuchar"))
        return fallar("falta --escuchar DIRECCIÓN:PUERTO, por ejemplo --escuchar 0.0.0.0:7210");
    QHostAddress direccion;
    quint16 puerto = 0;
    if (!leerDireccion(o.Texto("--escuchar"), direccion, puerto))
        return fallar("--escuchar: \"" + o.Texto("--escuchar") +
                      "\" no es DIRECCIÓN:PUERTO (una dirección IP de esta máquina y un puerto de 0 a 65535)");
    const auto permitidas =
        redes.empty() ? std::optional(RedesPermitidas::DeEstaMaquina()) : RedesPermitidas::Leer(redes, error);
    if (!permitidas)
        return fallar(error);

    QCoreApplication app(argc, argv);
    CatalogoDeOrdenes catalogo = ElegirCatalogoDeOrdenes(o);
    if (!AbrirCatalogoDeOrdenes(catalogo, o)) {
        EscribirError(kPrograma, catalogo.error);
        return catalogo.estado == kSalidaOpcionInvalida ? kSalidaOpcionInvalida : kSinAlmacen;
    }
    if (const auto problema = AlmacenTrabajos(*catalogo.base).Preparar()) {
        EscribirError(kPrograma, "el almacén de trabajos no se puede usar: " + problema->toStdString());
        return kSinAlmacen;
    }

    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_senal) != 0) {
        EscribirError(kPrograma, "no se pudo preparar la espera de señales");
        return kNoEscucha;
    }
    QSocketNotifier senales(g_senal[0], QSocketNotifier::Read);
    QObject::connect(&senales, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction accion = {};
    accion.sa_handler = alRecibirSenal;
    sigemptyset(&accion.sa_mask);
    sigaction(SIGTERM, &accion, nullptr);
    sigaction(SIGINT, &accion, nullptr);
    // A device that hangs up while its answer is written is a closed
    // connection, not the end of the host.
    std::signal(SIGPIPE, SIG_IGN);

    AlmacenDispositivos trabajos(*catalogo.base);
    int estado = 0;
    {
        ServidorDcs servidor(trabajos, *permitidas, limites, escribirLinea);
        if (!servidor.Escuchar(direccion, puerto, error)) {
            EscribirError(kPrograma, error);
            estado = kNoEscucha;
        } else {
            const QString donde = direccion.protocol() == QAbstractSocket::IPv6Protocol
                                      ? u'[' + direccion.toString() + u']'
                                      : direccion.toString();
            escribirLinea(std::string(kPrograma) + ": escuchando en " + donde.toStdString() + ":" +
                          std::to_string(servidor.puerto()) + "; almacén: " + catalogo.base->nombre() +
                          "; redes permitidas: " + permitidas->Describir());
            app.exec();
            escribirLinea(std::string(kPrograma) + ": detenido");
        }
    }
    return estado;
}
