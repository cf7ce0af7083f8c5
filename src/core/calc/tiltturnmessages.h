#pragma once

#include <QString>

// The texts of the tilt-turn rules: the error messages and the pieces of the
// kit designation. Two-line messages keep their single carriage return.
namespace lir::tiltturnmessages {

inline QString widthWrong()
{
    return QStringLiteral("Неправильно задана ширина!\rИзмените ширину в интервале 280 мм - 1300 мм");
}

inline QString heightWrong()
{
    return QStringLiteral("Неправильно задана высота!\rИзмените высоту в интервале 440 мм - 2300 мм");
}

inline QString nearDistanceWrong()
{
    return QStringLiteral("Указаная высота не применяется!\rРекомендуется изменить высоту");
}

inline QString farDistanceWrong()
{
    return QStringLiteral("Указаная высота ручки не применяется!\rРекомендуется изменить высоту ручки");
}

inline QString ventilatorRefused()
{
    return QStringLiteral("Проветриватель ступенчатый не применим к данной комплектации");
}

inline QString balconyLatchRefused()
{
    return QStringLiteral("Балконная защелка не применима к данной комплектации");
}

// Kit designation pieces
inline QString kitPrefix() { return QStringLiteral("ЛИР-6742-"); }
inline QString kitSmallest() { return QStringLiteral("ЛИР-6742М"); } // height and width class 0
inline QString kitLetterA() { return QStringLiteral("А"); }          // Cyrillic, height class 3А
inline QString kitM() { return QStringLiteral("М"); }                // Cyrillic
inline QString kitWood() { return QStringLiteral("Д"); }
inline QString kitZapor() { return QStringLiteral("1"); }
inline QString kitHeight4() { return QStringLiteral("-14"); } // after the "1" of the tilt-turn lock
inline QString nonStandard() { return QStringLiteral("Нестандартный"); }

// Hinge names of a wooden sash
inline QString hingeTopWood() { return QStringLiteral("Петля верхняя на раме ДМ"); }
inline QString hingeSashWood() { return QStringLiteral("Петля нижняя на створке ДМ"); }
inline QString hingeFrameWood() { return QStringLiteral("Петля нижняя на раме ДМ"); }

} // namespace lir::tiltturnmessages
