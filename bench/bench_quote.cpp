// The printed quote of a 255-kit order as a PDF, with and without the sash of
// each kit's row, beside its anchor: the HTML summary of the same view of
// the same order, priced from the same table, in the same run.
#include "core/export/ordersummary.h"
#include "core/export/quote.h"
#include "core/prices/pricetable.h"
#include "docs/quotedocument.h"
#include "support/order255.h"
#include "support/benchmain.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace lir;
using bench::openPrices;
using bench::order255;

CompanyDetails company()
{
    CompanyDetails c;
    c.name = QStringLiteral("ООО \"Окна Севера\"");
    c.address = QStringLiteral("г. Архангельск, ул. Ломоносова, д. 10, офис 5");
    c.phone = QStringLiteral("+7 8182 12-34-56");
    c.inn = QStringLiteral("2901234567");
    c.kpp = QStringLiteral("290101001");
    c.bank = QStringLiteral("р/с 40702810000000000001\nАО \"Банк\", БИК 041117000");
    c.signer = QStringLiteral("Иванов И. И.");
    c.vat = CompanyDetails::Vat::OnTop;
    c.validDays = 30;
    return c;
}

void BM_AnchorSummaryHtml(benchmark::State& state)
{
    openPrices();
    const auto view = SummaryView(state.range(0));
    const OrderGrid& grid = order255().order.grid(view);
    if (!order255().ok)
        state.SkipWithError("a kit of the order did not calculate");
    const QLocale locale(QLocale::Russian);
    for (auto _ : state) {
        const QByteArray doc = orderSummaryHtml(view, grid, QStringLiteral("10"), prices::documentLookup(), locale);
        benchmark::DoNotOptimize(doc.constData());
    }
    state.counters["rows"] = grid.rowCount() - 1;
}
BENCHMARK(BM_AnchorSummaryHtml)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

// The quote from the order's grid to the PDF's bytes, as "Сохранить в PDF"
// makes it: without the sashes of the kits' rows, and with them.
void quotePdf(benchmark::State& state, bool drawn)
{
    openPrices();
    const auto view = SummaryView(state.range(0));
    const OrderGrid& grid = order255().order.grid(view);
    if (!order255().ok)
        state.SkipWithError("a kit of the order did not calculate");
    qsizetype bytes = 0;
    int lines = 0;
    int pages = 0;
    for (auto _ : state) {
        const RowDrawings drawings = drawn ? kitRowDrawings(order255().order, view) : RowDrawings();
        const Quote q = orderQuote(grid, view, QStringLiteral("10"), QStringLiteral("Заказ от 09.12.2026"), 12,
                                   prices::documentLookup(), company(), QDate(2026, 12, 9), drawings);
        const QByteArray pdf = docs::quotePdf(q);
        bytes = pdf.size();
        lines = int(q.lines.size());
        pages = int(pdf.count("/Type /Page\n"));
        benchmark::DoNotOptimize(pdf.constData());
    }
    state.counters["lines"] = lines;
    state.counters["bytes"] = double(bytes);
    state.counters["pages"] = pages;
}

void BM_QuotePdf(benchmark::State& state)
{
    quotePdf(state, false);
}
BENCHMARK(BM_QuotePdf)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_QuotePdfDrawn(benchmark::State& state)
{
    quotePdf(state, true);
}
BENCHMARK(BM_QuotePdfDrawn)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Painting text takes a QGuiApplication; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return lir::bench::runBenchmarks(argc, argv);
}
