#pragma once

#include <QString>

// The texts of the tilt rules: the size messages and the prefix of the kit
// designation. A two-line message keeps its single carriage return; the error
// box shows it as two lines.
// The "c" of "c боковыми" and the "y" of "ширинy" are Latin letters: the texts
// are the program's own and stay byte for byte as they are.
namespace lir::tiltmessages {

// Width outside the kits without side presses.
inline QString widthWithoutPresses()
{
    return QStringLiteral("Неправильно задана ширина для комплекта без боковых прижимов!\r"
                          "Измените ширину в интервале 300 мм - 2300 мм");
}

// Width outside the kits with side presses.
inline QString widthWithPresses()
{
    return QStringLiteral("Неправильно задана ширина для комплекта c боковыми прижимами!\r"
                          "Измените ширинy в интервале 440 мм - 2300 мм");
}

// Height outside both bands.
inline QString height()
{
    return QStringLiteral("Неправильно задана высота!\r"
                          "Измените высоту в интервале 300 мм - 1300 мм");
}

// Kit designation pieces
inline QString kitPrefix() { return QStringLiteral("ЛИР-6741-"); }

} // namespace lir::tiltmessages
