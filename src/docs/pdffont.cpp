#include "docs/pdffont.h"

#include "docs/pdffile.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>

namespace lir::docs::pdf {

namespace {

quint16 u16(const QByteArray& t, qsizetype at)
{
    if (at < 0 || at + 2 > t.size())
        return 0;
    return qFromBigEndian<quint16>(t.constData() + at);
}

qint16 s16(const QByteArray& t, qsizetype at)
{
    return qint16(u16(t, at));
}

quint32 u32(const QByteArray& t, qsizetype at)
{
    if (at < 0 || at + 4 > t.size())
        return 0;
    return qFromBigEndian<quint32>(t.constData() + at);
}

void put16(QByteArray& t, quint16 v)
{
    const char b[2] = {char(v >> 8), char(v & 0xff)};
    t.append(b, 2);
}

void put32(QByteArray& t, quint32 v)
{
    put16(t, quint16(v >> 16));
    put16(t, quint16(v & 0xffff));
}

quint32 checksum(const QByteArray& t)
{
    quint32 sum = 0;
    for (qsizetype i = 0; i < t.size(); i += 4) {
        quint32 word = 0;
        for (int k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < t.size() ? quint8(t[i + k]) : 0);
        sum += word;
    }
    return sum;
}

// The PostScript name (name 6) of the font, for the PDF's font names.
QByteArray postscriptNameOf(const QByteArray& name)
{
    const quint16 count = u16(name, 2);
    const quint16 strings = u16(name, 4);
    for (quint16 i = 0; i < count; ++i) {
        const qsizetype rec = 6 + qsizetype(i) * 12;
        const quint16 platform = u16(name, rec);
        const quint16 id = u16(name, rec + 6);
        const quint16 length = u16(name, rec + 8);
        const qsizetype offset = qsizetype(strings) + u16(name, rec + 10);
        if (id != 6 || offset + length > name.size())
            continue;
        QByteArray out;
        if (platform == 3 || platform == 0) {
            for (qsizetype k = 0; k + 1 < length; k += 2) {
                const quint16 ch = u16(name, offset + k);
                if (ch > 32 && ch < 127)
                    out.append(char(ch));
            }
        } else if (platform == 1) {
            for (qsizetype k = 0; k < length; ++k) {
                const char ch = name[offset + k];
                if (ch > 32 && ch < 127)
                    out.append(ch);
            }
        }
        // Names may not carry the PDF's delimiters.
        out.replace('/', "").replace('(', "").replace(')', "").replace('[', "").replace(']', "");
        out.replace('<', "").replace('>', "").replace('{', "").replace('}', "").replace('%', "");
        if (!out.isEmpty())
            return out;
    }
    return {};
}

} // namespace

std::optional<TrueTypeFont> TrueTypeFont::read(const QRawFont& font)
{
    if (!font.isValid())
        return std::nullopt;
    TrueTypeFont f;
    f.m_head = font.fontTable("head");
    f.m_hhea = font.fontTable("hhea");
    f.m_maxp = font.fontTable("maxp");
    f.m_hmtx = font.fontTable("hmtx");
    f.m_loca = font.fontTable("loca");
    f.m_glyf = font.fontTable("glyf");
    if (f.m_head.size() < 54 || f.m_hhea.size() < 36 || f.m_maxp.size() < 6 || f.m_hmtx.isEmpty() ||
        f.m_loca.isEmpty() || f.m_glyf.isEmpty())
        return std::nullopt;
    f.m_cmap = font.fontTable("cmap");
    f.m_cvt = font.fontTable("cvt ");
    f.m_fpgm = font.fontTable("fpgm");
    f.m_prep = font.fontTable("prep");

    f.m_unitsPerEm = std::max<int>(u16(f.m_head, 18), 16);
    f.m_longLoca = s16(f.m_head, 50) == 1;
    const int glyphs = u16(f.m_maxp, 4);
    const qsizetype locaEntries = f.m_loca.size() / (f.m_longLoca ? 4 : 2);
    if (glyphs == 0 || locaEntries < glyphs + 1)
        return std::nullopt;
    const int metrics = std::clamp<int>(u16(f.m_hhea, 34), 1, int(f.m_hmtx.size() / 4));
    const double scale = 1000.0 / f.m_unitsPerEm;
    f.m_advances.resize(size_t(glyphs));
    for (int g = 0; g < glyphs; ++g) {
        const quint16 advance = u16(f.m_hmtx, qsizetype(std::min(g, metrics - 1)) * 4);
        // Rounded as the PDF writes it, so that text placed by these
        // widths lands where the file shows it.
        f.m_advances[size_t(g)] = std::round(advance * scale * 1000) / 1000;
    }
    f.m_bbox = QRectF(QPointF(s16(f.m_head, 36) * scale, s16(f.m_head, 38) * scale),
                      QPointF(s16(f.m_head, 40) * scale, s16(f.m_head, 42) * scale));
    f.m_ascent = int(std::lround(s16(f.m_hhea, 4) * scale));
    f.m_descent = int(std::lround(s16(f.m_hhea, 6) * scale));
    const QByteArray os2 = font.fontTable("OS/2");
    f.m_capHeight =
        u16(os2, 0) >= 2 && os2.size() >= 90 ? int(std::lround(s16(os2, 88) * scale)) : f.m_ascent;
    f.m_italic = (u16(f.m_head, 44) & 2) != 0;
    f.m_postscriptName = postscriptNameOf(font.fontTable("name"));
    if (f.m_postscriptName.isEmpty())
        f.m_postscriptName = font.familyName().toLatin1().replace(' ', "");
    return f;
}

double TrueTypeFont::width(quint32 glyph) const
{
    return glyph < m_advances.size() ? m_advances[glyph] : 0;
}

quint32 TrueTypeFont::glyphOffset(quint32 glyph) const
{
    return m_longLoca ? u32(m_loca, qsizetype(glyph) * 4) : quint32(u16(m_loca, qsizetype(glyph) * 2)) * 2;
}

std::vector<char32_t> TrueTypeFont::charactersOf(const std::vector<bool>& used) const
{
    std::vector<char32_t> out(used.size(), 0);
    // A damaged table could name the same characters many times over: the
    // map stops at twice the characters there are.
    qint64 budget = 2 * 0x110000;
    auto note = [&](char32_t ch, quint32 glyph) {
        --budget;
        if (glyph < used.size() && used[glyph] && (out[glyph] == 0 || ch < out[glyph]))
            out[glyph] = ch;
    };
    // The Unicode subtables: format 4 (the basic plane) and 12 (all planes).
    const quint16 count = u16(m_cmap, 2);
    for (quint16 i = 0; i < count; ++i) {
        const quint16 platform = u16(m_cmap, 4 + qsizetype(i) * 8);
        const quint16 encoding = u16(m_cmap, 6 + qsizetype(i) * 8);
        const qsizetype at = u32(m_cmap, 8 + qsizetype(i) * 8);
        const bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
        if (!unicode || at <= 0 || at >= m_cmap.size())
            continue;
        const quint16 format = u16(m_cmap, at);
        if (format == 4) {
            const int segments = u16(m_cmap, at + 6) / 2;
            const qsizetype ends = at + 14;
            const qsizetype starts = ends + 2 * segments + 2;
            const qsizetype deltas = starts + 2 * segments;
            const qsizetype ranges = deltas + 2 * segments;
            for (int s = 0; s < segments; ++s) {
                const quint16 end = u16(m_cmap, ends + 2 * s);
                const quint16 start = u16(m_cmap, starts + 2 * s);
                const quint16 delta = u16(m_cmap, deltas + 2 * s);
                const quint16 range = u16(m_cmap, ranges + 2 * s);
                for (quint32 ch = start; ch <= end && ch != 0xffff && budget > 0; ++ch) {
                    quint32 glyph = 0;
                    if (range == 0) {
                        glyph = (ch + delta) & 0xffff;
                    } else {
                        glyph = u16(m_cmap, ranges + 2 * s + range + 2 * qsizetype(ch - start));
                        if (glyph != 0)
                            glyph = (glyph + delta) & 0xffff;
                    }
                    if (glyph != 0)
                        note(ch, glyph);
                }
            }
        } else if (format == 12) {
            const quint32 groups = u32(m_cmap, at + 12);
            for (quint32 k = 0; k < groups && at + 16 + qsizetype(k) * 12 + 12 <= m_cmap.size(); ++k) {
                const qsizetype g = at + 16 + qsizetype(k) * 12;
                const quint32 first = u32(m_cmap, g);
                const quint32 last = std::min<quint32>(u32(m_cmap, g + 4), 0x10ffff);
                const quint32 glyph = u32(m_cmap, g + 8);
                for (quint32 ch = first; ch <= last && glyph + (ch - first) < used.size() && budget > 0; ++ch)
                    note(ch, glyph + (ch - first));
            }
        }
    }
    return out;
}

QByteArray TrueTypeFont::subset(const std::vector<bool>& used) const
{
    const quint32 glyphs = quint32(m_advances.size());
    std::vector<bool> keep(glyphs, false);
    std::vector<quint32> pending;
    keep[0] = true; // .notdef, which every font program has
    pending.push_back(0);
    for (quint32 g = 0; g < glyphs && g < used.size(); ++g)
        if (used[g] && !keep[g]) {
            keep[g] = true;
            pending.push_back(g);
        }
    // Composite glyphs are drawn from other glyphs: keep those too.
    while (!pending.empty()) {
        const quint32 g = pending.back();
        pending.pop_back();
        const quint32 from = glyphOffset(g);
        const quint32 to = glyphOffset(g + 1);
        if (to <= from + 10 || to > quint32(m_glyf.size()) || s16(m_glyf, from) >= 0)
            continue;
        qsizetype at = from + 10;
        for (;;) {
            const quint16 flags = u16(m_glyf, at);
            const quint16 component = u16(m_glyf, at + 2);
            if (component < glyphs && !keep[component]) {
                keep[component] = true;
                pending.push_back(component);
            }
            at += 4 + ((flags & 0x0001) ? 4 : 2);
            if (flags & 0x0008)
                at += 2;
            else if (flags & 0x0040)
                at += 4;
            else if (flags & 0x0080)
                at += 8;
            if (!(flags & 0x0020) || at >= to)
                break;
        }
    }

    // The font ends at the last glyph kept: the glyphs after it are not
    // numbered in it at all (a Cyrillic text uses the first thousand of
    // DejaVu's six).
    quint32 count = glyphs;
    while (count > 1 && !keep[count - 1])
        --count;
    QByteArray maxp = m_maxp;
    maxp[4] = char(count >> 8);
    maxp[5] = char(count & 0xff);
    QByteArray hhea = m_hhea;
    const quint32 metrics = std::min<quint32>(u16(m_hhea, 34), count);
    hhea[34] = char(metrics >> 8);
    hhea[35] = char(metrics & 0xff);
    // Full metrics for the first glyphs, then left side bearings alone: the
    // same layout as the whole table's, so its beginning serves.
    const QByteArray hmtx = m_hmtx.left(qsizetype(metrics) * 4 + qsizetype(count - metrics) * 2);

    QByteArray glyf;
    QByteArray loca;
    loca.reserve(qsizetype(count + 1) * 4);
    for (quint32 g = 0; g < count; ++g) {
        put32(loca, quint32(glyf.size()));
        if (!keep[g])
            continue;
        const quint32 from = glyphOffset(g);
        const quint32 to = std::min(glyphOffset(g + 1), quint32(m_glyf.size()));
        if (to > from) {
            glyf.append(m_glyf.constData() + from, to - from);
            while (glyf.size() % 4)
                glyf.append('\0');
        }
    }
    put32(loca, quint32(glyf.size()));

    QByteArray head = m_head;
    head[50] = 0; // long offsets in the new loca
    head[51] = 1;
    std::fill(head.begin() + 8, head.begin() + 12, '\0'); // the whole font's checksum, not kept

    // In the order of their tags, as the table directory lists them.
    std::vector<std::pair<const char*, QByteArray>> tables = {
        {"cvt ", m_cvt}, {"fpgm", m_fpgm}, {"glyf", glyf}, {"head", head},   {"hhea", hhea},
        {"hmtx", hmtx},  {"loca", loca},   {"maxp", maxp}, {"prep", m_prep},
    };
    tables.erase(
        std::remove_if(tables.begin(), tables.end(), [](const auto& t) { return t.second.isEmpty(); }),
        tables.end());
    const quint16 n = quint16(tables.size());
    quint16 power = 1;
    quint16 log = 0;
    while (power * 2 <= n) {
        power *= 2;
        ++log;
    }
    QByteArray out;
    put32(out, 0x00010000);
    put16(out, n);
    put16(out, quint16(power * 16));
    put16(out, log);
    put16(out, quint16(n * 16 - power * 16));
    quint32 offset = 12 + quint32(n) * 16;
    for (const auto& [tag, data] : tables) {
        out.append(tag, 4);
        put32(out, checksum(data));
        put32(out, offset);
        put32(out, quint32(data.size()));
        offset += (quint32(data.size()) + 3) & ~3u;
    }
    for (const auto& [tag, data] : tables) {
        out.append(data);
        while (out.size() % 4)
            out.append('\0');
    }
    return out;
}

int embed(File& file, const TrueTypeFont& p, const std::vector<bool>& used)
{
    // A subset is named with six letters of its own.
    quint32 tag = 2166136261u;
    for (size_t g = 0; g < used.size(); ++g)
        if (used[g])
            tag = (tag ^ quint32(g)) * 16777619u;
    QByteArray name(6, 'A');
    for (int i = 0; i < 6; ++i, tag /= 26)
        name[i] = char('A' + tag % 26);
    name += '+' + p.postscriptName();

    const QByteArray program = p.subset(used);
    const int fontFile =
        file.writeStream(file.newObject(), " /Length1 " + QByteArray::number(program.size()), program);
    QByteArray descriptor = "<< /Type /FontDescriptor /FontName /" + name + " /Flags " +
                            QByteArray::number(p.italic() ? 4 + 64 : 4) + " /FontBBox [";
    const QRectF box = p.boundingBox();
    for (double v : {box.left(), box.top(), box.right(), box.bottom()})
        appendNumber(descriptor, v, 0);
    descriptor += "] /ItalicAngle " + QByteArray(p.italic() ? "-12" : "0") + " /Ascent " +
                  QByteArray::number(p.ascent()) + " /Descent " + QByteArray::number(p.descent()) +
                  " /CapHeight " + QByteArray::number(p.capHeight()) + " /StemV 80 /FontFile2 " +
                  QByteArray::number(fontFile) + " 0 R >>";
    const int desc = file.writeObject(file.newObject(), descriptor);

    QByteArray widths = "[";
    for (size_t g = 0; g < used.size();) {
        if (!used[g]) {
            ++g;
            continue;
        }
        widths += QByteArray::number(qulonglong(g)) + " [";
        for (; g < used.size() && used[g]; ++g)
            appendNumber(widths, p.width(quint32(g)));
        widths += "] ";
    }
    widths += ']';
    const int cid = file.writeObject(
        file.newObject(), "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                              " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                              " /FontDescriptor " +
                              QByteArray::number(desc) + " 0 R /CIDToGIDMap /Identity /W " + widths + " >>");

    const std::vector<char32_t> chars = p.charactersOf(used);
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
        appendHex4(entries, quint32(g));
        entries += "> <";
        // A ligature's glyph (ﬁ, ﬄ) reads as its letters: the text
        // is searched for "fine", not "ﬁne".
        const char32_t ch = chars[g];
        if (ch >= 0xfb00 && ch <= 0xfb06)
            for (QChar part : QChar::decomposition(ch))
                appendUtf16(entries, part.unicode());
        else
            appendUtf16(entries, ch);
        entries += ">\n";
        if (++count == 100)
            flush();
    }
    flush();
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    const int unicode = file.writeStream(file.newObject(), QByteArray(), cmap);

    return file.writeObject(file.newObject(), "<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                                                  " /Encoding /Identity-H /DescendantFonts [" +
                                                  QByteArray::number(cid) + " 0 R] /ToUnicode " +
                                                  QByteArray::number(unicode) + " 0 R >>");
}

} // namespace lir::docs::pdf
