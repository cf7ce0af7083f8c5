#pragma once

#include <QString>

#include <functional>

namespace lir {

// The spreadsheet application that the sheets open their workbooks in.
// Replaceable in tests.
struct SpreadsheetApplication
{
    // The program that opens .xlsx workbooks, or empty when there is none.
    std::function<QString()> find;
    // Starts `program` on `file`, detached; throws lir::Error when it cannot start.
    std::function<void(const QString& program, const QString& file)> open;
};
SpreadsheetApplication& spreadsheetApplication();

// Whether the application behind a program identifier is available. The only
// identifier the program asks about is "Excel.Application": a spreadsheet
// application that opens workbooks is present.
bool IsProgIDRegistered(const QString& progId);

} // namespace lir
