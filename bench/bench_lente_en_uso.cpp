// The lens as worn, as the job window and the exchange ask for it: one gaze,
// the compensated lens with its thickness, the field of 49 gazes, a map of
// the field for both eyes and the best-form base, on a toric lens tilted 10°
// and wrapped 6°.

#include "bordes.h"
#include "compensacion.h"
#include "errores_campo.h"

#include <benchmark/benchmark.h>

namespace {

const lente::Pedido kPedido{{-3.25, -1.25, 35.0, 0.0, 0.0}, 1.6, 1.3, 4.0, 1.0, 1.5};
const lente::Montaje kMontaje{lente::Ojo::Derecho, 10.0, 6.0, 12.0};
const std::vector<lente::Punto> kBorde = lente::BordeRedondo(65.0);

const lente::SolucionEnUso& compensada()
{
    static const lente::SolucionEnUso uso = lente::ResolverEnUso(kPedido, kBorde, kMontaje);
    return uso;
}

void BM_UnaMirada(benchmark::State& state)
{
    const lente::LenteEnUso enUso(compensada().optica, kMontaje);
    for (auto _ : state)
        benchmark::DoNotOptimize(enUso.Vergencia({20.0, -10.0}));
}

void BM_CompensacionBloque65(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(lente::ResolverEnUso(kPedido, kBorde, kMontaje).frontofocometro);
}

void BM_Campo49(benchmark::State& state)
{
    const std::vector<lente::Mirada> miradas = lente::MiradasDelCampo();
    for (auto _ : state)
        benchmark::DoNotOptimize(lente::ErroresCampo(compensada().optica, kMontaje, kPedido.receta, miradas));
}

// A map of the errors over gaze ±30° in steps of 2°, both eyes.
void BM_MapaAmbosOjos(benchmark::State& state)
{
    std::vector<lente::Mirada> miradas;
    for (int v = 30; v >= -30; v -= 2)
        for (int h = -30; h <= 30; h += 2)
            miradas.push_back({double(h), double(v)});
    const lente::Receta izquierda{kPedido.receta.esfera, kPedido.receta.cilindro, 180.0 - kPedido.receta.eje, 0, 0};
    lente::Montaje montajeIzquierdo = kMontaje;
    montajeIzquierdo.ojo = lente::Ojo::Izquierdo;
    const lente::SolucionEnUso otro =
        lente::ResolverEnUso({izquierda, 1.6, 1.3, 4.0, 1.0, 1.5}, kBorde, montajeIzquierdo);
    for (auto _ : state) {
        benchmark::DoNotOptimize(lente::ErroresCampo(compensada().optica, kMontaje, kPedido.receta, miradas));
        benchmark::DoNotOptimize(lente::ErroresCampo(otro.optica, montajeIzquierdo, izquierda, miradas));
    }
}

void BM_MejorBase(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(lente::BuscarMejorBase(kPedido, kBorde, kMontaje));
}

} // namespace

BENCHMARK(BM_UnaMirada)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompensacionBloque65)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Campo49)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MapaAmbosOjos)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MejorBase)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
