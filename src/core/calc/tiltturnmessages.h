#pragma once

#include <QString>

// The texts of the tilt-turn rules: the size messages and the pieces of the
// kit designation. Two-line messages keep their single carriage return.
namespace lir::tiltturnmessages {

// Width outside every width class.
inline QString widthWrong()
{
    return QStringLiteral("Неправильно задана ширина!\rИзмените ширину в интервале 280 мм - 1300 мм");
}

// Height outside every height class.
inline QString heightWrong()
{
    return QStringLiteral("Неправильно задана высота!\rИзмените высоту в интервале 440 мм - 2300 мм");
}

// Kit designation pieces
inline QString kitPrefix() { return QStringLiteral("ЛИР-6742-"); }
inline QString kitSmallest() { return QStringLiteral("ЛИР-6742М"); } // height and width class 0
inline QString kitLetterA() { return QStringLiteral("А"); }          // Cyrillic, height class 3А
inline QString kitZapor() { return QStringLiteral("1"); }
inline QString kitHeight4() { return QStringLiteral("-14"); } // after the "1" of the tilt-turn lock

} // namespace lir::tiltturnmessages
