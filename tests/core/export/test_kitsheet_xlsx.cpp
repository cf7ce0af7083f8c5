// The kit sheet as a workbook, read back with openpyxl.
#include "core/base/error.h"
#include "core/export/kitsheet_xlsx.h"
#include "core/export/documentfile.h"
#include "exportsupport.h"

#include <QFileInfo>
#include <QMap>

#include <cmath>

using namespace lir;
using test::borders;
using test::cell;
using test::holdsTexts;
using test::readBack;
using test::value;

namespace {

const QLocale russian(QLocale::Russian, QLocale::Russia);

KitSheet threeLines()
{
    KitSheet s;
    s.kitDesignation = QStringLiteral("ЛИР-6741-14М");
    s.ffh = 1900;
    s.ffb = 800;
    s.gh = 950;
    s.profileSystem = QStringLiteral("12/20-9");
    s.profileSystemName = QStringLiteral("KBE AD");
    s.ral = 9016;
    s.kitCount = 2;
    s.lines = {{QStringLiteral("6742.00.03-20"), QStringLiteral("Зацеп проветривателя"), QStringLiteral("000320"), 2,
                QStringLiteral("4"), {}},
               {QStringLiteral("6742.09.00-00"), QStringLiteral("Петля верхняя на раме М"), QStringLiteral("09.00"), 2, {},
                QStringLiteral("8")},
               {QStringLiteral("0483.00.01-00"), QStringLiteral("Планка запорная"), QStringLiteral("009900"), 10,
                QStringLiteral("10"), {}}};
    s.screws25 = {QStringLiteral("Общее кол-во шурупов(4*25)"), QStringLiteral("14")};
    s.screws40 = {QStringLiteral("Общее кол-во шурупов(4*40)"), QStringLiteral("8")};
    return s;
}

} // namespace

TEST(KitSheetXlsx, LayoutOfAThreeLineKit)
{
    test::ScopedWorkDir dir;
    const QString path = dir.file(QStringLiteral("kit.xlsx"));
    writeKitSheetXlsx(path, threeLines(),
                      test::priceTable({{QStringLiteral("6742.00.03-20"), 12.5},
                              {QStringLiteral("6742.09.00-00"), 40.0},
                              {QStringLiteral("0483.00.01-00"), 3.0},
                              {QStringLiteral("DIN7982(4*25)"), 0.5},
                              {QStringLiteral("DIN7982(4*40)"), 0.75}}),
                      russian);
    const QJsonObject book = readBack(path);
    EXPECT_EQ(book[QStringLiteral("sheets")].toArray().first().toString(), QStringLiteral("Лист1"));
    EXPECT_EQ(book[QStringLiteral("orientation")].toString(), QStringLiteral("landscape"));
    const QJsonObject widths = book[QStringLiteral("widths")].toObject();
    const double expected[] = {5.71, 21.86, 27.86, 11.5, 11.5, 12.71, 12.71, 10, 10};
    for (int c = 0; c < 9; ++c)
        // Stored in whole pixels plus the cell padding of five pixels, seven pixels a character.
        EXPECT_NEAR(widths[QString(QChar(u'A' + c))].toDouble(), (std::round(expected[c] * 7) + 5) / 7, 0.01) << c;
    EXPECT_EQ(book[QStringLiteral("heights")].toObject()[QStringLiteral("10")].toDouble(), 22);
    EXPECT_EQ(book[QStringLiteral("selection")].toString(), QStringLiteral("E18"));

    EXPECT_TRUE(holdsTexts(book, {{"A1", u"ЛИР-6741-14М"},
                                  {"A3", u"Размер створки по фальцу (высота * ширина): 1900mm * 800mm"},
                                  {"A4", u"Высота ручки: "},
                                  {"C4", u"950 mm"},
                                  {"C5", u"12/20-9"}, // not a date
                                  {"A8", u"Количество комплектов: "}}));
    EXPECT_TRUE(cell(book, "A1")[QStringLiteral("bold")].toBool());
    EXPECT_EQ(cell(book, "A1")[QStringLiteral("size")].toDouble(), 18);
    for (const char* ref : {"C5", "C7", "C8"}) {
        const QJsonObject c = cell(book, ref);
        EXPECT_EQ(c[QStringLiteral("type")].toString(), QStringLiteral("s")) << ref;
        EXPECT_EQ(c[QStringLiteral("format")].toString(), QStringLiteral("@")) << ref;
        EXPECT_EQ(c[QStringLiteral("align")].toString(), QStringLiteral("left")) << ref;
    }
    EXPECT_TRUE(cell(book, "A8")[QStringLiteral("bold")].toBool());

    // The header row: bold, medium borders.
    EXPECT_TRUE(holdsTexts(book, {{"E10", u"Количество "}, {"A10", u"№ п/п"}}));
    EXPECT_TRUE(cell(book, "I10")[QStringLiteral("bold")].toBool());
    EXPECT_EQ(borders(cell(book, "C10")), QStringLiteral("medium/medium/medium/medium"));

    // Kit lines: text cells keep their exact text.
    EXPECT_TRUE(holdsTexts(book, {{"B11", u"6742.00.03-20"}, {"D11", u"000320"}, {"A12", u"2."}}));
    EXPECT_EQ(cell(book, "B11")[QStringLiteral("format")].toString(), QStringLiteral("@"));
    EXPECT_EQ(cell(book, "B11")[QStringLiteral("align")].toString(), QStringLiteral("left"));
    EXPECT_EQ(cell(book, "D11")[QStringLiteral("align")].toString(), QStringLiteral("center"));
    EXPECT_EQ(value(book, "E13").toDouble(), 10);
    EXPECT_EQ(cell(book, "E13")[QStringLiteral("type")].toString(), QStringLiteral("n"));
    EXPECT_EQ(value(book, "F11").toDouble(), 4);
    EXPECT_TRUE(value(book, "G11").isNull());
    EXPECT_EQ(value(book, "H11").toDouble(), 12.5);
    EXPECT_EQ(value(book, "I11").toDouble(), 25);
    // Thin inside, medium outer frame around A10:I13.
    EXPECT_EQ(borders(cell(book, "C12")), QStringLiteral("thin/thin/thin/thin"));
    EXPECT_EQ(borders(cell(book, "A12")), QStringLiteral("thin/thin/medium/thin"));
    EXPECT_EQ(borders(cell(book, "I13")), QStringLiteral("thin/medium/thin/medium"));
    EXPECT_EQ(borders(cell(book, "E11")), QStringLiteral("medium/thin/thin/thin"));

    // Screw rows 15 and 16, totals in row 18.
    EXPECT_EQ(value(book, "E15").toDouble(), 14);
    EXPECT_EQ(value(book, "H16").toDouble(), 0.75);
    EXPECT_EQ(value(book, "I16").toDouble(), 6);
    EXPECT_EQ(borders(cell(book, "C15")), QStringLiteral("-/-/-/-"));
    EXPECT_TRUE(holdsTexts(book, {{"C15", u"Общее кол-во шурупов(4*25)"}, {"B18", u"Итого"}, {"H18", u"=SUM(H11:H16)"},
                                  {"I18", u"=SUM(I11:I16)"}}));
    EXPECT_TRUE(cell(book, "B18")[QStringLiteral("bold")].toBool());
    EXPECT_TRUE(cell(book, "G18")[QStringLiteral("bold")].toBool());
}

TEST(KitSheetXlsx, AmountsAreTheNumbersTheHtmlSheetWritesAndThePagesPrint)
{
    test::ScopedWorkDir dir;
    const QString path = dir.file(QStringLiteral("kit.xlsx"));
    KitSheet s = threeLines();
    s.lines[0].quantity = 3;
    // 0,1 x 3 is 0.30000000000000004 as a product; the HTML sheet writes 0,3.
    writeKitSheetXlsx(path, s,
                      test::priceTable({{QStringLiteral("6742.00.03-20"), 0.1},
                                        {QStringLiteral("6742.09.00-00"), 1234.5},
                                        {QStringLiteral("DIN7982(4*25)"), 0.35}}),
                      russian);
    const QJsonObject book = readBack(path);
    EXPECT_EQ(value(book, "I11").toDouble(), 0.3);
    EXPECT_EQ(value(book, "I12").toDouble(), 2469);
    EXPECT_EQ(value(book, "I15").toDouble(), 4.9);
    for (const char* ref : {"H11", "I11", "H12", "I12", "H15", "I15", "H18", "I18"}) {
        EXPECT_EQ(cell(book, ref)[QStringLiteral("format")].toString(), QStringLiteral("0.00")) << ref;
        EXPECT_TRUE(cell(book, ref)[QStringLiteral("type")].toString() == QLatin1String("n")
                    || cell(book, ref)[QStringLiteral("type")].toString() == QLatin1String("f")) << ref;
    }
    EXPECT_EQ(cell(book, "E11")[QStringLiteral("type")].toString(), QStringLiteral("n"));
    EXPECT_TRUE(holdsTexts(book, {{"D13", u"009900"}}));
    // The title across the table; A4, one page wide, the header row on every page.
    EXPECT_EQ(book[QStringLiteral("merged")].toArray(), QJsonArray{QStringLiteral("A1:I1")});
    EXPECT_EQ(QString::fromUtf8(QJsonDocument(book[QStringLiteral("page")].toObject()).toJson(QJsonDocument::Compact)),
              QStringLiteral(R"({"fit":[1,0],"margins":[0.4,0.4,0.6,0.6],"paper":9,"titles":"$10:$10"})"));
}

TEST(KitSheetXlsx, EveryTextCellInItsPlace)
{
    test::ScopedWorkDir dir;
    const QString path = dir.file(QStringLiteral("kit.xlsx"));
    writeKitSheetXlsx(path, threeLines(), test::priceTable({}), russian);
    const QJsonObject cells = readBack(path)[QStringLiteral("cells")].toObject();
    QMap<QString, QString> texts;
    for (auto it = cells.begin(); it != cells.end(); ++it)
        if (it.value().toObject()[QStringLiteral("type")].toString() == QLatin1String("s"))
            texts.insert(it.key(), it.value().toObject()[QStringLiteral("value")].toString());
    // One line a sheet row.
    const QMap<QString, QString> expected = {
        {u"A1"_qs, u"ЛИР-6741-14М"_qs},
        {u"A3"_qs, u"Размер створки по фальцу (высота * ширина): 1900mm * 800mm"_qs},
        {u"A4"_qs, u"Высота ручки: "_qs}, {u"C4"_qs, u"950 mm"_qs},
        {u"A5"_qs, u"Система профилей: "_qs}, {u"C5"_qs, u"12/20-9"_qs},
        {u"A6"_qs, u"Название системы профилей: "_qs}, {u"C6"_qs, u"KBE AD"_qs},
        {u"A7"_qs, u"Цвет (RAL): "_qs}, {u"C7"_qs, u"9016"_qs},
        {u"A8"_qs, u"Количество комплектов: "_qs}, {u"C8"_qs, u"2"_qs},
        {u"A10"_qs, u"№ п/п"_qs}, {u"B10"_qs, u"Обозначение"_qs}, {u"C10"_qs, u"Наименование"_qs},
        {u"D10"_qs, u"Маркировка"_qs}, {u"E10"_qs, u"Количество "_qs}, {u"F10"_qs, u"Шурупы(4*25)"_qs},
        {u"G10"_qs, u"Шурупы(4*40)"_qs}, {u"H10"_qs, u"Цена"_qs}, {u"I10"_qs, u"Сумма"_qs},
        {u"A11"_qs, u"1."_qs}, {u"B11"_qs, u"6742.00.03-20"_qs}, {u"C11"_qs, u"Зацеп проветривателя"_qs},
        {u"D11"_qs, u"000320"_qs},
        {u"A12"_qs, u"2."_qs}, {u"B12"_qs, u"6742.09.00-00"_qs}, {u"C12"_qs, u"Петля верхняя на раме М"_qs},
        {u"D12"_qs, u"09.00"_qs},
        {u"A13"_qs, u"3."_qs}, {u"B13"_qs, u"0483.00.01-00"_qs}, {u"C13"_qs, u"Планка запорная"_qs},
        {u"D13"_qs, u"009900"_qs},
        {u"C15"_qs, u"Общее кол-во шурупов(4*25)"_qs},
        {u"C16"_qs, u"Общее кол-во шурупов(4*40)"_qs},
        {u"B18"_qs, u"Итого"_qs},
    };
    EXPECT_EQ(texts, expected);
}

TEST(KitSheetXlsx, UnpricedLineAndUnpricedScrewRow)
{
    test::ScopedWorkDir dir;
    const QString path = dir.file(QStringLiteral("kit.xlsx"));
    KitSheet s = threeLines();
    s.handleAlongWidth = true;
    writeKitSheetXlsx(path, s,
                      test::priceTable({{QStringLiteral("6742.00.03-20"), 12.5},
                              {QStringLiteral("6742.09.00-00"), std::nullopt}, // listed, no price yet
                              {QStringLiteral("DIN7982(4*25)"), 0.5}}),
                      russian);
    const QJsonObject book = readBack(path);
    EXPECT_TRUE(holdsTexts(book, {{"A4", u"Ширина ручки: "}, {"I18", u"=SUM(I11:I16)"}}));
    for (const char* ref : {"H12", "I12", "H13", "I13"}) {
        EXPECT_TRUE(value(book, ref).isNull()) << ref;
        EXPECT_TRUE(borders(cell(book, ref)).startsWith(QStringLiteral("thin"))) << ref; // still framed
    }
    EXPECT_EQ(value(book, "I15").toDouble(), 7);
    EXPECT_TRUE(value(book, "H16").isNull());
    EXPECT_TRUE(value(book, "I16").isNull());
}

TEST(KitSheetXlsx, FailuresNameTheFileAndNewNamesAreFresh)
{
    test::ScopedWorkDir dir;
    const QString bad = dir.file(QStringLiteral("no/such/dir/kit.xlsx"));
    try {
        writeKitSheetXlsx(bad, threeLines(), test::priceTable({}), russian);
        FAIL() << "expected an error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(bad));
    }
    qputenv("HOME", dir.path().toUtf8());
    qputenv("XDG_DOCUMENTS_DIR", dir.file(QStringLiteral("docs")).toUtf8());
    const QString first = newWorkbookPath(QStringLiteral("ЛИР-6742/33"));
    const QString second = newWorkbookPath(QStringLiteral("ЛИР-6742/33"));
    EXPECT_NE(first, second);
    EXPECT_TRUE(QFileInfo::exists(first));
    EXPECT_FALSE(QFileInfo(first).fileName().contains(QLatin1Char('/')));
    EXPECT_TRUE(first.endsWith(QStringLiteral(".xlsx")));
    EXPECT_TRUE(first.contains(QStringLiteral("/LIRComplect/")));
}
