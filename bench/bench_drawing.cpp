#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "docs/sashdrawing.h"
#include "support/benchmain.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

// One redraw of the sash drawing in a calculator window: the drawing taken
// from the state and painted into an image of Image1's size, beside the
// anchor, an empty paint (the fill every redraw starts with) of the same size.
namespace {

// Image1 in a calculator window 1000 pixels wide (as shown on a 1280 x 1024 screen).
const QSize ViewSize(664, 437);

void paintInto(QImage& image, const lir::KitCalculator* k)
{
    QPainter p(&image);
    p.fillRect(image.rect(), Qt::white);
    if (k)
        lir::paintSash(p, QRectF(image.rect()), lir::sashDrawingOf(*k));
}

void run(benchmark::State& state, const lir::KitCalculator* k)
{
    QImage image(ViewSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        paintInto(image, k);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_EmptyPaint(benchmark::State& state)
{
    run(state, nullptr);
}
BENCHMARK(BM_EmptyPaint)->Unit(benchmark::kMicrosecond);

// A typed sash within every range: dimensions, symbol, hinges, handle.
void BM_DrawTypedSash(benchmark::State& state)
{
    lir::TiltTurnKit k;
    k.setFFH(1400);
    k.setFFB(700);
    k.setRuchkaVcentre(false);
    k.setGH(500);
    k.setRuchkaOkon(true);
    run(state, &k);
}
BENCHMARK(BM_DrawTypedSash)->Unit(benchmark::kMicrosecond);

// The dearest drawing: every size refused, so the ranges are sought too (the
// handle's places millimetre by millimetre).
void BM_DrawRefusedSash(benchmark::State& state)
{
    lir::TurnKit k;
    k.setComplekt(1);
    k.setFFH(9999);
    k.setFFB(0);
    k.setRuchkaVcentre(false);
    k.setGH(5000);
    run(state, &k);
}
BENCHMARK(BM_DrawRefusedSash)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return lir::bench::runBenchmarks(argc, argv);
}
