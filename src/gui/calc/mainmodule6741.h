#pragma once

#include "gui/calc/calculatorwindow.h"
#include "core/calc/turnkit.h"

namespace lir::gui {

// The turn-fitting calculator window.
class TMainForm6741 : public CalculatorWindow
{
    Q_OBJECT
public:
    explicit TMainForm6741(QWidget* parent = nullptr);
    TurnKit& kit() const { return *m_kit; }

protected:
    void addKitVariant(QVBoxLayout* l) override;
    void addOptions(QVBoxLayout* l) override;
    void syncExtras() override;

private:
    TurnKit* m_kit;
    QButtonGroup* m_complekt = nullptr;
    QCheckBox* m_balkonnaya = nullptr;
    QCheckBox* m_blokirator = nullptr;
};

} // namespace lir::gui
