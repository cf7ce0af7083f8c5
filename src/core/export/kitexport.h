#pragma once

#include "core/calc/kitcalculator.h"
#include "core/prices/pricelookup.h"

namespace lir {

// "EXCEL" of a calculator window: the kit sheet of the Last calculation as a
// workbook in the spreadsheet application when one is present, otherwise as
// an HTML file chosen in a save dialog. Exactly one form is produced.
// When an input changed since the last successful calculation, calculates
// first and writes nothing when that fails. Failures throw lir::Error.
void ExportButtonClick(KitCalculator& calc, const PriceLookup& prices);

} // namespace lir
