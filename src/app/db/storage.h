#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>
#include <optional>

// The storage layer: SQLite files in place of the original desktop database
// engine. Each table lives in a file of its own name in the tables' directory
// ("zeni.db" holds the table zeni, "zakaz.db" the table zakaz). A table is
// opened once for the whole run and shared by every caller; it has one current
// row, and its order is rowid order. Every failure throws lir::Error with the
// engine's message.
namespace lir::db {

// The directory in which tables are found by name; the current directory
// until set. Must be set before the first table is opened.
void setNetFileDir(const QString& dir);
QString netFileDir();

struct FieldDef
{
    enum class Type { Text, Int32, UInt16 };
    QString name;
    Type type = Type::Text;
    int size = 0; // characters, for text fields
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

    // Whether a table file of that name exists in the tables' directory.
    static bool exists(const QString& fileName);
    // Creates the file and its table from field definitions; an existing
    // table is never touched.
    static void create(const QString& fileName, const QVector<FieldDef>& fields);

    QString fileName() const;
    QString tableName() const;
    QStringList fieldNames() const;

    // ---- positioning (a pending edit is written first)
    bool first();
    bool last();
    bool next();
    bool prior();
    // Moves to the row with this rowid; false when there is none.
    bool moveTo(qint64 rowid);
    qint64 currentRowid() const; // 0 when the table is empty
    int currentIndex() const;    // 0-based position in table order, -1 when empty
    bool moveToIndex(int index);
    int rowCount() const;
    bool isEmpty() const { return rowCount() == 0; }

    // First row, in table order, whose field matches value: exact (whole value,
    // case-sensitive) by default; with CaseInsensitive | PartialKey a prefix
    // match that ignores case (Cyrillic included). Found: the current row moves
    // there. Not found: it stays.
    bool locate(const QString& field, const QString& value, int options = Exact);

    // ---- reading the current row; an empty (NULL) field reads as empty
    QVariant value(const QString& field) const;
    QString text(const QString& field) const;
    std::optional<double> number(const QString& field) const;
    bool isNull(const QString& field) const;

    // ---- writing
    State state() const { return m_state; }
    void insert();                                     // starts a new row
    void edit();                                       // starts editing the current row
    void setValue(const QString& field, const QVariant& v); // in Insert or Edit state
    void post();                                       // writes the pending row
    void cancel();                                     // drops the pending changes
    void remove();                                     // deletes the current row

    // One transaction around several writes: all or nothing.
    void beginTransaction();
    void commit();
    void rollback();

    // A query over this table's file; values are always bound.
    QVector<QVector<QVariant>> query(const QString& sql, const QVariantList& binds = {}) const;

signals:
    // The current row moved to another row (or the table changed under it).
    void currentChanged();
    // A row was written, inserted or deleted.
    void dataChanged();

private:
    explicit Table(const QString& fileName);
    struct Impl;
    std::unique_ptr<Impl> d;
    State m_state = State::Browse;
};

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
