#include "core/export/exporttarget.h"

#include "core/base/error.h"
#include "core/base/safefile.h"
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

} // namespace

void checkExportTarget(const QString& path)
{
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
