#include "core/export/kitsheet_xlsx.h"

#include "core/base/error.h"
#include "core/base/environment.h"
#include "core/base/numberformat.h"
#include "core/export/documentfile.h"
#include "core/export/sheettexts.h"
#include "core/export/workbook.h"

#include <QHash>

#include <map>
#include <optional>
#include <tuple>
#include <variant>

#include <xlsxwriter.h>

namespace lir {

namespace {

enum Col { A, B, C, D, E, F, G, H, I };

} // namespace

void writeKitSheetXlsx(const QString& path, const KitSheet& s, const PriceLookup& prices, const QLocale& locale)
{
    checkExportTarget(path);
    workbook::Sheet sh;
    using workbook::Style;
    using workbook::Value;
    using workbook::Formula;
    const int n = int(s.lines.size());

    // Header items: bold labels in column A, text values in column C.
    sh.range(1, A, 8, A, [](Style& st) { st.bold = true; });
    sh.range(1, A, 1, A, [](Style& st) { st.size = 18; });
    sh.range(1, C, 8, C, [](Style& st) {
        st.align = LXW_ALIGN_LEFT;
        st.text = true;
    });
    sh.at(1, A).value = s.kitDesignation;
    sh.merge(1, A, 1, I); // the title is never cut off at column B
    sh.at(3, A).value = sheettexts::sashSize(s.ffh, s.ffb);
    sh.at(4, A).value = (s.handleAlongWidth ? sheettexts::handleWidth() : sheettexts::handleHeight()) + QLatin1Char(' ');
    sh.at(4, C).value = QString::number(s.gh) + QStringLiteral(" mm");
    sh.at(5, A).value = sheettexts::profileSystemLabel();
    sh.at(5, C).value = s.profileSystem;
    sh.at(6, A).value = sheettexts::profileSystemNameLabel();
    sh.at(6, C).value = s.profileSystemName;
    sh.at(7, A).value = sheettexts::ralLabel();
    sh.at(7, C).value = QString::number(s.ral);
    sh.at(8, A).value = sheettexts::kitCountLabel();
    sh.at(8, C).value = QString::number(s.kitCount);

    // Column headers in row 10.
    sh.range(10, A, 10, I, [](Style& st) { st.bold = true; });
    sh.allBorders(10, A, 10, I, LXW_BORDER_MEDIUM);
    const QStringList headers = sheettexts::workbookHeaders();
    for (int c = A; c <= I; ++c)
        sh.at(10, c).value = headers.at(c);

    // Kit lines from row 11, thin frames.
    auto number = [&locale](const QString& text) -> Value {
        double v = 0;
        if (numfmt::parse(text, locale, &v))
            return v;
        return std::monostate{};
    };
    // Prices and sums: the numbers the HTML sheet writes (0,3 for 0,1 x 3, not
    // 0.30000000000000004), shown with two decimals.
    auto money = [&sh](int r, int c, double v) {
        sh.at(r, c).value = numfmt::shortestValue(v);
        sh.range(r, c, r, c, [](Style& st) { st.money = true; });
    };
    for (int i = 0; i < n; ++i) {
        const KitSheet::Line& l = s.lines.at(i);
        const int r = i + 11;
        sh.allBorders(r, A, r, I, LXW_BORDER_THIN);
        for (int c : {A, B, C, D})
            sh.range(r, c, r, c, [](Style& st) { st.text = true; });
        for (int c : {A, D, E, F, G, H, I})
            sh.range(r, c, r, c, [](Style& st) { st.align = LXW_ALIGN_CENTER; });
        for (int c : {B, C})
            sh.range(r, c, r, c, [](Style& st) { st.align = LXW_ALIGN_LEFT; });
        sh.at(r, A).value = QString::number(i + 1) + QLatin1Char('.');
        sh.at(r, B).value = l.designation;
        sh.at(r, C).value = l.name;
        sh.at(r, D).value = l.marking;
        sh.at(r, E).value = double(l.quantity);
        sh.at(r, F).value = number(l.screws25);
        sh.at(r, G).value = number(l.screws40);
        const PriceResult p = prices(l.designation);
        // A listed part without a price keeps its price and sum cells empty.
        if (p.found && p.price) {
            money(r, H, *p.price);
            money(r, I, *p.price * l.quantity);
        }
    }
    // The header row's lower edge is the top of the first kit line.
    if (n > 0)
        sh.range(11, A, 11, I, [](Style& st) { st.top = LXW_BORDER_MEDIUM; });

    // Screw rows, priced only when they hold screws.
    auto screwRow = [&](int r, const KitSheet::ScrewRow& row, const QString& designation) {
        sh.at(r, E).value = number(row.count);
        if (!row.label.isEmpty())
            sh.at(r, C).value = row.label;
        double screws = 0;
        if (numfmt::parse(row.count, locale, &screws)) {
            const PriceResult p = prices(designation);
            if (p.found && p.price) {
                money(r, H, *p.price);
                money(r, I, *p.price * screws);
            }
        }
    };
    screwRow(n + 12, s.screws25, screwDesignation25());
    screwRow(n + 13, s.screws40, screwDesignation40());

    // Totals as formulas over the kit lines and the screw rows.
    const int t = n + 15;
    sh.range(t, B, t, I, [](Style& st) { st.bold = true; });
    sh.at(t, B).value = sheettexts::total();
    for (int c : {H, I}) {
        const double sum = sh.sum(c, 11, n + 13);
        const QString letter = QChar(u'A' + c);
        sh.at(t, c).value = Formula{QStringLiteral("=SUM(%1%2:%1%3)").arg(letter).arg(11).arg(n + 13), sum};
        sh.range(t, c, t, c, [](Style& st) { st.money = true; });
    }

    // The medium outer frame of the table.
    sh.range(10, A, 10, I, [](Style& st) { st.top = LXW_BORDER_MEDIUM; });
    sh.range(n + 10, A, n + 10, I, [](Style& st) { st.bottom = LXW_BORDER_MEDIUM; });
    sh.range(10, I, n + 10, I, [](Style& st) { st.right = LXW_BORDER_MEDIUM; });
    sh.range(10, A, n + 10, A, [](Style& st) { st.left = LXW_BORDER_MEDIUM; });

    sh.landscape = true;
    sh.repeatedRows = {10, 10};
    // Price and sum wide enough for 123456,00 in their two-decimal form.
    const double widths[] = {5.71, 21.86, 27.86, 11.5, 11.5, 12.71, 12.71, 10, 10};
    for (int c = A; c <= I; ++c)
        sh.columnWidths[c] = widths[c];
    sh.rowHeights[10] = 22;
    sh.selection = {t, E};
    workbook::save(path, sh);
}

} // namespace lir
