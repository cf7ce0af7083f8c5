#include "gui/prices/pricelogdialog.h"

#include "core/base/dialogs.h"
#include "core/prices/pricelog.h"
#include "core/prices/pricetexts.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTimeZone>
#include <QVBoxLayout>

namespace lir::gui {

namespace t = pricetexts;

namespace {

QString priceCell(const std::optional<double>& p)
{
    return p ? QLocale(QLocale::Russian).toString(*p, 'f', 2) : QString();
}

// The log keeps UTC; the user reads local time.
QString timeCell(const QString& utc)
{
    QDateTime at = QDateTime::fromString(utc, Qt::ISODate);
    if (!at.isValid())
        return utc;
    return at.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

} // namespace

PriceLogDialog::PriceLogDialog(db::Table& table, const QString& designation, QWidget* parent)
    : QDialog(parent), m_table(table)
{
    setObjectName(QStringLiteral("PriceLog"));
    setWindowTitle(t::logCaption());
    resize(900, 560);
    auto* layout = new QVBoxLayout(this);

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(t::logDesignation(), this));
    m_designation = new QLineEdit(designation, this);
    m_designation->setObjectName(QStringLiteral("DesignationFilter"));
    m_designation->setClearButtonEnabled(true);
    filters->addWidget(m_designation, 2);
    filters->addWidget(new QLabel(t::logUser(), this));
    m_user = new QComboBox(this);
    m_user->setObjectName(QStringLiteral("UserFilter"));
    m_user->addItem(t::logAllUsers(), QString());
    runGuarded([&] {
        for (const QString& login : prices::logLogins(m_table))
            m_user->addItem(login, login);
    });
    filters->addWidget(m_user, 1);
    const QDate today = QDate::currentDate();
    m_fromOn = new QCheckBox(t::logFrom(), this);
    m_fromOn->setObjectName(QStringLiteral("FromCheck"));
    m_from = new QDateEdit(today.addMonths(-1), this);
    m_from->setObjectName(QStringLiteral("FromDate"));
    m_toOn = new QCheckBox(t::logTo(), this);
    m_toOn->setObjectName(QStringLiteral("ToCheck"));
    m_to = new QDateEdit(today, this);
    m_to->setObjectName(QStringLiteral("ToDate"));
    for (QDateEdit* d : {m_from, m_to}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        d->setEnabled(false);
    }
    filters->addWidget(m_fromOn);
    filters->addWidget(m_from);
    filters->addWidget(m_toOn);
    filters->addWidget(m_to);
    auto* show = new QPushButton(t::logShow(), this);
    show->setObjectName(QStringLiteral("ShowButton"));
    show->setAutoDefault(false);
    filters->addWidget(show);
    layout->addLayout(filters);

    m_rows = new QTableWidget(0, 7, this);
    m_rows->setObjectName(QStringLiteral("LogRows"));
    m_rows->setHorizontalHeaderLabels(t::logColumns());
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rows->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_rows->verticalHeader()->hide();
    m_rows->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_rows, 1);

    auto* bottom = new QHBoxLayout;
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("Summary"));
    bottom->addWidget(m_summary, 1);
    auto* close = new QPushButton(t::logClose(), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setAutoDefault(false);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(show, &QPushButton::clicked, this, &PriceLogDialog::refresh);
    connect(m_designation, &QLineEdit::returnPressed, this, &PriceLogDialog::refresh);
    connect(m_user, &QComboBox::currentIndexChanged, this, &PriceLogDialog::refresh);
    connect(m_fromOn, &QCheckBox::toggled, this, [this](bool on) {
        m_from->setEnabled(on);
        refresh();
    });
    connect(m_toOn, &QCheckBox::toggled, this, [this](bool on) {
        m_to->setEnabled(on);
        refresh();
    });
    connect(m_from, &QDateEdit::dateChanged, this, &PriceLogDialog::refresh);
    connect(m_to, &QDateEdit::dateChanged, this, &PriceLogDialog::refresh);
    refresh();
}

void PriceLogDialog::refresh()
{
    prices::LogFilter filter;
    filter.designation = m_designation->text().trimmed();
    filter.login = m_user->currentData().toString();
    if (m_fromOn->isChecked())
        filter.since = m_from->date();
    if (m_toOn->isChecked())
        filter.until = m_to->date();
    QVector<prices::LogEntry> entries;
    const bool read = runGuarded([&] { entries = prices::readLog(m_table, filter); });
    m_rows->setRowCount(0);
    if (!read) {
        m_summary->setText(t::logUnread());
        return;
    }
    // Newest first: the question is usually what happened last.
    m_rows->setRowCount(int(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const prices::LogEntry& e = entries[entries.size() - 1 - i];
        QString name = e.newName;
        if (e.oldName != e.newName && !e.oldName.isEmpty())
            name = e.oldName + QStringLiteral(" → ") + (e.newName.isEmpty() ? t::logRemovedName() : e.newName);
        const QStringList cells{timeCell(e.changedAt), e.login, t::logSource(e.source), e.designation,
                                priceCell(e.oldPrice), priceCell(e.newPrice), name};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 4 || c == 5)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_rows->setItem(int(i), c, item);
        }
    }
    m_rows->resizeColumnsToContents();
    m_summary->setText(entries.isEmpty() ? t::logEmpty()
                                         : t::logCount(entries.size()));
}

} // namespace lir::gui
