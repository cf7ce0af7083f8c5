#pragma once

#include "core/orders/ordertable.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace lir::db {
class Table;
}

// The order book's own tables beside the order table zakaz, in the same file
// (zakaz.db) or on the same server, so that saving an order and its details
// is one transaction: `customers`, and `order_details` keyed by the order's
// header `Id`. zakaz keeps its layout and rows; both tables are created when
// missing, inside the transaction of the write that first needs them. Every
// write runs in a transaction of the order table, which locks it against the
// other copies of the program. Each function throws lir::Error with a Russian
// message, for bad input as for a failing table; nothing is then written.
namespace lir::orderbook {

inline QString customersTable() { return QStringLiteral("customers"); }
inline QString detailsTable() { return QStringLiteral("order_details"); }

// Longest texts, in characters.
constexpr int NameSize = 200;
constexpr int ContactSize = 200;
constexpr int PhoneSize = 50;
constexpr int EmailSize = 200;
constexpr int AddressSize = 500;
constexpr int NoteSize = 2000;
constexpr int DescriptionSize = orders::NameSize; // the Name of zakaz
constexpr int MarkupMin = -100;

struct Customer
{
    qint32 id = 0;
    QString name;
    QString contact;
    QString phone;
    QString email;
    QString address;
    QString inn;
    QString note;
    int markup = 0; // default markup, whole percent
    bool hidden = false;
    qint32 version = 0; // goes up with every write; 0 before the first

    bool operator==(const Customer&) const = default;
};

// An order's details; version 0: the order has none (saved by an older
// version of the program, or by another tool).
struct OrderDetails
{
    qint32 customerId = 0; // 0: none
    QString status;
    // Local times as written, "yyyy-MM-dd HH:mm:ss", so that the text sorts as
    // the time does and a long list is read without parsing; empty: unknown.
    QString created;
    QString changed;
    QString login;
    std::optional<double> total;
    QString note;
    bool archived = false;
    qint32 version = 0;

    bool operator==(const OrderDetails&) const = default;
};

// One saved order as the order book lists it.
struct BookOrder
{
    qint32 id = 0;   // the header row's Id
    QString name;    // its Name: the description
    OrderDetails details;
    QString customerName; // empty without a customer

    bool hasDetails() const { return details.version > 0; }
    bool operator==(const BookOrder&) const = default;
};

// What a person changes of a saved order; what is not set stays.
struct OrderChange
{
    std::optional<QString> status;
    std::optional<qint32> customerId; // 0: none
    std::optional<QString> note;
    std::optional<QString> description;
    std::optional<bool> archived;
};

// ---------------------------------------------------------------- checks
// The message that refuses the text, or empty: too long, or holding a
// control character.
QString checkText(const QString& field, const QString& text, int size);
// A markup as typed: a whole number of percent, not below -100.
std::optional<int> parseMarkup(const QString& text);
// The message that refuses the customer, or empty.
QString checkCustomer(const Customer& c);
// The message that refuses the change, or empty (the status, the texts).
QString checkChange(const OrderChange& change);
// A date as YYYY-MM-DD that exists; invalid otherwise.
QDate parseDate(const QString& text);
// The stored form of a time.
QString stamp(const QDateTime& t);

// ---------------------------------------------------------------- tables
// Whether both tables are there.
bool tablesExist(db::Table& zakaz);
// Creates what is missing; inside a transaction of zakaz (on a server under
// the lock that serialises the creation of tables).
void ensureTables(db::Table& zakaz);

// ---------------------------------------------------------------- customers
// Every customer (hidden ones too), by name.
QVector<Customer> readCustomers(db::Table& zakaz);
std::optional<Customer> readCustomer(db::Table& zakaz, qint32 id);
// Adds the customer; returns it as written, with its id.
Customer addCustomer(db::Table& zakaz, const Customer& c);
// Writes `changed` over the customer as it was read (`asRead`): refused
// when another user changed it meanwhile. Returns it as written.
Customer editCustomer(db::Table& zakaz, const Customer& asRead, const Customer& changed);
bool customerHasOrders(db::Table& zakaz, qint32 id);
// Deletes a customer without orders; one with orders is refused (hide it).
void deleteCustomer(db::Table& zakaz, const Customer& asRead);

// ---------------------------------------------------------------- order details
// Every saved order with its details, by number.
QVector<BookOrder> readOrders(db::Table& zakaz);
std::optional<BookOrder> readOrder(db::Table& zakaz, qint32 id);
// The kit designations of every order, one a line, by the order's number.
QHash<qint32, QString> readKitDesignations(db::Table& zakaz);
// The details of an order being saved; inside SaveOrder's transaction.
void writeNewDetails(db::Table& zakaz, qint32 orderId, qint32 customerId, std::optional<double> total);
// Applies the change to the order as it was read: refused when another user
// changed the order meanwhile, or when it names no order or customer.
void changeOrder(db::Table& zakaz, const BookOrder& asRead, const OrderChange& change);

} // namespace lir::orderbook
