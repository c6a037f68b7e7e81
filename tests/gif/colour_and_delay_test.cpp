#include "gif/gif_format.h"

#include <gtest/gtest.h>

using namespace pestrolik;

TEST(ColourTable, WorkedExampleWithAllExponentsZero) {
    const ColourTable table = colourTable(0, 0, 0);
    EXPECT_EQ(table[0], (Rgb{128, 238, 18}));
    EXPECT_EQ(table[1], (Rgb{134, 234, 15}));
    EXPECT_EQ(table[2], (Rgb{140, 231, 12}));
    EXPECT_EQ(table[32], (Rgb{254, 64, 64}));
    EXPECT_EQ(table[64], (Rgb{128, 17, 237}));
    EXPECT_EQ(table[96], (Rgb{1, 191, 191}));
    EXPECT_EQ(table[127], (Rgb{121, 241, 21}));
}

TEST(ColourTable, ExponentsScaleEachPrimaryOnItsOwn) {
    const ColourTable base = colourTable(0, 0, 0);
    const ColourTable redFaster = colourTable(3, 0, 0);
    bool redChanged = false;
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(redFaster[i].green, base[i].green);
        EXPECT_EQ(redFaster[i].blue, base[i].blue);
        redChanged = redChanged || redFaster[i].red != base[i].red;
    }
    EXPECT_TRUE(redChanged);
    for (int a = 0; a <= 3; ++a)
        for (const Rgb& c : colourTable(a, 3 - a, a))
            EXPECT_TRUE(c.red >= 1 && c.green >= 1 && c.blue >= 1) << "components lie in 1..255";
}

TEST(FrameDelay, CentisecondsByFrameCount) {
    const std::pair<int, int> cases[] = {{1, 50},  {2, 50},  {3, 50},  {4, 37},  {7, 21},  {10, 15},
                                         {14, 10}, {15, 10}, {25, 6},  {26, 5},  {30, 5},  {31, 5}, {100, 5}};
    for (auto [frames, delay] : cases) EXPECT_EQ(frameDelayCentiseconds(frames), delay) << frames << " frames";
}
