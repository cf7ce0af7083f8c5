#pragma once

#include "core/orders/orderbookstore.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <functional>

namespace lir {

namespace db {
class Table;
}

// The customers without widgets: the state of the window "Заказчики" and of
// the summation window's choice of a customer. It reads the customers again
// at every showing and after every write it makes, and announces a change to
// every view (a customer added in the window is at once in the choice).
class CustomerBook : public QObject
{
    Q_OBJECT

public:
    explicit CustomerBook(QObject* parent = nullptr);

    // How the order table is reached (the customers live beside zakaz).
    void setTableSource(std::function<db::Table&()> source);

    // Reads the customers again. Throws lir::Error.
    void reload();
    const QVector<orderbook::Customer>& customers() const { return m_all; }
    const orderbook::Customer* find(qint32 id) const;

    // The customers a search shows: the text in the name, contact person,
    // phone, e-mail, address or ИНН, ignoring case; hidden ones only with
    // withHidden.
    QVector<const orderbook::Customer*> search(const QString& text, bool withHidden) const;

    // ------------------------------------------------------------ a person's changes
    // Each checks, writes, reads again and returns the customer as written
    // (id 0 when refused: the refusal is shown in the error box).
    orderbook::Customer add(const orderbook::Customer& c);
    orderbook::Customer edit(const orderbook::Customer& asRead, const orderbook::Customer& changed);
    // Deletes a customer without orders; one with orders is refused with the
    // message that it can only be hidden.
    bool remove(const orderbook::Customer& asRead);
    bool hasOrders(qint32 id);

    // The book shared by the windows of the run.
    static CustomerBook& shared();

signals:
    void changed();

private:
    db::Table& table();
    template<typename F>
    orderbook::Customer write(F f);

    std::function<db::Table&()> m_source;
    bool m_ownSource = false;
    QVector<orderbook::Customer> m_all;
};

} // namespace lir
