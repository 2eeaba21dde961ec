// One whole-prescription lens, as the job window solves it on every change:
// on a round blank and on a fine frame trace.

#include "bordes.h"
#include "receta.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <numbers>

namespace {

const lente::Pedido kPedido{{3.0, -1.5, 45.0, 2.0, 180.0}, 1.5, 1.32, 7.0, 1.0, 0.0};

void resolver(benchmark::State& state, const std::vector<lente::Punto>& borde)
{
    for (auto _ : state) {
        const lente::Solucion s = lente::Resolver(kPedido, borde);
        benchmark::DoNotOptimize(s.resultado);
    }
}

void BM_BloqueRedondo60(benchmark::State& state) { resolver(state, lente::BordeRedondo(60.0)); }

// A rounded-rectangle frame of 52 × 40 mm traced at 1,000 radii, decentred
// 4 mm nasally as a 62 mm PD on an 18 mm bridge puts it.
void BM_Trazo1000(benchmark::State& state)
{
    std::vector<lente::Punto> forma;
    for (int i = 0; i < 1000; ++i) {
        const double a = 2.0 * std::numbers::pi * i / 1000.0;
        const double c = std::cos(a), s = std::sin(a);
        const double r = 1.0 / std::pow(std::pow(std::fabs(c) / 26.0, 4.0) + std::pow(std::fabs(s) / 20.0, 4.0), 0.25);
        forma.push_back({r * c, r * s});
    }
    resolver(state, lente::Descentrar(forma, lente::Ojo::Derecho, lente::Centrado{18.0, 31.0, 20.0}));
}

} // namespace

BENCHMARK(BM_BloqueRedondo60)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Trazo1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
