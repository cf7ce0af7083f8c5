// A window schedule of 1,000 sashes: every row calculated, and all added to
// an order, beside the anchor of the same 1,000 sashes sent as lines to
// lircomplect-kit (calculated and added with "add_to_order") in the same run.
// The slowest single row is reported too: the batch window calculates rows in
// slices of 40 ms, and one row longer than that would hold the window up.
#include "core/base/dialogs.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/orders/batch.h"
#include "core/orders/ordermodel.h"
#include "support/benchmain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using namespace lir;

constexpr int Rows = 1000;

const char* const systems[] = {"6742", "6741", "6741otkid"};

QVector<batch::Row> schedule()
{
    QVector<batch::Row> rows;
    const int width = int(batch::columns().size());
    const int ffh = batch::columnOf(QStringLiteral("FFH"));
    const int ffb = batch::columnOf(QStringLiteral("FFB"));
    for (int i = 0; i < Rows; ++i) {
        batch::Row r;
        r.line = i + 2;
        for (int c = 0; c < width; ++c)
            r.cells << QString();
        r.cells[0] = QString::fromLatin1(systems[i % 3]);
        r.cells[ffh] = QString::number(900 + i % 700);
        r.cells[ffb] = QString::number(600 + i % 300);
        rows << r;
    }
    return rows;
}

void BM_Anchor1000KitLines(benchmark::State& state)
{
    QByteArray input;
    for (int i = 0; i < Rows; ++i)
        input += QStringLiteral(R"({"calculator":"%1","FFH":%2,"FFB":%3,"add_to_order":true})")
                     .arg(QString::fromLatin1(systems[i % 3]))
                     .arg(900 + i % 700)
                     .arg(600 + i % 300)
                     .toUtf8()
                 + '\n';
    for (auto _ : state) {
        QProcess kit;
        kit.start(QStringLiteral(LIR_BINARY_DIR "/lircomplect-kit"), {});
        kit.write(input);
        kit.closeWriteChannel();
        kit.waitForFinished(600000);
        const qsizetype answers = kit.readAllStandardOutput().count('\n');
        if (kit.exitStatus() != QProcess::NormalExit || kit.exitCode() != 0 || answers != Rows) {
            state.SkipWithError("lircomplect-kit did not answer every line");
            break;
        }
    }
}
BENCHMARK(BM_Anchor1000KitLines)->Unit(benchmark::kMillisecond);

void BM_Batch1000RowsCalculatedAndAdded(benchmark::State& state)
{
    RecordingDialogs dialogs;
    setDialogs(&dialogs);
    const QVector<batch::Row> rows = schedule();
    qint64 slowestNs = 0;
    int calculated = 0;
    for (auto _ : state) {
        TurnKit turn;
        TiltTurnKit tiltTurn;
        TiltKit tilt;
        OrderModel order;
        order.setCalculators(&turn, &tiltTurn, &tilt);
        QVector<batch::RowResult> results;
        QElapsedTimer one;
        for (const batch::Row& r : rows) {
            one.start();
            results << batch::calculate(r);
            slowestNs = std::max(slowestNs, one.nsecsElapsed());
        }
        calculated = batch::totals(results).calculated;
        if (!batch::addToOrder(order, rows, results) || order.EntryCount() != calculated)
            state.SkipWithError("the batch was not added whole");
    }
    state.counters["rows_calculated"] = calculated;
    state.counters["slowest_row_ms"] = double(slowestNs) / 1e6;
    setDialogs(nullptr);
}
BENCHMARK(BM_Batch1000RowsCalculatedAndAdded)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return lir::bench::runBenchmarks(argc, argv);
}
