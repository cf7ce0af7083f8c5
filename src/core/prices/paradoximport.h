#pragma once

#include "core/db/storage.h"

#include <QString>
#include <QVector>

// The move from Paradox: a price table or an order table that another tool
// keeps in the Paradox format is converted into our table of the same name.
namespace lir::prices {

// One of our tables as a Paradox file may hold it: the file, the table in it
// and its fields. A Paradox field matches by name, without regard to case.
struct ParadoxLayout
{
    QString fileName;
    QString tableName;
    QVector<db::FieldDef> fields;
};

// zeni.db with the fields of the price table.
ParadoxLayout priceLayout();
// zakaz.db with the twelve fields of the order table.
ParadoxLayout orderLayout();
// Both, in the order in which start-up offers them.
QVector<ParadoxLayout> paradoxLayouts();

// What a conversion wrote.
struct ParadoxConversion
{
    QString fileName; // the table written
    int rows = 0;
    QString keptAs; // the original's new name, when it was that table itself
};

// Converts the Paradox table at `source` into the table `layout.fileName` of
// the tables' directory: every row in the file's order, the texts from
// Windows-1251, numbers and empty fields as they were. A text field is as
// wide as the wider of ours and the Paradox one, so no text is cut; fields of
// the Paradox table that ours lacks are carried over after ours.
// All or nothing: the new file is made under a temporary name in the same
// directory and renamed into place only when complete. When `source` is that
// table itself, it is first renamed to <file>.paradox (never deleted); a
// table of that name from elsewhere is never written over. On any failure
// the original is where and as it was, and lir::Error says what failed.
ParadoxConversion convertParadoxTable(const QString& source, const ParadoxLayout& layout);

// The command-line import: the table is told by its fields (all of the price
// table's or all of the order table's), then converted as above.
ParadoxConversion importParadoxTable(const QString& source);

// Start-up, before any table is opened: a table of the tables' directory that
// is a Paradox file is offered for conversion, one question each. Yes
// converts it, and a failure is shown in the error box; No leaves the file
// as it is, to fail like any table that cannot be opened.
void offerParadoxConversions();

} // namespace lir::prices
