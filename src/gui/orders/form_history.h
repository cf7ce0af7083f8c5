#pragma once

#include "core/orders/orderbook.h"
#include "core/orders/orderhistory.h"

#include <QAbstractTableModel>
#include <QLabel>
#include <QTableView>
#include <QWidget>

namespace lir::gui {

class CommandPanel;
class OrderBookControls;
class OrderBookModel;

// The kits of the listed order: designation, count and colour.
class SavedKitsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    SavedKitsModel(OrderHistory& history, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    void refresh();

private:
    OrderHistory& m_history;
    QVector<TOrder> m_shown;
};

// The order history window: a view of the order history, which owns the
// order table of the run, and of the order book, which lists the orders with
// their details.
class Thistory : public QWidget
{
    Q_OBJECT
public:
    explicit Thistory(QWidget* parent = nullptr);
    ~Thistory() override;

    OrderHistory& history() { return m_history; }
    OrderBook& book() { return m_book; }
    OrderBookControls* controls() const { return m_controls; }

    QTableView* DBGrid_parent() const { return m_parent; }
    QTableView* DBGrid_child() const { return m_child; }
    QLabel* lb_name() const { return m_lbName; }
    CommandPanel* bt_open() const { return m_open; }
    CommandPanel* bt_close() const { return m_close; }

    // A click in the orders grid on a row (of the shown list), and a
    // double-click (which the click precedes).
    void DBGrid_parentCellClick(int row);
    void bt_openClick();

    void syncFromState();

protected:
    void showEvent(QShowEvent* e) override;

private:
    // The kit list follows the order the book stands on.
    void followBook();
    // Reads the book again and stands it on the history's order.
    void reloadBook();
    void copyOrder(qint32 id);

    OrderHistory m_history;
    OrderBook m_book;
    OrderBookModel* m_ordersModel = nullptr;
    OrderBookControls* m_controls = nullptr;
    SavedKitsModel* m_kitsModel = nullptr;
    QTableView* m_parent = nullptr;
    QTableView* m_child = nullptr;
    QLabel* m_lbName = nullptr;
    CommandPanel* m_open = nullptr;
    CommandPanel* m_close = nullptr;
    bool m_syncing = false;
};

} // namespace lir::gui
