#include "programa.h"

#include "form1_base_materiales.h"
#include "frm_vantora.h"

Programa::Programa(const CarpetaDatos& carpeta, Dialogos& dialogos, std::optional<UbicacionCatalogo> catalogo)
    : m_carpeta(carpeta),
      m_dialogos(dialogos),
      m_base(catalogo ? std::move(*catalogo) : UbicacionCatalogo::Archivo(carpeta.Archivo(CarpetaDatos::kMateriales)))
{
    // Without its folder a catalogue file cannot be opened either: one
    // message says so, and the list stays empty. A server needs no folder.
    std::string error;
    const bool servidor = m_base.ubicacion().esServidor();
    const bool carpetaLista = carpeta.Preparar(error);
    if (carpetaLista || servidor)
        m_base.Abrir(dialogos);
    if (!carpetaLista)
        dialogos.Mensaje("Carpeta de datos",
                         "No se pudo crear la carpeta de datos " + carpeta.carpeta().string() + ": " + error +
                             (servidor ? "." : ". La lista de materiales quedará vacía."),
                         Icono::Critico);
    m_catalogo = std::make_unique<CatalogoSql>(m_base);
    m_motor = std::make_unique<Motor>(m_estado, m_pantallaDiseno, m_pantallaGraficos, dialogos, *m_catalogo);
    m_diseno = std::make_unique<Frm_Vantora>(m_estado, *m_motor, m_pantallaDiseno, dialogos, carpeta);
    m_diseno->AlAbrirProductos([this] { abrirProductos(); });
}

// The windows go before the database connections they hold.
Programa::~Programa()
{
    m_materiales.reset();
    m_diseno.reset();
    m_motor.reset();
    m_catalogo.reset();
}

void Programa::Mostrar() { m_diseno->show(); }

void Programa::abrirProductos()
{
    if (!m_materiales)
        m_materiales = std::make_unique<Form1_BaseMateriales>(m_base, m_estado, m_dialogos);
    m_materiales->show();
    m_materiales->raise();
    m_materiales->activateWindow();
}
