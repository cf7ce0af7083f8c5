// Image1 is the live drawing of the sash: it follows what is typed, and
// "показать" still switches to the handle drawings.
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/sashview.h"
#include "gui/app/widgets.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

using namespace lir;
using namespace lir::gui;

namespace {

void typeInto(SpinEdit* spin, const QString& text)
{
    auto* edit = spin->findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

TEST(SashView, FollowsTheInputsAsTheyAreTyped)
{
    TMainForm6741 w;
    w.show();
    typeInto(w.ffh(), QStringLiteral("1400"));
    // Without clamps the rules take a width of 200-800 mm.
    typeInto(w.ffb(), QStringLiteral("9999"));
    const SashDrawingInput& d = w.image1()->drawing();
    EXPECT_EQ(d.ffh.typed, 1400);
    EXPECT_EQ(d.gh.typed, 700); // "Ручка в центре" keeps it at half
    EXPECT_EQ(d.ffb.typed, 9999);
    EXPECT_FALSE(d.ffb.accepted);
    EXPECT_EQ(d.ffb.drawn, 800);
    EXPECT_FALSE(d.hingesLeft);

    auto* side = w.findChild<QComboBox*>(QStringLiteral("PolStvorki6741"));
    ASSERT_TRUE(side);
    emit side->activated(1);
    EXPECT_TRUE(w.image1()->drawing().hingesLeft);

    // What the view paints is the drawing of the state, on white.
    const QImage shown = w.image1()->grab().toImage();
    QImage expected(shown.size(), shown.format());
    expected.fill(Qt::white);
    {
        QPainter p(&expected);
        paintSash(p, QRectF(expected.rect()), sashDrawingOf(w.kit()));
    }
    EXPECT_EQ(shown, expected);

    // "показать" shows the handle types in its place, and again the sash.
    w.kit().setRuchkaOkon(true);
    w.kit().Panel2Click();
    EXPECT_FALSE(w.image1()->isVisibleTo(&w));
    EXPECT_TRUE(w.image3()->isVisibleTo(&w));
    EXPECT_EQ(w.image1()->geometry(), w.image3()->geometry());
    w.kit().Panel2Click();
    EXPECT_TRUE(w.image1()->isVisibleTo(&w));
}
