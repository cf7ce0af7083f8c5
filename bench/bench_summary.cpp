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
#include "support/order255.h"
#include "core/orders/ordermodel.h"
#include "core/prices/pricetable.h"
#include "support/benchmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using namespace lir;
using bench::openPrices;
using bench::order255;

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
    return lir::bench::runBenchmarks(argc, argv);
}
