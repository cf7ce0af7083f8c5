#include "gui/orders/form_batch.h"

#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/orders/ordermodel.h"
#include "core/orders/ordertexts.h"
#include "gui/app/widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace lir::gui {

namespace {

const QColor failedText(0xC0, 0, 0);
const QColor greyed(0xE4, 0xE4, 0xE4);
constexpr int emptyRows = 40;
// One slice of calculation stays well inside a frame of a responsive window.
constexpr int sliceMs = 40;

} // namespace

TBatch::TBatch(OrderModel& order, QWidget* parent)
    : QWidget(parent), m_order(order), m_resultColumn(int(batch::columns().size()))
{
    setObjectName(QStringLiteral("Batch"));
    setWindowTitle(QStringLiteral("Пакетный ввод"));
    resize(1180, 640);

    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    auto* import = new CommandPanel(QStringLiteral("Импорт..."), this);
    import->setObjectName(QStringLiteral("bt_import"));
    auto* templ = new CommandPanel(QStringLiteral("Сохранить шаблон"), this);
    templ->setObjectName(QStringLiteral("bt_template"));
    auto* clear = new CommandPanel(QStringLiteral("Очистить"), this);
    clear->setObjectName(QStringLiteral("bt_clear"));
    m_add = new CommandPanel(QStringLiteral("Добавить в заказ"), this);
    m_add->setObjectName(QStringLiteral("bt_add"));
    auto* close = new CommandPanel(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("bt_close"));
    for (QPushButton* b : {static_cast<QPushButton*>(import), static_cast<QPushButton*>(templ), static_cast<QPushButton*>(clear), m_add})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);

    m_table = new QTableWidget(0, m_resultColumn + 1, this);
    m_table->setObjectName(QStringLiteral("BatchGrid"));
    QStringList heads;
    for (const batch::Column& c : batch::columns())
        heads << c.title;
    heads << QStringLiteral("Результат");
    m_table->setHorizontalHeaderLabels(heads);
    // Every title readable; the result beside the system, where it is seen
    // without scrolling across twenty inputs.
    m_table->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->resizeSection(0, 150);
    m_table->horizontalHeader()->resizeSection(m_resultColumn, 330);
    m_table->horizontalHeader()->moveSection(m_resultColumn, 1);
    m_table->verticalHeader()->setDefaultSectionSize(22);
    m_table->setWordWrap(false);
    m_table->installEventFilter(this);
    layout->addWidget(m_table, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lb_status"));
    m_status->setFont(tahoma(12));
    layout->addWidget(m_status);

    ensureRows(emptyRows);
    updateStatus();

    m_slice.setSingleShot(true);
    m_slice.setInterval(0);
    connect(&m_slice, &QTimer::timeout, this, &TBatch::calculateSlice);
    connect(m_table, &QTableWidget::itemChanged, this, &TBatch::onChanged);
    connect(import, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Импорт пакета"), QString(),
                                                          QStringLiteral("Таблицы (*.csv *.xlsx *.ods *.txt)"));
        if (!path.isEmpty())
            importFile(path);
    });
    connect(templ, &QPushButton::clicked, this, &TBatch::saveTemplate);
    connect(clear, &QPushButton::clicked, this, [this] {
        m_pending.clear();
        m_table->setRowCount(0);
        m_results.clear();
        ensureRows(emptyRows);
        updateStatus();
    });
    connect(m_add, &QPushButton::clicked, this, &TBatch::addToOrder);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void TBatch::ensureRows(int count)
{
    const bool filling = std::exchange(m_filling, true);
    const int before = m_table->rowCount();
    if (count > before) {
        m_table->setRowCount(count);
        for (int r = before; r < count; ++r) {
            for (int c = 0; c <= m_resultColumn; ++c)
                m_table->setItem(r, c, new QTableWidgetItem);
            m_table->item(r, m_resultColumn)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            markRow(r);
        }
        m_results.resize(count);
        for (int r = before; r < count; ++r)
            m_results[r].empty = true;
    }
    m_filling = filling;
}

batch::Row TBatch::rowAt(int row) const
{
    batch::Row r;
    r.line = row + 1;
    for (int c = 0; c < m_resultColumn; ++c) {
        const QTableWidgetItem* item = m_table->item(row, c);
        r.cells << (item ? item->text() : QString());
    }
    return r;
}

QVector<batch::Row> TBatch::rows() const
{
    QVector<batch::Row> out;
    for (int r = 0; r < m_table->rowCount(); ++r)
        out << rowAt(r);
    return out;
}

const QVector<batch::RowResult>& TBatch::results()
{
    calculateAll();
    return m_results;
}

void TBatch::onChanged(QTableWidgetItem* item)
{
    if (m_filling || item->column() == m_resultColumn)
        return;
    m_pending.insert(item->row());
    m_slice.start();
}

// Greys the cells the row's system does not have: they are not read.
void TBatch::markRow(int row)
{
    const batch::Row r = rowAt(row);
    const bool filling = std::exchange(m_filling, true);
    const bool known = batch::systemOf(r) >= 0;
    for (int c = 1; c < m_resultColumn; ++c) {
        QTableWidgetItem* item = m_table->item(row, c);
        const bool off = known && !batch::applies(r, c);
        item->setBackground(off ? QBrush(greyed) : QBrush());
        item->setForeground(off ? QBrush(Qt::gray) : QBrush());
    }
    m_filling = filling;
}

void TBatch::showRow(int row)
{
    const batch::RowResult& res = m_results.at(row);
    const bool filling = std::exchange(m_filling, true);
    QTableWidgetItem* item = m_table->item(row, m_resultColumn);
    if (res.empty) {
        item->setText(QString());
        item->setToolTip(QString());
    } else if (res.ok) {
        item->setText(res.messages.isEmpty() ? res.designation
                                             : res.designation + QStringLiteral(" — ") + res.messages.join(QLatin1Char(' ')));
        item->setForeground(QBrush());
        item->setToolTip(res.messages.join(QLatin1Char('\n')));
    } else {
        item->setText(res.messages.join(QStringLiteral("; ")));
        item->setForeground(QBrush(failedText));
        item->setToolTip(res.messages.join(QLatin1Char('\n')));
    }
    m_filling = filling;
}

void TBatch::calculateSlice()
{
    QElapsedTimer clock;
    clock.start();
    while (!m_pending.empty() && clock.elapsed() < sliceMs) {
        const int row = *m_pending.begin();
        m_pending.erase(m_pending.begin());
        if (row >= m_table->rowCount())
            continue;
        markRow(row);
        m_results[row] = batch::calculate(rowAt(row));
        showRow(row);
    }
    updateStatus();
    if (!m_pending.empty())
        m_slice.start();
}

void TBatch::calculateAll()
{
    while (!m_pending.empty())
        calculateSlice();
    m_slice.stop();
}

void TBatch::updateStatus()
{
    QString text = batch::statusLine(batch::totals(m_results));
    if (!m_pending.empty())
        text += QStringLiteral(" (считается: %1)").arg(m_pending.size());
    m_status->setText(text);
    m_add->setEnabled(batch::totals(m_results).calculated > 0 || !m_pending.empty());
}

void TBatch::pasteText(const QString& text)
{
    QString block = text;
    block.remove(QLatin1Char('\r'));
    if (block.endsWith(QLatin1Char('\n')))
        block.chop(1);
    if (block.isEmpty())
        return;
    QStringList lines = block.split(QLatin1Char('\n'));
    // A block copied with its sheet's header row goes by that header, from
    // the first column, whatever cell is selected.
    const QVector<int> header = batch::headerOf(lines.front().split(QLatin1Char('\t')));
    if (!header.isEmpty()) {
        lines.removeFirst();
        if (lines.isEmpty())
            return;
    }
    qsizetype cells = 0;
    for (const QString& l : lines)
        cells += l.count(QLatin1Char('\t')) + 1;
    const int top = std::max(0, m_table->currentRow());
    const int left = header.isEmpty() ? std::max(0, m_table->currentColumn()) : 0;
    if (cells > maxPasteCells || top + lines.size() > batch::maxRows) {
        dialogs().errorBox(QStringLiteral("Вставка не выполнена: больше %1 ячеек или %2 строк в таблице. "
                                          "Вставьте данные частями или импортируйте файл.")
                               .arg(maxPasteCells)
                               .arg(batch::maxRows));
        return;
    }
    ensureRows(top + int(lines.size()));
    const bool filling = std::exchange(m_filling, true);
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList values = lines.at(i).split(QLatin1Char('\t'));
        for (int k = 0; k < values.size(); ++k) {
            const int column = header.isEmpty() ? left + k : (k < header.size() ? header.at(k) : -1);
            if (column >= 0 && column < m_resultColumn)
                m_table->item(top + i, column)->setText(values.at(k).trimmed());
        }
        m_pending.insert(top + i);
    }
    m_filling = filling;
    updateStatus();
    m_slice.start();
}

bool TBatch::importFile(const QString& path)
{
    QVector<batch::Row> rows;
    if (!runGuarded([&] { rows = batch::readFile(path); }))
        return false;
    m_pending.clear();
    const bool filling = std::exchange(m_filling, true);
    m_table->setRowCount(0);
    m_results.clear();
    ensureRows(std::max(int(rows.size()), 1));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < m_resultColumn; ++c)
            m_table->item(r, c)->setText(rows.at(r).cells.value(c));
        m_pending.insert(r);
    }
    m_filling = filling;
    updateStatus();
    m_slice.start();
    return true;
}

void TBatch::saveTemplate()
{
    const QString path = dialogs().saveFileName(QStringLiteral("Книга Excel (*.xlsx)"), QStringLiteral("xlsx"));
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    const QString csv = info.dir().filePath(info.completeBaseName() + QStringLiteral(".csv"));
    if (runGuarded([&] {
            batch::writeTemplateXlsx(path);
            batch::writeTemplateCsv(csv);
        }))
        dialogs().messageBox(QStringLiteral("Шаблон сохранён: %1 и %2").arg(info.fileName(), QFileInfo(csv).fileName()));
}

void TBatch::addToOrder()
{
    calculateAll();
    const batch::Totals t = batch::totals(m_results);
    if (t.calculated == 0)
        return;
    if (t.failed > 0
        && dialogs().question(QStringLiteral("Строк с ошибками: %1. Добавить в заказ только рассчитанные строки (%2)?\n"
                                             "«Нет» — не добавлять ничего.")
                                  .arg(t.failed)
                                  .arg(t.calculated))
               != Dialogs::Answer::Yes)
        return;
    bool done = false;
    runGuarded([&] { done = batch::addToOrder(m_order, rows(), m_results); });
    // Added kits bring the summation window up, as "В ЗАКАЗ" does.
    if (!done)
        dialogs().errorBox(ordertexts::batchNotAdded());
}

void TBatch::keyPressEvent(QKeyEvent* e)
{
    if (e->matches(QKeySequence::Paste)) {
        pasteText(QApplication::clipboard()->text());
        return;
    }
    QWidget::keyPressEvent(e);
}

bool TBatch::eventFilter(QObject* o, QEvent* e)
{
    if (o == m_table && e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->matches(QKeySequence::Paste)) {
        pasteText(QApplication::clipboard()->text());
        return true;
    }
    return QWidget::eventFilter(o, e);
}

} // namespace lir::gui
