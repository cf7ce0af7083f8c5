// The price editor as a person uses it: searching, typing prices, moving on.
#include "support/pricefixture.h"

#include "core/base/error.h"
#include "gui/app/widgets.h"
#include "gui/prices/form_price.h"
#include "gui/prices/pricemodel.h"
#include "core/prices/pricetable.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTest>

using namespace lir;
using namespace lir::gui;

namespace {

class PriceEditorTest : public PriceTableTest
{
protected:
    void SetUp() override
    {
        PriceTableTest::SetUp();
        table = &makeTable({
            {QStringLiteral("0483.00.01-20"), QStringLiteral("Планка запорная"), 4.0},
            {QStringLiteral("6742.08.00-20L"), QStringLiteral("Петля на створке верхняя М"), 10.0},
            {QStringLiteral("6742.08.00-20R"), QStringLiteral("Петля на створке верхняя М"), 10.0},
            {QStringLiteral("6742.15.00-20"), QStringLiteral("Петля откидная"), 7.0},
            {QStringLiteral("DIN7982(4*25)"), QStringLiteral("Шуруп 4*25"), 0.5},
            {QStringLiteral("ЛИР-6742-03МR100"), QString(), std::nullopt},
        });
        form = std::make_unique<TPrice>();
        form->show();
    }
    void TearDown() override
    {
        form.reset();
        PriceTableTest::TearDown();
    }

    int currentRow() const { return form->table()->currentIndex(); }
    int selectedRow() const
    {
        const auto rows = form->grid()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() : -1;
    }
    QWidget* focused() const { return form->focusWidget(); }
    void clickRow(int row)
    {
        QTableView* grid = form->grid();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 1)).center());
    }
    // Keystrokes with their text, Cyrillic letters included.
    static void typeInto(QWidget* w, const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
            QApplication::sendEvent(w, &release);
        }
    }
    void typePrice(const QString& text)
    {
        form->priceEdit()->setFocus();
        form->priceEdit()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(form->priceEdit(), Qt::Key_Delete);
        else
            typeInto(form->priceEdit(), text);
    }

    db::Table* table = nullptr;
    std::unique_ptr<TPrice> form;
};

} // namespace

TEST_F(PriceEditorTest, WindowShowsTheTable)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Цены комплектующих"));
    EXPECT_EQ(form->size(), QSize(642, 483));
    QTableView* grid = form->grid();
    EXPECT_EQ(grid->objectName(), QStringLiteral("DBGrid1"));
    ASSERT_EQ(grid->model()->columnCount(), 3);
    const QString titles[] = {QStringLiteral("Обозначение"), QStringLiteral("Название"), QStringLiteral("Цена")};
    const int widths[] = {115, 207, 54};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal), titles[c]);
        EXPECT_EQ(grid->columnWidth(c), widths[c]);
    }
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(grid->verticalHeader()->isVisible());
    EXPECT_EQ(grid->model()->rowCount(), 6);
    EXPECT_EQ(grid->model()->index(3, 1).data(), QStringLiteral("Петля откидная"));
    EXPECT_EQ(grid->model()->index(4, 2).data(), QStringLiteral("0,5").replace(u',', QLocale::system().decimalPoint()));
    EXPECT_EQ(grid->model()->index(5, 2).data(), QString()); // not priced
    // The first row is current: selected, marked, its price in the edit.
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Vertical), QStringLiteral("\u25B6"));
    EXPECT_EQ(grid->model()->headerData(1, Qt::Vertical), QString());
    EXPECT_EQ(form->priceEdit()->text(), QStringLiteral("4"));
    EXPECT_TRUE(form->findChild<QWidget*>(QStringLiteral("CloseGridButton")));

    form->closeButton()->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(db::Table::isOpen(QStringLiteral("zeni.db"))); // hiding leaves the table alone
}

TEST_F(PriceEditorTest, SearchesFindAPrefixWhateverTheCase)
{
    // By designation, Enter in the edit: the first row that begins with it.
    form->designationSearch()->setText(QStringLiteral("6742.08.00-20r"));
    QTest::keyClick(form->designationSearch(), Qt::Key_Return);
    EXPECT_EQ(currentRow(), 2);
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(focused(), form->grid());
    form->designationSearch()->setText(QStringLiteral("6742.08"));
    form->designationFind()->click();
    EXPECT_EQ(currentRow(), 1);
    form->designationSearch()->setText(QStringLiteral("din7982"));
    form->designationFind()->click();
    EXPECT_EQ(currentRow(), 4);
    form->designationSearch()->setText(QStringLiteral("лир-6742"));
    form->designationFind()->click();
    EXPECT_EQ(currentRow(), 5);

    // By name, Cyrillic in another case.
    form->nameSearch()->setText(QStringLiteral("петля о"));
    QTest::keyClick(form->nameSearch(), Qt::Key_Return);
    EXPECT_EQ(currentRow(), 3);
    EXPECT_EQ(form->priceEdit()->text(), QStringLiteral("7"));
    form->nameSearch()->setText(QStringLiteral("ПЕТЛЯ"));
    form->nameFind()->click();
    EXPECT_EQ(currentRow(), 1);

    // Nothing found: the row stays, nothing is said.
    form->nameSearch()->setText(QStringLiteral("Ножницы"));
    form->nameFind()->click();
    form->designationSearch()->setText(QStringLiteral("6742.08.00-20LX"));
    form->designationFind()->click();
    EXPECT_EQ(currentRow(), 1);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_TRUE(test::recorder().shown().empty());
}

TEST_F(PriceEditorTest, EnterTypesAndWritesAPrice)
{
    form->grid()->setFocus();
    QTest::keyClick(form->grid(), Qt::Key_Down);
    ASSERT_EQ(currentRow(), 1);
    // Enter in the grid goes to the price edit.
    QTest::keyClick(form->grid(), Qt::Key_Return);
    EXPECT_EQ(focused(), form->priceEdit());
    EXPECT_EQ(form->priceEdit()->selectedText(), QStringLiteral("10"));

    // The first keystroke puts the row in edit state; the grid shows it.
    typeInto(form->priceEdit(), QStringLiteral("12"));
    EXPECT_EQ(table->state(), db::Table::State::Edit);
    EXPECT_EQ(form->grid()->model()->headerData(1, Qt::Vertical), QStringLiteral("I"));
    EXPECT_EQ(form->grid()->model()->index(1, 2).data(), QStringLiteral("12"));
    EXPECT_EQ(storedPrice(*table, QStringLiteral("6742.08.00-20L")), QVariant(10.0));

    // Enter writes the row and returns to the grid.
    typeInto(form->priceEdit(), QLocale::system().decimalPoint() + QStringLiteral("5"));
    QTest::keyClick(form->priceEdit(), Qt::Key_Return);
    EXPECT_EQ(table->state(), db::Table::State::Browse);
    EXPECT_EQ(storedPrice(*table, QStringLiteral("6742.08.00-20L")), QVariant(12.5));
    EXPECT_EQ(focused(), form->grid());
    EXPECT_EQ(form->grid()->model()->headerData(1, Qt::Vertical), QStringLiteral("\u25B6"));

    // An empty price is written as empty.
    typePrice(QString());
    QTest::keyClick(form->priceEdit(), Qt::Key_Enter);
    EXPECT_FALSE(storedPrice(*table, QStringLiteral("6742.08.00-20L")).isValid());
    EXPECT_FALSE(LookupPrice(QStringLiteral("6742.08.00-20L")).price.has_value());
    EXPECT_EQ(form->priceEdit()->text(), QString());
    EXPECT_TRUE(test::recorder().errors().isEmpty());
}

TEST_F(PriceEditorTest, PendingPriceIsWrittenWhenTheRowMoves)
{
    // Moving in the grid.
    typePrice(QStringLiteral("5"));
    form->grid()->setFocus();
    QTest::keyClick(form->grid(), Qt::Key_Down);
    EXPECT_EQ(storedPrice(*table, QStringLiteral("0483.00.01-20")), QVariant(5.0));
    EXPECT_EQ(currentRow(), 1);
    EXPECT_EQ(form->priceEdit()->text(), QStringLiteral("10"));

    // A click on another row.
    typePrice(QStringLiteral("9"));
    clickRow(2);
    EXPECT_EQ(storedPrice(*table, QStringLiteral("6742.08.00-20L")), QVariant(9.0));
    EXPECT_EQ(currentRow(), 2);
    clickRow(1);

    // A search.
    typePrice(QStringLiteral("11"));
    form->nameSearch()->setText(QStringLiteral("шуруп"));
    form->nameFind()->click();
    EXPECT_EQ(storedPrice(*table, QStringLiteral("6742.08.00-20L")), QVariant(11.0));
    EXPECT_EQ(currentRow(), 4);

    // A lookup of a sheet: the editor then shows the found row selected.
    typePrice(QStringLiteral("0"));
    EXPECT_EQ(LookupPrice(QStringLiteral("6742.15.00-20")).price, 7.0);
    EXPECT_EQ(storedPrice(*table, QStringLiteral("DIN7982(4*25)")), QVariant(0.0));
    EXPECT_EQ(selectedRow(), 3);
    EXPECT_EQ(form->priceEdit()->text(), QStringLiteral("7"));
    EXPECT_TRUE(test::recorder().errors().isEmpty());
}

TEST_F(PriceEditorTest, PriceThatIsNoNumberStaysToBeMended)
{
    typePrice(QStringLiteral("12р"));
    QTest::keyClick(form->priceEdit(), Qt::Key_Return);
    // The conversion error is shown, nothing is written, the text stays.
    ASSERT_EQ(test::recorder().errors().size(), 1);
    EXPECT_TRUE(test::recorder().errors().first().contains(QStringLiteral("'12р'")))
        << test::recorder().errors().first().toStdString();
    EXPECT_EQ(table->state(), db::Table::State::Edit);
    EXPECT_EQ(storedPrice(*table, QStringLiteral("0483.00.01-20")), QVariant(4.0));
    EXPECT_EQ(form->priceEdit()->text(), QStringLiteral("12р"));
    EXPECT_EQ(focused(), form->priceEdit());

    // Moving away is refused the same way: the edited row stays selected.
    test::recorder().clear();
    form->grid()->setFocus();
    QTest::keyClick(form->grid(), Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(test::recorder().errors().size(), 1);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(form->priceEdit()->text(), QStringLiteral("12р"));
    clickRow(3);
    QApplication::processEvents();
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(selectedRow(), 0);

    // Mended, it is written.
    test::recorder().clear();
    typePrice(QStringLiteral("12"));
    QTest::keyClick(form->priceEdit(), Qt::Key_Return);
    EXPECT_TRUE(test::recorder().errors().isEmpty());
    EXPECT_EQ(storedPrice(*table, QStringLiteral("0483.00.01-20")), QVariant(12.0));
}

TEST_F(PriceEditorTest, RowsAreNeitherAddedNorDeleted)
{
    form->grid()->setFocus();
    QTest::keyClick(form->grid(), Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(form->grid(), Qt::Key_Insert);
    QTest::keyClick(form->grid(), Qt::Key_End, Qt::ControlModifier);
    ASSERT_EQ(currentRow(), 5);
    // Typing in the grid neither edits nor moves.
    typeInto(form->grid(), QStringLiteral("0483"));
    EXPECT_EQ(currentRow(), 5);
    EXPECT_EQ(table->rowCount(), 6);
    EXPECT_EQ(form->grid()->model()->rowCount(), 6);
    EXPECT_EQ(table->state(), db::Table::State::Browse);
}

TEST_F(PriceTableTest, MissingOrUnreadableTableLeavesAnEmptyEditor)
{
    const QString dir = QDir::toNativeSeparators(QDir::currentPath());
    {
        TPrice form;
        ASSERT_EQ(test::recorder().errors().size(), 1);
        const QString text = test::recorder().errors().first();
        EXPECT_TRUE(text.contains(QStringLiteral("zeni.db")) && text.contains(dir)) << text.toStdString();
        EXPECT_EQ(form.table(), nullptr);
        EXPECT_EQ(form.grid()->model()->rowCount(), 0);
        EXPECT_TRUE(form.priceEdit()->isReadOnly());
        form.designationSearch()->setText(QStringLiteral("6742"));
        form.designationFind()->click();
        EXPECT_THROW(LookupPrice(QStringLiteral("6742.15.00-20")), Error);
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("zeni.db"))); // none was created

    test::recorder().clear();
    QFile f(QStringLiteral("zeni.db"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    TPrice form;
    ASSERT_EQ(test::recorder().errors().size(), 1);
    const QString text = test::recorder().errors().first();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Не удалось открыть таблицу цен zeni.db в каталоге ") + dir + u'\r'))
        << text.toStdString();
    EXPECT_EQ(form.grid()->model()->rowCount(), 0);
}

TEST_F(PriceEditorTest, GridFollowsRowsWrittenByOthers)
{
    // Rows added at the end, as the catalogue update adds them.
    {
        db::Transaction tx(*table);
        for (int i = 0; i < 2000; ++i) {
            table->insert();
            table->setValue(QStringLiteral("oboznashenie"), QStringLiteral("ЛИР-6742-%1МR100").arg(i));
            if (i % 2 == 0)
                table->setValue(QStringLiteral("zena"), 0);
            table->post();
        }
        tx.done();
    }
    QAbstractItemModel* m = form->grid()->model();
    ASSERT_EQ(m->rowCount(), 2006);
    EXPECT_EQ(m->index(2005, 0).data(), QStringLiteral("ЛИР-6742-1999МR100"));
    EXPECT_EQ(m->index(2005, 2).data(), QString());
    EXPECT_EQ(m->index(2004, 2).data(), QStringLiteral("0"));
    EXPECT_EQ(selectedRow(), 2005);

    // A deleted row and a renamed one.
    ASSERT_TRUE(table->locate(QStringLiteral("oboznashenie"), QStringLiteral("6742.08.00-20L")));
    table->remove();
    EXPECT_EQ(m->rowCount(), 2005);
    EXPECT_EQ(m->index(1, 0).data(), QStringLiteral("6742.08.00-20R"));
    EXPECT_EQ(selectedRow(), 1);
    table->edit();
    table->setValue(QStringLiteral("nazvanie"), QStringLiteral("Петля на створке верхняя"));
    table->post();
    EXPECT_EQ(m->index(1, 1).data(), QStringLiteral("Петля на створке верхняя"));
    EXPECT_EQ(m->index(2, 1).data(), QStringLiteral("Петля откидная"));
}

TEST_F(PriceEditorTest, TypedPriceHasOneDecimalSeparatorAndNoThousands)
{
    const test::ScopedNumberLocale comma(QLocale(QLocale::Russian));
    typePrice(QStringLiteral("1,500"));
    QTest::keyClick(form->priceEdit(), Qt::Key_Return);
    EXPECT_EQ(storedPrice(*table, QStringLiteral("0483.00.01-20")), QVariant(1.5));
    // Refused with a message: the row stays in edit with the text, nothing is written.
    const QStringList typed = {QStringLiteral("1,250.5"), QStringLiteral("12 345"), QStringLiteral("inf"), QStringLiteral("-5")};
    for (const QString& price : typed) {
        typePrice(price);
        QTest::keyClick(form->priceEdit(), Qt::Key_Return);
        EXPECT_EQ(table->state(), db::Table::State::Edit);
        EXPECT_EQ(form->priceEdit()->text(), price);
    }
    EXPECT_EQ(storedPrice(*table, QStringLiteral("0483.00.01-20")), QVariant(1.5));
    EXPECT_EQ(test::recorder().errors(), (QStringList{QStringLiteral("'1,250.5' не является допустимым числом (поле Цена)"),
                                                      QStringLiteral("'12 345' не является допустимым числом (поле Цена)"),
                                                      QStringLiteral("'inf' не является допустимым числом (поле Цена)"),
                                                      QStringLiteral("Цена не может быть отрицательной: -5")}));
}

TEST_F(PriceEditorTest, APriceAnotherUserChangedMeanwhileIsNotOverwrittenAndTheNewOneIsShown)
{
    clickRow(3);
    ASSERT_EQ(currentRow(), 3);
    typePrice(QStringLiteral("8"));
    // Another estimator writes the same row, and a price of another row.
    test::writeAsAnotherUser(QStringLiteral("zeni.db"),
                             QStringLiteral("UPDATE zeni SET zena = 9 WHERE oboznashenie = '6742.15.00-20'"));
    test::writeAsAnotherUser(QStringLiteral("zeni.db"),
                             QStringLiteral("UPDATE zeni SET zena = 5 WHERE oboznashenie = '0483.00.01-20'"));
    QTest::keyClick(form->priceEdit(), Qt::Key_Return);
    ASSERT_EQ(test::recorder().errors().size(), 1);
    EXPECT_EQ(test::recorder().errors().first(),
              QStringLiteral("Запись таблицы zeni.db изменил другой пользователь, пока вы её правили: ваше изменение "
                             "не записано.\rПоказаны новые значения записи; внесите изменение ещё раз."));
    EXPECT_EQ(storedPrice(*table, QStringLiteral("6742.15.00-20")), QVariant(9.0));
    EXPECT_EQ(form->priceEdit()->text(), QStringLiteral("9"));
    EXPECT_EQ(form->grid()->model()->index(3, 2).data(), QStringLiteral("9"));
    EXPECT_EQ(form->grid()->model()->index(0, 2).data(), QStringLiteral("5"));

    // Typed again, the price is written over the new one.
    typePrice(QStringLiteral("8"));
    QTest::keyClick(form->priceEdit(), Qt::Key_Return);
    EXPECT_EQ(storedPrice(*table, QStringLiteral("6742.15.00-20")), QVariant(8.0));
    EXPECT_EQ(test::recorder().errors().size(), 1);
}

TEST_F(PriceEditorTest, ASearchThatFindsNothingSaysSoWhereTheEyeIsAndTheGroupNamesItsRow)
{
    EXPECT_EQ(form->priceGroup()->title(), QStringLiteral("Цена: 0483.00.01-20"));
    form->designationSearch()->setText(QStringLiteral("6742.08.00-20L"));
    form->designationFind()->click();
    ASSERT_EQ(currentRow(), 1);
    EXPECT_EQ(form->priceGroup()->title(), QStringLiteral("Цена: 6742.08.00-20L"));
    EXPECT_FALSE(form->designationNotFound()->isVisible());

    // A miss keeps the row, and says so beside its own search row, in red.
    form->designationSearch()->setText(QStringLiteral("6742.99"));
    QTest::keyClick(form->designationSearch(), Qt::Key_Return);
    EXPECT_EQ(currentRow(), 1);
    EXPECT_TRUE(form->designationNotFound()->isVisible());
    EXPECT_EQ(form->designationNotFound()->text(), QStringLiteral("Не найдено"));
    EXPECT_EQ(form->designationNotFound()->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(form->designationNotFound()->y(), form->designationSearch()->y());
    EXPECT_FALSE(form->nameNotFound()->isVisible());
    EXPECT_EQ(form->priceGroup()->title(), QStringLiteral("Цена: 6742.08.00-20L"));
    EXPECT_TRUE(test::recorder().shown().empty()); // no box to click away

    // The next search clears it, and a miss by name shows beside its row.
    form->nameSearch()->setText(QStringLiteral("ножницы"));
    form->nameFind()->click();
    EXPECT_FALSE(form->designationNotFound()->isVisible());
    EXPECT_TRUE(form->nameNotFound()->isVisible());
    form->nameSearch()->setText(QStringLiteral("петля о"));
    form->nameFind()->click();
    EXPECT_FALSE(form->nameNotFound()->isVisible());
    EXPECT_EQ(form->priceGroup()->title(), QStringLiteral("Цена: 6742.15.00-20"));

    // So does choosing a row.
    form->nameSearch()->setText(QStringLiteral("ножницы"));
    form->nameFind()->click();
    ASSERT_TRUE(form->nameNotFound()->isVisible());
    clickRow(4);
    EXPECT_FALSE(form->nameNotFound()->isVisible());
    EXPECT_EQ(form->priceGroup()->title(), QStringLiteral("Цена: DIN7982(4*25)"));
}

TEST_F(PriceEditorTest, APendingPriceNeverOutlivesTheWindowAndIsNamedAsThePrice)
{
    // Esc gives the row its stored price back.
    clickRow(1);
    typePrice(QStringLiteral("99"));
    ASSERT_EQ(table->state(), db::Table::State::Edit);
    QTest::keyClick(form->priceEdit(), Qt::Key_Escape);
    EXPECT_EQ(table->state(), db::Table::State::Browse);
    EXPECT_EQ(form->priceEdit()->text(), QStringLiteral("10"));
    EXPECT_EQ(form->grid()->model()->index(1, 2).data(), QStringLiteral("10"));
    EXPECT_EQ(storedPrice(*table, QStringLiteral("6742.08.00-20L")), QVariant(10.0));

    // Closed with a good price pending: it is written.
    typePrice(QStringLiteral("11"));
    form->closeButton()->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(storedPrice(*table, QStringLiteral("6742.08.00-20L")), QVariant(11.0));
    EXPECT_TRUE(test::recorder().shown().empty());

    // Closed with a bad one: dropped with a message, and the day goes on.
    form->show();
    typePrice(QStringLiteral("12р"));
    form->close();
    EXPECT_EQ(table->state(), db::Table::State::Browse);
    EXPECT_EQ(storedPrice(*table, QStringLiteral("6742.08.00-20L")), QVariant(11.0));
    EXPECT_EQ(test::recorder().messages(),
              QStringList{QStringLiteral("Цена 12р для 6742.08.00-20L не записана\r"
                                         "'12р' не является допустимым числом (поле Цена)")});
    EXPECT_EQ(LookupPrice(QStringLiteral("6742.15.00-20")).price, 7.0);
    EXPECT_TRUE(test::recorder().errors().isEmpty());

    // A sheet that meets a bad pending price names the price and its row.
    test::recorder().clear();
    form->show();
    clickRow(0);
    typePrice(QStringLiteral("abc"));
    try {
        LookupPrice(QStringLiteral("6742.15.00-20"));
        ADD_FAILURE() << "a refused pending price was passed over";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Цена abc для 0483.00.01-20 не записана\r"
                                              "'abc' не является допустимым числом (поле Цена)"));
    }
    QTest::keyClick(form->priceEdit(), Qt::Key_Escape);

    // A comma and a point are both decimal separators, whatever the locale.
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::Russian)}) {
        const test::ScopedNumberLocale scoped(locale);
        typePrice(QStringLiteral("12,5"));
        QTest::keyClick(form->priceEdit(), Qt::Key_Return);
        EXPECT_EQ(storedPrice(*table, QStringLiteral("0483.00.01-20")), QVariant(12.5)) << locale.name().toStdString();
        typePrice(QStringLiteral("12.75"));
        QTest::keyClick(form->priceEdit(), Qt::Key_Return);
        EXPECT_EQ(storedPrice(*table, QStringLiteral("0483.00.01-20")), QVariant(12.75)) << locale.name().toStdString();
    }
    // Moving away from a bad price is refused by its field's name too.
    typePrice(QStringLiteral("1.2.3"));
    clickRow(2);
    QApplication::processEvents();
    EXPECT_EQ(test::recorder().errors(),
              QStringList{QStringLiteral("'1.2.3' не является допустимым числом (поле Цена)")});
    EXPECT_EQ(currentRow(), 0);
}
