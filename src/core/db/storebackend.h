#pragma once

#include "core/db/storage.h"
#include "core/base/error.h"

#include <QSqlDatabase>
#include <QSqlError>

#include <memory>
#include <optional>

// What a store must provide for the tables of storage.h. The table above
// keeps the current row, the pending edit, the searches, the order of the
// rows and the signals; a backend holds one table's connection and says where
// its engine differs. The tables themselves are data (a file name and its
// fields, declared by their owners): adding one touches no backend.
namespace lir::db {

class TableBackend
{
public:
    virtual ~TableBackend() = default;

    // ---- where the table is
    virtual QString filePath() const = 0; // empty for a table on a server
    virtual QString location() const = 0; // the table as messages name it
    virtual bool onServer() const = 0;
    // The fields as the engine declares them, in column order; throws when
    // the table is not there.
    virtual QVector<FieldDef> readFields() = 0;

    // ---- statements
    virtual QSqlDatabase& database() = 0;
    // The error to throw for a failed statement: the engine's message naming
    // the table. A lost connection says so, and lost() stays true until
    // reconnect().
    virtual Error failure(const QSqlError& e, bool inTransaction) = 0;
    virtual bool lost() const = 0;
    // Connects anew after a lost connection (the statements prepared on the
    // old one are dropped first, outside a transaction only).
    virtual void reconnect() = 0;
    // The statement whose first value moves when another connection has
    // written; empty when the engine has none (then nothing read earlier is
    // taken for the table as it is).
    virtual QString dataVersionStatement() const = 0;
    // The store's change counter read without a statement, where the engine
    // keeps one that every commit moves (its own and other connections');
    // none where it cannot be read so, and dataVersionStatement() is asked.
    virtual std::optional<qint64> changeCounter() { return std::nullopt; }
    // Reads a SELECT's rows straight from the engine, each handed to `row`;
    // false, with nothing read, where the backend has no such way or the
    // binds hold a type it does not bind as QSqlQuery would (then QSqlQuery
    // reads them). Throws the statement's failure.
    virtual bool readEach(const QString& sql, const QVariantList& binds,
                          const std::function<void(const QueryRow&)>& row)
    {
        Q_UNUSED(sql);
        Q_UNUSED(binds);
        Q_UNUSED(row);
        return false;
    }

    // Runs an insert with these values through a statement the backend
    // prepares once and keeps; false, with nothing written, where it has no
    // such way or the values hold a type it does not bind as QSqlQuery would
    // (then QSqlQuery runs it). Throws the statement's failure.
    virtual bool insertRow(const QString& sql, const QVariantList& binds)
    {
        Q_UNUSED(sql);
        Q_UNUSED(binds);
        return false;
    }

    // ---- the engine's dialect
    // Only like types compare: a number field is located by its text, and
    // only text can be empty.
    virtual bool comparesLikeTypesOnly() const = 0;
    // The null-safe equality of the written-as-read test of an edit.
    virtual QString nullSafeEquals() const = 0;
    // The insert gives the written row back ("RETURNING"); else the new rowid is read.
    virtual bool insertReturnsRow() const = 0;
    // A statement without binds runs unprepared (the engine prepares no DDL).
    virtual bool runsUnboundUnprepared() const = 0;

    // ---- transactions and locks
    // Starts one that locks the table against other writers.
    virtual void begin(bool inTransaction) = 0;
    virtual void commit() = 0;
    // A failed commit has rolled back: the transaction is over.
    virtual bool failedCommitEnds() const = 0;
    // False with the engine's error; a lost connection took it along already.
    virtual bool rollback(QSqlError* error) = 0;
};

// Where the tables are found, made and opened: the files of the tables'
// directory, or the configured server.
class Store
{
public:
    virtual ~Store() = default;
    // `openHere`: the table is open in this run (a store may take that for an answer).
    virtual bool exists(const QString& fileName, const QString& table, bool openHere) = 0;
    // Makes the table from its fields; one that exists is never touched.
    virtual void create(const QString& fileName, const QString& table, const QVector<FieldDef>& fields,
                        bool openHere) = 0;
    virtual std::unique_ptr<TableBackend> open(const QString& fileName, const QString& table) = 0;
};

Store& fileStore();   // sqlitestore.cpp
Store& serverStore(); // pgstore.cpp

} // namespace lir::db
