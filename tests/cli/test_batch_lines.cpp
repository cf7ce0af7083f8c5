// The batch entry through lircomplect-kit: a window schedule read from a
// file gives the order that the same sashes give one by one through the
// calculator lines; bad files and rows are answered with their reasons and
// leave the order as it was.
#include "cli/kit/kitcli.h"
#include "kitlines.h"
#include "core/base/codec.h"
#include "core/db/storage.h"
#include "core/export/workbook.h"
#include "core/orders/batch.h"
#include "support/testsupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

using lir::cli::KitCli;

namespace {

using lir::test::send;

QJsonObject importBatch(KitCli& cli, const QString& path, bool dryRun = false)
{
    QJsonObject line{{QStringLiteral("order"), QStringLiteral("import_batch")}, {QStringLiteral("path"), path}};
    if (dryRun)
        line.insert(QStringLiteral("dry_run"), true);
    return send(cli, QJsonDocument(line).toJson(QJsonDocument::Compact));
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The four sashes of the schedule, as calculator lines adding each to the order.
const char* const oneByOne[] = {
    R"({"calculator":"6742","FFH":1400,"FFB":700,"RuchkaVcentre":true,"PolStvorki":"Левое","KolKomlektov":2,"add_to_order":true})",
    R"({"calculator":"6741","FFH":1200,"FFB":600,"GH":500,"blokirator":true,"add_to_order":true})",
    R"({"calculator":"6741otkid","FFH":600,"FFB":800,"KolKomlektov":3,"add_to_order":true})",
    R"({"calculator":"6742","ProfilType":"деревянный","cb_ramaType":"Еврофальц 20/8","RAL":8017,"RuchkaVcentre":false,"FFH":1800,"FFB":900,"GH":900,"PolStvorki":"Правое","KolKomlektov":1,"add_to_order":true})",
};

// The same sashes as a table: the header in another order than the batch
// table's, an empty row between the data.
const std::vector<std::vector<const char*>> scheduleText = {
    {"FFB", "calculator", "FFH", "GH", "PolStvorki", "KolKomlektov", "blokirator", "cb_ramaType", "ProfilType", "RAL"},
    {"700", "6742", "1400", "в центре", "Левое", "2", "", "", "", ""},
    {"600", "6741", "1200", "500", "", "1", "да", "", "", ""},
    {"", "", "", "", "", "", "", "", "", ""},
    {"800", "6741otkid", "600", "", "", "3", "", "", "", ""},
    {"900", "поворотно-откидная 6742", "1800", "900", "Правое", "1", "0", "Еврофальц 20/8", "деревянный", "8017"},
};

QList<QStringList> scheduleRows()
{
    QList<QStringList> rows;
    for (const auto& row : scheduleText) {
        QStringList cells;
        for (const char* c : row)
            cells << QString::fromUtf8(c);
        rows << cells;
    }
    return rows;
}
const QList<QStringList> schedule = scheduleRows();

QJsonObject comparable(const QJsonObject& order)
{
    QJsonObject o;
    for (const char* k : {"entries", "components", "kits", "kits_and_components"})
        o.insert(QLatin1String(k), order.value(QLatin1String(k)));
    return o;
}

class BatchLines : public ::testing::Test
{
protected:
    void TearDown() override { lir::db::Table::closeAll(); }

    QJsonObject expectedOrder()
    {
        KitCli byHand;
        QJsonObject last;
        for (const char* line : oneByOne) {
            last = send(byHand, QByteArray(line));
            EXPECT_TRUE(last.value(QStringLiteral("result")).toBool(true)) << line;
        }
        const QJsonObject order = last.value(QStringLiteral("order")).toObject();
        EXPECT_EQ(order.value(QStringLiteral("entries")).toArray().size(), 4);
        return comparable(order);
    }

    void expectSameOrderAsOneByOne(const QString& path)
    {
        KitCli cli;
        const QJsonObject dry = importBatch(cli, path, true);
        EXPECT_TRUE(dry.value(QStringLiteral("ok")).toBool()) << QJsonDocument(dry).toJson().constData();
        EXPECT_EQ(dry.value(QStringLiteral("rows")).toArray().size(), 4);
        EXPECT_TRUE(dry.value(QStringLiteral("order")).toObject().value(QStringLiteral("entries")).toArray().isEmpty());

        const QJsonObject a = importBatch(cli, path);
        EXPECT_TRUE(a.value(QStringLiteral("ok")).toBool());
        EXPECT_EQ(a.value(QStringLiteral("messages")).toArray().first().toString(),
                  QStringLiteral("Рассчитано строк: 4, с ошибками: 0, комплектов всего: 7"));
        EXPECT_EQ(comparable(a.value(QStringLiteral("order")).toObject()), expectedOrder());
    }

    lir::test::ScopedWorkDir work;
};

} // namespace

TEST_F(BatchLines, CsvInWindows1251GivesTheOrderOfTheSameSashesOneByOne)
{
    QString text;
    for (const QStringList& row : schedule)
        text += row.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    writeBytes(QStringLiteral("schedule.csv"), lir::toWindows1251(text));
    expectSameOrderAsOneByOne(QStringLiteral("schedule.csv"));
}

TEST_F(BatchLines, XlsxWithRussianTitlesAndNumberCellsGivesTheSameOrder)
{
    lir::workbook::Sheet sheet;
    for (int r = 0; r < schedule.size(); ++r)
        for (int c = 0; c < schedule[r].size(); ++c) {
            QString v = schedule[r][c];
            if (r == 0)
                v = lir::batch::columns()[size_t(lir::batch::columnOf(v))].title;
            bool number = false;
            const double d = v.toDouble(&number);
            if (number)
                sheet.at(r + 1, c).value = d;
            else if (!v.isEmpty())
                sheet.at(r + 1, c).value = v;
        }
    lir::workbook::save(QStringLiteral("schedule.xlsx"), sheet);
    expectSameOrderAsOneByOne(QStringLiteral("schedule.xlsx"));
}

TEST_F(BatchLines, OdsGivesTheSameOrder)
{
    QString rows;
    for (const QStringList& row : schedule) {
        rows += QStringLiteral("<table:table-row>");
        for (const QString& v : row) {
            bool number = false;
            v.toInt(&number);
            rows += number ? QStringLiteral("<table:table-cell office:value-type=\"float\" office:value=\"%1\"><text:p>%1</text:p></table:table-cell>").arg(v)
                           : QStringLiteral("<table:table-cell office:value-type=\"string\"><text:p>%1</text:p></table:table-cell>").arg(v);
        }
        rows += QStringLiteral("</table:table-row>");
    }
    const QString content = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet>"
        "<table:table table:name=\"Окна\">%1</table:table></office:spreadsheet></office:body></office:document-content>").arg(rows);
    writeBytes(QStringLiteral("content.xml"), content.toUtf8());
    QProcess zip;
    zip.start(QStringLiteral("/usr/bin/python3"),
              {QStringLiteral("-c"),
               QStringLiteral("import zipfile,sys\nz=zipfile.ZipFile('schedule.ods','w')\n"
                              "z.writestr('mimetype','application/vnd.oasis.opendocument.spreadsheet')\n"
                              "z.write('content.xml')\nz.close()")});
    ASSERT_TRUE(zip.waitForFinished(60000));
    ASSERT_EQ(zip.exitCode(), 0);
    expectSameOrderAsOneByOne(QStringLiteral("schedule.ods"));
}

TEST_F(BatchLines, BadRowsAreNamedAndOnlyTheGoodOnesAreAdded)
{
    writeBytes(QStringLiteral("bad.csv"),
               QStringLiteral("Система;Высота FFH;Ширина FFB;Высота ручки GH;Положение створки;Планка микровентиляции\n"
                              "6742;1400;700;в центре;Левое;да\n"
                              "6741;абв;500;;;\n"
                              "откидная 6741;600;800;;Правое;\n"
                              "поперечная;600;800;;;\n"
                              "6741;600;800;;;да\n"
                              "6741;600;800;;;нет\n")
                   .toUtf8());
    KitCli cli;
    const QJsonObject a = importBatch(cli, QStringLiteral("bad.csv"));
    EXPECT_FALSE(a.value(QStringLiteral("ok")).toBool());
    const QJsonArray rows = a.value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 6);
    auto messages = [&](int i) { return rows.at(i).toObject().value(QStringLiteral("messages")).toArray(); };
    EXPECT_TRUE(rows.at(0).toObject().value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(rows.at(1).toObject().value(QStringLiteral("row")).toInt(), 3);
    EXPECT_EQ(messages(1).first().toString(), QStringLiteral("«Высота FFH»: «абв» — не целое число"));
    EXPECT_EQ(messages(2).first().toString(), QStringLiteral("«Положение створки» не относится к системе откидная 6741"));
    EXPECT_EQ(messages(3).first().toString(),
              QStringLiteral("Неизвестная система «поперечная»: ожидается 6741, 6741otkid или 6742"));
    EXPECT_EQ(messages(4).first().toString(), QStringLiteral("«Планка микровентиляции» не относится к системе поворотная 6741"));
    // "нет" in a column the system lacks asks for nothing: the row is calculated.
    EXPECT_TRUE(rows.at(5).toObject().value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(a.value(QStringLiteral("messages")).toArray(),
              QJsonArray({QStringLiteral("Рассчитано строк: 2, с ошибками: 4, комплектов всего: 2"),
                          QStringLiteral("В заказ добавлены только рассчитанные строки: 2")}));
    EXPECT_EQ(a.value(QStringLiteral("order")).toObject().value(QStringLiteral("entries")).toArray().size(), 2);
}

TEST_F(BatchLines, BadFilesAreRefusedWholeAndTheOrderStaysAsItWas)
{
    KitCli cli;
    send(cli, R"({"calculator":"6741","FFH":600,"FFB":500,"add_to_order":true})");
    auto refused = [&](const QString& path) {
        const QJsonObject a = importBatch(cli, path);
        EXPECT_FALSE(a.value(QStringLiteral("ok")).toBool());
        EXPECT_TRUE(a.value(QStringLiteral("rows")).toArray().isEmpty());
        EXPECT_EQ(a.value(QStringLiteral("order")).toObject().value(QStringLiteral("entries")).toArray().size(), 1);
        return a.value(QStringLiteral("messages")).toArray().first().toString();
    };
    writeBytes(QStringLiteral("unknown.csv"), "calculator;FFH;Цвет рамы\n6741;600;белый\n");
    EXPECT_EQ(refused(QStringLiteral("unknown.csv")), QStringLiteral("unknown.csv, столбец C: неизвестный столбец «Цвет рамы»"));
    writeBytes(QStringLiteral("nosystem.csv"), "FFH;FFB\n600;500\n");
    EXPECT_EQ(refused(QStringLiteral("nosystem.csv")), QStringLiteral("В файле nosystem.csv нет столбца «Система» (calculator)"));
    QByteArray many = "calculator;FFH;FFB\n";
    for (int i = 0; i < lir::batch::maxRows + 1; ++i)
        many += "6741;600;500\n";
    writeBytes(QStringLiteral("many.csv"), many);
    // The reader writes the limit with the locale's digit grouping.
    EXPECT_EQ(refused(QStringLiteral("many.csv")).remove(QChar(0xA0)).remove(QChar(0x202F)).remove(QLatin1Char(' ')),
              QStringLiteral("Неудалосьпрочитатьфайлmany.csv:втаблицебольше5000строк"));
    // A million rows: the reader stops at the limit instead of reading on.
    QByteArray million = "calculator;FFH;FFB\n";
    million += QByteArray("6741;600;500\n").repeated(1000000);
    writeBytes(QStringLiteral("million.csv"), million);
    EXPECT_TRUE(refused(QStringLiteral("million.csv")).contains(QStringLiteral("million.csv")));
    EXPECT_TRUE(refused(QStringLiteral("missing.csv")).contains(QStringLiteral("missing.csv")));
}

TEST_F(BatchLines, TheTemplatesReadBackAsTheirExampleRow)
{
    lir::batch::writeTemplateXlsx(QStringLiteral("template.xlsx"));
    lir::batch::writeTemplateCsv(QStringLiteral("template.csv"));
    for (const char* name : {"template.xlsx", "template.csv"}) {
        KitCli cli;
        const QJsonObject a = importBatch(cli, QString::fromLatin1(name), true);
        const QJsonArray rows = a.value(QStringLiteral("rows")).toArray();
        ASSERT_EQ(rows.size(), 1) << name;
        EXPECT_EQ(rows.at(0).toObject().value(QStringLiteral("KitDesignation")).toString(),
                  QStringLiteral("ЛИР-6742-33АМL100"))
            << name;
    }
}
