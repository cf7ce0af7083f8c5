#pragma once

#include "core/db/storage.h"
#include "core/io/sheetreader.h"
#include "core/prices/priceimport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace lir::gui {

class PricePreviewView;

// "Импорт…": a supplier's list against the price table. The file is read
// once (again when another sheet is chosen); every choice of columns or of
// "Добавить новые позиции" shows the new preview; nothing is written before
// "Применить", which writes it all in one transaction.
class PriceImportDialog : public QDialog
{
    Q_OBJECT

public:
    // Throws lir::Error when the file cannot be read.
    PriceImportDialog(db::Table& table, const QString& path, QWidget* parent = nullptr);

    QComboBox* sheetChoice() const { return m_sheet; }
    QComboBox* columnChoice(int which) const { return m_columns[which]; } // 0 designation, 1 name, 2 price
    QCheckBox* addNewCheck() const { return m_addNew; }
    QPushButton* applyButton() const { return m_apply; }
    PricePreviewView* preview() const { return m_view; }
    const prices::PricePreview& current() const { return m_preview; }

    // "Применить": writes the preview; on success the dialog closes.
    void applyClick();

private:
    void readSheet(int sheet);
    void fillColumns();
    void refresh();

    db::Table& m_table;
    QString m_path;
    io::SheetData m_data;
    int m_header = -1;
    prices::PricePreview m_preview;
    bool m_filling = false;
    QComboBox* m_sheet = nullptr;
    QComboBox* m_columns[3] = {};
    QCheckBox* m_addNew = nullptr;
    QPushButton* m_apply = nullptr;
    PricePreviewView* m_view = nullptr;
};

// "Изменить цены…": every price, or those whose designation or name holds a
// text, by a percentage or an amount, with the same preview and apply.
class BulkPriceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit BulkPriceDialog(db::Table& table, QWidget* parent = nullptr);

    QRadioButton* allRows() const { return m_all; }
    QRadioButton* matchingRows() const { return m_matching; }
    QLineEdit* matchEdit() const { return m_match; }
    QDoubleSpinBox* valueEdit() const { return m_value; }
    QComboBox* unitChoice() const { return m_unit; }
    QPushButton* applyButton() const { return m_apply; }
    PricePreviewView* preview() const { return m_view; }

    void applyClick();

private:
    void refresh();

    db::Table& m_table;
    prices::PricePreview m_preview;
    QRadioButton* m_all = nullptr;
    QRadioButton* m_matching = nullptr;
    QLineEdit* m_match = nullptr;
    QDoubleSpinBox* m_value = nullptr;
    QComboBox* m_unit = nullptr;
    QPushButton* m_apply = nullptr;
    PricePreviewView* m_view = nullptr;
};

// The price window's commands of price lists: buttons under the price edit
// for the import, the bulk change, the undo and the export.
class PriceListCommands : public QObject
{
    Q_OBJECT

public:
    // Placed in `window` at x, from y down; `table` may be null (no table:
    // the buttons are disabled).
    PriceListCommands(QWidget* window, db::Table* table, int x, int y, int width);

    QPushButton* importButton() const { return m_import; }
    QPushButton* bulkButton() const { return m_bulk; }
    QPushButton* undoButton() const { return m_undo; }
    QPushButton* exportButton() const { return m_export; }

    // The file to import; replaceable in tests (the real one asks with a file dialog).
    static std::function<QString(QWidget*)>& chooseListFile();

    void importClick();
    void bulkClick();
    void undoClick();
    void exportClick();

    // The account may not change prices: import, bulk change and undo are
    // disabled, their tooltips saying why.
    void setReadOnly(const QString& reason);

private:
    void updateUndo();

    QWidget* m_window;
    QPointer<db::Table> m_table; // closed with every table at the end of a run
    QPushButton* m_import = nullptr;
    QPushButton* m_bulk = nullptr;
    QPushButton* m_undo = nullptr;
    QPushButton* m_export = nullptr;
    QString m_readOnly; // why prices cannot be changed; empty when they can
};

} // namespace lir::gui
