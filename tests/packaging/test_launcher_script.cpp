// The launcher `lircomplect` that the menu entry starts: it makes the user's
// data folder, seeds it with the delivered price table once, and starts the
// program there. It runs here in a package tree of its own, where a small
// script in place of the program records where and how it was started.
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

using lir::test::readFile;

namespace {

void writeFile(const QString& path, const QByteArray& data, QFileDevice::Permissions perms = {})
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(data);
    f.close();
    if (perms) {
        ASSERT_TRUE(f.setPermissions(perms));
    }
}

struct LaunchResult
{
    int exitCode = -1;
    QByteArray err;
};

class LauncherScript : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        // The launcher resolves its own path, so the test names the folder as it resolves.
        m_base = QDir(m_tmp.path()).canonicalPath();
        m_root = at(QStringLiteral("usr"));
        ASSERT_TRUE(QDir().mkpath(m_root + QStringLiteral("/bin")));
        ASSERT_TRUE(QDir().mkpath(m_root + QStringLiteral("/share/lircomplect")));
        ASSERT_TRUE(QDir().mkpath(home()));
        ASSERT_TRUE(QFile::copy(QStringLiteral(LIR_SOURCE_DIR "/packaging/lircomplect"), launcher()));
        // The program's stand-in records its working directory and arguments,
        // and ends with a status of its own so that passing it on is seen.
        writeFile(m_root + QStringLiteral("/bin/LIRComplect"),
                  "#!/bin/sh\npwd > \"$RECORD\"\nprintf '%s\\n' \"$@\" >> \"$RECORD\"\nexit 7\n",
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        writeFile(delivered(), "delivered table");
    }

    QString at(const QString& name) const { return m_base + QLatin1Char('/') + name; }
    QString home() const { return at(QStringLiteral("home")); }
    QString launcher() const { return m_root + QStringLiteral("/bin/lircomplect"); }
    QString delivered() const { return m_root + QStringLiteral("/share/lircomplect/zeni.db"); }
    QString record() const { return at(QStringLiteral("record")); }
    QString defaultData() const { return home() + QStringLiteral("/.local/share/LIRComplect"); }

    // Runs the launcher with HOME in the scratch folder; xdg is XDG_DATA_HOME,
    // a null string leaves it unset.
    LaunchResult run(const QString& xdg, const QString& program = {}, const QStringList& args = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home());
        env.insert(QStringLiteral("RECORD"), record());
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        if (!xdg.isNull())
            env.insert(QStringLiteral("XDG_DATA_HOME"), xdg);
        QFile::remove(record());
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_base);
        p.start(program.isEmpty() ? launcher() : program, args);
        EXPECT_TRUE(p.waitForFinished(30000));
        return {p.exitCode(), p.readAllStandardError()};
    }

    // Working directory and arguments of the started program, one per line.
    QStringList recorded() const
    {
        if (!QFile::exists(record()))
            return {};
        return QString::fromUtf8(readFile(record())).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QTemporaryDir m_tmp;
    QString m_base;
    QString m_root;
};

TEST_F(LauncherScript, FirstStartSeedsTheFolderAndStartsTheProgramThere)
{
    const QString xdg = at(QStringLiteral("xdg"));
    const LaunchResult r = run(xdg, {}, {QStringLiteral("-style"), QStringLiteral("two words")});
    const QString data = xdg + QStringLiteral("/LIRComplect");
    EXPECT_EQ(r.exitCode, 7) << r.err.constData();
    EXPECT_EQ(readFile(data + QStringLiteral("/zeni.db")), QByteArray("delivered table"));
    EXPECT_EQ(recorded(), (QStringList{data, QStringLiteral("-style"), QStringLiteral("two words")}));
    // Nothing but the table: no temporary copy is left behind.
    EXPECT_EQ(QDir(data).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("zeni.db")});
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
}

TEST_F(LauncherScript, NeverWritesOverATableThatIsThere)
{
    const QString xdg = at(QStringLiteral("xdg"));
    const QString data = xdg + QStringLiteral("/LIRComplect");
    ASSERT_TRUE(QDir().mkpath(data));
    writeFile(data + QStringLiteral("/zeni.db"), "the user's prices");
    EXPECT_EQ(run(xdg).exitCode, 7);
    EXPECT_EQ(readFile(data + QStringLiteral("/zeni.db")), QByteArray("the user's prices"));

    // A link to a table elsewhere, even one that points nowhere, is the user's too.
    ASSERT_TRUE(QFile::remove(data + QStringLiteral("/zeni.db")));
    ASSERT_TRUE(QFile::link(at(QStringLiteral("nowhere.db")), data + QStringLiteral("/zeni.db")));
    EXPECT_EQ(run(xdg).exitCode, 7);
    EXPECT_EQ(QFileInfo(data + QStringLiteral("/zeni.db")).symLinkTarget(), at(QStringLiteral("nowhere.db")));
    EXPECT_FALSE(QFile::exists(at(QStringLiteral("nowhere.db"))));
}

TEST_F(LauncherScript, DataFolderDefaultsToTheHomeFolder)
{
    // Unset, empty and relative values of XDG_DATA_HOME all mean ~/.local/share.
    for (const QString& xdg : {QString(), QStringLiteral(""), QStringLiteral("relative/data")}) {
        SCOPED_TRACE(xdg.isNull() ? std::string("unset") : xdg.toStdString());
        QDir(home()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(home()));
        EXPECT_EQ(run(xdg).exitCode, 7);
        EXPECT_EQ(readFile(defaultData() + QStringLiteral("/zeni.db")), QByteArray("delivered table"));
        EXPECT_EQ(recorded(), QStringList{defaultData()});
    }
    EXPECT_FALSE(QFileInfo::exists(at(QStringLiteral("relative"))));
}

TEST_F(LauncherScript, FindsTheDeliveredFilesThroughALink)
{
    // /usr/bin/lircomplect may be reached through a link in another folder.
    const QString elsewhere = at(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(QFile::link(launcher(), elsewhere + QStringLiteral("/lircomplect")));
    EXPECT_EQ(run(QString(), elsewhere + QStringLiteral("/lircomplect")).exitCode, 7);
    EXPECT_EQ(readFile(defaultData() + QStringLiteral("/zeni.db")), QByteArray("delivered table"));
}

TEST_F(LauncherScript, TheSeededCopyIsTheUsersToWrite)
{
    ASSERT_TRUE(QFile::setPermissions(delivered(), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    EXPECT_EQ(run(QString()).exitCode, 7);
    EXPECT_TRUE(QFileInfo(defaultData() + QStringLiteral("/zeni.db")).permissions() & QFileDevice::WriteOwner);
}

TEST_F(LauncherScript, WithoutTheDeliveredTableTheProgramStillStartsAndSaysWhy)
{
    ASSERT_TRUE(QFile::remove(delivered()));
    const LaunchResult r = run(QString());
    // The program itself then reports the missing table in its window.
    EXPECT_EQ(r.exitCode, 7);
    EXPECT_EQ(recorded(), QStringList{defaultData()});
    EXPECT_FALSE(QFileInfo::exists(defaultData() + QStringLiteral("/zeni.db")));
    EXPECT_EQ(QString::fromUtf8(r.err),
              QStringLiteral("lircomplect: не найдена поставляемая таблица цен ") + delivered() + QStringLiteral("\n"));
}

TEST_F(LauncherScript, StopsWhenTheDataFolderCannotBeMade)
{
    // XDG_DATA_HOME names a file: no folder can be made beneath it.
    const QString file = at(QStringLiteral("a file"));
    writeFile(file, "x");
    const LaunchResult r = run(file);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(recorded().isEmpty());
    EXPECT_TRUE(QString::fromUtf8(r.err).endsWith(
        QStringLiteral("lircomplect: не удалось создать папку данных ") + file + QStringLiteral("/LIRComplect\n")))
        << r.err.constData();
}

TEST_F(LauncherScript, StopsWhenTheProgramIsMissing)
{
    ASSERT_TRUE(QFile::remove(m_root + QStringLiteral("/bin/LIRComplect")));
    const LaunchResult r = run(QString());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(r.err),
              QStringLiteral("lircomplect: не найдена программа ") + m_root + QStringLiteral("/bin/LIRComplect\n"));
}

} // namespace
