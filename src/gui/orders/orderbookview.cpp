#include "gui/orders/orderbookview.h"

#include "core/base/dialogs.h"
#include "core/orders/customerbook.h"
#include "core/orders/orderbooktexts.h"
#include "gui/app/widgets.h"

#include <QApplication>

namespace lir::gui {

namespace t = orderbooktexts;
using orderbook::BookOrder;

namespace {

// The first day a date filter offers stands for "no date": it shows "—".
const QDate noDate(2000, 1, 1);

QDateEdit* dateEdit(const QString& name, QWidget* parent)
{
    auto* e = new QDateEdit(parent);
    e->setObjectName(name);
    e->setCalendarPopup(true);
    e->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    e->setMinimumDate(noDate);
    e->setSpecialValueText(t::missing());
    e->setDate(noDate);
    return e;
}

QLabel* label(const QString& text, QWidget* buddy, QRect where, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(where);
    l->setBuddy(buddy);
    return l;
}

} // namespace

// ---------------------------------------------------------------- OrderBookModel

OrderBookModel::OrderBookModel(OrderBook& book, QObject* parent) : QAbstractTableModel(parent), m_book(book)
{
}

int OrderBookModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int OrderBookModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : OrderBook::ColumnCount;
}

QVariant OrderBookModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    const auto column = OrderBook::Column(index.column());
    if (role == Qt::TextAlignmentRole)
        return int((column == OrderBook::Number || column == OrderBook::Total ? Qt::AlignRight : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && column == OrderBook::Description)
        return m_shown.at(index.row()).name;
    if (role != Qt::DisplayRole)
        return {};
    return OrderBook::cellText(m_shown.at(index.row()), column);
}

QVariant OrderBookModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (role == Qt::FontRole && o == Qt::Horizontal && section == OrderBook::Number) {
        // Wine's Tahoma draws "№" as an N with a speck beside it at this size.
        QFont f = QApplication::font();
        f.setFamily(QStringLiteral("DejaVu Sans"));
        return f;
    }
    if (role != Qt::DisplayRole)
        return {};
    if (o == Qt::Horizontal) {
        const QStringList titles = {t::colNumber(),      t::colDate(),   t::colCustomer(),
                                    t::colDescription(), t::colStatus(), t::colTotal()};
        return titles.value(section);
    }
    return section == currentRow() ? QStringLiteral("\u25B6") : QString();
}

void OrderBookModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= OrderBook::ColumnCount)
        return;
    m_book.sort(OrderBook::Column(column), order);
}

int OrderBookModel::currentRow() const
{
    const qint32 id = m_book.currentId();
    for (int r = 0; r < m_shown.size(); ++r)
        if (m_shown.at(r).id == id)
            return r;
    return -1;
}

void OrderBookModel::refresh()
{
    QVector<BookOrder> now;
    now.reserve(m_book.shown().size());
    for (int i = 0; i < m_book.shown().size(); ++i)
        now.push_back(m_book.shownOrder(i));
    if (now != m_shown) {
        beginResetModel();
        m_shown = std::move(now);
        endResetModel();
    } else if (!m_shown.isEmpty()) {
        emit headerDataChanged(Qt::Vertical, 0, int(m_shown.size()) - 1);
    }
}

// ---------------------------------------------------------------- OrderBookControls

OrderBookControls::OrderBookControls(OrderBook& book, CustomerBook& customers, QWidget* window)
    : QObject(window), m_book(book), m_customers(customers)
{
    // The filters, one row above the lists.
    m_text = new QLineEdit(window);
    m_text->setObjectName(QStringLiteral("ed_filter"));
    m_text->setClearButtonEnabled(true);
    m_text->setGeometry(56, 10, 170, 24);
    label(t::lblFilterText(), m_text, {8, 12, 48, 20}, window);
    m_status = new QComboBox(window);
    m_status->setObjectName(QStringLiteral("cb_filterstatus"));
    m_status->addItem(t::anyStatus());
    m_status->addItems(t::statuses());
    m_status->setGeometry(310, 10, 160, 24);
    label(t::lblFilterStatus(), m_status, {234, 12, 76, 20}, window);
    m_from = dateEdit(QStringLiteral("de_from"), window);
    m_from->setGeometry(494, 10, 110, 24);
    label(t::lblFrom(), m_from, {480, 12, 14, 20}, window);
    m_to = dateEdit(QStringLiteral("de_to"), window);
    m_to->setGeometry(632, 10, 110, 24);
    label(t::lblTo(), m_to, {612, 12, 20, 20}, window);
    m_designation = new QLineEdit(window);
    m_designation->setObjectName(QStringLiteral("ed_filterkit"));
    m_designation->setClearButtonEnabled(true);
    m_designation->setGeometry(820, 10, 120, 24);
    label(t::lblFilterDesignation(), m_designation, {752, 12, 68, 20}, window);
    m_archive = new QCheckBox(t::cbShowArchive(), window);
    m_archive->setObjectName(QStringLiteral("cb_archive"));
    m_archive->setGeometry(8, 40, 160, 22);
    m_count = new QLabel(window);
    m_count->setObjectName(QStringLiteral("lb_count"));
    m_count->setGeometry(180, 40, 300, 22);

    // The current order's details, right, under its kits.
    m_orderStatus = new QComboBox(window);
    m_orderStatus->setObjectName(QStringLiteral("cb_status"));
    m_orderStatus->addItems(t::statuses());
    m_orderStatus->setGeometry(780, 318, 232, 24);
    label(t::lblFilterStatus(), m_orderStatus, {690, 320, 88, 20}, window);
    m_orderCustomer = new QComboBox(window);
    m_orderCustomer->setObjectName(QStringLiteral("cb_ordercustomer"));
    m_orderCustomer->setGeometry(780, 348, 232, 24);
    label(t::lblCustomer(), m_orderCustomer, {690, 350, 88, 20}, window);
    m_note = new QLineEdit(window);
    m_note->setObjectName(QStringLiteral("ed_note"));
    m_note->setMaxLength(orderbook::NoteSize + 1);
    m_note->setGeometry(780, 378, 232, 24);
    label(t::lblNote(), m_note, {690, 380, 88, 20}, window);
    m_writeNote = new CommandPanel(t::btWriteDetails(), window);
    m_writeNote->setObjectName(QStringLiteral("bt_writenote"));
    m_writeNote->setGeometry(912, 406, 100, 28);
    m_description = new QLineEdit(window);
    m_description->setObjectName(QStringLiteral("ed_description"));
    m_description->setMaxLength(orderbook::DescriptionSize + 1);
    m_description->setGeometry(780, 440, 232, 24);
    label(t::colDescription() + u':', m_description, {690, 442, 88, 20}, window);
    m_editDescription = new CommandPanel(t::btEditDescription(), window);
    m_editDescription->setObjectName(QStringLiteral("bt_editdescription"));
    m_editDescription->setGeometry(852, 468, 160, 28);

    m_copy = new CommandPanel(t::btCopy(), window);
    m_copy->setObjectName(QStringLiteral("bt_copy"));
    m_copy->setGeometry(152, 520, 160, 32);
    m_archiveButton = new CommandPanel(t::btArchive(), window);
    m_archiveButton->setObjectName(QStringLiteral("bt_archive"));
    m_archiveButton->setGeometry(320, 520, 170, 32);

    // The filters apply as one types.
    connect(m_text, &QLineEdit::textChanged, this, &OrderBookControls::applyFilter);
    connect(m_designation, &QLineEdit::textChanged, this, &OrderBookControls::applyFilter);
    connect(m_status, &QComboBox::currentIndexChanged, this, &OrderBookControls::applyFilter);
    connect(m_from, &QDateEdit::dateChanged, this, &OrderBookControls::applyFilter);
    connect(m_to, &QDateEdit::dateChanged, this, &OrderBookControls::applyFilter);
    connect(m_archive, &QCheckBox::toggled, this, &OrderBookControls::applyFilter);

    connect(m_orderStatus, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        orderbook::OrderChange c;
        c.status = m_orderStatus->itemText(i);
        changeCurrent(c);
    });
    connect(m_orderCustomer, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        orderbook::OrderChange c;
        c.customerId = m_orderCustomer->itemData(i).toInt();
        changeCurrent(c);
    });
    connect(m_writeNote, &QPushButton::clicked, this, [this] {
        orderbook::OrderChange c;
        c.note = m_note->text();
        changeCurrent(c);
    });
    connect(m_editDescription, &QPushButton::clicked, this, [this] {
        orderbook::OrderChange c;
        c.description = m_description->text();
        changeCurrent(c);
    });
    connect(m_copy, &QPushButton::clicked, this, [this] {
        if (m_book.currentId())
            emit copyRequested(m_book.currentId());
    });
    connect(m_archiveButton, &QPushButton::clicked, this, [this] {
        const BookOrder* o = m_book.find(m_book.currentId());
        if (!o)
            return;
        orderbook::OrderChange c;
        c.archived = !o->details.archived;
        changeCurrent(c);
    });
    connect(&m_customers, &CustomerBook::changed, this, &OrderBookControls::syncCustomers);
}

OrderFilter OrderBookControls::typedFilter() const
{
    OrderFilter f;
    f.text = m_text->text();
    f.status = m_status->currentIndex() > 0 ? m_status->currentText() : QString();
    f.from = m_from->date() == noDate ? QDate() : m_from->date();
    f.to = m_to->date() == noDate ? QDate() : m_to->date();
    f.designation = m_designation->text();
    f.archived = m_archive->isChecked();
    return f;
}

void OrderBookControls::applyFilter()
{
    if (m_syncing)
        return;
    runGuarded([this] { m_book.setFilter(typedFilter()); });
}

void OrderBookControls::changeCurrent(const orderbook::OrderChange& change)
{
    if (m_syncing || !m_book.currentId())
        return;
    runGuarded([&] { m_book.change(m_book.currentId(), change); });
    // Written or refused: the controls show the order as it is now.
    sync();
}

void OrderBookControls::syncCustomers()
{
    m_syncing = true;
    m_orderCustomer->clear();
    m_orderCustomer->addItem(t::noCustomerChosen(), 0);
    const BookOrder* o = m_book.find(m_book.currentId());
    const qint32 current = o ? o->details.customerId : 0;
    for (const orderbook::Customer& c : m_customers.customers())
        if (!c.hidden || c.id == current)
            m_orderCustomer->addItem(c.name, c.id);
    m_orderCustomer->setCurrentIndex(std::max(0, m_orderCustomer->findData(current)));
    m_syncing = false;
}

void OrderBookControls::sync()
{
    m_syncing = true;
    const BookOrder* o = m_book.find(m_book.currentId());
    const bool any = o != nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{m_orderStatus, m_orderCustomer, m_note, m_writeNote,
                                                      m_description, m_editDescription, m_copy, m_archiveButton})
        w->setEnabled(any);
    m_orderStatus->setCurrentIndex(o && o->hasDetails() ? int(t::statuses().indexOf(o->details.status)) : -1);
    m_note->setText(o ? o->details.note : QString());
    m_description->setText(o ? o->name : QString());
    m_archiveButton->setText(o && o->details.archived ? t::btRestore() : t::btArchive());
    m_count->setText(t::shownCount(int(m_book.shown().size()), int(m_book.orders().size())));
    m_syncing = false;
    syncCustomers();
}

} // namespace lir::gui
