// One job ticket of the worked example rendered to a PDF in memory: fonts,
// figures, the barcode and the true-size drawing, as the preview and
// vantora-perfil --pdf render it. Aim: under 50 ms.

#include "orden_pdf.h"
#include "registro_diseno.h"

#include <benchmark/benchmark.h>

namespace {

void BM_OrdenPdf(benchmark::State& state)
{
    OrdenTrabajo orden = OrdenDelRegistro({5.7361377, -1.840299, 1.5, 60, 1, 4.664, 4, 1.32, "CR39"});
    orden.numero = "VT-20261206-2130";
    orden.fechaHora = "06/12/2026 21:30";
    for (auto _ : state) {
        const QByteArray pdf = OrdenPdf(orden);
        benchmark::DoNotOptimize(pdf.constData());
    }
}
BENCHMARK(BM_OrdenPdf)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace
