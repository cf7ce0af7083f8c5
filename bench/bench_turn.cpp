#include "core/base/dialogs.h"
#include "core/calc/turnkit.h"
#include "support/benchmain.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

// One "РАСЧЕТ" of the turn calculator: a standard kit and a kit rebuilt around
// an off-centre handle, with texts by profile and a kit count.
namespace {

void setUp(lir::TurnKit& k, bool offCentre)
{
    k.setComplekt(1);
    k.setNazvSystemProfiles(13); // KBE Expert
    k.setKolKomlektov(10);
    k.setRuchkaOkon(true);
    k.setFFH(1000);
    k.setFFB(800);
    if (offCentre) {
        k.setRuchkaVcentre(false);
        k.setGH(280);
    }
}

void BM_TurnStandardKit(benchmark::State& state)
{
    lir::TurnKit k;
    setUp(k, false);
    for (auto _ : state) {
        k.RashetButtonClick();
        benchmark::DoNotOptimize(k.LineCount);
    }
    if (k.lastCalculationFailed())
        state.SkipWithError("calculation failed");
}
BENCHMARK(BM_TurnStandardKit);

void BM_TurnOffCentreKit(benchmark::State& state)
{
    lir::TurnKit k;
    setUp(k, true);
    for (auto _ : state) {
        k.RashetButtonClick();
        benchmark::DoNotOptimize(k.LineCount);
    }
    if (k.lastCalculationFailed())
        state.SkipWithError("calculation failed");
}
BENCHMARK(BM_TurnOffCentreKit);

// The floor of the design: copying the parts table back from its catalogue,
// as every calculation does once.
void BM_TurnCopyPartsTable(benchmark::State& state)
{
    lir::TurnKit k;
    for (auto _ : state) {
        lir::PartsTable parts = k.catalogue();
        parts[0].Quantity = 1; // a write, so the copy is a real one
        benchmark::DoNotOptimize(parts);
    }
}
BENCHMARK(BM_TurnCopyPartsTable);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return lir::bench::runBenchmarks(argc, argv);
}
