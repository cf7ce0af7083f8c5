#include "core/orders/orderbook.h"

#include "core/base/dialogs.h"
#include "core/base/environment.h"
#include "core/base/error.h"
#include "core/base/numberformat.h"
#include "core/db/storage.h"
#include "core/orders/orderbooktexts.h"
#include "core/orders/orderhistory.h"
#include "core/orders/ordermodel.h"
#include "core/orders/ordertable.h"

#include <algorithm>

namespace lir {

namespace t = orderbooktexts;
using orderbook::BookOrder;

namespace {

db::Table& openDefault()
{
    orders::CreateOrderTable();
    return db::Table::open(orders::tableFile());
}

int statusRank(const BookOrder& o)
{
    // The order of the states is the order of the work; none first.
    return o.hasDetails() ? int(t::statuses().indexOf(o.details.status)) : -2;
}

// -1, 0, 1 as a is before, with or after b in the column.
int compare(const BookOrder& a, const BookOrder& b, OrderBook::Column c)
{
    auto cmp = [](const auto& x, const auto& y) { return x < y ? -1 : (y < x ? 1 : 0); };
    switch (c) {
    case OrderBook::Number:
        return cmp(a.id, b.id);
    case OrderBook::Date:
        return cmp(a.details.created, b.details.created);
    case OrderBook::Customer:
        return QString::compare(a.customerName, b.customerName, Qt::CaseInsensitive);
    case OrderBook::Description:
        return QString::compare(a.name, b.name, Qt::CaseInsensitive);
    case OrderBook::Status:
        return cmp(statusRank(a), statusRank(b));
    case OrderBook::Total:
        return cmp(a.details.total.value_or(-1e300), b.details.total.value_or(-1e300));
    case OrderBook::ColumnCount:
        break;
    }
    return 0;
}

} // namespace

OrderBook::OrderBook(QObject* parent) : QObject(parent), m_source(&openDefault)
{
}

void OrderBook::setTableSource(std::function<db::Table&()> source)
{
    m_source = source ? std::move(source) : std::function<db::Table&()>(&openDefault);
}

db::Table& OrderBook::table()
{
    return m_source();
}

void OrderBook::reload()
{
    db::Table& zakaz = table();
    m_all = orderbook::readOrders(zakaz);
    m_kits.clear();
    m_kitsRead = false;
    if (!m_filter.designation.isEmpty()) {
        m_kits = orderbook::readKitDesignations(zakaz);
        m_kitsRead = true;
    }
    apply();
}

const BookOrder* OrderBook::find(qint32 id) const
{
    // The numbers are ascending as read: a binary search, then a scan for a
    // table another tool numbered its own way.
    const auto it = std::lower_bound(m_all.begin(), m_all.end(), id,
                                     [](const BookOrder& o, qint32 n) { return o.id < n; });
    if (it != m_all.end() && it->id == id)
        return &*it;
    for (const BookOrder& o : m_all)
        if (o.id == id)
            return &o;
    return nullptr;
}

void OrderBook::setFilter(const OrderFilter& f)
{
    if (f == m_filter)
        return;
    m_filter = f;
    if (!m_filter.designation.isEmpty() && !m_kitsRead) {
        m_kits = orderbook::readKitDesignations(table());
        m_kitsRead = true;
    }
    apply();
}

void OrderBook::sort(Column column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    apply();
}

void OrderBook::setCurrentId(qint32 id)
{
    if (id == m_current)
        return;
    m_current = id;
    emit changed();
}

void OrderBook::apply()
{
    m_shown = filterOrders(m_all, m_filter, m_kitsRead ? &m_kits : nullptr);
    if (m_sortColumn != Number || m_sortOrder != Qt::AscendingOrder) {
        const Column c = m_sortColumn;
        const bool down = m_sortOrder == Qt::DescendingOrder;
        std::stable_sort(m_shown.begin(), m_shown.end(), [&](int a, int b) {
            int r = compare(m_all.at(a), m_all.at(b), c);
            if (r == 0)
                r = compare(m_all.at(a), m_all.at(b), Number);
            return down ? r > 0 : r < 0;
        });
    }
    // The list stands on the order it stood on while that is shown, else on
    // its first row.
    bool kept = false;
    for (int i : m_shown)
        if (m_all.at(i).id == m_current) {
            kept = true;
            break;
        }
    if (!kept)
        m_current = m_shown.isEmpty() ? 0 : m_all.at(m_shown.first()).id;
    emit changed();
}

bool OrderBook::matches(const BookOrder& o, const OrderFilter& f, const QString* kits)
{
    if (o.details.archived != f.archived)
        return false;
    if (!f.status.isEmpty() && (!o.hasDetails() || o.details.status != f.status))
        return false;
    if (f.customerId && o.details.customerId != f.customerId)
        return false;
    if (f.from.isValid() || f.to.isValid()) {
        // The stored text begins with the day as YYYY-MM-DD, which sorts as the day does.
        const QStringView day = QStringView(o.details.created).left(10);
        if (day.size() < 10 || (f.from.isValid() && day < QStringView(f.fromText)) ||
            (f.to.isValid() && day > QStringView(f.toText)))
            return false;
    }
    if (!f.text.isEmpty() && !QString::number(o.id).contains(f.text) &&
        !o.name.contains(f.text, Qt::CaseInsensitive) && !o.customerName.contains(f.text, Qt::CaseInsensitive))
        return false;
    // A filter holds no line break, so it cannot match across two designations.
    if (!f.designation.isEmpty() && (!kits || !kits->contains(f.designation, Qt::CaseInsensitive)))
        return false;
    return true;
}

QVector<int> OrderBook::filterOrders(const QVector<BookOrder>& all, const OrderFilter& f,
                                     const QHash<qint32, QString>* kits)
{
    static const QString none;
    QVector<int> shown;
    shown.reserve(all.size());
    const OrderFilter trimmed = [&] {
        OrderFilter g = f;
        g.text = f.text.trimmed();
        g.designation = f.designation.trimmed();
        g.fromText = f.from.toString(Qt::ISODate);
        g.toText = f.to.toString(Qt::ISODate);
        return g;
    }();
    for (int i = 0; i < all.size(); ++i) {
        const BookOrder& o = all.at(i);
        const QString* k = &none;
        if (kits)
            if (const auto it = kits->constFind(o.id); it != kits->constEnd())
                k = &*it;
        if (matches(o, trimmed, k))
            shown.push_back(i);
    }
    return shown;
}

QString OrderBook::cellText(const BookOrder& o, Column c)
{
    switch (c) {
    case Number:
        return QString::number(o.id);
    case Description:
        return o.name;
    case Date:
        // "yyyy-MM-dd ..." shown as the day the estimator reads.
        return o.details.created.size() >= 10 ? o.details.created.mid(8, 2) + u'.' + o.details.created.mid(5, 2) +
                                                     u'.' + o.details.created.left(4)
                                               : t::missing();
    case Customer:
        return o.hasDetails() ? o.customerName : t::missing();
    case Status:
        return o.hasDetails() ? o.details.status : t::missing();
    case Total:
        return o.details.total ? numfmt::fixed2(*o.details.total, environment().numberLocale()) : t::missing();
    case ColumnCount:
        break;
    }
    return {};
}

bool OrderBook::change(qint32 id, const orderbook::OrderChange& c)
{
    const BookOrder* o = find(id);
    if (!o) {
        dialogs().errorBox(t::noSuchOrder(id));
        return false;
    }
    const BookOrder asRead = *o;
    bool written = false;
    QString refusal;
    try {
        orderbook::changeOrder(table(), asRead, c);
        written = true;
    } catch (const Error& e) {
        refusal = e.message();
    }
    // Written or refused, the book shows the orders as they are now.
    runGuarded([this] { reload(); });
    if (!refusal.isEmpty())
        dialogs().errorBox(refusal);
    return written;
}

bool OrderBook::setStatus(qint32 id, const QString& status)
{
    orderbook::OrderChange c;
    c.status = status;
    return change(id, c);
}

bool OrderBook::setCustomer(qint32 id, qint32 customerId)
{
    orderbook::OrderChange c;
    c.customerId = customerId;
    return change(id, c);
}

bool OrderBook::setNote(qint32 id, const QString& note)
{
    orderbook::OrderChange c;
    c.note = note;
    return change(id, c);
}

bool OrderBook::setDescription(qint32 id, const QString& description)
{
    orderbook::OrderChange c;
    c.description = description;
    return change(id, c);
}

bool OrderBook::setArchived(qint32 id, bool archived)
{
    orderbook::OrderChange c;
    c.archived = archived;
    return change(id, c);
}

bool OrderBook::copyOrder(qint32 id, OrderModel& order)
{
    db::Table& zakaz = table();
    const std::optional<BookOrder> o = orderbook::readOrder(zakaz, id);
    if (!o) {
        dialogs().errorBox(t::noSuchOrder(id));
        return false;
    }
    std::optional<orderbook::Customer> customer;
    if (o->details.customerId)
        customer = orderbook::readCustomer(zakaz, o->details.customerId);
    order.ReopenOrder(OrderHistory::queryKits(zakaz, id));
    order.setDescription(o->name);
    order.chooseCustomer(customer ? &*customer : nullptr);
    return true;
}

} // namespace lir
