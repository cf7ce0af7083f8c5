// One window calculated again and again, as an estimator works: every result
// is the one a freshly opened window gives. A calculation
// keeps what it can of the one before (grid cells, the kit matched, the texts
// made), so a longer kit after a shorter one, a failed one between, another
// side, profile, count or handle must leave nothing behind.
#include "support/kitinputs.h"

#include <vector>

using namespace lir;
using namespace lir::test;

namespace {

struct Result
{
    QStringList errors;
    std::vector<GridRow> grid;
    int gridRowCount = 0;
    QString designation;
    QString lirl;
    int lineCount = 0;
    PartsTable lines;

    bool operator==(const Result&) const = default;
};

Result resultOf(KitCalculator& k)
{
    Result r;
    r.errors = calculate(k);
    r.grid = gridRows(k);
    r.gridRowCount = k.gridRowCount();
    for (int row = int(r.grid.size()) + 1; row < k.gridRowCount(); ++row) {
        for (const QString& cell : k.gridRow(row)) {
            EXPECT_TRUE(cell.isNull()) << "row " << row << " holds " << cell.toStdString();
        }
    }
    r.designation = k.KitDesignation;
    r.lirl = k.lirlText();
    r.lineCount = k.LineCount;
    r.lines = k.KitLines.mid(0, k.LineCount);
    return r;
}

// A failed calculation keeps the designation of the one before (and checks
// the options against its kit), so the window each result is compared with
// calculates the step before first, and nothing earlier.
template <class Kit, class Inputs>
void expectEveryResultAsAfterTheStepBefore(const std::vector<Inputs>& sequence)
{
    Kit again;
    for (size_t i = 0; i < sequence.size(); ++i) {
        apply(again, sequence[i]);
        const Result seen = resultOf(again);
        Kit fresh;
        if (i > 0) {
            apply(fresh, sequence[i - 1]);
            resultOf(fresh);
        }
        apply(fresh, sequence[i]);
        const Result expected = resultOf(fresh);
        EXPECT_EQ(seen.errors, expected.errors) << "step " << i;
        EXPECT_EQ(seen.grid, expected.grid) << "step " << i;
        EXPECT_TRUE(seen == expected) << "step " << i << ": " << expected.designation.toStdString();
    }
}

} // namespace

TEST(Recalculation, TurnResultsAreThoseOfAFreshWindow)
{
    TurnInputs clamps{.complekt = 1, .ffh = 2000, .ffb = 1000, .handle = true, .vent = true, .balcony = true};
    TurnInputs small{.complekt = 0, .ffh = 400, .ffb = 500};
    TurnInputs offCentre{.complekt = 1, .ffh = 1000, .ffb = 900, .centre = false, .gh = 280, .pol = 1};
    TurnInputs wooden = clamps;
    wooden.profil = 1;
    wooden.rama = 1;
    TurnInputs tooWide = clamps;
    tooWide.ffb = 1400;
    TurnInputs counted = clamps;
    counted.count = 5000; // texts of counts past the shared ones
    TurnInputs expert = offCentre;
    expert.nazv = QStringLiteral("KBE Expert");
    expert.weight = 1;
    expectEveryResultAsAfterTheStepBefore<TurnKit>(std::vector<TurnInputs>{
        clamps, small, clamps, tooWide, clamps, offCentre, wooden, counted, clamps, expert, small});
}

TEST(Recalculation, TiltTurnResultsAreThoseOfAFreshWindow)
{
    TiltTurnInputs plain;
    TiltTurnInputs full{.h = 2000,
                        .w = 900,
                        .side = 1,
                        .zapor = true,
                        .ventilator = true,
                        .microvent = true,
                        .balcony = true,
                        .handle = true,
                        .count = 3};
    TiltTurnInputs offCentre{.h = 1400, .w = 700, .g = 400};
    TiltTurnInputs wooden = full;
    wooden.wooden = true;
    wooden.rama = 1;
    TiltTurnInputs tooLow{.h = 300, .w = 700};
    TiltTurnInputs heavy = plain;
    heavy.weight = 1;
    heavy.nazv = 5;
    expectEveryResultAsAfterTheStepBefore<TiltTurnKit>(std::vector<TiltTurnInputs>{
        full, plain, full, offCentre, tooLow, offCentre, wooden, heavy, full, plain});
}

TEST(Recalculation, TiltResultsAreThoseOfAFreshWindow)
{
    TiltInputs plain;
    TiltInputs full{.h = 1200,
                    .w = 1400,
                    .weight = 1,
                    .handle = true,
                    .tip = 1,
                    .vent = true,
                    .scissors = true,
                    .count = 7};
    TiltInputs wooden = full;
    wooden.wood = true;
    TiltInputs tooWide{.h = 700, .w = 5000};
    expectEveryResultAsAfterTheStepBefore<TiltKit>(
        std::vector<TiltInputs>{full, plain, tooWide, full, wooden, plain, full});
}
