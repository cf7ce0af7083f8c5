// Reading a supplier's price list of 50,000 rows and previewing it against
// the delivered price table, beside a plain read of the same file: the bytes
// of the CSV, the unpacked sheet of the workbook.
#include "core/db/storage.h"
#include "core/export/workbook.h"
#include "core/io/sheetreader.h"
#include "core/prices/priceimport.h"
#include "core/prices/pricetable.h"
#include "support/benchmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <zip.h>

#include <cstdio>

using lir::db::Table;

namespace {

constexpr int ListRows = 50000;

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

Table& deliveredTable()
{
    static Table* table = [] {
        const QString copy = QDir(scratch().path()).filePath(lir::prices::tableFile());
        if (!QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), copy))
            std::fprintf(stderr, "no delivered price table in %s\n", LIR_BINARY_DIR);
        lir::db::setNetFileDir(scratch().path());
        return &lir::prices::open();
    }();
    return *table;
}

// Every designation of the delivered table with a new price, the rest new
// designations; a list as a supplier of many parts sends it.
struct ListRow
{
    QString designation;
    QString name;
    double price;
};
QVector<ListRow> listRows()
{
    QVector<ListRow> rows;
    const auto held = deliveredTable().query(QStringLiteral("SELECT oboznashenie, nazvanie FROM zeni ORDER BY rowid"));
    for (int i = 0; i < ListRows; ++i) {
        if (i < held.size())
            rows.push_back({held[i][0].toString(), held[i][1].toString(), 100.0 + i * 0.25});
        else
            rows.push_back({QStringLiteral("ПОСТ-%1").arg(i, 6, 10, QLatin1Char('0')),
                            QStringLiteral("Изделие поставщика %1").arg(i), 10.0 + (i % 1000) * 1.5});
    }
    return rows;
}

const QString& csvFile()
{
    static const QString path = [] {
        const QString p = QDir(scratch().path()).filePath(QStringLiteral("list.csv"));
        QString text = QStringLiteral("Артикул;Наименование;Цена, руб.\n");
        for (const ListRow& r : listRows())
            text += r.designation + u';' + r.name + u';' + QString::number(r.price, 'f', 2).replace(u'.', u',') + u'\n';
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write(text.toUtf8());
        return p;
    }();
    return path;
}

const QString& xlsxFile()
{
    static const QString path = [] {
        const QString p = QDir(scratch().path()).filePath(QStringLiteral("list.xlsx"));
        lir::workbook::Sheet sheet;
        sheet.at(1, 0).value = QStringLiteral("Обозначение");
        sheet.at(1, 1).value = QStringLiteral("Наименование");
        sheet.at(1, 2).value = QStringLiteral("Цена");
        int row = 2;
        for (const ListRow& r : listRows()) {
            sheet.at(row, 0).value = r.designation;
            sheet.at(row, 1).value = r.name;
            sheet.at(row, 2).value = r.price;
            ++row;
        }
        lir::workbook::save(p, sheet);
        return p;
    }();
    return path;
}

void preview(benchmark::State& state, const QString& path)
{
    Table& t = deliveredTable();
    for (auto _ : state) {
        const lir::io::SheetData data = lir::io::readSheetFile(path);
        lir::prices::ListColumns c;
        const int header = lir::prices::findHeaderRow(data, &c);
        const lir::prices::PricePreview p = lir::prices::previewList(t, data, header, c, path, true);
        benchmark::DoNotOptimize(p.changed.size());
        state.counters["changed"] = double(p.changed.size());
        state.counters["new"] = double(p.added.size());
    }
}

// Anchor: the file's bytes into memory.
void BM_CsvPlainRead(benchmark::State& state)
{
    for (auto _ : state) {
        QFile f(csvFile());
        f.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(f.readAll().size());
    }
}
BENCHMARK(BM_CsvPlainRead)->Unit(benchmark::kMillisecond);

void BM_CsvRead(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(lir::io::readSheetFile(csvFile()).rows.size());
}
BENCHMARK(BM_CsvRead)->Unit(benchmark::kMillisecond);

void BM_CsvPreview(benchmark::State& state)
{
    preview(state, csvFile());
}
BENCHMARK(BM_CsvPreview)->Unit(benchmark::kMillisecond);

// Anchor: the workbook's sheet unpacked with libzip, not parsed.
void BM_XlsxPlainRead(benchmark::State& state)
{
    for (auto _ : state) {
        zip_t* z = zip_open(QFile::encodeName(xlsxFile()).constData(), ZIP_RDONLY, nullptr);
        zip_file_t* f = zip_fopen(z, "xl/worksheets/sheet1.xml", 0);
        char buffer[65536];
        qint64 total = 0;
        for (zip_int64_t got; (got = zip_fread(f, buffer, sizeof buffer)) > 0;)
            total += got;
        zip_fclose(f);
        zip_discard(z);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_XlsxPlainRead)->Unit(benchmark::kMillisecond);

void BM_XlsxRead(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(lir::io::readSheetFile(xlsxFile()).rows.size());
}
BENCHMARK(BM_XlsxRead)->Unit(benchmark::kMillisecond);

void BM_XlsxPreview(benchmark::State& state)
{
    preview(state, xlsxFile());
}
BENCHMARK(BM_XlsxPreview)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int status = lir::bench::runBenchmarks(argc, argv);
    Table::closeAll();
    return status;
}
