#pragma once

#include "gui/calc/calculatorwindow.h"
#include "core/calc/tiltturnkit.h"

namespace lir::gui {

// The tilt-turn calculator window.
class TMainForm6742 : public CalculatorWindow
{
    Q_OBJECT
public:
    explicit TMainForm6742(QWidget* parent = nullptr);
    TiltTurnKit& kit() const { return *m_kit; }

protected:
    void addKitVariant(QVBoxLayout* l) override;
    void addOptions(QVBoxLayout* l) override;
    void syncExtras() override;
    QString saveChangesCaption() const override;

private:
    TiltTurnKit* m_kit;
    QCheckBox* m_zapor = nullptr;
    QCheckBox* m_microvent = nullptr;
    QCheckBox* m_balkonnaya = nullptr;
};

} // namespace lir::gui
