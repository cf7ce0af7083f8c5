#include "calc/turnkit.h"

#include "calc/calctexts.h"

namespace lir {

namespace t = calctexts;

TurnKit::TurnKit(QObject* parent) : KitCalculator(Kind::Turn, GridRows, parent)
{
    init();
}

void TurnKit::setComplekt(int index)
{
    if (index < 0 || index > 1 || index == m_complekt)
        return;
    m_complekt = index;
    ComplektClick();
    notify();
}

void TurnKit::ComplektClick()
{
    m_ffbMaxLength = m_complekt == 0 ? 3 : 4;
    notify();
}

void TurnKit::setBalkonnayaZaschelka(bool on)
{
    if (on == m_balkonnaya)
        return;
    m_balkonnaya = on;
    ImageUpdate();
    notify();
}

void TurnKit::setBlokirator(bool on)
{
    if (on == m_blokirator)
        return;
    m_blokirator = on;
    ImageUpdate();
    notify();
}

QString TurnKit::orderType() const
{
    return t::typeTurn + t::profilTypes.at(profilType()) + QLatin1Char(' ')
           + (m_complekt == 0 ? t::typeNoClamps : t::typeClamps);
}

QString TurnKit::orderDopKomplekt() const
{
    QString s;
    if (ruchkaOkon())
        s += t::dopHandle + t::tipRuchki.at(tipRuchki()) + t::dopComma;
    if (provetrivatel())
        s += t::dopVentilator;
    if (m_balkonnaya)
        s += t::dopBalconyComma;
    if (m_blokirator)
        s += t::dopBlocker;
    return s;
}

PartsTable TurnKit::catalogue() const
{
    // The turn catalogue comes with the turn kit rules.
    return PartsTable(PartCount);
}

void TurnKit::applyRules()
{
}

void TurnKit::applySuccessRules()
{
}

} // namespace lir
