// The order history window as a person meets it: its layout, the launcher's
// button, a save that brings it up, picking and reopening an order, and a
// working directory where the order table cannot be made.
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/mainmodule6741otkid.h"
#include "gui/calc/mainmodule6742.h"
#include "gui/orders/form_history.h"
#include "gui/orders/form_sum.h"
#include "support/formsfixture.h"

#include <QDir>
#include <QHeaderView>
#include <QTest>

using namespace lir;
using namespace lir::gui;
using test::addKit;

namespace {

using View = OrderModel::View;

void saveAs(TTotalSum* sum, const QString& description)
{
    sum->ledName()->setText(description);
    sum->order().setDescription(description);
    sum->saveButton()->click();
}

QStringList column(QAbstractItemModel* m, int c)
{
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->index(r, c).data().toString();
    return out;
}

class HistoryWindow : public test::FormsTest
{
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        sum = forms::TotalSum;
        history = forms::History;
        ASSERT_TRUE(sum && history);
        sum->order().bt_clearClick();
    }

    TTotalSum* sum = nullptr;
    Thistory* history = nullptr;
};

} // namespace

TEST_F(HistoryWindow, IsLaidOutAsDesignedAndOpensFromTheLauncher)
{
    EXPECT_EQ(history->windowTitle(), QStringLiteral("История заказов"));
    EXPECT_EQ(history->size(), QSize(1020, 564));
    QTableView* orders = history->DBGrid_parent();
    QStringList bookTitles;
    for (int c = 0; c < orders->model()->columnCount(); ++c)
        bookTitles << orders->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(bookTitles, (QStringList{QStringLiteral("№"), QStringLiteral("Дата"), QStringLiteral("Заказчик"),
                                       QStringLiteral("Описание"), QStringLiteral("Состояние"), QStringLiteral("Сумма")}));
    EXPECT_EQ(orders->columnWidth(3), 166);
    EXPECT_TRUE(orders->isSortingEnabled());
    EXPECT_TRUE(orders->verticalHeader()->isVisibleTo(orders)); // the row indicator
    EXPECT_EQ(orders->editTriggers(), QAbstractItemView::NoEditTriggers);
    QTableView* kits = history->DBGrid_child();
    QStringList titles;
    for (int c = 0; c < kits->model()->columnCount(); ++c)
        titles << kits->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Наименование комплекта"), QStringLiteral("Количество"),
                                   QStringLiteral("RAL")}));
    EXPECT_EQ(kits->columnWidth(0), 180);
    EXPECT_EQ(kits->columnWidth(1), 70);
    EXPECT_EQ(kits->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(kits->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(history->lb_name()->width(), 320);
    EXPECT_TRUE(history->lb_name()->font().bold());
    EXPECT_EQ(history->bt_open()->text(), QStringLiteral("Открыть заказ"));
    EXPECT_EQ(history->bt_close()->text(), QStringLiteral("ЗАКРЫТЬ"));

    auto* button = forms::Main->findChild<PictureButton*>(QStringLiteral("ImageHistory"));
    ASSERT_TRUE(button);
    emit button->clicked();
    EXPECT_TRUE(history->isVisible());
    history->bt_close()->click();
    EXPECT_FALSE(history->isVisible());
}

TEST_F(HistoryWindow, ASaveShowsTheNewOrderAndEitherOrderReopensIntoTheSummationWindow)
{
    addKit(forms::MainForm6741, QStringLiteral("600"), QStringLiteral("500"));
    addKit(forms::MainForm6742, QStringLiteral("1400"), QStringLiteral("700"));
    addKit(forms::MainForm6741otkid, QStringLiteral("500"), QStringLiteral("800"));
    const QVector<TOrder> first = sum->order().entries();
    saveAs(sum, QStringLiteral("Дача"));
    EXPECT_TRUE(history->isVisible());
    const int before = history->DBGrid_parent()->model()->rowCount();
    ASSERT_GE(before, 1);
    EXPECT_EQ(column(history->DBGrid_parent()->model(), 3).last(), QStringLiteral("Дача"));

    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    sum->clearButton()->click();
    ASSERT_EQ(sum->order().EntryCount(), 0);
    addKit(forms::MainForm6741otkid, QStringLiteral("450"), QStringLiteral("900"));
    addKit(forms::MainForm6741, QStringLiteral("700"), QStringLiteral("600"));
    const QVector<TOrder> second = sum->order().entries();
    saveAs(sum, QStringLiteral("Гараж"));
    QCoreApplication::processEvents();
    QAbstractItemModel* orders = history->DBGrid_parent()->model();
    ASSERT_EQ(orders->rowCount(), before + 1);
    EXPECT_EQ(column(orders, 3).last(), QStringLiteral("Гараж"));
    // The list stands on the new order, its kits listed under its description.
    EXPECT_EQ(history->DBGrid_parent()->currentIndex().row(), before);
    EXPECT_EQ(orders->headerData(before, Qt::Vertical).toString(), QStringLiteral("\u25B6"));
    EXPECT_EQ(history->lb_name()->text(), QStringLiteral("Гараж"));
    EXPECT_EQ(column(history->DBGrid_child()->model(), 0), (QStringList{second.at(0).Designation, second.at(1).Designation}));

    // A click on the last order lists its kits under its description.
    QTableView* grid = history->DBGrid_parent();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(orders->index(0, 0)).center());
    const QPoint last = grid->visualRect(orders->index(orders->rowCount() - 1, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, last);
    EXPECT_EQ(history->lb_name()->text(), QStringLiteral("Гараж"));
    EXPECT_TRUE(history->lb_name()->isVisible());
    QAbstractItemModel* kits = history->DBGrid_child()->model();
    EXPECT_EQ(column(kits, 0), (QStringList{second.at(0).Designation, second.at(1).Designation}));
    EXPECT_EQ(column(kits, 1), (QStringList{QStringLiteral("1"), QStringLiteral("1")}));

    // "Открыть заказ" on it over a kit not saved: asked first; "Нет" keeps it.
    addKit(forms::MainForm6741, QStringLiteral("800"), QStringLiteral("700"));
    const QVector<TOrder> unsaved = sum->order().entries();
    sum->radioButton(View::Components)->click();
    test::recorder().clear();
    history->bt_open()->click();
    ASSERT_EQ(test::recorder().shown().size(), 1u);
    EXPECT_EQ(test::recorder().shown().front().kind, RecordingDialogs::Shown::Question);
    EXPECT_EQ(test::recorder().shown().front().text,
              QStringLiteral("В текущем заказе 3 комплекта, они не сохранены. Открыть другой заказ?"));
    EXPECT_EQ(sum->order().entries(), unsaved);
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    history->bt_open()->click();
    EXPECT_EQ(sum->order().entries(), second);
    // Each calculator window shows the last kit the opening passed through it.
    EXPECT_EQ(forms::MainForm6741->ffh()->value(), 700);
    EXPECT_EQ(forms::MainForm6741->ffb()->value(), 600);
    EXPECT_EQ(forms::MainForm6741otkid->ffh()->value(), 450);
    EXPECT_EQ(forms::MainForm6741->grid()->item(0, 0)->text(),
              forms::MainForm6741->calculator().gridRow(1).at(0));
    EXPECT_EQ(forms::MainForm6741->lirl()->text(), forms::MainForm6741->calculator().lirlText());
    // It goes on under its own description, and as saved: no question now.
    EXPECT_EQ(sum->ledName()->text(), QStringLiteral("Гараж"));
    EXPECT_FALSE(sum->order().unsaved());
    EXPECT_TRUE(sum->radioButton(View::Kits)->isChecked());
    EXPECT_TRUE(sum->grid(View::Kits)->isVisible());
    EXPECT_EQ(column(sum->grid(View::Kits)->model(), 0).mid(0, 2),
              (QStringList{second.at(0).Designation, second.at(1).Designation}));

    // A double-click on the first saved of the two brings its three kits back.
    const QPoint dacha = grid->visualRect(orders->index(before - 1, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, dacha);
    test::recorder().clear();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, dacha);
    EXPECT_TRUE(test::recorder().shown().empty());
    EXPECT_EQ(history->lb_name()->text(), QStringLiteral("Дача"));
    EXPECT_EQ(sum->ledName()->text(), QStringLiteral("Дача"));
    EXPECT_EQ(sum->order().entries(), first);
    EXPECT_EQ(sum->grid(View::Kits)->model()->index(1, 0).data().toString(), QStringLiteral("ЛИР-6742-33АМR100"));
}

// A directory in which zakaz.db cannot be made: start-up says so, naming the
// file and the directory, and goes on; a save or a showing of the history
// says so again instead of failing silently.
TEST(HistoryWithoutTable, EveryUseReportsTheTableThatCannotBeMade)
{
    test::ScopedWorkDir dir;
    test::copyDeliveredPrices(dir);
    // A directory where the table's file would be.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("zakaz.db")));
    test::recorder().clear();
    createForms();
    ASSERT_TRUE(forms::History && forms::TotalSum);
    const QStringList atStart = test::recorder().errors();
    ASSERT_EQ(atStart.size(), 1);
    EXPECT_TRUE(atStart.first().contains(QStringLiteral("zakaz.db")));
    EXPECT_TRUE(atStart.first().contains(QDir::toNativeSeparators(dir.path())));

    test::recorder().clear();
    addKit(forms::MainForm6741otkid, QStringLiteral("500"), QStringLiteral("800"));
    saveAs(forms::TotalSum, QStringLiteral("Дача"));
    EXPECT_EQ(test::recorder().errors().size(), 1);
    EXPECT_TRUE(test::recorder().errors().first().contains(QStringLiteral("zakaz.db")));
    EXPECT_EQ(forms::TotalSum->order().EntryCount(), 1); // nothing lost

    test::recorder().clear();
    TMain::showWindow(forms::History);
    EXPECT_EQ(test::recorder().errors().size(), 1);
    forms::History->bt_open()->click();
    EXPECT_EQ(test::recorder().errors().size(), 2);
    EXPECT_EQ(forms::TotalSum->order().EntryCount(), 1);
    EXPECT_EQ(forms::History->DBGrid_parent()->model()->rowCount(), 0);

    test::closeForms();
}
