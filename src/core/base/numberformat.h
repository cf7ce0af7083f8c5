#pragma once

#include <QLocale>
#include <QString>

// The number forms of the sheets. Both use the locale's decimal separator and
// no grouping.
namespace lir::numfmt {

// The shortest text of the value with up to 15 significant digits: 12,5; 20;
// 0,1. Very large or very small values take an exponent: 1E20.
QString shortest(double v, const QLocale& locale);

// Two decimals with at most seven significant digits: 12,50; 30,00. A value
// of eight or more integer digits takes an exponent: 1,234568E+008.
QString fixed2(double v, const QLocale& locale);

// Adds b to the single-precision total a, rounding the result to single
// precision as the sheets' totals do.
inline float addSingle(float a, double b)
{
    return float(double(a) + b);
}

// A whole or decimal number typed in the locale's form (or with a point) into
// *out; false, and *out untouched, when the text is no number.
bool parse(const QString& text, const QLocale& locale, double* out);

} // namespace lir::numfmt
