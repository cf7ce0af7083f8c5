#pragma once

#include <QComboBox>
#include <QLabel>
#include <QWidget>

namespace lir {
class CustomerBook;
class OrderModel;
} // namespace lir

namespace lir::gui {

class CommandPanel;

// The summation window's choice of the order's customer: a list one can type
// into to search (any part of the name), and the button that opens
// "Заказчики". A choice fills the markup with the customer's default.
class CustomerChoice : public QWidget
{
    Q_OBJECT
public:
    CustomerChoice(OrderModel& order, CustomerBook& book, QWidget* parent);

    QComboBox* combo() const { return m_combo; }
    CommandPanel* customersButton() const { return m_button; }

    // Brings the list in line with the customers and the order's choice.
    void sync();
    // After a change of the order: the list follows a new choice.
    void orderChanged();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void chosen(int index);

    OrderModel& m_order;
    CustomerBook& m_book;
    QComboBox* m_combo = nullptr;
    CommandPanel* m_button = nullptr;
    qint32 m_shownId = -1;
    bool m_syncing = false;
};

// "наценка заказчика" or "наценка введена вручную" while the order has a
// customer; empty otherwise.
QString markupSourceText(const OrderModel& order);

} // namespace lir::gui
