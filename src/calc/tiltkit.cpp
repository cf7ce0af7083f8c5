#include "calc/tiltkit.h"

#include "calc/calctexts.h"

namespace lir {

namespace t = calctexts;

TiltKit::TiltKit(QObject* parent) : KitCalculator(Kind::Tilt, GridRows, parent)
{
    init();
}

void TiltKit::setCheckBox1(bool on)
{
    if (on == m_checkBox1)
        return;
    m_checkBox1 = on;
    ImageUpdate();
    notify();
}

QString TiltKit::orderType() const
{
    return t::typeTilt + t::profilTypes.at(profilType());
}

QString TiltKit::orderDopKomplekt() const
{
    QString s;
    if (ruchkaOkon())
        s += t::dopHandle + t::tipRuchki.at(tipRuchki()) + t::dopComma;
    if (provetrivatel())
        s += t::dopVentilator;
    if (m_checkBox1)
        s += t::dopScissors;
    return s;
}

PartsTable TiltKit::catalogue() const
{
    // The tilt catalogue comes with the tilt kit rules.
    return PartsTable(PartCount);
}

void TiltKit::applyRules()
{
}

void TiltKit::applySuccessRules()
{
}

} // namespace lir
