#include "archivos.h"
#include "calibracion.h"
#include "colores_graficos.h"
#include "controles.h"
#include "formatos.h"
#include "geometria_perfil.h"
#include "mensajes_graficos.h"
#include "numerico.h"
#include "perfil.h"
#include "redondeo.h"
#include "registro_diseno.h"

#include <cmath>
#include <string>
#include <vector>

using numerico::Dividir;
using numerico::Finito;
using namespace mensajes_graficos;

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

void Perfil::recuperarDibujo()
{
    m_graficos.OcultarVentana();
    m_dialogos.Mensaje(kTituloGrafico, kTextoGrafico, Icono::Exclamacion);
    m_diseno.MostrarVentana();
    m_diseno.Enfocar(ctl::Tx_BaseCrown);
}

bool Perfil::DibujarPerfil(Numero& EscalaHorizontal, Numero& EscalaVertical, Numero& AspectoPantalla)
{
    m_graficos.PonerVisible(ctlg::Text2, true);
    m_graficos.PonerVisible(ctlg::Label10, true);
    m_graficos.MostrarVentana();
    m_lienzo.Limpiar();
    m_lienzo.Marco(0, 0, 300, 200);
    m_ultimo.reset();

    bool dibujado = false;
    try {
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
            m_estado.IndiceMaterial = LeerNumero(TextoPlanoSimple(static_cast<float>(r.IndiceMaterial)));

            const double n = r.IndiceMaterial;
            const double D = r.DiametroInicial;
            const double t = r.EspesorCentral;
            const Superficies s = CalcularSuperficies(r.PoderExterno, r.PoderInterno, n, D, Pisos::Guardado);
            const double pi = 4.0 * std::atan(1.0);
            const double inicio2 = s.menisco ? pi - s.a2 : 2.0 * pi - s.a2;
            const double fin2 = s.menisco ? pi + s.a2 : s.a2;

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

            const double r1 = Finito(s.R1 * ex);
            const double r2 = Finito(s.R2 * ex);
            const double tp = Finito(t * ex);
            const double hp = Finito(s.h * ey);
            const double cx1 = 150.0 + r1;
            const double cx2 = s.menisco ? 150.0 + tp + r2 : 150.0 + tp - r2;
            // The sagittas again, from the drawing's own values.
            const double g1 = Finito(
                Dividir(r1, ex) - numerico::Raiz(Finito(std::pow(Dividir(r1, ex), 2) - std::pow(Dividir(hp, ey), 2))));
            const double g2 = Finito(
                Dividir(r2, ex) - numerico::Raiz(Finito(std::pow(Dividir(r2, ex), 2) - std::pow(Dividir(hp, ey), 2))));
            const double xF = 150.0;
            const double xB = 150.0 + tp;
            const double xFE = 150.0 + g1 * ex;
            const double xBE = s.menisco ? 150.0 + tp + g2 * ex : 150.0 + tp - g2 * ex;
            const double yLow = Redondear2(hp) + 100.0;
            const double yUp = 100.0 - Redondear2(hp);
            // The weight follows the edge as drawn, back in millimetres.
            const double ep = Finito(xBE - xFE);
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

            // Every arc and edge face twice, half a unit apart, for a heavier outline.
            const Color c = k == 1 ? colores::kRegistro1 : colores::kRegistro2;
            m_lienzo.Arco(cx1, 100, r1, c, pi - s.a1, pi + s.a1, A);
            m_lienzo.Arco(cx1 + 0.5, 100, r1, c, pi - s.a1, pi + s.a1, A);
            m_lienzo.Arco(cx2, 100, r2, c, inicio2, fin2, A);
            m_lienzo.Arco(cx2 - 0.5, 100, r2, c, inicio2, fin2, A);
            m_lienzo.Linea(xFE, yLow, xBE, yLow, c);
            m_lienzo.Linea(xFE, yLow - 0.5, xBE, yLow - 0.5, c);
            m_lienzo.Linea(xFE, yUp, xBE, yUp, c);
            m_lienzo.Linea(xFE, yUp - 0.5, xBE, yUp - 0.5, c);
            if (k == 1) {
                m_lienzo.EstiloRelleno(Lienzo::Relleno::Solido);
                m_lienzo.ColorRelleno(colores::kCuerpo);
                m_lienzo.RellenarDesde(278, 162, c);
                m_lienzo.EstiloRelleno(Lienzo::Relleno::Transparente);
            }
            // Front view: the lens outline at its diameter, and its centre.
            m_lienzo.Elipse(230, 100, Dividir(hp, ey) * ex, c, A);
            m_lienzo.Linea(227, 100, 233, 100, c);
            m_lienzo.Linea(230, 97, 230, 104, c);
            // Edge and centre thickness as bars below the frame.
            m_lienzo.Linea(90, 200 + 16 * k, 90 + ep, 200 + 16 * k);
            m_lienzo.Linea(90, 345 + 16 * k, 90 + (xB - xF), 345 + 16 * k);
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
