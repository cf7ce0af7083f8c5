// Converting a Paradox price list at start-up: reading it through pxlib and
// writing our table, beside the anchor of writing the same rows into a new
// table file directly.
#include "core/db/paradox.h"
#include "core/db/storage.h"
#include "core/prices/paradoximport.h"
#include "support/paradoxfixture.h"
#include "support/benchmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QVector<QVector<QVariant>> priceRows(int n)
{
    QVector<QVector<QVariant>> rows;
    for (int i = 0; i < n; ++i)
        rows.push_back({QStringLiteral("6742.%1.00-20").arg(i, 4, 10, QLatin1Char('0')),
                        QStringLiteral("Петля на створке верхняя М, №%1").arg(i),
                        i % 7 ? QVariant(i * 1.25) : QVariant()});
    return rows;
}

// A Paradox price list of n rows, written once per size.
QString paradoxPrices(int n)
{
    static QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("prices-%1.db").arg(n));
    if (!QFile::exists(path))
        lir::test::writeParadoxTable(path,
                                     {lir::test::pxAlpha(QStringLiteral("oboznashenie"), 40),
                                      lir::test::pxAlpha(QStringLiteral("nazvanie"), 100),
                                      lir::test::pxNumber(QStringLiteral("zena"))},
                                     priceRows(n));
    return path;
}

void BM_ReadParadoxPrices(benchmark::State& state)
{
    const QString source = paradoxPrices(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(lir::db::paradox::readTable(source).rows.size());
    state.counters["rows"] = double(state.range(0));
}
BENCHMARK(BM_ReadParadoxPrices)->Arg(300)->Arg(5000)->Unit(benchmark::kMillisecond);

// The whole conversion in place: read, write the new file, rename both.
void BM_ConvertParadoxPrices(benchmark::State& state)
{
    const QString source = paradoxPrices(int(state.range(0)));
    QTemporaryDir work;
    lir::db::setNetFileDir(work.path());
    const QString zeni = QDir(work.path()).filePath(QStringLiteral("zeni.db"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(zeni);
        QFile::remove(zeni + QStringLiteral(".paradox"));
        QFile::copy(source, zeni);
        state.ResumeTiming();
        lir::prices::convertParadoxTable(zeni, lir::prices::priceLayout());
    }
    lir::db::setNetFileDir(QString());
    state.counters["rows"] = double(state.range(0));
}
BENCHMARK(BM_ConvertParadoxPrices)->Arg(300)->Arg(5000)->Unit(benchmark::kMillisecond);

// Anchor: the same rows written into a new table file, without pxlib.
void BM_WriteTableFileAnchor(benchmark::State& state)
{
    const QVector<QVector<QVariant>> rows = priceRows(int(state.range(0)));
    QTemporaryDir work;
    const QString path = QDir(work.path()).filePath(QStringLiteral("zeni.db"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
        lir::db::writeTableFile(path, QStringLiteral("zeni"), lir::prices::priceLayout().fields, rows);
    }
    state.counters["rows"] = double(state.range(0));
}
BENCHMARK(BM_WriteTableFileAnchor)->Arg(300)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return lir::bench::runBenchmarks(argc, argv);
}
