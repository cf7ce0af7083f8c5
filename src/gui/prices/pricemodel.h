#pragma once

#include "core/db/storage.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QVector>

#include <limits>

namespace lir::gui {

// The rows of the open price table for the editor's grid, in table order. It
// keeps a copy of the rows, so that scrolling a few thousand rows never
// touches the file: read in one query when the table is written, and only the
// new rows when rows are added at the end. The current row, and while it is
// edited its pending values, come from the table itself.
class PriceModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Designation, Name, Price, ColumnCount };

    explicit PriceModel(QObject* parent = nullptr);

    // nullptr shows nothing.
    void setTable(db::Table* table);
    db::Table* table() const { return m_table; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The grid row of the table's current row; -1 when there is none.
    int currentRow() const { return m_current; }
    qint64 rowidAt(int row) const { return m_rows.value(row).rowid; }
    // The current row's pending values changed (typing in the price edit).
    void pendingChanged();
    // Reads the rows again: on a server another user may have written them.
    void refresh() { reload(); }

signals:
    void currentRowChanged(int row);

private:
    struct Row
    {
        qint64 rowid = 0;
        QString designation;
        QString name;
        QVariant price;
        bool operator==(const Row&) const = default;
    };

    // The rows after rowid `after`, in table order.
    QVector<Row> readRows(qint64 after = std::numeric_limits<qint64>::min()) const;
    void reload();
    void followCurrent();
    void rowChanged(int row);

    QPointer<db::Table> m_table;
    QVector<Row> m_rows;
    QHash<qint64, int> m_rowOf;
    int m_current = -1;
};

// The price as the grid and the price edit show it: the shortest form in the
// user's locale; empty when the field is empty.
QString priceText(const QVariant& price);

} // namespace lir::gui
