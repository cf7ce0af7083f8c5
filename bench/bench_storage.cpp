// The price lookup of every sheet line is one exact locate on the price table.
#include "core/db/storage.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using lir::db::FieldDef;
using lir::db::Table;

namespace {

constexpr int kRows = 2000;

QString designationOf(int i)
{
    return QStringLiteral("6742.%1.00-20").arg(i, 4, 10, QLatin1Char('0'));
}

// A price table of kRows rows in its own directory; indexed or not on the designation.
Table& priceTable(bool indexed)
{
    static QTemporaryDir dirs[2];
    QTemporaryDir& dir = dirs[indexed ? 1 : 0];
    lir::db::setNetFileDir(dir.path());
    const QString file = indexed ? QStringLiteral("zeni.db") : QStringLiteral("zeni_plain.db");
    if (Table::isOpen(file))
        return Table::open(file);
    Table::create(file, {{QStringLiteral("oboznashenie"), FieldDef::Type::Text, 40, indexed},
                         {QStringLiteral("nazvanie"), FieldDef::Type::Text, 100},
                         {QStringLiteral("zena"), FieldDef::Type::Double}});
    Table& t = Table::open(file);
    lir::db::Transaction tx(t);
    for (int i = 0; i < kRows; ++i) {
        t.insert();
        t.setValue(QStringLiteral("oboznashenie"), designationOf(i));
        t.setValue(QStringLiteral("nazvanie"), QStringLiteral("Петля откидная"));
        t.setValue(QStringLiteral("zena"), i * 0.5);
        t.post();
    }
    tx.done();
    return t;
}

void lookup(benchmark::State& state, bool indexed)
{
    Table& t = priceTable(indexed);
    // Alternating keys, so that the current row really moves each time.
    const QString keys[2] = {designationOf(kRows / 3), designationOf(2 * kRows / 3)};
    int k = 0;
    for (auto _ : state) {
        const bool found = t.locate(QStringLiteral("oboznashenie"), keys[k ^= 1]);
        benchmark::DoNotOptimize(found);
        benchmark::DoNotOptimize(t.number(QStringLiteral("zena")));
    }
}

void BM_ExactLocate(benchmark::State& state)
{
    lookup(state, true);
}
BENCHMARK(BM_ExactLocate);

void BM_ExactLocateWithoutIndex(benchmark::State& state)
{
    lookup(state, false);
}
BENCHMARK(BM_ExactLocateWithoutIndex);

void BM_PrefixLocateIgnoringCase(benchmark::State& state)
{
    Table& t = priceTable(true);
    const QString keys[2] = {QStringLiteral("6742.0666"), QStringLiteral("6742.1333")};
    int k = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            t.locate(QStringLiteral("oboznashenie"), keys[k ^= 1], Table::CaseInsensitive | Table::PartialKey));
}
BENCHMARK(BM_PrefixLocateIgnoringCase);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Table::closeAll();
    return 0;
}
