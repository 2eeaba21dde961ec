#pragma once

#include "base_materiales.h"
#include "carpeta_datos.h"
#include "catalogo_sqlite.h"
#include "estado_diseno.h"

#include <memory>

class Dialogos;
class Form1_BaseMateriales;
class Frm_Vantora;

// The running program: the one design state, the materials database opened
// once, and the windows, wired together. The design window is created and
// loaded first; the materials window the first time "Abre Productos" asks
// for it, and it then stays loaded.
class Programa {
public:
    Programa(const CarpetaDatos& carpeta, Dialogos& dialogos);
    ~Programa();

    void Mostrar();

    EstadoDiseno& estado() { return m_estado; }
    Frm_Vantora& diseno() { return *m_diseno; }
    // Null until the materials window has been asked for.
    Form1_BaseMateriales* materiales() { return m_materiales.get(); }

private:
    void abrirProductos();

    const CarpetaDatos& m_carpeta;
    Dialogos& m_dialogos;
    EstadoDiseno m_estado;
    BaseMateriales m_base;
    std::unique_ptr<CatalogoSqlite> m_catalogo;
    std::unique_ptr<Frm_Vantora> m_diseno;
    std::unique_ptr<Form1_BaseMateriales> m_materiales;
};
