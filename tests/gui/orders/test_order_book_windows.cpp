// The order book's windows as a person meets them: "Заказчики" from the
// summation window, the customer chosen there and its markup, and the
// history window's filters, sorting, status, archive and copy.
#include "core/orders/customerbook.h"
#include "gui/app/form_main.h"
#include "gui/app/forms.h"
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/mainmodule6742.h"
#include "gui/orders/customerchoice.h"
#include "gui/orders/form_customers.h"
#include "gui/orders/form_history.h"
#include "gui/orders/form_sum.h"
#include "gui/orders/orderbookview.h"
#include "support/formsfixture.h"

#include <QHeaderView>
#include <QTest>

using namespace lir;
using namespace lir::gui;
using test::addKit;

namespace {

QStringList column(QAbstractItemModel* m, int c)
{
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->index(r, c).data().toString();
    return out;
}

void pickItem(QComboBox* combo, const QString& text)
{
    const int i = combo->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    combo->setCurrentIndex(i);
    emit combo->activated(i);
}

class OrderBookWindows : public test::FormsTest
{
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        sum = forms::TotalSum;
        history = forms::History;
        customers = forms::Customers;
        ASSERT_TRUE(sum && history && customers);
        sum->order().bt_clearClick();
    }
    void addCustomer(const QString& name, const QString& markup)
    {
        customers->newButton()->click();
        customers->field(0)->setText(name);
        customers->field(7)->setText(markup);
        customers->saveButton()->click();
    }
    void save(const QString& description, const QString& customer, int ffh)
    {
        sum->order().bt_clearClick();
        addKit(forms::MainForm6741, QString::number(ffh), QStringLiteral("500"));
        pickItem(sum->customerChoice()->combo(), customer);
        sum->ledName()->setText(description);
        sum->order().setDescription(description);
        sum->saveButton()->click();
    }

    TTotalSum* sum = nullptr;
    Thistory* history = nullptr;
    TCustomers* customers = nullptr;
};

} // namespace

TEST_F(OrderBookWindows, CustomersAreKeptInTheirWindowAndChosenInTheSummationWindow)
{
    auto* fromLauncher = forms::Main->findChild<QPushButton*>(QStringLiteral("bt_customers"));
    ASSERT_TRUE(fromLauncher);
    fromLauncher->click();
    EXPECT_TRUE(customers->isVisible());
    customers->hide();
    TMain::showWindow(sum);
    sum->customerChoice()->customersButton()->click();
    ASSERT_TRUE(customers->isVisible());
    EXPECT_EQ(customers->windowTitle(), QStringLiteral("Заказчики"));

    addCustomer(QStringLiteral("ООО Рама"), QStringLiteral("12"));
    ASSERT_TRUE(customers->editing());
    EXPECT_EQ(customers->editing()->markup, 12);
    addCustomer(QStringLiteral("Временный"), QStringLiteral("abc"));
    EXPECT_EQ(test::recorder().errors(),
              QStringList{QStringLiteral("Наценка «abc» не принята: нужно целое число процентов не меньше -100.")});
    EXPECT_EQ(customers->list()->model()->rowCount(), 1);
    customers->field(7)->setText(QStringLiteral("0"));
    customers->saveButton()->click();
    EXPECT_EQ(column(customers->list()->model(), 0), (QStringList{QStringLiteral("Временный"), QStringLiteral("ООО Рама")}));
    customers->searchEdit()->setText(QStringLiteral("рам"));
    EXPECT_EQ(column(customers->list()->model(), 0), QStringList{QStringLiteral("ООО Рама")});
    customers->searchEdit()->clear();

    // A customer without orders can be deleted, after a question.
    test::recorder().clear();
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    customers->deleteButton()->click();
    EXPECT_EQ(test::recorder().shown().front().text, QStringLiteral("Удалить заказчика «Временный»?"));
    EXPECT_EQ(column(customers->list()->model(), 0), QStringList{QStringLiteral("ООО Рама")});

    // Chosen in the summation window, the customer's markup fills Edit1;
    // one typed afterwards wins, and the window says which applies.
    QComboBox* choice = sum->customerChoice()->combo();
    EXPECT_EQ(choice->itemText(0), QStringLiteral("(не выбран)"));
    pickItem(choice, QStringLiteral("ООО Рама"));
    EXPECT_EQ(sum->edit1()->text(), QStringLiteral("12"));
    EXPECT_EQ(sum->markupSource()->text(), QStringLiteral("наценка заказчика"));
    sum->edit1()->selectAll();
    QTest::keyClicks(sum->edit1(), QStringLiteral("15"));
    EXPECT_EQ(sum->order().markup(), QStringLiteral("15"));
    EXPECT_EQ(sum->markupSource()->text(), QStringLiteral("наценка введена вручную"));

    // With an order it can only be hidden; hidden, it is offered no more.
    save(QStringLiteral("Для Рамы"), QStringLiteral("ООО Рама"), 600);
    customers->pick(customers->editing() ? customers->editing()->id : 1);
    test::recorder().clear();
    customers->deleteButton()->click();
    EXPECT_EQ(test::recorder().errors(),
              QStringList{QStringLiteral("У заказчика «ООО Рама» есть заказы: его нельзя удалить, только скрыть.")});
    customers->hideButton()->click();
    EXPECT_EQ(customers->list()->model()->rowCount(), 0);
    EXPECT_EQ(customers->hideButton()->text(), QStringLiteral("Вернуть"));
    pickItem(choice, QStringLiteral("(не выбран)"));
    EXPECT_EQ(choice->findText(QStringLiteral("ООО Рама")), -1);
    customers->showHidden()->setChecked(true);
    EXPECT_EQ(column(customers->list()->model(), 0), QStringList{QStringLiteral("ООО Рама (скрыт)")});
    customers->hideButton()->click();
    EXPECT_GE(choice->findText(QStringLiteral("ООО Рама")), 0);
}

TEST_F(OrderBookWindows, TheHistoryIsAnOrderBookThatFiltersSortsChangesArchivesAndCopies)
{
    addCustomer(QStringLiteral("Альфа"), QStringLiteral("10"));
    addCustomer(QStringLiteral("Бета"), QStringLiteral("5"));
    const int before = int(history->book().orders().size());
    save(QStringLiteral("Дача"), QStringLiteral("Альфа"), 600);
    save(QStringLiteral("Офис"), QStringLiteral("Бета"), 700);
    sum->order().bt_clearClick();
    addKit(forms::MainForm6742, QStringLiteral("1400"), QStringLiteral("700"));
    pickItem(sum->customerChoice()->combo(), QStringLiteral("Альфа"));
    sum->ledName()->setText(QStringLiteral("Склад"));
    sum->order().setDescription(QStringLiteral("Склад"));
    sum->saveButton()->click();
    ASSERT_TRUE(history->isVisible());
    QAbstractItemModel* orders = history->DBGrid_parent()->model();
    ASSERT_EQ(orders->rowCount(), before + 3);
    EXPECT_EQ(column(orders, 3).mid(before), (QStringList{QStringLiteral("Дача"), QStringLiteral("Офис"), QStringLiteral("Склад")}));
    EXPECT_EQ(column(orders, 2).mid(before), (QStringList{QStringLiteral("Альфа"), QStringLiteral("Бета"), QStringLiteral("Альфа")}));
    EXPECT_EQ(column(orders, 4).mid(before), QStringList(3, QStringLiteral("Расчёт")));
    EXPECT_EQ(column(orders, 1).last(), QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));

    // The filters apply as one types.
    OrderBookControls* c = history->controls();
    c->filterText()->setText(QStringLiteral("альф"));
    EXPECT_EQ(column(orders, 3), (QStringList{QStringLiteral("Дача"), QStringLiteral("Склад")}));
    QTest::keyClicks(c->filterDesignation(), QStringLiteral("6742"));
    EXPECT_EQ(column(orders, 3), QStringList{QStringLiteral("Склад")});
    c->filterText()->clear();
    c->filterDesignation()->clear();
    c->filterTo()->setDate(QDate::currentDate().addDays(-1));
    EXPECT_EQ(orders->rowCount(), 0);
    c->filterTo()->setDate(QDate(2000, 1, 1)); // "—": no date
    EXPECT_EQ(orders->rowCount(), before + 3);

    // Sorting by the description's title, downwards on the second click.
    history->DBGrid_parent()->horizontalHeader()->setSortIndicator(3, Qt::DescendingOrder);
    EXPECT_EQ(column(orders, 3).mid(0, 4), (QStringList{QStringLiteral("Склад"), QStringLiteral("Офис"),
                                                        QStringLiteral("Для Рамы"), QStringLiteral("Дача")}));

    // The status of the current order ("Офис", second row).
    history->DBGrid_parentCellClick(1);
    EXPECT_EQ(history->lb_name()->text(), QStringLiteral("Офис"));
    pickItem(c->orderStatus(), QStringLiteral("Принят"));
    EXPECT_EQ(orders->index(1, 4).data().toString(), QStringLiteral("Принят"));
    pickItem(c->filterStatus(), QStringLiteral("Принят"));
    EXPECT_EQ(column(orders, 3), QStringList{QStringLiteral("Офис")});
    pickItem(c->filterStatus(), QStringLiteral("(все)"));

    // Archive, show the archive, bring it back.
    history->DBGrid_parentCellClick(0); // "Склад"
    c->archiveButton()->click();
    EXPECT_FALSE(column(orders, 3).contains(QStringLiteral("Склад")));
    c->showArchive()->setChecked(true);
    EXPECT_EQ(column(orders, 3), QStringList{QStringLiteral("Склад")});
    EXPECT_EQ(c->archiveButton()->text(), QStringLiteral("Вернуть из архива"));
    c->archiveButton()->click();
    EXPECT_EQ(orders->rowCount(), 0);
    c->showArchive()->setChecked(false);
    EXPECT_TRUE(column(orders, 3).contains(QStringLiteral("Склад")));

    // Copy: the order is current with its customer and markup.
    const int row = int(column(orders, 3).indexOf(QStringLiteral("Дача")));
    history->DBGrid_parentCellClick(row);
    sum->order().bt_clearClick();
    c->copyButton()->click();
    EXPECT_EQ(sum->order().EntryCount(), 1);
    EXPECT_EQ(sum->order().description(), QStringLiteral("Дача"));
    EXPECT_EQ(sum->customerChoice()->combo()->currentText(), QStringLiteral("Альфа"));
    EXPECT_EQ(sum->edit1()->text(), QStringLiteral("10"));

    // The description is the one change of a zakaz row.
    c->orderDescription()->setText(QStringLiteral("Дача, баня"));
    c->editDescription()->click();
    EXPECT_TRUE(column(orders, 3).contains(QStringLiteral("Дача, баня")));
    EXPECT_TRUE(test::recorder().errors().isEmpty());
}
