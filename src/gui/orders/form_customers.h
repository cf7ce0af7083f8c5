#pragma once

#include "core/orders/customerbook.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QLineEdit>
#include <QTableView>
#include <QWidget>

#include <array>
#include <optional>

namespace lir::gui {

class CommandPanel;

// The customers a search shows: name, contact person, phone, markup.
class CustomersModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit CustomersModel(QObject* parent) : QAbstractTableModel(parent) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    void show(const QVector<orderbook::Customer>& shown);
    const orderbook::Customer& at(int row) const { return m_shown.at(row); }
    int rowOf(qint32 id) const;

private:
    QVector<orderbook::Customer> m_shown;
};

// The window "Заказчики": search, add, edit, delete (a customer without
// orders) or hide (one with orders). A view of the shared customer book.
class TCustomers : public QWidget
{
    Q_OBJECT
public:
    explicit TCustomers(CustomerBook& book, QWidget* parent = nullptr);

    QLineEdit* searchEdit() const { return m_search; }
    QCheckBox* showHidden() const { return m_showHidden; }
    QTableView* list() const { return m_list; }
    // The fields in the order name, contact, phone, e-mail, address, ИНН, note, markup.
    QLineEdit* field(int i) const { return m_fields.at(size_t(i)); }
    CommandPanel* newButton() const { return m_new; }
    CommandPanel* saveButton() const { return m_save; }
    CommandPanel* deleteButton() const { return m_delete; }
    CommandPanel* hideButton() const { return m_hide; }

    // The customer whose fields are shown; nothing while a new one is typed.
    std::optional<orderbook::Customer> editing() const { return m_editing; }
    void pick(qint32 id);
    void newCustomer();
    void saveCustomer();
    void deleteCustomer();
    void toggleHidden();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void refreshList();
    void showFields();
    std::optional<orderbook::Customer> typedCustomer();

    CustomerBook& m_book;
    CustomersModel* m_model = nullptr;
    QLineEdit* m_search = nullptr;
    QCheckBox* m_showHidden = nullptr;
    QTableView* m_list = nullptr;
    std::array<QLineEdit*, 8> m_fields{};
    CommandPanel* m_new = nullptr;
    CommandPanel* m_save = nullptr;
    CommandPanel* m_delete = nullptr;
    CommandPanel* m_hide = nullptr;
    CommandPanel* m_close = nullptr;
    std::optional<orderbook::Customer> m_editing;
    bool m_syncing = false;
};

} // namespace lir::gui
