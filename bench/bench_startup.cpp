// Start-up to the shown launcher, offscreen, each run a fresh process timed
// from its launch to the launcher on the screen: the engine test, the
// launcher, the price table and the catalogue update, as the program starts
// (the windows it does not show are made after its first painting).
//   - on the delivered table, beside a bare Qt Widgets program that shows one
//     window (bench_bare_window);
//   - on an empty table, where the whole catalogue is added and its notices
//     are answered by the recording dialogs, beside the raw SQLite insert of
//     the same rows in one transaction.
// The update without windows is measured too, in this process.
#include "app/BDEInstallModule.h"
#include "app/startup.h"
#include "core/base/dialogs.h"
#include "core/db/storage.h"
#include "core/prices/catalogue.h"
#include "core/prices/pricetable.h"
#include "gui/app/form_main.h"
#include "gui/app/forms.h"
#include "gui/app/widgets.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// ---------------------------------------------------------------- the started program

// What main() of the program does up to its message loop, with the dialogs
// of the tests in place of the real boxes. Prints "shown" with the number of
// notices once the launcher is on the screen.
int startedProgram(int argc, char** argv)
{
    lir::gui::LirApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("LIRComplect"));
    lir::RecordingDialogs boxes;
    const lir::ScopedDialogs answered(boxes);
    lir::gui::registerFonts();
    lir::bde::watchForTermination();
    app.setQuitOnLastWindowClosed(false);
    if (!lir::runGuarded([] { lir::bde::EnsureStorageEngine(); }))
        return 1;
    if (!lir::gui::startWindows())
        return 1;
    if (!QTest::qWaitForWindowExposed(lir::forms::Main))
        return 1;
    std::printf("shown %d\n", int(boxes.messages().size()));
    std::fflush(stdout);
    // The windows the launcher does not show are made after its painting,
    // outside the time; a start that never makes them fails.
    if (!QTest::qWaitFor([] { return lir::forms::History != nullptr; }, 10000))
        return 1;
    lir::gui::destroyForms();
    lir::db::Table::closeAll();
    return 0;
}

// ---------------------------------------------------------------- the runs

QTemporaryDir& workDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString tablePath()
{
    return QDir(workDir().path()).filePath(lir::prices::tableFile());
}

// An empty price table, made once, copied before every run that fills it.
QString emptyTemplate()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        lir::db::setNetFileDir(dir.path());
        lir::db::Table::create(lir::prices::tableFile(), lir::prices::tableFields());
        lir::db::setNetFileDir(workDir().path());
        return QDir(dir.path()).filePath(lir::prices::tableFile());
    }();
    return path;
}

bool putTable(const QString& source)
{
    QFile::remove(tablePath());
    return QFile::copy(source, tablePath());
}

QString self;

// Runs a program in the working directory; the time from its launch to its
// "shown" line. Its end is awaited outside the time.
double timeToShown(benchmark::State& state, const QString& program, const QStringList& args, QByteArray* line)
{
    QProcess p;
    p.setWorkingDirectory(workDir().path());
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    p.start(program, args);
    QByteArray out;
    while (!out.contains('\n') && p.waitForReadyRead(30000))
        out += p.readAllStandardOutput();
    const double seconds = timer.nsecsElapsed() / 1e9;
    p.waitForFinished(30000);
    if (!out.startsWith("shown"))
        state.SkipWithError("the program did not show its window");
    if (line)
        *line = out.trimmed();
    return seconds;
}

void BM_BareWidgetsProgram(benchmark::State& state)
{
    for (auto _ : state)
        state.SetIterationTime(timeToShown(state, QStringLiteral(LIR_BARE_WINDOW), {}, nullptr));
}
BENCHMARK(BM_BareWidgetsProgram)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3);

// The same with a line of text in the window: what the font set-up costs.
void BM_BareWidgetsProgramWithText(benchmark::State& state)
{
    for (auto _ : state)
        state.SetIterationTime(
            timeToShown(state, QStringLiteral(LIR_BARE_WINDOW), {QStringLiteral("--text")}, nullptr));
}
BENCHMARK(BM_BareWidgetsProgramWithText)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_StartUpOnTheDeliveredTable(benchmark::State& state)
{
    if (!putTable(QStringLiteral(LIR_BINARY_DIR "/zeni.db")))
        state.SkipWithError("no delivered table");
    QByteArray line;
    for (auto _ : state)
        state.SetIterationTime(timeToShown(state, self, {QStringLiteral("--started-program")}, &line));
    // A first start on the delivered table shows no notice.
    if (line != "shown 0")
        state.SkipWithError(line.constData());
}
BENCHMARK(BM_StartUpOnTheDeliveredTable)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_StartUpOnAnEmptyTable(benchmark::State& state)
{
    QByteArray line;
    for (auto _ : state) {
        if (!putTable(emptyTemplate()))
            state.SkipWithError("cannot copy the empty table");
        state.SetIterationTime(timeToShown(state, self, {QStringLiteral("--started-program")}, &line));
    }
    if (line != "shown 5")
        state.SkipWithError(line.constData());
}
BENCHMARK(BM_StartUpOnAnEmptyTable)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3);

// The anchor of the update: the same rows in one transaction through one
// prepared statement on a fresh connection.
void BM_RawInsertOfTheCatalogue(benchmark::State& state)
{
    const QVector<lir::catalogue::CatalogueRow> rows = lir::catalogue::allRows();
    for (auto _ : state) {
        state.PauseTiming();
        if (!putTable(emptyTemplate()))
            state.SkipWithError("cannot copy the empty table");
        state.ResumeTiming();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            db.setDatabaseName(tablePath());
            if (!db.open() || !db.transaction())
                state.SkipWithError("cannot open the table");
            QSqlQuery q(db);
            q.prepare(QStringLiteral("INSERT INTO zeni (oboznashenie, nazvanie, zena) VALUES (?, ?, ?)"));
            for (const lir::catalogue::CatalogueRow& r : rows) {
                q.bindValue(0, r.designation);
                q.bindValue(1, r.name.isEmpty() ? QVariant() : QVariant(r.name));
                q.bindValue(2, r.priced ? QVariant(0.0) : QVariant());
                if (!q.exec())
                    state.SkipWithError("an insert failed");
            }
            q.finish();
            if (!db.commit())
                state.SkipWithError("the commit failed");
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    }
    state.counters["rows"] = double(rows.size());
}
BENCHMARK(BM_RawInsertOfTheCatalogue)->Unit(benchmark::kMillisecond);

// The update alone through the storage layer, without windows (as the
// command-line companion runs it): one transaction per batch.
void BM_SynchroniseWithoutWindows(benchmark::State& state)
{
    lir::RecordingDialogs boxes;
    const lir::ScopedDialogs answered(boxes);
    for (auto _ : state) {
        state.PauseTiming();
        if (!putTable(emptyTemplate()))
            state.SkipWithError("cannot copy the empty table");
        lir::db::Table::open(lir::prices::tableFile());
        state.ResumeTiming();
        lir::catalogue::synchronise();
        state.PauseTiming();
        lir::db::Table::closeAll();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SynchroniseWithoutWindows)->Unit(benchmark::kMillisecond);

// The update on the delivered table, which finds every sentinel: its share
// of a start.
void BM_SynchroniseTheDeliveredTable(benchmark::State& state)
{
    lir::RecordingDialogs boxes;
    const lir::ScopedDialogs answered(boxes);
    if (!putTable(QStringLiteral(LIR_BINARY_DIR "/zeni.db")))
        state.SkipWithError("no delivered table");
    lir::db::Table::open(lir::prices::tableFile());
    for (auto _ : state)
        lir::catalogue::synchronise();
    lir::db::Table::closeAll();
    if (!boxes.shown().empty())
        state.SkipWithError("a notice on the delivered table");
}
BENCHMARK(BM_SynchroniseTheDeliveredTable)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::strcmp(argv[1], "--started-program") == 0)
        return startedProgram(argc, argv);

    QCoreApplication app(argc, argv);
    self = QCoreApplication::applicationFilePath();
    // The started programs want a private runtime directory of their own.
    static QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    emptyTemplate();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    lir::db::Table::closeAll();
    return 0;
}
