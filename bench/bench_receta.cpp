// One whole-prescription lens, as the job window solves it on every change:
// on a round blank and on a fine frame trace, without prism, with 2Δ and
// with 4Δ made by tilting the back.

#include "bordes.h"
#include "receta.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <numbers>

namespace {

lente::Pedido pedido(double prisma) { return {{3.0, -1.5, 45.0, prisma, 180.0}, 1.5, 1.32, 7.0, 1.0, 0.0}; }

void resolver(benchmark::State& state, const lente::Pedido& pedido, const std::vector<lente::Punto>& borde)
{
    for (auto _ : state) {
        const lente::Solucion s = lente::Resolver(pedido, borde);
        benchmark::DoNotOptimize(s.resultado);
    }
}

// A rounded-rectangle frame of 52 × 40 mm traced at 1,000 radii, decentred
// 4 mm nasally as a 62 mm PD on an 18 mm bridge puts it.
std::vector<lente::Punto> trazo()
{
    std::vector<lente::Punto> forma;
    for (int i = 0; i < 1000; ++i) {
        const double a = 2.0 * std::numbers::pi * i / 1000.0;
        const double c = std::cos(a), s = std::sin(a);
        const double r = 1.0 / std::pow(std::pow(std::fabs(c) / 26.0, 4.0) + std::pow(std::fabs(s) / 20.0, 4.0), 0.25);
        forma.push_back({r * c, r * s});
    }
    return lente::Descentrar(forma, lente::Ojo::Derecho, lente::Centrado{18.0, 31.0, 20.0});
}

void BM_BloqueRedondo60SinPrisma(benchmark::State& state) { resolver(state, pedido(0), lente::BordeRedondo(60.0)); }
void BM_BloqueRedondo60(benchmark::State& state) { resolver(state, pedido(2), lente::BordeRedondo(60.0)); }
void BM_BloqueRedondo60Prisma4(benchmark::State& state) { resolver(state, pedido(4), lente::BordeRedondo(60.0)); }
void BM_Trazo1000SinPrisma(benchmark::State& state) { resolver(state, pedido(0), trazo()); }
void BM_Trazo1000(benchmark::State& state) { resolver(state, pedido(2), trazo()); }
void BM_Trazo1000Prisma4(benchmark::State& state) { resolver(state, pedido(4), trazo()); }

} // namespace

BENCHMARK(BM_BloqueRedondo60SinPrisma)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BloqueRedondo60)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BloqueRedondo60Prisma4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Trazo1000SinPrisma)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Trazo1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Trazo1000Prisma4)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
