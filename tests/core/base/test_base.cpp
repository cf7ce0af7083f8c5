// Typed numbers and the lock of the working directory.
#include "core/base/error.h"
#include "core/base/numberformat.h"
#include "core/base/workdirlock.h"
#include "support/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <clocale>
#include <string>

using namespace lir;

TEST(TypedNumber, OneDecimalSeparatorAndNoGroupSeparators)
{
    const QLocale ru(QLocale::Russian);
    auto read = [](const QString& text, const QLocale& locale) {
        double v = -1;
        return numfmt::parse(text, locale, &v) ? std::optional<double>(v) : std::nullopt;
    };
    // The locale's separator or a point, never a thousands separator.
    EXPECT_EQ(read(QStringLiteral("1,500"), ru), 1.5);
    EXPECT_EQ(read(QStringLiteral("1.500"), ru), 1.5);
    EXPECT_EQ(read(QStringLiteral(" 12 "), ru), 12.0);
    EXPECT_EQ(read(QStringLiteral("-3,25"), ru), -3.25);
    EXPECT_EQ(read(QStringLiteral(",5"), ru), 0.5);
    for (const char* refused : {"1,250.5", "12,345.6", "1.000.000", "1 500", "1\u00a0500", "1e5", "inf", "nan",
                                "-", ",", "", "12р", "--5"})
        EXPECT_FALSE(read(QString::fromUtf8(refused), ru)) << refused;
    // Where the comma groups thousands, it is no decimal separator.
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    EXPECT_FALSE(read(QStringLiteral("1,500"), en));
    EXPECT_EQ(read(QStringLiteral("1.25"), en), 1.25);
}

TEST(NumberForms, DoNotFollowTheCLibrarysLocale)
{
    // The application object sets the process's C locale from the environment;
    // a Russian one must not turn 12.5 into "12,5000000000000".
    const QByteArray previous = std::setlocale(LC_NUMERIC, nullptr);
    QTemporaryDir locales;
    bool comma = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
    if (!comma) {
        // Made for the test where the system has none installed.
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"), {QStringLiteral("-i"), QStringLiteral("ru_RU"), QStringLiteral("-f"),
                                                      QStringLiteral("UTF-8"), locales.filePath(QStringLiteral("ru_RU.UTF-8"))});
        if (localedef.waitForFinished(60000) && localedef.exitCode() == 0) {
            qputenv("LOCPATH", QFile::encodeName(locales.path()));
            comma = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
        }
    }
    if (!comma || std::localeconv()->decimal_point != std::string(","))
        GTEST_SKIP() << "no C locale with a decimal comma on this system";
    const QLocale ru(QLocale::Russian);
    EXPECT_EQ(numfmt::shortest(12.5, ru), QStringLiteral("12,5"));
    EXPECT_EQ(numfmt::shortest(1e20, ru), QStringLiteral("1E20"));
    EXPECT_EQ(numfmt::fixed2(1234567.891, ru), QStringLiteral("1234568,00"));
    EXPECT_EQ(numfmt::fixed2(12345678.0, ru), QStringLiteral("1,234568E+007"));
    std::setlocale(LC_NUMERIC, previous.constData());
    qunsetenv("LOCPATH");
}

TEST(WorkDirLock, OneHolderAtATimeAndStaleLocksAreTakenOver)
{
    test::ScopedWorkDir dir;
    WorkDirLock first(dir.path());
    ASSERT_TRUE(first.tryLock());
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("LIRComplect.lock"))));

    WorkDirLock second(dir.path());
    EXPECT_FALSE(second.tryLock(200));
    EXPECT_FALSE(second.cannotCreate());
    EXPECT_TRUE(second.heldBySameProgram());
    EXPECT_EQ(second.holderPid(), QCoreApplication::applicationPid());
    // A command-line writer is refused with a message that says who holds the tables.
    try {
        TableWriteLock write(dir.path(), 0);
        FAIL() << "the lock was taken twice";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Таблицы в папке %1 сейчас использует программа %2 (процесс %3); "
                                              "таблица не записана. Закройте программу и повторите.")
                                   .arg(QDir::toNativeSeparators(dir.path()), second.holder(),
                                        QString::number(QCoreApplication::applicationPid())));
    }
    first.unlock();
    EXPECT_NO_THROW(TableWriteLock(dir.path(), 0));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("LIRComplect.lock"))));

    // A run that was killed left its lock: its process is gone, the lock is taken over.
    QProcess gone;
    gone.start(QStringLiteral("/bin/true"));
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 pid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    QFile stale(dir.file(QStringLiteral("LIRComplect.lock")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray::number(pid) + "\nLIRComplect\n" + QSysInfo::machineHostName().toUtf8()
                + "\n");
    stale.close();
    EXPECT_TRUE(second.tryLock());
}
