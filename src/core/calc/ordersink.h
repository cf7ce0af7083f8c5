#pragma once

#include <QString>

namespace lir {

class KitCalculator;

// One kit of the order: the calculator inputs it was calculated from.
struct TOrder
{
    QString Type;
    QString Designation;
    QString Profil;
    QString Dop_komplekt;
    int Count = 0;
    int Color = 0;
    int FFH = 0;
    int FFB = 0;
    int GH = 0;

    bool operator==(const TOrder&) const = default;
};

// What the calculators need of the order summation window. The calculators
// own it and the order implements it, so that the rules know nothing of orders.
class OrderSink
{
public:
    virtual ~OrderSink() = default;
    // An index at or beyond the number of entries appends.
    virtual void StoreEntry(int index, const TOrder& entry) = 0;
    // Rebuilds the order's grids from all stored entries.
    virtual void ReplayOrder() = 0;
    // The entry last opened in a calculator for editing.
    virtual int EditedEntry() const = 0;
    // "В ЗАКАЗ" of a calculator: adds the kit of its result grid to the order.
    virtual void AddKit(KitCalculator& calc) = 0;
};

// The program's order window, or nullptr while there is none.
OrderSink* orderSink();
void setOrderSink(OrderSink* sink);

} // namespace lir
