#pragma once

#include <QString>

namespace lir {

class KitCalculator;
struct TOrder;

// What the drawing of one sash shows, as values: a calculator's state gives
// them (sashDrawingOf), and a document that has only an order entry's sizes
// may fill them itself.
struct SashDrawingInput
{
    // The opening symbol of the fitting system.
    enum class Opening { Turn, Tilt, TiltTurn };

    // One dimension: the value typed and the value drawn. A value the rules
    // do not accept is drawn at the nearest limit of `allowed` and marked red,
    // with the range beside it.
    struct Dimension
    {
        int typed = 0;
        int drawn = 0;
        bool accepted = true;
        int allowedLo = 0;
        int allowedHi = 0;
        bool operator==(const Dimension&) const = default;
    };

    Opening opening = Opening::Turn;
    bool hingesLeft = false; // "Левое": the hinges on the left, seen from the room
    Dimension ffb;
    Dimension ffh;
    // Turn and tilt-turn: the handle's height above the bottom edge; tilt: its
    // place along the top edge, from the left.
    Dimension gh;
    bool handleCentred = true; // "Ручка в центре": GH follows the size
    bool handleInKit = false;  // "Ручка оконная": drawn solid, else only its place
    bool wooden = false;
    QString kitDesignation; // under the drawing; empty while no kit stands for the inputs

    bool operator==(const SashDrawingInput&) const = default;
};

// The drawing of the sash the calculator's inputs describe.
SashDrawingInput sashDrawingOf(const KitCalculator& calc);

// The drawing of an order's entry, from the inputs it keeps: the sizes as
// they were calculated, the side and the handle as restoring the entry sets
// them, its designation under it.
SashDrawingInput sashDrawingOf(const TOrder& entry);

} // namespace lir
