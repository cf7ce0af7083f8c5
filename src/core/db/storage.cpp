#include "core/db/storage.h"

#include "core/db/storagetexts.h"
#include "core/db/storesettings.h"
#include "core/db/storagevalue.h"
#include "core/base/error.h"
#include "core/base/numberformat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <algorithm>
#include <map>
#include <utility>

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

QString newConnectionName(const QString& table)
{
    static int counter = 0;
    return QStringLiteral("lir.db.%1.%2").arg(table, QString::number(++counter));
}

// The engine's own text, after a first line that names the file.
[[noreturn]] void fail(const QString& path, const QSqlError& e)
{
    throw Error(texts::engineError(QDir::toNativeSeparators(path)) + u'\r' + e.text());
}

// SQLite's URI form, so that the open mode can forbid creating the file.
QString sqliteUri(const QString& path, const QString& mode)
{
    QUrl url = QUrl::fromLocalFile(path);
    url.setQuery(QStringLiteral("mode=") + mode);
    return url.toString(QUrl::FullyEncoded);
}

// "zeni.db" holds the table "zeni". Tables are found by name alone, never by path.
bool tableNameOf(const QString& fileName, QString* table)
{
    if (fileName.contains(u'/') || fileName.contains(u'\\') || fileName.contains(QChar(0)))
        return false;
    if (!fileName.endsWith(QStringLiteral(".db"), Qt::CaseInsensitive) || fileName.size() <= 3)
        return false;
    *table = fileName.chopped(3);
    return true;
}

QString tablePath(const QString& fileName)
{
    return QDir(netFileDir()).filePath(fileName);
}

// ---------------------------------------------------------------- the server

const QString serverDriver = QStringLiteral("QPSQL");
// The column that keeps a server table's rows in the order they were
// written, as a file keeps them by rowid; every statement orders by it.
const QString orderColumn = QStringLiteral("rowid");
// 0..65535, as the files declare "SMALLINT UNSIGNED".
const QString uint16Domain = QStringLiteral("smallint_unsigned");

QString serverPlace()
{
    return serverShown(*server());
}

// A new connection to the configured server; failing, an error naming host
// and database.
QSqlDatabase openServer(const QString& connection)
{
    const ServerSettings& s = *server();
    if (!QSqlDatabase::isDriverAvailable(serverDriver))
        throw Error(texts::noServerDriver());
    QSqlDatabase db = QSqlDatabase::addDatabase(serverDriver, connection);
    db.setHostName(s.host);
    db.setPort(s.port);
    db.setDatabaseName(s.dbname);
    db.setUserName(s.user);
    db.setConnectOptions(QStringLiteral("connect_timeout=10;application_name=LIRComplect"));
    if (!db.open()) {
        const QSqlError e = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection);
        throw Error(texts::serverUnreachable(serverPlace()) + u'\r' + e.text());
    }
    return db;
}

// A connection of its own for the length of one job (a look at the
// catalogue, creating a table, a copy).
class ServerSession
{
public:
    ServerSession() : m_name(newConnectionName(QStringLiteral("server"))), m_db(openServer(m_name)) {}
    ~ServerSession()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    ServerSession(const ServerSession&) = delete;
    ServerSession& operator=(const ServerSession&) = delete;

    QSqlDatabase& db() { return m_db; }
    // Runs a statement; an error names the server.
    QSqlQuery exec(const QString& sql, const QVariantList& binds = {})
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        // The server prepares no statement that defines tables: those run as they are.
        bool ok = binds.isEmpty() ? q.exec(sql) : q.prepare(sql);
        for (int i = 0; ok && i < binds.size(); ++i)
            q.bindValue(i, binds[i]);
        if (!ok || (!binds.isEmpty() && !q.exec()))
            throw Error(texts::engineError(serverPlace()) + u'\r' + q.lastError().text());
        return q;
    }
    void begin()
    {
        if (!m_db.transaction())
            throw Error(texts::engineError(serverPlace()) + u'\r' + m_db.lastError().text());
        // One creator of tables at a time, whichever copy of the program it is.
        exec(QStringLiteral("SELECT pg_advisory_xact_lock(67416742)"));
    }
    void commit()
    {
        if (!m_db.commit())
            throw Error(texts::engineError(serverPlace()) + u'\r' + m_db.lastError().text());
    }

private:
    QString m_name;
    QSqlDatabase m_db;
};

bool serverTableExists(ServerSession& session, const QString& table)
{
    QSqlQuery q = session.exec(
        QStringLiteral("SELECT 1 FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
                       "WHERE c.relname = ? AND n.nspname = current_schema() AND c.relkind IN ('r', 'p')"),
        {table});
    return q.next();
}

FieldDef fieldFromDeclaredType(const QString& name, const QString& declared)
{
    FieldDef f;
    f.name = name;
    const QString t = declared.toUpper();
    auto has = [&t](const char* word) { return t.contains(QLatin1String(word)); };
    if (has("CHAR") || has("TEXT") || has("CLOB")) {
        f.type = Type::Text;
        static const QRegularExpression sizeRe(QStringLiteral("\\(\\s*(\\d+)"));
        const QRegularExpressionMatch m = sizeRe.match(t);
        f.size = m.hasMatch() ? m.captured(1).toInt() : 0;
    } else if (has("INT")) {
        if (has("SMALLINT") && has("UNSIGNED"))
            f.type = Type::UInt16;
        else if (has("BIGINT") || has("INT8"))
            f.type = Type::Other;
        else
            f.type = Type::Int32;
    } else if (has("REAL") || has("FLOA") || has("DOUB") || has("NUMERIC") || has("DECIMAL")) {
        f.type = Type::Double;
    } else {
        f.type = Type::Other;
    }
    return f;
}

// The column as create() declares it; the CHECK lets the file itself refuse
// what the field cannot hold, whoever writes to it.
QString columnDefinition(const FieldDef& f, bool onServer)
{
    const QString c = quoted(f.name);
    if (onServer) {
        // The server's own types hold what the fields hold; text is cut to
        // size before it is written, as for a file.
        switch (f.type) {
        case Type::Text:
            return f.size > 0 ? c + QStringLiteral(" VARCHAR(%1)").arg(f.size) : c + QStringLiteral(" TEXT");
        case Type::Int32:
            return c + QStringLiteral(" INTEGER");
        case Type::UInt16:
            return c + u' ' + uint16Domain;
        case Type::Double:
            return c + QStringLiteral(" DOUBLE PRECISION");
        case Type::Other:
            break;
        }
        return c + QStringLiteral(" TEXT");
    }
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

// The statements that make a table of these fields, in one transaction:
// the table, then an index for each indexed field.
QStringList tableStatements(const QString& tableName, const QVector<FieldDef>& fields, const QString& fileName,
                            bool onServer = false)
{
    if (fields.isEmpty())
        throw Error(texts::badFieldDefinition(QString(), fileName));
    QStringList columns;
    QStringList statements;
    QSet<QString> seen;
    for (const FieldDef& f : fields) {
        if (f.name.trimmed().isEmpty() || f.name.contains(QChar(0)) || f.size < 0 ||
            seen.contains(f.name.toCaseFolded()) || (onServer && f.name.toCaseFolded() == orderColumn))
            throw Error(texts::badFieldDefinition(f.name, fileName));
        seen.insert(f.name.toCaseFolded());
        columns << columnDefinition(f, onServer);
        if (f.indexed)
            statements << QStringLiteral("CREATE INDEX ") + quoted(tableName + u'_' + f.name) +
                              QStringLiteral(" ON ") + quoted(tableName) + QStringLiteral(" (") +
                              quoted(f.name) + u')';
    }
    if (onServer)
        columns.prepend(quoted(orderColumn) + QStringLiteral(" BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
    statements.prepend(QStringLiteral("CREATE TABLE ") + quoted(tableName) + QStringLiteral(" (") +
                       columns.join(QStringLiteral(", ")) + u')');
    return statements;
}

// Makes a table on the server, in the session's transaction.
void createServerTable(ServerSession& session, const QString& table, const QVector<FieldDef>& fields,
                       const QString& shownName)
{
    const QStringList statements = tableStatements(table, fields, shownName, true);
    const bool needsDomain =
        std::any_of(fields.begin(), fields.end(), [](const FieldDef& f) { return f.type == Type::UInt16; });
    if (needsDomain) {
        QSqlQuery q = session.exec(
            QStringLiteral("SELECT 1 FROM pg_catalog.pg_type t JOIN pg_catalog.pg_namespace n ON n.oid = "
                           "t.typnamespace WHERE t.typname = ? AND n.nspname = current_schema()"),
            {uint16Domain});
        if (!q.next())
            session.exec(QStringLiteral("CREATE DOMAIN ") + uint16Domain +
                         QStringLiteral(" AS INTEGER CHECK (VALUE BETWEEN 0 AND 65535)"));
    }
    for (const QString& statement : statements)
        session.exec(statement);
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

// The text with every code point case-folded on its own, as a comparison that
// ignores case folds it; null stays null, so that a prefix test of folded texts
// answers as the same test ignoring case on the texts themselves.
QString foldedForSearch(const QString& text)
{
    if (text.isNull())
        return QString();
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        const char32_t f = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(f)) {
            out += QChar(QChar::highSurrogate(f));
            out += QChar(QChar::lowSurrogate(f));
        } else {
            out += QChar(char16_t(f));
        }
    }
    return out;
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

// ---------------------------------------------------------------- Impl

struct Table::Impl
{
    Table* q = nullptr;
    QString fileName;
    QString name;
    QString path;
    QString connection;
    QSqlDatabase db;
    bool onServer = false;
    QString where;         // the table as messages name it: its file, or the table on its server
    bool reconnect = false; // the server connection was lost: the next statement connects anew
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
        statements.clear();
        if (db.isValid())
            db.close();
        db = QSqlDatabase();
        if (!connection.isEmpty())
            QSqlDatabase::removeDatabase(connection);
    }

    void open(const QString& filePath, const QString& file, const QString& tableName)
    {
        fileName = file;
        name = tableName;
        path = filePath;
        where = QDir::toNativeSeparators(filePath);
        table = quoted(tableName);
        connection = newConnectionName(tableName);
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        if (!db.isValid())
            fail(where, db.lastError());
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
        db.setDatabaseName(sqliteUri(filePath, QStringLiteral("rw")));
        if (!db.open())
            fail(where, db.lastError());
        readFields(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"));
        if (fields.isEmpty())
            throw Error(texts::noTableInFile(tableName, fileName));
        prepareTexts();
    }

    void openOnServer(const QString& file, const QString& tableName)
    {
        fileName = file;
        name = tableName;
        onServer = true;
        where = texts::tableOnServer(tableName, serverPlace());
        table = quoted(tableName);
        connection = newConnectionName(tableName);
        db = openServer(connection);
        bool hasOrder = false;
        readFields(QStringLiteral(
                       "SELECT a.attname, format_type(a.atttypid, a.atttypmod) FROM pg_catalog.pg_attribute a "
                       "WHERE a.attrelid = (SELECT c.oid FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n "
                       "ON n.oid = c.relnamespace WHERE c.relname = ? AND n.nspname = current_schema() "
                       "AND c.relkind IN ('r', 'p')) AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum"),
                   &hasOrder);
        if (fields.isEmpty() && !hasOrder)
            throw Error(texts::serverTableNotFound(tableName, serverPlace()));
        if (!hasOrder || fields.isEmpty())
            throw Error(texts::noOrderColumn(tableName, serverPlace()));
        prepareTexts();
    }

    // The fields the catalogue statement lists (name, declared type); on a
    // server the order column is not one of them.
    void readFields(const QString& sql, bool* hasOrder = nullptr)
    {
        QSqlQuery& s = run(sql, {name});
        while (s.next()) {
            const FieldDef f = fieldFromDeclaredType(s.value(0).toString(), s.value(1).toString());
            if (hasOrder && f.name == orderColumn) {
                *hasOrder = true;
                continue;
            }
            byName.insert(f.name.toCaseFolded(), int(fields.size()));
            fields.push_back(f);
        }
        s.finish();
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
            const bool text = !onServer || fields[i].type == Type::Text;
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
    // next statement connects anew; the server has dropped whatever the
    // lost connection had not committed.
    [[noreturn]] void failed(const QSqlError& e)
    {
        if (onServer && connectionLost(e)) {
            reconnect = true;
            throw Error(texts::connectionLost(name, serverPlace()) + u'\r' + e.text());
        }
        fail(where, e);
    }

    bool connectionLost(const QSqlError& e)
    {
        const QString code = e.nativeErrorCode();
        // Connection failures (class 08) and a server shutting the session down (57P).
        if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P")))
            return true;
        if (!code.isEmpty())
            return false;
        // An error libpq made itself: the connection may be gone. Inside a
        // transaction the answer is the same either way, as it is rolled back.
        if (inTransaction)
            return true;
        QSqlQuery probe(db);
        return !probe.exec(QStringLiteral("SELECT 1"));
    }

    // Connects anew after a lost connection; outside a transaction only, as
    // one that was open is gone with its connection.
    void ensureConnection()
    {
        if (!reconnect || inTransaction)
            return;
        statements.clear();
        db.close();
        if (!db.open())
            throw Error(texts::serverUnreachable(serverPlace()) + u'\r' + db.lastError().text());
        reconnect = false;
    }

    QSqlQuery& statement(const QString& sql)
    {
        ensureConnection();
        auto it = statements.find(sql);
        if (it == statements.end()) {
            auto s = std::make_unique<QSqlQuery>(db);
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

    // A modified pending row is written; an untouched one is dropped.
    void writePending()
    {
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

    // The file's change counter: it moves when another connection commits.
    // A server has none to ask: there every call is a new version, and
    // nothing read earlier is taken for the table as it is.
    qint64 dataVersion()
    {
        if (onServer)
            return ++volatileVersion;
        QSqlQuery& s = run(QStringLiteral("PRAGMA data_version"), {});
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
    std::unique_ptr<Table> t(new Table);
    if (usesServer()) {
        t->d->openOnServer(fileName, tableName);
    } else {
        const QString dir = netFileDir();
        const QString path = QDir(dir).filePath(fileName);
        // Checked first for a clear message; the open itself cannot create the file either.
        if (!QFileInfo(path).isFile())
            throw Error(texts::tableNotFound(fileName, QDir::toNativeSeparators(dir)));
        t->d->open(path, fileName, tableName);
    }
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
        if (!entry.second->d->onServer)
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
    if (usesServer()) {
        // A table open in this run is there: no connection of its own to ask.
        if (isOpen(fileName))
            return true;
        ServerSession session;
        return serverTableExists(session, tableName);
    }
    return QFileInfo::exists(tablePath(fileName));
}

void Table::create(const QString& fileName, const QVector<FieldDef>& fields)
{
    QString tableName;
    if (!tableNameOf(fileName, &tableName))
        throw Error(texts::badTableFileName(fileName));
    if (usesServer()) {
        // A table open in this run is there; asking the server again would
        // cost a connection at every save.
        if (isOpen(fileName))
            return;
        // Checked again under the lock: another copy of the program may be
        // making the same table at this moment.
        ServerSession session;
        session.begin();
        if (!serverTableExists(session, tableName))
            createServerTable(session, tableName, fields, tableName);
        session.commit();
        return;
    }
    if (exists(fileName))
        return;
    const QStringList statements = tableStatements(tableName, fields, fileName);
    const QString path = tablePath(fileName);
    const QString error = writeNewFile(path, tableName, statements, QString(), {});
    if (!error.isEmpty()) {
        // Leave no half-made table behind: the next start would take it as existing.
        QFile::remove(path);
        throw Error(texts::engineError(QDir::toNativeSeparators(path)) + u'\r' + error);
    }
}

void writeTableFile(const QString& path, const QString& table, const QVector<FieldDef>& fields,
                    const QVector<QVector<QVariant>>& rows)
{
    const QString shownName = QFileInfo(path).fileName();
    const QStringList statements = tableStatements(table, fields, shownName);

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
    QStringList marks;
    for (const FieldDef& f : fields) {
        columns << quoted(f.name);
        marks << QStringLiteral("?");
    }
    const QString insert = QStringLiteral("INSERT INTO ") + quoted(table) + QStringLiteral(" (") +
                           columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                           marks.join(QStringLiteral(", ")) + u')';
    const QString error = writeNewFile(path, table, statements, insert, stored);
    if (!error.isEmpty())
        throw Error(texts::engineError(QDir::toNativeSeparators(path)) + u'\r' + error);
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
    return d->path;
}

QString Table::location() const
{
    return d->where;
}

bool Table::onServer() const
{
    return d->onServer;
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

qint64 Table::currentRowid() const
{
    return d->hasRow ? d->rowid : 0;
}

int Table::currentIndex() const
{
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

// ---- reading

QVariant Table::value(const QString& field) const
{
    return d->values[d->fieldIndex(field)];
}

QString Table::text(const QString& field) const
{
    const QVariant v = value(field);
    return v.isValid() ? v.toString() : QString();
}

std::optional<double> Table::number(const QString& field) const
{
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
            if (!d->reconnect)
                d->db.rollback();
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
        QString sql;
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO ") + d->table + QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList marks;
            for (int i = 0; i < columns.size(); ++i)
                marks << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO ") + d->table + QStringLiteral(" (") +
                  columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                  marks.join(QStringLiteral(", ")) + u')';
        }
        // A server gives the written row back with the insert: one round
        // trip per row, as an order of hundreds of kits writes.
        if (d->onServer)
            sql += QStringLiteral(" RETURNING rowid, ") + d->columns;
        QSqlQuery& s = d->run(sql, binds);
        qint64 id = 0;
        bool loaded = false;
        if (!d->onServer) {
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
        unchanged += QStringLiteral(" AND ") + quoted(d->fields[i].name) +
                     (d->onServer ? QStringLiteral(" IS NOT DISTINCT FROM ?") : QStringLiteral(" IS ?"));
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
    d->ensureConnection();
    if (d->onServer) {
        // The server only warns where a file's engine refuses.
        if (d->inTransaction)
            throw Error(texts::engineError(d->where) + u'\r' + texts::nestedTransaction());
        if (!d->db.transaction())
            d->failed(d->db.lastError());
        d->inTransaction = true;
        QSqlQuery lock(d->db);
        if (!lock.exec(QStringLiteral("LOCK TABLE ") + d->table + QStringLiteral(" IN SHARE ROW EXCLUSIVE MODE"))) {
            const QSqlError e = lock.lastError();
            d->inTransaction = false;
            d->db.rollback();
            d->failed(e);
        }
        return;
    }
    QSqlQuery begin(d->db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        fail(d->where, begin.lastError());
    d->inTransaction = true;
}

void Table::commit()
{
    if (!d->db.commit()) {
        const QSqlError e = d->db.lastError();
        // A commit that failed on the server has rolled back.
        if (d->onServer) {
            d->inTransaction = false;
            d->dataPending = false;
            d->currentPending = false;
        }
        d->failed(e);
    }
    d->endTransaction();
}

void Table::rollback()
{
    // The pending row may belong to what is rolled back.
    d->dropPending();
    // A lost connection took its transaction with it.
    const bool lost = d->reconnect;
    const bool ok = lost || d->db.rollback();
    const QSqlError e = d->db.lastError();
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

QVector<QVector<QVariant>> Table::query(const QString& sql, const QVariantList& binds)
{
    d->ensureConnection();
    QSqlQuery s(d->db);
    s.setForwardOnly(true);
    if (d->onServer && binds.isEmpty()) {
        // The server prepares no statement that defines tables: those run as they are.
        if (!s.exec(sql))
            d->failed(s.lastError());
    } else {
        if (!s.prepare(sql))
            d->failed(s.lastError());
        for (int i = 0; i < binds.size(); ++i)
            s.bindValue(i, binds[i]);
        if (!s.exec())
            d->failed(s.lastError());
    }
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

QVector<qint64> copyToServer(const QVector<CopiedTable>& tables)
{
    struct Source
    {
        QString table;
        QStringList columns; // quoted, in the order of the definition
        QVector<QVariantList> rows;
    };
    QVector<Source> sources;
    // Everything is read and converted before the server is touched.
    for (const CopiedTable& c : tables) {
        Source source;
        if (!tableNameOf(c.fileName, &source.table))
            throw Error(texts::badTableFileName(c.fileName));
        for (const FieldDef& f : c.fields)
            source.columns << quoted(f.name);
        const QString dir = netFileDir();
        const QString path = QDir(dir).filePath(c.fileName);
        if (!QFileInfo(path).isFile()) {
            if (c.required)
                throw Error(texts::tableNotFound(c.fileName, QDir::toNativeSeparators(dir)));
            sources.push_back(source);
            continue;
        }
        const QString connection = newConnectionName(source.table);
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
                    info.bindValue(0, source.table);
                    if (info.exec())
                        while (info.next())
                            held.insert(info.value(0).toString().toCaseFolded(), info.value(0).toString());
                }
                if (held.isEmpty()) {
                    error = texts::noTableInFile(source.table, c.fileName);
                } else {
                    QStringList read;
                    for (const FieldDef& f : c.fields)
                        read << (held.contains(f.name.toCaseFolded())
                                     ? quoted(held.value(f.name.toCaseFolded()))
                                     : QStringLiteral("NULL"));
                    QSqlQuery rows(file);
                    rows.setForwardOnly(true);
                    if (!rows.exec(QStringLiteral("SELECT ") + read.join(QStringLiteral(", ")) +
                                   QStringLiteral(" FROM ") + quoted(source.table) + QStringLiteral(" ORDER BY rowid")))
                        error = rows.lastError().text();
                    while (error.isEmpty() && rows.next()) {
                        QVariantList values;
                        for (int i = 0; i < c.fields.size(); ++i) {
                            const QVariant v = rows.isNull(i) ? QVariant() : rows.value(i);
                            try {
                                values << storedValue(c.fields[i], v);
                            } catch (const Error& e) {
                                error = texts::badRowValue(int(source.rows.size()) + 1, e.message());
                                break;
                            }
                        }
                        source.rows.push_back(values);
                    }
                }
            }
            file.close();
        }
        QSqlDatabase::removeDatabase(connection);
        if (!error.isEmpty())
            throw Error(texts::copyRowRefused(c.fileName, error));
        sources.push_back(std::move(source));
    }

    ServerSession session;
    session.begin();
    QVector<qint64> copied;
    for (qsizetype t = 0; t < sources.size(); ++t) {
        const Source& source = sources[t];
        if (!serverTableExists(session, source.table))
            createServerTable(session, source.table, tables[t].fields, source.table);
        session.exec(QStringLiteral("LOCK TABLE ") + quoted(source.table) + QStringLiteral(" IN EXCLUSIVE MODE"));
        if (session.exec(QStringLiteral("SELECT 1 FROM ") + quoted(source.table) + QStringLiteral(" LIMIT 1")).next())
            throw Error(texts::serverTableNotEmpty(source.table, serverPlace()));
        if (!source.rows.isEmpty()) {
            QStringList marks;
            for (int i = 0; i < source.columns.size(); ++i)
                marks << QStringLiteral("?");
            QSqlQuery insert(session.db());
            if (!insert.prepare(QStringLiteral("INSERT INTO ") + quoted(source.table) + QStringLiteral(" (") +
                                source.columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                                marks.join(QStringLiteral(", ")) + u')'))
                throw Error(texts::engineError(serverPlace()) + u'\r' + insert.lastError().text());
            for (const QVariantList& row : source.rows) {
                for (int i = 0; i < row.size(); ++i)
                    insert.bindValue(i, row[i]);
                if (!insert.exec())
                    throw Error(texts::copyRowRefused(tables[t].fileName, insert.lastError().text()));
            }
        }
        copied << source.rows.size();
    }
    session.commit();
    return copied;
}

} // namespace lir::db
