#pragma once

#include "core/calc/kitkeys.h"
#include "core/io/sheetreader.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <vector>

namespace lir {

class OrderModel;

// The batch entry's model: a window schedule, one row per sash line, each
// row calculated by a calculator of its system as a person would fill in its
// window, and the calculated rows added to the order as "В ЗАКАЗ" adds a kit.
namespace batch {

// A column of the batch table: the system, then the calculator inputs in the
// order a calculator line applies them.
struct Column
{
    const Key* key = nullptr; // nullptr for the system
    QString title;            // Russian, as the table and the template head it
    QString name;             // the command-line key: "calculator", "FFH", ...
};
const std::vector<Column>& columns();
// The column a header cell names (its Russian title or its key, in any case);
// -1 for none.
int columnOf(const QString& header);

// The batch column each cell of a pasted block's first line names (-1 for an
// empty cell) when that line is a header row: every cell with text names a
// column, none twice, the system among them. Empty when the line is data.
QVector<int> headerOf(const QStringList& cells);

// The most rows one batch file holds, its header row among them.
constexpr int maxRows = 5000;

struct Row
{
    int line = 0;      // where it came from: the file's row, or the table's
    QStringList cells; // by columns(); missing cells are empty
    bool isEmpty() const;
};

struct RowResult
{
    bool empty = false; // a row without any text: skipped, neither good nor failed
    bool ok = false;
    QString designation;
    QStringList messages; // in the order the calculator window shows them
    int kits = 0;
};

// The system a row names ("6741", "6741otkid", "6742" or the Russian name);
// -1 when the cell names none.
int systemOf(const Row& row);
// Whether a column applies to the row's system (false for every input while
// the row names no system).
bool applies(const Row& row, int column);

// Calculates one row with a new calculator of its system.
RowResult calculate(const Row& row);

// Reads the rows under the header row of a table. Throws lir::Error with a
// message for the whole file (no header, an unknown column, too many rows).
QVector<Row> rowsOf(const io::SheetData& sheet, const QString& shownName);
// A .csv, .xlsx or .ods file.
QVector<Row> readFile(const QString& path);

// Adds the rows whose result is ok to the order in their order, each as
// "В ЗАКАЗ" of its calculator adds it. All or nothing: false (the order as it
// was) when one of them cannot be added. Returns the number of kits added
// through `added`.
bool addToOrder(OrderModel& order, const QVector<Row>& rows, const QVector<RowResult>& results, int* added = nullptr);

// The template an office fills in elsewhere: the header row and one example
// row, as an .xlsx workbook or a CSV file (UTF-8, ";"). Each file is whole
// or not there; throws lir::Error naming the file.
Row exampleRow();
void writeTemplateXlsx(const QString& path);
void writeTemplateCsv(const QString& path);

struct Totals
{
    int calculated = 0;
    int failed = 0;
    int kits = 0;
};
Totals totals(const QVector<RowResult>& results);
// "Рассчитано строк: 37, с ошибками: 3, комплектов всего: 52"
QString statusLine(const Totals& t);

} // namespace batch
} // namespace lir
