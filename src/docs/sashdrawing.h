#pragma once

#include <QByteArray>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

namespace lir {

class KitCalculator;

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

// Paints the sash into box: the outline to scale and fitted to the box, the
// opening symbol as seen from the room, the hinges, the handle, and, where
// the box is large enough (at least 160 x 120), the dimensions FFB, FFH and
// GH and the kit designation. Nothing is painted outside the box, and
// nothing at all into a box under 16 x 16.
void paintSash(QPainter& painter, const QRectF& box, const SashDrawingInput& input);

// The size of the drawing that lircomplect-kit writes.
constexpr QSize SashSvgSize(640, 480);

// The drawing as an SVG document of the given size, its texts as text elements.
QByteArray sashSvg(const SashDrawingInput& input, const QSize& size = SashSvgSize);
// Writes it to path, whole or not at all, never over one of the program's
// tables; throws lir::Error naming the file.
void writeSashSvg(const QString& path, const SashDrawingInput& input, const QSize& size = SashSvgSize);

// The texts of the drawing, as it paints them.
namespace sashtexts {
QString dimension(const char* name, int value); // "FFB 800"
QString allowed(int lo, int hi);                // "допустимо 200–800"
} // namespace sashtexts

} // namespace lir
