#pragma once

#include <QLocale>
#include <QString>

// The number forms of the sheets. Both use the locale's decimal separator and
// no grouping.
namespace lir::numfmt {

// Each form is one rounding of the exact binary value, halves away from zero.

// The shortest text of the value with up to 15 significant digits: 12,5; 20;
// 0,1. Very large or very small values take an exponent: 1E20.
QString shortest(double v, const QLocale& locale);

// Two decimals with at most seven significant digits: 12,50; 30,00. A value
// of eight or more integer digits takes an exponent: 1,234568E+008.
QString fixed2(double v, const QLocale& locale);

// The numbers the two forms show, for a workbook cell that must hold what
// the HTML document writes: 720 where the product is 719.99998093.
double shortestValue(double v);
double fixed2Value(double v);

// Adds b to the single-precision total a, rounding the result to single
// precision as the sheets' totals do.
inline float addSingle(float a, double b)
{
    return float(double(a) + b);
}

// A number as a person types it: an optional minus sign, digits, and at most
// one decimal separator, the locale's or a point. Group separators, exponents,
// blanks inside and words such as "inf" make it no number, so "1,500" in a
// comma locale is 1.5 and "1,250.5" is refused. Blanks at both ends are
// ignored. Returns false when the text is no number.
bool parse(const QString& text, const QLocale& locale, double* out);

} // namespace lir::numfmt
