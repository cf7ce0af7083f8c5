#include "gui/calc/mainmodule6741otkid.h"

#include "core/calc/calctexts.h"

namespace lir::gui {

namespace t = calctexts;

TMainForm6741otkid::TMainForm6741otkid(QWidget* parent)
    : CalculatorWindow(new TiltKit, t::caption6741otkid, parent),
      m_kit(static_cast<TiltKit*>(&calculator()))
{
    setObjectName(QStringLiteral("MainForm6741otkid"));
    build();
}

QString TMainForm6741otkid::ghLabel() const
{
    return t::lblGHTilt;
}

void TMainForm6741otkid::addOptions(QVBoxLayout* l)
{
    m_scissors = addCheckBox(l, QStringLiteral("CheckBox1"), t::lblScissors, KitCalculator::Input::CheckBox1);
}

void TMainForm6741otkid::syncExtras()
{
    showChecked(m_scissors, m_kit->checkBox1());
}

} // namespace lir::gui
