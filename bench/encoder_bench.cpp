// LZW encoding of real 1000 x 1000 frames: ours and giflib's, in the same run, and
// our small frames (each after the one before it, moving and still).
// Prints ns per pixel for each and how many times faster ours is.

#include "generation/frame_drawing.h"
#include "generation/picture_format.h"
#include "gif/lzw_encoder.h"
#include "gif/small_frame.h"
#include "real_frames.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

using namespace pestrolik;

namespace {

const std::vector<PixelGrid>& frames() {
    static const auto drawn = bench::realFrames(8);
    return drawn;
}

void setPixelRate(benchmark::State& state, int64_t pixelsPerIteration) {
    state.counters["ns_per_pixel"] = benchmark::Counter(static_cast<double>(pixelsPerIteration) * 1e-9,
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void OursLzw(benchmark::State& state) {
    LzwEncoder encoder;
    std::vector<uint8_t> out;
    size_t i = 0;
    for (auto _ : state) {
        out.clear();
        encoder.encode(frames()[i++ % frames().size()], out);
        benchmark::DoNotOptimize(out.data());
    }
    setPixelRate(state, 1000 * 1000);
}

int appendToVector(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + length);
    return length;
}

void GiflibLzw(benchmark::State& state) {
    std::vector<uint8_t> out;
    GifColorType colours[128]{};
    ColorMapObject* map = GifMakeMapObject(128, colours);
    std::vector<GifPixelType> row(1000);
    size_t i = 0;
    for (auto _ : state) {
        out.clear();
        int error = 0;
        GifFileType* gif = EGifOpen(&out, appendToVector, &error);
        EGifPutScreenDesc(gif, 1000, 1000, 7, 0, map);
        EGifPutImageDesc(gif, 0, 0, 1000, 1000, false, nullptr);
        const PixelGrid& grid = frames()[i++ % frames().size()];
        for (int r = 1; r <= 1000; ++r) {
            std::memcpy(row.data(), grid.row(r), 1000);
            EGifPutLine(gif, row.data(), 1000);
        }
        EGifCloseFile(gif, &error);
        benchmark::DoNotOptimize(out.data());
    }
    GifFreeMapObject(map);
    setPixelRate(state, 1000 * 1000);
}

// Consecutive frames of the benchmark's picture, as a small file's encoder meets them.
void SmallFrames(benchmark::State& state) {
    const bool still = state.range(0) != 0;
    static std::map<bool, std::vector<PixelGrid>> drawn;
    if (!drawn.count(still)) {
        const PictureParams params = bench::realParams(1000);
        for (int f = 1; f <= 9; ++f) drawFrame(drawn[still].emplace_back(), params, {1000, 100, f, still});
    }
    const std::vector<PixelGrid>& grids = drawn[still];
    const SmallFrameLook look = smallFrameLook(pictureFileHead(1000, 100, still, bench::realParams(1000)));
    SmallFrameEncoder encoder;
    std::vector<uint8_t> out;
    size_t i = 0;
    for (auto _ : state) {
        out.clear();
        const size_t f = 1 + i++ % (grids.size() - 1);
        encoder.encode(&grids[f - 1], grids[f], look, out);
        benchmark::DoNotOptimize(out.data());
    }
    setPixelRate(state, 1000 * 1000);
}

BENCHMARK(OursLzw)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(SmallFrames)->Arg(0)->Arg(1)->ArgName("still")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(GiflibLzw)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Keeps each benchmark's time per frame so the ratio can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) secondsPerFrame[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> secondsPerFrame;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    frames();  // draw before timing
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ours = reporter.secondsPerFrame.find("OursLzw/min_time:2.000");
    const auto theirs = reporter.secondsPerFrame.find("GiflibLzw/min_time:2.000");
    if (ours != reporter.secondsPerFrame.end() && theirs != reporter.secondsPerFrame.end())
        // milliseconds per million-pixel frame are nanoseconds per pixel
        std::printf("ours: %.2f ns/pixel, giflib: %.2f ns/pixel, ours is %.2fx faster\n", ours->second,
                    theirs->second, theirs->second / ours->second);
    benchmark::Shutdown();
}
