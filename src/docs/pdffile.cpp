#include "docs/pdffile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace lir::docs::pdf {

namespace {

// A low level of zlib's: a 102-page quote is 8 % larger than at the middle
// level, and written in five sixths of the time.
constexpr int CompressionLevel = 3;

} // namespace

File::File() : m_out("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n") {}

int File::newObject()
{
    m_offsets.push_back(0);
    return int(m_offsets.size() - 1);
}

void File::begin(int object)
{
    m_offsets[size_t(object)] = m_out.size();
    m_out += QByteArray::number(object);
    m_out += " 0 obj\n";
}

int File::writeObject(int object, const QByteArray& body)
{
    begin(object);
    m_out += body;
    m_out += "\nendobj\n";
    return object;
}

int File::writeStream(int object, const QByteArray& dict, const QByteArray& data)
{
    begin(object);
    const QByteArray packed = qCompress(data, CompressionLevel);
    // Qt puts the length before zlib's own stream.
    const qsizetype size = std::max<qsizetype>(packed.size() - 4, 0);
    m_out += "<<" + dict + " /Filter /FlateDecode /Length " + QByteArray::number(size) + ">>\nstream\n";
    if (size > 0)
        m_out.append(packed.constData() + 4, size);
    m_out += "\nendstream\nendobj\n";
    return object;
}

QByteArray File::finish(int catalog, int info)
{
    const qint64 xref = m_out.size();
    m_out += "xref\n0 " + QByteArray::number(qulonglong(m_offsets.size())) + "\n0000000000 65535 f \n";
    char entry[21];
    for (size_t i = 1; i < m_offsets.size(); ++i) {
        std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(m_offsets[i]));
        m_out.append(entry, 20);
    }
    m_out += "trailer\n<< /Size " + QByteArray::number(qulonglong(m_offsets.size())) + " /Root " +
             QByteArray::number(catalog) + " 0 R /Info " + QByteArray::number(info) + " 0 R >>\nstartxref\n" +
             QByteArray::number(xref) + "\n%%EOF\n";
    return std::move(m_out);
}

void appendNumber(QByteArray& out, double v, int decimals)
{
    static constexpr long long Scale[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    const long long scale = Scale[std::clamp(decimals, 0, 6)];
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

void appendHex4(QByteArray& out, quint32 v)
{
    static const char digits[] = "0123456789ABCDEF";
    const char b[4] = {digits[(v >> 12) & 15], digits[(v >> 8) & 15], digits[(v >> 4) & 15], digits[v & 15]};
    out.append(b, 4);
}

void appendUtf16(QByteArray& out, char32_t ch)
{
    if (ch > 0xffff) {
        ch -= 0x10000;
        appendHex4(out, 0xd800 + (ch >> 10));
        appendHex4(out, 0xdc00 + (ch & 0x3ff));
    } else {
        appendHex4(out, ch);
    }
}

QByteArray textString(const QString& s)
{
    QByteArray out = "<FEFF";
    for (QChar ch : s)
        appendHex4(out, ch.unicode());
    out += '>';
    return out;
}

} // namespace lir::docs::pdf
