// The recorded answers of the command-line calculator: thousands of random
// lines over the three calculators (sizes at the size-class bounds, every
// option, both profiles, every profile-system name, failing inputs between
// successful ones) and the answers they gave when they were recorded.  Any
// change of a rule, a text or the answer format shows here as the first line
// that answers differently.  A deliberate rule change records the answers
// again in the same commit:
//   build/lircomplect-kit < tests/data/recorded/kit_lines.jsonl | gzip -9 -n > tests/data/recorded/kit_answers.jsonl.gz
#include "cli/kit/kitcli.h"
#include "support/testsupport.h"

#include <QProcess>

using lir::cli::KitCli;

namespace {

QByteArrayList lines(const QByteArray& text)
{
    QByteArrayList out = text.split('\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

QByteArray gunzip(const QString& path)
{
    QProcess gzip;
    gzip.start(QStringLiteral("gzip"), {QStringLiteral("-dc"), path});
    EXPECT_TRUE(gzip.waitForFinished(60000)) << "gzip -dc " << path.toStdString();
    EXPECT_EQ(gzip.exitCode(), 0) << gzip.readAllStandardError().constData();
    return gzip.readAllStandardOutput();
}

} // namespace

TEST(RecordedAnswers, EveryLineAnswersAsRecorded)
{
    lir::test::ScopedWorkDir dir; // no zeni.db: the recording prices nothing
    const QString data = QStringLiteral(LIR_TEST_DATA "/recorded/");
    const QByteArrayList input = lines(lir::test::readFile(data + QStringLiteral("kit_lines.jsonl")));
    const QByteArrayList expected = lines(gunzip(data + QStringLiteral("kit_answers.jsonl.gz")));
    ASSERT_GE(input.size(), 3000);
    ASSERT_EQ(input.size(), expected.size());

    KitCli cli;
    int differing = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QByteArray actual = cli.processLine(input[i]);
        if (actual == expected[i])
            continue;
        if (++differing <= 3)
            ADD_FAILURE() << "line " << i + 1 << ": " << input[i].constData() << "\n  answered: "
                          << actual.constData() << "\n  recorded: " << expected[i].constData();
    }
    EXPECT_EQ(differing, 0) << "lines that answer otherwise than recorded";
}
