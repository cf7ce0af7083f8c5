#include "core/db/storage.h"

#include "core/db/storagesql.h"
#include "core/db/tableimpl.h"
#include "core/db/storagetexts.h"
#include "core/db/storebackend.h"
#include "core/db/storesettings.h"
#include "core/db/storagevalue.h"
#include "core/base/error.h"
#include "core/base/numberformat.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <map>
#include <utility>

// The table with its current row, over whichever store holds it
// (storebackend.h): the files of sqlitestore.cpp or the server of pgstore.cpp.
namespace lir::db {

namespace {

using Type = FieldDef::Type;

QString& netDirSetting()
{
    static QString dir;
    return dir;
}

struct Registry
{
    std::map<QString, std::unique_ptr<Table>> tables;
    bool cleanupRegistered = false;
};

Registry& registry()
{
    // Never destroyed: the tables are closed by closeAll() while the
    // application and Qt's connection list still exist.
    static auto* r = new Registry;
    return *r;
}

Store& store()
{
    return usesServer() ? serverStore() : fileStore();
}

// Whether a value read back from a field is the one that was written there:
// numbers by their value, whatever type the driver reads them as.
bool sameValue(const QVariant& read, const QVariant& written)
{
    if (!read.isValid() || !written.isValid())
        return read.isValid() == written.isValid();
    if ((isIntegral(read) || isFloating(read)) && (isIntegral(written) || isFloating(written)))
        return read.toDouble() == written.toDouble();
    return read.toString() == written.toString();
}

} // namespace

QString quoted(const QString& identifier)
{
    QString s = identifier;
    s.replace(u'"', QStringLiteral("\"\""));
    return u'"' + s + u'"';
}

void setNetFileDir(const QString& dir)
{
    netDirSetting() = dir.isEmpty() ? QString() : QDir(dir).absolutePath();
}

QString netFileDir()
{
    return netDirSetting().isEmpty() ? QDir::currentPath() : netDirSetting();
}

// ---------------------------------------------------------------- Table

Table::Table() : d(std::make_unique<Impl>())
{
    d->q = this;
}

Table::~Table() = default;

Table& Table::open(const QString& fileName)
{
    Registry& r = registry();
    if (const auto it = r.tables.find(fileName); it != r.tables.end())
        return *it->second;

    QString tableName;
    if (!tableNameOf(fileName, &tableName))
        throw Error(texts::badTableFileName(fileName));
    static qint64 openings = 0;
    std::unique_ptr<Table> t(new Table);
    t->d->opening = ++openings;
    t->d->open(store().open(fileName, tableName), fileName, tableName);
    t->d->loadRow(QStringLiteral("ORDER BY rowid LIMIT 1"));
    if (!r.cleanupRegistered) {
        qAddPostRoutine(&Table::closeAll);
        r.cleanupRegistered = true;
    }
    Table& result = *t;
    r.tables.emplace(fileName, std::move(t));
    return result;
}

bool Table::isOpen(const QString& fileName)
{
    return registry().tables.count(fileName) > 0;
}

QStringList Table::openFilePaths()
{
    QStringList paths;
    for (const auto& entry : registry().tables)
        if (!entry.second->onServer())
            paths << entry.second->filePath();
    return paths;
}

void Table::closeAll()
{
    std::map<QString, std::unique_ptr<Table>> tables;
    tables.swap(registry().tables);
    // An unconfirmed edit is kept rather than lost with the program; one that
    // the field refuses cannot be shown any more and is dropped.
    for (auto& entry : tables) {
        try {
            entry.second->d->writePending();
        } catch (const Error&) {
        }
    }
}

bool Table::exists(const QString& fileName)
{
    QString tableName;
    if (!tableNameOf(fileName, &tableName))
        return false;
    return store().exists(fileName, tableName, isOpen(fileName));
}

void Table::create(const QString& fileName, const QVector<FieldDef>& fields)
{
    QString tableName;
    if (!tableNameOf(fileName, &tableName))
        throw Error(texts::badTableFileName(fileName));
    store().create(fileName, tableName, fields, isOpen(fileName));
}

QString Table::fileName() const
{
    return d->fileName;
}

QString Table::tableName() const
{
    return d->name;
}

QString Table::filePath() const
{
    return d->backend->filePath();
}

QString Table::location() const
{
    return d->backend->location();
}

bool Table::onServer() const
{
    return d->backend->onServer();
}

QStringList Table::fieldNames() const
{
    QStringList names;
    for (const FieldDef& f : d->fields)
        names << f.name;
    return names;
}

QVector<FieldDef> Table::fields() const
{
    return d->fields;
}

// ---- positioning

bool Table::first()
{
    d->writePending();
    return d->moveTo(QStringLiteral("ORDER BY rowid LIMIT 1"));
}

bool Table::last()
{
    d->writePending();
    return d->moveTo(QStringLiteral("ORDER BY rowid DESC LIMIT 1"));
}

bool Table::next()
{
    d->writePending();
    return d->hasRow && d->moveTo(QStringLiteral("WHERE rowid > ? ORDER BY rowid LIMIT 1"), {d->rowid});
}

bool Table::prior()
{
    d->writePending();
    return d->hasRow && d->moveTo(QStringLiteral("WHERE rowid < ? ORDER BY rowid DESC LIMIT 1"), {d->rowid});
}

bool Table::moveTo(qint64 rowid)
{
    d->writePending();
    return d->moveTo(QStringLiteral("WHERE rowid = ?"), {rowid});
}

void Table::moveToLater(qint64 rowid)
{
    // An earlier row of moveToLater() is passed over unread.
    writePending();
    const qint64 shown = currentRowid();
    d->deferredRowid = rowid;
    if (rowid != shown)
        d->announceCurrent();
}

qint64 Table::currentRowid() const
{
    if (d->deferredRowid != 0)
        return d->deferredRowid;
    return d->hasRow ? d->rowid : 0;
}

int Table::currentIndex() const
{
    d->settle();
    if (!d->hasRow)
        return -1;
    // The rows before the current one, as COUNT(*) WHERE rowid < current counts them.
    const QVector<qint64>& rowids = d->rowOrder();
    return int(std::lower_bound(rowids.begin(), rowids.end(), d->rowid) - rowids.begin());
}

bool Table::moveToIndex(int index)
{
    d->writePending();
    if (index < 0)
        return false;
    const QVector<qint64>& rowids = d->rowOrder();
    return index < rowids.size() && d->moveTo(QStringLiteral("WHERE rowid = ?"), {rowids[index]});
}

int Table::rowCount() const
{
    // Another connection may have written since the count was taken.
    const qint64 version = d->dataVersion();
    if (d->count < 0 || d->countVersion != version) {
        QSqlQuery& s = d->run(QStringLiteral("SELECT COUNT(*) FROM ") + d->table, {});
        d->count = s.next() ? s.value(0).toInt() : 0;
        s.finish();
        d->countVersion = version;
    }
    return d->count;
}

bool Table::locate(const QString& field, const QString& value, int options)
{
    const int column = d->fieldIndex(field);
    d->writePending();

    if ((options & (CaseInsensitive | PartialKey)) == 0) {
        // Served by an index on the field when there is one.
        if (value.isEmpty())
            return d->moveToWith(d->emptyLocate[column]);
        return d->moveToWith(d->exactLocate[column], {value});
    }

    // SQLite folds the case of ASCII letters only, so the comparison is made
    // here, over the field's texts kept in table order.
    const bool ignoreCase = options & CaseInsensitive;
    const bool prefix = options & PartialKey;
    const Impl::SearchColumn& c = d->searchColumn(column, ignoreCase);
    const QVector<QString>& texts = ignoreCase ? c.folded : c.texts;
    const QString key = ignoreCase ? foldedForSearch(value) : value;
    std::optional<qint64> found;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString& text = texts[i];
        if (prefix ? text.startsWith(key) : text == key) {
            found = c.rowids[i];
            break;
        }
    }
    return found && d->moveTo(QStringLiteral("WHERE rowid = ?"), {*found});
}

std::optional<Table::Stamp> Table::stamp()
{
    if (d->dataVersionStatement.isEmpty())
        return std::nullopt;
    if (const std::optional<qint64> counter = d->backend->changeCounter())
        return Stamp{d->opening, *counter, d->ownWrites};
    // Apart from the counter's values, should a file change its journal
    // between two stamps.
    constexpr qint64 AskedByStatement = qint64(1) << 40;
    return Stamp{d->opening, AskedByStatement + d->dataVersion(), d->ownWrites};
}

// ---- reading

QVariant Table::value(const QString& field) const
{
    d->settle();
    return d->values[d->fieldIndex(field)];
}

QString Table::text(const QString& field) const
{
    const QVariant v = value(field);
    return v.isValid() ? v.toString() : QString();
}

std::optional<double> Table::number(const QString& field) const
{
    d->settle();
    const int i = d->fieldIndex(field);
    return storedNumber(d->values[i], d->fields[i].name);
}

bool Table::isNull(const QString& field) const
{
    return !value(field).isValid();
}

// ---- writing

void Table::insert()
{
    d->writePending();
    d->startPending(State::Insert);
    d->values = QVector<QVariant>(d->fields.size());
    d->announceCurrent();
}

void Table::edit()
{
    if (m_state != State::Browse)
        return;
    d->settle();
    if (!d->hasRow)
        throw Error(texts::emptyTable(d->fileName));
    d->startPending(State::Edit);
}

void Table::setNumberCheck(const QString& field, NumberCheck check)
{
    const int i = d->fieldIndex(field);
    if (check)
        d->checks[i] = std::move(check);
    else
        d->checks.erase(i);
}

void Table::setValue(const QString& field, const QVariant& v)
{
    if (m_state == State::Browse)
        throw Error(texts::notEditing(d->fileName));
    const int i = d->fieldIndex(field);
    const FieldDef& f = d->fields[i];
    QVariant pending = v.isNull() ? QVariant() : v;
    if (f.type == FieldDef::Type::Text && pending.isValid()) {
        const QString s = cutToSize(pending.toString(), f.size);
        pending = s.isEmpty() ? QVariant() : QVariant(s);
    }
    d->values[i] = pending;
    d->changed[i] = true;
    d->modified = true;
}

void Table::setWriteObserver(WriteObserver observer)
{
    d->observer = std::move(observer);
}

void Table::post()
{
    if (m_state == State::Browse)
        return;
    if (!d->observer) {
        postRow();
        return;
    }
    // What the observer writes goes with the row: in the caller's
    // transaction, or in one of its own.
    const QVector<QVariant> before = m_state == State::Insert ? QVector<QVariant>() : d->saved;
    const bool own = !d->inTransaction;
    if (own)
        beginTransaction();
    try {
        if (postRow())
            d->observer(*this, before, d->values);
        if (own)
            commit();
    } catch (...) {
        if (own) {
            // Not rollback(): a value the field refused stays pending, to be mended.
            QSqlError ignored;
            d->backend->rollback(&ignored);
            d->inTransaction = false;
            d->dataPending = false;
            d->currentPending = false;
            if (m_state == State::Browse)
                d->refreshAfterChange();
        }
        throw;
    }
}

bool Table::postRow()
{
    if (m_state == State::Browse)
        return false;

    // Every value is converted before anything is written, so a refused one
    // leaves the file as it was and the row pending.
    QStringList columns;
    QVariantList binds;
    QVector<int> written; // the columns of binds, in their order
    for (int i = 0; i < d->fields.size(); ++i) {
        if (!d->changed[i])
            continue;
        written << i;
        const QVariant stored = storedValue(d->fields[i], d->values[i]);
        if (const auto check = d->checks.find(i); check != d->checks.end() && stored.isValid())
            if (const QString problem = check->second(stored.toDouble()); !problem.isEmpty())
                throw Error(problem);
        binds << stored;
        columns << quoted(d->fields[i].name);
    }

    if (m_state == State::Insert) {
        QString sql = columns.isEmpty() ? QStringLiteral("INSERT INTO ") + d->table + QStringLiteral(" DEFAULT VALUES")
                                        : insertStatement(d->table, columns);
        const bool returns = d->backend->insertReturnsRow();
        if (returns)
            sql += QStringLiteral(" RETURNING rowid, ") + d->columns;
        QSqlQuery& s = d->run(sql, binds);
        qint64 id = 0;
        bool loaded = false;
        if (!returns) {
            id = s.lastInsertId().toLongLong();
        } else if (s.next()) {
            id = s.value(0).toLongLong();
            for (int i = 0; i < d->fields.size(); ++i)
                d->values[i] = s.isNull(i + 1) ? QVariant() : s.value(i + 1);
            d->rowid = id;
            d->hasRow = loaded = true;
        }
        s.finish();
        d->count = -1;
        d->dropSearchColumns();
        d->modified = false;
        m_state = State::Browse;
        if (!loaded && !d->loadRow(QStringLiteral("WHERE rowid = ?"), {id}))
            d->moveToNeighbour(id);
        d->announceData();
        d->announceCurrent();
        return true;
    }

    if (columns.isEmpty()) {
        d->modified = false;
        m_state = State::Browse;
        return false;
    }
    for (QString& c : columns)
        c += QStringLiteral(" = ?");
    // The row is written only as it was read: a change another user made
    // since is not overwritten.
    QString unchanged;
    binds << d->rowid;
    for (int i = 0; i < d->fields.size(); ++i) {
        unchanged += QStringLiteral(" AND ") + quoted(d->fields[i].name) + d->backend->nullSafeEquals();
        binds << d->saved[i];
    }
    QSqlQuery& s = d->run(QStringLiteral("UPDATE ") + d->table + QStringLiteral(" SET ") +
                              columns.join(QStringLiteral(", ")) + QStringLiteral(" WHERE rowid = ?") + unchanged,
                          binds);
    const int affected = s.numRowsAffected();
    s.finish();
    d->dropSearchColumns();
    d->modified = false;
    m_state = State::Browse;
    if (affected == 0) {
        // Deleted or changed behind this object's back: by another user, or
        // through query(). The row is shown as it is now.
        d->values = d->saved;
        const qint64 row = d->rowid;
        d->refreshAfterChange();
        if (!d->hasRow || d->rowid != row)
            throw Error(texts::rowGone(d->fileName));
        // Another copy that wrote just what this edit writes (two starts
        // giving a row the same new name) is no conflict.
        for (qsizetype k = 0; k < written.size(); ++k)
            if (!sameValue(d->values[written[k]], binds[k]))
                throw Error(texts::rowChangedByOthers(shownTable(d->fileName)));
        d->announceData();
        return false;
    }
    d->loadRow(QStringLiteral("WHERE rowid = ?"), {d->rowid});
    d->announceData();
    return true;
}

void Table::writePending()
{
    // Nothing pending: a row of moveToLater() stays unread.
    if (m_state != State::Browse)
        d->writePending();
}

void Table::cancel()
{
    d->dropPending();
}

void Table::remove()
{
    if (m_state == State::Insert) {
        d->dropPending();
        return;
    }
    if (m_state == State::Edit) {
        d->values = d->saved;
        d->modified = false;
        m_state = State::Browse;
    }
    d->settle();
    if (!d->hasRow)
        throw Error(texts::emptyTable(d->fileName));
    const qint64 gone = d->rowid;
    d->run(QStringLiteral("DELETE FROM ") + d->table + QStringLiteral(" WHERE rowid = ?"), {gone}).finish();
    d->count = -1;
    d->dropSearchColumns();
    d->moveToNeighbour(gone);
    d->announceData();
    d->announceCurrent();
}

void Table::beginTransaction()
{
    // The writes of a transaction follow what it reads (the next order
    // number, the rows a batch finds missing): no other writer may come in
    // between, whichever copy of the program it is.
    d->settle();
    d->ensureConnection();
    d->backend->begin(d->inTransaction);
    d->inTransaction = true;
}

void Table::commit()
{
    try {
        d->backend->commit();
    } catch (...) {
        if (d->backend->failedCommitEnds()) {
            d->inTransaction = false;
            d->dataPending = false;
            d->currentPending = false;
        }
        throw;
    }
    d->endTransaction();
}

void Table::rollback()
{
    // The pending row may belong to what is rolled back.
    d->dropPending();
    d->settle();
    QSqlError e;
    const bool ok = d->backend->rollback(&e);
    // The rows are announced as they are now; a current row that moved
    // inside is announced even where the rollback left it.
    d->inTransaction = false;
    d->dataPending = false;
    const bool moved = std::exchange(d->currentPending, false);
    const qint64 before = d->rowid;
    d->refreshAfterChange();
    if (moved && d->rowid == before)
        emit currentChanged();
    if (!ok)
        d->failed(e);
}

QSqlQuery Table::Impl::execute(const QString& sql, const QVariantList& binds)
{
    ensureConnection();
    QSqlQuery s(backend->database());
    s.setForwardOnly(true);
    if (backend->runsUnboundUnprepared() && binds.isEmpty()) {
        // The server prepares no statement that defines tables: those run as they are.
        if (!s.exec(sql))
            failed(s.lastError());
    } else {
        if (!s.prepare(sql))
            failed(s.lastError());
        for (int i = 0; i < binds.size(); ++i)
            s.bindValue(i, binds[i]);
        if (!s.exec())
            failed(s.lastError());
    }
    return s;
}

void Table::writeBeside(const QString& sql, const QVariantList& binds)
{
    d->execute(sql, binds).finish();
}

QVector<QVector<QVariant>> Table::query(const QString& sql, const QVariantList& binds)
{
    QSqlQuery s = d->execute(sql, binds);
    QVector<QVector<QVariant>> rows;
    if (s.isSelect()) {
        const int n = s.record().count();
        while (s.next()) {
            QVector<QVariant> row(n);
            for (int i = 0; i < n; ++i)
                row[i] = s.isNull(i) ? QVariant() : s.value(i);
            rows.push_back(std::move(row));
        }
        s.finish();
    } else {
        s.finish();
        d->refreshAfterChange();
    }
    return rows;
}

void Table::queryEach(const QString& sql, const QVariantList& binds, const std::function<void(const QueryRow&)>& row)
{
    d->ensureConnection();
    if (d->backend->readEach(sql, binds, row))
        return;
    QSqlQuery s = d->execute(sql, binds);
    const QueryRow r(&s);
    while (s.next())
        row(r);
    s.finish();
}

void Table::appendRows(const QStringList& fields, qsizetype count,
                       const std::function<void(qsizetype, QVariantList&)>& row)
{
    d->writePending();
    QVector<int> columns;
    QStringList quotedColumns;
    for (const QString& field : fields) {
        columns << d->fieldIndex(field);
        quotedColumns << quoted(d->fields[columns.last()].name);
    }
    if (count <= 0)
        return;
    const bool own = !d->inTransaction;
    if (own)
        beginTransaction();
    try {
        QVariantList values;
        if (d->observer) {
            // The observer is told of every row as post() tells it.
            for (qsizetype r = 0; r < count; ++r) {
                values = QVariantList(fields.size());
                row(r, values);
                insert();
                for (qsizetype k = 0; k < fields.size(); ++k)
                    setValue(fields[k], values[k]);
                post();
            }
        } else {
            const QString sql = insertStatement(d->table, quotedColumns);
            for (qsizetype r = 0; r < count; ++r) {
                values.fill(QVariant(), fields.size());
                row(r, values);
                for (qsizetype k = 0; k < fields.size(); ++k) {
                    const int i = columns[k];
                    values[k] = storedValue(d->fields[i], values[k]);
                    if (const auto check = d->checks.find(i); check != d->checks.end() && values[k].isValid())
                        if (const QString problem = check->second(values[k].toDouble()); !problem.isEmpty())
                            throw Error(problem);
                }
                if (!d->backend->insertRow(sql, values))
                    d->run(sql, values).finish();
            }
            // A count taken before stays right: the rows are this connection's own.
            if (d->count >= 0)
                d->count += int(count);
            d->dropSearchColumns();
            // The rows are the last of the table: no other writer comes in
            // while the transaction holds it.
            if (!d->loadRow(QStringLiteral("ORDER BY rowid DESC LIMIT 1")))
                d->clearRow();
            d->announceData();
            d->announceCurrent();
        }
        if (own)
            commit();
    } catch (...) {
        if (own) {
            try {
                rollback();
            } catch (...) {
            }
        }
        throw;
    }
}

} // namespace lir::db
