#pragma once

#include "core/db/storage.h"
#include "core/calc/ordersink.h"

#include <QString>
#include <QVector>

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

// The twelve fields, in their order: Id, Name, Parentid, Designation, Type,
// Count, Color, FFH, FFB, GH, Profil, Dop_komplekt.
QVector<db::FieldDef> tableFields();

// Creates zakaz.db in the tables' directory when it is missing; an existing
// table is never touched.
void CreateOrderTable();

// Appends the order: a header row numbered rows + 1 with the description, and
// one kit row per entry with the following numbers. One transaction: the
// order is written whole or not at all. Throws lir::Error naming the file.
void SaveOrder(db::Table& table, const QString& description, const QVector<TOrder>& entries);

} // namespace lir::orders
