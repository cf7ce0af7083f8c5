#include "gui/orders/form_history.h"

#include "core/base/dialogs.h"
#include "core/orders/ordertexts.h"
#include "gui/app/form_main.h"
#include "gui/app/forms.h"
#include "gui/app/widgets.h"
#include "gui/orders/form_sum.h"

#include <QHeaderView>

namespace lir::gui {

namespace t = ordertexts;

// ---------------------------------------------------------------- SavedOrdersModel

SavedOrdersModel::SavedOrdersModel(OrderHistory& history, QObject* parent)
    : QAbstractTableModel(parent), m_history(history)
{
}

int SavedOrdersModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int SavedOrdersModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant SavedOrdersModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size() || role != Qt::DisplayRole)
        return {};
    return m_shown.at(index.row()).Name;
}

QVariant SavedOrdersModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (o == Qt::Horizontal)
        return t::colOrderName();
    // The row indicator.
    return section == m_history.currentOrder() ? QStringLiteral("\u25B6") : QString();
}

void SavedOrdersModel::refresh()
{
    const QVector<SavedOrder>& now = m_history.orders();
    if (now != m_shown) {
        beginResetModel();
        m_shown = now;
        endResetModel();
    } else if (!m_shown.isEmpty()) {
        emit headerDataChanged(Qt::Vertical, 0, int(m_shown.size()) - 1);
    }
}

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
    setUpFixedWindow(this, {702, 427});

    auto* picture = new Picture(QStringLiteral(":/pictures/launcherhistory.svg"), this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(634, 4, 60, 60);

    // The orders, left: the title row and the row indicator.
    m_ordersModel = new SavedOrdersModel(m_history, this);
    m_parent = makeGrid(QStringLiteral("DBGrid_parent"), m_ordersModel, this);
    m_parent->verticalHeader()->setFixedWidth(14);
    m_parent->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_parent->setColumnWidth(0, 230);
    m_parent->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_parent->setGeometry(8, 70, 264, 302);

    // The kits of the listed order, right, under its description.
    m_lbName = new QLabel(this);
    m_lbName->setObjectName(QStringLiteral("lb_name"));
    m_lbName->setFont(tahoma(12, true));
    QPalette blue = m_lbName->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    m_lbName->setPalette(blue);
    m_lbName->setAlignment(Qt::AlignCenter);
    m_lbName->setGeometry(326, 46, 320, 20);
    m_lbName->hide();

    m_kitsModel = new SavedKitsModel(m_history, this);
    m_child = makeGrid(QStringLiteral("DBGrid_child"), m_kitsModel, this);
    m_child->verticalHeader()->hide();
    m_child->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_child->setColumnWidth(0, 205);
    m_child->setColumnWidth(1, 80);
    m_child->horizontalHeader()->setStretchLastSection(true);
    m_child->setGeometry(284, 70, 410, 302);

    m_open = new CommandPanel(t::btOpen(), this);
    m_open->setObjectName(QStringLiteral("bt_open"));
    m_open->setGeometry(8, 384, 136, 32);
    m_close = new CommandPanel(t::btClose(), this);
    m_close->setObjectName(QStringLiteral("bt_close"));
    m_close->setGeometry(594, 384, 100, 32);

    // ---------------------------------------------------------------- a person's actions
    connect(m_parent->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_syncing && current.isValid())
                    m_history.setCurrentOrder(current.row());
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

    // The one order table of the run: the summation window saves through
    // it, and a save shows this window with the new order listed.
    if (forms::TotalSum) {
        OrderModel& order = forms::TotalSum->order();
        order.setOrderTable([this]() -> db::Table& { return m_history.table(); });
        connect(&order, &OrderModel::saved, this, [this, &order] {
            runGuarded([&] { m_history.listSaved(order.description()); });
            TMain::showWindow(this);
        });
    }
    // A table that cannot be created or opened is reported here; start-up
    // goes on, and every later use of the table reports it again.
    runGuarded([this] { m_history.FormCreate(); });

    syncFromState();
}

Thistory::~Thistory()
{
    if (forms::TotalSum)
        forms::TotalSum->order().setOrderTable({});
    // The grids read the history until they go.
    delete std::exchange(m_parent, nullptr);
    delete std::exchange(m_child, nullptr);
}

void Thistory::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    runGuarded([this] { m_history.FormShow(); });
}

void Thistory::DBGrid_parentCellClick(int row)
{
    m_history.setCurrentOrder(row);
    runGuarded([this] { m_history.listKits(); });
}

void Thistory::bt_openClick()
{
    if (!forms::TotalSum)
        return;
    OrderModel& order = forms::TotalSum->order();
    // Asked only where the opening would replace something unsaved.
    if (m_history.listedOrder() != 0 && !agreed(order.openOtherQuestion()))
        return;
    runGuarded([&] { m_history.bt_openClick(order); });
}

void Thistory::syncFromState()
{
    m_syncing = true;
    m_ordersModel->refresh();
    m_kitsModel->refresh();
    const int current = m_history.currentOrder();
    const QModelIndex index = m_ordersModel->index(current, 0);
    if (index.isValid() && m_parent->currentIndex() != index)
        m_parent->setCurrentIndex(index);
    m_lbName->setText(m_history.lb_name());
    m_lbName->setVisible(m_history.lbNameVisible());
    m_syncing = false;
}

} // namespace lir::gui
