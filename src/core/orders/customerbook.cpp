#include "core/orders/customerbook.h"

#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/db/storage.h"
#include "core/orders/ordertable.h"

namespace lir {

using orderbook::Customer;

namespace {

db::Table& openDefault()
{
    orders::CreateOrderTable();
    return db::Table::open(orders::tableFile());
}

} // namespace

CustomerBook::CustomerBook(QObject* parent) : QObject(parent), m_source(&openDefault)
{
}

CustomerBook& CustomerBook::shared()
{
    static CustomerBook book;
    return book;
}

void CustomerBook::setTableSource(std::function<db::Table&()> source)
{
    m_ownSource = bool(source);
    m_source = source ? std::move(source) : std::function<db::Table&()>(&openDefault);
}

db::Table& CustomerBook::table()
{
    return m_source();
}

void CustomerBook::reload()
{
    // Reading makes no order table: without one there are no customers yet.
    if (!m_ownSource && !db::Table::exists(orders::tableFile())) {
        m_all.clear();
        emit changed();
        return;
    }
    m_all = orderbook::readCustomers(table());
    emit changed();
}

const Customer* CustomerBook::find(qint32 id) const
{
    for (const Customer& c : m_all)
        if (c.id == id)
            return &c;
    return nullptr;
}

QVector<const Customer*> CustomerBook::search(const QString& text, bool withHidden) const
{
    const QString s = text.trimmed();
    QVector<const Customer*> shown;
    for (const Customer& c : m_all) {
        if (c.hidden && !withHidden)
            continue;
        if (!s.isEmpty()) {
            bool found = false;
            for (const QString* f : {&c.name, &c.contact, &c.phone, &c.email, &c.address, &c.inn})
                if (f->contains(s, Qt::CaseInsensitive)) {
                    found = true;
                    break;
                }
            if (!found)
                continue;
        }
        shown.push_back(&c);
    }
    return shown;
}

template<typename F>
Customer CustomerBook::write(F f)
{
    Customer written;
    QString refusal;
    try {
        written = f(table());
    } catch (const Error& e) {
        refusal = e.message();
    }
    // Written or refused, the views show the customers as they are now.
    runGuarded([this] { reload(); });
    if (!refusal.isEmpty())
        dialogs().errorBox(refusal);
    return written;
}

Customer CustomerBook::add(const Customer& c)
{
    if (const QString m = orderbook::checkCustomer(c); !m.isEmpty()) {
        dialogs().errorBox(m);
        return {};
    }
    return write([&c](db::Table& t) { return orderbook::addCustomer(t, c); });
}

Customer CustomerBook::edit(const Customer& asRead, const Customer& changed)
{
    if (const QString m = orderbook::checkCustomer(changed); !m.isEmpty()) {
        dialogs().errorBox(m);
        return {};
    }
    return write([&](db::Table& t) { return orderbook::editCustomer(t, asRead, changed); });
}

bool CustomerBook::remove(const Customer& asRead)
{
    const Customer gone = write([&](db::Table& t) {
        orderbook::deleteCustomer(t, asRead);
        return asRead;
    });
    return gone.id != 0;
}

bool CustomerBook::hasOrders(qint32 id)
{
    return orderbook::customerHasOrders(table(), id);
}

} // namespace lir
