// One job as a folder run answers it: both eyes on a 360-radius frame trace,
// the request read from its file and the answer written whole beside the
// others. Ten thousand jobs in 20 s is 2 ms a job.

#include "archivos.h"
#include "escritura_lote.h"
#include "etiquetas_dcs.h"
#include "responder_trabajo.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>

namespace {

// A 52 × 40 mm rounded rectangle, 360 radii in hundredths of a millimetre.
std::string pedido()
{
    std::string t = "JOB=B1\r\nDO=B\r\nSPH=2.00;-3.25\r\nCYL=-0.75;-1.00\r\nAX=90;10\r\nPRVM=1;0\r\nPRVA=0;?\r\n"
                    "LIND=1.6;1.6\r\nETYP=1\r\nIPD=31;32\r\nOCHT=20;20\r\nDBL=18\r\nTRCFMT=1;360;E;R;F\r\n";
    for (int i = 0; i < 360; ++i) {
        const double a = 2.0 * std::numbers::pi * i / 360.0;
        const double r =
            1.0 /
            std::pow(std::pow(std::fabs(std::cos(a)) / 26.0, 4.0) + std::pow(std::fabs(std::sin(a)) / 20.0, 4.0), 0.25);
        t += (i % 10 == 0 ? "R=" : ";") + std::to_string(std::lround(r * 100.0)) + (i % 10 == 9 ? "\r\n" : "");
    }
    return t;
}

void BM_TrabajoEnMemoria(benchmark::State& state)
{
    const std::string texto = pedido();
    for (auto _ : state) {
        std::string error;
        const auto p = dcs::Pedido::Leer(texto, error);
        benchmark::DoNotOptimize(trabajos::Responder(*p, nullptr).texto);
    }
}

void BM_TrabajoConArchivos(benchmark::State& state)
{
    const std::filesystem::path carpeta = std::filesystem::temp_directory_path() / "vantora_bench_trabajos";
    std::filesystem::create_directories(carpeta);
    std::string error;
    ReemplazarArchivo(carpeta / "B1.dcs", pedido(), error);
    std::size_t fallas = 0;
    {
        // Each answer under a name of its own, flushed a batch at a time, as
        // the folder run writes them.
        EscrituraEnLote escritura([&](const std::filesystem::path&, const std::string&) { ++fallas; });
        std::size_t n = 0;
        for (auto _ : state) {
            std::string texto;
            LeerArchivo(carpeta / "B1.dcs", texto, error, dcs::kPedidoMaximo);
            const auto p = dcs::Pedido::Leer(texto, error);
            if (!escritura.Agregar(carpeta / ("R" + std::to_string(n++ % 10000) + ".rsp"),
                                   trabajos::Responder(*p, nullptr).texto, error))
                ++fallas;
        }
        escritura.Confirmar();
    }
    if (fallas > 0)
        state.SkipWithError("no se pudieron escribir todas las respuestas");
    std::filesystem::remove_all(carpeta);
}

} // namespace

BENCHMARK(BM_TrabajoEnMemoria)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TrabajoConArchivos)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
