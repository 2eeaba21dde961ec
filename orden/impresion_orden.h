#pragma once

#include "dialogos.h"
#include "estado_diseno.h"
#include "orden_trabajo.h"
#include "pantalla.h"
#include "perfil.h"

#include <QDateTime>
#include <optional>

// Which ticket each window prints: the design window the design it has
// calculated, the graphics window the lens it shows. When there is none the
// user is told so, and there is nothing to print. The ticket is numbered and
// dated by the moment it is made.
class ImpresionOrden {
public:
    ImpresionOrden(const EstadoDiseno& estado, const Pantalla& frmVantora, const Perfil& perfil, Dialogos& dialogos);

    std::optional<OrdenTrabajo> DelDiseno(const QDateTime& momento);
    std::optional<OrdenTrabajo> DeGraficos(const QDateTime& momento);

    static constexpr std::string_view kTitulo = "Imprimir orden de trabajo";
    static constexpr std::string_view kSinCalculo =
        "No hay nada que imprimir: calcule primero la lente con el botón \"Calcular\".";
    static constexpr std::string_view kSinDibujo =
        "No hay nada que imprimir: la ventana de gráficos no muestra ninguna lente.";
    static constexpr std::string_view kRecuperado =
        "El último cálculo no tuvo éxito: la lente de muestra que cargó la recuperación no corresponde a los datos "
        "ingresados, por lo que no se imprime. Revise los datos y calcule nuevamente.";

private:
    const EstadoDiseno& m_estado;
    const Pantalla& m_diseno;
    const Perfil& m_perfil;
    Dialogos& m_dialogos;
};
