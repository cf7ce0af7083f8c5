// The money of the quote (kopecks, VAT, the amount in words), the company
// details in lircomplect.ini and the quote's lines and totals.
#include "core/base/error.h"
#include "core/export/companydetails.h"
#include "core/export/money.h"
#include "core/export/quote.h"
#include "core/orders/orderbookstore.h"
#include "exportsupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>

using namespace lir;
using money::Kopecks;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(Money, AmountsInWordsDeclineRoublesAndKopecks)
{
    const std::pair<Kopecks, const char16_t*> cases[] = {
        {100, u"Один рубль 00 копеек"},
        {200, u"Два рубля 00 копеек"},
        {500, u"Пять рублей 00 копеек"},
        {2100, u"Двадцать один рубль 00 копеек"},
        {100000, u"Одна тысяча рублей 00 копеек"},
        {200100, u"Две тысячи один рубль 00 копеек"},
        {13580, u"Сто тридцать пять рублей 80 копеек"},
        {1, u"Ноль рублей 01 копейка"},
        {22, u"Ноль рублей 22 копейки"},
        {1111, u"Одиннадцать рублей 11 копеек"},
        {1200000, u"Двенадцать тысяч рублей 00 копеек"},
        {2200000, u"Двадцать две тысячи рублей 00 копеек"},
        {500000000, u"Пять миллионов рублей 00 копеек"},
        {100000000, u"Один миллион рублей 00 копеек"},
        {300200000, u"Три миллиона две тысячи рублей 00 копеек"},
        {123456789, u"Один миллион двести тридцать четыре тысячи пятьсот шестьдесят семь рублей 89 копеек"},
        {100000000000, u"Один миллиард рублей 00 копеек"},
        {-2505, u"Минус двадцать пять рублей 05 копеек"},
    };
    for (const auto& [amount, words] : cases)
        EXPECT_EQ(money::inWords(amount), QString::fromUtf16(words)) << amount;
}

TEST(Money, LineSumsAreRoundedOnceFromTheExactValue)
{
    // 0,125 is exact in binary: a true half, away from zero.
    EXPECT_EQ(money::fromRoubles(0.125), 13);
    EXPECT_EQ(money::fromRoubles(-0.125), -13);
    // 1,115 is held as 1,11499999...: 111,5 after a rounded multiplication,
    // 111 from the exact value.
    EXPECT_EQ(money::fromRoubles(1.115), 111);
    EXPECT_EQ(money::fromRoubles(2.675), 267);
    // 100 × 3 with a 10 % markup kept in single precision: 330,0000071...
    EXPECT_EQ(money::lineSum(100, 3, markupFactor(10)), 33000);
    EXPECT_EQ(money::lineSum(0.1, 3, 1.0f), 30);
    EXPECT_EQ(money::lineSum(12.5, 0, 1.0f), 0);
    EXPECT_EQ(money::lineSum(1234.56, 100000, 1.5f), 18518400000);
    EXPECT_FALSE(money::lineSum(1e300, 2, 1.0f));
    EXPECT_FALSE(money::lineSum(std::numeric_limits<double>::quiet_NaN(), 1, 1.0f));
}

TEST(Money, VatAndFormatting)
{
    EXPECT_EQ(money::vatIncluded(12000, 2000), 2000);
    EXPECT_EQ(money::vatIncluded(100, 2000), 17); // 16,67
    EXPECT_EQ(money::vatOnTop(12345, 2000), 2469);
    EXPECT_EQ(money::vatOnTop(1025, 1000), 103); // 102,5: half away from zero
    EXPECT_EQ(money::scaled(-5, 1, 2), -3);

    EXPECT_EQ(money::format(123456), QStringLiteral("1 234,56"));
    EXPECT_EQ(money::format(5), QStringLiteral("0,05"));
    EXPECT_EQ(money::format(100000000), QStringLiteral("1 000 000,00"));
    EXPECT_EQ(money::format(-123456), QStringLiteral("-1 234,56"));
    EXPECT_EQ(money::rateText(2000), QStringLiteral("20"));
    EXPECT_EQ(money::rateText(1250), QStringLiteral("12,5"));
    EXPECT_EQ(money::rateText(1025), QStringLiteral("10,25"));

    int rate = 0;
    EXPECT_TRUE(parseVatRate(QStringLiteral("12,5"), &rate));
    EXPECT_EQ(rate, 1250);
    EXPECT_TRUE(parseVatRate(QStringLiteral(" 10.25 "), &rate));
    EXPECT_EQ(rate, 1025);
    for (const char* bad : {"", "abc", "101", "-5", "1,234", "20%"})
        EXPECT_FALSE(parseVatRate(QString::fromUtf8(bad), &rate)) << bad;
}

TEST(CompanyDetailsFile, RoundTripKeepsTheOtherSectionsAndReadsLikeQSettings)
{
    test::ScopedWorkDir dir;
    const QByteArray before = "; the office's store\n[database]\ndriver=postgresql\nhost=srv\ndbname=lir\n\n"
                              "[company]\nname=Old\n\n[other]\nkey=value\n";
    writeFile(dir.file(QStringLiteral("lircomplect.ini")), before);

    CompanyDetails d;
    d.name = QStringLiteral("ООО \"Окна & Двери\" <Север>");
    d.address = QStringLiteral("г. Москва, ул. Ленина, д. 1; офис 2");
    d.phone = QStringLiteral("+7 495 123-45-67");
    d.inn = QStringLiteral("7701234567");
    d.bank = QStringLiteral("р/с 40702810000000000001\nАО \"Банк\", БИК 044525000");
    d.logo = QStringLiteral("C:\\logos\\");
    d.signer = QStringLiteral("Иванов И. И.");
    d.vat = CompanyDetails::Vat::OnTop;
    d.vatRate = 1250;
    d.validDays = 14;
    writeCompanyDetails(dir.path(), d);

    EXPECT_EQ(readCompanyDetails(dir.path()), d);
    const QString text = QString::fromUtf8(test::readFile(dir.file(QStringLiteral("lircomplect.ini"))));
    EXPECT_TRUE(text.startsWith(QStringLiteral("; the office's store\n[database]\ndriver=postgresql\nhost=srv\n"
                                               "dbname=lir\n\n[company]\n")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\n[other]\nkey=value\n"))) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("[company]")), 1);
    EXPECT_FALSE(text.contains(QStringLiteral("Old")));

    // An office may read or edit the file with any INI tool.
    QSettings ini(dir.file(QStringLiteral("lircomplect.ini")), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("company/address")).toString(), d.address);
    EXPECT_EQ(ini.value(QStringLiteral("company/bank")).toString(), d.bank);
    EXPECT_EQ(ini.value(QStringLiteral("company/logo")).toString(), d.logo);
    EXPECT_EQ(ini.value(QStringLiteral("database/host")).toString(), QStringLiteral("srv"));
}

TEST(CompanyDetailsFile, MissingOrUnusableValuesAreLeftOut)
{
    test::ScopedWorkDir dir;
    EXPECT_EQ(readCompanyDetails(dir.path()), CompanyDetails());
    writeFile(dir.file(QStringLiteral("lircomplect.ini")),
                    "\xEF\xBB\xBF[Company]\r\nName = Окна, ООО\r\nvat=sometimes\r\nvat_rate=abc\r\nvalid_days=-3\r\n"
                    "inn=\"  123  \"\r\n[database]\r\nname=not ours\r\n");
    const CompanyDetails d = readCompanyDetails(dir.path());
    EXPECT_EQ(d.name, QStringLiteral("Окна, ООО"));
    EXPECT_EQ(d.inn, QStringLiteral("  123  "));
    EXPECT_EQ(d.vat, CompanyDetails::Vat::None);
    EXPECT_EQ(d.vatRate, 2000);
    EXPECT_EQ(d.validDays, 0);
    EXPECT_TRUE(d.address.isEmpty());
}

// A components grid: two parts, an unpriced part and the screw rows.
OrderGrid componentsGrid()
{
    const OrderModel model;
    OrderGrid g(model.grid(OrderModel::Components).titles(), model.grid(OrderModel::Components).widths());
    const QStringList rows[] = {
        {QStringLiteral("6742.01.00"), QStringLiteral("Засов"), QStringLiteral("801"), QStringLiteral("3")},
        {QStringLiteral("6742.02.00"), QStringLiteral("Угловой переключатель"), QStringLiteral("-"), QStringLiteral("2")},
        {QStringLiteral("6742.99.00"), QStringLiteral("Без цены"), QString(), QStringLiteral("1")},
        {QString(), QStringLiteral("Общее кол-во шурупов(4*25)"), QString(), QStringLiteral("45")},
        {QString(), QStringLiteral("Общее кол-во шурупов(4*40)"), QString(), QStringLiteral("22")},
    };
    int r = 1;
    for (const QStringList& row : rows) {
        for (int c = 0; c < row.size(); ++c)
            g.setCell(r, c, row.at(c));
        g.appendRow();
        ++r;
    }
    return g;
}

PriceLookup quotePrices()
{
    return test::priceTable({{QStringLiteral("6742.01.00"), 10.005},
                             {QStringLiteral("6742.02.00"), 45.5},
                             {QStringLiteral("6742.99.00"), std::nullopt},
                             {QStringLiteral("DIN7982(4*25)"), 0.35},
                             {QStringLiteral("DIN7982(4*40)"), 0.5}});
}

TEST(OrderQuote, LinesTotalsAndVatFollowTheMoneyRules)
{
    CompanyDetails company;
    company.vat = CompanyDetails::Vat::OnTop;
    company.validDays = 21;
    company.signer = QStringLiteral("Петров П. П.");
    const Quote q = orderQuote(componentsGrid(), OrderModel::Components, QStringLiteral("10"),
                               QStringLiteral("Заказ от 01.02.2026"), 7, quotePrices(), company, QDate(2026, 2, 3));
    EXPECT_EQ(q.title, QStringLiteral("Коммерческое предложение № 7 от 03.02.2026"));
    EXPECT_EQ(q.about, QStringList{QStringLiteral("Заказчик: Заказ от 01.02.2026")});
    ASSERT_EQ(q.lines.size(), 5);
    // 10,005 × 1,1 = 11,0055 a piece, 33,0165 for three.
    EXPECT_EQ(q.lines[0].price, 1101);
    EXPECT_EQ(q.lines[0].sum, 3302);
    EXPECT_EQ(q.lines[1].sum, 10010);
    EXPECT_FALSE(q.lines[2].price);
    EXPECT_FALSE(q.lines[2].sum);
    EXPECT_EQ(q.lines[3].designation, QStringLiteral("DIN7982(4*25)"));
    EXPECT_EQ(q.lines[3].sum, 1733); // 45 × 0,385 = 17,325
    EXPECT_EQ(q.lines[4].designation, QStringLiteral("DIN7982(4*40)"));
    EXPECT_EQ(q.lines[4].sum, 1210);
    EXPECT_EQ(q.lines[0].unit, QStringLiteral("шт."));
    // The total is the sum of the rounded lines; VAT is worked out from it once.
    EXPECT_EQ(q.total, 3302 + 10010 + 1733 + 1210);
    EXPECT_EQ(q.unpriced, 1);
    EXPECT_EQ(q.unpricedNote, QStringLiteral("Нет цены: 1 позиция"));
    const QVector<QPair<QString, QString>> totals = {{QStringLiteral("Итого:"), QStringLiteral("162,55")},
                                                     {QStringLiteral("НДС 20 %:"), QStringLiteral("32,51")},
                                                     {QStringLiteral("Всего с НДС:"), QStringLiteral("195,06")}};
    EXPECT_EQ(q.totals, totals);
    EXPECT_EQ(q.words, QStringLiteral("Сто девяносто пять рублей 06 копеек"));
    EXPECT_EQ(q.validity, QStringLiteral("Предложение действительно 21 день"));
    EXPECT_EQ(q.signature, QStringLiteral("Сметчик ____________________ /Петров П. П./"));

    company.vat = CompanyDetails::Vat::Included;
    const Quote included = orderQuote(componentsGrid(), OrderModel::Components, QStringLiteral("10"), QString(),
                                      std::nullopt, quotePrices(), company, QDate(2026, 2, 3));
    EXPECT_EQ(included.title, QStringLiteral("Коммерческое предложение от 03.02.2026"));
    EXPECT_TRUE(included.about.isEmpty());
    ASSERT_EQ(included.totals.size(), 2);
    EXPECT_EQ(included.totals[1], qMakePair(QStringLiteral("В том числе НДС 20 %:"), QStringLiteral("27,09")));
    EXPECT_EQ(included.words, QStringLiteral("Сто шестьдесят два рубля 55 копеек"));
}

TEST(OrderQuote, RefusesABadMarkupAndAnEmptyOrder)
{
    try {
        orderQuote(componentsGrid(), OrderModel::Components, QStringLiteral("10%"), QString(), std::nullopt,
                   quotePrices(), CompanyDetails(), QDate(2026, 2, 3));
        FAIL() << "a markup that is no number was taken";
    } catch (const Error& e) {
        // The same refusal as the summary's.
        EXPECT_THROW(readMarkup(QStringLiteral("10%")), Error);
        try {
            readMarkup(QStringLiteral("10%"));
        } catch (const Error& summary) {
            EXPECT_EQ(e.message(), summary.message());
        }
    }
    const OrderModel empty;
    try {
        orderQuote(empty.StringGrid1(), OrderModel::Components, QStringLiteral("0"), QString(), std::nullopt,
                   quotePrices(), CompanyDetails(), QDate(2026, 2, 3));
        FAIL() << "an empty order made a quote";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("В заказе нет ни одного комплекта: коммерческое предложение не составлено."));
    }
}

TEST(OrderQuote, CompanyLinesLeaveOutWhatIsMissing)
{
    CompanyDetails c;
    c.phone = QStringLiteral("123");
    c.kpp = QStringLiteral("770101001");
    c.bank = QStringLiteral("р/с 1\n\n  БИК 2  ");
    EXPECT_EQ(companyLines(c), (QStringList{QStringLiteral("Тел.: 123"), QStringLiteral("КПП 770101001"),
                                            QStringLiteral("р/с 1"), QStringLiteral("БИК 2")}));
    EXPECT_TRUE(companyLines(CompanyDetails()).isEmpty());
}

TEST(OrderQuote, IsAddressedToTheChosenCustomerElseToTheDescription)
{
    OrderModel order;
    order.setDescription(QStringLiteral("Дача, Петров"));
    EXPECT_EQ(quoteCustomer(order), QStringLiteral("Дача, Петров"));
    orderbook::Customer c;
    c.id = 7;
    c.name = QStringLiteral("ООО «Рама»");
    c.markup = 12;
    order.chooseCustomer(&c);
    EXPECT_EQ(quoteCustomer(order), QStringLiteral("ООО «Рама»"));
    order.chooseCustomer(nullptr);
    EXPECT_EQ(quoteCustomer(order), QStringLiteral("Дача, Петров"));
}

TEST(OrderQuote, AnEntryIsDrawnAsRestoringItSetsTheCalculator)
{
    using Opening = SashDrawingInput::Opening;
    TOrder turn{QStringLiteral("ПФПВХ без прижимов"), QStringLiteral("ЛИР-6741-03МL100"), QStringLiteral("ARtec PAD"),
                QString(), 2, 9016, 800, 500, 400};
    SashDrawingInput d = sashDrawingOf(turn);
    EXPECT_EQ(d.opening, Opening::Turn);
    EXPECT_TRUE(d.hingesLeft);
    EXPECT_FALSE(d.wooden);
    EXPECT_FALSE(d.handleInKit);
    EXPECT_TRUE(d.handleCentred);
    EXPECT_EQ(d.ffh.drawn, 800);
    EXPECT_EQ(d.ffb.drawn, 500);
    EXPECT_EQ(d.gh.drawn, 400);
    EXPECT_TRUE(d.ffh.accepted && d.ffb.accepted && d.gh.accepted);
    EXPECT_EQ(d.kitDesignation, QStringLiteral("ЛИР-6741-03МL100"));

    // An off-centre kit names its side among its pieces, over the designation's letters.
    TOrder offCentre{QStringLiteral("ПОФ"), QStringLiteral("Нестандартный"), QStringLiteral("IV68"),
                     QStringLiteral("ручка ЛИР-0317.00,створка правая,до 100 кг"), 1, 8017, 1400, 900, 300};
    d = sashDrawingOf(offCentre);
    EXPECT_EQ(d.opening, Opening::TiltTurn);
    EXPECT_FALSE(d.hingesLeft);
    EXPECT_TRUE(d.wooden);
    EXPECT_TRUE(d.handleInKit);
    EXPECT_FALSE(d.handleCentred);
    EXPECT_EQ(d.gh.drawn, 300);

    // Tilt: hinged at the bottom, the handle in the middle of the top; a
    // handle above the sash is drawn on it, a negative size as none.
    TOrder tilt{QStringLiteral("ОФПВХ"), QStringLiteral("ЛИР-6743-01L"), QString(), QString(), 1, 9016, 600, 1001, 5000};
    d = sashDrawingOf(tilt);
    EXPECT_EQ(d.opening, Opening::Tilt);
    EXPECT_FALSE(d.hingesLeft);
    EXPECT_EQ(d.gh.drawn, 500);
    offCentre.FFH = -5;
    offCentre.GH = 5000;
    d = sashDrawingOf(offCentre);
    EXPECT_EQ(d.ffh.drawn, 0);
    EXPECT_EQ(d.gh.drawn, 0);
}

} // namespace
