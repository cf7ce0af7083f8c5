// The calculator window only forwards its widgets' signals: each reaches the
// state object as a person's change of its input.
#include "gui/app/widgets.h"
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/mainmodule6741otkid.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>

using namespace lir;
using namespace lir::gui;

namespace {

void press(QWidget* w)
{
    const QPointF p(5, 5);
    QMouseEvent e(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Shows the handle types in place of the sash drawing.
void hideSash(KitCalculator& k)
{
    k.ImageUpdate();
    k.Panel2Click();
}

} // namespace

TEST(CalculatorWindow, PressesAndChoicesGoToTheInputs)
{
    TMainForm6741 w;
    TurnKit& k = w.kit();
    hideSash(k);
    press(w.nazvSystemProfiles());
    EXPECT_TRUE(w.image1()->isVisibleTo(&w));
    EXPECT_FALSE(w.image3()->isVisibleTo(&w));

    // A press into the disabled handle height or the display-only system list does nothing.
    ASSERT_FALSE(w.gh()->isEnabled());
    hideSash(k);
    press(w.gh()->findChild<QLineEdit*>());
    press(w.systemProfiles());
    EXPECT_FALSE(k.image1Visible());
    press(w.ffh()->findChild<QLineEdit*>());
    EXPECT_TRUE(k.image1Visible());

    // A list item chosen runs the list's handler; the window shows the result.
    emit w.nazvSystemProfiles()->activated(14);
    EXPECT_EQ(k.nazvSystemProfilesText(), QStringLiteral("Thyssen"));
    EXPECT_EQ(w.systemProfiles()->currentText(), QStringLiteral("12/21-13"));

    // The window's own boxes.
    auto* balcony = w.findChild<QCheckBox*>(QStringLiteral("BalkonnayaZaschelka"));
    ASSERT_TRUE(balcony);
    balcony->click();
    EXPECT_TRUE(k.balkonnayaZaschelka());
    balcony->click();
    EXPECT_FALSE(k.balkonnayaZaschelka());

    // The tilt window's rebate type shows the sash on a press.
    TMainForm6741otkid tilt;
    tilt.kit().setProfilType(1);
    hideSash(tilt.kit());
    press(tilt.findChild<QComboBox*>(QStringLiteral("cb_ramaType")));
    EXPECT_TRUE(tilt.kit().image1Visible());
}
