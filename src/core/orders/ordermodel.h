#pragma once

#include "core/calc/kitcalculator.h"
#include "core/orders/ordergrid.h"
#include "core/calc/ordersink.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <array>
#include <functional>
#include <optional>

namespace lir {

class TurnKit;
class TiltTurnKit;
class TiltKit;

namespace db {
class Table;
}

namespace orderbook {
struct Customer;
}

// The current order without widgets: the state of the summation window
// TTotalSum. It holds the entry list (the calculator inputs of every kit) and
// the three grids, which are always rebuilt by recalculating the entries in
// the three calculators it drives. The window is a view of it; the
// command-line calculator drives the same object.
class OrderModel : public QObject, public OrderSink
{
    Q_OBJECT

public:
    // The three views, numbered as their buttons.
    enum View { Components = 1, Kits = 2, KitsAndComponents = 3 };

    explicit OrderModel(QObject* parent = nullptr);
    ~OrderModel() override;

    // The calculators that entries are restored into and recalculated by.
    void setCalculators(TurnKit* turn, TiltTurnKit* tiltTurn, TiltKit* tilt);
    KitCalculator* calculator(KitCalculator::Kind kind) const;
    // The calculator of an entry, from its Type; nullptr when it names none.
    KitCalculator* calculatorOf(const TOrder& entry) const;

    // ------------------------------------------------------------ entries
    const QVector<TOrder>& entries() const { return m_entries; }
    int EntryCount() const { return int(m_entries.size()); }
    // The entry open for editing in a calculator; -1 when none is.
    int EditedEntry() const override { return m_editedEntry; }

    // ------------------------------------------------------------ grids
    const OrderGrid& StringGrid1() const { return m_grids[0]; } // components
    const OrderGrid& StringGrid2() const { return m_grids[1]; } // kits
    const OrderGrid& StringGrid3() const { return m_grids[2]; } // kits and components
    const OrderGrid& grid(View v) const { return m_grids[size_t(v) - 1]; }
    static int quantityColumn(View v) { return v == Kits ? 1 : 3; }
    // Goes up whenever a cell or the number of rows of a grid changes.
    int gridsRevision() const { return m_gridsRevision; }
    // The entries that row r of the kits grid stands for, in the order of
    // the list; none for the title row and the empty last row.
    QVector<int> entriesOfKitsRow(int row) const;

    // ------------------------------------------------------------ window state
    QString description() const { return m_description; } // led_name
    void setDescription(const QString& text);
    QString markup() const { return m_markup; } // Edit1, read by the export
    // A markup typed by a person: it wins over the customer's.
    void setMarkup(const QString& text);

    // ------------------------------------------------------------ the customer
    // Which markup Edit1 holds: none chosen yet, the customer's default, or
    // one typed after the customer was chosen.
    enum class MarkupSource { None, Customer, Typed };
    MarkupSource markupSource() const { return m_markupSource; }
    qint32 customerId() const { return m_customerId; } // 0: none
    QString customerName() const { return m_customerName; }
    // Chooses the order's customer (nullptr: none); the customer's default
    // markup fills Edit1.
    void chooseCustomer(const orderbook::Customer* customer);
    // The total written with a saved order: the priced summary with the
    // markup of Edit1, from whoever can price it; none without it.
    void setTotalSource(std::function<std::optional<double>()> total);
    View view() const { return m_view; }
    // Checks a view button from code (the history's reopening).
    void setView(View v);
    bool viewButtonsEnabled() const { return m_viewButtonsEnabled; }
    // Why the view buttons are off (the edit button); empty while they are on.
    QString viewButtonsHint() const;
    // The view whose grid takes typing (the edit button); 0 when none does.
    int editableView() const { return m_editableView; }
    int currentRow(View v) const { return m_current[size_t(v) - 1].row; }
    int currentColumn(View v) const { return m_current[size_t(v) - 1].column; }
    void setCurrentCell(View v, int row, int column);

    // ------------------------------------------------------------ what the calculators call
    // An index at or beyond EntryCount appends; a negative one (no entry open) does nothing.
    void StoreEntry(int index, const TOrder& entry) override;
    void ReplayOrder() override;
    // "В ЗАКАЗ": all or nothing. A quantity cell that does not hold a whole
    // number shows the conversion error and changes nothing.
    void AddKit(KitCalculator& calc) override;

    // The calculator the kit added last came from; nullptr before the first.
    KitCalculator* lastCalculator() const { return m_lastCalculator; }

    // Several kits added as one action (the batch entry): `add` adds them
    // through AddKit; when it returns false or throws (the throw goes on), the entries, the grids
    // and the edited entry are as they were before, and changed() is sent once.
    bool addAllOrNone(const std::function<bool()>& add);

    // Restores the entry into its calculator, recalculates it and adds the kit again.
    void ReplayEntry(const TOrder& entry);
    // Reopening a saved order: the order is cleared as "Очистить заказ" does,
    // every kit is replayed in the order given, and the kits view is checked.
    void ReopenOrder(const QVector<TOrder>& kits);
    // The number of the saved order this order is: set when it is saved or
    // reopened, and valid only while its entries are still those.
    std::optional<qint32> savedNumber() const;
    void markSaved(qint32 number);
    // Moves the rows without a designation (the screw totals) of the components
    // grid below the others.
    void SortGrid();

    // ------------------------------------------------------------ a person's actions
    // Each returns whether it did anything.
    bool RadioButtonClick(View v);
    bool StringGrid2DblClick(); // opens the entry of the kits grid's current row
    bool spbt_editClick();
    bool spbt_deleteClick();
    // Typing into a cell of the grid that takes typing.
    bool typeIntoGrid(View v, int row, int column, const QString& text);
    // "Сохранить заказ": checks, then writes the order into the order table.
    // Returns whether the order was written; a failing table throws lir::Error.
    bool bt_saveClick();
    void bt_clearClick();

    // ------------------------------------------------------------ questions before a loss
    // The window asks them; the command-line lines are instructions and do not.
    // Whether entries changed since the order was last saved or reopened; an
    // empty order has nothing to lose.
    bool unsaved() const;
    // Before "Очистить заказ": empty when the order is empty.
    QString clearQuestion() const;
    // Before the delete button: names the kit it would delete; empty when it
    // would delete nothing.
    QString deleteQuestion() const;
    // Before another order replaces this one, and before the program ends:
    // empty when nothing is unsaved.
    QString openOtherQuestion() const;
    QString quitQuestion() const;

    // How the order table is reached when an order is saved; by default the
    // table opened at start-up.
    void setOrderTable(std::function<db::Table&()> open);

signals:
    void changed();
    // "В ЗАКАЗ": the window is shown and given the focus.
    void showRequested();
    // An entry was opened for editing: its calculator window comes up.
    void calculatorShowRequested(lir::KitCalculator* calc);
    // An order was written into the order table.
    void saved();

private:
    struct Cell
    {
        int row = 1;
        int column = 0;
    };
    // Changes inside one action are announced once, when it ends.
    class Batch;
    friend class Batch;
    void touch();
    void gridsChanged();

    bool addKit(KitCalculator& calc);
    // The kits row and the kits-and-components row of an entry whose
    // recalculation failed: its own designation, no parts.
    void addStoredEntry(const TOrder& entry);
    void resetGrids();
    void closeEdit();
    void gridsRebuilt();
    void appendKitsRow();

    TurnKit* m_turn = nullptr;
    TiltTurnKit* m_tiltTurn = nullptr;
    TiltKit* m_tilt = nullptr;

    QVector<TOrder> m_entries;
    QVector<TOrder> m_savedEntries; // as last saved or reopened
    KitCalculator* m_lastCalculator = nullptr;
    int m_editedEntry = -1;
    std::array<OrderGrid, 3> m_grids;
    QVector<QVector<int>> m_kitsRowEntries; // by row of the kits grid
    std::array<Cell, 3> m_current;

    std::optional<qint32> m_savedNumber; // valid while m_entries == m_savedEntries
    QString m_description;
    QString m_markup;
    MarkupSource m_markupSource = MarkupSource::None;
    qint32 m_customerId = 0;
    QString m_customerName;
    std::function<std::optional<double>()> m_total;
    View m_view = Components;
    bool m_viewButtonsEnabled = true;
    int m_editableView = 0;

    std::function<db::Table&()> m_openTable;
    int m_gridsRevision = 0;
    int m_batchDepth = 0;
    bool m_dirty = false;
    bool m_showPending = false;
};

} // namespace lir
