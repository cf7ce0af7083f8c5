#include "core/base/numberformat.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace lir::numfmt {

namespace {

// The digits of |v| rounded once, halves away from zero: the value is
// `digits` x 10^`place`, `digits` without leading zeros ("0" for zero).
struct Rounded
{
    QByteArray digits;
    int place = 0;
    // Decimal exponent of the leading digit.
    int exponent() const { return place + int(digits.size()) - 1; }
};

// A double's decimal expansion is finite and at most 767 significant digits
// long; std::to_chars with that precision writes it exactly and without the C
// library's locale (the application object sets the process's locale from the
// environment, and a Russian one puts decimal commas into printf's forms).
// Rounding that exact text once is what keeps a value such as
// 234.55499267578125 from becoming 234.555 and then 234.56.
Rounded roundAt(double v, int place, int maxDigits)
{
    char buf[800];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 767);
    const QByteArray text(buf, int(r.ptr - buf));
    const int e = int(text.indexOf('e'));
    const int exp = text.mid(e + 1).toInt();
    QByteArray all = text.left(1) + text.mid(2, e - 2); // leading digit, then the rest
    // The coarser of the fixed place and the last of maxDigits significant digits.
    place = std::max(place, exp - maxDigits + 1);
    const int keep = exp - place + 1;
    Rounded out;
    out.place = place;
    if (v == 0 || keep < 0) {
        out.digits = "0";
        return out;
    }
    out.digits = all.left(keep);
    if (all.at(keep) >= '5') {
        int i = keep - 1;
        while (i >= 0 && out.digits.at(i) == '9')
            out.digits[i--] = '0';
        if (i >= 0)
            out.digits[i] = char(out.digits.at(i) + 1);
        else
            out.digits.prepend('1');
    }
    if (out.digits.isEmpty())
        out.digits = "0";
    return out;
}

// The digits as a fixed-point text with `decimals` decimals, place <= 0.
QByteArray fixedText(const Rounded& r, int decimals)
{
    QByteArray d = r.digits + QByteArray(decimals + r.place, '0');
    if (d.size() <= decimals)
        d = QByteArray(decimals + 1 - d.size(), '0') + d;
    if (decimals > 0)
        d.insert(d.size() - decimals, '.');
    return d;
}

QString withSeparator(QString s, const QLocale& locale)
{
    const QString sep = locale.decimalPoint();
    if (sep != QLatin1String("."))
        s.replace(QLatin1Char('.'), sep);
    return s;
}

// d.ddd with the trailing zeros of the fraction dropped when asked.
QByteArray mantissa(const QByteArray& digits, int count, bool trimZeros)
{
    const QByteArray padded = digits + QByteArray(count, '0');
    QByteArray rest = padded.mid(1, count - 1);
    if (trimZeros)
        while (rest.endsWith('0'))
            rest.chop(1);
    return rest.isEmpty() ? digits.left(1) : digits.left(1) + '.' + rest;
}

bool allZeros(const QByteArray& digits)
{
    return digits.count('0') == digits.size();
}

// A form written in the C locale, read back as the number it shows.
double readBack(const QString& text)
{
    const QByteArray c = text.toLatin1();
    double v = 0;
    std::from_chars(c.constData(), c.constData() + c.size(), v);
    return v;
}

} // namespace

QString shortest(double v, const QLocale& locale)
{
    if (!std::isfinite(v))
        return QString::number(v);
    if (v == 0)
        return QStringLiteral("0");
    const Rounded r = roundAt(v, std::numeric_limits<int>::min() / 2, 15);
    const int exp = r.exponent();
    QByteArray s;
    if (exp >= 15 || exp < -5) {
        s = mantissa(r.digits, 15, true) + 'E' + QByteArray::number(exp);
    } else {
        s = fixedText(r, std::max(0, -r.place));
        if (s.contains('.')) {
            while (s.endsWith('0'))
                s.chop(1);
            if (s.endsWith('.'))
                s.chop(1);
        }
    }
    if (v < 0)
        s.prepend('-');
    return withSeparator(QString::fromLatin1(s), locale);
}

QString fixed2(double v, const QLocale& locale)
{
    if (!std::isfinite(v))
        return QString::number(v);
    const Rounded r = roundAt(v, -2, 7);
    const int exp = r.exponent();
    QByteArray s;
    if (exp >= 7) {
        s = mantissa(r.digits, 7, false) + "E+" + QByteArray::number(exp).rightJustified(3, '0');
    } else {
        s = fixedText(r, 2);
    }
    if (v < 0 && !allZeros(r.digits))
        s.prepend('-');
    return withSeparator(QString::fromLatin1(s), locale);
}

double shortestValue(double v)
{
    return std::isfinite(v) ? readBack(shortest(v, QLocale::c())) : v;
}

double fixed2Value(double v)
{
    return std::isfinite(v) ? readBack(fixed2(v, QLocale::c())) : v;
}

bool parse(const QString& text, const QLocale& locale, double* out)
{
    const QString t = text.trimmed();
    const QString decimal = locale.decimalPoint();
    const QString minus = locale.negativeSign();
    // The number in the C form, built character by character.
    QByteArray c;
    c.reserve(t.size());
    int i = 0;
    if (t.startsWith(QLatin1Char('-'))) {
        i = 1;
    } else if (!minus.isEmpty() && t.startsWith(minus)) {
        i = int(minus.size());
    }
    if (i > 0)
        c += '-';
    bool separator = false;
    int digits = 0;
    while (i < t.size()) {
        const QChar ch = t.at(i);
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) {
            c += char(ch.unicode());
            ++digits;
            ++i;
            continue;
        }
        int length = 0;
        if (ch == QLatin1Char('.'))
            length = 1;
        else if (!decimal.isEmpty() && QStringView(t).mid(i).startsWith(decimal))
            length = int(decimal.size());
        if (length == 0 || separator)
            return false;
        separator = true;
        c += '.';
        i += length;
    }
    if (digits == 0)
        return false;
    // from_chars reads the C form whatever the process's C locale says.
    double v = 0;
    const auto [end, ec] = std::from_chars(c.constData(), c.constData() + c.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || end != c.constData() + c.size() || !std::isfinite(v))
        return false;
    if (out)
        *out = v;
    return true;
}

} // namespace lir::numfmt
