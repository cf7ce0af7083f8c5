#pragma once

#include "core/orders/ordermodel.h"
#include "core/prices/pricelookup.h"

#include <optional>

namespace lir {

// The total of the order's summary as "EXCEL" writes it for the components
// view, with the markup of Edit1: the sum column's total. None when the
// markup is no whole number (the summary would refuse it too).
std::optional<double> orderSummaryTotal(const OrderModel& order, const PriceLookup& prices);

} // namespace lir
