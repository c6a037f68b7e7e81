#include "core_test.h"

#include <random>

namespace {

std::vector<uint8_t> imageData(const PixelGrid& grid) {
    std::vector<uint8_t> out;
    EXPECT_TRUE(LzwEncoder().encode(grid, out));
    return out;
}

// Its codes end on the last byte of the fifth sub-block, a byte holding only the end code's top bit.
const PixelGrid fiveBlocks = filledGrid(34, [](int r, int c) { return r * c % 100; });

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
        fiveBlocks,
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

TEST(LzwEncoder, CodesFillingTheirLastSubBlockAreFollowedByAWholeBlockOfZeros) {
    const std::vector<uint8_t> data = imageData(fiveBlocks);
    ASSERT_EQ(data.size(), 6u * 255);
    std::vector<int> tail(256, 0);  // the next length byte at once, 254 zeros, the terminator
    tail[0] = 254;
    EXPECT_EQ(hexMismatch(data, data.size() - 256, tail), "");
}
