#pragma once

#include "core/prices/priceimport.h"

#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>

namespace lir::gui {

// The preview of a price list or a bulk change: a summary line and a tab
// for each kind of row. The changes are sortable, the largest change first,
// so that a misplaced decimal point stands at the top.
class PricePreviewView : public QWidget
{
    Q_OBJECT

public:
    explicit PricePreviewView(QWidget* parent = nullptr);

    void show(const prices::PricePreview& p);
    // No preview: the text says why.
    void clear(const QString& why);

    QLabel* summary() const { return m_summary; }
    QTabWidget* tabs() const { return m_tabs; }
    QTableWidget* changed() const { return m_changed; }
    QTableWidget* added() const { return m_added; }
    QTableWidget* notInList() const { return m_notInList; }
    QTableWidget* refused() const { return m_refused; }

private:
    QLabel* m_summary = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTableWidget* m_changed = nullptr;
    QTableWidget* m_added = nullptr;
    QTableWidget* m_notInList = nullptr;
    QTableWidget* m_refused = nullptr;
};

} // namespace lir::gui
