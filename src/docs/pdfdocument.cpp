#include "docs/pdfdocument.h"

#include "docs/pdffile.h"
#include "docs/pdffont.h"

#include <QDateTime>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace lir::docs {

using pdf::appendNumber;

namespace {

// How far a glyph may stand from where the widths of the glyphs before it
// put it, in thousandths of the em (a tenth of a device pixel in the
// table's text), before the file moves it: the layout rounds each advance
// to a 64th of a pixel, and following that to the letter would move
// nearly every glyph.
constexpr double AllowedDrift = 3;

// A transformation as the file sets it.
void append(QByteArray& out, const QTransform& t)
{
    for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
        appendNumber(out, v, 6);
    out += "cm\n";
}

void appendPath(QByteArray& out, const QPainterPath& path)
{
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element& e = path.elementAt(i);
        if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            const QPainterPath::Element& c2 = path.elementAt(i + 1);
            const QPainterPath::Element& end = path.elementAt(i + 2);
            for (double v : {e.x, e.y, c2.x, c2.y, end.x, end.y})
                appendNumber(out, v);
            out += "c\n";
            i += 2;
            continue;
        }
        appendNumber(out, e.x);
        appendNumber(out, e.y);
        out += e.type == QPainterPath::MoveToElement ? "m\n" : "l\n";
    }
}

double scaleOf(const QTransform& t)
{
    return std::sqrt(std::abs(t.determinant()));
}

struct Font
{
    QRawFont raw;
    std::optional<pdf::TrueTypeFont> program; // none: the glyphs are drawn as shapes
    std::vector<bool> used;
    int object = 0; // of the Type0 font, given when the resources are written
};

struct Image
{
    int object;
    int index;
};

} // namespace

struct PdfDocument::Impl
{
    QPageLayout layout;
    int resolution;
    QString title;
    QString creator;
    bool finished = false;

    pdf::File file;
    int catalog = 0;
    int pageTree = 0;
    int resources = 0;
    std::vector<int> pages;
    QByteArray page; // the content of the page being painted

    std::vector<Font> fonts;
    std::vector<std::pair<QRawFont, size_t>> lastFonts; // the sizes met, by the font engine
    QHash<QString, size_t> fontByFace;
    QHash<qint64, Image> images;
    int imageCount = 0;
    std::vector<std::pair<int, int>> alphas; // (fill, stroke) of each graphics state, 0..255

    // What the page's stream has set since its last restore.
    QTransform frame;
    bool frameClipped = false;
    QPainterPath frameClip;
    QRgb fill = 0;
    QRgb stroke = 0;
    double lineWidth = 1;
    int cap = 0;
    int join = 0;
    QByteArray dash;
    int alpha = 255 * 256 + 255;

    QHash<std::pair<QString, QString>, std::pair<QList<QGlyphRun>, qreal>> shapedTexts;

    // ------------------------------------------------------------ pages
    QTransform pageMatrix() const
    {
        // As Qt's writer places it: points from the foot of the page, the
        // painting in device pixels from the top left corner of the margins.
        const double scale = 72.0 / resolution;
        const QRect paint = layout.paintRectPixels(resolution);
        QTransform m(scale, 0, 0, -scale, 0, layout.fullRectPoints().height());
        m.translate(paint.left(), paint.top());
        return m;
    }
    void startPage()
    {
        page.truncate(0); // keeps its room for the next page
        append(page, pageMatrix());
        page += "q\n";
        resetFrame();
    }
    void endPage()
    {
        page += "Q\n";
        const int content = file.newObject();
        file.writeStream(content, QByteArray(), page);
        const int object = file.newObject();
        const QRect media = layout.fullRectPoints();
        QByteArray body =
            "<<\n/Type /Page\n/Parent " + QByteArray::number(pageTree) + " 0 R /MediaBox [0 0 " +
            QByteArray::number(media.width()) + ' ' + QByteArray::number(media.height()) + "] /Resources " +
            QByteArray::number(resources) + " 0 R /Contents " + QByteArray::number(content) + " 0 R\n>>";
        file.writeObject(object, body);
        pages.push_back(object);
    }

    // ------------------------------------------------------------ graphics state
    void resetFrame()
    {
        frame = QTransform();
        frameClipped = false;
        frameClip = QPainterPath();
        resetStyle();
    }
    void resetStyle()
    {
        fill = stroke = qRgb(0, 0, 0);
        lineWidth = 1;
        cap = join = 0;
        dash.clear();
        alpha = 255 * 256 + 255;
    }
    // The transformation and clip of what follows, from the page's own.
    void ensureFrame(const QTransform& t, const QPainterPath* clip)
    {
        const bool sameClip = clip ? frameClipped && frameClip == *clip : !frameClipped;
        if (sameClip && t == frame)
            return;
        page += "Q q\n";
        resetStyle();
        frameClipped = clip != nullptr;
        frameClip = clip ? *clip : QPainterPath();
        if (clip) {
            appendPath(page, *clip);
            page += clip->fillRule() == Qt::WindingFill ? "W n\n" : "W* n\n";
        }
        frame = t;
        if (!t.isIdentity())
            append(page, t);
    }
    void setFill(const QColor& c)
    {
        if (c.rgb() == fill)
            return;
        fill = c.rgb();
        appendNumber(page, qRed(fill) / 255.0);
        appendNumber(page, qGreen(fill) / 255.0);
        appendNumber(page, qBlue(fill) / 255.0);
        page += "rg\n";
    }
    void setStroke(const QPen& pen, const QTransform& t)
    {
        const QRgb rgb = pen.color().rgb();
        if (rgb != stroke) {
            stroke = rgb;
            appendNumber(page, qRed(rgb) / 255.0);
            appendNumber(page, qGreen(rgb) / 255.0);
            appendNumber(page, qBlue(rgb) / 255.0);
            page += "RG\n";
        }
        double w = pen.widthF();
        if (pen.isCosmetic() && w > 0)
            w /= std::max(scaleOf(t), 1e-9);
        if (w != lineWidth) {
            lineWidth = w;
            appendNumber(page, w);
            page += "w\n";
        }
        const int c = pen.capStyle() == Qt::FlatCap ? 0 : pen.capStyle() == Qt::RoundCap ? 1 : 2;
        if (c != cap) {
            cap = c;
            page += QByteArray::number(c) + " J\n";
        }
        const int j = pen.joinStyle() == Qt::RoundJoin ? 1 : pen.joinStyle() == Qt::BevelJoin ? 2 : 0;
        if (j != join) {
            join = j;
            page += QByteArray::number(j) + " j\n";
        }
        QByteArray d;
        if (pen.style() != Qt::SolidLine && pen.style() != Qt::NoPen) {
            // Qt gives dashes in pen widths, a hairline counting as one.
            const double unit = w > 0 ? w : 1;
            d = "[";
            for (qreal v : pen.dashPattern())
                appendNumber(d, v * unit);
            d += "] ";
            appendNumber(d, pen.dashOffset() * unit);
        }
        if (d != dash) {
            dash = d;
            page += d.isEmpty() ? QByteArray("[] 0 d\n") : d + "d\n";
        }
    }
    void setAlpha(int fillAlpha, int strokeAlpha)
    {
        const int key = fillAlpha * 256 + strokeAlpha;
        if (key == alpha)
            return;
        alpha = key;
        const std::pair<int, int> state(fillAlpha, strokeAlpha);
        auto it = std::find(alphas.begin(), alphas.end(), state);
        if (it == alphas.end())
            it = alphas.insert(alphas.end(), state);
        page += "/GS" + QByteArray::number(it - alphas.begin()) + " gs\n";
    }
    static void paint(QByteArray& page, bool filled, bool stroked, bool evenOdd)
    {
        if (filled && stroked)
            page += evenOdd ? "B*\n" : "B\n";
        else if (filled)
            page += evenOdd ? "f*\n" : "f\n";
        else if (stroked)
            page += "S\n";
        else
            page += "n\n";
    }

    // ------------------------------------------------------------ text
    Font& fontOf(const QRawFont& raw)
    {
        for (const auto& [known, index] : lastFonts)
            if (known == raw)
                return fonts[index];
        const QString face = raw.familyName() + u'\n' + raw.styleName() + u'\n' +
                             QString::number(raw.weight()) + u'\n' + QString::number(int(raw.style()));
        auto it = fontByFace.find(face);
        if (it == fontByFace.end()) {
            Font f{raw, pdf::TrueTypeFont::read(raw), {}, 0};
            if (f.program)
                f.used.assign(size_t(f.program->glyphCount()), false);
            fonts.push_back(std::move(f));
            it = fontByFace.insert(face, fonts.size() - 1);
        }
        lastFonts.emplace_back(raw, *it);
        return fonts[*it];
    }

    void glyphs(const QRawFont& raw, const quint32* glyph, const QPointF* pos, qsizetype n, QPointF origin,
                const QColor& colour)
    {
        if (n == 0)
            return;
        Font& font = fontOf(raw);
        setFill(colour);
        if (!font.program) {
            // No outlines a PDF can embed: the glyphs as shapes.
            QPainterPath shapes;
            for (qsizetype i = 0; i < n; ++i)
                shapes.addPath(raw.pathForGlyph(glyph[i]).translated(origin + pos[i]));
            appendPath(page, shapes);
            page += "f\n";
            return;
        }
        const double size = raw.pixelSize();
        page += "BT\n/F" + QByteArray::number(&font - fonts.data()) + ' ';
        appendNumber(page, size);
        page += "Tf\n";
        bool open = false;   // a TJ array
        bool string = false; // a string of glyphs in it
        bool placed = false; // a line's origin, from which Td moves
        double pen = 0;
        double lineX = 0;
        double lineY = 0;
        auto close = [&] {
            if (string)
                page += ')';
            page += "] TJ\n";
            string = false;
        };
        for (qsizetype i = 0; i < n; ++i) {
            const double x = origin.x() + pos[i].x();
            const double y = origin.y() + pos[i].y();
            const double gap = (pen - x) * 1000 / size; // in thousandths of the em, as TJ moves
            if (!open || std::abs(y - lineY) > 0.005 || std::abs(gap) > 3000) {
                if (open)
                    close();
                if (!placed) {
                    // Text space upright on the page's downward device pixels.
                    lineX = pdf::hundredths(x);
                    lineY = pdf::hundredths(y);
                    page += "1 0 0 -1 ";
                    appendNumber(page, lineX, 2);
                    appendNumber(page, lineY, 2);
                    page += "Tm [";
                    placed = true;
                } else {
                    const double dx = pdf::hundredths(x - lineX);
                    const double dy = pdf::hundredths(y - lineY);
                    appendNumber(page, dx, 2);
                    appendNumber(page, -dy, 2);
                    page += "Td [";
                    lineX += dx;
                    lineY += dy;
                }
                open = true;
                pen = lineX;
            } else if (std::abs(gap) >= AllowedDrift) {
                const long long move = std::llround(gap);
                if (string)
                    page += ')';
                string = false;
                page += QByteArray::number(move);
                pen -= double(move) * size / 1000;
            }
            if (!string) {
                page += '(';
                string = true;
            }
            const quint32 g = glyph[i];
            // The glyph's number in two bytes, the string's delimiters and
            // line ends escaped (a reader would take a raw CR for LF).
            for (const uchar byte : {uchar(g >> 8), uchar(g & 0xff)}) {
                switch (byte) {
                case '(':
                    page += "\\(";
                    break;
                case ')':
                    page += "\\)";
                    break;
                case '\\':
                    page += "\\\\";
                    break;
                case '\r':
                    page += "\\r";
                    break;
                case '\n':
                    page += "\\n";
                    break;
                default:
                    page += char(byte);
                }
            }
            if (g < font.used.size())
                font.used[g] = true;
            pen += font.program->width(g) * size / 1000;
        }
        close();
        page += "ET\n";
    }

    // A text drawn by the painter, shaped as it shapes it; each once.
    const std::pair<QList<QGlyphRun>, qreal>& shaped(const QFont& f, const QString& text,
                                                     QPaintDevice* device)
    {
        const std::pair<QString, QString> key(f.key(), text);
        auto it = shapedTexts.find(key);
        if (it != shapedTexts.end())
            return *it;
        QTextLayout shaping(text, f, device);
        shaping.beginLayout();
        QTextLine line = shaping.createLine();
        line.setPosition(QPointF(0, 0));
        shaping.endLayout();
        return *shapedTexts.insert(key, {shaping.glyphRuns(), line.isValid() ? line.ascent() : 0});
    }

    // ------------------------------------------------------------ pictures
    const Image& imageOf(const QImage& picture)
    {
        auto it = images.find(picture.cacheKey());
        if (it != images.end())
            return *it;
        const int w = picture.width();
        const int h = picture.height();
        const bool alphaChannel = picture.hasAlphaChannel();
        const QImage img =
            picture.convertToFormat(alphaChannel ? QImage::Format_ARGB32 : QImage::Format_RGB888);
        QByteArray rgb;
        QByteArray mask;
        rgb.reserve(qsizetype(w) * h * 3);
        for (int y = 0; y < h; ++y) {
            if (!alphaChannel) {
                rgb.append(reinterpret_cast<const char*>(img.constScanLine(y)), qsizetype(w) * 3);
                continue;
            }
            const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                const char px[3] = {char(qRed(row[x])), char(qGreen(row[x])), char(qBlue(row[x]))};
                rgb.append(px, 3);
                mask.append(char(qAlpha(row[x])));
            }
        }
        const QByteArray size =
            " /Width " + QByteArray::number(w) + " /Height " + QByteArray::number(h) + " /BitsPerComponent 8";
        int smask = 0;
        if (alphaChannel)
            smask = file.writeStream(file.newObject(),
                                     "/Type /XObject /Subtype /Image /ColorSpace /DeviceGray" + size, mask);
        QByteArray dict = "/Type /XObject /Subtype /Image /ColorSpace /DeviceRGB /Interpolate true" + size;
        if (smask)
            dict += " /SMask " + QByteArray::number(smask) + " 0 R";
        const int object = file.writeStream(file.newObject(), dict, rgb);
        return *images.insert(picture.cacheKey(), Image{object, ++imageCount});
    }

    void image(const QRectF& target, const QImage& picture)
    {
        if (picture.isNull() || target.isEmpty())
            return;
        const Image& im = imageOf(picture);
        // The picture's unit square, its first row at the top of the target.
        page += "q ";
        appendNumber(page, target.width());
        page += "0 0 ";
        appendNumber(page, -target.height());
        appendNumber(page, target.left());
        appendNumber(page, target.bottom());
        page += "cm /Im" + QByteArray::number(im.index) + " Do Q\n";
    }

    // ------------------------------------------------------------ the file's end
    void writeResources()
    {
        QByteArray body = "<< /ProcSet [/PDF /Text /ImageB /ImageC]\n/Font <<";
        for (size_t i = 0; i < fonts.size(); ++i)
            if (fonts[i].object)
                body += " /F" + QByteArray::number(qulonglong(i)) + ' ' +
                        QByteArray::number(fonts[i].object) + " 0 R";
        body += " >>\n/XObject <<";
        for (const Image& im : std::as_const(images))
            body += " /Im" + QByteArray::number(im.index) + ' ' + QByteArray::number(im.object) + " 0 R";
        body += " >>\n/ExtGState <<";
        for (size_t i = 0; i < alphas.size(); ++i) {
            body += " /GS" + QByteArray::number(qulonglong(i)) + " << /ca ";
            appendNumber(body, alphas[i].first / 255.0);
            body += "/CA ";
            appendNumber(body, alphas[i].second / 255.0);
            body += ">>";
        }
        body += " >>\n>>";
        file.writeObject(resources, body);
    }

    QByteArray finish()
    {
        endPage();
        finished = true;
        for (Font& f : fonts)
            if (f.program)
                f.object = pdf::embed(file, *f.program, f.used);
        writeResources();
        QByteArray kids;
        for (int p : pages)
            kids += QByteArray::number(p) + " 0 R ";
        file.writeObject(pageTree, "<< /Type /Pages /Kids [" + kids + "] /Count " +
                                       QByteArray::number(qulonglong(pages.size())) + " >>");
        file.writeObject(catalog, "<< /Type /Catalog /Pages " + QByteArray::number(pageTree) + " 0 R >>");
        const QString now = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
        const int info =
            file.writeObject(file.newObject(), "<< /Title " + pdf::textString(title) + " /Creator " +
                                                   pdf::textString(creator) + " /Producer " +
                                                   pdf::textString(QStringLiteral("LIRComplect")) +
                                                   " /CreationDate (D:" + now.toLatin1() + "Z) >>");
        return file.finish(catalog, info);
    }
};

// ---------------------------------------------------------------- the painter's engine

class PdfDocument::Engine final : public QPaintEngine
{
public:
    explicit Engine(Impl& impl)
        : QPaintEngine(PrimitiveTransform | PixmapTransform | PainterPaths | AlphaBlend | ConstantOpacity |
                       Antialiasing),
          d(impl)
    {
    }

    bool begin(QPaintDevice*) override { return !d.finished; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& s) override
    {
        const DirtyFlags f = s.state();
        if (f & DirtyPen)
            m_pen = s.pen();
        if (f & DirtyBrush)
            m_brush = s.brush();
        if (f & DirtyTransform)
            m_transform = s.transform();
        if (f & DirtyOpacity)
            m_opacity = s.opacity();
        if (f & DirtyClipEnabled)
            m_clipEnabled = s.isClipEnabled();
        if (f & DirtyClipPath)
            setClip(s.clipPath(), s.clipOperation());
        if (f & DirtyClipRegion) {
            QPainterPath path;
            path.addRegion(s.clipRegion());
            setClip(path, s.clipOperation());
        }
    }

    void drawPath(const QPainterPath& path) override
    {
        const Shape shape = startShape();
        if (!shape.drawn())
            return;
        appendPath(d.page, path);
        Impl::paint(d.page, shape.filled, shape.stroked, path.fillRule() == Qt::OddEvenFill);
    }
    void drawRects(const QRectF* rects, int count) override
    {
        const Shape shape = startShape();
        if (!shape.drawn())
            return;
        for (int i = 0; i < count; ++i) {
            for (double v : {rects[i].x(), rects[i].y(), rects[i].width(), rects[i].height()})
                appendNumber(d.page, v);
            d.page += "re\n";
        }
        Impl::paint(d.page, shape.filled, shape.stroked, false);
    }
    void drawLines(const QLineF* lines, int count) override
    {
        if (!startShape(false).drawn())
            return;
        for (int i = 0; i < count; ++i) {
            appendNumber(d.page, lines[i].x1());
            appendNumber(d.page, lines[i].y1());
            d.page += "m ";
            appendNumber(d.page, lines[i].x2());
            appendNumber(d.page, lines[i].y2());
            d.page += "l\n";
        }
        d.page += "S\n";
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (count < 2)
            return;
        const Shape shape = startShape(mode != PolylineMode);
        if (!shape.drawn())
            return;
        for (int i = 0; i < count; ++i) {
            appendNumber(d.page, points[i].x());
            appendNumber(d.page, points[i].y());
            d.page += i == 0 ? "m\n" : "l\n";
        }
        if (mode != PolylineMode)
            d.page += "h\n";
        Impl::paint(d.page, shape.filled, shape.stroked, mode == OddEvenMode);
    }
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override
    {
        drawImage(r, pm.toImage(), sr, Qt::AutoColor);
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override
    {
        d.ensureFrame(m_transform, clip());
        d.setAlpha(alphaOf(255), alphaOf(255));
        const QRect source = sr.toAlignedRect();
        d.image(r, source == image.rect() ? image : image.copy(source));
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        const QString text = item.text();
        if (text.isEmpty())
            return;
        d.ensureFrame(m_transform, clip());
        d.setAlpha(alphaOf(m_pen.color().alpha()), alphaOf(255));
        const auto& [runs, ascent] = d.shaped(item.font(), text, paintDevice());
        for (const QGlyphRun& run : runs) {
            const QList<quint32> g = run.glyphIndexes();
            const QList<QPointF> pos = run.positions();
            d.glyphs(run.rawFont(), g.constData(), pos.constData(), std::min(g.size(), pos.size()),
                     p - QPointF(0, ascent), m_pen.color());
        }
    }

private:
    Impl& d;
    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
    qreal m_opacity = 1;
    bool m_clipEnabled = false;
    bool m_hasClip = false;
    QPainterPath m_clip; // in the page's device pixels

    int alphaOf(int a) const { return std::clamp(int(std::lround(a * m_opacity)), 0, 255); }
    const QPainterPath* clip() const { return m_clipEnabled && m_hasClip ? &m_clip : nullptr; }

    void setClip(const QPainterPath& path, Qt::ClipOperation op)
    {
        const QPainterPath mapped = m_transform.map(path);
        if (op == Qt::NoClip) {
            m_hasClip = false;
        } else if (op == Qt::IntersectClip && m_hasClip) {
            m_clip = m_clip.intersected(mapped);
        } else {
            m_clip = mapped;
            m_hasClip = true;
        }
    }

    struct Shape
    {
        bool filled = false;
        bool stroked = false;
        bool drawn() const { return filled || stroked; }
    };
    // Sets the frame, colours and pen of a shape and says what of it is
    // drawn (a painter fills with anything but a plain colour by a picture
    // of it).
    Shape startShape(bool fillable = true)
    {
        const Shape shape{fillable && m_brush.style() == Qt::SolidPattern, m_pen.style() != Qt::NoPen};
        if (!shape.drawn())
            return shape;
        d.ensureFrame(m_transform, clip());
        d.setAlpha(alphaOf(shape.filled ? m_brush.color().alpha() : 255),
                   alphaOf(shape.stroked ? m_pen.color().alpha() : 255));
        if (shape.filled)
            d.setFill(m_brush.color());
        if (shape.stroked)
            d.setStroke(m_pen, m_transform);
        return shape;
    }
};

// ---------------------------------------------------------------- the device

PdfDocument::PdfDocument(const QPageLayout& layout, int resolution) : d(std::make_unique<Impl>())
{
    d->layout = layout;
    d->resolution = resolution;
    d->catalog = d->file.newObject();
    d->pageTree = d->file.newObject();
    d->resources = d->file.newObject();
    d->startPage();
    m_engine = std::make_unique<Engine>(*d);
}

PdfDocument::~PdfDocument() = default;

void PdfDocument::setTitle(const QString& title)
{
    d->title = title;
}

void PdfDocument::setCreator(const QString& creator)
{
    d->creator = creator;
}

void PdfDocument::newPage()
{
    if (d->finished)
        return;
    d->endPage();
    d->startPage();
}

void PdfDocument::drawGlyphs(const QPainter& painter, const QRawFont& font, const QList<quint32>& glyphs,
                             const QList<QPointF>& positions, QPointF origin, const QRectF* clip)
{
    if (d->finished)
        return;
    const QTransform t = painter.combinedTransform();
    std::optional<QPainterPath> area;
    if (clip) {
        QPainterPath p;
        p.addRect(*clip);
        area = t.map(p);
    } else if (painter.hasClipping()) {
        area = t.map(painter.clipPath());
    }
    d->ensureFrame(t, area ? &*area : nullptr);
    const QColor colour = painter.pen().color();
    d->setAlpha(std::clamp(int(std::lround(colour.alpha() * painter.opacity())), 0, 255), 255);
    d->glyphs(font, glyphs.constData(), positions.constData(), std::min(glyphs.size(), positions.size()),
              origin, colour);
}

QByteArray PdfDocument::finish()
{
    if (d->finished)
        return {};
    return d->finish();
}

QPaintEngine* PdfDocument::paintEngine() const
{
    return m_engine.get();
}

int PdfDocument::metric(PaintDeviceMetric metric) const
{
    const QRect paint = d->layout.paintRectPixels(d->resolution);
    const QRectF mm = d->layout.paintRect(QPageLayout::Millimeter);
    switch (metric) {
    case PdmWidth:
        return paint.width();
    case PdmHeight:
        return paint.height();
    case PdmWidthMM:
        return qRound(mm.width());
    case PdmHeightMM:
        return qRound(mm.height());
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return d->resolution;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace lir::docs
