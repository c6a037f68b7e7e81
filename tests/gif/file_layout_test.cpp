#include "gif/gif_format.h"
#include "gif_judge.h"
#include "gif/gif_writer.h"

#include <gtest/gtest.h>

using namespace pestrolik;
using pestrolik::testing::decodeGif;

namespace {

std::vector<uint8_t> writeFile(int size, int frames, bool still, int a = 0, int b = 0, int c = 0) {
    MemorySink sink;
    GifWriter writer(sink);
    EXPECT_TRUE(writer.writeFileHead({size, frames, still, a, b, c}));
    PixelGrid grid(size);
    for (int f = 1; f <= frames; ++f) {
        for (int r = 1; r <= size; ++r)
            for (int col = 1; col <= size; ++col) grid.at(r, col) = static_cast<uint8_t>((r + col + f) % 128);
        EXPECT_TRUE(writer.writeFrameHead());
        EXPECT_TRUE(writer.encodeFrame(grid));
    }
    EXPECT_TRUE(writer.writeTrailer());
    EXPECT_TRUE(sink.finished());
    return sink.bytes();
}

std::vector<uint8_t> slice(const std::vector<uint8_t>& bytes, size_t from, size_t count) {
    return {bytes.begin() + from, bytes.begin() + from + count};
}

}  // namespace

TEST(FileLayout, SmallestFileIs878BytesWithEveryFieldInPlace) {
    const auto bytes = writeFile(10, 1, false);
    ASSERT_EQ(bytes.size(), 878u);
    EXPECT_EQ(slice(bytes, 0, 13), (std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a', 10, 0, 10, 0, 0xF6, 0, 0}));
    const std::vector<uint8_t> loop = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P',
                                       'E',  '2',  '.',  '0', 3,   1,   0,   0,   0};
    EXPECT_EQ(slice(bytes, 397, 19), loop);
    EXPECT_EQ(slice(bytes, 416, 3), (std::vector<uint8_t>{0x21, 0xFE, 0xB6}));
    EXPECT_EQ(bytes[600], 0x00) << "the comment's NUL";
    EXPECT_EQ(bytes[601], 0x00) << "the comment's terminator";
    const std::vector<uint8_t> frameHead = {0x21, 0xF9, 0x04, 0x08, 50, 0, 0, 0, 0x2C, 0, 0,
                                            0,    0,    10,   0,    10, 0, 0, 7, 0xFE};
    EXPECT_EQ(slice(bytes, 602, 20), frameHead);
    EXPECT_EQ(bytes[876], 0x00) << "image data terminator";
    EXPECT_EQ(bytes.back(), 0x3B);
}

TEST(FileLayout, TenPixelFilesGrowBy275BytesPerFrame) {
    for (int frames : {1, 2, 7, 31}) EXPECT_EQ(writeFile(10, frames, false).size(), 602u + 275u * frames + 1u);
}

TEST(FileLayout, SizeFieldsAreLittleEndian) {
    struct Case {
        int size;
        uint8_t low, high;
    };
    for (const Case c : {Case{256, 0x00, 0x01}, Case{1000, 0xE8, 0x03}, Case{300, 0x2C, 0x01}}) {
        const auto bytes = writeFile(c.size, 1, false);
        for (size_t at : {6u, 8u, 602u + 13u, 602u + 15u}) {
            EXPECT_EQ(bytes[at], c.low) << c.size << " at " << at;
            EXPECT_EQ(bytes[at + 1], c.high) << c.size << " at " << at;
        }
    }
}

TEST(FileLayout, StillBackgroundMarksIndexZeroTransparentInEveryFrame) {
    for (bool still : {false, true}) {
        const auto decoded = decodeGif(writeFile(12, 3, still));
        ASSERT_TRUE(decoded.ok) << decoded.error;
        ASSERT_EQ(decoded.controlBytes.size(), 3u);
        for (int packed : decoded.controlBytes) EXPECT_EQ(packed, still ? 0x09 : 0x08);
    }
}

TEST(FileLayout, GiflibSeesPaletteLoopCommentDelaysAndFrames) {
    const auto bytes = writeFile(33, 4, false, 1, 2, 3);
    const auto decoded = decodeGif(bytes);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.width, 33);
    EXPECT_EQ(decoded.height, 33);
    EXPECT_EQ(decoded.colourCount, 128);
    const ColourTable table = colourTable(1, 2, 3);
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(decoded.palette[3 * i], table[i].red);
        EXPECT_EQ(decoded.palette[3 * i + 1], table[i].green);
        EXPECT_EQ(decoded.palette[3 * i + 2], table[i].blue);
    }
    EXPECT_TRUE(decoded.loopsForever);
    ASSERT_EQ(decoded.comments.size(), 1u);
    EXPECT_EQ(decoded.comments[0].size(), 182u);
    EXPECT_EQ(decoded.comments[0].rfind(" Etot file sozdan programmoj \"Pestrolik-1", 0), 0u);
    EXPECT_EQ(decoded.comments[0].back(), '\0');
    EXPECT_EQ(decoded.delays, (std::vector<int>{37, 37, 37, 37}));
    EXPECT_EQ(decoded.frames.size(), 4u);
    EXPECT_EQ(decoded.frames[3].at(1, 1), (1 + 1 + 4) % 128);
}

TEST(FileLayout, CommentBlockIsTheSameInEveryFile) {
    const auto first = writeFile(10, 1, false, 0, 0, 0);
    const auto second = writeFile(500, 3, true, 3, 1, 2);
    EXPECT_EQ(slice(first, 416, 186), slice(second, 416, 186));
    for (uint8_t byte : slice(first, 419, 181)) EXPECT_TRUE(byte >= 0x20 && byte < 0x7F) << int(byte);
}

TEST(FileLayout, NothingIsWrittenAfterAStoppedFrame) {
    MemorySink sink;
    GifWriter writer(sink);
    writer.writeFileHead({10, 2, false, 0, 0, 0});
    writer.writeFrameHead();
    const size_t before = sink.bytes().size();
    EXPECT_FALSE(writer.encodeFrame(PixelGrid(10), [](int row) { return row <= 10; }));
    EXPECT_TRUE(writer.stopped());
    EXPECT_FALSE(writer.writeFrameHead());
    EXPECT_FALSE(writer.writeTrailer());
    EXPECT_EQ(sink.bytes().size(), before);
    writer.abandonFile();
    EXPECT_TRUE(sink.discarded());
}
