#pragma once

#include "core/db/storage.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <QVector>

#include <optional>

// The change log of the price table: one row for every change of a price,
// written in the same transaction as the change. It is a table of its own,
// "zeni_log", beside the price table (in zeni.db over files, beside zeni on a
// server), made when it is first written; zeni keeps its layout.
namespace lir::prices {

inline QString logTableName() { return QStringLiteral("zeni_log"); }

// Where a change came from, as the log's column "source" holds it.
namespace source {
inline QString editor() { return QStringLiteral("editor"); }
inline QString update() { return QStringLiteral("update"); }
inline QString bulk() { return QStringLiteral("bulk"); }
inline QString undo() { return QStringLiteral("undo"); }
// A price an import changed, and a row it added, with the list's file name.
inline QString import(const QString& fileName) { return QStringLiteral("import: ") + fileName; }
inline QString importNew(const QString& fileName) { return QStringLiteral("import-new: ") + fileName; }
} // namespace source

// The source of the changes the table's post() makes while it lives (the
// price editor's, when none is set).
class ScopedChangeSource
{
public:
    explicit ScopedChangeSource(const QString& source);
    ~ScopedChangeSource();
    ScopedChangeSource(const ScopedChangeSource&) = delete;
    ScopedChangeSource& operator=(const ScopedChangeSource&) = delete;

private:
    QString m_previous;
};

// Records every price post() writes into the table (installed by
// prices::open()). Off, nothing is recorded: the build of the delivered
// table, whose rows have no history.
void installChangeLog(db::Table& t);
void setChangeLogEnabled(bool enabled);

struct LogRow
{
    QString designation;
    std::optional<double> oldPrice; // none: the row had no price, or was added
    std::optional<double> newPrice; // none: the row was taken away (an undone addition)
    QString source;
    QString oldName; // the name before and after, when it changed
    QString newName;
};

// Makes the log table when it is missing, inside the caller's transaction.
void ensureLogTable(db::Table& t);
// The next import batch number; inside a transaction on the price table.
qint64 nextBatch(db::Table& t);
// Writes the rows with the time, the login name and the batch (0: none).
void writeLog(db::Table& t, const QVector<LogRow>& rows, qint64 batch);

struct LogEntry
{
    qint64 id = 0;
    QString changedAt; // UTC, "2026-12-09T22:44:53Z"
    QString login;
    QString source;
    QString designation;
    std::optional<double> oldPrice;
    std::optional<double> newPrice;
    qint64 batch = 0;
    QString oldName; // empty when the name did not change
    QString newName;
};
// Which rows of the log to read; an empty part takes every row.
struct LogFilter
{
    std::optional<QDate> since; // from this day on (local time)
    std::optional<QDate> until; // up to this day, inclusive
    QString designation;        // exactly this designation
    QString login;              // exactly this user
};
// The log in the order it was written; empty when the table has no log yet.
QVector<LogEntry> readLog(db::Table& t, const LogFilter& filter = {});
// The users the log names, in alphabetical order.
QStringList logLogins(db::Table& t);
bool hasLogTable(db::Table& t);

} // namespace lir::prices
