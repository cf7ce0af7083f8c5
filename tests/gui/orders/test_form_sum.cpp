// The summation window as a person meets it: its layout, "В ЗАКАЗ" from a
// calculator, opening a kit by a double-click, typing into a grid.
#include "core/base/codec.h"
#include "core/export/ProceduresAndFunctions.h"
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/mainmodule6741otkid.h"
#include "gui/calc/mainmodule6742.h"
#include "gui/orders/form_sum.h"
#include "support/formsfixture.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>

using namespace lir;
using namespace lir::gui;
using test::addKit;
using test::type;

namespace {

using View = OrderModel::View;

class SumWindow : public test::FormsTest
{
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        sum = forms::TotalSum;
        ASSERT_TRUE(sum);
        sum->order().bt_clearClick();
        sum->order().setView(View::Components);
    }

    TTotalSum* sum = nullptr;
};

} // namespace

TEST_F(SumWindow, IsLaidOutAsDesigned)
{
    EXPECT_EQ(sum->windowTitle(), QStringLiteral("Суммирование заказов"));
    EXPECT_EQ(sum->size(), QSize(756, 390));
    EXPECT_EQ(sum->radioButton(View::Components)->text(), QStringLiteral("Комплетующие "));
    EXPECT_EQ(sum->radioButton(View::Kits)->text(), QStringLiteral("Комплекты"));
    EXPECT_EQ(sum->radioButton(View::KitsAndComponents)->text(), QStringLiteral("Комплекты и комплетующие "));
    EXPECT_TRUE(sum->radioButton(View::Components)->isChecked());
    EXPECT_EQ(sum->edit1()->text(), QStringLiteral("0"));
    EXPECT_EQ(sum->ledName()->width(), 350);
    EXPECT_TRUE(sum->ledName()->text().startsWith(QStringLiteral("Заказ от ")));
    QStringList labels;
    for (QLabel* l : sum->findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Рассчитать с наценкой (%):")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Описание заказа:")));
    QStringList buttons;
    for (QPushButton* b : sum->findChildren<QPushButton*>())
        buttons << b->text();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Сохранить заказ"), QStringLiteral("Очистить заказ"),
                                    QStringLiteral("EXCEL"), QStringLiteral("ЗАКРЫТЬ"), QStringLiteral("Заказчики")}));
    EXPECT_EQ(sum->exportButton()->objectName(), QStringLiteral("ExportButton"));
    // Every command fits the window and shows its whole caption (ten pixels
    // of padding and a border on each side); none covers another.
    const QList<QPushButton*> commands = sum->findChildren<QPushButton*>();
    // In the window's coordinates: the customer's button sits in a row of its own.
    QWidget* window = sum;
    auto inWindow = [window](QWidget* w) { return QRect(w->mapTo(window, QPoint(0, 0)), w->size()); };
    for (QPushButton* b : commands) {
        EXPECT_LE(inWindow(b).right(), sum->width()) << b->text().toStdString();
        EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text()) + 22) << b->text().toStdString();
        for (QPushButton* other : commands)
            EXPECT_TRUE(b == other || !inWindow(b).intersects(inWindow(other))) << b->text().toStdString();
    }
    EXPECT_FALSE(sum->exportButton()->geometry().intersects(sum->edit1()->geometry()));
    QTableView* kits = sum->grid(View::Kits);
    EXPECT_EQ(kits->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Название комплектов"));
    EXPECT_EQ(kits->columnWidth(0), 150);
    EXPECT_EQ(kits->columnWidth(2), 80);
    EXPECT_EQ(sum->grid(View::KitsAndComponents)->columnWidth(1), 180);
    EXPECT_EQ(kits->model()->rowCount(), 1); // the one empty row
    // Start-up created the order table in the working directory.
    EXPECT_TRUE(QFile::exists(workDir->file(QStringLiteral("zakaz.db"))));
}

TEST_F(SumWindow, InOrderShowsTheWindowAndHidesTheCalculatorsResult)
{
    addKit(forms::MainForm6741, QStringLiteral("600"), QStringLiteral("500"));
    EXPECT_TRUE(sum->isVisible());
    EXPECT_FALSE(forms::MainForm6741->grid()->isVisibleTo(forms::MainForm6741));
    EXPECT_FALSE(forms::MainForm6741->sumButton()->isVisibleTo(forms::MainForm6741));
    EXPECT_FALSE(forms::MainForm6741->lirl()->isVisibleTo(forms::MainForm6741));
    QAbstractItemModel* components = sum->grid(View::Components)->model();
    EXPECT_EQ(components->rowCount(), 16);
    EXPECT_EQ(components->index(0, 1).data().toString(), QStringLiteral("Засов поворотный 500"));

    addKit(forms::MainForm6742, QStringLiteral("1400"), QStringLiteral("700"));
    addKit(forms::MainForm6741otkid, QStringLiteral("500"), QStringLiteral("800"));
    sum->radioButton(View::Kits)->click();
    EXPECT_TRUE(sum->grid(View::Kits)->isVisible());
    EXPECT_FALSE(sum->grid(View::Components)->isVisible());
    QAbstractItemModel* kits = sum->grid(View::Kits)->model();
    ASSERT_EQ(kits->rowCount(), 4);
    EXPECT_EQ(kits->index(1, 0).data().toString(), QStringLiteral("ЛИР-6742-33АМR100"));
}

TEST_F(SumWindow, ADoubleClickOpensTheKitInItsCalculatorWithItsResult)
{
    addKit(forms::MainForm6741otkid, QStringLiteral("500"), QStringLiteral("800"));
    addKit(forms::MainForm6741, QStringLiteral("600"), QStringLiteral("500"));
    forms::MainForm6741otkid->hide();
    type(forms::MainForm6741otkid->ffh(), QStringLiteral("700"));
    sum->radioButton(View::Kits)->click();
    QTableView* kits = sum->grid(View::Kits);
    const QPoint first = kits->visualRect(kits->model()->index(0, 0)).center();
    QTest::mouseClick(kits->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(kits->viewport(), Qt::LeftButton, {}, first);
    QTest::qWait(50);
    TMainForm6741otkid* w = forms::MainForm6741otkid;
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->ffh()->value(), 500);
    EXPECT_TRUE(w->saveChangesButton()->isVisibleTo(w));
    EXPECT_TRUE(w->grid()->isVisibleTo(w));
    EXPECT_EQ(sum->order().EditedEntry(), 0);

    type(w->ffh(), QStringLiteral("600"));
    w->rashetButton()->click();
    w->saveChangesButton()->click();
    EXPECT_FALSE(w->saveChangesButton()->isVisibleTo(w));
    EXPECT_EQ(sum->order().entries().at(0).FFH, 600);
    EXPECT_EQ(sum->order().EntryCount(), 2);
}

TEST_F(SumWindow, TheEditButtonLetsAPersonTypeAQuantity)
{
    addKit(forms::MainForm6741otkid, QStringLiteral("500"), QStringLiteral("800"));
    QTableView* components = sum->grid(View::Components);
    EXPECT_EQ(components->editTriggers(), QAbstractItemView::NoEditTriggers);
    sum->spbtEdit()->click();
    EXPECT_FALSE(sum->radioButton(View::Kits)->isEnabled());
    EXPECT_NE(components->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(components->currentIndex().column(), 3);
    ASSERT_TRUE(components->model()->setData(components->model()->index(0, 3), QStringLiteral("7")));
    EXPECT_EQ(sum->order().StringGrid1().cell(1, 3), QStringLiteral("7"));
    // The delete rebuilds the grids: the typed value is gone and the views can be switched again.
    sum->order().setCurrentCell(View::Kits, 1, 0);
    sum->spbtDelete()->click();
    EXPECT_EQ(sum->order().EntryCount(), 0);
    EXPECT_TRUE(sum->radioButton(View::Kits)->isEnabled());
    EXPECT_EQ(components->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(SumWindow, SavingWithoutADescriptionShowsTheErrorBox)
{
    sum->ledName()->selectAll();
    QTest::keyClick(sum->ledName(), Qt::Key_Backspace);
    EXPECT_TRUE(sum->order().description().isEmpty());
    sum->saveButton()->click();
    EXPECT_EQ(test::recorder().errors(), QStringList{QStringLiteral("Не введено описание заказа!")});
    for (const QChar c : QStringLiteral("Дом")) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(sum->ledName(), &key);
    }
    EXPECT_EQ(sum->order().description(), QStringLiteral("Дом"));
    sum->clearButton()->click();
    EXPECT_EQ(sum->ledName()->text(), QStringLiteral("Дом"));
}

TEST_F(SumWindow, ExcelWritesTheShownViewWithTheTypedMarkup)
{
    const SpreadsheetApplication saved = spreadsheetApplication();
    spreadsheetApplication().find = [] { return QString(); };
    addKit(forms::MainForm6741otkid, QStringLiteral("500"), QStringLiteral("800"));
    sum->radioButton(View::Kits)->click();
    sum->edit1()->selectAll();
    QTest::keyClicks(sum->edit1(), QStringLiteral("1x"));
    sum->exportButton()->click();
    EXPECT_EQ(test::recorder().errors(), QStringList{QStringLiteral("'1x' не является допустимым целым числом")});
    EXPECT_EQ(test::recorder().shown().size(), 1u); // no save dialog

    test::recorder().clear();
    sum->edit1()->selectAll();
    QTest::keyClicks(sum->edit1(), QStringLiteral("10"));
    const QString file = workDir->file(QStringLiteral("kits.html"));
    test::recorder().setNextFileName(file);
    sum->exportButton()->click();
    EXPECT_TRUE(test::recorder().errors().isEmpty());
    const QString doc = fromWindows1251(test::readFile(file));
    EXPECT_TRUE(doc.contains(QStringLiteral(">Суммарный заказ(комплекты)</td>")));
    EXPECT_TRUE(doc.contains(QStringLiteral(">") + sum->order().StringGrid2().cell(1, 0) + QStringLiteral("</td>   \r\n")));
    EXPECT_TRUE(doc.contains(QStringLiteral(">рассчитано с наценкой 10%</td>")));
    sum->edit1()->selectAll();
    QTest::keyClicks(sum->edit1(), QStringLiteral("0"));
    spreadsheetApplication() = saved;
}
