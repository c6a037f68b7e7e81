#include "core_test.h"
#include "gif/adaptive_lzw.h"

TEST(LzwEncoder, ImageDataByteForByte) {
    const std::pair<PixelGrid, std::string> cases[] = {
        {filledGrid(10, [](int, int c) { return c - 1; }), "columns_10.hex"},  // how it starts
        {filledGrid(91, [](int, int) { return 5; }), "fives_91.hex"},          // on to 9-bit codes
    };
    for (const auto& [grid, file] : cases) {
        std::vector<uint8_t> imageData;
        EXPECT_TRUE(LzwEncoder().encode(grid, imageData));
        EXPECT_EQ(hexMismatch(imageData, 0, hexFile(TEST_DATA_DIR "/" + file)), "") << file;
    }
}


// Worked by hand: a clear code, then 0, "00" (130), 0 and the end code, all 8 bits wide.
TEST(AdaptiveLzw, FourEqualCellsByHand) {
    std::vector<uint8_t> imageData;
    AdaptiveLzw().encode(std::vector<uint8_t>(4, 0), imageData);
    EXPECT_EQ(hexMismatch(imageData, 0, hexBytes("07 05 80 00 82 00 81 00")), "");
}
