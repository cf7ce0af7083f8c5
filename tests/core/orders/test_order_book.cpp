// The order book: customers, the details of saved orders beside zakaz, the
// filters and sorting of the history's list, changes checked against a
// concurrent change, copy, archive, and the customer's markup in the order.
#include "core/base/environment.h"
#include "core/base/error.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/db/storage.h"
#include "core/orders/orderbook.h"
#include "core/orders/orderbookstore.h"
#include "core/orders/orderhistory.h"
#include "core/orders/ordermodel.h"
#include "core/orders/ordertable.h"
#include "support/testsupport.h"

using namespace lir;
using orderbook::Customer;

namespace {

QStringList ids(const OrderBook& book)
{
    QStringList out;
    for (int i = 0; i < book.shown().size(); ++i)
        out << QString::number(book.shownOrder(i).id);
    return out;
}

class OrderBookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db::Table::closeAll();
        test::recorder().clear();
        previousNow = environment().now;
        previousLogin = environment().loginName;
        environment().now = [this] { return now; };
        environment().loginName = [] { return QStringLiteral("ivanova"); };
        order.setCalculators(&turn, &tiltTurn, &tilt);
        order.setOrderTable([]() -> db::Table& { return zakaz(); });
        setOrderSink(&order);
    }
    void TearDown() override
    {
        setOrderSink(nullptr);
        environment().now = previousNow;
        environment().loginName = previousLogin;
        db::Table::closeAll();
    }
    static db::Table& zakaz()
    {
        orders::CreateOrderTable();
        return db::Table::open(orders::tableFile());
    }
    void add(KitCalculator& c, int ffh, int ffb)
    {
        c.setFFH(ffh);
        c.setFFB(ffb);
        c.RashetButtonClick();
        ASSERT_FALSE(c.lastCalculationFailed());
        c.SumButtonClick();
    }
    qint32 save(const QString& description, const Customer* customer, const QString& day)
    {
        now = QDateTime(QDate::fromString(day, Qt::ISODate), QTime(10, 30));
        order.bt_clearClick();
        add(turn, 600, 500);
        add(tiltTurn, 1400, 700);
        order.chooseCustomer(customer);
        order.setDescription(description);
        EXPECT_TRUE(order.bt_saveClick());
        return orderbook::readOrders(zakaz()).last().id;
    }
    Customer customer(const QString& name, int markup)
    {
        Customer c;
        c.name = name;
        c.markup = markup;
        return orderbook::addCustomer(zakaz(), c);
    }
    // Every row of zakaz, as stored.
    static QVector<QVector<QVariant>> zakazRows()
    {
        return zakaz().query(QStringLiteral(R"(select "Id", "Name", "Parentid", "Designation", "Count" from zakaz order by rowid)"));
    }

    test::ScopedWorkDir work;
    QDateTime now = QDateTime(QDate(2026, 3, 2), QTime(9, 0));
    std::function<QDateTime()> previousNow;
    std::function<QString()> previousLogin;
    TurnKit turn;
    TiltTurnKit tiltTurn;
    TiltKit tilt;
    OrderModel order;
    OrderBook book;
};

} // namespace

TEST_F(OrderBookTest, AnOlderOrderTableGetsTheDetailsTablesAndKeepsItsRows)
{
    // An order table as an older version wrote it: rows, no details.
    db::Table& t = zakaz();
    auto row = [&t](int id, const QString& name, int parent, const QString& designation) {
        t.insert();
        t.setValue(QStringLiteral("Id"), id);
        t.setValue(QStringLiteral("Name"), name);
        t.setValue(QStringLiteral("Parentid"), parent);
        t.setValue(QStringLiteral("Designation"), designation);
        t.setValue(QStringLiteral("Count"), 1);
        t.post();
    };
    row(1, QStringLiteral("Старый заказ"), 0, QString());
    row(2, QString(), 1, QStringLiteral("ЛИР-6741-01"));
    row(3, QStringLiteral("Второй старый"), 0, QString());
    row(4, QString(), 3, QStringLiteral("ЛИР-6742-05"));
    const auto before = zakazRows();
    ASSERT_FALSE(orderbook::tablesExist(t));

    book.reload();
    ASSERT_EQ(ids(book), (QStringList{QStringLiteral("1"), QStringLiteral("3")}));
    const orderbook::BookOrder& old = book.shownOrder(0);
    EXPECT_FALSE(old.hasDetails());
    for (OrderBook::Column c : {OrderBook::Date, OrderBook::Customer, OrderBook::Status, OrderBook::Total})
        EXPECT_EQ(OrderBook::cellText(old, c), QStringLiteral("—"));
    EXPECT_FALSE(orderbook::tablesExist(t)) << "reading creates nothing";

    // The first change of an old order makes its details; zakaz stays as it was.
    ASSERT_TRUE(book.setStatus(1, QStringLiteral("Принят")));
    EXPECT_TRUE(orderbook::tablesExist(t));
    EXPECT_EQ(zakazRows(), before);
    EXPECT_EQ(OrderBook::cellText(*book.find(1), OrderBook::Status), QStringLiteral("Принят"));
    EXPECT_EQ(OrderBook::cellText(*book.find(1), OrderBook::Date), QStringLiteral("—")); // when it was made is unknown
    EXPECT_FALSE(book.find(3)->hasDetails());
    if (!test::onTestServer()) {
        const auto tables = t.query(QStringLiteral("select name from sqlite_master where type = 'table' order by name"));
        ASSERT_EQ(tables.size(), 3);
        EXPECT_EQ(tables.at(0).at(0).toString(), QStringLiteral("customers"));
        EXPECT_EQ(tables.at(1).at(0).toString(), QStringLiteral("order_details"));
        EXPECT_EQ(tables.at(2).at(0).toString(), QStringLiteral("zakaz"));
    }

    // A new save beside them numbers on after the old rows.
    const qint32 id = save(QStringLiteral("Новый"), nullptr, QStringLiteral("2026-03-05"));
    EXPECT_EQ(id, 5);
    EXPECT_EQ(zakazRows().mid(0, 4), before);
}

TEST_F(OrderBookTest, SavingWritesTheDetailsWithTheCustomerTimeLoginAndTotal)
{
    const Customer c = customer(QStringLiteral("ООО «Окна Севера»"), 12);
    order.setTotalSource([] { return std::optional<double>(1234.5); });
    const qint32 id = save(QStringLiteral("Дача"), &c, QStringLiteral("2026-04-01"));
    const auto o = orderbook::readOrder(zakaz(), id);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->name, QStringLiteral("Дача"));
    EXPECT_EQ(o->customerName, QStringLiteral("ООО «Окна Севера»"));
    EXPECT_EQ(o->details.customerId, c.id);
    EXPECT_EQ(o->details.status, QStringLiteral("Расчёт"));
    EXPECT_EQ(o->details.created, QStringLiteral("2026-04-01 10:30:00"));
    EXPECT_EQ(o->details.changed, o->details.created);
    EXPECT_EQ(o->details.login, QStringLiteral("ivanova"));
    EXPECT_EQ(o->details.total, std::optional<double>(1234.5));
    EXPECT_EQ(OrderHistory::queryKits(zakaz(), id).size(), 2);

    // A customer deleted meanwhile: the save is refused whole.
    Customer gone = customer(QStringLiteral("Временный"), 0);
    order.chooseCustomer(&gone);
    orderbook::deleteCustomer(zakaz(), gone);
    const int rows = zakaz().rowCount();
    EXPECT_THROW(order.bt_saveClick(), Error);
    EXPECT_EQ(zakaz().rowCount(), rows);
}

TEST_F(OrderBookTest, TheCustomersMarkupFillsTheOrderAndATypedOneWins)
{
    const Customer a = customer(QStringLiteral("Альфа"), 15);
    const Customer b = customer(QStringLiteral("Бета"), -5);
    order.setMarkup(QStringLiteral("3"));
    EXPECT_EQ(order.markupSource(), OrderModel::MarkupSource::None);

    order.chooseCustomer(&a);
    EXPECT_EQ(order.markup(), QStringLiteral("15"));
    EXPECT_EQ(order.markupSource(), OrderModel::MarkupSource::Customer);
    order.setMarkup(QStringLiteral("20"));
    EXPECT_EQ(order.markupSource(), OrderModel::MarkupSource::Typed);
    EXPECT_EQ(order.markup(), QStringLiteral("20"));

    // Another customer chosen fills again; none chosen keeps the text.
    order.chooseCustomer(&b);
    EXPECT_EQ(order.markup(), QStringLiteral("-5"));
    EXPECT_EQ(order.customerName(), QStringLiteral("Бета"));
    order.chooseCustomer(nullptr);
    EXPECT_EQ(order.customerId(), 0);
    EXPECT_EQ(order.markup(), QStringLiteral("-5"));
    EXPECT_EQ(order.markupSource(), OrderModel::MarkupSource::None);
}

TEST_F(OrderBookTest, CustomersAreCheckedEditedAndOnlyHiddenOnceTheyHaveOrders)
{
    Customer bad;
    bad.name = QStringLiteral("   ");
    EXPECT_EQ(orderbook::checkCustomer(bad), QStringLiteral("Не введено наименование заказчика!"));
    bad.name = QStringLiteral("Имя");
    bad.inn = QStringLiteral("12345");
    EXPECT_EQ(orderbook::checkCustomer(bad), QStringLiteral("ИНН должен состоять из 10 или 12 цифр."));
    bad.inn.clear();
    bad.note = QString(10000, QChar(u'я'));
    EXPECT_EQ(orderbook::checkCustomer(bad), QStringLiteral("Поле «Примечание» длиннее 2000 символов: сократите его."));
    bad.note = QStringLiteral("две\nстроки");
    EXPECT_EQ(orderbook::checkCustomer(bad), QStringLiteral("Поле «Примечание» содержит управляющие символы: уберите их."));
    bad.note.clear();
    bad.markup = -101;
    EXPECT_EQ(orderbook::checkCustomer(bad), QStringLiteral("Наценка «-101» не принята: нужно целое число процентов не меньше -100."));
    EXPECT_THROW(orderbook::addCustomer(zakaz(), bad), Error);
    EXPECT_TRUE(orderbook::readCustomers(zakaz()).isEmpty());
    EXPECT_EQ(orderbook::parseMarkup(QStringLiteral("7")), std::optional<int>(7));
    EXPECT_EQ(orderbook::parseMarkup(QStringLiteral("-100")), std::optional<int>(-100));
    EXPECT_FALSE(orderbook::parseMarkup(QStringLiteral("7.5")));
    EXPECT_FALSE(orderbook::parseMarkup(QStringLiteral("-101")));

    Customer c = customer(QStringLiteral("Бета"), 5);
    customer(QStringLiteral("альфа"), 0);
    EXPECT_EQ(c.id, 1);
    const auto list = orderbook::readCustomers(zakaz());
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list.at(0).name, QStringLiteral("альфа")); // by name, ignoring case
    EXPECT_EQ(list.at(0).id, 2);

    // An edit over a stale reading is refused and writes nothing.
    Customer changed = c;
    changed.phone = QStringLiteral("+7 812 000-00-00");
    const Customer written = orderbook::editCustomer(zakaz(), c, changed);
    changed.phone = QStringLiteral("другой");
    try {
        orderbook::editCustomer(zakaz(), c, changed);
        ADD_FAILURE() << "a stale edit was written";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Заказчика «Бета» изменил другой пользователь, пока вы его правили: ваше изменение не записано.\r"
                                              "Показаны новые данные заказчика; внесите изменение ещё раз."));
    }
    EXPECT_EQ(orderbook::readCustomer(zakaz(), c.id)->phone, QStringLiteral("+7 812 000-00-00"));

    // With an order it cannot be deleted, only hidden.
    save(QStringLiteral("Заказ"), &written, QStringLiteral("2026-03-01"));
    try {
        orderbook::deleteCustomer(zakaz(), written);
        ADD_FAILURE() << "a customer with orders was deleted";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("У заказчика «Бета» есть заказы: его нельзя удалить, только скрыть."));
    }
    Customer hidden = written;
    hidden.hidden = true;
    orderbook::editCustomer(zakaz(), written, hidden);
    EXPECT_TRUE(orderbook::readCustomer(zakaz(), c.id)->hidden);
    Customer nobody;
    nobody.id = 99;
    nobody.name = QStringLiteral("x");
    EXPECT_THROW(orderbook::editCustomer(zakaz(), nobody, hidden), Error);
}

TEST_F(OrderBookTest, EveryFilterAndTheSortOfEachColumn)
{
    const Customer a = customer(QStringLiteral("Альфа-Строй"), 10);
    const Customer b = customer(QStringLiteral("Бета"), 0);
    order.setTotalSource([this] { return std::optional<double>(100.0 * order.EntryCount() + now.date().day()); });
    const qint32 o1 = save(QStringLiteral("Дача Иванова"), &a, QStringLiteral("2026-01-10"));
    const qint32 o2 = save(QStringLiteral("Офис"), &b, QStringLiteral("2026-02-15"));
    order.bt_clearClick();
    add(tilt, 500, 800);
    order.chooseCustomer(nullptr);
    order.setDescription(QStringLiteral("Склад"));
    now = QDateTime(QDate(2026, 3, 20), QTime(8, 0));
    ASSERT_TRUE(order.bt_saveClick());
    const qint32 o3 = orderbook::readOrders(zakaz()).last().id;
    const QString s1 = QString::number(o1), s2 = QString::number(o2), s3 = QString::number(o3);

    book.setTableSource([]() -> db::Table& { return zakaz(); });
    book.reload();
    EXPECT_EQ(ids(book), (QStringList{s1, s2, s3}));
    auto filtered = [this](auto set) {
        OrderFilter f;
        set(f);
        book.setFilter(f);
        return ids(book);
    };
    // Text: in the number, the description, the customer, ignoring case.
    EXPECT_EQ(filtered([](OrderFilter& f) { f.text = QStringLiteral("иванова"); }), QStringList{s1});
    EXPECT_EQ(filtered([](OrderFilter& f) { f.text = QStringLiteral("бета"); }), QStringList{s2});
    EXPECT_EQ(filtered([&](OrderFilter& f) { f.text = s3; }), QStringList{s3});
    EXPECT_EQ(filtered([](OrderFilter& f) { f.text = QStringLiteral("нет такого"); }), QStringList{});
    // Customer, status, dates (both ends inclusive), designation.
    EXPECT_EQ(filtered([&](OrderFilter& f) { f.customerId = a.id; }), QStringList{s1});
    ASSERT_TRUE(book.setStatus(o2, QStringLiteral("Отправлено заказчику")));
    EXPECT_EQ(filtered([](OrderFilter& f) { f.status = QStringLiteral("Отправлено заказчику"); }), QStringList{s2});
    EXPECT_EQ(filtered([](OrderFilter& f) { f.status = QStringLiteral("Расчёт"); }), (QStringList{s1, s3}));
    EXPECT_EQ(filtered([](OrderFilter& f) {
                  f.from = QDate(2026, 2, 15);
                  f.to = QDate(2026, 3, 20);
              }),
              (QStringList{s2, s3}));
    EXPECT_EQ(filtered([](OrderFilter& f) { f.to = QDate(2026, 2, 14); }), QStringList{s1});
    const QString tiltKit = OrderHistory::queryKits(zakaz(), o3).first().Designation;
    EXPECT_EQ(filtered([&](OrderFilter& f) { f.designation = tiltKit.toLower(); }), QStringList{s3});
    EXPECT_EQ(filtered([](OrderFilter& f) { f.designation = QStringLiteral("ЛИР-6742"); }), (QStringList{s1, s2}));
    // Together: every part must match.
    EXPECT_EQ(filtered([&](OrderFilter& f) {
                  f.designation = QStringLiteral("ЛИР-6742");
                  f.customerId = b.id;
              }),
              QStringList{s2});

    book.setFilter({});
    book.sort(OrderBook::Customer, Qt::AscendingOrder);
    EXPECT_EQ(ids(book), (QStringList{s3, s1, s2})); // no customer first
    book.sort(OrderBook::Description, Qt::DescendingOrder);
    EXPECT_EQ(ids(book), (QStringList{s3, s2, s1})); // Склад, Офис, Дача Иванова
    book.sort(OrderBook::Status, Qt::DescendingOrder);
    EXPECT_EQ(ids(book).first(), s2);
    book.sort(OrderBook::Total, Qt::AscendingOrder);
    EXPECT_EQ(ids(book), (QStringList{s3, s1, s2})); // 120, 210, 215
    book.sort(OrderBook::Date, Qt::DescendingOrder);
    EXPECT_EQ(ids(book), (QStringList{s3, s2, s1}));
    EXPECT_EQ(OrderBook::cellText(*book.find(o1), OrderBook::Date), QStringLiteral("10.01.2026"));
}

TEST_F(OrderBookTest, ChangesAreCheckedAndAConcurrentOneIsRefusedWithTheNewStateShown)
{
    const Customer a = customer(QStringLiteral("Альфа"), 10);
    const qint32 id = save(QStringLiteral("Коттедж"), nullptr, QStringLiteral("2026-05-05"));
    book.setTableSource([]() -> db::Table& { return zakaz(); });
    book.reload();
    OrderBook colleague;
    colleague.setTableSource([]() -> db::Table& { return zakaz(); });
    colleague.reload();

    // Bad input writes nothing.
    const auto before = orderbook::readOrder(zakaz(), id);
    EXPECT_FALSE(book.setStatus(id, QStringLiteral("Готов")));
    EXPECT_FALSE(book.setNote(id, QString(10000, QChar(u'x'))));
    EXPECT_FALSE(book.setDescription(id, QString(101, QChar(u'x'))));
    EXPECT_FALSE(book.setDescription(id, QStringLiteral("таб\tуляция")));
    EXPECT_FALSE(book.setCustomer(id, 42));
    EXPECT_FALSE(book.setStatus(9999, QStringLiteral("Принят")));
    EXPECT_EQ(test::recorder().errors(),
              (QStringList{QStringLiteral("Нет такого состояния заказа: «Готов». Допустимы: Расчёт, Отправлено заказчику, Принят, В работе, Выполнен, Отказ."),
                           QStringLiteral("Поле «Примечание» длиннее 2000 символов: сократите его."),
                           QStringLiteral("Описание заказа длиннее 100 символов: сократите его."),
                           QStringLiteral("Поле «Описание» содержит управляющие символы: уберите их."),
                           QStringLiteral("Заказчика № 42 нет."),
                           QStringLiteral("Заказа № 9999 нет в таблице заказов.")}));
    EXPECT_EQ(orderbook::readOrder(zakaz(), id), before);
    test::recorder().clear();

    // Two estimators change one order: the first wins, the second is told
    // and sees the new state.
    now = QDateTime(QDate(2026, 5, 6), QTime(11, 0));
    ASSERT_TRUE(book.setStatus(id, QStringLiteral("Принят")));
    EXPECT_FALSE(colleague.setStatus(id, QStringLiteral("Отказ")));
    EXPECT_EQ(test::recorder().errors(),
              QStringList{QStringLiteral("Заказ № %1 изменил другой пользователь, пока вы его правили: ваше изменение не записано.\r"
                                         "Показано новое состояние заказа; внесите изменение ещё раз.")
                              .arg(id)});
    EXPECT_EQ(colleague.find(id)->details.status, QStringLiteral("Принят"));
    EXPECT_EQ(colleague.find(id)->details.changed, QStringLiteral("2026-05-06 11:00:00"));
    // Now up to date, the colleague's next change goes through.
    test::recorder().clear();
    ASSERT_TRUE(colleague.setCustomer(id, a.id));
    ASSERT_TRUE(colleague.setNote(id, QStringLiteral("звонить после 18")));
    ASSERT_TRUE(colleague.setDescription(id, QStringLiteral("Коттедж, 2 этаж")));
    EXPECT_TRUE(test::recorder().errors().isEmpty());
    const auto after = orderbook::readOrder(zakaz(), id);
    EXPECT_EQ(after->name, QStringLiteral("Коттедж, 2 этаж"));
    EXPECT_EQ(after->customerName, QStringLiteral("Альфа"));
    EXPECT_EQ(after->details.note, QStringLiteral("звонить после 18"));
    EXPECT_EQ(after->details.status, QStringLiteral("Принят"));
    EXPECT_EQ(after->details.login, QStringLiteral("ivanova"));
    // The description was the only change of a zakaz row.
    EXPECT_EQ(OrderHistory::queryOrder(zakaz(), id)->Name, QStringLiteral("Коттедж, 2 этаж"));
    EXPECT_EQ(OrderHistory::queryKits(zakaz(), id).size(), 2);
    // The stale book refuses a description change too.
    EXPECT_FALSE(book.setDescription(id, QStringLiteral("Другое")));
    EXPECT_EQ(orderbook::readOrder(zakaz(), id)->name, QStringLiteral("Коттедж, 2 этаж"));
}

TEST_F(OrderBookTest, ArchiveHidesAnOrderAndRestoreBringsItBack)
{
    const qint32 o1 = save(QStringLiteral("Первый"), nullptr, QStringLiteral("2026-01-01"));
    const qint32 o2 = save(QStringLiteral("Второй"), nullptr, QStringLiteral("2026-01-02"));
    book.setTableSource([]() -> db::Table& { return zakaz(); });
    book.reload();
    const int rows = zakaz().rowCount();
    ASSERT_TRUE(book.setArchived(o1, true));
    EXPECT_EQ(ids(book), QStringList{QString::number(o2)});
    EXPECT_EQ(zakaz().rowCount(), rows); // a flag, never a deleted row
    OrderFilter archive;
    archive.archived = true;
    book.setFilter(archive);
    EXPECT_EQ(ids(book), QStringList{QString::number(o1)});
    EXPECT_EQ(book.currentId(), o1);
    ASSERT_TRUE(book.setArchived(o1, false));
    EXPECT_TRUE(ids(book).isEmpty());
    book.setFilter({});
    EXPECT_EQ(ids(book), (QStringList{QString::number(o1), QString::number(o2)}));
}

TEST_F(OrderBookTest, CopyMakesTheOrderCurrentWithItsCustomerAndMarkup)
{
    const Customer a = customer(QStringLiteral("Альфа"), 25);
    const qint32 id = save(QStringLiteral("Образец"), &a, QStringLiteral("2026-01-01"));
    const QVector<TOrder> saved = order.entries();
    order.bt_clearClick();
    order.chooseCustomer(nullptr);
    order.setDescription(QStringLiteral("другое"));
    order.setMarkup(QStringLiteral("0"));

    book.setTableSource([]() -> db::Table& { return zakaz(); });
    ASSERT_TRUE(book.copyOrder(id, order));
    EXPECT_EQ(order.entries(), saved);
    EXPECT_EQ(order.view(), OrderModel::Kits);
    EXPECT_EQ(order.customerId(), a.id);
    EXPECT_EQ(order.description(), QStringLiteral("Образец"));
    EXPECT_EQ(order.markup(), QStringLiteral("25"));
    EXPECT_EQ(order.markupSource(), OrderModel::MarkupSource::Customer);
    // Saved again, it is a new order of the same customer.
    ASSERT_TRUE(order.bt_saveClick());
    const auto orders = orderbook::readOrders(zakaz());
    ASSERT_EQ(orders.size(), 2);
    EXPECT_NE(orders.last().id, id);
    EXPECT_EQ(orders.last().details.customerId, a.id);
    EXPECT_FALSE(book.copyOrder(777, order));
    EXPECT_EQ(order.entries(), saved);
}
