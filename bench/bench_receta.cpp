// One whole-prescription lens, as the job window solves it on every change:
// on a round blank and on a fine frame trace, without prism, with 2Δ and
// with 4Δ made by tilting the back.

#include "bordes.h"
#include "receta.h"
#include "trazo_fino.h"

#include <benchmark/benchmark.h>

namespace {

lente::Pedido pedido(double prisma) { return {{3.0, -1.5, 45.0, prisma, 180.0}, 1.5, 1.32, 7.0, 1.0, 0.0}; }

void resolver(benchmark::State& state, const lente::Pedido& pedido, const std::vector<lente::Punto>& borde)
{
    for (auto _ : state) {
        const lente::Solucion s = lente::Resolver(pedido, borde);
        benchmark::DoNotOptimize(s.resultado);
    }
}

void BM_BloqueRedondo60SinPrisma(benchmark::State& state) { resolver(state, pedido(0), lente::BordeRedondo(60.0)); }
void BM_BloqueRedondo60(benchmark::State& state) { resolver(state, pedido(2), lente::BordeRedondo(60.0)); }
void BM_BloqueRedondo60Prisma4(benchmark::State& state) { resolver(state, pedido(4), lente::BordeRedondo(60.0)); }
void BM_Trazo1000SinPrisma(benchmark::State& state) { resolver(state, pedido(0), TrazoFino()); }
void BM_Trazo1000(benchmark::State& state) { resolver(state, pedido(2), TrazoFino()); }
void BM_Trazo1000Prisma4(benchmark::State& state) { resolver(state, pedido(4), TrazoFino()); }

} // namespace

BENCHMARK(BM_BloqueRedondo60SinPrisma)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BloqueRedondo60)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BloqueRedondo60Prisma4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Trazo1000SinPrisma)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Trazo1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Trazo1000Prisma4)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
