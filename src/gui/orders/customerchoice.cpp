#include "gui/orders/customerchoice.h"

#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/orders/customerbook.h"
#include "core/orders/orderbooktexts.h"
#include "core/orders/ordermodel.h"
#include "gui/app/form_main.h"
#include "gui/app/forms.h"
#include "gui/app/widgets.h"
#include "gui/orders/form_customers.h"

#include <QCompleter>
#include <QLineEdit>

namespace lir::gui {

namespace t = orderbooktexts;

namespace {

// The one window "Заказчики" of the run; without the program's windows (a
// summation window alone), one of its own that goes with it.
TCustomers* customersWindow(CustomerBook& book, QWidget* owner)
{
    if (forms::Customers)
        return forms::Customers;
    auto* own = owner->findChild<TCustomers*>();
    if (!own) {
        own = new TCustomers(book, owner);
        own->setWindowFlags(fixedWindowFlags());
    }
    return own;
}

} // namespace

QString markupSourceText(const OrderModel& order)
{
    if (!order.customerId())
        return {};
    return order.markupSource() == OrderModel::MarkupSource::Customer ? t::markupFromCustomer() : t::markupTyped();
}

CustomerChoice::CustomerChoice(OrderModel& order, CustomerBook& book, QWidget* parent)
    : QWidget(parent), m_order(order), m_book(book)
{
    setObjectName(QStringLiteral("CustomerChoice"));
    auto* label = new QLabel(t::lblCustomer(), this);
    label->setGeometry(0, 4, 64, 20);
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("cb_customer"));
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setGeometry(64, 2, 300, 24);
    m_combo->completer()->setFilterMode(Qt::MatchContains);
    m_combo->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    m_combo->completer()->setCompletionMode(QCompleter::PopupCompletion);
    label->setBuddy(m_combo);
    m_button = new CommandPanel(t::btCustomers(), this);
    m_button->setObjectName(QStringLiteral("bt_customers"));
    m_button->setGeometry(372, 0, 110, 28);

    connect(m_combo, qOverload<int>(&QComboBox::activated), this, &CustomerChoice::chosen);
    // A typed text that names no customer goes back to the choice.
    connect(m_combo->lineEdit(), &QLineEdit::editingFinished, this, &CustomerChoice::sync);
    connect(m_button, &QPushButton::clicked, this, [this] { TMain::showWindow(customersWindow(m_book, window())); });
    connect(&m_book, &CustomerBook::changed, this, &CustomerChoice::sync);
}

void CustomerChoice::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // Read at every showing, where a failure cannot be shown: the list stays
    // as it was, and saving the order or the window "Заказчики" says why.
    try {
        m_book.reload();
    } catch (const Error&) {
    }
}

void CustomerChoice::chosen(int index)
{
    if (m_syncing || index < 0)
        return;
    const qint32 id = m_combo->itemData(index).toInt();
    m_order.chooseCustomer(id ? m_book.find(id) : nullptr);
    sync();
}

void CustomerChoice::sync()
{
    m_syncing = true;
    m_combo->clear();
    m_combo->addItem(t::noCustomerChosen(), 0);
    int current = 0;
    for (const orderbook::Customer& c : m_book.customers()) {
        // A hidden customer is offered no more, but stays the order's own.
        if (c.hidden && c.id != m_order.customerId())
            continue;
        m_combo->addItem(c.name, c.id);
        if (c.id == m_order.customerId())
            current = m_combo->count() - 1;
    }
    if (m_order.customerId() && current == 0) {
        // Chosen before this copy of the program read its customers.
        m_combo->addItem(m_order.customerName(), m_order.customerId());
        current = m_combo->count() - 1;
    }
    m_combo->setCurrentIndex(current);
    m_shownId = m_order.customerId();
    m_syncing = false;
}

void CustomerChoice::orderChanged()
{
    if (m_order.customerId() != m_shownId)
        sync();
}

} // namespace lir::gui
