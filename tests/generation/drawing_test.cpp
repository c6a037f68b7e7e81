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
    for (const DataRow& c : readDataTable(TEST_DATA_DIR "/pattern_cases.txt")) {
        const int size = std::stoi(c[0]), f = std::stoi(c[2]), rings = std::stoi(c[3]);
        const PictureParams p = *parseParamsCode(c[1]);
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
    for (const DataRow& c : readDataTable(TEST_DATA_DIR "/background_cases.txt", ' ')) {
        const int frameCount = std::stoi(c[0]), frameNo = std::stoi(c[1]), S = std::stoi(c[4]), A = std::stoi(c[6]);
        const BackgroundInput input{frameCount, frameNo, std::stoi(c[2]), std::stoi(c[5]), c[3] == "1"};
        PixelGrid grid(S), reference(S);
        int rowsSeen = 0;
        drawBackground(grid, input, [&] { ++rowsSeen; });
        EXPECT_EQ(rowsSeen, S);
        auto wave = [&](int v) { return Int(A * std::sin(v / double(S) * 6.28 * (input.backWaves + 1) + 1.57) + 64); };
        for (int y = 1; y <= S; ++y)
            for (int x = 1; x <= S; ++x) reference.at(y, x) = static_cast<uint8_t>(wave(y) & wave(x));
        EXPECT_TRUE(sameCells(grid, reference)) << frameCount << " pictures, frame " << frameNo;
    }
}
