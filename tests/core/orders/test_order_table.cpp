// The order table zakaz.db: its fields, its creation, the numbering of saved
// orders, and saving as one transaction.
#include "core/base/error.h"
#include "core/calc/tiltkit.h"
#include "core/calc/turnkit.h"
#include "core/db/storage.h"
#include "core/orders/ordermodel.h"
#include "core/orders/ordertable.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QThread>

using namespace lir;

namespace {

class OrderTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db::Table::closeAll();
        test::recorder().clear();
        order.setCalculators(&turn, nullptr, &tilt);
        order.setOrderTable([]() -> db::Table& {
            orders::CreateOrderTable();
            return db::Table::open(orders::tableFile());
        });
        setOrderSink(&order);
    }
    void TearDown() override
    {
        setOrderSink(nullptr);
        db::Table::closeAll();
    }

    void addKits(int n)
    {
        for (int i = 0; i < n; ++i) {
            tilt.setFFH(400 + 50 * i);
            tilt.setFFB(800);
            tilt.RashetButtonClick();
            tilt.SumButtonClick();
        }
    }
    // The fields named as they are spelt, quoted as a server needs them.
    QVector<QVector<QVariant>> tableRows(const QString& fields)
    {
        QStringList names = fields.split(QStringLiteral(", "));
        for (QString& n : names)
            n = db::quoted(n);
        return db::Table::open(orders::tableFile())
            .query(QStringLiteral("SELECT ") + names.join(QStringLiteral(", ")) +
                   QStringLiteral(" FROM zakaz ORDER BY rowid"));
    }

    test::ScopedWorkDir work;
    TurnKit turn;
    TiltKit tilt;
    OrderModel order;
};

QStringList fieldNames(const QVector<db::FieldDef>& fields)
{
    QStringList out;
    for (const db::FieldDef& f : fields)
        out << f.name;
    return out;
}

} // namespace

TEST_F(OrderTableTest, SavingNeedsADescriptionAndAKitAndWritesNothingOtherwise)
{
    order.setDescription(QString());
    EXPECT_FALSE(order.bt_saveClick());
    addKits(1);
    EXPECT_FALSE(order.bt_saveClick());
    order.setDescription(QStringLiteral("Дача"));
    order.bt_clearClick();
    EXPECT_FALSE(order.bt_saveClick());
    EXPECT_EQ(test::recorder().errors(),
              (QStringList{QStringLiteral("Не введено описание заказа!"), QStringLiteral("Не введено описание заказа!"),
                           QStringLiteral("Нет данных для сохранения!")}));
    EXPECT_FALSE(db::Table::exists(QStringLiteral("zakaz.db")));
}

TEST_F(OrderTableTest, TwoOrdersAreNumberedOneToSevenInOneTableOfTwelveFields)
{
    addKits(3);
    order.setDescription(QStringLiteral("Первый"));
    ASSERT_TRUE(order.bt_saveClick());
    ASSERT_EQ(order.EntryCount(), 3); // saving keeps the order
    order.bt_clearClick();
    turn.setFFH(600);
    turn.setFFB(500);
    turn.setKolKomlektov(100000);
    turn.RashetButtonClick();
    turn.SumButtonClick();
    addKits(1);
    order.setDescription(QStringLiteral("Второй"));
    ASSERT_TRUE(order.bt_saveClick());

    db::Table& t = db::Table::open(orders::tableFile());
    EXPECT_EQ(t.fieldNames(),
              (QStringList{QStringLiteral("Id"), QStringLiteral("Name"), QStringLiteral("Parentid"),
                           QStringLiteral("Designation"), QStringLiteral("Type"), QStringLiteral("Count"),
                           QStringLiteral("Color"), QStringLiteral("FFH"), QStringLiteral("FFB"), QStringLiteral("GH"),
                           QStringLiteral("Profil"), QStringLiteral("Dop_komplekt")}));
    EXPECT_EQ(t.fields(), orders::tableFields());
    EXPECT_EQ(t.fields().last().size, 200);

    const auto r = tableRows(QStringLiteral("Id, Name, Parentid, Designation, Count"));
    ASSERT_EQ(r.size(), 7);
    QList<int> ids, parents;
    for (const auto& row : r) {
        ids << row.at(0).toInt();
        parents << row.at(2).toInt();
    }
    EXPECT_EQ(ids, (QList<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(parents, (QList<int>{0, 1, 1, 1, 0, 5, 5}));
    EXPECT_EQ(r.at(0).at(1).toString(), QStringLiteral("Первый"));
    EXPECT_EQ(r.at(4).at(1).toString(), QStringLiteral("Второй"));
    EXPECT_FALSE(r.at(0).at(3).isValid()); // a header has no kit fields
    EXPECT_FALSE(r.at(1).at(1).isValid()); // a kit row has no name
    EXPECT_EQ(r.at(5).at(3).toString(), QStringLiteral("ЛИР-6741-02МR100"));
    EXPECT_EQ(r.at(5).at(4).toInt(), 100000); // the count is 32-bit
}

TEST_F(OrderTableTest, LongTextsAreCutToTheirFieldsAndLongPiecesAreKept)
{
    addKits(1);
    order.setDescription(QString(150, QChar(u'Ж')));
    TOrder e = order.entries().first();
    e.Dop_komplekt = QString(180, QChar(u'д'));
    order.StoreEntry(0, e);
    ASSERT_TRUE(order.bt_saveClick());
    const auto r = tableRows(QStringLiteral("Name, Dop_komplekt"));
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r.at(0).at(0).toString(), QString(100, QChar(u'Ж')));
    EXPECT_EQ(r.at(1).at(1).toString(), QString(180, QChar(u'д')));
}

TEST_F(OrderTableTest, AnOrderIsSavedWholeOrNotAtAll)
{
    addKits(2);
    order.setDescription(QStringLiteral("Первый"));
    ASSERT_TRUE(order.bt_saveClick());
    TOrder bad = order.entries().at(1);
    bad.Color = 70000; // no RAL number is that large: the field refuses it
    order.StoreEntry(1, bad);
    try {
        order.bt_saveClick();
        ADD_FAILURE() << "the save did not fail";
    } catch (const Error& e) {
        const QString path = test::tableShown(work.path(), QStringLiteral("zakaz.db"));
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Не удалось сохранить заказ в таблицу ") + path + QChar(13)))
            << e.message().toStdString();
    }
    EXPECT_EQ(tableRows(QStringLiteral("Id")).size(), 3);
    // The table is usable afterwards, and numbering goes on.
    bad.Color = 7000;
    order.StoreEntry(1, bad);
    ASSERT_TRUE(order.bt_saveClick());
    EXPECT_EQ(tableRows(QStringLiteral("Id")).last().first().toInt(), 6);
}

TEST_F(OrderTableTest, AnExistingTableIsNeverTouched)
{
    db::Table::create(orders::tableFile(), {{QStringLiteral("Id"), db::FieldDef::Type::Int32, 0},
                                            {QStringLiteral("Name"), db::FieldDef::Type::Text, 50}});
    orders::CreateOrderTable();
    EXPECT_EQ(fieldNames(db::Table::open(orders::tableFile()).fields()),
              (QStringList{QStringLiteral("Id"), QStringLiteral("Name")}));
}

TEST_F(OrderTableTest, ALostConnectionDuringASaveWritesNothingAndTheNextSaveReconnects)
{
    LIR_SERVER_ONLY();
    addKits(3);
    order.setDescription(QStringLiteral("Первый"));
    ASSERT_TRUE(order.bt_saveClick());
    db::Table& t = db::Table::open(orders::tableFile());
    const QVariant pid = t.query(QStringLiteral("SELECT pg_backend_pid()")).value(0).value(0);

    // The connection is cut while the second kit of the next order is written.
    int posts = 0;
    t.setNumberCheck(QStringLiteral("Count"), [&](double) {
        if (++posts == 2) {
            test::serverQuery(QStringLiteral("SELECT pg_terminate_backend(?)"), {pid});
            for (int i = 0; i < 200 && !test::serverQuery(QStringLiteral("SELECT 1 FROM pg_stat_activity WHERE pid = ?"),
                                                          {pid}).isEmpty();
                 ++i)
                QThread::msleep(10);
        }
        return QString();
    });
    order.setDescription(QStringLiteral("Второй"));
    try {
        order.bt_saveClick();
        ADD_FAILURE() << "the save did not fail";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Не удалось сохранить заказ в таблицу ") +
                                           test::tableShown(work.path(), QStringLiteral("zakaz.db")) +
                                           QStringLiteral("\rСвязь с сервером базы данных ")))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral(" прервана: действие с таблицей zakaz не выполнено.\r"
                                                        "Следующее действие подключится к серверу заново.\r")))
            << e.message().toStdString();
    }
    t.setNumberCheck(QStringLiteral("Count"), {});
    // Nothing of the second order reached the table, and the order is kept.
    EXPECT_EQ(test::serverQuery(QStringLiteral("SELECT count(*) FROM zakaz")).value(0).value(0).toInt(), 4);
    EXPECT_EQ(order.entries().size(), 3);

    // The next action connects anew: the order is saved whole, numbered on.
    ASSERT_TRUE(order.bt_saveClick());
    EXPECT_EQ(tableRows(QStringLiteral("Id")),
              (QVector<QVector<QVariant>>{{1}, {2}, {3}, {4}, {5}, {6}, {7}, {8}}));
    EXPECT_NE(t.query(QStringLiteral("SELECT pg_backend_pid()")).value(0).value(0), pid);
}
