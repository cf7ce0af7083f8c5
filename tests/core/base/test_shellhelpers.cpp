// Start-up helpers of the base layer: the user guide's place, Qt's Russian
// texts, and the URL opener that headless runs keep.
#include "core/base/qttranslation.h"
#include "core/base/urlopener.h"
#include "core/base/userguide.h"
#include "support/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace lir;

TEST(UserGuide, TheInstalledGuideComesFirstThenTheSourceTree)
{
    test::ScopedWorkDir work;
    // An installed program: <prefix>/bin beside <prefix>/share/doc/lircomplect.
    ASSERT_TRUE(QDir(work.path()).mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(QDir(work.path()).mkpath(QStringLiteral("share/doc/lircomplect")));
    const QString bin = work.file(QStringLiteral("bin"));
    const QString without = userGuidePath(bin);
    QFile guide(work.file(QStringLiteral("share/doc/lircomplect/index.html")));
    ASSERT_TRUE(guide.open(QIODevice::WriteOnly));
    guide.close();
    EXPECT_EQ(userGuidePath(bin), QFileInfo(guide.fileName()).absoluteFilePath());

    // Without it, the guide of the sources or their README, never a file that is not there.
    const QString tree = QDir(QStringLiteral(LIR_SOURCE_DIR)).absolutePath();
    EXPECT_TRUE(without == tree + QStringLiteral("/docs/guide/index.html")
                || without == tree + QStringLiteral("/README.md"))
        << without.toStdString();
    EXPECT_TRUE(QFileInfo(without).isFile());
}

TEST(QtTranslation, QtsOwnTextsSpeakRussian)
{
    ASSERT_TRUE(installQtTranslation(*QCoreApplication::instance()));
    // The save dialog's question, its buttons, and the texts of failed writes.
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?"),
              QStringLiteral("%1 уже существует.\nЗаменить его?"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save"), QStringLiteral("Сохранить"));
    EXPECT_EQ(QCoreApplication::translate("QIODevice", "Unknown error"), QStringLiteral("Неизвестная ошибка"));
    EXPECT_EQ(QCoreApplication::translate("QSQLiteDriver", "Error opening database"),
              QStringLiteral("Ошибка открытия базы данных"));
}

TEST(UrlOpener, HeadlessRunsRecordAndAScopedOpenerIsUndone)
{
    RecordingUrlOpener mine;
    UrlOpener* before = &urlOpener();
    {
        const ScopedUrlOpener scoped(&mine);
        urlOpener().openUrl(QUrl::fromLocalFile(QStringLiteral("/tmp")));
    }
    EXPECT_EQ(mine.opened(), QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp"))});
    EXPECT_EQ(&urlOpener(), before);
    // Nobody installed a real one: the default records instead of starting a browser.
    EXPECT_NE(dynamic_cast<RecordingUrlOpener*>(&urlOpener()), nullptr);
}
