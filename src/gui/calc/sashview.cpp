#include "gui/calc/sashview.h"

#include "core/calc/kitcalculator.h"

#include <QPainter>

namespace lir::gui {

SashView::SashView(const KitCalculator& calc, QWidget* parent) : QWidget(parent), m_calc(calc)
{
    // Every pixel is painted here, on white paper: nothing shows through between two paints.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_drawing = sashDrawingOf(m_calc);
}

void SashView::refresh()
{
    SashDrawingInput now = sashDrawingOf(m_calc);
    if (now == m_drawing)
        return;
    m_drawing = std::move(now);
    update();
}

void SashView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    paintSash(p, QRectF(rect()), m_drawing);
}

} // namespace lir::gui
