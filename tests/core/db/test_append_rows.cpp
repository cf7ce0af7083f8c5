// Many rows written through one prepared insert: the same rows as post()
// writes, all or nothing, and the table's row count and current row right
// afterwards, also after another user's write.
#include "core/db/storage.h"
#include "core/base/error.h"
#include "support/testsupport.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using lir::Error;
using lir::db::FieldDef;
using lir::db::Table;
using Type = FieldDef::Type;

namespace {

class AppendRowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Table::create(QStringLiteral("zakaz.db"), {{QStringLiteral("Id"), Type::Int32},
                                                   {QStringLiteral("Name"), Type::Text, 10},
                                                   {QStringLiteral("Count"), Type::UInt16},
                                                   {QStringLiteral("Price"), Type::Double}});
    }
    void TearDown() override { Table::closeAll(); }

    Table& table() { return Table::open(QStringLiteral("zakaz.db")); }
    QVector<QVector<QVariant>> rows()
    {
        return table().query(QStringLiteral(R"(SELECT "Id", "Name", "Count", "Price" FROM zakaz ORDER BY rowid)"));
    }

    const QStringList fields{QStringLiteral("Id"), QStringLiteral("Name"), QStringLiteral("Count"),
                             QStringLiteral("Price")};
    // Values as callers give them: numbers as text, a name longer than its
    // field, empty text, a missing value.
    const QVector<QVariantList> given{{1, QStringLiteral("Заказ на окна"), QStringLiteral(" 7 "), 1.5},
                                      {2, QString(), 65535, QStringLiteral("2.25")},
                                      {QStringLiteral("3"), QStringLiteral("Створка"), QVariant(), 0}};
    lir::test::ScopedWorkDir m_dir;
};

TEST_F(AppendRowsTest, RowsAreWrittenAsPostWritesThemAndTheLastIsCurrent)
{
    Table& t = table();
    for (const QVariantList& values : given) {
        t.insert();
        for (int k = 0; k < fields.size(); ++k)
            t.setValue(fields[k], values[k]);
        t.post();
    }
    const auto posted = rows();
    ASSERT_EQ(posted.size(), 3);
    EXPECT_EQ(posted[0], (QVector<QVariant>{1, QStringLiteral("Заказ на о"), 7, 1.5}));

    QSignalSpy data(&t, &Table::dataChanged);
    QSignalSpy current(&t, &Table::currentChanged);
    t.appendRows(fields, given.size(), [&](qsizetype r, QVariantList& v) { v = given[r]; });
    EXPECT_EQ(data.size(), 1);
    EXPECT_EQ(current.size(), 1);
    EXPECT_EQ(rows().mid(3), posted);
    EXPECT_EQ(t.rowCount(), 6);
    EXPECT_EQ(t.currentIndex(), 5);
    EXPECT_EQ(t.text(QStringLiteral("Name")), QStringLiteral("Створка"));

    // Fields not given stay empty.
    t.appendRows({QStringLiteral("Name")}, 1, [](qsizetype, QVariantList& v) { v[0] = QStringLiteral("Шпингалет"); });
    EXPECT_EQ(rows().last(), (QVector<QVariant>{QVariant(), QStringLiteral("Шпингалет"), QVariant(), QVariant()}));
}

TEST_F(AppendRowsTest, ARefusedValueWritesNothingAndSaysWhatPostSays)
{
    Table& t = table();
    t.insert();
    t.setValue(QStringLiteral("Count"), 70000);
    QString postSays;
    try {
        t.post();
    } catch (const Error& e) {
        postSays = e.message();
    }
    t.cancel();
    ASSERT_FALSE(postSays.isEmpty());

    auto third = [&](qsizetype r, QVariantList& v) {
        v = given[r];
        if (r == 2)
            v[2] = 70000;
    };
    try {
        t.appendRows(fields, given.size(), third);
        ADD_FAILURE() << "the row was written";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), postSays);
    }
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(t.rowCount(), 0);

    // In the caller's transaction the rows go with it.
    {
        lir::db::Transaction tx(t);
        t.appendRows(fields, 2, [&](qsizetype r, QVariantList& v) { v = given[r]; });
        EXPECT_THROW(t.appendRows(fields, given.size(), third), Error);
    }
    EXPECT_TRUE(rows().isEmpty());
    t.appendRows(fields, 1, [&](qsizetype r, QVariantList& v) { v = given[r]; });
    EXPECT_EQ(t.rowCount(), 1);
}

TEST_F(AppendRowsTest, TheCountFollowsOwnWritesOtherUsersAndWritesBeside)
{
    Table& t = table();
    t.query(QStringLiteral("CREATE TABLE beside (n INTEGER)"));
    EXPECT_EQ(t.rowCount(), 0);
    t.appendRows(fields, 2, [&](qsizetype r, QVariantList& v) { v = given[r]; });
    EXPECT_EQ(t.rowCount(), 2);
    lir::test::writeAsAnotherUser(t.fileName(), QStringLiteral(R"(INSERT INTO zakaz ("Id") VALUES (?))"), {9});
    EXPECT_EQ(t.rowCount(), 3);
    t.appendRows(fields, 1, [&](qsizetype r, QVariantList& v) { v = given[r]; });
    EXPECT_EQ(t.rowCount(), 4);
    EXPECT_EQ(t.currentIndex(), 3);

    QSignalSpy data(&t, &Table::dataChanged);
    t.writeBeside(QStringLiteral("INSERT INTO beside (n) VALUES (?)"), {5});
    EXPECT_EQ(data.size(), 0);
    EXPECT_EQ(t.currentIndex(), 3);
    EXPECT_EQ(t.rowCount(), 4);
    EXPECT_EQ(t.query(QStringLiteral("SELECT n FROM beside")), (QVector<QVector<QVariant>>{{5}}));
}

TEST_F(AppendRowsTest, AnObservedTableIsToldOfEveryRow)
{
    Table& t = table();
    QVector<QVector<QVariant>> told;
    t.setWriteObserver([&](Table&, const QVector<QVariant>& before, const QVector<QVariant>& after) {
        EXPECT_TRUE(before.isEmpty());
        told << after;
    });
    t.appendRows(fields, given.size(), [&](qsizetype r, QVariantList& v) { v = given[r]; });
    EXPECT_EQ(told, rows());
    EXPECT_EQ(told.size(), 3);
}

} // namespace
