// The calculator frame: input interdependencies, the calculation skeleton
// around a scripted set of rules, and the order-entry hand-over.
#include "core/calc/calctexts.h"
#include "core/calc/kitcalculator.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "support/testsupport.h"

#include <functional>

using namespace lir;
namespace t = lir::calctexts;

namespace {

// A calculator with a small catalogue whose rules the test scripts.
class ScriptedKit : public KitCalculator
{
public:
    explicit ScriptedKit(Kind kind = Kind::Turn, int gridRows = 8) : KitCalculator(kind, gridRows, nullptr) { init(); }

    std::function<void(ScriptedKit&)> rules = [](ScriptedKit&) {};
    std::function<void(ScriptedKit&)> successRules = [](ScriptedKit&) {};

    PartsTable catalogue() const override
    {
        return {{QStringLiteral("A-1"), QStringLiteral("Alpha"), QStringLiteral("-"), 0, 4, 0},
                {QStringLiteral("B-2"), QStringLiteral("Beta"), QStringLiteral("20"), 0, 0, 3},
                {QStringLiteral("C-3"), QStringLiteral("Gamma"), QStringLiteral("-"), 0, 2, 1},
                {QStringLiteral("0317.00-01"), QStringLiteral("Ручка оконная"), QStringLiteral("-"), 0, 0, 0}};
    }
    // Public access for the scripts
    TMyLIR& part(int k) { return row(k); }
    void failWith(const QString& m) { fail(m); }
    void fillScrews() { fill_default_value_screw(); }
    void fill(const QVector<int>& q) { fillQuantities(q); }

protected:
    void applyRules() override { rules(*this); }
    void applySuccessRules() override { successRules(*this); }
    QString orderType() const override { return QStringLiteral("T"); }
    QString orderDopKomplekt() const override { return {}; }
    int handleRow() const override { return 4; }
};

class RecordingSink : public OrderSink
{
public:
    std::vector<std::pair<int, TOrder>> stored;
    int replays = 0;
    int edited = 0;
    void StoreEntry(int index, const TOrder& e) override { stored.emplace_back(index, e); }
    void ReplayOrder() override { ++replays; }
    int EditedEntry() const override { return edited; }
    std::vector<const KitCalculator*> added;
    void AddKit(KitCalculator& calc) override { added.push_back(&calc); }
};

class FrameTest : public ::testing::Test
{
protected:
    void SetUp() override { test::recorder().clear(); }
    void TearDown() override { setOrderSink(nullptr); }
};

QStringList gridTexts(const KitCalculator& k)
{
    QStringList rows;
    for (int r = 1; r < k.gridRowCount(); ++r) {
        QStringList cells;
        for (const QString& c : k.gridRow(r))
            cells << c;
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

TEST_F(FrameTest, HandleHeightFollowsTheSashWithHalvesToEven)
{
    TurnKit k;
    const std::pair<int, int> cases[] = {{1, 0}, {3, 2}, {1001, 500}, {1003, 502}, {1000, 500}, {2301, 1150}};
    for (auto [ffh, gh] : cases) {
        k.setFFH(ffh);
        EXPECT_EQ(k.gh(), gh) << "FFH " << ffh;
    }
    k.setFFH(0); // zero leaves GH alone
    EXPECT_EQ(k.gh(), 1150);

    TiltTurnKit tt;
    tt.setFFH(1401);
    EXPECT_EQ(tt.gh(), 700);
    tt.setFFB(900); // the width has no say in the tilt-turn window
    EXPECT_EQ(tt.gh(), 700);

    // The tilt window's handle sits in the middle of the width.
    TiltKit tilt;
    EXPECT_TRUE(tilt.ruchkaVcentre());
    EXPECT_FALSE(tilt.ghEnabled());
    tilt.setFFH(701);
    EXPECT_EQ(tilt.gh(), 0);
    tilt.setFFB(601);
    EXPECT_EQ(tilt.gh(), 300);
    tilt.setFFB(603);
    EXPECT_EQ(tilt.gh(), 302);
}

TEST_F(FrameTest, HandleAtCentreSwitchesTheHandleInput)
{
    TurnKit k;
    EXPECT_FALSE(k.ghEnabled());
    k.setFFH(1200);
    k.setRuchkaVcentre(false);
    EXPECT_TRUE(k.ghEnabled());
    EXPECT_EQ(k.gh(), 600);
    k.setGH(450);
    k.setFFH(1300); // an off-centre handle keeps its height
    EXPECT_EQ(k.gh(), 450);
    k.setRuchkaVcentre(true);
    EXPECT_FALSE(k.ghEnabled());
    EXPECT_EQ(k.gh(), 650);

    k.setRuchkaVcentre(false);
    k.setFFH(0);
    k.setGH(321);
    k.setRuchkaVcentre(true); // FFH 0: GH stays
    EXPECT_EQ(k.gh(), 321);
}

TEST_F(FrameTest, ProfileTypeAndKitVariantSwitchSystemAndInputs)
{
    TurnKit k;
    EXPECT_EQ(k.systemProfilesText(), QStringLiteral("12/20-13"));
    EXPECT_TRUE(k.weightVisible());
    EXPECT_FALSE(k.ramaTypeVisible());
    EXPECT_FALSE(k.blokiratorVisible());

    k.setNazvSystemProfiles(int(t::nazvTurn.indexOf(QStringLiteral("Thyssen"))));
    EXPECT_EQ(k.systemProfilesText(), QStringLiteral("12/21-13"));
    k.setProfilType(1);
    EXPECT_EQ(k.systemProfilesText(), QStringLiteral("12/18-9"));
    EXPECT_FALSE(k.weightVisible());
    EXPECT_FALSE(k.nazvVisible());
    EXPECT_TRUE(k.ramaTypeVisible());
    EXPECT_TRUE(k.blokiratorVisible());
    k.setProfilType(0);
    EXPECT_EQ(k.systemProfilesText(), QStringLiteral("12/21-13"));

    // Each window keys the system on its own list.
    TiltKit tilt;
    tilt.setNazvSystemProfiles(10);
    EXPECT_EQ(tilt.nazvSystemProfilesText(), QStringLiteral("Thyssen"));
    EXPECT_EQ(tilt.systemProfilesText(), QStringLiteral("12/21-13"));
    for (int i = 0; i < t::nazvTurn.size(); ++i) {
        k.setNazvSystemProfiles(i);
        EXPECT_EQ(k.systemProfiles(), t::systemOfNazvTurn.at(i)) << i;
    }

    // A selection from code runs no handler.
    k.setNazvSystemProfiles(1);
    k.selectNazvSystemProfiles(0);
    EXPECT_EQ(k.systemProfilesText(), QStringLiteral("12/20-9"));

    // A wooden tilt-turn sash has no micro-ventilation strip, and keeps its
    // rebate system whatever the hidden list is set to from code.
    TiltTurnKit tt;
    tt.setPlankaMicrovent(true);
    tt.setProfilType(1);
    EXPECT_FALSE(tt.plankaMicrovent());
    EXPECT_FALSE(tt.plankaMicroventVisible());
    tt.setNazvSystemProfiles(14);
    EXPECT_EQ(tt.systemProfilesText(), QStringLiteral("12/18-9"));
    tt.setProfilType(0);
    EXPECT_FALSE(tt.plankaMicrovent());
    EXPECT_TRUE(tt.plankaMicroventVisible());
    EXPECT_EQ(tt.systemProfilesText(), QStringLiteral("12/21-13"));

    // The kit variant sets the length of the width input.
    TurnKit variant;
    EXPECT_EQ(variant.ffbMaxLength(), 4); // before any click
    variant.setComplekt(1);
    EXPECT_EQ(variant.ffbMaxLength(), 4);
    variant.setComplekt(0);
    EXPECT_EQ(variant.ffbMaxLength(), 3);
}

TEST_F(FrameTest, ShowButtonAndActivationHideTheResult)
{
    ScriptedKit k;
    k.RashetButtonClick();
    ASSERT_TRUE(k.resultVisible());
    k.setRuchkaOkon(true);
    EXPECT_TRUE(k.handleTypeVisible());
    k.Panel2Click();
    EXPECT_FALSE(k.resultVisible());
    EXPECT_FALSE(k.lirlVisible());
    EXPECT_FALSE(k.image1Visible());
    EXPECT_TRUE(k.image3Visible());
    k.Panel2Click();
    EXPECT_TRUE(k.image1Visible());
    EXPECT_FALSE(k.image3Visible());
    EXPECT_FALSE(k.resultVisible());
    k.Panel2Click();
    k.setProvetrivatel(true); // a click on an option shows the sash again
    EXPECT_TRUE(k.image1Visible());
    EXPECT_FALSE(k.image3Visible());

    // The window coming to the front hides the result too.
    k.RashetButtonClick();
    ASSERT_TRUE(k.resultVisible());
    k.FormActivate();
    EXPECT_FALSE(k.resultVisible());
    EXPECT_FALSE(k.lirlVisible());
}

TEST_F(FrameTest, SuccessfulCalculationFillsGridTotalsAndLastCalculation)
{
    ScriptedKit k;
    k.setKolKomlektov(3);
    k.setTipRuchki(1);
    k.rules = [](ScriptedKit& s) {
        s.KitDesignation = QStringLiteral("KIT-1");
        s.fill({2, 0, 1, 1});
        s.fillScrews();
        s.part(1).Marking = QStringLiteral("changed");
    };
    k.RashetButtonClick();
    EXPECT_FALSE(k.lastCalculationFailed());
    EXPECT_TRUE(k.resultVisible());
    EXPECT_TRUE(k.lirlVisible());
    EXPECT_EQ(k.lirlText(), QStringLiteral("KIT-1"));
    EXPECT_EQ(k.LineCount, 3);
    const QStringList rows = gridTexts(k);
    EXPECT_EQ(rows.at(0), QStringLiteral("A-1|Alpha|changed|6|24|"));
    EXPECT_EQ(rows.at(1), QStringLiteral("C-3|Gamma|-|3|6|3"));
    EXPECT_EQ(rows.at(2), QStringLiteral("1938.00|Ручка оконная|-|3||"));
    EXPECT_EQ(rows.at(3), QStringLiteral("|Общее кол-во шурупов(4*25)||30||"));
    EXPECT_EQ(rows.at(4), QStringLiteral("|Общее кол-во шурупов(4*40)||3||"));
    for (int r = 5; r < rows.size(); ++r)
        EXPECT_EQ(rows.at(r), QStringLiteral("|||||"));
    EXPECT_EQ(k.KitLines.at(0).Quantity, 6);
    EXPECT_EQ(k.KitLines.at(0).Screws25, 24);
    EXPECT_EQ(k.KitLines.at(2).Designation, QStringLiteral("1938.00"));
    // The parts table is back at its catalogue.
    EXPECT_EQ(k.parts(), k.catalogue());
}

TEST_F(FrameTest, ScrewTotalsStayBelowTheKitWhateverItsCountAndLength)
{
    ScriptedKit k;
    k.rules = [](ScriptedKit& s) {
        s.fill({0, 1, 0, 0});
        s.fillScrews();
    };
    k.RashetButtonClick();
    const QStringList rows = gridTexts(k);
    EXPECT_EQ(rows.at(0), QStringLiteral("B-2|Beta|20|1||3"));
    EXPECT_EQ(rows.at(1), QStringLiteral("|||||"));
    EXPECT_EQ(rows.at(2), QStringLiteral("|Общее кол-во шурупов(4*40)||3||"));

    // Large counts do not wrap.
    ScriptedKit large;
    large.setKolKomlektov(250000);
    EXPECT_EQ(large.kolKomlektov(), 100000);
    large.rules = [](ScriptedKit& s) {
        s.fill({7, 0, 0, 0});
        s.fillScrews();
    };
    large.RashetButtonClick();
    EXPECT_EQ(large.gridCell(1, 3), QStringLiteral("700000"));
    EXPECT_EQ(large.gridCell(1, 4), QStringLiteral("2800000"));
    EXPECT_EQ(large.gridCell(2, 3), QStringLiteral("2800000"));

    // A long kit grows the grid instead of dropping lines.
    ScriptedKit longKit(KitCalculator::Kind::Turn, 4); // 3 rows below the header
    longKit.rules = [](ScriptedKit& s) {
        s.fill({1, 1, 1, 1});
        s.fillScrews();
    };
    longKit.RashetButtonClick();
    EXPECT_EQ(longKit.LineCount, 4);
    EXPECT_EQ(longKit.gridCell(5, 1), t::totalScrews25);
    EXPECT_EQ(longKit.gridCell(6, 1), t::totalScrews40);
    longKit.rules = [](ScriptedKit&) {};
    longKit.RashetButtonClick(); // back to its designed size
    EXPECT_EQ(longKit.gridRowCount(), 4);
}

TEST_F(FrameTest, FailedCalculationLeavesTheEarlierResultAndAnEmptyGrid)
{
    ScriptedKit k;
    // A first calculation that fails: LIRL visible and empty, the grid not shown.
    k.rules = [](ScriptedKit& s) {
        s.fill({1, 1, 1, 0});
        s.fillScrews();
        s.failWith(QStringLiteral("first\rsecond"));
        s.failWith(QStringLiteral("another"));
    };
    k.RashetButtonClick();
    EXPECT_TRUE(k.lastCalculationFailed());
    EXPECT_EQ(test::recorder().errors(), (QStringList{QStringLiteral("first\rsecond"), QStringLiteral("another")}));
    EXPECT_TRUE(k.lirlVisible());
    EXPECT_TRUE(k.lirlText().isEmpty());
    EXPECT_FALSE(k.resultVisible());
    EXPECT_EQ(k.parts(), k.catalogue());

    k.rules = [](ScriptedKit& s) {
        s.KitDesignation = QStringLiteral("GOOD");
        s.fill({1, 0, 0, 0});
        s.fillScrews();
    };
    k.RashetButtonClick();
    ASSERT_EQ(k.LineCount, 1);

    bool successRan = false;
    k.successRules = [&](ScriptedKit&) { successRan = true; };
    k.rules = [](ScriptedKit& s) {
        s.KitDesignation = QStringLiteral("BAD");
        s.fill({1, 1, 1, 1});
        s.failWith(QStringLiteral("no"));
    };
    k.RashetButtonClick();
    EXPECT_FALSE(successRan);
    EXPECT_TRUE(k.resultVisible()); // visibility as it was
    EXPECT_EQ(k.lirlText(), QStringLiteral("GOOD"));
    EXPECT_EQ(k.KitDesignation, QStringLiteral("BAD"));
    EXPECT_EQ(k.LineCount, 1);
    for (const QString& row : gridTexts(k))
        EXPECT_EQ(row, QStringLiteral("|||||"));
}

TEST_F(FrameTest, SaveChangesIsEnabledByTheCalculationWhenVisible)
{
    ScriptedKit turn(KitCalculator::Kind::Turn);
    turn.RashetButtonClick();
    EXPECT_FALSE(turn.saveChangesEnabled());
    turn.setSaveChangesVisible(true);
    turn.RashetButtonClick();
    EXPECT_TRUE(turn.saveChangesEnabled());
    turn.setSaveChangesVisible(false);
    turn.RashetButtonClick();
    EXPECT_FALSE(turn.saveChangesEnabled());

    // The tilt-turn window only ever enables it.
    ScriptedKit tt(KitCalculator::Kind::TiltTurn);
    tt.setSaveChangesVisible(true);
    tt.RashetButtonClick();
    tt.setSaveChangesVisible(false);
    tt.RashetButtonClick();
    EXPECT_TRUE(tt.saveChangesEnabled());
}

TEST_F(FrameTest, OrderEntriesAreBuiltFromTheCurrentInputs)
{
    RecordingSink sink;
    setOrderSink(&sink);

    TurnKit turn;
    turn.setKolKomlektov(4);
    turn.setRal(7016);
    turn.setFFH(1100);
    turn.setFFB(600);
    turn.setRuchkaOkon(true);
    turn.setTipRuchki(1);
    turn.setProvetrivatel(true);
    turn.setBalkonnayaZaschelka(true);
    turn.setLirlText(QStringLiteral("typed by hand"));
    turn.fill_the_order(5);
    ASSERT_EQ(sink.stored.size(), 1u);
    EXPECT_EQ(sink.stored[0].first, 5);
    const TOrder& o = sink.stored[0].second;
    EXPECT_EQ(o.Type, QStringLiteral("ПФПВХ без прижимов"));
    EXPECT_EQ(o.Designation, QStringLiteral("typed by hand"));
    EXPECT_EQ(o.Profil, QStringLiteral("ARtec PAD"));
    EXPECT_EQ(o.Dop_komplekt, QStringLiteral("ручка ЛИР-1938.00, проветриватель, балконная защелка, "));
    EXPECT_EQ((std::vector<int>{o.Count, o.Color, o.FFH, o.FFB, o.GH}), (std::vector<int>{4, 7016, 1100, 600, 550}));

    turn.setComplekt(1);
    turn.setProfilType(1);
    turn.setRamaType(1);
    turn.setBlokirator(true);
    turn.setRuchkaOkon(false);
    const TOrder wood = turn.orderEntry();
    EXPECT_EQ(wood.Type, QStringLiteral("ПФдеревянный с прижимами"));
    EXPECT_EQ(wood.Profil, QStringLiteral("Еврофальц 20/8"));
    EXPECT_EQ(wood.Dop_komplekt, QStringLiteral("проветриватель, балконная защелка, блокиратор"));

    TiltTurnKit tt;
    tt.setRuchkaOkon(true);
    tt.setPlankaMicrovent(true);
    tt.setCheckBox1(true);
    const TOrder e2 = tt.orderEntry();
    EXPECT_EQ(e2.Type, QStringLiteral("ПОФ ПВХ"));
    EXPECT_EQ(e2.Dop_komplekt, QStringLiteral("ручка ЛИР-0317.00, планка микровентиляции, балконная защелка"));

    TiltKit tilt;
    tilt.setProfilType(1);
    tilt.setProvetrivatel(true);
    tilt.setCheckBox1(true);
    const TOrder e3 = tilt.orderEntry();
    EXPECT_EQ(e3.Type, QStringLiteral("ОФдеревянный"));
    EXPECT_EQ(e3.Profil, QStringLiteral("Еврофальц 18/8"));
    EXPECT_EQ(e3.Dop_komplekt, QStringLiteral("проветриватель, ножницы 2шт"));
}

TEST_F(FrameTest, SaveChangesStoresTheEditedEntryAndReplaysTheOrder)
{
    RecordingSink sink;
    sink.edited = 2;
    setOrderSink(&sink);
    TiltKit k;
    k.setSaveChangesVisible(true);
    k.setFFH(700);
    k.setFFB(600);
    k.RashetButtonClick();
    k.setRal(1015);
    k.Panel1Click();
    ASSERT_EQ(sink.stored.size(), 1u);
    EXPECT_EQ(sink.stored[0].first, 2);
    EXPECT_EQ(sink.stored[0].second.Color, 1015);
    EXPECT_EQ(sink.replays, 1);
    EXPECT_FALSE(k.saveChangesVisible());
}
