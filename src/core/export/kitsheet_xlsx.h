#pragma once

#include "core/export/kitsheet.h"

#include <QLocale>
#include <QString>

namespace lir {

// The kit sheet as a workbook with one worksheet "Лист1": header items, the
// kit lines with their prices, the screw rows and the totals as formulas.
// Throws lir::Error naming the file when it cannot be written.
void writeKitSheetXlsx(const QString& path, const KitSheet& sheet, const PriceLookup& prices,
                       const QLocale& locale);

} // namespace lir
