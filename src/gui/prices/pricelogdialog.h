#pragma once

#include "core/db/storage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace lir::gui {

// "Журнал цен": the change log of the prices, newest first, narrowed by a
// designation, a user and a span of days. Opened with the selected row's
// designation it shows that row's history.
class PriceLogDialog : public QDialog
{
    Q_OBJECT

public:
    PriceLogDialog(db::Table& table, const QString& designation, QWidget* parent = nullptr);

    QLineEdit* designationFilter() const { return m_designation; }
    QComboBox* userFilter() const { return m_user; }
    QCheckBox* fromCheck() const { return m_fromOn; }
    QDateEdit* fromDate() const { return m_from; }
    QCheckBox* toCheck() const { return m_toOn; }
    QDateEdit* toDate() const { return m_to; }
    QTableWidget* rows() const { return m_rows; }
    QLabel* summary() const { return m_summary; }

    // Reads the log anew with the filters as they stand.
    void refresh();

private:
    db::Table& m_table;
    QLineEdit* m_designation = nullptr;
    QComboBox* m_user = nullptr;
    QCheckBox* m_fromOn = nullptr;
    QDateEdit* m_from = nullptr;
    QCheckBox* m_toOn = nullptr;
    QDateEdit* m_to = nullptr;
    QTableWidget* m_rows = nullptr;
    QLabel* m_summary = nullptr;
};

} // namespace lir::gui
