#include "core/orders/orderrestore.h"

#include "core/calc/calctexts.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/orders/ordertexts.h"

namespace lir {

namespace t = ordertexts;
namespace ct = calctexts;

namespace {

using Kind = KitCalculator::Kind;

int itemIgnoringCase(const QStringList& items, const QString& text)
{
    for (int i = 0; i < items.size(); ++i)
        if (items.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

std::optional<KitCalculator::Kind> entryKind(const TOrder& entry)
{
    if (entry.Type.contains(t::typeTurn()))
        return Kind::Turn;
    if (entry.Type.contains(t::typeTiltTurn()))
        return Kind::TiltTurn;
    if (entry.Type.contains(t::typeTilt()))
        return Kind::Tilt;
    return std::nullopt;
}

bool designationHasLock(const QString& d)
{
    const QString prefix = t::lockPrefix();
    if (d.startsWith(prefix)) {
        // A standard code has two digits after the prefix; the lock inserts a third.
        const qsizetype p = prefix.size();
        return d.size() >= p + 3 && isDigit(d.at(p)) && isDigit(d.at(p + 1)) && isDigit(d.at(p + 2));
    }
    for (const QString& smallest : t::lockPrefixes())
        if (d.startsWith(smallest))
            return true;
    return false;
}

std::optional<int> entrySide(const TOrder& e)
{
    // The pieces of an off-centre kit name the side last, and win.
    if (e.Dop_komplekt.contains(ct::dopSideLeft))
        return 1;
    if (e.Dop_komplekt.contains(ct::dopSideRight))
        return 0;
    if (e.Designation.contains(t::sideLeft()))
        return 1;
    if (e.Designation.contains(t::sideRight()))
        return 0;
    return std::nullopt;
}

bool entryHandleCentred(const TOrder& e)
{
    return e.GH == KitCalculator::halfToEven(e.FFH) && e.Designation != ct::kitNonStandard;
}

void restoreEntry(const TOrder& e, KitCalculator& calc)
{
    const Kind kind = calc.kind();
    const QString& type = e.Type;
    const QString& des = e.Designation;
    const QString& dop = e.Dop_komplekt;

    // 1. Profile type.
    const bool pvc = type.contains(t::typePvc());
    calc.setProfilType(pvc ? 0 : 1);

    // 2. Clamps of the turn kit.
    if (kind == Kind::Turn) {
        auto& turn = static_cast<TurnKit&>(calc);
        if (type.contains(t::typeClamps()))
            turn.setComplekt(1);
        else if (type.contains(t::typeNoClamps()))
            turn.setComplekt(0);
    }

    // The handle position decides between a standard and an off-centre kit;
    // it is set before the sizes, which it makes GH follow or not.
    if (kind != Kind::Tilt)
        calc.setRuchkaVcentre(entryHandleCentred(e));

    // 3. Count, colour and sizes, in this order.
    calc.setKolKomlektov(e.Count);
    calc.setRal(e.Color);
    calc.setFFH(e.FFH);
    calc.setFFB(e.FFB);
    calc.setGH(e.GH);

    // 4.-5. Sash side: from the designation, or from the pieces of an off-centre kit.
    if (kind != Kind::Tilt) {
        if (const std::optional<int> side = entrySide(e))
            calc.setPolStvorki(*side);
    }

    // 6.-7. Sash weight: the designation ends with the weight text; an
    // off-centre kit names it among its pieces.
    if (des.endsWith(t::weight100()))
        calc.setRadioGroup1(0);
    if (des.endsWith(t::weight120()))
        calc.setRadioGroup1(1);
    if (dop.contains(ct::dopWeight100))
        calc.setRadioGroup1(0);
    if (dop.contains(ct::dopWeight120))
        calc.setRadioGroup1(1);

    // 8. Profile-system name, or the frame rebate for a wooden profile.
    if (pvc) {
        calc.selectNazvSystemProfiles(itemIgnoringCase(calc.nazvItems(), e.Profil));
        // The selection runs no handler: the rebate system of the name is set here,
        // for the replay and for an entry opened for editing alike.
        calc.NazvSystemProfilesChange();
    } else {
        calc.setRamaType(itemIgnoringCase(ct::ramaTypes, e.Profil));
    }

    // 9.-12. Handle and ventilator.
    calc.setRuchkaOkon(dop.contains(t::dopHandle()));
    if (dop.contains(t::dopHandle0317()))
        calc.setTipRuchki(0);
    if (dop.contains(t::dopHandle1938()))
        calc.setTipRuchki(1);
    calc.setProvetrivatel(dop.contains(t::dopVentilator()));

    // 13.-16. The options of each window, and the tilt-turn lock.
    switch (kind) {
    case Kind::Turn: {
        auto& turn = static_cast<TurnKit&>(calc);
        turn.setBalkonnayaZaschelka(dop.contains(t::dopBalcony()));
        turn.setBlokirator(dop.contains(t::dopBlocker()));
        break;
    }
    case Kind::TiltTurn: {
        auto& tt = static_cast<TiltTurnKit&>(calc);
        tt.setPlankaMicrovent(dop.contains(t::dopMicrovent()));
        tt.setCheckBox1(dop.contains(t::dopBalcony()));
        tt.setCbZapor(dop.contains(ct::dopLock) || designationHasLock(des));
        break;
    }
    case Kind::Tilt:
        static_cast<TiltKit&>(calc).setCheckBox1(dop.contains(t::dopScissors()));
        break;
    }
}

} // namespace lir
