// LookupPrice: exact, whole-value, case-sensitive, first row wins, and the
// current row it leaves behind.
#include "support/pricefixture.h"

#include "core/base/error.h"
#include "core/calc/turnkit.h"
#include "core/export/kitsheet.h"
#include "core/export/kitsheet_html.h"
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

// A document's prices come from memory, read again when the table has changed: by a
// write of this program (committed, pending in a transaction, rolled back,
// through a statement) or by another program's commit.
TEST_F(PriceTableTest, DocumentsShowEveryChangeOfTheTableAtOnce)
{
    // Each line a document of its own.
    const auto price = [](const QString& d) { return prices::documentLookup()(d).price; };
    const auto found = [](const QString& d) { return prices::documentLookup()(d).found; };
    db::Table& t = makeTable({{QStringLiteral("A"), QString(), 1.0}, {QStringLiteral("B"), QString(), 2.0}});
    EXPECT_EQ(price(QStringLiteral("A")), 1.0);

    test::writeAsAnotherUser(QStringLiteral("zeni.db"), QStringLiteral("UPDATE zeni SET zena = 5 WHERE oboznashenie = 'A'"));
    EXPECT_EQ(price(QStringLiteral("A")), 5.0);
    test::writeAsAnotherUser(QStringLiteral("zeni.db"),
                             QStringLiteral("INSERT INTO zeni (rowid, oboznashenie, zena) VALUES (10, 'C', 8)"));
    EXPECT_EQ(price(QStringLiteral("C")), 8.0);
    EXPECT_EQ(t.currentIndex(), 2);

    // The editor's own write.
    ASSERT_TRUE(t.locate(QStringLiteral("oboznashenie"), QStringLiteral("B")));
    t.edit();
    t.setValue(QStringLiteral("zena"), 7.0);
    t.post();
    EXPECT_EQ(price(QStringLiteral("B")), 7.0);
    {
        db::Transaction tx(t);
        t.edit();
        t.setValue(QStringLiteral("zena"), 9.0);
        t.post();
        EXPECT_EQ(price(QStringLiteral("B")), 9.0);
    }
    EXPECT_EQ(price(QStringLiteral("B")), 7.0);
    t.query(QStringLiteral("UPDATE zeni SET zena = 3 WHERE oboznashenie = 'B'"));
    EXPECT_EQ(price(QStringLiteral("B")), 3.0);
    t.remove();
    EXPECT_FALSE(found(QStringLiteral("B")));
    EXPECT_EQ(price(QStringLiteral("A")), 5.0);
}

// Another program's commits in quick succession, each the same size as the
// one before, are each seen by the next document; so are they once the file
// is in WAL mode, where commits leave the file's header alone.
TEST_F(PriceTableTest, EveryCommitOfAnotherProgramReachesTheNextDocumentInEitherJournalMode)
{
    LIR_FILES_ONLY();
    const auto price = [](const QString& d) { return prices::documentLookup()(d).price; };
    db::Table& t = makeTable({{QStringLiteral("A"), QString(), 1.0}, {QStringLiteral("B"), QString(), 2.0}});
    const QString update = QStringLiteral("UPDATE zeni SET zena = ? WHERE oboznashenie = 'A'");
    for (const double p : {3.0, 4.0, 5.0}) {
        test::writeAsAnotherUser(QStringLiteral("zeni.db"), update, {p});
        EXPECT_EQ(price(QStringLiteral("A")), p);
    }
    test::writeAsAnotherUser(QStringLiteral("zeni.db"), QStringLiteral("PRAGMA journal_mode = WAL"));
    EXPECT_EQ(price(QStringLiteral("A")), 5.0);
    EXPECT_EQ(t.query(QStringLiteral("PRAGMA journal_mode")).value(0).value(0).toString(),
              QStringLiteral("wal"));
    for (const double p : {6.0, 7.0}) {
        test::writeAsAnotherUser(QStringLiteral("zeni.db"), update, {p});
        EXPECT_EQ(price(QStringLiteral("A")), p);
    }
    ASSERT_TRUE(t.locate(QStringLiteral("oboznashenie"), QStringLiteral("B")));
    t.edit();
    t.setValue(QStringLiteral("zena"), 8.0);
    t.post();
    EXPECT_EQ(price(QStringLiteral("B")), 8.0);
}

// One document's lookup: the prices as they are at its first line, a pending
// edit written first, and the table left on the last row found once the
// document is done.
TEST_F(PriceTableTest, ADocumentPricesAsTheTableIsWhenItIsWritten)
{
    db::Table& t = makeTable({{QStringLiteral("A"), QString(), 1.0},
                              {QStringLiteral("B"), QString(), 2.0},
                              {QStringLiteral("C"), QString(), std::nullopt}});
    EXPECT_EQ(LookupPrice(QStringLiteral("A")).price, 1.0);
    {
        const PriceLookup lookup = prices::documentLookup();
        // Made before another program's change and the editor's pending price.
        test::writeAsAnotherUser(QStringLiteral("zeni.db"), QStringLiteral("UPDATE zeni SET zena = 6 WHERE oboznashenie = 'B'"));
        t.edit();
        t.setValue(QStringLiteral("zena"), 4.0);
        EXPECT_EQ(lookup(QStringLiteral("A")).price, 4.0);
        EXPECT_EQ(t.state(), db::Table::State::Browse);
        EXPECT_EQ(lookup(QStringLiteral("B")).price, 6.0);
        const PriceResult c = lookup(QStringLiteral("C"));
        EXPECT_TRUE(c.found);
        EXPECT_FALSE(c.price.has_value());
        EXPECT_FALSE(lookup(QStringLiteral("D")).found);
        EXPECT_EQ(t.currentIndex(), 0);
    }
    EXPECT_EQ(t.currentIndex(), 2);
}

TEST_F(PriceTableTest, ASheetWrittenAfterAnotherProgramChangedAPriceShowsTheNewPrice)
{
    TurnKit calc;
    calc.setComplekt(1);
    calc.setFFH(2000);
    calc.setFFB(1000);
    calc.RashetButtonClick();
    const QString part = calc.gridCell(1, 0);
    makeTable({{part, QString(), 1.0}});
    KitSheet sheet = KitSheet::fromCalculator(calc);
    const QLocale ru(QLocale::Russian);
    const QByteArray before = kitSheetHtml(sheet, prices::documentLookup(), ru);
    test::writeAsAnotherUser(QStringLiteral("zeni.db"),
                             QStringLiteral("UPDATE zeni SET zena = 777.25 WHERE oboznashenie = ?"), {part});
    const QByteArray after = kitSheetHtml(sheet, prices::documentLookup(), ru);
    EXPECT_FALSE(before.contains("777,25"));
    EXPECT_TRUE(after.contains("777,25")) << after.toStdString();
}
