#pragma once

#include "core/calc/kitline.h"

#include <QString>
#include <QVector>

namespace lir {

// Every part of the three fitting systems. A system's parts table lists some
// of them in its own row order; the rules that the systems share name parts,
// not rows.
enum class Part {
    BoltTurn300,
    BoltTurn500,
    BoltTurn700,
    BoltTurn1000,
    BoltTurn1400,
    BoltTurn1800,
    Bolt440,
    Bolt620,
    Bolt800,
    Bolt1300A,
    Bolt1300,
    CornerSwitch,
    CornerSwitchSmall,
    Extension500,
    Extension250,
    Rail280,
    Rail460,
    Rail550,
    Rail800,
    Rail1050,
    MiddleLock800,
    MiddleLock1300A,
    MiddleLock1300,
    MiddleLock1800,
    Bracket280,
    Bracket550,
    Bracket800,
    Striker,
    StrikerTiltTurn,
    TravelStop,
    TopSashHinge,
    TiltHinge,
    TopFrameHinge,
    BottomSashHinge,
    BottomFrameHinge,
    MiddleClamp,
    MiddleClampKeeper,
    Fiksator,
    Scissors,
    Blocker,
    BlockerStop,
    Ventilator,
    VentilatorKeeper,
    MicroventStrip,
    BalconyLatch,
    Shim,
    Handle,
    TiltTurnLock,
    TiltTurnStrip,
    CapB1,
    CapB2,
    CapH1,
    CapH2,
    CapH3,
    Count
};

// The catalogue line of a part: texts and screws per piece, quantity 0.
const TMyLIR& catalogueLine(Part part);

// A text of a part that one system's catalogue writes otherwise.
struct OwnText
{
    Part part;
    QString TMyLIR::*field;
    QString text;
};

// The parts table of a system: the catalogue lines of its rows, in order,
// with the system's own texts.
PartsTable catalogueOf(const QVector<Part>& rows, const QVector<OwnText>& ownTexts = {});

} // namespace lir
