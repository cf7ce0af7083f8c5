#include "core/base/workdirlock.h"

#include "core/base/apptexts.h"
#include "core/base/error.h"
#include "core/base/safefile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutex>
#include <QSet>
#include <QSysInfo>
#include <QThread>

#include <algorithm>

namespace lir {

WorkDirLock::WorkDirLock(const QString& dir)
    : m_path(QDir(dir).absoluteFilePath(fileName())), m_lock(std::make_unique<QLockFile>(m_path))
{
    // Held for a whole run, so never stale by age: only a holder whose
    // process is gone leaves a stale lock.
    m_lock->setStaleLockTime(0);
}

namespace {

// The lock files this process holds. A lock file that names this process
// but is not among them was written by an ended run whose process number
// the system has since given to this one.
QSet<QString>& heldHere()
{
    static QSet<QString> held;
    return held;
}
QMutex heldMutex;

bool heldByThisProcess(const QString& path)
{
    const QMutexLocker locker(&heldMutex);
    return heldHere().contains(path);
}

void setHeldByThisProcess(const QString& path, bool held)
{
    const QMutexLocker locker(&heldMutex);
    if (held)
        heldHere().insert(path);
    else
        heldHere().remove(path);
}

} // namespace

WorkDirLock::~WorkDirLock()
{
    if (m_lock->isLocked())
        setHeldByThisProcess(m_path, false);
}

namespace {

// Whether the lock file names a process that may hold it: its first line a
// process number above 0, as QLockFile writes it, and not this process
// unless this process holds the lock. A run killed between making the file
// and writing it leaves an empty one, which QLockFile never takes for stale;
// nor a file cut short or garbled, one naming process 0, or one naming its
// own reader (QLockFile sees a live process of the same program there).
bool namesAProcess(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // QLockFile writes it whole, line by line: the process, the program, the
    // machine's name and id.
    const QByteArray pidLine = f.readLine(32);
    bool ok = false;
    const qint64 pid = pidLine.trimmed().toLongLong(&ok);
    if (!pidLine.endsWith('\n') || !ok || pid <= 0)
        return false;
    if (pid != QCoreApplication::applicationPid())
        return true;
    f.readLine(4096); // the program
    const QString host = QString::fromUtf8(f.readLine(4096).trimmed());
    const QByteArray hostId = f.readLine(4096).trimmed();
    // The same number on another machine sharing the folder is another process.
    bool sameHost = host.isEmpty() || host == QSysInfo::machineHostName();
    if (!hostId.isEmpty() && !QSysInfo::machineUniqueId().isEmpty())
        sameHost = hostId == QSysInfo::machineUniqueId();
    return !sameHost || heldByThisProcess(path);
}

// Removes a lock file that names no process. A run that has just made its
// lock writes it at once, so a file still empty a moment later was left by
// a run that ended. Qt's own ".rmlock" keeps two runs from removing a lock
// that one of them has just taken.
bool removeBrokenLock(const QString& path)
{
    if (!QFileInfo::exists(path) || namesAProcess(path))
        return false;
    QThread::msleep(200);
    if (namesAProcess(path))
        return false;
    QLockFile rmlock(path + QStringLiteral(".rmlock"));
    if (!rmlock.tryLock(0))
        return false;
    return !namesAProcess(path) && QFile::remove(path);
}

} // namespace

bool WorkDirLock::tryLock(int waitMs)
{
    if (m_lock->isLocked())
        return true;
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        if (m_lock->tryLock(0)) {
            setHeldByThisProcess(m_path, true);
            // Now no other run of this folder writes: what killed runs left is ours to clear.
            removeStaleTemporaryFiles(QFileInfo(m_path).absolutePath());
            return true;
        }
        if (m_lock->error() != QLockFile::LockFailedError)
            return false;
        // Qt removes a dead process's lock only while it holds the lock's
        // ".rmlock", which a run killed in that moment leaves behind as well.
        if (removeBrokenLock(m_path) || removeBrokenLock(m_path + QStringLiteral(".rmlock")))
            continue;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(quint64(std::clamp<qint64>(deadline.remainingTime(), 1, 100)));
    }
}

bool WorkDirLock::isLocked() const
{
    return m_lock->isLocked();
}

void WorkDirLock::unlock()
{
    if (m_lock->isLocked())
        setHeldByThisProcess(m_path, false);
    m_lock->unlock();
}

bool WorkDirLock::cannotCreate() const
{
    return m_lock->error() == QLockFile::PermissionError || m_lock->error() == QLockFile::UnknownError;
}

QString WorkDirLock::holder() const
{
    QString app;
    m_lock->getLockInfo(nullptr, nullptr, &app);
    return app;
}

qint64 WorkDirLock::holderPid() const
{
    qint64 pid = 0;
    m_lock->getLockInfo(&pid, nullptr, nullptr);
    return pid;
}

bool WorkDirLock::heldBySameProgram() const
{
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return !self.isEmpty() && holder() == self;
}

TableWriteLock::TableWriteLock(const QString& dir, int waitMs) : m_lock(dir)
{
    if (m_lock.tryLock(waitMs) || m_lock.cannotCreate())
        return;
    throw Error(apptexts::tablesInUse(QDir::toNativeSeparators(QDir(dir).absolutePath()), m_lock.holder(),
                                      m_lock.holderPid()));
}

} // namespace lir
