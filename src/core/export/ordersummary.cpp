#include "core/export/ordersummary.h"

#include "core/base/error.h"
#include "core/base/numberformat.h"
#include "core/calc/calctexts.h"
#include "core/export/documentfile.h"
#include "core/export/htmldocument.h"
#include "core/export/kitsheet.h"
#include "core/export/sheettexts.h"
#include "core/orders/ordertexts.h"

#include <QStringList>

#include <array>
#include <limits>

namespace lir {

bool wholeNumber(const QString& text, qint64* out)
{
    bool ok = false;
    const qint64 n = text.toLongLong(&ok, 10);
    if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
        return false;
    *out = n;
    return true;
}

namespace {

// ---------------------------------------------------------------- the document's fixed lines
// The head common to the three views; each view's own classes, table start,
// title row and header row follow it.
const QStringList head = {
    QStringLiteral("<html>"),
    QStringLiteral("<head>"),
    QStringLiteral("<meta http-equiv=Content-Type content=\"text/html; charset=windows-1251\"> "),
    QStringLiteral("<style>        "),
    QStringLiteral("<!--table       "),
    QStringLiteral(".xl24"),
    QStringLiteral("\t{mso-style-parent:style0;font-size:18.0pt;font-weight:700;}  "),
    QStringLiteral(".xl25"),
    QStringLiteral("{mso-style-parent:style0;font-weight:700;border:.5pt solid windowtext;}  "),
    QStringLiteral(".xl26"),
    QStringLiteral("\t{mso-style-parent:style0;font-size:8.0pt;border:.5pt solid windowtext;}"),
};
const QStringList componentsHead = {
    QStringLiteral(".xl27"),
    QStringLiteral(" {mso-style-parent:style0; font-size:8.0pt; mso-number-format:\"\\@\";\tborder:.5pt solid windowtext;}"),
    QStringLiteral("--> "),
    QStringLiteral("</style>  "),
    QStringLiteral("</head>  "),
    QStringLiteral("  <table x:str border=0 cellpadding=0 cellspacing=0 width=709 style= 'border-collapse:collapse;table-layout:fixed;width:532pt' >"),
    QStringLiteral("  <col width=64 style= 'width:48pt'>"),
    QStringLiteral("  <col width=138 style= 'mso-width-source:userset;mso-width-alt:5046;width:104pt' >"),
    QStringLiteral("  <col width=215 style= 'mso-width-source:userset;mso-width-alt:7862;width:161pt' >"),
    QStringLiteral("  <col width=103 style= 'mso-width-source:userset;mso-width-alt:3766;width:77pt' >"),
    QStringLiteral("  <col width=61 style= 'mso-width-source:userset;mso-width-alt:2230;width:46pt' >"),
    QStringLiteral("  <col width=64 span=2 style= 'width:48pt' >"),
    QStringLiteral("<tr height=31 style= 'height:23.25pt' >"),
    QStringLiteral("  <td height=31 width=64 style= 'height:23.25pt;width:48pt'></td>"),
    QStringLiteral("  <td class=xl24 colspan=3 width=456 style= 'mso-ignore:colspan;width:342pt' >Суммарный заказ(комплектующие) </td>"),
    QStringLiteral("  <td width=61 style= 'width:46pt'></td>"),
    QStringLiteral("  <td width=64 style= 'width:48pt'></td>"),
    QStringLiteral("  <td width=64 style= 'width:48pt'></td>"),
    QStringLiteral("</tr>   "),
    QStringLiteral("<tr height=17 style= 'height:12.75pt'>"),
    QStringLiteral("  <td height=17 style= 'height:12.75pt'></td>"),
    QStringLiteral("  <td class=xl25>Обозначение ЛИР</td>"),
    QStringLiteral("  <td class=xl25 style= 'border-left:none'>Наименование</td>"),
    QStringLiteral("  <td class=xl25 style= 'border-left:none'>Маркировка</td>"),
    QStringLiteral("  <td class=xl25 style= 'border-left:none'>Кол-во</td>"),
    QStringLiteral("  <td class=xl25 style= 'border-left:none'>Цена</td>"),
    QStringLiteral("  <td class=xl25 style= 'border-left:none'>Сумма</td>"),
    QStringLiteral("</tr>  "),
};
const QStringList kitsHead = {
    QStringLiteral(".xl27"),
    QStringLiteral("\t{mso-style-parent:style0;font-size:8.0pt;mso-number-format:\"\\@\";border:.5pt solid windowtext;} "),
    QStringLiteral("-->"),
    QStringLiteral("</style>"),
    QStringLiteral("</head>"),
    QStringLiteral("<table x:str border=0 cellpadding=0 cellspacing=0 width=585 style='border-collapse:"),
    QStringLiteral(" collapse;table-layout:fixed;width:439pt'>     "),
    QStringLiteral(" <col width=64 style='width:48pt'>     "),
    QStringLiteral(" <col width=215 style='mso-width-source:userset;mso-width-alt:7862;width:161pt'> "),
    QStringLiteral(" <col width=61 style='mso-width-source:userset;mso-width-alt:2230;width:46pt'>   "),
    QStringLiteral(" <col width=117 style='mso-width-source:userset;mso-width-alt:4278;width:88pt'>   "),
    QStringLiteral(" <col width=64 span=2 style='width:48pt'>   "),
    QStringLiteral(" <tr height=31 style='height:23.25pt'>     "),
    QStringLiteral("  <td height=31 width=64 style='height:23.25pt;width:48pt'></td>  "),
    QStringLiteral("  <td class=xl24 colspan=3 width=393 style='mso-ignore:colspan;width:295pt'>Суммарный заказ(комплекты)</td>   "),
    QStringLiteral("  <td width=64 style='width:48pt'></td>          "),
    QStringLiteral("  <td width=64 style='width:48pt'></td>    "),
    QStringLiteral(" </tr>                                "),
    QStringLiteral(" <tr height=17 style='height:12.75pt'>   "),
    QStringLiteral("  <td height=17 style='height:12.75pt'></td>  "),
    QStringLiteral("  <td class=xl25>Название комплектов </td>    "),
    QStringLiteral("  <td class=xl25 style='border-left:none'>Кол-во</td>  "),
    QStringLiteral("  <td class=xl25 style='border-left:none'>Цвет(RAL)</td> "),
    QStringLiteral("  <td class=xl25 style='border-left:none'>Цена</td>   "),
    QStringLiteral("  <td class=xl25 style='border-left:none'>Сумма</td>  "),
    QStringLiteral(" </tr>                                       "),
};
const QStringList combinedHead = {
    QStringLiteral(".xl27    "),
    QStringLiteral("\t{mso-style-parent:style0;font-size:8.0pt;font-weight:700;border:.5pt solid windowtext;} "),
    QStringLiteral(".xl28        "),
    QStringLiteral("\t{mso-style-parent:style0;font-size:8.0pt;font-weight:700;mso-number-format:\"\\@\";border:.5pt solid windowtext;} "),
    QStringLiteral(".xl29      "),
    QStringLiteral("\t{mso-style-parent:style0;font-size:8.0pt;mso-number-format:\"\\@\";border:.5pt solid windowtext;}"),
    QStringLiteral("-->     "),
    QStringLiteral("</style>"),
    QStringLiteral("</head> "),
    QStringLiteral("<body link=blue vlink=purple>  "),
    QStringLiteral("<table x:str border=0 cellpadding=0 cellspacing=0 width=959 style='border-collapse:collapse;table-layout:fixed;width:720pt'> "),
    QStringLiteral("<col width=64 style='width:48pt'>"),
    QStringLiteral("<col width=187 style='mso-width-source:userset;mso-width-alt:6838;width:140pt'> "),
    QStringLiteral("<col width=257 style='mso-width-source:userset;mso-width-alt:9398;width:193pt'> "),
    QStringLiteral("<col width=145 style='mso-width-source:userset;mso-width-alt:5302;width:109pt'> "),
    QStringLiteral("<col width=61 style='mso-width-source:userset;mso-width-alt:2230;width:46pt'>  "),
    QStringLiteral("<col width=117 style='mso-width-source:userset;mso-width-alt:4278;width:88pt'> "),
    QStringLiteral("<col width=64 span=2 style='width:48pt'>"),
    QStringLiteral("<tr height=31 style='height:23.25pt'>"),
    QStringLiteral("<td height=31 width=64 style='height:23.25pt;width:48pt'></td>  "),
    QStringLiteral("<td class=xl24 colspan=4 width=650 style='mso-ignore:colspan;width:488pt'>Суммарный заказ (комплекты+комплектующие)</td>  "),
    QStringLiteral("<td width=117 style='width:88pt'></td>"),
    QStringLiteral("<td width=64 style='width:48pt'></td>"),
    QStringLiteral("<td width=64 style='width:48pt'></td>"),
    QStringLiteral("</tr>"),
    QStringLiteral(" <tr height=17 style='height:12.75pt'>"),
    QStringLiteral("  <td height=17 style='height:12.75pt'></td>"),
    QStringLiteral("  <td class=xl25>Обозначение ЛИР</td>"),
    QStringLiteral("  <td class=xl25 style='border-left:none'>Наименование</td>"),
    QStringLiteral("  <td class=xl25 style='border-left:none'>Маркировка</td>"),
    QStringLiteral("  <td class=xl25 style='border-left:none'>Кол-во</td>"),
    QStringLiteral("  <td class=xl25 style='border-left:none'>Цвет(RAL)</td>"),
    QStringLiteral("  <td class=xl25 style='border-left:none'>Цена</td>"),
    QStringLiteral("  <td class=xl25 style='border-left:none'>Сумма</td>"),
    QStringLiteral(" </tr>"),
};

// How the rows of one view are written: the lines of the head, the pieces of
// a data row and the hidden row of column widths at the end.
struct HtmlForm
{
    const QStringList* head;
    QString rowStart;
    QString firstCell;
    QString column0;                // the cell start of grid column 0
    QString columnN;                // the cell start of the further columns
    std::array<QString, 5> cellEnd; // by grid column
    QString numberCell;             // price and sum
    QString numberEnd;
    QString rowEnd;
    QStringList widthCells;         // the hidden row, after the first cell
};

const HtmlForm& htmlForm(SummaryView view)
{
    static const QString end = QStringLiteral("</td>");
    static const QString end3 = QStringLiteral("</td>   ");
    static const QString cell64 = QStringLiteral("  <td width=64 style='width:48pt'></td> ");
    static const QString cell61 = QStringLiteral("  <td width=61 style='width:46pt'></td> ");
    static const QString cell117 = QStringLiteral("  <td width=117 style='width:88pt'></td> ");
    static const QString kitsNumber =
        QStringLiteral("<td class=xl26 align=right style='border-top:none;border-left:none' x:num>");
    static const std::array<HtmlForm, 3> forms = {
        HtmlForm{&componentsHead,
                 QStringLiteral("<tr height=17 style= 'height:12.75pt'>  "),
                 QStringLiteral("  <td height=17 style= 'height:12.75pt'></td>   "),
                 QStringLiteral("  <td class=xl27 style='border-top:none'>"),
                 QStringLiteral("  <td class=xl27 style='border-top:none;border-left:none'>"),
                 {end, end, end, end, end},
                 QStringLiteral("  <td class=xl26 align=right style='border-top:none;border-left:none' x:num>"),
                 QStringLiteral("</td> "),
                 QStringLiteral("</tr>"),
                 {QStringLiteral("  <td width=138 style='width:104pt'></td>"),
                  QStringLiteral("  <td width=215 style='width:161pt'></td> "),
                  QStringLiteral("  <td width=103 style='width:77pt'></td>"), cell61, cell64, cell64}},
        HtmlForm{&kitsHead,
                 QStringLiteral(" <tr height=17 style='height:12.75pt'> "),
                 QStringLiteral("  <td height=17 style='height:12.75pt'></td>     "),
                 QStringLiteral("  <td class=xl27 style='border-top:none'>"),
                 QStringLiteral("  <td class=xl27 style='border-top:none;border-left:none'>"),
                 {end3, end, end, end, end},
                 kitsNumber,
                 end,
                 QStringLiteral(" </tr>"),
                 {QStringLiteral("  <td width=215 style='width:161pt'></td>"), cell61, cell117, cell64, cell64}},
        HtmlForm{&combinedHead,
                 QStringLiteral(" <tr height=17 style='height:12.75pt'>  "),
                 QStringLiteral(" <td height=17 style='height:12.75pt'></td> "),
                 QStringLiteral(" <td class=xl29 style='border-top:none'>"),
                 QStringLiteral(" <td class=xl29 style='border-top:none;border-left:none'>"),
                 {end3, end3, QStringLiteral("</td>  "), end3, QStringLiteral("</td> ")},
                 kitsNumber,
                 end,
                 QStringLiteral(" </tr>   "),
                 {QStringLiteral("  <td width=187 style='width:140pt'></td> "),
                  QStringLiteral("  <td width=257 style='width:193pt'></td> "),
                  QStringLiteral("  <td width=145 style='width:109pt'></td> "), cell61, cell117, cell64, cell64}},
    };
    return forms[size_t(view) - 1];
}

} // namespace

int readMarkup(const QString& text)
{
    qint64 p = 0;
    if (!wholeNumber(text, &p))
        throw Error(ordertexts::notAnInteger(text));
    if (p < -100)
        throw Error(sheettexts::markupTooLow(int(p)));
    return int(p);
}

float markupFactor(int percent)
{
    // Each step rounds to single precision, as K is kept.
    const float p = float(percent);
    const float share = p / 100.0f;
    return share + 1.0f;
}

PriceResult ExportPrices::operator()(const QString& designation)
{
    if (const auto it = m_known.constFind(designation); it != m_known.constEnd()) {
        if (it->found) {
            m_lastFound = designation;
            m_lastFoundKnown = true;
        }
        return *it;
    }
    const PriceResult r = m_prices(designation);
    m_known.insert(designation, r);
    if (r.found) {
        m_lastFound = designation;
        m_lastFoundKnown = false;
    }
    return r;
}

void ExportPrices::finish()
{
    if (m_lastFoundKnown)
        m_prices(m_lastFound);
    m_lastFoundKnown = false;
}

PriceResult summaryLookup(const OrderGrid& grid, int row, bool screwRows, ExportPrices& prices)
{
    PriceResult p = prices(grid.cell(row, 0));
    if (!p.found && screwRows) {
        const QString label = grid.cell(row, 1);
        if (label == calctexts::totalScrews25)
            p = prices(screwDesignation25());
        else if (label == calctexts::totalScrews40)
            p = prices(screwDesignation40());
    }
    return p;
}

SummaryPrice summaryPrice(const OrderGrid& grid, int row, int quantityColumn, bool screwRows, float k,
                          ExportPrices& prices)
{
    const PriceResult p = summaryLookup(grid, row, screwRows, prices);
    SummaryPrice out;
    if (!p.found || !p.price)
        return out;
    qint64 quantity = 0;
    if (quantityColumn >= 0 && !wholeNumber(grid.cell(row, quantityColumn), &quantity))
        return out; // typed over or emptied: nothing to compute
    out.priced = true;
    out.price = *p.price * double(k);
    out.sum = quantityColumn >= 0 ? *p.price * double(quantity) * double(k) : 0;
    return out;
}

QString summaryHtmlTitle(SummaryView view)
{
    return sheettexts::summaryHtmlTitles().at(int(view) - 1);
}

QString summaryWorkbookTitle(SummaryView view)
{
    return sheettexts::summaryWorkbookTitles().at(int(view) - 1);
}

QByteArray orderSummaryHtml(SummaryView view, const OrderGrid& grid, const QString& markupText,
                            const PriceLookup& prices, const QLocale& locale)
{
    const float k = markupFactor(readMarkup(markupText));
    const HtmlForm& form = htmlForm(view);
    const int columns = grid.columnCount();
    const int quantity = OrderModel::quantityColumn(view);
    const bool screwRows = view != OrderModel::Kits;

    ExportPrices known(prices);
    // One text, line by line: the combined view of a large order runs to
    // megabytes.
    QString doc;
    doc.reserve(4096 + grid.rowCount() * (columns + 4) * 90);
    const QLatin1StringView crlf("\r\n");
    auto line = [&](const auto&... pieces) {
        ((doc += pieces), ...);
        doc += crlf;
    };
    for (const QString& l : head)
        line(l);
    for (const QString& l : *form.head)
        line(l);
    float priceTotal = 0;
    float sumTotal = 0;
    for (int r = 1; r < grid.rowCount(); ++r) {
        if (grid.cell(r, 1).isEmpty())
            continue;
        line(form.rowStart);
        line(form.firstCell);
        for (int c = 0; c < columns; ++c)
            line(c == 0 ? form.column0 : form.columnN, htmlEscape(grid.cell(r, c)), form.cellEnd[size_t(c)]);
        const SummaryPrice p = summaryPrice(grid, r, quantity, screwRows, k, known);
        if (p.priced) {
            line(form.numberCell, numfmt::fixed2(p.price, locale), form.numberEnd);
            line(form.numberCell, numfmt::fixed2(p.sum, locale), form.numberEnd);
            priceTotal = numfmt::addSingle(priceTotal, p.price);
            sumTotal = numfmt::addSingle(sumTotal, p.sum);
        }
        line(form.rowEnd);
    }
    known.finish();

    line(QStringLiteral(" <tr height=25 valign=bottom>"));
    line(QStringLiteral("   <td></td>"));
    line(QStringLiteral("   <td class=xl25>"), sheettexts::total(), QStringLiteral("</td>"));
    line(QStringLiteral("   <td colspan="), QString::number(columns - 1), QStringLiteral("></td>"));
    const QString totalCell = QStringLiteral("   <td class=xl26 align=right x:num>");
    line(totalCell, numfmt::fixed2(priceTotal, locale), QStringLiteral("</td>"));
    line(totalCell, numfmt::fixed2(sumTotal, locale), QStringLiteral("</td>"));
    line(QStringLiteral(" </tr>"));
    line(QStringLiteral(" <tr height=50 valign=bottom>"));
    line(QStringLiteral(" <td ></td>"));
    line(QStringLiteral(" <td align=center>Примечание: </td>"));
    line(QStringLiteral(" <td colspan="), QString::number(columns + 1), QStringLiteral(">рассчитано с наценкой "),
         htmlEscape(markupText), QStringLiteral("%</td>   "));
    line(QStringLiteral(" </tr>"));
    line(QStringLiteral("<![if supportMisalignedColumns]> "));
    line(QStringLiteral("<tr height=0 style='display:none'> "));
    line(QStringLiteral("  <td width=64 style='width:48pt'></td> "));
    for (const QString& l : form.widthCells)
        line(l);
    line(QStringLiteral(" </tr>"));
    line(QStringLiteral(" <![endif]> "));
    line(QStringLiteral("</table>"));
    line(QStringLiteral("</body>"));
    line(QStringLiteral("</html>"));

    return htmlDocumentBytes(doc);
}

void writeOrderSummaryHtml(const QString& path, SummaryView view, const OrderGrid& grid, const QString& markupText,
                           const PriceLookup& prices, const QLocale& locale)
{
    // A refused markup or a failing price table leaves no half-written summary.
    writeDocumentFile(path, [&] { return orderSummaryHtml(view, grid, markupText, prices, locale); });
}

} // namespace lir
