// The summation window as a person meets it: its layout, "В ЗАКАЗ" from a
// calculator, opening a kit by a double-click, typing into a grid.
#include "core/base/codec.h"
#include "core/export/ProceduresAndFunctions.h"
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/mainmodule6741otkid.h"
#include "gui/calc/mainmodule6742.h"
#include "gui/orders/form_sum.h"
#include "support/formsfixture.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>

using namespace lir;
using namespace lir::gui;
using test::addKit;
using test::type;

namespace {

using View = OrderModel::View;

// Keystrokes with their text, Cyrillic letters included.
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }
}

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
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Пакетный ввод"), QStringLiteral("Сохранить заказ"), QStringLiteral("Очистить заказ"),
                                    QStringLiteral("EXCEL"), QStringLiteral("ПЕЧАТЬ"), QStringLiteral("ЗАКРЫТЬ"),
                                    QStringLiteral("Заказчики")}));
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
    // The designed widths are the least; the name column (the designation in
    // the kits view) takes the rest of the grid.
    EXPECT_EQ(kits->columnWidth(2), 80);
    EXPECT_EQ(kits->columnWidth(0) + kits->columnWidth(1) + kits->columnWidth(2), kits->width() - 2 * kits->frameWidth());
    EXPECT_GT(sum->grid(View::KitsAndComponents)->columnWidth(1), 180);
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

TEST_F(SumWindow, InOrderAfterAChangeAddsTheKitOfTheInputsAsTheyStand)
{
    auto* w = forms::MainForm6741;
    gui::TMain::showWindow(w);
    type(w->ffh(), QStringLiteral("600"));
    type(w->ffb(), QStringLiteral("500"));
    w->rashetButton()->click();
    type(w->ffh(), QStringLiteral("1900"));
    ASSERT_TRUE(w->sumButton()->isVisibleTo(w));
    w->sumButton()->click();
    ASSERT_EQ(sum->order().EntryCount(), 1);
    EXPECT_EQ(sum->order().entries().at(0).FFH, 1900);
    EXPECT_EQ(sum->order().entries().at(0).Designation, QStringLiteral("ЛИР-6741-06МR100"));
    EXPECT_EQ(sum->grid(View::Kits)->model()->index(0, 0).data().toString(), QStringLiteral("ЛИР-6741-06МR100"));
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
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
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
    // Nothing opens the file: the message says where it is.
    EXPECT_EQ(test::recorder().messages(),
              QStringList{QStringLiteral("Таблица сохранена в файле ") + QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath())});
    const QString doc = fromWindows1251(test::readFile(file));
    EXPECT_TRUE(doc.contains(QStringLiteral(">Суммарный заказ(комплекты)</td>")));
    EXPECT_TRUE(doc.contains(QStringLiteral(">") + sum->order().StringGrid2().cell(1, 0) + QStringLiteral("</td>   \r\n")));
    EXPECT_TRUE(doc.contains(QStringLiteral(">рассчитано с наценкой 10%</td>")));
    sum->edit1()->selectAll();
    QTest::keyClicks(sum->edit1(), QStringLiteral("0"));
    spreadsheetApplication() = saved;
}

// "Очистить заказ", the delete button and closing the program ask first; "Нет"
// (what Enter and Esc answer) loses nothing.
TEST_F(SumWindow, NothingIsDestroyedWithoutAQuestion)
{
    addKit(forms::MainForm6741, QStringLiteral("600"), QStringLiteral("500"));
    addKit(forms::MainForm6741otkid, QStringLiteral("500"), QStringLiteral("800"));
    const QVector<TOrder> two = sum->order().entries();
    test::recorder().clear();

    sum->clearButton()->click();
    ASSERT_EQ(test::recorder().shown().size(), 1u);
    EXPECT_EQ(test::recorder().shown().front().kind, RecordingDialogs::Shown::Question);
    EXPECT_EQ(test::recorder().shown().front().text,
              QStringLiteral("В текущем заказе 2 комплекта, они не сохранены. Очистить заказ?"));
    EXPECT_EQ(sum->order().entries(), two);

    sum->order().setCurrentCell(View::Kits, 2, 0);
    sum->spbtDelete()->click();
    ASSERT_EQ(test::recorder().shown().size(), 2u);
    EXPECT_EQ(test::recorder().shown().back().text,
              QStringLiteral("Удалить из заказа комплект ") + two.at(1).Designation
                  + QStringLiteral(" (1 шт., RAL ") + QString::number(two.at(1).Color) + QStringLiteral(")?"));
    EXPECT_EQ(sum->order().entries(), two);

    forms::Main->show();
    forms::Main->close();
    ASSERT_EQ(test::recorder().shown().size(), 3u);
    EXPECT_EQ(test::recorder().shown().back().text,
              QStringLiteral("В текущем заказе 2 комплекта, они не сохранены. Закрыть программу?"));
    EXPECT_TRUE(forms::Main->isVisible());

    // "Да" does it.
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    sum->spbtDelete()->click();
    EXPECT_EQ(sum->order().entries(), QVector<TOrder>{two.at(0)});
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    sum->clearButton()->click();
    EXPECT_EQ(sum->order().EntryCount(), 0);
}

// Columns as wide as what they show, a quantity of 100000 and the longest kit
// designation whole; a name cut short is whole in its tooltip.
TEST_F(SumWindow, GridsFitTheirColumnsToWhatTheyShowAndToTheWindow)
{
    CalculatorWindow* w = forms::MainForm6742;
    TMain::showWindow(w);
    type(w->kolKomlektov(), QStringLiteral("100000"));
    addKit(w, QStringLiteral("1400"), QStringLiteral("700"));
    type(w->kolKomlektov(), QStringLiteral("1"));
    for (const View v : {View::Components, View::Kits, View::KitsAndComponents}) {
        sum->radioButton(v)->click();
        QTableView* g = sum->grid(v);
        QAbstractItemModel* m = g->model();
        int total = 0;
        for (int c = 0; c < m->columnCount(); ++c) {
            total += g->columnWidth(c);
            for (int r = 0; r < m->rowCount(); ++r) {
                const QString text = m->index(r, c).data().toString();
                // The name column may elide; every other cell is shown whole.
                if (!(c == 1 && v != View::Kits)) {
                    EXPECT_GE(g->columnWidth(c), g->fontMetrics().horizontalAdvance(text) + 6)
                        << int(v) << " " << c << " " << text.toStdString();
                }
            }
        }
        EXPECT_EQ(total, g->viewport()->width()) << int(v);
    }
    QTableView* kits = sum->grid(View::Kits);
    EXPECT_EQ(kits->model()->index(0, 1).data().toString(), QStringLiteral("100000"));

    // A name cut short by a narrow column: the tooltip holds it whole. A
    // name shown whole has none.
    sum->radioButton(View::KitsAndComponents)->click();
    QTableView* both = sum->grid(View::KitsAndComponents);
    const QModelIndex name = both->model()->index(1, 1);
    const QString whole = name.data().toString();
    const QPoint at = both->visualRect(name).center();
    QHelpEvent wide(QEvent::ToolTip, at, both->viewport()->mapToGlobal(at));
    QApplication::sendEvent(both->viewport(), &wide);
    EXPECT_FALSE(QToolTip::isVisible());
    both->setColumnWidth(1, 40);
    ASSERT_GT(both->fontMetrics().horizontalAdvance(whole), 40);
    const QPoint narrow = both->visualRect(name).center();
    QHelpEvent tip(QEvent::ToolTip, narrow, both->viewport()->mapToGlobal(narrow));
    QApplication::sendEvent(both->viewport(), &tip);
    EXPECT_EQ(QToolTip::text(), whole);
    QToolTip::hideText();
}

// A run of kits without the mouse: Enter calculates, Ctrl+Enter adds the
// kit, Esc goes back to its calculator. Tab leaves a grid.
TEST_F(SumWindow, ARunOfKitsNeedsNoMouse)
{
    TMainForm6741otkid* w = forms::MainForm6741otkid;
    TMain::showWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w)); // its keys work in the active window
    EXPECT_EQ(w->sumButton()->toolTip(), QStringLiteral("Добавить комплект в заказ (Ctrl+Enter)"));
    type(w->ffh(), QStringLiteral("500"));
    type(w->ffb(), QStringLiteral("800"));
    w->ffb()->setFocus();
    QTest::keyClick(w->ffb()->findChild<QLineEdit*>(), Qt::Key_Return);
    ASSERT_TRUE(w->grid()->isVisibleTo(w));
    ASSERT_TRUE(w->sumButton()->isVisibleTo(w));
    // The grid shows the new calculation from its top.
    w->grid()->scrollToBottom();
    w->kolKomlektov()->setFocus();
    QTest::keyClick(w->kolKomlektov()->findChild<QLineEdit*>(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(w->grid()->rowAt(0), 0);

    QTest::keyClick(w, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(sum->order().EntryCount(), 1);
    EXPECT_TRUE(sum->isVisible());
    // Ctrl+Enter with no kit to add does nothing.
    QTest::keyClick(w, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(sum->order().EntryCount(), 1);

    w->hide();
    QTest::keyClick(sum, Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible()) << "sum";
    w->hide();
    QTest::keyClick(sum->grid(View::Components), Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible());
    w->hide();
    TMain::showWindow(sum);
    ASSERT_TRUE(QTest::qWaitForWindowActive(sum));
    QTest::keyClick(sum, Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(w->isVisible());

    // Tab leaves a grid for the next control instead of walking its cells.
    for (const View v : {View::Components, View::Kits, View::KitsAndComponents})
        EXPECT_FALSE(sum->grid(v)->tabKeyNavigation());
    EXPECT_FALSE(w->grid()->tabKeyNavigation());

    // A focused command reacts to Enter and Space.
    int pressed = 0;
    CommandPanel probe(QStringLiteral("Проба"));
    QObject::connect(&probe, &QPushButton::clicked, [&pressed] { ++pressed; });
    QTest::keyClick(&probe, Qt::Key_Return);
    QTest::keyClick(&probe, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&probe, Qt::Key_Space);
    EXPECT_EQ(pressed, 3);
}

// The view buttons the edit button turns off say why; a designation typed
// into LIRL is the kit's in the order, limited to what the order table keeps.
TEST_F(SumWindow, ViewsSayWhyTheyAreOffAndATypedDesignationIsTheKits)
{
    TMainForm6741* w = forms::MainForm6741;
    TMain::showWindow(w);
    type(w->ffh(), QStringLiteral("600"));
    type(w->ffb(), QStringLiteral("500"));
    w->rashetButton()->click();
    ASSERT_FALSE(w->lirl()->isReadOnly());
    w->lirl()->selectAll();
    typeText(w->lirl(), QStringLiteral("ОКНО-КУХНЯ-ЛЕВОЕ-ВЕРХНЕЕ"));
    EXPECT_EQ(w->lirl()->text(), QStringLiteral("ОКНО-КУХНЯ-ЛЕВОЕ-ВЕР")); // 20 characters
    w->sumButton()->click();
    EXPECT_EQ(sum->order().entries().at(0).Designation, QStringLiteral("ОКНО-КУХНЯ-ЛЕВОЕ-ВЕР"));
    EXPECT_EQ(sum->order().StringGrid2().cell(1, 0), QStringLiteral("ОКНО-КУХНЯ-ЛЕВОЕ-ВЕР"));
    EXPECT_EQ(sum->order().StringGrid3().cell(1, 0), QStringLiteral("ОКНО-КУХНЯ-ЛЕВОЕ-ВЕР"));

    sum->ledName()->selectAll();
    typeText(sum->ledName(), QString(120, QChar(u'ж')));
    EXPECT_EQ(sum->order().description(), QString(100, QChar(u'ж')));

    EXPECT_EQ(sum->radioButton(View::Kits)->toolTip(), QString());
    sum->spbtEdit()->click();
    for (const View v : {View::Components, View::Kits, View::KitsAndComponents})
        EXPECT_EQ(sum->radioButton(v)->toolTip(),
                  QStringLiteral("Вид не переключается, пока в таблицу вводятся количества:\n"
                                 "экспорт возьмёт их из показанной таблицы.\n"
                                 "Переключение вернётся после пересчёта заказа\n"
                                 "(В ЗАКАЗ, удаление комплекта, очистка)."));
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    sum->clearButton()->click();
    EXPECT_EQ(sum->radioButton(View::Kits)->toolTip(), QString());
    sum->ledName()->setText(QStringLiteral("Заказ"));
    sum->order().setDescription(QStringLiteral("Заказ"));
}
