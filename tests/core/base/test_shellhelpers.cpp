// Start-up helpers of the base layer: the user guide's place and Qt's Russian texts.
#include "core/base/qttranslation.h"
#include "core/base/userguide.h"
#include "support/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace lir;

TEST(UserGuide, TheProgramsOwnGuideComesFirstAndTheSourceTreeOnlyForItsBuildFolder)
{
    test::ScopedWorkDir work;
    // An installed program: <prefix>/bin beside <prefix>/share/doc/lircomplect.
    ASSERT_TRUE(QDir(work.path()).mkpath(QStringLiteral("bin")) && QDir(work.path()).mkpath(QStringLiteral("share/doc/lircomplect")));
    ASSERT_TRUE(QDir(work.path()).mkpath(QStringLiteral("usr/share/doc/lircomplect")));
    const QString bin = work.file(QStringLiteral("bin"));
    const QString tree = QDir(QStringLiteral(LIR_SOURCE_DIR)).absolutePath();
    const QString package = work.file(QStringLiteral("usr/share/doc/lircomplect/index.html"));

    // Away from the build folder the source tree is never taken: the
    // package's guide, or none.
    EXPECT_EQ(userGuidePath(bin, package), QString());
    QFile installed(package);
    ASSERT_TRUE(installed.open(QIODevice::WriteOnly));
    installed.close();
    EXPECT_EQ(userGuidePath(bin, package), QFileInfo(package).absoluteFilePath());

    // The guide installed beside the program comes first.
    QFile guide(work.file(QStringLiteral("share/doc/lircomplect/index.html")));
    ASSERT_TRUE(guide.open(QIODevice::WriteOnly));
    guide.close();
    EXPECT_EQ(userGuidePath(bin, package), QFileInfo(guide.fileName()).absoluteFilePath());

    // Run from the build folder, the source tree's guide comes before the package's.
    const QString fromBuild = userGuidePath(QStringLiteral(LIR_BINARY_DIR), package);
    EXPECT_TRUE(fromBuild == tree + QStringLiteral("/docs/guide/index.html") || fromBuild == tree + QStringLiteral("/README.md"))
        << fromBuild.toStdString();
}

TEST(QtTranslation, QtsOwnTextsSpeakRussian)
{
    ASSERT_TRUE(installQtTranslation(*QCoreApplication::instance()));
    // The save dialog's question and buttons, and texts of failed writes and reads.
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?"),
              QStringLiteral("%1 уже существует.\nЗаменить его?"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    EXPECT_EQ(QCoreApplication::translate("QIODevice", "Unknown error"), QStringLiteral("Неизвестная ошибка"));
    EXPECT_EQ(QCoreApplication::translate("QSQLiteDriver", "Error opening database"),
              QStringLiteral("Ошибка открытия базы данных"));
}
