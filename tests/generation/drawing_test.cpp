// The drawing is checked against a plain transcription of the formulas, point by
// point and in their own order, so any hoisting that moves a single pixel shows.

#include "generation/background.h"
#include "generation/pattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace pestrolik;

namespace {

int wholePart(double x) { return static_cast<int>(std::floor(x)); }

// Called through pointers so the compiler cannot fuse them into one sincos call:
// the reference uses the library's sin and cos exactly as named.
double (*volatile librarySin)(double) = static_cast<double (*)(double)>(std::sin);
double (*volatile libraryCos)(double) = static_cast<double (*)(double)>(std::cos);

void referencePattern(PixelGrid& grid, const PictureParams& p, int f) {
    const double S = grid.size();
    const double Q = std::sqrt(p.refSize);
    const int lobes = p.lobeDigit + 4;
    const int rings = wholePart(3 * std::sqrt(p.refSize) / 1.7);
    for (int k = 0; k <= rings; ++k) {
        for (int j = 1; j <= 9420; ++j) {
            double a = j / 1500.0 * (p.turnDigit + 1) + k / 4.0 * (p.twistDigit / 10.0 + 0.5) / (Q / 2) +
                       f / p.refSize * 3;
            double m = librarySin(j / 1500.0 * lobes);
            double R = S / 2 - Q * k / 4 / 1.5 * (f / p.refSize * 10 + 1) * (p.spacingDigit / 10.0 + 0.5);
            int X = wholePart(S / 2 + R * librarySin(a) * m) + 1;
            int Y = wholePart(S / 2 + R * libraryCos(a) * m) + 1;
            X = std::min(std::max(X, 1), grid.size());
            Y = std::min(std::max(Y, 1), grid.size());
            grid.at(Y, X) = static_cast<uint8_t>((3 * k) & 127);
        }
    }
}

PictureParams params(int twist, int lobe, int spacing, int turn, double refSize) {
    PictureParams p;
    p.twistDigit = twist;
    p.lobeDigit = lobe;
    p.spacingDigit = spacing;
    p.turnDigit = turn;
    p.refSize = refSize;
    return p;
}

bool sameCells(const PixelGrid& a, const PixelGrid& b) {
    return a.size() == b.size() && std::equal(a.row(1), a.row(1) + a.size() * a.size(), b.row(1));
}

}  // namespace

TEST(Pattern, RingCountFollowsTheReferenceSize) {
    EXPECT_EQ(ringCount(10), 5);
    EXPECT_EQ(ringCount(128), 19);
    EXPECT_EQ(ringCount(1000), 55);
}

TEST(Pattern, MatchesThePlainFormulasPointForPoint) {
    struct Case {
        int size;
        PictureParams params;
        int frameNo;
    };
    const Case cases[] = {
        {10, params(3, 2, 9, 1, 10), 1},        // ring 5 mirrored through the centre
        {10, params(9, 9, 9, 9, 10), 100},      // inner rings far outside: clamped to the border
        {200, params(5, 6, 7, 8, 200), 1},
        {200, params(0, 0, 0, 0, 200), 37},
        {333, params(7, 1, 4, 2, 128), 12},     // repeated picture at another size
        {1000, params(2, 5, 3, 9, 1000), 64},
    };
    for (const Case& c : cases) {
        PixelGrid ours(c.size), reference(c.size);
        for (int r = 1; r <= c.size; ++r)
            for (int col = 1; col <= c.size; ++col) ours.at(r, col) = reference.at(r, col) = 77;
        int ringsSeen = 0;
        drawPattern(ours, c.params, c.frameNo, [&] { ++ringsSeen; });
        referencePattern(reference, c.params, c.frameNo);
        EXPECT_TRUE(sameCells(ours, reference)) << "size " << c.size << " frame " << c.frameNo;
        EXPECT_EQ(ringsSeen, ringCount(c.params.refSize) + 1) << "one yield per ring";
    }
}

TEST(Pattern, ManyFramesAtSmallSizeCollectOnTheBorder) {
    PixelGrid grid(10);
    drawPattern(grid, params(4, 4, 9, 4, 10), 100);
    // Ring 5 reaches far past the edges, so its colour (15) lands on all four borders.
    bool top = false, bottom = false, left = false, right = false;
    for (int i = 1; i <= 10; ++i) {
        top = top || grid.at(1, i) == 15;
        bottom = bottom || grid.at(10, i) == 15;
        left = left || grid.at(i, 1) == 15;
        right = right || grid.at(i, 10) == 15;
    }
    EXPECT_TRUE(top && bottom && left && right);
}

TEST(Pattern, RingColoursWrapPast127) {
    // refSize 1000 has rings 0..55; ring 43 is drawn in 129 AND 127 = 1.
    PixelGrid grid(1000);
    drawPattern(grid, params(1, 1, 1, 1, 1000), 1);
    const bool any1 = std::any_of(grid.row(1), grid.row(1) + 1000 * 1000, [](uint8_t v) { return v == 1; });
    EXPECT_TRUE(any1);
    EXPECT_TRUE(std::all_of(grid.row(1), grid.row(1) + 1000 * 1000, [](uint8_t v) { return v < 128; }));
}

namespace {

int referenceWave(double A, int v, int S, int w) { return wholePart(A * std::sin(v / static_cast<double>(S) * 6.28 * w + 1.57) + 64); }

}  // namespace

TEST(Background, AmplitudeByFrameStillnessAndCount) {
    struct Case {
        int frameCount, frameNo, depth;
        bool still;
        int amplitude;
    };
    const Case cases[] = {
        {1, 1, 20, false, 25}, {1, 1, 20, true, 25},     // one picture: depth + 5 either way
        {10, 1, 20, false, 63}, {100, 64, 20, false, 0}, {100, 100, 20, false, 36},
        {100, 64, 0, true, 5},  {100, 100, 58, true, 63},
    };
    for (const Case& c : cases)
        EXPECT_EQ(backAmplitude({c.frameCount, c.frameNo, c.depth, 0, c.still}), c.amplitude)
            << c.frameCount << "/" << c.frameNo;
}

TEST(Background, MatchesThePlainFormulasCellForCell) {
    for (int S : {10, 37, 256}) {
        for (int waves = 0; waves <= 2; ++waves) {
            const BackgroundInput input{20, 3, 11, waves, false};
            PixelGrid grid(S);
            int rowsSeen = 0;
            drawBackground(grid, input, [&] { ++rowsSeen; });
            EXPECT_EQ(rowsSeen, S);
            const double A = backAmplitude(input);
            for (int y = 1; y <= S; ++y)
                for (int x = 1; x <= S; ++x)
                    ASSERT_EQ(grid.at(y, x), referenceWave(A, y, S, waves + 1) & referenceWave(A, x, S, waves + 1))
                        << S << " " << y << "," << x;
        }
    }
}

TEST(Background, TelltaleFrames) {
    PixelGrid grid(50);
    drawBackground(grid, {100, 64, 30, 1, false});
    EXPECT_TRUE(std::all_of(grid.row(1), grid.row(1) + 2500, [](uint8_t v) { return v == 64; })) << "frame 64 is flat";

    for (int waves = 1; waves <= 3; ++waves) {
        drawBackground(grid, {100, 1, 30, waves - 1, false});
        const int expected = static_cast<int>(std::floor(63 * std::sin(6.28 * waves / 50 + 1.57) + 64));
        EXPECT_EQ(grid.at(1, 1), expected) << "frame 1, top left, waves " << waves;
    }
}
