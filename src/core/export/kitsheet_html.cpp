#include "core/export/kitsheet_html.h"

#include "core/base/error.h"
#include "core/base/numberformat.h"
#include "core/export/documentfile.h"
#include "core/export/htmldocument.h"
#include "core/export/sheettexts.h"

#include <QStringList>

namespace lir {

namespace {

const QStringList& headLines()
{
    static const QStringList lines = {
        QStringLiteral("<html>"),
        QStringLiteral("<head>"),
        QStringLiteral("<meta http-equiv=Content-Type content=\"text/html; charset=windows-1251\">"),
        QStringLiteral(" <style>"),
        QStringLiteral("<!--table "),
        QStringLiteral(" .xl24       "),
        QStringLiteral(" 	{mso-style-parent:style0; "),
        QStringLiteral(" 	font-weight:700;}    "),
        QStringLiteral(" .xl25       "),
        QStringLiteral(" 	{mso-style-parent:style0;    "),
        QStringLiteral(" 	font-size:18.0pt;                    "),
        QStringLiteral(" 	font-weight:700;}                  "),
        QStringLiteral(" .xl26                                 "),
        QStringLiteral(" 	{mso-style-parent:style0;          "),
        QStringLiteral(" 	mso-number-format:\"\\@\";            "),
        QStringLiteral(" 	text-align:left;}                  "),
        QStringLiteral(" .xl27                                "),
        QStringLiteral(" 	{mso-style-parent:style0;           "),
        QStringLiteral(" 	font-weight:700;                    "),
        QStringLiteral(" 	border:1.0pt solid windowtext;}     "),
        QStringLiteral(" .xl28                                "),
        QStringLiteral(" 	{mso-style-parent:style0;           "),
        QStringLiteral(" 	mso-number-format:\"\\@\";             "),
        QStringLiteral(" 	text-align:center;                  "),
        QStringLiteral(" 	border:.5pt solid windowtext;}      "),
        QStringLiteral(" .xl29                                "),
        QStringLiteral(" 	{mso-style-parent:style0;           "),
        QStringLiteral(" 	mso-number-format:\"\\@\";             "),
        QStringLiteral(" 	text-align:left;                    "),
        QStringLiteral(" 	border:.5pt solid windowtext;}      "),
        QStringLiteral(" .xl30                                 "),
        QStringLiteral(" 	{mso-style-parent:style0;           "),
        QStringLiteral(" 	text-align:center;                  "),
        QStringLiteral(" 	border:.5pt solid windowtext;}      "),
        QStringLiteral(" .xl31                                 "),
        QStringLiteral(" 	{mso-style-parent:style0;            "),
        QStringLiteral(" 	mso-number-format:\"\\@\";              "),
        QStringLiteral(" 	text-align:center;                   "),
        QStringLiteral(" 	border-top:.5pt solid windowtext;    "),
        QStringLiteral(" 	border-right:.5pt solid windowtext;  "),
        QStringLiteral(" 	border-bottom:.5pt solid windowtext; "),
        QStringLiteral(" 	border-left:1.0pt solid windowtext;} "),
        QStringLiteral(" -->"),
        QStringLiteral(" </style>"),
        QStringLiteral(" </head>"),
        QStringLiteral(" <table x:str border=0 cellpadding=0 cellspacing=0 width=877 style='border-collapse:collapse;table-layout:fixed;width:659pt'>"),
        QStringLiteral("<col width=45 style='mso-width-source:userset;mso-width-alt:1645;width:34pt'>   "),
        QStringLiteral("<col width=158 style='mso-width-source:userset;mso-width-alt:5778;width:119pt'>  "),
        QStringLiteral("<col width=200 style='mso-width-source:userset;mso-width-alt:7314;width:150pt'>   "),
        QStringLiteral("<col width=88 span=2 style='mso-width-source:userset;mso-width-alt:3218;width:66pt'>   "),
        QStringLiteral("<col width=95 span=2 style='mso-width-source:userset;mso-width-alt:3474; width:71pt'>   "),
        QStringLiteral(" <col width=54 span=2 style='mso-width-source:userset;mso-width-alt:1974;width:41pt'>  "),
    };
    return lines;
}

const QStringList& endLines()
{
    static const QStringList lines = {
        QStringLiteral(" <![if supportMisalignedColumns]> "),
        QStringLiteral("<tr height=0 style='display:none'>  "),
        QStringLiteral(" <td width=45 style='width:34pt'></td>  "),
        QStringLiteral(" <td width=158 style='width:119pt'></td> "),
        QStringLiteral(" <td width=200 style='width:150pt'></td> "),
        QStringLiteral(" <td width=88 style='width:66pt'></td>  "),
        QStringLiteral(" <td width=88 style='width:66pt'></td>  "),
        QStringLiteral(" <td width=95 style='width:71pt'></td> "),
        QStringLiteral(" <td width=95 style='width:71pt'></td> "),
        QStringLiteral(" <td width=54 style='width:41pt'></td> "),
        QStringLiteral(" <td width=54 style='width:41pt'></td> "),
        QStringLiteral(" </tr>  "),
        QStringLiteral(" <![endif]> "),
        QStringLiteral("</table> "),
        QStringLiteral("</body>  "),
        QStringLiteral("</html>  "),
    };
    return lines;
}

QString esc(const QString& s)
{
    return htmlEscape(s);
}

void headerRows(QStringList& out, const KitSheet& s)
{
    const QString nbsp = QString(QChar(0xA0));
    out << QStringLiteral(" <tr height=31 style='height:23.25pt'>   ");
    out << QStringLiteral(" <td height=31 class=xl25 colspan=3 width=403 style='height:23.25pt;mso-ignore:colspan;width:303pt'>") + esc(s.kitDesignation) + QStringLiteral("</td> ");
    out << QStringLiteral(" <td width=88 style='width:66pt'></td> ");
    out << QStringLiteral(" <td width=88 style='width:66pt'></td> ");
    out << QStringLiteral(" <td width=95 style='width:71pt'></td>  ");
    out << QStringLiteral(" <td width=95 style='width:71pt'></td>  ");
    out << QStringLiteral(" <td width=54 style='width:41pt'></td>   ");
    out << QStringLiteral(" <td width=54 style='width:41pt'></td>   ");
    out << QStringLiteral(" </tr>      ");
    out << QStringLiteral(" <tr height=17 style='height:12.75pt'>  ");
    out << QStringLiteral(" <td height=17 class=xl24 style='height:12.75pt'></td> ");
    out << QStringLiteral(" <td></td>   ");
    out << QStringLiteral(" <td class=xl26></td>  ");
    out << QStringLiteral(" <td colspan=6 style='mso-ignore:colspan'></td>  ");
    out << QStringLiteral(" </tr>     ");
    out << QStringLiteral(" <tr height=17 style='height:12.75pt'>   ");
    out << QStringLiteral("  <td height=17 class=xl24 colspan=4 style='height:12.75pt;mso-ignore:colspan'> ") + sheettexts::sashSize(s.ffh, s.ffb) + QStringLiteral("</td> ");
    out << QStringLiteral(" <td colspan=5 style='mso-ignore:colspan'></td> ");
    out << QStringLiteral(" </tr> ");
    out << QStringLiteral(" <tr height=17 style='height:12.75pt'>    ");
    const QString handle = s.handleAlongWidth ? sheettexts::handleWidth() : sheettexts::handleHeight();
    out << QStringLiteral("  <td height=17 class=xl24 colspan=2 style='height:12.75pt;mso-ignore:colspan' "
                          "x:str=\"%1 \">%1<span style= 'mso-spacerun:yes'>%2</span></td>")
               .arg(handle, nbsp);
    out << QStringLiteral(" <td class=xl26>") + QString::number(s.gh) + QStringLiteral(" mm") + QStringLiteral(" </td>");
    out << QStringLiteral(" <td colspan=6 style='mso-ignore:colspan'></td>  ");
    out << QStringLiteral("</tr>   ");
    out << QStringLiteral("<tr height=17 style='height:12.75pt'>  ");
    // The labels keep their blank in x:str and show without it.
    const QString system = sheettexts::profileSystemLabel();
    out << QStringLiteral(" <td height=17 class=xl24 colspan=2 style='height:12.75pt;mso-ignore:colspan' x:str=\"") + system + QStringLiteral("\">") + system.trimmed() + QStringLiteral("<span style= 'mso-spacerun:yes'>") + nbsp + QStringLiteral("</span></td> ");
    out << QStringLiteral("<td class=xl26>") + esc(s.profileSystem) + QStringLiteral("</td>  ");
    out << QStringLiteral("  <td colspan=6 style='mso-ignore:colspan'></td> ");
    out << QStringLiteral(" </tr>     ");
    out << QStringLiteral(" <tr height=17 style='height:12.75pt'>  ");
    const QString systemName = sheettexts::profileSystemNameLabel().trimmed();
    out << QStringLiteral(" <td height=17 class=xl24 colspan=2 style='height:12.75pt;mso-ignore:colspan' x:str=\"") + systemName + QStringLiteral("\">") + systemName + QStringLiteral("<span style= 'display:none'><span style='mso-spacerun:yes'>") + nbsp + QStringLiteral("</span></span></td>  ");
    out << QStringLiteral(" <td class=xl26>") + esc(s.profileSystemName) + QStringLiteral("</td>   ");
    out << QStringLiteral(" <td colspan=6 style='mso-ignore:colspan'></td>  ");
    out << QStringLiteral("</tr>      ");
    out << QStringLiteral(" <tr height=17 style='height:12.75pt'>  ");
    const QString ral = sheettexts::ralLabel();
    out << QStringLiteral("  <td height=17 class=xl24 colspan=2 style='height:12.75pt;mso-ignore:colspan' x:str=\"") + ral + QStringLiteral("\">") + ral.trimmed() + QStringLiteral("<span style='mso-spacerun:yes'>") + nbsp + QStringLiteral("</span></td> ");
    out << QStringLiteral(" <td class=xl26>") + QString::number(s.ral) + QStringLiteral("</td>    ");
    out << QStringLiteral("  <td colspan=6 style='mso-ignore:colspan'></td>  ");
    out << QStringLiteral(" </tr>               ");
    out << QStringLiteral(" <tr height=17 style='height:12.75pt'>     ");
    const QString count = sheettexts::kitCountLabel();
    out << QStringLiteral("  <td height=17 class=xl24 colspan=2 style='height:12.75pt;mso-ignore:colspan' x:str=\" ") + count + QStringLiteral("\">") + count.trimmed() + QStringLiteral("<span  ");
    out << QStringLiteral(" style='mso-spacerun:yes'>") + nbsp + QStringLiteral("</span></td>   ");
    out << QStringLiteral("  <td class=xl26>") + QString::number(s.kitCount) + QStringLiteral("</td>      ");
    out << QStringLiteral("  <td colspan=6 style='mso-ignore:colspan'></td>  ");
    out << QStringLiteral(" </tr>        ");
    out << QStringLiteral(" <tr height=18 style='height:13.5pt'>  ");
    out << QStringLiteral("  <td height=18 colspan=9 style='height:13.5pt;mso-ignore:colspan'></td> ");
    out << QStringLiteral(" </tr>    ");
    out << QStringLiteral(" <tr height=29 style='mso-height-source:userset;height:21.95pt'>  ");
    // The column headers of the workbook, without their blanks, but for the
    // one after the 4×25 screws; each line ends in its own run of blanks.
    const QStringList headers = sheettexts::workbookHeaders();
    const char* const tails[] = {"   ", "     ", "     ", "        ", "  ", "     ", "  ", "      ", "    "};
    for (qsizetype i = 0; i < headers.size(); ++i) {
        const QString cell = i == 0 ? QStringLiteral("  <td height=29 class=xl27 style='height:21.95pt'>")
                                    : QStringLiteral("  <td class=xl27 style='border-left:none'>");
        const QString text = headers.at(i).trimmed() + (i == 5 ? QStringLiteral(" ") : QString());
        out << cell + text + QStringLiteral("</td>") + QLatin1String(tails[i]);
    }
    out << QStringLiteral("  </tr>    ");
}

} // namespace

QByteArray kitSheetHtml(const KitSheet& s, const PriceLookup& prices, const QLocale& locale)
{
    QStringList out = headLines();
    headerRows(out, s);

    float priceTotal = 0;
    float sumTotal = 0;
    const QString cell30 = QStringLiteral("<td class=xl30 style='border-top:none;border-left:none'>");
    const QString cell30num = QStringLiteral("<td class=xl30 style='border-top:none;border-left:none' x:num>");
    for (int i = 0; i < s.lines.size(); ++i) {
        const KitSheet::Line& l = s.lines.at(i);
        out << QStringLiteral("<tr height=17 style='height:12.75pt'>  ");
        out << QStringLiteral("<td height=17 class=xl31 style='height:12.75pt;border-top:none'>") + QString::number(i + 1)
                   + QStringLiteral(".") + QStringLiteral("  </td>  ");
        out << QStringLiteral("<td class=xl29 style='border-top:none;border-left:none'>") + esc(l.designation)
                   + QStringLiteral(" </td>  ");
        out << QStringLiteral("<td class=xl29 style='border-top:none;border-left:none'>") + esc(l.name)
                   + QStringLiteral("</td> ");
        out << QStringLiteral("<td class=xl28 style='border-top:none;border-left:none'>") + esc(l.marking)
                   + QStringLiteral("</td>    ");
        out << (s.quantityAsNumber ? cell30num : cell30) + QString::number(l.quantity) + QStringLiteral("</td>  ");
        out << cell30 + esc(l.screws25) + QStringLiteral(" </td> ");
        out << cell30 + esc(l.screws40) + QStringLiteral(" </td> ");
        const PriceResult p = prices(l.designation);
        if (p.found) {
            if (p.price) {
                const double sum = *p.price * l.quantity;
                out << cell30num + numfmt::shortest(*p.price, locale) + QStringLiteral("</td> ");
                out << cell30num + numfmt::shortest(sum, locale) + QStringLiteral("</td>");
                priceTotal = numfmt::addSingle(priceTotal, *p.price);
                sumTotal = numfmt::addSingle(sumTotal, sum);
            } else {
                // Listed but not priced yet: the row keeps its frame with empty cells.
                out << cell30 + QStringLiteral("</td> ");
                out << cell30 + QStringLiteral("</td>");
            }
        }
        out << QStringLiteral("</tr>");
    }

    // The two screw rows differ in a few blanks.
    struct ScrewLines
    {
        QString tr, lead, label1, label2, count1, tail, priceCell, priceEnd, sumEnd, trEnd;
    };
    const ScrewLines l25{QStringLiteral("<tr height=17 style='height:12.75pt'>   "),
                         QStringLiteral("<td height=17 colspan=2 style='height:12.75pt;mso-ignore:colspan'></td>    "),
                         QStringLiteral("<td> "), QStringLiteral("</td> "), QStringLiteral("<td align=right x:num> "),
                         QStringLiteral("<td colspan=2 style='mso-ignore:colspan'></td> "),
                         QStringLiteral("<td align=right x:num >"), QStringLiteral("</td>"), QStringLiteral("</td>"),
                         QStringLiteral("</tr>  ")};
    const ScrewLines l40{QStringLiteral("<tr height=17 style='height:12.75pt'> "),
                         QStringLiteral("<td height=17 colspan=2 style='height:12.75pt;mso-ignore:colspan'></td> "),
                         QStringLiteral("<td >"), QStringLiteral("</td>"), QStringLiteral("<td align=right x:num>"),
                         QStringLiteral("<td colspan=2 style='mso-ignore:colspan'></td>  "),
                         QStringLiteral("<td align=right x:num>"), QStringLiteral("</td>  "), QStringLiteral("</td> "),
                         QStringLiteral("</tr>")};
    auto screwRow = [&](const KitSheet::ScrewRow& row, const ScrewLines& t, const QString& designation) {
        out << t.tr << t.lead;
        out << t.label1 + esc(row.label) + t.label2;
        out << QStringLiteral("<td></td> ");
        out << t.count1 + esc(row.count) + QStringLiteral("</td>");
        out << t.tail;
        double screws = 0;
        // A kit without screws of this size has a blank row: nothing to price.
        if (numfmt::parse(row.count, locale, &screws)) {
            const PriceResult p = prices(designation);
            if (p.found && p.price) {
                const double sum = *p.price * screws;
                out << t.priceCell + numfmt::shortest(*p.price, locale) + t.priceEnd;
                out << t.priceCell + numfmt::shortest(sum, locale) + t.sumEnd;
                priceTotal = numfmt::addSingle(priceTotal, *p.price);
                sumTotal = numfmt::addSingle(sumTotal, sum);
            }
        }
        out << t.trEnd;
    };
    screwRow(s.screws25, l25, screwDesignation25());
    screwRow(s.screws40, l40, screwDesignation40());

    out << QStringLiteral(" <tr height=25 valign=bottom>");
    out << QStringLiteral("   <td></td>");
    out << QStringLiteral("   <td class=xl25>") + sheettexts::total() + QStringLiteral("</td>");
    out << QStringLiteral("   <td colspan=5></td>");
    out << QStringLiteral("   <td class=xl26 align=right x:num>") + numfmt::fixed2(priceTotal, locale) + QStringLiteral("</td>");
    out << QStringLiteral("   <td class=xl26 align=right x:num>") + numfmt::fixed2(sumTotal, locale) + QStringLiteral("</td>");
    out << QStringLiteral(" </tr>");
    out << endLines();

    QString doc = out.join(QStringLiteral("\r\n"));
    doc += QStringLiteral("\r\n");
    return htmlDocumentBytes(doc);
}

void writeKitSheetHtml(const QString& path, const KitSheet& sheet, const PriceLookup& prices, const QLocale& locale)
{
    writeDocumentFile(path, [&] { return kitSheetHtml(sheet, prices, locale); });
}

} // namespace lir
