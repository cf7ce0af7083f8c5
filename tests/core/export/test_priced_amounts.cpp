// Amounts of priced kits in the summary and the kit sheet: each price and sum
// rounded once from its exact value, at markups below, at and above zero.
#include "core/base/codec.h"
#include "core/export/kitsheet_html.h"
#include "core/export/ordersummary.h"
#include "core/orders/ordermodel.h"
#include "support/testsupport.h"

#include <QRegularExpression>

using namespace lir;

namespace {

const QLocale russian(QLocale::Russian, QLocale::Russia);

// The amounts of a summary document in order: price and sum of each priced
// row, then the two totals.
QStringList amountsOf(const QByteArray& doc)
{
    static const QRegularExpression number(QStringLiteral("x:num>([^<]*)</td>"));
    QStringList out;
    for (const auto& m : number.globalMatch(fromWindows1251(doc)))
        out << m.captured(1);
    return out;
}

// A components grid of these rows: designation, name, marking, quantity.
OrderGrid componentsGrid(const QList<QStringList>& rows)
{
    const OrderModel model;
    OrderGrid grid(model.grid(OrderModel::Components).titles(), model.grid(OrderModel::Components).widths());
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c)
            grid.setCell(r + 1, c, rows[r][c]);
        grid.appendRow();
    }
    return grid;
}

} // namespace

TEST(PricedAmounts, SummaryPricesAndSumsAtEachMarkup)
{
    const OrderGrid grid = componentsGrid({{QStringLiteral("ЛИР-6741-01"), QStringLiteral("Запор"), QString(), QStringLiteral("3")},
                                     {QStringLiteral("6742.00.03-20"), QStringLiteral("Угловой переключатель"), QStringLiteral("003"), QStringLiteral("2")},
                                     {QStringLiteral("ЛИР-0007"), QStringLiteral("Привод"), QString(), QStringLiteral("1")},
                                     {QStringLiteral("ЛИР-0009"), QStringLiteral("Заглушка"), QString(), QStringLiteral("16")},
                                     {QStringLiteral("ЛИР-0011"), QStringLiteral("Ножницы"), QString(), QStringLiteral("7")}});
    const auto prices = test::priceTable({{QStringLiteral("ЛИР-6741-01"), 123.45},
                                          {QStringLiteral("6742.00.03-20"), 12.45},
                                          {QStringLiteral("ЛИР-0007"), 1500.5},
                                          {QStringLiteral("ЛИР-0009"), 0.35},
                                          {QStringLiteral("ЛИР-0011"), 249.99}});
    const std::pair<const char*, const char*> expected[] = {
        {"-5", "117,28 351,83 11,83 23,65 1425,47 1425,47 0,33 5,32 237,49 1662,43 1792,40 3468,72"},
        {"0", "123,45 370,35 12,45 24,90 1500,50 1500,50 0,35 5,60 249,99 1749,93 1886,74 3651,28"},
        {"10", "135,80 407,39 13,70 27,39 1650,55 1650,55 0,39 6,16 274,99 1924,92 2075,41 4016,41"},
        {"33", "164,19 492,57 16,56 33,12 1995,67 1995,67 0,47 7,45 332,49 2327,41 2509,36 4856,20"},
    };
    for (const auto& [markup, amounts] : expected) {
        SCOPED_TRACE(markup);
        EXPECT_EQ(amountsOf(orderSummaryHtml(OrderModel::Components, grid, QLatin1String(markup), prices, russian)).join(QLatin1Char(' ')), QString::fromLatin1(amounts));
    }
}

TEST(PricedAmounts, SummaryTotalsAreAddedInSinglePrecision)
{
    // 10000 for two pieces, then thirteen rows of 0,1: every 0,1 added to a
    // single-precision total above 8192 loses a little (in double precision
    // the totals would read 10001,30 and 20001,30).
    QList<QStringList> rows = {{QStringLiteral("BIG"), QStringLiteral("Дорогая деталь"), QString(), QStringLiteral("2")}};
    QHash<QString, std::optional<double>> prices = {{QStringLiteral("BIG"), 10000.0}};
    for (int i = 1; i <= 13; ++i) {
        const QString d = QStringLiteral("P-%1").arg(i);
        rows.append({d, QStringLiteral("Мелкая деталь"), QString(), QStringLiteral("1")});
        prices.insert(d, 0.1);
    }
    const QStringList amounts =
        amountsOf(orderSummaryHtml(OrderModel::Components, componentsGrid(rows), QStringLiteral("0"), test::priceTable(prices), russian));
    ASSERT_EQ(amounts.size(), 30);
    EXPECT_EQ(amounts.mid(28), (QStringList{QStringLiteral("10001,29"), QStringLiteral("20001,29")}));
}

TEST(PricedAmounts, SheetTotalsRoundTheSinglePrecisionTotal)
{
    // 234,555 is 234.55499267578125 in single precision: below the half.
    KitSheet s;
    s.kitDesignation = QStringLiteral("ЛИР-6741-01МR100");
    s.lines = {{QStringLiteral("A-1"), QStringLiteral("Запор"), QStringLiteral("-"), 1, {}, {}},
               {QStringLiteral("C-3"), QStringLiteral("Без цены в таблице"), QStringLiteral("-"), 1, {}, {}}};
    const QString doc = fromWindows1251(kitSheetHtml(s, test::priceTable({{QStringLiteral("A-1"), 234.555}}), russian));
    EXPECT_TRUE(doc.contains(QStringLiteral("x:num>234,555</td>")));
    EXPECT_TRUE(doc.contains(QStringLiteral("   <td class=xl26 align=right x:num>234,55</td>\r\n"
                                            "   <td class=xl26 align=right x:num>234,55</td>\r\n")))
        << doc.right(600).toStdString();
}
