#pragma once

#include <QByteArray>
#include <QRawFont>
#include <QRectF>

#include <optional>
#include <vector>

namespace lir::docs::pdf {

class File;

// The tables of one TrueType font as a PDF embeds it: its glyphs' widths,
// the metrics its descriptor names, the characters of its glyphs, and the
// font program cut down to the glyphs a document uses.
class TrueTypeFont
{
public:
    // Nothing for a font without TrueType outlines (a CFF or bitmap font):
    // its glyphs are drawn as shapes instead.
    static std::optional<TrueTypeFont> read(const QRawFont& font);

    int glyphCount() const { return int(m_advances.size()); }
    // A glyph's advance in thousandths of the em, as the PDF's widths give it.
    double width(quint32 glyph) const;
    int unitsPerEm() const { return m_unitsPerEm; }
    QByteArray postscriptName() const { return m_postscriptName; }
    // In thousandths of the em.
    QRectF boundingBox() const { return m_bbox; }
    int ascent() const { return m_ascent; }
    int descent() const { return m_descent; }
    int capHeight() const { return m_capHeight; }
    bool italic() const { return m_italic; }

    // The character each used glyph shows, by the font's own character map
    // (the lowest character of a glyph that several share); 0 where none.
    std::vector<char32_t> charactersOf(const std::vector<bool>& used) const;

    // A font program with the outlines of the used glyphs only (and of the
    // glyphs they are composed of): glyph numbers stay as they were, so the
    // PDF can name glyphs by number. Hinting is kept.
    QByteArray subset(const std::vector<bool>& used) const;

private:
    QByteArray m_head, m_hhea, m_maxp, m_hmtx, m_loca, m_glyf, m_cmap, m_cvt, m_fpgm, m_prep;
    std::vector<double> m_advances; // thousandths of the em
    int m_unitsPerEm = 1000;
    bool m_longLoca = false;
    QByteArray m_postscriptName;
    QRectF m_bbox;
    int m_ascent = 0;
    int m_descent = 0;
    int m_capHeight = 0;
    bool m_italic = false;

    quint32 glyphOffset(quint32 glyph) const;
};

// Writes the font into the file as a PDF names it for text: the program cut
// to the used glyphs, its widths and descriptor, and the map from its glyphs
// to the characters they show. Returns the number of its font object.
int embed(File& file, const TrueTypeFont& font, const std::vector<bool>& used);

} // namespace lir::docs::pdf
