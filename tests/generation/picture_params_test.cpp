#include "generation/picture_params.h"

#include "core_test.h"

#include <chrono>
#include <cstdlib>

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

TEST(SystemSources, ClockTellsTheTimeOfDayAndEachReseedStartsAnotherSequence) {
    for (auto [zone, offset] : {std::pair{"UTC0", 0}, {"EAST-12", 43200}}) {  // the hour is not 0 in both
        ::setenv("TZ", zone, 1);  // the time of day is then the time since the epoch, offset, modulo a day
        ::tzset();
        const double ours = SystemClock().secondsSinceMidnight();
        const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
        EXPECT_NEAR(std::remainder(ours - offset - std::chrono::duration<double>(sinceEpoch).count(), 86400), 0, 0.05)
            << zone << ", to a fraction of a second";
    }
    SystemRandom random, other;
    random.reseedFromClock();
    other.reseedFromClock();
    EXPECT_NE(random.uniform(), other.uniform());
    double highest = 0;
    for (int i = 0; i < 1000; ++i) highest = std::max(highest, random.uniform());
    EXPECT_TRUE(highest > 0.95 && highest < 1) << "values fill [0, 1): " << highest;
}

TEST(ParamsCode, ReadsWhatItWritesAndRefusesWhatIsMalformedOrOutOfRange) {
    EXPECT_EQ(paramsCode({1, 2, 3, 4, 3, 2, 1, 50, 2, 300}), "1,2,3,4,3,2,1,50,2,300");
    for (const DataRow& c : readDataTable(TEST_DATA_DIR "/params_codes.txt")) {
        const std::optional<PictureParams> read = parseParamsCode(c[0]);
        EXPECT_EQ(read ? paramsCode(*read) : "refused", c[1] == "good" ? c[0] : "refused");
    }
}
