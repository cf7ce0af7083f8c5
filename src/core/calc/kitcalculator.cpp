// The state of a calculator window: its inputs as the window shows them, and
// the result grid's geometry.
#include "core/calc/kitcalculator.h"

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

} // namespace lir
