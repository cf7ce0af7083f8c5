#pragma once

#include "core/calc/kitcalculator.h"

#include <QString>

#include <vector>

namespace lir {

// One key of a calculator line: the input it changes as a person would, or
// the command it runs, and the form its value takes. The command-line
// calculator and the batch entry read their lines through this one table.
struct Key
{
    enum class Value {
        Item,    // one of the input's items, by its text
        Whole,   // a whole number between lo and hi
        Clamped, // a whole number, brought into lo..hi
        Bool,
        Path, // a file name
    };
    enum class Command { None, Calculate, ExportHtml, ExportXlsx, ExportPdf, ExportSvg, AddToOrder, SaveChanges };

    const char* name;
    Value value;
    KitCalculator::Input input = KitCalculator::Input::KolKomlektov; // with Command::None
    Command command = Command::None;
    int lo = 0;
    int hi = 0;
};

// The keys in the order a line applies them, whatever order it writes them
// in: the inputs in the window's order, then "calculate", then the exports and
// the order's buttons.
const std::vector<Key>& calculatorKeys();
const Key* findKey(const QString& name);
// Whether a line for this calculator may hold the key.
bool takesKey(const KitCalculator& c, const Key& key);

} // namespace lir
