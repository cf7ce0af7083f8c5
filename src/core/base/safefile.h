#pragma once

#include <QByteArray>
#include <QString>

namespace lir {

// Why a file operation failed, from the system's error number, in the words
// of the program's messages: "нет такой папки", "диск заполнен", "нет прав".
QString fileErrorReason(int errnum);

// "Не удалось записать файл <path>: <reason>", the path absolute.
QString cannotWriteFile(const QString& path, const QString& reason);

// The file a path finally names: symbolic links followed and "." and ".."
// resolved, also for a file that does not exist yet (its folder is resolved).
QString resolvedFilePath(const QString& path);

// Why the program must not write a file at this path, or empty when it may:
// a NUL in the name (the system would end the name there and write another
// file), or an existing target that is no regular file (a device, a named
// pipe, a socket, a folder), which a rename would replace.
QString writeTargetProblem(const QString& path);
// Throws lir::Error with cannotWriteFile() when writeTargetProblem() names one.
void checkWriteTarget(const QString& path);

// The name pattern of the program's temporary files beside `finalPath`:
// hidden, and naming the process that writes them, so that the leftovers of
// a killed run can be told from a live run's file. Ends in "XXXXXX" for
// mkostemp().
QByteArray temporaryFileTemplate(const QString& finalPath);
// Removes from `dir` the program's temporary files (and the engine's
// journals beside them) whose process is gone; files of any other name are
// never touched. Returns how many were removed.
int removeStaleTemporaryFiles(const QString& dir);

// A file that appears whole or not at all. The contents go to a temporary
// file in the target's folder, and commit() renames it into place; until
// then the target is untouched. A failure, or destruction before commit(),
// removes the temporary file. A target that is a symbolic link is written
// through the link. Every failure throws lir::Error with cannotWriteFile().
class AtomicFile
{
public:
    explicit AtomicFile(const QString& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // The temporary file, for a writer that writes a file by name.
    QString tempPath() const { return m_temp; }
    void write(const QByteArray& data);
    // Fails with a reason the caller found (a library's error).
    [[noreturn]] void fail(const QString& reason);
    // Flushes the temporary file to the disk and renames it into place.
    void commit();

private:
    [[noreturn]] void failErrno(int errnum);
    void discard();

    QString m_target;   // as given, for the messages
    QString m_final;    // the file that is replaced
    QString m_temp;
    int m_fd = -1;
    bool m_committed = false;
};

} // namespace lir
