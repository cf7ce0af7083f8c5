// Which inputs each calculator window holds, when a person can reach them,
// and a person's change or a change from code to any of them.
#include "core/calc/kitcalculator.h"

#include "core/calc/calctexts.h"

#include <array>

namespace lir {

namespace t = calctexts;

namespace {

using Input = KitCalculator::Input;
using Kind = KitCalculator::Kind;

enum Windows : unsigned { Turn = 1, TiltTurn = 2, Tilt = 4, All = 7 };

unsigned windowOf(Kind k)
{
    switch (k) {
    case Kind::Turn:
        return Turn;
    case Kind::TiltTurn:
        return TiltTurn;
    case Kind::Tilt:
        break;
    }
    return Tilt;
}

// The inputs that every window holds in this class: the windows that have
// them, the windows where a click into the control shows the sash drawing
// again (ImageUpdate), when a person can reach them (always, when not given),
// and how they are read and set from code. The boxes whose click handler is
// ImageUpdate run it through their value, as a change from code does too.
struct CommonInput
{
    Input input;
    unsigned windows;
    unsigned clickShowsSash;
    bool (*available)(const KitCalculator&);
    int (*value)(const KitCalculator&);
    void (*set)(KitCalculator&, int);
};

using K = KitCalculator;

// clang-format off
const CommonInput commonInputs[] = {
    {Input::KolKomlektov, All, All, nullptr,
     [](const K& k) { return k.kolKomlektov(); }, [](K& k, int v) { k.setKolKomlektov(v); }},
    {Input::RAL, All, All, nullptr,
     [](const K& k) { return k.ral(); }, [](K& k, int v) { k.setRal(v); }},
    {Input::ProfilType, All, 0, nullptr,
     [](const K& k) { return k.profilType(); }, [](K& k, int v) { k.setProfilType(v); }},
    {Input::FFH, All, All, nullptr,
     [](const K& k) { return k.ffh(); }, [](K& k, int v) { k.setFFH(v); }},
    {Input::FFB, All, All, nullptr,
     [](const K& k) { return k.ffb(); }, [](K& k, int v) { k.setFFB(v); }},
    {Input::GH, All, All, [](const K& k) { return k.ghEnabled(); },
     [](const K& k) { return k.gh(); }, [](K& k, int v) { k.setGH(v); }},
    {Input::RuchkaVcentre, Turn | TiltTurn, 0, nullptr,
     [](const K& k) { return int(k.ruchkaVcentre()); }, [](K& k, int v) { k.setRuchkaVcentre(v != 0); }},
    {Input::PolStvorki, Turn | TiltTurn, All, nullptr,
     [](const K& k) { return k.polStvorki(); }, [](K& k, int v) { k.setPolStvorki(v); }},
    // Set from code the list runs no handler; a person's choice does (userChange).
    {Input::NazvSystemProfiles, All, All, [](const K& k) { return k.nazvVisible(); },
     [](const K& k) { return k.nazvSystemProfiles(); }, [](K& k, int v) { k.selectNazvSystemProfiles(v); }},
    // Only the tilt window's rebate type answers a click.
    {Input::RamaType, All, Tilt, [](const K& k) { return k.ramaTypeVisible(); },
     [](const K& k) { return k.ramaType(); }, [](K& k, int v) { k.setRamaType(v); }},
    {Input::RuchkaOkon, All, 0, nullptr,
     [](const K& k) { return int(k.ruchkaOkon()); }, [](K& k, int v) { k.setRuchkaOkon(v != 0); }},
    {Input::TipRuchki, All, 0, [](const K& k) { return k.handleTypeVisible(); },
     [](const K& k) { return k.tipRuchki(); }, [](K& k, int v) { k.setTipRuchki(v); }},
    {Input::Provetrivatel, All, 0, nullptr,
     [](const K& k) { return int(k.provetrivatel()); }, [](K& k, int v) { k.setProvetrivatel(v != 0); }},
    {Input::RadioGroup1, All, 0, [](const K& k) { return k.weightVisible(); },
     [](const K& k) { return k.radioGroup1(); }, [](K& k, int v) { k.setRadioGroup1(v); }},
};
// clang-format on

const CommonInput* commonInput(Input in)
{
    // By input, made once: every calculation asks for every input.
    static const auto byInput = [] {
        std::array<const CommonInput*, size_t(Input::RadioGroup1) + 1> a{};
        for (const CommonInput& c : commonInputs)
            a[size_t(c.input)] = &c;
        return a;
    }();
    const auto i = size_t(in);
    return i < byInput.size() ? byInput[i] : nullptr;
}

} // namespace

// ---------------------------------------------------------------- a person's change

void KitCalculator::addOwnInput(Input in, std::function<int()> value, std::function<void(int)> set,
                                std::function<bool()> shown)
{
    m_ownInputs.push_back({in, std::move(value), std::move(set), std::move(shown)});
}

const KitCalculator::OwnInput* KitCalculator::ownInput(Input in) const
{
    for (const OwnInput& o : m_ownInputs)
        if (o.input == in)
            return &o;
    return nullptr;
}

bool KitCalculator::hasInput(Input in) const
{
    if (const CommonInput* c = commonInput(in))
        return (c->windows & windowOf(m_kind)) != 0;
    return ownInput(in) != nullptr;
}

bool KitCalculator::inputAvailable(Input in) const
{
    if (!hasInput(in))
        return false;
    if (const CommonInput* c = commonInput(in))
        return !c->available || c->available(*this);
    const OwnInput* own = ownInput(in);
    return !own->shown || own->shown();
}

bool KitCalculator::userSet(Input in, int value)
{
    if (!userClick(in))
        return false;
    return userChange(in, value);
}

bool KitCalculator::userClick(Input in)
{
    if (!inputAvailable(in))
        return false;
    const CommonInput* c = commonInput(in);
    if (c && (c->clickShowsSash & windowOf(m_kind)) != 0)
        ImageUpdate();
    return true;
}

bool KitCalculator::userChange(Input in, int value)
{
    if (!inputAvailable(in))
        return false;
    // The one list whose choice runs a handler.
    if (in == Input::NazvSystemProfiles)
        setNazvSystemProfiles(value);
    else
        setInput(in, value);
    return true;
}

bool KitCalculator::userSetLirl(const QString& text)
{
    if (lirlReadOnly() || !m_lirlVisible)
        return false;
    setLirlText(text);
    return true;
}

// ---------------------------------------------------------------- a change from code

void KitCalculator::setInput(Input in, int value)
{
    if (!hasInput(in))
        return;
    if (const CommonInput* c = commonInput(in))
        c->set(*this, value);
    else
        ownInput(in)->set(value);
}

int KitCalculator::inputValue(Input in) const
{
    if (const CommonInput* c = commonInput(in))
        return c->value(*this);
    const OwnInput* own = ownInput(in);
    return own ? own->value() : 0;
}

const QStringList& KitCalculator::inputItems(Input in) const
{
    static const QStringList none;
    switch (in) {
    case Input::ProfilType:
        return t::profilTypes;
    case Input::Complekt:
        return t::complektItems;
    case Input::PolStvorki:
        return t::polStvorki;
    case Input::NazvSystemProfiles:
        return nazvItems();
    case Input::RamaType:
        return t::ramaTypes;
    case Input::TipRuchki:
        return t::tipRuchki;
    case Input::RadioGroup1:
        return m_kind == Kind::TiltTurn ? t::weights6742 : t::weights;
    default:
        break;
    }
    return none;
}

} // namespace lir
