#include "generation/picture_params.h"

#include "core_test.h"

namespace {

struct FixedClock : Clock {
    double secondsSinceMidnight() override { return 45296.125; }  // 12:34:56.125, exact in binary
};

struct ScriptedRandom : RandomSource {
    std::vector<double> values{0.99, 0.74, 0.45, 0.9999, 0.9};  // each one off with another multiplier
    size_t drawn = 0, drawnAtReseed = 99;
    void reseedFromClock() override { drawnAtReseed = drawn; }
    double uniform() override { return values.at(drawn++); }
};

}  // namespace

TEST(ChooseParameters, ClockDigitsThenFiveDrawsAfterReseeding) {
    FixedClock clock;
    ScriptedRandom random;
    PictureParams p;
    p.refSize = 321;
    chooseParameters(p, clock, random);
    // units, tenths, hundredths, thousandths of the seconds; then the draws in order
    EXPECT_EQ(p, (PictureParams{6, 1, 2, 5, 3, 2, 1, 58, 2, 321}));
    EXPECT_EQ(std::pair(random.drawnAtReseed, random.drawn), std::pair(size_t{0}, size_t{5}));
}

TEST(ParamsCode, ReadsWhatItWritesAndRefusesWhatIsMalformedOrOutOfRange) {
    for (const DataRow& c : readDataTable(TEST_DATA_DIR "/params_codes.txt")) {
        const std::optional<PictureParams> read = parseParamsCode(c[0]);
        EXPECT_EQ(read ? paramsCode(*read) : "refused", c[1] == "good" ? c[0] : "refused");
    }
}
