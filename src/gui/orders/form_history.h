#pragma once

#include "core/orders/orderhistory.h"

#include <QAbstractTableModel>
#include <QLabel>
#include <QTableView>
#include <QWidget>

namespace lir::gui {

class CommandPanel;

// The order list of the history: one column, and the row indicator on the
// order the list stands on.
class SavedOrdersModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    SavedOrdersModel(OrderHistory& history, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    void refresh();

private:
    OrderHistory& m_history;
    QVector<SavedOrder> m_shown;
};

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
// order table of the run.
class Thistory : public QWidget
{
    Q_OBJECT
public:
    explicit Thistory(QWidget* parent = nullptr);
    ~Thistory() override;

    OrderHistory& history() { return m_history; }

    QTableView* DBGrid_parent() const { return m_parent; }
    QTableView* DBGrid_child() const { return m_child; }
    QLabel* lb_name() const { return m_lbName; }
    CommandPanel* bt_open() const { return m_open; }
    CommandPanel* bt_close() const { return m_close; }

    // A click in the orders grid on a row, and a double-click (which the
    // click precedes).
    void DBGrid_parentCellClick(int row);
    void bt_openClick();

    void syncFromState();

protected:
    void showEvent(QShowEvent* e) override;

private:
    OrderHistory m_history;
    SavedOrdersModel* m_ordersModel = nullptr;
    SavedKitsModel* m_kitsModel = nullptr;
    QTableView* m_parent = nullptr;
    QTableView* m_child = nullptr;
    QLabel* m_lbName = nullptr;
    CommandPanel* m_open = nullptr;
    CommandPanel* m_close = nullptr;
    bool m_syncing = false;
};

} // namespace lir::gui
