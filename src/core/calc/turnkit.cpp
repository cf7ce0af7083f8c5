#include "core/calc/turnkit.h"

#include "core/calc/calctexts.h"
#include "core/calc/rulemessages.h"
#include "core/calc/turnmessages.h"

#include <array>
#include <map>
#include <limits>

namespace lir {

namespace t = calctexts;
namespace msg = turnmessages;

namespace {

// ---------------------------------------------------------------- size classes

// Without clamps: one width range, the height picks kit 01 to 06.
constexpr Range NoClampWidth{200, 800};
constexpr std::array<Range, 6> NoClampHeights{{{300, 500}, {501, 700}, {701, 1000},
                                               {1001, 1400}, {1401, 1800}, {1801, 2300}}};
// With clamps: the width gives the first digit (1 or 2), the height the second.
constexpr std::array<Range, 2> ClampWidths{{{650, 900}, {901, 1300}}};
constexpr std::array<Range, 5> ClampHeights{{{440, 620}, {621, 800}, {801, 1300}, {1301, 1800}, {1801, 2300}}};

QString kitCodeOf(int number)
{
    // Made once per kit number and shared, as every calculation asks again.
    thread_local std::map<int, QString> codes;
    auto it = codes.find(number);
    if (it == codes.end())
        it = codes.emplace(number, kitCode(msg::kitPrefix(), QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'))))
                 .first;
    return it->second;
}

// Where an off-centre handle may sit on the single turn bolt: either a fixed
// distance from both ends (margin), or within 100 mm of the middle (margin 0).
struct HandleBand
{
    Range ffh;
    int margin;
};
constexpr std::array<HandleBand, 10> HandleBands{{
    {{300, 500}, 150},
    {{501, 700}, 250},
    {{701, 900}, 350},
    {{901, 1000}, 0},
    {{1001, 1200}, 500},
    {{1201, 1400}, 0},
    {{1401, 1600}, 700},
    {{1601, 1800}, 0},
    {{1801, 2000}, 900},
    {{2001, 2300}, 0},
}};

// Whether the single turn bolt takes an off-centre handle at g on a sash of
// height h; compared in half millimetres, since half the height may end in .5.
bool bandTakesHandle(int h, int g)
{
    for (const HandleBand& band : HandleBands) {
        if (!band.ffh.contains(h))
            continue;
        const int lo = band.margin > 0 ? 2 * band.margin : h - 200;
        const int hi = band.margin > 0 ? 2 * (h - band.margin) : h + 200;
        return 2 * g >= lo && 2 * g <= hi;
    }
    return false;
}

// ---------------------------------------------------------------- the system's tables

const FittingSystem& turnSystem()
{
    static const FittingSystem system = [] {
        using P = Part;
        using In = KitCalculator::Input;
        FittingSystem s;
        s.rows = {P::BoltTurn300, P::BoltTurn500, P::BoltTurn700, P::BoltTurn1000, P::BoltTurn1400,
                  P::BoltTurn1800, P::Bolt440, P::Bolt620, P::Bolt800, P::Bolt1300,
                  P::CornerSwitch, P::Extension500, P::Extension250, P::Striker, P::TravelStop,
                  P::TopSashHinge, P::TopFrameHinge, P::BottomSashHinge, P::BottomFrameHinge, P::MiddleClamp,
                  P::MiddleClampKeeper, P::Blocker, P::BlockerStop, P::Ventilator, P::VentilatorKeeper,
                  P::Handle, P::BalconyLatch, P::Shim, P::CapB1, P::CapB2,
                  P::CapH1, P::CapH2, P::CapH3};
        // This catalogue writes the blocker's name with a trailing blank.
        s.catalogue = catalogueOf(s.rows, {{P::Blocker, &TMyLIR::Name, QStringLiteral("Блокиратор ")}});

        // Rows 24 to 28 are options and 0 in every kit.
        const std::pair<int, QVector<int>> kits[] = {
            { 1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            { 2, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            { 3, {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            { 4, {0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            { 5, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 1, 1, 1, 1, 2, 2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            { 6, {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 4, 0, 1, 1, 1, 1, 2, 2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            {10, {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 2, 4, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            {11, {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 2, 0, 2, 4, 1, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            {12, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 0, 2, 5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            {13, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 0, 2, 6, 1, 1, 1, 1, 1, 2, 2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            {14, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 2, 2, 7, 1, 1, 1, 1, 1, 2, 2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            {20, {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2, 2, 0, 4, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            {21, {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 2, 2, 0, 4, 1, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            {22, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 2, 0, 5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            {23, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 2, 0, 6, 1, 1, 1, 1, 1, 2, 2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
            {24, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 4, 0, 7, 1, 1, 1, 1, 1, 2, 2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
        };
        for (const auto& [number, quantities] : kits)
            s.kits.append({kitCodeOf(number), quantities});

        s.orderType = t::typeTurn;
        s.orderPieces = {{In::BalkonnayaZaschelka, t::dopBalconyComma}, {In::Blokirator, t::dopBlocker}};
        // A PVC sash keeps the blocker of its kit; on wood it is an option.
        s.options = {{In::BalkonnayaZaschelka, P::BalconyLatch, 1},
                     {In::BalkonnayaZaschelka, P::Shim, 2},
                     {In::Blokirator, P::Blocker, 1, true},
                     {In::Blokirator, P::BlockerStop, 1, true}};
        // Among the standard kits the latch fits 05, 06, 13, 14, 23 and 24 only.
        s.refusals = {{P::BalconyLatch,
                       {{P::BoltTurn300}, {P::BoltTurn500}, {P::BoltTurn700}, {P::BoltTurn1000},
                        {P::Bolt440}, {P::Bolt620}, {P::Bolt800, 5}},
                       rulemessages::balconyLatchRefused, In::BalkonnayaZaschelka},
                      {P::Blocker, {{P::BoltTurn300}, {P::Bolt440}}, msg::blockerRefused, In::Blokirator, {}, true}};

        // Only the clamp kit is rebuilt around an off-centre handle; the kits
        // without clamps have none of the parts that bring strikers.
        s.bolts = {P::BoltTurn300, P::BoltTurn500, P::BoltTurn700, P::BoltTurn1000, P::BoltTurn1400,
                   P::BoltTurn1800, P::Bolt440, P::Bolt620, P::Bolt800, P::Bolt1300};
        s.offCentreExtras = {{{std::numeric_limits<int>::min(), 900}, 0, 2, 2},
                             {{901, std::numeric_limits<int>::max()}, 2, 0, 0}};
        s.offCentreStrikers = {{P::Bolt800, 1}, {P::Bolt1300, 2}, {P::CornerSwitch, 1}, {P::Extension500, 1}};
        return s;
    }();
    return system;
}

} // namespace

TurnKit::TurnKit(QObject* parent) : KitRules(Kind::Turn, GridRows, turnSystem(), parent)
{
    addOwnInput(Input::Complekt, [this] { return m_complekt; }, [this](int v) { setComplekt(v); });
    addOwnInput(Input::BalkonnayaZaschelka, [this] { return int(m_balkonnaya); },
                [this](int v) { setBalkonnayaZaschelka(v != 0); });
    addOwnInput(Input::Blokirator, [this] { return int(m_blokirator); }, [this](int v) { setBlokirator(v != 0); },
                [this] { return blokiratorVisible(); });
}

QStringList TurnKit::kitCodes()
{
    return codesOf(turnSystem().kits);
}

QVector<int> TurnKit::kitQuantities(int index)
{
    return quantitiesOf(turnSystem().kits, index);
}

void TurnKit::setComplekt(int index)
{
    if (index < 0 || index > 1)
        return;
    changeInput(m_complekt, index, [this] { ComplektClick(); });
}

void TurnKit::ComplektClick()
{
    m_ffbMaxLength = m_complekt == 0 ? 3 : 4;
    notify();
}

void TurnKit::setBalkonnayaZaschelka(bool on)
{
    changeInput(m_balkonnaya, on, [this] { ImageUpdate(); });
}

void TurnKit::setBlokirator(bool on)
{
    changeInput(m_blokirator, on, [this] { ImageUpdate(); });
}

QString TurnKit::orderTypeSuffix() const
{
    return QLatin1Char(' ') + (m_complekt == 0 ? t::typeNoClamps : t::typeClamps);
}

// ---------------------------------------------------------------- the rules

KitRules::Designation TurnKit::checkSizes()
{
    const int h = ffh();
    const int b = ffb();

    if (m_complekt == 0) {
        if (!NoClampWidth.contains(b)) {
            fail(msg::widthNoClamps());
            return Designation::Kept;
        }
        const int i = classOf(NoClampHeights, h);
        if (i < 0) {
            fail(msg::heightNoClamps());
            return Designation::Kept;
        }
        KitDesignation = joined(joined(kitCodeOf(i + 1), m_sideLetter), m_weightText);
        return Designation::Formed;
    }

    const int digit = classOf(ClampHeights, h);
    if (digit < 0)
        fail(msg::heightClamps());
    // The width is checked even after a bad height, so both messages can show.
    const int first = classOf(ClampWidths, b);
    if (first < 0) {
        fail(msg::widthClamps());
        return Designation::Kept;
    }
    if (digit < 0)
        return Designation::Void;
    KitDesignation = joined(joined(kitCodeOf(10 * (first + 1) + digit), m_sideLetter), m_weightText);
    return Designation::Formed;
}

void TurnKit::placeHandle()
{
    if (m_complekt == 0) {
        handleWithoutClamps();
        return;
    }
    // The centre as the window computes it, halves to the even neighbour.
    if (!centreHandle(true))
        rebuildAroundHandle();
}

void TurnKit::handleWithoutClamps()
{
    // Exactly half: an odd height has no centre here.
    if (centreHandle(false))
        return;
    if (!bandTakesHandle(ffh(), gh()))
        fail(rulemessages::handlePosition());
}

SizeSpan TurnKit::allowedFFH() const
{
    return m_complekt == 0 ? spanOf(NoClampHeights) : spanOf(ClampHeights);
}

SizeSpan TurnKit::allowedFFB(int) const
{
    return m_complekt == 0 ? SizeSpan{NoClampWidth.lo, NoClampWidth.hi} : spanOf(ClampWidths);
}

bool TurnKit::handleAccepted(int ffh, int, int gh) const
{
    if (m_complekt == 0)
        return 2 * gh == ffh || bandTakesHandle(ffh, gh);
    return gh == halfToEven(ffh) || offCentreFits(ffh, gh);
}

void TurnKit::systemPartTexts(const RebateSystem& system)
{
    // The upper sash hinge carries the rebate system in place of its "B".
    TMyLIR& hinge = line(Part::TopSashHinge);
    const QString digit = QString::fromRawData(&system.digit, 1);
    hinge.Designation = madeText<3>({hinge.Designation, digit, m_sideLetter}, [&]() -> QString {
        return hinge.Designation.chopped(1) + system.digit + QLatin1Char('0') + m_sideLetter;
    });
    hinge.Marking = system.name;
}

} // namespace lir
