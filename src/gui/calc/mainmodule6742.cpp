#include "gui/calc/mainmodule6742.h"

#include "core/calc/calctexts.h"

namespace lir::gui {

namespace t = calctexts;

TMainForm6742::TMainForm6742(QWidget* parent)
    : CalculatorWindow(new TiltTurnKit, t::caption6742, parent),
      m_kit(static_cast<TiltTurnKit*>(&calculator()))
{
    setObjectName(QStringLiteral("MainForm6742"));
    build();
}

QString TMainForm6742::saveChangesCaption() const
{
    return t::btSaveChanges6742;
}

void TMainForm6742::addKitVariant(QVBoxLayout* l)
{
    m_zapor = addCheckBox(l, QStringLiteral("cb_zapor"), t::lblZapor, KitCalculator::Input::CbZapor);
}

void TMainForm6742::addOptions(QVBoxLayout* l)
{
    m_microvent = addCheckBox(l, QStringLiteral("PlankaMicrovent6742"), t::lblPlankaMicrovent,
                              KitCalculator::Input::PlankaMicrovent);
    m_balkonnaya = addCheckBox(l, QStringLiteral("CheckBox1"), t::lblBalkonnaya, KitCalculator::Input::CheckBox1);
}

void TMainForm6742::syncExtras()
{
    showChecked(m_zapor, m_kit->cbZapor());
    showChecked(m_microvent, m_kit->plankaMicrovent());
    m_microvent->setVisible(m_kit->plankaMicroventVisible());
    showChecked(m_balkonnaya, m_kit->checkBox1());
}

} // namespace lir::gui
