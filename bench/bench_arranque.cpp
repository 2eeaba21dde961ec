// Start-up of the design window up to its first showing, with the starter
// catalogue and with a catalogue of 10,000 materials, offscreen.

#include "apoyo/dialogos_prueba.h"
#include "base_materiales.h"
#include "carpeta_datos.h"
#include "frm_vantora.h"
#include "programa.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

// A data folder whose catalogue holds the starter materials plus `extra` more.
std::unique_ptr<QTemporaryDir> carpetaCon(int extra)
{
    auto dir = std::make_unique<QTemporaryDir>();
    CarpetaDatos carpeta(dir->path().toStdString());
    DialogosPrueba dialogos;
    BaseMateriales base(carpeta.Archivo(CarpetaDatos::kMateriales));
    base.Abrir(dialogos);
    {
        QSqlDatabase bd = QSqlDatabase::addDatabase("QSQLITE", "bench_llenado");
        bd.setDatabaseName(base.archivo());
        bd.open();
        bd.transaction();
        QSqlQuery q(bd);
        q.prepare("INSERT INTO Tabla_Materiales (producto, \"descripción\", \"Provedor principal\", "
                  "\"indice de refracción\", densidad, abbe, material, \"material 2\") "
                  "VALUES (?, 'Resina de prueba', 'Proveedor', ?, 1.3, 40, 0, 1)");
        for (int i = 0; i < extra; ++i) {
            q.addBindValue(QString("Mat %1").arg(i));
            q.addBindValue(1.5 + (i % 300) / 1000.0);
            q.exec();
        }
        bd.commit();
    }
    QSqlDatabase::removeDatabase("bench_llenado");
    return dir;
}

void arrancar(benchmark::State& state)
{
    const auto dir = carpetaCon(static_cast<int>(state.range(0)));
    const CarpetaDatos carpeta(dir->path().toStdString());
    for (auto _ : state) {
        DialogosPrueba dialogos;
        Programa programa(carpeta, dialogos);
        programa.Mostrar();
        if (!QTest::qWaitForWindowExposed(&programa.diseno()))
            state.SkipWithError("la ventana no se mostró");
    }
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    state.counters["pico_MiB"] = uso.ru_maxrss / 1024.0;
}

} // namespace

BENCHMARK(arrancar)
    ->Arg(0)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
