#include "gui/prices/form_price.h"

#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/db/storesettings.h"
#include "gui/app/widgets.h"
#include "gui/prices/importdialog.h"
#include "gui/prices/pricelogdialog.h"
#include "gui/prices/pricemodel.h"
#include "core/prices/priceedit.h"
#include "core/prices/pricetable.h"
#include "core/prices/pricetexts.h"
#include "core/prices/serveraccess.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QShowEvent>
#include <QStyle>

namespace lir::gui {

namespace t = pricetexts;

namespace {

// The grid of the price table: read-only, and typing in it does nothing
// (no search by the first letters, which would move the current row unasked).
class PriceGrid : public QTableView
{
public:
    using QTableView::QTableView;
    void keyboardSearch(const QString&) override {}
};

// The row indicator of the grid. Its width is fixed, so it never measures its
// sections: with thousands of rows that would be paid at every added row.
class IndicatorHeader : public QHeaderView
{
public:
    explicit IndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}
    static constexpr int Width = 14;
    QSize sizeHint() const override { return {Width, length()}; }
};

} // namespace

TPrice::TPrice(QWidget* parent)
    : QWidget(parent, fixedWindowFlags())
{
    setObjectName(QStringLiteral("Price"));
    setWindowTitle(t::caption());
    setFont(tahoma(11));
    setUpFixedWindow(this, {642, 483});

    initPictures();
    m_picture = new Picture(QStringLiteral(":/pictures/launcherprice.svg"), this);
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setGeometry(642 - 8 - 60, 8, 60, 60);

    m_model = new PriceModel(this);
    m_grid = new PriceGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setGeometry(8, 8, 430, 362);
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(false);
    m_grid->setCornerButtonEnabled(false);
    m_grid->setAlternatingRowColors(false);
    QHeaderView* titles = m_grid->horizontalHeader();
    titles->setHighlightSections(false);
    titles->setSectionsClickable(false);
    titles->setStretchLastSection(false);
    titles->setFixedHeight(20);
    const int widths[] = {115, 207, 54};
    int columnsWidth = 0;
    for (int c = 0; c < PriceModel::ColumnCount; ++c) {
        titles->resizeSection(c, widths[c]);
        columnsWidth += widths[c];
    }
    // The row indicator: a narrow fixed column that marks the current row.
    auto* indicator = new IndicatorHeader(m_grid);
    m_grid->setVerticalHeader(indicator);
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setDefaultSectionSize(18);
    indicator->setFixedWidth(IndicatorHeader::Width);
    indicator->setHighlightSections(false);
    indicator->setSectionsClickable(false);
    const QString sky = skyBlue().name();
    m_grid->setStyleSheet(QStringLiteral(
        "QHeaderView::section { background-color: %1; color: black; border: none;"
        " border-right: 1px solid #808080; border-bottom: 1px solid #808080; padding: 0px 2px; }"
        "QHeaderView::section:vertical { padding: 0px; font-size: 9px; }"
        "QTableCornerButton::section { background-color: %1; border: none;"
        " border-right: 1px solid #808080; border-bottom: 1px solid #808080; }"
        "QTableView { gridline-color: #c0c0c0; selection-background-color: #000080;"
        " selection-color: white; }").arg(sky));
    // As wide as its columns, so no empty band stands beside the prices.
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setFixedWidth(2 * m_grid->frameWidth() + indicator->width() + columnsWidth +
                          m_grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_grid));
    m_grid->installEventFilter(this);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_showing && current.isValid())
                    gridRowChosen(current.row());
            });
    connect(m_model, &PriceModel::currentRowChanged, this, &TPrice::showCurrentRow);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &TPrice::showPrice);

    m_priceGroup = new QGroupBox(t::priceGroup(), this);
    m_priceGroup->setObjectName(QStringLiteral("GroupBox1"));
    m_priceGroup->setGeometry(450, 90, 184, 58);
    m_priceGroup->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid #a0a0a0; margin-top: 7px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0px 3px; }"));
    m_dbEdit3 = new QLineEdit(m_priceGroup);
    m_dbEdit3->setObjectName(QStringLiteral("DBEdit3"));
    m_dbEdit3->setGeometry(12, 24, 160, 22);
    m_dbEdit3->setFont(font()); // not the style sheet's font of the group
    m_dbEdit3->installEventFilter(this);
    connect(m_dbEdit3, &QLineEdit::textEdited, this, &TPrice::priceTyped);

    // The search rows end where the grid ends.
    const int gridRight = m_grid->x() + m_grid->width();
    auto searchRow = [this, gridRight](int top, const QString& label, const QString& labelName,
                                       const QString& editName, const QString& panelName, QLineEdit*& edit,
                                       CommandPanel*& panel, QLabel*& notFound) {
        auto* l = new QLabel(label, this);
        l->setObjectName(labelName);
        l->setGeometry(8, top, 160, 24);
        edit = new QLineEdit(this);
        edit->setObjectName(editName);
        edit->setGeometry(170, top, gridRight - 78 - 170, 24);
        panel = new CommandPanel(t::find(), this);
        panel->setObjectName(panelName);
        panel->setGeometry(gridRight - 70, top, 70, 24);
        panel->setAutoDefault(false);
        // Where the eye is after a search: a silent miss would leave the
        // previous row to take the next price typed.
        notFound = new QLabel(t::notFound(), this);
        notFound->setObjectName(panelName + QStringLiteral("NotFound"));
        notFound->setGeometry(gridRight + 8, top, 110, 24);
        QPalette red = notFound->palette();
        red.setColor(QPalette::WindowText, Qt::red);
        notFound->setPalette(red);
        notFound->setFont(tahoma(11, true));
        notFound->hide();
    };
    searchRow(382, t::searchByDesignation(), QStringLiteral("Label1"), QStringLiteral("Edit2"),
              QStringLiteral("Panel1"), m_edit2, m_panel1, m_notFound1);
    searchRow(414, t::searchByName(), QStringLiteral("Label2"), QStringLiteral("Edit1"), QStringLiteral("Panel2"),
              m_edit1, m_panel2, m_notFound2);
    connect(m_panel1, &QPushButton::clicked, this, &TPrice::Panel1Click);
    connect(m_edit2, &QLineEdit::returnPressed, this, &TPrice::Panel1Click);
    connect(m_panel2, &QPushButton::clicked, this, &TPrice::Panel2Click);
    connect(m_edit1, &QLineEdit::returnPressed, this, &TPrice::Panel2Click);

    m_closeGridButton = new CommandPanel(t::close(), this);
    m_closeGridButton->setObjectName(QStringLiteral("CloseGridButton"));
    m_closeGridButton->setGeometry(524, 443, 110, 30);
    m_closeGridButton->setAutoDefault(false);
    connect(m_closeGridButton, &QPushButton::clicked, this, &TPrice::CloseGridButtonClick);

    setTabOrder(m_grid, m_dbEdit3);
    setTabOrder(m_dbEdit3, m_edit2);
    setTabOrder(m_edit2, m_panel1);
    setTabOrder(m_panel1, m_edit1);
    setTabOrder(m_edit1, m_panel2);
    setTabOrder(m_panel2, m_closeGridButton);

    openTable();
    // Price lists in and out: under the price edit.
    m_listCommands = new PriceListCommands(this, m_table, 450, 170, 184);

    m_logButton = new CommandPanel(t::logCaption(), this);
    m_logButton->setObjectName(QStringLiteral("PriceLogButton"));
    m_logButton->setGeometry(450, 306, 184, 28);
    m_logButton->setAutoDefault(false);
    m_logButton->setEnabled(m_table != nullptr);
    connect(m_logButton, &QPushButton::clicked, this, &TPrice::LogButtonClick);

    // The server decides who changes prices; the window only shows it.
    m_readOnlyNote = new QLabel(prices::pricesReadOnlyReason(), this);
    m_readOnlyNote->setObjectName(QStringLiteral("ReadOnlyNote"));
    m_readOnlyNote->setGeometry(450, 340, 184, 40);
    m_readOnlyNote->setWordWrap(true);
    m_readOnlyNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette red = m_readOnlyNote->palette();
    red.setColor(QPalette::WindowText, Qt::darkRed);
    m_readOnlyNote->setPalette(red);
    if (m_table)
        runGuarded([this] { m_readOnly = !prices::mayChangePrices(*m_table); });
    m_readOnlyNote->setVisible(m_readOnly);
    if (m_readOnly) {
        m_listCommands->setReadOnly(prices::pricesReadOnlyReason());
        m_dbEdit3->setToolTip(prices::pricesReadOnlyReason());
    }
    showCurrentRow();
}

TPrice::~TPrice() = default;

db::Table* TPrice::openPrices()
{
    const QString file = prices::tableFile();
    try {
        return &prices::open();
    } catch (const Error& e) {
        // The program goes on without prices; the message says where the table was looked for.
        // A table that is there but cannot be opened is named with its place;
        // a missing one says where it was looked for by itself.
        const bool present = db::usesServer() ? false : QFileInfo::exists(QDir(db::netFileDir()).filePath(file));
        dialogs().errorBox(present ? t::cannotOpenTable(file, db::tablesPlace(), e.message()) : e.message());
        return nullptr;
    }
}

void TPrice::openTable()
{
    m_table = openPrices();
    m_model->setTable(m_table);
    showCurrentRow();
}

void TPrice::showCurrentRow()
{
    const int row = m_model->currentRow();
    m_showing = true;
    if (row >= 0) {
        const int column = std::max(0, m_grid->currentIndex().column());
        const QModelIndex index = m_model->index(row, column);
        m_grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
        m_grid->scrollTo(index);
    } else {
        m_grid->selectionModel()->clear();
    }
    m_showing = false;
    m_dbEdit3->setReadOnly(row < 0 || m_readOnly);
    // The group names the row whose price it edits.
    QString title = t::priceGroup();
    if (m_table && row >= 0) {
        const QString designation = m_table->text(prices::fieldDesignation());
        const QFontMetrics fm(m_priceGroup->font());
        const int room = m_priceGroup->width() - 20 - fm.horizontalAdvance(t::priceGroupOf(QString()));
        title = t::priceGroupOf(fm.elidedText(designation, Qt::ElideRight, room));
        m_priceGroup->setToolTip(t::priceGroupOf(designation));
    } else {
        m_priceGroup->setToolTip(QString());
    }
    if (m_priceGroup->title() != title)
        m_priceGroup->setTitle(title);
    showPrice();
}

void TPrice::showPrice()
{
    // While the row is edited the edit keeps what has been typed.
    if (m_table && m_table->state() != db::Table::State::Browse)
        return;
    const QString text =
        m_table && m_model->currentRow() >= 0 ? priceText(m_table->value(prices::fieldPrice())) : QString();
    if (m_dbEdit3->text() != text)
        m_dbEdit3->setText(text);
}

void TPrice::gridRowChosen(int row)
{
    if (!m_table)
        return;
    clearNotFound();
    const qint64 rowid = m_model->rowidAt(row);
    // Moving writes a pending price first; a price the field refuses keeps
    // the table, and so the grid, on the edited row.
    const bool moved = runGuarded([&] {
        prices::postPrice(*m_table);
        m_table->moveTo(rowid);
    });
    if (!moved || m_model->currentRow() != row) {
        showCurrentRow();
        // The view finishes the click after this; put its selection back then.
        QMetaObject::invokeMethod(this, &TPrice::showCurrentRow, Qt::QueuedConnection);
    }
}

void TPrice::priceTyped(const QString& text)
{
    if (!m_table || m_model->currentRow() < 0 || m_readOnly)
        return;
    runGuarded([&] {
        m_table->edit();
        m_table->setValue(prices::fieldPrice(), text);
    });
    m_model->pendingChanged();
}

void TPrice::DBEdit3Enter()
{
    if (!m_table || m_model->currentRow() < 0) {
        m_grid->setFocus();
        return;
    }
    // A price the field refuses stays in the edit, to be mended.
    const bool written = runGuarded([&] {
        m_table->edit();
        prices::postPrice(*m_table);
    });
    m_model->pendingChanged();
    if (!written) {
        // An edit refused because another user changed the row meanwhile
        // leaves the row as it is now: the edit shows that.
        if (m_table->state() == db::Table::State::Browse)
            showPrice();
        return;
    }
    showPrice();
    m_grid->setFocus();
}

void TPrice::DBEdit3Escape()
{
    // The row gets its stored price back.
    if (!m_table || m_table->state() == db::Table::State::Browse)
        return;
    runGuarded([this] { prices::cancelPrice(*m_table); });
    m_model->pendingChanged();
    showPrice();
    m_dbEdit3->selectAll();
}

void TPrice::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // Prices kept on a server may have been changed by another user since
    // the grid read them.
    if (m_table && m_table->onServer() && m_table->state() == db::Table::State::Browse)
        runGuarded([this] { m_model->refresh(); });
}

void TPrice::clearNotFound()
{
    m_notFound1->hide();
    m_notFound2->hide();
}

void TPrice::search(const QString& field, const QString& text, QLabel* notFound)
{
    clearNotFound();
    if (m_table) {
        bool found = true;
        const bool done = runGuarded([&] {
            prices::postPrice(*m_table);
            found = m_table->locate(field, text, db::Table::CaseInsensitive | db::Table::PartialKey);
        });
        notFound->setVisible(done && !found);
    }
    m_grid->setFocus();
}

void TPrice::Panel1Click()
{
    search(prices::fieldDesignation(), m_edit2->text(), m_notFound1);
}

void TPrice::Panel2Click()
{
    search(prices::fieldName(), m_edit1->text(), m_notFound2);
}

void TPrice::LogButtonClick()
{
    if (!m_table)
        return;
    // A selected row: its history; none: the whole log.
    const QString designation =
        m_model->currentRow() >= 0 ? m_table->text(prices::fieldDesignation()) : QString();
    PriceLogDialog dialog(*m_table, designation, this);
    dialog.exec();
}

void TPrice::CloseGridButtonClick()
{
    close();
}

void TPrice::closeEvent(QCloseEvent* e)
{
    // A price left pending would stop every later sheet at its lookup: it is
    // written now, or given up with a word about it.
    if (m_table) {
        QString lost;
        runGuarded([&] { lost = prices::finishPrice(*m_table); });
        m_model->pendingChanged();
        showPrice();
        if (!lost.isEmpty())
            dialogs().messageBox(lost);
    }
    clearNotFound();
    e->accept();
}

bool TPrice::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(e);
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        if (o == m_grid && enter) {
            m_dbEdit3->setFocus(Qt::OtherFocusReason);
            m_dbEdit3->selectAll();
            return true;
        }
        // Rows are neither added nor deleted here.
        if (o == m_grid && (k->key() == Qt::Key_Delete || k->key() == Qt::Key_Insert))
            return true;
        if (o == m_dbEdit3 && enter) {
            DBEdit3Enter();
            return true;
        }
        if (o == m_dbEdit3 && k->key() == Qt::Key_Escape) {
            DBEdit3Escape();
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

} // namespace lir::gui
