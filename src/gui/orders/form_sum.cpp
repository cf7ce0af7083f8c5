#include "gui/orders/form_sum.h"

#include "core/base/dialogs.h"
#include "core/calc/calctexts.h"
#include "core/export/orderexport.h"
#include "core/orders/ordertable.h"
#include "core/export/ordertotal.h"
#include "core/orders/customerbook.h"
#include "core/orders/ordertexts.h"
#include "gui/app/form_main.h"
#include "gui/app/forms.h"
#include "gui/app/quoteprint.h"
#include "gui/app/widgets.h"
#include "gui/orders/form_batch.h"
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/mainmodule6741otkid.h"
#include "gui/calc/mainmodule6742.h"
#include "gui/orders/customerchoice.h"
#include "core/prices/pricetable.h"

#include <QDir>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QSvgRenderer>
#include <QToolTip>

#include <utility>

namespace lir::gui {

namespace t = ordertexts;
using View = OrderModel::View;

// ---------------------------------------------------------------- OrderGridModel

OrderGridModel::OrderGridModel(OrderModel& order, OrderModel::View view, QObject* parent)
    : QAbstractTableModel(parent), m_order(order), m_view(view)
{
}

int OrderGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_order.grid(m_view).rowCount() - 1;
}

int OrderGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_order.grid(m_view).columnCount();
}

QVariant OrderGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_order.grid(m_view).cell(index.row() + 1, index.column());
}

QVariant OrderGridModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return m_order.grid(m_view).cell(0, section);
}

Qt::ItemFlags OrderGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_order.editableView() == m_view)
        f |= Qt::ItemIsEditable;
    return f;
}

bool OrderGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    return m_order.typeIntoGrid(m_view, index.row() + 1, index.column(), value.toString());
}

void OrderGridModel::refresh()
{
    // Typing changes a cell; a rebuild usually changes the number of rows.
    if (rowCount() != m_shownRows) {
        beginResetModel();
        m_shownRows = rowCount();
        endResetModel();
    } else if (m_shownRows > 0) {
        emit dataChanged(index(0, 0), index(m_shownRows - 1, columnCount() - 1));
    }
}

// ---------------------------------------------------------------- TTotalSum

namespace {

// A cell too narrow for its text shows it elided, and whole in its tooltip.
class ElidedTipDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool helpEvent(QHelpEvent* e, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (e->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(e, view, option, index);
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty() && sizeHint(option, index).width() > option.rect.width())
            QToolTip::showText(e->globalPos(), text, view, option.rect);
        else
            QToolTip::hideText();
        return true;
    }
};

QTableView* makeGrid(const QString& objectName, const OrderGrid& g, QAbstractItemModel* model, QWidget* parent)
{
    auto* v = new QTableView(parent);
    v->setObjectName(objectName);
    v->setModel(model);
    v->verticalHeader()->hide();
    v->verticalHeader()->setDefaultSectionSize(20);
    v->verticalHeader()->setMinimumSectionSize(20);
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->horizontalHeader()->setFixedHeight(20);
    v->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    v->horizontalHeader()->setHighlightSections(false);
    v->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: #A6CAF0; border: 0px;"
                                    " border-right: 1px solid #7f9fc0; border-bottom: 1px solid #7f9fc0;"
                                    " padding-left: 1px; }"));
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setSelectionBehavior(QAbstractItemView::SelectItems);
    v->setWordWrap(false);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setTabKeyNavigation(false); // Tab goes on to the next control
    v->setTextElideMode(Qt::ElideRight);
    v->setItemDelegate(new ElidedTipDelegate(v));
    for (int c = 0; c < g.columnCount(); ++c)
        v->setColumnWidth(c, g.widths().at(c));
    return v;
}

QToolButton* pictureButton(const QString& objectName, const QString& picture, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(objectName);
    b->setAutoRaise(true);
    QPixmap pm(48, 48);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        QSvgRenderer(picture).render(&p);
    }
    pm.setDevicePixelRatio(2.0);
    b->setIcon(QIcon(pm));
    b->setIconSize(QSize(24, 24));
    return b;
}

} // namespace

TTotalSum::TTotalSum(QWidget* parent)
    : QWidget(parent, fixedWindowFlags())
{
    setObjectName(QStringLiteral("TotalSum"));
    setWindowTitle(t::caption());
    setFont(tahoma(11));
    setUpFixedWindow(this, {756, 390});

    if (forms::MainForm6741 && forms::MainForm6742 && forms::MainForm6741otkid)
        m_order.setCalculators(&forms::MainForm6741->kit(), &forms::MainForm6742->kit(),
                               &forms::MainForm6741otkid->kit());

    // View buttons, top left; the markup to their right.
    m_views = new QButtonGroup(this);
    const QStringList captions = {t::radioComponents(), t::radioKits(), t::radioKitsAndComponents()};
    for (int i = 0; i < 3; ++i) {
        auto* rb = new QRadioButton(captions.at(i), this);
        rb->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        rb->setGeometry(12, 6 + 20 * i, 210, 20);
        m_views->addButton(rb, i + 1);
        m_radio[size_t(i)] = rb;
    }
    auto* markupLabel = new QLabel(t::lblMarkup(), this);
    markupLabel->setObjectName(QStringLiteral("Label1"));
    markupLabel->setGeometry(240, 26, 170, 20);
    m_edit1 = new QLineEdit(this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setGeometry(412, 25, 44, 22);

    auto* picture = new Picture(QStringLiteral(":/pictures/launchersum.svg"), this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(688, 4, 60, 60);

    // The two picture buttons above the grids.
    m_spbtEdit = pictureButton(QStringLiteral("spbt_edit"), QStringLiteral(":/pictures/orderedit.svg"), this);
    m_spbtEdit->setGeometry(8, 68, 28, 28);
    m_spbtDelete = pictureButton(QStringLiteral("spbt_delete"), QStringLiteral(":/pictures/orderdelete.svg"), this);
    m_spbtDelete->setGeometry(38, 68, 28, 28);

    // The schedule of sashes typed or pasted at once.
    auto* batchButton = new CommandPanel(QStringLiteral("Пакетный ввод"), this);
    batchButton->setObjectName(QStringLiteral("bt_batch"));
    batchButton->setGeometry(564, 68, 122, 28);
    connect(batchButton, &QPushButton::clicked, this, [] {
        if (forms::Batch)
            TMain::showWindow(forms::Batch);
    });

    // The three grids on the same place, one visible at a time.
    for (int i = 0; i < 3; ++i) {
        const View v = View(i + 1);
        m_models[size_t(i)] = new OrderGridModel(m_order, v, this);
        m_grids[size_t(i)] = makeGrid(QStringLiteral("StringGrid%1").arg(i + 1), m_order.grid(v), m_models[size_t(i)], this);
        m_grids[size_t(i)]->setGeometry(8, 98, 740, 218);
    }

    // Description and commands below the grids.
    auto* nameLabel = new QLabel(t::lblDescription(), this);
    nameLabel->setObjectName(QStringLiteral("led_name_label"));
    nameLabel->setGeometry(8, 322, 350, 18);
    m_ledName = new QLineEdit(this);
    m_ledName->setObjectName(QStringLiteral("led_name"));
    m_ledName->setGeometry(8, 341, 350, 24);
    // No more than the order table keeps: nothing is cut when it is saved.
    m_ledName->setMaxLength(orders::NameSize);
    nameLabel->setBuddy(m_ledName);

    m_save = new CommandPanel(t::btSave(), this);
    m_save->setObjectName(QStringLiteral("bt_save"));
    m_save->setGeometry(368, 336, 136, 32);
    m_clear = new CommandPanel(t::btClear(), this);
    m_clear->setObjectName(QStringLiteral("bt_clear"));
    m_clear->setGeometry(512, 336, 128, 32);
    // The row below the grids has no room for a fourth caption beside the
    // 350-pixel description: "EXCEL" sits by the markup it exports with.
    m_export = new CommandPanel(calctexts::btExcel, this);
    m_export->setObjectName(QStringLiteral("ExportButton"));
    m_export->setGeometry(470, 20, 80, 32);
    // "ПЕЧАТЬ" beside it: the quote of the same view with the same markup.
    m_print = new CommandPanel(QStringLiteral("ПЕЧАТЬ"), this);
    m_print->setObjectName(QStringLiteral("PrintButton"));
    m_print->setGeometry(556, 20, 96, 32);
    m_print->setMenu(quoteMenu(this, [this] { return quote(); }));
    m_close = new CommandPanel(t::btClose(), this);
    m_close->setObjectName(QStringLiteral("bt_close"));
    m_close->setGeometry(648, 336, 100, 32);

    // The order's customer beside the picture buttons; which markup applies
    // under the markup.
    m_customer = new CustomerChoice(m_order, CustomerBook::shared(), this);
    m_customer->setGeometry(76, 68, 484, 28);
    m_markupSource = new QLabel(this);
    m_markupSource->setObjectName(QStringLiteral("lb_markupsource"));
    m_markupSource->setFont(tahoma(10));
    m_markupSource->setGeometry(240, 48, 226, 16);
    m_markupSource->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // A saved order keeps the total of its summary.
    m_order.setTotalSource([this]() -> std::optional<double> {
        std::optional<double> total;
        if (prices::openTable())
            runGuarded([&] { total = orderSummaryTotal(m_order, LookupPrice); });
        return total;
    });

    // ---------------------------------------------------------------- a person's actions
    connect(m_views, &QButtonGroup::idClicked, this, [this](int id) {
        m_order.RadioButtonClick(View(id));
        syncFromState(); // a refused click leaves the checked button where it was
    });
    connect(m_edit1, &QLineEdit::textEdited, this, [this](const QString& s) { m_order.setMarkup(s); });
    connect(m_ledName, &QLineEdit::textEdited, this, [this](const QString& s) { m_order.setDescription(s); });
    connect(m_spbtEdit, &QToolButton::clicked, this, [this] {
        if (m_order.spbt_editClick())
            grid(m_order.view())->setFocus();
    });
    connect(m_spbtDelete, &QToolButton::clicked, this, &TTotalSum::spbt_deleteClick);
    for (int i = 0; i < 3; ++i) {
        const View v = View(i + 1);
        connect(m_grids[size_t(i)]->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this, v](const QModelIndex& current) {
                    if (!m_syncing && current.isValid())
                        m_order.setCurrentCell(v, current.row() + 1, current.column());
                });
    }
    connect(m_grids[1], &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!index.isValid())
            return;
        m_order.setCurrentCell(OrderModel::Kits, index.row() + 1, index.column());
        m_order.StringGrid2DblClick();
    });
    connect(m_save, &QPushButton::clicked, this, [this] { runGuarded([this] { m_order.bt_saveClick(); }); });
    connect(m_clear, &QPushButton::clicked, this, &TTotalSum::bt_clearClick);
    connect(m_export, &QPushButton::clicked, this, &TTotalSum::ExportButtonClick);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    // Back to the calculator of the last kit, for the next kit of a run.
    // Esc comes as a key the controls leave alone (a cell editor takes it);
    // a grid would take it for a search by the first letters.
    for (QTableView* g : m_grids)
        g->installEventFilter(this);
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this), &QShortcut::activated, this,
            &TTotalSum::backToCalculator);
    m_close->setToolTip(t::backHint());

    connect(&m_order, &OrderModel::changed, this, &TTotalSum::syncFromState);
    connect(&m_order, &OrderModel::showRequested, this, [this] { TMain::showWindow(this); });
    connect(&m_order, &OrderModel::calculatorShowRequested, this, &TTotalSum::showCalculator);

    syncFromState();
}

TTotalSum::~TTotalSum()
{
    // The grids read the order until they go, so they go before it.
    for (QTableView*& g : m_grids)
        delete std::exchange(g, nullptr);
    for (OrderGridModel*& m : m_models)
        delete std::exchange(m, nullptr);
}

CalculatorWindow* TTotalSum::windowOf(const KitCalculator* calc)
{
    if (forms::MainForm6741 && calc == &forms::MainForm6741->kit())
        return forms::MainForm6741;
    if (forms::MainForm6742 && calc == &forms::MainForm6742->kit())
        return forms::MainForm6742;
    if (forms::MainForm6741otkid && calc == &forms::MainForm6741otkid->kit())
        return forms::MainForm6741otkid;
    return nullptr;
}

void TTotalSum::showCalculator(KitCalculator* calc)
{
    if (CalculatorWindow* w = windowOf(calc))
        w->showOpenedEntry();
}

bool TTotalSum::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape
        && static_cast<QKeyEvent*>(e)->modifiers() == Qt::NoModifier) {
        for (QTableView* g : m_grids) {
            if (o == g) {
                backToCalculator();
                return true;
            }
        }
    }
    return QWidget::eventFilter(o, e);
}

void TTotalSum::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        backToCalculator();
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void TTotalSum::backToCalculator()
{
    if (KitCalculator* calc = m_order.lastCalculator())
        if (CalculatorWindow* w = windowOf(calc))
            TMain::showWindow(w);
}

void TTotalSum::fitColumns(View v)
{
    // Every column as wide as its title and its widest cell (no less than
    // designed); the name column (the designation in the kits view) takes
    // the rest of the grid's width, and elides a name that does not fit.
    QTableView* g = grid(v);
    const OrderGrid& cells = m_order.grid(v);
    const int stretch = v == OrderModel::Kits ? 0 : 1;
    QHeaderView* header = g->horizontalHeader();
    int room = g->width() - 2 * g->frameWidth();
    if ((cells.rowCount() - 1) * g->verticalHeader()->defaultSectionSize() > g->height() - 2 * g->frameWidth() - header->height())
        room -= g->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, g);
    int others = 0;
    for (int c = 0; c < cells.columnCount(); ++c) {
        if (c == stretch)
            continue;
        const int w = std::max({cells.widths().at(c), header->sectionSizeHint(c),
                                 static_cast<const QAbstractItemView*>(g)->sizeHintForColumn(c)});
        if (g->columnWidth(c) != w)
            g->setColumnWidth(c, w);
        others += w;
    }
    const int w = std::max(cells.widths().at(stretch), room - others);
    if (g->columnWidth(stretch) != w)
        g->setColumnWidth(stretch, w);
}

void TTotalSum::spbt_deleteClick()
{
    if (!agreed(m_order.deleteQuestion()))
        return;
    // The order is replayed: each calculator window shows its last kit.
    const CalculatorWindow::HeldSync held;
    m_order.spbt_deleteClick();
}

void TTotalSum::bt_clearClick()
{
    if (!agreed(m_order.clearQuestion()))
        return;
    m_order.bt_clearClick();
}

void TTotalSum::ExportButtonClick()
{
    // Edit1 may hold a text not yet handed over by textEdited (set from code).
    if (m_edit1->text() != m_order.markup())
        m_order.setMarkup(m_edit1->text());
    runGuarded([this] { lir::ExportButtonClick(m_order, prices::documentLookup()); });
}

Quote TTotalSum::quote()
{
    if (m_edit1->text() != m_order.markup())
        m_order.setMarkup(m_edit1->text());
    const View v = m_order.view();
    return orderQuote(m_order.grid(v), v, m_order.markup(), quoteCustomer(m_order), m_order.savedNumber(),
                      prices::documentLookup(),
                      readCompanyDetails(QDir::currentPath()), QDate::currentDate(), kitRowDrawings(m_order, v));
}

void TTotalSum::syncFromState()
{
    m_syncing = true;
    const View shown = m_order.view();
    for (int i = 0; i < 3; ++i) {
        const View v = View(i + 1);
        QRadioButton* rb = m_radio[size_t(i)];
        if (rb->isChecked() != (v == shown)) {
            const QSignalBlocker block(rb);
            rb->setChecked(v == shown);
        }
        rb->setEnabled(m_order.viewButtonsEnabled());
        rb->setToolTip(m_order.viewButtonsHint());

        if (m_order.gridsRevision() != m_shownRevision) {
            m_models[size_t(i)]->refresh();
            m_columnsStale[size_t(i)] = true;
        }
        QTableView* g = m_grids[size_t(i)];
        g->setVisible(v == shown);
        // Fitted at the first showing too, when every grid is still empty.
        if (m_columnsStale[size_t(i)] && (v == shown || m_shownRevision < 0)) {
            m_columnsStale[size_t(i)] = false;
            fitColumns(v);
        }
        g->setEditTriggers(m_order.editableView() == v ? QAbstractItemView::AnyKeyPressed
                                                              | QAbstractItemView::EditKeyPressed
                                                              | QAbstractItemView::SelectedClicked
                                                        : QAbstractItemView::NoEditTriggers);
        const QModelIndex current = m_models[size_t(i)]->index(m_order.currentRow(v) - 1, m_order.currentColumn(v));
        if (current.isValid() && g->currentIndex() != current)
            g->setCurrentIndex(current);
    }
    m_shownRevision = m_order.gridsRevision();
    if (m_edit1->text() != m_order.markup())
        m_edit1->setText(m_order.markup());
    if (m_ledName->text() != m_order.description())
        m_ledName->setText(m_order.description());
    m_markupSource->setText(markupSourceText(m_order));
    m_customer->orderChanged();
    m_syncing = false;
}

} // namespace lir::gui
