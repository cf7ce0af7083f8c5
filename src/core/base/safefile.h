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
