#include "core/calc/calctexts.h"
#include "core/calc/tiltkit.h"
#include "support/kitinputs.h"
#include "support/testsupport.h"

#include <vector>

using lir::GridRow;
using lir::TiltKit;
namespace t = lir::calctexts;

namespace {

using Inputs = lir::test::TiltInputs;
using namespace lir::test;

// The messages of the tilt rules. In the width message of the kits with side
// presses the "c" before "боковыми" and the "y" of "ширинy" are Latin letters.
const QString msgWidthWithoutPresses = QStringLiteral("Неправильно задана ширина для комплекта без боковых прижимов!\r"
                                                      "Измените ширину в интервале 300 мм - 2300 мм");
const QString msgWidthWithPresses = QStringLiteral("Неправильно задана ширина для комплекта c боковыми прижимами!\r"
                                                   "Измените ширинy в интервале 440 мм - 2300 мм");
const QString msgHeight = QStringLiteral("Неправильно задана высота!\r"
                                         "Измените высоту в интервале 300 мм - 1300 мм");

// The kit line of grid row r that carries the given name, or null.
const GridRow* lineNamed(const TiltKit& k, const QString& name)
{
    for (int r = 1; r <= k.LineCount; ++r)
        if (k.gridCell(r, 1) == name)
            return &k.gridRow(r);
    return nullptr;
}

} // namespace

TEST(TiltRules, WorkedExample)
{
    TiltKit k;
    EXPECT_TRUE(run(k, Inputs{}).isEmpty());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6741-52М100"));
    EXPECT_EQ(k.lirlText(), k.KitDesignation);
    const std::vector<GridRow> expected = {
        GridRow{{u"6742.50.00-02"_qs, u"Засов поворотный 500"_qs, u"501-700"_qs, u"1"_qs, u"6"_qs, {}}},
        GridRow{{u"0483.00.01-11"_qs, u"Планка запорная"_qs, u"009911"_qs, u"2"_qs, u"2"_qs, {}}},
        GridRow{{u"6742.15.00-50"_qs, u"Петля откидная"_qs, u"011500 20-13"_qs, u"2"_qs, u"8"_qs, {}}},
        GridRow{{u"6742.09.00-00"_qs, u"Петля верхняя на раме М"_qs, u"09.00"_qs, u"2"_qs, {}, u"8"_qs}},
        GridRow{{u"6742.14.00"_qs, u"Ножницы фрамужные"_qs, u"011400"_qs, u"1"_qs, u"2"_qs, {}}},
        GridRow{{u"6742.00.14-12"_qs, u"Подкладка"_qs, u"001412"_qs, u"1"_qs, {}, {}}},
        GridRow{{u"6742.00.05"_qs, u"Накладка декор.В1"_qs, u"-"_qs, u"2"_qs, {}, {}}},
        GridRow{{u"6742.00.06"_qs, u"Накладка декор.В2"_qs, u"-"_qs, u"2"_qs, {}, {}}},
        GridRow{{{}, u"Общее кол-во шурупов(4*25)"_qs, {}, u"18"_qs, {}, {}}},
        GridRow{{{}, u"Общее кол-во шурупов(4*40)"_qs, {}, u"8"_qs, {}, {}}},
    };
    EXPECT_EQ(gridRows(k), expected);
    EXPECT_EQ(k.LineCount, 8);
    EXPECT_EQ(k.KitLines.at(3).Designation, QStringLiteral("6742.09.00-00"));
    EXPECT_EQ(k.KitLines.at(3).Screws40, 8);
    EXPECT_EQ(k.LastFFH, 700);
    EXPECT_EQ(k.LastFFB, 600);
    EXPECT_EQ(k.LastGH, 300);

    // Five kits: every quantity and screw number is a line total.
    k.setKolKomlektov(5);
    calculate(k);
    EXPECT_EQ(k.gridCell(1, 3), QStringLiteral("5"));
    EXPECT_EQ(k.gridCell(1, 4), QStringLiteral("30"));
    EXPECT_EQ(k.gridCell(3, 3), QStringLiteral("10"));
    EXPECT_EQ(k.gridCell(3, 4), QStringLiteral("40"));
    EXPECT_EQ(k.gridCell(4, 3), QStringLiteral("10"));
    EXPECT_EQ(k.gridCell(4, 5), QStringLiteral("40"));
    EXPECT_EQ(k.gridCell(9, 3), QStringLiteral("90"));
    EXPECT_EQ(k.gridCell(10, 3), QStringLiteral("40"));
}

TEST(TiltRules, MessagesKeepTheirLetters)
{
    // The four messages as the calculator shows them.
    TiltKit k;
    Inputs in;
    in.w = 299; // band without side presses
    const QStringList widthWithout = run(k, in);
    in.h = 1000; // band with side presses
    const QStringList widthWith = run(k, in);
    in.h = 1301;
    const QStringList height = run(k, in);
    in.h = 1000;
    in.w = 700; // kit 61
    in.vent = true;
    const QStringList ventilator = run(k, in);
    ASSERT_EQ(widthWithout, QStringList{msgWidthWithoutPresses});
    ASSERT_EQ(widthWith, QStringList{msgWidthWithPresses});
    ASSERT_EQ(height, QStringList{msgHeight});
    ASSERT_EQ(ventilator, QStringList{msgVentilator});

    const QStringList two = widthWithout + widthWith + height;
    for (const QString& m : two) {
        EXPECT_EQ(m.count(QChar(u'\r')), 1) << m.toStdString();
        EXPECT_FALSE(m.contains(QChar(u'\n')));
    }
    // The only Latin letters are the "c" of "c боковыми" and the "y" of "ширинy".
    QString latin;
    for (const QString& m : two + ventilator)
        for (QChar c : m)
            if (c.isLetter() && c.unicode() < 128)
                latin += c;
    EXPECT_EQ(latin, QStringLiteral("cy"));
}

// Every bound of both bands, PVC of both weights and wood, with the options
// rotating through their combinations; each case on a fresh window.
TEST(TiltRules, SweepOverBandsAndWidths)
{
    struct Kit
    {
        int hMin, hMax, wMin, wMax;
        const char16_t* code;
        const char16_t* bolt;
        int scissors; // Ножницы фрамужные (and Подкладка) in the standard kit
        // Over the rows the options leave alone (all but 17 to 21), per kit:
        // pieces, 4x25 and 4x40 screws, and the pieces weighted by row number.
        int pieces, s25, s40, weighted;
    };
    const Kit kits[] = {
        {300, 800, 300, 500, u"ЛИР-6741-51М", u"6742.50.00-01", 2, 11, 14, 8, 179},
        {300, 800, 501, 700, u"ЛИР-6741-52М", u"6742.50.00-02", 1, 11, 16, 8, 180},
        {300, 800, 701, 1000, u"ЛИР-6741-53М", u"6742.50.00-03", 1, 11, 16, 8, 181},
        {300, 800, 1001, 1400, u"ЛИР-6741-54М", u"6742.50.00-04", 1, 16, 23, 12, 271},
        {300, 800, 1401, 1800, u"ЛИР-6741-55М", u"6742.50.00-05", 2, 17, 26, 12, 285},
        {300, 800, 1801, 2300, u"ЛИР-6741-56М", u"6742.50.00-06", 2, 21, 32, 16, 362},
        {801, 1300, 440, 620, u"ЛИР-6741-60М", u"6742.01.00", 2, 18, 26, 8, 271},
        {801, 1300, 621, 800, u"ЛИР-6741-61М", u"6742.01.00-01", 1, 18, 29, 8, 272},
        {801, 1300, 801, 1300, u"ЛИР-6741-62М", u"6742.01.00-02", 1, 23, 35, 12, 362},
        {801, 1300, 1301, 1400, u"ЛИР-6741-63М", u"6742.01.00-03", 1, 24, 38, 12, 376},
        {801, 1300, 1401, 1800, u"ЛИР-6741-64М", u"6742.01.00-03", 2, 24, 38, 12, 376},
        {801, 1300, 1801, 2300, u"ЛИР-6741-65М", u"6742.01.00-02", 2, 31, 47, 16, 488},
    };
    const int heights[] = {299, 300, 800, 801, 1300, 1301};
    const int widths[] = {299, 300,  439,  440,  500,  501,  620,  621,  700,  701,  800,
                          801, 1000, 1001, 1300, 1301, 1400, 1401, 1800, 1801, 2300, 2301};
    const lir::PartsTable cat = TiltKit().catalogue();
    auto catalogueRowOf = [&cat](const QString& name) {
        for (int i = 0; i < cat.size(); ++i)
            if (cat[i].Name == name || (i == 15 && name == QStringLiteral("Петля верхняя на раме ДМ")))
                return i;
        return -1;
    };

    int cases = 0;
    for (int profile = 0; profile < 3; ++profile) {
        for (int h : heights) {
            for (int w : widths) {
                Inputs in{.h = h, .w = w};
                in.wood = profile == 2;
                in.weight = profile == 1 ? 1 : 0;
                in.handle = cases % 2;
                in.scissors = (cases / 2) % 2;
                in.vent = (cases / 4) % 2;
                in.count = cases % 3 == 0 ? 3 : 1;
                ++cases;
                SCOPED_TRACE(testing::Message()
                             << "H " << h << " W " << w << " profile " << profile << " case " << cases);
                TiltKit k;
                const QStringList messages = run(k, in);
                EXPECT_EQ(k.parts(), k.catalogue());

                const Kit* kit = nullptr;
                for (const Kit& c : kits)
                    if (h >= c.hMin && h <= c.hMax && w >= c.wMin && w <= c.wMax)
                        kit = &c;
                if (!kit) {
                    const QString expected = h < 300 || h > 1300 ? msgHeight
                                             : h <= 800          ? msgWidthWithoutPresses
                                                                 : msgWidthWithPresses;
                    EXPECT_EQ(messages, QStringList{expected});
                    EXPECT_TRUE(k.lastCalculationFailed());
                    EXPECT_TRUE(gridRows(k).empty());
                    EXPECT_EQ(k.LastFFH, 0);
                    EXPECT_EQ(k.LineCount, 0);
                    continue;
                }
                const QString code = QString::fromUtf16(kit->code);
                QString designation = code + (in.wood ? QString() : in.weight ? u"120"_qs : u"100"_qs);
                if (in.wood)
                    designation.insert(11, QChar(u'Д'));
                EXPECT_EQ(k.KitDesignation, designation);
                EXPECT_EQ(k.LastFFH, h);
                EXPECT_EQ(k.LastFFB, w);
                EXPECT_EQ(k.LastGH, k.gh());

                const bool refused = in.vent && (code.endsWith(u"60М") || code.endsWith(u"61М"));
                EXPECT_EQ(k.provetrivatel(), in.vent && !refused);
                if (refused) {
                    EXPECT_EQ(messages, QStringList{msgVentilator});
                    EXPECT_TRUE(gridRows(k).empty());
                    continue;
                }
                EXPECT_TRUE(messages.isEmpty()) << messages.join(u'|').toStdString();
                EXPECT_EQ(k.lirlText(), designation);

                long long sum25 = 0, sum40 = 0;
                int bolts = 0, previousRow = -1;
                int fixedPieces = 0, fixed25 = 0, fixed40 = 0, weighted = 0;
                for (int r = 1; r <= k.LineCount; ++r) {
                    const GridRow& g = k.gridRow(r);
                    const int cr = catalogueRowOf(g[1]);
                    ASSERT_GT(cr, previousRow) << "line " << r << " " << g[1].toStdString();
                    previousRow = cr;
                    const int qty = g[3].toInt();
                    EXPECT_GT(qty, 0);
                    if (cr != 19) {
                        EXPECT_TRUE(g[0].startsWith(cat[cr].Designation)) << g[0].toStdString();
                    }
                    EXPECT_EQ(g[4].toInt(), qty * cat[cr].Screws25);
                    EXPECT_EQ(g[5].toInt(), qty * cat[cr].Screws40);
                    EXPECT_EQ(g[4].isEmpty(), cat[cr].Screws25 == 0);
                    EXPECT_EQ(k.KitLines.at(r - 1).Designation, g[0]);
                    EXPECT_EQ(k.KitLines.at(r - 1).Quantity, qty);
                    sum25 += g[4].toInt();
                    sum40 += g[5].toInt();
                    if (cr < 16 || cr > 20) {
                        fixedPieces += qty;
                        fixed25 += g[4].toInt();
                        fixed40 += g[5].toInt();
                        weighted += qty * (cr + 1);
                    }
                    if (cr < 10) {
                        ++bolts;
                        EXPECT_EQ(g[0], QString::fromUtf16(kit->bolt));
                        EXPECT_EQ(qty, in.count);
                    }
                }
                EXPECT_EQ(bolts, 1);
                EXPECT_EQ(fixedPieces, kit->pieces * in.count);
                EXPECT_EQ(fixed25, kit->s25 * in.count);
                EXPECT_EQ(fixed40, kit->s40 * in.count);
                EXPECT_EQ(weighted, kit->weighted * in.count);
                const int t1 = k.LineCount + 1;
                EXPECT_EQ(k.gridCell(t1, 3), sum25 ? QString::number(sum25) : QString());
                EXPECT_EQ(k.gridCell(t1 + 1, 3), sum40 ? QString::number(sum40) : QString());
                EXPECT_LE(int(gridRows(k).size()), t1 + 1);

                const int scissors = in.scissors && kit->scissors == 1 ? 2 : kit->scissors;
                for (const char16_t* name : {u"Ножницы фрамужные", u"Подкладка"}) {
                    const GridRow* g = lineNamed(k, QString::fromUtf16(name));
                    ASSERT_TRUE(g);
                    EXPECT_EQ((*g)[3].toInt(), scissors * in.count);
                }
                EXPECT_EQ(lineNamed(k, u"Ручка оконная"_qs) != nullptr, in.handle);
                EXPECT_EQ(lineNamed(k, u"Проветриватель ступенчатый"_qs) != nullptr, in.vent);
                EXPECT_EQ(lineNamed(k, u"Зацеп проветривателя"_qs) != nullptr, in.vent);
            }
        }
    }
    EXPECT_EQ(cases, 3 * 6 * 22);
}

TEST(TiltRules, WoodenSash)
{
    TiltKit k;
    k.setRadioGroup1(1); // hidden for wood, must not give a weight text
    Inputs in{.h = 1000, .w = 1350, .wood = true, .handle = true, .vent = true};
    EXPECT_TRUE(run(k, in).isEmpty());
    EXPECT_EQ(k.lirlText(), QStringLiteral("ЛИР-6741-63ДМ"));
    auto expectLine = [&k](const char16_t* name, const char16_t* designation, const char16_t* marking) {
        const GridRow* g = lineNamed(k, QString::fromUtf16(name));
        ASSERT_TRUE(g) << QString::fromUtf16(name).toStdString();
        EXPECT_EQ((*g)[0], QString::fromUtf16(designation));
        EXPECT_EQ((*g)[2], QString::fromUtf16(marking));
    };
    expectLine(u"Петля верхняя на раме ДМ", u"6742.09.00-20", u"12/18");
    expectLine(u"Петля откидная", u"6742.15.00-20", u"011500 18-9");
    expectLine(u"Ручка оконная", u"0317.00-01", u"-");
    expectLine(u"Проветриватель ступенчатый", u"6742.22.00-20", u"012220");
    expectLine(u"Накладка декор.В1", u"6742.00.05-20", u"-");
    expectLine(u"Накладка декор.В2", u"6742.00.06", u"-");
    expectLine(u"Планка запорная", u"0483.00.01-20", u"009920");
    expectLine(u"Зацеп проветривателя", u"6742.00.03-20", u"000320");
    expectLine(u"Подкладка", u"6742.00.14-20", u"001420");

    k.setRamaType(1);
    calculate(k);
    expectLine(u"Планка запорная", u"0483.00.01-21", u"009921");
    expectLine(u"Зацеп проветривателя", u"6742.00.03-21", u"000321");
    expectLine(u"Подкладка", u"6742.00.14-21", u"001421");

    k.setRamaType(-1); // no rebate type chosen: the catalogue texts stay
    calculate(k);
    expectLine(u"Планка запорная", u"0483.00.01", u"-");
    expectLine(u"Подкладка", u"6742.00.14", u"-");
}

// Each name of this window's list, through its rebate system and its group.
TEST(TiltRules, TextsByProfileSystemName)
{
    struct Expect
    {
        const char16_t* nazv;
        const char16_t *hinge, *hingeMarking, *handle;
        const char16_t *planka, *plankaMarking, *zacep, *zacepMarking, *podkladka, *podkladkaMarking;
    };
    const Expect expected[] = {
        {u"ARtec PAD", u"-50", u"011500 20-13", u"-02", u"-11", u"009911", u"-01", u"00301", u"-12",
         u"001412"},
        {u"KBE AD", u"-40", u"011500 20-9", u"-01", u"-00", u"009900", u"-02", u"00302", u"-00", u"001400"},
        {u"Montblanc", u"-50", u"011500 20-13", u"-02", u"-10", u"009910", u"-01", u"00301", u"-10",
         u"001410"},
        {u"Plustec", u"-50", u"011500 20-13", u"-02", u"-11", u"009911", u"-01", u"00301", u"-12", u"001412"},
        {u"PROPLEX", u"-40", u"011500 20-9", u"-01", u"-00", u"009900", u"-02", u"00302", u"-00", u"001400"},
        {u"Rehau S730 AD", u"-50", u"011500 20-13", u"-02", u"-10", u"009910", u"-01", u"00301", u"-10",
         u"001410"},
        {u"Salamander", u"-50", u"011500 20-13", u"-02", u"-10", u"009910", u"-02", u"00302", u"-11",
         u"001411"},
        {u"Veka Softline AD", u"-40", u"011500 20-9", u"-01", u"-00", u"009900", u"-00", u"00300", u"-01",
         u"001401"},
        {u"Novotex", u"-40", u"011500 20-9", u"-01", u"-00", u"009900", u"-02", u"00302", u"-00", u"001400"},
        {u"Exprof", u"-40", u"011500 20-9", u"-01", u"-00", u"009900", u"-02", u"00302", u"-00", u"001400"},
        {u"Thyssen", u"-60", u"011500 21-13", u"-03", u"-14", u"009914", u"-14", u"000314", u"-14",
         u"001414"},
        {u"COK", u"-50", u"011500 20-13", u"-02", u"-10", u"009910", u"-02", u"00302", u"-13", u"001413"},
        {u"PLAFEN", u"-50", u"011500 20-13", u"-02", u"-12", u"009912", u"-02", u"00302", u"-15", u"001415"},
        {u"KBE Expert", u"-50", u"011500 20-13", u"-03", u"-12", u"009912", u"-02", u"00302", u"-15",
         u"001415"},
    };
    ASSERT_EQ(t::nazvTilt.size(), 14);
    TiltKit k;
    for (const Expect& e : expected) {
        SCOPED_TRACE(QString::fromUtf16(e.nazv).toStdString());
        Inputs in{.nazv = QString::fromUtf16(e.nazv), .handle = true, .tip = 1, .vent = true};
        EXPECT_TRUE(run(k, in).isEmpty());
        auto check = [&k](const char16_t* name, const QString& designation, const char16_t* marking) {
            const GridRow* g = lineNamed(k, QString::fromUtf16(name));
            ASSERT_TRUE(g);
            EXPECT_EQ((*g)[0], designation);
            EXPECT_EQ((*g)[2], QString::fromUtf16(marking));
        };
        auto s = [](const char16_t* p) { return QString::fromUtf16(p); };
        check(u"Петля откидная", u"6742.15.00"_qs + s(e.hinge), e.hingeMarking);
        check(u"Ручка оконная", u"1938.00"_qs + s(e.handle), u"-");
        check(u"Планка запорная", u"0483.00.01"_qs + s(e.planka), e.plankaMarking);
        check(u"Зацеп проветривателя", u"6742.00.03"_qs + s(e.zacep), e.zacepMarking);
        check(u"Подкладка", u"6742.00.14"_qs + s(e.podkladka), e.podkladkaMarking);
        check(u"Проветриватель ступенчатый", u"6742.22.00"_qs, u"12200");
    }
    // The heavy sash takes the other top hinge.
    k.setRadioGroup1(1);
    calculate(k);
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6741-52М120"));
    const GridRow* hinge = lineNamed(k, u"Петля верхняя на раме М"_qs);
    ASSERT_TRUE(hinge);
    EXPECT_EQ((*hinge)[0], QStringLiteral("6742.09.00-01"));
    EXPECT_EQ((*hinge)[2], QStringLiteral("09.01"));
}

// A bad size keeps the previous designation, so the previous kit comes back
// and meets the ventilator check.
TEST(TiltRules, PreviousKitAfterBadSize)
{
    TiltKit k;
    Inputs in{.h = 1000, .w = 500};
    ASSERT_TRUE(run(k, in).isEmpty());
    ASSERT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6741-60М100"));
    const std::vector<GridRow> kit60 = gridRows(k);

    in.h = 1400;
    in.vent = true;
    EXPECT_EQ(run(k, in), (QStringList{msgHeight, msgVentilator}));
    EXPECT_FALSE(k.provetrivatel());
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6741-60М100"));
    EXPECT_EQ(k.LastFFH, 1000); // only a valid size is recorded
    EXPECT_EQ(k.LineCount, int(kit60.size()) - 2);
    EXPECT_TRUE(gridRows(k).empty());
    EXPECT_EQ(k.parts(), k.catalogue());

    // The box stays unchecked: the next attempt reports the height only.
    EXPECT_EQ(calculate(k), QStringList{msgHeight});
    // Another weight does not match the kept designation.
    k.setProvetrivatel(true);
    k.setRadioGroup1(1);
    EXPECT_EQ(calculate(k), QStringList{msgHeight});
    EXPECT_TRUE(k.provetrivatel());

    // With a valid size again the ventilator is refused for kit 61 by itself.
    in.h = 1000;
    in.w = 700;
    in.weight = 1;
    EXPECT_EQ(run(k, in), QStringList{msgVentilator});
    EXPECT_EQ(k.LastFFB, 700);
    EXPECT_EQ(calculate(k), QStringList{});
    EXPECT_EQ(k.lirlText(), QStringLiteral("ЛИР-6741-61М120"));
}

TEST(TiltRules, WoodenDesignationSurvivesFailedAttempts)
{
    TiltKit k;
    Inputs in{.h = 1400, .wood = true};
    EXPECT_EQ(run(k, in), QStringList{msgHeight});
    EXPECT_EQ(k.KitDesignation, QString()); // nothing to mark as wooden yet

    in.h = 1000;
    in.w = 500;
    ASSERT_TRUE(run(k, in).isEmpty());
    in.h = 1400;
    apply(k, in);
    for (int attempt = 0; attempt < 3; ++attempt)
        EXPECT_EQ(calculate(k), QStringList{msgHeight});
    EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6741-60ДМ"));
    EXPECT_EQ(k.lirlText(), QStringLiteral("ЛИР-6741-60ДМ"));
}
