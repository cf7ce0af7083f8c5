#include "core/calc/kitcalculator.h"

#include "core/base/dialogs.h"
#include "core/calc/calctexts.h"

#include <algorithm>

namespace lir {

namespace t = calctexts;

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
    for (int k = 0; k < Komplekt.size(); ++k) {
        Komplekt[k].Screws25 = cat.at(k).Screws25;
        Komplekt[k].Screws40 = cat.at(k).Screws40;
    }
}

void KitCalculator::clearGrid()
{
    for (int r = 1; r < m_grid.size(); ++r)
        m_grid[r] = GridRow{};
    // A grid that grew for an unusually long kit returns to its designed size.
    if (m_grid.size() > m_gridRows)
        m_grid.resize(m_gridRows);
}

void KitCalculator::RashetButtonClick()
{
    // 1. Fresh start of the result, shown before the first message box of
    // the checks can appear over a stale kit.
    ImageUpdate();
    m_lirlVisible = true;
    m_commandsVisible = false;
    clearGrid();
    m_error = false;
    notify();

    // 2. Values derived from the inputs.
    m_weightText = isWooden() ? QString() : (m_radioGroup1 == 1 ? QStringLiteral("120") : QStringLiteral("100"));
    m_sideLetter = m_kind == Kind::Tilt ? QString()
                                        : (m_polStvorki == 1 ? QStringLiteral("L") : QStringLiteral("R"));
    row(handleRow()).Designation = m_tipRuchki == 1 ? QStringLiteral("1938.00") : QStringLiteral("0317.00");

    // 3.-5. Sizes, kit, options and their checks.
    applyRules();

    // 6. Final texts and corrections, then the kit count.
    if (!m_error) {
        applySuccessRules();
        for (TMyLIR& line : Komplekt) {
            line.Quantity = line.Quantity * m_kolKomlektov;
            line.Screws25 = line.Quantity * line.Screws25;
            line.Screws40 = line.Quantity * line.Screws40;
        }
    }

    // 7. Grid, kit designation and the Last calculation.
    if (!m_error)
        writeGridAndLast();

    // 8. The parts table returns to its catalogue.
    Komplekt = catalogue();

    // 9. Screw totals.
    writeTotals(!m_error);

    // 10.
    if (m_kind == Kind::TiltTurn) {
        if (m_saveChangesVisible)
            m_saveChangesEnabled = true;
    } else {
        m_saveChangesEnabled = m_saveChangesVisible;
    }
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
        g[3] = QString::number(line.Quantity);
        g[4] = line.Screws25 != 0 ? QString::number(line.Screws25) : QString();
        g[5] = line.Screws40 != 0 ? QString::number(line.Screws40) : QString();
        KitLines[r - 1] = line;
    }
    LineCount = r;
}

void KitCalculator::writeTotals(bool success)
{
    const int t1 = success ? LineCount + 1 : 1;
    auto sumColumn = [this](int column, int skipRow) {
        long long sum = 0;
        for (int r = 1; r < m_grid.size(); ++r) {
            if (r == skipRow)
                continue;
            bool ok = false;
            const long long v = m_grid[r][column].toLongLong(&ok);
            if (ok)
                sum += v;
        }
        return sum;
    };
    const long long s25 = sumColumn(4, t1);
    if (s25 != 0) {
        m_grid[t1][3] = QString::number(s25);
        m_grid[t1][1] = t::totalScrews25;
    }
    const long long s40 = sumColumn(5, t1 + 1);
    if (s40 != 0) {
        m_grid[t1 + 1][3] = QString::number(s40);
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
