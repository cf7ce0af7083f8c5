// The program's PDF writer against Qt's raster painter: the same painting
// on a page and on a picture, the page rendered back by poppler.
#include "docs/pdfdocument.h"
#include "support/programs.h"
#include "support/testsupport.h"

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QLinearGradient>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>

using namespace lir;

namespace {

using test::runProgram;

// Shapes in colours, under transformations and a clip, half transparent,
// dashed, a gradient, a picture with transparent parts, and text.
void paintScene(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 30, 30), 6));
    p.setBrush(QColor(30, 120, 200));
    p.drawRect(QRectF(40, 40, 200, 120));

    p.save();
    p.translate(380, 110);
    p.rotate(30);
    p.setPen(QPen(Qt::black, 5, Qt::DashLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 110, 50);
    p.restore();

    p.save();
    p.translate(60, 220);
    p.scale(2, 2);
    p.setClipRect(QRectF(0, 0, 60, 40));
    p.fillRect(QRectF(-50, -50, 400, 400), QColor(40, 160, 60));
    p.restore();

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 0, 0, 128));
    p.drawRect(QRectF(150, 250, 150, 100));

    QLinearGradient gradient(QPointF(330, 0), QPointF(550, 0));
    gradient.setColorAt(0, Qt::yellow);
    gradient.setColorAt(1, Qt::darkMagenta);
    p.setBrush(gradient);
    p.drawRect(QRectF(330, 220, 220, 80));

    QPainterPath star;
    star.setFillRule(Qt::OddEvenFill);
    star.moveTo(450, 320);
    for (const QPointF& pt : {QPointF(500, 470), QPointF(370, 370), QPointF(530, 370), QPointF(400, 470)})
        star.lineTo(pt);
    star.closeSubpath();
    p.setPen(QPen(QColor(0, 90, 0), 3));
    p.setBrush(QColor(250, 170, 0));
    p.drawPath(star);

    QImage picture(40, 40, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    {
        QPainter q(&picture);
        q.setRenderHint(QPainter::Antialiasing);
        q.setBrush(QColor(120, 0, 160));
        q.setPen(Qt::NoPen);
        q.drawEllipse(QRectF(0, 0, 40, 40));
    }
    p.drawImage(QRectF(40, 330, 120, 120), picture);

    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(44);
    p.setFont(f);
    p.setPen(QColor(0, 0, 140));
    p.drawText(QPointF(40, 540), QStringLiteral("Проверка 123"));

    // A font of PostScript outlines, which the file does not embed: its
    // glyphs are drawn as shapes (poppler's packages bring URW's fonts).
    if (QFontDatabase::hasFamily(QStringLiteral("URW Bookman"))) {
        QFont cff(QStringLiteral("URW Bookman"));
        cff.setPixelSize(36);
        p.setFont(cff);
        p.drawText(QPointF(300, 580), QStringLiteral("Bookman"));
    }
}

} // namespace

TEST(PdfDocument, PaintsWhatARasterPainterPaintsWhereItPaintsIt)
{
    test::ScopedWorkDir work;
    // A square page without margins, so that its pixels at the file's
    // resolution are the picture's.
    const QPageLayout layout(QPageSize(QSizeF(50, 50), QPageSize::Millimeter), QPageLayout::Portrait,
                             QMarginsF());
    docs::PdfDocument pdf(layout, 300);
    {
        QPainter p(&pdf);
        paintScene(p);
    }
    const QString path = work.file(QStringLiteral("scene.pdf"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(pdf.finish());
    }
    QImage expected(pdf.width(), pdf.height(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter p(&expected);
        paintScene(p);
    }
    runProgram(QStringLiteral("pdftoppm"),
               {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-singlefile"), path,
                work.file(QStringLiteral("scene"))});
    const QImage page = QImage(work.file(QStringLiteral("scene.ppm"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    ASSERT_GE(page.width(), expected.width());
    ASSERT_GE(page.height(), expected.height());

    // Pixels differ at the edges of shapes and glyphs (each renderer
    // smooths them its own way), not inside them.
    int differing = 0;
    int painted = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb a = expected.pixel(x, y);
            const QRgb b = page.pixel(x, y);
            painted += a != qRgb(255, 255, 255);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))});
            differing += d > 60;
        }
    }
    EXPECT_GT(painted, 60000);
    EXPECT_LT(differing, painted / 40) << differing << " of " << painted;

    // The text is text, its glyphs in an embedded font.
    EXPECT_EQ(runProgram(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).trimmed(),
              QStringLiteral("Проверка 123"));
    EXPECT_TRUE(runProgram(QStringLiteral("pdffonts"), {path}).contains(QStringLiteral("+DejaVuSans ")));
    // Painting after the file is finished writes nothing.
    EXPECT_TRUE(pdf.finish().isEmpty());
}
