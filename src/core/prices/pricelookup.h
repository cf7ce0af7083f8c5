#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace lir {

// The result of looking a designation up in the price table: whether a row
// was found and, if so, its price, which may be empty (not priced yet).
struct PriceResult
{
    bool found = false;
    std::optional<double> price;
};

using PriceLookup = std::function<PriceResult(const QString& designation)>;

} // namespace lir
