#include "core/calc/ordersink.h"

namespace lir {

namespace {
OrderSink* g_sink = nullptr;
}

OrderSink* orderSink()
{
    return g_sink;
}

void setOrderSink(OrderSink* sink)
{
    g_sink = sink;
}

} // namespace lir
