// The launcher and the calculator windows as a person meets them.
#include "gui/app/form_about.h"
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/mainmodule6741otkid.h"
#include "gui/calc/mainmodule6742.h"
#include "gui/orders/form_batch.h"
#include "gui/orders/form_history.h"
#include "gui/orders/form_sum.h"
#include "gui/prices/form_price.h"
#include "core/export/ProceduresAndFunctions.h"
#include "core/prices/pricetable.h"
#include "support/formsfixture.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

using namespace lir;
using namespace lir::gui;
using test::type;

namespace {

void moveMouseOver(QWidget* w)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void click(QWidget* w)
{
    const QPointF p(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

using Forms = test::FormsTest;

} // namespace

TEST_F(Forms, LauncherLayoutAndStatusLine)
{
    TMain* m = forms::Main;
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(m->windowTitle(), QStringLiteral("ЛИР-Комплектация"));
    EXPECT_EQ(m->size(), QSize(472, 121));
    EXPECT_EQ(m->mainShape()->geometry(), QRect(8, 9, 460, 101));
    EXPECT_EQ(m->statusLine()->geometry(), QRect(13, 81, 340, 25));
    const int lefts[] = {15, 82, 144, 206, 271, 336, 401};
    ASSERT_EQ(m->buttons().size(), 7);
    for (int i = 0; i < 7; ++i) {
        const auto& b = m->buttons().at(i);
        EXPECT_EQ(b.picture->x(), lefts[i]);
        EXPECT_EQ(b.picture->y(), i == 2 ? 19 : 18);
        EXPECT_EQ(b.picture->cursor().shape(), Qt::PointingHandCursor);
        moveMouseOver(b.picture);
        EXPECT_EQ(m->statusLine()->text(), b.status);
    }
    EXPECT_EQ(m->statusLine()->text(), QStringLiteral("О Фирме и программе"));
    moveMouseOver(m->mainShape());
    EXPECT_TRUE(m->statusLine()->text().isEmpty());
    moveMouseOver(m->buttons().at(0).picture);
    moveMouseOver(m->statusLine());
    EXPECT_TRUE(m->statusLine()->text().isEmpty());
}

TEST_F(Forms, CompanyDetailsAndCustomersShareTheStatusLineRow)
{
    TMain* m = forms::Main;
    QPushButton* company = m->companyButton();
    auto* customers = m->findChild<QPushButton*>(QStringLiteral("bt_customers"));
    ASSERT_TRUE(company);
    ASSERT_TRUE(customers);
    EXPECT_TRUE(m->rect().contains(company->geometry()));
    EXPECT_TRUE(m->rect().contains(customers->geometry()));
    EXPECT_FALSE(company->geometry().intersects(customers->geometry()));
    // "Реквизиты..." gives way to a status text that reaches under it.
    moveMouseOver(m->mainShape());
    EXPECT_TRUE(company->isVisible());
    moveMouseOver(m->buttons().at(0).picture);
    EXPECT_FALSE(m->statusLine()->text().isEmpty());
    EXPECT_FALSE(company->isVisible());
    EXPECT_TRUE(customers->isVisible());
    EXPECT_FALSE(m->batchButton()->isVisible());
    moveMouseOver(m->statusLine());
    EXPECT_TRUE(m->statusLine()->text().isEmpty());
    EXPECT_TRUE(company->isVisible());
    // "Пакетный ввод..." beside it, by the same rule, opens the batch window.
    QPushButton* batch = m->batchButton();
    ASSERT_TRUE(batch->isVisible());
    EXPECT_EQ(batch->text(), QStringLiteral("Пакетный ввод..."));
    EXPECT_TRUE(m->rect().contains(batch->geometry()));
    EXPECT_FALSE(batch->geometry().intersects(company->geometry()));
    EXPECT_GE(batch->width(), batch->sizeHint().width());
    ASSERT_TRUE(forms::Batch);
    EXPECT_FALSE(forms::Batch->isVisible());
    batch->click();
    EXPECT_TRUE(forms::Batch->isVisible());
    forms::Batch->hide();
}

TEST_F(Forms, PictureButtonsShowTheirWindowOnce)
{
    TMain* m = forms::Main;
    EXPECT_FALSE(forms::MainForm6742->isVisible());
    EXPECT_FALSE(forms::MainForm6741->isVisible());
    EXPECT_FALSE(forms::MainForm6741otkid->isVisible());
    const int before = QApplication::topLevelWidgets().size();
    click(m->buttons().at(0).picture);
    EXPECT_TRUE(forms::MainForm6742->isVisible());
    click(m->buttons().at(0).picture);
    click(m->buttons().at(1).picture);
    click(m->buttons().at(2).picture);
    EXPECT_TRUE(forms::MainForm6741->isVisible());
    EXPECT_TRUE(forms::MainForm6741otkid->isVisible());
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
    // Closing only hides: the inputs stay.
    type(forms::MainForm6741->ffh(), QStringLiteral("1234"));
    forms::MainForm6741->close();
    EXPECT_FALSE(forms::MainForm6741->isVisible());
    click(m->buttons().at(1).picture);
    EXPECT_EQ(forms::MainForm6741->calculator().ffh(), 1234);
    // The price button shows the price editor that start-up made.
    ASSERT_TRUE(forms::Price);
    EXPECT_FALSE(forms::Price->isVisible());
    click(m->buttons().at(3).picture);
    EXPECT_TRUE(forms::Price->isVisible());
    // The summation button shows the order that start-up made.
    ASSERT_TRUE(forms::TotalSum);
    click(m->buttons().at(4).picture);
    EXPECT_TRUE(forms::TotalSum->isVisible());
    // The history button shows the history that start-up made; no window is made on a click.
    ASSERT_TRUE(forms::History);
    click(m->buttons().at(5).picture);
    EXPECT_TRUE(forms::History->isVisible());
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
}

TEST_F(Forms, AboutButtonShowsTheAboutWindowMadeAtStartUp)
{
    ASSERT_TRUE(forms::About);
    EXPECT_FALSE(forms::About->isVisible());
    const auto& about = forms::Main->buttons().at(6);
    EXPECT_EQ(about.picture->objectName(), QStringLiteral("ImageLir"));
    const int before = QApplication::topLevelWidgets().size();
    click(about.picture);
    EXPECT_TRUE(forms::About->isVisible());
    click(about.picture);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
    forms::About->closeButton()->click();
    EXPECT_FALSE(forms::About->isVisible());
}

TEST_F(Forms, CalculatorWindowFollowsItsState)
{
    TMainForm6741* w = forms::MainForm6741;
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Расчет комплектации пластиковых окон ООО \"Арвела\" ЛИР-6741 M"));
    EXPECT_EQ(forms::MainForm6741otkid->windowTitle(),
              QStringLiteral("Расчет комплектации пластиковых окон ООО \"Арвела\" ЛИР-6741 М"));
    EXPECT_TRUE(w->findChild<QWidget*>(QStringLiteral("StringGrid1")));
    EXPECT_EQ(w->grid()->rowCount(), 34);
    EXPECT_EQ(forms::MainForm6742->grid()->rowCount(), 29);
    EXPECT_EQ(w->grid()->columnCount(), 6);

    type(w->ffh(), QStringLiteral("1003"));
    EXPECT_EQ(w->calculator().ffh(), 1003);
    EXPECT_EQ(w->gh()->value(), 502);
    EXPECT_FALSE(w->gh()->isEnabled());
    w->ruchkaVcentre()->click();
    EXPECT_TRUE(w->gh()->isEnabled());
    type(w->ffh(), QString()); // an empty size reads as the minimum
    EXPECT_EQ(w->calculator().ffh(), 0);

    auto* wood = w->findChild<QGroupBox*>(QStringLiteral("ProfilTypeBox"))->findChildren<QRadioButton*>().at(1);
    wood->click();
    EXPECT_TRUE(w->calculator().isWooden());
    EXPECT_EQ(w->systemProfiles()->currentText(), QStringLiteral("12/18-9"));
    EXPECT_FALSE(w->findChild<QWidget*>(QStringLiteral("RadioGroup1"))->isVisibleTo(w));
    EXPECT_TRUE(w->findChild<QWidget*>(QStringLiteral("cb_ramaType"))->isVisibleTo(w));
    EXPECT_TRUE(w->findChild<QWidget*>(QStringLiteral("blokirator"))->isVisibleTo(w));

    // A kit variant without clamps limits the width input to three characters.
    const auto complekt = w->findChild<QGroupBox*>(QStringLiteral("Complekt"))->findChildren<QRadioButton*>();
    complekt.at(1)->click();
    complekt.at(0)->click();
    EXPECT_EQ(w->ffb()->maxLength(), 3);

    // The calculation shows the kit designation field; "показать" hides the result.
    w->rashetButton()->click();
    EXPECT_TRUE(w->lirl()->isVisibleTo(w));
    EXPECT_FALSE(w->lirl()->isReadOnly());
    EXPECT_TRUE(forms::MainForm6742->lirl()->isReadOnly());
    w->calculator().setRuchkaOkon(true);
    auto* show = w->findChild<QPushButton*>(QStringLiteral("Panel2"));
    ASSERT_TRUE(show->isVisibleTo(w));
    show->click();
    EXPECT_FALSE(w->grid()->isVisibleTo(w));
    EXPECT_TRUE(w->image3()->isVisibleTo(w));
    EXPECT_FALSE(w->image1()->isVisibleTo(w));
    w->lirl()->setText(QString());
}

TEST_F(Forms, ExcelWritesTheSheetAndLeavesThePriceTableOnTheLastFoundRow)
{
    const SpreadsheetApplication saved = spreadsheetApplication();
    spreadsheetApplication().find = [] { return QString(); };
    test::recorder().clear();
    TMainForm6741* w = forms::MainForm6741;
    w->kit().setProfilType(0);
    w->kit().setComplekt(0);
    w->kit().setRuchkaVcentre(true);
    w->calculator().setFFH(400);
    w->calculator().setFFB(500);
    w->rashetButton()->click();
    ASSERT_TRUE(w->exportButton()->isVisibleTo(w));
    test::recorder().setNextFileName(workDir->file(QStringLiteral("kit")));
    w->exportButton()->click();
    spreadsheetApplication() = saved;
    EXPECT_TRUE(test::recorder().errors().isEmpty()) << test::recorder().errors().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(QFile::exists(workDir->file(QStringLiteral("kit.html"))));
    db::Table* prices = lir::prices::openTable();
    ASSERT_TRUE(prices);
    EXPECT_EQ(prices->text(lir::prices::fieldDesignation()), QStringLiteral("DIN7982(4*40)"));
}

TEST_F(Forms, FailedCalculationEmptiesTheGridBeforeItsMessagesAndHidesExcelAndToOrder)
{
    TMainForm6741* w = forms::MainForm6741;
    w->calculator().setFFH(400);
    w->calculator().setFFB(500);
    w->rashetButton()->click();
    ASSERT_TRUE(w->exportButton()->isVisibleTo(w));
    // What the window shows while each message box of a failed calculation is open.
    struct Probe : RecordingDialogs
    {
        TMainForm6741* w = nullptr;
        QStringList seen;
        void errorBox(const QString& text) override
        {
            QString cells;
            for (int r = 0; r < w->grid()->rowCount(); ++r)
                for (int c = 0; c < w->grid()->columnCount(); ++c)
                    cells += w->grid()->item(r, c)->text();
            seen << QStringLiteral("grid '%1', EXCEL %2, В ЗАКАЗ %3")
                        .arg(cells)
                        .arg(w->exportButton()->isVisibleTo(w))
                        .arg(w->sumButton()->isVisibleTo(w));
            RecordingDialogs::errorBox(text);
        }
    } probe;
    probe.w = w;
    Dialogs* previous = setDialogs(&probe);
    w->calculator().setFFH(5000);
    w->rashetButton()->click();
    setDialogs(previous);
    ASSERT_FALSE(probe.seen.isEmpty());
    for (const QString& s : std::as_const(probe.seen))
        EXPECT_EQ(s, QStringLiteral("grid '', EXCEL 0, В ЗАКАЗ 0"));
    EXPECT_TRUE(w->grid()->isVisibleTo(w)); // shown as it was, empty
    EXPECT_FALSE(w->exportButton()->isVisibleTo(w));
    EXPECT_FALSE(w->sumButton()->isVisibleTo(w));

    w->calculator().setFFH(400);
    w->rashetButton()->click();
    EXPECT_TRUE(w->exportButton()->isVisibleTo(w));
    EXPECT_TRUE(w->sumButton()->isVisibleTo(w));
}
