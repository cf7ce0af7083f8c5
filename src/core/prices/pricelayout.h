#pragma once

#include "core/db/storage.h"

namespace lir::prices {

// Whether a table can be read as the price table: it holds the designation,
// name and price fields (in any case, in any order, among others). Throws
// lir::Error naming the table and the fields it lacks.
void checkPriceTableLayout(const db::Table& table);

} // namespace lir::prices
