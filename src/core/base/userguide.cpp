#include "core/base/userguide.h"

#include "core/base/buildinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lir {

QString userGuidePath(const QString& programDir)
{
    const QString tree = QStringLiteral(LIR_SOURCE_TREE);
    const QString candidates[] = {
        QDir(programDir).filePath(QStringLiteral("../share/doc/lircomplect/index.html")),
        QDir(tree).filePath(QStringLiteral("docs/guide/index.html")),
        QDir(tree).filePath(QStringLiteral("README.md")),
    };
    for (const QString& c : candidates) {
        const QFileInfo info(c);
        if (info.isFile())
            return QDir::cleanPath(info.absoluteFilePath());
    }
    return {};
}

QString userGuidePath()
{
    return userGuidePath(QCoreApplication::applicationDirPath());
}

} // namespace lir
