#include "generation/picture_params.h"

#include <gtest/gtest.h>

#include <deque>

using namespace pestrolik;

namespace {

struct FixedClock : Clock {
    double seconds;
    explicit FixedClock(double s) : seconds(s) {}
    double secondsSinceMidnight() override { return seconds; }
};

struct ScriptedRandom : RandomSource {
    std::deque<double> values;
    int reseeds = 0;
    int drawsBeforeReseed = -1;
    void reseedFromClock() override {
        ++reseeds;
        if (drawsBeforeReseed < 0) drawsBeforeReseed = drawn;
    }
    double uniform() override {
        ++drawn;
        const double v = values.front();
        values.pop_front();
        return v;
    }
    int drawn = 0;
};

}  // namespace

TEST(ChooseParameters, ClockDigitsThenFiveDrawsAfterReseeding) {
    FixedClock clock(45296.25);  // 12:34:56.25 - exact in binary
    ScriptedRandom random;
    random.values = {0.99, 0.5, 0.25, 0.9999, 0.7};
    PictureParams p;
    p.refSize = 321;
    chooseParameters(p, clock, random);
    EXPECT_EQ(p.twistDigit, 6);    // units of the seconds
    EXPECT_EQ(p.lobeDigit, 2);     // tenths
    EXPECT_EQ(p.spacingDigit, 5);  // hundredths
    EXPECT_EQ(p.turnDigit, 0);     // thousandths
    EXPECT_EQ(p.redExponent, 3);
    EXPECT_EQ(p.greenExponent, 2);
    EXPECT_EQ(p.blueExponent, 1);
    EXPECT_EQ(p.backDepth, 58);
    EXPECT_EQ(p.backWaves, 2);
    EXPECT_EQ(p.refSize, 321) << "refSize is the run's business";
    EXPECT_EQ(random.reseeds, 1);
    EXPECT_EQ(random.drawsBeforeReseed, 0);
    EXPECT_TRUE(random.values.empty());
}

TEST(ChooseParameters, SystemSourcesStayInRange) {
    SystemClock clock;
    SystemRandom random;
    for (int i = 0; i < 200; ++i) {
        PictureParams p;
        chooseParameters(p, clock, random);
        for (int digit : {p.twistDigit, p.lobeDigit, p.spacingDigit, p.turnDigit}) EXPECT_TRUE(digit >= 0 && digit <= 9);
        for (int e : {p.redExponent, p.greenExponent, p.blueExponent}) EXPECT_TRUE(e >= 0 && e <= 3);
        EXPECT_TRUE(p.backDepth >= 0 && p.backDepth <= 58);
        EXPECT_TRUE(p.backWaves >= 0 && p.backWaves <= 2);
    }
}

TEST(ParamsCode, RoundTripsAndRefusesWhatIsOutOfRange) {
    PictureParams p;
    p.twistDigit = 9, p.lobeDigit = 0, p.spacingDigit = 4, p.turnDigit = 7, p.redExponent = 3;
    p.greenExponent = 0, p.blueExponent = 2, p.backDepth = 58, p.backWaves = 1, p.refSize = 1000;
    EXPECT_EQ(paramsCode(p), "9,0,4,7,3,0,2,58,1,1000");
    EXPECT_EQ(parseParamsCode(paramsCode(p)), p);

    for (const char* bad : {"", "1,2,3", "9,0,4,7,3,0,2,58,1,1000,", "9,0,4,7,3,0,2,58,1,", "10,0,4,7,3,0,2,58,1,1000",
                            "9,0,4,7,4,0,2,58,1,1000", "9,0,4,7,3,0,2,59,1,1000", "9,0,4,7,3,0,2,58,3,1000",
                            "9,0,4,7,3,0,2,58,1,9", "9,0,4,7,3,0,2,58,1,1001", "9,0,4,7,3,0,2,-1,1,200",
                            "9,0,4,7,3,0,2,5x,1,200", "9,0,4,7,3,0,2,5 ,1,200"})
        EXPECT_FALSE(parseParamsCode(bad)) << bad;
}
