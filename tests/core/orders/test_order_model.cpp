// The current order: adding kits, the three grids, replaying, editing,
// deleting and clearing, and how a stored entry finds its kit again.
#include "core/base/environment.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/orders/ordermodel.h"
#include "core/orders/orderrestore.h"
#include "support/testsupport.h"

using namespace lir;

namespace {

using Rows = QList<QStringList>;

// Rows 1 to the last row with any text.
Rows rows(const OrderGrid& g)
{
    Rows out;
    for (int r = 1; r <= g.lastFilledRow(); ++r)
        out << g.row(r);
    return out;
}

QStringList designations(const QVector<TOrder>& entries)
{
    QStringList out;
    for (const TOrder& e : entries)
        out << e.Designation;
    return out;
}

// The kit rows of the kits-and-components grid.
TOrder ofType(const QString& type)
{
    TOrder e;
    e.Type = type;
    return e;
}

QStringList kitRows(const OrderGrid& both)
{
    QStringList out;
    for (const QStringList& r : rows(both))
        if (r.at(1) == QStringLiteral("Комплект ПОФ"))
            out << r.at(0);
    return out;
}

class OrderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::recorder().clear();
        order.setCalculators(&turn, &tiltTurn, &tilt);
        setOrderSink(&order);
    }
    void TearDown() override { setOrderSink(nullptr); }

    // A person's "РАСЧЕТ" and "В ЗАКАЗ".
    void add(KitCalculator& c)
    {
        c.RashetButtonClick();
        ASSERT_FALSE(c.lastCalculationFailed()) << test::recorder().errors().join(QStringLiteral(" | ")).toStdString();
        c.SumButtonClick();
    }
    void addTurn(int ffh = 600, int ffb = 500)
    {
        turn.setFFH(ffh);
        turn.setFFB(ffb);
        add(turn);
    }
    void addTiltTurn(int ffh = 1400, int ffb = 700)
    {
        tiltTurn.setFFH(ffh);
        tiltTurn.setFFB(ffb);
        add(tiltTurn);
    }
    void addTilt(int ffh = 500, int ffb = 800)
    {
        tilt.setFFH(ffh);
        tilt.setFFB(ffb);
        add(tilt);
    }

    TurnKit turn;
    TiltTurnKit tiltTurn;
    TiltKit tilt;
    OrderModel order;
};

} // namespace

TEST_F(OrderTest, AnOrderStartsWithThreeEmptyGridsAndTheirTitles)
{
    EXPECT_EQ(order.StringGrid1().titles(),
              (QStringList{QStringLiteral("Обозначение ЛИР"), QStringLiteral("Наименование"),
                           QStringLiteral("Маркировка"), QStringLiteral("Кол-во")}));
    EXPECT_EQ(order.StringGrid1().widths(), (QList<int>{95, 150, 70, 40}));
    EXPECT_EQ(order.StringGrid2().titles(), (QStringList{QStringLiteral("Название комплектов"),
                                                         QStringLiteral("Кол-во"), QStringLiteral("Цвет (RAL)")}));
    EXPECT_EQ(order.StringGrid2().widths(), (QList<int>{150, 40, 80}));
    EXPECT_EQ(order.StringGrid3().widths(), (QList<int>{130, 180, 100, 40, 80}));
    EXPECT_EQ(order.StringGrid3().titles().last(), QStringLiteral("Цвет (RAL)"));
    for (OrderModel::View v : {OrderModel::Components, OrderModel::Kits, OrderModel::KitsAndComponents})
        EXPECT_EQ(order.grid(v).rowCount(), 2);
    EXPECT_EQ(order.view(), OrderModel::Components);
    EXPECT_EQ(order.markup(), QStringLiteral("0"));
    EXPECT_EQ(order.EditedEntry(), -1);
    EXPECT_TRUE(order.description().startsWith(QStringLiteral("Заказ от ")));

    const auto today = lir::environment().today;
    lir::environment().today = [] { return QDate(2026, 3, 5); };
    EXPECT_EQ(OrderModel().description(), QStringLiteral("Заказ от 05.03.2026"));
    lir::environment().today = today;
}

TEST_F(OrderTest, TheSameKitTwiceDoublesItsPartsAndCountsOnOneKitsRow)
{
    addTurn();
    EXPECT_FALSE(turn.resultVisible()); // "В ЗАКАЗ" hides the result
    const Rows once = rows(order.StringGrid1());
    ASSERT_EQ(once.size(), 15); // 13 parts and the two screw totals
    EXPECT_EQ(once.first(), (QStringList{QStringLiteral("6742.50.00-02"), QStringLiteral("Засов поворотный 500"),
                                         QStringLiteral("501-700"), QStringLiteral("1")}));
    EXPECT_EQ(once.last(), (QStringList{QString(), QStringLiteral("Общее кол-во шурупов(4*40)"), QString(),
                                        QStringLiteral("11")}));
    // The result is hidden after "В ЗАКАЗ": only a new calculation adds again.
    turn.SumButtonClick();
    EXPECT_EQ(order.EntryCount(), 1);

    addTurn();
    const Rows twice = rows(order.StringGrid1());
    ASSERT_EQ(twice.size(), once.size());
    for (int i = 0; i < once.size(); ++i)
        EXPECT_EQ(twice[i].at(3).toInt(), 2 * once[i].at(3).toInt()) << once[i].at(1).toStdString();
    EXPECT_EQ(rows(order.StringGrid2()),
              (Rows{{QStringLiteral("ЛИР-6741-02МR100"), QStringLiteral("2"), QStringLiteral("9016")}}));
    EXPECT_EQ(kitRows(order.StringGrid3()),
              (QStringList{QStringLiteral("ЛИР-6741-02МR100"), QStringLiteral("ЛИР-6741-02МR100")}));
    EXPECT_EQ(order.StringGrid3().row(1),
              (QStringList{QStringLiteral("ЛИР-6741-02МR100"), QStringLiteral("Комплект ПОФ"), QString(),
                           QStringLiteral("1"), QStringLiteral("9016")}));
    EXPECT_EQ(rows(order.StringGrid3()).size(), 2 * 16);
    EXPECT_EQ(order.EntryCount(), 2);
    EXPECT_EQ(order.entriesOfKitsRow(1), (QVector<int>{0, 1}));

    // Another colour: a kits row of its own, the parts added to the same rows.
    turn.setRal(7016);
    addTurn();
    EXPECT_EQ(rows(order.StringGrid2()),
              (Rows{{QStringLiteral("ЛИР-6741-02МR100"), QStringLiteral("2"), QStringLiteral("9016")},
                    {QStringLiteral("ЛИР-6741-02МR100"), QStringLiteral("1"), QStringLiteral("7016")}}));
    EXPECT_EQ(rows(order.StringGrid1()).first().at(3), QStringLiteral("3"));

    // A count changed after the calculation is calculated when the button is
    // pressed: the parts of five kits go to the order.
    turn.RashetButtonClick();
    turn.setKolKomlektov(5);
    turn.SumButtonClick();
    EXPECT_EQ(order.StringGrid2().cell(2, 1), QStringLiteral("6"));
    EXPECT_EQ(order.entries().last().Count, 5);
    EXPECT_EQ(rows(order.StringGrid1()).first().at(3), QStringLiteral("8"));
}

TEST_F(OrderTest, ChangedInputsAreCalculatedBeforeTheKitGoesToTheOrder)
{
    const QStringList tooLow{QStringLiteral("Неправильно задана высота для комплекта без верхнего и нижнего прижимов!\r"
                                            "Измените высоту в интервале 300 мм - 2300 мм")};
    // "В ЗАКАЗ" after a change: the kit of the inputs as they stand, the same
    // kit the order finds again from the entry.
    turn.setFFH(600);
    turn.setFFB(500);
    turn.RashetButtonClick();
    EXPECT_TRUE(turn.resultCurrent());
    turn.setFFH(1900);
    EXPECT_FALSE(turn.resultCurrent());
    turn.SumButtonClick();
    ASSERT_EQ(order.EntryCount(), 1);
    EXPECT_EQ(order.entries().first().Designation, QStringLiteral("ЛИР-6741-06МR100"));
    EXPECT_EQ(order.entries().first().FFH, 1900);
    const Rows parts = rows(order.StringGrid1());
    order.ReplayOrder();
    EXPECT_EQ(rows(order.StringGrid1()), parts);
    EXPECT_EQ(kitRows(order.StringGrid3()), QStringList{QStringLiteral("ЛИР-6741-06МR100")});

    // A change that fails the checks: its message, and nothing added.
    turn.RashetButtonClick();
    turn.setFFH(100);
    test::recorder().clear();
    turn.SumButtonClick();
    EXPECT_EQ(test::recorder().errors(), tooLow);
    EXPECT_TRUE(turn.lastCalculationFailed());
    EXPECT_EQ(order.EntryCount(), 1);
    EXPECT_EQ(rows(order.StringGrid1()), parts);

    // "Сохранить изменения" likewise: nothing changed while the inputs fail,
    // the entry open for editing all the while.
    order.setCurrentCell(OrderModel::Kits, 1, 0);
    ASSERT_TRUE(order.StringGrid2DblClick());
    turn.setFFH(100);
    test::recorder().clear();
    turn.Panel1Click();
    EXPECT_EQ(test::recorder().errors(), tooLow);
    EXPECT_EQ(order.entries().first().FFH, 1900);
    EXPECT_EQ(order.EditedEntry(), 0);
    EXPECT_TRUE(turn.saveChangesVisible());
    turn.setFFH(600);
    turn.Panel1Click();
    EXPECT_EQ(order.entries().first().FFH, 600);
    EXPECT_EQ(order.entries().first().Designation, QStringLiteral("ЛИР-6741-02МR100"));
    EXPECT_EQ(kitRows(order.StringGrid3()), QStringList{QStringLiteral("ЛИР-6741-02МR100")});
    EXPECT_EQ(order.EditedEntry(), -1);
}

TEST_F(OrderTest, SharedPartsAddUpAndTheScrewTotalsStayBelowEveryPart)
{
    addTurn();
    addTilt();
    const Rows parts = rows(order.StringGrid1());
    const qsizetype n = parts.size();
    ASSERT_GT(n, 2);
    for (qsizetype i = 0; i + 2 < n; ++i)
        EXPECT_FALSE(parts[i].at(0).isEmpty()) << i;
    EXPECT_EQ(parts[n - 2], (QStringList{QString(), QStringLiteral("Общее кол-во шурупов(4*25)"), QString(),
                                         QStringLiteral("32")}));
    EXPECT_EQ(parts[n - 1], (QStringList{QString(), QStringLiteral("Общее кол-во шурупов(4*40)"), QString(),
                                         QStringLiteral("19")}));
    QStringList strikers;
    for (const QStringList& r : parts)
        if (r.at(0) == QStringLiteral("0483.00.01-11"))
            strikers << r.at(3);
    EXPECT_EQ(strikers, QStringList{QStringLiteral("4")}); // one row, 2 + 2

    // The blocker of the turn kit is named with a trailing blank: a row of its own.
    addTiltTurn();
    int blockers = 0;
    for (const QStringList& r : rows(order.StringGrid1()))
        blockers += r.at(0) == QStringLiteral("6742.20.00");
    EXPECT_EQ(blockers, 2);
}

TEST_F(OrderTest, AKitWithoutSmallScrewsStillBringsItsLargeScrewTotal)
{
    // A calculator whose only part has 4×40 screws: its grid leaves the 4×25
    // total row empty and the 4×40 total below it.
    class OneBigScrewPart : public KitCalculator
    {
    public:
        OneBigScrewPart() : KitCalculator(Kind::Turn, 10, nullptr) { init(); }
        PartsTable catalogue() const override
        {
            return {{QStringLiteral("X-1"), QStringLiteral("Деталь"), QStringLiteral("-"), 0, 0, 3},
                    {QStringLiteral("X-2"), QStringLiteral("Ручка"), QStringLiteral("-"), 0, 0, 0}};
        }

    protected:
        void applyRules() override
        {
            KitDesignation = QStringLiteral("X");
            fillQuantities({2, 0});
            fill_default_value_screw();
        }
        void applySuccessRules() override {}
        QString orderType() const override { return QStringLiteral("ПФПВХ без прижимов"); }
        QString orderDopKomplekt() const override { return {}; }
        int handleRow() const override { return 2; }
    } kit;
    add(kit);
    EXPECT_EQ(kit.gridCell(2, 1), QString());
    EXPECT_EQ(rows(order.StringGrid1()),
              (Rows{{QStringLiteral("X-1"), QStringLiteral("Деталь"), QStringLiteral("-"), QStringLiteral("2")},
                    {QString(), QStringLiteral("Общее кол-во шурупов(4*40)"), QString(), QStringLiteral("6")}}));
}

TEST_F(OrderTest, DeletingWithRowTwoSelectedLeavesTheFirstAndThirdKits)
{
    EXPECT_FALSE(order.spbt_deleteClick()); // nothing to delete
    EXPECT_FALSE(order.spbt_editClick());
    EXPECT_TRUE(order.viewButtonsEnabled());

    addTurn();
    addTiltTurn();
    addTilt();
    EXPECT_EQ(order.EntryCount(), 3);
    order.setView(OrderModel::KitsAndComponents); // whichever view is shown
    order.setCurrentCell(OrderModel::Kits, 2, 0);
    EXPECT_TRUE(order.spbt_deleteClick());
    const QStringList left{QStringLiteral("ЛИР-6741-02МR100"), QStringLiteral("ЛИР-6741-53М100")};
    EXPECT_EQ(designations(order.entries()), left);
    EXPECT_EQ(kitRows(order.StringGrid3()), left);
    EXPECT_EQ(rows(order.StringGrid2()).size(), 2);
    EXPECT_TRUE(order.viewButtonsEnabled());

    // The empty last row stands for no kit.
    order.setCurrentCell(OrderModel::Kits, 3, 0);
    EXPECT_FALSE(order.spbt_deleteClick());
    EXPECT_FALSE(order.StringGrid2DblClick());
    EXPECT_EQ(order.EntryCount(), 2);
    EXPECT_TRUE(order.viewButtonsEnabled());
}

TEST_F(OrderTest, EditingAnEntryChangesItInItsPlace)
{
    tiltTurn.setCbZapor(true);
    addTurn();
    addTiltTurn();
    addTilt();
    turn.setSaveChangesVisible(true); // left over from an earlier edit
    tiltTurn.setFFH(900);

    order.setCurrentCell(OrderModel::Kits, 2, 0);
    ASSERT_TRUE(order.StringGrid2DblClick());
    EXPECT_EQ(order.EditedEntry(), 1);
    EXPECT_EQ(tiltTurn.ffh(), 1400);
    EXPECT_TRUE(tiltTurn.saveChangesVisible());
    EXPECT_TRUE(tiltTurn.resultVisible());
    EXPECT_EQ(tiltTurn.lirlText(), QStringLiteral("ЛИР-6742-133АМR100"));
    // One entry is open at a time.
    EXPECT_FALSE(turn.saveChangesVisible());
    EXPECT_FALSE(tilt.saveChangesVisible());

    tiltTurn.setFFH(1600);
    tiltTurn.RashetButtonClick();
    tiltTurn.Panel1Click();
    EXPECT_EQ(order.EntryCount(), 3);
    EXPECT_EQ(order.entries().at(1).FFH, 1600);
    EXPECT_EQ(kitRows(order.StringGrid3()),
              (QStringList{QStringLiteral("ЛИР-6741-02МR100"), QStringLiteral("ЛИР-6742-133МR100"),
                           QStringLiteral("ЛИР-6741-53М100")}));
    EXPECT_FALSE(tiltTurn.saveChangesVisible());
    EXPECT_EQ(order.EditedEntry(), -1);
}

TEST_F(OrderTest, OpeningAnEntryShowsTheRebateSystemOfItsProfileName)
{
    tiltTurn.setNazvSystemProfiles(14); // "Thyssen", 12/21-13
    addTiltTurn();
    tiltTurn.setNazvSystemProfiles(0);
    ASSERT_EQ(tiltTurn.systemProfilesText(), QStringLiteral("12/20-13"));
    order.setCurrentCell(OrderModel::Kits, 1, 0);
    ASSERT_TRUE(order.StringGrid2DblClick());
    EXPECT_EQ(tiltTurn.nazvSystemProfilesText(), QStringLiteral("Thyssen"));
    EXPECT_EQ(tiltTurn.systemProfilesText(), QStringLiteral("12/21-13"));
}

TEST_F(OrderTest, ARowOfSeveralEntriesOpensTheFirstAndDeletesTheLast)
{
    addTurn(600, 500);
    turn.setKolKomlektov(3);
    addTurn(650, 450); // the same kit and colour: the same kits row
    addTilt();
    ASSERT_EQ(rows(order.StringGrid2()).first(),
              (QStringList{QStringLiteral("ЛИР-6741-02МR100"), QStringLiteral("4"), QStringLiteral("9016")}));
    ASSERT_EQ(order.entriesOfKitsRow(1), (QVector<int>{0, 1}));

    order.setCurrentCell(OrderModel::Kits, 1, 0);
    ASSERT_TRUE(order.StringGrid2DblClick());
    EXPECT_EQ(order.EditedEntry(), 0);
    EXPECT_EQ(turn.ffh(), 600);
    EXPECT_EQ(turn.kolKomlektov(), 1);

    order.setCurrentCell(OrderModel::Kits, 1, 0);
    ASSERT_TRUE(order.spbt_deleteClick());
    ASSERT_EQ(order.EntryCount(), 2);
    EXPECT_EQ(order.entries().at(0).FFH, 600);
    EXPECT_EQ(order.entries().at(1).Designation, QStringLiteral("ЛИР-6741-53М100"));
    // The delete rebuilt the order: no entry is open any more.
    EXPECT_EQ(order.EditedEntry(), -1);
    EXPECT_FALSE(turn.saveChangesVisible());
}

TEST_F(OrderTest, ClearingEmptiesGridsAndEntriesButKeepsDescriptionMarkupAndView)
{
    addTurn();
    addTilt();
    order.setDescription(QStringLiteral("Коттедж, 2 этаж"));
    order.setMarkup(QStringLiteral("15"));
    order.setView(OrderModel::Kits);
    order.bt_clearClick();
    EXPECT_EQ(order.EntryCount(), 0);
    for (OrderModel::View v : {OrderModel::Components, OrderModel::Kits, OrderModel::KitsAndComponents}) {
        EXPECT_EQ(order.grid(v).rowCount(), 2);
        EXPECT_EQ(order.grid(v).lastFilledRow(), 0);
    }
    EXPECT_EQ(order.description(), QStringLiteral("Коттедж, 2 этаж"));
    EXPECT_EQ(order.markup(), QStringLiteral("15"));
    EXPECT_EQ(order.view(), OrderModel::Kits);
    EXPECT_TRUE(order.entriesOfKitsRow(1).isEmpty());
}

TEST_F(OrderTest, AddingAKitIsAllOrNothing)
{
    addTurn();
    ASSERT_TRUE(order.spbt_editClick());
    EXPECT_FALSE(order.viewButtonsEnabled());
    EXPECT_EQ(order.editableView(), OrderModel::Components);
    EXPECT_EQ(order.currentColumn(OrderModel::Components), 3);
    EXPECT_FALSE(order.RadioButtonClick(OrderModel::Kits));
    EXPECT_FALSE(order.typeIntoGrid(OrderModel::Kits, 1, 1, QStringLiteral("7"))); // not the shown grid
    ASSERT_TRUE(order.typeIntoGrid(OrderModel::Components, 2, 3, QStringLiteral("два")));
    const Rows components = rows(order.StringGrid1());
    const Rows kits = rows(order.StringGrid2());
    const Rows both = rows(order.StringGrid3());

    test::recorder().clear();
    tilt.setFFH(500);
    tilt.setFFB(800);
    tilt.RashetButtonClick();
    tilt.SumButtonClick();
    EXPECT_EQ(test::recorder().errors(), QStringList{QStringLiteral("'два' не является допустимым целым числом")});
    EXPECT_EQ(order.EntryCount(), 1);
    EXPECT_EQ(rows(order.StringGrid1()), components);
    EXPECT_EQ(rows(order.StringGrid2()), kits);
    EXPECT_EQ(rows(order.StringGrid3()), both);
    EXPECT_TRUE(tilt.commandsVisible()); // "В ЗАКАЗ" stays for another try

    // A rebuild drops what was typed and frees the view buttons.
    order.ReplayOrder();
    EXPECT_EQ(order.StringGrid1().cell(2, 3), QStringLiteral("2"));
    EXPECT_TRUE(order.viewButtonsEnabled());
    EXPECT_EQ(order.editableView(), 0);
}

TEST_F(OrderTest, AFailedRecalculationKeepsItsEntryAndShowsNoOtherKit)
{
    addTurn(); // the calculator's last good kit: ЛИР-6741-02МR100
    order.bt_clearClick();
    test::recorder().clear();
    const TOrder stored{QStringLiteral("ПФПВХ без прижимов"), QStringLiteral("ЛИР-6741-05МR100"),
                        QStringLiteral("ARtec PAD"), QString(), 2, 9016, 100, 500, 50};
    order.ReplayEntry(stored);
    EXPECT_EQ(test::recorder().errors(),
              QStringList{QStringLiteral("Неправильно задана высота для комплекта без верхнего и нижнего прижимов!\r"
                                         "Измените высоту в интервале 300 мм - 2300 мм")});
    ASSERT_EQ(order.EntryCount(), 1);
    EXPECT_EQ(order.entries().first(), stored);
    EXPECT_EQ(rows(order.StringGrid2()),
              (Rows{{QStringLiteral("ЛИР-6741-05МR100"), QStringLiteral("2"), QStringLiteral("9016")}}));
    EXPECT_EQ(rows(order.StringGrid3()), (Rows{{QStringLiteral("ЛИР-6741-05МR100"), QStringLiteral("Комплект ПОФ"),
                                                QString(), QStringLiteral("2"), QStringLiteral("9016")}}));
    EXPECT_EQ(order.StringGrid1().lastFilledRow(), 0);
    // It can still be opened and deleted like any kit.
    EXPECT_EQ(order.entriesOfKitsRow(1), QVector<int>{0});
}

TEST_F(OrderTest, AnOffCentreKitComesBackWithItsSideAndWeight)
{
    turn.setRuchkaVcentre(false);
    turn.setFFH(1200);
    turn.setFFB(500);
    turn.setGH(650);
    turn.setPolStvorki(1);
    turn.setRadioGroup1(1);
    add(turn);
    ASSERT_EQ(order.entries().first().Designation, QStringLiteral("Нестандартный"));
    EXPECT_EQ(order.entries().first().Dop_komplekt, QStringLiteral("створка левая, до 120 кг"));
    const TOrder saved = order.entries().first();
    const Rows parts = rows(order.StringGrid1());

    // The calculator has moved on to a standard right-hand kit.
    turn.setRuchkaVcentre(true);
    turn.setPolStvorki(0);
    turn.setRadioGroup1(0);
    addTurn(600, 500);
    order.setCurrentCell(OrderModel::Kits, 2, 0);
    order.spbt_deleteClick();

    EXPECT_EQ(order.entries(), QVector<TOrder>{saved});
    EXPECT_EQ(rows(order.StringGrid1()), parts);
    EXPECT_FALSE(turn.ruchkaVcentre());
    EXPECT_EQ(turn.polStvorki(), 1);
    EXPECT_EQ(turn.radioGroup1(), 1);
}

TEST_F(OrderTest, TheTiltTurnLockIsRestoredFromItsPieceOrFromTheDesignation)
{
    tiltTurn.setCbZapor(true);
    tiltTurn.setRuchkaOkon(true);
    tiltTurn.setTipRuchki(1);
    addTiltTurn();
    EXPECT_EQ(order.entries().first().Dop_komplekt, QStringLiteral("ручка ЛИР-1938.00, запор поворотно-откидной"));
    tiltTurn.setCbZapor(false);
    tiltTurn.setRuchkaOkon(false);
    order.ReplayOrder();
    EXPECT_TRUE(tiltTurn.cbZapor());
    EXPECT_TRUE(tiltTurn.ruchkaOkon());
    EXPECT_EQ(tiltTurn.tipRuchki(), 1);
    EXPECT_EQ(order.StringGrid2().cell(1, 0), QStringLiteral("ЛИР-6742-133АМR100"));

    // A row written without the piece: the designation's "1" tells.
    order.bt_clearClick();
    tiltTurn.setCbZapor(false);
    order.ReplayEntry({QStringLiteral("ПОФ ПВХ"), QStringLiteral("ЛИР-6742-120МR100"), QStringLiteral("ARtec PAD"),
                       QString(), 1, 9016, 1000, 300, 500});
    EXPECT_TRUE(tiltTurn.cbZapor());
    // The weight is the designation's ending, not any "120" in it.
    EXPECT_EQ(tiltTurn.radioGroup1(), 0);
    EXPECT_EQ(order.StringGrid2().cell(1, 0), QStringLiteral("ЛИР-6742-120МR100"));
    EXPECT_EQ(order.entries().first().Dop_komplekt, QStringLiteral("запор поворотно-откидной"));

    EXPECT_TRUE(designationHasLock(QStringLiteral("ЛИР-6742М1R100")));
    EXPECT_TRUE(designationHasLock(QStringLiteral("ЛИР-6742Д1МR")));
    EXPECT_FALSE(designationHasLock(QStringLiteral("ЛИР-6742МR100")));
    EXPECT_FALSE(designationHasLock(QStringLiteral("ЛИР-6742-33АМR100")));
    EXPECT_FALSE(designationHasLock(QStringLiteral("ЛИР-6742ДМL")));
}

TEST_F(OrderTest, RestoringFollowsTheEntryTexts)
{
    // The turn calculator: clamps, a wooden profile and its rebate, the options.
    restoreEntry({QStringLiteral("ПФдеревянный с прижимами"), QStringLiteral("ЛИР-6741-13ДМL"),
                  QStringLiteral("ЕВРОФАЛЬЦ 20/8"), QStringLiteral("ручка ЛИР-1938.00, балконная защелка, блокиратор"),
                  4, 8017, 900, 700, 450},
                 turn);
    EXPECT_EQ(turn.profilType(), 1);
    EXPECT_EQ(turn.complekt(), 1);
    EXPECT_EQ(turn.ramaType(), 1); // matched ignoring case
    EXPECT_EQ(turn.polStvorki(), 1);
    EXPECT_TRUE(turn.ruchkaOkon());
    EXPECT_EQ(turn.tipRuchki(), 1);
    EXPECT_FALSE(turn.provetrivatel());
    EXPECT_TRUE(turn.balkonnayaZaschelka());
    EXPECT_TRUE(turn.blokirator());
    EXPECT_EQ((std::vector<int>{turn.kolKomlektov(), turn.ral(), turn.ffh(), turn.ffb(), turn.gh()}),
              (std::vector<int>{4, 8017, 900, 700, 450}));
    EXPECT_TRUE(turn.ruchkaVcentre());

    // A profile name that no item has selects none.
    restoreEntry({QStringLiteral("ПФПВХ без прижимов"), QStringLiteral("ЛИР-6741-02МR100"), QStringLiteral("Нет такой"),
                  QString(), 1, 9016, 600, 500, 300},
                 turn);
    EXPECT_EQ(turn.nazvSystemProfiles(), -1);
    EXPECT_EQ(turn.complekt(), 0);

    // The tilt calculator takes its weight from the designation's ending.
    restoreEntry({QStringLiteral("ОФПВХ"), QStringLiteral("ЛИР-6741-53М120"), QStringLiteral("kbe ad"),
                  QStringLiteral("проветриватель, ножницы 2шт"), 1, 9016, 500, 800, 400},
                 tilt);
    EXPECT_EQ(tilt.radioGroup1(), 1);
    EXPECT_EQ(tilt.nazvSystemProfilesText(), QStringLiteral("KBE AD"));
    EXPECT_TRUE(tilt.provetrivatel());
    EXPECT_TRUE(tilt.checkBox1());

    EXPECT_EQ(entryKind(ofType(QStringLiteral("ПОФ ПВХ"))), KitCalculator::Kind::TiltTurn);
    EXPECT_EQ(entryKind(ofType(QStringLiteral("ОФдеревянный"))), KitCalculator::Kind::Tilt);
    EXPECT_EQ(entryKind(ofType(QStringLiteral("ПФПВХ с прижимами"))), KitCalculator::Kind::Turn);
    EXPECT_FALSE(entryKind(ofType(QStringLiteral("окно"))));
    order.ReplayEntry(ofType(QStringLiteral("окно")));
    EXPECT_EQ(order.EntryCount(), 0);
}

TEST_F(OrderTest, EntriesAreNotLimitedTo255)
{
    const TOrder e{QStringLiteral("ОФПВХ"), QStringLiteral("ЛИР-6741-53М100"), QStringLiteral("ARtec PAD"), QString(),
                   100000, 9016, 500, 800, 400};
    for (int i = 0; i < 300; ++i)
        order.StoreEntry(order.EntryCount(), e);
    EXPECT_EQ(order.EntryCount(), 300);
    order.StoreEntry(299, ofType(QStringLiteral("ПОФ ПВХ")));
    EXPECT_EQ(order.entries().at(299).Type, QStringLiteral("ПОФ ПВХ"));
    order.StoreEntry(-1, e); // no entry open: nothing happens
    EXPECT_EQ(order.EntryCount(), 300);
}
