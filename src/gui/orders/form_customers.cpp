#include "gui/orders/form_customers.h"

#include "core/base/dialogs.h"
#include "core/orders/orderbooktexts.h"
#include "core/orders/ordertexts.h"
#include "gui/app/widgets.h"

#include <QHeaderView>
#include <QLabel>

namespace lir::gui {

namespace t = orderbooktexts;
using orderbook::Customer;

// ---------------------------------------------------------------- CustomersModel

int CustomersModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int CustomersModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant CustomersModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    const Customer& c = m_shown.at(index.row());
    if (role == Qt::TextAlignmentRole && index.column() == 3)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ForegroundRole && c.hidden)
        return QColor(Qt::gray);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return c.hidden ? c.name + t::hiddenMark() : c.name;
    case 1:
        return c.contact;
    case 2:
        return c.phone;
    default:
        return c.markup;
    }
}

QVariant CustomersModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    const QStringList titles = {t::fieldName(), t::fieldContact(), t::fieldPhone(), t::fieldMarkup()};
    return titles.value(section);
}

void CustomersModel::show(const QVector<Customer>& shown)
{
    if (shown == m_shown)
        return;
    beginResetModel();
    m_shown = shown;
    endResetModel();
}

int CustomersModel::rowOf(qint32 id) const
{
    for (int i = 0; i < m_shown.size(); ++i)
        if (m_shown.at(i).id == id)
            return i;
    return -1;
}

// ---------------------------------------------------------------- TCustomers

TCustomers::TCustomers(CustomerBook& book, QWidget* parent) : QWidget(parent, fixedWindowFlags()), m_book(book)
{
    setObjectName(QStringLiteral("Customers"));
    setWindowTitle(t::customersCaption());
    setFont(tahoma(11));
    setUpFixedWindow(this, {780, 420});

    auto* searchLabel = new QLabel(t::lblSearch(), this);
    searchLabel->setGeometry(8, 10, 50, 22);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("ed_search"));
    m_search->setClearButtonEnabled(true);
    m_search->setGeometry(60, 8, 230, 24);
    searchLabel->setBuddy(m_search);
    m_showHidden = new QCheckBox(t::cbShowHidden(), this);
    m_showHidden->setObjectName(QStringLiteral("cb_hidden"));
    m_showHidden->setGeometry(300, 8, 170, 24);

    m_model = new CustomersModel(this);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("DBGrid_customers"));
    m_list->setModel(m_model);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(20);
    m_list->horizontalHeader()->setFixedHeight(20);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: #A6CAF0; border: 0px;"
                                         " border-right: 1px solid #7f9fc0; border-bottom: 1px solid #7f9fc0;"
                                         " padding-left: 1px; }"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setColumnWidth(0, 180);
    m_list->setColumnWidth(1, 120);
    m_list->setColumnWidth(2, 110);
    m_list->setGeometry(8, 40, 462, 330);

    // The fields of the picked customer, right.
    const QStringList labels = {t::fieldName(),    t::fieldContact(), t::fieldPhone(), t::fieldEmail(),
                                t::fieldAddress(), t::fieldInn(),     t::fieldNote(),  t::fieldMarkup()};
    const int sizes[] = {orderbook::NameSize,    orderbook::ContactSize, orderbook::PhoneSize, orderbook::EmailSize,
                         orderbook::AddressSize, 12,                     orderbook::NoteSize,  12};
    for (int i = 0; i < 8; ++i) {
        auto* l = new QLabel(labels.at(i) + u':', this);
        l->setGeometry(482, 40 + 38 * i, 290, 16);
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("ed_customer%1").arg(i));
        // One character more than the field holds, so that a pasted text
        // that is too long is refused with a message rather than cut unseen.
        e->setMaxLength(sizes[i] + 1);
        e->setGeometry(482, 56 + 38 * i, i == 7 ? 60 : 290, 22);
        l->setBuddy(e);
        m_fields[size_t(i)] = e;
    }

    m_new = new CommandPanel(t::btNewCustomer(), this);
    m_new->setObjectName(QStringLiteral("bt_new"));
    m_new->setGeometry(8, 380, 100, 32);
    m_save = new CommandPanel(t::btSaveCustomer(), this);
    m_save->setObjectName(QStringLiteral("bt_savecustomer"));
    m_save->setGeometry(482, 380, 110, 32);
    m_delete = new CommandPanel(t::btDeleteCustomer(), this);
    m_delete->setObjectName(QStringLiteral("bt_delete"));
    m_delete->setGeometry(116, 380, 100, 32);
    m_hide = new CommandPanel(t::btHideCustomer(), this);
    m_hide->setObjectName(QStringLiteral("bt_hide"));
    m_hide->setGeometry(224, 380, 100, 32);
    m_close = new CommandPanel(ordertexts::btClose(), this);
    m_close->setObjectName(QStringLiteral("bt_close"));
    m_close->setGeometry(672, 380, 100, 32);

    connect(m_search, &QLineEdit::textChanged, this, &TCustomers::refreshList);
    connect(m_showHidden, &QCheckBox::toggled, this, &TCustomers::refreshList);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_syncing && current.isValid())
                    pick(m_model->at(current.row()).id);
            });
    connect(m_new, &QPushButton::clicked, this, &TCustomers::newCustomer);
    connect(m_save, &QPushButton::clicked, this, &TCustomers::saveCustomer);
    connect(m_delete, &QPushButton::clicked, this, &TCustomers::deleteCustomer);
    connect(m_hide, &QPushButton::clicked, this, &TCustomers::toggleHidden);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_book, &CustomerBook::changed, this, &TCustomers::refreshList);

    newCustomer();
}

void TCustomers::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // A colleague's customers show at the next showing.
    runGuarded([this] { m_book.reload(); });
}

void TCustomers::refreshList()
{
    QVector<Customer> shown;
    for (const Customer* c : m_book.search(m_search->text(), m_showHidden->isChecked()))
        shown.push_back(*c);
    m_syncing = true;
    m_model->show(shown);
    // The picked customer as it is now; its fields keep what is being typed.
    if (m_editing) {
        const int row = m_model->rowOf(m_editing->id);
        if (row >= 0)
            m_list->setCurrentIndex(m_model->index(row, 0));
        else
            m_list->clearSelection();
        if (const Customer* now = m_book.find(m_editing->id))
            m_editing = *now;
    }
    m_syncing = false;
    m_delete->setEnabled(m_editing.has_value());
    m_hide->setEnabled(m_editing.has_value());
    m_hide->setText(m_editing && m_editing->hidden ? t::btShowCustomer() : t::btHideCustomer());
}

void TCustomers::pick(qint32 id)
{
    const Customer* c = m_book.find(id);
    if (!c)
        return;
    m_editing = *c;
    showFields();
    refreshList();
}

void TCustomers::newCustomer()
{
    m_editing.reset();
    showFields();
    m_syncing = true;
    m_list->clearSelection();
    m_list->setCurrentIndex({});
    m_syncing = false;
    refreshList();
    m_fields[0]->setFocus();
}

void TCustomers::showFields()
{
    const Customer c = m_editing.value_or(Customer{});
    const QString values[] = {c.name,    c.contact, c.phone, c.email, c.address,
                              c.inn,     c.note,    QString::number(c.markup)};
    for (int i = 0; i < 8; ++i)
        m_fields[size_t(i)]->setText(values[i]);
}

std::optional<Customer> TCustomers::typedCustomer()
{
    Customer c = m_editing.value_or(Customer{});
    QString* texts[] = {&c.name, &c.contact, &c.phone, &c.email, &c.address, &c.inn, &c.note};
    for (int i = 0; i < 7; ++i)
        *texts[i] = m_fields[size_t(i)]->text().trimmed();
    const std::optional<int> markup = orderbook::parseMarkup(m_fields[7]->text());
    if (!markup) {
        dialogs().errorBox(t::badMarkup(m_fields[7]->text()));
        return std::nullopt;
    }
    c.markup = *markup;
    return c;
}

void TCustomers::saveCustomer()
{
    const std::optional<Customer> typed = typedCustomer();
    if (!typed)
        return;
    const Customer written = m_editing ? m_book.edit(*m_editing, *typed) : m_book.add(*typed);
    if (written.id) {
        // A new customer stays visible to be checked, even while a search hides it.
        m_editing = written;
        showFields();
        refreshList();
    } else if (m_editing) {
        // Refused: the fields show the customer as it is now.
        if (const Customer* now = m_book.find(m_editing->id)) {
            m_editing = *now;
            showFields();
        }
    }
}

void TCustomers::deleteCustomer()
{
    if (!m_editing)
        return;
    bool hasOrders = false;
    if (!runGuarded([&] { hasOrders = m_book.hasOrders(m_editing->id); }))
        return;
    if (hasOrders) {
        dialogs().errorBox(t::customerHasOrders(m_editing->name));
        return;
    }
    if (dialogs().question(t::askDeleteCustomer(m_editing->name)) != Dialogs::Answer::Yes)
        return;
    if (m_book.remove(*m_editing))
        newCustomer();
}

void TCustomers::toggleHidden()
{
    if (!m_editing)
        return;
    Customer changed = *m_editing;
    changed.hidden = !changed.hidden;
    const Customer written = m_book.edit(*m_editing, changed);
    if (written.id) {
        m_editing = written;
        refreshList();
    }
}

} // namespace lir::gui
