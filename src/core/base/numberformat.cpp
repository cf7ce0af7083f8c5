#include "core/base/numberformat.h"

#include <charconv>
#include <cmath>

namespace lir::numfmt {

namespace {

// printf's "%.*e" and "%.*f" and strtod without the C library's locale: the
// application object sets the process's locale from the environment, and a
// Russian one puts decimal commas into those forms.
QByteArray scientific(double v, int precision)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, precision);
    return QByteArray(buf, int(r.ptr - buf));
}

QByteArray fixedPoint(double v, int precision)
{
    char buf[512]; // room for the largest doubles in full
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, precision);
    return QByteArray(buf, int(r.ptr - buf));
}

double readBack(const QByteArray& text)
{
    double v = 0;
    std::from_chars(text.constData(), text.constData() + text.size(), v);
    return v;
}

QString withSeparator(QString s, const QLocale& locale)
{
    const QString sep = locale.decimalPoint();
    if (sep != QLatin1String("."))
        s.replace(QLatin1Char('.'), sep);
    return s;
}

// Mantissa with `digits` significant digits and an exponent of at least
// `expWidth` digits, sign always shown when expWidth > 0: 1.234568E+008.
QString exponentForm(double v, int digits, int expWidth, bool trimZeros)
{
    QString s = QString::fromLatin1(scientific(v, digits - 1));
    const int e = int(s.indexOf(QLatin1Char('e')));
    QString mant = s.left(e);
    const int exp = s.mid(e + 1).toInt();
    if (trimZeros && mant.contains(QLatin1Char('.'))) {
        while (mant.endsWith(QLatin1Char('0')))
            mant.chop(1);
        if (mant.endsWith(QLatin1Char('.')))
            mant.chop(1);
    }
    QString expText = QString::number(std::abs(exp)).rightJustified(expWidth, QLatin1Char('0'));
    if (exp < 0)
        expText.prepend(QLatin1Char('-'));
    else if (expWidth > 0)
        expText.prepend(QLatin1Char('+'));
    return mant + QLatin1Char('E') + expText;
}

} // namespace

QString shortest(double v, const QLocale& locale)
{
    if (!std::isfinite(v))
        return QString::number(v);
    if (v == 0)
        return QStringLiteral("0");
    const double a = std::fabs(v);
    // Round to 15 significant digits first; the fixed form is kept while the
    // integer part has at most 15 digits and the value is not tiny.
    const double rounded = readBack(scientific(v, 14));
    const int exp = int(std::floor(std::log10(std::fabs(rounded))));
    if (a < 1e-5 || exp >= 15)
        return withSeparator(exponentForm(v, 15, 0, true), locale);
    QString s = QString::fromLatin1(fixedPoint(rounded, std::max(0, 14 - exp)));
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return withSeparator(s, locale);
}

QString fixed2(double v, const QLocale& locale)
{
    if (!std::isfinite(v))
        return QString::number(v);
    if (v != 0) {
        const double rounded = readBack(scientific(v, 6));
        const int exp = int(std::floor(std::log10(std::fabs(rounded))));
        if (exp >= 7)
            return withSeparator(exponentForm(v, 7, 3, false), locale);
        // At most seven significant digits, then two decimals.
        const int decimals = std::min(2, std::max(0, 6 - exp));
        QString s = QString::fromLatin1(fixedPoint(readBack(fixedPoint(rounded, decimals)), 2));
        if (s == QLatin1String("-0.00"))
            s = QStringLiteral("0.00");
        return withSeparator(s, locale);
    }
    return withSeparator(QStringLiteral("0.00"), locale);
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
