#pragma once

#include "gui/calc/calculatorwindow.h"
#include "core/calc/tiltkit.h"

namespace lir::gui {

// The tilt-fitting (transom) calculator window.
class TMainForm6741otkid : public CalculatorWindow
{
    Q_OBJECT
public:
    explicit TMainForm6741otkid(QWidget* parent = nullptr);
    TiltKit& kit() const { return *m_kit; }

protected:
    void addOptions(QVBoxLayout* l) override;
    void syncExtras() override;
    QString ghLabel() const override;

private:
    TiltKit* m_kit;
    QCheckBox* m_scissors = nullptr;
};

} // namespace lir::gui
