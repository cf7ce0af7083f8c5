#pragma once

#include <QString>

// The texts of the turn rules: the error messages and the prefix of the kit
// designation. Two-line messages keep their single carriage return. The "c"
// before "верхним" is a Latin letter in the two messages of the clamp kits,
// and the width message doubles its "для": the texts are the program's own
// and stay byte for byte as they are.
namespace lir::turnmessages {

// Height outside the kits without clamps.
inline QString heightNoClamps()
{
    return QStringLiteral("Неправильно задана высота для комплекта без верхнего и нижнего прижимов!\r"
                          "Измените высоту в интервале 300 мм - 2300 мм");
}

// Width outside the kits without clamps.
inline QString widthNoClamps()
{
    return QStringLiteral("Неправильно задана ширина для комплекта без верхнего и нижнего прижимов!\r"
                          "Измените ширину в интервале 200 мм - 800 мм");
}

// Height outside the kits with clamps.
inline QString heightClamps()
{
    return QStringLiteral("Неправильно задана высота для комплекта c верхним и нижним прижимами!\r"
                          "Измените высоту в интервале 440 мм - 2300 мм");
}

// Width outside the kits with clamps.
inline QString widthClamps()
{
    return QStringLiteral("Неправильно задана ширина для для комплекта c верхним и нижним прижимами!\r"
                          "Измените ширину в интервале 650 мм - 1300 мм");
}

inline QString blockerRefused()
{
    return QStringLiteral("Блокиратор не применим к данной комплектации");
}

// Kit designation pieces
inline QString kitPrefix() { return QStringLiteral("ЛИР-6741-"); }

} // namespace lir::turnmessages
