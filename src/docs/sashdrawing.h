#pragma once

#include "core/export/sashdrawinginput.h"

#include <QByteArray>
#include <QRectF>
#include <QSize>

class QPainter;

namespace lir {

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
