#include "core/calc/tiltturnkit.h"
#include "kittables.h"
#include "support/kitinputs.h"
#include "support/testsupport.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <vector>

namespace {

using lir::TiltTurnKit;
using Inputs = lir::test::TiltTurnInputs;
using namespace lir::test;

// The size messages of the tilt-turn rules.
const QString msgWidth = QStringLiteral("Неправильно задана ширина!\rИзмените ширину в интервале 280 мм - 1300 мм");
const QString msgHeight = QStringLiteral("Неправильно задана высота!\rИзмените высоту в интервале 440 мм - 2300 мм");
const QString nonStandard = QStringLiteral("Нестандартный");

// Grid line whose catalogue designation starts the shown one.
int rowOf(const TiltTurnKit& k, const QString& prefix)
{
    for (int r = 1; r <= k.LineCount; ++r)
        if (k.gridCell(r, 0).startsWith(prefix))
            return r;
    return -1;
}

bool gridEmpty(const TiltTurnKit& k)
{
    return lir::test::gridRows(k).empty();
}

} // namespace

TEST(TiltTurnCatalogue, LookAlikeLettersAndDefaults)
{
    TiltTurnKit k;
    const lir::PartsTable cat = k.catalogue();
    ASSERT_EQ(cat.size(), 42);
    // A calculation that rewrites texts of many rows leaves the catalogue as it was.
    Inputs wood{.h = 1200, .g = 220, .wooden = true, .side = 1, .zapor = true};
    ASSERT_TRUE(run(k, wood).isEmpty());
    EXPECT_EQ(k.parts(), cat);
    // Prices and orders match these texts exactly.
    EXPECT_EQ(cat[3].Designation.back(), QChar(0x0410));
    EXPECT_EQ(cat[3].Name.back(), QChar(0x0410));
    EXPECT_EQ(cat[15].Designation.back(), QChar(0x0410));
    EXPECT_EQ(cat[15].Name.back(), QChar(0x0410));
    for (int r : {18, 19, 20}) {
        EXPECT_EQ(cat[r].Designation.at(11), QLatin1Char('X'));
        EXPECT_EQ(cat[r].Designation.at(13), QLatin1Char('B'));
    }
    for (int r : {26, 27, 28})
        EXPECT_EQ(cat[r].Name.at(15), QLatin1Char('H'));
    EXPECT_EQ(cat[24].Name.at(15), QChar(0x0412));
    EXPECT_EQ(cat[7].Marking, cat[8].Marking);
    // The hinges alone carry 4×40 screws.
    int s40 = 0;
    for (const lir::TMyLIR& l : cat)
        s40 += l.Screws40;
    EXPECT_EQ(s40, 11);
}

TEST(TiltTurnCatalogue, StandardKitsFromTheClassTables)
{
    const QStringList codes = TiltTurnKit::kitCodes();
    ASSERT_EQ(codes.size(), 36);
    EXPECT_EQ(codes.first(), QStringLiteral("ЛИР-6742М"));
    EXPECT_EQ(codes.at(1), QStringLiteral("ЛИР-6742-01М"));
    EXPECT_EQ(codes.at(18), QStringLiteral("ЛИР-6742-30АМ"));
    EXPECT_EQ(codes.at(24), QStringLiteral("ЛИР-6742-30М"));
    EXPECT_EQ(codes.last(), QStringLiteral("ЛИР-6742-45М"));
    EXPECT_EQ(QSet<QString>(codes.begin(), codes.end()).size(), 36);

    // ЛИР-6742-44М as the catalogue describes it.
    const int i44 = int(codes.indexOf(QStringLiteral("ЛИР-6742-44М")));
    ASSERT_GE(i44, 0);
    std::vector<int> expect(40, 0);
    for (auto [row, q] : std::vector<std::pair<int, int>>{{3, 1}, {6, 2}, {8, 3}, {13, 1}, {18, 1}, {21, 1},
                                                           {31, 10}, {32, 1}, {33, 1}, {34, 1}})
        expect[size_t(row - 1)] = q;
    for (int r = 22; r <= 29; ++r)
        expect[size_t(r - 1)] = 1;
    const QVector<int> q44 = TiltTurnKit::kitQuantities(i44);
    EXPECT_EQ(std::vector<int>(q44.begin(), q44.end()), expect);
}

TEST(TiltTurnRules, WorkedExample)
{
    TiltTurnKit k;
    EXPECT_TRUE(run(k, Inputs{}).isEmpty());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6742-33АМR100"));
    EXPECT_EQ(k.lirlText(), k.KitDesignation);
    EXPECT_EQ(k.LineCount, 17);
    EXPECT_EQ(k.gridRowCount(), 30);
    const std::vector<std::vector<const char*>> expect = {
        {"6742.01.00-03А", "Засов 1300А", "1301-1500", "1", "6", ""},
        {"6742.02.00", "Угловой переключатель", "-", "2", "8", ""},
        {"6742.04.00-02", "Шина 550", "551-800", "1", "3", ""},
        {"6742.05.00-01А", "Запор средний 1300А", "1301-1500", "1", "6", ""},
        {"6742.07.00-52R", "Кронштейн 550", "550 20-13", "1", "", ""},
        {"6742.09.00-00", "Петля верхняя на раме М", "09.00", "1", "", "4"},
        {"6742.10.00-00", "Петля нижняя на створке М", "10.00", "1", "", "3"},
        {"6742.11.00-00", "Петля нижняя на раме М", "11.00", "1", "", "4"},
        {"6742.00.05", "Накладка декор.В1", "-", "1", "", ""},
        {"6742.00.06", "Накладка декор.В2", "-", "1", "", ""},
        {"6742.00.07", "Накладка декор.H1", "-", "1", "", ""},
        {"6742.00.08", "Накладка декор.H2", "-", "1", "", ""},
        {"6742.00.09", "Накладка декор.H3", "-", "1", "", ""},
        {"0483.00.01-11", "Планка запорная", "009911", "7", "7", ""},
        {"0483.12.00-10", "Планка запорная пов.откидная", "13", "1", "2", ""},
        {"6742.20.00", "Блокиратор", "20.00", "1", "", ""},
        {"6742.21.00-10", "Упор блокиратора", "21.10", "1", "2", ""},
        {"", "Общее кол-во шурупов(4*25)", "", "34", "", ""},
        {"", "Общее кол-во шурупов(4*40)", "", "11", "", ""},
    };
    for (size_t r = 0; r < expect.size(); ++r)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(k.gridCell(int(r) + 1, c), QString::fromUtf8(expect[r][size_t(c)]))
                << "row " << r + 1 << " column " << c;
    for (int r = 20; r < k.gridRowCount(); ++r)
        EXPECT_EQ(k.gridRow(r), lir::GridRow{});
    EXPECT_EQ(k.parts(), k.catalogue());
    EXPECT_EQ(k.KitLines[13].Designation, QStringLiteral("0483.00.01-11"));
    EXPECT_EQ((std::array{k.LastFFH, k.LastFFB, k.LastGH}), (std::array{1400, 700, 700}));

    // Three kits: every quantity and screw number triples.
    Inputs three{.count = 3};
    EXPECT_TRUE(run(k, three).isEmpty());
    EXPECT_EQ(k.gridCell(2, 3), QStringLiteral("6"));
    EXPECT_EQ(k.gridCell(2, 4), QStringLiteral("24"));
    EXPECT_EQ(k.gridCell(14, 3), QStringLiteral("21"));
    EXPECT_EQ(k.gridCell(14, 4), QStringLiteral("21"));
    EXPECT_EQ(k.gridCell(18, 3), QStringLiteral("102"));
    EXPECT_EQ(k.gridCell(19, 3), QStringLiteral("33"));
}

TEST(TiltTurnRules, SizeBoundsAndMessages)
{
    TiltTurnKit k;
    const std::vector<std::pair<int, int>> widths = {{280, 0}, {385, 0}, {386, 1}, {460, 1}, {461, 2}, {550, 2},
                                                     {551, 3}, {800, 3}, {801, 4}, {1050, 4}, {1051, 5}, {1300, 5}};
    for (auto [w, cls] : widths) {
        Inputs in{.w = w};
        ASSERT_TRUE(run(k, in).isEmpty()) << w;
        EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6742-3%1АМR100").arg(cls)) << w;
        // The middle lock takes fewer screws on a wider sash.
        EXPECT_EQ(k.gridCell(rowOf(k, QStringLiteral("6742.05.00-01А")), 4), w <= 550 ? QStringLiteral("7") : QStringLiteral("6"));
    }
    const std::vector<std::pair<int, const char*>> heights = {
        {440, "ЛИР-6742-03МR100"}, {620, "ЛИР-6742-03МR100"}, {621, "ЛИР-6742-13МR100"}, {800, "ЛИР-6742-13МR100"},
        {801, "ЛИР-6742-23МR100"}, {1300, "ЛИР-6742-23МR100"}, {1301, "ЛИР-6742-33АМR100"},
        {1500, "ЛИР-6742-33АМR100"}, {1501, "ЛИР-6742-33МR100"}, {1800, "ЛИР-6742-33МR100"},
        {1801, "ЛИР-6742-43МR100"}, {2300, "ЛИР-6742-43МR100"}};
    for (const auto& [h, code] : heights) {
        Inputs in{.h = h};
        ASSERT_TRUE(run(k, in).isEmpty()) << h;
        EXPECT_EQ(k.KitDesignation, QString::fromUtf8(code)) << h;
        EXPECT_EQ(k.gridCell(rowOf(k, QStringLiteral("6742.04.00-02")), 4), h <= 800 ? QStringLiteral("4") : QStringLiteral("3"));
    }
    Inputs smallest{.h = 440, .w = 385};
    run(k, smallest);
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6742МR100"));
    smallest.h = 621;
    smallest.w = 280;
    run(k, smallest);
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6742-10МR100"));

    // Both sizes wrong: the width and height messages and nothing else, although the
    // ventilator would be refused; the grid is empty and the last kit stays.
    const QString good = k.KitDesignation;
    const int lines = k.LineCount;
    for (auto [h, w] : std::vector<std::pair<int, int>>{{439, 279}, {2301, 1301}}) {
        Inputs bad{.h = h, .w = w, .wooden = true, .zapor = true, .ventilator = true};
        EXPECT_EQ(run(k, bad), (QStringList{msgWidth, msgHeight}));
        EXPECT_TRUE(k.provetrivatel());
        EXPECT_TRUE(gridEmpty(k));
        EXPECT_EQ(k.KitDesignation, good);
        EXPECT_EQ(k.lirlText(), good);
        EXPECT_EQ(k.LineCount, lines);
        EXPECT_EQ(k.LastFFH, 621); // only a calculation whose sizes pass records them
        EXPECT_EQ(k.parts(), k.catalogue());
    }
}

TEST(TiltTurnRules, WoodenSash)
{
    TiltTurnKit k;
    Inputs in{.wooden = true, .side = 1, .rama = 1};
    ASSERT_TRUE(run(k, in).isEmpty());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6742-33АДМL"));
    const int hinge = rowOf(k, QStringLiteral("6742.10.00"));
    EXPECT_EQ(k.gridCell(hinge, 0), QStringLiteral("6742.10.00-20L"));
    EXPECT_EQ(k.gridCell(hinge, 1), QStringLiteral("Петля нижняя на створке ДМ"));
    EXPECT_EQ(k.gridCell(hinge, 5), QStringLiteral("6"));
    EXPECT_EQ(k.gridCell(rowOf(k, QStringLiteral("6742.09.00")), 0), QStringLiteral("6742.09.00-20"));
    const int bracket = rowOf(k, QStringLiteral("6742.07.00"));
    EXPECT_EQ(k.gridCell(bracket, 0), QStringLiteral("6742.07.00-22L"));
    EXPECT_EQ(k.gridCell(bracket, 2), QStringLiteral("550 (18-9)"));
    EXPECT_EQ(k.gridCell(rowOf(k, QStringLiteral("0483.00.01")), 0), QStringLiteral("0483.00.01-21"));
    EXPECT_EQ(k.gridCell(rowOf(k, QStringLiteral("0483.00.01")), 2), QStringLiteral("009921"));
    EXPECT_TRUE(showsQuantities(k, {{u"6742.00.05-20", 1}, {u"6742.00.07-20L", 1}}));
    EXPECT_EQ(k.gridCell(k.LineCount + 2, 3), QStringLiteral("14"));

    // Every option on, Еврофальц 18/8: the ventilator and handle of the wooden system.
    in.rama = 0;
    in.side = 0;
    in.h = 1700;
    in.ventilator = true;
    in.balcony = true;
    in.handle = true;
    ASSERT_TRUE(run(k, in).isEmpty());
    EXPECT_EQ(k.gridCell(rowOf(k, QStringLiteral("6742.22.00")), 0), QStringLiteral("6742.22.00-20"));
    EXPECT_EQ(k.gridCell(rowOf(k, QStringLiteral("6742.22.00")), 2), QStringLiteral("012220"));
    EXPECT_TRUE(showsQuantities(k, {{u"0317.00-01", 1}, {u"6742.00.14-20", 2}}));
    EXPECT_EQ(k.gridCell(rowOf(k, QStringLiteral("6742.00.14")), 2), QStringLiteral("001420"));
    EXPECT_TRUE(showsQuantities(k, {{u"6742.00.01", 0}})); // no micro-ventilation strip for wood
}

TEST(TiltTurnRules, TextsByProfileSystem)
{
    TiltTurnKit k;
    struct Case
    {
        int nazv;
        const char *bracket, *handle, *striker;
    };
    const std::vector<Case> cases = {
        {1, "6742.07.00-42R", "0317.00-01", "0483.00.01-00"},  // KBE AD, 12/20-9
        {13, "6742.07.00-52R", "0317.00-03", "0483.00.01-12"}, // KBE Expert
        {11, "6742.07.00-52R", "0317.00-02", "0483.00.01-10"}, // COK
        {14, "6742.07.00-62R", "0317.00-03", "0483.00.01-14"}, // Thyssen, 12/21-13
    };
    for (const Case& c : cases) {
        Inputs in{.nazv = c.nazv, .handle = true};
        ASSERT_TRUE(run(k, in).isEmpty());
        EXPECT_EQ(k.gridCell(rowOf(k, QStringLiteral("6742.07.00")), 0), QString::fromUtf8(c.bracket)) << c.nazv;
        EXPECT_EQ(lir::test::quantityOf(k, QString::fromUtf8(c.handle)), 1) << c.nazv;
        EXPECT_EQ(lir::test::quantityOf(k, QString::fromUtf8(c.striker)), 7) << c.nazv;
    }
    Inputs h1938{.handle = true};
    k.setRuchkaOkon(true);
    k.setTipRuchki(1);
    apply(k, h1938);
    calculate(k);
    EXPECT_TRUE(showsQuantities(k, {{u"1938.00-02", 1}}));
}

TEST(TiltTurnRules, TiltTurnLock)
{
    TiltTurnKit k;
    Inputs in{.h = 500, .w = 300, .zapor = true};
    ASSERT_TRUE(run(k, in).isEmpty());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6742М1R100"));
    EXPECT_EQ(rowOf(k, QStringLiteral("6742.02.00")), rowOf(k, QStringLiteral("6742.02.00-05"))); // row 6 gone
    EXPECT_TRUE(showsQuantities(k, {{u"6742.02.00-05", 1}}));
    for (const QString& d : {QStringLiteral("6742.06.00"), QStringLiteral("6742.13.00-11")}) {
        const int r = rowOf(k, d);
        ASSERT_GT(r, 0) << d.toStdString();
        EXPECT_EQ(k.gridCell(r, 3), QStringLiteral("1"));
        EXPECT_EQ(k.gridCell(r, 4), QStringLiteral("2"));
    }
    EXPECT_EQ(rowOf(k, QStringLiteral("0483.12.00")), -1);

    in.h = 2000;
    in.w = 900;
    ASSERT_TRUE(run(k, in).isEmpty());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6742-144МR100"));
    EXPECT_TRUE(showsQuantities(
        k, {{u"6742.03.00", 2}, {u"6742.05.00", 1}, {u"6742.05.00-02", 1}, {u"6742.02.00", 1},
            {u"0483.00.01-11", 9}}));

    // Height class 3А on PVC gives up one more striker; a middle height doubles the middle lock.
    in.h = 1400;
    ASSERT_TRUE(run(k, in).isEmpty());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6742-134АМR100"));
    EXPECT_TRUE(showsQuantities(k, {{u"0483.00.01-11", 7}, {u"6742.03.00", 0}}));
    in.h = 1000;
    ASSERT_TRUE(run(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(k, {{u"6742.05.00", 2}}));

    // Wood gives up no extra striker for height class 3А.
    in.wooden = true;
    in.h = 1400;
    ASSERT_TRUE(run(k, in).isEmpty());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6742-134АДМR"));
    EXPECT_TRUE(showsQuantities(k, {{u"0483.00.01-20", 8}}));

    // Wood: "Д" goes in first, the "1" then becomes the tenth character.
    in.wooden = true;
    in.h = 500;
    in.w = 300;
    ASSERT_TRUE(run(k, in).isEmpty());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6742Д1МR"));
}

TEST(TiltTurnRules, HandlePosition)
{
    TiltTurnKit k;
    // Typed exactly at the centre: the box gets checked and the standard kit results.
    Inputs in{.g = 700};
    ASSERT_TRUE(run(k, in).isEmpty());
    EXPECT_TRUE(k.ruchkaVcentre());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6742-33АМR100"));

    in.h = 1200;
    in.w = 700;
    in.g = 220;
    ASSERT_TRUE(run(k, in).isEmpty());
    EXPECT_FALSE(k.ruchkaVcentre());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("Нестандартный"));
    EXPECT_EQ(k.lirlText(), QStringLiteral("Нестандартный"));
    EXPECT_TRUE(showsQuantities(k, {{u"6742.01.00", 1}, {u"6742.03.00", 1}, {u"6742.03.00-01", 1}}));
    EXPECT_EQ(rowOf(k, QStringLiteral("6742.20.00")), -1);
    EXPECT_EQ(rowOf(k, QStringLiteral("6742.21.00")), -1);
    EXPECT_TRUE(showsQuantities(k, {{u"0483.00.01-11", 5}}));
    EXPECT_EQ((std::array{k.LastFFH, k.LastFFB, k.LastGH}), (std::array{1200, 700, 220}));

    // The far distance window counts from either edge; a wide sash adds an extension.
    in.g = 980;
    in.w = 900;
    ASSERT_TRUE(run(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(k, {{u"6742.03.00", 2}}));

    // Near 901 to 1150: Засов 800 with two extensions of its own, far 1050 adds none.
    in.h = 2000;
    in.w = 700;
    in.g = 950;
    ASSERT_TRUE(run(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(
        k, {{u"6742.01.00-02", 1}, {u"6742.03.00", 2}, {u"6742.03.00-01", 0}, {u"0483.00.01-11", 8}}));

    const int lines = k.LineCount;
    in.h = 1400;
    in.w = 700;
    in.g = 300;
    EXPECT_EQ(run(k, in), QStringList{msgHandleDistance});
    EXPECT_TRUE(gridEmpty(k));
    EXPECT_EQ(k.LineCount, lines);
    EXPECT_EQ(k.KitDesignation, QStringLiteral("Нестандартный"));
    EXPECT_EQ(k.LastGH, 300); // recorded although the calculation failed
    in.g = 200;
    EXPECT_EQ(run(k, in), QStringList{msgHandle});
    in.g = 0;
    EXPECT_EQ(run(k, in), QStringList{msgHandle});
    // The refusals follow the handle message, in order: near 250 brings Засов 440, far 450 fits no window.
    in.h = 700;
    in.g = 250;
    in.ventilator = true;
    in.balcony = true;
    EXPECT_EQ(run(k, in), (QStringList{msgHandleDistance, msgVentilator, msgBalcony}));
    EXPECT_FALSE(k.provetrivatel());
    EXPECT_FALSE(k.checkBox1());
    in.h = 1000; // no bolt for a handle that near the end, but Запор средний 800 still refuses the latch
    in.g = 100;
    EXPECT_EQ(run(k, in), (QStringList{msgHandle, msgBalcony}));
    EXPECT_EQ(k.parts(), k.catalogue());
}

TEST(TiltTurnRules, RefusedOptionsAreUnchecked)
{
    TiltTurnKit k;
    Inputs in{.h = 700, .ventilator = true};
    EXPECT_EQ(run(k, in), QStringList{msgVentilator});
    EXPECT_FALSE(k.provetrivatel());
    EXPECT_TRUE(gridEmpty(k));
    EXPECT_TRUE(calculate(k).isEmpty());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6742-13МR100"));
    EXPECT_EQ(rowOf(k, QStringLiteral("6742.22.00")), -1);

    // The balcony latch goes with H from 1501 on only.
    for (auto [h, refused] : std::vector<std::pair<int, bool>>{{1300, true}, {1500, true}, {1501, false}}) {
        Inputs b{.h = h, .balcony = true};
        const QStringList errors = run(k, b);
        EXPECT_EQ(errors.size(), refused ? 1 : 0) << h;
        EXPECT_EQ(k.checkBox1(), !refused) << h;
    }
    EXPECT_TRUE(showsQuantities(k, {{u"6742.23.00", 1}, {u"6742.00.14-12", 2}}));
}

// Every class bound of both sizes, centred and off-centre, with and without the
// tilt-turn lock, PVC and wood, options on and off.
TEST(TiltTurnRules, SweepKeepsInvariants)
{
    TiltTurnKit k;
    const std::vector<int> widths = {279, 280, 385, 386, 460, 461, 550, 551, 800, 801, 1050, 1051, 1300, 1301};
    const std::vector<int> heights = {439, 440, 620, 621, 800, 801, 1300, 1301, 1500, 1501, 1800, 1801, 2300, 2301};
    const std::vector<int> nearOnes = {0, 219, 220, 310, 311, 399, 400, 650, 651, 900, 901, 1150};
    const QStringList placeholders = {QStringLiteral("6742.07.00-X1B"), QStringLiteral("6742.07.00-X2B"),
                                      QStringLiteral("6742.07.00-X3B")};
    const QRegularExpression bracket(QStringLiteral("^6742\\.07\\.00-[2456][123][RL]$"));
    int successes = 0, offCentreSuccesses = 0, maxLines = 0, i = 0;
    for (int h : heights)
        for (int w : widths) {
            std::vector<int> gs = {-1};
            for (int n : nearOnes)
                for (int g : {n, h - n})
                    if (g >= 0 && g <= h)
                        gs.push_back(g);
            for (int g : gs)
                for (int variant = 0; variant < 8; ++variant, ++i) {
                    Inputs in{.h = h, .w = w, .g = g, .wooden = (variant & 2) != 0, .zapor = (variant & 1) != 0};
                    const bool options = variant & 4;
                    in.ventilator = in.microvent = in.balcony = in.handle = options;
                    in.nazv = i % 15;
                    in.rama = i % 2;
                    in.side = (i / 2) % 2;
                    in.weight = (i / 4) % 2;
                    in.count = 1 + i % 3;
                    const QString before = k.KitDesignation;
                    const QStringList errors = run(k, in);
                    const auto where = [&] {
                        return ::testing::Message() << "H " << h << " W " << w << " G " << g << " variant " << variant;
                    };
                    ASSERT_EQ(k.parts(), k.catalogue()) << where();
                    ASSERT_EQ(k.gridRowCount(), 30) << where();
                    ASSERT_EQ(k.lastCalculationFailed(), !errors.isEmpty()) << where();
                    const bool sizesBad = TiltTurnKit::widthClass(w) < 0 || TiltTurnKit::heightClass(h) < 0;
                    ASSERT_EQ(errors.contains(msgWidth) || errors.contains(msgHeight), sizesBad) << where();
                    if (sizesBad) {
                        ASSERT_LE(errors.size(), 2) << where();
                    }
                    ASSERT_FALSE(errors.contains(msgHandle) && errors.contains(msgHandleDistance));
                    if (!errors.isEmpty()) {
                        ASSERT_TRUE(gridEmpty(k)) << where();
                        ASSERT_EQ(k.KitDesignation, before) << where();
                        continue;
                    }
                    ++successes;
                    const bool centred = k.ruchkaVcentre();
                    offCentreSuccesses += !centred;
                    if (centred) {
                        ASSERT_TRUE(k.KitDesignation.startsWith(QStringLiteral("ЛИР-6742"))) << where();
                        ASSERT_TRUE(k.KitDesignation.endsWith((in.side ? QStringLiteral("L") : QStringLiteral("R"))
                                                              + (in.wooden ? QString() : in.weight ? QStringLiteral("120") : QStringLiteral("100"))))
                            << where();
                    } else {
                        ASSERT_EQ(k.KitDesignation, nonStandard) << where();
                    }
                    maxLines = std::max(maxLines, k.LineCount);
                    ASSERT_LE(k.LineCount + 2, k.gridRowCount() - 1) << where();
                    long long s25 = 0, s40 = 0;
                    int bolts = 0, brackets = 0;
                    for (int r = 1; r <= k.LineCount; ++r) {
                        const lir::GridRow& row = k.gridRow(r);
                        ASSERT_GT(row[3].toInt(), 0) << where() << " line " << row[0].toStdString();
                        ASSERT_GE(row[4].toInt(), 0) << where();
                        ASSERT_GE(row[5].toInt(), 0) << where();
                        ASSERT_EQ(row[3].toInt() % in.count, 0) << where();
                        ASSERT_FALSE(placeholders.contains(row[0])) << where();
                        if (row[0].startsWith(QStringLiteral("6742.07.00"))) {
                            ++brackets;
                            ASSERT_TRUE(bracket.match(row[0]).hasMatch()) << where() << row[0].toStdString();
                        }
                        if (row[0].startsWith(QStringLiteral("6742.01.00")))
                            bolts += row[3].toInt();
                        s25 += row[4].toLongLong();
                        s40 += row[5].toLongLong();
                    }
                    ASSERT_EQ(brackets, 1) << where();
                    ASSERT_EQ(bolts, in.count) << where();
                    ASSERT_EQ(k.gridCell(k.LineCount + 1, 3), s25 ? QString::number(s25) : QString()) << where();
                    ASSERT_EQ(k.gridCell(k.LineCount + 2, 3), QString::number(s40)) << where();
                    ASSERT_EQ(s40, (in.wooden ? 14 : 11) * in.count) << where();

                    // Quantities per kit against the kit tables: a centred kit without the
                    // tilt-turn lock is its standard kit with the options; an off-centre one
                    // has the bolt of the near distance and the strikers of its parts.
                    std::vector<int> got = kittables::rowQuantities(k, kittables::tiltTurnParts);
                    for (int& n : got)
                        n /= in.count;
                    auto classOf = [](const auto& ranges, int v) {
                        return int(std::find_if(ranges.begin(), ranges.end(),
                                                [v](const kittables::Range& r) { return v >= r.lo && v <= r.hi; })
                                   - ranges.begin());
                    };
                    const int hc = classOf(kittables::tiltTurnHeights, h);
                    if (centred && !in.zapor) {
                        std::vector<int> q = kittables::tiltTurnKit(hc, classOf(kittables::tiltTurnWidths, w));
                        if (options) {
                            q[34] = q[35] = 1;           // ventilator and its catch
                            q[36] = in.wooden ? 0 : 1;   // micro-ventilation strip, PVC only
                            q[37] = 1;                   // balcony latch
                            q[38] = 2;                   // shims
                            q[39] = 1;                   // handle
                        }
                        ASSERT_EQ(got, q) << where();
                    }
                    if (!centred) {
                        const int nearDistance = std::min(g, h - g);
                        const int bolt = nearDistance <= 310 ? 1 : nearDistance <= 399 ? 2 : nearDistance <= 650 ? 3
                                         : nearDistance <= 900 ? 5 : 3;
                        ASSERT_EQ(got[size_t(bolt - 1)], 1) << where();
                        const int strikers = got[2] + 2 * got[3] + 2 * got[4] + got[5] + got[6] + got[7] + got[12]
                                             + got[13] + 2 * got[14] + 3 * (got[15] + got[16] + got[17]);
                        const int zaporGives = in.zapor ? 1 + (!in.wooden && hc == 3 ? 1 : 0) : 0;
                        ASSERT_EQ(got[30], strikers - zaporGives) << where();
                    }
                    for (int r = k.LineCount + 3; r < k.gridRowCount(); ++r)
                        ASSERT_EQ(k.gridRow(r), lir::GridRow{}) << where();
                }
        }
    EXPECT_GT(successes, 1000);
    EXPECT_GT(offCentreSuccesses, 200);
    EXPECT_EQ(maxLines, 27); // the largest kits fill the grid exactly
}
