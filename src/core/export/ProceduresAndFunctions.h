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
    // Starts `program` on `file` and returns at once (openWatched); throws
    // lir::Error when it cannot start.
    std::function<void(const QString& program, const QString& file)> open;
};
SpreadsheetApplication& spreadsheetApplication();

// Starts the spreadsheet program on a saved workbook and watches it for
// watchMs without blocking: a program that ends within that time with an
// error (one that cannot open its window) gets an error box that names the
// workbook, so that the work is never invisible. A program still running at
// the end of this program is left running. Throws lir::Error, naming the
// workbook too, when the program cannot start at all.
void openWatched(const QString& program, const QString& file, int watchMs = 5000);

// Whether the application behind a program identifier is available. The only
// identifier the program asks about is "Excel.Application": a spreadsheet
// application that opens workbooks is present.
bool IsProgIDRegistered(const QString& progId);

} // namespace lir
