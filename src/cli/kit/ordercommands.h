#pragma once

#include "cli/kit/bookcommands.h"
#include "core/base/workdirlock.h"
#include "core/orders/ordermodel.h"

#include <QByteArray>
#include <QJsonObject>

#include <functional>
#include <optional>

namespace lir::cli {

// The current order of the command-line calculator: one order over the three
// calculators of the run, driven as a person drives the summation window.
class OrderCommands
{
public:
    OrderCommands(TurnKit& turn, TiltTurnKit& tiltTurn, TiltKit& tilt);

    OrderModel& order() { return m_order; }
    // The customer and order-book lines.
    BookCommands& book() { return m_book; }

    // A line with "order" and without "calculator".
    static bool isOrderLine(const QJsonObject& in);
    // Answers one order line: {"ok", "messages", "order"}, or {"error"} for
    // a line that names an unknown command, key or value (nothing applied).
    QByteArray processOrderLine(const QJsonObject& in);
    // A line with "history" and without "calculator" or "order".
    static bool isHistoryLine(const QJsonObject& in);
    // Answers one history line: "list" with {"history": [{"Id","Name"}...]},
    // "kits" with {"kits": [{"Designation","Count","Color"}...]}, "open"
    // (the order replaces the current order) as an order line does. A line
    // that names no saved order is an {"error"} and changes nothing.
    QByteArray processHistoryLine(const QJsonObject& in);
    // The "order" object of an answer.
    QByteArray orderJson() const;

    // The two calculator keys, pressed after the calculation. False when the
    // button is hidden at that moment: nothing happens then.
    static bool pressSumButton(KitCalculator& calc);    // "add_to_order": "В ЗАКАЗ"
    static bool pressSaveChanges(KitCalculator& calc);  // "save_changes": "Сохранить изменения"

    // Makes this order the one the calculators hand their kits to, for as
    // long as the object lives.
    class Scope
    {
    public:
        explicit Scope(OrderCommands& c);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        OrderSink* m_previous;
    };

    // Runs f on the current order with the messages recorded, and answers
    // {"ok", "messages", "order"}.
    QByteArray runOnOrder(const std::function<bool()>& f);

private:
    // {"order":"import_batch","path":P[,"dry_run":true]}: the rows of a batch
    // file calculated, and unless a dry run, the calculated ones added.
    QByteArray importBatch(const QJsonObject& in);

    OrderModel m_order;
    BookCommands m_book{*this};
    std::optional<TableWriteLock> m_writeLock;
};

} // namespace lir::cli
