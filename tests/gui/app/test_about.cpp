// The About window: what it shows, where, and what its two links open.
#include "core/base/urlopener.h"
#include "core/base/userguide.h"
#include "core/db/storesettings.h"
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
    void SetUp() override
    {
        registerFonts();
        a.show();
        QApplication::processEvents();
    }
    test::ScopedWorkDir work; // the folder of the tables, made before the window
    RecordingUrlOpener opener;
    ScopedUrlOpener scoped{&opener};
    TAbout a;
};

} // namespace

TEST_F(About, LayoutTextsAndFonts)
{
    EXPECT_EQ(a.size(), QSize(329, 373));
    EXPECT_EQ(a.windowTitle(), QStringLiteral("ЛИР-Комплект: о программе"));
    EXPECT_EQ(a.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(a.label(1)->text(), QStringLiteral("ЛИР-Комплект 1.5.2"));
    EXPECT_EQ(a.label(2)->text(),
              QStringLiteral("Программа расчёта комплектации поворотной фурнитуры ЛИР-6741, откидной фурнитуры "
                             "ЛИР-6741 и поворотно-откидной фурнитуры ЛИР-6742 для окон из ПВХ- и деревянного "
                             "профиля"));
    // From top to bottom, in the tabled fonts, each whole inside the tinted panel.
    const int order[] = {1, 2, 3, 7, 4, 5, 6};
    const int sizes[] = {19, 13, 13, 13, 19, 13, 13};
    int previousBottom = 0;
    for (int i = 0; i < 7; ++i) {
        QLabel* l = a.label(order[i]);
        SCOPED_TRACE(l->objectName().toStdString());
        EXPECT_EQ(l->objectName(), QStringLiteral("Label%1").arg(order[i]));
        EXPECT_EQ(l->font().pixelSize(), sizes[i]);
        EXPECT_GE(inWindow(l).top(), previousBottom);
        previousBottom = inWindow(l).bottom();
        EXPECT_TRUE(inWindow(a.panel()).contains(inWindow(l)));
        EXPECT_GE(l->height(), l->wordWrap() ? l->heightForWidth(l->width()) : l->sizeHint().height());
    }
    for (QLabel* link : {a.label(6), a.label(7)}) {
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
    // The About button's picture top right, "Закрыть" bottom right; it hides the window.
    EXPECT_TRUE(QRect(329 - 80, 0, 80, 80).contains(inWindow(a.picture())));
    EXPECT_EQ(a.closeButton()->text(), QStringLiteral("Закрыть"));
    EXPECT_TRUE(QRect(329 - 120, 373 - 40, 120, 40).contains(a.closeButton()->geometry()));
    a.closeButton()->click();
    EXPECT_FALSE(a.isVisible());
}

// The tables' folder and the user guide; a folder too long for two lines loses
// its middle on screen and still opens whole.
TEST_F(About, LinksOpenTheTablesFolderAndTheUserGuide)
{
    EXPECT_EQ(a.label(7)->text(), QDir::toNativeSeparators(work.path()));
    clickWith(a.label(7), Qt::LeftButton);
    const QString guide = userGuidePath();
    ASSERT_FALSE(guide.isEmpty());
    EXPECT_EQ(a.label(6)->text(), QDir::toNativeSeparators(guide));
    clickWith(a.label(6), Qt::LeftButton);
    clickWith(a.label(6), Qt::RightButton); // only a left click opens
    clickWith(a.label(4), Qt::LeftButton);
    EXPECT_EQ(opener.opened(), (QList<QUrl>{QUrl::fromLocalFile(work.path()), QUrl::fromLocalFile(guide)}));

    const QString name = QStringLiteral("очень_длинное_имя_папки_без_единого_пробела_которое_не_помещается");
    const QString path = QStringLiteral("/home/okna/Мои документы/") + name + QLatin1Char('/') + name
                         + QStringLiteral("/конец");
    a.tablesLink()->setTarget(path, QUrl::fromLocalFile(path));
    QApplication::processEvents();
    const QString shown = a.tablesLink()->shownText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/home/okna/")) && shown.endsWith(QStringLiteral("/конец"))
                && shown.contains(QChar(0x2026)))
        << shown.toStdString();
    EXPECT_LE(a.tablesLink()->height(), LinkLabel::MaxLines * a.tablesLink()->fontMetrics().lineSpacing() + 2);
    EXPECT_GE(a.tablesLink()->height(), a.tablesLink()->heightForWidth(a.tablesLink()->width()));
    EXPECT_TRUE(inWindow(a.panel()).contains(inWindow(a.label(6))));
    clickWith(a.tablesLink(), Qt::LeftButton);
    EXPECT_EQ(opener.opened().last(), QUrl::fromLocalFile(path));
}

TEST(AboutOnAServer, NamesTheServerAsPlainTextThatOpensNothing)
{
    registerFonts();
    RecordingUrlOpener opener;
    ScopedUrlOpener scoped{&opener};
    db::setServer(db::ServerSettings{QStringLiteral("db.office"), 6543, QStringLiteral("lircomplect"), {}});
    TAbout a;
    db::setServer(std::nullopt);
    a.show();
    EXPECT_EQ(a.label(3)->text(), QStringLiteral("Разработка: команда проекта ЛИР-Комплект.\nТаблицы цен и заказов (zeni, "
                                                 "zakaz) хранятся на сервере PostgreSQL:"));
    EXPECT_EQ(a.label(7)->text(), QStringLiteral("db.office:6543, база данных lircomplect"));
    EXPECT_EQ(a.label(7)->cursor().shape(), Qt::ArrowCursor);
    clickWith(a.label(7), Qt::LeftButton);
    EXPECT_TRUE(opener.opened().isEmpty());
}

// With nothing on the computer to open a link (no browser, no xdg-open) the
// click says so and gives the address to copy.
TEST_F(About, ALinkNothingOpensGivesItsAddressToCopy)
{
    test::recorder().clear();
    opener.setFails(true);
    clickWith(a.label(6), Qt::LeftButton);
    clickWith(a.label(7), Qt::LeftButton);
    const QString text = QStringLiteral("Не удалось открыть ссылку: на компьютере нет программы, которая её открывает.\r"
                                        "Скопируйте адрес (Ctrl+C) и откройте его сами:\r");
    EXPECT_EQ(test::recorder().messages(), (QStringList{text + QDir::toNativeSeparators(userGuidePath()),
                                                        text + QDir::toNativeSeparators(work.path())}));
    opener.setFails(false);
    test::recorder().clear();
    clickWith(a.label(6), Qt::LeftButton);
    EXPECT_TRUE(test::recorder().shown().empty());
}
