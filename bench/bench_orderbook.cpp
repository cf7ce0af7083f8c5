// The history window's order book on an office's table of 10,000 orders
// (60,000 rows of zakaz) with their details: the list read with its details,
// a keystroke of the text filter and of the kit filter, each beside SQLite's
// own query of the same rows in the same file.
#include "core/db/storage.h"
#include "core/orders/orderbook.h"
#include "core/orders/orderbookstore.h"
#include "core/orders/ordertable.h"
#include "support/benchmain.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sqlite3.h>

using lir::OrderBook;
using lir::OrderFilter;
using lir::db::Table;

namespace {

constexpr int kOrders = 10000;
constexpr int kKits = 5; // a header and five kits: six rows an order

const char* const kitDesignations[] = {"ЛИР-6742-33АМR100", "ЛИР-6741-02МR100", "ЛИР-6741-05ДL120",
                                       "ЛИР-6742-12АМL100", "ЛИР-6741-11М100",  "ЛИР-6742-21ДR120"};
const char* const statuses[] = {"Расчёт", "Отправлено заказчику", "Принят", "В работе", "Выполнен", "Отказ"};

void exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        fprintf(stderr, "%s: %s\n", sql, error);
        sqlite3_free(error);
        std::abort();
    }
}

// zakaz.db of kOrders orders and their details, made once: the tables as
// the program makes them, the rows written straight through SQLite.
Table& bookTable()
{
    static QTemporaryDir dir;
    lir::db::setNetFileDir(dir.path());
    if (Table::isOpen(lir::orders::tableFile()))
        return Table::open(lir::orders::tableFile());
    lir::orders::CreateOrderTable();
    {
        Table& t = Table::open(lir::orders::tableFile());
        lir::db::Transaction tx(t);
        lir::orderbook::ensureTables(t);
        tx.done();
        Table::closeAll();
    }
    sqlite3* db = nullptr;
    sqlite3_open(dir.filePath(lir::orders::tableFile()).toUtf8().constData(), &db);
    exec(db, "BEGIN");
    sqlite3_stmt* customer = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO customers (id, name, markup) VALUES (?, ?, ?)", -1, &customer, nullptr);
    for (int c = 1; c <= 200; ++c) {
        const QByteArray name = QStringLiteral("ООО «Окна-%1»").arg(c).toUtf8();
        sqlite3_bind_int(customer, 1, c);
        sqlite3_bind_text(customer, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(customer, 3, c % 20);
        sqlite3_step(customer);
        sqlite3_reset(customer);
    }
    sqlite3_finalize(customer);
    sqlite3_stmt* row = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO zakaz (Id, Name, Parentid, Designation, Type, Count, Color, FFH, FFB, GH, Profil, "
                       "Dop_komplekt) VALUES (?, ?, ?, ?, 'ПОФ ПВХ', 1, 9016, 1400, 700, 700, 'ARtec PAD', '')",
                       -1, &row, nullptr);
    sqlite3_stmt* details = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO order_details (order_id, customer_id, status, created, changed, login, total, note, "
                       "archived, version) VALUES (?, ?, ?, ?, ?, 'ivanova', ?, '', ?, 1)",
                       -1, &details, nullptr);
    int id = 1;
    for (int o = 0; o < kOrders; ++o) {
        const int header = id++;
        const QByteArray name = QStringLiteral("Заказ %1, коттедж на Лесной").arg(o).toUtf8();
        sqlite3_bind_int(row, 1, header);
        sqlite3_bind_text(row, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(row, 3, 0);
        sqlite3_bind_null(row, 4);
        sqlite3_step(row);
        sqlite3_reset(row);
        for (int k = 0; k < kKits; ++k) {
            sqlite3_bind_int(row, 1, id++);
            sqlite3_bind_null(row, 2);
            sqlite3_bind_int(row, 3, header);
            const char* d = kitDesignations[(o + k) % 6];
            sqlite3_bind_text(row, 4, d, -1, SQLITE_STATIC);
            sqlite3_step(row);
            sqlite3_reset(row);
        }
        const QByteArray day =
            QDate(2024, 1, 1).addDays(o / 10).toString(QStringLiteral("yyyy-MM-dd 10:00:00")).toUtf8();
        sqlite3_bind_int(details, 1, header);
        sqlite3_bind_int(details, 2, 1 + o % 200);
        sqlite3_bind_text(details, 3, statuses[o % 6], -1, SQLITE_STATIC);
        sqlite3_bind_text(details, 4, day.constData(), int(day.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(details, 5, day.constData(), int(day.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(details, 6, 1000.0 + o);
        sqlite3_bind_int(details, 7, o % 50 == 0 ? 1 : 0);
        sqlite3_step(details);
        sqlite3_reset(details);
    }
    sqlite3_finalize(row);
    sqlite3_finalize(details);
    exec(db, "COMMIT");
    sqlite3_close(db);
    return Table::open(lir::orders::tableFile());
}

OrderBook& book()
{
    static OrderBook b;
    static bool made = false;
    if (!made) {
        b.setTableSource([]() -> Table& { return bookTable(); });
        made = true;
    }
    return b;
}

// The order book's list with its details, read as the window reads it at a
// showing: the query, the orders built, the filter and sort applied.
void BM_OrderBookList(benchmark::State& state)
{
    OrderBook& b = book();
    b.setFilter({});
    for (auto _ : state) {
        b.reload();
        benchmark::DoNotOptimize(b.shown().size());
    }
    state.counters["orders"] = double(b.orders().size());
}
BENCHMARK(BM_OrderBookList)->Unit(benchmark::kMillisecond);

// The anchor: SQLite's own query of the same rows (every header with its
// details and customer) in the same file, every column read.
void BM_BareSqliteList(benchmark::State& state)
{
    const Table& t = bookTable();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(t.filePath().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        state.SkipWithError("cannot open the table file");
        sqlite3_close(db);
        return;
    }
    sqlite3_stmt* stmt = nullptr;
    const char* sql = "select z.Id, z.Name, d.customer_id, d.status, d.created, d.changed, d.login, d.total, d.note, "
                      "d.archived, d.version, c.name from zakaz z left join order_details d on d.order_id = z.Id "
                      "left join customers c on c.id = d.customer_id where z.Parentid = 0 order by z.Id";
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_close(db);
        return;
    }
    for (auto _ : state) {
        int rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < 12; ++c)
                benchmark::DoNotOptimize(sqlite3_column_text16(stmt, c));
            ++rows;
        }
        sqlite3_reset(stmt);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
BENCHMARK(BM_BareSqliteList)->Unit(benchmark::kMillisecond);

// One keystroke of the text filter: the filter of two texts in turn.
void BM_TextFilterKeystroke(benchmark::State& state)
{
    OrderBook& b = book();
    b.setFilter({});
    b.reload();
    OrderFilter f[2];
    f[0].text = QStringLiteral("окна-1");
    f[1].text = QStringLiteral("окна-12");
    int k = 0;
    for (auto _ : state) {
        b.setFilter(f[k ^= 1]);
        benchmark::DoNotOptimize(b.shown().size());
    }
    b.setFilter({});
}
BENCHMARK(BM_TextFilterKeystroke)->Unit(benchmark::kMillisecond);

// One keystroke of the kit filter, the kits read already.
void BM_DesignationFilterKeystroke(benchmark::State& state)
{
    OrderBook& b = book();
    b.setFilter({});
    b.reload();
    OrderFilter f[2];
    f[0].designation = QStringLiteral("05д");
    f[1].designation = QStringLiteral("05дl");
    b.setFilter(f[0]);
    int k = 0;
    for (auto _ : state) {
        b.setFilter(f[k ^= 1]);
        benchmark::DoNotOptimize(b.shown().size());
    }
    b.setFilter({});
}
BENCHMARK(BM_DesignationFilterKeystroke)->Unit(benchmark::kMillisecond);

// The first keystroke of the kit filter after a showing: the kits of every
// order are read (50,000 rows), then filtered.
void BM_DesignationFilterFirstKeystroke(benchmark::State& state)
{
    OrderBook& b = book();
    OrderFilter f;
    f.designation = QStringLiteral("05д");
    for (auto _ : state) {
        state.PauseTiming();
        b.setFilter({});
        b.reload();
        state.ResumeTiming();
        b.setFilter(f);
        benchmark::DoNotOptimize(b.shown().size());
    }
    b.setFilter({});
}
BENCHMARK(BM_DesignationFilterFirstKeystroke)->Unit(benchmark::kMillisecond);

// The anchor of the kit filter: SQLite's own search of the same rows for the
// orders with such a kit.
void BM_BareSqliteDesignation(benchmark::State& state)
{
    const Table& t = bookTable();
    sqlite3* db = nullptr;
    sqlite3_open_v2(t.filePath().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "select distinct Parentid from zakaz where Parentid <> 0 and Designation like ?", -1,
                           &stmt, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_close(db);
        return;
    }
    const QByteArray pattern = QStringLiteral("%05Д%").toUtf8();
    for (auto _ : state) {
        sqlite3_bind_text(stmt, 1, pattern.constData(), int(pattern.size()), SQLITE_STATIC);
        int rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            ++rows;
        sqlite3_reset(stmt);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
BENCHMARK(BM_BareSqliteDesignation)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int status = lir::bench::runBenchmarks(argc, argv);
    Table::closeAll();
    return status;
}
