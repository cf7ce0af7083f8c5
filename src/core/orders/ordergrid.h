#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

namespace lir {

// One grid of the order window as a table of texts: row 0 holds the column
// titles, the rows below it the data, and the last row is kept empty, so a
// grid that shows nothing has two rows.
class OrderGrid
{
public:
    OrderGrid(const QStringList& titles, const QList<int>& widths);

    const QStringList& titles() const { return m_rows.first(); }
    const QList<int>& widths() const { return m_widths; }
    int columnCount() const { return int(m_widths.size()); }
    int rowCount() const { return int(m_rows.size()); }

    // Row 0 is the title row; out-of-range cells read as empty.
    const QString& cell(int row, int column) const;
    const QStringList& row(int r) const { return m_rows.at(r); }
    // Rows 1 and below only.
    void setCell(int row, int column, const QString& text);
    void appendRow();
    void swapRows(int a, int b);
    // The title row and one empty row.
    void reset();
    // Columns 0 and 1 both empty: where the searches of the grid end.
    bool isBlank(int row) const;
    // The last row with any text below the title row; 0 when there is none.
    int lastFilledRow() const;

private:
    QList<int> m_widths;
    QVector<QStringList> m_rows;
};

} // namespace lir
