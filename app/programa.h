#pragma once

#include "base_materiales.h"
#include "carpeta_datos.h"
#include "catalogo_sql.h"
#include "estado_diseno.h"
#include "impresion_orden.h"
#include "lienzo_imagen.h"
#include "modificacion_diseno.h"
#include "motor.h"
#include "pantalla_widgets.h"
#include "perfil.h"

#include <QPointer>
#include <memory>
#include <optional>

class Dialogos;
class Form1_BaseMateriales;
class Frm_DibujaVantoras;
class Frm_Trabajo;
class Frm_Vantora;

// The running program: the one design state, the materials database opened
// once, the engine and the windows, wired together. The design window is
// created and loaded first; the other windows the first time they are used.
class Programa {
public:
    // Without a catalogue, "materiales.mdb" of the data folder.
    Programa(const CarpetaDatos& carpeta, Dialogos& dialogos, std::optional<UbicacionCatalogo> catalogo = {});
    ~Programa();

    void Mostrar();
    // The job window, with the stored job of that number when one is given.
    void AbrirVentanaTrabajo(const QString& numero = {});
    // Null until the job window has been asked for.
    Frm_Trabajo* trabajo() { return m_trabajo.get(); }

    EstadoDiseno& estado() { return m_estado; }
    Frm_Vantora& diseno() { return *m_diseno; }
    // Null until the materials window has been asked for.
    Form1_BaseMateriales* materiales() { return m_materiales.get(); }
    // Null until the graphics window is first used, and after it is unloaded.
    Frm_DibujaVantoras* graficos();

private:
    void abrirProductos();
    // A job pulled up by its number on the design window.
    void abrirTrabajo(const QString& numero);
    void cargarGraficos();

    const CarpetaDatos& m_carpeta;
    Dialogos& m_dialogos;
    EstadoDiseno m_estado;
    BaseMateriales m_base;
    std::unique_ptr<CatalogoSql> m_catalogo;
    PantallaWidgets m_pantallaDiseno;
    PantallaWidgets m_pantallaGraficos;
    std::unique_ptr<Motor> m_motor;
    LienzoImagen m_lienzo;
    std::unique_ptr<Perfil> m_perfil;
    std::unique_ptr<ModificacionDiseno> m_modificacion;
    std::unique_ptr<ImpresionOrden> m_orden;
    QPointer<Frm_DibujaVantoras> m_graficos;
    bool m_cargandoGraficos = false;
    std::unique_ptr<Frm_Vantora> m_diseno;
    std::unique_ptr<Form1_BaseMateriales> m_materiales;
    std::unique_ptr<Frm_Trabajo> m_trabajo;
};
