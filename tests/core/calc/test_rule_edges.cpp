// Bounds of the handle rules that a single wrong comparison would move: the
// width at which the off-centre clamp kit changes its extensions, the bolts
// that refuse the ventilator, and the centre of an odd sash height.
#include "kittables.h"

#include "support/kitinputs.h"

#include <initializer_list>
#include <tuple>

using namespace kittables;

namespace {

using lir::test::calculate;

// Quantities of rows 1 to n from a list of {row, quantity}.
std::vector<int> rows(size_t n, std::initializer_list<std::pair<int, int>> nonZero)
{
    std::vector<int> q(n, 0);
    for (auto [row, quantity] : nonZero)
        q[size_t(row - 1)] = quantity;
    return q;
}

// An off-centre handle in the turn window with clamps, FFH 1000.
void offCentreClampKit(lir::TurnKit& k, int ffb, int gh)
{
    k.setComplekt(1);
    k.setRuchkaVcentre(false);
    k.setFFH(1000);
    k.setFFB(ffb);
    k.setGH(gh);
}

} // namespace

TEST(TurnClampKit, OffCentreExtensionsChangeAbove900)
{
    // GH 280: Засов 440 and one 500 mm step to the longer distance 720.
    lir::TurnKit k;
    offCentreClampKit(k, 900, 280);
    ASSERT_TRUE(calculate(k).isEmpty());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("Нестандартный"));
    // Up to 900 mm: two Удлинитель 250 with their two strikers.
    const std::initializer_list<std::pair<int, int>> common = {{7, 1}, {11, 2}, {14, 5}, {15, 1}, {16, 1}, {17, 1}, {18, 1}, {19, 1}, {20, 1},
                         {21, 1}, {22, 1}, {23, 1}, {29, 1}, {30, 1}, {31, 1}, {32, 1}, {33, 1}};
    std::vector<int> expected = rows(33, common);
    expected[11] = 1;
    expected[12] = 2;
    EXPECT_EQ(rowQuantities(k, turnParts), expected);

    // From 901 mm: two Удлинитель 500 in their place, no Удлинитель 250.
    offCentreClampKit(k, 901, 280);
    ASSERT_TRUE(calculate(k).isEmpty());
    expected = rows(33, common);
    expected[11] = 3;
    EXPECT_EQ(rowQuantities(k, turnParts), expected);
}

TEST(TurnClampKit, EveryBoltThatRefusesTheVentilator)
{
    const QString& refused = lir::test::msgVentilator;
    lir::TurnKit k;
    // The shorter handle distance picks Засов 440 (280), Засов 620 (350) or Засов 800 (450).
    const std::tuple<int, int, bool> cases[] = {{280, 7, true}, {350, 8, true}, {450, 9, false}};
    for (auto [gh, bolt, isRefused] : cases) {
        SCOPED_TRACE(gh);
        offCentreClampKit(k, 800, gh);
        k.setProvetrivatel(false);
        ASSERT_TRUE(calculate(k).isEmpty());
        EXPECT_EQ(rowQuantities(k, turnParts)[size_t(bolt - 1)], 1);
        k.setProvetrivatel(true);
        EXPECT_EQ(calculate(k), isRefused ? QStringList{refused} : QStringList{});
        EXPECT_EQ(k.provetrivatel(), !isRefused);
    }
}

TEST(TiltTurnHandle, OddHeightCentreRoundsHalfToEven)
{
    lir::TiltTurnKit k;
    k.setFFB(700);
    // Half of 1001 is 500.5 and counts as 500; half of 1003 is 501.5 and counts as 502.
    const std::tuple<int, int, bool> cases[] = {{1001, 500, true}, {1001, 501, false}, {1003, 502, true},
                                                {1003, 501, false}};
    for (auto [ffh, gh, centred] : cases) {
        SCOPED_TRACE(testing::Message() << "FFH " << ffh << " GH " << gh);
        k.setRuchkaVcentre(false);
        k.setFFH(ffh);
        k.setGH(gh);
        ASSERT_TRUE(calculate(k).isEmpty());
        EXPECT_EQ(k.ruchkaVcentre(), centred);
        EXPECT_EQ(k.KitDesignation, centred ? QStringLiteral("ЛИР-6742-23МR100") : QStringLiteral("Нестандартный"));
        EXPECT_EQ(k.gh(), gh);
    }
}
