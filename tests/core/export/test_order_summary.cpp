// The priced order summary: the HTML document of each view against expected
// files, the markup, and the workbook read back with openpyxl.
#include "core/base/codec.h"
#include "core/base/error.h"
#include "core/calc/turnkit.h"
#include "core/export/orderexport.h"
#include "core/export/ordersummary.h"
#include "core/calc/ordersink.h"
#include "exportsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace lir;
using test::cell;
using test::holdsTexts;
using test::value;

namespace {

// One case of tests/data/summary: the view, the markup as typed, the grid's
// rows and the price table the expected document was made with.
struct SummaryCase
{
    SummaryView view;
    QString markup;
    QLocale locale;
    OrderGrid grid;
    PriceLookup prices;
};

SummaryCase loadCase(const QString& name)
{
    const QJsonObject o =
        QJsonDocument::fromJson(test::readFile(QStringLiteral(LIR_TEST_DATA "/summary/") + name + QStringLiteral("/input.json")))
            .object();
    const auto view = SummaryView(o[QStringLiteral("view")].toInt());
    // The grid as the window has it: its titles and widths.
    const OrderModel model;
    OrderGrid grid(model.grid(view).titles(), model.grid(view).widths());
    int r = 1;
    for (const QJsonValue& row : o[QStringLiteral("rows")].toArray()) {
        const QJsonArray texts = row.toArray();
        for (int c = 0; c < texts.size(); ++c)
            grid.setCell(r, c, texts.at(c).toString());
        grid.appendRow();
        ++r;
    }
    const QLocale locale = o[QStringLiteral("comma")].toBool() ? QLocale(QLocale::Russian) : QLocale::c();
    return {view, o[QStringLiteral("markup")].toString(), locale, grid,
            test::priceTableOf(o[QStringLiteral("prices")].toObject())};
}

QJsonObject workbookOf(const QString& caseName, test::ScopedWorkDir& dir)
{
    const SummaryCase c = loadCase(caseName);
    const QString path = dir.file(caseName + QStringLiteral(".xlsx"));
    writeOrderSummaryXlsx(path, c.view, c.grid, c.markup, c.prices);
    return test::readBack(path);
}

} // namespace

TEST(OrderSummaryHtml, EachViewMatchesItsExpectedDocument)
{
    for (const char* name : {"components_markup10", "kits_markup0", "combined_negative", "components_empty"}) {
        SCOPED_TRACE(name);
        const SummaryCase c = loadCase(QLatin1String(name));
        const QByteArray doc = orderSummaryHtml(c.view, c.grid, c.markup, c.prices, c.locale);
        test::expectSameDocument(
            doc, test::readFile(QStringLiteral(LIR_TEST_DATA "/summary/") + QLatin1String(name) + QStringLiteral("/expected.html")));
    }
}

TEST(OrderSummaryHtml, TheMarkupFactorIsKeptInSinglePrecision)
{
    const float k = markupFactor(10);
    EXPECT_EQ(100.0 * k, 110.00000238418579);
    EXPECT_EQ(100.0 * 3 * k, 330.0000071525574);
    EXPECT_EQ(markupFactor(0), 1.0f);
    EXPECT_EQ(markupFactor(-100), 0.0f);
    EXPECT_EQ(markupFactor(-15), 0.85f);
}

TEST(OrderSummaryHtml, ABadMarkupIsRefusedAndNothingIsWritten)
{
    EXPECT_EQ(readMarkup(QStringLiteral("25")), 25);
    EXPECT_EQ(readMarkup(QStringLiteral("-100")), -100);
    auto messageOf = [](const QString& text) {
        try {
            readMarkup(text);
        } catch (const Error& e) {
            return e.message();
        }
        return QStringLiteral("<accepted>");
    };
    EXPECT_EQ(messageOf(QStringLiteral("10,5")), QStringLiteral("'10,5' не является допустимым целым числом"));
    EXPECT_EQ(messageOf(QString()), QStringLiteral("'' не является допустимым целым числом"));
    EXPECT_EQ(messageOf(QStringLiteral("99999999999")), QStringLiteral("'99999999999' не является допустимым целым числом"));
    EXPECT_EQ(messageOf(QStringLiteral("-101")),
              QStringLiteral("Наценка -101% меньше -100%: цены стали бы отрицательными. Введите наценку от -100 и больше."));

    test::ScopedWorkDir dir;
    const SummaryCase c = loadCase(QStringLiteral("components_markup10"));
    const QString html = dir.file(QStringLiteral("old.html"));
    QFile f(html);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    EXPECT_THROW(writeOrderSummaryHtml(html, c.view, c.grid, QStringLiteral("abc"), c.prices, c.locale), Error);
    EXPECT_EQ(test::readFile(html), QByteArray("old"));
    EXPECT_THROW(writeOrderSummaryXlsx(dir.file(QStringLiteral("new.xlsx")), c.view, c.grid, QStringLiteral("-200"), c.prices),
                 Error);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.html")});
}

TEST(OrderSummaryHtml, AMarkupOfMinusHundredGivesZeroPricesAndTheTextAsTyped)
{
    SummaryCase c = loadCase(QStringLiteral("components_markup10"));
    const QString doc = fromWindows1251(orderSummaryHtml(c.view, c.grid, QStringLiteral("-100"), c.prices, c.locale));
    EXPECT_TRUE(doc.contains(QStringLiteral("x:num>0,00</td> \r\n")));
    EXPECT_FALSE(doc.contains(QStringLiteral("x:num>-")));
    EXPECT_TRUE(doc.contains(QStringLiteral(">рассчитано с наценкой -100%</td>   \r\n")));
}

TEST(OrderSummaryXlsx, ComponentsWithTenPercent)
{
    test::ScopedWorkDir dir;
    const QJsonObject book = workbookOf(QStringLiteral("components_markup10"), dir);
    EXPECT_EQ(book[QStringLiteral("sheets")].toArray().first().toString(), QStringLiteral("Лист1"));
    EXPECT_EQ(value(book, "B1").toString(), QStringLiteral("Суммарный заказ (комплектующие)"));
    EXPECT_TRUE(cell(book, "B1")[QStringLiteral("bold")].toBool());
    EXPECT_EQ(cell(book, "B1")[QStringLiteral("size")].toDouble(), 18);
    // Header row 2, bold and framed from B to G.
    QStringList header;
    for (const char* ref : {"B2", "C2", "D2", "E2", "F2", "G2"}) {
        header << value(book, ref).toString();
        EXPECT_TRUE(cell(book, ref)[QStringLiteral("bold")].toBool()) << ref;
        EXPECT_EQ(cell(book, ref)[QStringLiteral("border")].toArray().first().toString(), QStringLiteral("thin")) << ref;
    }
    EXPECT_EQ(header, (QStringList{QStringLiteral("Обозначение ЛИР"), QStringLiteral("Наименование"),
                                   QStringLiteral("Маркировка"), QStringLiteral("Кол-во"), QStringLiteral("Цена"),
                                   QStringLiteral("Сумма")}));
    // Widths: the grid's pixels / 5.
    const QJsonObject widths = book[QStringLiteral("widths")].toObject();
    // (The file stores a width with the padding of five pixels at seven pixels a character.)
    for (const auto& [column, chars] : {std::pair{"B", 19}, {"C", 30}, {"D", 14}, {"E", 8}})
        EXPECT_NEAR(widths[QLatin1String(column)].toDouble(), (chars * 7 + 5) / 7.0, 0.01) << column;
    // The amounts the HTML summary writes (110,00, not the product
    // 110.00000238418579 with the single-precision factor), shown with two
    // decimals; a quantity is a number, the other texts stay texts.
    EXPECT_EQ(value(book, "F3").toDouble(), 110);
    EXPECT_EQ(value(book, "G3").toDouble(), 330);
    for (const char* ref : {"F3", "G3", "F13", "G13"})
        EXPECT_EQ(cell(book, ref)[QStringLiteral("format")].toString(), QStringLiteral("0.00")) << ref;
    EXPECT_EQ(cell(book, "E3")[QStringLiteral("type")].toString(), QStringLiteral("n"));
    EXPECT_EQ(value(book, "E3").toDouble(), 3);
    EXPECT_EQ(cell(book, "D4")[QStringLiteral("format")].toString(), QStringLiteral("@"));
    EXPECT_TRUE(holdsTexts(book, {{"D4", u"003"}}));
    EXPECT_EQ(cell(book, "B3")[QStringLiteral("size")].toDouble(), 8);
    EXPECT_FALSE(cell(book, "B3")[QStringLiteral("bold")].toBool());
    // Unlisted, listed without a price, and a quantity typed over: no price.
    for (const char* ref : {"F5", "G5", "F6", "G6", "F7", "G7"})
        EXPECT_TRUE(value(book, ref).isNull()) << ref;
    // The row without a name is written (the HTML document skips it).
    EXPECT_EQ(value(book, "B8").toString(), QStringLiteral("ЛИР-0004"));
    // Screw rows priced under their screw designations.
    EXPECT_EQ(value(book, "C10").toString(), QStringLiteral("Общее кол-во шурупов(4*25)"));
    EXPECT_EQ(value(book, "G10").toDouble(), 9.24);
    EXPECT_EQ(value(book, "F11").toDouble(), 0.55);
    // Totals one row below the nine data rows, the note four rows below them.
    EXPECT_TRUE(cell(book, "B13")[QStringLiteral("bold")].toBool());
    EXPECT_TRUE(holdsTexts(book, {{"B13", u"Итого"}, {"F13", u"=SUM(F3:F12)"}, {"G13", u"=SUM(G3:G12)"},
                                  {"B17", u"Примечание: рассчитано с наценкой 10%"}}));
}

TEST(OrderSummaryXlsx, AmountsAreTheNumbersTheHtmlSummaryWritesAndThePagesPrint)
{
    test::ScopedWorkDir dir;
    const OrderModel model;
    OrderGrid grid(model.grid(OrderModel::Components).titles(), model.grid(OrderModel::Components).widths());
    // Thirty rows, as an order of many kits has them.
    for (int r = 1; r <= 30; ++r) {
        grid.setCell(r, 0, QStringLiteral("ЛИР-%1").arg(r, 4, 10, QLatin1Char('0')));
        grid.setCell(r, 1, QStringLiteral("Деталь"));
        grid.setCell(r, 2, QStringLiteral("009911"));
        grid.setCell(r, 3, QString::number(r));
        grid.appendRow();
    }
    // 800 with a markup of -10 is 719.99998092651367 in single precision:
    // the sheet holds 720, as the HTML summary writes 720,00.
    const QString path = dir.file(QStringLiteral("summary.xlsx"));
    writeOrderSummaryXlsx(path, OrderModel::Components, grid, QStringLiteral("-10"),
                          test::priceTable({{QStringLiteral("ЛИР-0001"), 800.0}, {QStringLiteral("ЛИР-0002"), 0.1}}));
    const QJsonObject book = test::readBack(path);
    EXPECT_EQ(value(book, "F3").toDouble(), 720);
    EXPECT_EQ(value(book, "G3").toDouble(), 720);
    EXPECT_EQ(value(book, "G4").toDouble(), 0.18);
    for (const char* ref : {"F3", "G3", "F4", "G4", "F34", "G34"})
        EXPECT_EQ(cell(book, ref)[QStringLiteral("format")].toString(), QStringLiteral("0.00")) << ref;
    EXPECT_EQ(value(book, "E32").toDouble(), 30);
    EXPECT_EQ(cell(book, "E32")[QStringLiteral("type")].toString(), QStringLiteral("n"));
    EXPECT_TRUE(holdsTexts(book, {{"D3", u"009911"}, {"F34", u"=SUM(F3:F33)"}}));
    // The title across the grid and its two columns; A4, one page wide, as
    // many pages tall as the rows need, the header row on every page.
    EXPECT_EQ(book[QStringLiteral("merged")].toArray(), QJsonArray{QStringLiteral("B1:G1")});
    EXPECT_EQ(QString::fromUtf8(QJsonDocument(book[QStringLiteral("page")].toObject()).toJson(QJsonDocument::Compact)),
              QStringLiteral(R"({"fit":[1,0],"margins":[0.4,0.4,0.6,0.6],"paper":9,"titles":"$2:$2"})"));
}

TEST(OrderSummaryXlsx, KitRowsOfTheCombinedViewAreBold)
{
    test::ScopedWorkDir dir;
    const QJsonObject book = workbookOf(QStringLiteral("combined_negative"), dir);
    EXPECT_TRUE(holdsTexts(book, {{"B1", u"Суммарный заказ (комплекты+комплектующие)"}, {"F2", u"Цвет (RAL)"},
                                  {"G2", u"Цена"}}));
    EXPECT_TRUE(cell(book, "B3")[QStringLiteral("bold")].toBool());
    EXPECT_TRUE(cell(book, "H3")[QStringLiteral("bold")].toBool());
    EXPECT_FALSE(cell(book, "B4")[QStringLiteral("bold")].toBool());
    // 1500,5 and 3001 times the factor 0.85000002384185791015625, as the HTML
    // summary writes them.
    EXPECT_EQ(value(book, "G3").toDouble(), 1275.43);
    EXPECT_EQ(value(book, "H3").toDouble(), 2550.85);
    // Six data rows: the totals in row 10.
    EXPECT_TRUE(holdsTexts(book, {{"B10", u"Итого"}, {"G10", u"=SUM(G3:G9)"}, {"H10", u"=SUM(H3:H9)"},
                                  {"B14", u"Примечание: рассчитано с наценкой -15%"}}));
}

TEST(OrderSummaryXlsx, AnEmptyOrderHasItsTotalsInRowFourAndTheNoteInRowEight)
{
    test::ScopedWorkDir dir;
    const QJsonObject book = workbookOf(QStringLiteral("components_empty"), dir);
    EXPECT_TRUE(holdsTexts(book, {{"B4", u"Итого"}, {"F4", u"=SUM(F3:F3)"}, {"G4", u"=SUM(G3:G3)"},
                                  {"B8", u"Примечание: рассчитано с наценкой 0%"}}));
    EXPECT_TRUE(value(book, "B3").isNull());
}

namespace {

class OrderExport : public test::ExportTest
{
protected:
    void SetUp() override
    {
        ExportTest::SetUp();
        order.setCalculators(&turn, nullptr, nullptr);
        setOrderSink(&order);
        test::calculateSizes(turn, 400, 500);
        order.AddKit(turn);
    }
    void TearDown() override
    {
        setOrderSink(nullptr);
        ExportTest::TearDown();
    }
    TurnKit turn;
    OrderModel order;
    test::ScopedWorkDir dir;
};

} // namespace

TEST_F(OrderExport, WithoutASpreadsheetTheShownViewGoesToTheChosenFile)
{
    noSpreadsheet();
    const PriceLookup prices = test::priceTable({});
    order.RadioButtonClick(OrderModel::Kits);
    order.setMarkup(QStringLiteral("5"));
    test::recorder().setNextFileName(dir.file(QStringLiteral("sum.html")));
    ExportButtonClick(order, prices);
    // The dialog, then where the file is: nothing opens it.
    ASSERT_EQ(test::recorder().shown().size(), 2u);
    EXPECT_EQ(test::recorder().shown()[0].kind, RecordingDialogs::Shown::SaveFile);
    EXPECT_EQ(test::recorder().messages(),
              QStringList{QStringLiteral("Таблица сохранена в файле ") + QDir::toNativeSeparators(dir.file(QStringLiteral("sum.html")))});
    const QString doc = fromWindows1251(test::readFile(dir.file(QStringLiteral("sum.html"))));
    EXPECT_TRUE(doc.contains(QStringLiteral(">Суммарный заказ(комплекты)</td>")));
    EXPECT_TRUE(doc.contains(order.StringGrid2().cell(1, 0)));
    EXPECT_TRUE(doc.contains(QStringLiteral(">рассчитано с наценкой 5%</td>")));

    // A markup that is no whole number stops before the dialog.
    test::recorder().clear();
    order.setMarkup(QStringLiteral("5%"));
    EXPECT_THROW(ExportButtonClick(order, prices), Error);
    EXPECT_TRUE(test::recorder().shown().empty());
}

TEST_F(OrderExport, WithASpreadsheetANewWorkbookIsOpened)
{
    QStringList opened;
    recordingSpreadsheet(dir, &opened);
    ExportButtonClick(order, test::priceTable({}));
    ExportButtonClick(order, test::priceTable({}));
    EXPECT_TRUE(test::recorder().shown().empty());
    ASSERT_EQ(opened.size(), 4);
    EXPECT_NE(opened[1], opened[3]);
    EXPECT_TRUE(QFileInfo(opened[1]).fileName().startsWith(QStringLiteral("Суммарный заказ (комплектующие) ")));
    const QJsonObject book = test::readBack(opened[1]);
    EXPECT_EQ(value(book, "B3").toString(), order.StringGrid1().cell(1, 0));
}

TEST(OrderSummaryHtml, EachDesignationIsLookedUpOnceAndTheTableStaysOnTheLastRowFound)
{
    const OrderModel model;
    OrderGrid grid(model.StringGrid1().titles(), model.StringGrid1().widths());
    const QStringList rows = {QStringLiteral("A-1"), QStringLiteral("B-2"), QStringLiteral("C-3"), QStringLiteral("A-1"),
                              QStringLiteral("C-3")};
    for (int r = 0; r < rows.size(); ++r) {
        grid.setCell(r + 1, 0, rows.at(r));
        grid.setCell(r + 1, 1, QStringLiteral("Деталь"));
        grid.setCell(r + 1, 3, QStringLiteral("2"));
        grid.appendRow();
    }
    QStringList asked;
    const PriceLookup counting = [&asked](const QString& d) {
        asked << d;
        return d == QLatin1String("C-3") ? PriceResult{} : PriceResult{true, 4.0};
    };
    const QString doc = fromWindows1251(orderSummaryHtml(SummaryView::Components, grid, QStringLiteral("0"), counting, QLocale::c()));
    // The last row found was A-1, served from memory: it is looked up once more at the end.
    EXPECT_EQ(asked, (QStringList{QStringLiteral("A-1"), QStringLiteral("B-2"), QStringLiteral("C-3"), QStringLiteral("A-1")}));
    EXPECT_EQ(doc.count(QStringLiteral("x:num>8.00</td> ")), 3);
    EXPECT_TRUE(doc.contains(QStringLiteral("   <td class=xl26 align=right x:num>24.00</td>\r\n")));
}
