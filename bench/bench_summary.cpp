// The priced order summary of a 255-kit order, one HTML document per view,
// priced from the delivered price table as the export does (one document's
// lookup, the table asked once whether it changed). The anchor is
// the price lookups of the same rows alone.
#include "core/base/dialogs.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/db/storage.h"
#include "core/export/ordersummary.h"
#include "core/orders/ordermodel.h"
#include "core/prices/pricetable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using namespace lir;

constexpr int Kits = 255;

// The delivered price table, copied aside and opened once.
void openPrices()
{
    static QTemporaryDir dir;
    static bool opened = [] {
        const QString copy = QDir(dir.path()).filePath(prices::tableFile());
        if (!QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), copy))
            std::fprintf(stderr, "no delivered price table in %s\n", LIR_BINARY_DIR);
        db::setNetFileDir(dir.path());
        prices::open();
        return true;
    }();
    (void)opened;
}

// 255 kits of the three calculators in turn, over a spread of sizes, options
// and both profile types.
struct Order255
{
    RecordingDialogs dialogs;
    TurnKit turn;
    TiltTurnKit tiltTurn;
    TiltKit tilt;
    OrderModel order;
    bool ok = true;

    Order255()
    {
        setDialogs(&dialogs);
        order.setCalculators(&turn, &tiltTurn, &tilt);
        setOrderSink(&order);
        for (int i = 0; i < Kits && ok; ++i) {
            const int n = i / 3;
            KitCalculator* c = nullptr;
            if (i % 3 == 0) {
                turn.setProfilType(n % 4 == 3 ? 1 : 0);
                turn.setFFH(300 + (n * 37) % 1700);
                turn.setFFB(200 + (n * 23) % 600);
                turn.setRuchkaOkon(n % 5 == 0);
                turn.setKolKomlektov(1 + n % 4);
                turn.setRal(n % 2 ? 9016 : 8017);
                c = &turn;
            } else if (i % 3 == 1) {
                tiltTurn.setProfilType(n % 5 == 4 ? 1 : 0);
                tiltTurn.setFFH(500 + (n * 53) % 1800);
                tiltTurn.setFFB(440 + (n * 31) % 860);
                tiltTurn.setCbZapor(n % 4 == 1);
                tiltTurn.setPolStvorki(n % 2);
                tiltTurn.setKolKomlektov(1 + n % 3);
                c = &tiltTurn;
            } else {
                tilt.setProfilType(n % 4 == 2 ? 1 : 0);
                tilt.setFFH(300 + (n * 17) % 500);
                tilt.setFFB(400 + (n * 43) % 1600);
                tilt.setKolKomlektov(1 + n % 2);
                c = &tilt;
            }
            c->RashetButtonClick();
            ok = !c->lastCalculationFailed();
            if (ok)
                c->SumButtonClick();
        }
        ok = ok && order.EntryCount() == Kits;
        setOrderSink(nullptr);
        setDialogs(nullptr);
    }
};

const Order255& order255()
{
    static const Order255 o;
    return o;
}

void BM_AnchorLookups(benchmark::State& state)
{
    openPrices();
    const auto view = SummaryView(state.range(0));
    const OrderGrid& grid = order255().order.grid(view);
    if (!order255().ok)
        state.SkipWithError("a kit of the order did not calculate");
    for (auto _ : state)
        for (int r = 1; r < grid.rowCount(); ++r)
            benchmark::DoNotOptimize(LookupPrice(grid.cell(r, 0)).found);
    state.counters["rows"] = grid.rowCount() - 1;
}
BENCHMARK(BM_AnchorLookups)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_SummaryHtml(benchmark::State& state)
{
    openPrices();
    const auto view = SummaryView(state.range(0));
    const OrderGrid& grid = order255().order.grid(view);
    if (!order255().ok)
        state.SkipWithError("a kit of the order did not calculate");
    const QLocale locale(QLocale::Russian);
    qsizetype bytes = 0;
    for (auto _ : state) {
        // As the export prices a summary: one document's lookup.
        const QByteArray doc = orderSummaryHtml(view, grid, QStringLiteral("10"), prices::documentLookup(), locale);
        bytes = doc.size();
        benchmark::DoNotOptimize(doc.constData());
    }
    state.counters["rows"] = grid.rowCount() - 1;
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_SummaryHtml)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

// The workbook of the largest view, written to a file as the export does.
void BM_SummaryXlsxCombined(benchmark::State& state)
{
    openPrices();
    QTemporaryDir out;
    const OrderGrid& grid = order255().order.grid(OrderModel::KitsAndComponents);
    const QString path = QDir(out.path()).filePath(QStringLiteral("summary.xlsx"));
    for (auto _ : state)
        writeOrderSummaryXlsx(path, OrderModel::KitsAndComponents, grid, QStringLiteral("10"),
                              prices::documentLookup());
    state.counters["rows"] = grid.rowCount() - 1;
}
BENCHMARK(BM_SummaryXlsxCombined)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
