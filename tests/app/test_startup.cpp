// The storage-engine check and the installer path of start-up.
#include "app/BDEInstallModule.h"
#include "core/base/apptexts.h"
#include "core/base/error.h"
#include "core/base/workdirlock.h"
#include "app/startup.h"
#include "support/testsupport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <csignal>

using namespace lir;
using test::readFile;

namespace {

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

bool waitForFile(const QString& path, int ms)
{
    for (int waited = 0; waited < ms; waited += 20) {
        if (QFileInfo::exists(path) && QFileInfo(path).size() > 0)
            return true;
        QThread::msleep(20);
    }
    return false;
}

class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::recorder().clear();
        bde::clearTerminationRequest();
        target = work.file(QStringLiteral("appdata"));
        bde::installerSetup().targetDirectory = target;
        bde::installerSetup().installerFileName = QStringLiteral("setup.sh");
        bde::installerSetup().registrationProgram = QStringLiteral("/bin/sh");
    }
    void TearDown() override
    {
        bde::setEngineTest({});
        bde::installerSetup() = bde::InstallerSetup{};
        bde::clearTerminationRequest();
    }
    test::ScopedWorkDir work;
    QString target;
};

} // namespace

TEST_F(StartupTest, TheRealEngineIsPresent)
{
    EXPECT_TRUE(bde::IsBDEInstalled());
    bde::EnsureStorageEngine();
    EXPECT_TRUE(test::recorder().shown().empty());
}

TEST_F(StartupTest, MissingEngineAskedAndNoGoesOn)
{
    bde::setEngineTest([] { return false; });
    test::recorder().setNextAnswer(Dialogs::Answer::No);
    writeFile(work.file(QStringLiteral("setup.sh")), "echo ran > ran.txt\n");
    bde::EnsureStorageEngine();
    ASSERT_EQ(test::recorder().shown().size(), 1u);
    const auto& q = test::recorder().shown().front();
    EXPECT_EQ(q.kind, RecordingDialogs::Shown::Question);
    EXPECT_EQ(q.text, QStringLiteral("На вашем компьютере не установлен - <BDE>, \rнеобходим для работы программы с "
                                     "базой данных.\rДля дальнейшей работы требуется его установить.\rУстановить?"));
    EXPECT_EQ(q.text.count(QLatin1Char('\r')), 3);
    EXPECT_FALSE(q.text.contains(QLatin1Char('\n')));
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("/setup.sh")));
}

TEST_F(StartupTest, YesCopiesTheInstallerAndWaitsForTheRegistration)
{
    bde::setEngineTest([] { return false; });
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    // The registration program is given the copied path and finishes after a moment.
    writeFile(work.file(QStringLiteral("setup.sh")),
              "sleep 0.3\necho \"$0\" > \"$(dirname \"$0\")/registered.txt\"\n");
    const QDateTime old = QDateTime::currentDateTime().addDays(-30);
    {
        QFile f(work.file(QStringLiteral("setup.sh")));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    QDir().mkpath(target);
    writeFile(target + QStringLiteral("/setup.sh"), "an older copy that is replaced");

    bde::EnsureStorageEngine();

    const QString copied = target + QStringLiteral("/setup.sh");
    EXPECT_EQ(readFile(copied), readFile(work.file(QStringLiteral("setup.sh"))));
    EXPECT_EQ(QFileInfo(copied).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
    // Start-up went on only after the program had ended.
    EXPECT_EQ(readFile(target + QStringLiteral("/registered.txt")).trimmed(), copied.toUtf8());
}

// The wait ends on the request, not at the end of the installer; how soon after
// the request is a matter of the polling interval, which no test times.
TEST_F(StartupTest, AQuitRequestEndsTheWaitWhileTheInstallerRuns)
{
    writeFile(work.file(QStringLiteral("setup.sh")), "echo $$ > \"$(dirname \"$0\")/pid.txt\"\nexec sleep 30\n");
    const QString path = bde::PrepareBDEInstaller();
    // Ask the application to quit while the installer runs.
    QTimer::singleShot(300, [] { QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit)); });
    bde::watchForTermination();
    bde::RunBDEInstaller(path);
    EXPECT_TRUE(bde::terminationRequested());
    ASSERT_TRUE(waitForFile(target + QStringLiteral("/pid.txt"), 5000));
    const pid_t pid = readFile(target + QStringLiteral("/pid.txt")).trimmed().toInt();
    ASSERT_GT(pid, 0);
    // The installer was left running: the program did not wait for it.
    EXPECT_EQ(::kill(pid, 0), 0);
    ::kill(pid, SIGKILL);
}

TEST_F(StartupTest, InstallerFailuresAreErrors)
{
    // No installer file in the working directory.
    try {
        bde::PrepareBDEInstaller();
        FAIL() << "expected an error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(work.file(QStringLiteral("setup.sh")))) << e.message().toStdString();
    }
    // A registration program that cannot be started.
    writeFile(work.file(QStringLiteral("setup.sh")), "true\n");
    bde::installerSetup().registrationProgram = QStringLiteral("/nonexistent/regsvr");
    EXPECT_THROW(bde::RunBDEInstaller(bde::PrepareBDEInstaller()), Error);
    // A target that cannot be written.
    EXPECT_THROW(bde::CopyFileKeepDate(QStringLiteral("/nonexistent-dir/x"), work.file(QStringLiteral("setup.sh"))), Error);
}

TEST_F(StartupTest, OneRunPerFolderAndCommandLineWritesWaitForIt)
{
    WorkDirLock running(work.path());
    ASSERT_TRUE(gui::claimWorkingDirectory(running));
    WorkDirLock second(work.path());
    EXPECT_FALSE(gui::claimWorkingDirectory(second));
    EXPECT_EQ(test::recorder().messages(), QStringList{QStringLiteral("Программа уже запущена в этой папке.")});
    try {
        TableWriteLock write(work.path(), 0);
        FAIL() << "a table was written while the program runs";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Таблицы в папке %1 сейчас использует программа %2 (процесс %3); таблица "
                                              "не записана. Закройте программу и повторите.")
                                   .arg(work.path(), second.holder(), QString::number(QCoreApplication::applicationPid())));
    }

    // A run that was killed leaves its lock file behind; the next start takes it over.
    running.unlock();
    QFile stale(work.file(QStringLiteral("LIRComplect.lock")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("999999999\nLIRComplect\n\n");
    stale.close();
    test::recorder().clear();
    EXPECT_TRUE(gui::claimWorkingDirectory(second));
    EXPECT_TRUE(test::recorder().shown().empty());
    // Killed before it wrote its lock file: the empty file is taken over too.
    second.unlock();
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly | QIODevice::Truncate));
    stale.close();
    EXPECT_TRUE(gui::claimWorkingDirectory(second));
    EXPECT_TRUE(test::recorder().shown().empty());
}
