#pragma once

// The state of an open table behind storage.h: its backend, its fields, the
// current row and the pending one, the statements made once, and the texts
// kept for searches. Included by storage.cpp alone.
#include "core/db/storage.h"
#include "core/db/storagesql.h"
#include "core/db/storagetexts.h"
#include "core/db/storebackend.h"
#include "core/base/error.h"

#include <QHash>
#include <QSqlQuery>

#include <map>
#include <utility>

namespace lir::db {

struct Table::Impl
{
    Table* q = nullptr;
    QString fileName;
    QString name;
    std::unique_ptr<TableBackend> backend;
    QString dataVersionStatement; // empty: every call is a new version
    qint64 volatileVersion = 0;
    QVector<FieldDef> fields;
    QHash<QString, int> byName; // case-folded field name -> column
    QString table;              // quoted table name
    QString columns;            // quoted column list in field order
    std::map<QString, std::unique_ptr<QSqlQuery>> statements;

    bool hasRow = false;
    qint64 rowid = 0;
    QVector<QVariant> values; // the current row, or the pending one in Edit/Insert
    QVector<QVariant> saved;  // the current row as it was before Edit/Insert
    QVector<bool> changed;
    bool modified = false;
    int count = -1; // cached row count, -1 when unknown
    qint64 countVersion = 0;
    qint64 opening = 0;   // this opening among all openings of the run
    qint64 ownWrites = 0; // moves with every write announced (stamp())
    qint64 deferredRowid = 0;                 // made current by moveToLater() and not read yet; 0: none
    std::map<int, Table::NumberCheck> checks; // by column
    Table::WriteObserver observer;

    // Inside a transaction the changes are announced once, when it ends:
    // a batch of hundreds of rows is shown once, and nobody is shown rows
    // that a rollback takes back.
    bool inTransaction = false;
    bool dataPending = false;
    bool currentPending = false;

    void announceData()
    {
        ++ownWrites;
        if (inTransaction)
            dataPending = true;
        else
            emit q->dataChanged();
    }
    void announceCurrent()
    {
        if (inTransaction)
            currentPending = true;
        else
            emit q->currentChanged();
    }
    // The end of a transaction: what happened in it, announced once.
    void endTransaction()
    {
        inTransaction = false;
        const bool data = std::exchange(dataPending, false);
        const bool current = std::exchange(currentPending, false);
        if (data)
            emit q->dataChanged();
        if (current)
            emit q->currentChanged();
    }

    // The row statements of positioning and locating, their text made once.
    QString selectRow;              // "SELECT rowid, <columns> FROM <table> "
    QVector<QString> exactLocate;   // by field: the first row whose field equals ?
    QVector<QString> emptyLocate;   // by field: the first row whose field is empty

    // The texts of one field in table order, kept for the searches that the
    // file cannot serve (case folding beyond ASCII). They are dropped by every
    // change made here and rebuilt when another connection has changed the file.
    struct SearchColumn
    {
        bool valid = false;
        qint64 dataVersion = 0;
        QVector<qint64> rowids;
        QVector<QString> texts;
        QVector<QString> folded; // filled on the first search that ignores case
    };
    QVector<SearchColumn> search;

    // The rowids in table order, for the current row's position; kept and
    // checked as the search texts are.
    struct RowOrder
    {
        bool valid = false;
        qint64 dataVersion = 0;
        QVector<qint64> rowids;
    };
    RowOrder order;

    ~Impl()
    {
        // The statements go before their connection.
        statements.clear();
        backend.reset();
    }

    void open(std::unique_ptr<TableBackend> b, const QString& file, const QString& tableName)
    {
        fileName = file;
        name = tableName;
        table = quoted(tableName);
        backend = std::move(b);
        dataVersionStatement = backend->dataVersionStatement();
        fields = backend->readFields();
        for (qsizetype i = 0; i < fields.size(); ++i)
            byName.insert(fields[i].name.toCaseFolded(), int(i));
        prepareTexts();
    }

    void prepareTexts()
    {
        QStringList quotedColumns;
        for (const FieldDef& f : std::as_const(fields))
            quotedColumns << quoted(f.name);
        columns = quotedColumns.join(QStringLiteral(", "));
        selectRow = QStringLiteral("SELECT rowid, ") + columns + QStringLiteral(" FROM ") + table + u' ';
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const QString& column = quotedColumns[i];
            // The server compares text with text only: a number field is
            // located by its text, and only text can be empty.
            const bool text = !backend->comparesLikeTypesOnly() || fields[i].type == FieldDef::Type::Text;
            exactLocate << selectRow + QStringLiteral("WHERE ") +
                               (text ? column : QStringLiteral("CAST(") + column + QStringLiteral(" AS TEXT)")) +
                               QStringLiteral(" = ? ORDER BY rowid LIMIT 1");
            emptyLocate << selectRow + QStringLiteral("WHERE ") + column + QStringLiteral(" IS NULL") +
                               (text ? QStringLiteral(" OR ") + column + QStringLiteral(" = ''") : QString()) +
                               QStringLiteral(" ORDER BY rowid LIMIT 1");
        }
        search.resize(fields.size());
        clearRow();
    }

    int fieldIndex(const QString& field) const
    {
        // Callers name fields as the file spells them; folding is the fallback.
        for (qsizetype i = 0; i < fields.size(); ++i)
            if (fields[i].name == field)
                return int(i);
        const auto it = byName.constFind(field.toCaseFolded());
        if (it == byName.cend())
            throw Error(texts::fieldNotFound(field, fileName));
        return *it;
    }

    // A failed statement. On a server a lost connection says so, and the
    // next statement connects anew.
    [[noreturn]] void failed(const QSqlError& e) { throw backend->failure(e, inTransaction); }

    // Runs a statement of query() on a query of its own; a failure throws.
    QSqlQuery execute(const QString& sql, const QVariantList& binds);

    // Connects anew after a lost connection; outside a transaction only, as
    // one that was open is gone with its connection.
    void ensureConnection()
    {
        if (!backend->lost() || inTransaction)
            return;
        statements.clear();
        backend->reconnect();
    }

    QSqlQuery& statement(const QString& sql)
    {
        ensureConnection();
        auto it = statements.find(sql);
        if (it == statements.end()) {
            auto s = std::make_unique<QSqlQuery>(backend->database());
            s->setForwardOnly(true);
            if (!s->prepare(sql))
                failed(s->lastError());
            it = statements.emplace(sql, std::move(s)).first;
        }
        return *it->second;
    }

    // Runs a cached statement; the caller finishes it after reading.
    QSqlQuery& run(const QString& sql, const QVariantList& binds)
    {
        QSqlQuery& s = statement(sql);
        for (int i = 0; i < binds.size(); ++i)
            s.bindValue(i, binds[i]);
        if (!s.exec()) {
            const QSqlError e = s.lastError();
            s.finish();
            failed(e);
        }
        return s;
    }

    void clearRow()
    {
        hasRow = false;
        rowid = 0;
        values = QVector<QVariant>(fields.size());
    }

    // Makes the first row that `tail` selects current; false (and nothing
    // changed) when it selects none.
    bool loadRow(const QString& tail, const QVariantList& binds = {})
    {
        return loadRowWith(selectRow + tail, binds);
    }

    // As loadRow, with the whole statement given.
    bool loadRowWith(const QString& sql, const QVariantList& binds = {})
    {
        QSqlQuery& s = run(sql, binds);
        if (!s.next()) {
            s.finish();
            return false;
        }
        rowid = s.value(0).toLongLong();
        for (int i = 0; i < fields.size(); ++i)
            values[i] = s.isNull(i + 1) ? QVariant() : s.value(i + 1);
        s.finish();
        hasRow = true;
        return true;
    }

    // The next row after `gone`, else the one before it, else none.
    void moveToNeighbour(qint64 gone)
    {
        if (!loadRow(QStringLiteral("WHERE rowid > ? ORDER BY rowid LIMIT 1"), {gone}) &&
            !loadRow(QStringLiteral("WHERE rowid < ? ORDER BY rowid DESC LIMIT 1"), {gone}))
            clearRow();
    }

    bool moveTo(const QString& tail, const QVariantList& binds = {})
    {
        return moveToWith(selectRow + tail, binds);
    }

    bool moveToWith(const QString& sql, const QVariantList& binds = {})
    {
        const bool had = hasRow;
        const qint64 before = rowid;
        if (!loadRowWith(sql, binds))
            return false;
        if (!had || rowid != before)
            announceCurrent();
        return true;
    }

    // The row of moveToLater() read now that it is used. A row gone since,
    // or one that cannot be read, leaves the current row where it was, as
    // moveTo() would have.
    void settle()
    {
        const qint64 target = std::exchange(deferredRowid, 0);
        if (target == 0)
            return;
        bool loaded = false;
        try {
            loaded = loadRow(QStringLiteral("WHERE rowid = ?"), {target});
        } catch (const Error&) {
        }
        if (!loaded)
            announceCurrent();
    }

    // A modified pending row is written; an untouched one is dropped.
    void writePending()
    {
        settle();
        if (q->m_state == State::Browse)
            return;
        if (modified)
            q->post();
        else
            dropPending();
    }

    void dropPending()
    {
        if (q->m_state == State::Browse)
            return;
        const bool visible = q->m_state == State::Insert || modified;
        values = saved;
        modified = false;
        q->m_state = State::Browse;
        if (visible)
            announceCurrent();
    }

    void startPending(State state)
    {
        saved = values;
        changed = QVector<bool>(fields.size(), false);
        modified = false;
        q->m_state = state;
    }

    void dropSearchColumns()
    {
        for (SearchColumn& c : search)
            c.valid = false;
        order.valid = false;
    }

    const QVector<qint64>& rowOrder()
    {
        const qint64 version = dataVersion();
        if (!order.valid || order.dataVersion != version) {
            order.rowids.clear();
            QSqlQuery& s = run(QStringLiteral("SELECT rowid FROM ") + table + QStringLiteral(" ORDER BY rowid"), {});
            while (s.next())
                order.rowids.push_back(s.value(0).toLongLong());
            s.finish();
            order.dataVersion = version;
            order.valid = true;
        }
        return order.rowids;
    }

    // The store's change counter: it moves when another connection commits.
    // Where the store has none to ask, every call is a new version, and
    // nothing read earlier is taken for the table as it is.
    qint64 dataVersion()
    {
        if (dataVersionStatement.isEmpty())
            return ++volatileVersion;
        QSqlQuery& s = run(dataVersionStatement, {});
        const qint64 v = s.next() ? s.value(0).toLongLong() : -1;
        s.finish();
        return v;
    }

    SearchColumn& searchColumn(int field, bool folded)
    {
        SearchColumn& c = search[field];
        const qint64 version = dataVersion();
        if (!c.valid || c.dataVersion != version) {
            c = SearchColumn();
            QSqlQuery& s = run(QStringLiteral("SELECT rowid, ") + quoted(fields[field].name) +
                                   QStringLiteral(" FROM ") + table + QStringLiteral(" ORDER BY rowid"),
                               {});
            while (s.next()) {
                c.rowids.push_back(s.value(0).toLongLong());
                c.texts.push_back(s.isNull(1) ? QString() : s.value(1).toString());
            }
            s.finish();
            c.dataVersion = version;
            c.valid = true;
        }
        if (folded && c.folded.size() != c.texts.size()) {
            c.folded.clear();
            c.folded.reserve(c.texts.size());
            for (const QString& text : std::as_const(c.texts))
                c.folded.push_back(foldedForSearch(text));
        }
        return c;
    }

    // The file changed in ways this object did not follow (a rollback, a
    // statement of query()): re-read the current row, or its neighbour when it is gone.
    void refreshAfterChange()
    {
        settle();
        count = -1;
        dropSearchColumns();
        if (q->m_state == State::Browse) {
            const bool had = hasRow;
            const qint64 before = rowid;
            if (!hasRow)
                loadRow(QStringLiteral("ORDER BY rowid LIMIT 1"));
            else if (!loadRow(QStringLiteral("WHERE rowid = ?"), {rowid}))
                moveToNeighbour(rowid);
            announceData();
            if (had != hasRow || rowid != before)
                announceCurrent();
        } else {
            announceData();
        }
    }
};

} // namespace lir::db
