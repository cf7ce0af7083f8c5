#include "core/export/exporttarget.h"

#include "core/base/error.h"
#include "core/base/safefile.h"
#include "core/base/workdirlock.h"
#include "core/db/storage.h"
#include "core/export/sheettexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lir {

namespace {

bool isSqliteDatabase(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    static const QByteArray header("SQLite format 3\0", 16);
    return f.read(header.size()) == header;
}

// The lock of a working directory, this one's or another's: written over,
// it would no longer keep a second run away.
void checkNotLockFile(const QString& path)
{
    if (QFileInfo(resolvedFilePath(path)).fileName() == WorkDirLock::fileName())
        throw Error(sheettexts::targetIsLockFile(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()),
                                                 WorkDirLock::fileName()));
}

} // namespace

void checkExportTarget(const QString& path)
{
    checkWriteTarget(path);
    checkNotLockFile(path);
    const QString target = resolvedFilePath(path);
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    QStringList tables;
    for (const QString& file : db::programTableFiles())
        tables << QDir(db::netFileDir()).filePath(file);
    tables << db::Table::openFilePaths();
    for (const QString& table : std::as_const(tables))
        if (resolvedFilePath(table) == target)
            throw Error(sheettexts::targetIsProgramTable(shown, QFileInfo(table).fileName()));
    if (isSqliteDatabase(target))
        throw Error(sheettexts::targetIsDatabase(shown));
}

} // namespace lir
