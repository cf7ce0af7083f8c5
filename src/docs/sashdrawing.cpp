#include "docs/sashdrawing.h"

#include "core/export/documentfile.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace lir {

namespace sashtexts {

QString dimension(const char* name, int value)
{
    return QLatin1String(name) + QLatin1Char(' ') + QString::number(value);
}

QString allowed(int lo, int hi)
{
    if (lo == hi)
        return QStringLiteral("допустимо %1").arg(lo);
    return QStringLiteral("допустимо %1–%2").arg(lo).arg(hi);
}

} // namespace sashtexts

namespace {

using Dimension = SashDrawingInput::Dimension;

} // namespace

namespace {

const QColor ink(0x20, 0x20, 0x20);
const QColor wrong(0xd0, 0x00, 0x00);
const QColor pvcProfile(0xff, 0xff, 0xff);
const QColor woodProfile(0xe4, 0xc4, 0x94);
const QColor glass(0xdc, 0xec, 0xf6);
const QColor fittings(0x55, 0x55, 0x55);

constexpr qreal MinDimensionsWidth = 160;
constexpr qreal MinDimensionsHeight = 120;

// A dimension's texts: its value and, when the value is not accepted, the range.
struct Label
{
    QString value;
    QString range;
    bool wrong = false;
};

Label labelOf(const char* name, const Dimension& d)
{
    Label l;
    l.value = sashtexts::dimension(name, d.typed);
    l.wrong = !d.accepted;
    if (!d.accepted && d.allowedLo <= d.allowedHi)
        l.range = sashtexts::allowed(d.allowedLo, d.allowedHi);
    return l;
}

class Painter
{
public:
    Painter(QPainter& p, const QRectF& box, const SashDrawingInput& in) : m_p(p), m_box(box), m_in(in)
    {
        const qreal px = std::clamp(std::floor(std::min(box.width() / 42, box.height() / 26)), 8.0, 12.0);
        m_font = QFont(QStringLiteral("Tahoma"));
        m_font.setPixelSize(int(px));
        m_bold = m_font;
        m_bold.setBold(true);
        m_bold.setPixelSize(int(px) + 2);
        m_full = box.width() >= MinDimensionsWidth && box.height() >= MinDimensionsHeight;
    }

    void paint()
    {
        // Every piece is placed inside the box; no clip, which an SVG would not keep.
        m_p.save();
        m_p.setRenderHint(QPainter::Antialiasing, true);
        m_p.setRenderHint(QPainter::TextAntialiasing, true);
        m_p.setFont(m_font);
        layout();
        paintSash();
        paintSymbol();
        paintHinges();
        paintHandle();
        if (m_full) {
            paintDimensions();
            paintDesignation();
        }
        m_p.restore();
    }

private:
    bool tilt() const { return m_in.opening == SashDrawingInput::Opening::Tilt; }
    // Turn and tilt-turn: FFH is measured on the hinge side, GH on the handle side.
    bool ffhLeft() const { return !tilt() && m_in.hingesLeft; }

    qreal textWidth(const QString& s) const { return QFontMetricsF(m_font).horizontalAdvance(s); }
    qreal lineHeight() const { return QFontMetricsF(m_font).height(); }

    // The width a vertical dimension's texts take: its own texts, and the
    // widest a value of four digits and its range can take, so that the
    // drawing does not jump while a size is typed.
    qreal sideWidth(const char* name, const Dimension& d) const
    {
        const Label l = labelOf(name, d);
        qreal w = std::max(textWidth(l.value), textWidth(sashtexts::dimension(name, 9999)));
        w = std::max(w, textWidth(l.range));
        if (d.allowedLo <= d.allowedHi)
            w = std::max(w, textWidth(sashtexts::allowed(d.allowedLo, d.allowedHi)));
        return w;
    }

    void layout()
    {
        QRectF area = m_box.adjusted(3, 3, -3, -3);
        if (m_full) {
            const qreal lh = lineHeight();
            const qreal dimension = Gap + TextGap + 2 * lh;           // a horizontal dimension with its texts
            const qreal designation = QFontMetricsF(m_bold).height() + 4; // kept free, so nothing moves after "РАСЧЕТ"
            qreal left = 0, right = 0, top = 0;
            const qreal ffhSide = Gap + TextGap + sideWidth("FFH", m_in.ffh);
            if (tilt()) {
                right = ffhSide;
                top = dimension;
            } else {
                const qreal ghSide = Gap + TextGap + sideWidth("GH", m_in.gh);
                left = ffhLeft() ? ffhSide : ghSide;
                right = ffhLeft() ? ghSide : ffhSide;
                top = lh / 2;
            }
            area = m_box.adjusted(left + 2, top + 2, -right - 2, -dimension - designation - 2);
        }
        // A box too small for the sash beside its dimensions keeps the sash alone.
        if (area.width() < 8 || area.height() < 8) {
            m_full = false;
            area = m_box.adjusted(3, 3, -3, -3);
        }
        const qreal w = std::max(m_in.ffb.drawn, 1);
        const qreal h = std::max(m_in.ffh.drawn, 1);
        m_scale = std::max(std::min(area.width() / w, area.height() / h), 0.0);
        const qreal sw = std::clamp(w * m_scale, std::min(2.0, area.width()), std::max(area.width(), 0.0));
        const qreal sh = std::clamp(h * m_scale, std::min(2.0, area.height()), std::max(area.height(), 0.0));
        m_sash = QRectF(area.center().x() - sw / 2, area.center().y() - sh / 2, sw, sh);
        m_profile = std::clamp(std::min(sw, sh) * 0.08, 1.0, 12.0);
    }

    void paintSash()
    {
        m_p.setPen(QPen(ink, 1.2));
        m_p.setBrush(m_in.wooden ? woodProfile : pvcProfile);
        m_p.drawRect(m_sash);
        const QRectF g = glassRect();
        if (g.isEmpty())
            return;
        m_p.setPen(QPen(ink, 0.8));
        m_p.setBrush(glass);
        m_p.drawRect(g);
    }

    QRectF glassRect() const
    {
        if (m_sash.width() <= 2 * m_profile + 2 || m_sash.height() <= 2 * m_profile + 2)
            return {};
        return m_sash.adjusted(m_profile, m_profile, -m_profile, -m_profile);
    }

    // Seen from the room: the lines of the turn symbol meet at the hinges,
    // those of the tilt symbol at the bottom, where the sash is hinged then.
    void paintSymbol()
    {
        QRectF g = glassRect();
        if (g.isEmpty())
            g = m_sash;
        m_p.setPen(QPen(ink, 0.8));
        m_p.setBrush(Qt::NoBrush);
        if (m_in.opening != SashDrawingInput::Opening::Tilt) {
            const qreal apex = m_in.hingesLeft ? g.left() : g.right();
            const qreal base = m_in.hingesLeft ? g.right() : g.left();
            const QPointF turn[] = {{base, g.top()}, {apex, g.center().y()}, {base, g.bottom()}};
            m_p.drawPolyline(turn, 3);
        }
        if (m_in.opening != SashDrawingInput::Opening::Turn) {
            const QPointF tiltLines[] = {{g.left(), g.top()}, {g.center().x(), g.bottom()}, {g.right(), g.top()}};
            m_p.drawPolyline(tiltLines, 3);
        }
    }

    void paintHinges()
    {
        const qreal thick = std::clamp(m_profile * 0.8, 2.0, 6.0);
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(fittings);
        if (tilt()) {
            const qreal len = std::clamp(m_sash.width() * 0.08, 3.0, 18.0);
            const qreal y = m_sash.bottom() - thick / 2;
            m_p.drawRect(QRectF(m_sash.left() + len / 2, y, len, thick));
            m_p.drawRect(QRectF(m_sash.right() - 1.5 * len, y, len, thick));
            return;
        }
        const qreal len = std::clamp(m_sash.height() * 0.08, 3.0, 18.0);
        const qreal x = (m_in.hingesLeft ? m_sash.left() : m_sash.right()) - thick / 2;
        m_p.drawRect(QRectF(x, m_sash.top() + len / 2, thick, len));
        m_p.drawRect(QRectF(x, m_sash.bottom() - 1.5 * len, thick, len));
    }

    // The handle's centre: on the stile opposite the hinges at GH above the
    // bottom edge, or on the top rail at GH from the left (tilt).
    QPointF handleCentre() const
    {
        const qreal at = std::max(m_in.gh.drawn, 0) * m_scale;
        if (tilt())
            return {std::min(m_sash.left() + at, m_sash.right()), m_sash.top() + m_profile / 2};
        const qreal x = m_in.hingesLeft ? m_sash.right() - m_profile / 2 : m_sash.left() + m_profile / 2;
        return {x, std::max(m_sash.bottom() - at, m_sash.top())};
    }

    void paintHandle()
    {
        const qreal thick = std::clamp(m_profile * 0.7, 2.0, 7.0);
        const qreal len = std::clamp((tilt() ? m_sash.width() : m_sash.height()) * 0.12, 5.0, 30.0);
        const QPointF c = handleCentre();
        const QRectF r = tilt() ? QRectF(c.x() - len / 2, c.y() - thick / 2, len, thick)
                                : QRectF(c.x() - thick / 2, c.y() - len / 2, thick, len);
        // Without "Ручка оконная" the kit brings no handle: only its place is shown.
        if (m_in.handleInKit) {
            m_p.setPen(QPen(ink, 0.8));
            m_p.setBrush(fittings);
        } else {
            m_p.setPen(QPen(ink, 0.8, Qt::DashLine));
            m_p.setBrush(Qt::NoBrush);
        }
        m_p.drawRect(r);
    }

    void arrowHead(QPointF tip, QPointF direction)
    {
        const QPointF n(-direction.y(), direction.x());
        const QPointF back = tip - direction * Arrow;
        const QPointF head[] = {tip, back + n * (Arrow / 3), back - n * (Arrow / 3)};
        m_p.drawPolygon(head, 3);
    }

    // A dimension line from a to b (horizontal or vertical) with its arrows.
    void dimensionLine(QPointF a, QPointF b, const QColor& colour)
    {
        m_p.setPen(QPen(colour, 0.8));
        m_p.drawLine(a, b);
        const QPointF d = b - a;
        const qreal length = std::hypot(d.x(), d.y());
        if (length < 2 * Arrow + 1)
            return;
        const QPointF unit = d / length;
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(colour);
        arrowHead(b, unit);
        arrowHead(a, -unit);
        m_p.setBrush(Qt::NoBrush);
    }

    void extensionLine(QPointF a, QPointF b)
    {
        m_p.setPen(QPen(ink, 0.6));
        m_p.drawLine(a, b);
    }

    // Draws the two lines of a label, its value first, within the box.
    // anchor: x of the left edge, centre or right edge (by align), y of the
    // top of the first line.
    void drawLabel(const Label& l, qreal x, qreal top, Qt::Alignment align)
    {
        const QFontMetricsF fm(m_font);
        top = std::clamp(top, m_box.top() + 1, m_box.bottom() - 1 - 2 * fm.height());
        qreal y = top + fm.ascent();
        for (const QString& s : {l.value, l.range}) {
            if (s.isEmpty())
                continue;
            const qreal w = fm.horizontalAdvance(s);
            qreal left = align & Qt::AlignRight ? x - w : (align & Qt::AlignHCenter ? x - w / 2 : x);
            left = std::clamp(left, m_box.left() + 1, std::max(m_box.right() - 1 - w, m_box.left() + 1));
            m_p.setPen(l.wrong ? wrong : ink);
            m_p.drawText(QPointF(left, y), s);
            y += fm.height();
        }
    }

    void paintDimensions()
    {
        const qreal lh = lineHeight();
        // FFB under the sash.
        {
            const qreal y = m_sash.bottom() + Gap;
            extensionLine({m_sash.left(), m_sash.bottom() + 2}, {m_sash.left(), y + 3});
            extensionLine({m_sash.right(), m_sash.bottom() + 2}, {m_sash.right(), y + 3});
            const Label l = labelOf("FFB", m_in.ffb);
            dimensionLine({m_sash.left(), y}, {m_sash.right(), y}, l.wrong ? wrong : ink);
            drawLabel(l, m_sash.center().x(), y + TextGap - 2, Qt::AlignHCenter);
        }
        // FFH on the hinge side (tilt: on the right).
        {
            const bool left = ffhLeft();
            const qreal x = left ? m_sash.left() - Gap : m_sash.right() + Gap;
            const qreal edge = left ? m_sash.left() - 2 : m_sash.right() + 2;
            const qreal over = left ? x - 3 : x + 3;
            extensionLine({edge, m_sash.top()}, {over, m_sash.top()});
            extensionLine({edge, m_sash.bottom()}, {over, m_sash.bottom()});
            const Label l = labelOf("FFH", m_in.ffh);
            dimensionLine({x, m_sash.bottom()}, {x, m_sash.top()}, l.wrong ? wrong : ink);
            const qreal tx = left ? x - TextGap : x + TextGap;
            drawLabel(l, tx, m_sash.center().y() - lh, left ? Qt::AlignRight : Qt::AlignLeft);
        }
        // GH: up from the bottom edge on the handle side, or along the top from the left.
        const Label l = labelOf("GH", m_in.gh);
        const QColor colour = l.wrong ? wrong : ink;
        const QPointF handle = handleCentre();
        if (tilt()) {
            const qreal y = m_sash.top() - Gap;
            extensionLine({m_sash.left(), m_sash.top() - 2}, {m_sash.left(), y - 3});
            extensionLine({handle.x(), handle.y()}, {handle.x(), y - 3});
            dimensionLine({m_sash.left(), y}, {handle.x(), y}, colour);
            drawLabel(l, (m_sash.left() + handle.x()) / 2, y - 2 * lh - 1, Qt::AlignHCenter);
            return;
        }
        const bool left = !m_in.hingesLeft;
        const qreal x = left ? m_sash.left() - Gap : m_sash.right() + Gap;
        const qreal over = left ? x - 3 : x + 3;
        extensionLine({left ? m_sash.left() - 2 : m_sash.right() + 2, m_sash.bottom()}, {over, m_sash.bottom()});
        extensionLine(handle, {over, handle.y()});
        dimensionLine({x, m_sash.bottom()}, {x, handle.y()}, colour);
        // The texts stay above the bottom edge, clear of those of FFB.
        const qreal top = std::min((m_sash.bottom() + handle.y()) / 2 - lh, m_sash.bottom() - 2 * lh);
        drawLabel(l, left ? x - TextGap : x + TextGap, top, left ? Qt::AlignRight : Qt::AlignLeft);
    }

    void paintDesignation()
    {
        if (m_in.kitDesignation.isEmpty())
            return;
        const QFontMetricsF fm(m_bold);
        const QString text = fm.elidedText(m_in.kitDesignation, Qt::ElideRight, m_box.width() - 4);
        m_p.setFont(m_bold);
        m_p.setPen(ink);
        const qreal w = fm.horizontalAdvance(text);
        m_p.drawText(QPointF(m_box.center().x() - w / 2, m_box.bottom() - 2 - fm.descent()), text);
        m_p.setFont(m_font);
    }

    static constexpr qreal Gap = 10;    // from the sash to a dimension line
    static constexpr qreal TextGap = 4; // from a dimension line to its texts
    static constexpr qreal Arrow = 6;

    QPainter& m_p;
    QRectF m_box;
    const SashDrawingInput& m_in;
    QFont m_font;
    QFont m_bold;
    bool m_full = true;
    qreal m_scale = 0;
    QRectF m_sash;
    qreal m_profile = 1;
};

} // namespace

void paintSash(QPainter& painter, const QRectF& box, const SashDrawingInput& input)
{
    // Below this a sash could not be told from its fittings.
    if (!box.isValid() || box.width() < 16 || box.height() < 16)
        return;
    Painter(painter, box, input).paint();
}

QByteArray sashSvg(const SashDrawingInput& input, const QSize& size)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Створка"));
    {
        QPainter p(&svg);
        paintSash(p, QRectF(QPointF(0, 0), size), input);
    }
    return buffer.data();
}

void writeSashSvg(const QString& path, const SashDrawingInput& input, const QSize& size)
{
    writeDocumentFile(path, [&] { return sashSvg(input, size); });
}

} // namespace lir
