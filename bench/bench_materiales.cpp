// The design's material list and look-ups on a catalogue of 10,000
// materials: the list is filled once when the design window opens, a look-up
// runs on every "Calcular" and on every move of the graphics window's index
// scroll bar.

#include "base_materiales.h"
#include "catalogo_sql.h"
#include "motor.h"
#include "mudos.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

class PantallaLista : public PantallaMuda {
public:
    std::vector<std::string> lista;
    void AgregarALista(std::string_view, std::string_view elemento) override { lista.emplace_back(elemento); }
};

constexpr int kMateriales = 10000;

// One catalogue file for the whole run: the starter catalogue followed by
// 10,000 more records.
struct Catalogo10000 {
    QTemporaryDir dir;
    std::unique_ptr<BaseMateriales> base;
    std::unique_ptr<CatalogoSql> catalogo;

    Catalogo10000()
    {
        const QString archivo = dir.filePath("materiales.mdb");
        DialogosMudos dialogos;
        base = std::make_unique<BaseMateriales>(archivo.toStdString());
        base->Abrir(dialogos);
        {
            QSqlDatabase bd = QSqlDatabase::addDatabase("QSQLITE", "llenar");
            bd.setDatabaseName(archivo);
            bd.open();
            bd.transaction();
            QSqlQuery q(bd);
            q.prepare("INSERT INTO Tabla_Materiales (producto, \"descripción\", \"Provedor principal\", "
                      "\"indice de refracción\", densidad, abbe, material, \"material 2\") "
                      "VALUES (?, 'Resina de prueba', 'Proveedor', ?, ?, 40, 0, 1)");
            for (int i = 1; i <= kMateriales; ++i) {
                q.addBindValue(QString("Mat %1").arg(i, 5, 10, QChar('0')));
                q.addBindValue(1.5 + (i % 40) * 0.01);
                q.addBindValue(1.1 + (i % 30) * 0.01);
                q.exec();
            }
            bd.commit();
        }
        QSqlDatabase::removeDatabase("llenar");
        catalogo = std::make_unique<CatalogoSql>(*base);
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
}
BENCHMARK(BM_CargarMateriales)->Unit(benchmark::kMillisecond);

// A name near the end of the table, a name in no record (the whole table is
// read), and a lone accented letter in no record: its pattern lets every
// record through and each is confirmed one by one, the slowest search.
void BM_BuscarPorNombre(benchmark::State& state, const char* nombre)
{
    CatalogoSql& catalogo = *Catalogo().catalogo;
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogo.BuscarPorNombre(nombre));
}
BENCHMARK_CAPTURE(BM_BuscarPorNombre, cerca_del_final, "mat 09999")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BuscarPorNombre, no_encontrado, "Trivex Plus")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BuscarPorNombre, solo_acento, "ñ")->Unit(benchmark::kMillisecond);

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
