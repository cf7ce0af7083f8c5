#include "core/prices/pricetable.h"

#include "core/base/error.h"
#include "core/prices/pricetexts.h"

namespace lir {

PriceResult LookupPrice(const QString& designation)
{
    db::Table* t = prices::openTable();
    if (!t)
        throw Error(pricetexts::tableNotOpen(prices::tableFile()));
    PriceResult r;
    // An exact locate is served by the index on the designation; a pending
    // edit in the editor is written first.
    r.found = t->locate(prices::fieldDesignation(), designation, db::Table::Exact);
    if (r.found)
        r.price = t->number(prices::fieldPrice());
    return r;
}

} // namespace lir

namespace lir::prices {

QVector<db::FieldDef> tableFields()
{
    using Type = db::FieldDef::Type;
    return {{fieldDesignation(), Type::Text, DesignationSize, true},
            {fieldName(), Type::Text, NameSize, false},
            {fieldPrice(), Type::Double, 0, false}};
}

db::Table* openTable()
{
    return db::Table::isOpen(tableFile()) ? &db::Table::open(tableFile()) : nullptr;
}

} // namespace lir::prices
