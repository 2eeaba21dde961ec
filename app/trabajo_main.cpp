// vantora-trabajo: answers jobs from the laboratory's system, one file or a
// whole folder, in the industry's data-communication format.

#include "almacen_trabajos.h"
#include "archivo_temporal.h"
#include "archivos.h"
#include "avisos_qt.h"
#include "base_materiales.h"
#include "carpeta_datos.h"
#include "catalogo_ordenes.h"
#include "consola.h"
#include "descriptor.h"
#include "escritura_lote.h"
#include "intercambio_dcs.h"
#include "materiales_catalogo.h"
#include "motivos.h"
#include "opciones.h"
#include "orden_trabajo_dcs.h"
#include "responder_trabajo.h"
#include "ruta_legible.h"
#include "trazo_pedido.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrograma = "vantora-trabajo";

constexpr int kRespondido = 0;
constexpr int kSinEscribir = 1;
constexpr int kRechazado = 3;
constexpr int kConFallas = 4;
constexpr int kYaExiste = 5;

constexpr std::string_view kAyuda =
    "Uso: vantora-trabajo PEDIDO|- [--salida ARCHIVO]\n"
    "     vantora-trabajo --lote CARPETA_ENTRADA --salida CARPETA_SALIDA [--rehacer]\n"
    "     vantora-trabajo PEDIDO|- --guardar [--reemplazar]\n"
    "     vantora-trabajo --abrir NUMERO [--pdf ARCHIVO]\n"
    "     vantora-trabajo --lista [--desde AAAA-MM-DD]\n"
    "     [--datos DIR] [--catalogo C]\n"
    "Responde trabajos del sistema del laboratorio (formato DCS, registros ETIQUETA=derecho;izquierdo):\n"
    "espesor central, curvas, bloque, bordes más delgado y más grueso y peso de cada ojo.\n"
    "  PEDIDO            archivo del trabajo, o - para leerlo de la entrada estándar\n"
    "  --salida ARCHIVO  respuesta en un archivo (sin ella, en la salida estándar)\n"
    "  --lote CARPETA    responde cada archivo de la carpeta; cada respuesta se escribe entera en\n"
    "                    --salida CARPETA, con el nombre entero del pedido más .rsp (a.oma da\n"
    "                    a.oma.rsp); una sola ejecución a la vez trabaja en cada carpeta de salida\n"
    "  --rehacer         vuelve a responder los trabajos que ya tienen respuesta\n"
    "  --guardar         guarda el pedido y su respuesta en el almacén de trabajos (donde está la\n"
    "                    Base de Datos de Materiales); un número ya guardado se rechaza\n"
    "  --reemplazar      con --guardar, reemplaza el trabajo ya guardado con ese número\n"
    "  --abrir NUMERO    muestra el pedido y la respuesta de un trabajo guardado\n"
    "  --pdf ARCHIVO     con --abrir, la orden de trabajo del trabajo en PDF\n"
    "  --lista           los trabajos guardados; --desde AAAA-MM-DD, los creados desde ese día\n"
    "  --datos DIR       carpeta de datos (la de materiales.mdb)\n"
    "  --catalogo C      Base de Datos de Materiales: un archivo o\n"
    "                    postgresql://[usuario[:contraseña]@][servidor][:puerto]/base\n"
    "Cada opción con valor se escribe también --opción=valor.\n"
    "Estado de salida: 0 todo respondido; 1 la respuesta no se pudo escribir (en un lote, alguna\n"
    "respuesta o el resumen, u otra ejecución trabaja en la carpeta; gana sobre 4); 2 opción no válida;\n"
    "3 el pedido no es un trabajo, el trabajo no está guardado o el catálogo no se puede usar;\n"
    "4 algún ojo o trabajo falló (su XSTATUS dice la etiqueta y el motivo; en un lote, el resumen\n"
    "lo lista); 5 el trabajo ya está guardado y no se dio --reemplazar.\n";

constexpr DefinicionOpcion kOpciones[] = {
    {"--salida", TipoOpcion::Texto},       {"--lote", TipoOpcion::Texto},       {"--rehacer", TipoOpcion::Bandera},
    {"--catalogo", TipoOpcion::Texto},     {kOpcionDatos, TipoOpcion::Carpeta}, {"--guardar", TipoOpcion::Bandera},
    {"--reemplazar", TipoOpcion::Bandera}, {"--abrir", TipoOpcion::Texto},      {"--pdf", TipoOpcion::Texto},
    {"--lista", TipoOpcion::Bandera},      {"--desde", TipoOpcion::Texto},
};

int fallar(const std::string& mensaje) { return FallarOpcion(kPrograma, mensaje); }

// The catalogue, opened the first time a job names a material: a folder of
// jobs that give their index alone never touches it.
class MaterialesDelCatalogo : public trabajos::MaterialesTrabajo {
public:
    explicit MaterialesDelCatalogo(const Opciones& o) : m_o(o) {}

    std::optional<trabajos::MaterialTrabajo> Buscar(std::string_view nombre) override
    {
        return abrir() ? m_materiales->Buscar(nombre) : std::nullopt;
    }
    std::vector<trabajos::MaterialTrabajo> PorCodigo(int codigo, double indice) override
    {
        return abrir() ? m_materiales->PorCodigo(codigo, indice) : std::vector<trabajos::MaterialTrabajo>{};
    }
    std::string Inaccesible() const override { return m_materiales ? m_materiales->Inaccesible() : m_error; }
    // Why the catalogue could not be opened; empty while it can.
    const std::string& error() const { return m_error; }
    // The exit status that error calls for: a bad --datos or --catalogo is a
    // bad value.
    int estado() const { return m_estado; }
    // The catalogue's store, opened now if it was not; nothing when it
    // cannot be used (see error()).
    const BaseMateriales* Base() { return abrir() ? m_base.get() : nullptr; }

private:
    bool abrir()
    {
        if (m_materiales)
            return true;
        if (!m_error.empty())
            return false;
        CatalogoDeOrdenes elegido = ElegirCatalogoDeOrdenes(m_o);
        const bool abierto = AbrirCatalogoDeOrdenes(elegido, m_o);
        m_base = std::move(elegido.base);
        m_error = std::move(elegido.error);
        m_estado = elegido.estado;
        if (!abierto)
            return false;
        m_materiales = std::make_unique<trabajos::MaterialesDeCatalogo>(*m_base);
        return true;
    }

    const Opciones& m_o;
    std::unique_ptr<BaseMateriales> m_base;
    std::unique_ptr<trabajos::MaterialesDeCatalogo> m_materiales;
    std::string m_error;
    int m_estado = kRechazado;
};

// A job from standard input, read no further than a job can be long.
bool leerEntrada(std::string& texto, std::string& error)
{
    char bloque[65536];
    while (texto.size() <= dcs::kPedidoMaximo) {
        const std::size_t n = std::fread(bloque, 1, sizeof bloque, stdin);
        texto.append(bloque, n);
        if (n < sizeof bloque)
            break;
    }
    if (std::ferror(stdin)) {
        error = "no se pudo leer la entrada estándar";
        return false;
    }
    return true;
}

struct Resultado {
    std::optional<trabajos::Contestacion> contestacion;
    std::string falla; // the whole request's refusal, or the first failed eye
};

Resultado responder(const dcs::Pedido& pedido, MaterialesDelCatalogo& materiales)
{
    Resultado r;
    r.contestacion = trabajos::Responder(pedido, &materiales);
    if (!materiales.error().empty()) {
        r.falla = materiales.error();
        r.contestacion.reset();
        return r;
    }
    for (const auto& ojo : r.contestacion->ojos)
        if (r.falla.empty() && ojo.error.Hay())
            r.falla =
                std::string(&ojo == &r.contestacion->ojos[0] ? "ojo derecho, " : "ojo izquierdo, ") + ojo.error.Texto();
    return r;
}

Resultado responder(std::string_view texto, MaterialesDelCatalogo& materiales)
{
    Resultado r;
    const auto pedido = dcs::Pedido::Leer(texto, r.falla);
    return pedido ? responder(*pedido, materiales) : r;
}

// Text from outside (a file name, a request's value in a reason) as it may
// go to a terminal: on one line, control characters and bytes that are not
// UTF-8 written out.
std::string legible(std::string_view texto) { return EnUnaLinea(TextoLegible(texto)); }

// A stored request or answer for a terminal: its records as they were, each
// on its line with its CR LF, and every other control character written out.
// The exact bytes are the job window's "Exportar DCS…".
void registros(std::ostream& salida, std::string_view texto)
{
    while (!texto.empty()) {
        const std::size_t fin = std::min(texto.find('\n'), texto.size());
        std::string_view linea = texto.substr(0, fin);
        const bool cr = linea.ends_with('\r');
        if (cr)
            linea.remove_suffix(1);
        salida << legible(linea);
        if (fin < texto.size())
            salida << (cr ? "\r\n" : "\n");
        texto.remove_prefix(std::min(fin + 1, texto.size()));
    }
}

std::string duracion(double segundos)
{
    const long s = std::lround(std::max(0.0, segundos));
    return s >= 60 ? std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s" : std::to_string(s) + " s";
}

// The lock file of a folder of answers, hidden among them: one batch at a
// time answers into a folder.
constexpr char kCerrojoLote[] = ".vantora-trabajo-lote";

// An answer is named after its request's whole name, so that "a", "a.oma"
// and "a.OMA" never share one.
std::string nombreRespuesta(const fs::path& pedido) { return pedido.filename().native() + ".rsp"; }

// What a batch leaves in a folder (its answers, their temporaries, its lock)
// is never a request, also when the answers go into the requests' folder.
bool esDelLote(const std::string& nombre)
{
    return nombre.starts_with('.') || nombre.ends_with(".rsp") || EsNombreTemporal(nombre);
}

// A complete earlier answer to the job: the request's JOB and a STATUS
// record, ended by a line break. Anything else at the name is answered again.
bool esRespuestaDe(std::string_view texto, const std::string& trabajo)
{
    bool numero = false, estado = false;
    for (const dcs::Registro& r : dcs::LeerRegistros(texto)) {
        numero = numero || (r.etiqueta == "JOB" && r.valor == trabajo);
        estado = estado || r.etiqueta == "STATUS";
    }
    return texto.ends_with('\n') && numero && estado;
}

// What stands at an answer's name: nothing, a regular file (read into
// `texto`), or something else that is never followed or replaced, with the
// reason.
enum class Previa { Ninguna, Archivo, Ajena };
Previa respuestaPrevia(const fs::path& destino, std::string& texto, std::string& motivo)
{
    struct stat st {};
    if (::lstat(destino.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return Previa::Ninguna;
        motivo = "no se puede ver su respuesta " + legible(destino.filename().native()) + ": " + MotivoSistema(errno);
        return Previa::Ajena;
    }
    if (!S_ISREG(st.st_mode)) {
        motivo = "en el lugar de su respuesta " + legible(destino.filename().native()) + " hay " +
                 DescribirTipo(st.st_mode) + "; no se responde ni se toca";
        return Previa::Ajena;
    }
    std::string error;
    if (LeerArchivo(destino, texto, error, dcs::kPedidoMaximo) != Lectura::Leido)
        texto.clear();
    return Previa::Archivo;
}

// The folder's lock, held while the batch runs; the kernel lets it go when
// the program ends, however it ends.
bool tomarCarpeta(const fs::path& salida, Descriptor& cerrojo, bool& pliega, std::string& error)
{
    const fs::path nombre = salida / kCerrojoLote;
    cerrojo = Descriptor(::open(nombre.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    const int numero = cerrojo.abierto() ? 0 : errno;
    struct stat st {};
    if (!cerrojo.abierto() || ::fstat(cerrojo.fd(), &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool ajeno = cerrojo.abierto() || numero == ELOOP || numero == EISDIR;
        error =
            "--salida: no se puede escribir en la carpeta \"" + legible(salida.native()) + "\": " +
            (ajeno ? "en el lugar de su archivo " + std::string(kCerrojoLote) + " hay algo que no es un archivo común"
                   : MotivoSistema(numero));
        return false;
    }
    if (::flock(cerrojo.fd(), LOCK_EX | LOCK_NB) != 0) {
        error = "--salida: \"" + legible(salida.native()) +
                "\": " + (errno == EWOULDBLOCK ? "otra ejecución trabaja en esta carpeta" : MotivoSistema(errno));
        return false;
    }
    // A folder that folds case (a memory card, a Windows share) gives
    // "A.rsp" and "a.rsp" one file; its lock answers to its name in capitals.
    std::string mayusculas = kCerrojoLote;
    for (char& c : mayusculas)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    struct stat otro {};
    pliega = ::lstat((salida / mayusculas).c_str(), &otro) == 0 && otro.st_ino == st.st_ino && otro.st_dev == st.st_dev;
    return true;
}

int lote(const Opciones& o, MaterialesDelCatalogo& materiales)
{
    const fs::path entrada = RutaDeLaLinea(o.Texto("--lote"));
    const fs::path salida = RutaDeLaLinea(o.Texto("--salida"));
    std::error_code ec;
    if (!fs::is_directory(entrada, ec))
        return fallar("--lote: \"" + legible(entrada.native()) + "\" no es una carpeta");
    if (!fs::is_directory(salida, ec))
        return fallar("--salida: \"" + legible(salida.native()) + "\" no es una carpeta");
    Descriptor cerrojo;
    bool pliega = false;
    std::string error;
    if (!tomarCarpeta(salida, cerrojo, pliega, error)) {
        EscribirError(kPrograma, error);
        return kSinEscribir;
    }
    std::vector<fs::path> pedidos;
    for (fs::directory_iterator it(entrada, ec), fin; !ec && it != fin; it.increment(ec)) {
        const fs::path& p = it->path();
        if (esDelLote(p.filename().native()) || !it->is_regular_file(ec))
            continue;
        pedidos.push_back(p);
    }
    if (ec)
        return fallar("--lote: no se pudo leer la carpeta \"" + legible(entrada.native()) + "\"");
    // Names in order, so that two runs report the same jobs the same way.
    std::sort(pedidos.begin(), pedidos.end());

    const bool terminal = isatty(STDERR_FILENO);
    const auto inicio = std::chrono::steady_clock::now();
    std::vector<std::string> fallas;
    std::size_t respondidos = 0, omitidos = 0, hechos = 0;
    bool sinEscribir = false;
    // The requests by the answer they get, to refuse a second one.
    std::map<std::string, fs::path> respuestas;
    // An answer is counted when written, and taken back if it could not be
    // put in place when its batch was flushed.
    EscrituraEnLote escritura([&](const fs::path& destino, const std::string& motivo) {
        fallas.push_back(legible(destino.filename().native()) + ": no se pudo escribir: " + legible(motivo));
        --respondidos;
        sinEscribir = true;
    });
    for (const fs::path& p : pedidos) {
        ++hechos;
        const std::string nombre = nombreRespuesta(p);
        const fs::path destino = salida / nombre;
        std::string clave = nombre;
        if (pliega)
            for (char& c : clave)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::string texto, previa;
        error.clear();
        Resultado r;
        const auto [otro, nuevo] = respuestas.emplace(clave, p);
        std::optional<dcs::Pedido> pedido;
        if (!nuevo)
            r.falla = "su respuesta " + legible(nombre) + " sería la de " + legible(otro->second.filename().native()) +
                      "; no se responde";
        else if (LeerArchivo(p, texto, error, dcs::kPedidoMaximo) != Lectura::Leido)
            r.falla = "no se pudo leer: " + (error.empty() ? std::string("el archivo ya no existe") : error);
        else
            pedido = dcs::Pedido::Leer(texto, r.falla);
        if (pedido) {
            switch (respuestaPrevia(destino, previa, r.falla)) {
            case Previa::Ajena:
                pedido.reset();
                break;
            case Previa::Archivo:
                if (o.Tiene("--rehacer") || !esRespuestaDe(previa, pedido->trabajo()))
                    break;
                ++omitidos;
                continue;
            case Previa::Ninguna:
                break;
            }
        }
        if (pedido)
            r = responder(*pedido, materiales);
        if (r.contestacion && !escritura.Agregar(destino, r.contestacion->texto, error)) {
            r.falla = "no se pudo escribir su respuesta: " + error;
            sinEscribir = true;
        } else if (r.contestacion) {
            ++respondidos;
        }
        if (!r.falla.empty())
            fallas.push_back(legible(p.filename().native()) + ": " + legible(r.falla));
        if (terminal) {
            const double pasado = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
            const double quedan = pasado / static_cast<double>(hechos) * static_cast<double>(pedidos.size() - hechos);
            const std::size_t lleno = hechos * 30 / pedidos.size();
            std::cerr << "\r[" << std::string(lleno, '#') << std::string(30 - lleno, ' ') << "] " << hechos << " / "
                      << pedidos.size() << ", quedan " << duracion(quedan) << "   " << std::flush;
        }
    }
    escritura.Confirmar();
    if (terminal && !pedidos.empty())
        std::cerr << '\n';
    const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    for (const std::string& f : fallas)
        std::cout << f << '\n';
    const double ritmo = segundos > 0 ? static_cast<double>(hechos - omitidos) / segundos : 0;
    std::cout << "Trabajos: " << pedidos.size() << ", respondidos: " << respondidos << ", omitidos: " << omitidos
              << ", con fallas: " << fallas.size() << ", " << std::lround(ritmo) << " trabajos/s\n";
    std::cout.flush();
    if (!std::cout) {
        EscribirError(kPrograma, "no se pudo escribir el resumen del lote en la salida estándar");
        return kSinEscribir;
    }
    // An answer that could not be written is the worse failure: the job
    // itself was fine.
    return sinEscribir ? kSinEscribir : fallas.empty() ? kRespondido : kConFallas;
}

int sinAlmacen(const std::string& error, int estado = kRechazado)
{
    EscribirError(kPrograma, error);
    return estado;
}

std::string texto(const QString& s) { return s.toStdString(); }

int guardar(const Opciones& o, MaterialesDelCatalogo& materiales, const std::string& pedido,
            const trabajos::Contestacion& c)
{
    const BaseMateriales* base = materiales.Base();
    if (!base)
        return sinAlmacen(materiales.error(), materiales.estado());
    AlmacenTrabajos almacen(*base);
    if (const auto error = almacen.Preparar())
        return sinAlmacen(texto(*error));
    const TrabajoGuardado t = TrabajoRespondido(pedido, c);
    QString error;
    switch (almacen.Guardar(t, o.Tiene("--reemplazar"), error)) {
    case AlmacenTrabajos::Guardado::Nuevo:
    case AlmacenTrabajos::Guardado::Reemplazado:
        return kRespondido;
    case AlmacenTrabajos::Guardado::YaExiste:
        EscribirError(kPrograma, "El trabajo " + c.numero + " ya existe; use --reemplazar");
        return kYaExiste;
    case AlmacenTrabajos::Guardado::Error:
        break;
    }
    return sinAlmacen("no se pudo guardar el trabajo " + c.numero + ": " + texto(error));
}

// A frame that a tracer sent for the job takes the place of the order's
// trace, so that the stored answer is the one the edger gets.
int conTrazoDelTrazador(MaterialesDelCatalogo& materiales, std::string& pedido)
{
    std::string error;
    const auto leido = dcs::Pedido::Leer(pedido, error);
    if (!leido)
        return kRespondido;
    const BaseMateriales* base = materiales.Base();
    if (!base)
        return sinAlmacen(materiales.error());
    AlmacenTrabajos almacen(*base);
    if (const auto problema = almacen.Preparar())
        return sinAlmacen(texto(*problema));
    QString motivo;
    const auto trazo = almacen.AbrirTrazo(QString::fromStdString(leido->trabajo()), motivo);
    if (!motivo.isEmpty())
        return sinAlmacen("no se pudo leer el almacén de trabajos: " + texto(motivo));
    if (trazo)
        pedido = dcs::PedidoConTrazo(pedido, texto(trazo->trazo));
    return kRespondido;
}

// The ticket is drawn from what was stored: the answer's figures, the
// request's prescription and outlines, the number the job is stored under.
int imprimir(const std::string& archivo, const TrabajoGuardado& t, const trabajos::Contestacion& c)
{
    const TrabajoAImprimir trabajo{texto(t.pedido), t.formato, c, texto(t.creado), texto(t.cambiado)};
    std::string error;
    if (!GrabarTrabajoPdf(RutaDeLaLinea(archivo), trabajo, error)) {
        EscribirError(kPrograma, error);
        return kSinEscribir;
    }
    return kRespondido;
}

int almacen(const Opciones& o, MaterialesDelCatalogo& materiales)
{
    std::optional<QDate> desde;
    if (o.Tiene("--desde")) {
        if (!o.Tiene("--lista"))
            return fallar("--desde solo se usa con --lista");
        // The whole value is the date: Qt's reading stops at the day and
        // would take "2026-12-07xyz".
        const std::string dia = o.Texto("--desde");
        const bool forma = dia.size() == 10 && std::all_of(dia.begin(), dia.end(), [i = 0](char c) mutable {
                               const bool guion = i == 4 || i == 7;
                               ++i;
                               return guion ? c == '-' : c >= '0' && c <= '9';
                           });
        desde = QDate::fromString(QString::fromStdString(dia), Qt::ISODate);
        if (!forma || !desde->isValid())
            return fallar("--desde: \"" + o.Texto("--desde") + "\" no es una fecha AAAA-MM-DD");
    }
    if (o.Tiene("--pdf") && !o.Tiene("--abrir"))
        return fallar("--pdf solo se usa con --abrir NUMERO");
    const BaseMateriales* base = materiales.Base();
    if (!base)
        return sinAlmacen(materiales.error(), materiales.estado());
    AlmacenTrabajos almacen(*base);
    if (const auto error = almacen.Preparar())
        return sinAlmacen(texto(*error));
    QString error;
    if (o.Tiene("--lista")) {
        const auto lista = almacen.Lista(desde, error);
        if (!lista)
            return sinAlmacen("no se pudo leer el almacén de trabajos: " + texto(error));
        // One job a line, its fields apart by tabs: a tab or a line break
        // inside a field is written out.
        for (const TrabajoGuardado& t : *lista)
            std::cout << legible(texto(t.numero)) << '\t' << legible(texto(t.creado)) << '\t'
                      << legible(texto(t.estado)) << '\t' << legible(texto(t.material)) << '\t'
                      << legible(texto(t.puesto)) << '\n';
        std::cout.flush();
        return std::cout ? kRespondido : kSinEscribir;
    }
    const std::string numero = o.Texto("--abrir");
    const auto t = almacen.Abrir(QString::fromStdString(numero), error);
    if (!t)
        return sinAlmacen(error.isEmpty() ? "el trabajo " + numero + " no está guardado"
                                          : "no se pudo leer el almacén de trabajos: " + texto(error));
    const auto guardado = ContestacionGuardada(*t, &materiales, error);
    if (!guardado)
        return sinAlmacen("el trabajo " + numero + " guardado no se puede usar: " + texto(error));
    if (o.Tiene("--pdf"))
        return imprimir(o.Texto("--pdf"), *t, *guardado);
    std::cout << "Trabajo: " << legible(texto(t->numero)) << "\nCreado: " << legible(texto(t->creado))
              << "\nCambiado: " << legible(texto(t->cambiado)) << "\nPuesto: " << legible(texto(t->puesto))
              << "\nEstado: " << legible(texto(t->estado)) << "\nMaterial: " << legible(texto(t->material)) << "\n\n";
    registros(std::cout, texto(t->pedido));
    std::cout << "\n";
    registros(std::cout, texto(t->respuesta));
    std::cout.flush();
    return std::cout ? kRespondido : kSinEscribir;
}

// Splits the command line: the arguments that are neither an option nor an
// option's value are the job files; the rest goes to the option reader.
std::vector<std::string> separar(int argc, char** argv, std::vector<char*>& resto)
{
    std::vector<std::string> sueltos;
    resto.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        const OpcionPartida partida = PartirOpcion(a);
        const auto d = std::find_if(std::begin(kOpciones), std::end(kOpciones),
                                    [&](const DefinicionOpcion& x) { return x.nombre == partida.nombre; });
        if (a == "-" || !a.starts_with('-')) {
            sueltos.emplace_back(a);
            continue;
        }
        resto.push_back(argv[i]);
        if (d != std::end(kOpciones) && d->tipo != TipoOpcion::Bandera && !partida.valor && i + 1 < argc)
            resto.push_back(argv[++i]);
    }
    return sueltos;
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto fin = ResponderVersionOAyuda(argc, argv, kPrograma, kAyuda))
        return *fin;
    CallarAvisosDeQt();
    std::vector<char*> resto;
    const std::vector<std::string> archivos = separar(argc, argv, resto);
    std::string error;
    const std::optional<Opciones> opciones =
        Opciones::Leer(static_cast<int>(resto.size()), resto.data(), kOpciones, error);
    if (!opciones)
        return fallar(error);
    const Opciones& o = *opciones;
    if (BorrarContrasenasDeCatalogo(argc, argv))
        EscribirError(kPrograma, kAvisoContrasena);
    // A ticket is drawn with fonts, which need the offscreen platform; no
    // display is needed or used.
    std::unique_ptr<QCoreApplication> app;
    if (o.Tiene("--pdf")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    for (const char* opcion : {"--salida", "--lote", "--abrir", "--pdf"})
        if (o.Tiene(opcion) && o.Texto(opcion).empty())
            return fallar(std::string(opcion) + ": falta el valor");
    // Every mode but a single answer uses the data folder's catalogue or
    // store; a single answer only for a material, when it is opened.
    if (o.Tiene(kOpcionDatos) &&
        (o.Tiene("--lote") || o.Tiene("--guardar") || o.Tiene("--abrir") || o.Tiene("--lista")))
        if (const std::optional<std::string> problema = CarpetaDadaInservible(o.Carpeta()))
            return fallar(*problema);
    MaterialesDelCatalogo materiales(o);
    if (o.Tiene("--lote")) {
        if (!archivos.empty())
            return fallar("--lote no se combina con un pedido suelto: \"" + archivos.front() + "\"");
        if (!o.Tiene("--salida"))
            return fallar("--lote necesita --salida CARPETA, la carpeta de las respuestas");
        return lote(o, materiales);
    }
    if (o.Tiene("--rehacer"))
        return fallar("--rehacer solo se usa con --lote");
    if (o.Tiene("--abrir") || o.Tiene("--lista")) {
        if (!archivos.empty() || o.Tiene("--guardar") || (o.Tiene("--abrir") && o.Tiene("--lista")))
            return fallar("--abrir y --lista no se combinan con un pedido ni entre sí");
        return almacen(o, materiales);
    }
    if (o.Tiene("--reemplazar") && !o.Tiene("--guardar"))
        return fallar("--reemplazar solo se usa con --guardar");
    if (archivos.size() != 1)
        return fallar(archivos.empty() ? "falta el pedido: un archivo, o - para la entrada estándar"
                                       : "se espera un solo pedido");
    std::string texto;
    if (archivos.front() == "-") {
        if (!leerEntrada(texto, error))
            return fallar(error);
    } else if (LeerArchivo(RutaDeLaLinea(archivos.front()), texto, error, dcs::kPedidoMaximo) != Lectura::Leido) {
        EscribirError(kPrograma, "no se pudo leer el pedido \"" + archivos.front() +
                                     "\": " + (error.empty() ? std::string("el archivo no existe") : error));
        return kRechazado;
    }
    if (o.Tiene("--guardar"))
        if (const int estado = conTrazoDelTrazador(materiales, texto); estado != kRespondido)
            return estado;
    const Resultado r = responder(texto, materiales);
    if (!r.contestacion) {
        EscribirError(kPrograma, r.falla);
        return materiales.error().empty() ? kRechazado : materiales.estado();
    }
    if (o.Tiene("--salida")) {
        if (!ReemplazarArchivo(RutaDeLaLinea(o.Texto("--salida")), r.contestacion->texto, error)) {
            EscribirError(kPrograma,
                          "--salida: no se pudo escribir la respuesta en \"" + o.Texto("--salida") + "\": " + error);
            return kSinEscribir;
        }
    } else {
        std::cout << r.contestacion->texto << std::flush;
        if (!std::cout)
            return kSinEscribir;
    }
    if (!r.falla.empty())
        EscribirError(kPrograma, r.falla);
    if (o.Tiene("--guardar"))
        if (const int estado = guardar(o, materiales, texto, *r.contestacion); estado != kRespondido)
            return estado;
    return r.falla.empty() ? kRespondido : kConFallas;
}
