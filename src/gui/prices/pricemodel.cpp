#include "gui/prices/pricemodel.h"

#include "core/base/environment.h"
#include "core/base/numberformat.h"
#include "core/prices/pricetable.h"
#include "core/prices/pricetexts.h"

#include <limits>

namespace lir::gui {

using db::quoted;

QString priceText(const QVariant& price)
{
    if (!price.isValid() || price.isNull())
        return {};
    // A pending price is shown as it was typed.
    if (price.typeId() == QMetaType::QString)
        return price.toString();
    bool ok = false;
    const double v = price.toDouble(&ok);
    return ok ? numfmt::shortest(v, environment().numberLocale()) : price.toString();
}

PriceModel::PriceModel(QObject* parent) : QAbstractTableModel(parent)
{
}

void PriceModel::setTable(db::Table* table)
{
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    beginResetModel();
    m_table = table;
    m_rows = readRows();
    m_rowOf.clear();
    for (int i = 0; i < m_rows.size(); ++i)
        m_rowOf.insert(m_rows[i].rowid, i);
    m_current = -1;
    endResetModel();
    if (m_table) {
        connect(m_table, &db::Table::dataChanged, this, &PriceModel::reload);
        connect(m_table, &db::Table::currentChanged, this, &PriceModel::followCurrent);
    }
    followCurrent();
}

QVector<PriceModel::Row> PriceModel::readRows(qint64 after) const
{
    QVector<Row> rows;
    if (!m_table)
        return rows;
    const auto result = m_table->query(QStringLiteral("SELECT rowid, ") + quoted(prices::fieldDesignation()) +
                                           QStringLiteral(", ") + quoted(prices::fieldName()) +
                                           QStringLiteral(", ") + quoted(prices::fieldPrice()) +
                                           QStringLiteral(" FROM ") + quoted(m_table->tableName()) +
                                           QStringLiteral(" WHERE rowid > ? ORDER BY rowid"),
                                       {after});
    rows.reserve(result.size());
    for (const QVector<QVariant>& r : result)
        rows.push_back({r[0].toLongLong(), r[1].toString(), r[2].toString(), r[3]});
    return rows;
}

void PriceModel::reload()
{
    const int count = m_table ? m_table->rowCount() : 0;
    // Rows added at the end (the catalogue update adds hundreds at start-up):
    // only they are read.
    if (count > m_rows.size()) {
        QVector<Row> added = readRows(m_rows.isEmpty() ? std::numeric_limits<qint64>::min() : m_rows.last().rowid);
        if (added.size() == count - m_rows.size()) {
            beginInsertRows({}, int(m_rows.size()), count - 1);
            for (Row& r : added) {
                m_rowOf.insert(r.rowid, int(m_rows.size()));
                m_rows.push_back(std::move(r));
            }
            endInsertRows();
            followCurrent();
            return;
        }
    }
    QVector<Row> rows = readRows();
    bool sameRows = rows.size() == m_rows.size();
    for (int i = 0; sameRows && i < rows.size(); ++i)
        sameRows = rows[i].rowid == m_rows[i].rowid;
    if (!sameRows) {
        beginResetModel();
        m_rows = std::move(rows);
        m_rowOf.clear();
        for (int i = 0; i < m_rows.size(); ++i)
            m_rowOf.insert(m_rows[i].rowid, i);
        m_current = -1;
        endResetModel();
        followCurrent();
        return;
    }
    // A written price: only the rows that differ are repainted.
    int first = -1;
    int last = -1;
    for (int i = 0; i < rows.size(); ++i) {
        if (!(rows[i] == m_rows[i])) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    m_rows = std::move(rows);
    if (first >= 0)
        emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
    // The pending values of the current row are gone or written.
    rowChanged(m_current);
}

void PriceModel::followCurrent()
{
    const int row = m_table ? m_rowOf.value(m_table->currentRowid(), -1) : -1;
    const int previous = m_current;
    m_current = row;
    rowChanged(previous);
    if (row != previous)
        rowChanged(row);
    emit currentRowChanged(row);
}

void PriceModel::rowChanged(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
}

void PriceModel::pendingChanged()
{
    rowChanged(m_current);
}

int PriceModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PriceModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PriceModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == Price ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                       : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    // The row being edited shows what has been typed so far.
    const bool pending =
        index.row() == m_current && m_table && m_table->state() != db::Table::State::Browse;
    const Row& r = m_rows[index.row()];
    switch (index.column()) {
    case Designation:
        return pending ? m_table->text(prices::fieldDesignation()) : r.designation;
    case Name:
        return pending ? m_table->text(prices::fieldName()) : r.name;
    case Price:
        return priceText(pending ? m_table->value(prices::fieldPrice()) : r.price);
    default:
        break;
    }
    return {};
}

QVariant PriceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return orientation == Qt::Horizontal ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                             : QVariant(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        switch (section) {
        case Designation:
            return pricetexts::columnDesignation();
        case Name:
            return pricetexts::columnName();
        case Price:
            return pricetexts::columnPrice();
        default:
            return {};
        }
    }
    // The row indicator: the current row, or the row being edited.
    if (section != m_current)
        return QString();
    return m_table && m_table->state() != db::Table::State::Browse ? pricetexts::editedRowMark()
                                                                   : pricetexts::currentRowMark();
}

} // namespace lir::gui
