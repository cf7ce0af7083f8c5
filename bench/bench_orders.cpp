// Replaying an order of 255 mixed kits, as "Сохранить изменения", a delete
// and the history's reopening do: every entry is restored into its
// calculator, recalculated and added to the three grids again. Reopening a
// saved order of 255 kits from the order table adds the two queries.
#include "core/base/dialogs.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/db/storage.h"
#include "core/orders/orderhistory.h"
#include "core/orders/ordermodel.h"
#include "core/orders/ordertable.h"
#include "support/benchmain.h"

#include <QTemporaryDir>

#ifdef LIR_BENCH_WIDGETS
#include "gui/app/forms.h"
#include "gui/app/widgets.h"
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/mainmodule6741otkid.h"
#include "gui/calc/mainmodule6742.h"
#include "gui/orders/form_history.h"
#include "gui/orders/form_sum.h"

#include <QApplication>
#else
#include <QCoreApplication>
#endif

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>

namespace {

using namespace lir;

constexpr int Kits = 255;

// Kit i of the order: the three calculators in turn, each over a spread of
// standard and off-centre kits with options, in both profile types.
void setUpKit(int i, TurnKit& turn, TiltTurnKit& tiltTurn, TiltKit& tilt, KitCalculator** chosen)
{
    const int n = i / 3;
    switch (i % 3) {
    case 0: {
        turn.setProfilType(n % 4 == 3 ? 1 : 0);
        turn.setComplekt(n % 2);
        turn.setRuchkaVcentre(true);
        if (n % 2 == 0) {
            turn.setFFH(300 + (n * 37) % 1700);
            turn.setFFB(200 + (n * 23) % 600);
        } else {
            turn.setFFH(440 + (n * 41) % 1860);
            turn.setFFB(650 + (n * 29) % 650);
        }
        turn.setPolStvorki(n % 3 == 0 ? 1 : 0);
        turn.setRuchkaOkon(n % 5 == 0);

        turn.setKolKomlektov(1 + n % 4);
        turn.setRal(n % 2 ? 9016 : 8017);
        *chosen = &turn;
        break;
    }
    case 1: {
        tiltTurn.setProfilType(n % 5 == 4 ? 1 : 0);
        tiltTurn.setRuchkaVcentre(n % 6 != 5);
        if (tiltTurn.ruchkaVcentre()) {
            tiltTurn.setFFH(500 + (n * 53) % 1800);
            tiltTurn.setFFB(440 + (n * 31) % 860);
        } else {
            tiltTurn.setFFH(2000);
            tiltTurn.setFFB(900);
            tiltTurn.setGH(950);
        }
        tiltTurn.setCbZapor(n % 4 == 1);
        tiltTurn.setPolStvorki(n % 2);
        tiltTurn.setRadioGroup1(n % 3 == 2 ? 1 : 0);
        tiltTurn.setKolKomlektov(1 + n % 3);
        *chosen = &tiltTurn;
        break;
    }
    default:
        tilt.setProfilType(n % 4 == 2 ? 1 : 0);
        tilt.setFFH(300 + (n * 17) % 500);
        tilt.setFFB(400 + (n * 43) % 1600);
        tilt.setCheckBox1(n % 3 == 0);
        tilt.setKolKomlektov(1 + n % 2);
        *chosen = &tilt;
        break;
    }
}

// Fills the order with 255 kits through "В ЗАКАЗ"; false when a kit failed its calculation.
bool fillOrder(OrderModel& order, TurnKit& turn, TiltTurnKit& tiltTurn, TiltKit& tilt)
{
    order.setCalculators(&turn, &tiltTurn, &tilt);
    setOrderSink(&order);
    for (int i = 0; i < Kits; ++i) {
        KitCalculator* c = nullptr;
        setUpKit(i, turn, tiltTurn, tilt, &c);
        c->RashetButtonClick();
        if (c->lastCalculationFailed())
            return false;
        c->SumButtonClick();
    }
    return order.EntryCount() == Kits;
}

// What every benchmark here runs in: recording dialogs, and an order filled
// with the 255 kits by the given calculators; the order sink and the dialogs
// are let go at the end.
class OrderBench
{
public:
    explicit OrderBench(benchmark::State& state) : m_state(state) { setDialogs(&dialogs); }
    ~OrderBench()
    {
        setOrderSink(nullptr);
        setDialogs(nullptr);
    }
    void fill(OrderModel& order, TurnKit& turn, TiltTurnKit& tiltTurn, TiltKit& tilt)
    {
        if (!fillOrder(order, turn, tiltTurn, tilt))
            m_state.SkipWithError("a kit of the order did not calculate");
        entries = order.entries();
    }

    RecordingDialogs dialogs;
    QVector<TOrder> entries;

private:
    benchmark::State& m_state;
};

// The three calculators without their windows, and an order over them.
struct BareOrder
{
    TurnKit turn;
    TiltTurnKit tiltTurn;
    TiltKit tilt;
    OrderModel order;

    void fill(OrderBench& bench) { bench.fill(order, turn, tiltTurn, tilt); }
};

// The anchor: the 255 calculations alone, without the order.
void BM_Anchor255Calculations(benchmark::State& state)
{
    OrderBench bench(state);
    BareOrder bare;
    bare.fill(bench);
    setOrderSink(nullptr);
    for (auto _ : state) {
        for (const TOrder& e : bench.entries) {
            KitCalculator* c = bare.order.calculatorOf(e);
            c->RashetButtonClick();
            benchmark::DoNotOptimize(c->LineCount);
        }
    }
}
BENCHMARK(BM_Anchor255Calculations)->Unit(benchmark::kMillisecond);

void BM_ReplayOrder255Kits(benchmark::State& state)
{
    OrderBench bench(state);
    BareOrder bare;
    bare.fill(bench);
    OrderModel& order = bare.order;
    for (auto _ : state) {
        order.ReplayOrder();
        benchmark::DoNotOptimize(order.StringGrid3().rowCount());
    }
    if (order.EntryCount() != Kits || !bench.dialogs.errors().isEmpty())
        state.SkipWithError("the replay lost kits or showed errors");
    state.counters["components_rows"] = order.StringGrid1().rowCount();
    state.counters["kits_and_components_rows"] = order.StringGrid3().rowCount();
}
BENCHMARK(BM_ReplayOrder255Kits)->Unit(benchmark::kMillisecond);

// A directory of its own with zakaz.db holding one saved order of the 255
// kits, and the history over it.
class SavedOrder255
{
public:
    bool save(OrderModel& order)
    {
        if (!m_dir.isValid())
            return false;
        db::setNetFileDir(m_dir.path());
        history.FormCreate();
        orders::SaveOrder(history.table(), QStringLiteral("255 комплектов"), order.entries());
        history.listKits();
        return history.kits() == order.entries();
    }
    ~SavedOrder255()
    {
        db::Table::closeAll();
        db::setNetFileDir(QString());
    }
    OrderHistory history;

private:
    QTemporaryDir m_dir;
};

// "Открыть заказ" on a saved order of 255 kits: the kit query, the clearing,
// 255 replays and the kits view.
void BM_OpenSavedOrder255Kits(benchmark::State& state)
{
    OrderBench bench(state);
    BareOrder bare;
    bare.fill(bench);
    OrderModel& order = bare.order;
    SavedOrder255 saved;
    if (!saved.save(order))
        state.SkipWithError("the order was not saved whole");
    for (auto _ : state) {
        saved.history.listKits();
        saved.history.bt_openClick(order);
        benchmark::DoNotOptimize(order.StringGrid3().rowCount());
    }
    if (order.entries() != bench.entries || order.view() != OrderModel::Kits || !bench.dialogs.errors().isEmpty())
        state.SkipWithError("the reopened order differs from the saved one");
}
BENCHMARK(BM_OpenSavedOrder255Kits)->Unit(benchmark::kMillisecond);

#ifdef LIR_BENCH_WIDGETS
// The three calculator windows, whose calculators the order then uses.
struct CalculatorWindows
{
    CalculatorWindows() { gui::initPictures(); }

    gui::TMainForm6741 w6741;
    gui::TMainForm6742 w6742;
    gui::TMainForm6741otkid w6741otkid;

    void fill(OrderBench& bench, OrderModel& order) { bench.fill(order, w6741.kit(), w6742.kit(), w6741otkid.kit()); }
};

// The same replay with the summation window shown offscreen: its three grids
// follow the order, and the window is painted once per replay.
void BM_ReplayOrder255KitsWithWindow(benchmark::State& state)
{
    OrderBench bench(state);
    gui::initPictures();
    TurnKit turn;
    TiltTurnKit tiltTurn;
    TiltKit tilt;
    gui::TTotalSum window;
    window.show();
    OrderModel& order = window.order();
    bench.fill(order, turn, tiltTurn, tilt);
    order.setView(OrderModel::KitsAndComponents);
    for (auto _ : state) {
        order.ReplayOrder();
        window.repaint();
        QCoreApplication::processEvents();
    }
    if (order.EntryCount() != Kits || window.grid(OrderModel::KitsAndComponents)->model()->rowCount()
                                          != order.StringGrid3().rowCount() - 1)
        state.SkipWithError("the window does not show the replayed order");
}
BENCHMARK(BM_ReplayOrder255KitsWithWindow)->Unit(benchmark::kMillisecond);

// The replay of the program as it runs: the calculators are the windows' own,
// so every calculator window follows each restored entry as well.
void BM_ReplayOrder255KitsAllWindows(benchmark::State& state)
{
    OrderBench bench(state);
    CalculatorWindows calculators;
    gui::TTotalSum window;
    window.show();
    OrderModel& order = window.order();
    calculators.fill(bench, order);
    for (auto _ : state) {
        order.ReplayOrder();
        window.repaint();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ReplayOrder255KitsAllWindows)->Unit(benchmark::kMillisecond);

// Opening the saved order as a person does, with the program's windows
// offscreen: a click on the order in the history window, "Открыть заказ",
// and the summation window painted with its kits view.
void BM_OpenSavedOrder255KitsAllWindows(benchmark::State& state)
{
    OrderBench bench(state);
    CalculatorWindows calculators;
    forms::MainForm6741 = &calculators.w6741;
    forms::MainForm6742 = &calculators.w6742;
    forms::MainForm6741otkid = &calculators.w6741otkid;
    {
        gui::TTotalSum window;
        forms::TotalSum = &window;
        window.show();
        OrderModel& order = window.order();
        calculators.fill(bench, order);
        QTemporaryDir dir;
        db::setNetFileDir(dir.path());
        {
            gui::Thistory history;
            order.setDescription(QStringLiteral("255 комплектов"));
            if (!dir.isValid() || !order.bt_saveClick())
                state.SkipWithError("the order was not saved");
            history.show();
            QCoreApplication::processEvents();
            for (auto _ : state) {
                history.DBGrid_parentCellClick(0);
                history.bt_openClick();
                window.repaint();
                QCoreApplication::processEvents();
            }
            if (order.entries() != bench.entries || !window.grid(OrderModel::Kits)->isVisible()
                || !bench.dialogs.errors().isEmpty())
                state.SkipWithError("the window does not show the reopened order");
        }
        db::Table::closeAll();
        db::setNetFileDir(QString());
        forms::TotalSum = nullptr;
    }
    forms::MainForm6741 = nullptr;
    forms::MainForm6742 = nullptr;
    forms::MainForm6741otkid = nullptr;
}
BENCHMARK(BM_OpenSavedOrder255KitsAllWindows)->Unit(benchmark::kMillisecond);
#endif

} // namespace

int main(int argc, char** argv)
{
#ifdef LIR_BENCH_WIDGETS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform cannot raise a window and says so at every "В ЗАКАЗ".
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type != QtWarningMsg || !msg.contains(QLatin1String("raise()")))
            fprintf(stderr, "%s\n", qPrintable(msg));
    });
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return lir::bench::runBenchmarks(argc, argv);
}
