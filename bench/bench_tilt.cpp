// One press of "РАСЧЕТ" in the tilt calculator: rules, grid, totals and the
// return of the parts table to its catalogue.
#include "core/base/dialogs.h"
#include "core/calc/tiltkit.h"

#include <benchmark/benchmark.h>

namespace {

// Error boxes are dropped: a recording box would grow with every iteration.
class NoDialogs : public lir::Dialogs
{
public:
    void errorBox(const QString&) override {}
    void messageBox(const QString&) override {}
    Answer question(const QString&) override { return Answer::No; }
    QString saveFileName(const QString&, const QString&) override { return {}; }
};

void setUp(lir::TiltKit& k, int h, int w)
{
    k.setFFH(h);
    k.setFFB(w);
    k.setRuchkaOkon(true);
    k.setProvetrivatel(true);
    k.setCheckBox1(true);
}

// The worked example's sizes with every option: a successful kit.
void BM_TiltCalculation(benchmark::State& state)
{
    NoDialogs quiet;
    lir::Dialogs* previous = lir::setDialogs(&quiet);
    lir::TiltKit k;
    setUp(k, 700, 600);
    for (auto _ : state) {
        k.RashetButtonClick();
        benchmark::DoNotOptimize(k.LineCount);
    }
    lir::setDialogs(previous);
}
BENCHMARK(BM_TiltCalculation);

// A refused size: the message path.
void BM_TiltCalculationFailed(benchmark::State& state)
{
    NoDialogs quiet;
    lir::Dialogs* previous = lir::setDialogs(&quiet);
    lir::TiltKit k;
    setUp(k, 1400, 600);
    for (auto _ : state) {
        k.RashetButtonClick();
        benchmark::DoNotOptimize(k.lastCalculationFailed());
    }
    lir::setDialogs(previous);
}
BENCHMARK(BM_TiltCalculationFailed);

// The floor of the design: copying the parts table back from its catalogue,
// as every calculation does once.
void BM_TiltCopyPartsTable(benchmark::State& state)
{
    lir::TiltKit k;
    for (auto _ : state) {
        lir::PartsTable parts = k.catalogue();
        parts[0].Quantity = 1; // a write, so the copy is a real one
        benchmark::DoNotOptimize(parts);
    }
}
BENCHMARK(BM_TiltCopyPartsTable);

} // namespace

BENCHMARK_MAIN();
