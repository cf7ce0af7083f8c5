// lircomplect-kit --help and --version, and what its manual page says of them.
#include "core/base/buildinfo.h"
#include "support/testsupport.h"

#include <QProcess>
#include <QRegularExpression>

using lir::test::readFile;

namespace {

struct Result
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the built program with standard input left open: an option must answer
// without waiting for input.
Result runKit(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(LIR_BINARY_DIR "/lircomplect-kit"), args);
    EXPECT_TRUE(p.waitForStarted(10000));
    const bool finished = p.waitForFinished(10000);
    EXPECT_TRUE(finished) << "lircomplect-kit waited for input";
    if (!finished)
        p.kill();
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

TEST(KitOptions, VersionIsTheProjectsNumber)
{
    const Result r = runKit({QStringLiteral("--version")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QByteArray("lircomplect-kit " LIR_VERSION "\n"));
    EXPECT_TRUE(r.err.isEmpty());
    // The number is the one the project declares, not one of its own.
    static const QRegularExpression declared(QStringLiteral("project\\(LIRComplect VERSION ([0-9.]+)"));
    const QRegularExpressionMatch m =
        declared.match(QString::fromUtf8(readFile(QStringLiteral(LIR_SOURCE_DIR "/CMakeLists.txt"))));
    ASSERT_TRUE(m.hasMatch());
    EXPECT_EQ(r.out, QStringLiteral("lircomplect-kit %1\n").arg(m.captured(1)).toUtf8());
}

TEST(KitOptions, HelpNamesTheUsageAndEveryOption)
{
    const Result r = runKit({QStringLiteral("--help")});
    EXPECT_EQ(r.exitCode, 0);
    const QString help = QString::fromUtf8(r.out);
    EXPECT_TRUE(help.startsWith(QStringLiteral("Использование: lircomplect-kit [--help | --version]\n"))) << r.out.constData();
    EXPECT_TRUE(help.contains(QStringLiteral("  --help     показать эту справку и выйти\n")));
    EXPECT_TRUE(help.contains(QStringLiteral("  --version  показать версию и выйти\n")));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST(KitOptions, WrongArgumentsAreRefusedWithStatusTwo)
{
    Result r = runKit({QStringLiteral("--verbose")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(QString::fromUtf8(r.err),
              QStringLiteral("lircomplect-kit: неизвестный ключ: --verbose\nСправка: lircomplect-kit --help\n"));

    r = runKit({QStringLiteral("--version"), QStringLiteral("extra")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(QString::fromUtf8(r.err),
              QStringLiteral("lircomplect-kit: лишний аргумент: extra\nСправка: lircomplect-kit --help\n"));
}

TEST(KitOptions, ManualPageListsTheOptionsOfHelp)
{
    const QString page = QString::fromUtf8(readFile(QStringLiteral(LIR_SOURCE_DIR "/packaging/man/lircomplect-kit.1")));
    const QString help = QString::fromUtf8(runKit({QStringLiteral("--help")}).out);
    // Every option that --help lists has its own entry in the page's option section.
    static const QRegularExpression option(QStringLiteral("^  (--[a-z]+)"), QRegularExpression::MultilineOption);
    int count = 0;
    for (auto it = option.globalMatch(help); it.hasNext(); ++count) {
        QString roff = it.next().captured(1);
        roff.replace(QLatin1Char('-'), QStringLiteral("\\-"));
        EXPECT_TRUE(page.contains(QStringLiteral(".TP\n.B ") + roff + QLatin1Char('\n'))) << roff.toStdString();
    }
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(page.contains(QStringLiteral(".RB [ \\-\\-help \" | \" \\-\\-version ]")));
}
