#pragma once

#include "core/export/kitsheet.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

namespace lir {

// The kit sheet as an HTML document in the dialect that spreadsheet programs
// open as a worksheet: Windows-1251, CR LF line ends. Every line is priced
// through `prices`.
QByteArray kitSheetHtml(const KitSheet& sheet, const PriceLookup& prices, const QLocale& locale);

// Writes the document to `path`; the file is complete or not there at all.
// Throws lir::Error naming the file.
void writeKitSheetHtml(const QString& path, const KitSheet& sheet, const PriceLookup& prices,
                       const QLocale& locale);

} // namespace lir
