// What a killed run leaves in its folder: a lock file it had no time to
// write, and temporary files it had no time to rename or remove.
#include "core/base/error.h"
#include "core/base/safefile.h"
#include "core/base/workdirlock.h"
#include "support/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>

using namespace lir;

namespace {

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QStringList hiddenAndPlain(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

TEST(Leftovers, ALockFileThatNamesNoProcessIsTakenOverALiveOneIsNot)
{
    test::ScopedWorkDir work;
    const QString lockFile = work.file(QStringLiteral("LIRComplect.lock"));
    // Empty (killed between making and writing it), garbled, cut short, process 0.
    // And one that names this very process, which does not hold it: an ended
    // run's, whose process number the system has given again.
    const QByteArray self = QByteArray::number(QCoreApplication::applicationPid()) + "\n"
                            + QCoreApplication::applicationName().toUtf8() + "\n" + QSysInfo::machineHostName().toUtf8() + "\n";
    for (const QByteArray& content : {QByteArray(), QByteArray("LIRComplect\n"), QByteArray("12"),
                                      QByteArray("0\nLIRComplect\nhost\n"), QByteArray("-7\n\n\n"), self}) {
        writeFile(lockFile, content);
        WorkDirLock lock(work.path());
        EXPECT_TRUE(lock.tryLock(0)) << content.constData();
        lock.unlock();
        writeFile(lockFile, content);
        EXPECT_NO_THROW(TableWriteLock(work.path(), 0)) << content.constData();
        EXPECT_FALSE(QFile::exists(lockFile)) << content.constData();
    }
    // A dead process's lock, and the empty ".rmlock" of a run killed while it removed one.
    writeFile(lockFile, "999999999\nlircomplect-kit\n\n");
    writeFile(lockFile + QStringLiteral(".rmlock"), QByteArray());
    EXPECT_NO_THROW(TableWriteLock(work.path(), 0));
    EXPECT_FALSE(QFile::exists(lockFile + QStringLiteral(".rmlock")));

    WorkDirLock running(work.path());
    ASSERT_TRUE(running.tryLock(0));
    WorkDirLock second(work.path());
    EXPECT_FALSE(second.tryLock(300));
    EXPECT_EQ(second.holderPid(), QCoreApplication::applicationPid());
    // Another machine's process of the same number keeps its lock.
    running.unlock();
    writeFile(lockFile, QByteArray::number(QCoreApplication::applicationPid()) + "\nLIRComplect\nother-host\n");
    EXPECT_FALSE(second.tryLock(0));
}

TEST(Leftovers, TheTemporaryFilesOfGoneRunsGoWhenTheLockIsTakenOthersStay)
{
    test::ScopedWorkDir work;
    const QString gone = QStringLiteral("999999999"); // above any process number the system gives
    const QString self = QString::number(QCoreApplication::applicationPid());
    const QStringList stale = {QStringLiteral(".zakaz.db.~lir-%1.Ab12cd").arg(gone),
                               QStringLiteral(".zakaz.db.~lir-%1.Ab12cd-journal").arg(gone),
                               QStringLiteral(".order.xlsx.~lir-%1.zz99ZZ").arg(gone)};
    const QStringList kept = {QStringLiteral(".order.html.~lir-%1.Ab12cd").arg(self),
                              QStringLiteral(".order.html.~lir-1.Ab12cd"), // init never ends
                              QStringLiteral(".order.html.Ab12cd"),
                              QStringLiteral("order.html.~lir-%1.Ab12cd").arg(gone),
                              QStringLiteral(".order.html.~lir-%1.Ab12").arg(gone),
                              QStringLiteral("zakaz.db")};
    for (const QString& name : stale + kept)
        writeFile(work.file(name), "x");
    // A file being written now is named the same way, and is kept.
    AtomicFile writing(work.file(QStringLiteral("sheet.html")));
    ASSERT_TRUE(writing.tempPath().startsWith(work.file(QStringLiteral(".sheet.html.~lir-%1.").arg(self))))
        << writing.tempPath().toStdString();

    WorkDirLock lock(work.path());
    ASSERT_TRUE(lock.tryLock(0));
    QStringList expected = kept;
    expected << QStringLiteral("LIRComplect.lock") << QFileInfo(writing.tempPath()).fileName();
    expected.sort();
    EXPECT_EQ(hiddenAndPlain(work.path()), expected);
}
