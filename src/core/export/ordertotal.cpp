#include "core/export/ordertotal.h"

#include "core/base/error.h"
#include "core/base/numberformat.h"
#include "core/export/ordersummary.h"

namespace lir {

std::optional<double> orderSummaryTotal(const OrderModel& order, const PriceLookup& prices)
{
    float k = 1;
    try {
        k = markupFactor(readMarkup(order.markup()));
    } catch (const Error&) {
        return std::nullopt;
    }
    const OrderGrid& grid = order.grid(OrderModel::Components);
    const int quantity = OrderModel::quantityColumn(OrderModel::Components);
    ExportPrices known(prices);
    float total = 0;
    for (int r = 1; r < grid.rowCount(); ++r) {
        if (grid.cell(r, 1).isEmpty())
            continue;
        const SummaryPrice p = summaryPrice(grid, r, quantity, true, k, known);
        if (p.priced)
            total = numfmt::addSingle(total, p.sum);
    }
    known.finish();
    return double(total);
}

} // namespace lir
