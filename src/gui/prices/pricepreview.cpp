#include "gui/prices/pricepreview.h"

#include "core/base/environment.h"
#include "core/base/numberformat.h"
#include "core/prices/importtexts.h"

#include <QHeaderView>
#include <QLocale>
#include <QVBoxLayout>

#include <cmath>

namespace lir::gui {

namespace t = importtexts::ui;

namespace {

// A cell shown as text and sorted by its number (an empty one first).
class NumberItem : public QTableWidgetItem
{
public:
    NumberItem(const QString& text, double key) : QTableWidgetItem(text), m_key(key)
    {
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override
    {
        if (const auto* n = dynamic_cast<const NumberItem*>(&other))
            return m_key < n->m_key;
        return QTableWidgetItem::operator<(other);
    }

private:
    double m_key;
};

QString priceShown(const std::optional<double>& p)
{
    return p ? numfmt::shortest(*p, environment().numberLocale()) : QString();
}

QTableWidget* makeTable(const QStringList& headers)
{
    auto* t = new QTableWidget(0, int(headers.size()));
    t->setHorizontalHeaderLabels(headers);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->setVisible(false);
    t->verticalHeader()->setDefaultSectionSize(20);
    t->horizontalHeader()->setStretchLastSection(true);
    t->setWordWrap(false);
    return t;
}

void fill(QTableWidget* table, int rows, const std::function<void(int, QTableWidget*)>& row)
{
    table->setSortingEnabled(false);
    table->clearContents();
    table->setRowCount(rows);
    for (int i = 0; i < rows; ++i)
        row(i, table);
}

} // namespace

PricePreviewView::PricePreviewView(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("PreviewSummary"));
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PreviewTabs"));
    layout->addWidget(m_tabs, 1);
    m_changed = makeTable({t::colDesignation(), t::colName(), t::colOld(), t::colNew(), t::colPercent()});
    m_added = makeTable({t::colLine(), t::colDesignation(), t::colName(), t::colPrice()});
    m_notInList = makeTable({t::colDesignation(), t::colName(), t::colPrice()});
    m_refused = makeTable({t::colLine(), t::colDesignation(), t::colReason()});
    m_changed->setColumnWidth(0, 150);
    m_changed->setColumnWidth(1, 220);
    m_added->setColumnWidth(1, 150);
    m_added->setColumnWidth(2, 220);
    m_notInList->setColumnWidth(0, 150);
    m_notInList->setColumnWidth(1, 260);
    m_refused->setColumnWidth(1, 180);
    m_tabs->addTab(m_changed, QString());
    m_tabs->addTab(m_added, QString());
    m_tabs->addTab(m_notInList, QString());
    m_tabs->addTab(m_refused, QString());
    clear(QString());
}

void PricePreviewView::clear(const QString& why)
{
    m_summary->setText(why);
    for (QTableWidget* table : {m_changed, m_added, m_notInList, m_refused})
        fill(table, 0, {});
    m_tabs->setTabText(0, t::tabChanged(0));
    m_tabs->setTabText(1, t::tabAdded(0));
    m_tabs->setTabText(2, t::tabNotInList(0));
    m_tabs->setTabText(3, t::tabRefused(0));
}

void PricePreviewView::show(const prices::PricePreview& p)
{
    m_summary->setText(t::summary(int(p.changed.size()), int(p.added.size()), p.addNew, p.unchanged,
                                  int(p.notInList.size()), int(p.refused.size())));
    const QLocale locale = environment().numberLocale();
    fill(m_changed, int(p.changed.size()), [&](int i, QTableWidget* table) {
        const prices::PriceChange& c = p.changed[i];
        table->setItem(i, 0, new QTableWidgetItem(c.designation));
        table->setItem(i, 1, new QTableWidgetItem(c.name));
        table->setItem(i, 2, new NumberItem(priceShown(c.oldPrice), c.oldPrice.value_or(-1)));
        table->setItem(i, 3, new NumberItem(priceShown(c.newPrice), c.newPrice));
        const std::optional<double> percent = c.percent();
        // Sorted by the size of the change: a price without a percentage sorts as the largest.
        table->setItem(i, 4, new NumberItem(percent ? (*percent > 0 ? QStringLiteral("+") : QString()) +
                                                          locale.toString(*percent, 'f', 1)
                                                    : QString(),
                                            percent ? std::abs(*percent) : INFINITY));
    });
    m_changed->setSortingEnabled(true);
    m_changed->sortByColumn(4, Qt::DescendingOrder);
    fill(m_added, int(p.added.size()), [&](int i, QTableWidget* table) {
        const prices::PriceChange& c = p.added[i];
        table->setItem(i, 0, new NumberItem(QString::number(c.line), c.line));
        table->setItem(i, 1, new QTableWidgetItem(c.designation));
        table->setItem(i, 2, new QTableWidgetItem(c.name));
        table->setItem(i, 3, new NumberItem(priceShown(c.newPrice), c.newPrice));
    });
    m_added->setSortingEnabled(true);
    fill(m_notInList, int(p.notInList.size()), [&](int i, QTableWidget* table) {
        const prices::TableRow& r = p.notInList[i];
        table->setItem(i, 0, new QTableWidgetItem(r.designation));
        table->setItem(i, 1, new QTableWidgetItem(r.name));
        table->setItem(i, 2, new NumberItem(priceShown(r.price), r.price.value_or(-1)));
    });
    m_notInList->setSortingEnabled(true);
    fill(m_refused, int(p.refused.size()), [&](int i, QTableWidget* table) {
        const prices::RefusedRow& r = p.refused[i];
        table->setItem(i, 0, new NumberItem(r.line > 0 ? QString::number(r.line) : QString(), r.line));
        table->setItem(i, 1, new QTableWidgetItem(r.designation));
        table->setItem(i, 2, new QTableWidgetItem(r.reason));
    });
    m_refused->setSortingEnabled(true);
    m_tabs->setTabText(0, t::tabChanged(int(p.changed.size())));
    m_tabs->setTabText(1, t::tabAdded(int(p.added.size())));
    m_tabs->setTabText(2, t::tabNotInList(int(p.notInList.size())));
    m_tabs->setTabText(3, t::tabRefused(int(p.refused.size())));
}

} // namespace lir::gui
