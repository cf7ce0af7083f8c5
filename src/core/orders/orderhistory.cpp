#include "core/orders/orderhistory.h"

#include "core/base/error.h"
#include "core/db/storage.h"
#include "core/orders/ordermodel.h"
#include "core/orders/ordertable.h"

#include <QMetaObject>

#include <limits>

namespace lir {

namespace {

// The names quoted as the fields are spelt: a server folds unquoted names
// to lower case.
const QString ordersSql = QStringLiteral(R"(select "Id", "Name" from zakaz where "Parentid" = 0 order by "Id")");
// In the order the rows were written, which is the order of the entries.
const QString kitsSql = QStringLiteral(
    R"(select "Type", "Count", "Color", "FFH", "FFB", "GH", "Designation", "Profil", "Dop_komplekt" from zakaz)"
    R"( where "Parentid" = ? order by rowid)");
const QString orderSql =
    QStringLiteral(R"(select "Id", "Name" from zakaz where "Parentid" = 0 and "Id" = ? order by rowid limit 1)");

// A field left empty by another tool reads as 0 or as empty text.
int number(const QVariant& v)
{
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    return ok && n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max() ? int(n) : 0;
}

db::Table& openDefault()
{
    orders::CreateOrderTable();
    return db::Table::open(orders::tableFile());
}

} // namespace

OrderHistory::OrderHistory(QObject* parent) : QObject(parent), m_source(&openDefault)
{
}

OrderHistory::~OrderHistory() = default;

void OrderHistory::setTableSource(std::function<db::Table&()> source)
{
    m_source = source ? std::move(source) : std::function<db::Table&()>(&openDefault);
}

void OrderHistory::FormCreate()
{
    table();
}

db::Table& OrderHistory::table()
{
    db::Table& t = m_source();
    if (m_table != &t)
        attach(t);
    return t;
}

void OrderHistory::attach(db::Table& t)
{
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    m_table = &t;
    connect(&t, &db::Table::dataChanged, this, &OrderHistory::tableWritten);
    m_stale = true;
    refresh();
    emit changed();
}

void OrderHistory::tableWritten()
{
    m_stale = true;
    // One notice for all the rows of one save, once control is back.
    if (m_notifyPending)
        return;
    m_notifyPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_notifyPending = false;
            emit changed();
        },
        Qt::QueuedConnection);
}

void OrderHistory::refresh() const
{
    if (!m_stale)
        return;
    m_stale = false;
    if (!m_table) {
        m_orders.clear();
        m_kits.clear();
        m_current = -1;
        return;
    }
    // Read from the views of the lists, where an error cannot be shown: a
    // table that cannot be read lists nothing, and the next action on it
    // shows the error.
    try {
        m_orders = queryOrders(*m_table);
        m_kits = queryKits(*m_table, m_listed);
    } catch (const Error&) {
        m_orders.clear();
        m_kits.clear();
    }
    m_current = m_orders.isEmpty() ? -1 : 0;
}

const QVector<SavedOrder>& OrderHistory::orders() const
{
    refresh();
    return m_orders;
}

int OrderHistory::currentOrder() const
{
    refresh();
    return m_current;
}

void OrderHistory::setCurrentOrder(int row)
{
    refresh();
    if (row < 0 || row >= m_orders.size() || row == m_current)
        return;
    m_current = row;
    emit changed();
}

bool OrderHistory::setCurrentOrderId(qint32 id)
{
    refresh();
    for (int row = 0; row < m_orders.size(); ++row)
        if (m_orders.at(row).Id == id) {
            setCurrentOrder(row);
            return true;
        }
    return false;
}

const QVector<TOrder>& OrderHistory::kits() const
{
    refresh();
    return m_kits;
}

void OrderHistory::listKits()
{
    db::Table& t = table();
    refresh();
    if (m_current < 0) {
        m_listed = 0;
        m_kits.clear();
        emit changed();
        return;
    }
    const SavedOrder& picked = m_orders.at(m_current);
    m_listed = picked.Id;
    m_kits = queryKits(t, m_listed);
    m_lbName = picked.Name;
    m_lbNameVisible = true;
    emit changed();
}

void OrderHistory::FormShow()
{
    db::Table& t = table();
    if (m_stale) {
        // Written here since the last reading: read once, on the first row.
        refresh();
    } else if (QVector<SavedOrder> now = queryOrders(t); now != m_orders) {
        m_orders = std::move(now);
        m_current = m_orders.isEmpty() ? -1 : 0;
    }
    listKits();
}

bool OrderHistory::bt_openClick(OrderModel& order)
{
    table();
    refresh();
    if (!m_listed)
        return false;
    order.ReopenOrder(m_kits);
    // The reopened order goes on under its own description.
    order.setDescription(m_lbName);
    order.markSaved(m_listed);
    return true;
}

void OrderHistory::listSaved(const QString& description)
{
    table();
    refresh();
    // The newest order of that description: the one just written.
    int row = int(m_orders.size()) - 1;
    for (int i = row; i >= 0; --i) {
        if (m_orders.at(i).Name == description) {
            row = i;
            break;
        }
    }
    if (row >= 0)
        m_current = row;
    listKits();
}

QVector<SavedOrder> OrderHistory::queryOrders(db::Table& table)
{
    QVector<SavedOrder> list;
    const auto rows = table.query(ordersSql);
    list.reserve(rows.size());
    for (const auto& r : rows)
        list.push_back({number(r.at(0)), r.at(1).toString()});
    return list;
}

QVector<TOrder> OrderHistory::queryKits(db::Table& table, qint32 orderId)
{
    QVector<TOrder> kits;
    // An order header is never a kit: number 0 would list the headers.
    if (orderId == 0)
        return kits;
    const auto rows = table.query(kitsSql, {orderId});
    kits.reserve(rows.size());
    for (const auto& r : rows) {
        TOrder e;
        e.Type = r.at(0).toString();
        e.Count = number(r.at(1));
        e.Color = number(r.at(2));
        e.FFH = number(r.at(3));
        e.FFB = number(r.at(4));
        e.GH = number(r.at(5));
        e.Designation = r.at(6).toString();
        e.Profil = r.at(7).toString();
        e.Dop_komplekt = r.at(8).toString();
        kits.push_back(e);
    }
    return kits;
}

std::optional<SavedOrder> OrderHistory::queryOrder(db::Table& table, qint32 id)
{
    const auto rows = table.query(orderSql, {id});
    if (rows.isEmpty())
        return std::nullopt;
    return SavedOrder{number(rows.first().at(0)), rows.first().at(1).toString()};
}

} // namespace lir
