#include "core/base/userguide.h"

#include "core/base/buildinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lir {

QString userGuidePath(const QString& programDir, const QString& installedGuide)
{
    QStringList candidates = {QDir(programDir).filePath(QStringLiteral("../share/doc/lircomplect/index.html"))};
    // The source tree's guide belongs to the program of its build folder
    // alone: an installed program on the developer's machine opens its own.
    const QFileInfo build(QStringLiteral(LIR_BUILD_TREE));
    if (build.exists() && build.canonicalFilePath() == QFileInfo(programDir).canonicalFilePath()) {
        const QString tree = QStringLiteral(LIR_SOURCE_TREE);
        candidates << QDir(tree).filePath(QStringLiteral("docs/guide/index.html"))
                   << QDir(tree).filePath(QStringLiteral("README.md"));
    }
    candidates << installedGuide;
    for (const QString& c : std::as_const(candidates)) {
        const QFileInfo info(c);
        if (info.isFile())
            return QDir::cleanPath(info.absoluteFilePath());
    }
    return {};
}

QString userGuidePath(const QString& programDir)
{
    return userGuidePath(programDir, QStringLiteral("/usr/share/doc/lircomplect/index.html"));
}

QString userGuidePath()
{
    return userGuidePath(QCoreApplication::applicationDirPath());
}

} // namespace lir
