#include "core/orders/ordergrid.h"

#include <utility>

namespace lir {

OrderGrid::OrderGrid(const QStringList& titles, const QList<int>& widths) : m_widths(widths)
{
    m_rows.append(titles);
    reset();
}

const QString& OrderGrid::cell(int row, int column) const
{
    // A reference: the searches of the order read thousands of cells per kit.
    static const QString empty;
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_rows.at(row).size())
        return empty;
    return m_rows.at(row).at(column);
}

void OrderGrid::setCell(int row, int column, const QString& text)
{
    if (row < 1 || row >= m_rows.size() || column < 0 || column >= columnCount())
        return;
    m_rows[row][column] = text;
}

void OrderGrid::appendRow()
{
    QStringList empty;
    empty.reserve(columnCount());
    for (int c = 0; c < columnCount(); ++c)
        empty.append(QString());
    m_rows.append(std::move(empty));
}

void OrderGrid::swapRows(int a, int b)
{
    if (a < 1 || b < 1 || a >= m_rows.size() || b >= m_rows.size())
        return;
    m_rows[a].swap(m_rows[b]);
}

void OrderGrid::reset()
{
    m_rows.resize(1);
    appendRow();
}

bool OrderGrid::isBlank(int row) const
{
    return cell(row, 0).isEmpty() && cell(row, 1).isEmpty();
}

int OrderGrid::lastFilledRow() const
{
    for (int r = rowCount() - 1; r >= 1; --r)
        for (const QString& c : m_rows.at(r))
            if (!c.isEmpty())
                return r;
    return 0;
}

} // namespace lir
