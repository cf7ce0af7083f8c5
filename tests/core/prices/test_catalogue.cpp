// The catalogue update at start-up: the generated kit designations, the
// guarded batches and their notices, batches written whole or not at all,
// no designation twice, and hinge and bolt names that keep their prices.
#include "support/pricefixture.h"

#include "core/base/error.h"
#include "core/prices/catalogue.h"
#include "core/prices/pricetable.h"
#include "core/calc/kitsweep.h"

#include <QDir>
#include <QSet>

using namespace lir;
using namespace lir::catalogue;

namespace {

const QString A = QStringLiteral("В таблицу цен будет добавлена новая номенклатура\r  (без указания цены)!");
const QString B = QStringLiteral("В таблицу будет добавлена новая номенклатура\r  (без указания цены)!");
const QString C = QStringLiteral("Таблица цен будет обновлена.");

QStringList designations(const QVector<CatalogueRow>& rows)
{
    QStringList out;
    for (const CatalogueRow& r : rows)
        out << r.designation;
    return out;
}

// Rows as "designation|name|price" (price "-" when empty), in table order.
QString rowText(const QString& designation, const QString& name, const QVariant& price)
{
    return designation + u'|' + name + u'|' + (price.isValid() ? price.toString() : QStringLiteral("-"));
}

QStringList storedRows(db::Table& t)
{
    QStringList rows;
    for (const auto& r : t.query(QStringLiteral("SELECT oboznashenie, nazvanie, zena FROM zeni ORDER BY rowid")))
        rows << rowText(r[0].toString(), r[1].toString(), r[2]);
    return rows;
}

QStringList asStored(const QVector<CatalogueRow>& rows)
{
    QStringList out;
    for (const CatalogueRow& r : rows)
        out << rowText(r.designation, r.name, r.priced ? QVariant(0.0) : QVariant());
    return out;
}

QString hinge() { return QStringLiteral("Петля на створке верхняя М"); }

class CatalogueTest : public PriceTableTest
{
protected:
    // A table that holds every sentinel and the current hinge names, so that
    // nothing is added to it.
    QVector<Row> upToDate(QVector<Row> rows = {})
    {
        for (const QString& s : sentinels())
            rows.push_back({s, QString(), 0.0});
        rows.push_back({QStringLiteral("6742.08.00-20L"), hinge(), 0.0});
        rows.push_back({QStringLiteral("6742.08.00-20R"), hinge(), 0.0});
        return rows;
    }
    QString failure()
    {
        try {
            synchronise();
        } catch (const Error& e) {
            return e.message();
        }
        return {};
    }
};

} // namespace

TEST(CatalogueRows, KitBatchesFollowTheirRules)
{
    const std::pair<KitBatch, int> counts[] = {
        {KitBatch::TiltTurnWood, 58}, {KitBatch::TiltTurnWoodA, 12}, {KitBatch::TurnWood, 32},
        {KitBatch::TiltWood, 12},     {KitBatch::TiltTurnPvcA, 24},  {KitBatch::TiltTurnPvc, 120},
        {KitBatch::TurnPvc, 64},      {KitBatch::TiltPvc, 24},       {KitBatch::TiltTurnLock, 174},
        {KitBatch::TiltTurnLockA, 36}};
    for (const auto& [batch, count] : counts) {
        const QVector<CatalogueRow> rows = kitRows(batch);
        EXPECT_EQ(rows.size(), count) << int(batch);
        const bool unpriced =
            batch == KitBatch::TiltTurnPvc || batch == KitBatch::TurnPvc || batch == KitBatch::TiltPvc;
        for (const CatalogueRow& r : rows)
            EXPECT_TRUE(r.name.isEmpty() && r.priced == !unpriced) << r.designation.toStdString();
    }

    // The special stem for the digits 0 and 0, i outer and j inner, the pair 0 and 5 left out.
    const QStringList wood = designations(kitRows(KitBatch::TiltTurnWood));
    EXPECT_EQ(wood.mid(0, 4), (QStringList{QStringLiteral("ЛИР-6742ДМR"), QStringLiteral("ЛИР-6742ДМL"),
                                           QStringLiteral("ЛИР-6742-01ДМR"), QStringLiteral("ЛИР-6742-01ДМL")}));
    EXPECT_EQ(wood.at(10), QStringLiteral("ЛИР-6742-10ДМR"));
    EXPECT_FALSE(wood.contains(QStringLiteral("ЛИР-6742-05ДМR")));
    const QStringList pvc = designations(kitRows(KitBatch::TiltTurnPvc));
    EXPECT_EQ(pvc.mid(2, 3), (QStringList{QStringLiteral("ЛИР-6742МL100"), QStringLiteral("ЛИР-6742МL120"),
                                          QStringLiteral("ЛИР-6742-01МR100")}));
    EXPECT_TRUE(pvc.contains(QStringLiteral("ЛИР-6742-05МR100")));
    // Over j alone; the turn kits 01..06, 10..14, 20..24; the tilt kits without a side.
    EXPECT_EQ(designations(kitRows(KitBatch::TiltTurnPvcA)).last(), QStringLiteral("ЛИР-6742-35АМL120"));
    const QStringList turn = designations(kitRows(KitBatch::TurnWood));
    EXPECT_EQ(turn.mid(10, 3), (QStringList{QStringLiteral("ЛИР-6741-06ДМR"), QStringLiteral("ЛИР-6741-06ДМL"),
                                            QStringLiteral("ЛИР-6741-10ДМR")}));
    EXPECT_EQ(turn.last(), QStringLiteral("ЛИР-6741-24ДМL"));
    EXPECT_EQ(designations(kitRows(KitBatch::TiltPvc)).mid(0, 2),
              (QStringList{QStringLiteral("ЛИР-6741-51М100"), QStringLiteral("ЛИР-6741-51М120")}));

    // The lock kits: both stems of one pair before the next pair, one side's weights first.
    const QStringList lock = designations(kitRows(KitBatch::TiltTurnLock));
    EXPECT_EQ(lock.mid(0, 7),
              (QStringList{QStringLiteral("ЛИР-6742-100ДМR"), QStringLiteral("ЛИР-6742-100ДМL"),
                           QStringLiteral("ЛИР-6742-100МR100"), QStringLiteral("ЛИР-6742-100МL100"),
                           QStringLiteral("ЛИР-6742-100МR120"), QStringLiteral("ЛИР-6742-100МL120"),
                           QStringLiteral("ЛИР-6742-101ДМR")}));
    EXPECT_EQ(designations(kitRows(KitBatch::TiltTurnLockA)).at(2), QStringLiteral("ЛИР-6742-130АМR100"));
}

TEST(CatalogueRows, PartsAndTheWholeCatalogue)
{
    EXPECT_EQ(systemParts().size(), 31);
    EXPECT_EQ(microventParts().size(), 16);
    EXPECT_EQ(lockParts().size(), 8);
    EXPECT_EQ(systemParts().first(),
              (CatalogueRow{QStringLiteral("6742.15.00-20"), QStringLiteral("Петля откидная"), true}));
    // The Cyrillic Н of the decorative cap, where the calculators write a Latin H.
    EXPECT_EQ(systemParts().at(28).name, QString::fromUtf8("\xD0\x9D\xD0\xB0\xD0\xBA\xD0\xBB\xD0\xB0\xD0\xB4\xD0\xBA"
                                                           "\xD0\xB0 \xD0\xB4\xD0\xB5\xD0\xBA\xD0\xBE\xD1\x80.\xD0\x9D"
                                                           "1"));
    EXPECT_EQ(microventParts().at(9),
              (CatalogueRow{QStringLiteral("6742.00.01-14"), QStringLiteral("Планка микровентиляции"), true}));
    EXPECT_EQ(lockParts().first(),
              (CatalogueRow{QStringLiteral("6742.06.00"), QStringLiteral("Запор поворотно-откидной"), true}));

    const QVector<CatalogueRow> all = allRows();
    EXPECT_EQ(all.size(), 556 + 31 + 1 + 16 + 8);
    QSet<QString> seen;
    for (const CatalogueRow& r : all) {
        EXPECT_FALSE(seen.contains(r.designation)) << r.designation.toStdString();
        seen.insert(r.designation);
        EXPECT_LE(r.designation.size(), prices::DesignationSize);
        EXPECT_LE(r.name.size(), prices::NameSize);
    }
    // Each sentinel belongs to the batch it guards, or that batch would run at every start.
    for (const QString& s : sentinels())
        EXPECT_TRUE(seen.contains(s)) << s.toStdString();
}

TEST_F(CatalogueTest, EmptyTableGetsEveryRowWithItsNoticesAndOnlyOnce)
{
    db::Table& t = makeTable({});
    synchronise();
    EXPECT_EQ(test::recorder().messages(), (QStringList{A, A, B, C, A}));
    EXPECT_EQ(test::recorder().errors(), QStringList());
    const QStringList first = storedRows(t);
    EXPECT_EQ(first, asStored(allRows()));
    EXPECT_EQ(t.currentIndex(), 0);

    // The next start finds every sentinel: no notice, nothing added.
    test::recorder().clear();
    t.last();
    synchronise();
    EXPECT_TRUE(test::recorder().shown().empty());
    EXPECT_EQ(storedRows(t), first);
    EXPECT_EQ(t.currentIndex(), 0);
}

TEST_F(CatalogueTest, OnlyTheMissingBatchRuns)
{
    // Holds the first kit batch, not the PVC kits.
    QVector<Row> rows = upToDate();
    rows.removeIf([](const Row& r) { return r.designation == QStringLiteral("ЛИР-6742-03МR100"); });
    db::Table& t = makeTable(rows);
    synchronise();
    EXPECT_EQ(test::recorder().messages(), QStringList{C});
    QStringList expected;
    for (const Row& r : rows)
        expected << rowText(r.designation, r.name, 0.0);
    expected += asStored(kitRows(KitBatch::TiltTurnPvc)) + asStored(kitRows(KitBatch::TurnPvc)) +
                asStored(kitRows(KitBatch::TiltPvc));
    EXPECT_EQ(storedRows(t), expected);
    // Rows without a price read as empty, not 0.
    EXPECT_EQ(LookupPrice(QStringLiteral("ЛИР-6742-05МR100")).price, std::nullopt);
    EXPECT_FALSE(LookupPrice(QStringLiteral("ЛИР-6742-05ДМR")).found);
}

TEST_F(CatalogueTest, HeldDesignationsAreNotWrittenTwiceAndKeepTheirPrices)
{
    db::Table& t = makeTable({{QStringLiteral("6742.15.00-20"), QStringLiteral("Петля откидная"), 14.5},
                              {QStringLiteral("ЛИР-6742-02ДМR"), QString(), 900.0},
                              {QStringLiteral("6742.00.07-20R"), QStringLiteral("Накладка декор.H1"), 3.0},
                              {QStringLiteral("ЛИР-6741-22МR120"), QString(), 1200.0}});
    synchronise();
    EXPECT_EQ(test::recorder().messages(), (QStringList{A, A, B, C, A}));
    EXPECT_EQ(t.rowCount(), allRows().size());
    EXPECT_EQ(t.query(QStringLiteral("SELECT COUNT(DISTINCT oboznashenie) FROM zeni")).value(0).value(0), t.rowCount());
    EXPECT_EQ(LookupPrice(QStringLiteral("6742.15.00-20")).price, 14.5);
    EXPECT_EQ(LookupPrice(QStringLiteral("ЛИР-6742-02ДМR")).price, 900.0);
    EXPECT_EQ(LookupPrice(QStringLiteral("ЛИР-6741-22МR120")).price, 1200.0);
    // The name the table holds stays beside the catalogue's spelling.
    ASSERT_TRUE(t.locate(QStringLiteral("oboznashenie"), QStringLiteral("6742.00.07-20R")));
    EXPECT_EQ(t.text(QStringLiteral("nazvanie")), QStringLiteral("Накладка декор.H1"));
}

TEST_F(CatalogueTest, HingesAndTheBoltAreRenamedInPlaceKeepingTheirPrices)
{
    QVector<Row> rows = upToDate();
    rows.removeIf([](const Row& r) { return r.designation.startsWith(QStringLiteral("6742.08.00-20")); });
    rows.prepend({QStringLiteral("6742.01.00-03А"), QStringLiteral("Засов 1300"), 41.0});
    rows.prepend({QStringLiteral("6742.08.00-20R"), QStringLiteral("Петля"), 66.0});
    rows.prepend({QStringLiteral("6742.08.00-20L"), QStringLiteral("Петля"), 55.0});
    db::Table& t = makeTable(rows);
    const auto before = t.query(QStringLiteral("SELECT rowid, oboznashenie FROM zeni ORDER BY rowid"));
    synchronise();
    EXPECT_TRUE(test::recorder().shown().empty());
    EXPECT_EQ(t.query(QStringLiteral("SELECT rowid, oboznashenie FROM zeni ORDER BY rowid")), before);
    EXPECT_EQ(storedRows(t).mid(0, 3), (QStringList{rowText(QStringLiteral("6742.08.00-20L"), hinge(), 55.0),
                                                    rowText(QStringLiteral("6742.08.00-20R"), hinge(), 66.0),
                                                    rowText(QStringLiteral("6742.01.00-03А"),
                                                            QStringLiteral("Засов 1300А"), 41.0)}));
    EXPECT_EQ(t.currentIndex(), 0);

    // A missing left hinge is added with price 0; with its current name the
    // left hinge leaves the right one as it is.
    t.query(QStringLiteral("DELETE FROM zeni WHERE oboznashenie = '6742.08.00-20L'"));
    t.query(QStringLiteral("UPDATE zeni SET nazvanie = 'Петля' WHERE oboznashenie = '6742.08.00-20R'"));
    FixSashHingeNames();
    EXPECT_EQ(storedRows(t).last(), rowText(QStringLiteral("6742.08.00-20L"), hinge(), 0.0));
    EXPECT_EQ(storedRows(t).at(0), rowText(QStringLiteral("6742.08.00-20R"), hinge(), 66.0));
    t.query(QStringLiteral("UPDATE zeni SET nazvanie = 'Петля' WHERE oboznashenie = '6742.08.00-20R'"));
    FixSashHingeNames();
    EXPECT_EQ(storedRows(t).at(0), rowText(QStringLiteral("6742.08.00-20R"), QStringLiteral("Петля"), 66.0));
}

TEST_F(CatalogueTest, ARefusedWriteLeavesNoRowOfItsBatch)
{
    db::Table& t = makeTable({});
    // The engine refuses one row in the middle of the PVC kits.
    if (test::onTestServer()) {
        t.query(QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                               "RAISE EXCEPTION 'disk full'; END $$"));
        t.query(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON zeni FOR EACH ROW WHEN "
                               "(NEW.oboznashenie = 'ЛИР-6741-12МR100') EXECUTE FUNCTION refuse()"));
    } else {
        t.query(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON zeni WHEN NEW.oboznashenie = "
                               "'ЛИР-6741-12МR100' BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    }
    const QString message = failure();
    const QString head = QStringLiteral("Не удалось обновить таблицу цен ") +
                         (test::onTestServer() ? QStringLiteral("zeni ") : QStringLiteral("zeni.db ")) +
                         test::placeShown(work.path()) + u'\r';
    EXPECT_TRUE(message.startsWith(head)) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("disk full"))) << message.toStdString();
    EXPECT_EQ(test::recorder().messages(), (QStringList{A, A, B, C}));
    // The batches before it are written; of the failed one nothing, not even its sentinel.
    QVector<CatalogueRow> before = allRows();
    const int pvcStart = int(designations(before).indexOf(QStringLiteral("ЛИР-6742МR100")));
    before.resize(pvcStart);
    EXPECT_EQ(storedRows(t), asStored(before));
    EXPECT_EQ(t.state(), db::Table::State::Browse);

    // The next start writes the batch whole.
    t.query(test::onTestServer() ? QStringLiteral("DROP TRIGGER refuse ON zeni") : QStringLiteral("DROP TRIGGER refuse"));
    test::recorder().clear();
    synchronise();
    EXPECT_EQ(test::recorder().messages(), (QStringList{C, A}));
    EXPECT_EQ(storedRows(t), asStored(allRows()));
}

// Lists the kit designations the calculators can show that the updated table
// still lacks (the update's batches are not meant to cover every one).
TEST_F(CatalogueTest, KitDesignationsOfTheCalculatorsThatTheTableLacks)
{
    makeTable({});
    synchronise();
    long long calculations = 0;
    const QVector<sweep::KitCode> codes = sweep::sweepKitDesignations(
        sweep::SweepSettings::quick(), &calculations);
    QHash<QString, int> perCalculator;
    QStringList lacking;
    for (const sweep::KitCode& k : codes) {
        ++perCalculator[k.calculator];
        if (!LookupPrice(k.designation).found)
            lacking << k.designation + QStringLiteral(" (") + k.calculator + u')';
    }
    std::printf("%lld calculations, %d kit designations, %d not in the updated table:\n", calculations,
                int(codes.size()), int(lacking.size()));
    for (const QString& l : std::as_const(lacking))
        std::printf("  %s\n", qPrintable(l));
    // The rules leave out the stem of the digits 0 and 5 among the wooden and
    // the lock kits, and give the lock kits no stem of the kit 00, whose
    // designation the tilt-turn calculator forms without the digits.
    for (const QString& l : std::as_const(lacking))
        EXPECT_TRUE(l.startsWith(QStringLiteral("ЛИР-6742-05ДМ")) || l.startsWith(QStringLiteral("ЛИР-6742-105")) ||
                    l.startsWith(QStringLiteral("ЛИР-6742М1")) || l.startsWith(QStringLiteral("ЛИР-6742Д1М")))
            << l.toStdString();
    // 16 turn kits with and without clamps, 12 tilt and 36 tilt-turn kits, on
    // both profile types and both sides or weights, with and without the lock.
    EXPECT_EQ(perCalculator.value(QStringLiteral("6741")), 16 * (2 + 4));
    EXPECT_EQ(perCalculator.value(QStringLiteral("6741otkid")), 12 * (1 + 2));
    EXPECT_EQ(perCalculator.value(QStringLiteral("6742")), 36 * (2 + 4) * 2);
}
