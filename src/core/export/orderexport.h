#pragma once

#include "core/orders/ordermodel.h"
#include "core/prices/pricelookup.h"

namespace lir {

// "EXCEL" of the summation window: the shown view of the order with the
// markup of Edit1, as a workbook in the spreadsheet application when one is
// present, otherwise as an HTML file chosen in a save dialog. A markup that
// is no whole number stops it before anything is asked or written.
// Failures throw lir::Error.
void ExportButtonClick(const OrderModel& order, const PriceLookup& prices);

} // namespace lir
