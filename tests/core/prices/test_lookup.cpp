// LookupPrice: exact, whole-value, case-sensitive, first row wins, and the
// current row it leaves behind.
#include "support/pricefixture.h"

#include "core/base/error.h"
#include "core/prices/pricetable.h"

using namespace lir;

namespace {

const QString kHingeL = QStringLiteral("6742.08.00-20L");
const QString kHinge = QStringLiteral("6742.08.00-20");

} // namespace

TEST_F(PriceTableTest, LookupMatchesTheWholeDesignationExactly)
{
    db::Table& t = makeTable({{kHingeL, QStringLiteral("Петля на створке верхняя М"), 11.5},
                              {QStringLiteral("DIN7982(4*25)"), QStringLiteral("Шуруп 4*25"), 0.25},
                              {QStringLiteral("ЛИР-6742-01ДМR"), QString(), 100.0}});
    // Neither a prefix nor a longer key, nor another case, Latin or Cyrillic.
    EXPECT_FALSE(LookupPrice(kHinge).found);
    EXPECT_FALSE(LookupPrice(QStringLiteral("6742.08")).found);
    EXPECT_FALSE(LookupPrice(kHingeL + u' ').found);
    EXPECT_FALSE(LookupPrice(QStringLiteral("6742.08.00-20l")).found);
    EXPECT_FALSE(LookupPrice(QStringLiteral("din7982(4*25)")).found);
    EXPECT_FALSE(LookupPrice(QStringLiteral("ЛИР-6742-01дмR")).found);

    const PriceResult r = LookupPrice(kHingeL);
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.price, 11.5);
    EXPECT_EQ(LookupPrice(QStringLiteral("ЛИР-6742-01ДМR")).price, 100.0);
    EXPECT_EQ(t.rowCount(), 3);
}

TEST_F(PriceTableTest, ShorterDesignationIsFoundOnItsOwnRow)
{
    db::Table& t = makeTable({{kHingeL, QStringLiteral("Петля"), 1.0}, {kHinge, QStringLiteral("Петля"), 2.0}});
    EXPECT_EQ(LookupPrice(kHinge).price, 2.0);
    EXPECT_EQ(t.text(QStringLiteral("oboznashenie")), kHinge);
    EXPECT_EQ(LookupPrice(kHingeL).price, 1.0);
    EXPECT_EQ(t.text(QStringLiteral("oboznashenie")), kHingeL);
}

TEST_F(PriceTableTest, FirstRowWinsAndBecomesCurrentNotFoundStays)
{
    db::Table& t = makeTable({{QStringLiteral("A"), QString(), 1.0},
                              {QStringLiteral("B"), QString(), 2.0},
                              {QStringLiteral("B"), QString(), 3.0},
                              {QStringLiteral("C"), QString(), std::nullopt}});
    ASSERT_EQ(t.currentIndex(), 0);
    EXPECT_EQ(LookupPrice(QStringLiteral("B")).price, 2.0);
    EXPECT_EQ(t.currentIndex(), 1);
    EXPECT_FALSE(LookupPrice(QStringLiteral("D")).found);
    EXPECT_EQ(t.currentIndex(), 1);

    // A row without a price is found, with an empty price.
    const PriceResult c = LookupPrice(QStringLiteral("C"));
    EXPECT_TRUE(c.found);
    EXPECT_FALSE(c.price.has_value());
    EXPECT_EQ(t.currentIndex(), 3);
}

TEST_F(PriceTableTest, LookupWritesAPendingEditFirst)
{
    db::Table& t = makeTable({{QStringLiteral("A"), QString(), 1.0}, {QStringLiteral("B"), QString(), 2.0}});
    const test::ScopedNumberLocale comma(QLocale(QLocale::Russian)); // where a price is typed as 7,5
    t.edit();
    t.setValue(QStringLiteral("zena"), QStringLiteral("7,5"));
    EXPECT_EQ(LookupPrice(QStringLiteral("B")).price, 2.0);
    EXPECT_EQ(t.state(), db::Table::State::Browse);
    EXPECT_EQ(storedPrice(t, QStringLiteral("A")), QVariant(7.5));

    // A pending price the field refuses stops the lookup with the conversion error.
    t.edit();
    t.setValue(QStringLiteral("zena"), QStringLiteral("дорого"));
    try {
        LookupPrice(QStringLiteral("A"));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("дорого"))) << e.message().toStdString();
    }
    EXPECT_EQ(t.state(), db::Table::State::Edit);
    EXPECT_EQ(t.text(QStringLiteral("oboznashenie")), QStringLiteral("B"));
}

TEST_F(PriceTableTest, LookupWithoutAnOpenTableIsAnError)
{
    try {
        LookupPrice(kHinge);
        FAIL() << "no error";
    } catch (const Error& e) {
        // A server names its table, the files the table's file.
        EXPECT_EQ(e.message(), test::onTestServer() ? QStringLiteral("Таблица цен zeni не открыта")
                                                    : QStringLiteral("Таблица цен zeni.db не открыта"));
    }
    // Nor did it open, or create, one.
    EXPECT_FALSE(db::Table::exists(QStringLiteral("zeni.db")));
}

TEST_F(PriceTableTest, FieldsHoldTheLongestCatalogueTexts)
{
    // The longest kit designation and part name that the catalogue update writes.
    const QString kit = QStringLiteral("ЛИР-6742-130АМR100");
    const QString name = QStringLiteral("Планка запорная пов.откидная");
    makeTable({{kit, name, 0.0}});
    db::Table::closeAll();
    db::Table& reopened = db::Table::open(QStringLiteral("zeni.db"));
    EXPECT_TRUE(LookupPrice(kit).found);
    EXPECT_EQ(reopened.text(QStringLiteral("nazvanie")), name);
}

TEST_F(PriceTableTest, APriceOutsideZeroToATrillionIsRefusedAndNeverReachesASheet)
{
    makeTable({{QStringLiteral("A"), QString(), 1.0}, {QStringLiteral("B"), QString(), 2.0}});
    db::Table& t = prices::open();
    auto refusal = [&t](const QVariant& price) {
        t.edit();
        t.setValue(QStringLiteral("zena"), price);
        try {
            t.post();
        } catch (const Error& e) {
            t.cancel();
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(refusal(-0.01), QStringLiteral("Цена не может быть отрицательной: -0.01"));
    EXPECT_EQ(refusal(1e12), QStringLiteral("Цена должна быть меньше 1000000000000: 1000000000000"));
    EXPECT_EQ(refusal(999999999999.99), QString());

    // A price put into the file by other means stops the sheet with a message: no "inf" is written.
    t.query(test::onTestServer() ? QStringLiteral("UPDATE zeni SET zena = 'Infinity' WHERE oboznashenie = 'B'")
                                 : QStringLiteral("UPDATE zeni SET zena = 9e999 WHERE oboznashenie = 'B'"));
    try {
        LookupPrice(QStringLiteral("B"));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Недопустимая цена у B в таблице цен zeni.db\rЦена должна быть числом: inf"));
    }
}
