#pragma once

#include "core/calc/ordersink.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

namespace lir {

class OrderModel;

namespace db {
class Table;
}

// One saved order as the history lists it: its header row.
struct SavedOrder
{
    qint32 Id = 0;
    QString Name;

    bool operator==(const SavedOrder&) const = default;
};

// The order history without widgets: the state of the window Thistory. It
// owns the one open order table of the run (SaveOrder writes through it) and
// its two queries: every order header by number, and the kit rows of the
// picked order in the order they were saved. Both follow the table: after a
// write the order list stands on its first row again and the kit list shows
// again the order it showed before.
class OrderHistory : public QObject
{
    Q_OBJECT

public:
    explicit OrderHistory(QObject* parent = nullptr);
    ~OrderHistory() override;

    // How the table is reached; by default zakaz.db of the tables' directory,
    // created when it is missing. The source throws lir::Error when it fails.
    void setTableSource(std::function<db::Table&()> source);

    // Creates the table when it is missing, opens it and lists the orders.
    // Throws lir::Error naming the file and the directory.
    void FormCreate();
    // The open order table. When it could not be created or opened, this
    // tries again, and throws the same error while the cause lasts.
    db::Table& table();
    bool tableOpen() const { return !m_table.isNull(); }

    // ------------------------------------------------------------ the order list (Query1)
    const QVector<SavedOrder>& orders() const;
    int currentOrder() const; // row of the order list, -1 when it is empty
    void setCurrentOrder(int row);
    // The order list stands on the order numbered id (the order book picks
    // by number); false when the list has none of that number.
    bool setCurrentOrderId(qint32 id);

    // A showing of the window: the order list is read again, as other users
    // of a shared store may have saved orders meanwhile (when it changed it
    // stands on its first row, as after a save here); then listKits().
    void FormShow();

    // ------------------------------------------------------------ the kit list (Query2)
    // Lists the kits of the order on which the order list stands, and shows
    // its description above them (a showing of the window, a click in the
    // order list). Nothing is listed while the list is empty.
    void listKits();
    const QVector<TOrder>& kits() const;
    // The number of the listed order; 0 while none is.
    qint32 listedOrder() const { return m_listed; }
    QString lb_name() const { return m_lbName; }
    bool lbNameVisible() const { return m_lbNameVisible; }

    // An order was just saved under `description`: the list stands on it and
    // its kits are listed.
    void listSaved(const QString& description);

    // "Открыть заказ" (and a double-click in the order list): the listed
    // order replaces the current order. Does nothing while no order is
    // listed, so that the current order is not lost for nothing. The order
    // takes the listed order's description.
    bool bt_openClick(OrderModel& order);

    // ------------------------------------------------------------ the two queries
    static QVector<SavedOrder> queryOrders(db::Table& table);
    static QVector<TOrder> queryKits(db::Table& table, qint32 orderId);
    // The header of order `id`; nothing when no header has that number.
    static std::optional<SavedOrder> queryOrder(db::Table& table, qint32 id);

signals:
    // The lists or the label changed.
    void changed();

private:
    void attach(db::Table& table);
    void tableWritten();
    void refresh() const;

    std::function<db::Table&()> m_source;
    QPointer<db::Table> m_table;
    // The queries run again lazily after a write: a save of many kits
    // writes many rows.
    mutable bool m_stale = false;
    mutable QVector<SavedOrder> m_orders;
    mutable int m_current = -1;
    mutable QVector<TOrder> m_kits;
    qint32 m_listed = 0;
    QString m_lbName;
    bool m_lbNameVisible = false;
    bool m_notifyPending = false;
};

} // namespace lir
