#include "core/calc/kitcalculator.h"

#include "core/base/dialogs.h"
#include "core/calc/calctexts.h"

#include <algorithm>

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
    for (const CommonInput& c : commonInputs)
        if (c.input == in)
            return &c;
    return nullptr;
}

} // namespace

KitCalculator::KitCalculator(Kind kind, int gridRows, QObject* parent)
    : QObject(parent), m_kind(kind), m_gridRows(gridRows)
{
    m_grid.resize(gridRows);
}

KitCalculator::~KitCalculator() = default;

void KitCalculator::init()
{
    Komplekt = catalogue();
    KitLines = PartsTable(Komplekt.size());
}

QString KitCalculator::model() const
{
    switch (m_kind) {
    case Kind::Turn:
        return QStringLiteral("6741");
    case Kind::TiltTurn:
        return QStringLiteral("6742");
    case Kind::Tilt:
        break;
    }
    return QStringLiteral("6741otkid");
}

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

// ---------------------------------------------------------------- inputs

void KitCalculator::setKolKomlektov(int v)
{
    v = std::clamp(v, 1, 100000);
    changeInput(m_kolKomlektov, v);
}

void KitCalculator::setRal(int v)
{
    v = std::clamp(v, 0, 9999);
    changeInput(m_ral, v);
}

void KitCalculator::setProfilType(int index)
{
    if (index < 0 || index > 1)
        return;
    changeInput(m_profilType, index, [this] { ProfilTypeClick(); });
}

void KitCalculator::setFFH(int v)
{
    changeInput(m_ffh, v, [this] {
        if (m_kind != Kind::Tilt)
            FFHChange();
    });
}

void KitCalculator::setFFB(int v)
{
    changeInput(m_ffb, v, [this] {
        if (m_kind == Kind::Tilt)
            FFBChange();
    });
}

void KitCalculator::setGH(int v)
{
    changeInput(m_gh, v);
}

void KitCalculator::setRuchkaVcentre(bool on)
{
    changeInput(m_ruchkaVcentre, on, [this] { RuchkaVcentreClick(); });
}

void KitCalculator::setPolStvorki(int index)
{
    if (index < 0 || index > 1)
        return;
    changeInput(m_polStvorki, index);
}

QString KitCalculator::systemProfilesText() const
{
    return t::systemProfiles.value(m_systemProfiles);
}

const QStringList& KitCalculator::nazvItems() const
{
    switch (m_kind) {
    case Kind::Turn:
        return t::nazvTurn;
    case Kind::TiltTurn:
        return t::nazvTiltTurn;
    case Kind::Tilt:
        break;
    }
    return t::nazvTilt;
}

QString KitCalculator::nazvSystemProfilesText() const
{
    return nazvItems().value(m_nazv);
}

void KitCalculator::setNazvSystemProfiles(int index)
{
    if (index < -1 || index >= nazvItems().size())
        return;
    changeInput(m_nazv, index, [this] { NazvSystemProfilesChange(); });
}

void KitCalculator::selectNazvSystemProfiles(int index)
{
    if (index < -1 || index >= nazvItems().size() || index == m_nazv)
        return;
    m_nazv = index;
    ++m_inputRevision;
    notify();
}

QString KitCalculator::ramaTypeText() const
{
    return t::ramaTypes.value(m_ramaType);
}

void KitCalculator::setRamaType(int index)
{
    if (index < -1 || index >= t::ramaTypes.size())
        return;
    changeInput(m_ramaType, index);
}

void KitCalculator::setRuchkaOkon(bool on)
{
    changeInput(m_ruchkaOkon, on, [this] { RuchkaOkonClick(); });
}

void KitCalculator::setTipRuchki(int index)
{
    if (index < 0 || index > 1)
        return;
    changeInput(m_tipRuchki, index);
}

void KitCalculator::setProvetrivatel(bool on)
{
    changeInput(m_provetrivatel, on, [this] { ImageUpdate(); });
}

void KitCalculator::setRadioGroup1(int index)
{
    if (index < 0 || index > 1)
        return;
    changeInput(m_radioGroup1, index);
}

void KitCalculator::setLirlText(const QString& text)
{
    if (text == m_lirlText)
        return;
    m_lirlText = text;
    notify();
}

void KitCalculator::setSaveChangesVisible(bool on)
{
    changeInput(m_saveChangesVisible, on);
}

// ---------------------------------------------------------------- window geometry

QStringList KitCalculator::gridHeaders(int screenWidth)
{
    return screenWidth >= 970 ? t::gridHeadersWide : t::gridHeadersNarrow;
}

QList<int> KitCalculator::gridColumnWidths(int screenWidth)
{
    return screenWidth >= 970 ? t::gridWidthsWide : t::gridWidthsNarrow;
}

int KitCalculator::windowWidth(int screenWidth)
{
    return screenWidth > 1000 ? 1000 : screenWidth;
}

// ---------------------------------------------------------------- handlers

void KitCalculator::FormActivate()
{
    m_resultVisible = false;
    m_commandsVisible = false;
    m_lirlVisible = false;
    notify();
}

void KitCalculator::ImageUpdate()
{
    m_image1Visible = true;
    m_image3Visible = false;
    notify();
}

int KitCalculator::halfToEven(int size)
{
    int half = size / 2;
    if (size % 2 != 0 && half % 2 != 0)
        ++half;
    return half;
}

void KitCalculator::followHalf(int size)
{
    if (m_ruchkaVcentre && size > 0)
        setGH(halfToEven(size));
}

void KitCalculator::FFHChange()
{
    followHalf(m_ffh);
}

void KitCalculator::FFBChange()
{
    followHalf(m_ffb);
}

void KitCalculator::RuchkaVcentreClick()
{
    ImageUpdate();
    followHalf(m_kind == Kind::Tilt ? m_ffb : m_ffh);
    notify();
}

void KitCalculator::NazvSystemProfilesChange()
{
    // A wooden sash always uses its own rebate system, whatever name the hidden list holds.
    if (isWooden())
        return;
    const QList<int>& systems = m_kind == Kind::Tilt ? t::systemOfNazvTilt : t::systemOfNazvTurn;
    if (m_nazv >= 0 && m_nazv < systems.size())
        m_systemProfiles = systems.at(m_nazv);
    notify();
}

void KitCalculator::ProfilTypeClick()
{
    if (isWooden()) {
        m_systemProfiles = t::Sys18_9;
        profileTypeExtras();
    } else {
        NazvSystemProfilesChange();
    }
    notify();
}

void KitCalculator::RuchkaOkonClick()
{
    ImageUpdate();
    notify();
}

void KitCalculator::Panel2Click()
{
    m_resultVisible = false;
    m_commandsVisible = false;
    m_lirlVisible = false;
    m_image1Visible = m_image3Visible;
    m_image3Visible = !m_image3Visible;
    notify();
}

void KitCalculator::fail(const QString& message)
{
    m_error = true;
    dialogs().errorBox(message);
}

void KitCalculator::fillQuantities(const QVector<int>& q)
{
    for (int k = 0; k < Komplekt.size(); ++k)
        Komplekt[k].Quantity = k < q.size() ? q.at(k) : 0;
}

void KitCalculator::fill_default_value_screw()
{
    const PartsTable cat = catalogue();
    TMyLIR* rows = Komplekt.data();
    const qsizetype n = std::min(Komplekt.size(), cat.size());
    for (qsizetype k = 0; k < n; ++k) {
        rows[k].Screws25 = cat.at(k).Screws25;
        rows[k].Screws40 = cat.at(k).Screws40;
    }
}

namespace {

// The quantities and screws of a kit are small numbers; their texts are made
// once and shared by every grid cell that shows them.
QString numberText(long long n)
{
    constexpr int Cached = 4096;
    static const std::array<QString, Cached> texts = [] {
        std::array<QString, Cached> a;
        for (int i = 0; i < Cached; ++i)
            a[size_t(i)] = QString::number(i);
        return a;
    }();
    return n >= 0 && n < Cached ? texts[size_t(n)] : QString::number(n);
}

} // namespace

void KitCalculator::clearGrid()
{
    // Most cells are empty already; only written ones are let go.
    GridRow* rows = m_grid.data();
    for (qsizetype r = 1; r < m_grid.size(); ++r)
        for (QString& cell : rows[r])
            if (!cell.isNull())
                cell = QString();
    // A grid that grew for an unusually long kit returns to its designed size.
    if (m_grid.size() > m_gridRows)
        m_grid.resize(m_gridRows);
}

void KitCalculator::RashetButtonClick()
{
    // A fresh start of the result, shown before the first message box of the
    // checks can appear over a stale kit.
    ImageUpdate();
    m_lirlVisible = true;
    m_commandsVisible = false;
    clearGrid();
    m_error = false;
    notify();

    // Values derived from the inputs.
    m_weightText = isWooden() ? QString() : (m_radioGroup1 == 1 ? QStringLiteral("120") : QStringLiteral("100"));
    m_sideLetter = m_kind == Kind::Tilt ? QString()
                                        : (m_polStvorki == 1 ? QStringLiteral("L") : QStringLiteral("R"));
    row(handleRow()).Designation = m_tipRuchki == 1 ? QStringLiteral("1938.00") : QStringLiteral("0317.00");

    // Sizes, kit, options and their checks.
    applyRules();

    // Final texts and corrections, then the kit count.
    if (!m_error) {
        applySuccessRules();
        for (TMyLIR& line : Komplekt) {
            line.Quantity = line.Quantity * m_kolKomlektov;
            line.Screws25 = line.Quantity * line.Screws25;
            line.Screws40 = line.Quantity * line.Screws40;
        }
    }

    // Grid, kit designation and the Last calculation.
    if (!m_error)
        writeGridAndLast();

    // The parts table returns to its catalogue.
    restoreCatalogue();

    // Screw totals.
    writeTotals(!m_error);

    // "Сохранить изменения" follows its visibility; the tilt-turn window only
    // ever enables it.
    if (m_kind == Kind::TiltTurn) {
        if (m_saveChangesVisible)
            m_saveChangesEnabled = true;
    } else {
        m_saveChangesEnabled = m_saveChangesVisible;
    }
    // What the rules changed themselves ("Ручка в центре") belongs to this kit.
    m_calculatedRevision = m_inputRevision;
    notify();
}

void KitCalculator::writeGridAndLast()
{
    m_lirlText = KitDesignation;
    m_resultVisible = true;
    m_commandsVisible = true;
    int r = 0;
    for (const TMyLIR& line : std::as_const(Komplekt)) {
        if (line.Quantity == 0)
            continue;
        ++r;
        // The grid has room for the largest kits with their totals; should a kit
        // ever be longer, the grid grows rather than dropping lines.
        if (r + 2 >= m_grid.size())
            m_grid.resize(r + 3);
        GridRow& g = m_grid[r];
        g[0] = line.Designation;
        g[1] = line.Name;
        g[2] = line.Marking;
        g[3] = numberText(line.Quantity);
        g[4] = line.Screws25 != 0 ? numberText(line.Screws25) : QString();
        g[5] = line.Screws40 != 0 ? numberText(line.Screws40) : QString();
        KitLines[r - 1] = line;
    }
    LineCount = r;
}

void KitCalculator::restoreCatalogue()
{
    // In place, row by row: a text the rules left alone still shares its
    // catalogue data and costs nothing, and the table keeps its storage.
    const PartsTable cat = catalogue();
    if (Komplekt.size() != cat.size()) {
        Komplekt = cat;
        return;
    }
    auto restore = [](QString& text, const QString& original) {
        // The same characters in the same place: the catalogue's own text
        // (a literal, or data the catalogue holds and nobody can change).
        if (text.constData() != original.constData() || text.size() != original.size())
            text = original;
    };
    TMyLIR* rows = Komplekt.data();
    for (qsizetype k = 0; k < cat.size(); ++k) {
        const TMyLIR& original = cat.at(k);
        TMyLIR& line = rows[k];
        restore(line.Designation, original.Designation);
        restore(line.Name, original.Name);
        restore(line.Marking, original.Marking);
        line.Quantity = original.Quantity;
        line.Screws25 = original.Screws25;
        line.Screws40 = original.Screws40;
    }
}

void KitCalculator::writeTotals(bool success)
{
    const int t1 = success ? LineCount + 1 : 1;
    // The screw columns of the grid hold the screws of the kit's lines and
    // nothing else (a failed calculation leaves them empty), so the totals
    // are summed from the lines rather than read back from the texts.
    long long s25 = 0;
    long long s40 = 0;
    if (success) {
        for (int r = 0; r < LineCount; ++r) {
            s25 += KitLines.at(r).Screws25;
            s40 += KitLines.at(r).Screws40;
        }
    }
    if (s25 != 0) {
        m_grid[t1][3] = numberText(s25);
        m_grid[t1][1] = t::totalScrews25;
    }
    if (s40 != 0) {
        m_grid[t1 + 1][3] = numberText(s40);
        m_grid[t1 + 1][1] = t::totalScrews40;
    }
}

void KitCalculator::SumButtonClick()
{
    if (!m_commandsVisible)
        return;
    if (OrderSink* sink = orderSink())
        sink->AddKit(*this);
}

void KitCalculator::Panel1Click()
{
    if (OrderSink* sink = orderSink()) {
        fill_the_order(sink->EditedEntry());
        sink->ReplayOrder();
    }
    m_saveChangesVisible = false;
    notify();
}

TOrder KitCalculator::orderEntry() const
{
    TOrder o;
    o.Type = orderType();
    o.Designation = m_lirlText;
    o.Profil = isWooden() ? ramaTypeText() : nazvSystemProfilesText();
    o.Dop_komplekt = orderDopKomplekt();
    // The order restores a kit from these texts: the lock, and for an
    // off-centre kit, whose designation carries neither, the side and weight.
    auto append = [&o](const QString& piece) {
        if (!o.Dop_komplekt.isEmpty() && !o.Dop_komplekt.endsWith(t::dopComma))
            o.Dop_komplekt += t::dopComma;
        o.Dop_komplekt += piece;
    };
    if (orderLock())
        append(t::dopLock);
    if (o.Designation == t::kitNonStandard) {
        if (m_kind != Kind::Tilt)
            append(m_polStvorki == 1 ? t::dopSideLeft : t::dopSideRight);
        if (!isWooden())
            append(m_radioGroup1 == 1 ? t::dopWeight120 : t::dopWeight100);
    }
    o.Count = m_kolKomlektov;
    o.Color = m_ral;
    o.FFH = m_ffh;
    o.FFB = m_ffb;
    o.GH = m_gh;
    return o;
}

void KitCalculator::fill_the_order(int index)
{
    if (OrderSink* sink = orderSink())
        sink->StoreEntry(index, orderEntry());
}

} // namespace lir
