// A bounded fuzz run of the command-line calculator: valid lines cut, spliced
// and garbled at random, bytes of any value, deep and huge JSON, half
// surrogate pairs and NULs in texts and paths, order saves and exports among
// them.  Every input line gets exactly one answer, every answer is one JSON
// object, the program keeps answering valid lines correctly afterwards, the
// order table stays sound and no temporary file is left.  Under the
// sanitizer build this is also the memory check of the line parser.
// LIR_FUZZ_LINES and LIR_FUZZ_SEED set a longer run by hand.
#include "cli/kit/kitcli.h"
#include "core/db/storage.h"
#include "support/testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <cstdio>

using lir::cli::KitCli;

namespace {

const QByteArrayList seeds = {
    R"({"calculator":"6741","FFH":1200,"FFB":700,"RuchkaVcentre":false,"GH":500})",
    R"({"calculator":"6742","FFH":1400,"FFB":800,"ProfilType":"деревянный","cb_zapor":true})",
    R"({"calculator":"6741otkid","FFH":500,"FFB":900,"CheckBox1":true,"KolKomlektov":100000})",
    R"({"calculator":"6742","NazvSystemProfiles":"ВИЛАРТ ЛИР","RadioGroup1":1,"calculate":false})",
    R"({"calculator":"6741","Complekt":1,"BalkonnayaZaschelka":true,"RAL":-5,"TipRuchki":"ЛИР-1938.00"})",
    R"({"calculator":"6741","FFH":700,"FFB":600,"add_to_order":true,"export_html":"fz1/fz2/kit.html"})",
    R"({"order":"save","description":"Дача, окно кухни"})",
    R"({"order":"export_html","view":2,"markup":"10","path":"fz1/fz2/sum.html"})",
    R"({"order":"export_xlsx","view":3,"markup":"-5","path":"fz1/fz2/sum.xlsx"})",
    R"({"order":"type","view":1,"row":1,"text":"7"})",
    R"({"history":"open","id":1})",
};

QByteArray mutate(QRandomGenerator& rnd, QByteArray line)
{
    switch (rnd.bounded(8)) {
    case 0: // cut anywhere, inside a UTF-8 sequence too
        return line.left(rnd.bounded(line.size() + 1));
    case 1: // overwrite bytes with any value but the line end
        for (int n = rnd.bounded(1, 6); n > 0; --n) {
            char c = char(rnd.bounded(256));
            line[rnd.bounded(line.size())] = c == '\n' ? ' ' : c;
        }
        return line;
    case 2: // splice two seeds
        return line.left(rnd.bounded(line.size())) + seeds[rnd.bounded(seeds.size())].mid(rnd.bounded(20));
    case 3: // numbers out of every range
        return QByteArray(R"({"calculator":"6742","FFH":)") + QByteArray::number(rnd.generateDouble() * 1e20 - 5e19, 'g', 17)
               + R"(,"FFB":1e308,"GH":-0.0,"KolKomlektov":)" + QByteArray::number(qint64(rnd.generate64()))
               + "}";
    case 4: // deep nesting
        return QByteArray(R"({"calculator":"6741","FFH":)") + QByteArray(rnd.bounded(1, 3000), '[') + "}";
    case 5: // a huge string value
        return QByteArray(R"({"calculator":"6741otkid","NazvSystemProfiles":")") + QByteArray(rnd.bounded(1, 200000), 'x')
               + "\"}";
    case 7: { // half a surrogate pair, a NUL or a pair split at a text's start
        static const QByteArrayList escapes = {"\\ud800", "\\udfff", "\\u0000", "\\ud83d\\ude00", "\\ud83d\\u0041"};
        const qsizetype quote = line.indexOf(":\"");
        return quote < 0 ? line : line.insert(quote + 2, escapes[rnd.bounded(escapes.size())]);
    }
    default: // duplicated and misplaced keys
        return line.replace("\"FFB\"", "\"FFH\"").replace('{', "{\"calculator\":null,");
    }
}

} // namespace

TEST(KitCliFuzz, EveryGarbledLineGetsOneJsonAnswerAndValidLinesStillWork)
{
    lir::test::ScopedWorkDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("fz1/fz2")));
    const int count = qEnvironmentVariableIsSet("LIR_FUZZ_LINES") ? qEnvironmentVariableIntValue("LIR_FUZZ_LINES") : 3000;
    QRandomGenerator rnd(qEnvironmentVariableIsSet("LIR_FUZZ_SEED") ? quint32(qEnvironmentVariableIntValue("LIR_FUZZ_SEED"))
                                                                     : 20261209u);
    QByteArray input;
    int lines = 0;
    for (int i = 0; i < count; ++i, ++lines)
        input += mutate(rnd, seeds[rnd.bounded(seeds.size())]) + '\n';
    input += seeds[0] + '\n';
    ++lines;

    std::FILE* in = fmemopen(input.data(), size_t(input.size()), "r");
    char* outBuf = nullptr;
    size_t outSize = 0;
    std::FILE* out = open_memstream(&outBuf, &outSize);
    ASSERT_TRUE(in && out);
    KitCli cli;
    EXPECT_EQ(cli.run(in, out), 0);
    std::fclose(in);
    std::fclose(out);
    QByteArray answers(outBuf, qsizetype(outSize));
    std::free(outBuf);

    QByteArrayList answerLines = answers.split('\n');
    ASSERT_EQ(answerLines.takeLast(), QByteArray());
    ASSERT_EQ(answerLines.size(), lines);
    for (const QByteArray& a : answerLines) {
        QJsonParseError err{};
        const QJsonDocument doc = QJsonDocument::fromJson(a, &err);
        ASSERT_EQ(err.error, QJsonParseError::NoError) << a.left(200).constData();
        ASSERT_TRUE(doc.isObject()) << a.left(200).constData();
    }
    // The last line is a valid turn calculation: it still calculates after all that.
    const QJsonObject last = QJsonDocument::fromJson(answerLines.last()).object();
    EXPECT_EQ(last.value(QStringLiteral("ok")), QJsonValue(true)) << answerLines.last().constData();
    EXPECT_EQ(last.value(QStringLiteral("KitDesignation")), QJsonValue(QStringLiteral("Нестандартный")));

    // What was saved is sound, and nothing half-written stays behind.
    QStringList names;
    if (lir::db::Table::exists(QStringLiteral("zakaz.db"))) {
        lir::db::Table& t = lir::db::Table::open(QStringLiteral("zakaz.db"));
        EXPECT_EQ(t.query(QStringLiteral("PRAGMA integrity_check")).value(0).value(0).toString(), QStringLiteral("ok"));
        for (const auto& row : t.query(QStringLiteral(R"(SELECT "Name" FROM zakaz WHERE "Parentid" = 0)")))
            names << row.value(0).toString();
    }
    // No half pair got in, to come back as another character.
    for (const QString& name : std::as_const(names))
        EXPECT_EQ(QString::fromUtf8(name.toUtf8()), name) << name.toStdString();
    QDirIterator files(dir.path(), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (files.hasNext())
        EXPECT_FALSE(files.next().contains(QStringLiteral(".~lir-"))) << files.filePath().toStdString();
    std::printf("%d lines, %lld answers, %lld orders saved\n", lines, qlonglong(answerLines.size()), qlonglong(names.size()));
    lir::db::Table::closeAll();
}
