#include "core/prices/pricetable.h"

#include "core/base/error.h"
#include "core/db/storagevalue.h"
#include "core/db/storesettings.h"
#include "core/prices/priceedit.h"
#include "core/prices/pricelog.h"
#include "core/prices/pricetexts.h"

#include <QHash>

#include <cmath>
#include <memory>

namespace lir {

namespace {

db::Table& pricedTable()
{
    db::Table* t = prices::openTable();
    if (!t)
        throw Error(pricetexts::tableNotOpen(db::shownTable(prices::tableFile())));
    // A price pending in the editor is written first, as the move would; a
    // refused one is named with its row, or no sheet could say what stops it.
    if (t->state() != db::Table::State::Browse) {
        const QString row = t->text(prices::fieldDesignation());
        const QString typed = t->value(prices::fieldPrice()).toString();
        try {
            prices::postPrice(*t);
        } catch (const Error& e) {
            throw Error(pricetexts::priceNotWritten(typed, row, e.message()));
        }
    }
    return *t;
}

// A price written into the file by other means than the editor: no sheet
// shows it as "inf" or prices a kit at a negative sum.
void checkStoredPrice(const QString& designation, const std::optional<double>& price)
{
    if (price) {
        if (const QString problem = prices::priceProblem(*price); !problem.isEmpty())
            throw Error(pricetexts::badStoredPrice(prices::tableFile(), designation, problem));
    }
}

// The price table in memory: each designation's first row in table order,
// with its price as stored (converted when it is looked up, so that a price
// that is no number stops only the sheets that use it).
struct PriceIndex
{
    struct Row
    {
        qint64 rowid = 0;
        QVariant price;
        // The price converted and checked when the table is read, so that a
        // lookup is the hash probe alone; a price that is no number or out of
        // range is left to the lookup, which names it as before.
        std::optional<double> number;
        bool checked = false;
    };
    QHash<QString, Row> rows;
    QString priceField; // as the table declares it, for the conversion error

    void read(db::Table& t)
    {
        rows.clear();
        QString designationField = prices::fieldDesignation();
        priceField = prices::fieldPrice();
        for (const QString& f : t.fieldNames()) {
            if (f.compare(designationField, Qt::CaseInsensitive) == 0)
                designationField = f;
            else if (f.compare(priceField, Qt::CaseInsensitive) == 0)
                priceField = f;
        }
        const auto all = t.query(QStringLiteral("SELECT rowid, ") + db::quoted(designationField) +
                                 QStringLiteral(", ") + db::quoted(priceField) + QStringLiteral(" FROM ") +
                                 db::quoted(t.tableName()) + QStringLiteral(" ORDER BY rowid"));
        rows.reserve(all.size());
        for (const auto& row : all) { // an empty designation is an empty key, as NULL is for locate
            Row r{row[0].toLongLong(), row[2], std::nullopt, false};
            try {
                r.number = db::storedNumber(r.price, priceField);
                r.checked = !r.number || prices::isPlausiblePrice(*r.number);
            } catch (const Error&) {
            }
            rows.insert(row[1].isValid() ? row[1].toString() : QString(), std::move(r));
        }
    }

    // The lookup's answer; `rowid` gets the row found.
    PriceResult price(const QString& designation, qint64* rowid) const
    {
        PriceResult r;
        const auto it = rows.constFind(designation);
        if (it == rows.cend())
            return r;
        r.found = true;
        if (it->checked) {
            r.price = it->number;
        } else {
            r.price = db::storedNumber(it->price, priceField);
            checkStoredPrice(designation, r.price);
        }
        *rowid = it->rowid;
        return r;
    }
};

// The index of the open price table, shared by the documents, read again
// only when the table's stamp has moved: another program's commit, or any
// write made in this one, as every write to the table goes through it.
struct SharedIndex
{
    PriceIndex index;
    std::optional<db::Table::Stamp> stamp;
};

SharedIndex& shared()
{
    static SharedIndex s;
    return s;
}

// The current prices: from memory, after one statement that tells whether
// the table changed. None where the store cannot tell.
const PriceIndex* currentIndex(db::Table& t)
{
    SharedIndex& s = shared();
    const std::optional<db::Table::Stamp> now = t.stamp();
    if (!now)
        return nullptr;
    if (s.stamp != now) {
        s.stamp.reset();
        s.index.read(t);
        s.stamp = now;
    }
    return &s.index;
}

} // namespace

PriceResult LookupPrice(const QString& designation)
{
    db::Table& t = pricedTable();
    PriceResult r;
    // An exact locate is served by the index on the designation; a pending
    // edit in the editor is written first. One lookup on its own is one
    // statement; a document prices its lines from memory (documentLookup).
    r.found = t.locate(prices::fieldDesignation(), designation, db::Table::Exact);
    if (r.found)
        r.price = t.number(prices::fieldPrice());
    checkStoredPrice(designation, r.price);
    return r;
}

} // namespace lir

namespace lir::prices {

namespace {

// One document's pricing: the prices as they are at its first lookup.
class DocumentPrices
{
public:
    ~DocumentPrices()
    {
        // Where LookupPrice would have left the table, read when the row is
        // next used (the editor shows it by its rowid alone); a failure here
        // changes no price and no sheet, and the editor keeps the row it shows.
        if (m_found == 0)
            return;
        try {
            if (db::Table* t = prices::openTable())
                t->moveToLater(m_found);
        } catch (const Error&) {
        }
    }

    PriceResult price(const QString& designation)
    {
        if (!m_index) {
            db::Table& t = pricedTable();
            t.writePending();
            m_index = currentIndex(t);
            if (!m_index) {
                // A server: its prices are read once for this document.
                m_own.read(t);
                m_index = &m_own;
            }
        }
        qint64 rowid = 0;
        const PriceResult r = m_index->price(designation, &rowid);
        if (r.found)
            m_found = rowid;
        return r;
    }

private:
    const PriceIndex* m_index = nullptr;
    PriceIndex m_own;
    qint64 m_found = 0;
};

} // namespace

PriceLookup documentLookup()
{
    auto prices = std::make_shared<DocumentPrices>();
    return [prices](const QString& designation) { return prices->price(designation); };
}

QVector<db::FieldDef> tableFields()
{
    using Type = db::FieldDef::Type;
    return {{fieldDesignation(), Type::Text, DesignationSize, true},
            {fieldName(), Type::Text, NameSize, false},
            {fieldPrice(), Type::Double, 0, false}};
}

db::Table* openTable()
{
    return db::Table::isOpen(tableFile()) ? &open() : nullptr;
}

db::Table& open()
{
    db::Table& t = db::Table::open(tableFile());
    t.setNumberCheck(fieldPrice(), priceProblem);
    installChangeLog(t);
    return t;
}

bool isPlausiblePrice(double price)
{
    return std::isfinite(price) && price >= 0 && price < PriceLimit;
}

QString priceProblem(double price)
{
    if (isPlausiblePrice(price))
        return {};
    const QString shown = QString::number(price, 'g', 15);
    if (!std::isfinite(price))
        return pricetexts::priceNotFinite(shown);
    if (price < 0)
        return pricetexts::priceNegative(shown);
    if (price >= PriceLimit)
        return pricetexts::priceTooLarge(shown);
    return {};
}

} // namespace lir::prices
