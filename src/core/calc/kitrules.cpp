#include "core/calc/kitrules.h"

#include "core/calc/calctexts.h"
#include "core/calc/rulemessages.h"

#include <algorithm>

namespace lir {

namespace t = calctexts;
namespace msg = rulemessages;
using Input = KitCalculator::Input;

namespace {

// ---------------------------------------------------------------- hinges on the frame
// Their texts follow the sash weight, or are the wooden ones.
struct FrameHinge
{
    Part part;
    QString (*woodName)();
    bool woodSide; // the wooden designation ends in the side letter
    QString woodMarking;
    QString pvcMarking; // followed by "00" or "01" by weight
};

const std::array<FrameHinge, 3>& frameHinges()
{
    static const std::array<FrameHinge, 3> hinges = {{
        {Part::TopFrameHinge, msg::hingeTopFrameWood, false, QStringLiteral("12/18"), QStringLiteral("09.")},
        {Part::BottomSashHinge, msg::hingeBottomSashWood, true, QStringLiteral("12/18-9"), QStringLiteral("10.")},
        {Part::BottomFrameHinge, msg::hingeBottomFrameWood, true, QStringLiteral("12/18"), QStringLiteral("11.")},
    }};
    return hinges;
}

// ---------------------------------------------------------------- options every system has

const QVector<OptionPart>& commonOptions()
{
    static const QVector<OptionPart> options = {
        {Input::RuchkaOkon, Part::Handle, 1},
        {Input::Provetrivatel, Part::Ventilator, 1},
        {Input::Provetrivatel, Part::VentilatorKeeper, 1},
    };
    return options;
}

// The stepped ventilator has no room beside the short bolts, in every system.
const Refusal& ventilatorRefusal()
{
    static const Refusal r{Part::Ventilator, {{Part::Bolt440}, {Part::Bolt620}}, msg::ventilatorRefused,
                           Input::Provetrivatel};
    return r;
}

// ---------------------------------------------------------------- off-centre handle
// The shorter handle distance picks the bolt; the longer one must fall into
// one of the windows, 250 mm apart, that the extensions bridge: window k takes
// k / 2 extensions of 500 and k % 2 of 250. Windows that touch share their
// bound, and the shorter bridge is taken.
struct BoltClass
{
    Range shorter;
    Part bolt;
    int extra500; // extensions of 500 that come with the bolt
    Range firstWindow;
    int windows;
};

constexpr BoltClass boltClasses[] = {
    {{220, 310}, Part::Bolt440, 0, {220, 310}, 7},
    {{311, 399}, Part::Bolt620, 0, {310, 400}, 7},
    {{400, 650}, Part::Bolt800, 0, {400, 650}, 6},
    {{651, 900}, Part::Bolt1300, 0, {651, 900}, 4},
    {{901, 1150}, Part::Bolt800, 2, {901, 1150}, 2},
};
constexpr int WindowStep = 250;

// The bolt class (-1: none) and the extension window (-1: none) of a handle
// at g on a sash of height h.
struct HandleFit
{
    int boltClass = -1;
    int window = -1;
};

HandleFit fitOffCentre(int h, int g)
{
    HandleFit fit;
    const int shorter = std::min(g, h - g);
    const int longer = std::max(g, h - g);
    fit.boltClass = classOf(boltClasses, shorter, &BoltClass::shorter);
    if (fit.boltClass < 0)
        return fit;
    const BoltClass& cls = boltClasses[fit.boltClass];
    for (int k = 0; k < cls.windows; ++k) {
        const Range window{cls.firstWindow.lo + WindowStep * k, cls.firstWindow.hi + WindowStep * k};
        if (window.contains(longer)) {
            fit.window = k;
            break;
        }
    }
    return fit;
}

// ---------------------------------------------------------------- texts by rebate system

const std::array<RebateSystem, 4>& rebateSystems()
{
    // In the order of the system list.
    static const std::array<RebateSystem, 4> systems = {{
        {QLatin1Char('4'), QStringLiteral("20-9"), false},
        {QLatin1Char('5'), QStringLiteral("20-13"), false},
        {QLatin1Char('6'), QStringLiteral("21-13"), false},
        {QLatin1Char('2'), QStringLiteral("18-9"), true},
    }};
    return systems;
}

// The handle suffix by rebate system; "KBE Expert" takes that of 12/21-13.
QString handleSuffix(int system, const QString& profileName)
{
    switch (system) {
    case t::Sys20_13:
        return profileName == QStringLiteral("KBE Expert") ? QStringLiteral("-03") : QStringLiteral("-02");
    case t::Sys21_13:
        return QStringLiteral("-03");
    default:
        break;
    }
    return QStringLiteral("-01");
}

// Further parts of the wooden rebate system, where a system has them.
struct WoodenSystemPart
{
    Part part;
    Variant variant;
    bool side; // the side letter follows the suffix
};

const std::array<WoodenSystemPart, 4>& woodenSystemParts()
{
    static const std::array<WoodenSystemPart, 4> parts = {{
        {Part::MiddleClamp, {QStringLiteral("-20"), QStringLiteral("001020")}, false},
        {Part::Ventilator, {QStringLiteral("-20"), QStringLiteral("012220")}, false},
        {Part::CapB1, {QStringLiteral("-20"), {}}, false},
        {Part::CapH1, {QStringLiteral("-20"), {}}, true},
    }};
    return parts;
}

// ---------------------------------------------------------------- texts by profile
// PVC profile systems fall into groups A to H; a wooden frame counts by its
// rebate type. Each group gives the parts that sit on the profile their own
// suffix and marking.
enum Group { A, B, C, D, E, F, G, H, Wood18, Wood20, Groups };

int groupOf(const QString& profile);

// The group of a profile-system name or rebate type, -1 for none.
int profileGroup(const QString& profile)
{
    // Asked at every calculation, mostly with the list's own text as before.
    thread_local QString lastProfile;
    thread_local int lastGroup = -1;
    if (sameText(profile, lastProfile))
        return lastGroup;
    lastGroup = groupOf(profile);
    lastProfile = profile;
    return lastGroup;
}

int groupOf(const QString& profile)
{
    // By the turn window's list, whose spellings the tilt-turn list shares but
    // for one name, and which holds every name of the tilt list.
    static const std::array<int, 15> groupOfTurnName = {A, B, C, A, B, C, D, E, B, B, D, F, G, G, H};
    qsizetype i = t::nazvTurn.indexOf(profile);
    if (i < 0)
        i = t::nazvTiltTurn.indexOf(profile);
    if (i >= 0 && i < qsizetype(groupOfTurnName.size()))
        return groupOfTurnName[size_t(i)];
    const qsizetype r = t::ramaTypes.indexOf(profile);
    return r < 0 ? -1 : int(Wood18 + r);
}

struct ProfileParts
{
    Part part;
    std::array<Variant, Groups> byGroup; // an empty suffix leaves the part as it is
};

const QVector<ProfileParts>& profileParts()
{
    auto v = [](const char16_t* suffix, const char16_t* marking) {
        return Variant{keptText(QString::fromUtf16(suffix)), keptText(QString::fromUtf16(marking))};
    };
    // clang-format off
    static const QVector<ProfileParts> parts = {
        {Part::Striker, {v(u"-11", u"009911"), v(u"-00", u"009900"), v(u"-10", u"009910"), v(u"-10", u"009910"), v(u"-00", u"009900"),
                         v(u"-10", u"009910"), v(u"-12", u"009912"), v(u"-14", u"009914"), v(u"-20", u"009920"), v(u"-21", u"009921")}},
        {Part::StrikerTiltTurn, {v(u"-10", u"13"), v(u"-00", u"9"), v(u"-10", u"13"), v(u"-10", u"13"), v(u"-00", u"9"),
                                 v(u"-10", u"13"), v(u"-10", u"13"), v(u"-14", u"001214"), v(u"-20", u"011220"), v(u"-21", u"011221")}},
        {Part::MiddleClampKeeper, {v(u"-11", u"01111"), v(u"-00", u"01100"), v(u"-10", u"01110"), v(u"-10", u"01110"), v(u"-01", u"01101"),
                                   v(u"-10", u"01110"), v(u"-12", u"01112"), v(u"-14", u"001114"), v(u"-20", u"001120"), v(u"-21", u"001121")}},
        {Part::BlockerStop, {v(u"-10", u"21.10"), v(u"-00", u"21.00"), v(u"-10", u"21.10"), v(u"-10", u"21.10"), v(u"-00", u"21.00"),
                             v(u"-10", u"21.10"), v(u"-10", u"21.10"), v(u"-14", u"012114"), v(u"-20", u"012120"), v(u"-21", u"012121")}},
        {Part::VentilatorKeeper, {v(u"-01", u"00301"), v(u"-02", u"00302"), v(u"-01", u"00301"), v(u"-02", u"00302"), v(u"-00", u"00300"),
                                  v(u"-02", u"00302"), v(u"-02", u"00302"), v(u"-14", u"000314"), v(u"-20", u"000320"), v(u"-21", u"000321")}},
        {Part::MicroventStrip, {v(u"-10", u"01.10"), v(u"-00", u"01.00"), v(u"-10", u"01.10"), v(u"-11", u"01.11"), v(u"-00", u"01.00"),
                                v(u"-10", u"01.10"), v(u"-10", u"01.10"), v(u"-14", u"000114"), {}, {}}},
        {Part::Shim, {v(u"-12", u"001412"), v(u"-00", u"001400"), v(u"-10", u"001410"), v(u"-11", u"001411"), v(u"-01", u"001401"),
                      v(u"-13", u"001413"), v(u"-15", u"001415"), v(u"-14", u"001414"), v(u"-20", u"001420"), v(u"-21", u"001421")}},
        {Part::TiltTurnStrip, {v(u"-11", u"011311"), v(u"-00", u"011300"), v(u"-10", u"011310"), v(u"-10", u"011310"), v(u"-00", u"011300"),
                               v(u"-10", u"011310"), v(u"-12", u"011312"), v(u"-14", u"011314"), v(u"-20", u"011320"), v(u"-21", u"011321")}},
    };
    // clang-format on
    return parts;
}

void apply(TMyLIR& line, const Variant& v)
{
    line.Designation = joined(line.Designation, v.suffix);
    if (!v.marking.isEmpty())
        line.Marking = v.marking;
}

} // namespace

QString joined(const QString& a, const QString& b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    // A slot is found by where the pieces' texts lie and kept only when both
    // pieces are equal to those it was made of.
    struct Slot
    {
        QString a, b, joined;
    };
    constexpr size_t Slots = 512;
    thread_local std::array<Slot, Slots> cache;
    const auto key = (reinterpret_cast<quintptr>(a.constData()) >> 3) * 31 +
                     (reinterpret_cast<quintptr>(b.constData()) >> 3) + size_t(a.size()) * 7 + size_t(b.size());
    Slot& slot = cache[key % Slots];
    if (sameText(slot.a, a) && sameText(slot.b, b))
        return slot.joined;
    slot = Slot{a, b, keptText(a + b)};
    return slot.joined;
}

KitRules::KitRules(Kind kind, int gridRows, const FittingSystem& system, QObject* parent)
    : KitCalculator(kind, gridRows, parent), m_system(system)
{
    for (int r = 0; r < system.rows.size(); ++r)
        m_rows[size_t(system.rows.at(r))] = r + 1;
    init();
}

QString kitCode(const QString& prefix, const QString& digits)
{
    return keptText(prefix + digits + msg::kitLetter());
}

QStringList codesOf(const KitTable& kits)
{
    QStringList codes;
    for (const StandardKit& kit : kits)
        codes.append(kit.code);
    return codes;
}

QVector<int> quantitiesOf(const KitTable& kits, int index)
{
    return kits.value(index).quantities;
}

void KitRules::fillKit(const QVector<int>& quantities)
{
    fillQuantities(quantities);
}

// ---------------------------------------------------------------- the rules, in their order

void KitRules::applyRules()
{
    const QString lastDesignation = KitDesignation;
    const Designation designation = checkSizes();
    const bool sizesFound = !error();
    frameHingeTexts();
    if (designation != Designation::Void)
        matchKit();
    fill_default_value_screw();
    insertWoodLetter(designation == Designation::Formed);
    options();
    if (!error()) {
        LastFFH = ffh();
        LastFFB = ffb();
        LastGH = gh();
        placeHandle();
    }
    if (sizesFound || !m_system.optionChecksNeedSizes)
        optionChecks();
    finishRules();
    if (error() && m_system.failureKeepsDesignation)
        KitDesignation = lastDesignation;
}

void KitRules::frameHingeTexts()
{
    const bool heavy = radioGroup1() == 1;
    for (const FrameHinge& h : frameHinges()) {
        if (rowOf(h.part) == 0)
            continue;
        TMyLIR& hinge = line(h.part);
        if (isWooden()) {
            hinge.Name = h.woodName();
            hinge.Designation = joined(hinge.Designation, QStringLiteral("-20"));
            if (h.woodSide)
                hinge.Designation = joined(hinge.Designation, m_sideLetter);
            hinge.Marking = h.woodMarking;
        } else {
            hinge.Designation = joined(hinge.Designation, heavy ? QStringLiteral("-01") : QStringLiteral("-00"));
            hinge.Marking = joined(h.pvcMarking, heavy ? QStringLiteral("01") : QStringLiteral("00"));
        }
    }
}

void KitRules::matchKit()
{
    // After a failed size check this still finds the earlier calculation's
    // kit, whose parts then take part in the option checks.
    // Compared piece by piece: the code, the side letter, the weight.
    // The kit of the designation, side and weight of the calculation before
    // is mostly the kit of this one.
    if (!sameText(m_matched.designation, KitDesignation) || !sameText(m_matched.side, m_sideLetter) ||
        !sameText(m_matched.weight, m_weightText))
        m_matched = {KitDesignation, m_sideLetter, m_weightText, standardKitOf(KitDesignation)};
    if (m_matched.kit)
        fillKit(m_matched.kit->quantities);
}

const StandardKit* KitRules::standardKitOf(const QString& kitDesignation) const
{
    const QStringView designation(kitDesignation);
    const qsizetype tailSize = m_sideLetter.size() + m_weightText.size();
    if (!designation.endsWith(m_weightText) ||
        !designation.chopped(m_weightText.size()).endsWith(m_sideLetter))
        return nullptr;
    const QStringView code = designation.chopped(tailSize);
    for (const StandardKit& kit : m_system.kits)
        if (code == kit.code)
            return &kit;
    return nullptr;
}

void KitRules::insertWoodLetter(bool formedNow)
{
    if (!isWooden() || (!formedNow && !m_system.woodLetterOnKeptDesignation))
        return;
    // Before the kit letter; a designation kept from a failed wooden attempt
    // has its letter already and must not collect another at every retry.
    const qsizetype at = KitDesignation.indexOf(msg::kitLetter());
    if (at < 0 || (at > 0 && KitDesignation.mid(at - 1, 1) == msg::woodLetter()))
        return;
    KitDesignation.insert(at, msg::woodLetter());
}

void KitRules::options()
{
    auto set = [this](const OptionPart& o) {
        if (o.woodenOnly && !isWooden())
            return;
        const bool checked = inputValue(o.option) != 0;
        int& q = line(o.part).Quantity;
        if (!o.doublesSingle)
            q = checked ? o.quantity : 0;
        else if (checked && q == 1)
            q = o.quantity;
    };
    for (const OptionPart& o : commonOptions())
        set(o);
    for (const OptionPart& o : m_system.options)
        set(o);
}

void KitRules::optionChecks()
{
    // Quantities are those of one kit here, before the count is applied.
    refuse(ventilatorRefusal());
    for (const Refusal& r : m_system.refusals)
        refuse(r);
}

void KitRules::refuse(const Refusal& r)
{
    if (!inKit(r.part) || (r.woodenOnly && !isWooden()))
        return;
    const bool conflict = std::any_of(r.conflicts.begin(), r.conflicts.end(), [this](const Conflict& c) {
        return inKit(c.part) && (c.onlyWithStrikers < 0 || quantity(Part::Striker) == c.onlyWithStrikers);
    });
    if (!conflict)
        return;
    if (r.message) {
        fail(r.message());
        setInput(r.option, 0);
    }
    for (Part p : r.dropped)
        line(p).Quantity = 0;
}

bool KitRules::centreHandle(bool oddHeightHasCentre)
{
    const int h = ffh();
    const int g = gh();
    if (oddHeightHasCentre ? g == halfToEven(h) : 2 * g == h)
        setRuchkaVcentre(true);
    return ruchkaVcentre();
}

void KitRules::rebuildAroundHandle()
{
    for (Part bolt : m_system.bolts)
        line(bolt).Quantity = 0;
    line(Part::Extension500).Quantity = 0;
    line(Part::Extension250).Quantity = 0;
    line(Part::Striker).Quantity = 0;
    for (const WidthExtras& e : m_system.offCentreExtras) {
        if (e.width.contains(ffb())) {
            line(Part::Extension500).Quantity += e.extensions500;
            line(Part::Extension250).Quantity += e.extensions250;
            line(Part::Striker).Quantity += e.strikers;
        }
    }

    const HandleFit fit = fitOffCentre(ffh(), gh());
    if (fit.boltClass < 0) {
        fail(msg::handlePosition());
        return;
    }
    const BoltClass& cls = boltClasses[fit.boltClass];
    line(cls.bolt).Quantity += 1;
    line(Part::Extension500).Quantity += cls.extra500;
    if (fit.window < 0) {
        fail(msg::handleDistance());
        return;
    }
    line(Part::Extension500).Quantity += fit.window / 2;
    line(Part::Extension250).Quantity += fit.window % 2;
}

bool KitRules::offCentreFits(int h, int g)
{
    return fitOffCentre(h, g).window >= 0;
}

void KitRules::applySuccessRules()
{
    rebateSystemTexts();
    profileTexts();
    if (m_system.handleCanBeOffCentre && !ruchkaVcentre()) {
        // A kit rebuilt around an off-centre handle gets the strikers that its
        // parts need, as the standard kits have them.
        int strikers = 0;
        for (const auto& [part, perPiece] : m_system.offCentreStrikers)
            strikers += perPiece * quantity(part);
        line(Part::Striker).Quantity += strikers;
        KitDesignation = msg::nonStandard();
    }
}

void KitRules::rebateSystemTexts()
{
    const int system = systemProfiles();
    if (system < 0 || system >= int(rebateSystems().size()))
        return;
    const RebateSystem& r = rebateSystems()[size_t(system)];
    systemPartTexts(r);
    line(Part::Handle).Designation = joined(line(Part::Handle).Designation, handleSuffix(system, nazvSystemProfilesText()));
    if (!r.wooden)
        return;
    for (const WoodenSystemPart& w : woodenSystemParts()) {
        if (rowOf(w.part) == 0)
            continue;
        apply(line(w.part), w.variant);
        if (w.side)
            line(w.part).Designation = joined(line(w.part).Designation, m_sideLetter);
    }
}

void KitRules::profileTexts()
{
    // A list without a selection leaves the parts as they are.
    const int group = profileGroup(isWooden() ? ramaTypeText() : nazvSystemProfilesText());
    if (group < 0)
        return;
    for (const ProfileParts& p : profileParts()) {
        const Variant& v = p.byGroup[size_t(group)];
        if (rowOf(p.part) != 0 && !v.suffix.isEmpty())
            apply(line(p.part), v);
    }
}

// ---------------------------------------------------------------- order entry

QString KitRules::orderType() const
{
    return m_system.orderType + t::profilTypes.at(profilType()) + orderTypeSuffix();
}

QString KitRules::orderDopKomplekt() const
{
    QString s;
    if (ruchkaOkon())
        s += t::dopHandle + t::tipRuchki.at(tipRuchki()) + t::dopComma;
    if (provetrivatel())
        s += t::dopVentilator;
    for (const auto& [input, text] : m_system.orderPieces)
        if (inputValue(input) != 0)
            s += text;
    return s;
}

} // namespace lir
