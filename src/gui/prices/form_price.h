#pragma once

#include "core/db/storage.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QWidget>

namespace lir::gui {

class CommandPanel;
class Picture;
class PriceListCommands;
class PriceModel;

// The price editor: the rows of the price table, a search by designation and
// by name, and the price of the current row to type. Its creation opens the
// price table, which stays open for the whole run; it never adds or deletes rows.
class TPrice : public QWidget
{
    Q_OBJECT

public:
    // Opens the price table of the tables' directory; a failure is shown in
    // the error box, saying where the table was looked for, and gives nullptr.
    static db::Table* openPrices();
    explicit TPrice(QWidget* parent = nullptr);
    ~TPrice() override;

    // The open price table; nullptr when it could not be opened.
    db::Table* table() const { return m_table; }
    PriceModel* model() const { return m_model; }

    QTableView* grid() const { return m_grid; }        // DBGrid1
    QLineEdit* priceEdit() const { return m_dbEdit3; }   // DBEdit3
    QLineEdit* designationSearch() const { return m_edit2; }
    QLineEdit* nameSearch() const { return m_edit1; }
    CommandPanel* designationFind() const { return m_panel1; }
    CommandPanel* nameFind() const { return m_panel2; }
    CommandPanel* closeButton() const { return m_closeGridButton; }
    QGroupBox* priceGroup() const { return m_priceGroup; }
    // "Не найдено" beside the search row whose text matched nothing.
    QLabel* designationNotFound() const { return m_notFound1; }
    QLabel* nameNotFound() const { return m_notFound2; }

    PriceListCommands* listCommands() const { return m_listCommands; }
    // Shown when the account may not change prices (the server says so):
    // the price edit is then read-only.
    QLabel* readOnlyNote() const { return m_readOnlyNote; }
    bool readOnly() const { return m_readOnly; }

    // Search by designation (Panel1, Enter in Edit2) and by name (Panel2,
    // Enter in Edit1): the first row whose field begins with the text,
    // whatever the case; nothing found leaves the row and says so beside the
    // search row. The grid takes the focus.
    void Panel1Click();
    void Panel2Click();
    // "Журнал цен": the change log, of the selected row when there is one.
    void LogButtonClick();
    CommandPanel* logButton() const { return m_logButton; }
    // Closes the window; a pending price is written, or dropped with a message.
    void CloseGridButtonClick();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void openTable();
    void search(const QString& field, const QString& text, QLabel* notFound);
    void clearNotFound();
    void DBEdit3Escape();
    // The grid and the price edit show the table's current row.
    void showCurrentRow();
    void showPrice();
    void gridRowChosen(int row);
    void priceTyped(const QString& text);
    void DBEdit3Enter();

    QPointer<db::Table> m_table;
    PriceModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QGroupBox* m_priceGroup = nullptr;
    QLineEdit* m_dbEdit3 = nullptr;
    QLineEdit* m_edit1 = nullptr;
    QLineEdit* m_edit2 = nullptr;
    CommandPanel* m_panel1 = nullptr;
    CommandPanel* m_panel2 = nullptr;
    CommandPanel* m_closeGridButton = nullptr;
    QLabel* m_notFound1 = nullptr;
    QLabel* m_notFound2 = nullptr;
    Picture* m_picture = nullptr;
    PriceListCommands* m_listCommands = nullptr;
    QLabel* m_readOnlyNote = nullptr;
    CommandPanel* m_logButton = nullptr;
    bool m_readOnly = false;
    bool m_showing = false; // the grid is being moved to the table's row
};

} // namespace lir::gui
