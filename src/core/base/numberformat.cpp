#include "core/base/numberformat.h"

#include <cmath>
#include <cstdio>

namespace lir::numfmt {

namespace {

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
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, v);
    QString s = QString::fromLatin1(buf);
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
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", v);
    const double rounded = std::strtod(buf, nullptr);
    const int exp = int(std::floor(std::log10(std::fabs(rounded))));
    if (a < 1e-5 || exp >= 15)
        return withSeparator(exponentForm(v, 15, 0, true), locale);
    std::snprintf(buf, sizeof buf, "%.*f", std::max(0, 14 - exp), rounded);
    QString s = QString::fromLatin1(buf);
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
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.6e", v);
        const double rounded = std::strtod(buf, nullptr);
        const int exp = int(std::floor(std::log10(std::fabs(rounded))));
        if (exp >= 7)
            return withSeparator(exponentForm(v, 7, 3, false), locale);
        // At most seven significant digits, then two decimals.
        const int decimals = std::min(2, std::max(0, 6 - exp));
        std::snprintf(buf, sizeof buf, "%.*f", decimals, rounded);
        std::snprintf(buf, sizeof buf, "%.2f", std::strtod(buf, nullptr));
        QString s = QString::fromLatin1(buf);
        if (s == QLatin1String("-0.00"))
            s = QStringLiteral("0.00");
        return withSeparator(s, locale);
    }
    return withSeparator(QStringLiteral("0.00"), locale);
}

bool parse(const QString& text, const QLocale& locale, double* out)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    double v = locale.toDouble(t, &ok);
    if (!ok)
        v = QLocale::c().toDouble(t, &ok);
    if (ok && out)
        *out = v;
    return ok;
}

} // namespace lir::numfmt
