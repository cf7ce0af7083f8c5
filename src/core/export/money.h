#pragma once

#include <QString>

#include <optional>

// Money as the quote counts it: whole kopecks. Each line's sum is rounded
// once from its exact value, the total is the sum of the rounded lines and
// VAT is worked out once from the total, as accounting documents do.
namespace lir::money {

using Kopecks = qint64;

// price × quantity × factor rounded to kopecks, halves away from zero. The
// product is computed exactly (no intermediate rounding), so a sum such as
// 0,125 × 1 goes to 0,13 and 1,005 (which a double holds as 1,00499999...)
// to 1,00. Nothing when a value is not finite or the sum is beyond
// ten trillion roubles.
std::optional<Kopecks> lineSum(double price, qint64 quantity, float factor);
// The same for one amount in roubles.
std::optional<Kopecks> fromRoubles(double roubles);

// amount × numerator / denominator, rounded halves away from zero.
// The denominator is positive.
Kopecks scaled(Kopecks amount, qint64 numerator, qint64 denominator);

// The VAT of a total at a rate given in hundredths of a percent (2000 for
// 20 %): contained in the total ("НДС в том числе") or added to it ("НДС
// сверху").
Kopecks vatIncluded(Kopecks total, int rateHundredths);
Kopecks vatOnTop(Kopecks total, int rateHundredths);

// "1 234,56": groups of three digits split by a blank, a decimal comma.
QString format(Kopecks amount);
// A rate of hundredths of a percent as a document writes it: "20", "12,5".
QString rateText(int rateHundredths);

// A whole number in Russian words, masculine or feminine in its last word:
// 1 "один"/"одна", 2 "два"/"две", 2001 "две тысячи один". Up to 999 trillion.
QString numberInWords(qint64 n, bool feminine);
// The noun form that goes with a count: one (1, 21), few (2–4, 22) or many
// (5–20, 25, 11–14).
QString plural(qint64 n, const QString& one, const QString& few, const QString& many);
// "Сто тридцать пять рублей 80 копеек", "Одна тысяча рублей 00 копеек".
QString inWords(Kopecks amount);

} // namespace lir::money
