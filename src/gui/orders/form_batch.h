#pragma once

#include "core/orders/batch.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>

#include <set>

namespace lir {
class OrderModel;
}

namespace lir::gui {

// "Пакетный ввод": a window schedule typed, pasted or imported as a table,
// one sash line per row. Every changed row is calculated again in slices on
// the event loop, so that a long batch never holds the window up.
class TBatch : public QWidget
{
    Q_OBJECT
public:
    explicit TBatch(OrderModel& order, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    QLabel* statusLine() const { return m_status; }
    // The rows and their results as they stand (calculates what is pending).
    QVector<batch::Row> rows() const;
    const QVector<batch::RowResult>& results();

    // Ctrl+V: the tab-separated cells of the clipboard text at the current cell.
    void pasteText(const QString& text);
    // Replaces the table by the rows of a file; false (the table as it was)
    // when the file is refused.
    bool importFile(const QString& path);
    void saveTemplate();
    // "Добавить в заказ".
    void addToOrder();
    // Calculates every pending row now.
    void calculateAll();

    // The most cells one paste takes.
    static constexpr int maxPasteCells = 20000;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void onChanged(QTableWidgetItem* item);
    void calculateSlice();
    void showRow(int row);
    void markRow(int row);
    void ensureRows(int count);
    void updateStatus();
    batch::Row rowAt(int row) const;

    OrderModel& m_order;
    QTableWidget* m_table;
    QLabel* m_status;
    QPushButton* m_add;
    QTimer m_slice;
    std::set<int> m_pending;
    QVector<batch::RowResult> m_results;
    bool m_filling = false;
    int m_resultColumn;
};

} // namespace lir::gui
