// The handlers of a calculator window: the calculation skeleton that the
// kit rules of each fitting system fill in, the result grid and its totals,
// and the hand-over of a kit to the order.
#include "core/calc/kitcalculator.h"

#include "core/base/dialogs.h"
#include "core/calc/calctexts.h"

#include <algorithm>

namespace lir {

namespace t = calctexts;

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
const QString& numberText(long long n, QString& other)
{
    constexpr int Cached = 4096;
    static const std::array<QString, Cached> texts = [] {
        std::array<QString, Cached> a;
        for (int i = 0; i < Cached; ++i)
            a[size_t(i)] = keptText(QString::number(i));
        return a;
    }();
    if (n >= 0 && n < Cached)
        return texts[size_t(n)];
    other = QString::number(n);
    return other;
}

bool sameData(const QString& a, const QString& b)
{
    return a.constData() == b.constData() && a.size() == b.size() && a.isNull() == b.isNull();
}

// A kit calculated again mostly writes the texts its cells hold already, the
// same shared data: those are left alone.
void write(QString& to, const QString& from)
{
    if (!sameData(to, from))
        to = from;
}

void writeLine(TMyLIR& to, const TMyLIR& from)
{
    write(to.Designation, from.Designation);
    write(to.Name, from.Name);
    write(to.Marking, from.Marking);
    to.Quantity = from.Quantity;
    to.Screws25 = from.Screws25;
    to.Screws40 = from.Screws40;
}

const GridRow& emptyGridRow()
{
    static const GridRow empty;
    return empty;
}

} // namespace

const GridRow& KitCalculator::gridRow(int r) const
{
    const GridRow& row = m_grid.at(r);
    return r <= m_gridShown ? row : emptyGridRow();
}

void KitCalculator::clearGrid()
{
    // The rows read as empty from here on; their texts stay until they are
    // written again, most of them with the same texts.
    m_gridShown = 0;
    // A grid that grew for an unusually long kit returns to its designed size.
    if (m_grid.size() > m_gridRows)
        m_grid.resize(m_gridRows);
    m_gridLines = std::min(m_gridLines, int(m_grid.size()) - 1);
}

void KitCalculator::writeGridRow(int r, const QString& designation, const QString& name,
                                 const QString& marking, const QString& quantity, const QString& screws25,
                                 const QString& screws40)
{
    // Not a line of KitLines any more, should it have been one.
    m_gridLines = std::min(m_gridLines, r - 1);
    GridRow& g = m_grid.data()[r];
    write(g[0], designation);
    write(g[1], name);
    write(g[2], marking);
    write(g[3], quantity);
    write(g[4], screws25);
    write(g[5], screws40);
    m_gridShown = std::max(m_gridShown, r);
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

    if (m_error)
        m_resultInputs.clear();
    else
        inputValues(m_resultInputs);

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
        TMyLIR& kept = KitLines.data()[r - 1];
        // The line of the kit before, shown in this row still: nothing to write.
        if (r <= m_gridLines && kept.Quantity == line.Quantity && kept.Screws25 == line.Screws25 &&
            kept.Screws40 == line.Screws40 && sameData(kept.Designation, line.Designation) &&
            sameData(kept.Name, line.Name) && sameData(kept.Marking, line.Marking)) {
            m_gridShown = std::max(m_gridShown, r);
            continue;
        }
        QString q, s25, s40;
        writeGridRow(r, line.Designation, line.Name, line.Marking, numberText(line.Quantity, q),
                     line.Screws25 != 0 ? numberText(line.Screws25, s25) : s25,
                     line.Screws40 != 0 ? numberText(line.Screws40, s40) : s40);
        writeLine(kept, line);
    }
    LineCount = r;
    m_gridLines = r;
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
    // A text with the same characters in the same place is the catalogue's
    // own (a literal, or data the catalogue holds and nobody can change).
    TMyLIR* rows = Komplekt.data();
    for (qsizetype k = 0; k < cat.size(); ++k)
        writeLine(rows[k], cat.at(k));
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
    // Both rows are written, empty where a total is 0.
    const QString none;
    QString n25, n40;
    writeGridRow(t1, none, s25 != 0 ? t::totalScrews25 : none, none, s25 != 0 ? numberText(s25, n25) : none,
                 none, none);
    writeGridRow(t1 + 1, none, s40 != 0 ? t::totalScrews40 : none, none,
                 s40 != 0 ? numberText(s40, n40) : none, none, none);
}

void KitCalculator::inputValues(std::vector<int>& values) const
{
    values.clear();
    for (int in = 0; in <= int(Input::RadioGroup1); ++in)
        values.push_back(hasInput(Input(in)) ? inputValue(Input(in)) : 0);
}

bool KitCalculator::resultCurrent() const
{
    if (m_resultInputs.empty())
        return false;
    std::vector<int> now;
    inputValues(now);
    return m_resultInputs == now;
}

bool KitCalculator::calculateIfChanged()
{
    // An entry stored with changed inputs and the earlier kit would become
    // another kit at the next rebuild of the order.
    if (!resultCurrent())
        RashetButtonClick();
    return resultCurrent();
}

void KitCalculator::SumButtonClick()
{
    if (!m_commandsVisible || !calculateIfChanged())
        return;
    if (OrderSink* sink = orderSink())
        sink->AddKit(*this);
}

void KitCalculator::Panel1Click()
{
    if (!calculateIfChanged())
        return;
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
