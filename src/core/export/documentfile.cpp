#include "core/export/documentfile.h"

#include "core/base/error.h"
#include "core/base/safefile.h"
#include "core/base/workdirlock.h"
#include "core/db/storage.h"
#include "core/export/sheettexts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

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

void writeDocumentFile(const QString& path, const std::function<QByteArray()>& build)
{
    checkExportTarget(path);
    const QByteArray doc = build();
    AtomicFile f(path);
    f.write(doc);
    f.commit();
}

QString newWorkbookPath(const QString& kitDesignation)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty())
        dir = QDir::homePath();
    dir += QStringLiteral("/LIRComplect");
    errno = 0;
    if (!QDir().mkpath(dir))
        throw Error(cannotWriteFile(dir, fileErrorReason(errno != 0 ? errno : EACCES)));
    QString stem = kitDesignation.trimmed();
    for (QChar& ch : stem)
        if (ch == QLatin1Char('/') || ch == QLatin1Char('\\') || ch.category() == QChar::Other_Control)
            ch = QLatin1Char('_');
    if (stem.isEmpty())
        stem = QStringLiteral("Комплект");
    stem += QLatin1Char(' ') + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    // Reserve the name: an existing file is never touched.
    for (int k = 1;; ++k) {
        const QString name = dir + QLatin1Char('/') + stem
                             + (k > 1 ? QStringLiteral(" (%1)").arg(k) : QString()) + QStringLiteral(".xlsx");
        const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST || k > 1000)
            throw Error(cannotWriteFile(name, fileErrorReason(errno)));
    }
}


} // namespace lir
