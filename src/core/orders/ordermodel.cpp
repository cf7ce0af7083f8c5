#include "core/orders/ordermodel.h"

#include "core/base/dialogs.h"
#include "core/base/environment.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/db/storage.h"
#include "core/orders/orderbookstore.h"
#include "core/orders/orderrestore.h"
#include "core/orders/ordertable.h"
#include "core/orders/ordertexts.h"

#include <QLocale>

#include <algorithm>
#include <limits>
#include <utility>

namespace lir {

namespace t = ordertexts;

namespace {

OrderGrid componentsGrid()
{
    return OrderGrid({t::colDesignation(), t::colName(), t::colMarking(), t::colCount()}, {95, 150, 70, 40});
}

OrderGrid kitsGrid()
{
    return OrderGrid({t::colKitName(), t::colCount(), t::colRal()}, {150, 40, 80});
}

OrderGrid kitsAndComponentsGrid()
{
    return OrderGrid({t::colDesignation(), t::colName(), t::colMarking(), t::colCount(), t::colRal()},
                     {130, 180, 100, 40, 80});
}

// Adds amount to the number in a quantity cell (an empty cell counts as "0").
// False, with the error box's text, when the cell holds no whole number or
// the sum does not fit 32 bits; the cell is left as it was then.
bool addToCell(OrderGrid& g, int row, int column, qint64 amount, QString* error)
{
    QString text = g.cell(row, column);
    if (text.isEmpty())
        text = QStringLiteral("0");
    bool ok = false;
    const qint64 n = text.toLongLong(&ok, 10);
    if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max()) {
        *error = t::notAnInteger(text);
        return false;
    }
    const qint64 sum = n + amount;
    if (sum < std::numeric_limits<qint32>::min() || sum > std::numeric_limits<qint32>::max()) {
        *error = t::countTooLarge(QString::number(sum));
        return false;
    }
    g.setCell(row, column, QString::number(sum));
    return true;
}

// A search that ends on an empty row takes that row, and the grid gets one
// more row so that an empty row stays at its end.
void takeEmptyRow(OrderGrid& g, int target)
{
    while (g.rowCount() <= target)
        g.appendRow();
    g.appendRow();
}

void sortComponents(OrderGrid& g)
{
    for (int pass = 0; pass < 2; ++pass) {
        for (int r = 1; r + 1 < g.rowCount(); ++r) {
            if (g.isBlank(r + 1))
                break;
            if (g.cell(r, 0).isEmpty() && !g.cell(r + 1, 0).isEmpty())
                g.swapRows(r, r + 1);
        }
    }
}

} // namespace

class OrderModel::Batch
{
public:
    explicit Batch(OrderModel& m) : m_model(m) { ++m_model.m_batchDepth; }
    ~Batch()
    {
        if (--m_model.m_batchDepth > 0)
            return;
        if (std::exchange(m_model.m_dirty, false))
            emit m_model.changed();
        if (std::exchange(m_model.m_showPending, false))
            emit m_model.showRequested();
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

private:
    OrderModel& m_model;
};

OrderModel::OrderModel(QObject* parent)
    : QObject(parent), m_grids{componentsGrid(), kitsGrid(), kitsAndComponentsGrid()}, m_kitsRowEntries(2),
      m_markup(t::markupDefault())
{
    // The short date as a Russian desktop writes it, whatever the process locale.
    m_description = t::descriptionPrefix() + environment().today().toString(QStringLiteral("dd.MM.yyyy"));
}

OrderModel::~OrderModel() = default;

void OrderModel::touch()
{
    m_dirty = true;
    if (m_batchDepth == 0) {
        m_dirty = false;
        emit changed();
    }
}

void OrderModel::gridsChanged()
{
    ++m_gridsRevision;
    touch();
}

void OrderModel::setCalculators(TurnKit* turn, TiltTurnKit* tiltTurn, TiltKit* tilt)
{
    m_turn = turn;
    m_tiltTurn = tiltTurn;
    m_tilt = tilt;
}

KitCalculator* OrderModel::calculator(KitCalculator::Kind kind) const
{
    switch (kind) {
    case KitCalculator::Kind::Turn:
        return m_turn;
    case KitCalculator::Kind::TiltTurn:
        return m_tiltTurn;
    case KitCalculator::Kind::Tilt:
        break;
    }
    return m_tilt;
}

KitCalculator* OrderModel::calculatorOf(const TOrder& entry) const
{
    const std::optional<KitCalculator::Kind> kind = entryKind(entry);
    return kind ? calculator(*kind) : nullptr;
}

QVector<int> OrderModel::entriesOfKitsRow(int row) const
{
    return m_kitsRowEntries.value(row);
}

// ---------------------------------------------------------------- window state

void OrderModel::setDescription(const QString& text)
{
    if (text == m_description)
        return;
    m_description = text;
    touch();
}

void OrderModel::setMarkup(const QString& text)
{
    if (text == m_markup)
        return;
    m_markup = text;
    if (m_customerId)
        m_markupSource = MarkupSource::Typed;
    touch();
}

void OrderModel::chooseCustomer(const orderbook::Customer* customer)
{
    if (!customer) {
        m_customerId = 0;
        m_customerName.clear();
        m_markupSource = MarkupSource::None;
        touch();
        return;
    }
    m_customerId = customer->id;
    m_customerName = customer->name;
    m_markup = QString::number(customer->markup);
    m_markupSource = MarkupSource::Customer;
    touch();
}

void OrderModel::setTotalSource(std::function<std::optional<double>()> total)
{
    m_total = std::move(total);
}

void OrderModel::setView(View v)
{
    if (v < Components || v > KitsAndComponents || v == m_view)
        return;
    m_view = v;
    touch();
}

void OrderModel::setCurrentCell(View v, int row, int column)
{
    if (v < Components || v > KitsAndComponents)
        return;
    const OrderGrid& g = grid(v);
    Cell c{std::clamp(row, 1, g.rowCount() - 1), std::clamp(column, 0, g.columnCount() - 1)};
    Cell& current = m_current[size_t(v) - 1];
    if (c.row == current.row && c.column == current.column)
        return;
    current = c;
    touch();
}

// ---------------------------------------------------------------- entries and grids

void OrderModel::StoreEntry(int index, const TOrder& entry)
{
    if (index < 0)
        return;
    if (index >= EntryCount())
        m_entries.append(entry);
    else
        m_entries[index] = entry;
    touch();
}

void OrderModel::SortGrid()
{
    sortComponents(m_grids[0]);
    gridsChanged();
}

void OrderModel::appendKitsRow()
{
    m_kitsRowEntries.resize(m_grids[1].rowCount());
}

void OrderModel::AddKit(KitCalculator& calc)
{
    addKit(calc);
}

bool OrderModel::addKit(KitCalculator& calc)
{
    const Batch batch(*this);

    // Every row of the result grid with a designation or a name: the parts and
    // both screw totals, also the 4×40 one of a kit without 4×25 screws.
    QVector<const GridRow*> rows;
    for (int r = 1; r < calc.gridRowCount(); ++r) {
        const GridRow& g = calc.gridRow(r);
        if (!g[0].isEmpty() || !g[1].isEmpty())
            rows.append(&g);
    }

    // The grids that add up numbers change on copies, so that a cell which
    // holds no whole number leaves the whole order as it was.
    OrderGrid components = m_grids[0];
    OrderGrid kits = m_grids[1];
    QString error;
    auto failed = [&error] {
        dialogs().errorBox(error);
        return false;
    };

    // 1. Components, added up by designation and name.
    for (const GridRow* g : std::as_const(rows)) {
        bool ok = false;
        const qint64 quantity = (*g)[3].isEmpty() ? 0 : (*g)[3].toLongLong(&ok, 10);
        if (!(*g)[3].isEmpty() && !ok) {
            error = t::notAnInteger((*g)[3]);
            return failed();
        }
        int target = 1;
        while (!components.isBlank(target)
               && !(components.cell(target, 0) == (*g)[0] && components.cell(target, 1) == (*g)[1]))
            ++target;
        if (components.isBlank(target))
            takeEmptyRow(components, target);
        for (int c = 0; c < 3; ++c)
            components.setCell(target, c, (*g)[c]);
        if (!addToCell(components, target, 3, quantity, &error))
            return failed();
    }
    // 2.
    sortComponents(components);

    // 3. Kits, counted by designation and colour. The designation is the one
    // the entry keeps: what LIRL holds, typed or calculated.
    const QString designation = calc.lirlText().isEmpty() ? calc.KitDesignation : calc.lirlText();
    const QString ral = QString::number(calc.ral());
    int kitsRow = 1;
    while (!kits.cell(kitsRow, 0).isEmpty()
           && !(kits.cell(kitsRow, 0) == designation && kits.cell(kitsRow, 2) == ral))
        ++kitsRow;
    if (kits.cell(kitsRow, 0).isEmpty())
        takeEmptyRow(kits, kitsRow);
    kits.setCell(kitsRow, 0, designation);
    kits.setCell(kitsRow, 2, ral);
    if (!addToCell(kits, kitsRow, 1, calc.kolKomlektov(), &error))
        return failed();

    m_grids[0] = std::move(components);
    m_grids[1] = std::move(kits);
    gridsChanged();
    appendKitsRow();
    m_kitsRowEntries[kitsRow].append(EntryCount());

    // 4. The kit and its parts, always appended.
    OrderGrid& both = m_grids[2];
    int r = both.rowCount() - 1;
    both.appendRow();
    both.setCell(r, 0, designation);
    both.setCell(r, 1, t::kitRowName());
    both.setCell(r, 3, QString::number(calc.kolKomlektov()));
    both.setCell(r, 4, ral);
    for (const GridRow* g : std::as_const(rows)) {
        r = both.rowCount() - 1;
        both.appendRow();
        for (int c = 0; c < 4; ++c)
            both.setCell(r, c, (*g)[c]);
    }

    // 5. The entry, from the calculator's inputs as they are now.
    StoreEntry(EntryCount(), calc.orderEntry());
    m_lastCalculator = &calc;
    gridsRebuilt();
    // 6.-7.
    m_showPending = true;
    calc.FormActivate();
    return true;
}

void OrderModel::addStoredEntry(const TOrder& entry)
{
    const Batch batch(*this);
    const QString ral = QString::number(entry.Color);
    OrderGrid& kits = m_grids[1];
    int kitsRow = 1;
    while (!kits.cell(kitsRow, 0).isEmpty()
           && !(kits.cell(kitsRow, 0) == entry.Designation && kits.cell(kitsRow, 2) == ral))
        ++kitsRow;
    OrderGrid counted = kits;
    if (counted.cell(kitsRow, 0).isEmpty())
        takeEmptyRow(counted, kitsRow);
    counted.setCell(kitsRow, 0, entry.Designation);
    counted.setCell(kitsRow, 2, ral);
    QString error;
    if (addToCell(counted, kitsRow, 1, entry.Count, &error)) {
        kits = std::move(counted);
        appendKitsRow();
        m_kitsRowEntries[kitsRow].append(EntryCount());
    } else {
        dialogs().errorBox(error);
    }

    gridsChanged();
    OrderGrid& both = m_grids[2];
    const int r = both.rowCount() - 1;
    both.appendRow();
    both.setCell(r, 0, entry.Designation);
    both.setCell(r, 1, t::kitRowName());
    both.setCell(r, 3, QString::number(entry.Count));
    both.setCell(r, 4, ral);

    // Kept as it was stored, so that saving again loses nothing.
    StoreEntry(EntryCount(), entry);
    gridsRebuilt();
    m_showPending = true;
}

void OrderModel::ReplayEntry(const TOrder& entry)
{
    KitCalculator* calc = calculatorOf(entry);
    if (!calc)
        return;
    const Batch batch(*this);
    restoreEntry(entry, *calc);
    calc->RashetButtonClick();
    if (calc->lastCalculationFailed() || !addKit(*calc)) {
        addStoredEntry(entry);
        calc->FormActivate();
    }
}

bool OrderModel::addAllOrNone(const std::function<bool()>& add)
{
    const Batch batch(*this);
    const QVector<TOrder> entries = m_entries;
    const std::array<OrderGrid, 3> grids = m_grids;
    const QVector<QVector<int>> kitsRows = m_kitsRowEntries;
    const std::array<Cell, 3> current = m_current;
    KitCalculator* const last = m_lastCalculator;
    const int edited = m_editedEntry;
    const bool showPending = m_showPending;
    auto restore = [&] {
        m_entries = entries;
        m_grids = grids;
        m_kitsRowEntries = kitsRows;
        m_current = current;
        m_lastCalculator = last;
        m_editedEntry = edited;
        m_showPending = showPending;
        gridsChanged();
    };
    try {
        if (add())
            return true;
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return false;
}

void OrderModel::ReopenOrder(const QVector<TOrder>& kits)
{
    const Batch batch(*this);
    bt_clearClick();
    for (const TOrder& kit : kits)
        ReplayEntry(kit);
    setView(Kits);
    // As saved: nothing of it is lost by opening another one. Its number is
    // set by the caller that reopened it as itself (not as a copy).
    m_savedNumber.reset();
    m_savedEntries = m_entries;
}

std::optional<qint32> OrderModel::savedNumber() const
{
    if (m_savedNumber && m_entries == m_savedEntries)
        return m_savedNumber;
    return std::nullopt;
}

void OrderModel::markSaved(qint32 number)
{
    m_savedNumber = number;
    m_savedEntries = m_entries;
}

void OrderModel::resetGrids()
{
    for (OrderGrid& g : m_grids)
        g.reset();
    m_kitsRowEntries = QVector<QVector<int>>(2);
    for (Cell& c : m_current)
        c.row = 1;
    gridsChanged();
}

void OrderModel::closeEdit()
{
    // Entries move or go away: a later "Сохранить изменения" must not write
    // over another kit.
    m_editedEntry = -1;
    for (KitCalculator* c : {static_cast<KitCalculator*>(m_turn), static_cast<KitCalculator*>(m_tiltTurn),
                             static_cast<KitCalculator*>(m_tilt)})
        if (c)
            c->setSaveChangesVisible(false);
    touch();
}

void OrderModel::gridsRebuilt()
{
    // Typed values are gone with the rebuild; the views can be switched again.
    m_viewButtonsEnabled = true;
    m_editableView = 0;
    for (size_t v = 0; v < m_grids.size(); ++v)
        m_current[v].row = std::min(m_current[v].row, m_grids[v].rowCount() - 1);
    touch();
}

void OrderModel::ReplayOrder()
{
    const Batch batch(*this);
    closeEdit();
    resetGrids();
    const QVector<TOrder> taken = std::exchange(m_entries, {});
    for (const TOrder& e : taken)
        ReplayEntry(e);
    gridsRebuilt();
}

// ---------------------------------------------------------------- a person's actions

bool OrderModel::RadioButtonClick(View v)
{
    if (!m_viewButtonsEnabled)
        return false;
    setView(v);
    return true;
}

bool OrderModel::StringGrid2DblClick()
{
    const QVector<int> behind = entriesOfKitsRow(currentRow(Kits));
    if (behind.isEmpty())
        return false;
    const int index = behind.first();
    const TOrder entry = m_entries.at(index);
    KitCalculator* calc = calculatorOf(entry);
    if (!calc)
        return false;
    const Batch batch(*this);
    m_editedEntry = index;
    restoreEntry(entry, *calc);
    // One entry is open for editing at a time.
    for (KitCalculator* other : {static_cast<KitCalculator*>(m_turn), static_cast<KitCalculator*>(m_tiltTurn),
                                 static_cast<KitCalculator*>(m_tilt)})
        if (other && other != calc)
            other->setSaveChangesVisible(false);
    calc->setSaveChangesVisible(true);
    emit calculatorShowRequested(calc);
    calc->RashetButtonClick();
    touch();
    return true;
}

bool OrderModel::spbt_editClick()
{
    if (m_entries.isEmpty())
        return false;
    m_viewButtonsEnabled = false;
    m_editableView = m_view;
    m_current[size_t(m_view) - 1].column = quantityColumn(m_view);
    touch();
    return true;
}

bool OrderModel::spbt_deleteClick()
{
    if (m_entries.isEmpty())
        return false;
    // A row can stand for several entries of the same kit and colour: the
    // one added last goes.
    const QVector<int> behind = entriesOfKitsRow(currentRow(Kits));
    if (behind.isEmpty())
        return false;
    const Batch batch(*this);
    m_viewButtonsEnabled = false;
    m_entries.removeAt(behind.last());
    ReplayOrder();
    return true;
}

bool OrderModel::typeIntoGrid(View v, int row, int column, const QString& text)
{
    if (v != m_editableView)
        return false;
    OrderGrid& g = m_grids[size_t(v) - 1];
    if (row < 1 || row >= g.rowCount() || column < 0 || column >= g.columnCount())
        return false;
    if (g.cell(row, column) != text) {
        g.setCell(row, column, text);
        gridsChanged();
    }
    return true;
}

void OrderModel::setOrderTable(std::function<db::Table&()> open)
{
    m_openTable = std::move(open);
}

bool OrderModel::bt_saveClick()
{
    if (m_description.isEmpty()) {
        dialogs().errorBox(t::noDescription());
        return false;
    }
    if (m_entries.isEmpty()) {
        dialogs().errorBox(t::nothingToSave());
        return false;
    }
    db::Table& table = m_openTable ? m_openTable() : db::Table::open(orders::tableFile());
    markSaved(orders::SaveOrder(table, m_description, m_entries, {m_customerId, m_total ? m_total() : std::nullopt}));
    emit saved();
    return true;
}

void OrderModel::bt_clearClick()
{
    const Batch batch(*this);
    closeEdit();
    resetGrids();
    m_entries.clear();
    gridsRebuilt();
}

// ---------------------------------------------------------------- questions before a loss

QString OrderModel::viewButtonsHint() const
{
    return m_viewButtonsEnabled ? QString() : t::viewsOffWhileTyping();
}

bool OrderModel::unsaved() const
{
    return !m_entries.isEmpty() && m_entries != m_savedEntries;
}

QString OrderModel::clearQuestion() const
{
    return m_entries.isEmpty() ? QString() : t::askClear(EntryCount(), unsaved());
}

QString OrderModel::deleteQuestion() const
{
    const QVector<int> behind = entriesOfKitsRow(currentRow(Kits));
    if (behind.isEmpty() || behind.last() >= EntryCount())
        return {};
    const TOrder& e = m_entries.at(behind.last());
    return t::askDelete(e.Designation, e.Count, e.Color);
}

QString OrderModel::openOtherQuestion() const
{
    return unsaved() ? t::askOpenOther(EntryCount()) : QString();
}

QString OrderModel::quitQuestion() const
{
    return unsaved() ? t::askQuit(EntryCount()) : QString();
}

} // namespace lir
