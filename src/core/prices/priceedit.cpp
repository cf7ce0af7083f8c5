#include "core/prices/priceedit.h"

#include "core/base/environment.h"
#include "core/base/error.h"
#include "core/base/numberformat.h"
#include "core/prices/pricetable.h"
#include "core/prices/pricetexts.h"

namespace lir::prices {

std::optional<double> typedPrice(const QString& text, bool* empty)
{
    if (empty)
        *empty = text.trimmed().isEmpty();
    if (text.trimmed().isEmpty())
        return std::nullopt;
    double x = 0;
    if (numfmt::parse(text, environment().numberLocale(), &x))
        return x;
    // Prices are typed from price lists of any origin: a comma is a decimal
    // separator here even where the locale groups thousands with it.
    if (numfmt::parse(text, QLocale(QLocale::Russian, QLocale::Russia), &x))
        return x;
    return std::nullopt;
}

void postPrice(db::Table& table)
{
    if (table.state() == db::Table::State::Browse)
        return;
    const QVariant pending = table.value(fieldPrice());
    // A typed price is text until here; the table gets the number.
    if (pending.typeId() == QMetaType::QString) {
        bool empty = false;
        const std::optional<double> x = typedPrice(pending.toString(), &empty);
        if (!x && !empty)
            throw Error(pricetexts::priceNotANumber(pending.toString()));
        table.setValue(fieldPrice(), x ? QVariant(*x) : QVariant());
    }
    try {
        table.post();
    } catch (...) {
        // Refused: the row stays pending with the text as it was typed.
        if (table.state() != db::Table::State::Browse && pending.typeId() == QMetaType::QString)
            table.setValue(fieldPrice(), pending);
        throw;
    }
}

void cancelPrice(db::Table& table)
{
    if (table.state() != db::Table::State::Browse)
        table.cancel();
}

QString finishPrice(db::Table& table)
{
    if (table.state() == db::Table::State::Browse)
        return {};
    const QString designation = table.text(fieldDesignation());
    const QString typed = table.value(fieldPrice()).toString();
    try {
        postPrice(table);
        return {};
    } catch (const Error& e) {
        cancelPrice(table);
        return pricetexts::priceNotWritten(typed, designation, e.message());
    }
}

} // namespace lir::prices
