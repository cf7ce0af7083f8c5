#include "core/export/sashdrawinginput.h"

#include "core/calc/kitcalculator.h"
#include "core/orders/orderrestore.h"
#include "core/orders/ordertexts.h"

#include <algorithm>
#include <climits>

namespace lir {

namespace {

using Dimension = SashDrawingInput::Dimension;

Dimension dimensionIn(int typed, SizeSpan allowed)
{
    Dimension d;
    d.typed = typed;
    d.drawn = typed;
    if (allowed.empty())
        return d;
    d.accepted = allowed.contains(typed);
    d.allowedLo = allowed.lo;
    d.allowedHi = allowed.hi;
    d.drawn = std::clamp(typed, allowed.lo, allowed.hi);
    return d;
}

// The stretch of accepted handle places, on a sash `along` long, that lies
// nearest to the typed place; empty when no place is accepted.
SizeSpan nearestHandleSpan(const KitCalculator& c, int ffh, int ffb, int along, int typed)
{
    SizeSpan best;
    long long bestDistance = LLONG_MAX;
    int start = -1;
    // One pass over the places, millimetre by millimetre: the accepted places
    // of the bolts and their extensions are several separate stretches.
    for (int g = 0; g <= along + 1; ++g) {
        const bool ok = g <= along && c.handleAccepted(ffh, ffb, g);
        if (ok && start < 0)
            start = g;
        if (!ok && start >= 0) {
            const SizeSpan span{start, g - 1};
            const long long distance =
                typed < span.lo ? span.lo - typed : (typed > span.hi ? typed - span.hi : 0);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = span;
            }
            start = -1;
        }
    }
    return best;
}

} // namespace

SashDrawingInput sashDrawingOf(const KitCalculator& c)
{
    SashDrawingInput in;
    const bool tilt = c.kind() == KitCalculator::Kind::Tilt;
    switch (c.kind()) {
    case KitCalculator::Kind::Turn:
        in.opening = SashDrawingInput::Opening::Turn;
        break;
    case KitCalculator::Kind::TiltTurn:
        in.opening = SashDrawingInput::Opening::TiltTurn;
        break;
    case KitCalculator::Kind::Tilt:
        in.opening = SashDrawingInput::Opening::Tilt;
        break;
    }
    in.hingesLeft = !tilt && c.polStvorki() == 1;
    in.wooden = c.isWooden();
    in.handleInKit = c.ruchkaOkon();
    in.handleCentred = tilt || c.ruchkaVcentre();

    // The width may depend on the height class: it is judged at the height drawn.
    in.ffh = dimensionIn(c.ffh(), c.allowedFFH());
    in.ffb = dimensionIn(c.ffb(), c.allowedFFB(in.ffh.drawn));

    const int along = tilt ? in.ffb.drawn : in.ffh.drawn;
    Dimension& g = in.gh;
    g.typed = c.gh();
    if (in.handleCentred) {
        // GH follows the size; the handle sits in the middle of what is drawn.
        g.drawn = KitCalculator::halfToEven(std::max(along, 0));
    } else if (g.typed >= 0 && g.typed <= along && c.handleAccepted(in.ffh.drawn, in.ffb.drawn, g.typed)) {
        g.drawn = g.typed;
    } else {
        g.accepted = false;
        const SizeSpan span = nearestHandleSpan(c, in.ffh.drawn, in.ffb.drawn, along, g.typed);
        if (span.empty()) {
            g.drawn = std::clamp(g.typed, 0, std::max(along, 0));
            g.allowedLo = 1; // no place: no range to show
            g.allowedHi = 0;
        } else {
            g.drawn = std::clamp(g.typed, span.lo, span.hi);
            g.allowedLo = span.lo;
            g.allowedHi = span.hi;
        }
    }
    if (c.kitCurrent())
        in.kitDesignation = c.KitDesignation;
    return in;
}

SashDrawingInput sashDrawingOf(const TOrder& e)
{
    SashDrawingInput in;
    const std::optional<KitCalculator::Kind> kind = entryKind(e);
    const bool tilt = kind == KitCalculator::Kind::Tilt;
    if (tilt)
        in.opening = SashDrawingInput::Opening::Tilt;
    else if (kind == KitCalculator::Kind::TiltTurn)
        in.opening = SashDrawingInput::Opening::TiltTurn;
    in.hingesLeft = !tilt && entrySide(e).value_or(0) == 1;
    in.wooden = !e.Type.contains(ordertexts::typePvc());
    in.handleInKit = e.Dop_komplekt.contains(ordertexts::dopHandle());
    in.handleCentred = tilt || entryHandleCentred(e);
    // The sizes were accepted when the kit was calculated: drawn as kept.
    auto kept = [](int value) {
        Dimension d;
        d.typed = value;
        d.drawn = std::max(value, 0);
        return d;
    };
    in.ffb = kept(e.FFB);
    in.ffh = kept(e.FFH);
    in.gh = kept(e.GH);
    const int along = tilt ? in.ffb.drawn : in.ffh.drawn;
    in.gh.drawn = in.handleCentred ? KitCalculator::halfToEven(along) : std::min(in.gh.drawn, along);
    in.kitDesignation = e.Designation;
    return in;
}

} // namespace lir
