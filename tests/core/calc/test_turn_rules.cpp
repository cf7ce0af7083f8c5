#include "core/calc/calctexts.h"
#include "core/calc/turnkit.h"
#include "kittables.h"
#include "support/kitinputs.h"
#include "support/testsupport.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <vector>

using lir::TurnKit;

namespace {

using Input = lir::test::TurnInputs;
using namespace lir::test;

QStringList calculate(TurnKit& k, const Input& in)
{
    return lir::test::run(k, in);
}

using Row = std::vector<QString>;

// Grid rows 1 .. the last non-empty one.
std::vector<Row> grid(const lir::KitCalculator& k)
{
    std::vector<Row> rows;
    for (const lir::GridRow& g : lir::test::gridRows(k))
        rows.emplace_back(g.begin(), g.end());
    return rows;
}

Row R(std::initializer_list<const char16_t*> cells)
{
    Row r;
    for (const char16_t* c : cells)
        r.push_back(QString::fromUtf16(c));
    return r;
}

const QString msgWidthNoClamps = QStringLiteral(
    "Неправильно задана ширина для комплекта без верхнего и нижнего прижимов!\r"
    "Измените ширину в интервале 200 мм - 800 мм");
const QString msgHeightNoClamps = QStringLiteral(
    "Неправильно задана высота для комплекта без верхнего и нижнего прижимов!\r"
    "Измените высоту в интервале 300 мм - 2300 мм");
// Latin "c" before "верхним", and "для для", as the window has always shown them.
const QString msgHeightClamps = QStringLiteral(
    "Неправильно задана высота для комплекта c верхним и нижним прижимами!\r"
    "Измените высоту в интервале 440 мм - 2300 мм");
const QString msgWidthClamps = QStringLiteral(
    "Неправильно задана ширина для для комплекта c верхним и нижним прижимами!\r"
    "Измените ширину в интервале 650 мм - 1300 мм");
const QString msgBlocker = QStringLiteral("Блокиратор не применим к данной комплектации");

} // namespace

// ---------------------------------------------------------------- catalogue

TEST(TurnCatalogue, LookAlikeLettersAndDefaults)
{
    TurnKit k;
    const lir::PartsTable cat = k.catalogue();
    ASSERT_EQ(cat.size(), 33);
    // A calculation that rewrites texts of many rows leaves the catalogue as it was.
    calculate(k, Input{.complekt = 1, .ffh = 1000, .ffb = 800, .centre = false, .gh = 280, .profil = 1, .pol = 1});
    ASSERT_FALSE(k.lastCalculationFailed());
    EXPECT_EQ(k.parts(), cat);
    // Latin B and H where the catalogue has them, Cyrillic В in the upper caps.
    EXPECT_EQ(cat[15].Designation, QLatin1String("6742.08.00-B"));
    for (int r = 31; r <= 33; ++r)
        EXPECT_TRUE(cat[r - 1].Name.endsWith(QLatin1String("H") + QString::number(r - 30))) << r;
    EXPECT_EQ(cat[28].Name, QStringLiteral("Накладка декор.\u04121"));
    EXPECT_EQ(cat[21].Name, QStringLiteral("Блокиратор "));
    for (const lir::TMyLIR& line : cat)
        EXPECT_EQ(line.Quantity, 0);
    const lir::TMyLIR& bottomSashHinge = cat[17];
    EXPECT_EQ(bottomSashHinge.Screws25, 0);
    EXPECT_EQ(bottomSashHinge.Screws40, 3);
}

// ---------------------------------------------------------------- worked examples

TEST(TurnRules, StandardPvcKitWithoutClamps)
{
    TurnKit k;
    Input in{.ffh = 400, .ffb = 500};
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_EQ(k.gh(), 200);
    EXPECT_EQ(k.lirlText(), QStringLiteral("ЛИР-6741-01МR100"));
    EXPECT_EQ(k.KitDesignation, k.lirlText());
    const std::vector<Row> expected = {
        R({u"6742.50.00-01", u"Засов поворотный 300", u"300-500", u"1", u"4", u""}),
        R({u"0483.00.01-11", u"Планка запорная", u"009911", u"2", u"2", u""}),
        R({u"6742.08.00-50R", u"Петля на створке верхняя М", u"20-13", u"1", u"4", u""}),
        R({u"6742.09.00-00", u"Петля верхняя на раме М", u"09.00", u"1", u"", u"4"}),
        R({u"6742.10.00-00", u"Петля нижняя на створке М", u"10.00", u"1", u"", u"3"}),
        R({u"6742.11.00-00", u"Петля нижняя на раме М", u"11.00", u"1", u"", u"4"}),
        R({u"6742.00.05", u"Накладка декор.В1", u"-", u"1", u"", u""}),
        R({u"6742.00.06", u"Накладка декор.В2", u"-", u"1", u"", u""}),
        R({u"6742.00.07", u"Накладка декор.H1", u"-", u"1", u"", u""}),
        R({u"6742.00.08", u"Накладка декор.H2", u"-", u"1", u"", u""}),
        R({u"6742.00.09", u"Накладка декор.H3", u"-", u"1", u"", u""}),
        R({u"", u"Общее кол-во шурупов(4*25)", u"", u"10", u"", u""}),
        R({u"", u"Общее кол-во шурупов(4*40)", u"", u"11", u"", u""}),
    };
    EXPECT_EQ(grid(k), expected);
    EXPECT_EQ(k.LineCount, 11);
    EXPECT_EQ(k.LastFFH, 400);
    EXPECT_EQ(k.LastFFB, 500);
    EXPECT_EQ(k.LastGH, 200);

    // Ten kits with the 1938.00 handle: the handle line sits between hinges and caps.
    in.count = 10;
    in.handle = true;
    in.tip = 1;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    const std::vector<Row> rows = grid(k);
    ASSERT_EQ(rows.size(), 14u);
    EXPECT_EQ(rows[0], R({u"6742.50.00-01", u"Засов поворотный 300", u"300-500", u"10", u"40", u""}));
    EXPECT_EQ(rows[5], R({u"6742.11.00-00", u"Петля нижняя на раме М", u"11.00", u"10", u"", u"40"}));
    EXPECT_EQ(rows[6], R({u"1938.00-02", u"Ручка оконная", u"-", u"10", u"", u""}));
    EXPECT_EQ(rows[7][0], QLatin1String("6742.00.05"));
    EXPECT_EQ(rows[7][3], QLatin1String("10"));
    EXPECT_EQ(rows[12][3], QLatin1String("100"));
    EXPECT_EQ(rows[13][3], QLatin1String("110"));
}

TEST(TurnRules, WoodenKitWithBlocker)
{
    TurnKit k;
    Input in{.ffh = 600, .ffb = 500, .profil = 1, .rama = 0, .pol = 1, .blocker = true};
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_EQ(k.lirlText(), QStringLiteral("ЛИР-6741-02ДМL"));
    const std::vector<Row> rows = grid(k);
    auto find = [&](const QString& d) -> Row {
        for (const Row& r : rows)
            if (r[0] == d)
                return r;
        return {};
    };
    EXPECT_EQ(find(QStringLiteral("6742.08.00-20L")),
              R({u"6742.08.00-20L", u"Петля на створке верхняя М", u"18-9", u"1", u"4", u""}));
    EXPECT_EQ(find(QStringLiteral("6742.09.00-20")),
              R({u"6742.09.00-20", u"Петля верхняя на раме ДМ", u"12/18", u"1", u"", u"4"}));
    EXPECT_EQ(find(QStringLiteral("6742.10.00-20L")),
              R({u"6742.10.00-20L", u"Петля нижняя на створке ДМ", u"12/18-9", u"1", u"", u"3"}));
    EXPECT_EQ(find(QStringLiteral("6742.11.00-20L")),
              R({u"6742.11.00-20L", u"Петля нижняя на раме ДМ", u"12/18", u"1", u"", u"4"}));
    EXPECT_EQ(find(QStringLiteral("0483.00.01-20")),
              R({u"0483.00.01-20", u"Планка запорная", u"009920", u"2", u"2", u""}));
    EXPECT_EQ(find(QStringLiteral("6742.20.00")), R({u"6742.20.00", u"Блокиратор ", u"20.00", u"1", u"", u""}));
    EXPECT_EQ(find(QStringLiteral("6742.21.00-20")),
              R({u"6742.21.00-20", u"Упор блокиратора", u"012120", u"1", u"2", u""}));
    EXPECT_FALSE(find(QStringLiteral("6742.00.05-20")).empty());
    EXPECT_FALSE(find(QStringLiteral("6742.00.07-20L")).empty());
    EXPECT_FALSE(find(QStringLiteral("6742.00.06")).empty());

    // Without the blocker a wooden sash has none, unlike the PVC kit 02.
    in.blocker = false;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(k, {{u"6742.20.00", 0}}));
    in.profil = 0;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(k, {{u"6742.20.00", 1}}));
}

TEST(TurnRules, OffCentreHandleRebuildsClampKit)
{
    TurnKit k;
    Input in{.complekt = 1, .ffh = 1000, .ffb = 800, .centre = false, .gh = 280};
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_EQ(k.lirlText(), QStringLiteral("Нестандартный"));
    const std::vector<Row> expected = {
        R({u"6742.01.00", u"Засов 440", u"440-620", u"1", u"", u""}),
        R({u"6742.02.00", u"Угловой переключатель", u"-", u"2", u"8", u""}),
        R({u"6742.03.00", u"Удлинитель 500", u"500", u"1", u"3", u""}),
        R({u"6742.03.00-01", u"Удлинитель 250", u"250", u"2", u"4", u""}),
        R({u"0483.00.01-11", u"Планка запорная", u"009911", u"5", u"5", u""}),
        R({u"6742.00.04", u"Ограничитель хода", u"00400", u"1", u"", u""}),
        R({u"6742.08.00-50R", u"Петля на створке верхняя М", u"20-13", u"1", u"4", u""}),
        R({u"6742.09.00-00", u"Петля верхняя на раме М", u"09.00", u"1", u"", u"4"}),
        R({u"6742.10.00-00", u"Петля нижняя на створке М", u"10.00", u"1", u"", u"3"}),
        R({u"6742.11.00-00", u"Петля нижняя на раме М", u"11.00", u"1", u"", u"4"}),
        R({u"6742.00.10", u"Прижим средний скрытый", u"01000", u"1", u"1", u""}),
        R({u"6742.00.11-11", u"Зацеп прижима среднего", u"01111", u"1", u"2", u""}),
        R({u"6742.20.00", u"Блокиратор ", u"20.00", u"1", u"", u""}),
        R({u"6742.21.00-10", u"Упор блокиратора", u"21.10", u"1", u"2", u""}),
        R({u"6742.00.05", u"Накладка декор.В1", u"-", u"1", u"", u""}),
        R({u"6742.00.06", u"Накладка декор.В2", u"-", u"1", u"", u""}),
        R({u"6742.00.07", u"Накладка декор.H1", u"-", u"1", u"", u""}),
        R({u"6742.00.08", u"Накладка декор.H2", u"-", u"1", u"", u""}),
        R({u"6742.00.09", u"Накладка декор.H3", u"-", u"1", u"", u""}),
        R({u"", u"Общее кол-во шурупов(4*25)", u"", u"29", u"", u""}),
        R({u"", u"Общее кол-во шурупов(4*40)", u"", u"11", u"", u""}),
    };
    EXPECT_EQ(grid(k), expected);
    EXPECT_FALSE(k.ruchkaVcentre());

    // B = 700 lies between the windows 470-560 and 720-810 of the 440 bolt.
    in.gh = 300;
    EXPECT_EQ(calculate(k, in), QStringList{msgHandleDistance});
    EXPECT_TRUE(grid(k).empty());
    EXPECT_EQ(k.parts(), k.catalogue());
    EXPECT_EQ(k.lirlText(), QStringLiteral("Нестандартный")); // the previous result stays
    EXPECT_EQ(k.LastGH, 300);

    // The shorter distance below every bolt.
    in.gh = 219;
    EXPECT_EQ(calculate(k, in), QStringList{msgHandle});
}

TEST(TurnRules, ClampWindowsAndStrikers)
{
    TurnKit k;
    // Above 900 mm: two Удлинитель 500 instead of the 250s and strikers.
    Input in{.complekt = 1, .ffb = 1000, .centre = false};

    // A = 400, B = 650: the first window of the 800 bolt, no extension.
    in.ffh = 1050;
    in.gh = 400;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(
        k, {{u"6742.01.00-02", 1}, {u"6742.03.00", 2}, {u"6742.03.00-01", 0}, {u"0483.00.01-11", 1 + 2 + 2}}));

    // B = 651: one window further, one Удлинитель 250.
    in.ffh = 1051;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(k, {{u"6742.03.00-01", 1}}));

    // A = 1000 (901-1150): 800 bolt with two Удлинитель 500 of its own, B = 1300 in k = 1.
    in.ffh = 2300;
    in.gh = 1000;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(
        k, {{u"6742.01.00-02", 1}, {u"6742.03.00", 4}, {u"6742.03.00-01", 1}, {u"0483.00.01-11", 1 + 2 + 4}}));

    // A = 700 (1300 bolt), B = 1600 in window k = 3 (1401-1650): one 500 and one 250;
    // the strikers count the 1300 bolt twice.
    in.gh = 700;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(
        k, {{u"6742.01.00-03", 1}, {u"6742.03.00", 2 + 1}, {u"6742.03.00-01", 1}, {u"0483.00.01-11", 2 + 2 + 3}}));

    // The handle measured from the other end gives the same kit.
    in.gh = 1600;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(k, {{u"6742.01.00-03", 1}, {u"0483.00.01-11", 7}}));
}

TEST(TurnRules, HandleBandsWithoutClamps)
{
    TurnKit k;
    Input in{.ffh = 1100, .ffb = 600, .centre = false, .gh = 450};
    EXPECT_EQ(calculate(k, in), QStringList{msgHandle});
    EXPECT_TRUE(grid(k).empty());
    EXPECT_EQ(k.LastGH, 450);
    in.gh = 520;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_EQ(k.lirlText(), QStringLiteral("Нестандартный"));
    EXPECT_TRUE(showsQuantities(k, {{u"6742.50.00-04", 1}}));
    EXPECT_FALSE(k.ruchkaVcentre());
    // Exactly half: the box is checked and the standard kit results.
    in.gh = 550;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(k.ruchkaVcentre());
    EXPECT_FALSE(k.ghEnabled());
    EXPECT_EQ(k.lirlText(), QStringLiteral("ЛИР-6741-04МR100"));

    in.ffh = 1000;
    in.gh = 500;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(k.ruchkaVcentre());
    EXPECT_EQ(k.lirlText(), QStringLiteral("ЛИР-6741-03МR100"));

    // Half of 901 is 450.5: the band 350.5 .. 550.5 takes 351 to 550.
    in.ffh = 901;
    for (int g : {350, 351, 550, 551}) {
        in.gh = g;
        const QStringList shown = calculate(k, in);
        EXPECT_EQ(shown.isEmpty(), g == 351 || g == 550) << g;
    }
}

TEST(TurnRules, OddHeightCentreDiffersBetweenVariants)
{
    TurnKit k;
    Input in{.ffh = 1001, .ffb = 700, .centre = false, .gh = 500};
    // Without clamps 500 is not half of 1001; the band 500 .. 501 takes it.
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_FALSE(k.ruchkaVcentre());
    EXPECT_EQ(k.lirlText(), QStringLiteral("Нестандартный"));
    // With clamps 500 is the rounded half: centred, standard kit 12.
    in.complekt = 1;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(k.ruchkaVcentre());
    EXPECT_EQ(k.lirlText(), QStringLiteral("ЛИР-6741-12МR100"));
    EXPECT_EQ(k.gh(), 500);
}

TEST(TurnRules, SizeMessages)
{
    TurnKit k;
    Input in{.ffh = 2500, .ffb = 900};
    EXPECT_EQ(calculate(k, in), QStringList{msgWidthNoClamps});
    in.ffb = 800;
    EXPECT_EQ(calculate(k, in), QStringList{msgHeightNoClamps});
    in.ffh = 299;
    EXPECT_EQ(calculate(k, in), QStringList{msgHeightNoClamps});

    in.complekt = 1;
    in.ffh = 300;
    in.ffb = 600;
    const QStringList shown = calculate(k, in);
    EXPECT_EQ(shown, (QStringList{msgHeightClamps, msgWidthClamps}));
    // The "c" before "верхним" is the Latin letter in both messages as shown.
    for (const QString& m : shown)
        EXPECT_EQ(m.at(m.indexOf(QStringLiteral(" верхним")) - 1), QLatin1Char('c')) << m.toStdString();

    in.ffh = 2300;
    in.ffb = 1300;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_EQ(k.lirlText(), QStringLiteral("ЛИР-6741-24МR100"));
    in.ffb = 1301;
    EXPECT_EQ(calculate(k, in), QStringList{msgWidthClamps});
    in.ffb = 1300;
    in.ffh = 2301;
    EXPECT_EQ(calculate(k, in), QStringList{msgHeightClamps});

    in.complekt = 0;
    in.ffb = 800;
    in.ffh = 2300;
    in.weight = 1;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_EQ(k.lirlText(), QStringLiteral("ЛИР-6741-06МR120"));
    EXPECT_TRUE(showsQuantities(k, {{u"6742.09.00-01", 1}}));
}

TEST(TurnRules, OptionChecksUncheckRefusedBoxes)
{
    TurnKit k;
    Input in{.complekt = 1, .ffh = 1000, .ffb = 800, .balcony = true}; // kit 12
    EXPECT_EQ(calculate(k, in), QStringList{msgBalcony});
    EXPECT_FALSE(k.balkonnayaZaschelka());
    EXPECT_TRUE(grid(k).empty());
    EXPECT_EQ(k.parts(), k.catalogue());

    in.ffh = 1900; // kit 14 takes the latch and two shims
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_EQ(k.lirlText(), QStringLiteral("ЛИР-6741-14МR100"));
    EXPECT_TRUE(showsQuantities(k, {{u"6742.23.00", 1}, {u"6742.00.14-12", 2}}));

    in.balcony = false;
    in.vent = true;
    for (int ffb : {800, 1000}) { // kits 10 and 20 carry the 440 bolt
        in.ffh = 500;
        in.ffb = ffb;
        EXPECT_EQ(calculate(k, in), QStringList{msgVentilator}) << ffb;
        EXPECT_FALSE(k.provetrivatel());
        in.vent = true;
    }

    // A wooden kit 01 has no room for the blocker.
    Input wood{.ffh = 400, .ffb = 500, .profil = 1, .balcony = true, .blocker = true};
    EXPECT_EQ(calculate(k, wood), (QStringList{msgBalcony, msgBlocker}));
    EXPECT_FALSE(k.blokirator());
    EXPECT_FALSE(k.balkonnayaZaschelka());
    wood.blocker = false;
    wood.balcony = false;
    EXPECT_TRUE(calculate(k, wood).isEmpty());
}

TEST(TurnRules, FailedSizeCheckMatchesThePreviousKit)
{
    TurnKit k;
    Input in{.complekt = 1, .ffh = 500, .ffb = 800}; // kit 10
    EXPECT_TRUE(calculate(k, in).isEmpty());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6741-10МR100"));

    in.ffb = 1400;
    in.vent = true;
    EXPECT_EQ(calculate(k, in), (QStringList{msgWidthClamps, msgVentilator}));
    EXPECT_FALSE(k.provetrivatel());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6741-10МR100"));
    EXPECT_EQ(k.LastFFB, 800);
    EXPECT_EQ(k.lirlText(), QStringLiteral("ЛИР-6741-10МR100"));
    EXPECT_EQ(k.parts(), k.catalogue());

    // Another side letter does not match the kept designation.
    in.pol = 1;
    in.vent = true;
    EXPECT_EQ(calculate(k, in), QStringList{msgWidthClamps});
    EXPECT_TRUE(k.provetrivatel());
}

TEST(TurnRules, BadHeightWithGoodWidthMatchesNoKit)
{
    TurnKit k;
    Input in{.complekt = 1, .ffh = 500, .ffb = 800};
    EXPECT_TRUE(calculate(k, in).isEmpty());
    in.ffh = 2400;
    in.vent = true;
    EXPECT_EQ(calculate(k, in), QStringList{msgHeightClamps});
    EXPECT_TRUE(k.provetrivatel());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6741-10МR100"));
}

TEST(TurnRules, WoodenLetterOnlyOnANewDesignation)
{
    TurnKit k;
    Input in{.ffh = 600, .ffb = 500, .profil = 1, .pol = 1};
    EXPECT_TRUE(calculate(k, in).isEmpty());
    in.ffb = 900;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(calculate(k, in), QStringList{msgWidthNoClamps});
        EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6741-02ДМL"));
    }
    in.ffb = 500;
    in.centre = false;
    in.gh = 280;
    EXPECT_TRUE(calculate(k, in).isEmpty());
    in.ffb = 900;
    EXPECT_EQ(calculate(k, in), QStringList{msgWidthNoClamps});
    EXPECT_EQ(k.KitDesignation, QStringLiteral("Нестандартный"));
}

TEST(TurnRules, TextsByProfileSystem)
{
    TurnKit k;
    Input in{.ffh = 1500, .ffb = 700, .handle = true};
    for (const QString& name : lir::calctexts::nazvTurn) {
        in.nazv = name;
        ASSERT_TRUE(calculate(k, in).isEmpty()) << name.toStdString();
        // Every name has its own striker, keepers and shim.
        EXPECT_TRUE(showsQuantities(k, {{u"0483.00.01", 0}, {u"6742.00.11", 0}})) << name.toStdString();
    }
    in.nazv = QStringLiteral("KBE Expert");
    ASSERT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(k, {{u"0317.00-03", 1}, {u"0483.00.01-12", 4}}));
    in.nazv = QStringLiteral("Thyssen");
    in.pol = 1;
    ASSERT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(k, {{u"0317.00-03", 1}, {u"6742.08.00-60L", 1}, {u"6742.00.11-14", 2}}));
    in.nazv = QStringLiteral("KBE AD");
    ASSERT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(k, {{u"0317.00-01", 1}, {u"6742.08.00-40L", 1}}));

    // The wooden rebate: ventilator and middle clamp texts too.
    in.profil = 1;
    in.rama = 1;
    in.vent = true;
    ASSERT_TRUE(calculate(k, in).isEmpty());
    EXPECT_TRUE(showsQuantities(
        k, {{u"6742.22.00-20", 1}, {u"6742.00.03-21", 1}, {u"6742.00.10-20", 2}, {u"0483.00.01-21", 4}}));
}

TEST(TurnRules, LargeCountDoesNotWrap)
{
    TurnKit k;
    Input in{.ffh = 2000, .ffb = 800, .count = 100000};
    ASSERT_TRUE(calculate(k, in).isEmpty());
    const std::vector<Row> rows = grid(k);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], R({u"6742.50.00-06", u"Засов поворотный 1800", u"1801-2300", u"100000", u"1200000", u""}));
    // 12 + 4·1 + 4 + 2·1 + 2·2 + 1·2 screws 4×25 per kit.
    EXPECT_EQ(rows[rows.size() - 2][3], QString::number(2800000));
}

// ---------------------------------------------------------------- sweep

namespace {

// Kit number from the size classes, 0 when the sizes are refused.
int expectedKit(int complekt, int ffh, int ffb)
{
    if (complekt == 0) {
        if (ffb < 200 || ffb > 800)
            return 0;
        const int tops[] = {500, 700, 1000, 1400, 1800, 2300};
        if (ffh < 300)
            return 0;
        for (int i = 0; i < 6; ++i)
            if (ffh <= tops[i])
                return i + 1;
        return 0;
    }
    const int first = ffb >= 650 && ffb <= 900 ? 1 : (ffb >= 901 && ffb <= 1300 ? 2 : 0);
    const int tops[] = {620, 800, 1300, 1800, 2300};
    int d = -1;
    if (ffh >= 440)
        for (int i = 0; i < 5 && d < 0; ++i)
            if (ffh <= tops[i])
                d = i;
    return first == 0 || d < 0 ? 0 : 10 * first + d;
}

void checkInvariants(const TurnKit& k, const Input& in, const QStringList& shown, int lastSentinel)
{
    const std::string where = "complekt " + std::to_string(in.complekt) + " profil " + std::to_string(in.profil)
                              + " FFH " + std::to_string(in.ffh) + " FFB " + std::to_string(in.ffb) + " GH "
                              + std::to_string(in.centre ? -1 : in.gh);
    SCOPED_TRACE(where);

    ASSERT_EQ(k.parts(), k.catalogue());
    for (const lir::TMyLIR& line : k.parts())
        ASSERT_EQ(line.Quantity, 0);

    const int kit = expectedKit(in.complekt, in.ffh, in.ffb);
    const bool success = !k.lastCalculationFailed();
    EXPECT_EQ(success, shown.isEmpty());
    if (kit == 0) {
        EXPECT_FALSE(success);
        EXPECT_EQ(k.LastFFH, lastSentinel);
    } else {
        EXPECT_EQ(k.LastFFH, in.ffh);
        EXPECT_EQ(k.LastFFB, in.ffb);
    }
    if (in.centre && kit != 0) {
        EXPECT_TRUE(success);
    }

    const std::vector<Row> rows = grid(k);
    if (!success) {
        EXPECT_TRUE(rows.empty());
        return;
    }

    // Designation: the standard kit when centred, else the non-standard name.
    const QString number = QStringLiteral("%1").arg(kit, 2, 10, QLatin1Char('0'));
    const QString standard = QStringLiteral("ЛИР-6741-") + number + (in.profil == 1 ? QStringLiteral("ДМR")
                                                                                      : QStringLiteral("МR100"));
    EXPECT_EQ(k.lirlText(), k.ruchkaVcentre() ? standard : QStringLiteral("Нестандартный"));

    ASSERT_GE(int(rows.size()), k.LineCount);
    long long s25 = 0;
    long long s40 = 0;
    int turnBolts = 0;
    int bolts = 0;
    for (int r = 0; r < k.LineCount; ++r) {
        const Row& row = rows[size_t(r)];
        EXPECT_FALSE(row[0].isEmpty());
        EXPECT_FALSE(row[0].contains(QLatin1String("6742.08.00-B")));
        EXPECT_FALSE(row[1].isEmpty());
        EXPECT_GT(row[3].toInt(), 0);
        s25 += row[4].toLongLong();
        s40 += row[5].toLongLong();
        if (row[0].startsWith(QLatin1String("6742.50.00")))
            ++turnBolts;
        if (row[0].startsWith(QLatin1String("6742.01.00")))
            ++bolts;
    }
    auto total = [&](size_t r) { return r < rows.size() ? rows[r][3].toLongLong() : 0LL; };
    EXPECT_EQ(total(size_t(k.LineCount)), s25);
    EXPECT_EQ(total(size_t(k.LineCount) + 1), s40);
    // One bolt locks the sash: a turn bolt without clamps, a bolt with them.
    EXPECT_EQ(turnBolts, in.complekt == 0 ? 1 : 0);
    EXPECT_EQ(bolts, in.complekt == 0 ? 0 : 1);

    // The quantities are those of the standard kit; a wooden sash has the
    // blocker as an option only. An off-centre handle changes nothing but the
    // designation without clamps; with clamps the locking is rebuilt around it.
    std::vector<int> q = kittables::turnKit(kit);
    if (in.profil == 1)
        q[21] = q[22] = 0;
    const std::vector<int> got = kittables::rowQuantities(k, kittables::turnParts);
    if (in.complekt == 1 && !k.ruchkaVcentre()) {
        const int a = std::min(in.gh, in.ffh - in.gh);
        const int b = std::max(in.gh, in.ffh - in.gh);
        // The shorter distance picks the bolt (rows 7 to 10) and the first window of the longer one.
        const struct { int aMax, bolt, lo, hi; } classes[] = {
            {310, 7, 220, 310}, {399, 8, 310, 400}, {650, 9, 400, 650}, {900, 10, 651, 900}, {1150, 9, 901, 1150}};
        const auto* cls = std::find_if(std::begin(classes), std::end(classes), [a](const auto& c) { return a <= c.aMax; });
        ASSERT_NE(cls, std::end(classes));
        for (int r = 1; r <= 10; ++r)
            q[size_t(r - 1)] = r == cls->bolt ? 1 : 0;
        // The width brings two Удлинитель 250 and two strikers, or two Удлинитель 500;
        // the longer distance is bridged by the fewest 250 mm steps, k of them.
        const bool narrow = in.ffb <= 900;
        const int base500 = (narrow ? 0 : 2) + (a >= 901 ? 2 : 0);
        const int base250 = narrow ? 2 : 0;
        const int steps = 2 * (got[11] - base500) + (got[12] - base250);
        EXPECT_EQ(got[12] - base250, steps % 2);
        EXPECT_GE(b - 250 * steps, cls->lo);
        EXPECT_LE(b - 250 * steps, cls->hi);
        if (steps > 0) {
            EXPECT_GT(b - 250 * (steps - 1), cls->hi);
        }
        q[11] = got[11];
        q[12] = got[12];
        // Strikers for the bolts, switches and extensions.
        q[13] = (narrow ? 2 : 0) + q[8] + 2 * q[9] + q[10] + q[11];
    }
    EXPECT_EQ(got, q);
}

} // namespace

TEST(TurnSweep, SizesAcrossClassBounds)
{
    const int heights[] = {0,    299,  300,  301,  439,  440,  441,  500,  501,  620,  621,  700,
                           701,  800,  801,  900,  901,  1000, 1001, 1051, 1200, 1201, 1300, 1301,
                           1400, 1401, 1600, 1601, 1800, 1801, 2000, 2001, 2299, 2300, 2301};
    const int widths[] = {0, 199, 200, 201, 649, 650, 651, 799, 800, 801, 899, 900, 901, 1299, 1300, 1301};
    const int handleOffsets[] = {0, 149, 150, 219, 220, 310, 311, 399, 400, 650, 651, 900, 901, 1150, 1151};
    TurnKit k;
    int calculations = 0;
    for (int complekt : {0, 1}) {
        for (int profil : {0, 1}) {
            for (int ffh : heights) {
                for (int ffb : widths) {
                    std::vector<std::pair<bool, int>> handles = {{true, 0}};
                    for (int off : handleOffsets)
                        handles.emplace_back(false, off);
                    handles.emplace_back(false, ffh / 2 - 100);
                    handles.emplace_back(false, (ffh + 1) / 2 + 100);
                    handles.emplace_back(false, ffh - 150);
                    for (auto [centre, g] : handles) {
                        Input in{.complekt = complekt, .ffh = ffh, .ffb = ffb, .centre = centre, .gh = g, .profil = profil};
                        apply(k, in);
                        k.LastFFH = -1;
                        lir::test::recorder().clear();
                        k.RashetButtonClick();
                        ++calculations;
                        checkInvariants(k, in, lir::test::recorder().errors(), -1);
                        if (::testing::Test::HasFailure())
                            return;
                    }
                }
            }
        }
    }
    EXPECT_GT(calculations, 20000);
}
