#pragma once

#include "core/orders/ordergrid.h"
#include "core/orders/ordermodel.h"
#include "core/prices/pricelookup.h"

#include <QByteArray>
#include <QHash>
#include <QLocale>
#include <QString>

namespace lir {

using SummaryView = OrderModel::View;

// The markup typed into Edit1 as a whole number of percent. Throws lir::Error
// with the conversion error when the text is no whole number, and refuses a
// markup below -100 %, which would make every price negative.
int readMarkup(const QString& text);
// K = P / 100 + 1, in single precision as the summary keeps it.
float markupFactor(int percent);

// The lookups of one export. A summary looks the same designation up again
// and again (a part of every kit in the combined view), and the price table
// does not change while it is written, so each designation is looked up once.
// finish() leaves the table on the last row found, as the lookups one by one
// would.
class ExportPrices
{
public:
    explicit ExportPrices(const PriceLookup& prices) : m_prices(prices) {}
    PriceResult operator()(const QString& designation);
    void finish();

private:
    const PriceLookup& m_prices;
    QHash<QString, PriceResult> m_known;
    QString m_lastFound;
    bool m_lastFoundKnown = false;
};

// A whole number as the order's quantity cells hold it, within 32 bits.
bool wholeNumber(const QString& text, qint64* out);

// The price of one grid row with the markup, or none.
struct SummaryPrice
{
    bool priced = false;
    double price = 0; // price × K
    double sum = 0;   // price × quantity × K; 0 without a quantity column
};
// The price of column 0; a screw total row (label in column 1) is priced
// under its screw designation when screwRows is set.
PriceResult summaryLookup(const OrderGrid& grid, int row, bool screwRows, ExportPrices& prices);
// Column 0 is looked up; a screw total row (label in column 1) is priced
// under its screw designation when screwRows is set. A row whose price is
// empty, or whose quantity text is empty or no whole number, has no price:
// it cannot be computed and adds nothing. quantityColumn < 0: no sum.
SummaryPrice summaryPrice(const OrderGrid& grid, int row, int quantityColumn, bool screwRows, float k,
                          ExportPrices& prices);

// Titles of the views.
QString summaryHtmlTitle(SummaryView view);
QString summaryWorkbookTitle(SummaryView view);

// The priced summary of one view of the order as an HTML document that
// spreadsheet programs open as a worksheet: Windows-1251, CR LF line ends.
// markupText is the text of Edit1. Throws lir::Error for a bad markup.
QByteArray orderSummaryHtml(SummaryView view, const OrderGrid& grid, const QString& markupText,
                            const PriceLookup& prices, const QLocale& locale);
// Writes it to path: the file is complete or not there at all.
void writeOrderSummaryHtml(const QString& path, SummaryView view, const OrderGrid& grid, const QString& markupText,
                           const PriceLookup& prices, const QLocale& locale);

// The same summary as a workbook: the view's title in B1 and the grid from
// row 2, column B, with the totals as formulas and the note below them.
void writeOrderSummaryXlsx(const QString& path, SummaryView view, const OrderGrid& grid, const QString& markupText,
                           const PriceLookup& prices);

} // namespace lir
