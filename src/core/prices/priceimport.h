#pragma once

#include "core/db/storage.h"
#include "core/io/sheetreader.h"

#include <QString>
#include <QVector>

#include <optional>

// A supplier's price list read against the price table: the preview of what
// it would change, shown before anything is written, and its application
// as one transaction that the change log can take back. The bulk change
// (all prices, or those found by a search, by a percentage or an amount)
// makes the same preview and is applied the same way.
namespace lir::prices {

// The 0-based columns of the list; -1: not there (a name is optional).
struct ListColumns
{
    int designation = -1;
    int name = -1;
    int price = -1;
    bool operator==(const ListColumns&) const = default;
};

// The columns a header row names ("Обозначение"/"Артикул"/"Код",
// "Наименование"/"Название", "Цена"/"Цена, руб."); -1 where none does.
ListColumns guessColumns(const QStringList& header);
// The first of the first rows whose cells name a designation and a price
// column; -1 when there is none.
int findHeaderRow(const io::SheetData& data, ListColumns* columns);

// A price as a list writes it, where the column is known to be a price: a
// decimal comma or point, spaces and non-breaking spaces between groups of
// three digits, "руб."/"р."/"₽" after it. Sets *reason for anything else.
std::optional<double> parseListPrice(const QString& text, QString* reason);

// Rounds to kopecks, halves away from zero, from the exact binary value.
double roundToKopecks(long double value);

struct PriceChange
{
    QString designation;
    QString name;
    std::optional<double> oldPrice; // none: the table's row has no price yet, or the row is new
    double newPrice = 0;
    qint64 rowid = 0; // the table's row (the one the price lookup finds); 0 for a new row
    int line = 0;     // the list's line; 0 for a bulk change
    // The change in per cent of the old price; none where there was none or it was 0.
    std::optional<double> percent() const;
};

struct RefusedRow
{
    int line = 0;
    QString designation;
    QString reason;
};

struct TableRow
{
    QString designation;
    QString name;
    std::optional<double> price;
};

struct PricePreview
{
    QString fileName;                // the list's file name; empty for a bulk change
    QString description;             // what the change is, for the bulk change ("+5 %")
    QVector<PriceChange> changed;    // largest change in per cent first
    QVector<PriceChange> added;      // designations the table lacks, in the list's order
    int unchanged = 0;
    QVector<TableRow> notInList;     // rows of the table the list does not mention, in table order
    QVector<RefusedRow> refused;     // in the list's order
    bool addNew = false;             // apply() adds `added` too
    int rowsRead = 0;                // data rows of the list

    bool writesNothing() const { return changed.isEmpty() && (!addNew || added.isEmpty()); }
};

// What a list's rows would do to the table, nothing written. `headerRow` is
// the index in data.rows of the header (-1: none; every row is data).
PricePreview previewList(db::Table& t, const io::SheetData& data, int headerRow, const ListColumns& columns,
                         const QString& fileName, bool addNew);

struct BulkChange
{
    QString match;        // empty: every priced row; else rows whose designation or name contains it (any case)
    bool percent = true;  // by a percentage, else by an amount in roubles
    double value = 0;     // +5 raises, -5 lowers
};
PricePreview previewBulk(db::Table& t, const BulkChange& change);

struct Applied
{
    int changed = 0;
    int added = 0;
    qint64 batch = 0;
};
// Writes the preview in one transaction, the log rows with it. Refused,
// with nothing written, when the table has changed since the preview in a
// row it would write.
Applied applyPreview(db::Table& t, const PricePreview& preview);

struct Undone
{
    int restored = 0;
    int removed = 0;
    QString source; // of the change taken back
};
// Takes back the last import or bulk change not taken back yet, in one
// transaction. Refused, naming the rows, when any of its prices has changed since.
Undone undoLastImport(db::Table& t);
// What undoLastImport() would take back: its source; empty when there is none.
QString lastUndoable(db::Table& t);

// The whole table to a file: CSV (UTF-8, ';', a header row) or .xlsx
// (prices as numbers), by the name's suffix. Returns the number of rows.
int exportPrices(db::Table& t, const QString& path);

} // namespace lir::prices
