#include "core_test.h"

#include <random>

namespace {

std::vector<uint8_t> imageData(const PixelGrid& grid) {
    std::vector<uint8_t> out;
    EXPECT_TRUE(LzwEncoder().encode(grid, out));
    return out;
}

}  // namespace

TEST(LzwEncoder, ImageDataByteForByte) {
    const std::pair<PixelGrid, std::string> cases[] = {
        {filledGrid(10, [](int, int c) { return c - 1; }), "columns_10.hex"},  // how it starts
        {filledGrid(91, [](int, int) { return 5; }), "fives_91.hex"},          // on to 9-bit codes
    };
    for (const auto& [grid, file] : cases)
        EXPECT_EQ(hexMismatch(imageData(grid), 0, hexFile(PESTROLIK_TEST_DATA "/" + file)), "") << file;
}

TEST(LzwEncoder, GiflibReadsBackEveryGridFromWholeSubBlocks) {
    std::mt19937 random(42);
    const PixelGrid grids[] = {
        filledGrid(37, [](int r, int c) { return (r * 3 + c * 7) % 128; }),  // odd size
        filledGrid(64, [](int, int) { return 127; }),                      // one long run
        filledGrid(34, [](int r, int c) { return r * c % 100; }),  // codes end on the last byte of a sub-block
        filledGrid(1000, [&](int, int) { return random() % 128; }),  // table full, codes counted past 16 bits
    };
    for (const PixelGrid& grid : grids) {
        const std::vector<uint8_t> data = imageData(grid);
        size_t at = 0;  // each sub-block: 254 bytes, then the next one's length or the terminator
        while (data.at(at + 254) == 254) at += 255;
        EXPECT_TRUE(at + 255 == data.size() && data.back() == 0) << grid.size();
        const DecodedGif decoded = decodeGif(gifBytes({grid.size(), 1, false, 0, 0, 0}, [&](int) { return grid; }));
        ASSERT_TRUE(decoded.ok) << grid.size() << ": " << decoded.error;
        EXPECT_TRUE(sameCells(decoded.frames.at(0), grid)) << grid.size();
    }
}
