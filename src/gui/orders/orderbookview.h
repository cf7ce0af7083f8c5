#pragma once

#include "core/orders/orderbook.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace lir {
class CustomerBook;
} // namespace lir

namespace lir::gui {

class CommandPanel;

// The history's order list as an order book: number, date, customer,
// description, status and total of every order the filter shows, sorted by
// the column whose title was clicked; the row indicator on the current order.
class OrderBookModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    OrderBookModel(OrderBook& book, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    void sort(int column, Qt::SortOrder order) override;
    void refresh();
    // The row of the current order; -1 when none is shown.
    int currentRow() const;

private:
    OrderBook& m_book;
    QVector<orderbook::BookOrder> m_shown;
};

// The filters above the order book and the commands on its current order:
// its status, customer and note, its description, copy and archive. The
// filters apply as one types.
class OrderBookControls : public QObject
{
    Q_OBJECT
public:
    OrderBookControls(OrderBook& book, CustomerBook& customers, QWidget* window);

    QLineEdit* filterText() const { return m_text; }
    QComboBox* filterStatus() const { return m_status; }
    QDateEdit* filterFrom() const { return m_from; }
    QDateEdit* filterTo() const { return m_to; }
    QLineEdit* filterDesignation() const { return m_designation; }
    QCheckBox* showArchive() const { return m_archive; }
    QLabel* shownCount() const { return m_count; }
    QComboBox* orderStatus() const { return m_orderStatus; }
    QComboBox* orderCustomer() const { return m_orderCustomer; }
    QLineEdit* orderNote() const { return m_note; }
    QLineEdit* orderDescription() const { return m_description; }
    CommandPanel* writeNote() const { return m_writeNote; }
    CommandPanel* editDescription() const { return m_editDescription; }
    CommandPanel* copyButton() const { return m_copy; }
    CommandPanel* archiveButton() const { return m_archiveButton; }

    // The filter as the controls set it.
    OrderFilter typedFilter() const;
    // Shows the current order's details in the controls.
    void sync();
    void syncCustomers();

signals:
    // "Копировать заказ" on the current order.
    void copyRequested(qint32 id);

private:
    void applyFilter();
    void changeCurrent(const orderbook::OrderChange& change);

    OrderBook& m_book;
    CustomerBook& m_customers;
    QLineEdit* m_text = nullptr;
    QComboBox* m_status = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QLineEdit* m_designation = nullptr;
    QCheckBox* m_archive = nullptr;
    QLabel* m_count = nullptr;
    QComboBox* m_orderStatus = nullptr;
    QComboBox* m_orderCustomer = nullptr;
    QLineEdit* m_note = nullptr;
    QLineEdit* m_description = nullptr;
    CommandPanel* m_writeNote = nullptr;
    CommandPanel* m_editDescription = nullptr;
    CommandPanel* m_copy = nullptr;
    CommandPanel* m_archiveButton = nullptr;
    bool m_syncing = false;
};

} // namespace lir::gui
