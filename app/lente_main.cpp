// vantora-lente: the thinnest lens for a whole prescription (sphere,
// cylinder and prism) on a round blank, a box or a traced frame shape, with
// the laboratory's thickness rules, from the command line; or the same lens
// in every material of the catalogue, thinnest first.

#include "archivos.h"
#include "avisos_qt.h"
#include "base_materiales.h"
#include "bordes.h"
#include "catalogo_ordenes.h"
#include "catalogo_sql.h"
#include "comparar_materiales.h"
#include "compensacion.h"
#include "conexion_materiales.h"
#include "consola.h"
#include "errores_campo.h"
#include "espesor_minimo.h"
#include "formatos.h"
#include "opciones.h"
#include "plazo_servidor.h"
#include "receta.h"
#include "reglas_espesor.h"
#include "ruta_legible.h"
#include "trazo_dcs.h"

#include <QCoreApplication>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kPrograma = "vantora-lente";

// The exit statuses of vantora-calc; a bad option or value is
// kSalidaOpcionInvalida (2).
constexpr int kDiseno = 0;
constexpr int kSinCalculo = 1;
constexpr int kSinDiseno = 3;

constexpr std::string_view kAyuda =
    "Uso: vantora-lente --esfera S [--cilindro C --eje A] [--prisma P --base-prisma G]\n"
    "                   (--material NOMBRE | --indice N --densidad R) [--base B]\n"
    "                   (--diametro D | --forma ARCHIVO --ojo derecho|izquierdo | --caja A,B)\n"
    "                   [--puente DBL --dp PD --altura H] [--ojo derecho|izquierdo]\n"
    "                   [--borde-min E] [--centro-min T]\n"
    "                   [--montura completa|ranurada|perforada] [--seguridad basica|alto-impacto]\n"
    "                   [--datos DIR] [--catalogo C]\n"
    "                   [--pantoscopico GRADOS] [--envolvente GRADOS --ojo derecho|izquierdo]\n"
    "                   [--distancia-vertice MM] [--campo] [--mejor-base]\n"
    "       vantora-lente --comparar (la misma receta, forma, centrado y reglas, sin material ni base)\n"
    "Calcula la lente más delgada de una receta completa con las reglas de espesor del laboratorio.\n"
    "  --esfera S        esfera (D)\n"
    "  --cilindro C      cilindro (D), con --eje A de 0 a 180 grados\n"
    "  --prisma P        prisma (dioptrías prismáticas), con --base-prisma G de 0 a 360 grados\n"
    "  --material NOMBRE material de la lista, buscado en la Base de Datos de Materiales\n"
    "  --indice N        índice del material, con --densidad R (grs./cm3)\n"
    "  --base B          curva base (D a 1.523); sin ella se sugiere una\n"
    "  --diametro D      bloque redondo de D mm centrado en el centro óptico\n"
    "  --forma ARCHIVO   trazo de la montura (TRCFMT=1), el lado del ojo de --ojo\n"
    "  --caja A,B        sin trazo: la elipse de la caja de A × B mm\n"
    "  --puente, --dp, --altura  puente (DBL), distancia pupilar monocular y altura del centro\n"
    "                    óptico sobre la línea inferior de la caja (mm); sin ellos, el centro\n"
    "                    óptico es el centro de la caja\n"
    "  --borde-min E     borde mínimo (mm)\n"
    "  --centro-min T    espesor central mínimo (mm); sin él, el del material o 1.5\n"
    "  --montura M       completa, ranurada o perforada: su borde mínimo\n"
    "  --seguridad S     basica o alto-impacto (ANSI Z87.1): el espesor mínimo de la lente\n"
    "  --pantoscopico G  inclinación pantoscópica de la montura (grados, el borde inferior hacia\n"
    "                    el ojo); con ella o con --envolvente se compensa la cara interna\n"
    "  --envolvente G    envolvente de la montura (grados, el lado temporal hacia la cara), con --ojo\n"
    "  --distancia-vertice MM  del vértice posterior a la córnea (mm); 12 si no se da\n"
    "  --campo           los errores en uso de -30 a 30 grados de mirada\n"
    "  --mejor-base      la curva base de 0.25 a 12.00 D con menos astigmatismo en uso\n"
    "  --comparar        la lente en cada material del catálogo, cada uno en su curva base sugerida,\n"
    "                    la más delgada primero: Material;Indice;Base;EspesorCentral;BordeMinimo;\n"
    "                    BordeMaximo;EspesorMaximo;Peso;Bloque\n"
    "  --datos DIR       carpeta de datos (la de materiales.mdb)\n"
    "  --catalogo C      Base de Datos de Materiales: un archivo o\n"
    "                    postgresql://[usuario[:contraseña]@][servidor][:puerto]/base\n"
    "Ángulos en grados, antihorarios desde la derecha, la lente vista de frente (ISO 8429).\n"
    "Los números se escriben con . (punto) como separador decimal.\n"
    "Estado de salida: 0 lente calculada; 1 no se pudo sugerir una base, o la salida no se pudo\n"
    "escribir; 2 opción o valor no válido; 3 sin lente: los valores no forman una lente, el material\n"
    "no se encontró o el catálogo no se puede usar. Con --comparar: 0 algún material da la lente;\n"
    "3 ninguno, o el catálogo no se puede usar.\n";

constexpr DefinicionOpcion kOpciones[] = {
    {"--esfera", TipoOpcion::Numero},
    {"--cilindro", TipoOpcion::Numero},
    {"--eje", TipoOpcion::Numero},
    {"--prisma", TipoOpcion::Numero},
    {"--base-prisma", TipoOpcion::Numero},
    {"--material", TipoOpcion::Texto},
    {"--indice", TipoOpcion::Numero},
    {"--densidad", TipoOpcion::Numero},
    {"--base", TipoOpcion::Numero},
    {"--diametro", TipoOpcion::Numero},
    {"--forma", TipoOpcion::Texto},
    {"--ojo", TipoOpcion::Texto},
    {"--caja", TipoOpcion::Texto},
    {"--puente", TipoOpcion::Numero},
    {"--dp", TipoOpcion::Numero},
    {"--altura", TipoOpcion::Numero},
    {"--borde-min", TipoOpcion::Numero},
    {"--centro-min", TipoOpcion::Numero},
    {"--montura", TipoOpcion::Texto},
    {"--seguridad", TipoOpcion::Texto},
    {"--catalogo", TipoOpcion::Texto},
    {kOpcionDatos, TipoOpcion::Carpeta},
    {"--pantoscopico", TipoOpcion::Numero},
    {"--envolvente", TipoOpcion::Numero},
    {"--distancia-vertice", TipoOpcion::Numero},
    {"--campo", TipoOpcion::Bandera},
    {"--mejor-base", TipoOpcion::Bandera},
    {"--comparar", TipoOpcion::Bandera},
};

// A trace is a few kilobytes; anything much larger is not one.
constexpr std::uintmax_t kTamanoMaximoForma = 1 << 20;

int fallar(const std::string& mensaje) { return FallarOpcion(kPrograma, mensaje); }

std::string decimales(double x, int cifras)
{
    // Halves away from zero, and no "-0.00".
    const double escala = std::pow(10.0, cifras);
    double redondo = std::round(x * escala) / escala;
    if (redondo == 0.0)
        redondo = 0.0;
    char texto[64];
    const auto fin = std::to_chars(texto, texto + sizeof texto, redondo, std::chars_format::fixed, cifras).ptr;
    return std::string(texto, fin);
}

std::string grados(double a)
{
    const long g = std::lround(a) % 360;
    return std::to_string(g);
}

// An axis with one decimal, 0.0 to 179.9.
std::string ejeDecimal(double a)
{
    double r = std::round(a * 10.0) / 10.0;
    if (r >= 180.0)
        r -= 180.0;
    return decimales(r, 1);
}

std::string radio(const lente::Cara& c) { return c.radio ? decimales(*c.radio, 3) : std::string("plano"); }

// The range each number must be in, with the reason when it is not.
std::optional<std::string> valorRechazado(const Opciones& o)
{
    struct Rango {
        std::string_view opcion;
        double minimo, maximo;
        bool minimoIncluido;
        std::string_view que;
    };
    static constexpr Rango kRangos[] = {
        {"--esfera", -40, 40, true, "la esfera va de -40 a 40 D"},
        {"--cilindro", -20, 20, true, "el cilindro va de -20 a 20 D"},
        {"--eje", 0, 180, true, "el eje va de 0 a 180 grados"},
        {"--prisma", 0, 30, true, "el prisma va de 0 a 30 dioptrías prismáticas"},
        {"--base-prisma", 0, 360, true, "la base del prisma va de 0 a 360 grados"},
        {"--indice", 1, 3, false, "el índice debe ser mayor que 1 y menor que 3"},
        {"--densidad", 0, 25, false, "la densidad debe ser mayor que 0 y menor que 25 grs./cm3"},
        {"--base", 0, 30, true, "la curva base va de 0 a 30 D"},
        {"--diametro", 0, 120, false, "el diámetro debe ser mayor que 0 y de 120 mm como máximo"},
        {"--puente", 0, 60, true, "el puente va de 0 a 60 mm"},
        {"--dp", 0, 60, false, "la distancia pupilar monocular debe ser mayor que 0 y de 60 mm como máximo"},
        {"--altura", 0, 100, true, "la altura va de 0 a 100 mm"},
        {"--borde-min", 0, 20, true, "el borde mínimo va de 0 a 20 mm"},
        {"--centro-min", 0, 20, true, "el espesor central mínimo va de 0 a 20 mm"},
        {"--pantoscopico", -30, 30, true, "la inclinación pantoscópica va de -30 a 30 grados"},
        {"--envolvente", -30, 30, true, "la envolvente va de -30 a 30 grados"},
        {"--distancia-vertice", 0, 40, false, "la distancia al vértice debe ser mayor que 0 y de 40 mm como máximo"},
    };
    for (const Rango& r : kRangos) {
        if (!o.Tiene(r.opcion))
            continue;
        const double v = o.Numero(r.opcion);
        if (v < r.minimo || v > r.maximo || (!r.minimoIncluido && v == r.minimo))
            return std::string(r.opcion) + ": " + std::string(r.que);
    }
    return std::nullopt;
}

std::optional<std::pair<double, double>> leerCaja(const std::string& texto, std::string& error)
{
    const std::size_t coma = texto.find(',');
    std::string motivo;
    if (coma == std::string::npos) {
        error = "--caja: se espera A,B (ancho y alto de la caja en mm), por ejemplo 52,40";
        return std::nullopt;
    }
    const auto a = LeerNumeroOpcion(std::string_view(texto).substr(0, coma), motivo);
    const auto b = a ? LeerNumeroOpcion(std::string_view(texto).substr(coma + 1), motivo) : std::nullopt;
    if (!a || !b) {
        error = "--caja: " + motivo;
        return std::nullopt;
    }
    if (*a <= 0 || *b <= 0 || *a > 120 || *b > 120) {
        error = "--caja: el ancho y el alto deben ser mayores que 0 y de 120 mm como máximo";
        return std::nullopt;
    }
    return std::pair{*a, *b};
}

// The trace file, read only when it is a regular file of a trace's size: a
// FIFO or a device would make the read wait for ever.
std::optional<std::string> leerArchivoForma(const std::string& nombre, std::string& error)
{
    // Read as every outside file is: a pipe or a device at the name is
    // refused at once instead of waited on, and the size is capped.
    const std::filesystem::path ruta = RutaDeLaLinea(nombre);
    const std::string citado = "\"" + RutaLegible(ruta) + "\"";
    std::string texto, motivo;
    switch (LeerArchivo(ruta, texto, motivo, kTamanoMaximoForma)) {
    case Lectura::Leido:
        return texto;
    case Lectura::NoExiste:
        error = "--forma: no se encuentra el archivo " + citado;
        return std::nullopt;
    case Lectura::Rechazado:
        break;
    }
    error = "--forma: " + citado + ": " + motivo;
    return std::nullopt;
}

// Why a material makes no lens, as the error line says it.
std::string motivo(const lente::LenteDeMaterial& l) { return l.sinBase ? l.falla + "; indíquela con --base" : l.falla; }

std::string noEncontrado(const std::string& nombre)
{
    return "--material: no se encontró \"" + nombre +
           "\" en la Base de Datos de Materiales; no se calculó ninguna lente";
}

// A text of the table as the error line writes it, on one line; a ';' in a
// name would split its row, so it is written as \x3B.
std::string campo(const std::string& texto, bool nombre)
{
    std::string legible = EnUnaLinea(TextoLegible(texto)), salida;
    for (const char c : legible)
        if (nombre && c == ';')
            salida += "\\x3B";
        else
            salida.push_back(c);
    return salida;
}

// Every material of the catalogue, each looked up by its name as --material
// looks it up, with its minimum centre.
int comparar(const BaseMateriales& base, const lente::Encargo& encargo, bool esForma)
{
    const auto inaccesible = [](const std::string& motivo) {
        EscribirError(kPrograma, "--comparar: " + motivo + "; no se calculó ninguna lente");
        return kSinDiseno;
    };
    CatalogoSql catalogo(base);
    std::vector<std::string> nombres = catalogo.Productos();
    if (!catalogo.Inaccesible().empty())
        return inaccesible(catalogo.Inaccesible());
    std::vector<lente::MaterialLente> materiales;
    {
        const ConexionMateriales conexion(base, QStringLiteral("CompararMateriales"));
        for (std::size_t i = 0; i < nombres.size(); ++i) {
            // A name listed twice is one material to --material.
            if (std::find(nombres.begin(), nombres.begin() + static_cast<std::ptrdiff_t>(i), nombres[i]) !=
                nombres.begin() + static_cast<std::ptrdiff_t>(i)) {
                nombres.erase(nombres.begin() + static_cast<std::ptrdiff_t>(i--));
                continue;
            }
            const std::optional<Material> m = catalogo.BuscarPorNombreEntero(nombres[i]);
            if (!m && !catalogo.Inaccesible().empty())
                return inaccesible(catalogo.Inaccesible());
            if (!m)
                materiales.push_back({nombres[i], 0, 0, std::nullopt, noEncontrado(nombres[i])});
            else
                materiales.push_back(
                    {m->producto, m->indice, m->densidad, EspesorMinimoDe(conexion.bd(), m->Id), std::string()});
        }
        if (ConexionPerdida(conexion.bd()))
            return inaccesible(TextoInaccesible(conexion.nombreBase(), "se perdió la conexión con el servidor"));
    }

    const double bloque = lente::BloqueMinimo(encargo.borde);
    const std::optional<int> estandar = lente::BloqueEstandar(bloque);
    const std::string bloqueTexto = !esForma ? "-" : estandar ? std::to_string(*estandar) : "ninguno";
    std::cout << "Material;Indice;Base;EspesorCentral;BordeMinimo;BordeMaximo;EspesorMaximo;Peso;Bloque\n";
    bool alguna = false;
    for (const lente::MaterialComparado& fila : lente::CompararMateriales(encargo, materiales)) {
        const lente::MaterialLente& m = materiales[fila.posicion];
        std::cout << campo(nombres[fila.posicion], true) << ';';
        const lente::Resultado* r = fila.lente.resultado();
        if (!r) {
            std::cout << "No se puede calcular: " << campo(motivo(fila.lente), false) << '\n';
            continue;
        }
        alguna = true;
        std::cout << decimales(m.indice, 3) << ';' << decimales(fila.lente.base, 3) << ';'
                  << decimales(r->espesorCentral, 3) << ';' << decimales(r->bordeMinimo, 3) << ';'
                  << decimales(r->bordeMaximo, 3) << ';' << decimales(r->espesorMaximo, 3) << ';'
                  << decimales(r->peso, 2) << ';' << bloqueTexto << '\n';
    }
    std::cout.flush();
    if (!std::cout)
        return kSinCalculo;
    if (!alguna) {
        EscribirError(kPrograma, materiales.empty()
                                     ? "--comparar: la Base de Datos de Materiales no tiene materiales"
                                     : "--comparar: ningún material de la Base de Datos de Materiales da esta lente");
        return kSinDiseno;
    }
    return kDiseno;
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
    const bool comparando = o.Tiene("--comparar");
    for (const std::string_view opcion : {"--material", "--indice", "--densidad"})
        if (comparando && o.Tiene(opcion))
            return fallar("--comparar no se combina con " + std::string(opcion) +
                          ": compara cada material del catálogo");
    for (const std::string_view opcion : {"--base", "--mejor-base"})
        if (comparando && o.Tiene(opcion))
            return fallar("--comparar no se combina con " + std::string(opcion) +
                          ": cada material va en su propia curva base sugerida");
    if (comparando && o.Tiene("--campo"))
        return fallar("--comparar no se combina con --campo: la tabla no lleva los errores en uso");
    if (!o.Tiene("--esfera"))
        return fallar("falta --esfera, la esfera de la receta");
    if (const auto rechazo = valorRechazado(o))
        return fallar(*rechazo);
    if (o.Numero("--cilindro") != 0 && !o.Tiene("--eje"))
        return fallar("--cilindro necesita --eje, el eje del cilindro");
    if (o.Numero("--prisma") != 0 && !o.Tiene("--base-prisma"))
        return fallar("--prisma necesita --base-prisma, la dirección de la base");
    const bool materialDeLaLista = o.Tiene("--material");
    if (materialDeLaLista && (o.Tiene("--indice") || o.Tiene("--densidad")))
        return fallar("--material no se combina con --indice ni con --densidad: elija uno de los dos");
    if (materialDeLaLista && o.Texto("--material").empty())
        return fallar("--material: falta el nombre del material");
    if (!comparando && !materialDeLaLista && !(o.Tiene("--indice") && o.Tiene("--densidad")))
        return fallar("falta el material: --material NOMBRE, o --indice N con --densidad R");
    const int formas = int(o.Tiene("--diametro")) + int(o.Tiene("--forma")) + int(o.Tiene("--caja"));
    if (formas != 1)
        return fallar("dé una sola de --diametro, --forma o --caja: el contorno de la lente");

    std::optional<lente::Ojo> ojo;
    if (o.Tiene("--ojo")) {
        const std::string t = o.Texto("--ojo");
        if (t != "derecho" && t != "izquierdo")
            return fallar("--ojo: \"" + t + "\" no es un ojo; se espera derecho o izquierdo");
        ojo = t == "derecho" ? lente::Ojo::Derecho : lente::Ojo::Izquierdo;
    }
    const int centrados = int(o.Tiene("--puente")) + int(o.Tiene("--dp")) + int(o.Tiene("--altura"));
    if (centrados != 0 && centrados != 3)
        return fallar("el centrado necesita --puente, --dp y --altura juntos");
    if (centrados == 3 && o.Tiene("--diametro"))
        return fallar("--puente, --dp y --altura centran una forma o una caja, no un bloque redondo (--diametro)");
    if ((o.Tiene("--forma") || centrados == 3) && !ojo)
        return fallar("falta --ojo derecho o --ojo izquierdo: el lado del trazo y el lado nasal");
    if (o.Tiene("--envolvente") && !ojo)
        return fallar("--envolvente necesita --ojo derecho o --ojo izquierdo: el lado temporal");
    if (o.Tiene("--mejor-base") && o.Tiene("--base"))
        return fallar("--mejor-base busca la curva base: no se combina con --base");
    const lente::Montaje montaje{ojo.value_or(lente::Ojo::Derecho), o.Numero("--pantoscopico"),
                                 o.Numero("--envolvente"),
                                 o.Tiene("--distancia-vertice") ? o.Numero("--distancia-vertice") : 12.0};

    laboratorio::Exigencias exigencias;
    if (o.Tiene("--montura")) {
        const std::string t = o.Texto("--montura");
        using laboratorio::Montura;
        if (t == "completa")
            exigencias.montura = Montura::Completa;
        else if (t == "ranurada")
            exigencias.montura = Montura::Ranurada;
        else if (t == "perforada")
            exigencias.montura = Montura::Perforada;
        else
            return fallar("--montura: \"" + t + "\" no es una montura; se espera completa, ranurada o perforada");
    }
    if (o.Tiene("--seguridad")) {
        const std::string t = o.Texto("--seguridad");
        if (t == "basica")
            exigencias.seguridad = laboratorio::Seguridad::Basica;
        else if (t == "alto-impacto")
            exigencias.seguridad = laboratorio::Seguridad::AltoImpacto;
        else
            return fallar("--seguridad: \"" + t + "\" no es un grado de seguridad; se espera basica o alto-impacto");
    }
    if (!o.Tiene("--borde-min") && exigencias.montura == laboratorio::Montura::Ninguna &&
        exigencias.seguridad == laboratorio::Seguridad::Ninguna)
        return fallar("falta el borde mínimo: --borde-min E, --montura o --seguridad");

    lente::Pedido pedido;
    pedido.receta = {o.Numero("--esfera"), o.Numero("--cilindro"), o.Numero("--eje"), o.Numero("--prisma"),
                     o.Numero("--base-prisma")};

    // The outline before any catalogue is opened: a bad file is a bad value.
    std::vector<lente::Punto> borde;
    bool esForma = false;
    if (o.Tiene("--diametro")) {
        borde = lente::BordeRedondo(o.Numero("--diametro"));
    } else {
        esForma = true;
        std::vector<lente::Punto> forma;
        if (o.Tiene("--caja")) {
            const auto caja = leerCaja(o.Texto("--caja"), error);
            if (!caja)
                return fallar(error);
            forma = lente::BordeElipse(caja->first, caja->second);
        } else {
            const auto texto = leerArchivoForma(o.Texto("--forma"), error);
            if (!texto)
                return fallar(error);
            // A whole job file: only the trace's records, never the radii of a
            // thickness block.
            const auto trazos = dcs::LeerTrazos(dcs::RegistrosDeTrazo(*texto), error);
            if (!trazos)
                return fallar("--forma: " + error);
            forma = dcs::PuntosDelOjo(*trazos, *ojo);
        }
        std::optional<lente::Centrado> centrado;
        if (centrados == 3)
            centrado = lente::Centrado{o.Numero("--puente"), o.Numero("--dp"), o.Numero("--altura")};
        borde = lente::Descentrar(forma, ojo.value_or(lente::Ojo::Derecho), centrado);
    }

    if (o.Tiene("--borde-min"))
        exigencias.bordeUsuario = o.Numero("--borde-min");
    if (o.Tiene("--centro-min"))
        exigencias.centroUsuario = o.Numero("--centro-min");
    exigencias.meridianoMasPositivo = lente::MeridianoMasPositivo(pedido.receta);

    const lente::Encargo encargo{pedido.receta, borde, exigencias, montaje};
    lente::MaterialLente material{"", o.Numero("--indice"), o.Numero("--densidad"), std::nullopt, ""};
    if (comparando || materialDeLaLista) {
        QCoreApplication app(argc, argv);
        CatalogoDeOrdenes elegido = ElegirCatalogoDeOrdenes(o);
        if (!AbrirCatalogoDeOrdenes(elegido, o)) {
            EscribirError(kPrograma, elegido.error);
            return elegido.estado;
        }
        const BaseMateriales& base = *elegido.base;
        if (comparando)
            return comparar(base, encargo, esForma);
        CatalogoSql catalogo(base);
        const std::string nombre = o.Texto("--material");
        const std::optional<Material> m = catalogo.BuscarPorNombreEntero(nombre);
        if (!m && !catalogo.Inaccesible().empty()) {
            EscribirError(kPrograma, "--material: no se pudo buscar \"" + nombre + "\": " + catalogo.Inaccesible() +
                                         "; no se calculó ninguna lente");
            return kSinDiseno;
        }
        if (!m) {
            EscribirError(kPrograma, noEncontrado(nombre));
            return kSinDiseno;
        }
        material = {m->producto, m->indice, m->densidad, EspesorMinimoDe(base, m->Id), ""};
    }

    const double bloque = lente::BloqueMinimo(borde);
    // The suggested base is printed with the lens it made, never before a
    // lens that is refused; the best base comes before its lens too.
    std::string baseSugerida;
    std::vector<std::string> avisos;
    lente::SolucionEnUso uso;
    if (o.Tiene("--mejor-base")) {
        exigencias.centroMaterial = material.centroMin;
        exigencias.material = material.nombre;
        const std::optional<laboratorio::Minimos> minimos = laboratorio::MinimosDeEspesor(exigencias);
        if (!minimos)
            return fallar("falta el borde mínimo: --borde-min E, --montura o --seguridad");
        pedido.indice = material.indice;
        pedido.densidad = material.densidad;
        pedido.bordeMin = minimos->borde;
        pedido.centroMin = minimos->centro;
        avisos = minimos->avisos;
        std::optional<lente::MejorForma> mejor = lente::BuscarMejorBase(pedido, borde, montaje);
        if (!mejor) {
            EscribirError(kPrograma, "ninguna curva base de 0.25 a 12.00 D da una lente con estos valores");
            return kSinDiseno;
        }
        baseSugerida = "MejorBase: " + decimales(mejor->base, 2) + ' ' + decimales(mejor->rms, 4) + '\n';
        uso = std::move(mejor->lente);
    } else {
        const std::optional<double> dada = o.Tiene("--base") ? std::optional(o.Numero("--base")) : std::nullopt;
        lente::LenteDeMaterial l = lente::ResolverMaterial(encargo, material, dada);
        if (l.sinBase) {
            EscribirError(kPrograma, motivo(l));
            return kSinCalculo;
        }
        if (!l.resultado()) {
            EscribirError(kPrograma, motivo(l));
            return kSinDiseno;
        }
        if (!dada)
            baseSugerida = "BaseSugerida: " + decimales(l.base, 3) + '\n';
        avisos = std::move(l.avisos);
        uso = std::move(l.uso);
    }

    const lente::Solucion& solucion = uso.solucion;
    const lente::Resultado& r = *solucion.resultado;
    std::cout << baseSugerida << "EspesorCentral: " << decimales(r.espesorCentral, 3) << '\n'
              << "CaraExterna: " << decimales(r.frontal.poder, 3) << '\n'
              << "CaraInternaEje: " << decimales(r.internaEje.poder, 3) << '\n'
              << "CaraInternaCruz: " << decimales(r.internaCruz.poder, 3) << '\n'
              << "RadioInternoEje: " << radio(r.internaEje) << '\n'
              << "RadioInternoCruz: " << radio(r.internaCruz) << '\n'
              << "Molde1523Eje: " << decimales(r.molde1523Eje, 3) << '\n'
              << "Molde1523Cruz: " << decimales(r.molde1523Cruz, 3) << '\n'
              << "BordeMinimo: " << decimales(r.bordeMinimo, 3) << ' ' << grados(r.anguloMinimo) << '\n'
              << "BordeMaximo: " << decimales(r.bordeMaximo, 3) << ' ' << grados(r.anguloMaximo) << '\n'
              << "EspesorMaximo: " << decimales(r.espesorMaximo, 3) << '\n';
    if (const auto& p = r.puntoMasDelgado)
        std::cout << "PuntoMasDelgado: " << decimales(p->espesor, 3) << ' ' << grados(p->angulo) << ' '
                  << decimales(p->radio, 2) << '\n';
    std::cout << "Peso: " << decimales(r.peso, 2) << '\n';
    if (esForma) {
        const std::optional<int> estandar = lente::BloqueEstandar(bloque);
        std::cout << "BloqueMinimo: " << decimales(bloque, 1) << ' '
                  << (estandar ? std::to_string(*estandar) : std::string("ninguno")) << '\n';
        if (!estandar)
            avisos.push_back("ningún bloque estándar (de 50 a 80 mm) alcanza para esta forma: se necesita uno de " +
                             decimales(bloque, 1) + " mm");
    }
    if (uso.compensada) {
        const lente::EsferoCilindro& f = uso.frontofocometro;
        std::cout << "EjeInterno: " << ejeDecimal(uso.optica.ejeReverso) << '\n'
                  << "Frontofocometro: " << decimales(f.esfera, 3) << ' ' << decimales(f.cilindro, 3) << ' '
                  << ejeDecimal(f.eje) << '\n';
    }
    if (o.Tiene("--campo")) {
        const std::vector<lente::Mirada> miradas = lente::MiradasDelCampo();
        const auto errores = lente::ErroresCampo(uso.optica, montaje, pedido.receta, miradas);
        for (std::size_t i = 0; i < miradas.size(); ++i) {
            std::cout << "Campo: " << std::lround(miradas[i].h) << ' ' << std::lround(miradas[i].v) << ' ';
            if (errores[i])
                std::cout << decimales(errores[i]->media, 3) << ' ' << decimales(errores[i]->astigmatica, 3) << '\n';
            else
                std::cout << "? ?\n";
        }
    }
    for (const std::string& aviso : avisos)
        std::cout << "Aviso: " << aviso << '\n';
    std::cout.flush();
    return std::cout ? kDiseno : kSinCalculo;
}
