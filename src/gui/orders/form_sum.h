#pragma once

#include "core/export/quote.h"
#include "core/orders/ordermodel.h"

#include <QAbstractTableModel>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QWidget>

#include <array>

namespace lir::gui {

class CalculatorWindow;
class CommandPanel;
class CustomerChoice;

// One grid of the order as a table model: the rows below the title row.
class OrderGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    OrderGridModel(OrderModel& order, OrderModel::View view, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Shows the grid as the order now holds it.
    void refresh();

private:
    OrderModel& m_order;
    OrderModel::View m_view;
    int m_shownRows = 1;
};

// The order summation window: a view of the current order.
class TTotalSum : public QWidget
{
    Q_OBJECT
public:
    explicit TTotalSum(QWidget* parent = nullptr);
    ~TTotalSum() override;

    OrderModel& order() { return m_order; }

    QRadioButton* radioButton(OrderModel::View v) const { return m_radio[size_t(v) - 1]; }
    QTableView* grid(OrderModel::View v) const { return m_grids[size_t(v) - 1]; }
    QLineEdit* edit1() const { return m_edit1; }
    QLineEdit* ledName() const { return m_ledName; }
    QToolButton* spbtEdit() const { return m_spbtEdit; }
    QToolButton* spbtDelete() const { return m_spbtDelete; }
    CommandPanel* saveButton() const { return m_save; }
    CommandPanel* clearButton() const { return m_clear; }
    CommandPanel* exportButton() const { return m_export; }
    CommandPanel* printButton() const { return m_print; }
    CommandPanel* closeButton() const { return m_close; }
    CustomerChoice* customerChoice() const { return m_customer; }
    QLabel* markupSource() const { return m_markupSource; }

    // The delete button and "Очистить заказ": each asks first what it would lose.
    void spbt_deleteClick();
    void bt_clearClick();

    // "EXCEL": the shown view with the markup of Edit1.
    void ExportButtonClick();
    // The quote of the shown view with the markup of Edit1, as "ПЕЧАТЬ"
    // previews, prints or saves it.
    Quote quote();

    // Brings every control in line with the order.
    void syncFromState();
    // Esc and Alt+Left: the calculator the last kit came from.
    void backToCalculator();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    static CalculatorWindow* windowOf(const KitCalculator* calc);
    void showCalculator(KitCalculator* calc);
    void fitColumns(OrderModel::View v);

    OrderModel m_order;
    std::array<QRadioButton*, 3> m_radio{};
    QButtonGroup* m_views = nullptr;
    std::array<QTableView*, 3> m_grids{};
    std::array<OrderGridModel*, 3> m_models{};
    QLineEdit* m_edit1 = nullptr;
    QLineEdit* m_ledName = nullptr;
    QToolButton* m_spbtEdit = nullptr;
    QToolButton* m_spbtDelete = nullptr;
    CommandPanel* m_save = nullptr;
    CommandPanel* m_clear = nullptr;
    CommandPanel* m_export = nullptr;
    CommandPanel* m_print = nullptr;
    CommandPanel* m_close = nullptr;
    CustomerChoice* m_customer = nullptr;
    QLabel* m_markupSource = nullptr;
    bool m_syncing = false;
    int m_shownRevision = -1;
    // A grid's columns are fitted when it is shown: measuring a hidden view
    // measures every row of it.
    std::array<bool, 3> m_columnsStale{};
};

} // namespace lir::gui
