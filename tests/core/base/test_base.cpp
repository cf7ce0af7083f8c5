// Number forms and typed numbers.
#include "core/base/numberformat.h"
#include "support/testsupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <clocale>
#include <string>

using namespace lir;

TEST(NumberForms, NeitherTheFormsNorTheTypedNumbersFollowTheCLibrarysLocale)
{
    // Where the comma groups thousands it is no decimal separator.
    double v = 0;
    EXPECT_FALSE(numfmt::parse(QStringLiteral("1,500"), QLocale(QLocale::English), &v));
    EXPECT_TRUE(numfmt::parse(QStringLiteral("1.25"), QLocale(QLocale::English), &v));
    EXPECT_EQ(v, 1.25);

    // The application object sets the process's C locale from the environment;
    // a Russian one must not turn 12.5 into "12,5000000000000".
    const QByteArray previous = std::setlocale(LC_NUMERIC, nullptr);
    QTemporaryDir made;
    bool comma = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
    if (!comma) { // made for the test where the system has none installed
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"), {QStringLiteral("-i"), QStringLiteral("ru_RU"), QStringLiteral("-f"),
                                                      QStringLiteral("UTF-8"), made.filePath(QStringLiteral("ru_RU.UTF-8"))});
        if (localedef.waitForFinished(60000) && localedef.exitCode() == 0) {
            qputenv("LOCPATH", QFile::encodeName(made.path()));
            comma = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
        }
    }
    if (!comma || std::localeconv()->decimal_point != std::string(","))
        GTEST_SKIP() << "no C locale with a decimal comma on this system";
    const QLocale ru(QLocale::Russian);
    EXPECT_EQ(numfmt::shortest(12.5, ru), QStringLiteral("12,5"));
    EXPECT_EQ(numfmt::shortest(1e20, ru), QStringLiteral("1E20"));
    EXPECT_EQ(numfmt::fixed2(12345678.0, ru), QStringLiteral("1,234568E+007"));
    EXPECT_TRUE(numfmt::parse(QStringLiteral("0,5"), ru, &v));
    EXPECT_EQ(v, 0.5);
    std::setlocale(LC_NUMERIC, previous.constData());
    qunsetenv("LOCPATH");
}

TEST(NumberForms, TypedNumbersTakeTheLocalesSeparatorOrAPoint)
{
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    const std::pair<const char*, double> accepted[] = {{"12,5", 12.5}, {"12.5", 12.5}, {" -3 ", -3}, {"0,05", 0.05}, {"7", 7}};
    for (const auto& [text, value] : accepted) {
        double v = 0;
        EXPECT_TRUE(numfmt::parse(QString::fromLatin1(text), ru, &v)) << text;
        EXPECT_EQ(v, value) << text;
    }
    for (const char* text : {"1,2,3", "12,5.1", "1e5", "inf", "", ",", "-", "1 500", "12,5x"})
        EXPECT_FALSE(numfmt::parse(QString::fromLatin1(text), ru, nullptr)) << text;
}
