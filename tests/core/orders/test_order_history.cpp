// The order history: the two lists over the order table, how they follow a
// save, reopening an order, rows written by another tool, and order numbers
// past 16 bits.
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/db/storage.h"
#include "core/orders/orderhistory.h"
#include "core/orders/ordermodel.h"
#include "core/orders/ordertable.h"
#include "core/orders/ordertexts.h"
#include "support/testsupport.h"

#include <QFile>

using namespace lir;

namespace {

QStringList designations(const QVector<TOrder>& entries)
{
    QStringList out;
    for (const TOrder& e : entries)
        out << e.Designation;
    return out;
}

class HistoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db::Table::closeAll();
        test::recorder().clear();
        order.setCalculators(&turn, &tiltTurn, &tilt);
        order.setOrderTable([this]() -> db::Table& { return history.table(); });
        setOrderSink(&order);
        history.FormCreate();
    }
    void TearDown() override
    {
        setOrderSink(nullptr);
        db::Table::closeAll();
    }

    void add(KitCalculator& c, int ffh, int ffb)
    {
        c.setFFH(ffh);
        c.setFFB(ffb);
        c.RashetButtonClick();
        ASSERT_FALSE(c.lastCalculationFailed());
        c.SumButtonClick();
    }
    // Orders of three and two kits: numbers 1 and 5.
    void saveTwoOrders()
    {
        add(turn, 600, 500);
        add(tiltTurn, 1400, 700);
        add(tilt, 500, 800);
        order.setDescription(QStringLiteral("Первый"));
        ASSERT_TRUE(order.bt_saveClick());
        order.bt_clearClick();
        add(tilt, 450, 900);
        add(turn, 700, 600);
        order.setDescription(QStringLiteral("Второй"));
        ASSERT_TRUE(order.bt_saveClick());
        order.bt_clearClick();
    }

    test::ScopedWorkDir work;
    TurnKit turn;
    TiltTurnKit tiltTurn;
    TiltKit tilt;
    OrderModel order;
    OrderHistory history;
};

} // namespace

TEST_F(HistoryTest, ListsOrdersByNumberAndTheKitsOfThePickedOneInSavedOrder)
{
    EXPECT_TRUE(db::Table::exists(QStringLiteral("zakaz.db")));
    // No saved order: both lists empty, and nothing to open.
    EXPECT_TRUE(history.orders().isEmpty());
    EXPECT_EQ(history.currentOrder(), -1);
    history.listKits();
    EXPECT_TRUE(history.kits().isEmpty());
    EXPECT_FALSE(history.lbNameVisible());

    saveTwoOrders();
    EXPECT_EQ(history.orders(), (QVector<SavedOrder>{{1, QStringLiteral("Первый")}, {5, QStringLiteral("Второй")}}));
    EXPECT_EQ(history.currentOrder(), 0);
    history.listKits();
    EXPECT_EQ(history.listedOrder(), 1);
    EXPECT_EQ(history.lb_name(), QStringLiteral("Первый"));
    EXPECT_TRUE(history.lbNameVisible());
    ASSERT_EQ(history.kits().size(), 3);
    EXPECT_EQ(history.kits().at(0).Designation, QStringLiteral("ЛИР-6741-02МR100"));
    EXPECT_TRUE(history.kits().at(1).Type.contains(QStringLiteral("ПОФ")));
    EXPECT_TRUE(history.kits().at(2).Type.contains(QStringLiteral("ОФ")));
    EXPECT_EQ(history.kits().at(2).FFH, 500);
    EXPECT_EQ(history.kits().at(2).FFB, 800);

    history.setCurrentOrder(1);
    history.listKits();
    EXPECT_EQ(history.listedOrder(), 5);
    EXPECT_EQ(history.lb_name(), QStringLiteral("Второй"));
    ASSERT_EQ(history.kits().size(), 2);
    EXPECT_EQ(history.kits().at(0).FFH, 450);
    EXPECT_EQ(history.kits().at(1).FFH, 700);
}

TEST_F(HistoryTest, AfterASaveTheListStandsOnItsFirstRowAndTheKitsStay)
{
    saveTwoOrders();
    history.setCurrentOrder(1);
    history.listKits();
    const QVector<TOrder> second = history.kits();

    add(turn, 800, 700);
    order.setDescription(QStringLiteral("Третий"));
    ASSERT_TRUE(order.bt_saveClick());
    ASSERT_EQ(history.orders().size(), 3);
    EXPECT_EQ(history.orders().at(2), (SavedOrder{8, QStringLiteral("Третий")}));
    EXPECT_EQ(history.currentOrder(), 0);
    EXPECT_EQ(history.listedOrder(), 5);
    EXPECT_EQ(history.kits(), second);
    EXPECT_EQ(history.lb_name(), QStringLiteral("Второй"));
}

TEST_F(HistoryTest, ReopeningReplacesTheCurrentOrderWithoutAskingAndShowsTheKits)
{
    saveTwoOrders();
    history.listKits();
    const QVector<TOrder> saved = history.kits();

    add(tilt, 600, 600); // an order in hand, which the reopening drops
    order.setView(OrderModel::KitsAndComponents);
    order.setDescription(QStringLiteral("В работе"));
    test::recorder().clear();
    int shown = 0;
    QObject::connect(&order, &OrderModel::showRequested, [&shown] { ++shown; });

    ASSERT_TRUE(history.bt_openClick(order));
    EXPECT_EQ(order.entries(), saved);
    EXPECT_EQ(designations(order.entries()).size(), 3);
    EXPECT_EQ(order.view(), OrderModel::Kits);
    EXPECT_TRUE(test::recorder().shown().empty());
    EXPECT_EQ(shown, 1);
    // The reopened order goes on under its own description (the state object
    // does not ask: the window asks before it calls this).
    EXPECT_EQ(order.description(), QStringLiteral("Первый"));
    EXPECT_EQ(order.StringGrid2().row(1).at(0), QStringLiteral("ЛИР-6741-02МR100"));

    // Reopened twice: still the three kits, never six.
    ASSERT_TRUE(history.bt_openClick(order));
    EXPECT_EQ(order.entries(), saved);
}

TEST_F(HistoryTest, WithNoOrderListedOpeningKeepsTheCurrentOrder)
{
    add(tilt, 600, 600);
    history.listKits();
    EXPECT_FALSE(history.bt_openClick(order));
    EXPECT_EQ(order.EntryCount(), 1);
}

TEST_F(HistoryTest, RowsOfAnotherToolWithoutHeaderOrWithoutKits)
{
    db::Table& t = history.table();
    t.query(QStringLiteral("INSERT INTO zakaz (\"Id\", \"Name\", \"Parentid\") VALUES (1, 'Пустой', 0)"));
    t.query(QStringLiteral("INSERT INTO zakaz (\"Id\", \"Parentid\", \"Designation\", \"Type\") VALUES (2, 77, 'ЛИР-6741-1R', 'ПФ')"));
    // A kit row of another tool with its numbers left empty.
    t.query(QStringLiteral("INSERT INTO zakaz (\"Id\", \"Name\", \"Parentid\") VALUES (3, 'Без чисел', 0)"));
    t.query(QStringLiteral("INSERT INTO zakaz (\"Id\", \"Parentid\", \"Designation\", \"Type\") VALUES (4, 3, 'Нестандартный', 'ПФ')"));

    EXPECT_EQ(history.orders(), (QVector<SavedOrder>{{1, QStringLiteral("Пустой")}, {3, QStringLiteral("Без чисел")}}));
    history.listKits();
    EXPECT_TRUE(history.kits().isEmpty());

    add(tilt, 600, 600);
    order.setView(OrderModel::Components);
    EXPECT_TRUE(history.bt_openClick(order));
    EXPECT_EQ(order.EntryCount(), 0);
    EXPECT_EQ(order.view(), OrderModel::Kits);

    history.setCurrentOrder(1);
    history.listKits();
    ASSERT_EQ(history.kits().size(), 1);
    EXPECT_EQ(history.kits().at(0).Count, 0);
    EXPECT_EQ(history.kits().at(0).FFH, 0);
    EXPECT_TRUE(history.bt_openClick(order)); // the calculator refuses the sizes; the entry is kept
    EXPECT_EQ(order.EntryCount(), 1);
}

TEST_F(HistoryTest, OrderNumbersPastSixteenBits)
{
    // One order of 65 535 kits written in one statement, as another tool might.
    db::Table& t = history.table();
    t.query(QStringLiteral("INSERT INTO zakaz (\"Id\", \"Name\", \"Parentid\") VALUES (1, 'Большой', 0)"));
    t.query(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i + 1 FROM n WHERE i < 65536)"
                           " INSERT INTO zakaz (\"Id\", \"Parentid\", \"Designation\", \"Type\", \"Count\", \"Color\", \"FFH\", \"FFB\", \"GH\")"
                           " SELECT i, 1, 'ЛИР-6741-1R', 'ПФ ПВХ', 1, 0, 600, 500, 0 FROM n"));
    ASSERT_EQ(t.rowCount(), 65536);

    add(turn, 700, 600);
    add(tilt, 500, 800);
    order.setDescription(QStringLiteral("После"));
    ASSERT_TRUE(order.bt_saveClick());
    const QVector<TOrder> saved = order.entries();

    EXPECT_EQ(history.orders(), (QVector<SavedOrder>{{1, QStringLiteral("Большой")}, {65537, QStringLiteral("После")}}));
    history.setCurrentOrder(1);
    history.listKits();
    EXPECT_EQ(history.listedOrder(), 65537);
    EXPECT_EQ(history.kits(), saved);
    ASSERT_TRUE(history.bt_openClick(order));
    EXPECT_EQ(order.entries(), saved);
    EXPECT_EQ(OrderHistory::queryOrder(t, 65537)->Name, QStringLiteral("После"));
    EXPECT_FALSE(OrderHistory::queryOrder(t, 65538)); // a kit row is no order
}

TEST_F(HistoryTest, AColleaguesOrderIsListedAtTheNextShowing)
{
    saveTwoOrders();
    history.setCurrentOrder(1);
    history.listKits();
    // A showing with nothing new keeps the picked order.
    history.FormShow();
    EXPECT_EQ(history.currentOrder(), 1);
    EXPECT_EQ(history.listedOrder(), 5);

    // Another estimator saves order 8 into the same table.
    test::writeAsAnotherUser(QStringLiteral("zakaz.db"),
                             QStringLiteral(R"(INSERT INTO zakaz ("Id", "Name", "Parentid") VALUES (8, 'Коллега', 0))"));
    test::writeAsAnotherUser(QStringLiteral("zakaz.db"),
                             QStringLiteral(R"(INSERT INTO zakaz ("Id", "Parentid", "Designation", "Type", "Count")
                                               VALUES (9, 8, 'ЛИР-6741-1R', 'ПФ ПВХ', 2))"));
    history.FormShow();
    EXPECT_EQ(history.orders(), (QVector<SavedOrder>{{1, QStringLiteral("Первый")},
                                                    {5, QStringLiteral("Второй")},
                                                    {8, QStringLiteral("Коллега")}}));
    EXPECT_EQ(history.currentOrder(), 0);
    history.setCurrentOrder(2);
    history.listKits();
    EXPECT_EQ(designations(history.kits()), QStringList{QStringLiteral("ЛИР-6741-1R")});
    EXPECT_EQ(history.kits().first().Count, 2);
}

// What a window asks before something is lost, and what counts as saved.
TEST_F(HistoryTest, TheQuestionsSayWhatWouldBeLostAndASavedOrReopenedOrderLosesNothing)
{
    EXPECT_FALSE(order.unsaved());
    EXPECT_EQ(order.clearQuestion(), QString()); // an empty order: nothing to ask
    EXPECT_EQ(order.deleteQuestion(), QString());
    EXPECT_EQ(order.openOtherQuestion(), QString());
    EXPECT_EQ(order.quitQuestion(), QString());

    add(turn, 600, 500);
    EXPECT_TRUE(order.unsaved());
    EXPECT_EQ(order.clearQuestion(), QStringLiteral("В текущем заказе 1 комплект, он не сохранён. Очистить заказ?"));
    add(tiltTurn, 1400, 700);
    add(tilt, 500, 800);
    EXPECT_EQ(order.clearQuestion(),
              QStringLiteral("В текущем заказе 3 комплекта, они не сохранены. Очистить заказ?"));
    EXPECT_EQ(order.openOtherQuestion(),
              QStringLiteral("В текущем заказе 3 комплекта, они не сохранены. Открыть другой заказ?"));
    EXPECT_EQ(order.quitQuestion(),
              QStringLiteral("В текущем заказе 3 комплекта, они не сохранены. Закрыть программу?"));
    // The delete button names the kit of the kits grid's current row; the
    // empty last row deletes nothing.
    order.setCurrentCell(OrderModel::Kits, 2, 0);
    EXPECT_EQ(order.deleteQuestion(), QStringLiteral("Удалить из заказа комплект ЛИР-6742-33АМR100 (1 шт., RAL 9016)?"));
    order.setCurrentCell(OrderModel::Kits, 4, 0);
    EXPECT_EQ(order.deleteQuestion(), QString());

    // Saved: only clearing still asks, without the warning.
    order.setDescription(QStringLiteral("Первый"));
    ASSERT_TRUE(order.bt_saveClick());
    EXPECT_FALSE(order.unsaved());
    EXPECT_EQ(order.openOtherQuestion(), QString());
    EXPECT_EQ(order.quitQuestion(), QString());
    EXPECT_EQ(order.clearQuestion(), QStringLiteral("В текущем заказе 3 комплекта. Очистить заказ?"));
    // A change after the save is unsaved again, an edit as much as a kit.
    order.setCurrentCell(OrderModel::Kits, 1, 0);
    ASSERT_TRUE(order.spbt_deleteClick());
    EXPECT_TRUE(order.unsaved());

    // The history stands on the order just saved and lists its kits.
    add(turn, 700, 600);
    order.setDescription(QStringLiteral("Второй"));
    ASSERT_TRUE(order.bt_saveClick());
    history.listSaved(QStringLiteral("Второй"));
    ASSERT_EQ(history.orders().size(), 2);
    EXPECT_EQ(history.currentOrder(), 1);
    EXPECT_EQ(history.lb_name(), QStringLiteral("Второй"));
    EXPECT_EQ(history.kits(), order.entries());

    // Reopened, an order takes its description and counts as saved.
    history.setCurrentOrder(0);
    history.listKits();
    order.setDescription(QStringLiteral("черновик"));
    add(tilt, 450, 900);
    ASSERT_TRUE(history.bt_openClick(order));
    EXPECT_EQ(order.description(), QStringLiteral("Первый"));
    EXPECT_EQ(order.EntryCount(), 3);
    EXPECT_FALSE(order.unsaved());
}

TEST(OrderTexts, KitsAreCountedInRussian)
{
    const std::pair<int, const char*> counts[] = {{1, "1 комплект"},    {2, "2 комплекта"},   {4, "4 комплекта"},
                                                  {5, "5 комплектов"},  {11, "11 комплектов"}, {12, "12 комплектов"},
                                                  {21, "21 комплект"},  {22, "22 комплекта"}, {111, "111 комплектов"},
                                                  {101, "101 комплект"}};
    for (const auto& [n, text] : counts)
        EXPECT_EQ(ordertexts::kitsCount(n), QString::fromUtf8(text)) << n;
}
