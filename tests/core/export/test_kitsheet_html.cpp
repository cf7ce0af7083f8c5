// The kit sheet as an HTML document: byte for byte against expected files,
// number forms, the code page, and failures while writing.
#include "core/base/error.h"
#include "core/base/codec.h"
#include "core/export/kitsheet_html.h"
#include "core/base/numberformat.h"
#include "support/testsupport.h"

#include <QFile>
#include <QFileInfo>

using namespace lir;

namespace {

KitSheet syntheticSheet()
{
    KitSheet s;
    s.kitDesignation = QStringLiteral("ЛИР-6741-01МR100");
    s.ffh = 400;
    s.ffb = 500;
    s.gh = 200;
    s.profileSystem = QStringLiteral("12/20-13");
    s.profileSystemName = QStringLiteral("ARtec <PAD> & Co");
    s.ral = 9016;
    s.kitCount = 1;
    s.lines = {{QStringLiteral("A-1"), QStringLiteral("Деталь один"), QStringLiteral("-"), 2, QStringLiteral("8"), {}},
               {QStringLiteral("B-2"), QStringLiteral("Деталь два"), QStringLiteral("009911"), 4, {}, QStringLiteral("12")},
               {QStringLiteral("C-3"), QStringLiteral("Без цены в таблице"), QStringLiteral("-"), 1, {}, {}},
               {QStringLiteral("D-4"), QStringLiteral("Цена не указана"), QStringLiteral("-"), 3, {}, {}}};
    s.screws25 = {QStringLiteral("Общее кол-во шурупов(4*25)"), QStringLiteral("8")};
    s.screws40 = {QStringLiteral("Общее кол-во шурупов(4*40)"), QStringLiteral("12")};
    return s;
}

const QLocale russian(QLocale::Russian, QLocale::Russia);

} // namespace

TEST(KitSheetHtml, MatchesTheExpectedDocument)
{
    // Prices 10 and 2,5 for quantities 2 and 4; one line not in the table, one
    // listed without a price; neither screw is in the table.
    const auto prices = test::priceTable({{QStringLiteral("A-1"), 10.0}, {QStringLiteral("B-2"), 2.5}, {QStringLiteral("D-4"), std::nullopt}});
    const QByteArray doc = kitSheetHtml(syntheticSheet(), prices, russian);
    test::expectSameDocument(doc, test::readFile(QStringLiteral(LIR_TEST_DATA "/export/sheet_synthetic.html")));
    // Every line ends in CR LF, and the no-break spaces are single bytes.
    EXPECT_EQ(doc.count("\r\n"), doc.count('\n'));
    EXPECT_EQ(doc.count('\xA0'), 5);
    EXPECT_TRUE(doc.contains(toWindows1251(QStringLiteral("ARtec &lt;PAD&gt; &amp; Co"))));
}

TEST(KitSheetHtml, ScrewRowsArePricedOnlyWhenTheyHoldScrews)
{
    KitSheet s = syntheticSheet();
    s.lines.resize(1);
    s.screws40 = {}; // a kit without 4x40 screws has a blank row
    const auto prices = test::priceTable({{QStringLiteral("A-1"), 10.0},
                               {QStringLiteral("DIN7982(4*25)"), 0.25},
                               {QStringLiteral("DIN7982(4*40)"), 0.5}});
    const QString doc = fromWindows1251(kitSheetHtml(s, prices, russian));
    EXPECT_TRUE(doc.contains(QStringLiteral("<td align=right x:num >0,25</td>\r\n<td align=right x:num >2</td>\r\n</tr>  ")));
    EXPECT_TRUE(doc.contains(QStringLiteral("<td align=right x:num></td>\r\n<td colspan=2 style='mso-ignore:colspan'></td>  \r\n</tr>\r\n")));
    // Totals: 10 + 0,25 and 20 + 2.
    EXPECT_TRUE(doc.contains(QStringLiteral("x:num>10,25</td>\r\n   <td class=xl26 align=right x:num>22,00</td>")));
}

TEST(KitSheetHtml, TotalsAreAddedInSinglePrecision)
{
    // 10000 for two pieces, then thirteen lines of 0,1: in single precision
    // every 0,1 added to a total above 8192 loses a little, which shows in the
    // second decimal (in double precision the totals would read 10001,30 and 20001,30).
    KitSheet s = syntheticSheet();
    s.lines = {{QStringLiteral("BIG"), QStringLiteral("Дорогая деталь"), QStringLiteral("-"), 2, {}, {}}};
    QHash<QString, std::optional<double>> prices = {{QStringLiteral("BIG"), 10000.0}};
    for (int i = 1; i <= 13; ++i) {
        const QString d = QStringLiteral("P-%1").arg(i);
        s.lines.append({d, QStringLiteral("Мелкая деталь"), QStringLiteral("-"), 1, {}, {}});
        prices.insert(d, 0.1);
    }
    const QString doc = fromWindows1251(kitSheetHtml(s, test::priceTable(prices), russian));
    EXPECT_TRUE(doc.contains(QStringLiteral("<td class=xl30 style='border-top:none;border-left:none' x:num>0,1</td>\r\n")));
    EXPECT_TRUE(doc.contains(QStringLiteral("   <td class=xl26 align=right x:num>10001,29</td>\r\n"
                                            "   <td class=xl26 align=right x:num>20001,29</td>\r\n")))
        << doc.right(1200).toStdString();
}

TEST(KitSheetHtml, TiltAndTiltTurnDifferences)
{
    KitSheet s = syntheticSheet();
    s.handleAlongWidth = true;
    QString doc = fromWindows1251(kitSheetHtml(s, test::priceTable({}), russian));
    EXPECT_TRUE(doc.contains(QStringLiteral("x:str=\"Ширина ручки: \">Ширина ручки:<span")));
    EXPECT_FALSE(doc.contains(QStringLiteral("Высота ручки")));
    s = syntheticSheet();
    s.quantityAsNumber = true;
    doc = fromWindows1251(kitSheetHtml(s, test::priceTable({}), russian));
    EXPECT_TRUE(doc.contains(QStringLiteral("<td class=xl30 style='border-top:none;border-left:none' x:num>4</td>  ")));
}

TEST(KitSheetHtml, NumberForms)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(numfmt::shortest(12.5, russian), QStringLiteral("12,5"));
    EXPECT_EQ(numfmt::shortest(12.5, english), QStringLiteral("12.5"));
    EXPECT_EQ(numfmt::shortest(20, russian), QStringLiteral("20"));
    EXPECT_EQ(numfmt::shortest(0.1 * 3, russian), QStringLiteral("0,3"));
    EXPECT_EQ(numfmt::shortest(1.0 / 3, russian), QStringLiteral("0,333333333333333"));
    EXPECT_EQ(numfmt::shortest(1234567.891, russian), QStringLiteral("1234567,891"));
    EXPECT_EQ(numfmt::shortest(-7.25, russian), QStringLiteral("-7,25"));
    EXPECT_EQ(numfmt::shortest(1e20, russian), QStringLiteral("1E20"));
    EXPECT_EQ(numfmt::fixed2(12.5, russian), QStringLiteral("12,50"));
    EXPECT_EQ(numfmt::fixed2(0, russian), QStringLiteral("0,00"));
    EXPECT_EQ(numfmt::fixed2(30, english), QStringLiteral("30.00"));
    EXPECT_EQ(numfmt::fixed2(123456.789, russian), QStringLiteral("123456,80")); // seven significant digits
    EXPECT_EQ(numfmt::fixed2(1234567.891, russian), QStringLiteral("1234568,00"));
    EXPECT_EQ(numfmt::fixed2(12345678.0, russian), QStringLiteral("1,234568E+007"));
    // Totals are single precision, rounded after every addition.
    float t = 0;
    for (int i = 0; i < 10; ++i)
        t = numfmt::addSingle(t, 0.1);
    EXPECT_EQ(t, 1.0000001192092896f);
    EXPECT_NE(double(t), 1.0);
}

TEST(KitSheetHtml, WindowsCodePage)
{
    EXPECT_EQ(toWindows1251(QStringLiteral("Ая№ё")), QByteArray("\xC0\xFF\xB9\xB8"));
    EXPECT_EQ(toWindows1251(QString(QChar(0xA0))), QByteArray("\xA0"));
    EXPECT_EQ(toWindows1251(QStringLiteral("€✓")), QByteArray("\x88?"));
    EXPECT_EQ(fromWindows1251(toWindows1251(QStringLiteral("Петля нижняя на раме ДМ"))),
              QStringLiteral("Петля нижняя на раме ДМ"));
}

TEST(KitSheetHtml, AFileThatCannotBeWrittenIsAnErrorNamingIt)
{
    test::ScopedWorkDir dir;
    const QString path = dir.file(QStringLiteral("missing/sub/kit.html"));
    try {
        writeKitSheetHtml(path, syntheticSheet(), test::priceTable({}), russian);
        FAIL() << "expected an error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(path));
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    const QString good = dir.file(QStringLiteral("kit.html"));
    writeKitSheetHtml(good, syntheticSheet(), test::priceTable({}), russian);
    EXPECT_EQ(test::readFile(good), kitSheetHtml(syntheticSheet(), test::priceTable({}), russian));
}
