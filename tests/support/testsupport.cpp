#include "support/testsupport.h"

#include <QApplication>
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
    QApplication app(argc, argv);
    lir::setDialogs(&lir::test::recorder());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
