// The price lookup of every sheet line is one exact locate on the price table.
#include "core/db/storage.h"
#include "support/benchmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sqlite3.h>

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

// The anchor of BM_ExactLocate: SQLite's own prepared, indexed lookup of the
// same row in the same file, reading the same columns, with nothing around it.
void BM_RawSqliteLookup(benchmark::State& state)
{
    const Table& t = priceTable(true);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(t.filePath().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        state.SkipWithError("cannot open the table file");
        sqlite3_close(db);
        return;
    }
    sqlite3_stmt* stmt = nullptr;
    const char* sql = "SELECT rowid, \"oboznashenie\", \"nazvanie\", \"zena\" FROM \"zeni\" "
                      "WHERE \"oboznashenie\" = ? ORDER BY rowid LIMIT 1";
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_close(db);
        return;
    }
    const QString keys[2] = {designationOf(kRows / 3), designationOf(2 * kRows / 3)};
    int k = 0;
    for (auto _ : state) {
        const QString& key = keys[k ^= 1];
        sqlite3_bind_text16(stmt, 1, key.utf16(), int(key.size() * 2), SQLITE_STATIC);
        const bool found = sqlite3_step(stmt) == SQLITE_ROW;
        benchmark::DoNotOptimize(found);
        if (found) {
            benchmark::DoNotOptimize(sqlite3_column_int64(stmt, 0));
            benchmark::DoNotOptimize(sqlite3_column_text16(stmt, 1));
            benchmark::DoNotOptimize(sqlite3_column_text16(stmt, 2));
            benchmark::DoNotOptimize(sqlite3_column_double(stmt, 3));
        }
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
BENCHMARK(BM_RawSqliteLookup);

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

// The editor's search on a table of 1,000 rows: lower-case prefixes of
// designations and of Cyrillic names, found near the end of the table.
void BM_PrefixLocateIgnoringCase1000(benchmark::State& state)
{
    static QTemporaryDir dir;
    lir::db::setNetFileDir(dir.path());
    const QString file = QStringLiteral("zeni_names.db");
    if (!Table::isOpen(file)) {
        Table::create(file, {{QStringLiteral("oboznashenie"), FieldDef::Type::Text, 40, true},
                             {QStringLiteral("nazvanie"), FieldDef::Type::Text, 100}});
        Table& t = Table::open(file);
        lir::db::Transaction tx(t);
        for (int i = 0; i < 1000; ++i) {
            t.insert();
            t.setValue(QStringLiteral("oboznashenie"), QStringLiteral("ЛИР-6742.%1").arg(i, 4, 10, QLatin1Char('0')));
            t.setValue(QStringLiteral("nazvanie"), QStringLiteral("ПЕТЛЯ %1").arg(i));
            t.post();
        }
        tx.done();
    }
    Table& t = Table::open(file);
    const QString fields[2] = {QStringLiteral("oboznashenie"), QStringLiteral("nazvanie")};
    const QString keys[2] = {QStringLiteral("лир-6742.0990"), QStringLiteral("петля 995")};
    int k = 0;
    for (auto _ : state) {
        k ^= 1;
        benchmark::DoNotOptimize(t.locate(fields[k], keys[k], Table::CaseInsensitive | Table::PartialKey));
    }
    state.SetLabel(t.text(QStringLiteral("nazvanie")).toStdString());
}
BENCHMARK(BM_PrefixLocateIgnoringCase1000)->Unit(benchmark::kMicrosecond);

// The price editor's grid follows the current row by its position.
void BM_CurrentIndex(benchmark::State& state)
{
    Table& t = priceTable(true);
    const QString keys[2] = {designationOf(kRows / 3), designationOf(2 * kRows / 3)};
    int k = 0;
    for (auto _ : state) {
        t.locate(QStringLiteral("oboznashenie"), keys[k ^= 1]);
        benchmark::DoNotOptimize(t.currentIndex());
    }
}
BENCHMARK(BM_CurrentIndex);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int status = lir::bench::runBenchmarks(argc, argv);
    Table::closeAll();
    return status;
}
