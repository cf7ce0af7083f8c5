// The user guide is one page with its pictures beside it: everything it links
// to within itself must be there, since it is installed as it stands.
#include "support/testsupport.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

using lir::test::readFile;

namespace {

QString guide()
{
    return QString::fromUtf8(readFile(QStringLiteral(LIR_SOURCE_DIR "/docs/guide/index.html")));
}

} // namespace

TEST(UserGuide, EveryLocalLinkAndPictureIsThere)
{
    const QString html = guide();
    QSet<QString> ids;
    static const QRegularExpression idAttr(QStringLiteral("\\bid=\"([^\"]+)\""));
    for (auto it = idAttr.globalMatch(html); it.hasNext();) {
        const QString id = it.next().captured(1);
        EXPECT_FALSE(ids.contains(id)) << "duplicate id " << id.toStdString();
        ids.insert(id);
    }
    static const QRegularExpression ref(QStringLiteral("\\b(href|src)=\"([^\"]+)\""));
    int anchors = 0, pictures = 0;
    for (auto it = ref.globalMatch(html); it.hasNext();) {
        const QString target = it.next().captured(2);
        // Nothing is fetched from outside: the guide is read without a network.
        EXPECT_FALSE(target.contains(QLatin1Char(':'))) << target.toStdString();
        if (target.startsWith(QLatin1Char('#'))) {
            ++anchors;
            EXPECT_TRUE(ids.contains(target.mid(1))) << target.toStdString();
        } else {
            ++pictures;
            const QFileInfo file(QStringLiteral(LIR_SOURCE_DIR "/docs/guide/") + target);
            EXPECT_TRUE(file.isFile()) << target.toStdString();
            // Small pictures: the guide is installed with every package.
            EXPECT_LT(file.size(), 100 * 1024) << target.toStdString();
        }
    }
    EXPECT_GE(anchors, 8);
    EXPECT_GE(pictures, 3);
}

TEST(UserGuide, IsRussianUtf8)
{
    const QString html = guide();
    EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">")));
    EXPECT_TRUE(html.trimmed().endsWith(QStringLiteral("</html>")));
}
