#include "core/db/sqlitestore.h"

#include "core/db/storagesql.h"
#include "core/db/storagetexts.h"
#include "core/db/storagevalue.h"
#include "core/base/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>
#include <QHash>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QUrl>

#include <sqlite3.h>

#include <map>

namespace lir::db {

namespace {

using Type = FieldDef::Type;

// SQLite's URI form, so that the open mode can forbid creating the file.
QString sqliteUri(const QString& path, const QString& mode)
{
    QUrl url = QUrl::fromLocalFile(path);
    url.setQuery(QStringLiteral("mode=") + mode);
    return url.toString(QUrl::FullyEncoded);
}

QString tablePath(const QString& fileName)
{
    return QDir(netFileDir()).filePath(fileName);
}

// The column as create() declares it; the CHECK lets the file itself refuse
// what the field cannot hold, whoever writes to it.
QString columnDefinition(const FieldDef& f)
{
    const QString c = quoted(f.name);
    switch (f.type) {
    case Type::Text:
        return f.size > 0 ? c + QStringLiteral(" VARCHAR(%1)").arg(f.size) : c + QStringLiteral(" TEXT");
    case Type::Int32:
        return c + QStringLiteral(" INTEGER CHECK (") + c + QStringLiteral(" IS NULL OR (typeof(") + c +
               QStringLiteral(") = 'integer' AND ") + c +
               QStringLiteral(" BETWEEN -2147483648 AND 2147483647))");
    case Type::UInt16:
        return c + QStringLiteral(" SMALLINT UNSIGNED CHECK (") + c + QStringLiteral(" IS NULL OR (typeof(") +
               c + QStringLiteral(") = 'integer' AND ") + c + QStringLiteral(" BETWEEN 0 AND 65535))");
    case Type::Double:
        return c + QStringLiteral(" DOUBLE CHECK (") + c + QStringLiteral(" IS NULL OR typeof(") + c +
               QStringLiteral(") IN ('integer', 'real'))");
    case Type::Other:
        break;
    }
    return c;
}

// The connection's own SQLite handle, as Qt's driver holds it; null where it
// holds none.
sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    const QVariant h = db.driver() ? db.driver()->handle() : QVariant();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(h.constData());
}

// The failure of a statement worded as Qt's driver words it, so that a
// message reads the same whichever way the rows were read.
QSqlError sqliteError(sqlite3* db, const char* what, QSqlError::ErrorType type, int code)
{
    return QSqlError(QCoreApplication::translate("QSQLiteResult", what),
                     QString(static_cast<const QChar*>(sqlite3_errmsg16(db))), type, QString::number(code));
}

// Binds the values as Qt's driver binds them; false for a type it is not
// sure to bind alike (then nothing is read this way).
bool bindAll(sqlite3_stmt* s, const QVariantList& binds, int* rc)
{
    *rc = SQLITE_OK;
    for (int i = 0; i < binds.size() && *rc == SQLITE_OK; ++i) {
        const QVariant& v = binds[i];
        const bool isText = v.typeId() == QMetaType::QString;
        if (!v.isValid() || v.isNull() || (isText && static_cast<const QString*>(v.constData())->isNull())) {
            *rc = sqlite3_bind_null(s, i + 1);
        } else if (isText) {
            const QString& text = *static_cast<const QString*>(v.constData());
            *rc = sqlite3_bind_text16(s, i + 1, text.utf16(), int(text.size() * sizeof(QChar)), SQLITE_STATIC);
        } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::Bool || v.typeId() == QMetaType::UInt ||
                   v.typeId() == QMetaType::LongLong) {
            *rc = sqlite3_bind_int64(s, i + 1, v.toLongLong());
        } else if (v.typeId() == QMetaType::Double) {
            *rc = sqlite3_bind_double(s, i + 1, v.toDouble());
        } else {
            // The driver binds the other types as their text, dates in a form of its own.
            return false;
        }
    }
    return true;
}

QStringList fileTableStatements(const QString& tableName, const QVector<FieldDef>& fields, const QString& shownName)
{
    return tableStatements(tableName, fields, shownName, columnDefinition);
}

// Runs the statements that make a table, then the insert once for every row,
// in one transaction on a file that is created when missing. Returns the
// engine's message of the first failure, empty when all was written.
QString writeNewFile(const QString& path, const QString& table, const QStringList& statements,
                     const QString& insert, const QVector<QVariantList>& rows)
{
    const QString connection = newConnectionName(table);
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
        db.setDatabaseName(sqliteUri(path, QStringLiteral("rwc")));
        bool ok = db.isValid() && db.open() && db.transaction();
        for (int i = 0; ok && i < statements.size(); ++i) {
            QSqlQuery s(db);
            ok = s.exec(statements[i]);
            if (!ok)
                error = s.lastError().text();
        }
        if (ok && !rows.isEmpty()) {
            QSqlQuery s(db);
            ok = s.prepare(insert);
            for (int r = 0; ok && r < rows.size(); ++r) {
                for (int i = 0; i < rows[r].size(); ++i)
                    s.bindValue(i, rows[r][i]);
                ok = s.exec();
            }
            if (!ok)
                error = s.lastError().text();
        }
        if (ok)
            ok = db.commit();
        if (!ok) {
            if (error.isEmpty())
                error = db.lastError().text();
            db.rollback();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return error;
}

class FileTable final : public TableBackend
{
public:
    FileTable(const QString& path, const QString& fileName, const QString& table)
        : m_path(path), m_fileName(fileName), m_table(table), m_where(QDir::toNativeSeparators(path)),
          m_connection(newConnectionName(table))
    {
    }
    ~FileTable() override
    {
        // The statements go before their connection, which cannot close under them.
        for (auto& entry : m_inserts)
            sqlite3_finalize(entry.second);
        closeConnection(m_db, m_connection);
    }

    // Apart from the constructor, so that a failure still removes the connection.
    void connect()
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        if (!m_db.isValid())
            fail(m_where, m_db.lastError());
        m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
        m_db.setDatabaseName(sqliteUri(m_path, QStringLiteral("rw")));
        if (!m_db.open())
            fail(m_where, m_db.lastError());
    }

    QString filePath() const override { return m_path; }
    QString location() const override { return m_where; }
    bool onServer() const override { return false; }

    QVector<FieldDef> readFields() override
    {
        QVector<FieldDef> fields;
        QSqlQuery s(m_db);
        s.setForwardOnly(true);
        if (!s.prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(?)")))
            throw failure(s.lastError(), false);
        s.bindValue(0, m_table);
        if (!s.exec())
            throw failure(s.lastError(), false);
        while (s.next())
            fields.push_back(fieldFromDeclaredType(s.value(0).toString(), s.value(1).toString()));
        if (fields.isEmpty())
            throw Error(texts::noTableInFile(m_table, m_fileName));
        return fields;
    }

    QSqlDatabase& database() override { return m_db; }
    Error failure(const QSqlError& e, bool) override { return engineFailure(m_where, e); }
    bool lost() const override { return false; }
    void reconnect() override {}
    // The file's change counter: it moves when another connection commits.
    QString dataVersionStatement() const override { return QStringLiteral("PRAGMA data_version"); }

    // The change counter of the file's header, read through the connection's
    // own file handle: a statement would take a read lock, look for a hot
    // journal and unlock, three system calls and more, where this is one
    // read. With a rollback journal every commit moves it before its lock
    // goes; a WAL file leaves it alone, so there the statement is asked.
    std::optional<qint64> changeCounter() override
    {
        if (!m_file) {
            sqlite3* db = sqliteHandle(m_db);
            if (!db || sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &m_file) != SQLITE_OK)
                m_file = nullptr;
            if (!m_file || !m_file->pMethods) {
                m_file = nullptr;
                return std::nullopt;
            }
        }
        unsigned char header[28];
        if (m_file->pMethods->xRead(m_file, header, int(sizeof header), 0) != SQLITE_OK)
            return std::nullopt;
        // The write and read versions: 1 for a rollback journal, 2 for WAL.
        if (header[18] != 1 || header[19] != 1)
            return std::nullopt;
        return qint64(header[24]) << 24 | qint64(header[25]) << 16 | qint64(header[26]) << 8 |
               qint64(header[27]);
    }

    // Stepped on the connection's own handle: a long list is read without a
    // QVariant for every value nor the driver's copy of every row.
    bool readEach(const QString& sql, const QVariantList& binds,
                  const std::function<void(const QueryRow&)>& row) override
    {
        sqlite3* db = sqliteHandle(m_db);
        if (!db)
            return false;
        sqlite3_stmt* raw = nullptr;
        const int prepared = sqlite3_prepare16_v2(db, sql.utf16(), int(sql.size() * sizeof(QChar)), &raw, nullptr);
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> s(raw, &sqlite3_finalize);
        if (prepared != SQLITE_OK)
            throw failure(sqliteError(db, "Unable to execute statement", QSqlError::StatementError, prepared), false);
        int bound = SQLITE_OK;
        if (!bindAll(s.get(), binds, &bound))
            return false;
        if (bound != SQLITE_OK)
            throw failure(sqliteError(db, "Unable to bind parameters", QSqlError::StatementError, bound), false);
        const QueryRow r(s.get());
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(s.get())) == SQLITE_ROW)
            row(r);
        if (step != SQLITE_DONE)
            throw failure(sqliteError(db, "Unable to fetch row", QSqlError::ConnectionError, step), false);
        return true;
    }

    // Stepped on the connection's own handle as well: a row of an order is
    // written without the driver's QVariant round trip of every value.
    bool insertRow(const QString& sql, const QVariantList& binds) override
    {
        sqlite3* db = sqliteHandle(m_db);
        if (!db)
            return false;
        sqlite3_stmt*& s = m_inserts[sql];
        if (!s) {
            const int prepared = sqlite3_prepare16_v3(db, sql.utf16(), int(sql.size() * sizeof(QChar)),
                                                      SQLITE_PREPARE_PERSISTENT, &s, nullptr);
            if (prepared != SQLITE_OK) {
                m_inserts.erase(sql);
                throw failure(sqliteError(db, "Unable to execute statement", QSqlError::StatementError, prepared),
                              true);
            }
        }
        // The bound texts are the caller's: nothing of them stays bound after the call.
        const auto unbind = qScopeGuard([s] {
            sqlite3_reset(s);
            sqlite3_clear_bindings(s);
        });
        int bound = SQLITE_OK;
        if (!bindAll(s, binds, &bound))
            return false;
        if (bound != SQLITE_OK)
            throw failure(sqliteError(db, "Unable to bind parameters", QSqlError::StatementError, bound), true);
        const int step = sqlite3_step(s);
        if (step != SQLITE_DONE)
            throw failure(sqliteError(db, "Unable to fetch row", QSqlError::ConnectionError, step), true);
        return true;
    }

    bool comparesLikeTypesOnly() const override { return false; }
    QString nullSafeEquals() const override { return QStringLiteral(" IS ?"); }
    bool insertReturnsRow() const override { return false; }
    bool runsUnboundUnprepared() const override { return false; }

    void begin(bool) override
    {
        // The writes of a transaction follow what it reads: no other writer
        // may come in between, whichever copy of the program it is.
        QSqlQuery begin(m_db);
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
            fail(m_where, begin.lastError());
    }
    void commit() override
    {
        if (!m_db.commit())
            throw failure(m_db.lastError(), true);
    }
    bool failedCommitEnds() const override { return false; }
    bool rollback(QSqlError* error) override
    {
        const bool ok = m_db.rollback();
        *error = m_db.lastError();
        return ok;
    }

private:
    QString m_path;
    QString m_fileName;
    QString m_table;
    QString m_where;
    QString m_connection;
    QSqlDatabase m_db;
    sqlite3_file* m_file = nullptr; // the connection's, found at the first changeCounter()
    std::map<QString, sqlite3_stmt*> m_inserts; // by their text, finalised before the connection closes
};

class FileStore final : public Store
{
public:
    bool exists(const QString& fileName, const QString&, bool) override
    {
        return QFileInfo::exists(tablePath(fileName));
    }

    void create(const QString& fileName, const QString& table, const QVector<FieldDef>& fields, bool) override
    {
        if (QFileInfo::exists(tablePath(fileName)))
            return;
        const QStringList statements = fileTableStatements(table, fields, fileName);
        const QString path = tablePath(fileName);
        const QString error = writeNewFile(path, table, statements, QString(), {});
        if (!error.isEmpty()) {
            // Leave no half-made table behind: the next start would take it as existing.
            QFile::remove(path);
            throw Error(texts::engineError(QDir::toNativeSeparators(path)) + u'\r' + error);
        }
    }

    std::unique_ptr<TableBackend> open(const QString& fileName, const QString& table) override
    {
        const QString dir = netFileDir();
        const QString path = QDir(dir).filePath(fileName);
        // Checked first for a clear message; the open itself cannot create the file either.
        if (!QFileInfo(path).isFile())
            throw Error(texts::tableNotFound(fileName, QDir::toNativeSeparators(dir)));
        auto t = std::make_unique<FileTable>(path, fileName, table);
        t->connect();
        return t;
    }
};

} // namespace

Store& fileStore()
{
    static FileStore store;
    return store;
}

void writeTableFile(const QString& path, const QString& table, const QVector<FieldDef>& fields,
                    const QVector<QVector<QVariant>>& rows)
{
    const QString shownName = QFileInfo(path).fileName();
    const QStringList statements = fileTableStatements(table, fields, shownName);

    // Every value is converted before the file is touched: a refused one names its row.
    QVector<QVariantList> stored;
    stored.reserve(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        if (rows[r].size() != fields.size())
            throw Error(texts::badRowValue(r + 1, texts::badFieldDefinition(QString(), shownName)));
        QVariantList values;
        values.reserve(fields.size());
        for (int i = 0; i < fields.size(); ++i) {
            try {
                values << storedValue(fields[i], rows[r][i]);
            } catch (const Error& e) {
                throw Error(texts::badRowValue(r + 1, e.message()));
            }
        }
        stored.push_back(std::move(values));
    }

    QStringList columns;
    for (const FieldDef& f : fields)
        columns << quoted(f.name);
    const QString error = writeNewFile(path, table, statements, insertStatement(quoted(table), columns), stored);
    if (!error.isEmpty())
        throw Error(texts::engineError(QDir::toNativeSeparators(path)) + u'\r' + error);
}

QVector<QVariantList> readTableFile(const QString& path, const QString& fileName, const QString& table,
                                    const QVector<FieldDef>& fields)
{
    QVector<QVariantList> out;
    const QString connection = newConnectionName(table);
    QString error;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        file.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
        file.setDatabaseName(sqliteUri(path, QStringLiteral("ro")));
        if (!file.open()) {
            error = file.lastError().text();
        } else {
            // The file's columns by name; a field the file lacks is copied empty.
            QHash<QString, QString> held;
            QSqlQuery info(file);
            if (info.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"))) {
                info.bindValue(0, table);
                if (info.exec())
                    while (info.next())
                        held.insert(info.value(0).toString().toCaseFolded(), info.value(0).toString());
            }
            if (held.isEmpty()) {
                error = texts::noTableInFile(table, fileName);
            } else {
                QStringList read;
                for (const FieldDef& f : fields)
                    read << (held.contains(f.name.toCaseFolded()) ? quoted(held.value(f.name.toCaseFolded()))
                                                                  : QStringLiteral("NULL"));
                QSqlQuery rows(file);
                rows.setForwardOnly(true);
                if (!rows.exec(QStringLiteral("SELECT ") + read.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                               quoted(table) + QStringLiteral(" ORDER BY rowid")))
                    error = rows.lastError().text();
                while (error.isEmpty() && rows.next()) {
                    QVariantList values;
                    for (int i = 0; i < fields.size(); ++i) {
                        const QVariant v = rows.isNull(i) ? QVariant() : rows.value(i);
                        try {
                            values << storedValue(fields[i], v);
                        } catch (const Error& e) {
                            error = texts::badRowValue(int(out.size()) + 1, e.message());
                            break;
                        }
                    }
                    out.push_back(values);
                }
            }
        }
        file.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!error.isEmpty())
        throw Error(texts::copyRowRefused(fileName, error));
    return out;
}

} // namespace lir::db
