#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Readers of tables that other programs write: CSV text, Excel workbooks
// (.xlsx) and OpenDocument spreadsheets (.ods). They know nothing of what
// the columns mean; every cell comes back as text, a number as the file
// stores it ("1250.5"), with the line or row number it stands on, so that a
// caller can name the line it refuses.
namespace lir::io {

struct SheetRow
{
    int line = 0;      // 1-based: the line of a CSV file where the record begins, the row of a sheet
    QStringList cells; // from column A on; trailing empty cells are dropped
};

struct SheetData
{
    QVector<SheetRow> rows; // rows with at least one non-empty cell, in their order
    QStringList sheetNames; // of a workbook; empty for CSV
    int sheet = 0;          // the sheet read, 0-based
    QString encoding;       // CSV: "UTF-8" or "Windows-1251"
    QChar separator;        // CSV: ';', ',' or '\t'
};

struct ReadOptions
{
    int sheet = 0;                 // 0-based; a workbook with fewer sheets is refused
    int maxRows = 200000;          // more non-empty rows than this are refused, not read on
    qint64 maxUnpacked = 200LL << 20; // bytes a workbook's parts may unpack to, checked before unpacking
    int maxCellLength = 10000;     // longer cells are cut (a caller refuses what it cannot use)
};

// Reads a CSV file: UTF-8 (with or without its byte-order mark) or
// Windows-1251, told apart by whether the bytes are valid UTF-8; the
// separator ';', tab or ',' found in the first line; fields in double quotes
// (a doubled quote inside, line breaks kept).
SheetData readCsv(const QString& path, const ReadOptions& options = {});
// Parses CSV text already in memory.
SheetData parseCsv(const QByteArray& bytes, const QString& shownName, const ReadOptions& options = {});

// Reads one sheet of an .xlsx workbook: shared and inline strings, numbers,
// booleans and the cached values of formulas.
SheetData readXlsx(const QString& path, const ReadOptions& options = {});

// Reads one sheet of an .ods spreadsheet: texts, numbers (their value, not
// their formatted text) and the cached values of formulas.
SheetData readOds(const QString& path, const ReadOptions& options = {});

// Reads a file by its name's suffix (.csv/.txt, .xlsx, .ods), checking that
// the contents are what the name says.
SheetData readSheetFile(const QString& path, const ReadOptions& options = {});

// The 0-based column of a column name ("A" 0, "AA" 26); -1 for anything else.
int columnIndex(const QString& letters);
// The column name of a 0-based column.
QString columnName(int column);

} // namespace lir::io
