#include "core/base/workdirlock.h"

#include "core/base/apptexts.h"
#include "core/base/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace lir {

WorkDirLock::WorkDirLock(const QString& dir)
    : m_path(QDir(dir).absoluteFilePath(fileName())), m_lock(std::make_unique<QLockFile>(m_path))
{
    // Held for a whole run, so never stale by age: only a holder whose
    // process is gone leaves a stale lock.
    m_lock->setStaleLockTime(0);
}

WorkDirLock::~WorkDirLock() = default;

bool WorkDirLock::tryLock(int waitMs)
{
    if (m_lock->isLocked())
        return true;
    return m_lock->tryLock(waitMs);
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
