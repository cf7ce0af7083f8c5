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

WorkDirLock::~WorkDirLock() = default;

namespace {

// Whether the lock file names a process at all: its first line a process
// number above 0, as QLockFile writes it. A run killed between making the
// file and writing it leaves an empty one, which QLockFile never takes for
// stale; nor is a file cut short or garbled, nor one naming process 0.
bool namesAProcess(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const qint64 pid = f.readLine(32).trimmed().toLongLong(&ok);
    return ok && pid > 0;
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
            // Now no other run of this folder writes: what killed runs left is ours to clear.
            removeStaleTemporaryFiles(QFileInfo(m_path).absolutePath());
            return true;
        }
        if (m_lock->error() != QLockFile::LockFailedError)
            return false;
        if (removeBrokenLock(m_path))
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
