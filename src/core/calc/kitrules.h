#pragma once

#include "core/calc/kitcalculator.h"
#include "core/calc/parts.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <algorithm>
#include <array>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

namespace lir {

// A closed range of sizes in millimetres.
struct Range
{
    int lo;
    int hi;
    constexpr bool contains(int v) const { return v >= lo && v <= hi; }
};

// The index of the first class whose range holds v, -1 when none does.
template <class Classes> int classOf(const Classes& classes, int v)
{
    for (size_t i = 0; i < std::size(classes); ++i)
        if (classes[i].contains(v))
            return int(i);
    return -1;
}
template <class Classes, class Class> int classOf(const Classes& classes, int v, Range Class::*range)
{
    for (size_t i = 0; i < std::size(classes); ++i)
        if ((classes[i].*range).contains(v))
            return int(i);
    return -1;
}

// The sizes that a set of classes accepts together: the classes of one size
// join without a gap, so the lowest and the highest bound span them all.
template <class Classes> SizeSpan spanOf(const Classes& classes)
{
    SizeSpan s{std::numeric_limits<int>::max(), std::numeric_limits<int>::min()};
    for (const Range& r : classes) {
        s.lo = std::min(s.lo, r.lo);
        s.hi = std::max(s.hi, r.hi);
    }
    return s;
}
template <class Classes, class Class> SizeSpan spanOf(const Classes& classes, Range Class::*range)
{
    SizeSpan s{std::numeric_limits<int>::max(), std::numeric_limits<int>::min()};
    for (const Class& c : classes) {
        s.lo = std::min(s.lo, (c.*range).lo);
        s.hi = std::max(s.hi, (c.*range).hi);
    }
    return s;
}

// A suffix appended to a part's designation, with the marking that replaces
// its catalogue one (none: the marking stays).
struct Variant
{
    QString suffix;
    QString marking;
};

// A standard kit: its code and the quantities of the rows of the parts table
// from the first on (rows beyond the vector are 0).
struct StandardKit
{
    QString code;
    QVector<int> quantities;
};
using KitTable = QVector<StandardKit>;

// a + b. The designations and markings of a kit are made of the same few
// pieces at every calculation, so each joined text is made once and shared
// by the calculations that join the same pieces again.
QString joined(const QString& a, const QString& b);

// Whether two texts are equal, told by their data first: the rules' texts
// are mostly the same shared data.
inline bool sameText(const QString& a, const QString& b)
{
    return a.size() == b.size() && a.isNull() == b.isNull() && (a.constData() == b.constData() || a == b);
}

// The text make() gives for these pieces, made once for each set of pieces
// and shared after, as joined() does for texts of other shapes. make() must
// depend on the pieces alone.
template <size_t N, class Make> QString madeText(const std::array<QString, N>& pieces, Make make)
{
    struct Made
    {
        std::array<QString, N> pieces;
        QString text;
    };
    thread_local std::vector<Made> made;
    for (const Made& m : made) {
        bool same = true;
        for (size_t i = 0; same && i < N; ++i)
            same = sameText(pieces[i], m.pieces[i]);
        if (same)
            return m.text;
    }
    // A handful of systems and sides; the bound only keeps odd callers small.
    if (made.size() >= 64)
        made.clear();
    made.push_back({pieces, keptText(make())});
    return made.back().text;
}

// A kit code: the system's prefix, the kit's digits and the kit letter "М".
QString kitCode(const QString& prefix, const QString& digits);
// The codes of a kit table, in its order, and the quantity vector of one kit.
QStringList codesOf(const KitTable& kits);
QVector<int> quantitiesOf(const KitTable& kits, int index);

// What an option box puts into the kit.
struct OptionPart
{
    KitCalculator::Input option;
    Part part;
    int quantity;
    bool woodenOnly = false;    // a PVC sash keeps the kit's own quantity
    bool doublesSingle = false; // checked: a single piece becomes `quantity`, any other stays
};

// A part of the kit that one of the refused parts must not stand beside.
struct Conflict
{
    Part part;
    int onlyWithStrikers = -1; // when not -1: only while the kit has exactly this many strikers
};

// A part that does not go with some others: its option is refused with a
// message and unchecked, or, without a message, parts are left out silently.
struct Refusal
{
    Part part;
    QVector<Conflict> conflicts;
    QString (*message)() = nullptr;
    KitCalculator::Input option = KitCalculator::Input::Provetrivatel;
    QVector<Part> dropped = {};
    bool woodenOnly = false;
};

// Extensions and strikers that an off-centre handle starts from, by sash width.
struct WidthExtras
{
    Range width;
    int extensions500;
    int extensions250;
    int strikers;
};

// The tables of one fitting system: everything in which the shared rules of
// KitRules differ between the systems is here, as data.
struct FittingSystem
{
    QVector<Part> rows;   // the parts table, in row order
    PartsTable catalogue; // its catalogue lines, with the system's own texts
    KitTable kits;        // the standard kits, in the order they are matched

    // Order entries: the start of Type, and the Dop_komplekt text of each own
    // box after the handle and the ventilator.
    QString orderType;
    QVector<std::pair<KitCalculator::Input, QString>> orderPieces;

    // The system's own option boxes, and the options it refuses after the
    // ventilator (which every system refuses beside the short bolts).
    QVector<OptionPart> options;
    QVector<Refusal> refusals;

    // A kit rebuilt around an off-centre handle: the bolts it clears, the
    // extensions it starts from, and the strikers each part brings.
    bool handleCanBeOffCentre = true;
    QVector<Part> bolts;
    QVector<WidthExtras> offCentreExtras;
    QVector<std::pair<Part, int>> offCentreStrikers;

    // After a failed size check the kept designation of an earlier attempt
    // gets the wooden letter too (when it has none yet).
    bool woodLetterOnKeptDesignation = false;
    // The option checks run only when both sizes were found.
    bool optionChecksNeedSizes = false;
    // A failed calculation leaves KitDesignation as the last good one left it.
    bool failureKeepsDesignation = false;
};

// The rebate system shown in SystemProfiles, as its texts need it.
struct RebateSystem
{
    QChar digit;  // in the designation of the hinge or bracket it decides
    QString name; // "20-9", "20-13", "21-13", "18-9"
    bool wooden;  // "12/18-9", the system of every wooden sash
};

// The rule toolkit: the rules that the three fitting systems share, in the
// order a calculation runs them, written once over the tables of a
// FittingSystem. A system adds its size checks, its handle position and the
// texts of the one part its rebate system names.
class KitRules : public KitCalculator
{
    Q_OBJECT

public:
    PartsTable catalogue() const final { return m_system.catalogue; }

protected:
    KitRules(Kind kind, int gridRows, const FittingSystem& system, QObject* parent);

    // What the size checks did to KitDesignation.
    enum class Designation {
        Formed, // this calculation wrote a new designation
        Kept,   // a size check failed; the earlier designation stays and is matched
        Void,   // nothing to match: the designation stays, but no kit may come of it
    };

    // ------------------------------------------------------------ the system's own steps
    virtual Designation checkSizes() = 0;
    // Runs when no check failed so far, once the Last calculation holds the sizes.
    virtual void placeHandle() {}
    // The hinge or bracket whose designation and marking name the rebate system.
    virtual void systemPartTexts(const RebateSystem& system) = 0;
    // Runs last, whatever the error flag.
    virtual void finishRules() {}
    // Fills the quantities of a matched standard kit.
    virtual void fillKit(const QVector<int>& quantities);
    // What follows the profile type in the order entry's Type.
    virtual QString orderTypeSuffix() const { return {}; }

    // ------------------------------------------------------------ tools
    // Row of the part in this system's table, 0 when the system has no such part.
    int rowOf(Part p) const { return m_rows[size_t(p)]; }
    TMyLIR& line(Part p) { return row(rowOf(p)); }
    int quantity(Part p) const { return rowOf(p) != 0 ? row(rowOf(p)).Quantity : 0; }
    bool inKit(Part p) const { return quantity(p) != 0; }
    QString designationTail() const { return m_sideLetter + m_weightText; }

    // Checks "Ручка в центре" when GH is the centre of FFH: exactly half, or
    // with halves to the even neighbour where an odd height has a centre too.
    // Returns whether the handle is centred.
    bool centreHandle(bool oddHeightHasCentre);
    // Replaces the kit's bolts and extensions by those the off-centre handle
    // position needs; fails when no bolt or no extensions fit it.
    void rebuildAroundHandle();
    // Whether a bolt and extensions fit a handle at g on a sash of height h.
    static bool offCentreFits(int h, int g);

private:
    void applyRules() final;
    void applySuccessRules() final;
    QString orderType() const final;
    QString orderDopKomplekt() const final;
    int handleRow() const final { return rowOf(Part::Handle); }

    void frameHingeTexts();
    void matchKit();
    void insertWoodLetter(bool formedNow);
    void options();
    void optionChecks();
    void refuse(const Refusal& r);
    void rebateSystemTexts();
    void profileTexts();

    // The standard kit of a designation with this calculation's side and
    // weight; null for none.
    const StandardKit* standardKitOf(const QString& kitDesignation) const;
    struct Match
    {
        QString designation, side, weight;
        const StandardKit* kit = nullptr;
    };
    const FittingSystem& m_system;
    Match m_matched; // the last designation matched and its kit
    std::array<int, size_t(Part::Count)> m_rows{};
};

} // namespace lir
