#pragma once

#include <QLocale>

namespace lir::cli {

// The locale of numbers in the sheets, as the C library would choose it from
// LC_ALL, LC_NUMERIC or LANG.
QLocale sheetLocale();

} // namespace lir::cli
