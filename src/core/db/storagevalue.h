#pragma once

#include "core/db/storage.h"

#include <QString>
#include <QVariant>

#include <optional>

// How values are converted on their way into a table's fields and out of them.
namespace lir::db {

// Text as a field of `size` characters keeps it: cut to that many characters
// as the user sees them (a surrogate pair is one, a letter keeps its accents),
// a lone surrogate replaced by U+FFFD.
QString cutToSize(const QString& s, int size);

// Whether the variant holds a whole number (of any width, or a bool), or a
// floating-point number.
bool isIntegral(const QVariant& v);
bool isFloating(const QVariant& v);

// A number typed as text, as the user's locale writes it or with a point,
// never with group separators; none for any other text.
std::optional<double> parseNumber(const QString& text);

// The value as it is written into its field; throws the conversion error when
// it does not fit.
QVariant storedValue(const FieldDef& f, const QVariant& v);

// The number that a value read from a field stands for: none for a null or
// empty one; throws the conversion error for text that is no number.
std::optional<double> storedNumber(const QVariant& v, const QString& fieldName);

} // namespace lir::db
