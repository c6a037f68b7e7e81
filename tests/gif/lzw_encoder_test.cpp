#include "gif_judge.h"
#include "gif/gif_writer.h"
#include "gif/lzw_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

using namespace pestrolik;
using pestrolik::testing::decodeGif;

namespace {

PixelGrid filled(int size, auto cellValue) {
    PixelGrid grid(size);
    for (int r = 1; r <= size; ++r)
        for (int c = 1; c <= size; ++c) grid.at(r, c) = static_cast<uint8_t>(cellValue(r, c));
    return grid;
}

PixelGrid noise(int size, uint32_t seed) {
    std::mt19937 random(seed);
    return filled(size, [&](int, int) { return random() % 128; });
}

std::vector<uint8_t> encode(const PixelGrid& grid) {
    LzwEncoder encoder;
    std::vector<uint8_t> out;
    EXPECT_TRUE(encoder.encode(grid, out));
    return out;
}

// A one-frame file around `grid`, for giflib to read.
std::vector<uint8_t> singleFrameFile(const PixelGrid& grid) {
    MemorySink sink;
    GifWriter writer(sink);
    writer.writeFileHead({grid.size(), 1, false, 0, 0, 0});
    writer.writeFrameHead();
    writer.encodeFrame(grid);
    writer.writeTrailer();
    return sink.bytes();
}

// Splits image data (after the first 0xFE) into sub-block payloads; checks the chain.
std::vector<std::vector<uint8_t>> subBlocks(const std::vector<uint8_t>& data) {
    std::vector<std::vector<uint8_t>> blocks;
    size_t at = 0;
    size_t length = 254;  // the frame head's length byte
    while (length != 0) {
        EXPECT_EQ(length, 254u) << "every data sub-block is 254 bytes";
        blocks.emplace_back(data.begin() + at, data.begin() + at + length);
        at += length;
        length = data.at(at++);
    }
    EXPECT_EQ(at, data.size()) << "nothing after the block terminator";
    return blocks;
}

}  // namespace

TEST(LzwEncoder, AllFivesWorkedExample) {
    const auto data = encode(filled(10, [](int, int) { return 5; }));
    std::vector<uint8_t> expected = {0x80, 0x05, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87,
                                     0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x89, 0x81};
    expected.resize(254, 0x00);
    expected.push_back(0x00);  // terminator
    EXPECT_EQ(data, expected);
}

TEST(LzwEncoder, RepeatedRunOfTenWorkedExample) {
    const auto data = encode(filled(10, [](int, int c) { return c - 1; }));
    const std::vector<uint8_t> start = {0x80, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                                        0x08, 0x09, 0x82, 0x84, 0x86, 0x88, 0x8A, 0x8C};
    ASSERT_GE(data.size(), start.size());
    EXPECT_TRUE(std::equal(start.begin(), start.end(), data.begin()));
}

TEST(LzwEncoder, GiflibDecodesBackTheExactGrid) {
    struct Case {
        const char* name;
        PixelGrid grid;
    };
    const Case cases[] = {
        {"odd-size gradient", filled(37, [](int r, int c) { return (r * 3 + c * 7) % 128; })},
        {"diagonal bands", filled(101, [](int r, int c) { return ((r + c) / 5) % 128; })},
        {"noise, table fills", noise(300, 7)},
        {"single colour", filled(64, [](int, int) { return 127; })},
    };
    for (const Case& c : cases) {
        const auto decoded = decodeGif(singleFrameFile(c.grid));
        ASSERT_TRUE(decoded.ok) << c.name << ": " << decoded.error;
        ASSERT_EQ(decoded.frames.size(), 1u) << c.name;
        EXPECT_TRUE(std::equal(c.grid.row(1), c.grid.row(1) + c.grid.size() * c.grid.size(),
                               decoded.frames[0].row(1)))
            << c.name;
    }
}

TEST(LzwEncoder, LargeNoiseFrameKeepsTwelveBitCodesWithoutAnotherClear) {
    const PixelGrid grid = noise(1000, 42);
    const auto data = encode(grid);
    const auto blocks = subBlocks(data);
    // Noise hardly compresses: about 12 bits a code once the table is full, and far
    // more than 4096 codes, so a clear code would be needed if the encoder reset.
    std::vector<uint8_t> payload;
    for (const auto& block : blocks) payload.insert(payload.end(), block.begin(), block.end());
    EXPECT_GT(payload.size(), 1000u * 1000u * 3 / 4);

    const auto decoded = decodeGif(singleFrameFile(grid));
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_TRUE(std::equal(grid.row(1), grid.row(1) + 1000 * 1000, decoded.frames[0].row(1)));
}

TEST(LzwEncoder, EveryFrameIsWholeSubBlocksEndedByTerminator) {
    for (int size : {10, 11, 57, 200}) {
        const auto data = encode(noise(size, static_cast<uint32_t>(size)));
        const auto blocks = subBlocks(data);
        EXPECT_EQ((data.size() - 1) % 255, 254u) << size;  // 254 + k * 255 + terminator
        EXPECT_FALSE(blocks.empty());
    }
}

TEST(LzwEncoder, CodesEndingExactlyOnASubBlockGetAWholeBlockOfPadding) {
    // Search for a frame whose codes end on the last byte of a sub-block. The end code
    // makes the last data byte non-zero, so the last non-zero byte marks the end of the codes.
    for (uint32_t seed = 1; seed < 20000; ++seed) {
        const int size = 10 + static_cast<int>(seed % 30);
        const PixelGrid grid = noise(size, seed);
        const auto data = encode(grid);
        const auto blocks = subBlocks(data);
        const auto& last = blocks.back();
        if (blocks.size() < 2 || std::any_of(last.begin(), last.end(), [](uint8_t b) { return b != 0; })) continue;
        if (blocks[blocks.size() - 2].back() == 0) continue;  // zero padding, not a full block of codes
        // Found: the codes filled their block exactly, and a block of 254 zeros followed.
        const auto decoded = decodeGif(singleFrameFile(grid));
        ASSERT_TRUE(decoded.ok) << decoded.error;
        EXPECT_TRUE(std::equal(grid.row(1), grid.row(1) + size * size, decoded.frames[0].row(1)));
        return;
    }
    FAIL() << "no frame ended exactly on a sub-block";
}

TEST(LzwEncoder, GateStopsBeforeAnyRowAndBeforeTheFinalCodes) {
    const PixelGrid grid = filled(20, [](int r, int c) { return (r * c) % 128; });
    LzwEncoder encoder;
    std::vector<int> asked;
    std::vector<uint8_t> out;
    EXPECT_TRUE(encoder.encode(grid, out, [&](int row) { asked.push_back(row); return true; }));
    std::vector<int> everyRow(21);
    std::iota(everyRow.begin(), everyRow.end(), 1);
    EXPECT_EQ(asked, everyRow) << "asked before rows 1..20 and once more before the final codes";

    std::vector<uint8_t> stopped;
    EXPECT_FALSE(encoder.encode(grid, stopped, [](int row) { return row <= 20; }));
    EXPECT_NE(stopped.size(), out.size());
}
