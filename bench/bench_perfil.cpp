// The graphics window's work on the offscreen surface: the saved design drawn
// whole (both file reads, one record drawn and filled, the boxes written),
// one step of each scroll bar (engine routines, redraw with fill, boxes), and
// one cursor readout.

#include "lienzo_imagen.h"
#include "modificacion_diseno.h"
#include "motor.h"
#include "mudos.h"
#include "perfil.h"
#include "registro_diseno.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fstream>

namespace {

class CatalogoCorto : public Catalogo {
public:
    std::vector<std::string> Productos() override { return {"Crown", "Resina"}; }
    std::optional<Material> BuscarPorNombre(std::string_view) override { return m[0]; }
    std::optional<Material> BuscarPorId(std::string_view id) override { return m[id == "2" ? 1 : 0]; }
    long long Cantidad() override { return 2; }
    Material m[2] = {{1, "Crown", "Vidrio", "Varios", 1.523, 2.54, 59, true, false},
                     {2, "Resina", "Resina", "Varios", 1.6, 1.3, 41, false, true}};
};

// The worked example saved and calculated, the window's bars at its values.
struct Ventana {
    QTemporaryDir dir;
    CarpetaDatos carpeta{dir.path().toStdString()};
    EstadoDiseno e;
    PantallaMuda diseno, graficos;
    DialogosMudos dialogos;
    CatalogoCorto catalogo;
    LienzoImagen lienzo;
    Motor motor{e, diseno, graficos, dialogos, catalogo};
    Perfil perfil{e, lienzo, graficos, diseno, dialogos, carpeta};
    ModificacionDiseno modificacion{e, motor, perfil, graficos, dialogos, catalogo, carpeta};

    Ventana()
    {
        std::string error;
        GuardarRegistroUnico(carpeta.Archivo(CarpetaDatos::kDatos), {6, -1.9, 1.523, 60, 1, 4.5, 4, 2.54, "Crown"},
                             error);
        std::ofstream(carpeta.Archivo(CarpetaDatos::kMonitor)) << "1,1.5,1.62\r\n";
        e.PoderVertice = 4;
        e.CurvaBase = 6;
        e.DiametroInicial = 60;
        e.EspesorBorde = 1;
        e.IndiceMaterial = 1.523;
        e.Densidad = 2.54;
        diseno.PonerTexto("Combo_Materiales", "Crown");
        diseno.PonerTexto("Tx_BaseCrown", "6");
        motor.CalcularCompleto();
        graficos.barras["HScroll_ModificoBase"] = {48, 1, 200};
        graficos.barras["HScroll_ModificoDiametro"] = {60, 10, 1000};
        graficos.barras["HScroll_ModificoIndice"] = {1, 1, 1000};
        modificacion.SSCommandGraficar_Click();
        // A memory window runs no change handler: what the diameter bar's would have set.
        e.DiametroModificado = 60;
        e.ScrollActivo = 1;
    }
};

void BM_DibujarPerfil(benchmark::State& state)
{
    Ventana v;
    for (auto _ : state)
        benchmark::DoNotOptimize(v.perfil.DibujarPerfil(v.e.EscalaHorizontal, v.e.EscalaVertical, v.e.AspectoPantalla));
}
BENCHMARK(BM_DibujarPerfil)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

// One step of a bar, back and forth between two neighbouring values.
void pasoDeBarra(benchmark::State& state, const char* barra, int a, int b, void (ModificacionDiseno::*cambio)())
{
    Ventana v;
    bool ida = true;
    for (auto _ : state) {
        v.graficos.barras[barra].valor = ida ? a : b;
        ida = !ida;
        (v.modificacion.*cambio)();
    }
}
BENCHMARK_CAPTURE(pasoDeBarra, base, "HScroll_ModificoBase", 47, 48, &ModificacionDiseno::HScroll_ModificoBase_Change)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(pasoDeBarra, diametro, "HScroll_ModificoDiametro", 60, 61,
                  &ModificacionDiseno::HScroll_ModificoDiametro_Change)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(pasoDeBarra, indice, "HScroll_ModificoIndice", 1, 2,
                  &ModificacionDiseno::HScroll_ModificoIndice_Change)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// The readout of the varied design, 10 mm from the centre.
void BM_LecturaCursor(benchmark::State& state)
{
    Ventana v;
    v.modificacion.HScroll_ModificoBase_Change();
    for (auto _ : state)
        benchmark::DoNotOptimize(v.modificacion.Form_MouseMove(245.0f, 100.0f));
}
BENCHMARK(BM_LecturaCursor)->Unit(benchmark::kNanosecond)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace
