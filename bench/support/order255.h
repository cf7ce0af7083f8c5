#pragma once

// The 255-kit order of the summary and quote benchmarks, priced from the
// delivered price table.
#include "core/base/dialogs.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/db/storage.h"
#include "core/orders/ordermodel.h"
#include "core/prices/pricetable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace lir::bench {

constexpr int Kits = 255;

// The delivered price table, copied aside and opened once.
inline void openPrices()
{
    static QTemporaryDir dir;
    static bool opened = [] {
        const QString copy = QDir(dir.path()).filePath(prices::tableFile());
        if (!QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), copy))
            std::fprintf(stderr, "no delivered price table in %s\n", LIR_BINARY_DIR);
        db::setNetFileDir(dir.path());
        prices::open();
        return true;
    }();
    (void)opened;
}

// 255 kits of the three calculators in turn, over a spread of sizes, options
// and both profile types.
struct Order255
{
    RecordingDialogs dialogs;
    TurnKit turn;
    TiltTurnKit tiltTurn;
    TiltKit tilt;
    OrderModel order;
    bool ok = true;

    Order255()
    {
        setDialogs(&dialogs);
        order.setCalculators(&turn, &tiltTurn, &tilt);
        setOrderSink(&order);
        for (int i = 0; i < Kits && ok; ++i) {
            const int n = i / 3;
            KitCalculator* c = nullptr;
            if (i % 3 == 0) {
                turn.setProfilType(n % 4 == 3 ? 1 : 0);
                turn.setFFH(300 + (n * 37) % 1700);
                turn.setFFB(200 + (n * 23) % 600);
                turn.setRuchkaOkon(n % 5 == 0);
                turn.setKolKomlektov(1 + n % 4);
                turn.setRal(n % 2 ? 9016 : 8017);
                c = &turn;
            } else if (i % 3 == 1) {
                tiltTurn.setProfilType(n % 5 == 4 ? 1 : 0);
                tiltTurn.setFFH(500 + (n * 53) % 1800);
                tiltTurn.setFFB(440 + (n * 31) % 860);
                tiltTurn.setCbZapor(n % 4 == 1);
                tiltTurn.setPolStvorki(n % 2);
                tiltTurn.setKolKomlektov(1 + n % 3);
                c = &tiltTurn;
            } else {
                tilt.setProfilType(n % 4 == 2 ? 1 : 0);
                tilt.setFFH(300 + (n * 17) % 500);
                tilt.setFFB(400 + (n * 43) % 1600);
                tilt.setKolKomlektov(1 + n % 2);
                c = &tilt;
            }
            c->RashetButtonClick();
            ok = !c->lastCalculationFailed();
            if (ok)
                c->SumButtonClick();
        }
        ok = ok && order.EntryCount() == Kits;
        setOrderSink(nullptr);
        setDialogs(nullptr);
    }
};

inline const Order255& order255()
{
    static const Order255 o;
    return o;
}

} // namespace lir::bench
