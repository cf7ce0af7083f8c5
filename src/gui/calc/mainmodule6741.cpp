#include "gui/calc/mainmodule6741.h"

#include "gui/app/widgets.h"
#include "core/calc/calctexts.h"

#include <QRadioButton>

namespace lir::gui {

namespace t = calctexts;

TMainForm6741::TMainForm6741(QWidget* parent)
    : CalculatorWindow(new TurnKit, t::caption6741, parent),
      m_kit(static_cast<TurnKit*>(&calculator()))
{
    setObjectName(QStringLiteral("MainForm6741"));
    build();
}

void TMainForm6741::addKitVariant(QVBoxLayout* l)
{
    auto* box = new QGroupBox(t::lblComplekt, this);
    box->setObjectName(QStringLiteral("Complekt"));
    auto* bl = new QVBoxLayout(box);
    bl->setContentsMargins(6, 2, 6, 2);
    bl->setSpacing(0);
    m_complekt = new QButtonGroup(box);
    for (int i = 0; i < t::complektItems.size(); ++i) {
        auto* rb = new QRadioButton(t::complektItems.at(i), box);
        m_complekt->addButton(rb, i);
        bl->addWidget(rb);
    }
    forwardClicks(m_complekt, KitCalculator::Input::Complekt);
    l->addWidget(box);
}

void TMainForm6741::addOptions(QVBoxLayout* l)
{
    m_balkonnaya = addCheckBox(l, QStringLiteral("BalkonnayaZaschelka"), t::lblBalkonnaya,
                               KitCalculator::Input::BalkonnayaZaschelka);
    m_blokirator = addCheckBox(l, QStringLiteral("blokirator"), t::lblBlokirator, KitCalculator::Input::Blokirator);
}

void TMainForm6741::syncExtras()
{
    if (QAbstractButton* b = m_complekt->button(m_kit->complekt())) {
        const QSignalBlocker block(m_complekt);
        b->setChecked(true);
    }
    ffb()->setMaxLength(m_kit->ffbMaxLength());
    showChecked(m_balkonnaya, m_kit->balkonnayaZaschelka());
    showChecked(m_blokirator, m_kit->blokirator());
    m_blokirator->setVisible(m_kit->blokiratorVisible());
}

} // namespace lir::gui
