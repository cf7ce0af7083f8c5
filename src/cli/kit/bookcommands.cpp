#include "cli/kit/bookcommands.h"

#include "cli/kit/jsonwriter.h"
#include "cli/kit/ordercommands.h"

#include "core/base/error.h"
#include "core/base/workdirlock.h"
#include "core/db/storage.h"
#include "core/orders/orderbook.h"
#include "core/orders/orderbookstore.h"
#include "core/orders/orderbooktexts.h"
#include "core/orders/ordertable.h"

#include <QDir>
#include <QJsonArray>

#include <cmath>
#include <limits>
#include <optional>

namespace lir::cli {

namespace t = orderbooktexts;
using orderbook::BookOrder;
using orderbook::Customer;
using Writer = JsonObjectWriter;

namespace {

struct Invalid
{
    QString text;
};

const QStringList customerFields = {QStringLiteral("name"),    QStringLiteral("contact"), QStringLiteral("phone"),
                                    QStringLiteral("email"),   QStringLiteral("address"), QStringLiteral("inn"),
                                    QStringLiteral("note")};

void checkKeys(const QJsonObject& in, const QString& commandKey, const QString& command, const QStringList& allowed)
{
    for (auto it = in.begin(); it != in.end(); ++it)
        if (it.key() != commandKey && !allowed.contains(it.key()))
            throw Invalid{QStringLiteral("unknown key for %1 %2: %3").arg(commandKey, command, it.key())};
}

QString textOf(const QJsonObject& in, const QString& key)
{
    const QJsonValue v = in.value(key);
    if (!v.isString())
        throw Invalid{QStringLiteral("%1 must be a text").arg(key)};
    return v.toString();
}

bool boolOf(const QJsonObject& in, const QString& key)
{
    const QJsonValue v = in.value(key);
    if (!v.isBool())
        throw Invalid{QStringLiteral("%1 must be true or false").arg(key)};
    return v.toBool();
}

// An id: a whole number 1..2^31-1 (0 as well where it means none).
qint32 idOf(const QJsonObject& in, const QString& key, bool zeroAllowed = false)
{
    const QJsonValue v = in.value(key);
    const double d = v.toDouble();
    if (!v.isDouble() || !std::isfinite(d) || std::floor(d) != d || d < (zeroAllowed ? 0 : 1) ||
        d > std::numeric_limits<qint32>::max())
        throw Invalid{QStringLiteral("%1 must be a whole number from %2 to 2147483647").arg(key).arg(zeroAllowed ? 0 : 1)};
    return qint32(d);
}

int markupOf(const QJsonObject& in)
{
    const QJsonValue v = in.value(QStringLiteral("markup"));
    const double d = v.toDouble();
    if (!v.isDouble() || !std::isfinite(d) || std::floor(d) != d || d < orderbook::MarkupMin ||
        d > std::numeric_limits<int>::max())
        throw Invalid{t::badMarkup(v.isString() ? v.toString() : QString::fromUtf8(JsonObjectWriter::encode(v)))};
    return int(d);
}

QDate dateOf(const QJsonObject& in, const QString& key)
{
    const QString s = textOf(in, key);
    const QDate d = orderbook::parseDate(s);
    if (!d.isValid())
        throw Invalid{t::badDate(s)};
    return d;
}

QJsonValue orNull(const QString& s)
{
    return s.isEmpty() ? QJsonValue() : QJsonValue(s);
}

QByteArray customerJson(const Customer& c)
{
    return Writer()
        .add("id", c.id)
        .add("name", c.name)
        .add("contact", c.contact)
        .add("phone", c.phone)
        .add("email", c.email)
        .add("address", c.address)
        .add("inn", c.inn)
        .add("note", c.note)
        .add("markup", c.markup)
        .add("hidden", c.hidden)
        .json();
}

QByteArray orderJson(const BookOrder& o)
{
    const orderbook::OrderDetails& d = o.details;
    const bool has = o.hasDetails();
    return Writer()
        .add("Id", o.id)
        .add("Name", o.name)
        .add("customer", has && d.customerId ? QJsonValue(d.customerId) : QJsonValue())
        .add("customer_name", has ? orNull(o.customerName) : QJsonValue())
        .add("status", has ? QJsonValue(d.status) : QJsonValue())
        .add("created", orNull(d.created))
        .add("changed", orNull(d.changed))
        .add("login", orNull(d.login))
        .add("total", d.total ? QJsonValue(*d.total) : QJsonValue())
        .add("note", has ? QJsonValue(d.note) : QJsonValue())
        .add("archived", d.archived)
        .json();
}

// The order table of the current directory, when there is one: lines that
// read never create it.
db::Table* existingTable()
{
    if (!db::Table::exists(orders::tableFile()))
        return nullptr;
    return &db::Table::open(orders::tableFile());
}

} // namespace

QByteArray BookCommands::processCustomerLine(const QJsonObject& in)
{
    const QString command = in.value(QStringLiteral("customer")).toString();
    try {
        if (command == QLatin1String("list")) {
            checkKeys(in, QStringLiteral("customer"), command, {});
            QVector<Customer> list;
            if (db::Table* zakaz = existingTable())
                list = orderbook::readCustomers(*zakaz);
            QByteArray rows = "[";
            for (qsizetype i = 0; i < list.size(); ++i)
                rows += (i ? "," : "") + customerJson(list.at(i));
            return Writer().addRaw("customers", rows + ']').json();
        }
        if (command != QLatin1String("add") && command != QLatin1String("edit"))
            return errorLine(QStringLiteral("unknown customer command (expected \"add\", \"list\" or \"edit\")"));
        const bool add = command == QLatin1String("add");
        QStringList allowed = customerFields;
        allowed << QStringLiteral("markup") << QStringLiteral("hidden");
        if (!add)
            allowed << QStringLiteral("id");
        checkKeys(in, QStringLiteral("customer"), command, allowed);
        if (add && !in.contains(QStringLiteral("name")))
            throw Invalid{t::noCustomerName()};

        Customer c;
        std::optional<Customer> asRead;
        db::Table* zakaz = nullptr;
        if (!add) {
            if (!in.contains(QStringLiteral("id")))
                throw Invalid{QStringLiteral("customer edit needs id")};
            const qint32 id = idOf(in, QStringLiteral("id"));
            zakaz = existingTable();
            if (zakaz)
                asRead = orderbook::readCustomer(*zakaz, id);
            if (!asRead)
                throw Invalid{t::noSuchCustomer(id)};
            c = *asRead;
        }
        QString* fields[] = {&c.name, &c.contact, &c.phone, &c.email, &c.address, &c.inn, &c.note};
        for (int i = 0; i < customerFields.size(); ++i)
            if (in.contains(customerFields.at(i)))
                *fields[i] = textOf(in, customerFields.at(i));
        if (in.contains(QStringLiteral("markup")))
            c.markup = markupOf(in);
        if (in.contains(QStringLiteral("hidden")))
            c.hidden = boolOf(in, QStringLiteral("hidden"));
        if (const QString refusal = orderbook::checkCustomer(c); !refusal.isEmpty())
            throw Invalid{refusal};

        // Written under the directory's lock, as an order is saved.
        const TableWriteLock lock(QDir::currentPath());
        Customer written;
        if (add) {
            orders::CreateOrderTable();
            written = orderbook::addCustomer(db::Table::open(orders::tableFile()), c);
        } else {
            written = orderbook::editCustomer(*zakaz, *asRead, c);
        }
        return Writer().addRaw("customer", customerJson(written)).json();
    } catch (const Invalid& e) {
        return errorLine(e.text);
    } catch (const Error& e) {
        return errorLine(e.message());
    }
}

QByteArray BookCommands::processOrderCustomer(const QJsonObject& in)
{
    std::optional<Customer> chosen;
    try {
        checkKeys(in, QStringLiteral("order"), QStringLiteral("customer"), {QStringLiteral("id")});
        if (!in.contains(QStringLiteral("id")))
            throw Invalid{QStringLiteral("order customer needs id")};
        const qint32 id = idOf(in, QStringLiteral("id"), true);
        if (id) {
            if (db::Table* zakaz = existingTable())
                chosen = orderbook::readCustomer(*zakaz, id);
            if (!chosen)
                throw Invalid{t::noSuchCustomer(id)};
        }
    } catch (const Invalid& e) {
        return errorLine(e.text);
    } catch (const Error& e) {
        return errorLine(e.message());
    }
    return m_orders.runOnOrder([&] {
        m_orders.order().chooseCustomer(chosen ? &*chosen : nullptr);
        return true;
    });
}

bool BookCommands::isBookHistoryCommand(const QString& command)
{
    return command == QLatin1String("search") || command == QLatin1String("set") ||
           command == QLatin1String("copy") || command == QLatin1String("archive");
}

QByteArray BookCommands::processHistoryLine(const QJsonObject& in)
{
    const QString command = in.value(QStringLiteral("history")).toString();
    const QString key = QStringLiteral("history");
    try {
        db::Table* zakaz = existingTable();
        if (command == QLatin1String("search")) {
            checkKeys(in, key, command,
                      {QStringLiteral("text"), QStringLiteral("status"), QStringLiteral("customer"), QStringLiteral("from"),
                       QStringLiteral("to"), QStringLiteral("designation"), QStringLiteral("archived")});
            OrderFilter f;
            if (in.contains(QStringLiteral("text")))
                f.text = textOf(in, QStringLiteral("text"));
            if (in.contains(QStringLiteral("status"))) {
                f.status = textOf(in, QStringLiteral("status"));
                if (!t::statuses().contains(f.status))
                    throw Invalid{t::badStatus(f.status)};
            }
            if (in.contains(QStringLiteral("customer"))) {
                f.customerId = idOf(in, QStringLiteral("customer"));
                if (!zakaz || !orderbook::readCustomer(*zakaz, f.customerId))
                    throw Invalid{t::noSuchCustomer(f.customerId)};
            }
            if (in.contains(QStringLiteral("from")))
                f.from = dateOf(in, QStringLiteral("from"));
            if (in.contains(QStringLiteral("to")))
                f.to = dateOf(in, QStringLiteral("to"));
            if (in.contains(QStringLiteral("designation")))
                f.designation = textOf(in, QStringLiteral("designation"));
            if (in.contains(QStringLiteral("archived")))
                f.archived = boolOf(in, QStringLiteral("archived"));
            for (const QString* s : {&f.text, &f.designation})
                if (const QString m = orderbook::checkText(t::lblFilterText(), *s, orderbook::NoteSize); !m.isEmpty())
                    throw Invalid{m};

            QVector<BookOrder> all;
            QHash<qint32, QString> kits;
            if (zakaz) {
                all = orderbook::readOrders(*zakaz);
                if (!f.designation.trimmed().isEmpty())
                    kits = orderbook::readKitDesignations(*zakaz);
            }
            const QVector<int> shown = OrderBook::filterOrders(all, f, &kits);
            QByteArray rows = "[";
            for (qsizetype i = 0; i < shown.size(); ++i)
                rows += (i ? "," : "") + orderJson(all.at(shown.at(i)));
            return Writer().addRaw("orders", rows + ']').json();
        }

        QStringList allowed = {QStringLiteral("id")};
        if (command == QLatin1String("set"))
            allowed << QStringLiteral("status") << QStringLiteral("note") << QStringLiteral("description")
                    << QStringLiteral("customer");
        if (command == QLatin1String("archive"))
            allowed << QStringLiteral("archived");
        checkKeys(in, key, command, allowed);
        if (!in.contains(QStringLiteral("id")))
            throw Invalid{QStringLiteral("history %1 needs id").arg(command)};
        if (command == QLatin1String("archive") && !in.contains(QStringLiteral("archived")))
            throw Invalid{QStringLiteral("history archive needs archived")};
        const qint32 id = idOf(in, QStringLiteral("id"));
        std::optional<BookOrder> asRead;
        if (zakaz)
            asRead = orderbook::readOrder(*zakaz, id);
        if (!asRead)
            throw Invalid{t::noSuchOrder(id)};

        if (command == QLatin1String("copy")) {
            return m_orders.runOnOrder([&] {
                OrderBook book;
                book.setTableSource([zakaz]() -> db::Table& { return *zakaz; });
                return book.copyOrder(id, m_orders.order());
            });
        }
        orderbook::OrderChange change;
        if (command == QLatin1String("archive"))
            change.archived = boolOf(in, QStringLiteral("archived"));
        if (in.contains(QStringLiteral("status")))
            change.status = textOf(in, QStringLiteral("status"));
        if (in.contains(QStringLiteral("note")))
            change.note = textOf(in, QStringLiteral("note"));
        if (in.contains(QStringLiteral("description")))
            change.description = textOf(in, QStringLiteral("description"));
        if (in.contains(QStringLiteral("customer")))
            change.customerId = idOf(in, QStringLiteral("customer"), true);
        if (const QString refusal = orderbook::checkChange(change); !refusal.isEmpty())
            throw Invalid{refusal};
        const TableWriteLock lock(QDir::currentPath());
        orderbook::changeOrder(*zakaz, *asRead, change);
        return Writer().addRaw("saved_order", orderJson(*orderbook::readOrder(*zakaz, id))).json();
    } catch (const Invalid& e) {
        return errorLine(e.text);
    } catch (const Error& e) {
        return errorLine(e.message());
    }
}

} // namespace lir::cli
