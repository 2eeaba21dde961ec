// The design's material list and look-ups on a catalogue of 10,000
// materials: the list is filled once when the design window opens, a look-up
// runs on every "Calcular" and on every move of the graphics window's index
// scroll bar. The catalogue is a SQLite file; run under pg_virtualenv with
// VANTORA_PRUEBA_ALMACEN=postgresql it is a database on that server:
//
//     pg_virtualenv -t env VANTORA_PRUEBA_ALMACEN=postgresql build/bench/bench_materiales

#include "apoyo/materiales_prueba.h"
#include "catalogo_sql.h"
#include "motor.h"
#include "mudos.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

class PantallaLista : public PantallaMuda {
public:
    std::vector<std::string> lista;
    void AgregarALista(std::string_view, std::string_view elemento) override { lista.emplace_back(elemento); }
};

constexpr int kMateriales = 10000;

// One catalogue for the whole run: the starter catalogue followed by 10,000
// more records, "Mat 100001" to "Mat 110000", written by one statement that
// both stores read alike.
struct Catalogo10000 {
    std::unique_ptr<CatalogoPrueba> prueba;
    std::unique_ptr<BaseMateriales> base;
    std::unique_ptr<CatalogoSql> catalogo;

    Catalogo10000()
    {
        almacen_prueba::Preparar();
        prueba = std::make_unique<CatalogoPrueba>();
        base = std::make_unique<BaseMateriales>(prueba->ubicacion());
        DialogosMudos dialogos;
        base->Abrir(dialogos);
        prueba->Ejecutar(
            {{QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                      "INSERT INTO \"Tabla_Materiales\" (producto, \"descripción\", \"Provedor principal\", "
                      "\"indice de refracción\", densidad, abbe, material, \"material 2\") "
                      "SELECT 'Mat ' || CAST(100000 + i AS TEXT), 'Resina de prueba', 'Proveedor', "
                      "1.5 + (i % 40) * 0.01, 1.1 + (i % 30) * 0.01, 40, false, true FROM n")
                  .arg(kMateriales)}});
        catalogo = std::make_unique<CatalogoSql>(*base);
    }
    ~Catalogo10000()
    {
        catalogo.reset();
        almacen_prueba::Terminar();
    }
};

Catalogo10000& Catalogo()
{
    static Catalogo10000 c;
    return c;
}

void BM_CargarMateriales(benchmark::State& state)
{
    EstadoDiseno estado;
    DialogosMudos dialogos;
    for (auto _ : state) {
        PantallaLista pantalla;
        Motor motor(estado, pantalla, pantalla, dialogos, *Catalogo().catalogo);
        motor.CargarMateriales();
        benchmark::DoNotOptimize(pantalla.lista.data());
    }
    state.counters["materiales"] = double(Catalogo().catalogo->Cantidad());
}
BENCHMARK(BM_CargarMateriales)->Unit(benchmark::kMillisecond);

// A name near the end of the table; a name in no record (the whole table is
// read); a lone accented letter in no record (nothing for the store to
// search by, so every name is checked here, the slowest search); and search
// texts of 16 and 255 letters in no record, for how the time grows with the
// text's length.
void BM_BuscarPorNombre(benchmark::State& state, std::string nombre)
{
    CatalogoSql& catalogo = *Catalogo().catalogo;
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogo.BuscarPorNombre(nombre));
}
BENCHMARK_CAPTURE(BM_BuscarPorNombre, cerca_del_final, std::string("mat 109999"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BuscarPorNombre, no_encontrado, std::string("Trivex Plus"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BuscarPorNombre, solo_acento, std::string("ñ"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BuscarPorNombre, texto_16, std::string(15, 'a') + "b")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BuscarPorNombre, texto_255, std::string(254, 'a') + "b")->Unit(benchmark::kMillisecond);

void BM_BuscarPorId(benchmark::State& state)
{
    CatalogoSql& catalogo = *Catalogo().catalogo;
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogo.BuscarPorId("9999"));
}
BENCHMARK(BM_BuscarPorId)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
