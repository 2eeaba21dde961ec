// The drawing surface: the flood fill of a large lens body, and the clearing
// and arcs that begin every redraw of a varied design.

#include "lienzo_imagen.h"

#include <benchmark/benchmark.h>

#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr Color kOro{255, 250, 55};

// An ellipse as wide as the surface and cut at its top and bottom: the fill
// covers about 140,000 of the 179,400 pixels. Filling again does the same
// work, since the visited mask, not the colours, decides what is painted.
void BM_RellenarElipse(benchmark::State& state)
{
    LienzoImagen lienzo;
    lienzo.Elipse(150, 100, 150, kOro, 0.6);
    lienzo.EstiloRelleno(Lienzo::Relleno::Solido);
    lienzo.ColorRelleno({128, 128, 255});
    for (auto _ : state) {
        lienzo.RellenarDesde(276, 162, kOro);
        benchmark::DoNotOptimize(lienzo.imagen().constBits());
    }
}
BENCHMARK(BM_RellenarElipse)->Unit(benchmark::kMicrosecond);

// A profile's curves: the front face twice, a nearly flat back face twice
// (its arc crosses angle 0) and the front view.
void BM_LimpiarYArcos(benchmark::State& state)
{
    LienzoImagen lienzo;
    for (auto _ : state) {
        lienzo.Limpiar();
        lienzo.Arco(350, 100, 200, kOro, kPi - 0.35, kPi + 0.35, 1);
        lienzo.Arco(350.5, 100, 200, kOro, kPi - 0.35, kPi + 0.35, 1);
        lienzo.Arco(160 - 2000, 100, 2000, kOro, 2 * kPi - 0.035, 0.035, 1);
        lienzo.Arco(160 - 2000 - 0.5, 100, 2000, kOro, 2 * kPi - 0.035, 0.035, 1);
        lienzo.Elipse(230, 100, 60, kOro, 1);
        benchmark::DoNotOptimize(lienzo.imagen().constBits());
    }
}
BENCHMARK(BM_LimpiarYArcos)->Unit(benchmark::kMicrosecond);

// A whole circle of radius 1e6 units whose edge passes through the surface:
// the work follows the few hundred pixels that show.
void BM_ElipseEnorme(benchmark::State& state)
{
    LienzoImagen lienzo;
    for (auto _ : state) {
        lienzo.Elipse(150 + 1e6, 100, 1e6, kOro, 1);
        benchmark::DoNotOptimize(lienzo.imagen().constBits());
    }
}
BENCHMARK(BM_ElipseEnorme)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
