#pragma once

#include <QByteArray>
#include <QJsonObject>

namespace lir::cli {

class OrderCommands;

// The order book's lines: {"customer": ...} (add, list, edit), the current
// order's customer ({"order":"customer"}), and the history's search, set,
// copy and archive. Every value is checked before anything is written; a
// refused one answers {"error"} with the same Russian message the windows
// show, and nothing is written.
class BookCommands
{
public:
    explicit BookCommands(OrderCommands& orders) : m_orders(orders) {}

    QByteArray processCustomerLine(const QJsonObject& in);
    // {"order":"customer","id":N}: N a customer's id, 0 for none.
    QByteArray processOrderCustomer(const QJsonObject& in);
    // "search", "set", "copy", "archive".
    static bool isBookHistoryCommand(const QString& command);
    QByteArray processHistoryLine(const QJsonObject& in);

private:
    OrderCommands& m_orders;
};

} // namespace lir::cli
