#pragma once

#include "docs/sashdrawing.h"

#include <QWidget>

namespace lir {
class KitCalculator;
}

namespace lir::gui {

// The live drawing of the sash a calculator's inputs describe (Image1): it
// follows every change of the state and repaints only when the drawing changed.
class SashView : public QWidget
{
    Q_OBJECT
public:
    explicit SashView(const KitCalculator& calc, QWidget* parent = nullptr);

    // Takes the drawing of the state as it is now.
    void refresh();
    const SashDrawingInput& drawing() const { return m_drawing; }
    QSize sizeHint() const override { return {560, 400}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const KitCalculator& m_calc;
    SashDrawingInput m_drawing;
};

} // namespace lir::gui
