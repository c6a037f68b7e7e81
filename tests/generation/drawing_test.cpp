// The drawing is checked against a plain transcription of the formulas, point by
// point and in their own order, so any hoisting that moves a single pixel shows.

#include "core_test.h"
#include "generation/background.h"
#include "generation/pattern.h"

namespace {

int Int(double x) { return static_cast<int>(std::floor(x)); }

// Through pointers, so the compiler cannot fuse them into one sincos call.
double (*volatile librarySin)(double) = static_cast<double (*)(double)>(std::sin);
double (*volatile libraryCos)(double) = static_cast<double (*)(double)>(std::cos);

}  // namespace

TEST(Pattern, MatchesThePlainFormulasPointForPoint) {
    const std::tuple<int, PictureParams, int, int> cases[] = {  // size, params (refSize last), frame, rings
        {10, {3, 2, 9, 1, 0, 0, 0, 0, 0, 10}, 1, 6},        // ring 5 mirrored through the centre
        {10, {9, 9, 9, 9, 0, 0, 0, 0, 0, 10}, 100, 6},      // inner rings far outside: clamped to the border
        {200, {5, 6, 7, 8, 0, 0, 0, 0, 0, 200}, 37, 25},
        {1000, {4, 8, 6, 3, 0, 0, 0, 0, 0, 10}, 2, 6},      // repeated at a larger size: each point stands apart
        {1000, {2, 5, 3, 9, 0, 0, 0, 0, 0, 1000}, 64, 56},  // colours wrap past 127 from ring 43
    };
    for (const auto& [size, p, f, rings] : cases) {
        PixelGrid ours(size), reference(size);
        for (PixelGrid* grid : {&ours, &reference})  // a background the rings must draw over, ring 0 too
            for (int r = 1; r <= size; ++r) std::fill_n(grid->row(r), size, 77);
        int ringsSeen = 0;
        drawPattern(ours, p, f, [&] { ++ringsSeen; });
        EXPECT_EQ(ringsSeen, rings) << "one yield per ring";
        const double S = size, Q = std::sqrt(p.refSize);
        for (int k = 0; k < rings; ++k)
            for (int j = 1; j <= 9420; ++j) {
                double a = j / 1500.0 * (p.turnDigit + 1) + k / 4.0 * (p.twistDigit / 10.0 + 0.5) / (Q / 2) +
                           f / p.refSize * 3;
                double m = librarySin(j / 1500.0 * (p.lobeDigit + 4));
                double R = S / 2 - Q * k / 4 / 1.5 * (f / p.refSize * 10 + 1) * (p.spacingDigit / 10.0 + 0.5);
                int X = std::clamp(Int(S / 2 + R * librarySin(a) * m) + 1, 1, size);
                int Y = std::clamp(Int(S / 2 + R * libraryCos(a) * m) + 1, 1, size);
                reference.at(Y, X) = static_cast<uint8_t>((3 * k) & 127);
            }
        EXPECT_TRUE(sameCells(ours, reference)) << "size " << size << " frame " << f;
    }
}

TEST(Background, MatchesThePlainFormulasCellForCell) {
    const std::tuple<int, int, int, bool, int, int, int> cases[] = {  // count, frame, depth, still; size, waves, amplitude
        {1, 1, 20, false, 10, 0, 25}, {1, 1, 20, true, 37, 1, 25},  // one picture: depth + 5 either way
        {10, 1, 20, false, 37, 2, 63}, {100, 64, 20, false, 12, 1, 0}, {100, 100, 20, false, 256, 0, 36},
        {100, 64, 0, true, 37, 2, 5},  {100, 100, 58, true, 37, 1, 63},
    };
    for (const auto& [frameCount, frameNo, depth, still, S, waves, A] : cases) {
        PixelGrid grid(S), reference(S);
        int rowsSeen = 0;
        drawBackground(grid, {frameCount, frameNo, depth, waves, still}, [&] { ++rowsSeen; });
        EXPECT_EQ(rowsSeen, S);
        auto wave = [&](int v) { return Int(A * std::sin(v / double(S) * 6.28 * (waves + 1) + 1.57) + 64); };
        for (int y = 1; y <= S; ++y)
            for (int x = 1; x <= S; ++x) reference.at(y, x) = static_cast<uint8_t>(wave(y) & wave(x));
        EXPECT_TRUE(sameCells(grid, reference)) << frameCount << " pictures, frame " << frameNo;
    }
}
