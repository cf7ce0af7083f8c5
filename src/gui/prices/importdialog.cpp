#include "gui/prices/importdialog.h"

#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/prices/importtexts.h"
#include "gui/app/widgets.h"
#include "gui/prices/pricepreview.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lir::gui {

namespace t = importtexts::ui;

namespace {

QHBoxLayout* buttonRow(QDialog* dialog, QPushButton*& apply)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    apply = new QPushButton(t::apply(), dialog);
    apply->setObjectName(QStringLiteral("ApplyButton"));
    auto* cancel = new QPushButton(t::cancel(), dialog);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    // Enter never writes prices: only a click on "Применить" does.
    apply->setAutoDefault(false);
    cancel->setAutoDefault(false);
    row->addWidget(apply);
    row->addWidget(cancel);
    return row;
}

} // namespace

// ---------------------------------------------------------------- import

PriceImportDialog::PriceImportDialog(db::Table& table, const QString& path, QWidget* parent)
    : QDialog(parent), m_table(table), m_path(path)
{
    setObjectName(QStringLiteral("PriceImport"));
    setWindowTitle(t::importCaption(QFileInfo(path).fileName()));
    resize(860, 600);
    m_data = io::readSheetFile(path);

    auto* layout = new QVBoxLayout(this);
    auto* choices = new QGridLayout;
    layout->addLayout(choices);
    m_sheet = new QComboBox(this);
    m_sheet->setObjectName(QStringLiteral("SheetChoice"));
    m_sheet->addItems(m_data.sheetNames);
    auto* sheetLabel = new QLabel(t::sheet(), this);
    choices->addWidget(sheetLabel, 0, 0);
    choices->addWidget(m_sheet, 0, 1, 1, 3);
    // A CSV file or a workbook of one sheet has nothing to choose.
    sheetLabel->setVisible(m_data.sheetNames.size() > 1);
    m_sheet->setVisible(m_data.sheetNames.size() > 1);
    choices->addWidget(new QLabel(t::columnsLabel(), this), 1, 0);
    const QString names[] = {t::colDesignation(), t::colName(), t::colPrice()};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QVBoxLayout;
        box->addWidget(new QLabel(names[i], this));
        m_columns[i] = new QComboBox(this);
        m_columns[i]->setObjectName(QStringLiteral("ColumnChoice%1").arg(i));
        m_columns[i]->setMinimumWidth(200);
        box->addWidget(m_columns[i]);
        choices->addLayout(box, 1, 1 + i);
        connect(m_columns[i], &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling)
                refresh();
        });
    }
    m_addNew = new QCheckBox(t::addNew(), this);
    m_addNew->setObjectName(QStringLiteral("AddNew"));
    choices->addWidget(m_addNew, 2, 1, 1, 3);
    connect(m_addNew, &QCheckBox::toggled, this, &PriceImportDialog::refresh);
    m_view = new PricePreviewView(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttonRow(this, m_apply));
    connect(m_apply, &QPushButton::clicked, this, &PriceImportDialog::applyClick);
    connect(m_sheet, &QComboBox::activated, this, [this](int sheet) {
        runGuarded([&] { readSheet(sheet); });
    });
    fillColumns();
    refresh();
}

void PriceImportDialog::readSheet(int sheet)
{
    io::ReadOptions options;
    options.sheet = sheet;
    m_data = io::readSheetFile(m_path, options);
    fillColumns();
    refresh();
}

void PriceImportDialog::fillColumns()
{
    prices::ListColumns found;
    m_header = prices::findHeaderRow(m_data, &found);
    int width = 0;
    for (const io::SheetRow& r : std::as_const(m_data.rows))
        width = std::max(width, int(r.cells.size()));
    const QStringList header = m_header >= 0 ? m_data.rows[m_header].cells : QStringList();
    m_filling = true;
    const int chosen[] = {found.designation, found.name, found.price};
    for (int i = 0; i < 3; ++i) {
        QComboBox* box = m_columns[i];
        box->clear();
        box->addItem(t::noColumn(), -1);
        for (int c = 0; c < width; ++c) {
            const QString title = header.value(c).simplified();
            box->addItem(title.isEmpty() ? io::columnName(c) : io::columnName(c) + QStringLiteral(": ") + title, c);
        }
        box->setCurrentIndex(std::max(0, box->findData(chosen[i])));
    }
    m_filling = false;
}

void PriceImportDialog::refresh()
{
    const prices::ListColumns c{m_columns[0]->currentData().toInt(), m_columns[1]->currentData().toInt(),
                                m_columns[2]->currentData().toInt()};
    m_apply->setEnabled(false);
    if (c.designation < 0 || c.price < 0) {
        m_view->clear(t::chooseColumns());
        return;
    }
    // Columns chosen by hand on a list without a recognised header: its
    // first row is a header when its price is no number.
    int header = m_header;
    if (header < 0 && !m_data.rows.isEmpty()) {
        QString reason;
        if (!prices::parseListPrice(m_data.rows[0].cells.value(c.price), &reason))
            header = 0;
    }
    const bool ok = runGuarded([&] {
        m_preview = prices::previewList(m_table, m_data, header, c, QFileInfo(m_path).fileName(), m_addNew->isChecked());
    });
    if (!ok) {
        m_view->clear(QString());
        return;
    }
    m_view->show(m_preview);
    m_apply->setEnabled(!m_preview.writesNothing());
}

void PriceImportDialog::applyClick()
{
    prices::Applied done;
    if (!runGuarded([&] { done = prices::applyPreview(m_table, m_preview); })) {
        // The table may have changed meanwhile: show what a new apply would do.
        refresh();
        return;
    }
    dialogs().messageBox(t::applied(done.changed, done.added));
    accept();
}

// ---------------------------------------------------------------- bulk change

BulkPriceDialog::BulkPriceDialog(db::Table& table, QWidget* parent) : QDialog(parent), m_table(table)
{
    setObjectName(QStringLiteral("BulkPrices"));
    setWindowTitle(t::bulkCaption());
    resize(860, 600);
    auto* layout = new QVBoxLayout(this);
    m_all = new QRadioButton(t::bulkAll(), this);
    m_all->setObjectName(QStringLiteral("AllRows"));
    m_matching = new QRadioButton(t::bulkMatching(), this);
    m_matching->setObjectName(QStringLiteral("MatchingRows"));
    m_all->setChecked(true);
    m_match = new QLineEdit(this);
    m_match->setObjectName(QStringLiteral("MatchEdit"));
    m_match->setEnabled(false);
    layout->addWidget(m_all);
    auto* matchRow = new QHBoxLayout;
    matchRow->addWidget(m_matching);
    matchRow->addWidget(m_match, 1);
    layout->addLayout(matchRow);
    auto* byRow = new QHBoxLayout;
    byRow->addWidget(new QLabel(t::bulkBy(), this));
    m_value = new QDoubleSpinBox(this);
    m_value->setObjectName(QStringLiteral("ValueEdit"));
    m_value->setRange(-1e9, 1e9);
    m_value->setDecimals(2);
    m_value->setValue(0);
    byRow->addWidget(m_value);
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("UnitChoice"));
    m_unit->addItems({t::percentUnit(), t::amountUnit()});
    byRow->addWidget(m_unit);
    byRow->addStretch(1);
    layout->addLayout(byRow);
    auto* hint = new QLabel(t::bulkHint(), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    m_view = new PricePreviewView(this);
    // A bulk change names no list: only the changes and the refused rows.
    m_view->tabs()->setTabVisible(1, false);
    m_view->tabs()->setTabVisible(2, false);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttonRow(this, m_apply));
    connect(m_apply, &QPushButton::clicked, this, &BulkPriceDialog::applyClick);
    connect(m_matching, &QRadioButton::toggled, m_match, &QLineEdit::setEnabled);
    connect(m_matching, &QRadioButton::toggled, this, &BulkPriceDialog::refresh);
    connect(m_match, &QLineEdit::textChanged, this, &BulkPriceDialog::refresh);
    connect(m_value, &QDoubleSpinBox::valueChanged, this, &BulkPriceDialog::refresh);
    connect(m_unit, &QComboBox::currentIndexChanged, this, &BulkPriceDialog::refresh);
    refresh();
}

void BulkPriceDialog::refresh()
{
    prices::BulkChange change;
    change.match = m_matching->isChecked() ? m_match->text() : QString();
    change.percent = m_unit->currentIndex() == 0;
    change.value = m_value->value();
    m_apply->setEnabled(false);
    // Lowering by 100 % or more leaves no price.
    if (change.percent && change.value <= -100) {
        m_view->clear(importtexts::bulkNegative());
        return;
    }
    if (!runGuarded([&] { m_preview = prices::previewBulk(m_table, change); })) {
        m_view->clear(QString());
        return;
    }
    m_view->show(m_preview);
    m_apply->setEnabled(!m_preview.writesNothing());
}

void BulkPriceDialog::applyClick()
{
    prices::Applied done;
    if (!runGuarded([&] { done = prices::applyPreview(m_table, m_preview); })) {
        refresh();
        return;
    }
    dialogs().messageBox(t::applied(done.changed, 0));
    accept();
}

// ---------------------------------------------------------------- commands

std::function<QString(QWidget*)>& PriceListCommands::chooseListFile()
{
    static std::function<QString(QWidget*)> choose = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, t::openListCaption(), QString(), t::listFilter());
    };
    return choose;
}

PriceListCommands::PriceListCommands(QWidget* window, db::Table* table, int x, int y, int width)
    : QObject(window), m_window(window), m_table(table)
{
    auto button = [&](const QString& caption, const QString& name, int top) {
        auto* b = new CommandPanel(caption, window);
        b->setObjectName(name);
        b->setGeometry(x, top, width, 28);
        b->setAutoDefault(false);
        b->setEnabled(table != nullptr);
        // The longest caption is made to fit the column of buttons.
        QFont f = b->font();
        while (f.pixelSize() > 8 && QFontMetrics(f).horizontalAdvance(caption) > width - 24)
            f.setPixelSize(f.pixelSize() - 1);
        b->setFont(f);
        return b;
    };
    m_import = button(t::importButton(), QStringLiteral("ImportButton"), y);
    m_bulk = button(t::bulkButton(), QStringLiteral("BulkButton"), y + 34);
    m_undo = button(t::undoButton(), QStringLiteral("UndoImportButton"), y + 68);
    m_export = button(t::exportButton(), QStringLiteral("ExportButton"), y + 102);
    connect(m_import, &QPushButton::clicked, this, &PriceListCommands::importClick);
    connect(m_bulk, &QPushButton::clicked, this, &PriceListCommands::bulkClick);
    connect(m_undo, &QPushButton::clicked, this, &PriceListCommands::undoClick);
    connect(m_export, &QPushButton::clicked, this, &PriceListCommands::exportClick);
    if (m_table)
        connect(m_table, &db::Table::dataChanged, this, &PriceListCommands::updateUndo);
    updateUndo();
}

void PriceListCommands::updateUndo()
{
    QString last;
    if (m_table)
        try {
            last = prices::lastUndoable(*m_table);
        } catch (const Error&) {
            last.clear(); // the undo says why when it is asked for
        }
    if (!m_readOnly.isEmpty())
        return;
    m_undo->setEnabled(!last.isEmpty());
    m_undo->setToolTip(last.isEmpty() ? QString() : t::sourceShown(last));
}

void PriceListCommands::setReadOnly(const QString& reason)
{
    m_readOnly = reason;
    for (QPushButton* b : {m_import, m_bulk, m_undo}) {
        b->setEnabled(false);
        b->setToolTip(reason);
    }
}

void PriceListCommands::importClick()
{
    if (!m_table)
        return;
    const QString path = chooseListFile()(m_window);
    if (path.isEmpty())
        return;
    std::unique_ptr<PriceImportDialog> dialog;
    if (!runGuarded([&] { dialog = std::make_unique<PriceImportDialog>(*m_table, path, m_window); }))
        return;
    dialog->exec();
}

void PriceListCommands::bulkClick()
{
    if (!m_table)
        return;
    BulkPriceDialog dialog(*m_table, m_window);
    dialog.exec();
}

void PriceListCommands::undoClick()
{
    if (!m_table)
        return;
    QString last;
    if (!runGuarded([&] { last = prices::lastUndoable(*m_table); }))
        return;
    if (last.isEmpty()) {
        dialogs().messageBox(importtexts::nothingToUndo());
        return;
    }
    if (dialogs().question(t::confirmUndo(t::sourceShown(last))) != Dialogs::Answer::Yes)
        return;
    prices::Undone done;
    if (runGuarded([&] { done = prices::undoLastImport(*m_table); }))
        dialogs().messageBox(t::undone(done.restored, done.removed));
    updateUndo();
}

void PriceListCommands::exportClick()
{
    if (!m_table)
        return;
    const QString path = dialogs().saveFileName(t::exportFilter(), QStringLiteral("xlsx"));
    if (path.isEmpty())
        return;
    int rows = 0;
    if (runGuarded([&] { rows = prices::exportPrices(*m_table, path); }))
        dialogs().messageBox(t::exported(rows, QDir::toNativeSeparators(path)));
}

} // namespace lir::gui
