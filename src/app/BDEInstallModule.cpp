#include "app/BDEInstallModule.h"

#include "core/base/apptexts.h"
#include "core/base/error.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>

#include <atomic>
#include <csignal>

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace lir::bde {

namespace {

std::function<bool()>& engineTest()
{
    static std::function<bool()> f;
    return f;
}

std::atomic<bool> g_terminate{false};

void onSignal(int)
{
    g_terminate = true;
}

// Catches the application's Quit event, which arrives before any event loop runs.
class QuitWatcher : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o == QCoreApplication::instance() && e->type() == QEvent::Quit)
            g_terminate = true;
        return false;
    }
};

bool sqliteSelfTest()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return false;
    const QString name = QStringLiteral("lir-engine-test-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("SELECT 1")) && q.next() && q.value(0).toInt() == 1;
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace

InstallerSetup& installerSetup()
{
    static InstallerSetup s;
    return s;
}

bool IsBDEInstalled()
{
    if (engineTest())
        return engineTest()();
    return sqliteSelfTest();
}

void setEngineTest(std::function<bool()> test)
{
    engineTest() = std::move(test);
}

Dialogs::Answer ShowMessageBox(const QString& text)
{
    return dialogs().question(text);
}

void CopyFileKeepDate(const QString& target, const QString& source)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(apptexts::cannotOpenSource(source) + QStringLiteral(": ") + in.errorString());
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(apptexts::cannotWriteTarget(target) + QStringLiteral(": ") + out.errorString());
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(64 * 1024);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            throw Error(apptexts::cannotOpenSource(source) + QStringLiteral(": ") + in.errorString());
        if (out.write(chunk) != chunk.size())
            throw Error(apptexts::cannotWriteTarget(target) + QStringLiteral(": ") + out.errorString());
    }
    const QDateTime modified = QFileInfo(in).lastModified();
    if (!out.flush() || !out.setFileTime(modified, QFileDevice::FileModificationTime))
        throw Error(apptexts::cannotWriteTarget(target) + QStringLiteral(": ") + out.errorString());
    out.close();
}

QString PrepareBDEInstaller()
{
    const InstallerSetup& s = installerSetup();
    QString dir = s.targetDirectory;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!QDir().mkpath(dir))
        throw Error(apptexts::cannotWriteTarget(dir));
    const QString source = QDir::current().absoluteFilePath(s.installerFileName);
    const QString target = QDir(dir).absoluteFilePath(s.installerFileName);
    CopyFileKeepDate(target, source);
    return target;
}

void RunBDEInstaller(const QString& installerPath)
{
    const QString program = installerSetup().registrationProgram;
    qint64 pid = 0;
    if (!QProcess::startDetached(program, {installerPath}, QString(), &pid) || pid <= 0)
        throw Error(apptexts::cannotStartProgram(program, QStringLiteral("startDetached")));

    // Wait on the process 100 ms at a time; in between the application
    // handles its pending events, so it stays responsive.
    // While it runs, SIGTERM and SIGINT end the wait instead of the program.
    auto oldTerm = std::signal(SIGTERM, onSignal);
    auto oldInt = std::signal(SIGINT, onSignal);
    const int fd = int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
    while (!terminationRequested()) {
        bool ended = false;
        if (fd >= 0) {
            pollfd p{fd, POLLIN, 0};
            const int r = ::poll(&p, 1, 100);
            ended = r != 0; // readable: the process is gone; an error ends the wait as well
        } else {
            QThread::msleep(100);
            ended = ::kill(pid_t(pid), 0) != 0;
        }
        if (ended)
            break;
        QCoreApplication::processEvents();
    }
    if (fd >= 0)
        ::close(fd);
    std::signal(SIGTERM, oldTerm);
    std::signal(SIGINT, oldInt);
}

void EnsureStorageEngine()
{
    if (IsBDEInstalled())
        return;
    if (ShowMessageBox(apptexts::engineMissingQuestion()) != Dialogs::Answer::Yes)
        return;
    RunBDEInstaller(PrepareBDEInstaller());
}

bool terminationRequested()
{
    return g_terminate;
}

void requestTermination()
{
    g_terminate = true;
}

void clearTerminationRequest()
{
    g_terminate = false;
}

void watchForTermination()
{
    static bool installed = false;
    if (installed || !QCoreApplication::instance())
        return;
    installed = true;
    QCoreApplication::instance()->installEventFilter(new QuitWatcher(QCoreApplication::instance()));
}

} // namespace lir::bde
