#include "programa.h"

#include "abrir_trabajo.h"
#include "almacen_trabajos.h"
#include "form1_base_materiales.h"
#include "frm_dibuja_vantoras.h"
#include "frm_trabajo.h"
#include "frm_vantora.h"
#include "responder_trabajo.h"
#include "respuesta_guardada.h"
#include "ruta_legible.h"
#include "vista_previa_orden.h"

namespace {

// The database engine takes file names as text: a folder whose name is not
// UTF-8 is out of its reach, and the catalogue is then left closed.
std::filesystem::path archivoCatalogo(const CarpetaDatos& carpeta)
{
    return EsUtf8(carpeta.carpeta().native()) ? carpeta.Archivo(CarpetaDatos::kMateriales) : std::filesystem::path();
}

} // namespace

Programa::Programa(const CarpetaDatos& carpeta, Dialogos& dialogos, std::optional<UbicacionCatalogo> catalogo)
    : m_carpeta(carpeta),
      m_dialogos(dialogos),
      m_base(catalogo ? std::move(*catalogo) : UbicacionCatalogo::Archivo(archivoCatalogo(carpeta)))
{
    // Without its folder a catalogue file cannot be opened either: one
    // message says so, the list stays empty, and every save says why it
    // cannot be made rather than write anywhere else. A server needs no folder.
    std::string error;
    const std::string nombre = RutaLegible(carpeta.carpeta());
    const bool servidor = m_base.ubicacion().esServidor();
    const bool carpetaLista = carpeta.Preparar(error);
    if (!carpetaLista)
        dialogos.Mensaje("Carpeta de datos",
                         "No se pudo preparar la carpeta de datos " + nombre + ": " + error +
                             (servidor ? ". Los diseños no se podrán guardar."
                                       : ". La lista de materiales quedará vacía y los diseños no se podrán guardar."),
                         Icono::Critico);
    if (servidor)
        m_base.Abrir(dialogos);
    else if (carpetaLista && !EsUtf8(carpeta.carpeta().native()))
        dialogos.Mensaje("Carpeta de datos",
                         "La Base de Datos de Materiales no se puede abrir en la carpeta de datos " + nombre +
                             ": su nombre no es texto UTF-8. La lista de materiales quedará vacía; los diseños se "
                             "guardan en esa carpeta igualmente.",
                         Icono::Exclamacion);
    else if (carpetaLista)
        m_base.Abrir(dialogos);
    m_catalogo = std::make_unique<CatalogoSql>(m_base);
    m_motor = std::make_unique<Motor>(m_estado, m_pantallaDiseno, m_pantallaGraficos, dialogos, *m_catalogo);
    m_perfil = std::make_unique<Perfil>(m_estado, m_lienzo, m_pantallaGraficos, m_pantallaDiseno, dialogos, carpeta);
    m_modificacion = std::make_unique<ModificacionDiseno>(m_estado, *m_motor, *m_perfil, m_pantallaGraficos, dialogos,
                                                          *m_catalogo, carpeta);
    // The graphics window loads the first time anything on it is used, and
    // again after its close box has unloaded it.
    m_pantallaGraficos.AntesDeUsar([this] { cargarGraficos(); });
    m_diseno = std::make_unique<Frm_Vantora>(m_estado, *m_motor, m_pantallaDiseno, dialogos, carpeta);
    m_diseno->AlAbrirProductos([this] { abrirProductos(); });
    // The job ticket of the calculated design; the graphics window gets its
    // own when it loads.
    m_orden = std::make_unique<ImpresionOrden>(m_estado, m_pantallaDiseno, *m_perfil, dialogos);
    AgregarImprimirOrden(m_diseno.get(), [this] {
        auto orden = m_orden->DelDiseno(QDateTime::currentDateTime());
        if (!orden)
            return;
        // A scanned job's ticket carries the job's own number.
        if (!m_diseno->Trabajo().empty())
            orden->numero = m_diseno->Trabajo();
        MostrarVistaPreviaOrden(m_diseno.get(), *orden);
    });
    AgregarAbrirTrabajo(m_diseno.get(), [this](const QString& numero) { abrirTrabajo(numero); });
    AgregarVentanaTrabajo(m_diseno.get(), [this] { AbrirVentanaTrabajo(); });
    // The program ends with the design window; a job with unsaved changes is
    // asked about first, and "Cancelar" keeps everything open.
    m_diseno->AntesDeTerminar([this] { return !m_trabajo || !m_trabajo->isVisible() || m_trabajo->close(); });
    m_diseno->AlGraficar([this](bool porClic) {
        if (porClic)
            m_modificacion->SSCommandGraficar_Click();
        else
            m_modificacion->SSCommandGraficar_KeyPress(0);
    });
}

Frm_DibujaVantoras* Programa::graficos() { return m_graficos.data(); }

void Programa::cargarGraficos()
{
    if (m_graficos || m_cargandoGraficos)
        return;
    m_cargandoGraficos = true;
    m_graficos = new Frm_DibujaVantoras(*m_modificacion, m_pantallaGraficos, m_lienzo);
    AgregarImprimirOrden(m_graficos, [this] {
        if (const auto orden = m_orden->DeGraficos(QDateTime::currentDateTime()))
            MostrarVistaPreviaOrden(m_graficos, *orden);
    });
    AgregarVentanaTrabajo(m_graficos, [this] { AbrirVentanaTrabajo(); });
    m_cargandoGraficos = false;
}

// The windows go before the database connections they hold.
Programa::~Programa()
{
    delete m_graficos.data();
    m_trabajo.reset();
    m_materiales.reset();
    m_diseno.reset();
    m_motor.reset();
    m_catalogo.reset();
}

void Programa::Mostrar() { m_diseno->show(); }

void Programa::AbrirVentanaTrabajo(const QString& numero)
{
    if (!m_trabajo)
        m_trabajo = std::make_unique<Frm_Trabajo>(m_base, *m_catalogo, m_dialogos);
    m_trabajo->show();
    m_trabajo->raise();
    m_trabajo->activateWindow();
    if (!numero.isEmpty())
        m_trabajo->AbrirTrabajo(numero);
}

void Programa::abrirProductos()
{
    if (!m_materiales)
        m_materiales = std::make_unique<Form1_BaseMateriales>(m_base, m_estado, m_dialogos);
    m_materiales->show();
    m_materiales->raise();
    m_materiales->activateWindow();
}

void Programa::abrirTrabajo(const QString& numero)
{
    const std::string n = numero.toStdString();
    QString error;
    const std::optional<TrabajoGuardado> guardado = AlmacenTrabajos(m_base).PrepararYAbrir(numero, error);
    if (!guardado) {
        m_dialogos.Mensaje("Trabajo",
                           error.isEmpty() ? "El trabajo " + n + " no está guardado."
                                           : "No se pudo abrir el trabajo " + n + ": " + error.toStdString(),
                           Icono::Exclamacion);
        return;
    }
    std::string motivo;
    const auto pedido = trabajos::PedidoGuardado(n, guardado->pedido.toStdString(), guardado->formato, motivo);
    const auto ojo = pedido ? trabajos::PrimerOjoEsferico(*pedido) : std::nullopt;
    if (!ojo) {
        // Cylinder, prism or minus: the job window makes it whole, and says
        // why a damaged record cannot be used.
        AbrirVentanaTrabajo(numero);
        return;
    }
    m_diseno->CargarTrabajo(n, *ojo);
}
