// The comparison of materials: one material, the ten of a laboratory's
// catalogue and a thousand, on a round blank and on a fine frame trace; and
// vantora-lente as a laboratory script runs it, one material against the
// whole table, where starting the process is the cost.

#include "bordes.h"
#include "comparar_materiales.h"
#include "trazo_fino.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// The README's lens: +3.00 −1.50 × 45 with 2Δ base 180°, 1 mm edge.
lente::Encargo encargo(std::vector<lente::Punto> borde)
{
    lente::Encargo e;
    e.receta = {3.0, -1.5, 45.0, 2.0, 180.0};
    e.borde = std::move(borde);
    e.exigencias.bordeUsuario = 1.0;
    e.exigencias.meridianoMasPositivo = lente::MeridianoMasPositivo(e.receta);
    return e;
}

// Indices and densities spread as a catalogue's are, from CR-39 to 1.9 glass.
std::vector<lente::MaterialLente> materiales(int n)
{
    std::vector<lente::MaterialLente> m;
    for (int i = 0; i < n; ++i) {
        const double indice = 1.498 + 0.4 * (i % 10) / 9.0;
        m.push_back({"M" + std::to_string(i), indice, 1.1 + 2.9 * (i % 10) / 9.0, 1.0 + 0.1 * (i % 10), ""});
    }
    return m;
}

void comparar(benchmark::State& state, const lente::Encargo& e, int n)
{
    const std::vector<lente::MaterialLente> lista = materiales(n);
    for (auto _ : state)
        benchmark::DoNotOptimize(lente::CompararMateriales(e, lista));
}

void BM_UnMaterialRedondo60(benchmark::State& s) { comparar(s, encargo(lente::BordeRedondo(60)), 1); }
void BM_DiezMaterialesRedondo60(benchmark::State& s) { comparar(s, encargo(lente::BordeRedondo(60)), 10); }
void BM_MilMaterialesRedondo60(benchmark::State& s) { comparar(s, encargo(lente::BordeRedondo(60)), 1000); }
void BM_UnMaterialTrazo1000(benchmark::State& s) { comparar(s, encargo(TrazoFino()), 1); }
void BM_DiezMaterialesTrazo1000(benchmark::State& s) { comparar(s, encargo(TrazoFino()), 10); }

// The program run to its end on a data folder with the starter catalogue.
void programa(benchmark::State& state, std::vector<std::string> argumentos)
{
    const std::filesystem::path carpeta = std::filesystem::temp_directory_path() / "bench_comparar_datos";
    std::filesystem::create_directories(carpeta);
    for (const char* a : {"--esfera", "3", "--cilindro", "-1.5", "--eje", "45", "--prisma", "2", "--base-prisma", "180",
                          "--diametro", "60", "--borde-min", "1", "--datos"})
        argumentos.emplace_back(a);
    argumentos.push_back(carpeta.string());
    std::vector<char*> argv;
    for (std::string& a : argumentos)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t silencio;
    posix_spawn_file_actions_init(&silencio);
    posix_spawn_file_actions_addopen(&silencio, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        int estado = 0;
        if (posix_spawn(&pid, argv[0], &silencio, nullptr, argv.data(), environ) != 0 ||
            waitpid(pid, &estado, 0) != pid || !WIFEXITED(estado) || WEXITSTATUS(estado) != 0)
            state.SkipWithError("vantora-lente no terminó bien");
    }
    posix_spawn_file_actions_destroy(&silencio);
}

void BM_ProgramaUnMaterial(benchmark::State& s) { programa(s, {VANTORA_LENTE, "--material", "CR-39"}); }
void BM_ProgramaComparar(benchmark::State& s) { programa(s, {VANTORA_LENTE, "--comparar"}); }

} // namespace

BENCHMARK(BM_UnMaterialRedondo60)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DiezMaterialesRedondo60)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MilMaterialesRedondo60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnMaterialTrazo1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DiezMaterialesTrazo1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProgramaUnMaterial)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProgramaComparar)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
