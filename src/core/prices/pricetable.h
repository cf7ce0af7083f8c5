#pragma once

#include "core/db/storage.h"
#include "core/prices/pricelookup.h"

#include <QString>
#include <QVector>

namespace lir {

// The price lookup of the sheets: the first row of the price table, in table
// order, whose designation equals `designation` exactly (whole value,
// case-sensitive). A found row becomes the table's current row, so an open
// price editor shows it selected; not found leaves the row where it was.
// Throws lir::Error when the price table is not open.
PriceResult LookupPrice(const QString& designation);

} // namespace lir

namespace lir::prices {

// The prices of one document (a sheet, a summary), as LookupPrice gives them
// but from memory: the first lookup asks the table once whether it changed
// since the prices were last read (over a file, one read of its change
// counter), and every line is then priced without a statement. The table is
// positioned once, on the last row found, when the last copy of the lookup is
// gone (Table::moveToLater: the row is read when it is next used); a pending
// edit is written at the first lookup. Give it to one document and drop it
// when that document is written.
PriceLookup documentLookup();

} // namespace lir::prices

namespace lir::prices {

// The price table: one file in the tables' directory, opened once by the
// price editor and shared by everyone who prices or extends it.
inline QString tableFile() { return QStringLiteral("zeni.db"); }
inline QString fieldDesignation() { return QStringLiteral("oboznashenie"); }
inline QString fieldName() { return QStringLiteral("nazvanie"); }
inline QString fieldPrice() { return QStringLiteral("zena"); }

// Room for the longest kit designations the catalogue update writes
// ("ЛИР-6742-130АМR100", 18 characters) and the longest part names
// ("Планка запорная пов.откидная", 28), with a margin for new parts.
constexpr int DesignationSize = 40;
constexpr int NameSize = 80;

// The fields of a new price table; the designation is indexed, so that a
// lookup is one indexed query, not a scan.
QVector<db::FieldDef> tableFields();

// The price table if it is open; nullptr otherwise.
db::Table* openTable();
// Opens the price table (once for the run) with its price rule in force.
db::Table& open();

// Prices are below this; a price of a trillion or more is a typing slip.
constexpr double PriceLimit = 1e12;
// Why a price cannot be written or used: negative, not finite, or not below
// PriceLimit. Empty for a good price.
QString priceProblem(double price);
// The same check without building the message: for the lookup's hot path.
bool isPlausiblePrice(double price);

} // namespace lir::prices
