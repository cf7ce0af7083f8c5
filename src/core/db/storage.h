#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

class QSqlQuery;
struct sqlite3_stmt;

// The storage layer: SQLite files in place of the original desktop database
// engine. Each table lives in a file of its own name in the tables' directory
// ("zeni.db" holds the table zeni, "zakaz.db" the table zakaz). A table is
// opened once for the whole run and shared by every caller; it has one current
// row, and its order is rowid order. Every failure throws lir::Error with the
// engine's message.
//
// Where lircomplect.ini names a PostgreSQL server (storesettings.h), the same
// tables live there, found by the same file names: each has a column "rowid"
// that keeps the order of its rows, and everything below behaves as it does
// over the files. Every transaction locks its table against other writers.
namespace lir::db {

// The directory in which tables are found by name; the current directory
// until set (an empty dir goes back to it). Set it before the first table is
// opened: a table stays in the directory it was opened from.
void setNetFileDir(const QString& dir);
QString netFileDir();

// An SQL identifier (table, column, index) in double quotes, with the quotes
// it holds doubled.
QString quoted(const QString& identifier);

// The files of the program's own tables, found in the tables' directory.
inline QStringList programTableFiles()
{
    return {QStringLiteral("zeni.db"), QStringLiteral("zakaz.db")};
}

// One row of a read through Table::queryEach(), valid during the call that
// is given it. Each value is what query() would give, or its conversion as
// QVariant makes it; the common cases are read without a QVariant between.
class QueryRow
{
public:
    explicit QueryRow(sqlite3_stmt* statement) : m_statement(statement) {}
    explicit QueryRow(const QSqlQuery* query) : m_query(query) {}

    bool isNull(int column) const;
    // The value as query() gives it: invalid for an empty field.
    QVariant value(int column) const;
    // value().toLongLong(), 0 when that fails.
    qint64 integer(int column) const;
    // value().toDouble().
    double real(int column) const;
    // value().toString().
    QString text(int column) const;
    // Appends text(column) to `to`, without a copy between.
    void appendText(int column, QString& to) const;

private:
    sqlite3_stmt* m_statement = nullptr;
    const QSqlQuery* m_query = nullptr;
};

// One field of a table. The file keeps it as the column's declared type
// ("VARCHAR(100)", "INTEGER", "SMALLINT UNSIGNED", "DOUBLE"), so that it is
// read back from any table opened later.
struct FieldDef
{
    enum class Type {
        Text,   // cut to `size` characters when written (size 0: no limit)
        Int32,  // 32-bit signed integer
        UInt16, // 0..65535
        Double, // floating point
        Other   // a column of another declared type: stored as given
    };
    QString name;
    Type type = Type::Text;
    int size = 0;         // characters, for text fields
    bool indexed = false; // create() adds an index, so an exact locate is not a scan

    bool operator==(const FieldDef&) const = default;
};

class Table : public QObject
{
    Q_OBJECT

public:
    enum class State { Browse, Edit, Insert };
    enum LocateOption { Exact = 0, CaseInsensitive = 1, PartialKey = 2 };

    ~Table() override;

    // The one open instance of the table in file `fileName` ("zeni.db"). Opens
    // it on first use; a missing file is an error naming the file and the
    // directory, and no empty file is created.
    static Table& open(const QString& fileName);
    // Whether open(fileName) has succeeded in this run.
    static bool isOpen(const QString& fileName);
    // Closes every open table (end of the program, and between tests).
    static void closeAll();
    // The full paths of the files of every open table.
    static QStringList openFilePaths();

    // Whether a table file of that name exists in the tables' directory.
    static bool exists(const QString& fileName);
    // Creates the file and its table from field definitions (on a server,
    // the table there); an existing table is never touched.
    static void create(const QString& fileName, const QVector<FieldDef>& fields);

    QString fileName() const;
    QString tableName() const;
    // The file of the table; empty for a table on a server.
    QString filePath() const;
    // The table as messages name it: its file, or the table on its server.
    QString location() const;
    bool onServer() const;
    QStringList fieldNames() const;
    // The fields as the file declares them (indexed is not reported).
    QVector<FieldDef> fields() const;

    // ---- positioning (a pending edit is written first)
    bool first();
    bool last();
    bool next();
    bool prior();
    // Moves to the row with this rowid; false when there is none.
    bool moveTo(qint64 rowid);
    // As moveTo(), with the row read only when it is next used: currentRowid()
    // gives it at once (a view that follows the current row reads no file),
    // its values are read by the next call that needs the current row. A row
    // gone by then leaves the current row where it was, announced again.
    void moveToLater(qint64 rowid);
    qint64 currentRowid() const; // 0 when the table is empty
    int currentIndex() const;    // 0-based position in table order, -1 when empty
    bool moveToIndex(int index);
    int rowCount() const;
    bool isEmpty() const { return rowCount() == 0; }

    // First row, in table order, whose field matches value: exact (whole value,
    // case-sensitive) by default; with CaseInsensitive | PartialKey a prefix
    // match that ignores case (Cyrillic included). Found: the current row moves
    // there. Not found: it stays. An empty value matches an empty field.
    bool locate(const QString& field, const QString& value, int options = Exact);

    // What the rows are at the moment: it changes with every write made
    // through this object (committed or not) and every commit of another
    // connection, and differs between two openings. None where the store
    // cannot tell (a server): nothing read earlier is then taken for the rows.
    struct Stamp
    {
        qint64 opening = 0;
        qint64 storeVersion = 0;
        qint64 ownWrites = 0;
        bool operator==(const Stamp&) const = default;
    };
    std::optional<Stamp> stamp();

    // ---- reading the current row (in Edit or Insert state: the pending row);
    // an empty (NULL) field reads as empty: an invalid QVariant, text "",
    // number std::nullopt. Field names are matched without regard to case.
    QVariant value(const QString& field) const;
    QString text(const QString& field) const;
    // Throws when the field holds text that is not a number.
    std::optional<double> number(const QString& field) const;
    bool isNull(const QString& field) const;

    // ---- writing
    State state() const { return m_state; }
    // Starts a new row, written at the end of the table by post(). A pending
    // row is written first.
    void insert();
    // Starts editing the current row; nothing happens in Edit or Insert state.
    void edit();
    // In Insert or Edit state. Text is cut to its field's size; empty text is
    // an empty field. Numbers are checked when the row is written.
    void setValue(const QString& field, const QVariant& v);
    // Writes the pending row. A value that does not fit its field is refused
    // with an error, and the row stays pending with that value, to be mended.
    // An edit of a row that has changed since it was read (another user, or
    // query()) is refused, and the row is read again as it is now.
    void post();
    // A rule of a number field beyond its type, applied by every post(): the
    // check returns the message for a value it refuses, an empty text for one
    // it accepts. An empty function removes it.
    using NumberCheck = std::function<QString(double)>;
    void setNumberCheck(const QString& field, NumberCheck check);
    // Told by post() of every row it wrote, in the same transaction (post()
    // opens one of its own when none is open): the row as it was (empty for
    // a new row) and as written, in field order. What it writes through
    // query() is committed or rolled back with the row; an exception it
    // throws takes the row back. An empty function removes it.
    using WriteObserver =
        std::function<void(Table&, const QVector<QVariant>& before, const QVector<QVariant>& after)>;
    void setWriteObserver(WriteObserver observer);
    void cancel(); // drops the pending changes
    // Deletes the current row; the next row becomes current, else the previous.
    // In Insert state it drops the new row instead.
    void remove();
    // Writes a modified pending row and drops an untouched one, as every
    // positioning does first.
    void writePending();

    // One transaction around several writes: all or nothing. A rollback drops
    // a pending row and puts the current row back on a row that exists.
    void beginTransaction();
    void commit();
    void rollback();

    // A query over this table's file; values are always bound, an empty field
    // comes back as an invalid QVariant. A statement that is not a SELECT is
    // taken to have changed the table (dataChanged, current row reloaded).
    QVector<QVector<QVariant>> query(const QString& sql, const QVariantList& binds = {});
    // A statement that writes another table of this table's file (or
    // server), in its transaction if one is open: this table's rows, its
    // current row and what is known of them are left as they are.
    void writeBeside(const QString& sql, const QVariantList& binds);
    // A SELECT whose rows are handed to `row` one by one as they are read,
    // none kept: the way to read many rows. Over a file it steps SQLite
    // itself on the table's connection, inside its transaction if one is open.
    void queryEach(const QString& sql, const QVariantList& binds, const std::function<void(const QueryRow&)>& row);
    // Writes `count` new rows at the end of the table through one insert of
    // these fields, prepared once: the way to write many rows. `row(i, values)`
    // gives row i's values in the order of `fields` (the other fields stay
    // empty); each is converted and checked as post() does before its row is
    // written, and a refused one throws. One transaction: the caller's, or
    // one of its own that is rolled back on failure. The last row written
    // becomes the current one; the writes are announced as post() announces
    // them, and a table with a write observer has each row posted.
    void appendRows(const QStringList& fields, qsizetype count,
                    const std::function<void(qsizetype, QVariantList&)>& row);

signals:
    // The current row moved to another row (or the table changed under it).
    void currentChanged();
    // A row was written, inserted or deleted.
    void dataChanged();

private:
    Table();
    bool postRow(); // whether a row was written
    struct Impl;
    std::unique_ptr<Impl> d;
    State m_state = State::Browse;
};

// Writes a whole new table file at `path`, outside the tables found by name:
// a file made under a temporary name and renamed into place when complete.
// The table `table` gets these fields and the rows in their order, all in one
// transaction. Every value is converted as post() converts it, before
// anything is written; a refused one names its row (1-based). On failure the
// file is left for the caller to remove.
void writeTableFile(const QString& path, const QString& table, const QVector<FieldDef>& fields,
                    const QVector<QVector<QVariant>>& rows);

// One table of the tables' directory to be copied to the server: its file and
// the fields the server's table gets when it has none yet.
struct CopiedTable
{
    QString fileName;
    QVector<FieldDef> fields;
    bool required = true; // a missing file is an error; else the server's table is only created
};

// Copies the files' tables to the configured server in one transaction,
// each table made there when it is missing, rows in their order. Refused,
// with nothing changed, when a table on the server holds a row already.
// Returns the number of rows copied of each table.
QVector<qint64> copyToServer(const QVector<CopiedTable>& tables);

// Commits when done() is called, rolls back otherwise.
class Transaction
{
public:
    explicit Transaction(Table& t) : m_table(t) { m_table.beginTransaction(); }
    ~Transaction()
    {
        if (!m_done)
            try {
                m_table.rollback();
            } catch (...) {
            }
    }
    void done()
    {
        m_table.commit();
        m_done = true;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Table& m_table;
    bool m_done = false;
};

} // namespace lir::db
