#include "docs/quotedocument.h"

#include "core/base/error.h"
#include "core/base/safefile.h"
#include "core/export/documentfile.h"
#include "core/export/quotetexts.h"
#include "docs/pdfdocument.h"
#include "docs/sashdrawing.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QTextOption>
#include <QImage>
#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QSvgRenderer>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace lir::docs {

namespace t = quotetexts;

namespace {

// Pictures beyond these are refused rather than scaled: a logo of that size
// is a mistake, and decoding it would take the memory of the whole program.
constexpr qint64 MaxLogoBytes = 10 * 1024 * 1024;
constexpr int MaxLogoSide = 6000;

// The logo box beside the company details, in millimetres.
constexpr qreal LogoWidth = 45;
constexpr qreal LogoHeight = 25;
// The company block never takes more of the first page than this.
constexpr qreal MaxCompanyHeight = 90;

// The sash beside a kit's quote, and the small one in a kit's row of an
// order's quote, in millimetres; each is painted as the windows paint it in
// a box of the logical width given, then scaled, so that its texts keep
// their proportions to the sash.
constexpr QSizeF KitDrawing(64, 44);
constexpr qreal KitDrawingLogicalWidth = 200;
constexpr QSizeF RowDrawing(40, 28);
constexpr qreal RowDrawingLogicalWidth = 180;

// Column widths of the table in millimetres, scaled to the page's width:
// №, designation, name, quantity, unit, price, sum; the running number
// takes four figures, as an order of 255 kits with their parts does.
constexpr std::array<qreal, 7> ColumnWidths = {11, 36, 56, 16, 15, 22, 24};
constexpr std::array<Qt::Alignment::Int, 7> ColumnAlign = {
    Qt::AlignRight, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignRight};

// DejaVu Sans has every Cyrillic glyph and is embedded into the PDF, so that
// its text can be selected and searched wherever the file is opened.
QFont font(qreal points, bool bold = false)
{
    static const QString family = [] {
        const QString dejavu = QStringLiteral("DejaVu Sans");
        return QFontDatabase::hasFamily(dejavu) ? dejavu : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setKerning(false);
    // A PDF scales its glyphs: hinting them for the device's grid only costs time.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

struct Logo
{
    QImage image;
    std::shared_ptr<QSvgRenderer> svg;
    QSizeF size() const { return svg ? QSizeF(svg->defaultSize()) : QSizeF(image.size()); }
    bool present() const { return svg || !image.isNull(); }
};

bool isSvg(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("svg") || suffix == QLatin1String("svgz");
}

// Loads the logo; nothing for an empty path. Every refusal names the file.
Logo loadLogo(const QString& path, QString* problem)
{
    Logo logo;
    if (path.trimmed().isEmpty())
        return logo;
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(info.absoluteFilePath());
    if (!info.isFile()) {
        *problem = t::logoMissing(shown);
        return logo;
    }
    if (info.size() > MaxLogoBytes) {
        *problem = t::logoTooLarge(shown);
        return logo;
    }
    if (isSvg(path)) {
        auto svg = std::make_shared<QSvgRenderer>(path);
        const QSize s = svg->defaultSize();
        if (!svg->isValid() || s.isEmpty())
            *problem = t::logoNotPicture(shown);
        else
            logo.svg = std::move(svg);
        return logo;
    }
    QImageReader reader(path);
    const QSize s = reader.size();
    if (!reader.canRead() || s.isEmpty()) {
        *problem = t::logoNotPicture(shown);
        return logo;
    }
    if (s.width() > MaxLogoSide || s.height() > MaxLogoSide) {
        *problem = t::logoTooLarge(shown);
        return logo;
    }
    if (!reader.read(&logo.image) || logo.image.isNull())
        *problem = t::logoNotPicture(shown);
    return logo;
}

// Paints the sash into box (device units), at the scale that makes the box
// logicalWidth wide.
void paintSashScaled(QPainter& painter, const QRectF& box, const SashDrawingInput& input, qreal logicalWidth)
{
    const qreal scale = box.width() / logicalWidth;
    if (scale <= 0)
        return;
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(scale, scale);
    paintSash(painter, QRectF(0, 0, logicalWidth, box.height() / scale), input);
    painter.restore();
}

// A line of text shaped once: a long order repeats the same names, units
// and designations thousands of times, and shaping is most of the work of
// painting them.
struct Shaped
{
    // The glyphs of one font, placed from the text's top left corner.
    struct Piece
    {
        QRawFont font;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    QList<Piece> pieces;
    qreal width = 0;
    qreal height = 0;

    static QList<Piece> of(const QList<QGlyphRun>& runs)
    {
        QList<Piece> out;
        for (const QGlyphRun& run : runs)
            out.append(Piece{run.rawFont(), run.glyphIndexes(), run.positions()});
        return out;
    }
};

QGlyphRun glyphRunOf(const Shaped::Piece& piece)
{
    QGlyphRun run;
    run.setRawFont(piece.font);
    run.setGlyphIndexes(piece.glyphs);
    run.setPositions(piece.positions);
    return run;
}

class ShapedTexts
{
public:
    explicit ShapedTexts(QPaintDevice& device) : m_device(device) {}

    const Shaped& get(const QFont& f, const QString& text)
    {
        const Key key{fontKey(f), text};
        auto it = m_known.find(key);
        if (it != m_known.end())
            return *it;
        // Numbers, prices and sums differ from row to row: they are put
        // together from their characters, each shaped once. Nothing between
        // these characters is kerned or joined.
        if (text.size() > 1 && std::all_of(text.begin(), text.end(), isFigure)) {
            Shaped shaped;
            for (QChar ch : text) {
                const Shaped& one = get(f, QString(ch));
                for (const Shaped::Piece& piece : one.pieces) {
                    if (shaped.pieces.isEmpty() || !(shaped.pieces.constLast().font == piece.font))
                        shaped.pieces.append(Shaped::Piece{piece.font, {}, {}});
                    Shaped::Piece& to = shaped.pieces.last();
                    to.glyphs.append(piece.glyphs);
                    for (const QPointF& p : piece.positions)
                        to.positions.append(QPointF(p.x() + shaped.width, p.y()));
                }
                shaped.width += one.width;
                shaped.height = std::max(shaped.height, one.height);
            }
            return *m_known.insert(key, std::move(shaped));
        }
        QTextLayout layout(text, f, &m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setPosition(QPointF(0, 0));
        layout.endLayout();
        Shaped shaped{Shaped::of(layout.glyphRuns()), line.naturalTextWidth(), line.height()};
        return *m_known.insert(key, std::move(shaped));
    }

    // A text wrapped within width: its glyphs placed as aligned, and its
    // height. A long name in every kit's row is wrapped once.
    const Shaped& wrapped(const QFont& f, const QString& text, qreal width, Qt::Alignment align)
    {
        const qint64 box = (qint64(fontKey(f)) << 44) | (qint64(qRound(width * 16)) << 12) | (qint64(align) & 0xfff);
        const Key key{box, text};
        auto it = m_wrapped.find(key);
        if (it != m_wrapped.end())
            return *it;
        QString prepared = text;
        prepared.replace(u'\n', QChar::LineSeparator);
        QTextLayout layout(prepared, f, &m_device);
        QTextOption option(align);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        qreal h = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, h));
            h += line.height();
        }
        layout.endLayout();
        Shaped shaped{Shaped::of(layout.glyphRuns()), width, h};
        return *m_wrapped.insert(key, std::move(shaped));
    }

private:
    static bool isFigure(QChar ch)
    {
        return (ch >= u'0' && ch <= u'9') || ch == u',' || ch == u'.' || ch == u' ' || ch == u'-';
    }
    static int fontKey(const QFont& f) { return qRound(f.pointSizeF() * 10) * 2 + (f.bold() ? 1 : 0); }

    using Key = std::pair<qint64, QString>; // size and weight (and the box), text
    QPaintDevice& m_device;
    QHash<Key, Shaped> m_known;
    QHash<Key, Shaped> m_wrapped;
};

// The glyphs of a page's single lines, gathered and painted at once:
// a PDF pays for every piece of text it starts, and a long table has tens
// of thousands of cells.
class PageGlyphs
{
public:
    // Qt's PDF writer moves to every glyph with an offset of its own; our
    // own writes runs of glyphs and needs them where they were laid out.
    explicit PageGlyphs(PdfDocument* pdf) : m_pdf(pdf) {}

    void add(const Shaped::Piece& piece, QPointF at)
    {
        const QRawFont& font = piece.font;
        // In the order they were laid out: a reader that copies the text
        // follows it.
        if (m_runs.empty() || !(m_runs.back().font == font))
            m_runs.push_back(Shaped::Piece{font, {}, {}});
        Shaped::Piece& r = m_runs.back();
        r.glyphs.append(piece.glyphs);
        if (m_pdf) {
            for (const QPointF& p : piece.positions)
                r.positions.append(p + at);
            return;
        }
        // Across, on whole device pixels (a quarter of a point at 300 dpi,
        // finer than print shows): the PDF writer moves to every glyph with
        // its own offset, and whole offsets are written short and repeat, so
        // the page's stream is a third shorter and compresses faster. The
        // baselines stay as laid out, and so does the text read back.
        const qreal left = std::round(at.x());
        for (const QPointF& p : piece.positions)
            r.positions.append(QPointF(left + std::round(p.x()), p.y() + at.y()));
    }

    void paint(QPainter& painter)
    {
        if (m_runs.empty())
            return;
        painter.setPen(Qt::black);
        for (const Shaped::Piece& r : m_runs)
            draw(painter, m_pdf, QPointF(0, 0), r);
        m_runs.clear();
    }

    static void draw(QPainter& painter, PdfDocument* pdf, QPointF at, const Shaped::Piece& piece,
                     const QRectF* clip = nullptr)
    {
        if (pdf) {
            pdf->drawGlyphs(painter, piece.font, piece.glyphs, piece.positions, at, clip);
        } else if (clip) {
            painter.save();
            painter.setClipRect(*clip);
            painter.drawGlyphRun(at, glyphRunOf(piece));
            painter.restore();
        } else {
            painter.drawGlyphRun(at, glyphRunOf(piece));
        }
    }

private:
    PdfDocument* m_pdf;
    std::vector<Shaped::Piece> m_runs;
};

// What a quote is painted on: a printer, Qt's PDF writer or our own.
struct Sheet
{
    QPaintDevice& device;
    std::function<void()> newPage;
    PdfDocument* pdf = nullptr;
};

// Lays the quote out page by page. Run twice: once without a painter to
// count the pages, then with one to paint them, "Стр. K из M" included.
class Pages
{
public:
    Pages(const Sheet& sheet, ShapedTexts& shaped, QPainter* painter, int pageCount)
        : m_sheet(sheet), m_device(sheet.device), m_shaped(shaped), m_painter(painter), m_pageCount(pageCount),
          m_dpi(m_device.logicalDpiY()), m_width(m_device.width()), m_bottom(m_device.height() - mm(8)),
          m_glyphs(sheet.pdf)
    {
        qreal total = 0;
        for (qreal w : ColumnWidths)
            total += w;
        qreal x = 0;
        for (size_t i = 0; i < ColumnWidths.size(); ++i) {
            m_columns[i] = {x, ColumnWidths[i] / total * m_width};
            x += m_columns[i].second;
        }
    }

    qreal mm(qreal v) const { return v * m_dpi / 25.4; }
    qreal width() const { return m_width; }
    qreal y() const { return m_y; }
    void skip(qreal h) { m_y += h; }
    int page() const { return m_page; }
    bool painting() const { return m_painter != nullptr; }
    PdfDocument* pdf() const { return m_sheet.pdf; }
    QPainter& painter() { return *m_painter; }

    // The height of a text wrapped within `width`; long words break anywhere.
    qreal height(const QFont& f, const QString& text, qreal width)
    {
        if (!text.contains(u'\n')) {
            const Shaped& line = m_shaped.get(f, text);
            if (line.width <= width)
                return line.height;
        }
        return m_shaped.wrapped(f, text, width, Qt::AlignLeft).height;
    }

    void text(const QRectF& r, const QFont& f, const QString& text, Qt::Alignment align)
    {
        if (!m_painter || text.isEmpty())
            return;
        if (!text.contains(u'\n')) {
            const Shaped& line = m_shaped.get(f, text);
            if (line.width <= r.width()) {
                qreal x = r.left();
                if (align & Qt::AlignRight)
                    x = r.right() - line.width;
                else if (align & Qt::AlignHCenter)
                    x = r.left() + (r.width() - line.width) / 2;
                for (const Shaped::Piece& piece : line.pieces)
                    m_glyphs.add(piece, QPointF(x, r.top()));
                return;
            }
        }
        const Shaped& lines = m_shaped.wrapped(f, text, r.width(), align);
        if (lines.height <= r.height() + 0.5) {
            for (const Shaped::Piece& piece : lines.pieces)
                m_glyphs.add(piece, r.topLeft());
            return;
        }
        // Cut at the foot of its box.
        m_glyphs.paint(*m_painter); // what was laid out before stays beneath
        for (const Shaped::Piece& piece : lines.pieces)
            PageGlyphs::draw(*m_painter, m_sheet.pdf, r.topLeft(), piece, &r);
    }

    // Starts a new page when `h` does not fit on this one; true when it did.
    bool ensure(qreal h)
    {
        if (m_y + h <= m_bottom || m_y == 0)
            return false;
        newPage();
        return true;
    }
    qreal room() const { return m_bottom - m_y; }

    void newPage()
    {
        footer();
        if (m_painter)
            m_sheet.newPage();
        ++m_page;
        m_y = 0;
    }
    // The foot of the last page.
    void finish() { footer(); }

    // ------------------------------------------------------------ the table
    // A kit's row may carry its sash, drawn under its name.
    static constexpr size_t DrawingColumn = 2;
    qreal rowHeight(const std::array<QString, 7>& cells, const QFont& f, const SashDrawingInput* drawing = nullptr)
    {
        qreal h = 0;
        for (size_t i = 0; i < cells.size(); ++i)
            h = std::max(h, height(f, cells[i], m_columns[i].second - 2 * pad()));
        if (drawing)
            h = std::max(h, drawingTop(cells, f) + drawingBox().height());
        return h + 2 * pad();
    }
    void row(const std::array<QString, 7>& cells, const QFont& f, qreal h, bool shaded,
             const SashDrawingInput* drawing = nullptr)
    {
        if (m_painter) {
            if (shaded)
                m_painter->fillRect(QRectF(0, m_y, m_width, h), QColor(230, 230, 230));
            // The rules of the table are drawn once a page is full: a line
            // under each row, and the columns' lines from the top of the
            // rows that follow each other to their foot.
            if (m_tableTop < 0 || m_tableBottom != m_y) {
                closeColumns();
                m_tableTop = m_y;
                m_rules.append(QLineF(0, m_y, m_width, m_y));
            }
            m_tableBottom = m_y + h;
            m_rules.append(QLineF(0, m_y + h, m_width, m_y + h));
            for (size_t i = 0; i < cells.size(); ++i) {
                const QRectF cell(m_columns[i].first, m_y, m_columns[i].second, h);
                text(cell.adjusted(pad(), pad(), -pad(), -pad()), f, cells[i], Qt::Alignment(ColumnAlign[i]));
            }
            if (drawing) {
                const QRectF box = drawingBox().translated(m_columns[DrawingColumn].first + pad(),
                                                           m_y + pad() + drawingTop(cells, f));
                // A row cut at the foot of a page keeps its text and loses the sash.
                if (box.bottom() <= m_y + h)
                    paintSashScaled(*m_painter, box, *drawing, RowDrawingLogicalWidth);
            }
        }
        m_y += h;
    }
    qreal pad() const { return mm(1.2); }

private:
    QRectF drawingBox() const
    {
        const qreal w = std::min(mm(RowDrawing.width()), m_columns[DrawingColumn].second - 2 * pad());
        return QRectF(0, 0, w, w * RowDrawing.height() / RowDrawing.width());
    }
    // Under the name, from the top of the cell's text.
    qreal drawingTop(const std::array<QString, 7>& cells, const QFont& f)
    {
        return height(f, cells[DrawingColumn], m_columns[DrawingColumn].second - 2 * pad()) + mm(1);
    }

    void closeColumns()
    {
        if (m_tableTop < 0)
            return;
        for (const auto& [left, width] : m_columns)
            m_rules.append(QLineF(left, m_tableTop, left, m_tableBottom));
        m_rules.append(QLineF(m_width, m_tableTop, m_width, m_tableBottom));
        m_tableTop = -1;
    }

    void footer()
    {
        if (!m_painter)
            return;
        closeColumns();
        if (!m_rules.isEmpty()) {
            // On whole device pixels, as the glyphs are: short numbers to write.
            for (QLineF& rule : m_rules)
                rule = QLineF(std::round(rule.x1()), std::round(rule.y1()), std::round(rule.x2()), std::round(rule.y2()));
            m_painter->setPen(QPen(Qt::black, mm(0.2)));
            m_painter->drawLines(m_rules);
            m_rules.clear();
        }
        const QFont f = font(8);
        const QRectF r(0, m_device.height() - mm(5), m_width, mm(5));
        text(r, f, t::page(m_page, m_pageCount), Qt::AlignRight);
        m_glyphs.paint(*m_painter);
    }

    const Sheet& m_sheet;
    QPaintDevice& m_device;
    ShapedTexts& m_shaped;
    QPainter* m_painter;
    int m_pageCount;
    qreal m_dpi;
    qreal m_width;
    qreal m_bottom;
    qreal m_y = 0;
    int m_page = 1;
    std::array<std::pair<qreal, qreal>, 7> m_columns; // left, width
    QVector<QLineF> m_rules;
    qreal m_tableTop = -1; // of the rows that follow each other on this page; -1: none yet
    qreal m_tableBottom = 0;
    PageGlyphs m_glyphs;
};

// The table's cells as they are printed, and the rows' heights once known.
struct TableRows
{
    explicit TableRows(const Quote& q)
    {
        cells.reserve(q.lines.size());
        int number = 0;
        for (const Quote::Line& l : q.lines)
            cells.append({
                QString::number(++number),
                l.designation,
                l.name,
                l.quantity,
                l.unit,
                l.price ? money::format(*l.price) : t::noPrice(),
                l.sum ? money::format(*l.sum) : t::noPrice(),
            });
    }
    QVector<std::array<QString, 7>> cells;
    QVector<qreal> heights;
};

// One run over the whole quote; returns the number of pages.
int layOut(const Quote& q, const Logo& logo, TableRows& rows, Pages& pages)
{
    const QFont nameFont = font(11, true);
    const QFont detailFont = font(8.5);
    const QFont titleFont = font(13, true);
    const QFont aboutFont = font(9.5);
    const QFont headFont = font(8.5, true);
    const QFont cellFont = font(8.5);
    const QFont kitFont = font(8.5, true);
    const QFont totalFont = font(9.5, true);
    const qreal w = pages.width();

    // ------------------------------------------------------------ the company block
    const QString name = q.company.name.trimmed();
    const QStringList lines = companyLines(q.company);
    if (logo.present() || !name.isEmpty() || !lines.isEmpty()) {
        qreal logoHeight = 0;
        qreal textLeft = 0;
        if (logo.present()) {
            const QSizeF box(pages.mm(LogoWidth), pages.mm(LogoHeight));
            const QSizeF s = logo.size().scaled(box, Qt::KeepAspectRatio);
            logoHeight = s.height();
            textLeft = box.width() + pages.mm(5);
            if (pages.painting()) {
                const QRectF target(QPointF(0, pages.y()), s);
                if (logo.svg)
                    logo.svg->render(&pages.painter(), target);
                else
                    pages.painter().drawImage(target, logo.image);
            }
        }
        const qreal textWidth = w - textLeft;
        const qreal limit = pages.mm(MaxCompanyHeight);
        qreal h = 0;
        auto put = [&](const QFont& f, const QString& text) {
            const qreal th = std::min(pages.height(f, text, textWidth), limit - h);
            if (th <= 0)
                return;
            pages.text(QRectF(textLeft, pages.y() + h, textWidth, th), f, text, Qt::AlignLeft);
            h += th;
        };
        if (!name.isEmpty())
            put(nameFont, name);
        for (const QString& l : lines)
            put(detailFont, l);
        pages.skip(std::max(h, logoHeight) + pages.mm(3));
        if (pages.painting()) {
            pages.painter().setPen(QPen(Qt::black, pages.mm(0.3)));
            pages.painter().drawLine(QPointF(0, pages.y()), QPointF(w, pages.y()));
        }
        pages.skip(pages.mm(5));
    }

    // ------------------------------------------------------------ title and what the quote is for
    const qreal titleHeight = pages.height(titleFont, q.title, w);
    pages.text(QRectF(0, pages.y(), w, titleHeight), titleFont, q.title, Qt::AlignHCenter);
    pages.skip(titleHeight + pages.mm(4));
    // The kit's sash stands at the right of what the quote is for.
    const QSizeF drawing = q.drawing ? QSizeF(pages.mm(KitDrawing.width()), pages.mm(KitDrawing.height())) : QSizeF();
    const qreal aboutWidth = q.drawing ? w - drawing.width() - pages.mm(4) : w;
    if (q.drawing) {
        pages.ensure(drawing.height());
        if (pages.painting())
            paintSashScaled(pages.painter(), QRectF(QPointF(w - drawing.width(), pages.y()), drawing), *q.drawing,
                            KitDrawingLogicalWidth);
    }
    const qreal aboutTop = pages.y();
    const int aboutPage = pages.page();
    for (const QString& a : q.about) {
        const qreal h = std::min(pages.height(aboutFont, a, aboutWidth), pages.mm(60));
        pages.ensure(h);
        pages.text(QRectF(0, pages.y(), aboutWidth, h), aboutFont, a, Qt::AlignLeft);
        pages.skip(h + pages.mm(0.8));
    }
    if (q.drawing && pages.page() == aboutPage)
        pages.skip(std::max(aboutTop + drawing.height() - pages.y(), 0.0));
    pages.skip(pages.mm(3));

    // ------------------------------------------------------------ the table
    const QStringList heads = t::columns();
    const std::array<QString, 7> head = {heads[0], heads[1], heads[2], heads[3], heads[4], heads[5], heads[6]};
    const qreal headHeight = pages.rowHeight(head, headFont);
    auto header = [&] { pages.row(head, headFont, headHeight, true); };
    pages.ensure(headHeight * 2);
    header();
    for (qsizetype i = 0; i < q.lines.size(); ++i) {
        const Quote::Line& l = q.lines[i];
        const std::array<QString, 7>& cells = rows.cells[i];
        const QFont& f = l.kit ? kitFont : cellFont;
        const SashDrawingInput* sash = l.drawing ? &*l.drawing : nullptr;
        // Measured by the first run over the quote, painted by the second.
        if (rows.heights.size() <= i)
            rows.heights.append(pages.rowHeight(cells, f, sash));
        qreal h = rows.heights[i];
        if (pages.ensure(h))
            header();
        h = std::min(h, pages.room()); // a row longer than a page is cut at its foot
        pages.row(cells, f, h, false, sash);
    }
    pages.skip(pages.mm(3));

    // ------------------------------------------------------------ totals and the closing lines
    const qreal amountWidth = pages.mm(40);
    for (const auto& [label, amount] : q.totals) {
        const qreal h = pages.height(totalFont, label, w - amountWidth);
        pages.ensure(h);
        pages.text(QRectF(0, pages.y(), w - amountWidth - pages.mm(2), h), totalFont, label, Qt::AlignRight);
        pages.text(QRectF(w - amountWidth, pages.y(), amountWidth, h), totalFont, amount, Qt::AlignRight);
        pages.skip(h + pages.mm(1));
    }
    auto paragraph = [&](const QFont& f, const QString& text, qreal before) {
        if (text.isEmpty())
            return;
        const qreal h = pages.height(f, text, w);
        pages.ensure(h + before);
        pages.skip(before);
        pages.text(QRectF(0, pages.y(), w, h), f, text, Qt::AlignLeft);
        pages.skip(h);
    };
    paragraph(aboutFont, q.unpricedNote, pages.mm(2));
    paragraph(totalFont, q.words, pages.mm(3));
    paragraph(aboutFont, q.validity, pages.mm(4));
    paragraph(aboutFont, q.signature, pages.mm(14));
    pages.finish();
    return pages.page();
}

QPageLayout quotePageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

} // namespace

void setQuotePage(QPagedPaintDevice& device)
{
    device.setPageLayout(quotePageLayout());
}

QString logoProblem(const QString& path)
{
    QString problem;
    loadLogo(path, &problem);
    return problem;
}

namespace {

void paintOn(const Quote& quote, const Sheet& sheet)
{
    QString problem;
    const Logo logo = loadLogo(quote.company.logo, &problem);
    if (!problem.isEmpty())
        throw Error(problem);
    ShapedTexts shaped(sheet.device);
    Pages count(sheet, shaped, nullptr, 0);
    TableRows rows(quote);
    const int pageCount = layOut(quote, logo, rows, count);
    QPainter painter;
    if (!painter.begin(&sheet.device))
        throw Error(t::cannotPaint());
    Pages pages(sheet, shaped, &painter, pageCount);
    layOut(quote, logo, rows, pages);
    painter.end();
}

} // namespace

void paintQuote(const Quote& quote, QPagedPaintDevice& device)
{
    paintOn(quote, Sheet{device, [&device] { device.newPage(); }});
}

QByteArray quotePdf(const Quote& quote)
{
    PdfDocument pdf(quotePageLayout(), 300);
    pdf.setTitle(quote.fileTitle);
    pdf.setCreator(QStringLiteral("LIRComplect"));
    paintOn(quote, Sheet{pdf, [&pdf] { pdf.newPage(); }, &pdf});
    return pdf.finish();
}

void writeQuotePdf(const QString& path, const Quote& quote)
{
    // Painted in full before the file is touched: a refused logo leaves nothing behind.
    writeDocumentFile(path, [&] { return quotePdf(quote); });
}

} // namespace lir::docs
