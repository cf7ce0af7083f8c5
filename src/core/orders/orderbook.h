#pragma once

#include "core/orders/orderbookstore.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

namespace lir {

class OrderModel;

namespace db {
class Table;
}

// What the order book shows of the saved orders. Every part that is set must
// match; an empty text or status, no customer and no date match everything.
struct OrderFilter
{
    QString text;        // in the number, the description or the customer's name, ignoring case
    QString status;      // exactly this status
    qint32 customerId = 0;
    QDate from;          // created on this day or later
    QDate to;            // created on this day or earlier
    QString designation; // a kit of the order whose designation contains it, ignoring case
    bool archived = false; // the archive instead of the orders in work
    // The two days as the details store them, made once for a whole list.
    QString fromText;
    QString toText;

    bool operator==(const OrderFilter&) const = default;
};

// The order book without widgets: the state of the history window's order
// list. It reads every saved order with its details (at every showing of the
// window, and after every write it makes), and shows those the filter lets
// through, sorted by one column. Its changes of an order go through the order
// book store and are checked against concurrent changes: a refused one shows
// the message and the order as it is now.
class OrderBook : public QObject
{
    Q_OBJECT

public:
    enum Column { Number, Date, Customer, Description, Status, Total, ColumnCount };

    explicit OrderBook(QObject* parent = nullptr);

    // How the order table is reached; the history's table in the window.
    void setTableSource(std::function<db::Table&()> source);

    // Reads every order and its details again; the current order stays
    // where it is still shown. Throws lir::Error.
    void reload();

    const QVector<orderbook::BookOrder>& orders() const { return m_all; }
    // The rows shown: indexes into orders(), filtered and sorted.
    const QVector<int>& shown() const { return m_shown; }
    const orderbook::BookOrder& shownOrder(int row) const { return m_all.at(m_shown.at(row)); }
    const orderbook::BookOrder* find(qint32 id) const;

    const OrderFilter& filter() const { return m_filter; }
    // Applies the filter at once (as one types). A designation filter reads
    // the kits of every order on its first use after a reading.
    void setFilter(const OrderFilter& f);
    void sort(Column column, Qt::SortOrder order);
    Column sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    // The order the list stands on; 0 when none.
    qint32 currentId() const { return m_current; }
    void setCurrentId(qint32 id);

    // ------------------------------------------------------------ a person's changes
    // Each checks its input, writes, reads the book again and returns
    // whether it was written; a refusal is shown in the error box.
    bool setStatus(qint32 id, const QString& status);
    bool setCustomer(qint32 id, qint32 customerId);
    bool setNote(qint32 id, const QString& note);
    bool setDescription(qint32 id, const QString& description);
    bool setArchived(qint32 id, bool archived);
    bool change(qint32 id, const orderbook::OrderChange& change);
    // "Копировать заказ": the order becomes the current order, as "Открыть
    // заказ" makes it, with its customer (and the customer's markup) and its
    // description, to be saved as a new order.
    bool copyOrder(qint32 id, OrderModel& order);

    // The shown text of a cell, as the window and the list of lines show it.
    static QString cellText(const orderbook::BookOrder& o, Column c);
    // Whether the order passes the filter; kits: its designations, one a line.
    static bool matches(const orderbook::BookOrder& o, const OrderFilter& f, const QString* kits);
    // The orders of `all` that pass, by number.
    static QVector<int> filterOrders(const QVector<orderbook::BookOrder>& all, const OrderFilter& f,
                                     const QHash<qint32, QString>* kits);

signals:
    void changed();

private:
    db::Table& table();
    void apply();

    std::function<db::Table&()> m_source;
    QVector<orderbook::BookOrder> m_all;
    QHash<qint32, QString> m_kits;
    bool m_kitsRead = false;
    QVector<int> m_shown;
    OrderFilter m_filter;
    Column m_sortColumn = Number;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    qint32 m_current = 0;
};

} // namespace lir
