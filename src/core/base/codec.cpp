#include "core/base/codec.h"

#include "core/base/error.h"

#include <array>
#include <iconv.h>

namespace lir {

namespace {

// The upper half of the code page, read once from iconv.
struct Table1251
{
    std::array<char16_t, 128> upper{};
    // Every character of the upper half lies below U+2200 (the last is ™,
    // U+2122): a flat table, 0 where the code page has no byte.
    static constexpr char16_t ReverseSize = 0x2200;
    std::array<char, ReverseSize> reverse{};

    Table1251()
    {
        iconv_t cd = iconv_open("UTF-16LE", "CP1251");
        if (cd == iconv_t(-1))
            throw Error(QStringLiteral("Кодировка Windows-1251 недоступна"));
        for (int b = 0x80; b < 0x100; ++b) {
            char in = char(b);
            char out[4] = {};
            char* pin = &in;
            char* pout = out;
            size_t inLeft = 1;
            size_t outLeft = sizeof out;
            const size_t r = iconv(cd, &pin, &inLeft, &pout, &outLeft);
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (r == size_t(-1) || outLeft != 2)
                continue; // 0x98 has no character
            const char16_t u = char16_t(uchar(out[0]) | (uchar(out[1]) << 8));
            upper[size_t(b - 0x80)] = u;
            if (u < ReverseSize)
                reverse[u] = char(b);
        }
        iconv_close(cd);
    }
};

const Table1251& table()
{
    static const Table1251 t;
    return t;
}

} // namespace

QByteArray toWindows1251(const QString& text)
{
    const Table1251& t = table();
    // One byte per UTF-16 unit, written in place: large sheets spend their
    // time here otherwise.
    QByteArray out(text.size(), Qt::Uninitialized);
    char* p = out.data();
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            *p++ = char(u);
        } else {
            const char b = u < Table1251::ReverseSize ? t.reverse[u] : '\0';
            *p++ = b ? b : '?';
        }
    }
    return out;
}

QString fromWindows1251(const QByteArray& bytes)
{
    const Table1251& t = table();
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const uchar b = uchar(c);
        if (b < 0x80)
            out += QChar(char16_t(b));
        else
            out += t.upper[b - 0x80] ? QChar(t.upper[b - 0x80]) : QChar(QChar::ReplacementCharacter);
    }
    return out;
}

} // namespace lir
