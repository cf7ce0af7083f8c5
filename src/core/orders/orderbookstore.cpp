#include "core/orders/orderbookstore.h"

#include "core/base/environment.h"
#include "core/base/error.h"
#include "core/db/storage.h"
#include "core/orders/orderbooktexts.h"
#include "core/orders/ordertexts.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace lir::orderbook {

namespace t = orderbooktexts;

namespace {

const QString timeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The same statements make the tables in a file and on a server: both take
// these types as they stand.
const QString createCustomers = QStringLiteral(
    R"(CREATE TABLE IF NOT EXISTS customers ("id" INTEGER PRIMARY KEY, "name" VARCHAR(200) NOT NULL,)"
    R"( "contact" VARCHAR(200), "phone" VARCHAR(50), "email" VARCHAR(200), "address" VARCHAR(500),)"
    R"( "inn" VARCHAR(12), "note" VARCHAR(2000), "markup" INTEGER NOT NULL DEFAULT 0,)"
    R"( "hidden" INTEGER NOT NULL DEFAULT 0, "version" INTEGER NOT NULL DEFAULT 1))");
const QString createDetails = QStringLiteral(
    R"(CREATE TABLE IF NOT EXISTS order_details ("order_id" INTEGER PRIMARY KEY, "customer_id" INTEGER,)"
    R"( "status" VARCHAR(30) NOT NULL, "created" VARCHAR(19), "changed" VARCHAR(19), "login" VARCHAR(100),)"
    R"( "total" DOUBLE PRECISION, "note" VARCHAR(2000), "archived" INTEGER NOT NULL DEFAULT 0,)"
    R"( "version" INTEGER NOT NULL DEFAULT 1))");
const QString createDetailsIndex =
    QStringLiteral(R"(CREATE INDEX IF NOT EXISTS order_details_customer ON order_details ("customer_id"))");

const QString customerColumns = QStringLiteral(
    R"("id", "name", "contact", "phone", "email", "address", "inn", "note", "markup", "hidden", "version")");

const QString ordersWithDetails = QStringLiteral(
    R"(select z."Id", z."Name", d."customer_id", d."status", d."created", d."changed", d."login", d."total",)"
    R"( d."note", d."archived", d."version", c."name" from zakaz z)"
    R"( left join order_details d on d."order_id" = z."Id" left join customers c on c."id" = d."customer_id")"
    R"( where z."Parentid" = 0)");
const QString ordersBare = QStringLiteral(R"(select z."Id", z."Name" from zakaz z where z."Parentid" = 0)");

qint64 integer(const QVariant& v)
{
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    return ok ? n : 0;
}

QVariant nullable(const QString& s)
{
    return s.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(s);
}

QVariant nullableId(qint32 id)
{
    return id ? QVariant(id) : QVariant(QMetaType::fromType<int>());
}

Customer customerFrom(const QVector<QVariant>& r)
{
    Customer c;
    c.id = qint32(integer(r.at(0)));
    c.name = r.at(1).toString();
    c.contact = r.at(2).toString();
    c.phone = r.at(3).toString();
    c.email = r.at(4).toString();
    c.address = r.at(5).toString();
    c.inn = r.at(6).toString();
    c.note = r.at(7).toString();
    c.markup = int(integer(r.at(8)));
    c.hidden = integer(r.at(9)) != 0;
    c.version = qint32(integer(r.at(10)));
    return c;
}

BookOrder orderFrom(const db::QueryRow& r, bool withDetails)
{
    BookOrder o;
    o.id = qint32(r.integer(0));
    o.name = r.text(1);
    if (!withDetails || r.isNull(10))
        return o;
    OrderDetails& d = o.details;
    d.customerId = qint32(r.integer(2));
    d.status = r.text(3);
    d.created = r.text(4);
    d.changed = r.text(5);
    d.login = r.text(6);
    if (!r.isNull(7))
        d.total = r.real(7);
    d.note = r.text(8);
    d.archived = r.integer(9) != 0;
    d.version = qint32(r.integer(10));
    o.customerName = r.text(11);
    return o;
}

bool tableExists(db::Table& zakaz, const QString& name)
{
    const auto rows =
        zakaz.onServer()
            ? zakaz.query(QStringLiteral("SELECT count(*) FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n"
                                         " ON n.oid = c.relnamespace WHERE c.relname = ?"
                                         " AND n.nspname = current_schema() AND c.relkind IN ('r', 'p')"),
                          {name})
            : zakaz.query(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?"),
                          {name});
    return !rows.isEmpty() && integer(rows.first().at(0)) > 0;
}

void refuseIf(const QString& message)
{
    if (!message.isEmpty())
        throw Error(message);
}

std::optional<qint32> rowVersion(db::Table& zakaz, const QString& sql, qint32 id)
{
    const auto rows = zakaz.query(sql, {id});
    if (rows.isEmpty())
        return std::nullopt;
    return qint32(integer(rows.first().at(0)));
}

// Inside a transaction: the customer's version as it is now, which must be
// the one read; refused when the customer is gone or a colleague changed it.
qint32 checkCustomerAsRead(db::Table& zakaz, const Customer& asRead)
{
    const auto version = rowVersion(zakaz, QStringLiteral(R"(select "version" from customers where "id" = ?)"), asRead.id);
    if (!version)
        throw Error(t::noSuchCustomer(asRead.id));
    if (*version != asRead.version)
        throw Error(t::customerChangedByOthers(asRead.name));
    return *version;
}

} // namespace

// ---------------------------------------------------------------- checks

QString checkText(const QString& field, const QString& text, int size)
{
    if (text.size() > size)
        return t::textTooLong(field, size);
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            return t::controlCharacters(field);
    return {};
}

std::optional<int> parseMarkup(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < MarkupMin)
        return std::nullopt;
    return n;
}

QString checkCustomer(const Customer& c)
{
    if (c.name.trimmed().isEmpty())
        return t::noCustomerName();
    const std::pair<QString, std::pair<const QString*, int>> texts[] = {
        {t::fieldName(), {&c.name, NameSize}},       {t::fieldContact(), {&c.contact, ContactSize}},
        {t::fieldPhone(), {&c.phone, PhoneSize}},    {t::fieldEmail(), {&c.email, EmailSize}},
        {t::fieldAddress(), {&c.address, AddressSize}}, {t::fieldInn(), {&c.inn, 12}},
        {t::fieldNote(), {&c.note, NoteSize}},
    };
    for (const auto& [field, value] : texts)
        if (QString m = checkText(field, *value.first, value.second); !m.isEmpty())
            return m;
    static const QRegularExpression inn(QStringLiteral("^(\\d{10}|\\d{12})$"));
    if (!c.inn.isEmpty() && !inn.match(c.inn).hasMatch())
        return t::badInn();
    if (c.markup < MarkupMin)
        return t::badMarkup(QString::number(c.markup));
    return {};
}

QString checkChange(const OrderChange& change)
{
    if (change.status && !t::statuses().contains(*change.status))
        return t::badStatus(*change.status);
    if (change.note)
        if (QString m = checkText(t::fieldNote(), *change.note, NoteSize); !m.isEmpty())
            return m;
    if (change.description) {
        if (change.description->trimmed().isEmpty())
            return ordertexts::noDescription();
        if (change.description->size() > DescriptionSize)
            return t::descriptionTooLong(DescriptionSize);
        if (QString m = checkText(t::colDescription(), *change.description, DescriptionSize); !m.isEmpty())
            return m;
    }
    return {};
}

QDate parseDate(const QString& text)
{
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (!shape.match(text).hasMatch())
        return {};
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

QString stamp(const QDateTime& t)
{
    return t.isValid() ? t.toString(timeFormat) : QString();
}

// ---------------------------------------------------------------- tables

bool tablesExist(db::Table& zakaz)
{
    return tableExists(zakaz, customersTable()) && tableExists(zakaz, detailsTable());
}

void ensureTables(db::Table& zakaz)
{
    if (zakaz.onServer()) {
        // Two first writes at once: one creates, the other finds them made.
        zakaz.query(QStringLiteral("SELECT pg_advisory_xact_lock(67416742)"));
    }
    if (tablesExist(zakaz))
        return;
    zakaz.query(createCustomers);
    zakaz.query(createDetails);
    zakaz.query(createDetailsIndex);
}

// ---------------------------------------------------------------- customers

QVector<Customer> readCustomers(db::Table& zakaz)
{
    QVector<Customer> list;
    if (!tablesExist(zakaz))
        return list;
    const auto rows = zakaz.query(QStringLiteral("select ") + customerColumns + QStringLiteral(" from customers"));
    list.reserve(rows.size());
    for (const auto& r : rows)
        list.push_back(customerFrom(r));
    // By name as a person reads it, whatever the server's collation.
    std::stable_sort(list.begin(), list.end(), [](const Customer& a, const Customer& b) {
        const int c = QString::compare(a.name, b.name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.id < b.id;
    });
    return list;
}

std::optional<Customer> readCustomer(db::Table& zakaz, qint32 id)
{
    if (!tablesExist(zakaz))
        return std::nullopt;
    const auto rows = zakaz.query(
        QStringLiteral("select ") + customerColumns + QStringLiteral(R"( from customers where "id" = ?)"), {id});
    if (rows.isEmpty())
        return std::nullopt;
    return customerFrom(rows.first());
}

Customer addCustomer(db::Table& zakaz, const Customer& c)
{
    refuseIf(checkCustomer(c));
    db::Transaction tx(zakaz);
    ensureTables(zakaz);
    const auto rows = zakaz.query(QStringLiteral(R"(select max("id") from customers)"));
    const qint64 id = rows.isEmpty() ? 1 : integer(rows.first().at(0)) + 1;
    if (id > std::numeric_limits<qint32>::max())
        throw Error(t::customersFailed(zakaz.location()));
    zakaz.query(QStringLiteral("insert into customers (") + customerColumns +
                    QStringLiteral(") values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1)"),
                {id, c.name.trimmed(), nullable(c.contact), nullable(c.phone), nullable(c.email), nullable(c.address),
                 nullable(c.inn), nullable(c.note), c.markup, c.hidden ? 1 : 0});
    tx.done();
    Customer written = c;
    written.id = qint32(id);
    written.name = c.name.trimmed();
    written.version = 1;
    return written;
}

Customer editCustomer(db::Table& zakaz, const Customer& asRead, const Customer& changed)
{
    refuseIf(checkCustomer(changed));
    db::Transaction tx(zakaz);
    ensureTables(zakaz);
    const qint32 version = checkCustomerAsRead(zakaz, asRead);
    zakaz.query(QStringLiteral(R"(update customers set "name" = ?, "contact" = ?, "phone" = ?, "email" = ?,)"
                               R"( "address" = ?, "inn" = ?, "note" = ?, "markup" = ?, "hidden" = ?,)"
                               R"( "version" = "version" + 1 where "id" = ?)"),
                {changed.name.trimmed(), nullable(changed.contact), nullable(changed.phone), nullable(changed.email),
                 nullable(changed.address), nullable(changed.inn), nullable(changed.note), changed.markup,
                 changed.hidden ? 1 : 0, asRead.id});
    tx.done();
    Customer written = changed;
    written.id = asRead.id;
    written.name = changed.name.trimmed();
    written.version = version + 1;
    return written;
}

bool customerHasOrders(db::Table& zakaz, qint32 id)
{
    if (!tablesExist(zakaz))
        return false;
    const auto rows =
        zakaz.query(QStringLiteral(R"(select count(*) from order_details where "customer_id" = ?)"), {id});
    return !rows.isEmpty() && integer(rows.first().at(0)) > 0;
}

void deleteCustomer(db::Table& zakaz, const Customer& asRead)
{
    db::Transaction tx(zakaz);
    ensureTables(zakaz);
    checkCustomerAsRead(zakaz, asRead);
    if (customerHasOrders(zakaz, asRead.id))
        throw Error(t::customerHasOrders(asRead.name));
    zakaz.query(QStringLiteral(R"(delete from customers where "id" = ?)"), {asRead.id});
    tx.done();
}

// ---------------------------------------------------------------- order details

QVector<BookOrder> readOrders(db::Table& zakaz)
{
    const bool withDetails = tablesExist(zakaz);
    QVector<BookOrder> list;
    zakaz.queryEach((withDetails ? ordersWithDetails : ordersBare) + QStringLiteral(R"( order by z."Id")"), {},
                    [&](const db::QueryRow& r) { list.push_back(orderFrom(r, withDetails)); });
    return list;
}

std::optional<BookOrder> readOrder(db::Table& zakaz, qint32 id)
{
    const bool withDetails = tablesExist(zakaz);
    std::optional<BookOrder> order;
    zakaz.queryEach(
        (withDetails ? ordersWithDetails : ordersBare) + QStringLiteral(R"( and z."Id" = ? order by z."Id" limit 1)"),
        {id}, [&](const db::QueryRow& r) { order = orderFrom(r, withDetails); });
    return order;
}

QHash<qint32, QString> readKitDesignations(db::Table& zakaz)
{
    QHash<qint32, QString> kits;
    if (zakaz.onServer()) {
        // Joined by the server, one row an order: a sixth of the rows to carry.
        zakaz.queryEach(QStringLiteral(R"(select "Parentid", string_agg(coalesce("Designation", ''), E'\n'))"
                                       R"( from zakaz where "Parentid" <> 0 group by "Parentid")"),
                        {}, [&](const db::QueryRow& r) { kits.insert(qint32(r.integer(0)), r.text(1)); });
        return kits;
    }
    // In the file the rows are read as they lie: grouping them there sorts
    // them all first, which costs more than joining them here. An order's
    // kits lie together, so the order found last is most often the next one's.
    qint32 last = 0;
    QString* lastKits = nullptr;
    zakaz.queryEach(QStringLiteral(R"(select "Parentid", "Designation" from zakaz where "Parentid" <> 0)"
                                   R"( order by rowid)"),
                    {}, [&](const db::QueryRow& r) {
                        const qint32 parent = qint32(r.integer(0));
                        if (!lastKits || parent != last) {
                            last = parent;
                            const auto it = kits.find(parent);
                            lastKits = it != kits.end() ? &*it : nullptr;
                            if (!lastKits) {
                                lastKits = &*kits.insert(parent, QString());
                                r.appendText(1, *lastKits);
                                return;
                            }
                        }
                        *lastKits += u'\n';
                        r.appendText(1, *lastKits);
                    });
    return kits;
}

void writeNewDetails(db::Table& zakaz, qint32 orderId, qint32 customerId, std::optional<double> total)
{
    ensureTables(zakaz);
    if (customerId && !readCustomer(zakaz, customerId))
        throw Error(t::noSuchCustomer(customerId));
    const QString now = stamp(environment().now());
    zakaz.writeBeside(QStringLiteral(R"(insert into order_details ("order_id", "customer_id", "status", "created",)"
                               R"( "changed", "login", "total", "note", "archived", "version"))"
                               R"( values (?, ?, ?, ?, ?, ?, ?, ?, 0, 1))"),
                {orderId, nullableId(customerId), t::statusCalculation(), now, now,
                 nullable(environment().loginName()),
                 total ? QVariant(*total) : QVariant(QMetaType::fromType<double>()), nullable(QString())});
}

void changeOrder(db::Table& zakaz, const BookOrder& asRead, const OrderChange& change)
{
    refuseIf(checkChange(change));
    db::Transaction tx(zakaz);
    ensureTables(zakaz);
    const auto header =
        zakaz.query(QStringLiteral(R"(select "Name" from zakaz where "Id" = ? and "Parentid" = 0 order by rowid)"),
                    {asRead.id});
    if (header.isEmpty())
        throw Error(t::noSuchOrder(asRead.id));
    const qint32 version =
        rowVersion(zakaz, QStringLiteral(R"(select "version" from order_details where "order_id" = ?)"), asRead.id)
            .value_or(0);
    if (version != asRead.details.version || header.first().at(0).toString() != asRead.name)
        throw Error(t::orderChangedByOthers(asRead.id));
    if (change.customerId && *change.customerId && !readCustomer(zakaz, *change.customerId))
        throw Error(t::noSuchCustomer(*change.customerId));

    const OrderDetails& d = asRead.details;
    const QString status = change.status.value_or(version ? d.status : t::statusCalculation());
    const qint32 customer = change.customerId.value_or(d.customerId);
    const QString note = change.note.value_or(d.note);
    const bool archived = change.archived.value_or(d.archived);
    const QString now = stamp(environment().now());
    if (version == 0) {
        // An order of an older version gets its details with its first change;
        // when it was made is not known.
        zakaz.writeBeside(QStringLiteral(R"(insert into order_details ("order_id", "customer_id", "status", "created",)"
                                   R"( "changed", "login", "total", "note", "archived", "version"))"
                                   R"( values (?, ?, ?, ?, ?, ?, ?, ?, ?, 1))"),
                    {asRead.id, nullableId(customer), status, nullable(QString()), now, nullable(QString()),
                     QVariant(QMetaType::fromType<double>()), nullable(note), archived ? 1 : 0});
    } else {
        zakaz.query(QStringLiteral(R"(update order_details set "customer_id" = ?, "status" = ?, "changed" = ?,)"
                                   R"( "note" = ?, "archived" = ?, "version" = "version" + 1 where "order_id" = ?)"),
                    {nullableId(customer), status, now, nullable(note), archived ? 1 : 0, asRead.id});
    }
    if (change.description && *change.description != asRead.name)
        zakaz.query(QStringLiteral(R"(update zakaz set "Name" = ? where "Id" = ? and "Parentid" = 0)"),
                    {*change.description, asRead.id});
    tx.done();
}

} // namespace lir::orderbook
