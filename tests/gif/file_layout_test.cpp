#include "core_test.h"
#include "generation/picture_format.h"

namespace {

PixelGrid frameGrid(int size, int frameNo) {
    return filledGrid(size, [=](int r, int c) { return (r * 3 + c + frameNo) % 128; });
}

}  // namespace

// Rows are checked in order, and once more before the frame's last codes; a stop then
// leaves nothing of that frame in the file, and nothing more is written; nor after
// the file is abandoned.
TEST(FileLayout, AfterAStopNothingMoreIsWritten) {
    MemorySink sink;
    GifWriter writer(sink);
    ASSERT_TRUE(writer.writeFileHead(pictureFileHead(10, 2, false, {})) && writer.writeFrameHead());
    const size_t before = sink.bytes().size();
    std::vector<int> asked;
    EXPECT_FALSE(writer.encodeFrame(frameGrid(10, 1), [&](int row) { return asked.push_back(row), row <= 10; }));
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_FALSE(writer.writeFrameHead() || writer.encodeFrame(frameGrid(10, 2)) || writer.writeTrailer());
    EXPECT_EQ(sink.bytes().size(), before);

    GifWriter abandoned(sink);
    abandoned.abandonFile();
    EXPECT_TRUE(!abandoned.writeFileHead(pictureFileHead(10, 2, false, {})) && sink.bytes().empty());
}

TEST(FileLayout, SmallestFileHoldsEveryByteInPlace) {
    PictureParams params;
    params.redExponent = 1, params.greenExponent = 2, params.blueExponent = 3;
    const auto bytes = gifBytes(pictureFileHead(10, 1, false, params), 1, [](int) { return filledGrid(10, [](int, int) { return 5; }); });
    EXPECT_EQ(bytes.size(), 878u);
    EXPECT_EQ(hexMismatch(bytes, 0, hexFile(TEST_DATA_DIR "/smallest_file.hex")), "");
}

TEST(FileLayout, SizeCountAndStillnessReachEveryFrameHead) {
    for (const DataRow& c : readDataTable(TEST_DATA_DIR "/frame_heads.txt")) {
        const int size = std::stoi(c[0]), frames = std::stoi(c[1]);
        const auto bytes = gifBytes(pictureFileHead(size, frames, c[2] == "still", {}), frames, [&](int f) { return frameGrid(size, f); });
        const std::vector<int> screen = hexBytes(c[3]), frameHead(screen.begin() + 4, screen.end());
        EXPECT_EQ(hexMismatch(bytes, 6, {screen.begin(), screen.begin() + 4}), "") << size;
        size_t at = 602;  // each frame: its head, then 254-byte sub-blocks up to the terminator
        for (int f = 1; f <= frames; ++f) {
            ASSERT_EQ(hexMismatch(bytes, at, frameHead), "") << size << " frame " << f;
            for (at += 20; bytes.at(at - 1) != 0; at += 255) ASSERT_EQ(bytes.at(at - 1), 254) << size;
        }
        EXPECT_TRUE(at + 1 == bytes.size() && bytes.back() == 0x3B) << "the trailer ends the file";
        const DecodedGif decoded = decodeGif(bytes);
        ASSERT_TRUE(decoded.ok && int(decoded.frames.size()) == frames) << decoded.error;
        for (int f = 1; f <= frames; ++f) EXPECT_TRUE(sameCells(decoded.frames[f - 1], frameGrid(size, f))) << f;
    }
}

