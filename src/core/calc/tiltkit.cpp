#include "core/calc/tiltkit.h"

#include "core/calc/calctexts.h"
#include "core/calc/tiltmessages.h"

#include <array>

namespace lir {

namespace t = calctexts;
namespace msg = tiltmessages;

namespace {

using P = Part;

// Height bands: without side presses and with side presses. Every class is
// closed; the widths of a band's kits join without a gap, so the band's outer
// width range is also the range its message names.
constexpr std::array<Range, 2> bands = {{{300, 800}, {801, 1300}}};

// One standard kit: its number, band and width class, its bolt (always one
// piece) and the quantities of the parts listed in kitColumns. The handle is 1
// in every kit; it, the ventilator and its keeper are then set by the options.
constexpr std::array<Part, 10> kitColumns = {P::CornerSwitch, P::Extension500, P::Striker, P::TravelStop,
                                             P::TiltHinge,    P::TopFrameHinge, P::Scissors, P::Shim,
                                             P::CapB1,        P::CapB2};
struct TiltKitRow
{
    int number;
    int band;
    Range w;
    Part bolt;
    std::array<int, 10> q;
};
constexpr std::array<TiltKitRow, 12> kitRows = {{
    // band 0: without side presses; the columns in the order of kitColumns
    {51, 0, {300, 500}, P::BoltTurn300, {0, 0, 2, 0, 2, 2, 2, 2, 2, 2}},
    {52, 0, {501, 700}, P::BoltTurn500, {0, 0, 2, 0, 2, 2, 1, 1, 2, 2}},
    {53, 0, {701, 1000}, P::BoltTurn700, {0, 0, 2, 0, 2, 2, 1, 1, 2, 2}},
    {54, 0, {1001, 1400}, P::BoltTurn1000, {0, 0, 3, 0, 3, 3, 1, 1, 3, 3}},
    {55, 0, {1401, 1800}, P::BoltTurn1400, {0, 0, 4, 0, 3, 3, 2, 2, 3, 3}},
    {56, 0, {1801, 2300}, P::BoltTurn1800, {0, 0, 4, 0, 4, 4, 2, 2, 4, 4}},
    // band 1: with side presses
    {60, 1, {440, 620}, P::Bolt440, {2, 2, 4, 1, 2, 2, 2, 2, 2, 2}},
    {61, 1, {621, 800}, P::Bolt620, {2, 2, 4, 1, 2, 2, 1, 1, 2, 2}},
    {62, 1, {801, 1300}, P::Bolt800, {2, 2, 5, 1, 3, 3, 1, 1, 3, 3}},
    {63, 1, {1301, 1400}, P::Bolt1300, {2, 2, 6, 1, 3, 3, 1, 1, 3, 3}},
    {64, 1, {1401, 1800}, P::Bolt1300, {2, 2, 6, 1, 3, 3, 2, 2, 3, 3}},
    {65, 1, {1801, 2300}, P::Bolt800, {2, 4, 7, 1, 4, 4, 2, 2, 4, 4}},
}};

int kitOf(int band, int w)
{
    for (size_t i = 0; i < kitRows.size(); ++i)
        if (kitRows[i].band == band && kitRows[i].w.contains(w))
            return int(i);
    return -1;
}

// ---------------------------------------------------------------- the system's tables

const FittingSystem& tiltSystem()
{
    static const FittingSystem system = [] {
        using In = KitCalculator::Input;
        FittingSystem s;
        s.rows = {P::BoltTurn300, P::BoltTurn500, P::BoltTurn700, P::BoltTurn1000, P::BoltTurn1400,
                  P::BoltTurn1800, P::Bolt440, P::Bolt620, P::Bolt800, P::Bolt1300,
                  P::CornerSwitch, P::Extension500, P::Striker, P::TravelStop, P::TiltHinge,
                  P::TopFrameHinge, P::Scissors, P::Ventilator, P::VentilatorKeeper, P::Handle,
                  P::Shim, P::CapB1, P::CapB2};
        s.catalogue = catalogueOf(s.rows);

        for (const TiltKitRow& kit : kitRows) {
            QVector<int> q(TiltKit::PartCount, 0);
            auto at = [&](Part p) -> int& { return q[s.rows.indexOf(p)]; };
            at(kit.bolt) = 1;
            for (size_t c = 0; c < kitColumns.size(); ++c)
                at(kitColumns[c]) = kit.q[c];
            at(P::Handle) = 1;
            s.kits.append({kitCode(msg::kitPrefix(), QString::number(kit.number)), q});
        }

        s.orderType = t::typeTilt;
        s.orderPieces = {{In::CheckBox1, t::dopScissors}};
        // Two transom scissors: a single pair becomes two, with its packing.
        s.options = {{In::CheckBox1, P::Scissors, 2, false, true}, {In::CheckBox1, P::Shim, 2, false, true}};
        // The handle always sits in the middle of the width.
        s.handleCanBeOffCentre = false;
        s.woodLetterOnKeptDesignation = true;
        return s;
    }();
    return system;
}

} // namespace

TiltKit::TiltKit(QObject* parent) : KitRules(Kind::Tilt, GridRows, tiltSystem(), parent)
{
    addOwnInput(Input::CheckBox1, [this] { return int(m_checkBox1); }, [this](int v) { setCheckBox1(v != 0); });
}

void TiltKit::setCheckBox1(bool on)
{
    changeInput(m_checkBox1, on, [this] { ImageUpdate(); });
}

QStringList TiltKit::kitCodes()
{
    return codesOf(tiltSystem().kits);
}

QVector<int> TiltKit::kitQuantities(int index)
{
    return quantitiesOf(tiltSystem().kits, index);
}

SizeSpan TiltKit::allowedFFH() const
{
    return spanOf(bands);
}

SizeSpan TiltKit::allowedFFB(int ffh) const
{
    const int band = classOf(bands, ffh);
    SizeSpan s{std::numeric_limits<int>::max(), std::numeric_limits<int>::min()};
    for (const TiltKitRow& kit : kitRows) {
        if (band >= 0 && kit.band != band)
            continue;
        s.lo = std::min(s.lo, kit.w.lo);
        s.hi = std::max(s.hi, kit.w.hi);
    }
    return s;
}

KitRules::Designation TiltKit::checkSizes()
{
    // The height picks the band, the width the kit. Only one size message per
    // calculation: a bad height says nothing about the width.
    const int band = classOf(bands, ffh());
    const int kit = band < 0 ? -1 : kitOf(band, ffb());
    if (band < 0)
        fail(msg::height());
    else if (kit < 0)
        fail(band == 0 ? msg::widthWithoutPresses() : msg::widthWithPresses());
    else
        KitDesignation = joined(tiltSystem().kits.at(kit).code, m_weightText);
    return kit < 0 ? Designation::Kept : Designation::Formed;
}

void TiltKit::systemPartTexts(const RebateSystem& system)
{
    TMyLIR& hinge = line(P::TiltHinge);
    const QString digit = QString::fromRawData(&system.digit, 1);
    hinge.Designation = madeText<2>({hinge.Designation, digit}, [&]() -> QString {
        return hinge.Designation + QLatin1Char('-') + system.digit + QLatin1Char('0');
    });
    hinge.Marking =
        madeText<1>({system.name}, [&]() -> QString { return QStringLiteral("011500 ") + system.name; });
}

} // namespace lir
