#include "core/base/numberformat.h"
#include "core/export/ordersummary.h"

#include "core/export/documentfile.h"
#include "core/export/sheettexts.h"
#include "core/export/workbook.h"
#include "core/orders/ordertexts.h"

#include <xlsxwriter.h>

namespace lir {

namespace {

// One grid into the sheet from row `first` and column `left` (0 = A): the
// header row, the rows down to the first blank one with their prices, the
// totals as formulas one row below them and the note under those.
void Grid2Excel(workbook::Sheet& sh, SummaryView view, const OrderGrid& grid, int first, int left,
                const QString& markupText, const PriceLookup& prices)
{
    using workbook::Style;
    const float k = markupFactor(readMarkup(markupText));
    const int columns = grid.columnCount();
    const int priceCol = left + columns;
    const int sumCol = priceCol + 1;

    sh.allBorders(first, left, first, sumCol, LXW_BORDER_THIN);
    sh.range(first, left, first, sumCol, [](Style& s) { s.bold = true; });
    int quantity = -1;
    for (int c = 0; c < columns; ++c) {
        sh.at(first, left + c).value = grid.cell(0, c);
        sh.columnWidths[left + c] = grid.widths().at(c) / 5.0;
        if (grid.cell(0, c) == ordertexts::colCount())
            quantity = c; // the last such column counts
    }
    sh.at(first, priceCol).value = sheettexts::priceTitle();
    sh.at(first, sumCol).value = sheettexts::sumTitle();
    sh.columnWidths[priceCol] = sh.columnWidths[sumCol] = 12; // room for 1234567,89
    sh.repeatedRows = {first, first};

    ExportPrices known(prices);
    int n = 0;
    for (int i = 1; i < grid.rowCount() && !grid.isBlank(i); ++i, ++n) {
        const int r = first + i;
        sh.allBorders(r, left, r, sumCol, LXW_BORDER_THIN);
        sh.range(r, left, r, sumCol, [](Style& s) { s.size = 8; });
        // A kit row of the combined view carries its RAL colour.
        if (columns == 5 && !grid.cell(i, 4).isEmpty())
            sh.range(r, left, r, sumCol, [](Style& s) { s.bold = true; });
        for (int c = 0; c < columns; ++c) {
            const QString text = grid.cell(i, c);
            // A quantity is a number a spreadsheet can add; every other cell
            // stays text (a marking "009911" keeps its zeros).
            if (qint64 count = 0; c == quantity && wholeNumber(text, &count)) {
                sh.at(r, left + c).value = double(count);
                continue;
            }
            sh.range(r, left + c, r, left + c, [](Style& s) { s.text = true; });
            if (!text.isEmpty())
                sh.at(r, left + c).value = text;
        }
        // The amounts the HTML summary writes, shown with two decimals.
        const SummaryPrice p = summaryPrice(grid, i, quantity, view != OrderModel::Kits, k, known);
        if (p.priced) {
            sh.at(r, priceCol).value = numfmt::fixed2Value(p.price);
            if (quantity >= 0)
                sh.at(r, sumCol).value = numfmt::fixed2Value(p.sum);
        }
        sh.range(r, priceCol, r, sumCol, [](Style& s) { s.money = true; });
    }

    known.finish();

    const int t = first + n + 2;
    sh.range(t, left, t, sumCol, [](Style& s) { s.bold = true; });
    sh.at(t, left).value = sheettexts::total();
    for (int c : {priceCol, sumCol}) {
        const QString letter = workbook::columnLetter(c);
        const QString formula = QStringLiteral("=SUM(%1%2:%1%3)").arg(letter).arg(first + 1).arg(first + n + 1);
        sh.at(t, c).value = workbook::Formula{formula, sh.sum(c, first + 1, first + n + 1)};
        sh.range(t, c, t, c, [](Style& s) { s.money = true; });
    }
    sh.at(first + n + 6, left).value = sheettexts::summaryNote(markupText);
}

} // namespace

void writeOrderSummaryXlsx(const QString& path, SummaryView view, const OrderGrid& grid, const QString& markupText,
                           const PriceLookup& prices)
{
    checkExportTarget(path);
    workbook::Sheet sh;
    constexpr int B = 1;
    sh.range(1, B, 1, B, [](workbook::Style& s) {
        s.bold = true;
        s.size = 18;
    });
    sh.at(1, B).value = summaryWorkbookTitle(view);
    sh.merge(1, B, 1, B + grid.columnCount() + 1); // across the grid, its price and its sum
    Grid2Excel(sh, view, grid, 2, B, markupText, prices);
    workbook::save(path, sh);
}

} // namespace lir
