// Drawing one 1000 x 1000 frame: the background and the rings, each on its own.

#include "generation/background.h"
#include "generation/pattern.h"

#include <benchmark/benchmark.h>

using namespace pestrolik;

namespace {

void Background1000(benchmark::State& state) {
    PixelGrid grid(1000);
    int frameNo = 1;
    for (auto _ : state) {
        drawBackground(grid, {100, frameNo, 30, 2, false});
        frameNo = frameNo % 100 + 1;
        benchmark::DoNotOptimize(grid.row(1));
    }
}

void Pattern1000(benchmark::State& state) {
    PixelGrid grid(1000);
    PictureParams params;
    params.lobeDigit = 5, params.turnDigit = 3, params.spacingDigit = 4, params.refSize = 1000;
    int frameNo = 1;
    for (auto _ : state) {
        drawPattern(grid, params, frameNo);
        frameNo = frameNo % 100 + 1;
        benchmark::DoNotOptimize(grid.row(1));
    }
    state.counters["points/s"] = benchmark::Counter(56.0 * 9420, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK(Background1000)->Unit(benchmark::kMillisecond);
BENCHMARK(Pattern1000)->Unit(benchmark::kMillisecond);
