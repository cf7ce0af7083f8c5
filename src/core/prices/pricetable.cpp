#include "core/prices/pricetable.h"

#include "core/base/error.h"
#include "core/db/storesettings.h"
#include "core/prices/pricelog.h"
#include "core/prices/pricetexts.h"

#include <cmath>

namespace lir {

PriceResult LookupPrice(const QString& designation)
{
    db::Table* t = prices::openTable();
    if (!t)
        throw Error(pricetexts::tableNotOpen(db::shownTable(prices::tableFile())));
    PriceResult r;
    // An exact locate is served by the index on the designation; a pending
    // edit in the editor is written first.
    r.found = t->locate(prices::fieldDesignation(), designation, db::Table::Exact);
    if (r.found)
        r.price = t->number(prices::fieldPrice());
    // A price written into the file by other means than the editor: no sheet
    // shows it as "inf" or prices a kit at a negative sum.
    if (r.price) {
        if (const QString problem = prices::priceProblem(*r.price); !problem.isEmpty())
            throw Error(pricetexts::badStoredPrice(prices::tableFile(), designation, problem));
    }
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
    return db::Table::isOpen(tableFile()) ? &open() : nullptr;
}

db::Table& open()
{
    db::Table& t = db::Table::open(tableFile());
    t.setNumberCheck(fieldPrice(), priceProblem);
    installChangeLog(t);
    return t;
}

QString priceProblem(double price)
{
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
