// Every standard kit of the three fitting systems, calculated at both corners
// of its size class, against the kit tables of the fitting catalogue
// (kittables.h): every line's name, quantity and screws, the designation, and
// which of the ventilator and the balcony latch the kit takes.
#include "kittables.h"

#include "support/kitinputs.h"

#include <functional>
#include <set>
#include <tuple>

using namespace kittables;

namespace {

// One kit line: name, quantity, screws 4×25 and 4×40 of the line.
using Line = std::tuple<QString, int, int, int>;

std::vector<Line> linesOf(const lir::KitCalculator& k)
{
    std::vector<Line> out;
    for (int i = 0; i < k.LineCount; ++i) {
        const lir::TMyLIR& l = k.KitLines.at(i);
        out.emplace_back(l.Name, l.Quantity, l.Screws25, l.Screws40);
    }
    return out;
}

// The lines of a kit with quantities q (per kit, rows from 1), count kits.
template <size_t N>
std::vector<Line> expectedLines(const std::array<Part, N>& parts, const std::vector<int>& q, int count,
                                const std::function<int(int row)>& screws25 = {})
{
    std::vector<Line> out;
    for (size_t r = 0; r < N; ++r) {
        if (q[r] == 0)
            continue;
        const int n = q[r] * count;
        const int s25 = screws25 ? screws25(int(r) + 1) : parts[r].screws25;
        out.emplace_back(QString::fromUtf16(parts[r].name), n, n * s25, n * parts[r].screws40);
    }
    return out;
}

using lir::test::calculate;
const QString& ventilatorRefused = lir::test::msgVentilator;
const QString& latchRefused = lir::test::msgBalcony;

enum class Option { None, Ventilator, Latch };

} // namespace

TEST(StandardKits, Turn)
{
    const Range noClampHeights[6] = {{300, 500}, {501, 700}, {701, 1000}, {1001, 1400}, {1401, 1800}, {1801, 2300}};
    const Range clampHeights[5] = {{440, 620}, {621, 800}, {801, 1300}, {1301, 1800}, {1801, 2300}};
    // Засов 440 and 620 refuse the ventilator; the latch fits the longest kits only.
    const std::set<int> ventilatorRefusedIn = {10, 11, 20, 21};
    const std::set<int> latchFits = {5, 6, 13, 14, 23, 24};
    lir::TurnKit k;
    for (int number : turnKitNumbers) {
        const bool clamps = number >= 10;
        const Range h = clamps ? clampHeights[number % 10] : noClampHeights[number - 1];
        const Range w = !clamps ? Range{200, 800} : number < 20 ? Range{650, 900} : Range{901, 1300};
        for (const bool upper : {false, true}) {
            const int count = upper ? 3 : 1;
            for (const Option option : {Option::None, Option::Ventilator, Option::Latch}) {
                SCOPED_TRACE(testing::Message() << "kit " << number << (upper ? " upper" : " lower") << " corner, option "
                                                << int(option));
                k.setComplekt(clamps ? 1 : 0);
                k.setFFH(upper ? h.hi : h.lo);
                k.setFFB(upper ? w.hi : w.lo);
                k.setRuchkaVcentre(true);
                k.setKolKomlektov(count);
                k.setProvetrivatel(option == Option::Ventilator);
                k.setBalkonnayaZaschelka(option == Option::Latch);
                const QStringList shown = calculate(k);

                std::vector<int> q = turnKit(number);
                if (option == Option::Ventilator) {
                    if (ventilatorRefusedIn.count(number)) {
                        EXPECT_EQ(shown, QStringList{ventilatorRefused});
                        EXPECT_FALSE(k.provetrivatel());
                        continue;
                    }
                    q[23] = q[24] = 1;
                }
                if (option == Option::Latch) {
                    if (!latchFits.count(number)) {
                        EXPECT_EQ(shown, QStringList{latchRefused});
                        EXPECT_FALSE(k.balkonnayaZaschelka());
                        continue;
                    }
                    q[26] = 1;
                    q[27] = 2;
                }
                EXPECT_TRUE(shown.isEmpty()) << shown.join(u'|').toStdString();
                EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6741-%1МR100").arg(number, 2, 10, QLatin1Char('0')));
                EXPECT_EQ(linesOf(k), expectedLines(turnParts, q, count));
            }
        }
    }
}

TEST(StandardKits, Tilt)
{
    lir::TiltKit k;
    for (const TiltKitRow& kit : tiltKits) {
        for (const bool upper : {false, true}) {
            const int count = upper ? 3 : 1;
            for (const bool ventilator : {false, true}) {
                SCOPED_TRACE(testing::Message() << "kit " << kit.number << (upper ? " upper" : " lower")
                                                << " corner, ventilator " << ventilator);
                k.setFFH(upper ? kit.hMax : kit.hMin);
                k.setFFB(upper ? kit.wMax : kit.wMin);
                k.setKolKomlektov(count);
                k.setProvetrivatel(ventilator);
                const QStringList shown = calculate(k);

                std::vector<int> q = tiltKit(kit);
                if (ventilator) {
                    // Засов 440 and 620 of the kits 60 and 61 refuse it.
                    if (kit.number == 60 || kit.number == 61) {
                        EXPECT_EQ(shown, QStringList{ventilatorRefused});
                        EXPECT_FALSE(k.provetrivatel());
                        continue;
                    }
                    q[17] = q[18] = 1;
                }
                EXPECT_TRUE(shown.isEmpty()) << shown.join(u'|').toStdString();
                EXPECT_EQ(k.KitDesignation, QStringLiteral("ЛИР-6741-%1М100").arg(kit.number));
                EXPECT_EQ(linesOf(k), expectedLines(tiltParts, q, count));
            }
        }
    }
}

TEST(StandardKits, TiltTurn)
{
    lir::TiltTurnKit k;
    for (int hc = 0; hc < 6; ++hc) {
        for (int wc = 0; wc < 6; ++wc) {
            for (const bool upper : {false, true}) {
                const int h = upper ? tiltTurnHeights[size_t(hc)].hi : tiltTurnHeights[size_t(hc)].lo;
                const int w = upper ? tiltTurnWidths[size_t(wc)].hi : tiltTurnWidths[size_t(wc)].lo;
                const int count = upper ? 3 : 1;
                for (const Option option : {Option::None, Option::Ventilator, Option::Latch}) {
                    SCOPED_TRACE(testing::Message() << "H " << h << " W " << w << " option " << int(option));
                    k.setFFH(h);
                    k.setFFB(w);
                    k.setRuchkaVcentre(true);
                    k.setKolKomlektov(count);
                    k.setProvetrivatel(option == Option::Ventilator);
                    k.setCheckBox1(option == Option::Latch);
                    const QStringList shown = calculate(k);

                    std::vector<int> q = tiltTurnKit(hc, wc);
                    // The ventilator is refused up to H 800, the latch up to H 1500.
                    if (option == Option::Ventilator) {
                        if (hc <= 1) {
                            EXPECT_EQ(shown, QStringList{ventilatorRefused});
                            EXPECT_FALSE(k.provetrivatel());
                            continue;
                        }
                        q[34] = q[35] = 1;
                    }
                    if (option == Option::Latch) {
                        if (hc <= 3) {
                            EXPECT_EQ(shown, QStringList{latchRefused});
                            EXPECT_FALSE(k.checkBox1());
                            continue;
                        }
                        q[37] = 1;
                        q[38] = 2;
                    }
                    EXPECT_TRUE(shown.isEmpty()) << shown.join(u'|').toStdString();
                    EXPECT_EQ(k.KitDesignation,
                              QString::fromUtf16(tiltTurnCodes[size_t(hc)][size_t(wc)]) + QStringLiteral("R100"));
                    EXPECT_EQ(linesOf(k), expectedLines(tiltTurnParts, q, count,
                                                        [h, w](int row) { return tiltTurnScrews25(row, h, w); }));
                }
            }
        }
    }
}
