#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace lir {

// The lock of one working directory, the file "LIRComplect.lock" in it. The
// program with windows holds it for its whole run, a command-line program
// while it writes a table, so that two of them never write the same tables
// over each other's changes. A lock left behind by a run that crashed (its
// process is gone, or the file is empty, unreadable or names no process) is
// taken over. Whoever takes the lock removes the temporary files that killed
// runs left in the folder.
class WorkDirLock
{
public:
    explicit WorkDirLock(const QString& dir);
    ~WorkDirLock(); // releases the lock
    WorkDirLock(const WorkDirLock&) = delete;
    WorkDirLock& operator=(const WorkDirLock&) = delete;

    // Takes the lock, waiting at most waitMs while someone else holds it.
    bool tryLock(int waitMs = 0);
    bool isLocked() const;
    void unlock();

    // After a failed tryLock(): whether the lock file cannot be made at all
    // (a folder without the right to write), and else who holds the lock: the
    // holder's program file name and process id.
    bool cannotCreate() const;
    QString holder() const;
    qint64 holderPid() const;
    // Whether the holder is a run of this very program file.
    bool heldBySameProgram() const;

    QString filePath() const { return m_path; }
    static QString fileName() { return QStringLiteral("LIRComplect.lock"); }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

// Holds the working directory's lock while a command-line program writes a
// table; released when it goes out of scope. Throws lir::Error with a clear
// message when another program holds the lock (the program with windows, or
// another writer that did not finish within waitMs). A folder where no lock
// can be made is no reason to refuse: the write itself says what is wrong.
class TableWriteLock
{
public:
    explicit TableWriteLock(const QString& dir, int waitMs = 5000);

private:
    WorkDirLock m_lock;
};

} // namespace lir
