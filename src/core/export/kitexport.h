#pragma once

#include "core/calc/kitcalculator.h"
#include "core/prices/pricelookup.h"

namespace lir {

// "EXCEL" of a calculator window: the kit sheet of the Last calculation as a
// workbook in the spreadsheet application when one is present, otherwise as
// an HTML file chosen in a save dialog. Exactly one form is produced.
// Failures throw lir::Error.
void ExportButtonClick(const KitCalculator& calc, const PriceLookup& prices);

} // namespace lir
