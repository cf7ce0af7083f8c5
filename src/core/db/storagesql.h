#pragma once

#include "core/db/storage.h"
#include "core/base/error.h"

#include <QSqlDatabase>
#include <QSqlError>

#include <functional>

// What the backends of the storage layer share: the names of connections and
// tables, the engine's errors, and the statements that make a table.
namespace lir::db {

// A connection name of its own for every connection the layer opens.
QString newConnectionName(const QString& table);

// Closes a connection of the layer and forgets its name; the connection's
// statements are gone before.
void closeConnection(QSqlDatabase& db, const QString& connection);

// The engine's own text, after a first line that names the file.
Error engineFailure(const QString& path, const QSqlError& e);
[[noreturn]] void fail(const QString& path, const QSqlError& e);

// "zeni.db" holds the table "zeni". Tables are found by name alone, never by path.
bool tableNameOf(const QString& fileName, QString* table);

// The field as a table declares it ("VARCHAR(100)", "SMALLINT UNSIGNED" ...).
FieldDef fieldFromDeclaredType(const QString& name, const QString& declared);

// The statements that make a table of these fields, in one transaction: the
// table, then an index for each indexed field. `column` declares a field as
// the engine keeps it; `leading` is a column of the engine's own put first,
// whose name no field may take.
struct LeadingColumn
{
    QString name;
    QString definition;
};
QStringList tableStatements(const QString& tableName, const QVector<FieldDef>& fields, const QString& shownName,
                            const std::function<QString(const FieldDef&)>& column,
                            const LeadingColumn& leading = {});

// The text with every code point case-folded on its own, as a comparison that
// ignores case folds it; null stays null, so that a prefix test of folded texts
// answers as the same test ignoring case on the texts themselves.
QString foldedForSearch(const QString& text);

// An INSERT of these quoted columns, every value bound.
QString insertStatement(const QString& quotedTable, const QStringList& quotedColumns);

} // namespace lir::db
