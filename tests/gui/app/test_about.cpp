// The About window: what it shows, where, and what its two links open.
#include "core/base/urlopener.h"
#include "core/base/userguide.h"
#include "gui/app/form_about.h"
#include "gui/app/widgets.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPushButton>

using namespace lir;
using namespace lir::gui;

namespace {

void clickWith(QWidget* w, Qt::MouseButton button)
{
    const QPointF p(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), button, button, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

QRect inWindow(const QWidget* w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

class About : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { registerFonts(); }
    test::ScopedWorkDir work;
};

} // namespace

TEST_F(About, LayoutTextsAndFonts)
{
    TAbout a;
    a.show();
    QApplication::processEvents();
    EXPECT_EQ(a.size(), QSize(329, 373));
    EXPECT_EQ(a.windowTitle(), QStringLiteral("ЛИР-Комплект: о программе"));
    EXPECT_EQ(a.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_NE(a.panel()->palette().color(QPalette::Window), QColor(Qt::white));

    EXPECT_EQ(a.label(1)->text(), QStringLiteral("ЛИР-Комплект 1.5.2"));
    EXPECT_EQ(a.label(2)->text(),
              QStringLiteral("Программа расчёта комплектации поворотной фурнитуры ЛИР-6741, откидной фурнитуры "
                             "ЛИР-6741 и поворотно-откидной фурнитуры ЛИР-6742 для окон из ПВХ- и деревянного "
                             "профиля"));
    EXPECT_TRUE(a.label(2)->wordWrap());
    EXPECT_TRUE(a.label(5)->wordWrap());
    EXPECT_EQ(a.label(4)->text(), QStringLiteral("Проект ЛИР-Комплект"));

    // Fonts as tabled, from top to bottom: 1, 2, 3, 7, 4, 5, 6.
    const int order[] = {1, 2, 3, 7, 4, 5, 6};
    const int sizes[] = {19, 13, 13, 13, 19, 13, 13};
    int previousBottom = 0;
    for (int i = 0; i < 7; ++i) {
        QLabel* l = a.label(order[i]);
        SCOPED_TRACE(l->objectName().toStdString());
        EXPECT_EQ(l->objectName(), QStringLiteral("Label%1").arg(order[i]));
        EXPECT_EQ(l->font().family(), QStringLiteral("Tahoma"));
        EXPECT_EQ(l->font().pixelSize(), sizes[i]);
        EXPECT_TRUE(l->isVisibleTo(&a));
        const QRect r = inWindow(l);
        EXPECT_GE(r.top(), previousBottom);
        previousBottom = r.bottom();
        // Inside the tinted panel, and tall enough for every wrapped line.
        EXPECT_TRUE(inWindow(a.panel()).contains(r));
        EXPECT_GE(l->height(), l->wordWrap() ? l->heightForWidth(l->width()) : l->sizeHint().height());
    }
    for (QLabel* link : {a.label(6), a.label(7)}) {
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }

    // The About button's picture in the top right corner, "Закрыть" at the bottom right.
    const QRect picture = inWindow(a.picture());
    EXPECT_EQ(picture.size(), QSize(60, 60));
    EXPECT_GE(picture.right(), 329 - 20);
    EXPECT_LE(picture.top(), 20);
    EXPECT_EQ(a.closeButton()->objectName(), QStringLiteral("CloseGridButton"));
    EXPECT_EQ(a.closeButton()->text(), QStringLiteral("Закрыть"));
    EXPECT_GE(a.closeButton()->geometry().right(), 329 - 10);
    EXPECT_GE(a.closeButton()->geometry().bottom(), 373 - 10);
    EXPECT_FALSE(a.closeButton()->geometry().intersects(a.panel()->geometry()));
}

TEST_F(About, LinksOpenTheTablesFolderAndTheUserGuide)
{
    RecordingUrlOpener opener;
    const ScopedUrlOpener scoped(&opener);
    TAbout a;

    // Label7: the working directory, where zeni.db and zakaz.db are.
    EXPECT_EQ(a.label(7)->text(), QDir::toNativeSeparators(work.path()));
    clickWith(a.label(7), Qt::LeftButton);
    ASSERT_EQ(opener.opened().size(), 1);
    EXPECT_EQ(opener.opened().at(0), QUrl::fromLocalFile(work.path()));
    EXPECT_TRUE(opener.opened().at(0).isLocalFile());

    // Label6: the user guide (in a build tree, the README of its sources).
    const QString guide = userGuidePath();
    ASSERT_FALSE(guide.isEmpty());
    EXPECT_EQ(a.label(6)->text(), QDir::toNativeSeparators(guide));
    clickWith(a.label(6), Qt::LeftButton);
    ASSERT_EQ(opener.opened().size(), 2);
    EXPECT_EQ(opener.opened().at(1), QUrl::fromLocalFile(guide));

    // Only a left click opens.
    clickWith(a.label(6), Qt::RightButton);
    clickWith(a.label(4), Qt::LeftButton);
    EXPECT_EQ(opener.opened().size(), 2);
}

TEST_F(About, ALongFolderWrapsAndLosesItsMiddleButOpensWhole)
{
    RecordingUrlOpener opener;
    const ScopedUrlOpener scoped(&opener);
    TAbout a;
    a.show();
    QApplication::processEvents();
    LinkLabel* link = a.tablesLink();
    const QString shortPath = QStringLiteral("/home/okna/Расчёты фурнитуры/2026/заказы");
    link->setTarget(shortPath, QUrl::fromLocalFile(shortPath));
    EXPECT_EQ(link->shownText(), shortPath);

    const QString longName = QStringLiteral("очень_длинное_имя_папки_без_единого_пробела_которое_не_помещается");
    const QString longPath = QStringLiteral("/home/okna/Мои документы/") + longName + QLatin1Char('/') + longName
                             + QStringLiteral("/конец");
    link->setTarget(longPath, QUrl::fromLocalFile(longPath));
    QApplication::processEvents();
    const QString shown = link->shownText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/home/okna/"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("/конец"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    // Two lines at most, all of them inside the label and the label inside the panel.
    EXPECT_LE(link->heightForWidth(link->width()), LinkLabel::MaxLines * link->fontMetrics().lineSpacing() + 2);
    EXPECT_GE(link->height(), link->heightForWidth(link->width()));
    EXPECT_TRUE(inWindow(a.panel()).contains(inWindow(a.label(6))));
    clickWith(link, Qt::LeftButton);
    ASSERT_EQ(opener.opened().size(), 1);
    EXPECT_EQ(opener.opened().at(0).toLocalFile(), longPath);
}

TEST_F(About, CloseHidesAndKeepsTheWindow)
{
    TAbout a;
    a.show();
    ASSERT_TRUE(a.isVisible());
    a.closeButton()->click();
    EXPECT_FALSE(a.isVisible());
    a.show();
    a.close(); // the window's close button
    EXPECT_FALSE(a.isVisible());
    a.show();
    EXPECT_TRUE(a.isVisible());
}
