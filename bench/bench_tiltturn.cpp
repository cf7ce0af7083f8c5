#include "core/base/dialogs.h"
#include "core/calc/tiltturnkit.h"

#include <benchmark/benchmark.h>

namespace {

// One "РАСЧЕТ" of the standard kit ЛИР-6742-33АМR100.
void BM_TiltTurnStandardKit(benchmark::State& state)
{
    lir::RecordingDialogs dialogs;
    lir::setDialogs(&dialogs);
    lir::TiltTurnKit k;
    k.setFFH(1400);
    k.setFFB(700);
    for (auto _ : state) {
        k.RashetButtonClick();
        benchmark::DoNotOptimize(k.LineCount);
    }
    if (k.lastCalculationFailed() || k.LineCount != 17)
        state.SkipWithError("the worked example did not calculate");
    lir::setDialogs(nullptr);
}
BENCHMARK(BM_TiltTurnStandardKit);

// One "РАСЧЕТ" of a kit rebuilt around an off-centre handle, every option on.
void BM_TiltTurnOffCentreKit(benchmark::State& state)
{
    lir::RecordingDialogs dialogs;
    lir::setDialogs(&dialogs);
    lir::TiltTurnKit k;
    k.setRuchkaVcentre(false);
    k.setFFH(2000);
    k.setFFB(900);
    k.setGH(950);
    k.setCbZapor(true);
    k.setProvetrivatel(true);
    k.setPlankaMicrovent(true);
    k.setCheckBox1(true);
    k.setRuchkaOkon(true);
    for (auto _ : state) {
        k.RashetButtonClick();
        benchmark::DoNotOptimize(k.LineCount);
    }
    if (k.lastCalculationFailed())
        state.SkipWithError("the off-centre kit did not calculate");
    lir::setDialogs(nullptr);
}
BENCHMARK(BM_TiltTurnOffCentreKit);

// The floor of the design: copying the parts table back from its catalogue,
// as every calculation does once.
void BM_TiltTurnCopyPartsTable(benchmark::State& state)
{
    lir::TiltTurnKit k;
    for (auto _ : state) {
        lir::PartsTable parts = k.catalogue();
        parts[0].Quantity = 1; // a write, so the copy is a real one
        benchmark::DoNotOptimize(parts);
    }
}
BENCHMARK(BM_TiltTurnCopyPartsTable);

} // namespace

BENCHMARK_MAIN();
