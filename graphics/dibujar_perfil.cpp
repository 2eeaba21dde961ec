#include "archivos.h"
#include "calibracion.h"
#include "colores_graficos.h"
#include "controles.h"
#include "formatos.h"
#include "geometria_perfil.h"
#include "mensajes_graficos.h"
#include "numerico.h"
#include "perfil.h"
#include "registro_diseno.h"
#include "ruta_legible.h"

#include <cmath>
#include <string>
#include <vector>

using numerico::Dividir;
using numerico::Finito;
using namespace mensajes_graficos;
using Lectura_ = ::Lectura;

namespace {

// The whole of a regular file; nothing when it is absent (or its folder is).
// A file that cannot be read, or that is not a regular file (a FIFO would
// never end), is a failure of the drawing.
std::optional<std::string> leerArchivo(const std::filesystem::path& archivo)
{
    std::string contenido;
    std::string error;
    switch (LeerArchivo(archivo, contenido, error)) {
    case Lectura::Leido:
        return contenido;
    case Lectura::NoExiste:
        return std::nullopt;
    case Lectura::Rechazado:
        break;
    }
    std::error_code ec;
    if (!std::filesystem::exists(archivo.parent_path(), ec) && !ec)
        return std::nullopt;
    throw numerico::Falla{};
}

} // namespace

Perfil::Perfil(EstadoDiseno& estado, Lienzo& lienzo, Pantalla& frmGraficos, Pantalla& frmVantora, Dialogos& dialogos,
               const CarpetaDatos& carpeta)
    : m_estado(estado),
      m_lienzo(lienzo),
      m_graficos(frmGraficos),
      m_diseno(frmVantora),
      m_dialogos(dialogos),
      m_carpeta(carpeta)
{
}

void Perfil::UsarArchivo(std::filesystem::path archivo, std::optional<int> registro)
{
    m_archivo = std::move(archivo);
    m_registro = registro;
}

// The design records as the drawing sees them: their count as a real number
// (a file that is not whole records counts a fraction) and their bytes.
struct Perfil::Lectura {
    double cantidad = 0;
    std::string bytes;
};

Perfil::Lectura Perfil::leerDiseno() const
{
    const std::filesystem::path archivo = m_archivo ? *m_archivo : m_carpeta.Archivo(CarpetaDatos::kDatos);
    Lectura lectura;
    // Reading the design never creates the file: an absent one has no record.
    const std::optional<std::string> contenido = leerArchivo(archivo);
    if (!contenido)
        return lectura;
    if (!m_registro) {
        lectura.bytes = *contenido;
        lectura.cantidad = static_cast<double>(contenido->size()) / RegistroDiseno::kLargo;
        return lectura;
    }
    const size_t desde = static_cast<size_t>(*m_registro - 1) * RegistroDiseno::kLargo;
    if (*m_registro >= 1 && contenido->size() >= desde + RegistroDiseno::kLargo) {
        lectura.bytes = contenido->substr(desde, RegistroDiseno::kLargo);
        lectura.cantidad = 1;
    }
    return lectura;
}

// A file the drawing cannot trust is refused before anything is drawn:
// one message, naming the file, and the window goes back to the design.
void Perfil::rechazar(std::string_view titulo, const std::string& texto)
{
    m_rechazo = true;
    m_graficos.OcultarVentana();
    m_dialogos.Mensaje(titulo, texto, Icono::Critico);
    m_diseno.MostrarVentana();
}

bool Perfil::revisarArchivos()
{
    const std::filesystem::path archivo = m_archivo ? *m_archivo : m_carpeta.Archivo(CarpetaDatos::kDatos);
    std::string contenido;
    std::string error;
    std::error_code ec;
    if (LeerArchivo(archivo, contenido, error) == Lectura_::Rechazado &&
        std::filesystem::exists(archivo.parent_path(), ec)) {
        rechazar(kTituloIlegible, "El archivo de diseños " + RutaLegible(archivo) + " no se puede leer: " + error +
                                      ". No se dibuja la lente.");
        return false;
    }
    const Lectura diseno = leerDiseno();
    // Less than one record would draw nothing and say nothing.
    if (diseno.cantidad > 0 && diseno.cantidad < 1) {
        rechazar(kTituloDanado, "El archivo de diseños " + RutaLegible(archivo) + " está dañado: tiene " +
                                    std::to_string(diseno.bytes.size()) + " bytes y un registro tiene " +
                                    std::to_string(RegistroDiseno::kLargo) +
                                    ". No se dibuja la lente ni se imprime su orden de trabajo.");
        return false;
    }
    for (int k = 1; k <= 2 && k <= diseno.cantidad; ++k) {
        const RegistroDiseno r = RegistroDiseno::Decodificar(
            reinterpret_cast<const std::uint8_t*>(diseno.bytes.data()) + (k - 1) * RegistroDiseno::kLargo);
        if (const std::optional<std::string> problema = r.Problema()) {
            rechazar(kTituloDanado, "El registro " + std::to_string(m_registro.value_or(k)) + " del archivo " +
                                        RutaLegible(archivo) + " está dañado: " + *problema +
                                        ". No se dibuja la lente ni se imprime su orden de trabajo.");
            return false;
        }
    }
    if (diseno.cantidad == 0)
        return true;
    const std::filesystem::path monitor = m_carpeta.Archivo(CarpetaDatos::kMonitor);
    error.clear();
    const Lectura_ lectura = LeerArchivo(monitor, contenido, error);
    const bool sinCarpeta = !std::filesystem::exists(monitor.parent_path(), ec) && !ec;
    if (lectura == Lectura_::NoExiste || sinCarpeta || (lectura == Lectura_::Leido && LeerCalibracion(contenido)))
        return true;
    if (error.empty())
        error = "debe contener tres números separados por comas: el aspecto de la pantalla, de 0.1 a 10, y las "
                "unidades de dibujo por milímetro a lo ancho y a lo largo, de 0.1 a 100";
    rechazar(kTituloCalibracion, "El archivo de calibración de la pantalla " + RutaLegible(monitor) +
                                     " no se puede usar: " + error + ". No se dibuja la lente.");
    return false;
}

void Perfil::recuperarDibujo()
{
    m_graficos.OcultarVentana();
    m_dialogos.Mensaje(kTituloGrafico, kTextoGrafico, Icono::Exclamacion);
    m_diseno.MostrarVentana();
    m_diseno.Enfocar(ctl::Tx_BaseCrown);
}

// Each arc twice, half a unit apart, for a heavier outline: the front one
// towards the lens, the back one towards the lens too.
void Perfil::arcosFrontales(const Trazado& z, Color c, double aspecto)
{
    m_lienzo.Arco(z.cx1, 100, z.r1, c, z.inicio1, z.fin1, aspecto);
    m_lienzo.Arco(z.cx1 + 0.5, 100, z.r1, c, z.inicio1, z.fin1, aspecto);
}

void Perfil::arcosPosteriores(const Trazado& z, Color c, double aspecto)
{
    m_lienzo.Arco(z.cx2, 100, z.r2, c, z.inicio2, z.fin2, aspecto);
    m_lienzo.Arco(z.cx2 - 0.5, 100, z.r2, c, z.inicio2, z.fin2, aspecto);
}

// The edge faces, top and bottom, each doubled half a unit higher. They run
// between the ends of the arcs as this surface draws them: where the
// calibration's scales and aspect disagree, faces at the lens's own height
// would miss the arcs and let the fill out.
void Perfil::caras(const Trazado& z, double aspecto, Color c)
{
    const auto extremos = [&](double cx, double r, double inicio, double fin) {
        auto p = m_lienzo.PuntoDeArco(cx, 100, r, inicio, aspecto);
        auto q = m_lienzo.PuntoDeArco(cx, 100, r, fin, aspecto);
        return p.second <= q.second ? std::pair{p, q} : std::pair{q, p};
    };
    const auto [frenteArriba, frenteAbajo] = extremos(z.cx1, z.r1, z.inicio1, z.fin1);
    const auto [dorsoArriba, dorsoAbajo] = extremos(z.cx2, z.r2, z.inicio2, z.fin2);
    for (const double alza : {0.0, 0.5}) {
        m_lienzo.Linea(frenteAbajo.first, frenteAbajo.second - alza, dorsoAbajo.first, dorsoAbajo.second - alza, c);
        m_lienzo.Linea(frenteArriba.first, frenteArriba.second - alza, dorsoArriba.first, dorsoArriba.second - alza, c);
    }
}

// The lens body, from a device pixel inside its outline.
void Perfil::rellenar(int x, Color borde)
{
    m_lienzo.EstiloRelleno(Lienzo::Relleno::Solido);
    m_lienzo.ColorRelleno(colores::kCuerpo);
    m_lienzo.RellenarDesde(x, 162, borde);
    m_lienzo.EstiloRelleno(Lienzo::Relleno::Transparente);
}

// Front view: the lens outline at its diameter, and its centre.
void Perfil::vistaFrontal(const Trazado& z, Color c, double ex, double ey, double aspecto)
{
    m_lienzo.Elipse(230, 100, Dividir(z.h, ey) * ex, c, aspecto);
    m_lienzo.Linea(227, 100, 233, 100, c);
    m_lienzo.Linea(230, 97, 230, 104, c);
}

bool Perfil::DibujarPerfil(Numero& EscalaHorizontal, Numero& EscalaVertical, Numero& AspectoPantalla)
{
    m_graficos.PonerVisible(ctlg::Text2, true);
    m_graficos.PonerVisible(ctlg::Label10, true);
    m_graficos.MostrarVentana();
    m_lienzo.Limpiar();
    m_lienzo.Marco(0, 0, 300, 200);
    m_ultimo.reset();
    m_rechazo = false;

    bool dibujado = false;
    try {
        if (!revisarArchivos())
            return false;
        for (int k = 1;; ++k) {
            const Lectura diseno = leerDiseno();
            const double n_registros = diseno.cantidad;
            if (n_registros == 0)
                m_lienzo.Imprimir(kSinDiseno);
            if (k > n_registros)
                return dibujado;
            const RegistroDiseno r = RegistroDiseno::Decodificar(
                reinterpret_cast<const std::uint8_t*>(diseno.bytes.data()) + (k - 1) * RegistroDiseno::kLargo);
            // The record keeps the index as a single: the design takes back the
            // figure that was saved (1.498, not 1.49800002574921).
            // The material comes back whole, so that a weight or a snapshot
            // never mixes the saved index with a density or a name chosen
            // on the window.
            m_estado.IndiceMaterial = LeerNumero(TextoPlanoSimple(static_cast<float>(r.IndiceMaterial)));
            m_estado.Densidad = LeerNumero(TextoPlanoSimple(static_cast<float>(r.Densidad)));
            m_estado.NombreMaterial = r.NombreMaterial.substr(0, r.NombreMaterial.find_last_not_of(' ') + 1);

            const double n = r.IndiceMaterial;
            const double D = r.DiametroInicial;
            const double t = r.EspesorCentral;
            const Superficies s = CalcularSuperficies(r.PoderExterno, r.PoderInterno, n, D, Pisos::Guardado);
            // The calibration is read on every pass. A screen never
            // calibrated has no MONITOR.DAT: it is drawn at the usual
            // scales and the file is left to whatever calibrates it.
            Calibracion cal;
            if (const std::optional<std::string> texto = leerArchivo(m_carpeta.Archivo(CarpetaDatos::kMonitor))) {
                const std::optional<Calibracion> leida = LeerCalibracion(*texto);
                if (!leida)
                    throw numerico::Falla{};
                cal = *leida;
            }
            AspectoPantalla = cal.aspecto;
            EscalaHorizontal = cal.horizontal;
            EscalaVertical = cal.vertical;
            const double ex = EscalaHorizontal;
            const double ey = EscalaVertical;
            const double A = AspectoPantalla;

            const Trazado z = TrazarPerfil(s, t, ex, ey);
            // The weight follows the edge as drawn, back in millimetres.
            const double ep = Finito(z.xBE - z.xFE);
            const double vDisco = Finito(Dividir(ep, ex) * (D / 2.0) * (D / 2.0) * kPiDisco);
            const double peso = Finito((s.V1 + s.V2 + vDisco) * r.Densidad / 1000.0);

            const float diametro = static_cast<float>(D);
            const std::string textoDiametro = TextoPlanoSimple(diametro);
            const std::string textoPeso = FormatoMiles(peso);
            const std::string textoEspesor = FormatoMiles(t);
            m_graficos.PonerTexto(ctlg::Tx_CurvaBase_Peso, textoPeso);
            m_graficos.PonerTexto(ctlg::Tx_CurvaBase_Material, r.NombreMaterial);
            m_graficos.PonerTexto(ctlg::Tx_CurvaBase_Diametro, textoDiametro);
            m_graficos.PonerTexto(ctlg::Tx_CurvaBase_EspesorCentral, textoEspesor);
            m_graficos.PonerTexto(ctlg::Tx_Indice_Material, r.NombreMaterial);
            m_graficos.PonerTexto(ctlg::Tx_Indice_Diametro, textoDiametro);
            m_graficos.PonerTexto(ctlg::Tx_Indice_Peso, textoPeso);
            m_graficos.PonerTexto(ctlg::Tx_Indice_EspesorCentral, textoEspesor);
            m_graficos.PonerTexto(ctlg::Tx_Diametro_Peso, textoPeso);
            m_graficos.PonerTexto(ctlg::Tx_Diametro_EspesorCentral, textoEspesor);
            m_graficos.PonerTexto(ctlg::Tx_ModificoDiametro, textoDiametro);

            const Color c = k == 1 ? colores::kRegistro1 : colores::kRegistro2;
            arcosFrontales(z, c, A);
            arcosPosteriores(z, c, A);
            caras(z, A, c);
            if (k == 1)
                rellenar(278, c);
            vistaFrontal(z, c, ex, ey, A);
            // Edge and centre thickness as bars below the frame.
            m_lienzo.Linea(90, 200 + 16 * k, 90 + ep, 200 + 16 * k);
            m_lienzo.Linea(90, 345 + 16 * k, 90 + z.t, 345 + 16 * k);
            dibujado = true;
            m_ultimo = Dibujo{D, Pisos::Guardado, r};

            if (k == 2 || k == n_registros)
                return true;
        }
    } catch (const numerico::Falla&) {
        recuperarDibujo();
        return false;
    }
}
