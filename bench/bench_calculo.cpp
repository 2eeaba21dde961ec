// The full calculation of a click on "Calcular", as the graphics window's
// scroll bars and a laboratory script repeat it.

#include "motor.h"
#include "mudos.h"

#include <benchmark/benchmark.h>

namespace {

// The design window as typed: a base curve, or none, and the material.
class PantallaTecleada : public PantallaMuda {
public:
    std::string base;
    std::string Texto(std::string_view control) const override
    {
        return control == "Tx_BaseCrown" ? base : std::string("Vidrio");
    }
    void PonerTexto(std::string_view, std::string_view texto) override { benchmark::DoNotOptimize(texto.data()); }
};

class CatalogoUnico : public Catalogo {
public:
    std::vector<std::string> Productos() override { return {"Vidrio"}; }
    std::optional<Material> BuscarPorNombre(std::string_view) override { return m; }
    std::optional<Material> BuscarPorId(std::string_view) override { return m; }
    long long Cantidad() override { return 1; }
    Material m{1, "Vidrio", "", "", 1.5, 2.5, 58, true, false};
};

void calcular(benchmark::State& state, double diametro, const char* base)
{
    PantallaTecleada pantalla;
    pantalla.base = base;
    DialogosMudos dialogos;
    CatalogoUnico catalogo;
    for (auto _ : state) {
        EstadoDiseno e;
        e.PoderVertice = 4;
        e.CurvaBase = 6;
        e.DiametroInicial = diametro;
        e.EspesorBorde = 1;
        Motor motor(e, pantalla, pantalla, dialogos, catalogo);
        benchmark::DoNotOptimize(motor.CalcularCompleto());
        benchmark::DoNotOptimize(e.EspesorCentral.valor());
    }
}

} // namespace

// +4 D, base 6, 60 mm, edge 1 mm, n 1.5: three passes.
BENCHMARK_CAPTURE(calcular, ejemplo_60mm, 60.0, "6")->Repetitions(10)->ReportAggregatesOnly(true);
// 174.34 mm, beyond the front sphere: cut to 173.33 mm, ten passes.
BENCHMARK_CAPTURE(calcular, recortado_174mm, 174.34, "6")->Repetitions(10)->ReportAggregatesOnly(true);
// Base box empty: the base curve is suggested first.
BENCHMARK_CAPTURE(calcular, base_sugerida, 60.0, "")->Repetitions(10)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
