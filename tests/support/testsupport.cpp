#include "support/testsupport.h"

#include "core/base/codec.h"
#include "core/base/environment.h"

#ifdef LIR_TEST_WIDGETS
#include <QApplication>
#else
#include <QCoreApplication>
#endif
#include <QFile>
#include <QDir>

#include <ostream>

namespace lir::test {

RecordingDialogs& recorder()
{
    static RecordingDialogs r;
    return r;
}

ScopedWorkDir::ScopedWorkDir() : m_previous(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
}

ScopedWorkDir::~ScopedWorkDir()
{
    QDir::setCurrent(m_previous);
}

ScopedNumberLocale::ScopedNumberLocale(const QLocale& locale) : m_previous(environment().numberLocale)
{
    environment().numberLocale = [locale] { return locale; };
}

ScopedNumberLocale::~ScopedNumberLocale()
{
    environment().numberLocale = m_previous;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void expectSameDocument(const QByteArray& actual, const QByteArray& expected)
{
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> e = expected.split('\n');
    for (int i = 0; i < std::min(a.size(), e.size()); ++i)
        ASSERT_EQ(fromWindows1251(a[i]), fromWindows1251(e[i])) << "line " << i + 1;
    EXPECT_EQ(a.size(), e.size());
    EXPECT_EQ(actual, expected);
}

PriceLookup priceTable(const QHash<QString, std::optional<double>>& prices)
{
    return [prices](const QString& d) {
        PriceResult r;
        if (auto it = prices.find(d); it != prices.end()) {
            r.found = true;
            r.price = *it;
        }
        return r;
    };
}

} // namespace lir::test

void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef LIR_TEST_WIDGETS
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    lir::setDialogs(&lir::test::recorder());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
