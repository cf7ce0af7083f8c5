#include "core/prices/pricelayout.h"

#include "core/base/error.h"
#include "core/prices/pricetable.h"
#include "core/prices/pricetexts.h"

namespace lir::prices {

void checkPriceTableLayout(const db::Table& table)
{
    QStringList held;
    for (const QString& f : table.fieldNames())
        held << f.toCaseFolded();
    QStringList lacking;
    for (const db::FieldDef& f : tableFields())
        if (!held.contains(f.name.toCaseFolded()))
            lacking << f.name;
    if (!lacking.isEmpty())
        throw Error(pricetexts::notAPriceTable(table.location(), lacking, table.fieldNames()));
}

} // namespace lir::prices
