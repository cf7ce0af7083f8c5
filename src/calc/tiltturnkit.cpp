#include "calc/tiltturnkit.h"

#include "calc/calctexts.h"

namespace lir {

namespace t = calctexts;

TiltTurnKit::TiltTurnKit(QObject* parent) : KitCalculator(Kind::TiltTurn, GridRows, parent)
{
    init();
}

void TiltTurnKit::setCbZapor(bool on)
{
    if (on == m_cbZapor)
        return;
    m_cbZapor = on;
    notify();
}

void TiltTurnKit::setPlankaMicrovent(bool on)
{
    if (on == m_plankaMicrovent)
        return;
    m_plankaMicrovent = on;
    ImageUpdate();
    notify();
}

void TiltTurnKit::setCheckBox1(bool on)
{
    if (on == m_checkBox1)
        return;
    m_checkBox1 = on;
    ImageUpdate();
    notify();
}

void TiltTurnKit::profileTypeExtras()
{
    // A wooden sash takes no micro-ventilation strip.
    setPlankaMicrovent(false);
}

void TiltTurnKit::fill_the_komplect6742(const QVector<int>& q)
{
    fillQuantities(q);
    if (m_cbZapor) {
        row(41).Quantity = 1;
        row(42).Quantity = 1;
    }
}

void TiltTurnKit::fill_default_value_screw()
{
    KitCalculator::fill_default_value_screw();
}

QString TiltTurnKit::orderType() const
{
    return t::typeTiltTurn + t::profilTypes.at(profilType());
}

QString TiltTurnKit::orderDopKomplekt() const
{
    QString s;
    if (ruchkaOkon())
        s += t::dopHandle + t::tipRuchki.at(tipRuchki()) + t::dopComma;
    if (provetrivatel())
        s += t::dopVentilator;
    if (m_plankaMicrovent)
        s += t::dopMicrovent;
    if (m_checkBox1)
        s += t::dopBalcony;
    return s;
}

PartsTable TiltTurnKit::catalogue() const
{
    // The tilt-turn catalogue comes with the tilt-turn kit rules.
    return PartsTable(PartCount);
}

void TiltTurnKit::applyRules()
{
}

void TiltTurnKit::applySuccessRules()
{
}

} // namespace lir
