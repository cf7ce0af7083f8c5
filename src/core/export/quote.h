#pragma once

#include "core/calc/kitcalculator.h"
#include "core/export/companydetails.h"
#include "core/export/money.h"
#include "core/export/sashdrawinginput.h"
#include "core/export/ordersummary.h"

#include <QDate>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace lir {

// What a quote ("Коммерческое предложение") says, worked out before anything
// is painted: the painter only lays it out, the tests read it as text.
struct Quote
{
    struct Line
    {
        QString designation;
        QString name;
        QString quantity;
        QString unit;
        std::optional<money::Kopecks> price; // with the markup; none: "—"
        std::optional<money::Kopecks> sum;
        bool kit = false; // a kit among its parts, set off in bold
        std::optional<SashDrawingInput> drawing; // a kit's row: its sash, drawn small
    };

    CompanyDetails company;
    QString title;
    QStringList about; // under the title: the customer, or the kit and its options
    std::optional<SashDrawingInput> drawing; // the kit's sash, beside what it is
    QVector<Line> lines;
    money::Kopecks total = 0; // the sum of the rounded lines
    int unpriced = 0;
    // Label and amount of each totals line: "Итого:", the VAT, "Всего с НДС:".
    QVector<QPair<QString, QString>> totals;
    QString words;        // the amount due in words
    QString unpricedNote; // "Нет цены: 2 позиции", or empty
    QString validity;     // "Предложение действительно 30 дней", or empty
    QString signature;    // the signing line
    QString fileTitle;    // the document's title in the PDF's properties
};

// The sash of each row of a view's grid, by row: a kit's row has the
// drawing of its entry (the first one a row of the kits view counts), any
// other row none.
using RowDrawings = QVector<std::optional<SashDrawingInput>>;
RowDrawings kitRowDrawings(const OrderModel& order, SummaryView view);

// The quote of one view of the order with the markup as typed into
// "Рассчитать с наценкой (%):". `number` is the saved order's number, if any;
// `customer` the order's customer (quoteCustomer); `drawings` those of the
// kits' rows (kitRowDrawings). Throws lir::Error for a markup that is no
// whole number, an empty order and a sum beyond reason.
Quote orderQuote(const OrderGrid& grid, SummaryView view, const QString& markupText, const QString& customer,
                 std::optional<qint32> number, const PriceLookup& prices, const CompanyDetails& company,
                 const QDate& date, const RowDrawings& drawings = {});

// Whom an order's quote is addressed to: the name of the order's customer,
// or its description while none is chosen.
QString quoteCustomer(const OrderModel& order);

// The quote of the calculator's Last calculation: its parts and screws,
// without a markup. Throws lir::Error when no calculation succeeded.
Quote kitQuote(const KitCalculator& calc, const PriceLookup& prices, const CompanyDetails& company,
               const QDate& date);

// The lines of the company block beside the logo, after the name: the
// address, phone and e-mail, ИНН/КПП and the bank's lines; empty ones left out.
QStringList companyLines(const CompanyDetails& company);

} // namespace lir
