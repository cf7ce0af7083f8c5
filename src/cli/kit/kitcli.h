#pragma once

#include "cli/kit/ordercommands.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"

#include <QByteArray>

#include <cstdio>

namespace lir::cli {

// The command-line calculator: one JSON object per input line, one JSON line
// per answer. It holds one instance of each calculator for the whole run, so
// inputs, kit designation and the Last calculation carry over between lines as
// they do in a window between presses of "РАСЧЕТ"; and one current order.
class KitCli
{
public:
    KitCli();

    // Handles one input line and returns the answer line (without a line end).
    QByteArray processLine(const QByteArray& line);
    // Reads lines from in until its end, answering each on out. Returns 0.
    int run(std::FILE* in, std::FILE* out);

    TurnKit& turn() { return m_turn; }
    TiltTurnKit& tiltTurn() { return m_tiltTurn; }
    TiltKit& tilt() { return m_tilt; }
    OrderModel& order() { return m_orders.order(); }

private:
    TurnKit m_turn;
    TiltTurnKit m_tiltTurn;
    TiltKit m_tilt;
    OrderCommands m_orders{m_turn, m_tiltTurn, m_tilt};
};

} // namespace lir::cli
