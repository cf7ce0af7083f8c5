#include "gui/orders/form_history.h"

#include "core/base/dialogs.h"
#include "core/orders/ordertexts.h"
#include "gui/app/form_main.h"
#include "gui/app/forms.h"
#include "gui/app/widgets.h"
#include "gui/calc/calculatorwindow.h"
#include "core/orders/customerbook.h"
#include "gui/orders/form_sum.h"
#include "gui/orders/orderbookview.h"

#include <QHeaderView>

namespace lir::gui {

namespace t = ordertexts;

// ---------------------------------------------------------------- SavedKitsModel

SavedKitsModel::SavedKitsModel(OrderHistory& history, QObject* parent)
    : QAbstractTableModel(parent), m_history(history)
{
}

int SavedKitsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int SavedKitsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant SavedKitsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    if (role == Qt::TextAlignmentRole && index.column() > 0)
        return int(Qt::AlignRight | Qt::AlignVCenter); // numbers, as the grid shows them
    if (role != Qt::DisplayRole)
        return {};
    const TOrder& kit = m_shown.at(index.row());
    switch (index.column()) {
    case 0:
        return kit.Designation;
    case 1:
        return kit.Count;
    default:
        return kit.Color;
    }
}

QVariant SavedKitsModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return t::colKitDesignation();
    case 1:
        return t::colKitCount();
    default:
        return t::colKitRal();
    }
}

void SavedKitsModel::refresh()
{
    const QVector<TOrder>& now = m_history.kits();
    if (now == m_shown)
        return;
    beginResetModel();
    m_shown = now;
    endResetModel();
}

// ---------------------------------------------------------------- Thistory

namespace {

QTableView* makeGrid(const QString& objectName, QAbstractItemModel* model, QWidget* parent)
{
    auto* v = new QTableView(parent);
    v->setObjectName(objectName);
    v->setModel(model);
    v->verticalHeader()->setDefaultSectionSize(20);
    v->verticalHeader()->setMinimumSectionSize(20);
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->horizontalHeader()->setFixedHeight(20);
    v->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    v->horizontalHeader()->setHighlightSections(false);
    v->verticalHeader()->setHighlightSections(false);
    v->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: #A6CAF0; border: 0px;"
                                    " border-right: 1px solid #7f9fc0; border-bottom: 1px solid #7f9fc0;"
                                    " padding-left: 1px; }"));
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setWordWrap(false);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setTabKeyNavigation(false); // Tab goes on to the next control
    return v;
}

} // namespace

Thistory::Thistory(QWidget* parent)
    : QWidget(parent, fixedWindowFlags())
{
    setObjectName(QStringLiteral("history"));
    setWindowTitle(t::historyCaption());
    setFont(tahoma(11));
    setUpFixedWindow(this, {1020, 564});

    auto* picture = new Picture(QStringLiteral(":/pictures/launcherhistory.svg"), this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(952, 4, 60, 60);

    // The order book, left: the title row (a click sorts) and the row indicator.
    m_book.setTableSource([this]() -> db::Table& { return m_history.table(); });
    m_ordersModel = new OrderBookModel(m_book, this);
    m_parent = makeGrid(QStringLiteral("DBGrid_parent"), m_ordersModel, this);
    m_parent->verticalHeader()->setFixedWidth(14);
    m_parent->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    const int widths[] = {56, 76, 124, 166, 130, 84};
    for (int c = 0; c < OrderBook::ColumnCount; ++c)
        m_parent->setColumnWidth(c, widths[c]);
    m_parent->horizontalHeader()->setSortIndicator(OrderBook::Number, Qt::AscendingOrder);
    m_parent->horizontalHeader()->setSortIndicatorShown(true);
    m_parent->setSortingEnabled(true);
    m_parent->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_parent->setGeometry(8, 70, 674, 440);

    // The kits of the listed order, right, under its description.
    m_lbName = new QLabel(this);
    m_lbName->setObjectName(QStringLiteral("lb_name"));
    m_lbName->setFont(tahoma(12, true));
    QPalette blue = m_lbName->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    m_lbName->setPalette(blue);
    m_lbName->setAlignment(Qt::AlignCenter);
    m_lbName->setGeometry(690, 46, 320, 20);
    m_lbName->hide();

    m_kitsModel = new SavedKitsModel(m_history, this);
    m_child = makeGrid(QStringLiteral("DBGrid_child"), m_kitsModel, this);
    m_child->verticalHeader()->hide();
    m_child->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_child->setColumnWidth(0, 180);
    m_child->setColumnWidth(1, 70);
    m_child->setColumnWidth(2, 50);
    m_child->setGeometry(690, 70, 322, 240);

    m_open = new CommandPanel(t::btOpen(), this);
    m_open->setObjectName(QStringLiteral("bt_open"));
    m_open->setGeometry(8, 520, 136, 32);
    m_close = new CommandPanel(t::btClose(), this);
    m_close->setObjectName(QStringLiteral("bt_close"));
    m_close->setGeometry(912, 520, 100, 32);

    // The filters above, the current order's details and commands below.
    m_controls = new OrderBookControls(m_book, CustomerBook::shared(), this);

    // ---------------------------------------------------------------- a person's actions
    connect(m_parent->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_syncing && current.isValid() && current.row() < m_book.shown().size())
                    m_book.setCurrentId(m_book.shownOrder(current.row()).id);
            });
    connect(m_parent, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            DBGrid_parentCellClick(index.row());
    });
    connect(m_parent, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            bt_openClick();
    });
    connect(m_open, &QPushButton::clicked, this, &Thistory::bt_openClick);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_history, &OrderHistory::changed, this, &Thistory::syncFromState);
    connect(&m_book, &OrderBook::changed, this, &Thistory::followBook);
    connect(m_controls, &OrderBookControls::copyRequested, this, &Thistory::copyOrder);

    // The one order table of the run: the summation window saves through
    // it, and a save shows this window with the new order listed.
    if (forms::TotalSum) {
        OrderModel& order = forms::TotalSum->order();
        order.setOrderTable([this]() -> db::Table& { return m_history.table(); });
        connect(&order, &OrderModel::saved, this, [this, &order] {
            // A showing reads the book again; the list then stands on the new
            // order with its kits.
            TMain::showWindow(this);
            if (!runGuarded([&] { m_history.listSaved(order.description()); }))
                return;
            const int row = m_history.currentOrder();
            const qint32 id = row >= 0 ? m_history.orders().at(row).Id : 0;
            reloadBook();
            if (id && m_book.find(id))
                m_book.setCurrentId(id);
            followBook();
        });
    }
    // The customers live beside the orders, in the one order table of the run.
    CustomerBook::shared().setTableSource([this]() -> db::Table& { return m_history.table(); });

    // A table that cannot be created or opened is reported here; start-up
    // goes on, and every later use of the table reports it again.
    runGuarded([this] { m_history.FormCreate(); });

    syncFromState();
}

Thistory::~Thistory()
{
    if (forms::TotalSum)
        forms::TotalSum->order().setOrderTable({});
    CustomerBook::shared().setTableSource({});
    // The grids read the history until they go.
    delete std::exchange(m_parent, nullptr);
    delete std::exchange(m_child, nullptr);
}

void Thistory::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // A colleague's orders and changes show at every showing.
    if (runGuarded([this] { m_history.FormShow(); })) {
        reloadBook();
        runGuarded([] { CustomerBook::shared().reload(); });
    }
}

void Thistory::reloadBook()
{
    if (!runGuarded([this] { m_book.reload(); }))
        return;
    // The book stands where the history stands (its first row after a
    // change of the list), unless the filter hides that order.
    const int row = m_history.currentOrder();
    if (row >= 0 && m_book.find(m_history.orders().at(row).Id)) {
        for (int i = 0; i < m_book.shown().size(); ++i)
            if (m_book.shownOrder(i).id == m_history.orders().at(row).Id) {
                m_book.setCurrentId(m_history.orders().at(row).Id);
                break;
            }
    }
    followBook();
}

void Thistory::followBook()
{
    const qint32 id = m_book.currentId();
    if (id && id != m_history.listedOrder() && m_history.setCurrentOrderId(id))
        runGuarded([this] { m_history.listKits(); });
    syncFromState();
}

void Thistory::DBGrid_parentCellClick(int row)
{
    if (row < 0 || row >= m_book.shown().size())
        return;
    const qint32 id = m_book.shownOrder(row).id;
    m_book.setCurrentId(id);
    if (m_history.setCurrentOrderId(id))
        runGuarded([this] { m_history.listKits(); });
}

void Thistory::copyOrder(qint32 id)
{
    if (!forms::TotalSum)
        return;
    const CalculatorWindow::HeldSync held;
    runGuarded([&] { m_book.copyOrder(id, forms::TotalSum->order()); });
}

void Thistory::bt_openClick()
{
    // Only an order the book shows is opened (a table that cannot be opened
    // says so again).
    if (!forms::TotalSum || (m_history.tableOpen() && !m_book.currentId()))
        return;
    OrderModel& order = forms::TotalSum->order();
    // Asked only where the opening would replace something unsaved.
    if (m_history.listedOrder() != 0 && !agreed(order.openOtherQuestion()))
        return;
    // Every kit passes through its calculator: its window shows the last one.
    const CalculatorWindow::HeldSync held;
    runGuarded([&] { m_history.bt_openClick(order); });
}

void Thistory::syncFromState()
{
    m_syncing = true;
    m_ordersModel->refresh();
    m_kitsModel->refresh();
    const QModelIndex index = m_ordersModel->index(m_ordersModel->currentRow(), 0);
    if (index.isValid() && m_parent->currentIndex().row() != index.row())
        m_parent->setCurrentIndex(index);
    m_lbName->setText(m_history.lb_name());
    m_lbName->setVisible(m_history.lbNameVisible() && m_book.currentId());
    m_open->setEnabled(!m_history.tableOpen() || m_book.currentId() != 0);
    m_controls->sync();
    m_syncing = false;
}

} // namespace lir::gui
