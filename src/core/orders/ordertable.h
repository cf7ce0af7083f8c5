#pragma once

#include "core/db/storage.h"
#include "core/calc/ordersink.h"

#include <QString>
#include <QVector>

#include <optional>

// The order table zakaz.db: order headers and their kit rows in one table.
namespace lir::orders {

inline QString tableFile() { return QStringLiteral("zakaz.db"); }

// The description of an order keeps this many characters.
constexpr int NameSize = 100;
// The description as the table keeps it; differs from `description` when
// that is longer than NameSize characters.
QString storedDescription(const QString& description);

// Room for the pieces that the calculators append so that a kit comes back
// as it was saved; nothing they write is cut.
constexpr int DopKomplektSize = 200;
// What the table keeps of a kit designation: LIRL takes no more.
constexpr int DesignationSize = 20;

// The twelve fields, in their order: Id, Name, Parentid, Designation, Type,
// Count, Color, FFH, FFB, GH, Profil, Dop_komplekt.
QVector<db::FieldDef> tableFields();

// Creates zakaz.db in the tables' directory when it is missing; an existing
// table is never touched.
void CreateOrderTable();

// What the order book keeps of an order being saved, beside its rows.
struct SaveDetails
{
    qint32 customerId = 0; // 0: none
    std::optional<double> total;
};

// Appends the order: a header row numbered rows + 1 with the description, and
// one kit row per entry with the following numbers, and its details (status
// "Расчёт", the customer, the time, the login name, the total) in the order
// book's table beside it. One transaction: the order is written whole or not
// at all. Returns the order's number (the header's Id). Throws lir::Error
// naming the file.
qint32 SaveOrder(db::Table& table, const QString& description, const QVector<TOrder>& entries,
                 const SaveDetails& details = {});

} // namespace lir::orders
