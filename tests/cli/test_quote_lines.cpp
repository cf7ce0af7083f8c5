// The quotes of lircomplect-kit: the calculator key export_pdf and the order
// line export_pdf, headed by the company details of lircomplect.ini in the
// working folder, read back with pdftotext.
#include "cli/kit/kitcli.h"
#include "kitlines.h"
#include "core/db/storage.h"
#include "support/testsupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

using lir::cli::KitCli;

namespace {

using lir::test::send;

QStringList messages(const QJsonObject& o)
{
    QStringList out;
    for (const QJsonValue& v : o.value(QStringLiteral("messages")).toArray())
        out << v.toString();
    return out;
}

QString pdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    QString text = QString::fromUtf8(p.readAllStandardOutput());
    text.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    return text;
}

class QuoteLines : public ::testing::Test
{
protected:
    void SetUp() override
    {
        lir::test::useDeliveredPriceTable(work.path());
        // Every part at 10,50 but one, which has no price.
        lir::test::writeAsAnotherUser(QStringLiteral("zeni.db"), QStringLiteral("UPDATE zeni SET zena = 10.5"));
        lir::test::writeAsAnotherUser(QStringLiteral("zeni.db"),
                                      QStringLiteral("UPDATE zeni SET zena = NULL WHERE oboznashenie = ?"),
                                      {QStringLiteral("DIN7982(4*40)")});
        QFile ini(work.file(QStringLiteral("lircomplect.ini")));
        ASSERT_TRUE(ini.open(QIODevice::Append));
        ini.write("\n[company]\nname=ООО \"Окна & Двери\"\ninn=2901234567\nsigner=Иванов И. И.\nvat=included\n"
                  "valid_days=5\n");
    }
    void TearDown() override { lir::db::Table::closeAll(); }
    lir::test::ScopedWorkDir work;
    KitCli cli;
};

} // namespace

TEST_F(QuoteLines, TheKitQuoteFollowsASuccessfulCalculation)
{
    // Without a successful calculation there is nothing to quote.
    QJsonObject o = send(cli, R"({"calculator":"6742","FFH":5000,"FFB":700,"export_pdf":"kit.pdf"})");
    EXPECT_EQ(o.value(QStringLiteral("ignored")).toArray().size(), 1);
    EXPECT_FALSE(QFile::exists(work.file(QStringLiteral("kit.pdf"))));

    o = send(cli, R"({"calculator":"6742","FFH":1200,"FFB":700,"RAL":8017,"RuchkaOkon":true,"export_pdf":"kit.pdf"})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool()) << QJsonDocument(o).toJson().constData();
    const QString text = pdfText(work.file(QStringLiteral("kit.pdf")));
    const lir::TMyLIR& first = cli.tiltTurn().KitLines.at(0);
    for (const QString& expected : QStringList{
             QStringLiteral("ООО \"Окна & Двери\""), QStringLiteral("ИНН 2901234567"),
          QStringLiteral("Коммерческое предложение от "),
          QStringLiteral("Комплект фурнитуры ") + cli.tiltTurn().KitDesignation,
          QStringLiteral("Створка по фальцу (высота × ширина): 1200 × 700 мм"),
          QStringLiteral("Дополнительно: ручка ЛИР-0317.00"), QStringLiteral("Цвет (RAL): 8017; количество комплектов: 1"),
          QStringLiteral("1 %1 %2 %3 шт. 10,50 ").arg(first.Designation, first.Name).arg(first.Quantity),
          QStringLiteral("Нет цены: 1 позиция"), QStringLiteral("В том числе НДС 20 %:"),
          QStringLiteral("Предложение действительно 5 дней"), QStringLiteral("/Иванов И. И./"),
          QStringLiteral("Стр. 1 из 1")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
    // The sash beside the kit, with its dimensions and designation.
    for (const char* expected : {"FFH 1200", "FFB 700", "GH 600"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected << "\n" << text.toStdString();
    EXPECT_EQ(text.count(cli.tiltTurn().KitDesignation), 2);
    // 19 lines at 10,50 (28 screws among them); the 4×40 screws have no price.
    EXPECT_TRUE(text.contains(QStringLiteral("Итого: 535,50")));
    EXPECT_TRUE(text.contains(QStringLiteral("В том числе НДС 20 %: 89,25")));
    EXPECT_TRUE(text.contains(QStringLiteral("Пятьсот тридцать пять рублей 50 копеек")));
}

TEST_F(QuoteLines, TheOrderQuoteOfAViewWithTheMarkup)
{
    send(cli, R"({"calculator":"6741","FFH":600,"FFB":500,"add_to_order":true})");
    send(cli, R"({"calculator":"6741","FFH":800,"FFB":500,"KolKomlektov":2,"add_to_order":true})");
    const QString kit1 = cli.order().StringGrid2().cell(1, 0);
    const QString kit2 = cli.order().StringGrid2().cell(2, 0);

    QJsonObject o = send(cli, R"({"order":"export_pdf","view":2,"markup":"10","path":"kits.pdf"})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool()) << QJsonDocument(o).toJson().constData();
    QString text = pdfText(work.file(QStringLiteral("kits.pdf")));
    // 10,50 with 10 % is 11,55 a kit: 11,55 and 23,10, 34,65 in all.
    for (const QString& expected : QStringList{
             QStringLiteral("Коммерческое предложение от "), QStringLiteral("Заказчик: Заказ от "),
          QStringLiteral("1 %1 Комплект фурнитуры, RAL 9016 1 компл. 11,55 11,55").arg(kit1),
          QStringLiteral("2 %1 Комплект фурнитуры, RAL 9016 2 компл. 11,55 23,10").arg(kit2),
          QStringLiteral("Итого: 34,65"), QStringLiteral("В том числе НДС 20 %: 5,78"),
          QStringLiteral("Тридцать четыре рубля 65 копеек")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Нет цены")));
    // Each kit's row carries its sash.
    auto drawnKits = [](const QString& pdf) {
        EXPECT_TRUE(pdf.contains(QStringLiteral("FFH 600"))) << pdf.toStdString();
        EXPECT_TRUE(pdf.contains(QStringLiteral("FFH 800"))) << pdf.toStdString();
        EXPECT_EQ(pdf.count(QStringLiteral("FFB 500")), 2) << pdf.toStdString();
        EXPECT_TRUE(pdf.contains(QStringLiteral("GH 300")) && pdf.contains(QStringLiteral("GH 400")));
    };
    drawnKits(text);
    o = send(cli, R"({"order":"export_pdf","view":3,"markup":"10","path":"both.pdf"})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    drawnKits(pdfText(work.file(QStringLiteral("both.pdf"))));

    // Saved, the quote carries the order's number.
    send(cli, R"({"order":"save","description":"Дача на Истре"})");
    o = send(cli, R"({"order":"export_pdf","view":1,"markup":"0","path":"parts.pdf"})");
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    text = pdfText(work.file(QStringLiteral("parts.pdf")));
    EXPECT_TRUE(text.contains(QStringLiteral("Коммерческое предложение № 1 от "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Заказчик: Дача на Истре")));
    EXPECT_TRUE(text.contains(QStringLiteral("Нет цены: 1 позиция")));
    EXPECT_FALSE(text.contains(QStringLiteral("FFB"))); // parts have no sash

    // A bad markup or a missing folder: the summary's message, and no file.
    o = send(cli, R"({"order":"export_pdf","view":1,"markup":"10%","path":"bad.pdf"})");
    EXPECT_FALSE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(messages(o), QStringList{QStringLiteral("'10%' не является допустимым целым числом")});
    EXPECT_FALSE(QFile::exists(work.file(QStringLiteral("bad.pdf"))));
    o = send(cli, R"({"order":"export_pdf","view":1,"markup":"0","path":"no-such-folder/x.pdf"})");
    EXPECT_FALSE(o.value(QStringLiteral("ok")).toBool());
    ASSERT_EQ(messages(o).size(), 1);
    EXPECT_TRUE(messages(o).at(0).endsWith(QStringLiteral("no-such-folder/x.pdf: нет такой папки"))) << messages(o).at(0).toStdString();
    for (const char* line : {R"({"order":"export_pdf","view":1,"markup":"0"})",
                             R"({"order":"export_pdf","view":0,"markup":"0","path":"x.pdf"})"})
        EXPECT_FALSE(send(cli, line).value(QStringLiteral("error")).toString().isEmpty()) << line;
}
