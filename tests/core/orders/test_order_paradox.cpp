// An order table converted from Paradox: the history reopens every order as
// it reopens the one saved here, and new orders are numbered on from it.
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/db/storage.h"
#include "core/orders/orderhistory.h"
#include "core/orders/ordermodel.h"
#include "core/orders/ordertable.h"
#include "core/prices/paradoximport.h"
#include "support/paradoxfixture.h"
#include "support/testsupport.h"

#include <QFile>

using namespace lir;
using Rows = QVector<QVector<QVariant>>;

namespace {

// What reopening one order gives: its entries and the three grids.
struct Reopened
{
    QVector<TOrder> entries;
    QVector<QVector<QStringList>> grids;
    bool operator==(const Reopened&) const = default;
};

class OrderParadoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Tables in the Paradox format are converted into files of the
        // working directory: nothing of it concerns a server.
        if (lir::test::onTestServer())
            GTEST_SKIP() << "converts into the tables' files";
        db::Table::closeAll();
        db::setNetFileDir(work.path());
        test::recorder().clear();
        order.setCalculators(&turn, &tiltTurn, &tilt);
        setOrderSink(&order);
    }
    void TearDown() override
    {
        setOrderSink(nullptr);
        db::Table::closeAll();
        db::setNetFileDir(QString());
    }

    void add(KitCalculator& c, int ffh, int ffb)
    {
        c.setFFH(ffh);
        c.setFFB(ffb);
        c.RashetButtonClick();
        ASSERT_FALSE(c.lastCalculationFailed());
        c.SumButtonClick();
    }
    void save(const QString& description)
    {
        order.setDescription(description);
        ASSERT_TRUE(order.bt_saveClick());
        order.bt_clearClick();
    }
    QVector<Reopened> reopenEvery(OrderHistory& history)
    {
        QVector<Reopened> out;
        for (int i = 0; i < history.orders().size(); ++i) {
            history.setCurrentOrder(i);
            history.listKits();
            EXPECT_TRUE(history.bt_openClick(order));
            Reopened r{order.entries(), {}};
            for (const OrderModel::View v :
                 {OrderModel::Components, OrderModel::Kits, OrderModel::KitsAndComponents}) {
                QVector<QStringList> grid;
                for (int row = 0; row < order.grid(v).rowCount(); ++row)
                    grid << order.grid(v).row(row);
                r.grids << grid;
            }
            out << r;
        }
        return out;
    }

    test::ScopedWorkDir work;
    TurnKit turn;
    TiltTurnKit tiltTurn;
    TiltKit tilt;
    OrderModel order;
};

} // namespace

TEST_F(OrderParadoxTest, TheHistoryReopensEveryConvertedOrderAsTheOneSavedHere)
{
    // Orders saved here, with kits of the three calculators, wood and options.
    OrderHistory here;
    order.setOrderTable([&here]() -> db::Table& { return here.table(); });
    here.FormCreate();
    add(turn, 600, 500);
    add(tiltTurn, 1400, 700);
    add(tilt, 500, 800);
    save(QStringLiteral("Первый, Иванов"));
    tiltTurn.setProfilType(1);
    tiltTurn.setRal(8017);
    tiltTurn.setKolKomlektov(3);
    tiltTurn.setProvetrivatel(true);
    add(tiltTurn, 1600, 900);
    turn.setRuchkaOkon(true);
    add(turn, 900, 700);
    save(QString(100, u'Я'));
    add(tilt, 450, 900);
    save(QStringLiteral("Третий"));
    const QVector<SavedOrder> orders = here.orders();
    ASSERT_EQ(orders.size(), 3);
    const QVector<Reopened> expected = reopenEvery(here);
    const Rows rows =
        here.table().query(QStringLiteral("SELECT Id, Name, Parentid, Designation, Type, Count, Color, FFH, "
                                          "FFB, GH, Profil, Dop_komplekt FROM zakaz "
                                          "ORDER BY rowid"));
    ASSERT_EQ(rows.size(), 9);

    // The same rows as another tool keeps them in Paradox, in place of ours.
    db::Table::closeAll();
    const QString zakaz = work.file(QStringLiteral("zakaz.db"));
    ASSERT_TRUE(QFile::remove(zakaz));
    using test::pxAlpha;
    using test::pxLong;
    using test::pxShort;
    test::writeParadoxTable(zakaz,
                            {pxLong(QStringLiteral("Id")), pxAlpha(QStringLiteral("Name"), 100),
                             pxLong(QStringLiteral("Parentid")), pxAlpha(QStringLiteral("Designation"), 20),
                             pxAlpha(QStringLiteral("Type"), 30), pxShort(QStringLiteral("Count")),
                             pxShort(QStringLiteral("Color")), pxShort(QStringLiteral("FFH")),
                             pxShort(QStringLiteral("FFB")), pxShort(QStringLiteral("GH")),
                             pxAlpha(QStringLiteral("Profil"), 20),
                             pxAlpha(QStringLiteral("Dop_komplekt"), 200)},
                            rows);
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    prices::offerParadoxConversions();
    ASSERT_TRUE(test::recorder().errors().isEmpty()) << test::recorder().errors().join(u'\n').toStdString();
    ASSERT_TRUE(QFile::exists(zakaz + QStringLiteral(".paradox")));

    OrderHistory there;
    order.setOrderTable([&there]() -> db::Table& { return there.table(); });
    there.FormCreate();
    EXPECT_EQ(there.table().fields(), orders::tableFields());
    EXPECT_EQ(there.orders(), orders);
    EXPECT_EQ(reopenEvery(there), expected);

    // A new order is numbered on from the converted rows.
    order.bt_clearClick();
    add(turn, 700, 600);
    save(QStringLiteral("Четвёртый"));
    EXPECT_EQ(there.orders().size(), 4);
    EXPECT_EQ(
        there.table().query(QStringLiteral("SELECT Id, Parentid FROM zakaz ORDER BY rowid DESC LIMIT 2")),
        (Rows{{11, 10}, {10, 0}}));
}
