#include "docs/pdfdocument.h"

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
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

namespace lir::docs {

namespace {

// A low level of zlib's: a 102-page quote is 8 % larger than at the middle
// level, and written in five sixths of the time.
constexpr int CompressionLevel = 3;

// How far a glyph may stand from where the widths of the glyphs before it
// put it, in thousandths of the em (a tenth of a device pixel in the
// table's text), before the file moves it: the layout rounds each advance
// to a 64th of a pixel, and following that to the letter would move
// nearly every glyph.
constexpr double AllowedDrift = 3;

// A number as the PDF writes it: at most `decimals` decimals, no exponent.
void num(QByteArray& out, double v, int decimals = 3)
{
    static constexpr long long Scale[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    const long long scale = Scale[decimals];
    char buf[48];
    char* p = buf;
    // Far beyond any page, and never a value the file cannot hold.
    v = std::isfinite(v) ? std::clamp(v, -1e9, 1e9) : 0;
    long long scaled = std::llround(v * double(scale));
    if (scaled < 0) {
        *p++ = '-';
        scaled = -scaled;
    }
    const auto [end, error] = std::to_chars(p, buf + sizeof buf - 16, scaled / scale);
    if (error != std::errc())
        return;
    p = end;
    long long frac = scaled % scale;
    if (frac != 0) {
        *p++ = '.';
        for (long long digit = scale / 10; digit > 0 && frac != 0; digit /= 10) {
            *p++ = char('0' + frac / digit);
            frac %= digit;
        }
    }
    *p++ = ' ';
    out.append(buf, p - buf);
}

double hundredths(double v)
{
    return double(std::llround(v * 100)) / 100;
}

void hex4(QByteArray& out, quint32 v)
{
    static const char digits[] = "0123456789ABCDEF";
    const char b[4] = {digits[(v >> 12) & 15], digits[(v >> 8) & 15], digits[(v >> 4) & 15], digits[v & 15]};
    out.append(b, 4);
}

// A text string of the file's dictionaries: UTF-16 with its byte order mark.
QByteArray textString(const QString& s)
{
    QByteArray out = "<FEFF";
    for (QChar ch : s)
        hex4(out, ch.unicode());
    out += '>';
    return out;
}

// The characters of a glyph as UTF-16 for the map from glyphs to text.
void utf16(QByteArray& out, char32_t ch)
{
    if (ch > 0xffff) {
        ch -= 0x10000;
        hex4(out, 0xd800 + (ch >> 10));
        hex4(out, 0xdc00 + (ch & 0x3ff));
    } else {
        hex4(out, ch);
    }
}

void append(QByteArray& out, const QTransform& t)
{
    for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
        num(out, v, 6);
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
                num(out, v);
            out += "c\n";
            i += 2;
            continue;
        }
        num(out, e.x);
        num(out, e.y);
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

    QByteArray out;
    std::vector<qint64> offsets{0}; // of each object by its number; 0 is never used
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

    int newObject()
    {
        offsets.push_back(0);
        return int(offsets.size() - 1);
    }
    void begin(int object)
    {
        offsets[size_t(object)] = out.size();
        out += QByteArray::number(object);
        out += " 0 obj\n";
    }
    int writeObject(int object, const QByteArray& body)
    {
        begin(object);
        out += body;
        out += "\nendobj\n";
        return object;
    }
    int writeStream(int object, const QByteArray& dict, const QByteArray& data)
    {
        begin(object);
        const QByteArray packed = qCompress(data, CompressionLevel);
        // Qt puts the length before zlib's own stream.
        const qsizetype size = std::max<qsizetype>(packed.size() - 4, 0);
        out += "<<" + dict + " /Filter /FlateDecode /Length " + QByteArray::number(size) + ">>\nstream\n";
        if (size > 0)
            out.append(packed.constData() + 4, size);
        out += "\nendstream\nendobj\n";
        return object;
    }

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
        const int content = newObject();
        writeStream(content, QByteArray(), page);
        const int object = newObject();
        const QRect media = layout.fullRectPoints();
        QByteArray body =
            "<<\n/Type /Page\n/Parent " + QByteArray::number(pageTree) + " 0 R /MediaBox [0 0 " +
            QByteArray::number(media.width()) + ' ' + QByteArray::number(media.height()) + "] /Resources " +
            QByteArray::number(resources) + " 0 R /Contents " + QByteArray::number(content) + " 0 R\n>>";
        writeObject(object, body);
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
        num(page, qRed(fill) / 255.0);
        num(page, qGreen(fill) / 255.0);
        num(page, qBlue(fill) / 255.0);
        page += "rg\n";
    }
    void setStroke(const QPen& pen, const QTransform& t)
    {
        const QRgb rgb = pen.color().rgb();
        if (rgb != stroke) {
            stroke = rgb;
            num(page, qRed(rgb) / 255.0);
            num(page, qGreen(rgb) / 255.0);
            num(page, qBlue(rgb) / 255.0);
            page += "RG\n";
        }
        double w = pen.widthF();
        if (pen.isCosmetic() && w > 0)
            w /= std::max(scaleOf(t), 1e-9);
        if (w != lineWidth) {
            lineWidth = w;
            num(page, w);
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
                num(d, v * unit);
            d += "] ";
            num(d, pen.dashOffset() * unit);
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
        num(page, size);
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
                    lineX = hundredths(x);
                    lineY = hundredths(y);
                    page += "1 0 0 -1 ";
                    num(page, lineX, 2);
                    num(page, lineY, 2);
                    page += "Tm [";
                    placed = true;
                } else {
                    const double dx = hundredths(x - lineX);
                    const double dy = hundredths(y - lineY);
                    num(page, dx, 2);
                    num(page, -dy, 2);
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
            smask = writeStream(newObject(), "/Type /XObject /Subtype /Image /ColorSpace /DeviceGray" + size,
                                mask);
        QByteArray dict = "/Type /XObject /Subtype /Image /ColorSpace /DeviceRGB /Interpolate true" + size;
        if (smask)
            dict += " /SMask " + QByteArray::number(smask) + " 0 R";
        const int object = writeStream(newObject(), dict, rgb);
        return *images.insert(picture.cacheKey(), Image{object, ++imageCount});
    }

    void image(const QRectF& target, const QImage& picture)
    {
        if (picture.isNull() || target.isEmpty())
            return;
        const Image& im = imageOf(picture);
        // The picture's unit square, its first row at the top of the target.
        page += "q ";
        num(page, target.width());
        page += "0 0 ";
        num(page, -target.height());
        num(page, target.left());
        num(page, target.bottom());
        page += "cm /Im" + QByteArray::number(im.index) + " Do Q\n";
    }

    // ------------------------------------------------------------ the file's end
    void writeFonts()
    {
        for (Font& f : fonts) {
            if (!f.program)
                continue;
            const pdf::TrueTypeFont& p = *f.program;
            // A subset is named with six letters of its own.
            quint32 tag = 2166136261u;
            for (size_t g = 0; g < f.used.size(); ++g)
                if (f.used[g])
                    tag = (tag ^ quint32(g)) * 16777619u;
            QByteArray name(6, 'A');
            for (int i = 0; i < 6; ++i, tag /= 26)
                name[i] = char('A' + tag % 26);
            name += '+' + p.postscriptName();

            const QByteArray program = p.subset(f.used);
            const int file =
                writeStream(newObject(), " /Length1 " + QByteArray::number(program.size()), program);
            QByteArray descriptor = "<< /Type /FontDescriptor /FontName /" + name + " /Flags " +
                                    QByteArray::number(p.italic() ? 4 + 64 : 4) + " /FontBBox [";
            const QRectF box = p.boundingBox();
            for (double v : {box.left(), box.top(), box.right(), box.bottom()})
                num(descriptor, v, 0);
            descriptor += "] /ItalicAngle " + QByteArray(p.italic() ? "-12" : "0") + " /Ascent " +
                          QByteArray::number(p.ascent()) + " /Descent " + QByteArray::number(p.descent()) +
                          " /CapHeight " + QByteArray::number(p.capHeight()) + " /StemV 80 /FontFile2 " +
                          QByteArray::number(file) + " 0 R >>";
            const int desc = writeObject(newObject(), descriptor);

            QByteArray widths = "[";
            for (size_t g = 0; g < f.used.size();) {
                if (!f.used[g]) {
                    ++g;
                    continue;
                }
                widths += QByteArray::number(qulonglong(g)) + " [";
                for (; g < f.used.size() && f.used[g]; ++g)
                    num(widths, p.width(quint32(g)));
                widths += "] ";
            }
            widths += ']';
            const int cid = writeObject(
                newObject(), "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                                 " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                                 " /FontDescriptor " +
                                 QByteArray::number(desc) + " 0 R /CIDToGIDMap /Identity /W " + widths +
                                 " >>");

            const std::vector<char32_t> chars = p.charactersOf(f.used);
            QByteArray entries;
            int count = 0;
            QByteArray cmap = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                              "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                              "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                              "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
            auto flush = [&] {
                if (count == 0)
                    return;
                cmap += QByteArray::number(count) + " beginbfchar\n" + entries + "endbfchar\n";
                entries.clear();
                count = 0;
            };
            for (size_t g = 0; g < chars.size(); ++g) {
                if (chars[g] == 0)
                    continue;
                entries += '<';
                hex4(entries, quint32(g));
                entries += "> <";
                // A ligature's glyph (ﬁ, ﬄ) reads as its letters: the text
                // is searched for "fine", not "ﬁne".
                const char32_t ch = chars[g];
                if (ch >= 0xfb00 && ch <= 0xfb06)
                    for (QChar part : QChar::decomposition(ch))
                        utf16(entries, part.unicode());
                else
                    utf16(entries, ch);
                entries += ">\n";
                if (++count == 100)
                    flush();
            }
            flush();
            cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
            const int unicode = writeStream(newObject(), QByteArray(), cmap);

            f.object = writeObject(newObject(), "<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                                                    " /Encoding /Identity-H /DescendantFonts [" +
                                                    QByteArray::number(cid) + " 0 R] /ToUnicode " +
                                                    QByteArray::number(unicode) + " 0 R >>");
        }
    }

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
            num(body, alphas[i].first / 255.0);
            body += "/CA ";
            num(body, alphas[i].second / 255.0);
            body += ">>";
        }
        body += " >>\n>>";
        writeObject(resources, body);
    }

    QByteArray finish()
    {
        endPage();
        finished = true;
        writeFonts();
        writeResources();
        QByteArray kids;
        for (int p : pages)
            kids += QByteArray::number(p) + " 0 R ";
        writeObject(pageTree, "<< /Type /Pages /Kids [" + kids + "] /Count " +
                                  QByteArray::number(qulonglong(pages.size())) + " >>");
        writeObject(catalog, "<< /Type /Catalog /Pages " + QByteArray::number(pageTree) + " 0 R >>");
        const QString now = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
        const int info =
            writeObject(newObject(), "<< /Title " + textString(title) + " /Creator " + textString(creator) +
                                         " /Producer " + textString(QStringLiteral("LIRComplect")) +
                                         " /CreationDate (D:" + now.toLatin1() + "Z) >>");
        const qint64 xref = out.size();
        out += "xref\n0 " + QByteArray::number(qulonglong(offsets.size())) + "\n0000000000 65535 f \n";
        char entry[21];
        for (size_t i = 1; i < offsets.size(); ++i) {
            std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(offsets[i]));
            out.append(entry, 20);
        }
        out += "trailer\n<< /Size " + QByteArray::number(qulonglong(offsets.size())) + " /Root " +
               QByteArray::number(catalog) + " 0 R /Info " + QByteArray::number(info) +
               " 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
        return std::move(out);
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
        const bool filled = startShape();
        const bool stroked = m_pen.style() != Qt::NoPen;
        if (!filled && !stroked)
            return;
        appendPath(d.page, path);
        Impl::paint(d.page, filled, stroked, path.fillRule() == Qt::OddEvenFill);
    }
    void drawRects(const QRectF* rects, int count) override
    {
        const bool filled = startShape();
        const bool stroked = m_pen.style() != Qt::NoPen;
        if (!filled && !stroked)
            return;
        for (int i = 0; i < count; ++i) {
            for (double v : {rects[i].x(), rects[i].y(), rects[i].width(), rects[i].height()})
                num(d.page, v);
            d.page += "re\n";
        }
        Impl::paint(d.page, filled, stroked, false);
    }
    void drawLines(const QLineF* lines, int count) override
    {
        if (m_pen.style() == Qt::NoPen)
            return;
        startShape(false);
        for (int i = 0; i < count; ++i) {
            num(d.page, lines[i].x1());
            num(d.page, lines[i].y1());
            d.page += "m ";
            num(d.page, lines[i].x2());
            num(d.page, lines[i].y2());
            d.page += "l\n";
        }
        d.page += "S\n";
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (count < 2)
            return;
        const bool filled = startShape(mode != PolylineMode);
        const bool stroked = m_pen.style() != Qt::NoPen;
        if (!filled && !stroked)
            return;
        for (int i = 0; i < count; ++i) {
            num(d.page, points[i].x());
            num(d.page, points[i].y());
            d.page += i == 0 ? "m\n" : "l\n";
        }
        if (mode != PolylineMode)
            d.page += "h\n";
        Impl::paint(d.page, filled, stroked, mode == OddEvenMode);
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

    // Sets the frame, colours and pen of a shape; true when it is filled
    // (a painter fills with anything but a plain colour by a picture of it).
    bool startShape(bool fillable = true)
    {
        const bool filled = fillable && m_brush.style() == Qt::SolidPattern;
        const bool stroked = m_pen.style() != Qt::NoPen;
        if (!filled && !stroked)
            return false;
        d.ensureFrame(m_transform, clip());
        d.setAlpha(alphaOf(filled ? m_brush.color().alpha() : 255),
                   alphaOf(stroked ? m_pen.color().alpha() : 255));
        if (filled)
            d.setFill(m_brush.color());
        if (stroked)
            d.setStroke(m_pen, m_transform);
        return filled;
    }
};

// ---------------------------------------------------------------- the device

PdfDocument::PdfDocument(const QPageLayout& layout, int resolution) : d(std::make_unique<Impl>())
{
    d->layout = layout;
    d->resolution = resolution;
    d->out = "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n";
    d->catalog = d->newObject();
    d->pageTree = d->newObject();
    d->resources = d->newObject();
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
