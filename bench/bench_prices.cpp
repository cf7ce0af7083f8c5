// Pricing a kit: every line of a kit sheet is one lookup on the delivered
// price table, as the editor keeps it open; a sheet prices its lines through
// one document's lookup (the table asked once whether it changed).
#include "core/db/storage.h"
#include "core/calc/turnkit.h"
#include "core/export/kitsheet.h"
#include "core/prices/pricetable.h"
#include "support/benchmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unordered_map>

using lir::db::Table;

namespace {

// The delivered table, copied aside and opened once.
Table& deliveredTable()
{
    static QTemporaryDir dir;
    static Table* table = [] {
        const QString copy = QDir(dir.path()).filePath(lir::prices::tableFile());
        if (!QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), copy))
            std::fprintf(stderr, "no delivered price table in %s\n", LIR_BINARY_DIR);
        lir::db::setNetFileDir(dir.path());
        return &Table::open(lir::prices::tableFile());
    }();
    return *table;
}

// 27 designations spread over the whole table, so that the current row
// jumps back and forth as it does between the lines of a sheet.
QStringList spreadKit()
{
    const auto rows = deliveredTable().query(QStringLiteral("SELECT oboznashenie FROM zeni ORDER BY rowid"));
    QStringList kit;
    for (int i = 0; i < 27; ++i)
        kit << rows[(i * 37) % rows.size()][0].toString();
    return kit;
}

// A real kit: the large clamp kit of the turn calculator with every option,
// its lines and the two screws.
QStringList turnKit()
{
    lir::TurnKit calc;
    calc.setComplekt(1);
    calc.setFFH(2000);
    calc.setFFB(1000);
    calc.setRuchkaOkon(true);
    calc.setProvetrivatel(true);
    calc.setBalkonnayaZaschelka(true);
    calc.RashetButtonClick();
    QStringList kit;
    for (int r = 1; r <= calc.LineCount; ++r)
        kit << calc.gridCell(r, 0);
    kit << lir::screwDesignation25() << lir::screwDesignation40();
    return kit;
}

// As a sheet prices its lines: one document's lookup, made and dropped per
// kit (its check of the table and the positioning on the last row included).
void priceKit(benchmark::State& state, const QStringList& kit)
{
    deliveredTable();
    int found = 0;
    for (auto _ : state) {
        const lir::PriceLookup lookup = lir::prices::documentLookup();
        double sum = 0;
        for (const QString& d : kit) {
            const lir::PriceResult r = lookup(d);
            found += r.found ? 1 : 0;
            sum += r.price.value_or(0);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["lines"] = double(kit.size());
    state.counters["found"] = benchmark::Counter(found, benchmark::Counter::kAvgIterations);
}

void BM_Price27LineKit(benchmark::State& state)
{
    priceKit(state, spreadKit());
}
BENCHMARK(BM_Price27LineKit)->Unit(benchmark::kMicrosecond);

// The anchor: the same 27 lookups in a plain map of the whole table.
void BM_Price27LinesUnorderedMap(benchmark::State& state)
{
    const auto rows = deliveredTable().query(QStringLiteral("SELECT oboznashenie, zena FROM zeni ORDER BY rowid"));
    std::unordered_map<QString, double> map;
    for (const auto& row : rows)
        map.emplace(row[0].toString(), row[1].toDouble());
    const QStringList kit = spreadKit();
    for (auto _ : state) {
        double sum = 0;
        for (const QString& d : kit)
            if (const auto it = map.find(d); it != map.end())
                sum += it->second;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_Price27LinesUnorderedMap)->Unit(benchmark::kMicrosecond);

// Line by line through LookupPrice, each lookup on its own.
void BM_Price27LineKitLineByLine(benchmark::State& state)
{
    const QStringList kit = spreadKit();
    for (auto _ : state) {
        double sum = 0;
        for (const QString& d : kit)
            sum += lir::LookupPrice(d).price.value_or(0);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_Price27LineKitLineByLine)->Unit(benchmark::kMicrosecond);

void BM_PriceTurnKit(benchmark::State& state)
{
    priceKit(state, turnKit());
}
BENCHMARK(BM_PriceTurnKit)->Unit(benchmark::kMicrosecond);

// The same kit inside one transaction of the price table: the figure without
// the read transaction that SQLite begins and ends around every single lookup
// (file locks and the check of the file's change counter).
void BM_Price27LineKitInOneTransaction(benchmark::State& state)
{
    const QStringList kit = spreadKit();
    Table& t = deliveredTable();
    for (auto _ : state) {
        lir::db::Transaction tx(t);
        double sum = 0;
        for (const QString& d : kit)
            sum += lir::LookupPrice(d).price.value_or(0);
        benchmark::DoNotOptimize(sum);
        tx.done();
    }
}
BENCHMARK(BM_Price27LineKitInOneTransaction)->Unit(benchmark::kMicrosecond);

void BM_LookupNotFound(benchmark::State& state)
{
    deliveredTable();
    for (auto _ : state)
        benchmark::DoNotOptimize(lir::LookupPrice(QStringLiteral("6742.99.99-99")).found);
}
BENCHMARK(BM_LookupNotFound)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int status = lir::bench::runBenchmarks(argc, argv);
    lir::db::Table::closeAll();
    return status;
}
