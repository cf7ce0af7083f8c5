#include "core/db/storage.h"
#include "core/base/error.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include "core/db/storesettings.h"
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

using lir::Error;
using lir::db::FieldDef;
using lir::db::Table;
using lir::db::Transaction;
using Type = FieldDef::Type;

namespace {

class StorageTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        Table::closeAll();
        lir::db::setNetFileDir(QString());
    }

    // A price table with an index on the designation, rows in the order given.
    Table& prices(const QVector<std::tuple<QString, QString, QVariant>>& rows)
    {
        Table::create(QStringLiteral("zeni.db"), {{QStringLiteral("oboznashenie"), Type::Text, 40, true},
                                                  {QStringLiteral("nazvanie"), Type::Text, 100},
                                                  {QStringLiteral("zena"), Type::Double}});
        Table& t = Table::open(QStringLiteral("zeni.db"));
        for (const auto& [designation, name, price] : rows) {
            t.insert();
            t.setValue(QStringLiteral("oboznashenie"), designation);
            t.setValue(QStringLiteral("nazvanie"), name);
            t.setValue(QStringLiteral("zena"), price);
            t.post();
        }
        t.first();
        return t;
    }

    static QVector<FieldDef> orderFields()
    {
        return {{QStringLiteral("Id"), Type::Int32},         {QStringLiteral("Name"), Type::Text, 100},
                {QStringLiteral("Parentid"), Type::Int32},   {QStringLiteral("Designation"), Type::Text, 20},
                {QStringLiteral("Type"), Type::Text, 30},    {QStringLiteral("Count"), Type::UInt16},
                {QStringLiteral("Color"), Type::UInt16},     {QStringLiteral("FFH"), Type::UInt16},
                {QStringLiteral("FFB"), Type::UInt16},       {QStringLiteral("GH"), Type::UInt16},
                {QStringLiteral("Profil"), Type::Text, 20},  {QStringLiteral("Dop_komplekt"), Type::Text, 100}};
    }

    QString designation(Table& t) { return t.text(QStringLiteral("oboznashenie")); }

    // A statement of another connection to the table's store, as another
    // copy of the program would write.
    static void otherUser(Table& t, const QString& sql, const QVariantList& binds = {})
    {
        lir::test::writeAsAnotherUser(t.fileName(), sql, binds);
    }

    lir::test::ScopedWorkDir m_dir;
};

const QString kOb = QStringLiteral("oboznashenie");
const QString kName = QStringLiteral("nazvanie");
const QString kPrice = QStringLiteral("zena");

TEST_F(StorageTest, MissingFileIsAnErrorNamingFileAndDirectoryAndCreatesNothing)
{
    // A directory name that an unescaped SQLite URI would get wrong.
    const QString dir = m_dir.file(QStringLiteral("Цены #1 ?"));
    ASSERT_TRUE(QDir().mkpath(dir));
    lir::db::setNetFileDir(dir);
    const bool server = lir::test::onTestServer();
    const QString serverShown = server ? lir::test::serverShown() : QString();
    try {
        Table::open(QStringLiteral("zeni.db"));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), server ? QStringLiteral("Таблица zeni не найдена на сервере ") + serverShown
                                      : QString(QStringLiteral("Таблица zeni.db не найдена в каталоге ") + dir));
    }
    EXPECT_FALSE(Table::isOpen(QStringLiteral("zeni.db")));
    EXPECT_TRUE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    EXPECT_FALSE(Table::exists(QStringLiteral("zeni.db")));

    // The same directory works once the table is there.
    Table::create(QStringLiteral("zeni.db"), {{kOb, Type::Text, 40}});
    EXPECT_TRUE(Table::exists(QStringLiteral("zeni.db")));
    if (server) {
        EXPECT_EQ(Table::open(QStringLiteral("zeni.db")).location(), QStringLiteral("zeni на сервере ") + serverShown);
        EXPECT_TRUE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
        return;
    }
    EXPECT_TRUE(QFile::exists(dir + QStringLiteral("/zeni.db")));
    EXPECT_EQ(Table::open(QStringLiteral("zeni.db")).filePath(), QString(dir + QStringLiteral("/zeni.db")));
}

TEST_F(StorageTest, FileWithoutTheTableOrNotADatabaseIsAnError)
{
    LIR_FILES_ONLY();
    QFile junk(m_dir.file(QStringLiteral("zeni.db")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a database file, only some text that is long enough to be read");
    junk.close();
    EXPECT_THROW(Table::open(QStringLiteral("zeni.db")), Error);
    EXPECT_FALSE(Table::isOpen(QStringLiteral("zeni.db")));

    // A database whose table has another name.
    Table::create(QStringLiteral("other.db"), {{kOb, Type::Text, 40}});
    ASSERT_TRUE(QFile::rename(m_dir.file(QStringLiteral("other.db")), m_dir.file(QStringLiteral("zakaz.db"))));
    try {
        Table::open(QStringLiteral("zakaz.db"));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("В файле zakaz.db нет таблицы zakaz"));
    }
}

TEST_F(StorageTest, OneSharedInstancePerTable)
{
    Table& a = prices({{QStringLiteral("A"), QString(), 1}, {QStringLiteral("B"), QString(), 2}});
    Table& b = Table::open(QStringLiteral("zeni.db"));
    EXPECT_EQ(&a, &b);
    EXPECT_TRUE(Table::isOpen(QStringLiteral("zeni.db")));
    a.last();
    EXPECT_EQ(designation(b), QStringLiteral("B")); // one current row for every caller
    Table::closeAll();
    EXPECT_FALSE(Table::isOpen(QStringLiteral("zeni.db")));
    // Reopened, the rows are there and the first is current.
    Table& c = Table::open(QStringLiteral("zeni.db"));
    EXPECT_EQ(c.rowCount(), 2);
    EXPECT_EQ(designation(c), QStringLiteral("A"));
}

TEST_F(StorageTest, CreateDeclaresTheFieldsAndNeverTouchesAnExistingTable)
{
    EXPECT_FALSE(Table::exists(QStringLiteral("zakaz.db")));
    Table::create(QStringLiteral("zakaz.db"), orderFields());
    EXPECT_TRUE(Table::exists(QStringLiteral("zakaz.db")));

    const QVector<FieldDef> declared = orderFields();
    Table& t = Table::open(QStringLiteral("zakaz.db"));
    EXPECT_EQ(t.tableName(), QStringLiteral("zakaz"));
    EXPECT_EQ(t.fields(), declared); // read back from the file
    EXPECT_EQ(t.rowCount(), 0);
    EXPECT_FALSE(t.first());
    EXPECT_EQ(t.currentIndex(), -1);

    t.insert();
    t.setValue(QStringLiteral("Id"), 1);
    t.post();
    Table::closeAll();

    Table::create(QStringLiteral("zakaz.db"), {{QStringLiteral("Other"), Type::Text, 5}});
    Table& again = Table::open(QStringLiteral("zakaz.db"));
    EXPECT_EQ(again.fields(), declared);
    EXPECT_EQ(again.rowCount(), 1);

    // A definition the table cannot have leaves no file behind.
    EXPECT_THROW(Table::create(QStringLiteral("bad.db"), {{QStringLiteral("a"), Type::Int32},
                                                          {QStringLiteral("A"), Type::Int32}}),
                 Error);
    EXPECT_FALSE(Table::exists(QStringLiteral("bad.db")));
}

TEST_F(StorageTest, ExactLocateIsWholeValueCaseSensitiveAndTakesTheFirstRow)
{
    Table& t = prices({{QStringLiteral("6742.08.00-20L"), QStringLiteral("Петля L"), 10},
                       {QStringLiteral("6742.08.00-20"), QStringLiteral("Петля"), 20},
                       {QStringLiteral("ЛИР-6742-01ДМR"), QString(), 0},
                       {QStringLiteral("6742.08.00-20"), QStringLiteral("Дубль"), 30}});
    QSignalSpy moved(&t, &Table::currentChanged);

    EXPECT_TRUE(t.locate(kOb, QStringLiteral("6742.08.00-20")));
    EXPECT_EQ(t.text(kName), QStringLiteral("Петля")); // the first of the two, not the L one
    EXPECT_EQ(t.number(kPrice), 20.0);
    EXPECT_EQ(t.currentIndex(), 1);
    EXPECT_EQ(moved.count(), 1);

    // Not found: a prefix, another case, a lowercase Cyrillic key. The row stays.
    EXPECT_FALSE(t.locate(kOb, QStringLiteral("6742.08")));
    EXPECT_FALSE(t.locate(kOb, QStringLiteral("6742.08.00-20l")));
    EXPECT_FALSE(t.locate(kOb, QStringLiteral("лир-6742-01дмr")));
    EXPECT_EQ(t.text(kName), QStringLiteral("Петля"));
    EXPECT_EQ(moved.count(), 1);

    EXPECT_TRUE(t.locate(QStringLiteral("OBOZNASHENIE"), QStringLiteral("ЛИР-6742-01ДМR")));
    EXPECT_EQ(t.currentIndex(), 2);
    EXPECT_TRUE(t.locate(kName, QString())); // the empty name
    EXPECT_EQ(t.currentIndex(), 2);
    EXPECT_TRUE(t.locate(kPrice, QStringLiteral("30"))); // a number field, by its value
    EXPECT_EQ(t.text(kName), QStringLiteral("Дубль"));

    EXPECT_THROW(t.locate(QStringLiteral("nosuch"), QStringLiteral("x")), Error);
}

TEST_F(StorageTest, PrefixLocateIgnoresCaseIncludingCyrillic)
{
    Table& t = prices({{QStringLiteral("0483.00.01-20"), QStringLiteral("Планка запорная"), 1},
                       {QStringLiteral("6742.08.00-20L"), QStringLiteral("Петля на створке верхняя М"), 2},
                       {QStringLiteral("6742.15.00-20"), QStringLiteral("Петля откидная"), 3},
                       {QStringLiteral("ЛИР-6742-01ДМR"), QString(), 4}});
    const int options = Table::CaseInsensitive | Table::PartialKey;

    EXPECT_TRUE(t.locate(kName, QStringLiteral("петля"), options));
    EXPECT_EQ(t.currentIndex(), 1); // the first in table order
    EXPECT_TRUE(t.locate(kName, QStringLiteral("ПЕТЛЯ ОТК"), options));
    EXPECT_EQ(t.currentIndex(), 2);
    EXPECT_TRUE(t.locate(kOb, QStringLiteral("лир-6742-01дм"), options));
    EXPECT_EQ(t.currentIndex(), 3);
    EXPECT_TRUE(t.locate(kOb, QStringLiteral("6742.08.00-20l"), options));
    EXPECT_EQ(t.currentIndex(), 1);

    EXPECT_FALSE(t.locate(kName, QStringLiteral("петлица"), options));
    EXPECT_EQ(t.currentIndex(), 1);
    // A prefix without the case option keeps case.
    EXPECT_FALSE(t.locate(kName, QStringLiteral("петля"), Table::PartialKey));
    EXPECT_TRUE(t.locate(kName, QStringLiteral("Петля о"), Table::PartialKey));
    EXPECT_EQ(t.currentIndex(), 2);
}

// The prefix search keeps the field's texts between searches: every change,
// made here, through query() or by another connection to the file, must show
// in the next search.
TEST_F(StorageTest, PrefixLocateFollowsEveryChangeOfTheTable)
{
    Table& t = prices({{QStringLiteral("A-1"), QStringLiteral("Петля откидная"), 1},
                       {QStringLiteral("A-2"), QStringLiteral("Шина 280"), 2}});
    const int options = Table::CaseInsensitive | Table::PartialKey;
    ASSERT_FALSE(t.locate(kName, QStringLiteral("засов"), options));

    // Edited and inserted rows.
    t.first();
    t.edit();
    t.setValue(kName, QStringLiteral("Засов 800"));
    t.post();
    t.insert();
    t.setValue(kOb, QStringLiteral("A-3"));
    t.setValue(kName, QStringLiteral("засов 1300"));
    t.post();
    EXPECT_FALSE(t.locate(kName, QStringLiteral("петля"), options));
    EXPECT_TRUE(t.locate(kName, QStringLiteral("ЗАСОВ 1"), options));
    EXPECT_EQ(designation(t), QStringLiteral("A-3"));
    EXPECT_TRUE(t.locate(kName, QStringLiteral("засов"), options));
    EXPECT_EQ(designation(t), QStringLiteral("A-1"));

    // A removed row is no longer found.
    t.remove();
    EXPECT_TRUE(t.locate(kName, QStringLiteral("засов"), options));
    EXPECT_EQ(designation(t), QStringLiteral("A-3"));

    // A statement of query().
    t.query(QStringLiteral("UPDATE zeni SET nazvanie = 'Кронштейн 550' WHERE oboznashenie = 'A-2'"));
    EXPECT_TRUE(t.locate(kName, QStringLiteral("кронш"), options));
    EXPECT_EQ(designation(t), QStringLiteral("A-2"));

    // A rolled-back insert.
    {
        Transaction tx(t);
        t.insert();
        t.setValue(kOb, QStringLiteral("A-9"));
        t.setValue(kName, QStringLiteral("Ручка оконная"));
        t.post();
        EXPECT_TRUE(t.locate(kName, QStringLiteral("ручка"), options));
    }
    EXPECT_FALSE(t.locate(kName, QStringLiteral("ручка"), options));

    // Another connection to the same table (another user).
    otherUser(t, QStringLiteral("INSERT INTO zeni (oboznashenie, nazvanie) VALUES ('B-1', 'Фиксатор')"));
    EXPECT_TRUE(t.locate(kName, QStringLiteral("фикс"), options));
    EXPECT_EQ(designation(t), QStringLiteral("B-1"));
    EXPECT_TRUE(t.locate(kOb, QStringLiteral("b-"), options));
    EXPECT_EQ(designation(t), QStringLiteral("B-1"));
}

TEST_F(StorageTest, PendingEditIsWrittenWhenTheRowMoves)
{
    Table& t = prices({{QStringLiteral("A"), QString(), 1}, {QStringLiteral("B"), QString(), 2},
                       {QStringLiteral("C"), QString(), 3}});
    auto priceInFile = [&t](const QString& d) {
        return t.query(QStringLiteral("SELECT zena FROM zeni WHERE oboznashenie = ?"), {d}).value(0).value(0);
    };

    t.edit();
    t.setValue(QStringLiteral("Zena"), 11);
    EXPECT_EQ(t.number(kPrice), 11.0); // the pending value reads back
    EXPECT_EQ(priceInFile(QStringLiteral("A")).toDouble(), 1.0);
    EXPECT_FALSE(t.locate(kOb, QStringLiteral("nothing"))); // even a lookup that finds nothing
    EXPECT_EQ(t.state(), Table::State::Browse);
    EXPECT_EQ(priceInFile(QStringLiteral("A")).toDouble(), 11.0);

    t.next();
    t.edit();
    t.setValue(kPrice, 22);
    t.last();
    EXPECT_EQ(priceInFile(QStringLiteral("B")).toDouble(), 22.0);

    // Cancel drops the edit.
    t.edit();
    t.setValue(kPrice, 33.5);
    t.cancel();
    EXPECT_EQ(t.number(kPrice), 3.0);
    t.first();
    EXPECT_EQ(priceInFile(QStringLiteral("C")).toDouble(), 3.0);
}

// A move made later: the rowid at once, the row's values when they are used,
// and a row gone by then leaves the current row where it was.
TEST_F(StorageTest, AMoveMadeLaterShowsItsRowAtOnceAndReadsItWhenUsed)
{
    Table& t = prices({{QStringLiteral("A"), QString(), 1},
                       {QStringLiteral("B"), QString(), 2},
                       {QStringLiteral("C"), QString(), 3}});
    const qint64 a = t.currentRowid();
    ASSERT_TRUE(t.last());
    const qint64 c = t.currentRowid();
    ASSERT_TRUE(t.first());
    QSignalSpy moved(&t, &Table::currentChanged);

    t.moveToLater(c);
    EXPECT_EQ(t.currentRowid(), c);
    EXPECT_EQ(moved.count(), 1);
    otherUser(t, QStringLiteral("UPDATE zeni SET zena = 30 WHERE oboznashenie = 'C'"));
    EXPECT_EQ(designation(t), QStringLiteral("C"));
    EXPECT_EQ(t.number(kPrice), 30.0); // read when used, not when moved
    EXPECT_EQ(t.currentIndex(), 2);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_TRUE(t.prior());
    EXPECT_EQ(designation(t), QStringLiteral("B"));

    // The same row again is no move, but its values are read anew.
    moved.clear();
    t.moveToLater(t.currentRowid());
    EXPECT_EQ(moved.count(), 0);
    otherUser(t, QStringLiteral("UPDATE zeni SET zena = 20 WHERE oboznashenie = 'B'"));
    t.edit();
    t.setValue(kName, QStringLiteral("Засов"));
    t.post(); // an edit of a row read before the other user's change would be refused
    EXPECT_EQ(t.number(kPrice), 20.0);

    // Two later moves: only the last is read; a row gone by then is no move.
    moved.clear();
    t.moveToLater(a);
    t.moveToLater(c);
    EXPECT_EQ(moved.count(), 2);
    otherUser(t, QStringLiteral("DELETE FROM zeni WHERE oboznashenie = 'C'"));
    EXPECT_EQ(designation(t), QStringLiteral("B"));
    EXPECT_EQ(t.currentRowid(), t.query(QStringLiteral("SELECT rowid FROM zeni WHERE oboznashenie = 'B'"))
                                    .value(0)
                                    .value(0)
                                    .toLongLong());
    EXPECT_EQ(moved.count(), 3);
}

TEST_F(StorageTest, InsertEditRemoveAndNavigation)
{
    Table& t = prices({});
    QSignalSpy written(&t, &Table::dataChanged);
    EXPECT_THROW(t.setValue(kOb, QStringLiteral("x")), Error); // not in edit state
    EXPECT_THROW(t.remove(), Error);                            // empty table

    for (const char* d : {"A", "B", "C", "D"}) {
        t.insert();
        t.setValue(kOb, QString::fromLatin1(d));
        t.post();
        EXPECT_EQ(designation(t), QString::fromLatin1(d)); // the new row is current, at the end
    }
    EXPECT_EQ(t.rowCount(), 4);
    EXPECT_EQ(written.count(), 4);

    ASSERT_TRUE(t.first());
    EXPECT_FALSE(t.prior());
    ASSERT_TRUE(t.next());
    EXPECT_EQ(designation(t), QStringLiteral("B"));
    t.edit();
    t.setValue(kName, QStringLiteral("Второй"));
    t.post();
    EXPECT_EQ(t.query(QStringLiteral("SELECT nazvanie FROM zeni WHERE oboznashenie = 'B'")).value(0).value(0),
              QStringLiteral("Второй"));

    t.remove(); // B: the next row becomes current
    EXPECT_EQ(designation(t), QStringLiteral("C"));
    EXPECT_EQ(t.rowCount(), 3);
    ASSERT_TRUE(t.last());
    EXPECT_FALSE(t.next());
    t.remove(); // D, the last: the previous row becomes current
    EXPECT_EQ(designation(t), QStringLiteral("C"));

    // Removing during an insert drops the new row only.
    t.insert();
    t.setValue(kOb, QStringLiteral("E"));
    t.remove();
    EXPECT_EQ(t.rowCount(), 2);
    EXPECT_EQ(designation(t), QStringLiteral("C"));

    t.remove();
    t.remove();
    EXPECT_EQ(t.rowCount(), 0);
    EXPECT_EQ(t.currentRowid(), 0);
    EXPECT_TRUE(t.text(kOb).isEmpty());
}

TEST_F(StorageTest, EmptyFieldsReadAsEmpty)
{
    Table& t = prices({{QStringLiteral("A"), QString(), QVariant()}, {QStringLiteral("B"), QString(), 0}});
    EXPECT_TRUE(t.isNull(kName));
    EXPECT_FALSE(t.value(kName).isValid());
    EXPECT_EQ(t.text(kName), QString());
    EXPECT_EQ(t.number(kPrice), std::nullopt);
    t.next();
    EXPECT_EQ(t.number(kPrice), 0.0); // a price of 0 is not an empty price
    EXPECT_EQ(t.text(kPrice), QStringLiteral("0"));
    EXPECT_THROW(t.number(kOb), Error); // "B" is not a number
}

TEST_F(StorageTest, TextIsCutToItsFieldSize)
{
    Table::create(QStringLiteral("zakaz.db"), orderFields());
    Table& t = Table::open(QStringLiteral("zakaz.db"));
    const QString longName = QString(150, QChar(u'Я'));
    t.insert();
    t.setValue(QStringLiteral("name"), longName);
    t.setValue(QStringLiteral("Designation"), QStringLiteral("ЛИР-6742-33АМR100-длинное"));
    t.post();
    EXPECT_EQ(t.text(QStringLiteral("Name")), longName.left(100));
    const auto rows = t.query(QStringLiteral(R"(SELECT length("Name"), "Designation" FROM zakaz)"));
    EXPECT_EQ(rows.value(0).value(0).toInt(), 100);
    EXPECT_EQ(rows.value(0).value(1).toString(), QStringLiteral("ЛИР-6742-33АМR100-дл"));
}

// The rows read one by one are the rows query() gives, value for value, with
// the same conversions, the same binds and the same engine messages.
TEST_F(StorageTest, RowsReadOneByOneAreTheRowsOfAQuery)
{
    Table& t = prices({{QStringLiteral("Ящик"), QString(), 12.5},
                       {QStringLiteral("B"), QStringLiteral("Кронштейн «Люкс»"), 7},
                       {QStringLiteral("42"), QString(), QVariant()}});
    const QString sql = QStringLiteral("SELECT oboznashenie, coalesce(nazvanie, ?), zena, length(oboznashenie) "
                                       "FROM zeni WHERE oboznashenie <> ? AND (oboznashenie = '42' OR zena < ?) "
                                       "ORDER BY oboznashenie");
    const QVariantList bindings[] = {{QVariant(QMetaType::fromType<QString>()), QStringLiteral("нет"), 100},
                                     {QStringLiteral("—"), QStringLiteral("B"), 12.75}};
    int rowsRead = 0;
    for (const QVariantList& binds : bindings) {
        const auto rows = t.query(sql, binds);
        int n = 0;
        t.queryEach(sql, binds, [&](const lir::db::QueryRow& r) {
            ASSERT_LT(n, rows.size());
            for (int c = 0; c < 4; ++c) {
                const QVariant& v = rows[n][c];
                EXPECT_EQ(r.isNull(c), !v.isValid()) << n << c;
                EXPECT_EQ(r.value(c), v) << n << c;
                EXPECT_EQ(r.text(c), v.toString()) << n << c;
                EXPECT_EQ(r.real(c), v.toDouble()) << n << c;
                bool ok = false;
                const qlonglong whole = v.toLongLong(&ok);
                EXPECT_EQ(r.integer(c), ok ? whole : 0) << n << c;
                QString appended = QStringLiteral(">");
                r.appendText(c, appended);
                EXPECT_EQ(appended, u'>' + v.toString()) << n << c;
            }
            ++n;
        });
        EXPECT_EQ(n, rows.size());
        rowsRead += n;
    }
    EXPECT_EQ(rowsRead, 3 + 2);

    try {
        t.queryEach(QStringLiteral("SELECT * FROM nosuch"), {}, [](const lir::db::QueryRow&) {});
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(lir::test::onTestServer() ? QStringLiteral("relation \"nosuch\" does not exist")
                                                                   : QStringLiteral("no such table")))
            << e.message().toStdString();
    }
}

TEST_F(StorageTest, NumbersOutsideTheirFieldAreRefusedAndStayPending)
{
    Table::create(QStringLiteral("zakaz.db"), orderFields());
    Table& t = Table::open(QStringLiteral("zakaz.db"));
    const QString count = QStringLiteral("Count");

    t.insert();
    t.setValue(count, 65536);
    EXPECT_THROW(t.post(), Error);
    t.setValue(count, -1);
    EXPECT_THROW(t.post(), Error);
    t.setValue(count, QStringLiteral("70000"));
    EXPECT_THROW(t.post(), Error);
    t.setValue(QStringLiteral("Id"), 2147483648LL);
    t.setValue(count, 65535);
    EXPECT_THROW(t.post(), Error);
    EXPECT_EQ(t.state(), Table::State::Insert);
    EXPECT_EQ(t.rowCount(), 0);

    t.setValue(QStringLiteral("Id"), QStringLiteral(" 7 "));
    t.post();
    EXPECT_EQ(t.number(count), 65535.0);
    EXPECT_EQ(t.number(QStringLiteral("Id")), 7.0);

    // The file itself refuses what the field cannot hold.
    EXPECT_THROW(t.query(QStringLiteral("UPDATE zakaz SET FFH = 70000")), Error);
    EXPECT_THROW(t.query(QStringLiteral("UPDATE zakaz SET FFH = 'abc'")), Error);
}

TEST_F(StorageTest, ConversionErrorNamesTheValueAndKeepsTheEdit)
{
    Table& t = prices({{QStringLiteral("A"), QString(), 1}, {QStringLiteral("B"), QString(), 2}});
    t.edit();
    t.setValue(kPrice, QStringLiteral("abc"));
    try {
        t.post();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("'abc'"))) << e.message().toStdString();
    }
    EXPECT_EQ(t.state(), Table::State::Edit);
    EXPECT_EQ(t.text(kPrice), QStringLiteral("abc"));
    // Moving would write it first, so the move fails and the row stays.
    EXPECT_THROW(t.next(), Error);
    EXPECT_EQ(designation(t), QStringLiteral("A"));
    EXPECT_EQ(t.query(QStringLiteral("SELECT zena FROM zeni WHERE rowid = ?"), {t.currentRowid()})
                  .value(0)
                  .value(0)
                  .toDouble(),
              1.0);

    const lir::test::ScopedNumberLocale comma{QLocale(QLocale::Russian)}; // where the decimal separator is a comma
    t.setValue(kPrice, QStringLiteral("12,5")); // corrected, with a decimal comma
    t.post();
    EXPECT_EQ(t.number(kPrice), 12.5);
    t.edit();
    t.setValue(kPrice, QStringLiteral("nan"));
    EXPECT_THROW(t.post(), Error);
    t.cancel();
}

TEST_F(StorageTest, TransactionRollsBackAndCommits)
{
    Table& t = prices({{QStringLiteral("A"), QString(), 1}});
    {
        Transaction tx(t);
        for (int i = 0; i < 3; ++i) {
            t.insert();
            t.setValue(kOb, QStringLiteral("X%1").arg(i));
            t.post();
        }
        t.first();
        t.remove();
        EXPECT_EQ(t.rowCount(), 3);
    } // not done: rolled back
    EXPECT_EQ(t.rowCount(), 1);
    EXPECT_EQ(designation(t), QStringLiteral("A")); // back on a row that exists
    EXPECT_FALSE(t.locate(kOb, QStringLiteral("X0")));

    {
        Transaction tx(t);
        t.insert();
        t.setValue(kOb, QStringLiteral("Y"));
        t.post();
        tx.done();
    }
    Table::closeAll();
    EXPECT_EQ(Table::open(QStringLiteral("zeni.db")).rowCount(), 2);
}

TEST_F(StorageTest, ATransactionIsAnnouncedOnceWhenItEnds)
{
    Table& t = prices({{QStringLiteral("A"), QString(), 1}, {QStringLiteral("B"), QString(), 2}});
    QSignalSpy written(&t, &Table::dataChanged);
    QSignalSpy moved(&t, &Table::currentChanged);
    {
        Transaction tx(t);
        for (int i = 0; i < 3; ++i) {
            t.insert();
            t.setValue(kOb, QStringLiteral("X%1").arg(i));
            t.post();
        }
        EXPECT_EQ(written.count(), 0);
        EXPECT_EQ(moved.count(), 0);
        tx.done();
    }
    EXPECT_EQ(written.count(), 1);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(designation(t), QStringLiteral("X2"));

    // A rollback announces the table as it is afterwards, and a current row
    // that moved inside, even where it stays.
    t.first();
    written.clear();
    moved.clear();
    {
        Transaction tx(t);
        t.insert();
        t.setValue(kOb, QStringLiteral("Y"));
        t.post();
        EXPECT_TRUE(t.locate(kOb, QStringLiteral("B")));
    }
    EXPECT_GE(written.count(), 1);
    EXPECT_GE(moved.count(), 1);
    EXPECT_EQ(designation(t), QStringLiteral("B"));
}

TEST_F(StorageTest, EngineErrorsCarryTheEngineMessage)
{
    Table& t = prices({{QStringLiteral("A"), QString(), 1}});
    try {
        t.query(QStringLiteral("SELECT * FROM nosuch"));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(lir::test::onTestServer() ? QStringLiteral("relation \"nosuch\" does not exist")
                                                                   : QStringLiteral("no such table")))
            << e.message().toStdString();
    }
    t.beginTransaction();
    EXPECT_THROW(t.beginTransaction(), Error);
    t.rollback();

    // A row deleted by a statement is noticed: the current row moves on.
    QSignalSpy moved(&t, &Table::currentChanged);
    t.query(QStringLiteral("DELETE FROM zeni WHERE oboznashenie = ?"), {QStringLiteral("A")});
    EXPECT_EQ(t.rowCount(), 0);
    EXPECT_EQ(t.currentRowid(), 0);
    EXPECT_EQ(moved.count(), 1);
}

} // namespace

namespace {

TEST_F(StorageTest, AnEditOfARowAnotherUserChangedIsRefusedAndShowsTheRowAsItIsNow)
{
    Table& t = prices({{QStringLiteral("A"), QString(), 1}, {QStringLiteral("B"), QString(), 2}});
    QSignalSpy written(&t, &Table::dataChanged);
    // Edits of different rows both stay.
    t.edit();
    t.setValue(kPrice, 10);
    otherUser(t, QStringLiteral("UPDATE zeni SET zena = 20 WHERE oboznashenie = 'B'"));
    t.post();
    EXPECT_EQ(t.query(QStringLiteral("SELECT zena FROM zeni ORDER BY rowid")),
              (QVector<QVector<QVariant>>{{10.0}, {20.0}}));

    // The same row: the later edit is refused, nothing is overwritten, and
    // the row reads as the other user left it.
    t.edit();
    t.setValue(kPrice, 11);
    otherUser(t, QStringLiteral("UPDATE zeni SET zena = 15, nazvanie = 'Ручка' WHERE oboznashenie = 'A'"));
    written.clear();
    try {
        t.post();
        FAIL() << "the other user's change was overwritten";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Запись таблицы %1 изменил другой пользователь, пока вы её правили: ваше "
                                              "изменение не записано.\rПоказаны новые значения записи; внесите "
                                              "изменение ещё раз.")
                                   .arg(lir::test::onTestServer() ? QStringLiteral("zeni") : QStringLiteral("zeni.db")));
    }
    EXPECT_EQ(t.state(), Table::State::Browse);
    EXPECT_EQ(t.number(kPrice), 15.0);
    EXPECT_EQ(t.text(kName), QStringLiteral("Ручка"));
    EXPECT_GE(written.count(), 1);
    // Edited again from what it is now, it is written.
    t.edit();
    t.setValue(kPrice, 16);
    t.post();
    EXPECT_EQ(t.query(QStringLiteral("SELECT zena FROM zeni WHERE oboznashenie = 'A'")).value(0).value(0), 16.0);
    // Another user who wrote just what this edit writes is no conflict.
    t.edit();
    t.setValue(kPrice, 18);
    otherUser(t, QStringLiteral("UPDATE zeni SET zena = 18 WHERE oboznashenie = 'A'"));
    t.post();
    EXPECT_EQ(t.number(kPrice), 18.0);

    // A row another user deleted is named as deleted.
    t.edit();
    t.setValue(kPrice, 17);
    otherUser(t, QStringLiteral("DELETE FROM zeni WHERE oboznashenie = 'A'"));
    try {
        t.post();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Текущая запись таблицы zeni.db была удалена"));
    }
    EXPECT_EQ(designation(t), QStringLiteral("B"));
    EXPECT_EQ(t.rowCount(), 1);
}

TEST(StoreSettings, TheIniFileNamesTheServerOrTheFilesAndRefusesWhatCannotBeUsed)
{
    lir::test::ScopedWorkDir work;
    const QString ini = work.file(QStringLiteral("lircomplect.ini"));
    // The server as host|port|dbname|user, "files" for none, or the refusal.
    auto read = [&](const QByteArray& text) {
        QFile f(ini);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size());
        f.close();
        try {
            const auto s = lir::db::readServerSettings(work.path());
            return s ? QStringList{s->host, QString::number(s->port), s->dbname, s->user}.join(u'|')
                     : QStringLiteral("files");
        } catch (const Error& e) {
            return e.message();
        }
    };
    QFile::remove(ini);
    EXPECT_EQ(lir::db::readServerSettings(work.path()), std::nullopt);
    EXPECT_EQ(read("[database]\ndriver=sqlite\nhost=ignored\n"), QStringLiteral("files"));
    EXPECT_EQ(read("[other]\nx=1\n"), QStringLiteral("files"));
    EXPECT_EQ(read("[database]\ndriver=PostgreSQL\nhost= db.office \nport=6543\ndbname=lircomplect\nuser=smeta\n"),
              QStringLiteral("db.office|6543|lircomplect|smeta"));
    EXPECT_EQ(read("[database]\ndriver=postgresql\ndbname=lir\n"), QStringLiteral("|5432|lir|"));

    const QString in = QStringLiteral("В файле настроек ") + ini;
    EXPECT_EQ(read("[database]\ndriver=mysql\n"),
              in + QStringLiteral(" указан неизвестный драйвер базы данных \"mysql\": допустимы sqlite и postgresql"));
    EXPECT_EQ(read("[database]\ndriver=postgresql\ndbname=lir\nport=70000\n"),
              in + QStringLiteral(" указан неверный порт сервера \"70000\": нужен номер от 1 до 65535"));
    EXPECT_EQ(read("[database]\ndriver=postgresql\nhost=db\n"),
              in + QStringLiteral(" не указана база данных сервера (dbname)"));
    EXPECT_EQ(read("[database]\ndriver=postgresql\ndbname=lir\npassword=secret\n"),
              QStringLiteral("Файл настроек %1 не должен хранить пароль: удалите из него строку password и укажите "
                             "пароль в файле ~/.pgpass или в переменной окружения PGPASSWORD")
                  .arg(ini));
    // Qt would join a line ending in a backslash with the next one.
    const QString line4 = QStringLiteral("В файле настроек %1 строка 4 кончается знаком \\: так следующая строка "
                                         "становится частью её значения. Уберите \\ в конце строки 4")
                              .arg(ini);
    EXPECT_EQ(read("[database]\ndriver=postgresql\nhost=db\ndbname=c2\\\nuser=smeta\n"), line4);
    EXPECT_EQ(read("; shared store\r\n[database]\r\ndriver=postgresql\r\ndbname=c2\\\r\nuser=smeta\r\n"), line4);
    EXPECT_EQ(read("[database]\ndriver=postgresql\nhost=db\nuser=smeta \\\n"), line4);
    // In another section it would swallow "[database]" itself.
    EXPECT_EQ(read("[other]\npath=C:\\\n[database]\ndriver=postgresql\ndbname=lir\n"),
              QString(line4).replace(QStringLiteral("строка 4"), QStringLiteral("строка 2")).replace(QStringLiteral("строки 4"), QStringLiteral("строки 2")));
    // The encryption libpq is asked for: prefer unless the file says otherwise.
    EXPECT_EQ(read("[database]\ndriver=postgresql\ndbname=lir\nsslmode=Verify-Full\n"), QStringLiteral("|5432|lir|"));
    EXPECT_EQ(lir::db::readServerSettings(work.path())->sslmode, QStringLiteral("verify-full"));
    EXPECT_EQ(read("[database]\ndriver=postgresql\ndbname=lir\nsslmode=allow\n"),
              in + QStringLiteral(" указан неизвестный режим шифрования sslmode \"allow\": допустимы disable, prefer, "
                                  "require, verify-full"));
    // An escaped backslash ends the line as it should.
    EXPECT_EQ(read("[database]\ndriver=postgresql\nhost=db\ndbname=c2\\\\\nuser=smeta\n"), QStringLiteral("db|5432|c2\\|smeta"));
}

} // namespace
