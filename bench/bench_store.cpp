// The shared store beside the files: saving an order of 255 kits and looking
// up the prices of a 27-line sheet, through the storage layer, each beside
// the same statements sent bare through Qt's driver to the same store. The
// server is a throwaway cluster of its own, on a Unix socket.
#include "core/db/storage.h"
#include "core/db/storesettings.h"
#include "core/orders/ordertable.h"
#include "core/prices/pricetable.h"
#include "support/testserver.h"
#include "support/benchmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>

using namespace lir;

namespace {

const QString cluster = QStringLiteral(LIR_SOURCE_DIR "/tools/pgcluster.sh");

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

std::optional<db::ServerSettings>& serverOfBench()
{
    static std::optional<db::ServerSettings> s;
    return s;
}

// Starts the cluster and makes the bench's database on it; the reason when it cannot.
QString startServer()
{
    const QString env = scratch().filePath(QStringLiteral("pg.env"));
    QProcess::execute(cluster, {QStringLiteral("start"), env});
    QString reason;
    serverOfBench() = test::freshServerDatabase(env, QStringLiteral("lir_bench"), &reason);
    return reason;
}

void stopServer()
{
    QProcess::execute(cluster, {QStringLiteral("stop"), scratch().filePath(QStringLiteral("pg.env"))});
}

// The tables of one store, made once: the delivered price table and an
// empty order table. Without a server its benchmarks are skipped.
bool useStore(benchmark::State& state, bool server)
{
    if (server && !serverOfBench()) {
        state.SkipWithError("no PostgreSQL server");
        return false;
    }
    db::Table::closeAll();
    const QString dir = scratch().filePath(server ? QStringLiteral("server") : QStringLiteral("files"));
    QDir().mkpath(dir);
    db::setNetFileDir(dir);
    db::setServer(server ? serverOfBench() : std::nullopt);
    static bool made[2] = {false, false};
    if (!made[server]) {
        QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), QDir(dir).filePath(QStringLiteral("zeni.db")));
        if (server)
            db::copyToServer({{prices::tableFile(), prices::tableFields(), true}});
        orders::CreateOrderTable();
        made[server] = true;
    }
    prices::open();
    return true;
}

// A bare connection to the same store, for the anchors.
QSqlDatabase bareConnection(bool server)
{
    const QString name = server ? QStringLiteral("bench.bare.server") : QStringLiteral("bench.bare.files");
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name);
    QSqlDatabase db;
    if (server) {
        db = test::connectServer(name, *serverOfBench(), serverOfBench()->dbname);
    } else {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(scratch().filePath(QStringLiteral("files/zeni.db")));
        db.open();
    }
    QSqlQuery(db).exec(QStringLiteral("CREATE TABLE IF NOT EXISTS scratch (a INTEGER, b VARCHAR(100), c INTEGER, "
                                      "d VARCHAR(20), e VARCHAR(30), f INTEGER, g INTEGER, h INTEGER, i INTEGER, "
                                      "j INTEGER, k VARCHAR(20), l VARCHAR(200))"));
    return db;
}

QVector<TOrder> kits255()
{
    QVector<TOrder> entries;
    for (int i = 0; i < 255; ++i)
        entries.push_back({QStringLiteral("ПФ ПВХ"), QStringLiteral("ЛИР-6741-02МR100"), QStringLiteral("KBE Expert"),
                           QStringLiteral("запор поворотно-откидной, R, 100"), 1 + i % 3, 9016, 600 + i, 500, 300});
    return entries;
}

// 27 designations of the delivered table, spread over it.
QStringList sheetLines()
{
    static QStringList lines;
    if (lines.isEmpty()) {
        const auto rows = prices::open().query(QStringLiteral("SELECT oboznashenie FROM zeni ORDER BY rowid"));
        for (int i = 0; i < 27; ++i)
            lines << rows.at(qsizetype(i) * rows.size() / 27).value(0).toString();
    }
    return lines;
}

void BM_SaveOrder255Kits(benchmark::State& state, bool server)
{
    if (!useStore(state, server))
        return;
    db::Table& t = db::Table::open(orders::tableFile());
    const QVector<TOrder> entries = kits255();
    for (auto _ : state)
        orders::SaveOrder(t, QStringLiteral("Заказ"), entries);
}
BENCHMARK_CAPTURE(BM_SaveOrder255Kits, files, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveOrder255Kits, server, true)->Unit(benchmark::kMillisecond);

// The anchor: the same 256 rows, one prepared insert each, in one transaction.
void BM_BareInsert256Rows(benchmark::State& state, bool server)
{
    if (!useStore(state, server))
        return;
    QSqlDatabase db = bareConnection(server);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO scratch VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (auto _ : state) {
        db.transaction();
        for (int i = 0; i < 256; ++i) {
            const QVariantList v{i, QStringLiteral("Заказ"), 1, QStringLiteral("ЛИР-6741-02МR100"),
                                 QStringLiteral("ПФ ПВХ"), 1, 9016, 600 + i, 500, 300, QStringLiteral("KBE Expert"),
                                 QStringLiteral("запор поворотно-откидной, R, 100")};
            for (int k = 0; k < v.size(); ++k)
                q.bindValue(k, v[k]);
            if (!q.exec())
                state.SkipWithError(q.lastError().text().toUtf8().constData());
        }
        db.commit();
    }
}
BENCHMARK_CAPTURE(BM_BareInsert256Rows, files, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BareInsert256Rows, server, true)->Unit(benchmark::kMillisecond);

void BM_LookupPrice27Lines(benchmark::State& state, bool server)
{
    if (!useStore(state, server))
        return;
    const QStringList lines = sheetLines();
    for (auto _ : state)
        for (const QString& d : lines)
            benchmark::DoNotOptimize(LookupPrice(d));
}
BENCHMARK_CAPTURE(BM_LookupPrice27Lines, files, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LookupPrice27Lines, server, true)->Unit(benchmark::kMicrosecond);

// The anchor: the same 27 rows by a bare prepared select on the index.
void BM_BareSelect27Rows(benchmark::State& state, bool server)
{
    if (!useStore(state, server))
        return;
    const QStringList lines = sheetLines();
    QSqlQuery q(bareConnection(server));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT rowid, oboznashenie, nazvanie, zena FROM zeni WHERE oboznashenie = ? "
                             "ORDER BY rowid LIMIT 1"));
    for (auto _ : state)
        for (const QString& d : lines) {
            q.bindValue(0, d);
            q.exec();
            if (q.next())
                benchmark::DoNotOptimize(q.value(3).toDouble());
            q.finish();
        }
}
BENCHMARK_CAPTURE(BM_BareSelect27Rows, files, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BareSelect27Rows, server, true)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (const QString reason = startServer(); !reason.isEmpty())
        std::printf("The server benchmarks are skipped: %s\n", reason.toUtf8().constData());
    const int status = lir::bench::runBenchmarks(argc, argv);
    db::Table::closeAll();
    for (const QString& name : QSqlDatabase::connectionNames())
        QSqlDatabase::removeDatabase(name);
    stopServer();
    return status;
}
