#pragma once

#include "core/db/storage.h"

#include <QString>

#include <optional>

// Writing a price typed into the price editor. The editor keeps the typed
// text pending in the table's current row, as it stands, until it is
// written; everything that writes it goes through here, so that a refused
// price is named as the user knows the field ("Цена"), and so that a comma
// and a point both serve as the decimal separator whatever the locale.
namespace lir::prices {

// The number of a typed price: the user's locale's form, or a point or a
// comma as the decimal separator. No group separators, no exponent. Empty
// text is no price (an empty field). Nothing when the text is no number.
std::optional<double> typedPrice(const QString& text, bool* empty = nullptr);

// Writes the pending edit of the price table's current row, if there is one.
// Throws lir::Error when the price is refused; the row then stays pending.
void postPrice(db::Table& table);

// Gives up the pending edit of the current row: it keeps its stored price.
void cancelPrice(db::Table& table);

// Ends a pending edit when the editor goes away: a good price is written;
// a refused one is dropped and the row keeps its stored price. Returns the
// message that says which price was not written and why; empty when nothing
// was lost.
QString finishPrice(db::Table& table);

} // namespace lir::prices
