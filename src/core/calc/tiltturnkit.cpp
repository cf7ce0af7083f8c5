#include "core/calc/tiltturnkit.h"

#include "core/calc/calctexts.h"
#include "core/calc/rulemessages.h"
#include "core/calc/tiltturnmessages.h"

#include <array>
#include <map>

namespace lir {

namespace t = calctexts;
namespace msg = tiltturnmessages;

namespace {

using P = Part;

constexpr int VectorLength = 40; // rows set by fill_the_komplect6742

struct HeightClass
{
    Range h;
    int digit;
    bool letterA; // height class 3А
    Part bolt;
    int ext500;
    bool hasMiddle;
    Part middle; // the middle lock
    int fiksator;
    int blocker; // Блокиратор and its stop, each
    int striker;
};

// Height classes in the order of the kit table: 0, 1, 2, 3А, 3, 4.
constexpr std::array<HeightClass, 6> heightClasses{{
    {{440, 620}, 0, false, P::Bolt440, 0, false, P::MiddleLock800, 1, 0, 2},
    {{621, 800}, 1, false, P::Bolt620, 0, false, P::MiddleLock800, 0, 1, 2},
    {{801, 1300}, 2, false, P::Bolt800, 0, true, P::MiddleLock800, 0, 1, 5},
    {{1301, 1500}, 3, true, P::Bolt1300A, 0, true, P::MiddleLock1300A, 0, 1, 7},
    {{1501, 1800}, 3, false, P::Bolt1300, 0, true, P::MiddleLock1300, 0, 1, 7},
    {{1801, 2300}, 4, false, P::Bolt800, 2, true, P::MiddleLock1800, 0, 1, 8},
}};

struct WidthClass
{
    Range w;
    int corner;
    int cornerSmall;
    Part rail;
    Part bracket;
    int ext500;
    int striker;
};

constexpr std::array<WidthClass, 6> widthClasses{{
    {{280, 385}, 1, 1, P::Rail280, P::Bracket280, 0, 0},
    {{386, 460}, 2, 0, P::Rail280, P::Bracket280, 0, 0},
    {{461, 550}, 2, 0, P::Rail460, P::Bracket280, 0, 0},
    {{551, 800}, 2, 0, P::Rail550, P::Bracket550, 0, 0},
    {{801, 1050}, 2, 0, P::Rail800, P::Bracket800, 1, 2},
    {{1051, 1300}, 2, 0, P::Rail1050, P::Bracket800, 1, 2},
}};

// The kit code of a height class and a width class. Without a width class the
// width digit is left out, so that the code matches no kit.
QString makeKitCode(int hc, int wc)
{
    if (hc == 0 && wc == 0)
        return msg::kitSmallest();
    const HeightClass& h = heightClasses[size_t(hc)];
    QString digits = QString::number(h.digit);
    if (wc >= 0)
        digits += QString::number(wc);
    if (h.letterA)
        digits += msg::kitLetterA();
    return kitCode(msg::kitPrefix(), digits);
}

// Made once per class pair and shared, as every calculation asks again.
QString kitCodeOf(int hc, int wc)
{
    thread_local std::map<std::pair<int, int>, QString> codes;
    auto it = codes.find({hc, wc});
    if (it == codes.end())
        it = codes.emplace(std::make_pair(hc, wc), makeKitCode(hc, wc)).first;
    return it->second;
}

// ---------------------------------------------------------------- the system's tables

const FittingSystem& tiltTurnSystem()
{
    static const FittingSystem system = [] {
        using In = KitCalculator::Input;
        FittingSystem s;
        s.rows = {P::Bolt440, P::Bolt620, P::Bolt800, P::Bolt1300A, P::Bolt1300,
                  P::CornerSwitch, P::CornerSwitchSmall, P::Extension500, P::Extension250, P::Rail280,
                  P::Rail460, P::Rail550, P::Rail800, P::Rail1050, P::MiddleLock800,
                  P::MiddleLock1300A, P::MiddleLock1300, P::MiddleLock1800, P::Bracket280, P::Bracket550,
                  P::Bracket800, P::TopFrameHinge, P::BottomSashHinge, P::BottomFrameHinge, P::CapB1,
                  P::CapB2, P::CapH1, P::CapH2, P::CapH3, P::Fiksator,
                  P::Striker, P::StrikerTiltTurn, P::Blocker, P::BlockerStop, P::Ventilator,
                  P::VentilatorKeeper, P::MicroventStrip, P::BalconyLatch, P::Shim, P::Handle,
                  P::TiltTurnLock, P::TiltTurnStrip};
        // Two extensions share one marking here, and the bolt 1300 begins
        // where the bolt 1300А ends.
        const QString extensions = QStringLiteral("500 (250)");
        s.catalogue = catalogueOf(s.rows, {{P::Bolt1300, &TMyLIR::Marking, QStringLiteral("1501-1800")},
                                           {P::Extension500, &TMyLIR::Marking, extensions},
                                           {P::Extension250, &TMyLIR::Marking, extensions}});

        // The 36 standard kits, in the order of the kit table. Every quantity
        // vector is the sum of its height-class part, its width-class part and
        // the fixed part.
        for (int hc = 0; hc < int(heightClasses.size()); ++hc) {
            const HeightClass& h = heightClasses[size_t(hc)];
            for (int wc = 0; wc < int(widthClasses.size()); ++wc) {
                const WidthClass& w = widthClasses[size_t(wc)];
                QVector<int> q(VectorLength, 0);
                auto at = [&](Part p) -> int& { return q[s.rows.indexOf(p)]; };
                at(h.bolt) += 1;
                at(P::Extension500) += h.ext500 + w.ext500;
                if (h.hasMiddle)
                    at(h.middle) += 1;
                at(P::Fiksator) += h.fiksator;
                at(P::Blocker) += h.blocker;
                at(P::BlockerStop) += h.blocker;
                at(P::Striker) += h.striker + w.striker;
                at(P::CornerSwitch) += w.corner;
                at(P::CornerSwitchSmall) += w.cornerSmall;
                at(w.rail) += 1;
                at(w.bracket) += 1;
                for (Part fixed : {P::TopFrameHinge, P::BottomSashHinge, P::BottomFrameHinge, P::CapB1, P::CapB2,
                                   P::CapH1, P::CapH2, P::CapH3, P::StrikerTiltTurn})
                    at(fixed) += 1;
                s.kits.append({kitCodeOf(hc, wc), q});
            }
        }

        s.orderType = t::typeTiltTurn;
        s.orderPieces = {{In::PlankaMicrovent, t::dopMicrovent}, {In::CheckBox1, t::dopBalcony}};
        s.options = {{In::PlankaMicrovent, P::MicroventStrip, 1},
                     {In::CheckBox1, P::BalconyLatch, 1},
                     {In::CheckBox1, P::Shim, 2}};
        // The blocker does not go with the shortest bolt: it is left out without a word.
        s.refusals = {{P::BalconyLatch, {{P::Bolt440}, {P::Bolt620}, {P::Bolt1300A}, {P::MiddleLock800}},
                       rulemessages::balconyLatchRefused, In::CheckBox1},
                      {P::Blocker, {{P::Bolt440}}, nullptr, In::CheckBox1, {P::Blocker, P::BlockerStop}}};

        s.bolts = {P::Bolt440, P::Bolt620, P::Bolt800, P::Bolt1300A, P::Bolt1300};
        s.offCentreExtras = {{{801, 1300}, 1, 0, 0}};
        s.offCentreStrikers = {{P::Bolt800, 1},       {P::Bolt1300A, 2},      {P::Bolt1300, 2},
                               {P::CornerSwitch, 1},  {P::CornerSwitchSmall, 1}, {P::Extension500, 1},
                               {P::Rail800, 1},       {P::Rail1050, 1},       {P::MiddleLock800, 2},
                               {P::MiddleLock1300A, 3}, {P::MiddleLock1300, 3}, {P::MiddleLock1800, 3}};

        s.optionChecksNeedSizes = true;
        // A failed calculation leaves the kit designation of the last good one,
        // so that it always belongs with the grid, LIRL and the kit lines kept.
        s.failureKeepsDesignation = true;
        return s;
    }();
    return system;
}

} // namespace

TiltTurnKit::TiltTurnKit(QObject* parent) : KitRules(Kind::TiltTurn, GridRows, tiltTurnSystem(), parent)
{
    addOwnInput(Input::CbZapor, [this] { return int(m_cbZapor); }, [this](int v) { setCbZapor(v != 0); });
    addOwnInput(Input::PlankaMicrovent, [this] { return int(m_plankaMicrovent); },
                [this](int v) { setPlankaMicrovent(v != 0); }, [this] { return plankaMicroventVisible(); });
    addOwnInput(Input::CheckBox1, [this] { return int(m_checkBox1); }, [this](int v) { setCheckBox1(v != 0); });
}

void TiltTurnKit::setCbZapor(bool on)
{
    changeInput(m_cbZapor, on);
}

void TiltTurnKit::setPlankaMicrovent(bool on)
{
    changeInput(m_plankaMicrovent, on, [this] { ImageUpdate(); });
}

void TiltTurnKit::setCheckBox1(bool on)
{
    changeInput(m_checkBox1, on, [this] { ImageUpdate(); });
}

void TiltTurnKit::profileTypeExtras()
{
    // A wooden sash takes no micro-ventilation strip.
    setPlankaMicrovent(false);
}

void TiltTurnKit::fill_the_komplect6742(const QVector<int>& q)
{
    fillQuantities(q);
    if (m_cbZapor) {
        line(P::TiltTurnLock).Quantity = 1;
        line(P::TiltTurnStrip).Quantity = 1;
    }
}

void TiltTurnKit::fill_default_value_screw()
{
    KitCalculator::fill_default_value_screw();
    // The lower sash hinge takes more screws in wood.
    line(P::BottomSashHinge).Screws40 = isWooden() ? 6 : 3;
}

int TiltTurnKit::widthClass(int w)
{
    return classOf(widthClasses, w, &WidthClass::w);
}

int TiltTurnKit::heightClass(int h)
{
    return classOf(heightClasses, h, &HeightClass::h);
}

QStringList TiltTurnKit::kitCodes()
{
    return codesOf(tiltTurnSystem().kits);
}

QVector<int> TiltTurnKit::kitQuantities(int index)
{
    return quantitiesOf(tiltTurnSystem().kits, index);
}

SizeSpan TiltTurnKit::allowedFFH() const
{
    return spanOf(heightClasses, &HeightClass::h);
}

SizeSpan TiltTurnKit::allowedFFB(int) const
{
    return spanOf(widthClasses, &WidthClass::w);
}

bool TiltTurnKit::handleAccepted(int ffh, int, int gh) const
{
    return gh == halfToEven(ffh) || offCentreFits(ffh, gh);
}

// ---------------------------------------------------------------- the rules

KitRules::Designation TiltTurnKit::checkSizes()
{
    // Both sizes are checked, so both messages can show.
    const int wc = widthClass(ffb());
    if (wc < 0)
        fail(msg::widthWrong());
    const int hc = heightClass(ffh());
    if (hc < 0) {
        fail(msg::heightWrong());
        return Designation::Kept;
    }
    KitDesignation = joined(joined(kitCodeOf(hc, wc), m_sideLetter), m_weightText);
    return Designation::Formed;
}

void TiltTurnKit::placeHandle()
{
    const int h = ffh();
    const int w = ffb();
    const bool centred = centreHandle(true);

    // Screws per piece of the middle locks and the rails, centred or not.
    const bool narrow = w <= 550;
    const std::array<int, 4> middleScrews = narrow ? std::array<int, 4>{5, 7, 7, 9} : std::array<int, 4>{4, 6, 6, 8};
    const std::array<Part, 4> middles{P::MiddleLock800, P::MiddleLock1300A, P::MiddleLock1300, P::MiddleLock1800};
    for (size_t i = 0; i < middles.size(); ++i)
        line(middles[i]).Screws25 = middleScrews[i];
    const bool low = h <= 800;
    const std::array<int, 5> railScrews = low ? std::array<int, 5>{3, 4, 4, 6, 7} : std::array<int, 5>{2, 3, 3, 5, 6};
    const std::array<Part, 5> rails{P::Rail280, P::Rail460, P::Rail550, P::Rail800, P::Rail1050};
    for (size_t i = 0; i < rails.size(); ++i)
        line(rails[i]).Screws25 = railScrews[i];

    if (!centred)
        rebuildAroundHandle();
}

void TiltTurnKit::finishRules()
{
    if (!m_cbZapor)
        return;
    // The tilt-turn lock is marked by a "1" after "ЛИР-6742-".
    if (KitDesignation.size() >= 9) {
        const QString zapor = msg::kitZapor();
        KitDesignation = madeText<2>({KitDesignation, zapor},
                                     [&]() -> QString { return QString(KitDesignation).insert(9, zapor); });
    }
    // The lock replaces the tilt-turn striker, one corner drive and one striker.
    line(P::StrikerTiltTurn).Quantity = 0;
    line(P::CornerSwitch).Quantity -= 1;
    line(P::Striker).Quantity -= 1;
    if (!isWooden() && KitDesignation.contains(msg::kitLetterA()))
        line(P::Striker).Quantity -= 1;
    line(P::Extension500).Quantity = KitDesignation.contains(msg::kitHeight4()) ? 2 : 0;
    const int h = ffh();
    if (ffb() > 800)
        line(P::MiddleLock800).Quantity = (h > 800 && h <= 1300) ? 2 : 1;
}

void TiltTurnKit::systemPartTexts(const RebateSystem& system)
{
    // The brackets carry the rebate system and the side in place of their "X" and "B".
    const QString wooden = system.wooden ? QStringLiteral("1") : QStringLiteral("0");
    const QString digit = QString::fromRawData(&system.digit, 1);
    for (Part p : {P::Bracket280, P::Bracket550, P::Bracket800}) {
        TMyLIR& bracket = line(p);
        bracket.Marking = madeText<3>({bracket.Marking, system.name, wooden}, [&]() -> QString {
            const QString marking = system.wooden
                                        ? QString(QStringLiteral(" (") + system.name + QLatin1Char(')'))
                                        : QString(QLatin1Char(' ') + system.name);
            return bracket.Marking.left(3) + marking;
        });
        bracket.Designation = madeText<3>({bracket.Designation, m_sideLetter, digit}, [&]() -> QString {
            QString d = bracket.Designation;
            d.replace(13, 1, m_sideLetter);
            d[11] = system.digit;
            return d;
        });
    }
}

} // namespace lir
