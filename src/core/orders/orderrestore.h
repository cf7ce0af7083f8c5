#pragma once

#include "core/calc/kitcalculator.h"
#include "core/calc/ordersink.h"

#include <optional>

namespace lir {

// The calculator an entry was calculated in, found from its Type ("ПФ" turn,
// else "ПОФ" tilt-turn, else "ОФ" tilt); none when the Type names none.
std::optional<KitCalculator::Kind> entryKind(const TOrder& entry);

// The sash side an entry keeps (0 "Правое", 1 "Левое"): from the pieces of
// an off-centre kit, else from the designation; none when neither names it.
std::optional<int> entrySide(const TOrder& entry);
// Whether the entry's handle is in the centre ("Ручка в центре").
bool entryHandleCentred(const TOrder& entry);

// Sets the inputs of calc from the entry, in the order the order window sets
// them, as changes from code: a spin edit, check box or radio group runs its
// handler when its value changes, a list selects its item without one. An
// input whose test fails keeps its value; a check box takes the result of
// its test. For a PVC profile the profile-system change handler runs after
// the name is selected. calc must be of the entry's kind.
void restoreEntry(const TOrder& entry, KitCalculator& calc);

// Whether a tilt-turn designation carries the inserted "1" of the tilt-turn lock.
bool designationHasLock(const QString& designation);

} // namespace lir
