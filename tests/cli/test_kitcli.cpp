// The command-line calculator's contract: validation, order of application,
// inputs a person could not change, and state carried between lines.
#include "core/db/storage.h"
#include "cli/kit/kitcli.h"
#include "core/export/kitsheet_html.h"
#include "core/prices/pricetable.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

using lir::cli::KitCli;

namespace {

QJsonObject answer(KitCli& cli, const char* line)
{
    const QByteArray out = cli.processLine(QByteArray(line));
    EXPECT_FALSE(out.contains('\n'));
    const QJsonDocument doc = QJsonDocument::fromJson(out);
    EXPECT_TRUE(doc.isObject()) << out.constData();
    return doc.object();
}

QStringList strings(const QJsonValue& v)
{
    QStringList out;
    for (const QJsonValue& x : v.toArray())
        out << x.toString();
    return out;
}

} // namespace

TEST(KitCli, RejectsBadLinesWithoutApplyingAnything)
{
    KitCli cli;
    const char* bad[] = {
        "not json",
        "[1,2]",
        R"({"FFH": 500})",
        R"({"calculator": "6743"})",
        R"({"calculator": "6741", "FFH": 500, "Bogus": 1})",
        R"({"calculator": "6741", "FFH": 500, "cb_zapor": true})",     // a tilt-turn input
        R"({"calculator": "6741otkid", "RuchkaVcentre": false})",      // no such input in the tilt window
        R"({"calculator": "6741", "FFH": 500, "ProfilType": "PVC"})",
        R"({"calculator": "6741", "FFH": 10000})",
        R"({"calculator": "6741", "FFH": 500.5})",
        R"({"calculator": "6741", "FFH": 500, "RuchkaOkon": 1})",
        R"({"calculator": "6742", "FFH": 500, "NazvSystemProfiles": "ВИЛАРТ-ЛИР"})", // the turn window's spelling
    };
    for (const char* line : bad) {
        const QJsonObject o = answer(cli, line);
        EXPECT_TRUE(o.contains(QStringLiteral("error"))) << line;
        EXPECT_FALSE(o.value(QStringLiteral("error")).toString().isEmpty()) << line;
    }
    EXPECT_EQ(cli.turn().ffh(), 0);
    EXPECT_EQ(cli.tiltTurn().ffh(), 0);
    // Keys are matched exactly: "ral" is no "RAL".
    EXPECT_EQ(answer(cli, R"({"calculator": "6741", "FFH": 500, "ral": 5})").value(QStringLiteral("error")).toString(),
              QStringLiteral("unknown key for calculator 6741: ral"));
    EXPECT_EQ(cli.turn().ral(), 9016);
}

TEST(KitCli, AnswersWithTheWholeContract)
{
    KitCli cli;
    const QJsonObject o = answer(cli, R"({"calculator": "6741", "FFH": 1001, "calculate": false})");
    for (const char* key : {"calculator", "ok", "messages", "LIRL", "KitDesignation", "LineCount", "Last", "grid",
                            "state", "ignored"})
        EXPECT_TRUE(o.contains(QLatin1String(key))) << key;
    const QJsonObject state = o.value(QStringLiteral("state")).toObject();
    EXPECT_EQ(state.value(QStringLiteral("FFH")).toInt(), 1001);
    EXPECT_EQ(state.value(QStringLiteral("GH")).toInt(), 500);
    EXPECT_EQ(state.value(QStringLiteral("SystemProfiles")).toString(), QStringLiteral("12/20-13"));
    EXPECT_EQ(state.value(QStringLiteral("PolStvorki")).toString(), QStringLiteral("Правое"));
    EXPECT_FALSE(state.contains(QStringLiteral("cb_zapor")));
    // Without "calculate" the result is not touched.
    EXPECT_FALSE(cli.turn().lirlVisible());
}

TEST(KitCli, InputsThatAreHiddenOrDisabledAreIgnored)
{
    KitCli cli;
    QJsonObject o = answer(cli, R"({"calculator": "6741", "FFH": 1200, "GH": 400, "calculate": false})");
    EXPECT_EQ(strings(o.value(QStringLiteral("ignored"))), QStringList{QStringLiteral("GH")});
    EXPECT_EQ(cli.turn().gh(), 600);

    // Keys are applied in the documented order: the box is unchecked before GH.
    o = answer(cli, R"({"calculator": "6741", "GH": 400, "RuchkaVcentre": false, "calculate": false})");
    EXPECT_TRUE(strings(o.value(QStringLiteral("ignored"))).isEmpty());
    EXPECT_EQ(cli.turn().gh(), 400);

    o = answer(cli, R"({"calculator": "6741", "ProfilType": "деревянный", "NazvSystemProfiles": "KBE AD",
                        "RadioGroup1": 1, "cb_ramaType": "Еврофальц 20/8", "blokirator": true,
                        "TipRuchki": "ЛИР-1938.00", "calculate": false})");
    EXPECT_EQ(strings(o.value(QStringLiteral("ignored"))),
              (QStringList{QStringLiteral("NazvSystemProfiles"), QStringLiteral("RadioGroup1"),
                           QStringLiteral("TipRuchki")}));
    const QJsonObject state = o.value(QStringLiteral("state")).toObject();
    EXPECT_EQ(state.value(QStringLiteral("cb_ramaType")).toString(), QStringLiteral("Еврофальц 20/8"));
    EXPECT_TRUE(state.value(QStringLiteral("blokirator")).toBool());
    EXPECT_EQ(state.value(QStringLiteral("NazvSystemProfiles")).toString(), QStringLiteral("ARtec PAD"));
    EXPECT_EQ(state.value(QStringLiteral("SystemProfiles")).toString(), QStringLiteral("12/18-9"));

    o = answer(cli, R"({"calculator": "6741", "ProfilType": "ПВХ", "cb_ramaType": "Еврофальц 18/8",
                        "blokirator": false, "calculate": false})");
    EXPECT_EQ(strings(o.value(QStringLiteral("ignored"))),
              (QStringList{QStringLiteral("cb_ramaType"), QStringLiteral("blokirator")}));

    o = answer(cli, R"({"calculator": "6741otkid", "GH": 100, "calculate": false})");
    EXPECT_EQ(strings(o.value(QStringLiteral("ignored"))), QStringList{QStringLiteral("GH")});
    o = answer(cli, R"({"calculator": "6742", "ProfilType": "деревянный", "PlankaMicrovent": true, "calculate": false})");
    EXPECT_EQ(strings(o.value(QStringLiteral("ignored"))), QStringList{QStringLiteral("PlankaMicrovent")});
}

TEST(KitCli, ClampsCountAndColourAndKeepsStateBetweenLines)
{
    KitCli cli;
    QJsonObject o = answer(cli, R"({"calculator": "6742", "KolKomlektov": 0, "RAL": 123456, "calculate": false})");
    QJsonObject state = o.value(QStringLiteral("state")).toObject();
    EXPECT_EQ(state.value(QStringLiteral("KolKomlektov")).toInt(), 1);
    EXPECT_EQ(state.value(QStringLiteral("RAL")).toInt(), 9999);
    answer(cli, R"({"calculator": "6742", "KolKomlektov": 5000000, "NazvSystemProfiles": "Thyssen", "calculate": false})");
    o = answer(cli, R"({"calculator": "6742", "calculate": false})");
    state = o.value(QStringLiteral("state")).toObject();
    EXPECT_EQ(state.value(QStringLiteral("KolKomlektov")).toInt(), 100000);
    EXPECT_EQ(state.value(QStringLiteral("SystemProfiles")).toString(), QStringLiteral("12/21-13"));
    // The other calculators are untouched.
    EXPECT_EQ(cli.turn().kolKomlektov(), 1);
}

TEST(KitCli, RunAnswersEveryLineAndGoesOnAfterErrors)
{
    KitCli cli;
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    ASSERT_TRUE(in && out);
    const char text[] = "{\"calculator\":\"6741\",\"FFH\":700}\r\nbroken\n{\"calculator\":\"6741otkid\"}";
    std::fputs(text, in);
    std::rewind(in);
    EXPECT_EQ(cli.run(in, out), 0);
    std::rewind(out);
    char buf[8192];
    QList<QByteArray> lines;
    while (std::fgets(buf, sizeof buf, out))
        lines << QByteArray(buf).trimmed();
    std::fclose(in);
    std::fclose(out);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("{\"calculator\":\"6741\""));
    EXPECT_TRUE(lines[1].startsWith("{\"error\""));
    EXPECT_TRUE(lines[2].startsWith("{\"calculator\":\"6741otkid\""));
}

TEST(KitCli, ExportKeysWriteTheSheetsOfTheLastCalculation)
{
    lir::test::ScopedWorkDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), dir.file(QStringLiteral("zeni.db"))));
    qputenv("LC_ALL", "ru_RU.UTF-8");
    KitCli cli;
    const QByteArray line = "{\"calculator\": \"6741otkid\", \"FFH\": 700, \"FFB\": 600, \"export_html\": \""
                            + dir.file(QStringLiteral("k")).toUtf8() + ".html\", \"export_xlsx\": \""
                            + dir.file(QStringLiteral("k")).toUtf8() + ".xlsx\"}";
    QJsonObject o = answer(cli, line.constData());
    EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
    EXPECT_TRUE(strings(o.value(QStringLiteral("messages"))).isEmpty());
    QFile html(dir.file(QStringLiteral("k.html")));
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QByteArray doc = html.readAll();
    // The delivered prices are 0: the sheet is written after the calculation.
    EXPECT_EQ(doc, lir::kitSheetHtml(lir::KitSheet::fromCalculator(cli.tilt()), lir::LookupPrice,
                                     QLocale(QLocale::Russian)));
    EXPECT_TRUE(doc.contains("6742.15.00-50"));
    EXPECT_TRUE(QFile(dir.file(QStringLiteral("k.xlsx"))).size() > 0);

    // A failure is one of the line's messages; the run goes on.
    o = answer(cli, R"({"calculator": "6741otkid", "export_html": "/nonexistent-dir/x.html"})");
    const QStringList messages = strings(o.value(QStringLiteral("messages")));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("/nonexistent-dir/x.html")));
    EXPECT_TRUE(answer(cli, R"({"calculator": "6741otkid", "export_html": 5})").contains(QStringLiteral("error")));
    qunsetenv("LC_ALL");
    lir::db::Table::closeAll();
}

TEST(KitCli, EveryLineGetsOneAnswerWhateverBytesItHolds)
{
    KitCli cli;
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    ASSERT_TRUE(in && out);
    // A NUL inside the first line, a line of a NUL alone, an empty line.
    const char text[] = "{\"calculator\":\"6741\",\"FFH\":4\0" "00}\n"
                        "{\"calculator\":\"6741\",\"FFH\":400,\"FFB\":500}\n"
                        "\0\n"
                        "\n";
    std::fwrite(text, 1, sizeof text - 1, in);
    std::rewind(in);
    EXPECT_EQ(cli.run(in, out), 0);
    std::rewind(out);
    QByteArray written;
    for (int c = std::getc(out); c != EOF; c = std::getc(out))
        written += char(c);
    std::fclose(in);
    std::fclose(out);
    const QList<QByteArray> lines = written.split('\n');
    ASSERT_EQ(lines.size(), 5); // four answers and what follows the last line end
    EXPECT_EQ(lines[0], QByteArray(R"({"error":"a line must not contain a NUL byte"})"));
    EXPECT_TRUE(lines[1].startsWith(R"({"calculator":"6741","ok":true)")) << lines[1].constData();
    EXPECT_EQ(lines[2], lines[0]);
    EXPECT_TRUE(lines[3].startsWith(R"({"error":"not valid JSON)")) << lines[3].constData();
    EXPECT_TRUE(lines[4].isEmpty());
    // The line with the NUL changed nothing: the second line set FFH itself.
    EXPECT_EQ(cli.turn().LastFFH, 400);
    EXPECT_EQ(cli.processLine(QByteArray("{\"calculator\":\"6741\"}\0", 22)), lines[0]);
}

TEST(KitCli, APathWithANulIsRefusedAndNothingIsWritten)
{
    lir::test::ScopedWorkDir dir;
    KitCli cli;
    for (const char* key : {"export_html", "export_xlsx"}) {
        const QByteArray line = QByteArray(R"({"calculator":"6741otkid","FFH":700,"FFB":600,")") + key
                                + R"(":"x.xlsx\u0000.evil"})";
        const QJsonObject o = answer(cli, line.constData());
        EXPECT_EQ(o.value(QStringLiteral("error")).toString(),
                  QLatin1String(key) + QStringLiteral(" must be a file path without a NUL character"));
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(cli.tilt().ffh(), 0); // the refused line set nothing
}

TEST(KitCli, LinesGoToTheCommandTheyName)
{
    KitCli cli;
    QJsonObject seen;
    cli.addCommand(QStringLiteral("price"), [&seen](const QJsonObject& line) {
        seen = line;
        return QByteArray(R"({"price":"done"})");
    });
    EXPECT_EQ(cli.processLine(R"({"price":{"find":1}})"), QByteArray(R"({"price":"done"})"));
    EXPECT_EQ(seen.value(QStringLiteral("price")).toObject().value(QStringLiteral("find")).toInt(), 1);
    // A line with the keys of two commands goes to the one added first, for
    // which the other's key is an unknown key.
    EXPECT_EQ(answer(cli, R"({"price":1,"calculator":"6741"})").value(QStringLiteral("error")).toString(),
              QStringLiteral("unknown key for calculator 6741: price"));
    // A line that names no command is the calculator's, which says what it misses.
    EXPECT_EQ(answer(cli, R"({"FFH":500})").value(QStringLiteral("error")).toString(),
              QStringLiteral("unknown calculator (expected \"6741\", \"6742\" or \"6741otkid\")"));
    EXPECT_TRUE(answer(cli, R"({"calculator":"6742","FFH":500})").contains(QStringLiteral("grid")));
}

TEST(KitCli, ExportKeysNeverWriteOverATableNorAfterAFailedCalculation)
{
    lir::test::ScopedWorkDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), dir.file(QStringLiteral("zeni.db"))));
    const QByteArray zeni = lir::test::readFile(dir.file(QStringLiteral("zeni.db")));
    KitCli cli;
    QJsonObject o = answer(cli, R"({"calculator":"6741","FFH":1200,"FFB":700,"export_html":"zeni.db"})");
    EXPECT_EQ(strings(o.value(QStringLiteral("messages"))),
              QStringList{QStringLiteral("Лист не записан: файл %1 — это таблица программы zeni.db.").arg(dir.file(QStringLiteral("zeni.db")))});
    EXPECT_EQ(lir::test::readFile(dir.file(QStringLiteral("zeni.db"))), zeni);
    // "EXCEL" is hidden after a failed calculation: the key is ignored.
    o = answer(cli, R"({"calculator":"6741","FFH":5000,"export_html":"k.html"})");
    EXPECT_EQ(strings(o.value(QStringLiteral("ignored"))), QStringList{QStringLiteral("export_html")});
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("k.html"))));
    lir::db::Table::closeAll();
}
