#pragma once

#include "prices/pricelookup.h"

#include <QString>

namespace lir {

// The price lookup of the sheets: the first row of the price table, in table
// order, whose designation equals `designation` exactly (whole value,
// case-sensitive). A found row becomes the table's current row, so an open
// price editor shows it selected; not found leaves the row where it was.
// Throws lir::Error when the price table is not open.
PriceResult LookupPrice(const QString& designation);

} // namespace lir
