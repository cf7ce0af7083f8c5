#pragma once

#include "core/calc/calctexts.h"

#include <QString>

// The texts that the rules of the three fitting systems share: messages,
// pieces of the kit designation and the names of the wooden hinges. Two-line
// messages keep their single carriage return; the error box shows them as two
// lines.
namespace lir::rulemessages {

// A handle height that is not allowed: outside the band of the turn bolt, or
// too near an end of the sash for any bolt.
inline QString handlePosition()
{
    return QStringLiteral("Указаная высота не применяется!\rРекомендуется изменить высоту");
}

// An off-centre handle whose longer distance no extensions bridge.
inline QString handleDistance()
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
inline QString kitLetter() { return QStringLiteral("М"); }  // Cyrillic, ends every kit code
inline QString woodLetter() { return QStringLiteral("Д"); } // before the kit letter of a wooden sash
inline QString nonStandard() { return calctexts::kitNonStandard; } // the order reads it too

// Hinge names of a wooden sash
inline QString hingeTopFrameWood() { return QStringLiteral("Петля верхняя на раме ДМ"); }
inline QString hingeBottomSashWood() { return QStringLiteral("Петля нижняя на створке ДМ"); }
inline QString hingeBottomFrameWood() { return QStringLiteral("Петля нижняя на раме ДМ"); }

} // namespace lir::rulemessages
